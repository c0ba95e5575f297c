#include <gtest/gtest.h>

#include <cmath>

#include "orv/distributions/CDistributions.hpp"
#include "orv/distributions/clsDistributions.hpp"
#include "orv/excel/Application.hpp"
#include "orv_test.hpp"

using namespace orv;

namespace {
// An application handed to clsMain for one test.
struct WithExcel {
  excel::Application app;
  excel::Application saved = excel::CurrentApplication();
  WithExcel() { excel::SetCurrentApplication(app); }
  ~WithExcel() { excel::SetCurrentApplication(saved); }
};
using orv::test::Failure;
Failure QFailure(double q, Long df, Integer groups) {
  try {
    Global<clsDistributions>().QDist(q, df, groups);
  } catch (const Error& e) {
    return Failure{e.Number, e.Source, e.Description};
  }
  ADD_FAILURE() << "no failure";
  return {};
}
}  // namespace

TEST(clsDistributionsQDist, TabledValues) {
  WithExcel excel;
  clsDistributions d;
  // The 5% point of the range of 3 means with 20 error df is 3.578.
  EXPECT_NEAR(d.QDist(3.58, 20, 3), 0.04985186, 5e-9);
  EXPECT_NEAR(d.QDist(3.5, 20, 3), 0.05589187, 5e-9);
  EXPECT_NEAR(d.QDist(2, 10, 2), 0.18766998, 5e-9);
}

TEST(clsDistributionsQDist, TwinOfOrvCdfQ) {
  WithExcel excel;
  clsDistributions d;
  CDistributions& c = Global<CDistributions>();
  // Same steps; only the normal function differs (both of double precision).
  for (Long df : {1, 2, 3, 10, 120, 121, 1000}) {
    for (Integer groups : {2, 3, 5, 10}) {
      for (double q : {0.5, 2.0, 3.5, 6.0}) {
        EXPECT_NEAR(d.QDist(q, df, groups), c.ORV_CDF_Q(q, df, groups), 1e-12)
            << q << " " << df << " " << groups;
      }
    }
  }
}

TEST(clsDistributionsQDist, NoClampBelowZero) {
  WithExcel excel;
  // Far in the tail the sum can pass 1; the result stays negative (here
  // through the early exit, which neither twin clamps).
  double q = Global<clsDistributions>().QDist(95.0248, 3, 2);
  EXPECT_LT(q, -1e-5);
  EXPECT_NEAR(q, -2.57e-5, 1e-7);
  EXPECT_NEAR(Global<CDistributions>().ORV_CDF_Q(95.0248, 3, 2), q, 1e-15);
}

TEST(clsDistributionsQDist, Failures) {
  WithExcel excel;
  Failure groups = QFailure(3, 20, 1);
  EXPECT_EQ(groups.number, -2147221504);
  EXPECT_EQ(groups.source, "Line 10 in ORVMain.clsDistributions.QDist");
  EXPECT_EQ(groups.description, "Invalid DFs");
  Failure df = QFailure(3, 0, 3);
  EXPECT_EQ(df.description, "Invalid DFs");
  Failure q = QFailure(0, 20, 3);
  EXPECT_EQ(q.number, -2147221504);
  EXPECT_EQ(q.source, "Line 20 in ORVMain.clsDistributions.QDist");
  EXPECT_EQ(q.description, "Invalid Q");
  EXPECT_EQ(QFailure(-1, 20, 3).description, "Invalid Q");
}

TEST(clsDistributionsQDist, NeedsTheApplication) {
  excel::Application saved = excel::CurrentApplication();
  excel::SetCurrentApplication(excel::Application(Nothing));
  Failure unset = QFailure(3, 20, 3);
  EXPECT_EQ(unset.number, 91);
  EXPECT_EQ(unset.source, "Line 70 in ORVMain.clsDistributions.QDist");
  EXPECT_EQ(unset.description, "Object variable or With block variable not set");
  // The argument checks come first.
  EXPECT_EQ(QFailure(3, 20, 1).description, "Invalid DFs");
  excel::SetCurrentApplication(saved);
}
