// clsPlotScatter: what CreatePlot adds to the data series: the regression
// line read back from the trendline, computed and given bands, the star,
// crosshairs and the line segment.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "chart_test_util.hpp"
#include "orv/charts/clsPlotScatter.hpp"
#include "orv/excel/excel.hpp"
#include "orv/output/clsMain.hpp"

using namespace orv;

namespace {

using namespace orv::test;

std::vector<double> Numbers(const std::vector<std::optional<double>>& values) {
  std::vector<double> out;
  for (const auto& v : values) out.push_back(v ? *v : std::nan(""));
  return out;
}

// Two-tailed Student t quantiles, from R: qt(1 - p / 2, df).
constexpr double kT05df3 = 3.182446305284263;  // qt(0.975, 3)
constexpr double kT10df3 = 2.353363434801823;  // qt(0.95, 3)
constexpr double kT05df4 = 2.776445105197799;  // qt(0.975, 4)

std::string Label(int i) { return std::string(1, 'v').append(std::to_string(i)); }

Variant Column(const std::vector<double>& values) {
  Array<double> a(1, static_cast<Long>(values.size()), 1, 1);
  for (std::size_t i = 0; i < values.size(); ++i) a.At(static_cast<Long>(i) + 1, 1) = values[i];
  return Variant(std::move(a));
}

class clsPlotScatterExtras : public ::testing::Test {
 protected:
  void SetUp() override {
    app_.Workbooks().Add();
    sheet_ = app_.ActiveSheet();
    clsMain().SetExcel(app_);
  }
  void TearDown() override { clsMain().SetExcel(excel::Application(Nothing)); }

  excel::Range Put(const std::string& first, const std::vector<Variant>& values) {
    const excel::Range top = sheet_.Range(first);
    for (std::size_t i = 0; i < values.size(); ++i)
      top.Cells(static_cast<Long>(i) + 1, 1).LetValue(values[i]);
    return sheet_.Range(top, top.Cells(static_cast<Long>(values.size()), 1));
  }

  clsPlotScatter Plot(const std::vector<Variant>& x, const std::vector<Variant>& y) {
    clsPlotScatter plot;
    plot.SetXValues(Put("A2", x));
    plot.SetYValues(Put("B2", y));
    plot.SetOutputRange(sheet_.Range("E2"));
    return plot;
  }
  // x 1..5 against y 2, 4, 5, 4, 5: Sxx = 10, Sxy = 6, Syy = 6, so
  // b = 0.6, a = 2.2, s² = (6 - 3.6) / 3 = 0.8; through the origin
  // b = 66 / 55 = 1.2 and s² = (86 - 79.2) / 4 = 1.7.
  clsPlotScatter Textbook() { return Plot({1.0, 2.0, 3.0, 4.0, 5.0}, {2.0, 4.0, 5.0, 4.0, 5.0}); }

  excel::Chart LastChart() const {
    const excel::ChartObjects objects = sheet_.ChartObjects();
    return objects.Item(objects.Count()).Chart();
  }
  std::vector<std::string> SeriesNames() const {
    std::vector<std::string> names;
    const excel::SeriesCollection all = LastChart().SeriesCollection();
    for (Long i = 1; i <= all.Count(); ++i) names.push_back(all.Item(i).Name());
    return names;
  }
  excel::Series Named(const std::string& name) const {
    const excel::SeriesCollection all = LastChart().SeriesCollection();
    for (Long i = 1; i <= all.Count(); ++i)
      if (all.Item(i).Name() == name) return all.Item(i);
    ADD_FAILURE() << "no series " << name;
    return excel::Series();
  }

  // Band series against fit(x) ± t h(x) at the ten x of 1..5, in single
  // precision.
  void ExpectBands(const std::function<double(double)>& fit, const std::function<double(double)>& h,
                   double t) {
    const excel::Series upper = Named("UpperBand");
    const excel::Series lower = Named("LowerBand");
    const std::vector<double> ux = Numbers(upper.XValueNumbers());
    const std::vector<double> uy = Numbers(upper.ValueNumbers());
    const std::vector<double> lx = Numbers(lower.XValueNumbers());
    const std::vector<double> ly = Numbers(lower.ValueNumbers());
    ASSERT_EQ(uy.size(), 10u);
    ASSERT_EQ(ly.size(), 10u);
    for (int i = 0; i < 10; ++i) {
      const double x = 1 + i * (4.0 / 9.0);
      EXPECT_FLOAT_EQ(ux[i], x) << i;
      EXPECT_EQ(ux[i], lx[i]);
      EXPECT_EQ(ux[i], static_cast<double>(static_cast<float>(ux[i])));  // single precision
      EXPECT_FLOAT_EQ(uy[i], fit(x) + t * h(x)) << i;
      EXPECT_FLOAT_EQ(ly[i], fit(x) - t * h(x)) << i;
    }
  }

