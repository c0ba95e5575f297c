#include "orv/arrays/CVMatrix.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "orv/frame/compare.hpp"
#include "orv/matrix/CMatrix.hpp"
#include "orv_test.hpp"

namespace orv {
namespace {

using namespace orv::test;

// A column of values.
CVMatrix Column(std::vector<Variant> values) {
  Array<Variant> a(1, static_cast<Long>(values.size()), 1, 1);
  for (Long i = 1; i <= a.UBound(1); ++i) a(i, 1) = values[i - 1];
  CVMatrix m;
  m.LetValues(Variant(a));
  return m;
}

// A rows x columns matrix holding 1, 2, 3, ... row by row.
CVMatrix Numbered(Long rows, Long columns) {
  CVMatrix m;
  m.SetSize(rows, columns);
  double x = 1;
  for (Long i = 1; i <= rows; ++i)
    for (Long j = 1; j <= columns; ++j) m.LetItem(i, j, Variant(x++));
  return m;
}

// --- shape and elements --------------------------------------------------------------

TEST(CVMatrixShape, SetSizeAndEmptiness) {
  CVMatrix m;
  EXPECT_TRUE(m.IsNull());
  EXPECT_EQ(m.RowCount(), 0);
  m.SetSize(2, 3);
  EXPECT_FALSE(m.IsNull());
  EXPECT_EQ(m.ColumnCount(), 3);
  EXPECT_TRUE(m.Item(2, 3).IsEmpty());
  m.SetSize(0);
  EXPECT_TRUE(m.IsNull());
  EXPECT_EQ(m.RowCount(), 0);
  EXPECT_EQ(m.ColumnCount(), 0);
}

TEST(CVMatrixShape, PersistKeepsTheCommonBlockAndLowersTheCallersCounts) {
  CVMatrix m = Numbered(2, 2);
  Long rows = 3, columns = 3;
  m.SetSize(rows, columns, true);
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(columns, 2);
  EXPECT_EQ(m.RowCount(), 3);
  EXPECT_EQ(m.ColumnCount(), 3);
  EXPECT_EQ(m.Item(2, 2), Variant(4.0));
  EXPECT_TRUE(m.Item(3, 3).IsEmpty());
  EXPECT_TRUE(m.Item(1, 3).IsEmpty());
}

TEST(CVMatrixShape, ItemsOutsideTheCountsAndNothing) {
  CVMatrix m = Numbered(2, 2);
  EXPECT_EQ(m.Item(2), Variant(3.0));  // Column defaults to 1
  Error e = Caught([&] { m.Item(3, 1); });
  EXPECT_EQ(e.Number, 9);
  EXPECT_EQ(e.Source, "ORVMain");
  EXPECT_EQ(Caught([&] { m.LetItem(0, 1, Variant(1.0)); }).Number, 9);
  CVMatrix none(Nothing);
  EXPECT_EQ(Caught([&] { none.RowCount(); }).Number, 91);
  Error chained = Caught([&] { none.SetSize(1, 1); });
  EXPECT_EQ(chained.Number, 91);
  EXPECT_EQ(chained.Source, "Line 10 in ORVMain.CVMatrix.SetSize");
}

TEST(CVMatrixValues, LetAndGetCopies) {
  Array<double> numbers(1, 2, 1, 1);
  numbers(2, 1) = 5;
  CVMatrix m;
  m.LetValues(Variant(numbers));
  EXPECT_EQ(m.RowCount(), 2);
  EXPECT_EQ(m.Item(2, 1), Variant(5.0));
  Array<Variant> copy = m.Values();
  copy(2, 1) = Variant("changed");
  EXPECT_EQ(m.Item(2, 1), Variant(5.0));
  EXPECT_EQ(m.ToArray(), m.Values());
  // A one-dimensional array empties the matrix, without an error.
  m.LetValues(Variant(Array<double>(1, 3)));
  EXPECT_TRUE(m.IsNull());
  EXPECT_FALSE(m.Values().IsAllocated());
  m.LetValues(Variant("text"));
  EXPECT_TRUE(m.IsNull());
}

TEST(CVMatrixValues, ToStringConvertsEachElement) {
  CVMatrix m;
  m.SetSize(1, 2);
  m.LetItem(1, 1, Variant(1.0));
  m.LetItem(1, 2, Variant("a"));
  EXPECT_EQ(m.ToString(), "1, a\r\n");
  // A Null cannot be written and is skipped.
  m.LetItem(1, 1, Variant(Null));
  EXPECT_EQ(m.ToString(), "a\r\n");
  EXPECT_EQ(CVMatrix().ToString(), "");
}

TEST(CVMatrixValues, FillFromArrayOfAnyBounds) {
  Array<double> v(0, 2);
  v(0) = 1;
  v(2) = 3;
  CVMatrix row;
  row.FillFromArray(Variant(v), true);
  EXPECT_EQ(row.RowCount(), 1);
  EXPECT_EQ(row.ColumnCount(), 3);
  EXPECT_EQ(row.Item(1, 3), Variant(3.0));
  CVMatrix column;
  column.FillFromArray(Variant(v));
  EXPECT_EQ(column.RowCount(), 3);
  EXPECT_EQ(column.Item(1, 1), Variant(1.0));

  Array<std::string> s(5, 6, -1, -1);
  s(6, -1) = "b";
  CVMatrix block;
  block.FillFromArray(Variant(s));
  EXPECT_EQ(block.RowCount(), 2);
  EXPECT_EQ(block.ColumnCount(), 1);
  EXPECT_EQ(block.Item(2, 1), Variant("b"));

  Error e = Caught([&] { block.FillFromArray(Variant(4.0)); });
  EXPECT_EQ(e.Number, 13);
  EXPECT_EQ(e.Source, "ORVMain.CVMatrix.FillFromArray");
}

TEST(CVMatrixValues, IsEqualUsesTheVariantComparison) {
  CVMatrix a = Column({Variant(), Variant(1.0), Variant("x")});
  CVMatrix b = Column({Variant(0.0), Variant(Long{1}), Variant("x")});
  EXPECT_TRUE(a.IsEqual(b));
  CVMatrix c = Column({Variant(""), Variant(1.0), Variant("x")});
  EXPECT_TRUE(a.IsEqual(c));
  CVMatrix d = Column({Variant(), Variant("1"), Variant("x")});
  EXPECT_FALSE(a.IsEqual(d));
  EXPECT_FALSE(a.IsEqual(Numbered(3, 2)));
  EXPECT_EQ(Caught([&] { a.IsEqual(CVMatrix(Nothing)); }).Number, 91);
}

// --- restructuring ----------------------------------------------------------------------

TEST(CVMatrixRestructure, DeleteRowsAndColumns) {
  CVMatrix m = Numbered(3, 2);
  CVMatrix r = m.DeleteRow(2);
  EXPECT_EQ(r.RowCount(), 2);
  EXPECT_EQ(r.Item(2, 1), Variant(5.0));
  EXPECT_EQ(m.RowCount(), 3);  // the receiver is unchanged
  CVMatrix c = m.DeleteColumn(1);
  EXPECT_EQ(c.ColumnCount(), 1);
  EXPECT_EQ(c.Item(3, 1), Variant(6.0));
  EXPECT_TRUE(Numbered(1, 2).DeleteRow(1).IsNull());

  Error e = Caught([&] { m.DeleteRow(0); });
  EXPECT_EQ(e.Number, 9);
  EXPECT_EQ(e.Source, "Line 10 in ORVMain.CVMatrix.DeleteRow.DeleteRow");
  EXPECT_EQ(e.Description, "Subscript out of range");
  EXPECT_EQ(Caught([&] { m.DeleteColumn(3); }).Source,
            "Line 10 in ORVMain.CVMatrix.DeleteColumn.DeleteColumn");
}

TEST(CVMatrixRestructure, InsertRows) {
  CVMatrix m = Numbered(2, 2);
  CVMatrix extra = Column({Variant("a")}).InsertColumns(Column({Variant("b")}));
  ASSERT_EQ(extra.ColumnCount(), 2);
  Long index = 0;
  CVMatrix bottom = m.InsertRows(extra, index);
  EXPECT_EQ(index, 3);
  EXPECT_EQ(bottom.RowCount(), 3);
  EXPECT_EQ(bottom.Item(3, 2), Variant("b"));
  CVMatrix top = m.InsertRows(extra, 1);
  EXPECT_EQ(top.Item(1, 1), Variant("a"));
  EXPECT_EQ(top.Item(2, 1), Variant(1.0));
  CVMatrix middle = m.InsertRows(extra, 2);
  EXPECT_EQ(middle.Item(2, 1), Variant("a"));
  EXPECT_EQ(middle.Item(3, 1), Variant(3.0));

  EXPECT_TRUE(m.InsertRows(CVMatrix()).IsNothing());
  CVMatrix empty;
  EXPECT_TRUE(Is(empty.InsertRows(m), m));

  Error wide = Caught([&] { m.InsertRows(Numbered(1, 3)); });
  EXPECT_EQ(wide.Number, 9);
  EXPECT_EQ(wide.Source, "Line 30 in ORVMain.CVMatrix.InsertRows.InsertRows");
  Error past = Caught([&] { m.InsertRows(extra, 3); });
  EXPECT_EQ(past.Source, "Line 40 in ORVMain.CVMatrix.InsertRows.InsertRows");
}

TEST(CVMatrixRestructure, InsertColumns) {
  CVMatrix m = Numbered(2, 2);
  CVMatrix left = m.InsertColumns(Column({Variant("a"), Variant("b")}), 1);
  EXPECT_EQ(left.ColumnCount(), 3);
  EXPECT_EQ(left.Item(2, 1), Variant("b"));
  EXPECT_EQ(left.Item(2, 3), Variant(4.0));
  Error e = Caught([&] { m.InsertColumns(Column({Variant("a")})); });
  EXPECT_EQ(e.Source, "Line 30 in ORVMain.CVMatrix.InsertColumns.InsertColumns");
}

TEST(CVMatrixRestructure, RowsColumnsAndBlocks) {
  CVMatrix m = Numbered(3, 3);
  CVMatrix c = m.Column(2);
  EXPECT_EQ(c.RowCount(), 3);
  EXPECT_EQ(c.Item(3, 1), Variant(8.0));
  CVMatrix r = m.row(3);
  EXPECT_EQ(r.ColumnCount(), 3);
  EXPECT_EQ(r.Item(1, 1), Variant(7.0));
  EXPECT_EQ(Caught([&] { m.Column(4); }).Source, "Line 10 in ORVMain.CVMatrix.Column");
  EXPECT_EQ(Caught([&] { m.row(0); }).Source, "Line 10 in ORVMain.CVMatrix.row");

  Long rows = 0, cols = 0;
  CVMatrix s = m.SubMatrix(2, 3, rows, cols);
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(cols, 1);
  EXPECT_EQ(s.Item(2, 1), Variant(9.0));
  Error past = Caught([&] { m.SubMatrix(2, 2, 3, 1); });
  EXPECT_EQ(past.Number, 9);
  EXPECT_EQ(past.Source, "ORVMain.CVMatrix.SubMatrix");
  EXPECT_EQ(Caught([&] { m.SubMatrix(0, 1, 1, 1); }).Number, 9);
}

// --- sorting and ranking -------------------------------------------------------------------

// Exchanging neighbours until no pair is out of order: the documented
// bubble sort, on the keys' row numbers.
std::vector<int> BubbleOrder(const std::vector<Variant>& keys) {
  std::vector<int> order(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) order[i] = static_cast<int>(i) + 1;
  bool exchanged = true;
  while (exchanged) {
    exchanged = false;
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
      if (CompareVariants(keys[order[i] - 1], keys[order[i + 1] - 1]) > 0) {
        std::swap(order[i], order[i + 1]);
        exchanged = true;
      }
  }
  return order;
}

TEST(CVMatrixSort, StableOnEqualKeys) {
  CVMatrix m;
  m.SetSize(3, 2);
  const double keys[] = {2, 1, 2};
  for (Long i = 1; i <= 3; ++i) {
    m.LetItem(i, 1, Variant(keys[i - 1]));
    m.LetItem(i, 2, Variant(static_cast<Long>(i)));
  }
  CVMatrix s = m.Sort();
  EXPECT_EQ(s.Item(1, 2), Variant(Long{2}));
  EXPECT_EQ(s.Item(2, 2), Variant(Long{1}));
  EXPECT_EQ(s.Item(3, 2), Variant(Long{3}));
  EXPECT_EQ(m.Item(1, 2), Variant(Long{1}));  // the receiver is unchanged
  Error e = Caught([&] { m.Sort(3); });
  EXPECT_EQ(e.Number, 9);
  EXPECT_EQ(e.Source, "ORVMain.CVMatrix.Sort");
}

TEST(CVMatrixSort, SameOrderAsExchangingNeighbours) {
  std::mt19937_64 rng(99);
  const Variant pool[] = {Variant(),        Variant(0.0),       Variant(Integer{-3}),
                          Variant(Long{7}), Variant(2.5),       Variant(true),
                          Variant(""),      Variant("b"),       Variant("A"),
                          Variant("10"),    Variant(Date{7.0}), Variant(Currency{25000})};
  for (int trial = 0; trial < 200; ++trial) {
    // Draw from a random part of the pool, so that every mix of kinds turns up.
    const std::size_t lo = rng() % 12, hi = lo + 1 + rng() % (12 - lo);
    const int n = 1 + static_cast<int>(rng() % 40);
    std::vector<Variant> keys;
    CVMatrix m;
    m.SetSize(n, 2);
    for (int i = 1; i <= n; ++i) {
      keys.push_back(pool[lo + rng() % (hi - lo)]);
      m.LetItem(i, 1, keys.back());
      m.LetItem(i, 2, Variant(static_cast<Long>(i)));
    }
    CVMatrix s = m.Sort(1);
    const std::vector<int> expected = BubbleOrder(keys);
    for (int i = 1; i <= n; ++i)
      ASSERT_EQ(s.Item(i, 2), Variant(static_cast<Long>(expected[i - 1]))) << "trial " << trial;
  }
}

TEST(CVMatrixSort, NullAndErrorKeys) {
  Error null = Caught([] { Column({Variant(1.0), Variant(Null)}).Sort(); });
  EXPECT_EQ(null.Number, 94);
  EXPECT_EQ(null.Source, "ORVMain.CVMatrix.Sort");
  Error error = Caught([] { Column({Variant(ErrorValue{2042}), Variant(1.0)}).Sort(); });
  EXPECT_EQ(error.Number, 13);
  // A single row needs no comparison.
  EXPECT_TRUE(Column({Variant(Null)}).Sort().Item(1).IsNull());
}

TEST(CVMatrixRank, TiesShareTheMeanRank) {
  CMatrix r = Column({Variant(10.0), Variant(20.0), Variant(20.0), Variant(30.0)}).Rank();
  ASSERT_EQ(r.RowCount(), 4);
  ASSERT_EQ(r.ColumnCount(), 1);
  EXPECT_EQ(r.Item(1), 1.0);
  EXPECT_EQ(r.Item(2), 2.5);
  EXPECT_EQ(r.Item(3), 2.5);
  EXPECT_EQ(r.Item(4), 4.0);
}

TEST(CVMatrixRank, TextIsNotRanked) {
  CMatrix r = Column({Variant(5.0), Variant("x"), Variant(3.0)}).Rank();
  EXPECT_EQ(r.Item(1), 2.0);
  EXPECT_EQ(r.Item(2), 0.0);
  EXPECT_EQ(r.Item(3), 1.0);
  // Numeric text and blanks are numeric; blanks rank as 0 does.
  CMatrix t = Column({Variant("7"), Variant(), Variant(0.0), Variant(-1.0), Variant("z")}).Rank();
  // Sorted: -1, Empty, 0, "7", "z" (numbers below text, Empty equal to 0);
  // "z" takes no rank.
  EXPECT_EQ(t.Item(1), 4.0);
  EXPECT_EQ(t.Item(2), 2.5);
  EXPECT_EQ(t.Item(3), 2.5);
  EXPECT_EQ(t.Item(4), 1.0);
  EXPECT_EQ(t.Item(5), 0.0);
}

TEST(CVMatrixRank, SecondColumnAndFailures) {
  CVMatrix m = Numbered(3, 2);
  m.LetItem(1, 2, Variant(9.0));
  CMatrix r = m.Rank(2);
  EXPECT_EQ(r.Item(1), 3.0);
  EXPECT_EQ(r.Item(2), 1.0);
  EXPECT_EQ(r.Item(3), 2.0);
  Error e = Caught([&] { m.Rank(3); });
  EXPECT_EQ(e.Number, 9);
  EXPECT_EQ(e.Source, "ORVMain.CVMatrix.Rank");
  EXPECT_EQ(Caught([] { Column({Variant(1.0), Variant(Null)}).Rank(); }).Number, 94);
  EXPECT_EQ(Caught([] { CVMatrix().Rank(); }).Number, 9);
}

}  // namespace
}  // namespace orv
