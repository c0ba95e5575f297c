// `orv report` on the built-in iris sample: every number of the written
// report, read back from the file, is what the library's classes return for
// the same data, and the p-values agree with R (cor.test, aov, TukeyHSD).
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "orv/arrays/clsMatrix.hpp"
#include "orv/output/theme.hpp"
#include "orv/distributions/CDistributions.hpp"
#include "orv/matrix/CMatrix.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/xlsx/xlsx.hpp"
#include "orv_report/sample_iris.hpp"
#include "report.hpp"
#include "report_test_util.hpp"

using namespace orv;
using namespace orv::report;
using namespace orv::report::testing;

namespace {

// Agreement with R, measured on these data and pinned (see
// scripts/make_report_reference.R). The correlation p-values come from
// Hill's t distribution, R's from its own pt. The Tukey p-values come from
// AS 190, which takes more than 120 error degrees of freedom as infinitely
// many: with the 147 of these data it gives ptukey(q, 3, Inf), up to
// 1.24e-3 below R's ptukey(q, 3, 147) (at q = 4.247, p = 0.0088).
constexpr double kCorrelationPRelative = 1e-9;  // measured: 1.8e-10 at worst
constexpr double kAnovaRelative = 1e-12;        // measured: 2.2e-15 (F), 1.6e-13 (p)
constexpr double kTukeyPAbsolute = 1.5e-3;      // measured: 1.24e-3 at worst

const std::vector<std::string> kNames = {"Sepal length", "Sepal width", "Petal length",
                                         "Petal width"};
const std::vector<std::string> kSpecies = {"setosa", "versicolor", "virginica"};

double Relative(double a, double b) { return std::fabs(a - b) / std::max(std::fabs(b), 1e-300); }

class ReportSample : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    run_ = new Outcome(Orv({"report", "-o", *dir_ / "report.xlsx"}));
    app_ = new excel::Application;
    if (run_->status == 0)
      book_ = new excel::Workbook(xlsx::OpenXlsx(*app_, *dir_ / "report.xlsx"));

    // The same data through the library, as the add-in would read them.
    const std::string csv = dir_->Write("iris.csv", std::string(kIrisCsv));
    Global<clsMain>().SetExcel(*app_);
    const excel::Workbook sample = xlsx::OpenCsv(*app_, csv);
    const Variant numbers =
        clsMatrix().ReturnHeadersAndNumericData(sample.ActiveSheet().Range("A1:D151"), true);
    values_ = new Array<double>(*numbers.Element(2).ArrayOf<double>());
    const Variant species =
        clsMatrix().ReturnHeadersAndStringData(sample.ActiveSheet().Range("E1:E151"), true);
    labels_ = new Array<std::string>(*species.Element(2).ArrayOf<std::string>());
    Global<clsMain>().SetExcel(excel::Application(Nothing));
  }
  static void TearDownTestSuite() {
    delete book_;
    delete app_;
    delete run_;
    delete dir_;
    delete values_;
    delete labels_;
  }
  void SetUp() override {
    ASSERT_EQ(run_->status, 0) << run_->err;
    ASSERT_NE(book_, nullptr);
  }

  static excel::Worksheet Report() { return book_->Worksheets("Report"); }
  static CMatrix X() {
    CMatrix x;
    x.LetValues(*values_);
    return x;
  }
  // The cases of one species, as a matrix.
  static CMatrix Species(const std::string& name) {
    std::vector<Long> rows;
    for (Long i = 1; i <= 150; ++i)
      if ((*labels_)(i, 1) == name) rows.push_back(i);
    Array<double> block(1, static_cast<Long>(rows.size()), 1, 4);
    for (std::size_t i = 0; i < rows.size(); ++i)
      for (Long j = 1; j <= 4; ++j) block(static_cast<Long>(i) + 1, j) = (*values_)(rows[i], j);
    CMatrix x;
    x.LetValues(block);
    return x;
  }

  static TempDir* dir_;
  static Outcome* run_;
  static excel::Application* app_;
  static excel::Workbook* book_;
  static Array<double>* values_;
  static Array<std::string>* labels_;
};

