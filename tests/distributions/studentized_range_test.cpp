// The accurate studentized range distribution against R's adaptive
// quadrature of its defining integral (tests/data/studentized_range_reference.csv,
// written by scripts/make_studentized_range_reference.R), for 2 to 100 groups
// and 2 to infinitely many degrees of freedom.
#include "orv/distributions/studentized_range.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "orv_test.hpp"

namespace orv {
namespace {

TEST(StudentizedRange, AgreesWithQuadratureOfItsIntegral) {
  std::ifstream in(std::string(ORV_TEST_DATA_DIR) + "/studentized_range_reference.csv");
  std::string line;
  ASSERT_TRUE(std::getline(in, line));  // kind,groups,df,x,value,ptukey
  int cdfs = 0, quantiles = 0;
  while (std::getline(in, line)) {
    std::stringstream fields(line);
    std::string f[6];
    for (auto& field : f) std::getline(fields, field, ',');
    const double groups = std::stod(f[1]), x = std::stod(f[3]), expected = std::stod(f[4]);
    const double df = f[2] == "Inf" ? std::numeric_limits<double>::infinity() : std::stod(f[2]);
    if (f[0] == "cdf") {
      EXPECT_NEAR(StudentizedRangeCdf(x, groups, df), expected, 1e-9) << line;
      ++cdfs;
    } else {
      EXPECT_NEAR(StudentizedRangeQuantile(x, groups, df), expected, 1e-8 * expected) << line;
      ++quantiles;
    }
  }
  EXPECT_EQ(cdfs, 288);
  EXPECT_EQ(quantiles, 32);
}

TEST(StudentizedRange, TwoGroupsIsTheAbsoluteStudentT) {
  // For two groups Q / sqrt(2) = |T|: with 2 degrees of freedom
  // P(|T| <= t) = t / sqrt(2 + t^2), so P(Q <= 1) = 1 / sqrt(5).
  EXPECT_NEAR(StudentizedRangeCdf(1, 2, 2), 1 / std::sqrt(5.0), 1e-12);
  // With infinitely many, P(Q <= q) = 2 Phi(q / sqrt(2)) - 1 = erf(q / 2).
  EXPECT_NEAR(StudentizedRangeCdf(3, 2, INFINITY), std::erf(1.5), 1e-13);
}

TEST(StudentizedRange, EdgesAndBadArguments) {
  EXPECT_EQ(StudentizedRangeCdf(0, 3, 10), 0);
  EXPECT_EQ(StudentizedRangeCdf(INFINITY, 3, 10), 1);
  const std::string kGroups = "the number of groups must be at least 2";
  const std::string kDf = "the degrees of freedom must be at least 1";
  const std::string kP = "the probability must lie strictly between 0 and 1";
  EXPECT_FAILS(5, "StudentizedRange", kGroups, StudentizedRangeCdf(1, 1, 10));
  EXPECT_FAILS(5, "StudentizedRange", kDf, StudentizedRangeCdf(1, 3, 0.5));
  EXPECT_FAILS(5, "StudentizedRange", kDf, StudentizedRangeCdf(1, 3, NAN));
  EXPECT_FAILS(5, "StudentizedRange", "q is not a number", StudentizedRangeCdf(NAN, 3, 10));
  EXPECT_FAILS(5, "StudentizedRange", kP, StudentizedRangeQuantile(1, 3, 10));
  EXPECT_FAILS(5, "StudentizedRange", kP, StudentizedRangeQuantile(0, 3, 10));
}

}  // namespace
}  // namespace orv
