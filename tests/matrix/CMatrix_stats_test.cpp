// Column statistics of CMatrix: Means, Descriptives, Covariance and
// Correlation, checked against the documented examples and failures and,
// bit for bit, against plain loops that follow the documented steps.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "matrix_test_util.hpp"
#include "orv/matrix/CMatrix.hpp"

namespace orv {
namespace {

using namespace orv::test;

using Vector = std::vector<double>;

CMatrix Column(const Vector& v) {
  Table t;
  for (double x : v) t.push_back({x});
  return Make(t);
}

Vector Values(const CMatrix& column) {
  Vector v;
  for (Long i = 1; i <= column.RowCount(); ++i) v.push_back(column.Item(i, 1));
  return v;
}

using orv::test::Identical;
bool Identical(const Vector& a, const Vector& b) { return Identical(Table{a}, Table{b}); }

// --- the documented steps as plain loops ---

Vector PlainMeans(const Table& x, Vector w = {}) {
  const std::size_t r = x.size(), c = x[0].size();
  if (w.empty()) w.assign(r, 1.0);
  Table m(r, Vector(c, 0.0));
  m[0] = x[0];
  double W = w[0];
  for (std::size_t i = 1; i < r; ++i) {
    W = W + w[i];
    if (W > 0)
      for (std::size_t j = 0; j < c; ++j)
        m[i][j] = (x[i][j] - m[i - 1][j]) * (w[i] / W) + m[i - 1][j];
  }
  return m[r - 1];
}

struct Summary {
  Vector means, sds, ses, counts;
};

Summary PlainDescriptives(const Table& x, Vector w = {}) {
  const std::size_t r = x.size(), c = x[0].size();
  if (w.empty()) w.assign(r, 1.0);
  Table m(r + 1, Vector(c, 0.0)), t(r + 1, Vector(c, 0.0));
  double W = 0;
  long n = 0;
  for (std::size_t i = 1; i <= r; ++i) {
    W = W + w[i - 1];
    if (w[i - 1] != 0) ++n;
    for (std::size_t j = 0; j < c; ++j) {
      const double xi = x[i - 1][j];
      m[i][j] = (xi - m[i - 1][j]) * (w[i - 1] / W) + m[i - 1][j];
      t[i][j] = (xi - m[i - 1][j]) * w[i - 1] * (xi - m[i][j]) + t[i - 1][j];
    }
  }
  const double f = static_cast<double>(n) / static_cast<double>(n - 1);
  Summary s;
  for (std::size_t j = 0; j < c; ++j) {
    s.means.push_back(m[r][j]);
    s.counts.push_back(static_cast<double>(n));
    s.sds.push_back(std::sqrt(t[r][j] / W * f));
    s.ses.push_back(s.sds.back() / std::sqrt(static_cast<double>(n)));
  }
  return s;
}

Table PlainCovariance(const Table& x, const Table* y = nullptr) {
  const std::size_t n = x.size(), c = x[0].size();
  const Table& other = y ? *y : x;
  const std::size_t cy = other[0].size();
  const Vector mux = PlainMeans(x), muy = PlainMeans(other);
  Table C(c, Vector(cy, 0.0));
  const double dn = static_cast<double>(n);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < c; ++j)
      for (std::size_t k = 0; k < cy; ++k)
        C[j][k] = y ? C[j][k] + (x[i][j] - mux[j]) * (other[i][k] - muy[k]) / dn
                    : C[j][k] + (x[i][k] - mux[k]) * (x[i][j] - mux[j]) / dn;
  const double scale = dn / (dn - 1);
  for (auto& row : C)
    for (double& v : row) v = v * scale;
  return C;
}

Table PlainProduct(const Table& a, const Table& b) {
  Table p(a.size(), Vector(b[0].size()));
  for (std::size_t i = 0; i < a.size(); ++i)
    for (std::size_t j = 0; j < b[0].size(); ++j) {
      double sum = 0;
      for (std::size_t k = 0; k < b.size(); ++k) sum = sum + a[i][k] * b[k][j];
      p[i][j] = sum;
    }
  return p;
}

Table PlainCorrelationOf(const Table& S) {
  const std::size_t k = S.size();
  Table D(k, Vector(k, 0.0));
  for (std::size_t i = 0; i < k; ++i) D[i][i] = 1 / std::sqrt(S[i][i]);
  return PlainProduct(PlainProduct(D, S), D);
}

Table RandomData(std::mt19937_64& gen, std::size_t rows, std::size_t cols, double offset,
                 double scale) {
  Table t(rows, Vector(cols));
  for (auto& row : t)
    for (double& v : row) v = offset + (static_cast<double>(gen() >> 11) * 0x1p-53 - 0.5) * scale;
  return t;
}

// Data sets with the shapes that catch order mistakes: ties, constant and
// negative columns, dependent and nearly dependent columns, a large offset.
std::vector<Table> StructuredData() {
  std::mt19937_64 gen(29);
  std::vector<Table> sets;
  sets.push_back(RandomData(gen, 50, 6, 0, 10));
  sets.push_back(RandomData(gen, 1000, 23, -3, 7));  // more than one block of rows
  sets.push_back(RandomData(gen, 3, 40, 1e8, 1));    // wide, large offset
  Table t = RandomData(gen, 300, 5, 0, 4);
  for (std::size_t i = 0; i < t.size(); ++i) {
    t[i][1] = std::round(t[i][1]);       // ties
    t[i][2] = -2.5;                      // constant
    t[i][3] = 2 * t[i][0] - t[i][1];     // dependent
    t[i][4] = t[i][0] + 1e-9 * t[i][4];  // nearly dependent
  }
  sets.push_back(t);
  return sets;
}

// --- Means ---

TEST(CMatrixMeans, DocumentedExamples) {
  const CMatrix m = Make({{1, 10}, {3, 20}});
  EXPECT_TRUE(Identical(Elements(m.Means()), Table({{2}, {15}})));
  EXPECT_TRUE(Identical(Elements(m.Means(Column({1, 3}))), Table({{2.5}, {17.5}})));
  // Zero weights up to the last case leave only that case.
  EXPECT_TRUE(Identical(Elements(Make({{1, 4}, {2, 5}, {3, 6}}).Means(Column({0, 0, 2}))),
                        Table({{3}, {6}})));
  EXPECT_TRUE(Identical(Elements(Make({{4, -1}}).Means()), Table({{4}, {-1}})));
}

TEST(CMatrixMeans, Failures) {
  const CMatrix m = Make({{1, 10}, {3, 20}});
  ExpectError(
      [&] {
        m.Means(Column({1, 2, 3}));
      },
      9, "ORVMain.CMatrix.Means", "Subscript out of range");
  ExpectError([] { CMatrix().Means(); }, 9, "ORVMain.CMatrix.Means", "Subscript out of range");
  ExpectError([] { Make({{1e308}, {-1e308}}).Means(); }, 6, "ORVMain.CMatrix.Means", "Overflow");
}

TEST(CMatrixMeans, MatchesThePlainLoopsBitForBit) {
  std::mt19937_64 gen(31);
  for (const Table& x : StructuredData()) {
    EXPECT_TRUE(Identical(Values(Make(x).Means()), PlainMeans(x)));
    Vector w(x.size());
    for (std::size_t i = 0; i < w.size(); ++i)
      w[i] = static_cast<double>(gen() % 5) - (i % 9 == 4 ? 6 : 0);
    EXPECT_TRUE(Identical(Values(Make(x).Means(Column(w))), PlainMeans(x, w)));
  }
}

// --- Descriptives ---

TEST(CMatrixDescriptives, DocumentedExamples) {
  CMatrix means, sds, ses, counts;
  Make({{2}, {4}, {4}, {4}, {5}, {5}, {7}, {9}}).Descriptives(means, sds, ses, counts);
  EXPECT_DOUBLE_EQ(means.Item(1, 1), 5);
  EXPECT_DOUBLE_EQ(sds.Item(1, 1), std::sqrt(32.0 / 7));
  EXPECT_DOUBLE_EQ(ses.Item(1, 1), std::sqrt(32.0 / 7) / std::sqrt(8.0));
  EXPECT_EQ(counts.Item(1, 1), 8);

  CMatrix m2, s2, e2, c2;
  Make({{1, 7}, {100, 8}, {3, 9}}).Descriptives(m2, s2, e2, c2, Column({1, 0, 1}));
  EXPECT_EQ(c2.RowCount(), 2);
  EXPECT_EQ(c2.ColumnCount(), 1);
  EXPECT_EQ(c2.Item(2, 1), 2);
  EXPECT_DOUBLE_EQ(m2.Item(1, 1), 2);
  EXPECT_DOUBLE_EQ(m2.Item(2, 1), 8);
}

TEST(CMatrixDescriptives, ResizesTheOutputsItWasGiven) {
  CMatrix means, sds, ses, counts;
  Long three = 3;
  means.SetSize(three, three);
  sds.SetSize(three, three);
  Make({{1, 2, 3, 4}, {5, 6, 7, 8}}).Descriptives(means, sds, ses, counts);
  for (const CMatrix* out : {&means, &sds, &ses, &counts}) {
    EXPECT_EQ(out->RowCount(), 4);
    EXPECT_EQ(out->ColumnCount(), 1);
  }
  EXPECT_EQ(Values(means), Vector({3, 4, 5, 6}));
}

TEST(CMatrixDescriptives, Failures) {
  const std::string source = "ORVMain.CMatrix.Descriptives";
  CMatrix a, b, c, d;
  // One case: f = 1 / 0.
  ExpectError([&] { Make({{1, 2}}).Descriptives(a, b, c, d); }, 11, source, "Division by zero");
  // A first case of weight 0: 0 / 0.
  ExpectError(
      [&] {
        Make({{1}, {2}}).Descriptives(a, b, c, d, Column({0, 1}));
      },
      6, source, "Overflow");
  // Weights summing to 0 at a case of non-zero weight: x / 0.
  ExpectError(
      [&] {
        Make({{1}, {2}}).Descriptives(a, b, c, d, Column({1, -1}));
      },
      11, source, "Division by zero");
  // A negative weighted sum of squares: square root of a negative number.
  ExpectError(
      [&] {
        Make({{0}, {10}, {0}}).Descriptives(a, b, c, d, Column({1, 1, -1.9}));
      },
      5, source, "Invalid procedure call or argument");
  ExpectError(
      [&] {
        Make({{1}, {2}}).Descriptives(a, b, c, d, Column({1, 1, 1}));
      },
      9, source, "Subscript out of range");
  ExpectError([&] { CMatrix().Descriptives(a, b, c, d); }, 9, source, "Subscript out of range");
  ExpectError(
      [&] {
        Make({{1}, {2}}).Descriptives(a, CMatrix(Nothing), c, d);
      },
      91, source, "Object variable or With block variable not set");
}

TEST(CMatrixDescriptives, MatchesThePlainLoopsBitForBit) {
  std::mt19937_64 gen(37);
  for (const Table& x : StructuredData()) {
    if (x.size() < 2) continue;
    for (bool weighted : {false, true}) {
      Vector w;
      if (weighted) {
        w.assign(x.size(), 0.0);
        for (double& v : w) v = static_cast<double>(gen() % 4);
        w[0] = 1.5;  // a first weight of 0 would divide 0 by 0
      }
      CMatrix means, sds, ses, counts;
      if (weighted)
        Make(x).Descriptives(means, sds, ses, counts, Column(w));
      else
        Make(x).Descriptives(means, sds, ses, counts);
      const Summary plain = PlainDescriptives(x, w);
      EXPECT_TRUE(Identical(Values(means), plain.means));
      EXPECT_TRUE(Identical(Values(sds), plain.sds));
      EXPECT_TRUE(Identical(Values(ses), plain.ses));
      EXPECT_TRUE(Identical(Values(counts), plain.counts));
    }
  }
}

// --- Covariance ---

TEST(CMatrixCovariance, DocumentedExamples) {
  EXPECT_TRUE(
      Identical(Elements(Make({{1, 2}, {2, 4}, {3, 6}}).Covariance()), Table({{1, 2}, {2, 4}})));
  EXPECT_TRUE(Identical(Elements(Make({{1, 2}, {2, 4}, {3, 6}}).Covariance(Column({3, 2, 1}))),
                        Table({{-1}, {-2}})));
}

TEST(CMatrixCovariance, Failures) {
  const std::string source = "ORVMain.CMatrix.Covariance";
  ExpectError([] { Make({{1, 2}}).Covariance(); }, 17, source, "Covariance needs at least 2 rows");
  ExpectError([] { CMatrix().Covariance(); }, 17, source, "Covariance needs at least 2 rows");
  ExpectError(
      [] {
        Make({{1}, {2}}).Covariance(Column({1, 2, 3}));
      },
      9, source, "Matrix Row Count Mismatch");
  ExpectError([] { Make({{1e200}, {-1e200}}).Covariance(); }, 6, source, "Overflow");
}

TEST(CMatrixCovariance, MatchesThePlainLoopsBitForBit) {
  std::mt19937_64 gen(41);
  for (const Table& x : StructuredData()) {
    const Table ours = Elements(Make(x).Covariance());
    EXPECT_TRUE(Identical(ours, PlainCovariance(x))) << x.size() << " x " << x[0].size();
    for (std::size_t j = 0; j < ours.size(); ++j)  // symmetric to the bit
      for (std::size_t k = 0; k < j; ++k) ASSERT_EQ(ours[j][k], ours[k][j]);
    const Table y = RandomData(gen, x.size(), 3, 5, 2);
    EXPECT_TRUE(Identical(Elements(Make(x).Covariance(Make(y))), PlainCovariance(x, &y)));
  }
  const Table tall = RandomData(gen, 20000, 20, 1, 3);
  EXPECT_TRUE(Identical(Elements(Make(tall).Covariance()), PlainCovariance(tall)));
}

// --- Correlation ---

TEST(CMatrixCorrelation, DocumentedExamples) {
  EXPECT_TRUE(
      Identical(Elements(Make({{1, 2}, {2, 4}, {3, 6}}).Correlation()), Table({{1, 1}, {1, 1}})));
  const Table fromCovariance = Elements(Make({{4, 2}, {2, 9}}).Correlation(CMatrix(Nothing), true));
  EXPECT_DOUBLE_EQ(fromCovariance[0][0], 1);
  EXPECT_DOUBLE_EQ(fromCovariance[0][1], 1.0 / 3);
  EXPECT_DOUBLE_EQ(fromCovariance[1][0], 1.0 / 3);
  EXPECT_DOUBLE_EQ(fromCovariance[1][1], 1);
  const CMatrix cross = Make({{1, 2}, {2, 1}, {3, 5}}).Correlation(Column({1, 2, 3}));
  EXPECT_EQ(cross.RowCount(), 2);
  EXPECT_EQ(cross.ColumnCount(), 1);
  EXPECT_DOUBLE_EQ(cross.Item(1, 1), 1);
}

TEST(CMatrixCorrelation, Failures) {
  const std::string source = "ORVMain.CMatrix.Correlation";
  ExpectError(
      [] {
        Make({{1, 5}, {2, 5}}).Correlation();
      },
      orvErrNoVariableVariance, source, "One or more variables are a constant");
  ExpectError(
      [] {
        Make({{1, 5}, {2, 5}}).Correlation(Column({3, 3}));
      },
      orvErrNoVariableVariance, source, "One or more variables are a constant");
  ExpectError(
      [] {
        Make({{1, 2, 3}, {4, 5, 6}}).Correlation(CMatrix(Nothing), true);
      },
      9, source, "Matrix isn't Square");
  ExpectError(
      [] {
        Make({{-1, 0}, {0, 1}}).Correlation(CMatrix(Nothing), true);
      },
      5, source, "Invalid procedure call or argument");
  ExpectError(
      [] {
        Make({{1}, {2}}).Correlation(Column({1, 2, 3}));
      },
      9, source, "Matrix Row Count Mismatch");
  ExpectError([] { Make({{1, 2}}).Correlation(); }, 17, source, "Covariance needs at least 2 rows");
  ExpectError([] { CMatrix(Nothing).Correlation(); }, 91, "ORVMain",
              "Object variable or With block variable not set");
}

TEST(CMatrixCorrelation, MatchesThePlainLoopsBitForBit) {
  std::mt19937_64 gen(43);
  for (const Table& x : StructuredData()) {
    bool constant = false;
    for (std::size_t j = 0; j < x[0].size(); ++j) constant |= x[0][j] == -2.5 && x[1][j] == -2.5;
    if (constant) continue;  // covered by the failure above
    const Table S = PlainCovariance(x);
    EXPECT_TRUE(Identical(Elements(Make(x).Correlation()), PlainCorrelationOf(S)));
    EXPECT_TRUE(
        Identical(Elements(Make(S).Correlation(CMatrix(Nothing), true)), PlainCorrelationOf(S)));
    const Table y = RandomData(gen, x.size(), 2, -1, 2);
    Table joined = x;
    for (std::size_t i = 0; i < x.size(); ++i)
      joined[i].insert(joined[i].end(), y[i].begin(), y[i].end());
    const Table R = PlainCorrelationOf(PlainCovariance(joined));
    Table block(x[0].size(), Vector(2));
    for (std::size_t j = 0; j < x[0].size(); ++j)
      for (std::size_t k = 0; k < 2; ++k) block[j][k] = R[j][x[0].size() + k];
    EXPECT_TRUE(Identical(Elements(Make(x).Correlation(Make(y))), block));
  }
}

}  // namespace
}  // namespace orv