TempDir* ReportSample::dir_ = nullptr;
Outcome* ReportSample::run_ = nullptr;
excel::Application* ReportSample::app_ = nullptr;
excel::Workbook* ReportSample::book_ = nullptr;
Array<double>* ReportSample::values_ = nullptr;
Array<std::string>* ReportSample::labels_ = nullptr;

TEST(ReportSampleData, EmbeddedSampleIsTheCommittedFile) {
  std::ifstream in(std::string(ORV_TEST_DATA_DIR) + "/../../apps/orv/data/iris.csv",
                   std::ios::binary);
  ASSERT_TRUE(in);
  const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(file, std::string(kIrisCsv));
}

TEST_F(ReportSample, WritesReportAndDataSheetsAndNothingElse) {
  EXPECT_EQ(dir_->Files(), (std::vector<std::string>{"iris.csv", "report.xlsx"}));
  EXPECT_EQ(book_->Worksheets(1).Name(), "Report");
  EXPECT_EQ(book_->Worksheets(2).Name(), "Data");
  EXPECT_EQ(run_->err, "");
  EXPECT_NE(run_->out.find("150 cases, 4 variables, grouped by Species (column E): setosa 50, "
                           "versicolor 50, virginica 50"),
            std::string::npos)
      << run_->out;
  EXPECT_NE(run_->out.find("Wrote "), std::string::npos);
}

TEST_F(ReportSample, DataSheetHoldsTheCasesBitForBit) {
  const excel::Worksheet data = book_->Worksheets("Data");
  for (Long j = 1; j <= 4; ++j) EXPECT_EQ(data.Cells(1, j).Value().AsString(), kNames[j - 1]);
  EXPECT_EQ(data.Cells(1, 5).Value().AsString(), "Species");
  for (Long i = 1; i <= 150; ++i) {
    for (Long j = 1; j <= 4; ++j)
      ASSERT_EQ(data.Cells(i + 1, j).Value().AsDouble(), (*values_)(i, j));
    ASSERT_EQ(data.Cells(i + 1, 5).Value().AsString(), (*labels_)(i, 1));
  }
  EXPECT_TRUE(data.Cells(152, 1).Value().IsEmpty());
}

TEST_F(ReportSample, DescriptiveStatisticsAreTheLibrarys) {
  CMatrix means, sds, ses, counts;
  X().Descriptives(means, sds, ses, counts);
  const double t = CDistributions().ORV_IDF_t(Variant(1.0 - 0.95), Variant(149.0));
  EXPECT_NEAR(t, 1.9760131776891861, 1e-12);  // R: qt(0.975, 149)
  const SheetTable table = ReadTable(Report(), "Descriptive statistics");
  ASSERT_EQ(table.rows.size(), 4u);
  EXPECT_EQ(table.headers[5], "Lower 95% CL");
  for (Long j = 1; j <= 4; ++j) {
    const std::size_t r = static_cast<std::size_t>(j - 1);
    EXPECT_EQ(table.Text(r, 0), kNames[r]);
    EXPECT_EQ(table.Number(r, 1), counts.Item(j));
    EXPECT_EQ(table.Number(r, 2), means.Item(j));
    EXPECT_EQ(table.Number(r, 3), sds.Item(j));
    EXPECT_EQ(table.Number(r, 4), ses.Item(j));
    EXPECT_EQ(table.Number(r, 5), means.Item(j) - t * ses.Item(j));
    EXPECT_EQ(table.Number(r, 6), means.Item(j) + t * ses.Item(j));
    EXPECT_EQ(table.Number(r, 7), X().Column(j).Minimum());
    EXPECT_EQ(table.Number(r, 8), X().Column(j).Maximum());
  }
  // Known values of the data: the mean sepal length is 5.843333.
  EXPECT_NEAR(table.Number(0, 2), 876.5 / 150, 1e-12);
}