  excel::Application app_;
  excel::Worksheet sheet_;
};

}  // namespace

// --- regression line read back from the trendline ---

TEST_F(clsPlotScatterExtras, FittedLineIsReadBackFromTheEquation) {
  clsPlotScatter plot = Plot({1.0, 2.0, 3.0, 4.0}, {1.75, 2.25, 2.75, 3.25});
  plot.LetRegression(ORVPSRegCalculate);
  plot.CreatePlot();
  EXPECT_EQ(plot.Slope(), 0.5);
  EXPECT_EQ(plot.Intercept(), 1.25);
  const excel::Series data = Named("Data");
  ASSERT_EQ(data.Trendlines().Count(), 1);
  const excel::Trendline trend = data.Trendlines(1);
  EXPECT_EQ(trend.Type(), excel::xlLinear);
  EXPECT_TRUE(trend.InterceptIsAuto());
  EXPECT_EQ(trend.Border().Weight(), excel::xlThin);
  EXPECT_FALSE(trend.DisplayEquation());  // shown only to be read
  EXPECT_EQ(SeriesNames(), (std::vector<std::string>{"Data"}));
}

TEST_F(clsPlotScatterExtras, NegativeInterceptHasNoPlusAndKeepsItsValue) {
  clsPlotScatter plot = Plot({1.0, 2.0, 3.0, 4.0}, {-1.0, 1.0, 3.0, 5.0});  // y = 2x - 3
  plot.LetRegression(ORVPSRegCalculate);
  plot.LetSlope(9);
  plot.LetIntercept(7);
  plot.CreatePlot();
  EXPECT_EQ(plot.Slope(), 2);      // read before the intercept
  EXPECT_EQ(plot.Intercept(), 7);  // "y = 2x - 3" has no "+ "
}

TEST_F(clsPlotScatterExtras, ForcedZeroInterceptFitsThroughTheOrigin) {
  clsPlotScatter plot = Plot({1.0, 2.0, 3.0, 4.0}, {2.0, 4.0, 7.0, 8.0});
  plot.LetRegression(ORVPSRegCalculate);
  plot.LetConstantIs0(true);
  plot.LetIntercept(7);
  plot.CreatePlot();
  EXPECT_DOUBLE_EQ(plot.Slope(), 2.1);  // sum xy / sum x² = 63 / 30
  EXPECT_EQ(plot.Intercept(), 0);
  const excel::Trendline trend = Named("Data").Trendlines(1);
  EXPECT_FALSE(trend.InterceptIsAuto());
  EXPECT_EQ(trend.Intercept(), 0);
}

TEST_F(clsPlotScatterExtras, AnEquationThatDoesNotParseLeavesTheLineAlone) {
  // y = x + 2 is written "y = x + 2": no number between "= " and "x".
  clsPlotScatter plot = Plot({1.0, 2.0, 3.0}, {3.0, 4.0, 5.0});
  plot.LetRegression(ORVPSRegCalculate);
  plot.LetSlope(-4);
  plot.LetIntercept(-6);
  plot.CreatePlot();
  EXPECT_EQ(plot.Slope(), -4);
  EXPECT_EQ(plot.Intercept(), -6);
  // The bounds were not widened by the (unread) line: y axis 2.98..5.02.
  const excel::Axis y = LastChart().Axes(excel::xlValue, excel::xlPrimary);
  EXPECT_EQ(y.MinimumScale(), 2);
  EXPECT_EQ(y.MaximumScale(), 6);
}

