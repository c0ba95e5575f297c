// The normal distribution: Hart's lower tail and AS 241's quantile on
// decimal coefficients.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "orv/distributions/CDistributions.hpp"
#include "orv_test.hpp"

namespace orv {
namespace {

using namespace orv::test;

const CDistributions& Dist() { return Global<CDistributions>(); }

// ---- ORV_CDF_Normal

TEST(CdfNormal, MeanAndSdStandardiseFirst) {
  EXPECT_EQ(Dist().ORV_CDF_Normal(0), 0.5);
  for (double x : {-3.0, 0.2, 4.5, 41.0})
    EXPECT_EQ(Dist().ORV_CDF_Normal(x, 1.5, 2.5), Dist().ORV_CDF_Normal((x - 1.5) / 2.5)) << x;
  // A negative SD mirrors the result.
  EXPECT_EQ(Dist().ORV_CDF_Normal(1.0, 0, -1), Dist().ORV_CDF_Normal(-1.0));
}

TEST(CdfNormal, BranchBoundaries) {
  // The rational branch stops below 7.071 and the continued fraction takes
  // over; both stay close to the true tail (R: 7.6966e-13 and 7.6911e-13).
  EXPECT_NEAR(Dist().ORV_CDF_Normal(-7.0709) / 7.69660208684693e-13, 1, 1e-8);
  EXPECT_NEAR(Dist().ORV_CDF_Normal(-7.071) / 7.69105698131856e-13, 1, 1e-8);
  // |z| = 37 is still computed; beyond it the result is exactly 0 or 1.
  EXPECT_NEAR(Dist().ORV_CDF_Normal(-37) / 5.72557122252458e-300, 1, 1e-8);
  EXPECT_EQ(Dist().ORV_CDF_Normal(37), 1.0);
  EXPECT_EQ(Dist().ORV_CDF_Normal(-37.0000001), 0.0);
}

TEST(CdfNormal, ZeroSdIsADivisionFailureStampedWithTheLine) {
  EXPECT_FAILS(kErrDivisionByZero, "Line 10 in ORVMain.CDistributions.ORV_CDF_Normal",
               "Division by zero", Dist().ORV_CDF_Normal(1, 0, 0));
  // 0 / 0 is the platform's overflow.
  EXPECT_EQ(Fails([] { Dist().ORV_CDF_Normal(2, 2, 0); }).number, kErrOverflow);
}

TEST(CdfNormal, NonFiniteArgumentsOverflow) {
  for (double x : {kNaN, kInf, -kInf})
    EXPECT_FAILS(kErrOverflow, "Line 10 in ORVMain.CDistributions.ORV_CDF_Normal",
                 StandardDescription(kErrOverflow), Dist().ORV_CDF_Normal(x))
        << x;
  EXPECT_EQ(Fails([] { Dist().ORV_CDF_Normal(0, kNaN); }).number, kErrOverflow);
  EXPECT_EQ(Fails([] { Dist().ORV_CDF_Normal(1e308, -1e308); }).number, kErrOverflow);
}

// ---- ORV_IDF_Normal

TEST(IdfNormal, DocumentedValues) {
  EXPECT_EQ(Dist().ORV_IDF_Normal(0.5), 0.0);
  EXPECT_EQ(Dist().ORV_IDF_Normal(0.5, 3.25, 7), 3.25);
  // A negative SD mirrors the result about the mean.
  EXPECT_EQ(Dist().ORV_IDF_Normal(0.9, 10, -2), 10 - 2 * Dist().ORV_IDF_Normal(0.9));
}

// The branch taken shows in the line label the quantile steps stop at: 40
// for the central branch, 90 after a tail.
Line LastLine(double p) {
  Line line = 0;
  detail::StandardNormalQuantile(p, true, line);
  return line;
}

TEST(IdfNormal, BranchBoundaries) {
  EXPECT_EQ(LastLine(0.075), 40);
  EXPECT_EQ(LastLine(0.925), 90);
  EXPECT_EQ(LastLine(0.0749), 90);
  // The two branches agree at the seam to within a unit in the last place.
  EXPECT_NEAR(Dist().ORV_IDF_Normal(0.075), -Dist().ORV_IDF_Normal(0.925), 4.5e-16);
  // Either side of r = 5 (p = exp(-25) = 1.3888e-11): values from R.
  EXPECT_NEAR(Dist().ORV_IDF_Normal(1.4e-11), -6.65672309151818, 1e-13);
  EXPECT_NEAR(Dist().ORV_IDF_Normal(1.3e-11), -6.66761145651074, 1e-13);
  EXPECT_NEAR(Dist().ORV_IDF_Normal(1 - 1e-15), 7.94144448741598, 1e-12);
}

TEST(IdfNormal, POutsideTheOpenIntervalFailsWithFive) {
  for (double p : {0.0, 1.0, -0.1, 1.1, -1e20, 1e-300})
    EXPECT_FAILS(kErrInvalidCall, "Line 60 in ORVMain.CDistributions.ORV_IDF_Normal",
                 "Invalid procedure call or argument", Dist().ORV_IDF_Normal(p))
        << p;
}

TEST(IdfNormal, PBelowHalfAUnitOfTheTwentyEighthPlaceIsZeroAndFails) {
  EXPECT_EQ(Fails([] { Dist().ORV_IDF_Normal(4.9e-29); }).number, kErrInvalidCall);
  // 5.1e-29 becomes 1e-28: the quantile of 1e-28, not of 5.1e-29.
  EXPECT_EQ(Dist().ORV_IDF_Normal(5.1e-29), Dist().ORV_IDF_Normal(1e-28));
  EXPECT_NEAR(Dist().ORV_IDF_Normal(1e-28), -11.0582324140587, 1e-12);
}

TEST(IdfNormal, ZeroSdFailsWithElevenBeforeLookingAtP) {
  for (double p : {0.3, 7.0})
    EXPECT_FAILS(kErrDivisionByZero, "Line 20 in ORVMain.CDistributions.ORV_IDF_Normal",
                 "Division by zero", Dist().ORV_IDF_Normal(p, 0, 0));
}

TEST(IdfNormal, NonFiniteArgumentsOverflow) {
  for (double p : {kNaN, kInf, -kInf})
    EXPECT_EQ(Fails([&] { Dist().ORV_IDF_Normal(p); }).number, kErrOverflow) << p;
  // -1e30 cannot become a decimal at all.
  EXPECT_EQ(Fails([] { Dist().ORV_IDF_Normal(-1e30); }).number, kErrOverflow);
  EXPECT_EQ(Fails([] { Dist().ORV_IDF_Normal(0.999, 0, 1e308); }).number, kErrOverflow);
}

// The shortcuts (the double-double evaluation with its error bound, the
// exact round trip of r through the decimal type) never change a result:
// every p gives bit for bit what the decimal evaluation gives.
TEST(IdfNormal, ShortcutsGiveTheDecimalEvaluationsResultBitForBit) {
  std::mt19937_64 gen(2024);
  std::uniform_real_distribution<double> unit(0, 1), exponent(-30, 0);
  bool portable = false;  // the path of processors without fused multiply-add
  auto same = [&](double p) {
    Line a = 0, b = 0;
    double fast = NAN, exact = NAN;
    const Failure fast_error =
        Fails([&] { fast = detail::StandardNormalQuantile(p, true, a, portable); });
    const Failure exact_error = Fails([&] { exact = detail::StandardNormalQuantile(p, false, b); });
    return fast_error == exact_error && std::memcmp(&fast, &exact, sizeof fast) == 0 && a == b;
  };
  for (int i = 0; i < 4000; ++i) {
    portable = i % 2 == 1;
    const double wide = unit(gen);
    const double tail = std::pow(10.0, exponent(gen));
    const double near_half = 0.5 + (unit(gen) - 0.5) * std::pow(10.0, -16 * unit(gen));
    const double near_boundary =
        std::ldexp(1.0 + unit(gen) / 64, -39 - static_cast<int>(gen() % 2));
    for (double p :
         {wide, tail, 1 - tail, near_half, near_boundary, 0.075 + (unit(gen) - 0.5) * 1e-12})
      ASSERT_TRUE(same(p)) << std::hexfloat << p;
  }
  for (double p : {0.5, 0.075, 0.925, std::exp(-25.0), 0x1p-39, 0x1.fffffffffffffp-40, 4.9e-29,
                   5.1e-29, 0.0, 1.0, 1e-300}) {
    portable = false;
    EXPECT_TRUE(same(p)) << std::hexfloat << p;
    portable = true;
    EXPECT_TRUE(same(p)) << std::hexfloat << p;
  }
}

}  // namespace
}  // namespace orv
