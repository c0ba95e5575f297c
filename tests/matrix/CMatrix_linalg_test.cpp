// CMatrix: generalised inverse by sweeping, determinant, Cholesky factor,
// substitutions and SolveEquation.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "matrix_test_util.hpp"
#include "orv/matrix/CMatrix.hpp"
#include "orv/matrix/sweep.hpp"

namespace orv {
namespace {

using namespace orv::test;

CMatrix FromVector(const std::vector<double>& v, size_t rows, size_t columns) {
  Array<double> a(1, static_cast<Long>(rows), 1, static_cast<Long>(columns));
  a.storage() = v;
  CMatrix m;
  m.LetValues(a);
  return m;
}

bool SameBits(const std::vector<double>& x, const std::vector<double>& y) {
  if (x.size() != y.size()) return false;
  for (size_t k = 0; k < x.size(); ++k)
    if (std::bit_cast<std::uint64_t>(x[k]) != std::bit_cast<std::uint64_t>(y[k])) return false;
  return true;
}

const std::string kNotPd = "Matrix is not Positive Definite";

// X'X + shift * I for a random n x n X: symmetric positive definite.
std::vector<double> RandomSpd(size_t n, std::mt19937_64& rng, double shift) {
  std::normal_distribution<double> normal;
  std::vector<double> x(n * n), a(n * n);
  for (double& v : x) v = normal(rng);
  for (size_t i = 0; i < n; ++i)
    for (size_t j = 0; j < n; ++j) {
      double s = 0;
      for (size_t k = 0; k < n; ++k) s = s + x[k * n + i] * x[k * n + j];
      a[i * n + j] = s + (i == j ? shift : 0);
    }
  return a;
}

// --- GeneralInverse ---

// The sweep exactly as it is described, mirroring every update at once and
// rounding to 15 digits through text.
double ByText(double x) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", x);
  return std::strtod(text, nullptr);
}

std::vector<double> SweepAsWritten(std::vector<double> a, size_t n, double zero) {
  auto A = [&](size_t i, size_t j) -> double& { return a[i * n + j]; };
  for (size_t k = 0; k < n; ++k) {
    if (A(k, k) == 0) {
      for (size_t j = 0; j < n; ++j) A(k, j) = A(j, k) = 0;
      continue;
    }
    A(k, k) = -1 / A(k, k);
    for (size_t j = 0; j < n; ++j) {
      if (j == k) continue;
      A(k, j) = -A(k, j) * A(k, k);
      A(j, k) = A(k, j);
    }
    for (size_t i = 0; i < n; ++i) {
      if (i == k) continue;
      for (size_t j = 0; j <= i; ++j) {
        if (j == k) continue;
        const double t = A(k, j) * A(i, k) / A(k, k);
        A(i, j) = ByText(A(i, j)) + ByText(t);
        if (std::fabs(A(i, j)) < zero) A(i, j) = 0;
        A(j, i) = A(i, j);
      }
    }
  }
  for (double& v : a) v = -v;
  return a;
}

TEST(CMatrixLinalg, GeneralInverseOfSmallMatrices) {
  EXPECT_EQ(Elements(M({{4, 2}, {2, 3}}).GeneralInverse()), (Table{{0.375, -0.25}, {-0.25, 0.5}}));
  // Singular: the second pivot is 0 after the first sweep.
  EXPECT_EQ(Elements(M({{1, 1}, {1, 1}}).GeneralInverse()), (Table{{1, 0}, {0, 0}}));
  // A zero diagonal element leaves its row and column 0.
  EXPECT_EQ(Elements(M({{2, 0, 0}, {0, 0, 7}, {0, 7, 4}}).GeneralInverse()),
            (Table{{0.5, 0, 0}, {0, 0, 0}, {0, 0, 0.25}}));
  EXPECT_EQ(Elements(M({{8}}).GeneralInverse()), (Table{{0.125}}));
  EXPECT_EQ(Elements(M({{0}}).GeneralInverse()), (Table{{0}}));
  EXPECT_TRUE(CMatrix().GeneralInverse().IsNull());
}

TEST(CMatrixLinalg, GeneralInverseRoundsBothTermsTo15Digits) {
  // 1 + 1e-15 rounds to 1, so the second column is exactly dependent.
  EXPECT_EQ(Elements(M({{1, 1}, {1, 1 + 1e-15}}).GeneralInverse()), (Table{{1, 0}, {0, 0}}));
  // 1 + 1e-13 survives the rounding; ZERO decides whether the remainder
  // counts as a pivot.
  CMatrix near = M({{1, 1}, {1, 1 + 1e-13}});
  EXPECT_NE(near.GeneralInverse().Item(2, 2), 0);
  EXPECT_EQ(Elements(near.GeneralInverse(1e-12)), (Table{{1, 0}, {0, 0}}));
}

TEST(CMatrixLinalg, GeneralInverseMatchesTheSweepAsWrittenBitForBit) {
  std::mt19937_64 rng(11);
  for (size_t n : {2u, 3u, 7u, 20u, 41u}) {
    const std::vector<double> a = RandomSpd(n, rng, 0.5);
    const CMatrix inverse = FromVector(a, n, n).GeneralInverse();
    EXPECT_TRUE(SameBits(inverse.Values().storage(), SweepAsWritten(a, n, 1e-20))) << n;
  }
  // Dependent columns: the copy of a column is swept out.
  std::vector<double> x = RandomSpd(6, rng, 0);
  for (size_t i = 0; i < 6; ++i) x[i * 6 + 5] = x[i * 6 + 1];
  for (size_t j = 0; j < 6; ++j) x[5 * 6 + j] = x[1 * 6 + j];
  const CMatrix g = FromVector(x, 6, 6).GeneralInverse(1e-9);
  EXPECT_TRUE(SameBits(g.Values().storage(), SweepAsWritten(x, 6, 1e-9)));
  EXPECT_EQ(g.Item(6, 6), 0);
}

TEST(CMatrixLinalg, GeneralInverseOfAnAsymmetricMatrixFollowsTheSweepAsWritten) {
  // Before the first non-zero pivot the caller's upper triangle is still in
  // place and is used; afterwards the result is symmetric.
  std::mt19937_64 rng(5);
  std::uniform_real_distribution<double> u(-2, 2);
  for (size_t n : {3u, 5u, 9u}) {
    std::vector<double> a(n * n);
    for (double& v : a) v = u(rng);
    a[0] = 0;  // the first pivot is zero
    for (size_t i = 0; i < n; ++i) a[i * n + i] += 8;
    a[0] = 0;
    const CMatrix g = FromVector(a, n, n).GeneralInverse();
    EXPECT_TRUE(SameBits(g.Values().storage(), SweepAsWritten(a, n, 1e-20))) << n;
    EXPECT_TRUE(g.IsSymmetric());
  }
}

TEST(CMatrixLinalg, GeneralInverseOfARectangularReceiver) {
  // Extra columns take no part and are negated with the rest.
  EXPECT_EQ(Elements(M({{4, 2, 1}, {2, 3, -6}}).GeneralInverse()),
            (Table{{0.375, -0.25, -1}, {-0.25, 0.5, 6}}));
  ExpectError(Caught([] {
                M({{4, 2}, {2, 3}, {1, 1}}).GeneralInverse();
              }),
              kErrSubscript, "ORVMain.CMatrix.GeneralInverse", kSubscript);
  ExpectError(Caught([] {
                M({{0}, {2}}).GeneralInverse();
              }),
              kErrSubscript, "ORVMain.CMatrix.GeneralInverse", kSubscript);
}

TEST(CMatrixLinalg, GeneralInverseOverflowRaises6) {
  ExpectError(Caught([] {
                M({{1e-300, 1e300}, {1e300, 1}}).GeneralInverse();
              }),
              kErrOverflow, "ORVMain.CMatrix.GeneralInverse", "Overflow");
  // A 15-digit rounding beyond the largest double overflows too.
  ExpectError(Caught([] {
                M({{1, 0}, {0, 1.7976931348623157e308}}).GeneralInverse();
              }),
              kErrOverflow, "ORVMain.CMatrix.GeneralInverse", "Overflow");
}

TEST(CMatrixLinalg, SweepKernelWorksInsideALargerArray) {
  // Leading dimension wider than the block: the other columns stay.
  std::vector<double> a = {4, 2, 99, 2, 3, 99};
  kernels::Sweep(a.data(), 2, 3, 1e-20);
  EXPECT_EQ(a, (std::vector<double>{0.375, -0.25, 99, -0.25, 0.5, 99}));
}

// --- determinant and IsSingular ---

TEST(CMatrixLinalg, Determinant) {
  EXPECT_EQ(M({{0, 1}, {1, 0}}).determinant(), -1);
  EXPECT_EQ(M({{0, 1}, {0, 1}}).determinant(), 0);
  EXPECT_EQ(M({{1e-6, 0}, {0, 1e-6}}).determinant(), 0);
  EXPECT_TRUE(M({{1e-6, 0}, {0, 1e-6}}).IsSingular());
  EXPECT_FALSE(M({{1e-5, 0}, {0, 1e-5}}).IsSingular());
  EXPECT_EQ(M({{2, 1}, {1, 3}}).determinant(), 5);
  EXPECT_EQ(M({{7}}).determinant(), 7);
  EXPECT_EQ(M({{2, 0, 1}, {4, 1, 2}, {2, 3, 4}}).determinant(), 6);
  // Row exchanges on zero pivots, each flipping the sign.
  EXPECT_EQ(M({{0, 0, 1}, {0, 1, 0}, {1, 0, 0}}).determinant(), -1);
  EXPECT_EQ(M({{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}).determinant(), 1);
  // The first two columns of a wider matrix.
  EXPECT_EQ(M({{2, 1, 100}, {1, 3, 100}}).determinant(), 5);
}

TEST(CMatrixLinalg, DeterminantUsesTinyPivotsWithoutPivoting) {
  const double e = 1e-20;
  // f = 1 / e; the second pivot is 1 - f * 1, the product e * (1 - 1e20).
  EXPECT_EQ(M({{e, 1}, {1, 1}}).determinant(), e * (1 - (1 / e) * 1));
}

TEST(CMatrixLinalg, DeterminantMatchesTheEliminationAsWritten) {
  std::mt19937_64 rng(9);
  std::uniform_real_distribution<double> u(-1, 1);
  for (size_t n : {3u, 10u, 33u}) {
    std::vector<double> a(n * n);
    for (double& v : a) v = u(rng);
    std::vector<double> w = a;
    double d = 1;
    size_t k = 0;
    for (; k + 1 < n; ++k) {
      for (size_t i = k + 1; i < n; ++i) {
        const double f = w[i * n + k] / w[k * n + k];
        for (size_t j = k; j < n; ++j) w[i * n + j] = w[i * n + j] - f * w[k * n + j];
      }
      d = d * w[k * n + k];
    }
    d = d * w[k * n + k];
    if (std::fabs(d) < 1e-11) d = 0;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(FromVector(a, n, n).determinant()),
              std::bit_cast<std::uint64_t>(d));
  }
}

TEST(CMatrixLinalg, DeterminantFailuresLeaveUndecorated) {
  ExpectError(Caught([] { CMatrix().determinant(); }), kErrSubscript, "ORVMain", kSubscript);
  ExpectError(Caught([] { CMatrix().IsSingular(); }), kErrSubscript, "ORVMain", kSubscript);
  ExpectError(Caught([] {
                M({{1, 2}, {3, 4}, {5, 6}}).determinant();
              }),
              kErrSubscript, "ORVMain", kSubscript);
  // With no non-zero element in the first column, elimination stops at once.
  EXPECT_EQ(M({{0, 2}, {0, 3}, {0, 4}}).determinant(), 0);
  ExpectError(Caught([] {
                M({{1e-300, 1}, {1e300, 1}}).determinant();
              }),
              kErrOverflow, "ORVMain", "Overflow");
}

// --- Cholesky ---

// The factor column by column, as written.
std::vector<double> CholeskyAsWritten(const std::vector<double>& a, size_t n) {
  std::vector<double> L(n * n, 0.0);
  for (size_t j = 0; j < n; ++j) {
    double s = 0;
    for (size_t k = 0; k < j; ++k) s = s + L[j * n + k] * L[j * n + k];
    L[j * n + j] = std::sqrt(a[j * n + j] - s);
    for (size_t i = j + 1; i < n; ++i) {
      s = 0;
      for (size_t k = 0; k < j; ++k) s = s + L[i * n + k] * L[j * n + k];
      L[i * n + j] = (a[i * n + j] - s) / L[j * n + j];
    }
  }
  return L;
}

TEST(CMatrixLinalg, CholeskyOfSmallMatrices) {
  EXPECT_EQ(Elements(M({{4, 2}, {2, 3}}).Cholesky()), (Table{{2, 0}, {1, std::sqrt(2.0)}}));
  // Only the diagonal and the lower triangle are read.
  EXPECT_EQ(Elements(M({{4, 1e300}, {2, 3}}).Cholesky()), (Table{{2, 0}, {1, std::sqrt(2.0)}}));
  EXPECT_EQ(Elements(M({{9}}).Cholesky()), (Table{{3}}));
}

TEST(CMatrixLinalg, CholeskyMatchesTheColumnByColumnFactorBitForBit) {
  std::mt19937_64 rng(13);
  // Sizes around the blocks in which the sums are started together.
  for (size_t n : {1u, 2u, 5u, 63u, 64u, 65u, 130u, 200u}) {
    const std::vector<double> a = RandomSpd(n, rng, 1.0);
    const CMatrix L = FromVector(a, n, n).Cholesky();
    EXPECT_TRUE(SameBits(L.Values().storage(), CholeskyAsWritten(a, n))) << n;
  }
}

TEST(CMatrixLinalg, CholeskyFailures) {
  ExpectError(Caught([] {
                M({{1, 2}, {2, 1}}).Cholesky();
              }),
              MXNotPositiveDefinite, "ORVMain.CMatrix.Cholesky", kNotPd);
  EXPECT_EQ(MXNotPositiveDefinite, -2147215504);
  ExpectError(Caught([] { M({{1e-14}}).Cholesky(); }), MXNotPositiveDefinite,
              "ORVMain.CMatrix.Cholesky", kNotPd);
  EXPECT_EQ(Elements(M({{1e-14}}).Cholesky(1e-15)), (Table{{std::sqrt(1e-14)}}));
  ExpectError(Caught([] { M({{-4}}).Cholesky(); }), MXNotPositiveDefinite,
              "ORVMain.CMatrix.Cholesky", kNotPd);
  // A NaN pivot fails the test too.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  ExpectError(Caught([&] {
                M({{1, 0}, {0, nan}}).Cholesky();
              }),
              MXNotPositiveDefinite, "ORVMain.CMatrix.Cholesky", kNotPd);
  ExpectError(Caught([] { CMatrix().Cholesky(); }), kErrSubscript, "ORVMain.CMatrix.Cholesky",
              kSubscript);
  // Fewer columns than rows: the diagonal runs out after the last column,
  // unless a pivot fails first.
  ExpectError(Caught([] {
                M({{4, 0}, {2, 5}, {1, 1}}).Cholesky();
              }),
              kErrSubscript, "ORVMain.CMatrix.Cholesky", kSubscript);
  ExpectError(Caught([] {
                M({{4, 0}, {2, 1}, {1, 1}}).Cholesky();
              }),
              MXNotPositiveDefinite, "ORVMain.CMatrix.Cholesky", kNotPd);
  // A zero pivot let through by a negative ZERO divides by zero.
  ExpectError(Caught([] {
                M({{0, 0}, {1, 1}}).Cholesky(-1);
              }),
              kErrDivisionByZero, "ORVMain.CMatrix.Cholesky", "Division by zero");
}

