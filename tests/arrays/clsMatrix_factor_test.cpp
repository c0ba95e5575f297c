// clsMatrix: the Cholesky factor, the inverse of a symmetric positive-definite
// matrix, eigenvalues and eigenvectors, and the determinant. Exact results of
// the documented steps come from tests/data/linalg_reference.csv (written by
// scripts/make_linalg_reference.py).
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "clsMatrix_test_util.hpp"
#include "orv/arrays/clsMatrix.hpp"
#include "orv/matrix/CMatrix.hpp"

namespace orv {
namespace {

using namespace orv::test;

const clsMatrix M;

// --- Cholesky ----------------------------------------------------------------------

TEST(clsMatrixCholesky, LowerFactorInTheDocumentedOrder) {
  EXPECT_TRUE(Holds(M.Cholesky(Mat(2, 2, {4, 2, 2, 5})), Table({{2, 0}, {1, 2}})));
  for (const std::string& c : Linalg().Cases("chol"))
    EXPECT_TRUE(Holds(M.Cholesky(FromTable(Linalg()[c])), Linalg()["chol." + c])) << c;
  // Not positive definite: sqrt(|1 - 4|) on the diagonal instead of a failure.
  EXPECT_TRUE(Holds(M.Cholesky(Mat(2, 2, {1, 2, 2, 1})), Table({{1, 0}, {2, std::sqrt(3.0)}})));
}

// CMatrix computes the factor in blocks of columns; on a positive-definite
// matrix it must give the doubles of this column-by-column factor.
TEST(clsMatrixCholesky, SameDoublesAsTheBlockedFactorOfCMatrix) {
  std::mt19937_64 rng(13);
  std::uniform_real_distribution<double> u(-1, 1);
  for (Long n : {1, 2, 5, 63, 64, 65, 130, 200}) {
    Array<double> a(1, n, 1, n);  // diagonally dominant, so positive definite
    for (Long i = 1; i <= n; ++i) {
      a(i, i) = n + 1;
      for (Long j = 1; j < i; ++j) a(i, j) = a(j, i) = u(rng);
    }
    CMatrix m;
    m.LetValues(a);
    EXPECT_TRUE(Holds(M.Cholesky(a), Rows(m.Cholesky().Values()))) << n;
  }
}

TEST(clsMatrixCholesky, Failures) {
  const std::string source = kCls + "Cholesky";
  EXPECT_FAILS(5, source, kInvalid, M.Cholesky(Mat(2, 2, {-1, 0, 0, 1})));
  // A zero diagonal element is divided by: x / 0 is 11, 0 / 0 is 6.
  EXPECT_FAILS(11, source, kDivision, M.Cholesky(Mat(2, 2, {0, 1, 1, 1})));
  EXPECT_FAILS(6, source, kOverflow, M.Cholesky(Mat(2, 2, {0, 0, 0, 1})));
  EXPECT_FAILS(11, source, kDivision, M.Cholesky(Mat(3, 3, {1, 1, 0, 1, 1, 0, 0, 1, 1})));
  EXPECT_FAILS(6, source, kOverflow, M.Cholesky(Mat(3, 3, {1, 1, 0, 1, 1, 0, 0, 0, 1})));
  EXPECT_FAILS(9, source, kSubscript, M.Cholesky(Mat(2, 1, {1, 2})));
  EXPECT_FAILS(9, source, kSubscript, M.Cholesky(Array<double>()));
}

// --- MInv_SymmetricPositiveDefinite --------------------------------------------------

TEST(clsMatrixMInvSpd, InvertsInPlaceOrAnswersFalse) {
  Array<double> a = Mat(2, 2, {4, 2, 2, 3});
  EXPECT_TRUE(M.MInv_SymmetricPositiveDefinite(a));
  const double inverse[] = {0.375, -0.25, -0.25, 0.5};
  for (std::size_t k = 0; k < 4; ++k) EXPECT_DOUBLE_EQ(a.data()[k], inverse[k]);
  for (const std::string& c : Linalg().Cases("minv")) {
    const Array<double> original = FromTable(Linalg()[c]);
    Array<double> inverse = original;
    ASSERT_TRUE(M.MInv_SymmetricPositiveDefinite(inverse));
    EXPECT_TRUE(Holds(inverse, Linalg()["minv." + c])) << c;
    // A times its inverse is the identity.
    const Array<double> product = M.MMult(original, inverse);
    for (Long i = 1; i <= original.UBound(1); ++i)
      for (Long j = 1; j <= original.UBound(1); ++j)
        EXPECT_NEAR(product(i, j), i == j ? 1.0 : 0.0, 1e-12) << c;
  }
  for (Array<double> a :
       {Mat(2, 2, {1, 2, 2, 1}), Mat(1, 1, {0}), Array<double>(), Array<double>(1, 2),
        Mat(2, 1, {1, 1}), Mat(2, 2, {1e-300, 1e300, 1e300, 1})})
    EXPECT_FALSE(M.MInv_SymmetricPositiveDefinite(a)) << a.size();
}

// --- Eigen ------------------------------------------------------------------------------

TEST(clsMatrixEigen, SameDoublesAsTheRotationSteps) {
  EXPECT_TRUE(Holds(M.Eigen(Mat(2, 2, {3, 0, 0, -1})), Table({{3, -1}, {1, 0}, {0, 1}})));
  for (const std::string& c : Linalg().Cases("jacobi")) {
    Array<double> a = FromTable(Linalg()["jacobi." + c + ".in"]);
    const Long n = a.UBound(1);
    if (n > 1) a(n, 1) = 1234.5;
    Table expected = Linalg()["jacobi." + c + ".v"];
    expected.insert(expected.begin(), Linalg()["jacobi." + c + ".d"][0]);
    EXPECT_TRUE(Holds(M.Eigen(a), expected)) << c;
  }
}

TEST(clsMatrixEigen, BadArgumentsLeaveAsTheyArose) {
  // No handler: a platform error keeps the platform's source.
  EXPECT_FAILS(9, "ORVMain", kSubscript, M.Eigen(Mat(2, 1, {1, 2})));
  EXPECT_EQ(Fails([] { M.Eigen(Array<double>(1, 2)); }).number, 9);
}

// --- determinant -------------------------------------------------------------------------

TEST(clsMatrixDeterminant, EliminationInPlaceVariantArraysAndBadArguments) {
  Variant m(Mat(2, 2, {2, 1, 4, 5}));
  EXPECT_EQ(M.determinant(m), 6.0);
  // The caller's array holds the reduced matrix.
  EXPECT_EQ(m.Element(2, 1), Variant(0.0));
  EXPECT_EQ(m.Element(2, 2), Variant(3.0));
  const struct {
    Array<double> a;
    double det;
  } cases[] = {
      {Mat(1, 1, {-2.5}), -2.5},
      {Mat(3, 3, {0, 1, 2, 0, 3, 4, 0, 5, 7}), 0},  // a zero column
      {Mat(2, 2, {0, 1, 1, 0}), -1},                // a row exchange
      {Mat(2, 2, {1, 0, 0, 1}), 1},
  };
  for (const auto& c : cases) {
    Variant v(c.a);
    EXPECT_EQ(M.determinant(v), c.det);
  }
  Variant variants(
      Mat<Variant>(2, 2, {Variant(Integer{3}), Variant("1"), Variant(6.0), Variant()}));
  EXPECT_EQ(M.determinant(variants), -6.0);
  EXPECT_EQ(variants.Element(2, 2), Variant(-2.0));
  EXPECT_FAILS(13, "ORVMain", kMismatch, M.determinant(Variant(1.0)));
  EXPECT_EQ(Fails([] { M.determinant(Variant(Mat(2, 1, {1, 2}))); }).number, 9);
  // The row count is a 16-bit integer.
  EXPECT_EQ(Fails([] { M.determinant(Variant(Array<double>(1, 40000, 1, 1))); }).number, 6);
}

}  // namespace
}  // namespace orv
