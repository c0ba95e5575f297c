// Every number the analyses compute against R (quantile, t.test, lm with
// summary and confint, cor.test, wilcox.test, kruskal.test, aov,
// oneway.test, TukeyHSD, prcomp, nclass.*) on standard data sets:
// tests/data/analysis_reference.csv, written by
// scripts/make_analysis_reference.R. Tolerances are relative (with a floor
// for values near 0), per statistic, a little above the deviation measured.
#include <cmath>

#include "orv/analysis/analysis.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/xlsx/xlsx.hpp"
#include "orv_test.hpp"
#include "report_test_util.hpp"

namespace orv::analysis {
namespace {

using report::testing::DataFile;
using report::testing::SplitCsvLine;

using Run = Result (*)(const Selection&, const Options&, const excel::Workbook&);

struct Case {
  std::string id, file;
  Run run;
  std::vector<std::string> x;
  std::string y, group;
  bool paired = false, drop_incomplete = false, through_origin = false;
  double mu = 0, level = 0.95;
  std::vector<std::string> missing;
};

// clang-format off
const Case kCases[] = {
    {"ttest_tooth_supp", "analysis_toothgrowth", TTest, {"len"}, "", "supp"},
    {"ttest_plants_ctrl_trt1", "analysis_plantgrowth", TTest, {"weight"}, "", "group", false, true, false, 0, 0.95, {"trt2"}},
    {"ttest_sleep_paired", "analysis_sleep", TTest, {"drug1"}, "drug2", "", true},
    {"ttest_iris_paired", "analysis_iris", TTest, {"Sepal.Width"}, "Sepal.Length", "", true},
    {"ttest_sleep_mu", "analysis_sleep", TTest, {"drug2"}, "", "", false, false, false, 1},
    {"ttest_ozone_mu", "analysis_airquality", TTest, {"Ozone"}, "", "", false, true, false, 40, 0.9},
    {"regress_cars_three", "report_mtcars", Regress, {"disp", "hp", "wt"}, "mpg", ""},
    {"regress_cars_one", "report_mtcars", Regress, {"wt"}, "mpg", ""},
    {"regress_cars_origin", "report_mtcars", Regress, {"wt", "qsec"}, "mpg", "", false, false, true},
    {"regress_iris_petals", "analysis_iris", Regress, {"Petal.Length"}, "Petal.Width", ""},
    {"regress_air", "analysis_airquality", Regress, {"Solar.R", "Wind", "Temp"}, "Ozone", "", false, true, false, 0, 0.99},
    {"correlate_cars", "report_mtcars", Correlate, {"mpg", "disp", "hp", "drat", "wt", "qsec"}, "", ""},
    {"correlate_iris", "analysis_iris", Correlate, {"Sepal.Length", "Sepal.Width", "Petal.Length", "Petal.Width"}, "", ""},
    {"correlate_air", "analysis_airquality", Correlate, {"Ozone", "Solar.R", "Wind", "Temp"}, "", "", false, true},
    {"rank_tooth_supp", "analysis_toothgrowth", RankTest, {"len"}, "", "supp"},
    {"rank_mw_exact", "analysis_mw", RankTest, {"value"}, "", "group"},
    {"rank_plants", "analysis_plantgrowth", RankTest, {"weight"}, "", "group"},
    {"rank_iris_species", "analysis_iris", RankTest, {"Sepal.Length"}, "", "Species"},
    {"rank_chicks", "report_chickwts", RankTest, {"weight"}, "", "feed"},
    {"rank_sleep_paired", "analysis_sleep", RankTest, {"drug1"}, "drug2", "", true},
    {"rank_depression_exact", "analysis_depression", RankTest, {"x"}, "y", "", true},
    {"describe_iris", "analysis_iris", Describe, {"Sepal.Length", "Sepal.Width", "Petal.Length", "Petal.Width"}, "", "Species"},
    {"describe_cars", "report_mtcars", Describe, {"mpg", "hp", "wt", "qsec"}, "", "cyl"},
    {"describe_air", "analysis_airquality", Describe, {"Ozone", "Temp"}, "", "", false, true, false, 0, 0.9},
    {"anova_plants", "analysis_plantgrowth", Anova, {"weight"}, "", "group"},
    {"anova_tooth_dose", "analysis_toothgrowth", Anova, {"len"}, "", "dose", false, false, false, 0, 0.9},
    {"anova_iris", "analysis_iris", Anova, {"Sepal.Length", "Petal.Width"}, "", "Species"},
    {"anova_cars", "report_mtcars", Anova, {"mpg", "disp"}, "", "cyl"},
    {"anova_chicks", "report_chickwts", Anova, {"weight"}, "", "feed"},
    {"pca_iris", "analysis_iris", Pca, {"Sepal.Length", "Sepal.Width", "Petal.Length", "Petal.Width"}, "", ""},
    {"pca_cars", "report_mtcars", Pca, {"mpg", "disp", "hp", "drat", "wt", "qsec"}, "", ""},
    {"pca_air", "analysis_airquality", Pca, {"Ozone", "Solar.R", "Wind", "Temp"}, "", "", false, true},
};
// The data of the "bins_" references.
const std::map<std::string, std::string> kBinFiles = {{"bins_iris", "analysis_iris"}, {"bins_cars", "report_mtcars"}, {"bins_plants", "analysis_plantgrowth"}, {"bins_tooth", "analysis_toothgrowth"}};
// clang-format on

// {relative, absolute floor} per statistic.
struct Tolerance {
  double rel, abs;
};
Tolerance ToleranceOf(const std::string& table, const std::string& column) {
  // p-values of t on whole df come from Hill's algorithm (CDistributions),
  // 1.2e-8 in its normal-approximation branch: measured 9.5e-9 (Pearson p,
  // airquality Ozone with Temp); Hill's t quantile gives the descriptives'
  // limits, measured 8.0e-9 (mtcars hp, 6 cylinders). Tukey-Kramer p is 1
  // minus the studentized range's distribution, as R's ptukey: 1.7e-14
  // apart near 0, 1.1e-11 elsewhere; its limits differ by 3.1e-9 where R's
  // qtukey ends its search. Every other statistic, the sweep's 15-digit
  // steps included: measured at most 8.4e-13 (interval limits) and 2.7e-12
  // (a residual near 0).
  const bool limit = column.rfind("Lower", 0) == 0 || column.rfind("Upper", 0) == 0;
  if (table == "Tukey-Kramer comparisons" && column == "p") return {0, 1e-10};
  if (table == "Tukey-Kramer comparisons" && limit) return {5e-9, 1e-12};
  if (table.rfind("Descriptive", 0) == 0 && limit) return {2e-8, 1e-12};
  if (column == "p" || column == "p (r)" || column == "p (rho)") return {2e-8, 1e-300};
  return {1e-11, 1e-12};
}

double Computed(const Result& r, const std::string& table, const std::string& row,
                const std::string& column) {
  if (table != "Data") return r.Find(table).Value(row, column);
  for (const DataColumn& d : r.data)
    if (d.name == column) return d.values.at(std::stoul(row) - 1);
  ADD_FAILURE() << "no data column " << column;
  return NAN;
}

TEST(AnalysisReference, EveryStatisticAgreesWithR) {
  std::ifstream in(DataFile("analysis_reference.csv"));
  std::string line;
  std::getline(in, line);
  std::map<std::string, std::vector<std::vector<std::string>>> expected;
  while (std::getline(in, line)) {
    auto f = SplitCsvLine(line);
    expected[f[0]].push_back(f);
  }
  ASSERT_EQ(expected.size(), std::size(kCases) + kBinFiles.size());
  excel::Application app;
  Global<clsMain>().SetExcel(app);
  for (const auto& [id, file] : kBinFiles) {
    const excel::Workbook book = xlsx::OpenCsv(app, DataFile(file + ".csv"));
    for (const auto& f : expected[id]) {
      const Variant cells = FindColumn(book.ActiveSheet().UsedRange(), f[2]).Value();
      Array<double> values(1, cells.UBound(1) - 1, 1, 1);
      for (Long i = 2; i <= cells.UBound(1); ++i) values(i - 1, 1) = cells.Element(i, 1).AsDouble();
      const BinRule rule = f[3] == "Sturges" ? BinRule::sturges : BinRule::freedman_diaconis;
      EXPECT_EQ(HistogramBins(values, 1, rule).asked, std::stol(f[4]))
          << id << " " << f[2] << " " << f[3];
      // Bins by number: each value counted in the bin whose limits, as
      // shown, hold it.
      for (Long bins = 2; bins <= 15 && rule == BinRule::sturges; ++bins) {
        const Histogram h = HistogramBins(values, 1, rule, bins);
        ASSERT_EQ(h.counts.size(), static_cast<std::size_t>(bins));
        const double scale = std::pow(10.0, h.decimals);
        const auto shown = [&](double limit) { return std::round(limit * scale) / scale; };
        std::vector<double> counts(h.counts.size(), 0.0);
        for (Long i = 1; i <= values.UBound(1); ++i)
          for (std::size_t b = 0; b < h.counts.size(); ++b) {
            const double x = values(i, 1), to = shown(h.to[b]);
            if (x >= shown(h.from[b]) && (x < to || (b + 1 == h.counts.size() && x <= to)))
              counts[b] += 1;
          }
        EXPECT_EQ(counts, h.counts) << id << " " << f[2] << " " << bins;
      }
    }
    book.Close();
  }
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.id);
    const excel::Workbook book = xlsx::OpenCsv(app, DataFile(c.file + ".csv"));
    const excel::Range data = book.ActiveSheet().UsedRange();
    Selection s;
    for (const std::string& x : c.x) s.x.push_back(FindColumn(data, x));
    if (!c.y.empty()) s.y = FindColumn(data, c.y);
    if (!c.group.empty()) s.group = FindColumn(data, c.group);
    const excel::Workbook out = app.Workbooks().Add();
    Options o;
    o.paired = c.paired;
    o.drop_incomplete = c.drop_incomplete;
    o.through_origin = c.through_origin;
    o.mu = c.mu;
    o.level = c.level;
    o.missing = c.missing;
    const Result r = c.run(s, o, out);
    EXPECT_EQ(out.Worksheets(1).Name(), r.sheet);
    EXPECT_TRUE(r.warnings.empty()) << r.warnings.front();
    EXPECT_EQ(out.Worksheets(1).ChartObjects().Count(), static_cast<Long>(r.charts.size()));
    const auto& rows = expected[c.id];
    ASSERT_FALSE(rows.empty());
    for (const auto& f : rows) {
      // An eigenvector's sign is arbitrary: loadings and scores compare
      // without it.
      const bool signless = f[1] == "Loadings" || f[3].find(" score") != std::string::npos;
      const double want = signless ? std::fabs(std::stod(f[4])) : std::stod(f[4]);
      const double got =
          signless ? std::fabs(Computed(r, f[1], f[2], f[3])) : Computed(r, f[1], f[2], f[3]);
      const Tolerance t = ToleranceOf(f[1], f[3]);
      EXPECT_LE(std::fabs(got - want), std::max(t.rel * std::fabs(want), t.abs))
          << f[1] << " / " << f[2] << " / " << f[3] << ": " << got << " vs R " << want;
    }
    book.Close();
  }
  Global<clsMain>().SetExcel(excel::Application(Nothing));
}

}  // namespace
}  // namespace orv::analysis
