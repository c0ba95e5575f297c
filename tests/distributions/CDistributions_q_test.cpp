// The studentized range (AS 190) and the Rayleigh test probability, in
// CDistributions and in clsDistributions.RayleighP.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "orv/distributions/CDistributions.hpp"
#include "orv/distributions/clsDistributions.hpp"
#include "orv_test.hpp"

namespace orv {
namespace {

using namespace orv::test;

const CDistributions& Dist() { return Global<CDistributions>(); }

double LibraryNormal(double x, void*) { return Global<CDistributions>().ORV_CDF_Normal(x); }

// ---- ORV_CDF_Q

TEST(CdfQ, DocumentedValues) { EXPECT_NEAR(Dist().ORV_CDF_Q(3.58, 20, 3), 0.04985186, 5e-9); }

TEST(CdfQ, ErrorDfBranchesAgainstR) {
  // 1 and 2 error df take their own constants (two groups, 1 df: the
  // closed form 1 - 2/pi atan(q / sqrt 2)).
  EXPECT_NEAR(Dist().ORV_CDF_Q(3, 1, 2), 1 - 2 / M_PI * std::atan(3 / std::sqrt(2.0)), 2e-5);
  EXPECT_NEAR(Dist().ORV_CDF_Q(3, 2, 3), 0.2883499827653585, 3e-6);
  EXPECT_NEAR(Dist().ORV_CDF_Q(3.5, 120, 2), 0.01472502956923316, 1e-8);
  // Above 120 error df the inner integration is skipped: every df gives the
  // infinite-df value.
  EXPECT_NEAR(Dist().ORV_CDF_Q(3.5, 121, 2), 0.01332832878085344, 1e-8);
  EXPECT_EQ(Dist().ORV_CDF_Q(3.5, 121, 2), Dist().ORV_CDF_Q(3.5, 2147483647, 2));
  EXPECT_NE(Dist().ORV_CDF_Q(3.5, 120, 2), Dist().ORV_CDF_Q(3.5, 121, 2));
}

TEST(CdfQ, InvalidDfsBeforeInvalidQ) {
  for (auto [df, groups] : {std::pair<Long, Integer>{20, 1}, {20, 0}, {0, 3}, {-5, 3}, {0, 1}})
    EXPECT_FAILS(-2147221504, "Line 10 in ORVMain.CDistributions.ORV_CDF_Q", "Invalid DFs",
                 Dist().ORV_CDF_Q(-1, df, groups));
  for (double q : {0.0, -0.0, -3.0})
    EXPECT_FAILS(kObjectErrorBase, "Line 20 in ORVMain.CDistributions.ORV_CDF_Q", "Invalid Q",
                 Dist().ORV_CDF_Q(q, 20, 3));
}

TEST(CdfQ, ExtremeQ) {
  EXPECT_EQ(Dist().ORV_CDF_Q(1e-300, 10, 3), 1.0);
  // Far out the truncated integration leaves ~1.4e-7 rather than 0.
  EXPECT_LT(Dist().ORV_CDF_Q(100, 10, 3), 2e-7);
  for (double q : {kNaN, kInf})
    EXPECT_FAILS(kErrOverflow, "Line 70 in ORVMain.CDistributions.ORV_CDF_Q",
                 StandardDescription(kErrOverflow), Dist().ORV_CDF_Q(q, 10, 3))
        << q;
  EXPECT_NEAR(Dist().ORV_CDF_Q(5, 10, 32767), 1.0, 1e-4);
}

TEST(CdfQ, SharedStepsTakeTheCallersNormalAndClampOnlyWhenAsked) {
  Line line = 0;
  EXPECT_EQ(detail::StudentizedRangeUpperTail(3.58, 20, 3, LibraryNormal, nullptr, true, line),
            Dist().ORV_CDF_Q(3.58, 20, 3));
  // A normal that makes the sum exceed 1: while the terms stay large the
  // K loop runs to its end, where only a clamping caller turns the
  // negative result into 0; once two terms in a row are small the result
  // leaves early, unclamped either way.
  auto wild = [](double x, void*) { return x < 0 ? -10.0 : 0.0; };
  line = 0;
  const double unclamped =
      detail::StudentizedRangeUpperTail(100, 20, 3, wild, nullptr, false, line);
  EXPECT_LT(unclamped, 0);
  EXPECT_EQ(line, 110);
  EXPECT_EQ(detail::StudentizedRangeUpperTail(100, 20, 3, wild, nullptr, true, line), 0.0);
  line = 0;
  EXPECT_LT(detail::StudentizedRangeUpperTail(3, 20, 3, wild, nullptr, true, line), 0);
  EXPECT_EQ(line, 100);
  // The failures and their lines are the same.
  line = 0;
  EXPECT_EQ(Fails([&] {
              detail::StudentizedRangeUpperTail(0, 20, 3, LibraryNormal, nullptr, false, line);
            }).description,
            "Invalid Q");
  EXPECT_EQ(line, 20);
}

// ---- ORV_CDF_Rayleigh and RayleighP

TEST(CdfRayleigh, DocumentedValues) {
  EXPECT_EQ(Dist().ORV_CDF_Rayleigh(3, 10), 0.0456554765);
  EXPECT_EQ(Dist().ORV_CDF_Rayleigh(1.2, 12), 0.307595086);
  EXPECT_EQ(Dist().ORV_CDF_Rayleigh(2.9957, 100), 0.0496251461);
  // Below about half of R(0.2) the walk never starts.
  EXPECT_EQ(Dist().ORV_CDF_Rayleigh(0.5, 12), 0.2);
  EXPECT_EQ(Dist().ORV_CDF_Rayleigh(0, 10), 0.2);
}

TEST(CdfRayleigh, ZeroCountDividesByZero) {
  EXPECT_FAILS(kErrDivisionByZero, "Line 40 in ORVMain.CDistributions.ORV_CDF_Rayleigh",
               "Division by zero", Dist().ORV_CDF_Rayleigh(3, 0));
}

TEST(CdfRayleigh, AWalkBelowZeroFailsInTheLogarithm) {
  // Large or non-finite statistics walk P down until P - step falls below
  // 0 through rounding, and the logarithm fails.
  for (double z : {30.0, 50.0, kNaN, kInf})
    EXPECT_FAILS(kErrInvalidCall, "Line 40 in ORVMain.CDistributions.ORV_CDF_Rayleigh",
                 StandardDescription(kErrInvalidCall), Dist().ORV_CDF_Rayleigh(z, 1000))
        << z;
}

TEST(RayleighP, SameValuesAsTheTwin) {
  const clsDistributions& c = Global<clsDistributions>();
  const std::pair<double, Long> cases[] = {{3, 10},  {1.2, 12},   {2.9957, 100}, {0.5, 12},
                                           {4.1, 7}, {5.5, 1000}, {3, -5}};
  for (auto [z, n] : cases)
    EXPECT_EQ(c.RayleighP(z, n), Dist().ORV_CDF_Rayleigh(z, n)) << z << ", " << n;
}

TEST(RayleighP, OwnFailuresAreStampedWithItsName) {
  const char* line40 = "Line 40 in ORVMain.clsDistributions.RayleighP";
  EXPECT_FAILS(kErrDivisionByZero, line40, "Division by zero",
               Global<clsDistributions>().RayleighP(3, 0));
  EXPECT_FAILS(kErrInvalidCall, line40, "Invalid procedure call or argument",
               clsDistributions().RayleighP(30, 1000));
}

}  // namespace
}  // namespace orv
