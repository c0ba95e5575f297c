#include <gtest/gtest.h>

#include "orv/distributions/CDistributions.hpp"
#include "orv/distributions/clsDistributions.hpp"
#include "orv/excel/Application.hpp"
#include "orv_test.hpp"

using namespace orv;
using namespace orv::test;

namespace {
// An application handed to clsMain for one test.
struct WithExcel {
  excel::Application app;
  excel::Application saved = excel::CurrentApplication();
  WithExcel() { excel::SetCurrentApplication(app); }
  ~WithExcel() { excel::SetCurrentApplication(saved); }
};
}  // namespace

TEST(clsDistributionsQDist, TwinOfOrvCdfQ) {
  WithExcel excel;
  clsDistributions d;
  CDistributions& c = Global<CDistributions>();
  // Same steps; only the normal function differs (both of double precision).
  for (Long df : {1, 2, 3, 10, 20, 120, 121, 1000}) {
    for (Integer groups : {2, 3, 5, 10}) {
      for (double q : {0.5, 2.0, 3.5, 3.58, 6.0}) {
        EXPECT_NEAR(d.QDist(q, df, groups), c.ORV_CDF_Q(q, df, groups), 1e-12)
            << q << " " << df << " " << groups;
      }
    }
  }
  // Far in the tail the sum can pass 1; the result stays negative (here
  // through the early exit, which neither twin clamps).
  const double q = d.QDist(95.0248, 3, 2);
  EXPECT_NEAR(q, -2.57e-5, 1e-7);
  EXPECT_NEAR(c.ORV_CDF_Q(95.0248, 3, 2), q, 1e-15);
}

TEST(clsDistributionsQDist, Failures) {
  WithExcel excel;
  const char* line10 = "Line 10 in ORVMain.clsDistributions.QDist";
  const char* line20 = "Line 20 in ORVMain.clsDistributions.QDist";
  EXPECT_FAILS(-2147221504, line10, "Invalid DFs", Global<clsDistributions>().QDist(3, 20, 1));
  EXPECT_FAILS(-2147221504, line20, "Invalid Q", Global<clsDistributions>().QDist(0, 20, 3));
  // Without the application: error 91, after the argument checks.
  excel::SetCurrentApplication(excel::Application(Nothing));
  EXPECT_FAILS(91, "Line 70 in ORVMain.clsDistributions.QDist", kNotSet,
               Global<clsDistributions>().QDist(3, 20, 3));
  EXPECT_FAILS(-2147221504, line10, "Invalid DFs", Global<clsDistributions>().QDist(3, 20, 1));
}