TEST_F(clsPlotScatterExtras, CalculatedLineBeyondTheDataWidensTheYAxis) {
  // Fitted y = -8x + 124 over x 0..4 ends at 92, below the axis minimum
  // of 95 that the data 100..140 get on nine ticks.
  clsPlotScatter plot = Plot({0.0, 1.0, 2.0, 3.0, 4.0}, {140.0, 100.0, 100.0, 100.0, 100.0});
  plot.LetChartHeight(300);
  plot.LetRegression(ORVPSRegCalculate);
  plot.CreatePlot();
  EXPECT_EQ(plot.Slope(), -8);
  EXPECT_EQ(plot.Intercept(), 124);
  // Rescaled from 92..145 (the running bounds start at the axis's 95..145):
  // 91.47..145.53 spans a nice 100, in units of 10.
  const excel::Axis y = LastChart().Axes(excel::xlValue, excel::xlPrimary);
  EXPECT_EQ(y.MinimumScale(), 90);
  EXPECT_EQ(y.MaximumScale(), 150);
  EXPECT_EQ(y.MajorUnit(), 10);
}

TEST_F(clsPlotScatterExtras, SpecifiedLineIsASeriesAcrossTheData) {
  clsPlotScatter plot = Plot({1.0, 2.0, 4.0}, {1.0, 2.0, 3.0});
  plot.LetRegression(ORVPSRegSpecified);
  plot.LetSlope(-2);
  plot.LetIntercept(1.5);
  plot.CreatePlot();
  EXPECT_EQ(SeriesNames(), (std::vector<std::string>{"Data", "Regression"}));
  const excel::Series line = Named("Regression");
  EXPECT_EQ(Numbers(line.XValueNumbers()), (std::vector<double>{1, 4}));
  EXPECT_EQ(Numbers(line.ValueNumbers()), (std::vector<double>{-0.5, -6.5}));
  EXPECT_EQ(line.MarkerStyle(), excel::xlMarkerStyleNone);
  EXPECT_EQ(line.Border().ColorIndex(), 1);
  EXPECT_EQ(line.Border().Weight(), excel::xlThin);
  EXPECT_EQ(line.Border().LineStyle(), excel::xlContinuous);
  EXPECT_EQ(plot.Slope(), -2);  // not refitted
  // The axis 0..4 of y 1..3 widened to -6.5..4: -6.605..4.105 spans a
  // nice 20, in units of 5.
  const excel::Axis y = LastChart().Axes(excel::xlValue, excel::xlPrimary);
  EXPECT_EQ(y.MinimumScale(), -10);
  EXPECT_EQ(y.MaximumScale(), 5);
  EXPECT_EQ(y.MajorUnit(), 5);
  EXPECT_EQ(y.CrossesAt(), -10);
}

TEST_F(clsPlotScatterExtras, OtherRegressionValuesDrawNoLine) {
  clsPlotScatter plot = Textbook();
  plot.LetRegression(static_cast<ORVPSRegression>(7));
  plot.CreatePlot();
  EXPECT_EQ(SeriesNames(), (std::vector<std::string>{"Data"}));
  EXPECT_EQ(Named("Data").Trendlines().Count(), 0);
}

// --- computed bands ---

TEST_F(clsPlotScatterExtras, ConfidenceBandsAt95Percent) {
  clsPlotScatter plot = Textbook();
  plot.LetConfidenceLimits(95);
  plot.CreatePlot();
  EXPECT_EQ(SeriesNames(), (std::vector<std::string>{"Data", "UpperBand", "LowerBand"}));
  ExpectBands([](double x) { return 0.6 * x + 2.2; },
              [](double x) { return std::sqrt(((x - 3) * (x - 3) / 10 + 0.2) * 0.8); }, kT05df3);
  for (const char* name : {"UpperBand", "LowerBand"}) {
    const excel::Series band = Named(name);
    EXPECT_TRUE(band.Smooth());
    EXPECT_EQ(band.MarkerStyle(), excel::xlMarkerStyleNone);
    EXPECT_EQ(band.Border().ColorIndex(), 1);
    EXPECT_EQ(band.Border().Weight(), excel::xlHairline);
    EXPECT_EQ(band.Border().LineStyle(), excel::xlDot);
  }
  // The bands reach 0.595..7.405, beyond the data's 1..6: rescaled.
  const excel::Axis y = LastChart().Axes(excel::xlValue, excel::xlPrimary);
  EXPECT_EQ(y.MinimumScale(), 0);
  EXPECT_EQ(y.MaximumScale(), 8);
  EXPECT_EQ(y.MajorUnit(), 2);
  EXPECT_EQ(y.CrossesAt(), 0);
}