TEST_F(ReportSample, CorrelationsAreTheLibrarysAndTheirPValuesAgreeWithR) {
  const CMatrix r = X().Correlation();
  const SheetTable rt = ReadTable(Report(), "Correlation matrix (Pearson r)");
  const SheetTable pt = ReadTable(Report(), "Correlation p-values (two-tailed t test, n - 2 df)");
  ASSERT_EQ(rt.rows.size(), 4u);
  ASSERT_EQ(pt.rows.size(), 4u);
  for (Long i = 1; i <= 4; ++i)
    for (Long j = 1; j <= 4; ++j) {
      const std::size_t ri = static_cast<std::size_t>(i - 1), cj = static_cast<std::size_t>(j);
      EXPECT_EQ(rt.Number(ri, cj), r.Item(i, j));
      if (i == j) {
        EXPECT_TRUE(pt.rows[ri][cj].IsEmpty());
        continue;
      }
      const double rij = r.Item(i, j);
      const double tv = rij * std::sqrt(148.0 / (1.0 - rij * rij));
      EXPECT_EQ(pt.Number(ri, cj), CDistributions().ORV_CDF_t(tv, 148, 2));
    }
  for (const Reference& ref : References("iris", "cor_p")) {
    const auto i = std::find(kNames.begin(), kNames.end(), ref.variable) - kNames.begin();
    const auto j = std::find(kNames.begin(), kNames.end(), ref.term) - kNames.begin();
    ASSERT_LT(i, 4);
    ASSERT_LT(j, 4);
    EXPECT_LE(Relative(pt.Number(static_cast<std::size_t>(i), static_cast<std::size_t>(j) + 1),
                       ref.value),
              kCorrelationPRelative)
        << ref.variable << " / " << ref.term;
  }
}

TEST_F(ReportSample, ComponentsAreTheLibrarysEigenDecomposition) {
  const CMatrix e = X().Correlation().EigenValuesAndVectors();
  const SheetTable pc = ReadTable(Report(), "Principal components of the correlation matrix");
  const SheetTable ld =
      ReadTable(Report(), "Component loadings (eigenvector x square root of eigenvalue)");
  ASSERT_EQ(pc.rows.size(), 3u);
  ASSERT_EQ(ld.rows.size(), 4u);
  EXPECT_EQ(pc.Text(0, 0), "Eigenvalue");
  double total = 0;
  for (Long j = 1; j <= 4; ++j) total += e.Item(1, j);
  EXPECT_NEAR(total, 4.0, 1e-12);  // the trace of a correlation matrix
  double cumulative = 0;
  const auto refs = References("iris", "eigenvalue");
  ASSERT_EQ(refs.size(), 4u);
  for (Long j = 1; j <= 4; ++j) {
    const std::size_t c = static_cast<std::size_t>(j);
    EXPECT_EQ(pc.Number(0, c), e.Item(1, j));
    EXPECT_NEAR(pc.Number(0, c), refs[c - 1].value, 1e-12);  // R: eigen(cor(iris[, 1:4]))
    EXPECT_EQ(pc.Number(1, c), e.Item(1, j) / total * 100.0);
    cumulative += e.Item(1, j) / total * 100.0;
    EXPECT_EQ(pc.Number(2, c), cumulative);
    for (Long i = 1; i <= 4; ++i)
      EXPECT_EQ(ld.Number(static_cast<std::size_t>(i - 1), c),
                e.Item(i + 1, j) * std::sqrt(e.Item(1, j)));
  }
  EXPECT_NEAR(pc.Number(2, 4), 100.0, 1e-12);
}

