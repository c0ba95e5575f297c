// Eigen decomposition by Jacobi rotations: the kernel and
// CMatrix.EigenValuesAndVectors against the documented steps written out as
// plain loops (bit for bit), the documented examples, the failures, and
// eigenvalues from LAPACK's dsyev (tests/data/eigen_dsyev_reference.csv,
// written by scripts/eigen_reference.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "matrix_test_util.hpp"
#include "orv/matrix/CMatrix.hpp"
#include "orv/matrix/jacobi.hpp"

namespace orv {
namespace {

using namespace orv::test;

// --- the documented steps as plain loops ---

struct Decomposition {
  std::vector<double> d;
  Table v;
  int sweeps = 0;
};

Decomposition PlainJacobi(Table a) {
  const std::size_t n = a.size();
  Decomposition out;
  out.v.assign(n, std::vector<double>(n, 0.0));
  for (std::size_t i = 0; i < n; ++i) out.v[i][i] = 1.0;
  std::vector<double>& d = out.d;
  std::vector<double> b(n), z(n, 0.0);
  for (std::size_t i = 0; i < n; ++i) b[i] = d.emplace_back(a[i][i]);
  Table& V = out.v;
  for (int sweep = 1;; ++sweep) {
    if (sweep > 50) throw std::runtime_error("no convergence");
    double sm = 0;
    for (std::size_t p = 0; p + 1 < n; ++p)
      for (std::size_t q = p + 1; q < n; ++q) sm += std::fabs(a[p][q]);
    out.sweeps = sweep;
    if (sm < 1e-12) break;
    const double tresh =
        sweep <= 3 ? 0.2 * sm / (static_cast<double>(n) * static_cast<double>(n)) : 0.0;
    for (std::size_t p = 0; p + 1 < n; ++p) {
      for (std::size_t q = p + 1; q < n; ++q) {
        const double g = 100 * std::fabs(a[p][q]);
        if (sweep > 4 && std::fabs(d[p]) + g == std::fabs(d[p]) &&
            std::fabs(d[q]) + g == std::fabs(d[q])) {
          a[p][q] = 0;
        } else if (std::fabs(a[p][q]) <= tresh) {
        } else {
          double h = d[q] - d[p], t;
          if (std::fabs(h) + g == std::fabs(h)) {
            t = a[p][q] / h;
          } else {
            const double theta = 0.5 * h / a[p][q];
            t = 1 / (std::fabs(theta) + std::sqrt(1 + theta * theta));
            if (theta < 0) t = -t;
          }
          const double c = 1 / std::sqrt(1 + t * t), s = t * c, tau = s / (1 + c);
          h = t * a[p][q];
          z[p] -= h;
          z[q] += h;
          d[p] -= h;
          d[q] += h;
          a[p][q] = 0;
          auto R = [&](double& x, double& y) {
            const double x0 = x, y0 = y;
            x = x0 - s * (y0 + x0 * tau);
            y = y0 + s * (x0 - y0 * tau);
          };
          for (std::size_t j = 0; j < p; ++j) R(a[j][p], a[j][q]);
          for (std::size_t j = p + 1; j < q; ++j) R(a[p][j], a[j][q]);
          for (std::size_t j = q + 1; j < n; ++j) R(a[p][j], a[q][j]);
          for (std::size_t j = 0; j < n; ++j) R(V[j][p], V[j][q]);
        }
      }
    }
    for (std::size_t i = 0; i < n; ++i) {
      b[i] += z[i];
      d[i] = b[i];
      z[i] = 0;
    }
  }
  return out;
}

// The column quicksort on the key row 0, then reversal when descending.
void PlainQuickSortColumns(Table& cols, long lo, long hi) {
  const double p = cols[lo][0];
  long i = lo, j = hi;
  for (;;) {
    while (cols[i][0] < p && i < hi) ++i;
    while (p < cols[j][0] && j > lo) --j;
    if (i > j) break;
    std::swap(cols[i], cols[j]);
    ++i;
    --j;
    if (i > j) break;
  }
  if (j - lo >= hi - i) {
    if (i < hi) PlainQuickSortColumns(cols, i, hi);
    if (lo < j) PlainQuickSortColumns(cols, lo, j);
  } else {
    if (lo < j) PlainQuickSortColumns(cols, lo, j);
    if (i < hi) PlainQuickSortColumns(cols, i, hi);
  }
}

Table PlainEigenValuesAndVectors(const Table& a, bool descending) {
  const std::size_t n = a.size();
  const Decomposition dec = PlainJacobi(a);
  Table cols(n, std::vector<double>(n + 1));  // column j as a row
  for (std::size_t j = 0; j < n; ++j) {
    cols[j][0] = dec.d[j];
    for (std::size_t i = 0; i < n; ++i) cols[j][i + 1] = dec.v[i][j];
  }
  PlainQuickSortColumns(cols, 0, static_cast<long>(n) - 1);
  if (descending) std::reverse(cols.begin(), cols.end());
  Table r(n + 1, std::vector<double>(n));
  for (std::size_t j = 0; j < n; ++j)
    for (std::size_t i = 0; i <= n; ++i) r[i][j] = cols[j][i];
  return r;
}

Table RandomSymmetric(std::mt19937_64& gen, std::size_t n, double scale) {
  Table a(n, std::vector<double>(n));
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = i; j < n; ++j)
      a[i][j] = a[j][i] = (static_cast<double>(gen() >> 11) * 0x1p-53 - 0.5) * scale;
  return a;
}

struct ReferenceCase {
  std::string name;
  Table matrix;
  std::vector<double> eigenvalues;  // ascending
};

std::vector<double> Numbers(const std::string& line) {
  std::vector<double> values;
  std::stringstream in(line);
  std::string cell;
  while (std::getline(in, cell, ',')) values.push_back(std::stod(cell));
  return values;
}

std::vector<ReferenceCase> LapackCases() {
  std::ifstream in(std::string(ORV_TEST_DATA_DIR) + "/eigen_dsyev_reference.csv");
  std::vector<ReferenceCase> cases;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("matrix,", 0) == 0) {
      ReferenceCase c;
      const auto second = line.find(',', 7);
      c.name = line.substr(7, second - 7);
      const int n = std::stoi(line.substr(second + 1));
      for (int i = 0; i < n && std::getline(in, line); ++i) c.matrix.push_back(Numbers(line));
      std::getline(in, line);
      c.eigenvalues = Numbers(line.substr(line.find(',') + 1));
      cases.push_back(std::move(c));
    }
  }
  return cases;
}

