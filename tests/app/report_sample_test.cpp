// `orv report` on the built-in iris sample: the written report, read back
// from the file, holds the data bit for bit and every table agrees with R
// (scripts/make_report_sample_reference.R).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "orv/output/clsMain.hpp"
#include "orv/output/theme.hpp"
#include "orv/xlsx/xlsx.hpp"
#include "orv_report/sample_iris.hpp"
#include "report.hpp"
#include "report_test_util.hpp"

using namespace orv;
using namespace orv::report;
using namespace orv::report::testing;

namespace {

// A report table and how closely its numbers agree with R, measured on
// these data and pinned. The correlation p-values come from Hill's t
// distribution, R's from its own pt; R's Tukey limits from its qtukey,
// whose search stops early. The Tukey p-values, down to 1e-14, are
// compared absolutely.
struct TableCheck {
  const char* title;
  double relative;
  int absolute_column = -1;  // compared within kTukeyPAbsolute
};
constexpr double kTukeyPAbsolute = 1e-12;  // measured: 2.1e-14
const std::map<std::string, TableCheck> kTables = {
    // Relative differences measured at worst: 1.1e-15, 1.9e-15, 1.8e-10,
    // 2e-14, 1.1e-14, 4e-16, 1.6e-13 (the p-value), 7.8e-10, exact.
    {"descriptives", {"Descriptive statistics", 1e-14}},
    {"correlation", {"Correlation matrix (Pearson r)", 1e-14}},
    {"pvalues", {"Correlation p-values (two-tailed t test, n - 2 df)", 1e-9}},
    {"components", {"Principal components of the correlation matrix", 1e-13}},
    {"loadings", {"Component loadings (eigenvector x square root of eigenvalue)", 1e-13}},
    {"groups", {"Group statistics by Species", 1e-14}},
    {"anova", {"One-way analysis of variance by Species", 1e-12}},
    {"tukey", {"Tukey-Kramer pairwise comparisons", 1e-9, 7}},
    {"histogram", {"Histogram bins of Sepal length", 0}},
};

double Relative(double a, double b) { return std::fabs(a - b) / std::max(std::fabs(b), 1e-300); }

class ReportSample : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    run_ = new Outcome(Orv({"report", "-o", *dir_ / "report.xlsx"}));
    app_ = new excel::Application;
    if (run_->status == 0)
      book_ = new excel::Workbook(xlsx::OpenXlsx(*app_, *dir_ / "report.xlsx"));
  }
  static void TearDownTestSuite() {
    delete book_;
    delete app_;
    delete run_;
    delete dir_;
  }
  void SetUp() override {
    ASSERT_EQ(run_->status, 0) << run_->err;
    ASSERT_NE(book_, nullptr);
  }

  static inline TempDir* dir_ = nullptr;
  static inline Outcome* run_ = nullptr;
  static inline excel::Application* app_ = nullptr;
  static inline excel::Workbook* book_ = nullptr;
};

TEST(ReportSampleData, EmbeddedSampleIsTheCommittedFile) {
  std::ifstream in(std::string(ORV_TEST_DATA_DIR) + "/../../apps/orv/data/iris.csv",
                   std::ios::binary);
  ASSERT_TRUE(in);
  const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(file, std::string(kIrisCsv));
}

TEST_F(ReportSample, WritesReportAndDataSheetsAndNothingElse) {
  EXPECT_EQ(dir_->Files(), std::vector<std::string>{"report.xlsx"});
  EXPECT_EQ(book_->Worksheets(1).Name(), "Report");
  EXPECT_EQ(book_->Worksheets(2).Name(), "Data");
  EXPECT_EQ(run_->err, "");
  EXPECT_NE(run_->out.find("150 cases, 4 variables, grouped by Species (column E): setosa 50, "
                           "versicolor 50, virginica 50"),
            std::string::npos)
      << run_->out;
}