TEST(CMatrixLinalg, IsPositiveDefinite) {
  EXPECT_TRUE(M({{4, 2}, {2, 3}}).IsPositiveDefinite());
  EXPECT_FALSE(M({{1, 2}, {2, 1}}).IsPositiveDefinite());
  EXPECT_FALSE(M({{1e-14}}).IsPositiveDefinite());
  // Other failures are raised by the plain rule.
  ExpectError(Caught([] {
                M({{4, 0}, {2, 5}, {1, 1}}).IsPositiveDefinite();
              }),
              kErrSubscript, "ORVMain.CMatrix.IsPositiveDefinite", kSubscript);
}

// --- substitutions and SolveEquation ---

TEST(CMatrixLinalg, ForwardSubstitution) {
  CMatrix L = M({{2, 0, 0}, {1, 4, 0}, {-1, 2, 5}});
  EXPECT_EQ(Elements(L.ForwardSubstitution(M({{2}, {9}, {12}}))), (Table{{1}, {2}, {1.8}}));
  ExpectError(Caught([] {
                M({{1, 2}, {0, 1}}).ForwardSubstitution(M({{1}, {1}}));
              }),
              kErrTypeMismatch, "ORVMain.CMatrix.ForwardSubstitution",
              "This matrix isn't lower triangular");
  ExpectError(Caught([] {
                M({{1, 0, 0}, {0, 1, 0}}).ForwardSubstitution(M({{1}, {1}}));
              }),
              kErrTypeMismatch, "ORVMain.CMatrix.ForwardSubstitution",
              "This matrix isn't lower triangular");
  ExpectError(Caught([] {
                M({{1, 0}, {1, 1}}).ForwardSubstitution(M({{1}, {1}, {1}}));
              }),
              kErrSubscript, "ORVMain.CMatrix.ForwardSubstitution",
              "b does not have the same number of rows as this matrix.");
  ExpectError(Caught([] {
                M({{1, 0}, {1, 0}}).ForwardSubstitution(M({{1}, {2}}));
              }),
              kErrDivisionByZero, "ORVMain.CMatrix.ForwardSubstitution", "Division by zero");
  // 0 / 0 is an overflow.
  ExpectError(Caught([] {
                M({{1, 0}, {1, 0}}).ForwardSubstitution(M({{1}, {1}}));
              }),
              kErrOverflow, "ORVMain.CMatrix.ForwardSubstitution", "Overflow");
  ExpectError(Caught([] {
                M({{1, 0}, {0, 1}}).ForwardSubstitution(CMatrix(Nothing));
              }),
              kErrObjectNotSet, "ORVMain.CMatrix.ForwardSubstitution",
              "Object variable or With block variable not set");
}