// --- the kernel ---

TEST(JacobiKernel, MatchesThePlainLoopsBitForBit) {
  std::mt19937_64 gen(17);
  std::vector<Table> cases;
  for (std::size_t n : {1u, 2u, 3u, 4u, 7u, 12u, 25u, 40u})
    cases.push_back(RandomSymmetric(gen, n, 10));
  for (const ReferenceCase& c : LapackCases()) cases.push_back(c.matrix);
  Table tied(6, std::vector<double>(6, 0.0));  // two eigenvalues of multiplicity 3
  for (std::size_t i = 0; i < 6; ++i)
    for (std::size_t j = 0; j < 6; ++j) tied[i][j] = (i % 2 == j % 2) ? (i == j ? 3 : 1) : 0;
  cases.push_back(tied);
  for (const Table& a : cases) {
    const std::size_t n = a.size(), ld = n + 3;  // a wider store than the block
    std::vector<double> store(n * ld, -7.0), d(n), v(n * n);
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = 0; j < n; ++j) store[i * ld + j] = a[i][j];
    kernels::Jacobi(store.data(), static_cast<Long>(n), ld, d.data(), v.data(),
                    kernels::NanRule::Rotate);
    const Decomposition plain = PlainJacobi(a);
    Table ours(n, std::vector<double>(n));
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = 0; j < n; ++j) ours[i][j] = v[i * n + j];
    EXPECT_TRUE(Identical({d}, {plain.d})) << "n = " << n;
    EXPECT_TRUE(Identical(ours, plain.v)) << "n = " << n;
    for (std::size_t i = 0; i < n; ++i)  // the padding is left alone
      for (std::size_t j = n; j < ld; ++j) ASSERT_EQ(store[i * ld + j], -7.0);
  }
}

TEST(JacobiKernel, NoConvergenceRaisesTheObjectErrorBase) {
  // A NaN keeps the off-diagonal mass from ever falling below 1e-12.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> a = {1, nan, 1, 0, 1, 1, 0, 0, 1}, d(3), v(9);
  ExpectError(
      [&] { kernels::Jacobi(a.data(), 3, 3, d.data(), v.data(), kernels::NanRule::Rotate); },
      kObjectErrorBase, "ORVMain", "Application-defined or object-defined error");
}