TEST_F(ReportSample, DataSheetHoldsTheCasesBitForBit) {
  const excel::Worksheet data = book_->Worksheets("Data");
  std::istringstream csv{std::string(kIrisCsv)};
  std::string line;
  for (Long i = 1; std::getline(csv, line); ++i) {
    const std::vector<std::string> fields = SplitCsvLine(line);
    ASSERT_EQ(fields.size(), 5u) << line;
    for (Long j = 1; j <= 5; ++j) {
      const Variant cell = data.Cells(i, j).Value();
      if (i == 1 || j == 5)
        ASSERT_EQ(cell.AsString(), fields[j - 1]) << i << ", " << j;
      else
        ASSERT_EQ(cell.AsDouble(), std::stod(fields[j - 1])) << i << ", " << j;
    }
  }
  EXPECT_TRUE(data.Cells(152, 1).Value().IsEmpty());
}

TEST_F(ReportSample, EveryTableAgreesWithR) {
  std::ifstream in(DataFile("report_sample_reference.csv"));
  ASSERT_TRUE(in) << "report_sample_reference.csv is missing";
  std::map<std::string, SheetTable> read;
  std::map<std::string, std::size_t> rows;
  std::map<std::size_t, bool> flip;  // loadings' columns of the other sign
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const std::vector<std::string> f = SplitCsvLine(line);
    ASSERT_EQ(f.size(), 4u) << line;
    const TableCheck& check = kTables.at(f[0]);
    if (!read.count(f[0])) read[f[0]] = ReadTable(book_->Worksheets("Report"), check.title);
    const SheetTable& t = read[f[0]];
    const std::size_t r = std::stoul(f[1]), c = std::stoul(f[2]);
    rows[f[0]] = std::max(rows[f[0]], r + 1);
    ASSERT_LT(r, t.rows.size()) << line;
    if (c == 0 || (c == 1 && (f[0] == "groups" || f[0] == "tukey" || f[0] == "anova"))) {
      EXPECT_EQ(t.Text(r, c), f[3]) << line;
    } else if (static_cast<int>(c) == check.absolute_column) {
      EXPECT_NEAR(t.Number(r, c), std::stod(f[3]), kTukeyPAbsolute) << line;
    } else if (f[0] == "loadings") {
      // An eigenvector's sign is free: each column agrees up to one sign.
      const double ours = t.Number(r, c), r_value = std::stod(f[3]);
      if (!flip.count(c)) flip[c] = (ours < 0) != (r_value < 0);
      EXPECT_EQ((ours < 0) != (r_value < 0), flip[c]) << line;
      EXPECT_LE(Relative(std::fabs(ours), std::fabs(r_value)), check.relative) << line;
    } else {
      EXPECT_LE(Relative(t.Number(r, c), std::stod(f[3])), check.relative) << line;
    }
  }
  for (const auto& [key, count] : rows) EXPECT_EQ(read[key].rows.size(), count) << key;
  // The diagonal of the p-values is left empty, that of r is exactly 1.
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_TRUE(read["pvalues"].rows[i][i + 1].IsEmpty());
    EXPECT_EQ(read["correlation"].Number(i, i + 1), 1.0);
  }
}

WrittenReport SampleWorkbook(double level, Analysis& analysis) {
  excel::Application app;
  Global<clsMain>().SetExcel(app);
  UseReadableTheme();
  Progress silent;
  const ReportData data = LoadReportData(app, ReportOptions{}, silent);
  analysis = Analyse(data, level);
  WrittenReport written = BuildWorkbook(app, data, analysis, silent);
  Global<clsMain>().SetExcel(excel::Application(Nothing));
  return written;
}

