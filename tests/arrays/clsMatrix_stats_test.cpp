#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "clsMatrix_test_util.hpp"
#include "orv/arrays/clsMatrix.hpp"

namespace orv {
namespace {

using namespace orv::test;

Array<double> Random(std::mt19937_64& rng, Long rows, Long cols) {
  std::uniform_real_distribution<double> u(-5.0, 20.0);
  Array<double> a(1, rows, 1, cols);
  for (double& v : a.storage()) v = u(rng);
  return a;
}

Variant Sizes(std::initializer_list<double> sizes) {
  Array<Variant> a(1, static_cast<Long>(sizes.size()));
  Long i = 1;
  for (double s : sizes) a(i++) = Variant(s);
  return Variant(a);
}

const clsMatrix M;

// --- reference loops, in the documented order -----------------------------------

Array<double> RefCovariance(const Array<double>& x, const Array<double>& y) {
  const Long n = x.UBound(1), p = x.UBound(2), q = y.UBound(2);
  std::vector<double> mx(p + 1, 0.0), my(q + 1, 0.0);
  for (Long j = 1; j <= p; ++j)
    for (Long i = 1; i <= n; ++i) mx[j] = mx[j] + x(i, j) / n;
  for (Long k = 1; k <= q; ++k)
    for (Long i = 1; i <= n; ++i) my[k] = my[k] + y(i, k) / n;
  Array<double> r(1, p, 1, q);
  for (Long j = 1; j <= p; ++j)
    for (Long k = 1; k <= q; ++k)
      for (Long i = 1; i <= n; ++i) r(j, k) = r(j, k) + (x(i, j) - mx[j]) * (y(i, k) - my[k]) / n;
  return r;
}

Array<double> RefMMult(const Array<double>& a, const Array<double>& b) {
  Array<double> r(1, a.UBound(1), 1, b.UBound(2));
  for (Long i = 1; i <= a.UBound(1); ++i)
    for (Long j = 1; j <= b.UBound(2); ++j)
      for (Long k = 1; k <= a.UBound(2); ++k) r(i, j) = r(i, j) + a(i, k) * b(k, j);
  return r;
}

Array<double> RefCorrelation(const Array<double>& c) {
  const Long p = c.UBound(2);
  Array<double> d(1, p, 1, p);
  for (Long i = 1; i <= p; ++i) d(i, i) = 1 / std::sqrt(c(i, i));
  return RefMMult(RefMMult(d, c), d);
}

Array<double> RefFactorSSQCP(const Array<double>& x, const std::vector<Long>& sizes) {
  const Long p = x.UBound(2);
  Array<double> r(1, p, 1, p);
  for (Long j = 1; j <= p; ++j)
    for (Long k = 1; k <= p; ++k) {
      Long offset = 0;
      double T = 0, G = 0;
      for (Long nh : sizes) {
        double sj = 0, sk = 0;
        for (Long row = offset + 1; row <= offset + nh; ++row) {
          T = T + x(row, j) * x(row, k);
          sj = sj + x(row, j);
          sk = sk + x(row, k);
        }
        G = G + sk * sj / nh;
        offset += nh;
      }
      r(j, k) = T - G;
    }
  return r;
}

// --- GetDescriptives --------------------------------------------------------------

TEST(clsMatrixGetDescriptives, OneTwoThree) {
  Array<double> means, sds, ses, ns;
  M.GetDescriptives(Mat(3, 1, {1, 2, 3}), means, sds, ses, ns);
  ASSERT_EQ(means.Rank(), 1);
  EXPECT_EQ(means.UBound(1), 1);
  EXPECT_EQ(means(1), 2.0);
  EXPECT_EQ(sds(1), 1.0);
  EXPECT_EQ(ses(1), 1.0 / std::sqrt(3.0));
  EXPECT_EQ(ns(1), 3.0);
}

TEST(clsMatrixGetDescriptives, SameDoublesAsTheColumnLoops) {
  std::mt19937_64 rng(21);
  Array<double> x = Random(rng, 257, 6);
  Array<double> means, sds, ses, ns;
  M.GetDescriptives(x, means, sds, ses, ns);
  for (Long j = 1; j <= 6; ++j) {
    double m = 0, n = 0, s = 0;
    for (Long i = 1; i <= 257; ++i) {
      m = m + x(i, j);
      n = n + 1;
    }
    m = m / n;
    for (Long i = 1; i <= 257; ++i) s = s + (x(i, j) - m) * (x(i, j) - m);
    s = std::sqrt(s / (n - 1));
    EXPECT_EQ(Bits(means(j)), Bits(m));
    EXPECT_EQ(Bits(sds(j)), Bits(s));
    EXPECT_EQ(Bits(ses(j)), Bits(s / std::sqrt(n)));
    EXPECT_EQ(ns(j), 257.0);
  }
}

TEST(clsMatrixGetDescriptives, OneCaseDividesZeroByZero) {
  // The SD step computes sqrt(0 / (1 - 1)): 0 / 0 is an overflow (6) in the
  // chain rule's stamp, at the SD statement.
  Array<double> means, sds, ses, ns;
  Error e = Caught([&] { M.GetDescriptives(Mat(1, 2, {4, 5}), means, sds, ses, ns); });
  EXPECT_EQ(e.Number, 6);
  EXPECT_EQ(e.Source, "Line 30 in ORVMain.clsMatrix.GetDescriptives");
  EXPECT_EQ(e.Description, "Overflow");
  // The mean of the first column was written before the failure.
  EXPECT_EQ(means(1), 4.0);
  EXPECT_EQ(ns(1), 1.0);
}

TEST(clsMatrixGetDescriptives, BadArguments) {
  Array<double> means, sds, ses, ns;
  Error e = Caught([&] { M.GetDescriptives(Array<double>(1, 3), means, sds, ses, ns); });
  EXPECT_EQ(e.Number, 9);
  EXPECT_EQ(e.Source, "Line 10 in ORVMain.clsMatrix.GetDescriptives");
  Error big = Caught([&] { M.GetDescriptives(Mat(2, 1, {1e308, 1e308}), means, sds, ses, ns); });
  EXPECT_EQ(big.Number, 6);
  EXPECT_EQ(big.Source, "Line 20 in ORVMain.clsMatrix.GetDescriptives");
}

// --- covariance and correlation -------------------------------------------------------

TEST(clsMatrixCovariance, DivisorN) {
  Array<double> c = M.CovarianceXX(Mat(3, 2, {1, 2, 2, 4, 3, 6}));
  EXPECT_DOUBLE_EQ(c(1, 1), 2.0 / 3.0);
  EXPECT_DOUBLE_EQ(c(1, 2), 4.0 / 3.0);
  EXPECT_DOUBLE_EQ(c(2, 1), 4.0 / 3.0);
  EXPECT_DOUBLE_EQ(c(2, 2), 8.0 / 3.0);
}

TEST(clsMatrixCovariance, SameDoublesAsTheOrderedLoops) {
  std::mt19937_64 rng(8);
  Array<double> x = Random(rng, 311, 5), y = Random(rng, 311, 3);
  ExpectIdentical(M.CovarianceXY(x, y), RefCovariance(x, y));
  ExpectIdentical(M.CovarianceXX(x), RefCovariance(x, x));
  ExpectPlain(Caught([&] { M.CovarianceXY(x, Random(rng, 310, 2)); }), 9, "CovarianceXY");
  ExpectPlain(Caught([] { M.CovarianceXX(Array<double>(1, 3)); }), 9, "CovarianceXX");
}

TEST(clsMatrixCorrelation, SameDoublesAsDCD) {
  std::mt19937_64 rng(9);
  Array<double> x = Random(rng, 100, 6), y = Random(rng, 100, 2);
  Array<double> r = M.CorrelationXX(x);
  ExpectIdentical(r, RefCorrelation(RefCovariance(x, x)));
  // A covariance matrix passed as it is gives the same correlations.
  ExpectIdentical(M.CorrelationXX(M.CovarianceXX(x), true), r);

  Array<double> both(1, 100, 1, 8);
  for (Long i = 1; i <= 100; ++i)
    for (Long j = 1; j <= 8; ++j) both(i, j) = j <= 6 ? x(i, j) : y(i, j - 6);
  Array<double> full = RefCorrelation(RefCovariance(both, both));
  Array<double> xy = M.CorrelationXY(x, y);
  ASSERT_EQ(xy.UBound(1), 6);
  ASSERT_EQ(xy.UBound(2), 2);
  for (Long i = 1; i <= 6; ++i)
    for (Long j = 1; j <= 2; ++j) EXPECT_EQ(Bits(xy(i, j)), Bits(full(i, 6 + j)));
}

TEST(clsMatrixCorrelation, CovarianceInputHasAUnitDiagonal) {
  Array<double> r = M.CorrelationXX(Mat(2, 2, {4, 2, 2, 9}), true);
  EXPECT_EQ(r(1, 1), 1.0);
  EXPECT_EQ(r(2, 2), 1.0);
  EXPECT_DOUBLE_EQ(r(1, 2), 2.0 / 6.0);
}

TEST(clsMatrixCorrelation, ConstantVariableDividesByZero) {
  ExpectPlain(Caught([] { M.CorrelationXX(Mat(3, 2, {1, 5, 2, 5, 3, 5})); }), 11, "CorrelationXX");
  ExpectPlain(Caught([] {
                M.CorrelationXY(Mat(2, 1, {1, 2}), Mat(2, 1, {7, 7}));
              }),
              11, "CorrelationXY");
  ExpectPlain(Caught([] { M.CorrelationXX(Mat(2, 2, {-1, 0, 0, 1}), true); }), 5, "CorrelationXX");
  // A covariance matrix with more rows than columns cannot be scaled.
  Error e = Caught([] { M.CorrelationXX(Mat(3, 2, {1, 0, 0, 1, 0, 0}), true); });
  EXPECT_EQ(e.Number, orvErrMatrixMultiply);
  EXPECT_EQ(e.Source, "ORVMain.clsMatrix.CorrelationXX");
}

// --- pooled within-groups SSCP and tolerances ---------------------------------------------

TEST(clsMatrixFactorSSQCP, OneGroupIsTheCorrectedSSCP) {
  Array<double> x = Mat(4, 2, {1, 2, 3, 1, 5, 7, 7, 2});
  Array<double> w = M.FactorSSQCP(x, Sizes({4}));
  // Corrected sums: x1 mean 4, x2 mean 3.
  EXPECT_DOUBLE_EQ(w(1, 1), 9 + 1 + 1 + 9);
  EXPECT_DOUBLE_EQ(w(2, 2), 1 + 4 + 16 + 1);
  EXPECT_DOUBLE_EQ(w(1, 2), 3 + 2 + 4 - 3);
  EXPECT_EQ(w(1, 2), w(2, 1));
}

TEST(clsMatrixFactorSSQCP, SameDoublesAsThePairLoops) {
  std::mt19937_64 rng(12);
  Array<double> x = Random(rng, 60, 5);
  ExpectIdentical(M.FactorSSQCP(x, Sizes({10, 25, 1, 24})), RefFactorSSQCP(x, {10, 25, 1, 24}));
  // Rows past the groups are ignored.
  ExpectIdentical(M.FactorSSQCP(x, Sizes({30, 20})), RefFactorSSQCP(x, {30, 20}));
}

TEST(clsMatrixFactorSSQCP, FaultyGroupSizes) {
  Array<double> x = Mat(3, 1, {1, 2, 3});
  // An empty group divides 0 by 0.
  ExpectPlain(Caught([&] { M.FactorSSQCP(x, Sizes({3, 0})); }), 6, "FactorSSQCP");
  // Groups past the last row.
  ExpectPlain(Caught([&] { M.FactorSSQCP(x, Sizes({2, 2})); }), 9, "FactorSSQCP");
  Array<Variant> text(1, 1);
  text(1) = Variant("many");
  ExpectPlain(Caught([&] { M.FactorSSQCP(x, Variant(text)); }), 13, "FactorSSQCP");
  ExpectPlain(Caught([&] { M.FactorSSQCP(x, Variant(3.0)); }), 13, "FactorSSQCP");
}

TEST(clsMatrixFactorTolerance, RedundantVariableGetsZero) {
  Array<double> x = Mat(4, 2, {1, 1, 2, 2, 4, 4, 3, 3});
  Array<double> t = M.FactorTolerance(x, Sizes({4}));
  ASSERT_EQ(t.Rank(), 1);
  ASSERT_EQ(t.UBound(1), 2);
  EXPECT_EQ(t(1), 1.0);
  EXPECT_EQ(t(2), 0.0);
}

TEST(clsMatrixFactorTolerance, OneOverTheDiagonalOfWTimesItsInverse) {
  // Two groups of two; within-group deviations (-1, 1), (1, -1) for x1 and
  // (-1, 1), (-2, 2) for x2: W = [4 -2; -2 10], so each tolerance is
  // 1 - r^2 = 1 - 4 / 40 = 0.9.
  Array<double> x = Mat(4, 2, {0, 0, 2, 2, 6, 7, 4, 11});
  Array<double> w = M.FactorSSQCP(x, Sizes({2, 2}));
  EXPECT_DOUBLE_EQ(w(1, 1), 4.0);
  EXPECT_DOUBLE_EQ(w(1, 2), -2.0);
  EXPECT_DOUBLE_EQ(w(2, 2), 10.0);
  Array<double> t = M.FactorTolerance(x, Sizes({2, 2}));
  EXPECT_NEAR(t(1), 0.9, 1e-15);
  EXPECT_NEAR(t(2), 0.9, 1e-15);
  Array<double> wi = M.GeneralInverse(w);
  for (Long i = 1; i <= 2; ++i) EXPECT_EQ(Bits(t(i)), Bits(-1.0 / (-wi(i, i) * w(i, i))));
}

}  // namespace
}  // namespace orv
