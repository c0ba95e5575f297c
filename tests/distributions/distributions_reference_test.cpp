// Accuracy against independent values computed by R (pnorm, qnorm, pt, qt,
// ptukey; the Rayleigh probability from uniroot on its critical-value
// expansion), stored in tests/data/distributions_reference.csv by
// scripts/make_distribution_reference.R. Each function and branch has a
// tolerance a little above the deviation its algorithm actually shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "orv/distributions/CDistributions.hpp"

namespace orv {
namespace {

struct Row {
  std::string function, branch;
  double a, b, c, expected;
};

std::vector<Row> ReadReference() {
  std::ifstream in(std::string(ORV_TEST_DATA_DIR) + "/distributions_reference.csv");
  std::vector<Row> rows;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::stringstream fields(line);
    std::string f[6];
    for (auto& field : f) std::getline(fields, field, ',');
    auto number = [](const std::string& t) { return t.empty() ? NAN : std::stod(t); };
    rows.push_back({f[0], f[1], number(f[2]), number(f[3]), number(f[4]), number(f[5])});
  }
  return rows;
}

double Evaluate(const Row& r) {
  const CDistributions& d = Global<CDistributions>();
  if (r.function == "CDF_Normal") return d.ORV_CDF_Normal(r.a, r.b, r.c);
  if (r.function == "IDF_Normal") return d.ORV_IDF_Normal(r.a);
  if (r.function == "CDF_t")
    return d.ORV_CDF_t(r.a, static_cast<Long>(r.b), static_cast<Byte>(r.c));
  if (r.function == "IDF_t") return d.ORV_IDF_t(Variant(r.a), Variant(r.b));
  if (r.function == "CDF_Q")
    return d.ORV_CDF_Q(r.a, static_cast<Long>(r.b), static_cast<Integer>(r.c));
  if (r.function == "CDF_Rayleigh") return d.ORV_CDF_Rayleigh(r.a, static_cast<Long>(r.b));
  ADD_FAILURE() << "unknown function " << r.function;
  return NAN;
}

// Tolerances per function and branch: {absolute, relative}. A value passes
// when either holds (relative deviations of results near 0 say little).
struct Tolerance {
  double abs, rel;
};
const std::map<std::string, Tolerance>& Tolerances() {
  static const std::map<std::string, Tolerance> t = {
      // Hart's approximation; beyond |z| = 37 the result is exactly 0 or 1.
      {"CDF_Normal/rational", {3e-16, 4e-9}},
      {"CDF_Normal/continued_fraction", {4e-21, 1.2e-8}},
      {"CDF_Normal/beyond_37", {1e-299, 0}},
      {"CDF_Normal/mean_sd", {2e-16, 4e-9}},
      // AS 241 on decimal coefficients: a few units in the last place,
      // until the 28 decimal places of p leave too few digits of it.
      {"IDF_Normal/central", {6e-16, 7e-16}},
      {"IDF_Normal/tail_r_le_5", {5e-15, 8e-16}},
      {"IDF_Normal/tail_r_gt_5", {5e-10, 5e-11}},  // p >= 1e-20: 8 digits at least
      {"IDF_Normal/tail_p_below_1e-20", {5e-2, 4e-3}},
      {"IDF_Normal/tail_p_below_1e-20_vs_rounded_p", {2e-14, 2e-15}},
      // Hill's algorithm 395.
      {"CDF_t/cosine_series", {6e-16, 4e-15}},
      {"CDF_t/cosine_series_one_tail", {3e-16, 2e-15}},
      {"CDF_t/tail_series", {2e-13, 3e-12}},
      {"CDF_t/tail_series_one_tail", {8e-14, 3e-12}},
      {"CDF_t/normal_approximation", {3e-11, 1.2e-8}},
      {"CDF_t/normal_approximation_one_tail", {1.5e-11, 5e-10}},
      // Hill's algorithm 396 (exact formulas for 1 and 2 df).
      {"IDF_t/df_1", {2e-10, 1e-15}},
      {"IDF_t/df_2", {8e-15, 6e-13}},
      {"IDF_t/large_sample", {7e-3, 2e-2}},
      {"IDF_t/small_sample", {5e4, 3e-2}},
      // AS 190 with its cut-offs; above 120 error df it takes infinite df.
      {"CDF_Q/df_1", {3e-3, 4e-3}},
      {"CDF_Q/df_2", {2.5e-4, 4.5e-3}},
      {"CDF_Q/df_3_to_120", {5e-5, 0.2}},
      {"CDF_Q/df_above_120", {2e-2, 1}},
      {"CDF_Q/df_above_120_vs_infinite_df", {4e-6, 2}},
      // The search stops at a step of 1e-10 and truncates to 10 places.
      {"CDF_Rayleigh/search", {2e-10, 1e-7}},
  };
  return t;
}

TEST(DistributionsReference, EveryBranchWithinItsMeasuredAccuracy) {
  const std::vector<Row> rows = ReadReference();
  ASSERT_GT(rows.size(), 5000u) << "reference file missing or truncated";
  std::map<std::string, int> counts;
  for (const Row& r : rows) {
    const std::string key = r.function + "/" + r.branch;
    const double got = Evaluate(r);
    const double abs = std::fabs(got - r.expected);
    const double rel = r.expected != 0 ? abs / std::fabs(r.expected) : (abs == 0 ? 0 : INFINITY);
    ++counts[key];
    auto tol = Tolerances().find(key);
    ASSERT_NE(tol, Tolerances().end()) << key;
    EXPECT_TRUE(abs <= tol->second.abs || rel <= tol->second.rel)
        << key << " at (" << r.a << ", " << r.b << ", " << r.c << "): got " << got << ", R gives "
        << r.expected;
  }
  EXPECT_EQ(counts.size(), Tolerances().size());
}

}  // namespace
}  // namespace orv