TEST(ReportSampleCharts, TheChartClassesDrawFourChartsOfTheReportsData) {
  Analysis analysis;
  const WrittenReport written = SampleWorkbook(0.95, analysis);
  EXPECT_EQ(written.warnings, std::vector<std::string>{});
  EXPECT_EQ(written.charts, (std::vector<std::string>{"Sepal width against Sepal length",
                                                      "Histogram of Sepal length", "Scree plot",
                                                      "Loadings on PC1 and PC2"}));
  const excel::Worksheet report = written.book.Worksheets("Report");
  ASSERT_EQ(report.ChartObjects().Count(), 4);

  // The scatter plots the Data sheet's first two columns with the fitted
  // line.
  const excel::Chart scatter = report.ChartObjects(1).Chart();
  const excel::Series points = scatter.SeriesCollection(1);
  EXPECT_EQ(points.XValuesRange().Address(false, false, true), "[Book1]Data!A2:A151");
  EXPECT_EQ(points.ValuesRange().Address(false, false, true), "[Book1]Data!B2:B151");
  EXPECT_EQ(points.Trendlines().Count(), 1);

  // The histogram's columns are the frequencies of the bins table, the
  // scree plot's points the eigenvalues.
  std::vector<double> counts, eigen;
  for (const auto& v : report.ChartObjects(2).Chart().SeriesCollection(1).ValueNumbers())
    counts.push_back(v.value_or(-1));
  EXPECT_EQ(counts, analysis.histogram.counts);
  for (const auto& v : report.ChartObjects(3).Chart().SeriesCollection(1).ValueNumbers())
    eigen.push_back(v.value_or(-1));
  ASSERT_EQ(eigen.size(), 4u);
  for (Long j = 1; j <= 4; ++j) EXPECT_EQ(eigen[j - 1], analysis.components.values(j));

  // The loadings: both axes -1 to 1 around the origin, a unit circle.
  const excel::Chart loadings = report.ChartObjects(4).Chart();
  for (const auto type : {excel::xlCategory, excel::xlValue}) {
    EXPECT_EQ(loadings.Axes(type).MinimumScale(), -1.0);
    EXPECT_EQ(loadings.Axes(type).MaximumScale(), 1.0);
  }
  Long circles = 0;
  for (Long s = 1; s <= loadings.SeriesCollection().Count(); ++s) {
    const excel::Series series = loadings.SeriesCollection(s);
    if (series.Name() != "Unit circle") continue;
    ++circles;
    const auto xs = series.XValueNumbers(), ys = series.ValueNumbers();
    ASSERT_EQ(xs.size(), ys.size());
    for (std::size_t k = 0; k < xs.size(); ++k) EXPECT_NEAR(std::hypot(*xs[k], *ys[k]), 1.0, 1e-15);
  }
  EXPECT_EQ(circles, 1);
}

TEST(ReportSampleCharts, BandsAtExactlyTheTablesLevelAgreeWithR) {
  // R: predict.lm with interval "confidence" / "prediction" at each level
  // (scripts/make_report_reference.R); measured worst relative 1.2e-14.
  for (const double level : {0.9, 0.95, 0.975, 0.99}) {
    Analysis analysis;
    const WrittenReport written = SampleWorkbook(level, analysis);
    const excel::Chart scatter = written.book.Worksheets("Report").ChartObjects(1).Chart();
    const std::string text = LevelText(level);
    EXPECT_EQ(scatter.ChartTitle().Text(), "Sepal width against Sepal length\rRegression line, " +
                                               text + " confidence and prediction bands");
    std::vector<std::string> names;
    for (Long s = 1; s <= scatter.SeriesCollection().Count(); ++s)
      names.push_back(scatter.SeriesCollection(s).Name());
    EXPECT_EQ(names, (std::vector<std::string>{"Sepal width", text + " confidence band",
                                               text + " prediction band"}));
    EXPECT_TRUE(scatter.HasLegend());
    char written_level[16];
    std::snprintf(written_level, sizeof written_level, "%g", level);
    for (const auto& [series, band] : {std::pair{2, "confidence"}, {3, "prediction"}}) {
      // The upper edge, a gap, the lower edge.
      const auto values = scatter.SeriesCollection(series).ValueNumbers();
      const auto upper = References("iris", std::string(band) + "_upper");
      const auto lower = References("iris", std::string(band) + "_lower");
      ASSERT_EQ(values.size(), 2 * kBandPoints + 1);
      EXPECT_FALSE(values[kBandPoints].has_value());
      std::size_t k = 0;
      for (const auto* edge : {&upper, &lower}) {
        for (const Reference& ref : *edge)
          if (ref.variable == written_level) {
            ASSERT_TRUE(values[k].has_value());
            EXPECT_LE(Relative(*values[k], ref.value), 1e-13) << band << " " << level << " " << k;
            ++k;
          }
        if (k == kBandPoints) ++k;
      }
      EXPECT_EQ(k, 2u * kBandPoints + 1) << level;
    }
  }
}

}  // namespace