TEST(CMatrixLinalg, BackwardSubstitution) {
  CMatrix U = M({{2, 1, -1}, {0, 4, 2}, {0, 0, 5}});
  EXPECT_EQ(Elements(U.BackwardSubstitution(M({{3}, {8}, {10}}))), (Table{{2}, {1}, {2}}));
  ExpectError(Caught([] {
                M({{1, 0}, {2, 1}}).BackwardSubstitution(M({{1}, {1}}));
              }),
              kErrTypeMismatch, "ORVMain", "This matrix isn't upper triangular");
  ExpectError(Caught([] {
                M({{1, 0, 0}}).BackwardSubstitution(M({{1}}));
              }),
              kErrTypeMismatch, "ORVMain", "This matrix isn't upper triangular");
  ExpectError(Caught([] {
                M({{1, 1}, {0, 1}}).BackwardSubstitution(M({{1}}));
              }),
              kErrSubscript, "ORVMain", "b does not have the same number of rows as this matrix.");
  ExpectError(Caught([] {
                M({{1, 1}, {0, 0}}).BackwardSubstitution(M({{1}, {1}}));
              }),
              kErrDivisionByZero, "ORVMain", "Division by zero");
}

TEST(CMatrixLinalg, SolveEquation) {
  CMatrix a = M({{4, 2}, {2, 3}});
  EXPECT_EQ(Elements(a.SolveEquation(M({{2}, {1}}))), (Table{{0.5}, {0}}));
  EXPECT_EQ(Elements(a), (Table{{4, 2}, {2, 3}}));
  // The plain-rule source of Cholesky does not begin with "Line": stamped.
  ExpectError(Caught([] {
                M({{1, 2}, {2, 1}}).SolveEquation(M({{1}, {1}}));
              }),
              MXNotPositiveDefinite, "Line 10 in ORVMain.CMatrix.SolveEquation", kNotPd);
  ExpectError(Caught([&] {
                a.SolveEquation(M({{1}, {1}, {1}}));
              }),
              kErrSubscript, "Line 20 in ORVMain.CMatrix.SolveEquation",
              "b does not have the same number of rows as this matrix.");
  ExpectError(Caught([&] { a.SolveEquation(CMatrix(Nothing)); }), kErrObjectNotSet,
              "Line 20 in ORVMain.CMatrix.SolveEquation",
              "Object variable or With block variable not set");
}

TEST(CMatrixLinalg, SolveEquationAgreesWithTheFactorAndSubstitutions) {
  std::mt19937_64 rng(17);
  const size_t n = 12;
  const std::vector<double> a = RandomSpd(n, rng, 1.0);
  std::vector<double> b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<double>(i) - 3.5;
  const CMatrix A = FromVector(a, n, n), B = FromVector(b, n, 1);
  const CMatrix x = A.SolveEquation(B);
  const CMatrix L = A.Cholesky();
  EXPECT_TRUE(x.IsEqual(L.Transpose().BackwardSubstitution(L.ForwardSubstitution(B))));
  // And it solves the system.
  const CMatrix residual = A.Multiply(x).Subtract(B);
  EXPECT_LT(std::max(std::fabs(residual.Minimum()), std::fabs(residual.Maximum())), 1e-12);
}

}  // namespace
}  // namespace orv