TEST_F(ReportSample, GroupStatisticsAreTheLibrarysDescriptivesOfEachSpecies) {
  const SheetTable t = ReadTable(Report(), "Group statistics by Species");
  ASSERT_EQ(t.rows.size(), 12u);
  for (std::size_t s = 0; s < 3; ++s) {
    CMatrix means, sds, ses, counts;
    Species(kSpecies[s]).Descriptives(means, sds, ses, counts);
    for (Long j = 1; j <= 4; ++j) {
      const std::size_t r = static_cast<std::size_t>(j - 1) * 3 + s;
      EXPECT_EQ(t.Text(r, 0), kNames[static_cast<std::size_t>(j - 1)]);
      EXPECT_EQ(t.Text(r, 1), kSpecies[s]);
      EXPECT_EQ(t.Number(r, 2), 50.0);
      EXPECT_EQ(t.Number(r, 3), means.Item(j));
      EXPECT_EQ(t.Number(r, 4), sds.Item(j));
    }
  }
}

TEST_F(ReportSample, AnalysisOfVarianceAgreesWithR) {
  const SheetTable t = ReadTable(Report(), "One-way analysis of variance by Species");
  ASSERT_EQ(t.rows.size(), 4u);
  const auto fs = References("iris", "anova_F");
  const auto ps = References("iris", "anova_p");
  ASSERT_EQ(fs.size(), 4u);
  CMatrix means, sds, ses, counts;
  X().Descriptives(means, sds, ses, counts);
  for (std::size_t r = 0; r < 4; ++r) {
    EXPECT_EQ(t.Text(r, 0), kNames[r]);
    EXPECT_EQ(t.Number(r, 2), 2.0);
    EXPECT_EQ(t.Number(r, 5), 147.0);
    // Between and within add up to the total sum of squares.
    const double sd = sds.Item(static_cast<Long>(r) + 1);
    EXPECT_LE(Relative(t.Number(r, 1) + t.Number(r, 4), 149.0 * sd * sd), 1e-13);
    EXPECT_EQ(t.Number(r, 3), t.Number(r, 1) / 2.0);
    EXPECT_EQ(t.Number(r, 6), t.Number(r, 4) / 147.0);
    EXPECT_EQ(t.Number(r, 7), t.Number(r, 3) / t.Number(r, 6));
    EXPECT_LE(Relative(t.Number(r, 7), fs[r].value), kAnovaRelative) << kNames[r];
    EXPECT_LE(Relative(t.Number(r, 8), ps[r].value), kAnovaRelative) << kNames[r];
  }
  // Known from the literature on these data: F(2, 147) = 119.26 for the
  // sepal length.
  EXPECT_NEAR(t.Number(0, 7), 119.26, 0.005);
}

TEST_F(ReportSample, TukeyKramerComparisonsAgreeWithR) {
  const SheetTable t = ReadTable(Report(), "Tukey-Kramer pairwise comparisons");
  ASSERT_EQ(t.rows.size(), 12u);
  const auto diffs = References("iris", "tukey_diff");
  const auto ps = References("iris", "tukey_p");
  ASSERT_EQ(diffs.size(), 12u);
  const SheetTable anova = ReadTable(Report(), "One-way analysis of variance by Species");
  for (std::size_t r = 0; r < 12; ++r) {
    EXPECT_EQ(t.Text(r, 0), diffs[r].variable);
    std::string term = diffs[r].term;  // "versicolor-setosa"
    term.replace(term.find('-'), 1, " - ");
    EXPECT_EQ(t.Text(r, 1), term);
    EXPECT_NEAR(t.Number(r, 2), diffs[r].value, 1e-12);
    const double mse = anova.Number(r / 3, 6);
    EXPECT_EQ(t.Number(r, 3), std::sqrt(mse / 2.0 * (1.0 / 50 + 1.0 / 50)));
    EXPECT_EQ(t.Number(r, 4), std::fabs(t.Number(r, 2)) / t.Number(r, 3));
    EXPECT_EQ(t.Number(r, 5), CDistributions().ORV_CDF_Q(t.Number(r, 4), 147, 3));
    EXPECT_NEAR(t.Number(r, 5), ps[r].value, kTukeyPAbsolute) << diffs[r].variable << " " << term;
  }
}

