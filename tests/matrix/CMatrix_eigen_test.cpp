// Eigen decomposition by Jacobi rotations: the kernel and
// CMatrix.EigenValuesAndVectors against exact results of the documented
// steps (tests/data/linalg_reference.csv, written by
// scripts/make_linalg_reference.py), the documented examples, the failures,
// and eigenvalues from LAPACK's dsyev (tests/data/eigen_dsyev_reference.csv,
// written by scripts/eigen_reference.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "matrix_test_util.hpp"
#include "orv/matrix/CMatrix.hpp"
#include "orv/matrix/jacobi.hpp"

namespace orv {
namespace {

using namespace orv::test;

// The reference eigenvalues (row 0) and vectors of case c, columns in
// ascending or descending order of the column quicksort.
Table Sorted(const std::string& c, bool descending) {
  const Table& d = Linalg()["jacobi." + c + ".d"];
  const Table& v = Linalg()["jacobi." + c + ".v"];
  const std::vector<double>& order = Linalg()["jacobi." + c + ".order"][0];
  const std::size_t n = order.size();
  Table r(n + 1, std::vector<double>(n));
  for (std::size_t k = 0; k < n; ++k) {
    const auto j = static_cast<std::size_t>(order[descending ? n - 1 - k : k]) - 1;
    r[0][k] = d[0][j];
    for (std::size_t i = 0; i < n; ++i) r[i + 1][k] = v[i][j];
  }
  return r;
}

const Reference& Lapack() {
  static const Reference r("eigen_dsyev_reference.csv");
  return r;
}

// --- the kernel ---

TEST(JacobiKernel, MatchesTheReferenceBitForBitInsideALargerStore) {
  const std::vector<std::string> cases = Linalg().Cases("jacobi");
  ASSERT_EQ(cases.size(), 9u);
  for (const std::string& c : cases) {
    const Table& a = Linalg()["jacobi." + c + ".in"];
    const std::size_t n = a.size(), ld = n + 3;
    std::vector<double> store(n * ld, -7.0), d(n), v(n * n);
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = 0; j < n; ++j) store[i * ld + j] = a[i][j];
    kernels::Jacobi(store.data(), static_cast<Long>(n), ld, d.data(), v.data(),
                    kernels::NanRule::Rotate);
    Table rows(n);
    for (std::size_t i = 0; i < n; ++i) rows[i].assign(v.begin() + i * n, v.begin() + i * n + n);
    EXPECT_TRUE(Identical({d}, Linalg()["jacobi." + c + ".d"])) << c;
    EXPECT_TRUE(Identical(rows, Linalg()["jacobi." + c + ".v"])) << c;
    for (std::size_t i = 0; i < n; ++i)  // the padding is left alone
      for (std::size_t j = n; j < ld; ++j) ASSERT_EQ(store[i * ld + j], -7.0);
  }
}

TEST(JacobiKernel, NanRulesNoConvergenceAndOverflow) {
  auto jacobi = [](std::vector<double> a, kernels::NanRule rule) {
    const auto n = static_cast<Long>(std::lround(std::sqrt(a.size())));
    std::vector<double> d(n), v(a.size());
    kernels::Jacobi(a.data(), n, static_cast<std::size_t>(n), d.data(), v.data(), rule);
    return d;
  };
  using kernels::NanRule;
  // A NaN above the diagonal keeps the off-diagonal mass from falling below
  // 1e-12 unless the rule rotates it away.
  EXPECT_FAILS(kObjectErrorBase, "ORVMain", kNoDescription,
               jacobi({1, kNaN, 1, 0, 1, 1, 0, 0, 1}, NanRule::Rotate));
  const std::vector<double> rotated = jacobi({1, kNaN, kNaN, 2}, NanRule::Rotate);
  EXPECT_TRUE(std::isnan(rotated[0]) && std::isnan(rotated[1]));
  EXPECT_FAILS(kObjectErrorBase, "ORVMain", kNoDescription,
               jacobi({1, kNaN, kNaN, 2}, NanRule::Skip));
  EXPECT_FAILS(6, "ORVMain", kOverflow,
               jacobi({1e308, 1e308, 1e308, 0, -1e308, 1e308, 0, 0, 1e308}, NanRule::Rotate));
  // Infinite input is not an overflow: the steps run as written.
  const std::vector<double> infinite = jacobi({1, kInf, 0, 1}, NanRule::Rotate);
  EXPECT_TRUE(std::isinf(infinite[0]) && std::isinf(infinite[1]));
}

// --- EigenValuesAndVectors ---

TEST(CMatrixEigenValuesAndVectors, DiagonalAndOneByOneNeedNoRotation) {
  const CMatrix m = Make({{3, 0}, {0, 5}});
  EXPECT_TRUE(Holds(m.EigenValuesAndVectors(), {{5, 3}, {0, 1}, {1, 0}}));
  EXPECT_TRUE(Holds(m.EigenValuesAndVectors(ORVSortAscending), {{3, 5}, {1, 0}, {0, 1}}));
  EXPECT_TRUE(Holds(m, {{3, 0}, {0, 5}}));  // receiver unchanged
  EXPECT_TRUE(Holds(Make({{7}}).EigenValuesAndVectors(), {{7}, {1}}));
  EXPECT_TRUE(Holds(Make({{-2}}).EigenValuesAndVectors(ORVSortAscending), {{-2}, {1}}));
}

TEST(CMatrixEigenValuesAndVectors, TiedEigenvaluesKeepThePartitionOrder) {
  // Off-diagonal mass below 1e-12 counts as diagonal: eigenvalues 1 and 1.
  const CMatrix tiny = Make({{1, 1e-13}, {1e-13, 1}});
  EXPECT_TRUE(Holds(tiny.EigenValuesAndVectors(), {{1, 1}, {1, 0}, {0, 1}}));
  // The ascending partition exchanges equal keys; descending reverses that.
  EXPECT_TRUE(Holds(tiny.EigenValuesAndVectors(ORVSortAscending), {{1, 1}, {0, 1}, {1, 0}}));
  const CMatrix twos = Make({{2, 0, 0}, {0, 2, 0}, {0, 0, 2}});
  EXPECT_TRUE(Holds(twos.EigenValuesAndVectors(), {{2, 2, 2}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}));
  EXPECT_TRUE(Holds(twos.EigenValuesAndVectors(ORVSortAscending),
                    Table({{2, 2, 2}, {0, 0, 1}, {0, 1, 0}, {1, 0, 0}})));
}

TEST(CMatrixEigenValuesAndVectors, MatchesTheReferenceBitForBit) {
  for (const std::string& c : Linalg().Cases("jacobi")) {
    const CMatrix m = Make(Linalg()["jacobi." + c + ".in"]);
    EXPECT_TRUE(Holds(m.EigenValuesAndVectors(), Sorted(c, true))) << c;
    EXPECT_TRUE(Holds(m.EigenValuesAndVectors(ORVSortAscending), Sorted(c, false))) << c;
  }
}

TEST(CMatrixEigenValuesAndVectors, ReadsOnlyTheUpperTriangleOfTheLeadingSquare) {
  const Table expected =
      Elements(Make({{4, 1, 2}, {1, 3, 0.5}, {2, 0.5, 1}}).EigenValuesAndVectors());
  EXPECT_TRUE(Identical(
      Elements(Make({{4, 1, 2}, {9, 3, 0.5}, {-8, 7, 1}}).EigenValuesAndVectors()), expected));
  EXPECT_TRUE(Identical(
      Elements(Make({{4, 1, 2, 100}, {9, 3, 0.5, 200}, {-8, 7, 1, 300}}).EigenValuesAndVectors()),
      expected));
}

TEST(CMatrixEigenValuesAndVectors, Failures) {
  EXPECT_FAILS(9, "ORVMain", kSubscript, CMatrix().EigenValuesAndVectors());
  EXPECT_FAILS(9, "ORVMain", kSubscript, Make({{1, 2}, {2, 1}, {0, 0}}).EigenValuesAndVectors());
  CMatrix nan = Make({{1, 0, 1}, {0, 1, 1}, {0, 0, 1}});
  nan.LetItem(1, 2, kNaN);
  EXPECT_FAILS(kObjectErrorBase, "ORVMain", kNoDescription, nan.EigenValuesAndVectors());
  EXPECT_FAILS(
      6, "ORVMain", kOverflow,
      Make({{1e308, 1e308, 1e308}, {0, -1e308, 1e308}, {0, 0, 1e308}}).EigenValuesAndVectors());
  EXPECT_FAILS(91, "ORVMain", kNotSet, CMatrix(Nothing).EigenValuesAndVectors());
}

// dsyev and the Jacobi rotations are both backward stable: their eigenvalues
// agree to 4 n eps times the largest magnitude (the worst case measured is
// 8 eps, n = 10). V departs from orthonormality by no more than 4 n eps.
// The rotations stop once the off-diagonal mass is below 1e-12, so the
// residuals A v - lambda v may reach that much on top.
TEST(CMatrixEigenValuesAndVectors, AgreesWithLapack) {
  const std::vector<std::string> cases = Lapack().Cases("dsyev");
  ASSERT_EQ(cases.size(), 7u);
  for (const std::string& c : cases) {
    const Table& a = Lapack()["dsyev." + c + ".in"];
    const std::vector<double>& eigenvalues = Lapack()["dsyev." + c + ".eigenvalues"][0];
    const std::size_t n = a.size();
    const Table r = Elements(Make(a).EigenValuesAndVectors(ORVSortAscending));
    double largest = 0;
    for (double e : eigenvalues) largest = std::max(largest, std::fabs(e));
    const double eps = std::numeric_limits<double>::epsilon();
    const double tolerance = 4 * static_cast<double>(n) * eps * largest;
    for (std::size_t j = 0; j < n; ++j) {
      EXPECT_NEAR(r[0][j], eigenvalues[j], tolerance) << c << " eigenvalue " << j;
      // Each column is a unit eigenvector: A v = lambda v, and V^T V = I.
      for (std::size_t i = 0; i < n; ++i) {
        double av = 0;
        for (std::size_t k = 0; k < n; ++k) av += a[i][k] * r[k + 1][j];
        EXPECT_NEAR(av, r[0][j] * r[i + 1][j], 1e-12 + tolerance) << c;
      }
      for (std::size_t k = 0; k < n; ++k) {
        double dot = 0;
        for (std::size_t i = 0; i < n; ++i) dot += r[i + 1][j] * r[i + 1][k];
        EXPECT_NEAR(dot, j == k ? 1.0 : 0.0, 4 * static_cast<double>(n) * eps) << c;
      }
    }
  }
}

}  // namespace
}  // namespace orv
