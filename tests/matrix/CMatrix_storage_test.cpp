// CMatrix: shape, element access, conversion from and to arrays, text form,
// special matrices, and how failures leave these members.
#include <gtest/gtest.h>

#include <string>

#include "matrix_test_util.hpp"
#include "orv/matrix/CMatrix.hpp"

namespace orv {
namespace {

using namespace orv::test;

// --- a new matrix and SetSize ---

TEST(CMatrixStorage, NewMatrixIsNullAndSetSizeZeroFillsOrMakesNull) {
  CMatrix m;
  EXPECT_TRUE(m.IsNull());
  EXPECT_EQ(m.RowCount(), 0);
  EXPECT_EQ(m.ColumnCount(), 0);
  EXPECT_TRUE(m.IsSquare());
  EXPECT_EQ(m.ToString(), "");
  EXPECT_FALSE(m.Values().IsAllocated());
  EXPECT_FALSE(m.ToArray().IsAllocated());
  m = M({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  m.SetSize(0, 5);
  EXPECT_TRUE(m.IsNull());
  m.SetSize(2, 3);
  EXPECT_EQ(Elements(m), (Table{{0, 0, 0}, {0, 0, 0}}));
  m.LetItem(1, 1, 5);
  m.SetSize(2);  // columns default to 1, nothing kept
  EXPECT_EQ(Elements(m), (Table{{0}, {0}}));
  m.SetSize(3, -1);
  EXPECT_TRUE(m.IsNull());
}

TEST(CMatrixStorage, SetSizePersistKeepsTheCommonBlock) {
  const Table nine = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  const struct {
    Table start;
    Long rows, columns, rows_after, columns_after;
    Table expected;
  } cases[] = {
      {nine, 2, 2, 2, 2, {{1, 2}, {4, 5}}},
      {nine, 4, 4, 3, 3, {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}, {0, 0, 0, 0}}},
      // Only the argument that exceeds the old count is lowered.
      {{{1, 2}, {3, 4}}, 1, 5, 1, 2, {{1, 2, 0, 0, 0}}},
      // Columns are lowered to the old column count, not the row count.
      {{{1, 2}, {3, 4}, {5, 6}}, 3, 3, 3, 2, {{1, 2, 0}, {3, 4, 0}, {5, 6, 0}}},
      // Growing a null matrix keeps nothing.
      {{}, 2, 3, 0, 0, {{0, 0, 0}, {0, 0, 0}}},
  };
  for (const auto& c : cases) {
    CMatrix m = Make(c.start);
    Long rows = c.rows, columns = c.columns;
    m.SetSize(rows, columns, true);
    EXPECT_EQ(rows, c.rows_after);
    EXPECT_EQ(columns, c.columns_after);
    EXPECT_EQ(Elements(m), c.expected);
  }
}

TEST(CMatrixStorage, SetSizeThatCannotBeAllocatedRaises7AndKeepsTheMatrix) {
  CMatrix m = M({{1, 2}});
  EXPECT_FAILS(7, At(30, "SetSize"), "Out of memory", m.SetSize(2000000000, 2000000000));
  EXPECT_EQ(Elements(m), (Table{{1, 2}}));
  EXPECT_FAILS(7, At(40, "SetSize"), "Out of memory", m.SetSize(2000000000, 2000000000, true));
  EXPECT_EQ(Elements(m), (Table{{1, 2}}));
}

// --- handles ---

TEST(CMatrixStorage, CopySharesTheObjectCloneDoesNot) {
  CMatrix a = M({{1, 2}, {3, 4}});
  CMatrix b = a;
  EXPECT_TRUE(Is(a, b));
  b.LetItem(1, 1, 10);
  EXPECT_EQ(a.Item(1, 1), 10);

  CMatrix c = a.Clone();
  EXPECT_FALSE(Is(a, c));
  c.LetItem(1, 1, 20);
  EXPECT_EQ(a.Item(1, 1), 10);
  EXPECT_EQ(Elements(c), (Table{{20, 2}, {3, 4}}));

  CMatrix null_clone = CMatrix().Clone();
  EXPECT_TRUE(null_clone.IsNull());
}

TEST(CMatrixStorage, NothingHandleRaises91) {
  CMatrix nothing(Nothing);
  EXPECT_TRUE(nothing.IsNothing());
  // Through the receiver the member never runs: the failure carries no
  // member's location.
  EXPECT_FAILS(91, "ORVMain", kNotSet, nothing.RowCount());
  // Through an argument the member's rule applies.
  CMatrix m = M({{1}});
  EXPECT_FAILS(91, "ORVMain", kNotSet, m.IsEqual(nothing));
  EXPECT_FAILS(91, In("Concatenate"), kNotSet, m.Concatenate(nothing));
}

// --- elements ---

TEST(CMatrixStorage, ItemReadsAndWritesAndFailsOutsideWith9) {
  CMatrix m;
  m.SetSize(2, 3);
  m.LetItem(2, 1, -4);
  EXPECT_EQ(m.Item(2), -4);  // column defaults to 1
  EXPECT_FAILS(9, "ORVMain", kSubscript, m.Item(3, 1));
  EXPECT_FAILS(9, "ORVMain", kSubscript, m.Item(1, 0));
  EXPECT_FAILS(9, "ORVMain", kSubscript, m.LetItem(0, 1, 1));
  EXPECT_FAILS(9, "ORVMain", kSubscript, CMatrix().Item(1, 1));
}

TEST(CMatrixStorage, ValuesIsACopyWithBoundsFromOne) {
  CMatrix m = M({{1, 2, 3}, {4, 5, 6}});
  Array<double> v = m.Values();
  EXPECT_EQ(v, Mat(2, 3, {1, 2, 3, 4, 5, 6}));
  v(2, 1) = 100;
  EXPECT_EQ(m.Item(2, 1), 4);
  EXPECT_EQ(m.ToArray(), m.Values());
}

TEST(CMatrixStorage, LetValuesAcceptsAnyLowerBounds) {
  CMatrix m;
  m.LetValues(Vec({7, 8, 9}, 0));
  EXPECT_EQ(Elements(m), (Table{{7}, {8}, {9}}));
  m.LetValues(Mat(2, 3, {5, 6, 7, 15, 16, 17}, 0, 5));
  EXPECT_EQ(Elements(m), (Table{{5, 6, 7}, {15, 16, 17}}));
  m.LetValues(Vec({-1, -2}, -5));
  EXPECT_EQ(Elements(m), (Table{{-1}, {-2}}));
  // An unallocated array leaves a null matrix, silently.
  EXPECT_NO_THROW(m.LetValues(Array<double>()));
  EXPECT_TRUE(m.IsNull());
}

TEST(CMatrixStorage, FillFromArrayMakesRowsOrColumnsAndRaisesPlain) {
  CMatrix m;
  m.FillFromArray(Vec({1, 2, 3, 4}), true);
  EXPECT_EQ(Elements(m), (Table{{1, 2, 3, 4}}));
  m.FillFromArray(Vec({1, 2, 3, 4}));
  EXPECT_EQ(Elements(m), (Table{{1}, {2}, {3}, {4}}));
  m.FillFromArray(Mat(2, 2, {1, 2, 3, 4}, 2, 0), true);  // ignored for two dimensions
  EXPECT_EQ(Elements(m), (Table{{1, 2}, {3, 4}}));
  EXPECT_FAILS(9, In("FillFromArray"), kSubscript, m.FillFromArray(Array<double>()));
  EXPECT_EQ(Elements(m), (Table{{1, 2}, {3, 4}}));
}

TEST(CMatrixStorage, ValuesToDiagonalPicksTheDiagonalByShape) {
  auto diagonal = [](const Array<double>& a) {
    CMatrix m = M({{9, 9, 9}, {9, 9, 9}});
    m.LetValuesToDiagonal(a);
    return Elements(m);
  };
  // 2 x 3 and 3 x 2: (1,1), (2,2); 1 x 3 and 2 x 1: the row's or column's values.
  EXPECT_EQ(diagonal(Mat(2, 3, {11, 12, 13, 21, 22, 23})), (Table{{11, 0}, {0, 22}}));
  EXPECT_EQ(diagonal(Mat(1, 3, {1, 2, 3}, 0, 4)), (Table{{1, 0, 0}, {0, 2, 0}, {0, 0, 3}}));
  EXPECT_EQ(diagonal(Mat(2, 1, {5, 6}, -1, 3)), (Table{{5, 0}, {0, 6}}));
  EXPECT_EQ(diagonal(Vec({1, 2, 3}, 0)), (Table{{1, 0, 0}, {0, 2, 0}, {0, 0, 3}}));
  CMatrix m;
  EXPECT_FAILS(9, In("LetValuesToDiagonal"), kSubscript, m.LetValuesToDiagonal(Array<double>()));
}

TEST(CMatrixStorage, IsSymmetricDiagonalizeAndDiagVector) {
  EXPECT_FALSE(M({{1, 2, 3}, {2, 1, 3}}).IsSymmetric());
  EXPECT_FALSE(M({{1, 1}, {1 + 1e-12, 1}}).IsSymmetric());
  EXPECT_TRUE(M({{1, 2, 3}, {2, 5, 6}, {3, 6, 9}}).IsSymmetric());
  EXPECT_TRUE(CMatrix().IsSymmetric());
  CMatrix m = M({{1, 2, 3}, {4, 5, 6}});
  EXPECT_EQ(Elements(m.Diagonalize()), (Table{{1, 0}, {0, 5}}));
  EXPECT_EQ(Elements(m.DiagVector()), (Table{{1}, {5}}));
  EXPECT_FAILS(9, In("Diagonalize"), kSubscript, CMatrix().Diagonalize());
  EXPECT_TRUE(CMatrix().DiagVector().IsNull());
  EXPECT_EQ(Elements(m), (Table{{1, 2, 3}, {4, 5, 6}}));
}

TEST(CMatrixStorage, ToStringAndFill) {
  EXPECT_EQ(M({{1, 2}, {3, 4}}).ToString(), "1, 2\r\n3, 4\r\n");
  EXPECT_EQ(M({{1.0 / 3, -2.5e-7, 1e20}}).ToString(), "0.333333333333333, -2.5E-07, 1E+20\r\n");
  CMatrix m;
  m.SetSize(2, 2);
  m.Fill(3.5);
  EXPECT_EQ(Elements(m), (Table{{3.5, 3.5}, {3.5, 3.5}}));
  CMatrix null;
  null.Fill(1);
  EXPECT_TRUE(null.IsNull());
}

// --- special matrices ---

TEST(CMatrixStorage, SpecialMatricesAndTheirFailures) {
  CMatrix any = M({{7}});
  EXPECT_EQ(Elements(any.ZeroMatrix(2, 3)), (Table{{0, 0, 0}, {0, 0, 0}}));
  EXPECT_EQ(Elements(any.IdentityMatrix(3)), (Table{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}));
  EXPECT_EQ(Elements(any.UnityColumn(2)), (Table{{1}, {1}}));
  EXPECT_EQ(Elements(any.UnityRow(3)), (Table{{1, 1, 1}}));
  EXPECT_EQ(Elements(any), (Table{{7}}));
  EXPECT_EQ(CMatrix().IdentityMatrix(1).Item(1, 1), 1);
  CMatrix null;
  EXPECT_FAILS(9, At(10, "ZeroMatrix"), kSubscript, null.ZeroMatrix(0, 3));
  EXPECT_FAILS(9, At(10, "IdentityMatrix"), kSubscript, null.IdentityMatrix(0));
  EXPECT_FAILS(9, At(10, "UnityColumn"), kSubscript, null.UnityColumn(0));
  // No handler: the failure leaves as raised.
  EXPECT_FAILS(9, "ORVMain", kSubscript, null.UnityRow(0));
  // SetSize stamps its out-of-memory failure with its own line; ZeroMatrix
  // replaces that location with its own.
  EXPECT_FAILS(7, At(20, "ZeroMatrix"), "Out of memory",
               CMatrix().ZeroMatrix(2000000000, 2000000000));
  EXPECT_FAILS(7, At(20, "IdentityMatrix"), "Out of memory", CMatrix().IdentityMatrix(2000000000));
}

// --- comparison and extraction ---

TEST(CMatrixStorage, IsEqualComparesShapeAndElements) {
  EXPECT_TRUE(M({{1, 2}, {3, 4}}).IsEqual(M({{1, 2}, {3, 4}})));
  EXPECT_FALSE(M({{1, 2}, {3, 4}}).IsEqual(M({{1, 2}, {3, 5}})));
  EXPECT_FALSE(M({{1, 2}}).IsEqual(M({{1}, {2}})));
  EXPECT_TRUE(CMatrix().IsEqual(CMatrix()));
  EXPECT_TRUE(M({{0.0}}).IsEqual(M({{-0.0}})));
  // An element differs only when it is less or greater: NaN never does.
  EXPECT_TRUE(M({{kNaN, 1}}).IsEqual(M({{5, 1}})));
}

TEST(CMatrixStorage, ColumnAndRow) {
  CMatrix m = M({{1, 2, 3}, {4, 5, 6}});
  EXPECT_EQ(Elements(m.Column(2)), (Table{{2}, {5}}));
  EXPECT_EQ(Elements(m.row(2)), (Table{{4, 5, 6}}));
  EXPECT_FAILS(9, At(10, "Column"), kSubscript, m.Column(0));
  EXPECT_FAILS(9, At(10, "Column"), kSubscript, m.Column(4));
  EXPECT_FAILS(9, At(10, "row"), kSubscript, m.row(3));
  EXPECT_FAILS(9, At(10, "row"), kSubscript, m.row(-1));
}

TEST(CMatrixStorage, ValuesAsVector) {
  CMatrix m = M({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}});
  EXPECT_EQ(m.ValuesAsVector(ORVMVColumn, 2), Vec({2, 6, 10}));
  EXPECT_EQ(m.ValuesAsVector(ORVMVRow, 3), Vec({9, 10, 11, 12}));
  EXPECT_EQ(m.ValuesAsVector(ORVMVDiagonal, 99), Vec({1, 6, 11}));
  EXPECT_FALSE(m.ValuesAsVector(static_cast<ORVMatrixVector>(7)).IsAllocated());

  EXPECT_FAILS(9, In("ValuesAsVector"), "The index is larger than the number of rows",
               m.ValuesAsVector(ORVMVRow, 5));
  EXPECT_FAILS(9, In("ValuesAsVector"), "The index is larger than the number of columns",
               m.ValuesAsVector(ORVMVColumn, 5));
  EXPECT_FAILS(9, In("ValuesAsVector"), kSubscript, m.ValuesAsVector(ORVMVColumn, 0));
  EXPECT_FAILS(9, In("ValuesAsVector"), kSubscript, m.ValuesAsVector(ORVMVRow, -2));
}

}  // namespace
}  // namespace orv