TEST_F(ReportSample, HistogramBinsAreRsHistogramOfSepalLength) {
  const SheetTable t = ReadTable(Report(), "Histogram bins of Sepal length");
  // R: hist(iris$Sepal.Length, breaks = seq(4, 8, 0.5), right = FALSE)$counts;
  // nclass.Sturges gives 9, made nice to 8 bins of 0.5.
  const std::vector<double> counts = {4, 18, 30, 31, 32, 22, 7, 6};
  ASSERT_EQ(t.rows.size(), counts.size());
  EXPECT_EQ(t.Text(0, 0), "4.0 to < 4.5");
  EXPECT_EQ(t.Text(7, 0), "7.5 to <= 8.0");
  for (std::size_t b = 0; b < counts.size(); ++b) {
    EXPECT_EQ(t.Number(b, 1), 4.0 + 0.5 * static_cast<double>(b));
    EXPECT_EQ(t.Number(b, 2), 4.5 + 0.5 * static_cast<double>(b));
    EXPECT_EQ(t.Number(b, 3), counts[b]);
  }
}

TEST(ReportSampleCharts, TheChartClassesDrawFourChartsOfTheReportsData) {
  excel::Application app;
  Global<clsMain>().SetExcel(app);
  UseReadableTheme();
  Progress silent;
  const ReportData data = LoadReportData(app, ReportOptions{}, silent);
  const Analysis analysis = Analyse(data, 0.95);
  const WrittenReport written = BuildWorkbook(app, data, analysis, silent);
  Global<clsMain>().SetExcel(excel::Application(Nothing));

  EXPECT_EQ(written.warnings, std::vector<std::string>{});
  EXPECT_EQ(written.charts, (std::vector<std::string>{"Sepal width against Sepal length",
                                                      "Histogram of Sepal length", "Scree plot",
                                                      "Loadings on PC1 and PC2"}));
  const excel::Worksheet report = written.book.Worksheets("Report");
  ASSERT_EQ(report.ChartObjects().Count(), 4);

  // The scatter plots the Data sheet's first two columns with the fitted
  // line and the bands of the chart class.
  const excel::Chart scatter = report.ChartObjects(1).Chart();
  EXPECT_EQ(scatter.ChartTitle().Text(),
            "Sepal width against Sepal length\rRegression line and 95% confidence bands");
  const excel::Series points = scatter.SeriesCollection(1);
  EXPECT_EQ(points.XValuesRange().Address(false, false, true), "[Book1]Data!A2:A151");
  EXPECT_EQ(points.ValuesRange().Address(false, false, true), "[Book1]Data!B2:B151");
  EXPECT_EQ(points.Trendlines().Count(), 1);
  std::vector<std::string> names;
  for (Long s = 2; s <= scatter.SeriesCollection().Count(); ++s)
    names.push_back(scatter.SeriesCollection(s).Name());
  EXPECT_EQ(names, (std::vector<std::string>{"UpperBand", "LowerBand"}));

  // The histogram's columns are the frequencies of the bins table.
  const excel::Chart histogram = report.ChartObjects(2).Chart();
  std::vector<double> counts;
  for (const auto& v : histogram.SeriesCollection(1).ValueNumbers())
    counts.push_back(v.value_or(-1));
  EXPECT_EQ(counts, analysis.histogram.counts);

  // The scree plot's points are the eigenvalues.
  const excel::Chart scree = report.ChartObjects(3).Chart();
  const auto eigen = scree.SeriesCollection(1).ValueNumbers();
  ASSERT_EQ(eigen.size(), 4u);
  for (Long j = 1; j <= 4; ++j)
    EXPECT_EQ(eigen[static_cast<std::size_t>(j - 1)].value_or(-1), analysis.components.values(j));
}

}  // namespace
