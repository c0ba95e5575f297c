// CMatrix: generalised inverse by sweeping, determinant, Cholesky factor,
// substitutions and SolveEquation. Exact results of the documented steps
// come from tests/data/linalg_reference.csv (scripts/make_linalg_reference.py).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "matrix_test_util.hpp"
#include "orv/matrix/CMatrix.hpp"
#include "orv/matrix/sweep.hpp"

namespace orv {
namespace {

using namespace orv::test;

const std::string kNotPd = "Matrix is not Positive Definite";

// --- GeneralInverse ---

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
  // Extra columns of a wide receiver take no part and are negated with the rest.
  EXPECT_EQ(Elements(M({{4, 2, 1}, {2, 3, -6}}).GeneralInverse()),
            (Table{{0.375, -0.25, -1}, {-0.25, 0.5, 6}}));
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

// Symmetric, dependent and asymmetric inputs: before the first non-zero
// pivot an asymmetric caller's upper triangle is still used; afterwards the
// result is symmetric.
TEST(CMatrixLinalg, GeneralInverseMatchesTheReferenceBitForBit) {
  const std::vector<std::string> cases = Linalg().Cases("sweep");
  ASSERT_EQ(cases.size(), 8u);
  for (const std::string& c : cases) {
    const double zero = Linalg()["sweep." + c + ".zero"][0][0];
    const CMatrix a = Make(Linalg()["sweep." + c + ".in"]);
    const CMatrix g = zero == 1e-20 ? a.GeneralInverse() : a.GeneralInverse(zero);
    EXPECT_TRUE(Holds(g, Linalg()["sweep." + c + ".out"])) << c;
    EXPECT_TRUE(g.IsSymmetric()) << c;
  }
  EXPECT_EQ(Make(Linalg()["sweep.dependent6.in"]).GeneralInverse(1e-9).Item(6, 6), 0);
}

TEST(CMatrixLinalg, GeneralInverseFailures) {
  const std::string source = In("GeneralInverse");
  EXPECT_FAILS(9, source, kSubscript, M({{4, 2}, {2, 3}, {1, 1}}).GeneralInverse());
  EXPECT_FAILS(9, source, kSubscript, M({{0}, {2}}).GeneralInverse());
  EXPECT_FAILS(6, source, kOverflow, M({{1e-300, 1e300}, {1e300, 1}}).GeneralInverse());
  // A 15-digit rounding beyond the largest double overflows too.
  EXPECT_FAILS(6, source, kOverflow, M({{1, 0}, {0, 1.7976931348623157e308}}).GeneralInverse());
}

TEST(CMatrixLinalg, SweepKernelWorksInsideALargerArray) {
  // Leading dimension wider than the block: the other columns stay.
  std::vector<double> a = {4, 2, 99, 2, 3, 99};
  kernels::Sweep(a.data(), 2, 3, 1e-20);
  EXPECT_EQ(a, (std::vector<double>{0.375, -0.25, 99, -0.25, 0.5, 99}));
}

// --- determinant and IsSingular ---

TEST(CMatrixLinalg, DeterminantAndItsUndecoratedFailures) {
  const double e = 1e-20;
  const struct {
    Table a;
    double det;
  } cases[] = {
      {{{0, 1}, {1, 0}}, -1},
      {{{0, 1}, {0, 1}}, 0},
      {{{1e-6, 0}, {0, 1e-6}}, 0},  // below 1e-11
      {{{3e-6, 0}, {0, 3e-6}}, 0},
      {{{5e-6, 0}, {0, 5e-6}}, 5e-6 * 5e-6},  // just above
      {{{2, 1}, {1, 3}}, 5},
      {{{7}}, 7},
      {{{2, 0, 1}, {4, 1, 2}, {2, 3, 4}}, 6},
      // Row exchanges on zero pivots, each flipping the sign.
      {{{0, 0, 1}, {0, 1, 0}, {1, 0, 0}}, -1},
      {{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, 1},
      {{{2, 1, 100}, {1, 3, 100}}, 5},  // the first two columns of a wider matrix
      // No pivoting on a tiny pivot: f = 1 / e, the second pivot 1 - f * 1.
      {{{e, 1}, {1, 1}}, e * (1 - (1 / e) * 1)},
      // No non-zero element in the first column: elimination stops at once.
      {{{0, 2}, {0, 3}, {0, 4}}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Make(c.a).determinant(), c.det) << c.a.size();
  EXPECT_TRUE(M({{1e-6, 0}, {0, 1e-6}}).IsSingular());
  EXPECT_FALSE(M({{1e-5, 0}, {0, 1e-5}}).IsSingular());
  for (const std::string& c : Linalg().Cases("det"))
    EXPECT_TRUE(Identical({{Make(Linalg()["det." + c + ".in"]).determinant()}},
                          Linalg()["det." + c + ".out"]))
        << c;
  EXPECT_FAILS(9, "ORVMain", kSubscript, CMatrix().determinant());
  EXPECT_FAILS(9, "ORVMain", kSubscript, CMatrix().IsSingular());
  EXPECT_FAILS(9, "ORVMain", kSubscript, M({{1, 2}, {3, 4}, {5, 6}}).determinant());
  EXPECT_FAILS(6, "ORVMain", kOverflow, M({{1e-300, 1}, {1e300, 1}}).determinant());
}

// --- Cholesky ---

TEST(CMatrixLinalg, CholeskyOfSmallMatrices) {
  EXPECT_EQ(Elements(M({{4, 2}, {2, 3}}).Cholesky()), (Table{{2, 0}, {1, std::sqrt(2.0)}}));
  // Only the diagonal and the lower triangle are read.
  EXPECT_EQ(Elements(M({{4, 1e300}, {2, 3}}).Cholesky()), (Table{{2, 0}, {1, std::sqrt(2.0)}}));
  EXPECT_EQ(Elements(M({{9}}).Cholesky()), (Table{{3}}));
  EXPECT_EQ(Elements(M({{1e-14}}).Cholesky(1e-15)), (Table{{std::sqrt(1e-14)}}));
  for (const std::string& c : Linalg().Cases("chol"))
    EXPECT_TRUE(Holds(Make(Linalg()[c]).Cholesky(), Linalg()["chol." + c])) << c;
}

TEST(CMatrixLinalg, CholeskyFailures) {
  const std::string source = In("Cholesky");
  EXPECT_EQ(MXNotPositiveDefinite, -2147215504);
  EXPECT_FAILS(MXNotPositiveDefinite, source, kNotPd, M({{1, 2}, {2, 1}}).Cholesky());
  EXPECT_FAILS(MXNotPositiveDefinite, source, kNotPd, M({{1e-14}}).Cholesky());
  EXPECT_FAILS(MXNotPositiveDefinite, source, kNotPd, M({{5e-14}}).Cholesky());
  EXPECT_FAILS(MXNotPositiveDefinite, source, kNotPd, M({{-4}}).Cholesky());
  EXPECT_FAILS(MXNotPositiveDefinite, source, kNotPd, M({{1, 0}, {0, kNaN}}).Cholesky());
  EXPECT_FAILS(9, source, kSubscript, CMatrix().Cholesky());
  // Fewer columns than rows: the diagonal runs out after the last column,
  // unless a pivot fails first.
  EXPECT_FAILS(9, source, kSubscript, M({{4, 0}, {2, 5}, {1, 1}}).Cholesky());
  EXPECT_FAILS(MXNotPositiveDefinite, source, kNotPd, M({{4, 0}, {2, 1}, {1, 1}}).Cholesky());
  // A zero pivot let through by a negative ZERO divides by zero.
  EXPECT_FAILS(11, source, kDivision, M({{0, 0}, {1, 1}}).Cholesky(-1));
}

TEST(CMatrixLinalg, IsPositiveDefinite) {
  EXPECT_TRUE(M({{4, 2}, {2, 3}}).IsPositiveDefinite());
  EXPECT_FALSE(M({{1, 2}, {2, 1}}).IsPositiveDefinite());
  EXPECT_FALSE(M({{1e-14}}).IsPositiveDefinite());
  EXPECT_FALSE(M({{5e-14}}).IsPositiveDefinite());  // the default ZERO is 1e-13
  EXPECT_TRUE(M({{2e-13}}).IsPositiveDefinite());
  // Other failures are raised by the plain rule.
  EXPECT_FAILS(9, In("IsPositiveDefinite"), kSubscript,
               M({{4, 0}, {2, 5}, {1, 1}}).IsPositiveDefinite());
}

// --- substitutions and SolveEquation ---

TEST(CMatrixLinalg, ForwardAndBackwardSubstitution) {
  EXPECT_EQ(
      Elements(M({{2, 0, 0}, {1, 4, 0}, {-1, 2, 5}}).ForwardSubstitution(M({{2}, {9}, {12}}))),
      (Table{{1}, {2}, {1.8}}));
  EXPECT_EQ(
      Elements(M({{2, 1, -1}, {0, 4, 2}, {0, 0, 5}}).BackwardSubstitution(M({{3}, {8}, {10}}))),
      (Table{{2}, {1}, {2}}));
  const std::string forward = In("ForwardSubstitution");
  const std::string lower = "This matrix isn't lower triangular";
  const std::string upper = "This matrix isn't upper triangular";
  const std::string rows = "b does not have the same number of rows as this matrix.";
  EXPECT_FAILS(13, forward, lower, M({{1, 2}, {0, 1}}).ForwardSubstitution(M({{1}, {1}})));
  EXPECT_FAILS(13, forward, lower, M({{1, -2}, {0, 1}}).ForwardSubstitution(M({{1}, {1}})));
  EXPECT_FAILS(13, forward, lower, M({{1, 0, 0}, {0, 1, 0}}).ForwardSubstitution(M({{1}, {1}})));
  EXPECT_FAILS(9, forward, rows, M({{1, 0}, {1, 1}}).ForwardSubstitution(M({{1}, {1}, {1}})));
  EXPECT_FAILS(11, forward, kDivision, M({{1, 0}, {1, 0}}).ForwardSubstitution(M({{1}, {2}})));
  // 0 / 0 is an overflow.
  EXPECT_FAILS(6, forward, kOverflow, M({{1, 0}, {1, 0}}).ForwardSubstitution(M({{1}, {1}})));
  EXPECT_FAILS(91, forward, kNotSet, M({{1, 0}, {0, 1}}).ForwardSubstitution(CMatrix(Nothing)));
  // Backward substitution has no handler.
  EXPECT_FAILS(13, "ORVMain", upper, M({{1, 0}, {2, 1}}).BackwardSubstitution(M({{1}, {1}})));
  EXPECT_FAILS(13, "ORVMain", upper, M({{1, 0, 0}}).BackwardSubstitution(M({{1}})));
  EXPECT_FAILS(9, "ORVMain", rows, M({{1, 1}, {0, 1}}).BackwardSubstitution(M({{1}})));
  EXPECT_FAILS(11, "ORVMain", kDivision, M({{1, 1}, {0, 0}}).BackwardSubstitution(M({{1}, {1}})));
}

TEST(CMatrixLinalg, SolveEquationAgreesWithTheFactorAndSubstitutions) {
  CMatrix a = M({{4, 2}, {2, 3}});
  EXPECT_EQ(Elements(a.SolveEquation(M({{2}, {1}}))), (Table{{0.5}, {0}}));
  EXPECT_EQ(Elements(a), (Table{{4, 2}, {2, 3}}));
  // The plain-rule source of Cholesky does not begin with "Line": stamped.
  EXPECT_FAILS(MXNotPositiveDefinite, At(10, "SolveEquation"), kNotPd,
               M({{1, 2}, {2, 1}}).SolveEquation(M({{1}, {1}})));
  EXPECT_FAILS(9, At(20, "SolveEquation"),
               "b does not have the same number of rows as this matrix.",
               a.SolveEquation(M({{1}, {1}, {1}})));
  EXPECT_FAILS(91, At(20, "SolveEquation"), kNotSet, a.SolveEquation(CMatrix(Nothing)));
  const CMatrix A = Make(Linalg()["spd7"]);
  const CMatrix B = M({{1}, {-2}, {3.5}, {0}, {7}, {-1}, {2}});
  const CMatrix x = A.SolveEquation(B);
  const CMatrix L = A.Cholesky();
  EXPECT_TRUE(x.IsEqual(L.Transpose().BackwardSubstitution(L.ForwardSubstitution(B))));
  // And it solves the system.
  const CMatrix residual = A.Multiply(x).Subtract(B);
  EXPECT_LT(std::max(std::fabs(residual.Minimum()), std::fabs(residual.Maximum())), 1e-12);
}

}  // namespace
}  // namespace orv