TEST(JacobiKernel, ANanElementIsRotatedAwayOrLeftByTheRule) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  // Rotated: the 2 x 2 pair is zeroed and the next sweep finds no mass.
  std::vector<double> a = {1, nan, nan, 2}, d(2), v(4);
  kernels::Jacobi(a.data(), 2, 2, d.data(), v.data(), kernels::NanRule::Rotate);
  EXPECT_TRUE(std::isnan(d[0]) && std::isnan(d[1]));
  // Left alone: the mass stays NaN and the sweeps run out.
  std::vector<double> b = {1, nan, nan, 2}, e(2), w(4);
  ExpectError([&] { kernels::Jacobi(b.data(), 2, 2, e.data(), w.data(), kernels::NanRule::Skip); },
              kObjectErrorBase, "ORVMain", "Application-defined or object-defined error");
}

TEST(JacobiKernel, OverflowOfFiniteInputRaises6) {
  std::vector<double> a = {1e308, 1e308, 1e308, 0, -1e308, 1e308, 0, 0, 1e308}, d(3), v(9);
  ExpectError(
      [&] { kernels::Jacobi(a.data(), 3, 3, d.data(), v.data(), kernels::NanRule::Rotate); }, 6,
      "ORVMain", "Overflow");
  // Infinite input is not an overflow: the steps run as written.
  std::vector<double> b = {1, std::numeric_limits<double>::infinity(), 0, 1}, e(2), w(4);
  kernels::Jacobi(b.data(), 2, 2, e.data(), w.data(), kernels::NanRule::Rotate);
  EXPECT_TRUE(std::isinf(e[0]) && std::isinf(e[1]));
}

// --- EigenValuesAndVectors ---

TEST(CMatrixEigenValuesAndVectors, DiagonalMatrixNeedsNoRotation) {
  const CMatrix m = Make({{3, 0}, {0, 5}});
  EXPECT_TRUE(Identical(Elements(m.EigenValuesAndVectors()), Table({{5, 3}, {0, 1}, {1, 0}})));
  EXPECT_TRUE(Identical(Elements(m.EigenValuesAndVectors(ORVSortAscending)),
                        Table({{3, 5}, {1, 0}, {0, 1}})));
  EXPECT_TRUE(Identical(Elements(m), Table({{3, 0}, {0, 5}})));  // receiver unchanged
}

TEST(CMatrixEigenValuesAndVectors, OneRotationOfATwoByTwo) {
  const Table r = Elements(Make({{2, 1}, {1, 2}}).EigenValuesAndVectors());
  const double h = std::sqrt(0.5);
  EXPECT_EQ(r[0][0], 3.0);
  EXPECT_EQ(r[0][1], 1.0);
  EXPECT_NEAR(r[1][0], h, 1e-15);
  EXPECT_NEAR(r[2][0], h, 1e-15);
  EXPECT_NEAR(r[1][1], h, 1e-15);
  EXPECT_NEAR(r[2][1], -h, 1e-15);
  const Table ascending = Elements(Make({{2, 1}, {1, 2}}).EigenValuesAndVectors(ORVSortAscending));
  EXPECT_EQ(ascending[0][0], 1.0);
  EXPECT_EQ(ascending[2][0], r[2][1]);
}

TEST(CMatrixEigenValuesAndVectors, OneByOne) {
  EXPECT_TRUE(Identical(Elements(Make({{7}}).EigenValuesAndVectors()), Table({{7}, {1}})));
  EXPECT_TRUE(Identical(Elements(Make({{-2}}).EigenValuesAndVectors(ORVSortAscending)),
                        Table({{-2}, {1}})));
}

TEST(CMatrixEigenValuesAndVectors, TiedEigenvaluesKeepThePartitionOrder) {
  // Off-diagonal mass below 1e-12 counts as diagonal: eigenvalues 1 and 1.
  const CMatrix tiny = Make({{1, 1e-13}, {1e-13, 1}});
  EXPECT_TRUE(Identical(Elements(tiny.EigenValuesAndVectors()), Table({{1, 1}, {1, 0}, {0, 1}})));
  // The ascending partition exchanges equal keys; descending reverses that.
  EXPECT_TRUE(Identical(Elements(tiny.EigenValuesAndVectors(ORVSortAscending)),
                        Table({{1, 1}, {0, 1}, {1, 0}})));
  const CMatrix twos = Make({{2, 0, 0}, {0, 2, 0}, {0, 0, 2}});
  EXPECT_TRUE(Identical(Elements(twos.EigenValuesAndVectors()),
                        Table({{2, 2, 2}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}})));
  EXPECT_TRUE(Identical(Elements(twos.EigenValuesAndVectors(ORVSortAscending)),
                        Table({{2, 2, 2}, {0, 0, 1}, {0, 1, 0}, {1, 0, 0}})));
}

