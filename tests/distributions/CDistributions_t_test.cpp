// Student's t: Hill's algorithms 395 (upper tail) and 396 (quantile).
// Reference values are R's 2 * pt(-|t|, df) and qt(p / 2, df, lower = FALSE).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "orv/distributions/CDistributions.hpp"
#include "orv_test.hpp"

namespace orv {
namespace {

using namespace orv::test;

const CDistributions& Dist() { return Global<CDistributions>(); }

void ExpectRelative(double got, double expected, double tolerance) {
  EXPECT_LE(std::fabs(got - expected), tolerance * std::fabs(expected))
      << "got " << got << ", expected " << expected;
}

// ---- ORV_CDF_t

TEST(CdfT, DocumentedValues) {
  EXPECT_NEAR(Dist().ORV_CDF_t(2.228138852, 10, 2), 0.05, 1e-11);
  EXPECT_NEAR(Dist().ORV_CDF_t(2.228138852, 10, 1), 0.025, 1e-11);
  EXPECT_EQ(Dist().ORV_CDF_t(-2.228138852, 10, 2), Dist().ORV_CDF_t(2.228138852, 10, 2));
  EXPECT_EQ(Dist().ORV_CDF_t(1, 1, 2), 0.5);
  EXPECT_EQ(Dist().ORV_CDF_t(0, 7, 2), 1.0);
  EXPECT_EQ(Dist().ORV_CDF_t(0, 500, 1), 0.5);
}

TEST(CdfT, BranchBoundaries) {
  // Against R (the reference table covers the branches): df 20 with
  // t^2 < df leaves the exact cosine series for the tail series; df 201
  // always takes the normal approximation, far less accurate that deep in
  // the tail than the tail series at df 200.
  ExpectRelative(Dist().ORV_CDF_t(1, 20, 2), 3.292565771717090e-01, 1e-10);
  EXPECT_GT(std::fabs(Dist().ORV_CDF_t(1, 20, 2) - 3.292565771717090e-01), 1e-13);
  ExpectRelative(Dist().ORV_CDF_t(2, 19, 2), 6.000203638609834e-02, 1e-11);  // t^2 = 4: tail
  ExpectRelative(Dist().ORV_CDF_t(15, 200, 2), 1.416449927871407e-34, 1e-11);
  ExpectRelative(Dist().ORV_CDF_t(15, 201, 2), 1.264921690020579e-34, 1e-7);
  EXPECT_GT(std::fabs(Dist().ORV_CDF_t(15, 201, 2) / 1.264921690020579e-34 - 1), 1e-10);
}

TEST(CdfT, TailsIsCheckedBeforeDf) {
  for (Byte tails : {Byte{0}, Byte{3}, Byte{255}})
    EXPECT_FAILS(orvErrInvalidValue, "Line 10 in ORVMain.CDistributions.ORV_CDF_t",
                 "Tails must be 1 or 2", Dist().ORV_CDF_t(0, 5, tails));
  EXPECT_EQ(Fails([] { Dist().ORV_CDF_t(1, 0, 3); }).description, "Tails must be 1 or 2");
  for (Long df : {0, -1, -2147483647 - 1})
    EXPECT_FAILS(-2147216403, "Line 30 in ORVMain.CDistributions.ORV_CDF_t", "DF must be > 0",
                 Dist().ORV_CDF_t(1, df, 2));
}

TEST(CdfT, NonFiniteOrOverflowingTIsAnOverflow) {
  for (double t : {kNaN, kInf, -kInf, 1e200})
    EXPECT_FAILS(kErrOverflow, "Line 40 in ORVMain.CDistributions.ORV_CDF_t",
                 StandardDescription(kErrOverflow), Dist().ORV_CDF_t(t, 10, 2))
        << t;
  EXPECT_EQ(Dist().ORV_CDF_t(1e150, 10, 2), 0.0);
  EXPECT_EQ(Dist().ORV_CDF_t(1e150, 1000, 2), 0.0);
}

// ---- ORV_IDF_t

TEST(IdfT, DocumentedValues) {
  // The exact formulas for 1 and 2 df against R.
  ExpectRelative(Dist().ORV_IDF_t(0.05, 1), 1.270620473617471e+01, 1e-14);
  ExpectRelative(Dist().ORV_IDF_t(0.05, 2), 4.302652729749464e+00, 1e-14);
  for (double df : {1.5, 3.0, 10.0, 1e6}) EXPECT_EQ(Dist().ORV_IDF_t(1, df), 0.0) << df;
  // Large df approaches the normal quantile.
  EXPECT_NEAR(Dist().ORV_IDF_t(0.5, 1e9), 0.674489750196082, 1e-9);
}

TEST(IdfT, ArgumentsConvertAsNumbers) {
  EXPECT_EQ(Dist().ORV_IDF_t(Variant("0.05"), Variant(std::int16_t{10})),
            Dist().ORV_IDF_t(0.05, 10.0));
}

TEST(IdfT, BadArgumentsFailAsRaisedWithoutALocation) {
  const std::pair<double, double> bad[] = {{0.0, 5.0},   {1.5, 5.0},  {-0.2, 5.0},  {0.05, 0.5},
                                           {0.05, -3.0}, {kNaN, 5.0}, {0.05, kNaN}, {kInf, 5.0}};
  for (auto [p, df] : bad)
    EXPECT_FAILS(kErrInvalidCall, "ORVMain", "Invalid procedure call or argument",
                 Dist().ORV_IDF_t(p, df))
        << p << ", " << df;
  EXPECT_EQ(Fails([] { Dist().ORV_IDF_t(Variant(), 5.0); }).number, kErrInvalidCall);  // empty is 0
  EXPECT_EQ(Fails([] { Dist().ORV_IDF_t(Variant("abc"), 5.0); }).number, kErrTypeMismatch);
  EXPECT_EQ(Fails([] { Dist().ORV_IDF_t(Variant(Null), 5.0); }).number, kErrInvalidNull);
  // Non-numeric DF is found even when p is already out of range.
  EXPECT_EQ(Fails([] { Dist().ORV_IDF_t(7.0, Variant("x")); }).number, kErrTypeMismatch);
}

TEST(IdfT, ExtremeArgumentsFailWithThePlatformsArithmeticErrors) {
  // 2 / (p (2 - p)) and cot(p pi / 2) overflow for the smallest p.
  EXPECT_EQ(Fails([] { Dist().ORV_IDF_t(5e-324, 2.0); }).number, kErrOverflow);
  // Infinite or enormous DF: 1 / (DF - 0.5) is 0 and 48 / 0 divides by zero.
  EXPECT_EQ(Fails([] { Dist().ORV_IDF_t(0.05, kInf); }).number, kErrDivisionByZero);
  // (d p)^(2 / DF) underflows to 0 for DF just above 1.
  EXPECT_EQ(Fails([] { Dist().ORV_IDF_t(1e-300, 1.5); }).number, kErrDivisionByZero);
  // A failure inside the normal quantile keeps that member's location:
  // p / 2 is below what 28 decimal places hold.
  EXPECT_FAILS(kErrInvalidCall, "Line 60 in ORVMain.CDistributions.ORV_IDF_Normal",
               StandardDescription(kErrInvalidCall), Dist().ORV_IDF_t(1e-300, 1e5));
}

}  // namespace
}  // namespace orv
