// clsMatrix: descriptives, covariances and correlations (divisor n), the
// pooled within-groups SSCP and the tolerances. Exact results of the
// documented steps come from tests/data/stats_reference.csv (written by
// scripts/make_stats_reference.py).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "clsMatrix_test_util.hpp"
#include "orv/arrays/clsMatrix.hpp"

namespace orv {
namespace {

using namespace orv::test;

Array<double> X() { return FromTable(Stats()["cls.x"]); }
Array<double> Y() { return FromTable(Stats()["cls.y"]); }

Variant Sizes(const std::vector<double>& sizes) {
  Array<Variant> a(1, static_cast<Long>(sizes.size()));
  for (Long i = 1; i <= a.UBound(1); ++i) a(i) = Variant(sizes[i - 1]);
  return Variant(a);
}

std::vector<double> Values(const Array<double>& v) { return {v.data(), v.data() + v.size()}; }

const clsMatrix M;

// --- GetDescriptives --------------------------------------------------------------

TEST(clsMatrixGetDescriptives, ExampleAndTheReference) {
  Array<double> means, sds, ses, ns;
  M.GetDescriptives(Mat(3, 1, {1, 2, 3}), means, sds, ses, ns);
  ASSERT_EQ(means.Rank(), 1);
  EXPECT_TRUE(Identical({Values(means), Values(sds), Values(ses), Values(ns)},
                        {{2}, {1}, {1 / std::sqrt(3.0)}, {3}}));
  M.GetDescriptives(X(), means, sds, ses, ns);
  EXPECT_TRUE(
      Identical({Values(means), Values(sds), Values(ses), Values(ns)}, Stats()["cls.desc"]));
}

TEST(clsMatrixGetDescriptives, Failures) {
  // The SD step computes sqrt(0 / (1 - 1)): 0 / 0 is an overflow (6) in the
  // chain rule's stamp, at the SD statement.
  Array<double> means, sds, ses, ns;
  EXPECT_FAILS(6, At(30, "GetDescriptives", "clsMatrix"), kOverflow,
               M.GetDescriptives(Mat(1, 2, {4, 5}), means, sds, ses, ns));
  // The mean of the first column was written before the failure.
  EXPECT_EQ(means(1), 4.0);
  EXPECT_EQ(ns(1), 1.0);
  EXPECT_FAILS(9, At(10, "GetDescriptives", "clsMatrix"), kSubscript,
               M.GetDescriptives(Array<double>(1, 3), means, sds, ses, ns));
  EXPECT_FAILS(6, At(20, "GetDescriptives", "clsMatrix"), kOverflow,
               M.GetDescriptives(Mat(2, 1, {1e308, 1e308}), means, sds, ses, ns));
}

// --- covariance and correlation -------------------------------------------------------

TEST(clsMatrixCovariance, DivisorNAndTheReference) {
  const Array<double> c = M.CovarianceXX(Mat(3, 2, {1, 2, 2, 4, 3, 6}));
  for (auto [i, j, v] : {std::tuple{1, 1, 2.0}, {1, 2, 4.0}, {2, 1, 4.0}, {2, 2, 8.0}})
    EXPECT_DOUBLE_EQ(c(i, j), v / 3);
  EXPECT_TRUE(Holds(M.CovarianceXY(X(), Y()), Stats()["cls.covxy"]));
  EXPECT_TRUE(Holds(M.CovarianceXX(X()), Stats()["cls.covxx"]));
  EXPECT_FAILS(9, kCls + "CovarianceXY", kSubscript,
               M.CovarianceXY(X(), Array<double>(1, 39, 1, 2)));
  EXPECT_FAILS(9, kCls + "CovarianceXX", kSubscript, M.CovarianceXX(Array<double>(1, 3)));
}

TEST(clsMatrixCorrelation, TheReference) {
  const Array<double> r = M.CorrelationXX(X());
  EXPECT_TRUE(Holds(r, Stats()["cls.corxx"]));
  // A covariance matrix passed as it is gives the same correlations.
  EXPECT_TRUE(Holds(M.CorrelationXX(M.CovarianceXX(X()), true), Rows(r)));
  EXPECT_TRUE(Holds(M.CorrelationXY(X(), Y()), Stats()["cls.corxy"]));
  // Covariance input has a unit diagonal.
  const Array<double> c = M.CorrelationXX(Mat(2, 2, {4, 2, 2, 9}), true);
  EXPECT_EQ(c(1, 1), 1.0);
  EXPECT_EQ(c(2, 2), 1.0);
  EXPECT_DOUBLE_EQ(c(1, 2), 2.0 / 6.0);
}

TEST(clsMatrixCorrelation, Failures) {
  // A constant variable divides by zero.
  EXPECT_FAILS(11, kCls + "CorrelationXX", kDivision,
               M.CorrelationXX(Mat(3, 2, {1, 5, 2, 5, 3, 5})));
  EXPECT_FAILS(11, kCls + "CorrelationXY", kDivision,
               M.CorrelationXY(Mat(2, 1, {1, 2}), Mat(2, 1, {7, 7})));
  EXPECT_FAILS(5, kCls + "CorrelationXX", kInvalid,
               M.CorrelationXX(Mat(2, 2, {-1, 0, 0, 1}), true));
  // A covariance matrix with more rows than columns cannot be scaled.
  EXPECT_FAILS(orvErrMatrixMultiply, kCls + "CorrelationXX",
               "Cant multiply matrices, cols of matrix 1 <> rows of matrix 2",
               M.CorrelationXX(Mat(3, 2, {1, 0, 0, 1, 0, 0}), true));
}

// --- pooled within-groups SSCP and tolerances ---------------------------------------------

TEST(clsMatrixFactorSSQCP, OneGroupIsTheCorrectedSSCP) {
  // Corrected sums: x1 mean 4, x2 mean 3.
  const Array<double> w = M.FactorSSQCP(Mat(4, 2, {1, 2, 3, 1, 5, 7, 7, 2}), Sizes({4}));
  EXPECT_EQ(w, Mat(2, 2, {9 + 1 + 1 + 9, 3 + 2 + 4 - 3, 3 + 2 + 4 - 3, 1 + 4 + 16 + 1}));
}

// Groups of 10, 15, 1 and 14 rows, and of 20 and 15 with rows past the
// groups ignored; tolerance k is 1 over W(k, k) times its inverse's.
TEST(clsMatrixFactorSSQCP, SSCPAndTolerancesMatchTheReference) {
  for (std::string g : {"a", "b"}) {
    const Variant sizes = Sizes(Stats()["cls.sizes." + g][0]);
    EXPECT_TRUE(Holds(M.FactorSSQCP(X(), sizes), Stats()["cls.sscp." + g])) << g;
    EXPECT_TRUE(Identical({Values(M.FactorTolerance(X(), sizes))}, Stats()["cls.tol." + g])) << g;
  }
}

TEST(clsMatrixFactorSSQCP, FaultyGroupSizes) {
  const Array<double> x = Mat(3, 1, {1, 2, 3});
  // An empty group divides 0 by 0.
  EXPECT_FAILS(6, kCls + "FactorSSQCP", kOverflow, M.FactorSSQCP(x, Sizes({3, 0})));
  // Groups past the last row.
  EXPECT_FAILS(9, kCls + "FactorSSQCP", kSubscript, M.FactorSSQCP(x, Sizes({2, 2})));
  Array<Variant> text(1, 1);
  text(1) = Variant("many");
  EXPECT_FAILS(13, kCls + "FactorSSQCP", kMismatch, M.FactorSSQCP(x, Variant(text)));
  EXPECT_FAILS(13, kCls + "FactorSSQCP", kMismatch, M.FactorSSQCP(x, Variant(3.0)));
}

TEST(clsMatrixFactorTolerance, ExamplesByHand) {
  // A redundant variable gets 0.
  const Array<double> t = M.FactorTolerance(Mat(4, 2, {1, 1, 2, 2, 4, 4, 3, 3}), Sizes({4}));
  ASSERT_EQ(t.Rank(), 1);
  EXPECT_EQ(Values(t), (std::vector<double>{1, 0}));
  // Two groups of two; within-group deviations (-1, 1), (1, -1) for x1 and
  // (-1, 1), (-2, 2) for x2: W = [4 -2; -2 10], so each tolerance is
  // 1 - r^2 = 1 - 4 / 40 = 0.9.
  const Array<double> x = Mat(4, 2, {0, 0, 2, 2, 6, 7, 4, 11});
  EXPECT_EQ(M.FactorSSQCP(x, Sizes({2, 2})), Mat(2, 2, {4, -2, -2, 10}));
  const Array<double> u = M.FactorTolerance(x, Sizes({2, 2}));
  EXPECT_NEAR(u(1), 0.9, 1e-15);
  EXPECT_NEAR(u(2), 0.9, 1e-15);
}

}  // namespace
}  // namespace orv