TEST(CMatrixEigenValuesAndVectors, MatchesThePlainLoopsBitForBit) {
  std::mt19937_64 gen(23);
  std::vector<Table> cases;
  for (std::size_t n : {2u, 3u, 5u, 9u, 16u, 33u}) cases.push_back(RandomSymmetric(gen, n, 4));
  for (const ReferenceCase& c : LapackCases()) cases.push_back(c.matrix);
  for (const Table& a : cases) {
    const CMatrix m = Make(a);
    EXPECT_TRUE(Identical(Elements(m.EigenValuesAndVectors()), PlainEigenValuesAndVectors(a, true)))
        << a.size();
    EXPECT_TRUE(Identical(Elements(m.EigenValuesAndVectors(ORVSortAscending)),
                          PlainEigenValuesAndVectors(a, false)))
        << a.size();
  }
}

TEST(CMatrixEigenValuesAndVectors, ReadsOnlyTheUpperTriangleOfTheLeadingSquare) {
  const CMatrix upper = Make({{4, 1, 2}, {1, 3, 0.5}, {2, 0.5, 1}});
  const CMatrix lowerChanged = Make({{4, 1, 2}, {9, 3, 0.5}, {-8, 7, 1}});
  const CMatrix wider = Make({{4, 1, 2, 100}, {9, 3, 0.5, 200}, {-8, 7, 1, 300}});
  const Table expected = Elements(upper.EigenValuesAndVectors());
  EXPECT_TRUE(Identical(Elements(lowerChanged.EigenValuesAndVectors()), expected));
  EXPECT_TRUE(Identical(Elements(wider.EigenValuesAndVectors()), expected));
}

TEST(CMatrixEigenValuesAndVectors, Failures) {
  ExpectError([] { CMatrix().EigenValuesAndVectors(); }, 9, "ORVMain", "Subscript out of range");
  ExpectError(
      [] {
        Make({{1, 2}, {2, 1}, {0, 0}}).EigenValuesAndVectors();
      },
      9, "ORVMain", "Subscript out of range");
  CMatrix nan = Make({{1, 0, 1}, {0, 1, 1}, {0, 0, 1}});
  nan.LetItem(1, 2, std::numeric_limits<double>::quiet_NaN());
  ExpectError([&] { nan.EigenValuesAndVectors(); }, kObjectErrorBase, "ORVMain",
              "Application-defined or object-defined error");
  ExpectError(
      [] {
        Make({{1e308, 1e308, 1e308}, {0, -1e308, 1e308}, {0, 0, 1e308}}).EigenValuesAndVectors();
      },
      6, "ORVMain", "Overflow");
  ExpectError([] { CMatrix(Nothing).EigenValuesAndVectors(); }, 91, "ORVMain",
              "Object variable or With block variable not set");
}

// dsyev and the Jacobi rotations are both backward stable: their eigenvalues
// agree to 4 n eps times the largest magnitude (the worst case measured is
// 8 eps, n = 10). V departs from orthonormality by no more than 4 n eps.
// The rotations stop once the off-diagonal mass is below 1e-12, so the
// residuals A v - lambda v may reach that much on top.
TEST(CMatrixEigenValuesAndVectors, AgreesWithLapack) {
  const std::vector<ReferenceCase> cases = LapackCases();
  ASSERT_EQ(cases.size(), 7u);
  for (const ReferenceCase& c : cases) {
    const std::size_t n = c.matrix.size();
    const Table r = Elements(Make(c.matrix).EigenValuesAndVectors(ORVSortAscending));
    double largest = 0;
    for (double e : c.eigenvalues) largest = std::max(largest, std::fabs(e));
    const double eps = std::numeric_limits<double>::epsilon();
    const double tolerance = 4 * static_cast<double>(n) * eps * largest;
    for (std::size_t j = 0; j < n; ++j)
      EXPECT_NEAR(r[0][j], c.eigenvalues[j], tolerance) << c.name << " eigenvalue " << j;
    // Each column is a unit eigenvector: A v = lambda v, and V^T V = I.
    for (std::size_t j = 0; j < n; ++j) {
      for (std::size_t i = 0; i < n; ++i) {
        double av = 0;
        for (std::size_t k = 0; k < n; ++k) av += c.matrix[i][k] * r[k + 1][j];
        EXPECT_NEAR(av, r[0][j] * r[i + 1][j], 1e-12 + tolerance) << c.name;
      }
      for (std::size_t k = 0; k < n; ++k) {
        double dot = 0;
        for (std::size_t i = 0; i < n; ++i) dot += r[i + 1][j] * r[i + 1][k];
        EXPECT_NEAR(dot, j == k ? 1.0 : 0.0, 4 * static_cast<double>(n) * eps) << c.name;
      }
    }
  }
}

}  // namespace
}  // namespace orv