TEST_F(clsPlotScatterExtras, PredictionLevelOverridesTheConfidenceLevel) {
  clsPlotScatter plot = Textbook();
  plot.LetConfidenceLimits(95);
  plot.LetPredictionLimits(90);
  plot.CreatePlot();
  ExpectBands([](double x) { return 0.6 * x + 2.2; },
              [](double x) { return std::sqrt(((x - 3) * (x - 3) / 10 + 0.2 + 1) * 0.8); },
              kT10df3);
}

TEST_F(clsPlotScatterExtras, BandsThroughTheOrigin) {
  clsPlotScatter plot = Textbook();
  plot.LetConfidenceLimits(95);
  plot.LetConstantIs0(true);
  plot.CreatePlot();
  ExpectBands([](double x) { return 1.2 * x; },
              [](double x) { return std::sqrt((x * x / 55) * 1.7); }, kT05df4);
}

TEST_F(clsPlotScatterExtras, StandardErrorWithoutALevelIsOneStandardError) {
  for (Integer level : {0, 101}) {
    clsPlotScatter plot = Textbook();
    plot.LetStandardError(true);
    plot.LetConfidenceLimits(level);
    plot.CreatePlot();
    ExpectBands([](double x) { return 0.6 * x + 2.2; },
                [](double x) { return std::sqrt(((x - 3) * (x - 3) / 10 + 0.2) * 0.8); }, 1);
  }
}

TEST_F(clsPlotScatterExtras, BandsNeedTheirDataToComputeFrom) {
  // All X text: no numbers to average.
  clsPlotScatter text = Plot({"a", "b", "c"}, {1.0, 2.0, 3.0});
  text.LetConfidenceLimits(95);
  ExpectError([&] { text.CreatePlot(); }, 1004, Src("GetCL.CreatePlot", 10),
              "Unable to get the Average property of the WorksheetFunction class");
  // All X equal: Sxy / Sxx is 0 / 0.
  clsPlotScatter flat = Plot({2.0, 2.0, 2.0}, {1.0, 2.0, 3.0});
  flat.LetPredictionLimits(95);
  ExpectError([&] { flat.CreatePlot(); }, 6, Src("GetCL.CreatePlot", 30), "Overflow");
  // A level of 100 asks for the quantile of probability 0.
  clsPlotScatter full = Textbook();
  full.LetConfidenceLimits(100);
  ExpectError([&] { full.CreatePlot(); }, 1004, Src("GetCL.CreatePlot", 40),
              "Unable to get the TInv property of the WorksheetFunction class");
}

// --- given bands ---

TEST_F(clsPlotScatterExtras, GivenBandsGetQuadraticTrendlines) {
  clsPlotScatter plot = Textbook();
  const excel::Range lower = Put("C2", {1.0, 2.0, 3.0, 3.0, 3.5});
  const excel::Range upper = Put("D2", {3.0, 5.0, 6.0, 6.5, 9.5});
  plot.SetCLLower(lower);
  plot.SetCLUpper(upper);
  plot.CreatePlot();
  EXPECT_EQ(SeriesNames(), (std::vector<std::string>{"Data", "LowerBand", "UpperBand"}));
  EXPECT_TRUE(Named("LowerBand").ValuesRange() == lower);
  EXPECT_TRUE(Named("UpperBand").ValuesRange() == upper);
  for (const char* name : {"LowerBand", "UpperBand"}) {
    const excel::Series band = Named(name);
    EXPECT_TRUE(band.XValuesRange() == sheet_.Range("A2:A6"));
    EXPECT_FALSE(band.Border().Visible());
    EXPECT_EQ(band.MarkerStyle(), excel::xlMarkerStyleNone);
    ASSERT_EQ(band.Trendlines().Count(), 1);
    const excel::Trendline trend = band.Trendlines(1);
    EXPECT_EQ(trend.Type(), excel::xlPolynomial);
    EXPECT_EQ(trend.Order(), 2);
    EXPECT_EQ(trend.Border().Weight(), excel::xlHairline);
    EXPECT_EQ(trend.Border().LineStyle(), excel::xlDot);
  }
  // Upper reaches 9.5, lower 1: 0.915..9.585 on units of 2.
  const excel::Axis y = LastChart().Axes(excel::xlValue, excel::xlPrimary);
  EXPECT_EQ(y.MinimumScale(), 0);
  EXPECT_EQ(y.MaximumScale(), 10);
}

