// The report's statistics against R on data with moderate p-values and
// unequal group sizes (mtcars grouped by cylinders: 11, 7 and 14 cars;
// chickwts: one variable, six feeds of 10 to 14 chicks), and the small
// pieces of the analysis on their edges.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <functional>
#include <map>
#include <tuple>

#include "fisher_f.hpp"
#include "orv/output/clsMain.hpp"
#include "report_input.hpp"
#include "report_stats.hpp"
#include "report_test_util.hpp"

using namespace orv;
using namespace orv::report;
using namespace orv::report::testing;

namespace {

// Measured against R on these data and pinned.
// (Hill's t distribution against R's pt: relative 6.8e-9 at worst.)
constexpr double kCorrelationPRelative = 1e-8;  // measured: 6.8e-9 (mtcars mpg / drat)
constexpr double kEigenAbsolute = 1e-14;        // measured: 2.7e-15
constexpr double kAnovaRelative = 1e-12;        // measured: 3.6e-15 (F), 6.4e-14 (p)
constexpr double kTukeyDiffAbsolute = 1e-12;    // measured: 2.8e-13
constexpr double kTukeyPAbsolute = 1e-10;       // measured: 1.9e-11

double Relative(double a, double b) { return std::fabs(a - b) / std::max(std::fabs(b), 1e-300); }

struct Analysed {
  ReportData data;
  Analysis analysis;
};

Analysed AnalyseFile(const std::string& file, const std::string& group) {
  excel::Application app;
  Global<clsMain>().SetExcel(app);
  ReportOptions options;
  options.input = DataFile(file);
  options.group = group;
  Progress silent;
  Analysed out;
  out.data = LoadReportData(app, options, silent);
  out.analysis = Analyse(out.data, 0.95);
  Global<clsMain>().SetExcel(excel::Application(Nothing));
  return out;
}

Long Index(const std::vector<std::string>& names, const std::string& name) {
  const auto it = std::find(names.begin(), names.end(), name);
  EXPECT_NE(it, names.end()) << name;
  return static_cast<Long>(it - names.begin()) + 1;
}

// The report's Tukey row that R calls "second-first".
const TukeyRow* FindTukey(const Analysed& a, Long v, const std::string& term) {
  const auto dash = term.find('-');
  const std::string second = term.substr(0, dash), first = term.substr(dash + 1);
  for (const TukeyRow& row : a.analysis.tukey) {
    const auto& labels = a.analysis.groups.labels;
    if (row.variable == v && labels[static_cast<std::size_t>(row.first - 1)] == first &&
        labels[static_cast<std::size_t>(row.second - 1)] == second)
      return &row;
  }
  ADD_FAILURE() << "no comparison " << term << " of " << v;
  return nullptr;
}

void ExpectAgreesWithR(const std::string& dataset, const Analysed& a) {
  const Analysis& an = a.analysis;
  for (const Reference& ref : References(dataset, "cor_p")) {
    const Long i = Index(a.data.names, ref.variable), j = Index(a.data.names, ref.term);
    EXPECT_LE(Relative(an.correlations.p(i, j), ref.value), kCorrelationPRelative)
        << ref.variable << " / " << ref.term;
    // The correlation matrix is symmetric to the last bits only.
    EXPECT_LE(Relative(an.correlations.p(i, j), an.correlations.p(j, i)), 1e-12);
  }
  const auto eigen = References(dataset, "eigenvalue");
  for (std::size_t k = 0; k < eigen.size(); ++k)
    EXPECT_NEAR(an.components.values(static_cast<Long>(k) + 1), eigen[k].value, kEigenAbsolute);
  for (const std::string kind : {"anova_F", "anova_p"})
    for (const Reference& ref : References(dataset, kind)) {
      const AnovaRow& row = an.anova[Index(a.data.names, ref.variable) - 1];
      EXPECT_LE(Relative(kind == "anova_F" ? row.f : row.p, ref.value), kAnovaRelative)
          << kind << " " << ref.variable;
    }
  ASSERT_EQ(References(dataset, "tukey_diff").size(), an.tukey.size());
  // Tukey-Kramer against TukeyHSD: diff and p adj.
  for (const auto& [kind, field, tolerance] :
       {std::tuple{"tukey_diff", &TukeyRow::difference, kTukeyDiffAbsolute},
        {"tukey_p", &TukeyRow::p, kTukeyPAbsolute}})
    for (const Reference& ref : References(dataset, kind))
      if (const TukeyRow* row = FindTukey(a, Index(a.data.names, ref.variable), ref.term))
        EXPECT_NEAR(row->*field, ref.value, tolerance) << kind << " " << ref.variable << " "
                                                       << ref.term;

  // The further statistics: each kind's worst relative difference from R,
  // pinned a little above the worst measured on these five data sets:
  // 4.1e-10 (Tukey half-widths: R's qtukey ends its search early), 5.1e-14
  // (skewness), 3.1e-14 (kurtosis), 9.5e-9 (group limits: Hill's t
  // quantile), 3.4e-15 (Fisher z limits), 1.7e-14 (omega squared), 4e-15
  // (Brown-Forsythe), 1.2e-14 (Welch p), 1e-15 or exact elsewhere.
  const DescriptiveTable& s = an.descriptives;
  const GroupTable& g = an.groups;
  const auto& cor = an.correlations;
  const auto anova = [&](Long v) -> const AnovaRow& { return an.anova[v - 1]; };
  const auto names = a.data.names;
  using Get = std::function<double(Long, const std::string&)>;
  const auto by_group = [&](const Array<double>& table) -> Get {
    return [&](Long v, const std::string& label) { return table(Index(g.labels, label), v); };
  };
  const auto by_pair = [&](const Array<double>& table) -> Get {
    return [&](Long v, const std::string& with) { return table(v, Index(names, with)); };
  };
  const auto tukey = [&](double TukeyRow::*field, double difference) -> Get {
    return [&a, field, difference](Long v, const std::string& term) {
      const TukeyRow* row = FindTukey(a, v, term);
      return row ? row->*field + difference * row->difference : 0.0;
    };
  };
  const std::vector<std::tuple<std::string, double, Get>> checks = {
      {"tukey_halfwidth", 2e-9, tukey(&TukeyRow::upper, -1)},
      {"q1", 1e-15, [&](Long v, auto&) { return s.q1(v); }},
      {"median", 1e-15, [&](Long v, auto&) { return s.median(v); }},
      {"q3", 1e-15, [&](Long v, auto&) { return s.q3(v); }},
      {"skewness", 1e-13, [&](Long v, auto&) { return s.skewness(v); }},
      {"kurtosis", 1e-13, [&](Long v, auto&) { return s.kurtosis(v); }},
      {"group_se", 2e-15, by_group(g.ses)},
      {"group_lwr", 2e-8, by_group(g.lower)},
      {"group_upr", 2e-8, by_group(g.upper)},
      {"group_median", 1e-15, by_group(g.medians)},
      {"cor_lwr", 1e-14, by_pair(cor.lower)},
      {"cor_upr", 1e-14, by_pair(cor.upper)},
      {"eta_squared", 1e-14, [&](Long v, auto&) { return anova(v).eta_squared; }},
      {"omega_squared", 5e-14, [&](Long v, auto&) { return anova(v).omega_squared; }},
      {"bf_F", 1e-14, [&](Long v, auto&) { return anova(v).bf_f; }},
      {"bf_p", 1e-14, [&](Long v, auto&) { return anova(v).bf_p; }},
      {"welch_F", 1e-14, [&](Long v, auto&) { return anova(v).welch_f; }},
      {"welch_df", 2e-15, [&](Long v, auto&) { return anova(v).welch_df; }},
      {"welch_p", 5e-14, [&](Long v, auto&) { return anova(v).welch_p; }},
  };
  for (const auto& [kind, tolerance, get] : checks) {
    const auto refs = References(dataset, kind);
    double worst = 0;
    for (const Reference& ref : refs)
      worst = std::max(worst, Relative(get(Index(names, ref.variable), ref.term), ref.value));
    EXPECT_FALSE(refs.empty() && kind.rfind("cor", 0) != 0) << kind;
    EXPECT_LE(worst, tolerance) << dataset << " " << kind;
  }
}

TEST(ReportAgainstR, CarsByCylindersUnequalGroups) {
  const Analysed a = AnalyseFile("report_mtcars.csv", "cyl");
  ASSERT_EQ(a.data.Variables(), 6);
  ASSERT_EQ(a.analysis.groups.sizes, (std::vector<Long>{7, 11, 14}));  // cyl6 comes first
  EXPECT_EQ(a.analysis.anova[0].df_within, 29.0);
  ExpectAgreesWithR("mtcars", a);
}

TEST(ReportAgainstR, ChickWeightsOneVariableSixFeeds) {
  const Analysed a = AnalyseFile("report_chickwts.csv", "feed");
  ASSERT_EQ(a.data.Variables(), 1);
  EXPECT_FALSE(a.analysis.correlated);
  EXPECT_EQ(a.analysis.groups.labels.size(), 6u);
  ExpectAgreesWithR("chickwts", a);
}

TEST(ReportAgainstR, StandardDataSets) {
  // Two groups of 30; three of 10; five months of 24 to 29 complete days.
  for (const auto& [dataset, group] :
       {std::pair{"toothgrowth", "dose"}, {"plantgrowth", "group"}, {"airquality", "Month"}}) {
    SCOPED_TRACE(dataset);
    ExpectAgreesWithR(dataset, AnalyseFile(std::string("report_") + dataset + ".csv", group));
  }
}

TEST(CorrelationPValue, EdgesOfR) {
  EXPECT_EQ(CorrelationPValue(0.0, 10), 1.0);
  EXPECT_EQ(CorrelationPValue(1.0, 10), 0.0);
  // Symmetric in the sign of r; R: cor.test on r = 0.5, n = 10 gives
  // 2 * pt(-0.5 * sqrt(8 / 0.75), 8) = 0.14111328125.
  EXPECT_EQ(CorrelationPValue(0.5, 10), CorrelationPValue(-0.5, 10));
  EXPECT_NEAR(CorrelationPValue(0.5, 10), 0.14111328125, 1e-9);
  // Three cases leave one degree of freedom.
  EXPECT_NEAR(CorrelationPValue(0.5, 3), 0.666666666667, 1e-11);  // R: 2 * pt(-sqrt(1/3), 1)
}

TEST(FisherFUpperTail, AgreesWithRsPf) {
  EXPECT_EQ(FisherFUpperTail(0.0, 2, 10), 1.0);
  EXPECT_EQ(FisherFUpperTail(std::numeric_limits<double>::infinity(), 2, 10), 0.0);
  // R: pf(3.5, 2, 10, lower.tail = FALSE), pf(1, 5, 5, lower.tail = FALSE),
  // pf(200, 3, 100, lower.tail = FALSE).
  EXPECT_NEAR(FisherFUpperTail(3.5, 2, 10), 0.0704296277724, 1e-12);
  EXPECT_NEAR(FisherFUpperTail(1.0, 5, 5), 0.5, 1e-15);
  EXPECT_LE(Relative(FisherFUpperTail(200, 3, 100), 4.14484451861e-42), 1e-10);
}

Array<double> Column(const std::vector<double>& v) {
  Array<double> a(1, static_cast<Long>(v.size()), 1, 1);
  for (std::size_t i = 0; i < v.size(); ++i) a(static_cast<Long>(i) + 1, 1) = v[i];
  return a;
}

class SturgesHistogramTest : public ::testing::Test {
 protected:
  void SetUp() override { Global<clsMain>().SetExcel(app_); }
  void TearDown() override { Global<clsMain>().SetExcel(excel::Application(Nothing)); }
  excel::Application app_;
};

TEST_F(SturgesHistogramTest, NiceLimitsCoverEveryValueOnce) {
  // 1 .. 100: Sturges asks for ceil(log2 100) + 1 = 8 bins; AxisTicks makes
  // them nice: 10 bins of 10 from 0 to 100; 100 falls into the closed last
  // bin [90, 100].
  std::vector<double> v;
  for (int i = 1; i <= 100; ++i) v.push_back(i);
  const Histogram h = SturgesHistogram(Column(v), 1);
  EXPECT_EQ(h.sturges, 8);
  ASSERT_EQ(h.from.front(), 0.0);
  ASSERT_EQ(h.to.back(), 100.0);
  double total = 0;
  for (std::size_t b = 0; b < h.counts.size(); ++b) {
    total += h.counts[b];
    if (b > 0) {
      EXPECT_EQ(h.from[b], h.to[b - 1]);
    }
  }
  EXPECT_EQ(total, 100.0);
  ASSERT_EQ(h.counts.size(), 10u);
  EXPECT_EQ(h.counts.front(), 9.0);  // 1 .. 9
  EXPECT_EQ(h.counts.back(), 11.0);  // 90 .. 100 with the closed end
}

TEST_F(SturgesHistogramTest, ValuesOnALimitGoUpAndDecimalLimitsAreExact) {
  // Seven values from 0 to 0.35: 4 bins asked, 0.1 wide from 0 to 0.4.
  // Limits must be the doubles the data hold: 0.3 sits in [0.3, 0.4), not
  // below it as 3 * 0.1 = 0.30000000000000004 would put it.
  const Histogram h = SturgesHistogram(Column({0.0, 0.1, 0.3, 0.3, 0.35, 0.2, 0.25}), 1);
  ASSERT_EQ(h.decimals, 1);
  ASSERT_EQ(h.from, (std::vector<double>{0.0, 0.1, 0.2, 0.3}));
  EXPECT_EQ(h.counts, (std::vector<double>{1, 1, 2, 3}));
}

TEST_F(SturgesHistogramTest, HugeValuesFallBackToPlainBins) {
  // AxisTicks overflows its 32-bit bounds here; the bins are then Sturges'
  // equal parts of the data's range.
  const Histogram h = SturgesHistogram(Column({1e15, 1e15 + 4, 1e15 + 8}), 1);
  EXPECT_EQ(h.counts.size(), 3u);
  EXPECT_EQ(h.from.front(), 1e15);
  EXPECT_EQ(h.to.back(), 1e15 + 8);
  EXPECT_EQ(h.counts[0] + h.counts[1] + h.counts[2], 3.0);
}

}  // namespace
