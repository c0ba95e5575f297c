#include "orv/arrays/CVMatrix.hpp"

#include <gtest/gtest.h>

#include <algorithm>
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
  EXPECT_FAILS(9, "ORVMain", "Subscript out of range", m.Item(3, 1));
  EXPECT_EQ(Fails([&] { m.LetItem(0, 1, Variant(1.0)); }).number, 9);
  CVMatrix none(Nothing);
  EXPECT_EQ(Fails([&] { none.RowCount(); }).number, 91);
  EXPECT_FAILS(91, "Line 10 in ORVMain.CVMatrix.SetSize", kNotSet, none.SetSize(1, 1));
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

  EXPECT_FAILS(13, "ORVMain.CVMatrix.FillFromArray", "Type mismatch",
               block.FillFromArray(Variant(4.0)));
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
  EXPECT_EQ(Fails([&] { a.IsEqual(CVMatrix(Nothing)); }).number, 91);
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

  EXPECT_FAILS(9, "Line 10 in ORVMain.CVMatrix.DeleteRow.DeleteRow", "Subscript out of range",
               m.DeleteRow(0));
  EXPECT_EQ(Fails([&] { m.DeleteColumn(3); }).source,
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

  EXPECT_FAILS(9, "Line 30 in ORVMain.CVMatrix.InsertRows.InsertRows", "Subscript out of range",
               m.InsertRows(Numbered(1, 3)));
  EXPECT_EQ(Fails([&] { m.InsertRows(extra, 3); }).source,
            "Line 40 in ORVMain.CVMatrix.InsertRows.InsertRows");
}

TEST(CVMatrixRestructure, InsertColumns) {
  CVMatrix m = Numbered(2, 2);
  CVMatrix left = m.InsertColumns(Column({Variant("a"), Variant("b")}), 1);
  EXPECT_EQ(left.ColumnCount(), 3);
  EXPECT_EQ(left.Item(2, 1), Variant("b"));
  EXPECT_EQ(left.Item(2, 3), Variant(4.0));
  EXPECT_EQ(Fails([&] { m.InsertColumns(Column({Variant("a")})); }).source,
            "Line 30 in ORVMain.CVMatrix.InsertColumns.InsertColumns");
}

TEST(CVMatrixRestructure, RowsColumnsAndBlocks) {
  CVMatrix m = Numbered(3, 3);
  CVMatrix c = m.Column(2);
  EXPECT_EQ(c.RowCount(), 3);
  EXPECT_EQ(c.Item(3, 1), Variant(8.0));
  CVMatrix r = m.row(3);
  EXPECT_EQ(r.ColumnCount(), 3);
  EXPECT_EQ(r.Item(1, 1), Variant(7.0));
  EXPECT_EQ(Fails([&] { m.Column(4); }).source, "Line 10 in ORVMain.CVMatrix.Column");
  EXPECT_EQ(Fails([&] { m.row(0); }).source, "Line 10 in ORVMain.CVMatrix.row");

  Long rows = 0, cols = 0;
  CVMatrix s = m.SubMatrix(2, 3, rows, cols);
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(cols, 1);
  EXPECT_EQ(s.Item(2, 1), Variant(9.0));
  EXPECT_FAILS(9, "ORVMain.CVMatrix.SubMatrix", "Subscript out of range", m.SubMatrix(2, 2, 3, 1));
  EXPECT_EQ(Fails([&] { m.SubMatrix(0, 1, 1, 1); }).number, 9);
}

// --- sorting and ranking -------------------------------------------------------------------

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
  EXPECT_FAILS(9, "ORVMain.CVMatrix.Sort", "Subscript out of range", m.Sort(3));
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
    // Exchanging neighbours until no pair is out of order: every
    // neighbouring pair in order, equal ones in their first order, and
    // every row there once.
    CVMatrix s = m.Sort(1);
    std::vector<bool> seen(n + 1, false);
    for (int i = 1; i <= n; ++i) {
      const Long at = s.Item(i, 2).AsLong();
      ASSERT_EQ(s.Item(i, 1), keys[at - 1]);
      seen[at] = true;
      if (i == 1) continue;
      const int order = CompareVariants(s.Item(i - 1, 1), s.Item(i, 1));
      ASSERT_LE(order, 0) << "trial " << trial << " row " << i;
      if (order == 0) ASSERT_LT(s.Item(i - 1, 2).AsLong(), at) << "trial " << trial;
    }
    EXPECT_EQ(std::count(seen.begin() + 1, seen.end(), true), n);
  }
}

TEST(CVMatrixSort, NullAndErrorKeys) {
  EXPECT_FAILS(94, "ORVMain.CVMatrix.Sort", "Invalid use of Null",
               Column({Variant(1.0), Variant(Null)}).Sort());
  EXPECT_EQ(Fails([] { Column({Variant(ErrorValue{2042}), Variant(1.0)}).Sort(); }).number, 13);
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
  EXPECT_FAILS(9, "ORVMain.CVMatrix.Rank", "Subscript out of range", m.Rank(3));
  EXPECT_EQ(Fails([] { Column({Variant(1.0), Variant(Null)}).Rank(); }).number, 94);
  EXPECT_EQ(Fails([] { CVMatrix().Rank(); }).number, 9);
}

}  // namespace
}  // namespace orv