TEST_F(clsPlotScatterExtras, GivenBandsOverEqualXAreDashes) {
  clsPlotScatter plot = Plot({3.0, 3.0, 3.0}, {1.0, 2.0, 3.0});
  plot.SetCLLower(Put("C2", {0.5, 0.5, 0.5}));
  plot.SetCLUpper(Put("D2", {3.5, 3.5, 3.5}));
  plot.CreatePlot();
  for (const char* name : {"LowerBand", "UpperBand"}) {
    const excel::Series band = Named(name);
    EXPECT_EQ(band.MarkerStyle(), excel::xlMarkerStyleDash);
    EXPECT_EQ(band.MarkerForegroundColorIndex(), 11);
    EXPECT_EQ(band.Trendlines().Count(), 0);
  }
}

TEST_F(clsPlotScatterExtras, OneGivenBandAloneIsNotDrawn) {
  clsPlotScatter plot = Textbook();
  plot.SetCLUpper(Put("D2", {3.0, 5.0, 6.0, 6.5, 9.5}));
  plot.CreatePlot();
  EXPECT_EQ(SeriesNames(), (std::vector<std::string>{"Data"}));
}

// --- star ---

TEST_F(clsPlotScatterExtras, StarOfFifteenPointsIsTwoSeriesOfRays) {
  std::vector<double> sx, sy;
  Array<std::string> labels(1, 15);
  for (int i = 1; i <= 15; ++i) {
    sx.push_back(0.05 * i);
    sy.push_back(-0.04 * i);
    labels.At(i) = Label(i);
  }
  // Data box x -3..6, y -6..2; star x 0.05..0.75, y -0.6..-0.04:
  // fX = 6 / 0.75 = 8 (the minimum ratio -3 / 0.05 is negative),
  // fY = min(-6 / -0.6, 2 / -0.04 < 0) = 10; f = 8.
  clsPlotScatter plot = Plot({-3.0, 6.0}, {-6.0, 2.0});
  plot.StarPoints(Column(sx), Column(sy), Variant(labels));
  plot.CreatePlot();
  const excel::SeriesCollection all = LastChart().SeriesCollection();
  ASSERT_EQ(all.Count(), 3);
  const excel::Series first = all.Item(2), second = all.Item(3);
  const std::vector<double> x1 = Numbers(first.XValueNumbers());
  const std::vector<double> y1 = Numbers(first.ValueNumbers());
  const std::vector<double> x2 = Numbers(second.XValueNumbers());
  ASSERT_EQ(x1.size(), 20u);
  ASSERT_EQ(x2.size(), 10u);
  for (int k = 1; k <= 20; ++k) {
    const int point = (k + 1) / 2;  // star point 1..10
    if (k % 2 == 1) {
      EXPECT_EQ(x1[k - 1], 0);
      EXPECT_EQ(y1[k - 1], 0);
      EXPECT_EQ(first.Points(k).DataLabel().Text(), " ");
    } else {
      EXPECT_DOUBLE_EQ(x1[k - 1], 8 * (0.05 * point));
      EXPECT_DOUBLE_EQ(y1[k - 1], 8 * (-0.04 * point));
      EXPECT_EQ(first.Points(k).DataLabel().Text(), Label(point));
    }
    EXPECT_EQ(CDbl(first.Points(k).DataLabel().Font().Size()), 8);
    EXPECT_FALSE(first.Points(k).DataLabel().AutoScaleFont());
  }
  EXPECT_DOUBLE_EQ(x2[9], 8 * (0.05 * 15));
  EXPECT_EQ(second.Points(10).DataLabel().Text(), "v15");
  EXPECT_EQ(second.Points(9).DataLabel().Text(), " ");
  for (const excel::Series& rays : {first, second}) {
    EXPECT_EQ(rays.ChartType(), excel::xlXYScatter);
    EXPECT_EQ(rays.MarkerStyle(), excel::xlMarkerStyleNone);
    EXPECT_EQ(rays.Border().LineStyle(), excel::xlContinuous);
    EXPECT_EQ(rays.Border().Weight(), excel::xlHairline);
    EXPECT_EQ(rays.Border().ColorIndex(), 1);
    EXPECT_EQ(rays.DataLabelsType(), excel::xlDataLabelsShowLabel);
  }
}

