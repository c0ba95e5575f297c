// CVMatrix: a matrix of Variants: shape, values, restructuring, the stable
// sort under the variant comparison, and mid-ranks.
#include "orv/arrays/CVMatrix.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "matrix/matrix_test_util.hpp"
#include "orv/frame/compare.hpp"
#include "orv/matrix/CMatrix.hpp"

namespace orv {
namespace {

using namespace orv::test;

const Variant E;  // Empty
Variant V(double x) { return Variant(x); }

// The (1 To rows, 1 To columns) array of these values, row by row.
Array<Variant> Values(Long rows, Long columns, std::vector<Variant> values) {
  Array<Variant> a(1, rows, 1, columns);
  a.storage() = std::move(values);
  return a;
}

CVMatrix Of(const Array<Variant>& values) {
  CVMatrix m;
  m.LetValues(Variant(values));
  return m;
}

CVMatrix Column(std::vector<Variant> values) {
  const auto rows = static_cast<Long>(values.size());
  return Of(Values(rows, 1, std::move(values)));
}

// A rows x columns matrix holding 1, 2, 3, ... row by row.
CVMatrix Numbered(Long rows, Long columns) {
  std::vector<Variant> values;
  for (Long k = 1; k <= rows * columns; ++k) values.push_back(V(k));
  return Of(Values(rows, columns, std::move(values)));
}

// --- shape and elements --------------------------------------------------------------

TEST(CVMatrixShape, SetSizeAndEmptiness) {
  CVMatrix m;
  EXPECT_TRUE(m.IsNull());
  EXPECT_EQ(m.RowCount(), 0);
  m.SetSize(2, 3);
  EXPECT_FALSE(m.IsNull());
  EXPECT_EQ(m.Values(), Values(2, 3, {E, E, E, E, E, E}));
  m.SetSize(0);
  EXPECT_TRUE(m.IsNull());
  EXPECT_EQ(m.RowCount(), 0);
  EXPECT_EQ(m.ColumnCount(), 0);
  // Persist keeps the common block and lowers the caller's counts.
  m = Numbered(2, 2);
  Long rows = 3, columns = 3;
  m.SetSize(rows, columns, true);
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(columns, 2);
  EXPECT_EQ(m.Values(), Values(3, 3, {V(1), V(2), E, V(3), V(4), E, E, E, E}));
}

TEST(CVMatrixShape, ItemsOutsideTheCountsAndNothing) {
  CVMatrix m = Numbered(2, 2);
  EXPECT_EQ(m.Item(2), V(3));  // Column defaults to 1
  EXPECT_FAILS(9, "ORVMain", kSubscript, m.Item(3, 1));
  EXPECT_FAILS(9, "ORVMain", kSubscript, m.Item(1, 3));
  EXPECT_EQ(Fails([&] { m.LetItem(0, 1, V(1)); }).number, 9);
  CVMatrix none(Nothing);
  EXPECT_EQ(Fails([&] { none.RowCount(); }).number, 91);
  EXPECT_FAILS(91, At(10, "SetSize", "CVMatrix"), kNotSet, none.SetSize(1, 1));
}

TEST(CVMatrixValues, LetAndGetCopies) {
  CVMatrix m;
  m.LetValues(Variant(Mat(2, 1, {0, 5})));
  EXPECT_EQ(m.Values(), Values(2, 1, {V(0), V(5)}));
  Array<Variant> copy = m.Values();
  copy(2, 1) = Variant("changed");
  EXPECT_EQ(m.Item(2, 1), V(5));
  EXPECT_EQ(m.ToArray(), m.Values());
  // A one-dimensional array or a single value empties the matrix, without an error.
  m.LetValues(Variant(Array<double>(1, 3)));
  EXPECT_TRUE(m.IsNull());
  EXPECT_FALSE(m.Values().IsAllocated());
  m = Numbered(1, 1);
  m.LetValues(Variant("text"));
  EXPECT_TRUE(m.IsNull());
}

TEST(CVMatrixValues, ToStringConvertsEachElement) {
  EXPECT_EQ(Of(Values(1, 2, {V(1), Variant("a")})).ToString(), "1, a\r\n");
  // A Null cannot be written and is skipped.
  EXPECT_EQ(Of(Values(1, 2, {Variant(Null), Variant("a")})).ToString(), "a\r\n");
  EXPECT_EQ(CVMatrix().ToString(), "");
}

TEST(CVMatrixValues, FillFromArrayOfAnyBounds) {
  const Array<double> v = Vec({1, 0, 3}, 0);
  CVMatrix m;
  m.FillFromArray(Variant(v), true);
  EXPECT_EQ(m.Values(), Values(1, 3, {V(1), V(0), V(3)}));
  m.FillFromArray(Variant(v));
  EXPECT_EQ(m.Values(), Values(3, 1, {V(1), V(0), V(3)}));
  m.FillFromArray(Variant(Mat<std::string>(2, 1, {"", "b"}, 5, -1)));
  EXPECT_EQ(m.Values(), Values(2, 1, {Variant(""), Variant("b")}));
  EXPECT_FAILS(13, In("FillFromArray", "CVMatrix"), kMismatch, m.FillFromArray(Variant(4.0)));
}

TEST(CVMatrixValues, IsEqualUsesTheVariantComparison) {
  const CVMatrix a = Column({E, V(1), Variant("x")});
  EXPECT_TRUE(a.IsEqual(Column({V(0), Variant(Long{1}), Variant("x")})));
  EXPECT_TRUE(a.IsEqual(Column({Variant(""), V(1), Variant("x")})));
  EXPECT_FALSE(a.IsEqual(Column({E, Variant("1"), Variant("x")})));
  EXPECT_FALSE(a.IsEqual(Numbered(3, 2)));
  EXPECT_EQ(Fails([&] { a.IsEqual(CVMatrix(Nothing)); }).number, 91);
}

// --- restructuring ----------------------------------------------------------------------

TEST(CVMatrixRestructure, DeleteRowsAndColumns) {
  const CVMatrix m = Numbered(3, 2);
  EXPECT_EQ(m.DeleteRow(2).Values(), Values(2, 2, {V(1), V(2), V(5), V(6)}));
  EXPECT_EQ(m.DeleteColumn(1).Values(), Values(3, 1, {V(2), V(4), V(6)}));
  EXPECT_EQ(m.RowCount(), 3);  // the receiver is unchanged
  EXPECT_TRUE(Numbered(1, 2).DeleteRow(1).IsNull());
  EXPECT_FAILS(9, At(10, "DeleteRow.DeleteRow", "CVMatrix"), kSubscript, m.DeleteRow(0));
  EXPECT_FAILS(9, At(10, "DeleteColumn.DeleteColumn", "CVMatrix"), kSubscript, m.DeleteColumn(3));
}

TEST(CVMatrixRestructure, InsertRowsAndColumns) {
  const CVMatrix m = Numbered(2, 2);
  const Variant a("a"), b("b");
  const CVMatrix extra = Column({a}).InsertColumns(Column({b}));
  EXPECT_EQ(extra.Values(), Values(1, 2, {a, b}));
  Long index = 0;
  EXPECT_EQ(m.InsertRows(extra, index).Values(), Values(3, 2, {V(1), V(2), V(3), V(4), a, b}));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(m.InsertRows(extra, 1).Values(), Values(3, 2, {a, b, V(1), V(2), V(3), V(4)}));
  EXPECT_EQ(m.InsertRows(extra, 2).Values(), Values(3, 2, {V(1), V(2), a, b, V(3), V(4)}));
  EXPECT_TRUE(m.InsertRows(CVMatrix()).IsNothing());
  CVMatrix empty;
  EXPECT_TRUE(Is(empty.InsertRows(m), m));
  EXPECT_FAILS(9, At(30, "InsertRows.InsertRows", "CVMatrix"), kSubscript,
               m.InsertRows(Numbered(1, 3)));
  EXPECT_FAILS(9, At(40, "InsertRows.InsertRows", "CVMatrix"), kSubscript, m.InsertRows(extra, 3));
  EXPECT_EQ(m.InsertColumns(Column({a, b}), 1).Values(),
            Values(2, 3, {a, V(1), V(2), b, V(3), V(4)}));
  EXPECT_FAILS(9, At(30, "InsertColumns.InsertColumns", "CVMatrix"), kSubscript,
               m.InsertColumns(Column({a})));
}

TEST(CVMatrixRestructure, RowsColumnsAndBlocks) {
  const CVMatrix m = Numbered(3, 3);
  EXPECT_EQ(m.Column(2).Values(), Values(3, 1, {V(2), V(5), V(8)}));
  EXPECT_EQ(m.row(3).Values(), Values(1, 3, {V(7), V(8), V(9)}));
  EXPECT_FAILS(9, At(10, "Column", "CVMatrix"), kSubscript, m.Column(4));
  EXPECT_FAILS(9, At(10, "row", "CVMatrix"), kSubscript, m.row(0));
  Long rows = 0, cols = 0;
  EXPECT_EQ(m.SubMatrix(2, 3, rows, cols).Values(), Values(2, 1, {V(6), V(9)}));
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(cols, 1);
  EXPECT_FAILS(9, In("SubMatrix", "CVMatrix"), kSubscript, m.SubMatrix(2, 2, 3, 1));
  EXPECT_EQ(Fails([&] { m.SubMatrix(0, 1, 1, 1); }).number, 9);
}

// --- sorting and ranking -------------------------------------------------------------------

TEST(CVMatrixSort, StableOnEqualKeys) {
  const CVMatrix m = Of(Values(3, 2, {V(2), V(1), V(1), V(2), V(2), V(3)}));
  EXPECT_EQ(m.Sort().Values(), Values(3, 2, {V(1), V(2), V(2), V(1), V(2), V(3)}));
  EXPECT_EQ(m.Item(1, 2), V(1));  // the receiver is unchanged
  EXPECT_FAILS(9, In("Sort", "CVMatrix"), kSubscript, m.Sort(3));
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
  EXPECT_FAILS(94, In("Sort", "CVMatrix"), kNull, Column({Variant(1.0), Variant(Null)}).Sort());
  EXPECT_EQ(Fails([] { Column({Variant(ErrorValue{2042}), Variant(1.0)}).Sort(); }).number, 13);
  // A single row needs no comparison.
  EXPECT_TRUE(Column({Variant(Null)}).Sort().Item(1).IsNull());
}

TEST(CVMatrixRank, MidRanksOfNumbersOnly) {
  EXPECT_EQ(Column({V(10), V(20), V(20), V(30)}).Rank().Values(), Mat(4, 1, {1, 2.5, 2.5, 4}));
  // Text takes no rank.
  EXPECT_EQ(Column({V(5), Variant("x"), V(3)}).Rank().Values(), Mat(3, 1, {2, 0, 1}));
  // Numeric text and blanks are numeric, blanks equal to 0: sorted -1,
  // Empty, 0, "7", "z" (numbers below text); "z" takes no rank.
  EXPECT_EQ(Column({Variant("7"), E, V(0), V(-1), Variant("z")}).Rank().Values(),
            Mat(5, 1, {4, 2.5, 2.5, 1, 0}));
  CVMatrix m = Numbered(3, 2);
  m.LetItem(1, 2, V(9));
  EXPECT_EQ(m.Rank(2).Values(), Mat(3, 1, {3, 1, 2}));
}

TEST(CVMatrixRank, Failures) {
  EXPECT_FAILS(9, In("Rank", "CVMatrix"), kSubscript, Numbered(3, 2).Rank(3));
  EXPECT_EQ(Fails([] { Column({V(1), Variant(Null)}).Rank(); }).number, 94);
  EXPECT_EQ(Fails([] { CVMatrix().Rank(); }).number, 9);
}

}  // namespace
}  // namespace orv