TEST_F(clsPlotScatterExtras, StarScaleFactors) {
  struct Case {
    std::vector<Variant> x, y;
    std::vector<double> star_x, star_y;
    double f;
  };
  const std::vector<Case> cases = {
      // Both ratios positive: the smaller; fX = min(-4 / -0.5, 8 / 0.8) = 8,
      // fY = min(-3 / -0.6, 6 / 0.4) = 5.
      {{-4.0, 8.0}, {-3.0, 6.0}, {-0.5, 0.8}, {-0.6, 0.4}, 5},
      // No positive ratio on either axis: 1.
      {{-8.0, -1.0}, {-8.0, -1.0}, {0.5, 0.8}, {0.5, 0.8}, 1},
      // A star minimum of 0 counts as no ratio: fX = 6 / 2 = 3, fY = 4 / 0.5.
      {{1.0, 6.0}, {1.0, 4.0}, {0.0, 2.0}, {0.0, 0.5}, 3},
  };
  for (const Case& c : cases) {
    clsPlotScatter plot = Plot(c.x, c.y);
    plot.StarPoints(Column(c.star_x), Column(c.star_y));
    plot.CreatePlot();
    const excel::Series rays = LastChart().SeriesCollection(2);
    const std::vector<double> xs = Numbers(rays.XValueNumbers());
    const std::vector<double> ys = Numbers(rays.ValueNumbers());
    ASSERT_EQ(xs.size(), 4u);
    EXPECT_DOUBLE_EQ(xs[1], c.f * c.star_x[0]);
    EXPECT_DOUBLE_EQ(xs[3], c.f * c.star_x[1]);
    EXPECT_DOUBLE_EQ(ys[3], c.f * c.star_y[1]);
  }
}

TEST_F(clsPlotScatterExtras, StarWithoutLabelsHasBlankLabels) {
  clsPlotScatter plot = Plot({-1.0, 1.0}, {-1.0, 1.0});
  plot.StarPoints(Column({0.5, -0.5}), Column({0.25, 0.5}));
  plot.CreatePlot();
  const excel::Series rays = LastChart().SeriesCollection(2);
  ASSERT_EQ(rays.Points().Count(), 4);
  for (Long k = 1; k <= 4; ++k) EXPECT_EQ(rays.Points(k).DataLabel().Text(), " ");
}

TEST_F(clsPlotScatterExtras, BadStarInputFails) {
  clsPlotScatter scalar = Plot({-1.0, 1.0}, {-1.0, 1.0});
  scalar.StarPoints(Variant(0.5), Variant(0.5));
  ExpectError([&] { scalar.CreatePlot(); }, 13, Src("RescaleStar.CreatePlot", 30), "Type mismatch");

  clsPlotScatter short_y = Plot({-1.0, 1.0}, {-1.0, 1.0});
  short_y.StarPoints(Column({0.5, -0.5}), Column({0.25}));
  ExpectError([&] { short_y.CreatePlot(); }, 9, Src("RescaleStar.CreatePlot", 30),
              "Subscript out of range");

  clsPlotScatter few_labels = Plot({-1.0, 1.0}, {-1.0, 1.0});
  Array<std::string> one(1, 1);
  one.At(1) = "only";
  few_labels.StarPoints(Column({0.5, -0.5}), Column({0.25, 0.5}), Variant(one));
  ExpectError([&] { few_labels.CreatePlot(); }, 9, Src("CreatePlot", 160),
              "Subscript out of range");
}

TEST_F(clsPlotScatterExtras, SecondPlotRescalesTheRaysAgain) {
  clsPlotScatter plot = Plot({-1.0, 2.0}, {-1.0, 2.0});
  plot.StarPoints(Column({0.5}), Column({0.25}));
  plot.CreatePlot();  // fX = 2 / 0.5 = 4, fY = 2 / 0.25 = 8: rays to (2, 1)
  EXPECT_EQ(Numbers(LastChart().SeriesCollection(2).XValueNumbers()), (std::vector<double>{0, 2}));
  plot.CreatePlot();  // the list (0, 2), (0, 1) again: f = min(1, 2)
  EXPECT_EQ(Numbers(LastChart().SeriesCollection(2).XValueNumbers()),
            (std::vector<double>{0, 0, 0, 2}));
  EXPECT_EQ(Numbers(LastChart().SeriesCollection(2).ValueNumbers()),
            (std::vector<double>{0, 0, 0, 1}));
}

// --- crosshairs and the line segment ---

TEST_F(clsPlotScatterExtras, CrosshairsFollowTheFinalAxes) {
  for (ORVPSCrosshairs which :
       {orvPSNone, orvPSHorizontal, orvPSVertical, orvPSBoth, static_cast<ORVPSCrosshairs>(4)}) {
    clsPlotScatter plot = Textbook();
    plot.LetConfidenceLimits(95);  // rescales y to 0..8
    plot.LetCrosshairs(which);
    plot.CreatePlot();
    std::vector<std::string> expected = {"Data", "UpperBand", "LowerBand"};
    if (which == orvPSVertical || which == orvPSBoth) expected.push_back("VGuide");
    if (which == orvPSHorizontal || which == orvPSBoth) expected.push_back("HGuide");
    EXPECT_EQ(SeriesNames(), expected) << which;
    if (which == orvPSBoth) {
      const excel::Series v = Named("VGuide"), h = Named("HGuide");
      EXPECT_EQ(Numbers(v.XValueNumbers()), (std::vector<double>{0, 0}));
      EXPECT_EQ(Numbers(v.ValueNumbers()), (std::vector<double>{0, 8}));
      EXPECT_EQ(Numbers(h.XValueNumbers()), (std::vector<double>{0, 6}));
      EXPECT_EQ(Numbers(h.ValueNumbers()), (std::vector<double>{0, 0}));
      for (const excel::Series& guide : {v, h}) {
        EXPECT_EQ(guide.MarkerStyle(), excel::xlMarkerStyleNone);
        EXPECT_EQ(guide.Border().LineStyle(), excel::xlDot);
        EXPECT_EQ(guide.Border().Weight(), excel::xlHairline);
      }
    }
  }
}

TEST_F(clsPlotScatterExtras, LineSegmentInSinglePrecisionComesLast) {
  clsPlotScatter plot = Textbook();
  plot.LinePoints(0.1, 1.0 / 3.0, 4.5, 2.0);
  plot.LetCrosshairs(orvPSBoth);
  plot.CreatePlot();
  EXPECT_EQ(SeriesNames(), (std::vector<std::string>{"Data", "VGuide", "HGuide", "Line"}));
  const excel::Series line = Named("Line");
  EXPECT_EQ(Numbers(line.XValueNumbers()), (std::vector<double>{static_cast<float>(0.1), 4.5}));
  EXPECT_EQ(Numbers(line.ValueNumbers()), (std::vector<double>{static_cast<float>(1.0 / 3.0), 2}));
  EXPECT_EQ(line.MarkerStyle(), excel::xlMarkerStyleNone);
  EXPECT_EQ(line.Border().LineStyle(), excel::xlContinuous);
  EXPECT_EQ(line.ChartType(), excel::xlXYScatter);
}

TEST_F(clsPlotScatterExtras, EverythingTogetherInOrder) {
  clsPlotScatter plot = Textbook();
  plot.LetRegression(ORVPSRegSpecified);
  plot.LetSlope(0.6);
  plot.LetIntercept(2.2);
  plot.LetConfidenceLimits(95);
  plot.SetCLLower(Put("C2", {1.0, 2.0, 3.0, 3.0, 3.5}));
  plot.SetCLUpper(Put("D2", {3.0, 5.0, 6.0, 6.5, 7.0}));
  plot.StarPoints(Column({0.5}), Column({0.5}));
  plot.LetCrosshairs(orvPSBoth);
  plot.LinePoints(1, 1, 2, 2);
  plot.CreatePlot();
  EXPECT_EQ(SeriesNames(),
            (std::vector<std::string>{"Data", "Regression", "UpperBand", "LowerBand", "LowerBand",
                                      "UpperBand", "Series7", "VGuide", "HGuide", "Line"}));
}
