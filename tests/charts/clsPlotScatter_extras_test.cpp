// clsPlotScatter: what CreatePlot adds to the data series: the regression
// line read back from the trendline, computed and given bands, the star,
// crosshairs and the line segment.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "chart_test_util.hpp"
#include "orv/charts/clsPlotScatter.hpp"

using namespace orv;

namespace {

using namespace orv::test;

using Doubles = std::vector<double>;

Variant Column(const Doubles& values) {
  Array<double> a(1, static_cast<Long>(values.size()), 1, 1);
  for (std::size_t i = 0; i < values.size(); ++i) a.At(static_cast<Long>(i) + 1, 1) = values[i];
  return Variant(std::move(a));
}

// One band of scripts/make_scatter_bands_reference.R (R's predict.lm).
struct BandPoint {
  double x, lower, upper;
};
std::vector<BandPoint> ReferenceBand(const std::string& name) {
  std::ifstream in(std::string(ORV_TEST_DATA_DIR) + "/scatter_bands_reference.csv");
  EXPECT_TRUE(in) << "scatter_bands_reference.csv is missing";
  std::vector<BandPoint> out;
  std::string line, band, x, lower, upper;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::istringstream f(line);
    std::getline(f, band, ',') && std::getline(f, x, ',') && std::getline(f, lower, ',') &&
        std::getline(f, upper);
    if (band == name) out.push_back({std::stod(x), std::stod(lower), std::stod(upper)});
  }
  return out;
}

class clsPlotScatterExtras : public ChartWorkbook {
 protected:
  clsPlotScatterExtras() : ChartWorkbook(0) {}

  clsPlotScatter Plot(const std::vector<Variant>& x, const std::vector<Variant>& y) const {
    clsPlotScatter plot;
    plot.SetXValues(Put("A2", x));
    plot.SetYValues(Put("B2", y));
    plot.SetOutputRange(sheet.Range("E2"));
    return plot;
  }
  // x 1..5 against y 2, 4, 5, 4, 5: the data of the reference bands.
  clsPlotScatter Textbook() const {
    return Plot({1.0, 2.0, 3.0, 4.0, 5.0}, {2.0, 4.0, 5.0, 4.0, 5.0});
  }
  Doubles Xs(const std::string& name) const { return Numbers(Named(name).XValueNumbers()); }
  Doubles Ys(const std::string& name) const { return Numbers(Named(name).ValueNumbers()); }
  Doubles YScale() const {
    return {Axis(xlValue).MinimumScale(), Axis(xlValue).MaximumScale(), Axis(xlValue).MajorUnit()};
  }

  // The band series against R's band of this name, at ten x in single
  // precision.
  void ExpectBands(const std::string& name) const {
    const std::vector<BandPoint> ref = ReferenceBand(name);
    const Doubles ux = Xs("UpperBand"), uy = Ys("UpperBand");
    const Doubles lx = Xs("LowerBand"), ly = Ys("LowerBand");
    ASSERT_EQ(ref.size(), 10u);
    ASSERT_EQ(uy.size(), 10u);
    ASSERT_EQ(ly.size(), 10u);
    for (int i = 0; i < 10; ++i) {
      EXPECT_FLOAT_EQ(ux[i], ref[i].x) << i;
      EXPECT_EQ(ux[i], lx[i]);
      EXPECT_EQ(ux[i], static_cast<double>(static_cast<float>(ux[i])));  // single precision
      EXPECT_FLOAT_EQ(uy[i], ref[i].upper) << name << " " << i;
      EXPECT_FLOAT_EQ(ly[i], ref[i].lower) << name << " " << i;
    }
  }
};

}  // namespace

// --- regression line ---

TEST_F(clsPlotScatterExtras, FittedLineIsReadBackFromTheEquation) {
  clsPlotScatter plot = Plot({1.0, 2.0, 3.0, 4.0}, {1.75, 2.25, 2.75, 3.25});
  plot.LetRegression(ORVPSRegCalculate);
  plot.CreatePlot();
  EXPECT_EQ(plot.Slope(), 0.5);
  EXPECT_EQ(plot.Intercept(), 1.25);
  ASSERT_EQ(Named("Data").Trendlines().Count(), 1);
  const excel::Trendline trend = Named("Data").Trendlines(1);
  EXPECT_EQ((Ints{trend.Type(), trend.Border().Weight()}), (Ints{excel::xlLinear, excel::xlThin}));
  EXPECT_TRUE(trend.InterceptIsAuto());
  EXPECT_FALSE(trend.DisplayEquation());  // shown only to be read
  EXPECT_EQ(SeriesNames(), Names{"Data"});
}

TEST_F(clsPlotScatterExtras, EquationsThatReadBackOnlyInPart) {
  clsPlotScatter plot = Plot({1.0, 2.0, 3.0, 4.0}, {-1.0, 1.0, 3.0, 5.0});  // y = 2x - 3
  plot.LetRegression(ORVPSRegCalculate);
  plot.LetSlope(9);
  plot.LetIntercept(7);
  plot.CreatePlot();
  EXPECT_EQ(plot.Slope(), 2);      // read before the intercept
  EXPECT_EQ(plot.Intercept(), 7);  // "y = 2x - 3" has no "+ "
  // y = x + 2 is written "y = x + 2": no number between "= " and "x".
  plot = Plot({1.0, 2.0, 3.0}, {3.0, 4.0, 5.0});
  plot.LetRegression(ORVPSRegCalculate);
  plot.LetSlope(-4);
  plot.LetIntercept(-6);
  plot.CreatePlot();
  EXPECT_EQ(plot.Slope(), -4);
  EXPECT_EQ(plot.Intercept(), -6);
  // The bounds were not widened by the (unread) line: y axis 2.98..5.02.
  EXPECT_EQ(Axis(xlValue).MinimumScale(), 2);
  EXPECT_EQ(Axis(xlValue).MaximumScale(), 6);
}

TEST_F(clsPlotScatterExtras, ForcedZeroInterceptFitsThroughTheOrigin) {
  clsPlotScatter plot = Plot({1.0, 2.0, 3.0, 4.0}, {2.0, 4.0, 7.0, 8.0});
  plot.LetRegression(ORVPSRegCalculate);
  plot.LetConstantIs0(true);
  plot.LetIntercept(7);
  plot.CreatePlot();
  EXPECT_DOUBLE_EQ(plot.Slope(), 2.1);  // sum xy / sum x² = 63 / 30
  EXPECT_EQ(plot.Intercept(), 0);
  EXPECT_FALSE(Named("Data").Trendlines(1).InterceptIsAuto());
  EXPECT_EQ(Named("Data").Trendlines(1).Intercept(), 0);
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
  EXPECT_EQ(YScale(), (Doubles{90, 150, 10}));
}

TEST_F(clsPlotScatterExtras, SpecifiedLineIsASeriesAcrossTheData) {
  clsPlotScatter plot = Plot({1.0, 2.0, 4.0}, {1.0, 2.0, 3.0});
  plot.LetRegression(ORVPSRegSpecified);
  plot.LetSlope(-2);
  plot.LetIntercept(1.5);
  plot.CreatePlot();
  EXPECT_EQ(SeriesNames(), (Names{"Data", "Regression"}));
  EXPECT_EQ(Xs("Regression"), (Doubles{1, 4}));
  EXPECT_EQ(Ys("Regression"), (Doubles{-0.5, -6.5}));
  EXPECT_EQ(plot.Slope(), -2);  // not refitted
  // The axis 0..4 of y 1..3 widened to -6.5..4: -6.605..4.105 spans a
  // nice 20, in units of 5.
  EXPECT_EQ(YScale(), (Doubles{-10, 5, 5}));
  EXPECT_EQ(Axis(xlValue).CrossesAt(), -10);

  plot.LetRegression(static_cast<ORVPSRegression>(7));  // other values draw no line
  plot.CreatePlot();
  EXPECT_EQ(SeriesNames(), Names{"Data"});
  EXPECT_EQ(Named("Data").Trendlines().Count(), 0);
}

// --- computed bands ---

TEST_F(clsPlotScatterExtras, ConfidenceBandsAt95Percent) {
  clsPlotScatter plot = Textbook();
  plot.LetConfidenceLimits(95);
  plot.CreatePlot();
  EXPECT_EQ(SeriesNames(), (Names{"Data", "UpperBand", "LowerBand"}));
  ExpectBands("confidence95");
  for (const char* name : {"UpperBand", "LowerBand"}) {
    const excel::Series band = Named(name);
    EXPECT_TRUE(band.Smooth());
    EXPECT_EQ((Ints{band.MarkerStyle(), band.Border().ColorIndex(), band.Border().Weight(),
                    band.Border().LineStyle()}),
              (Ints{excel::xlMarkerStyleNone, 1, excel::xlHairline, excel::xlDot}));
  }
  // The bands reach 0.595..7.405, beyond the data's 1..6: rescaled.
  EXPECT_EQ(YScale(), (Doubles{0, 8, 2}));
  EXPECT_EQ(Axis(xlValue).CrossesAt(), 0);
}

TEST_F(clsPlotScatterExtras, PredictionOriginAndStandardErrorBands) {
  clsPlotScatter plot = Textbook();
  plot.LetConfidenceLimits(95);
  plot.LetPredictionLimits(90);  // overrides the confidence level
  plot.CreatePlot();
  ExpectBands("prediction90");

  plot = Textbook();
  plot.LetConfidenceLimits(95);
  plot.LetConstantIs0(true);
  plot.CreatePlot();
  ExpectBands("origin95");

  for (Integer level : {0, 101}) {  // a standard error without a level: one
    plot = Textbook();
    plot.LetStandardError(true);
    plot.LetConfidenceLimits(level);
    plot.CreatePlot();
    ExpectBands("stderr");
  }
}

TEST_F(clsPlotScatterExtras, BandsNeedTheirDataToComputeFrom) {
  clsPlotScatter text = Plot({"a", "b", "c"}, {1.0, 2.0, 3.0});  // no numbers to average
  text.LetConfidenceLimits(95);
  EXPECT_FAILS(1004, Src("GetCL.CreatePlot", 10),
               "Unable to get the Average property of the WorksheetFunction class",
               text.CreatePlot());
  clsPlotScatter flat = Plot({2.0, 2.0, 2.0}, {1.0, 2.0, 3.0});  // Sxy / Sxx is 0 / 0
  flat.LetPredictionLimits(95);
  EXPECT_FAILS(6, Src("GetCL.CreatePlot", 30), "Overflow", flat.CreatePlot());
  clsPlotScatter full = Textbook();  // the quantile of probability 0
  full.LetConfidenceLimits(100);
  EXPECT_FAILS(1004, Src("GetCL.CreatePlot", 40),
               "Unable to get the TInv property of the WorksheetFunction class", full.CreatePlot());
}

// --- given bands ---

TEST_F(clsPlotScatterExtras, GivenBandsGetQuadraticTrendlines) {
  clsPlotScatter plot = Textbook();
  plot.SetCLUpper(Put("D2", {3.0, 5.0, 6.0, 6.5, 9.5}));
  plot.CreatePlot();
  EXPECT_EQ(SeriesNames(), Names{"Data"});  // one band alone is not drawn

  const excel::Range lower = Put("C2", {1.0, 2.0, 3.0, 3.0, 3.5});
  plot.SetCLLower(lower);
  plot.CreatePlot();
  EXPECT_EQ(SeriesNames(), (Names{"Data", "LowerBand", "UpperBand"}));
  EXPECT_TRUE(Named("LowerBand").ValuesRange() == lower);
  EXPECT_TRUE(Named("UpperBand").ValuesRange() == sheet.Range("D2:D6"));
  for (const char* name : {"LowerBand", "UpperBand"}) {
    const excel::Series band = Named(name);
    EXPECT_TRUE(band.XValuesRange() == sheet.Range("A2:A6"));
    EXPECT_FALSE(band.Border().Visible());
    EXPECT_EQ(band.MarkerStyle(), excel::xlMarkerStyleNone);
    ASSERT_EQ(band.Trendlines().Count(), 1);
    const excel::Trendline trend = band.Trendlines(1);
    EXPECT_EQ(
        (Ints{trend.Type(), trend.Order(), trend.Border().Weight(), trend.Border().LineStyle()}),
        (Ints{excel::xlPolynomial, 2, excel::xlHairline, excel::xlDot}));
  }
  // Upper reaches 9.5, lower 1: 0.915..9.585 on units of 2.
  EXPECT_EQ(YScale(), (Doubles{0, 10, 2}));
}

TEST_F(clsPlotScatterExtras, GivenBandsOverEqualXAreDashes) {
  clsPlotScatter plot = Plot({3.0, 3.0, 3.0}, {1.0, 2.0, 3.0});
  plot.SetCLLower(Put("C2", {0.5, 0.5, 0.5}));
  plot.SetCLUpper(Put("D2", {3.5, 3.5, 3.5}));
  plot.CreatePlot();
  for (const char* name : {"LowerBand", "UpperBand"}) {
    EXPECT_EQ((Ints{Named(name).MarkerStyle(), Named(name).MarkerForegroundColorIndex(),
                    Named(name).Trendlines().Count()}),
              (Ints{excel::xlMarkerStyleDash, 11, 0}));
  }
}

// --- star ---

TEST_F(clsPlotScatterExtras, StarOfFifteenPointsIsTwoSeriesOfRays) {
  Doubles sx, sy;
  Array<std::string> labels(1, 15);
  for (int i = 1; i <= 15; ++i) {
    sx.push_back(0.05 * i);
    sy.push_back(-0.04 * i);
    labels.At(i) = "v" + std::to_string(i);
  }
  // Data box x -3..6, y -6..2; star x 0.05..0.75, y -0.6..-0.04:
  // fX = 6 / 0.75 = 8 (the minimum ratio -3 / 0.05 is negative),
  // fY = min(-6 / -0.6, 2 / -0.04 < 0) = 10; f = 8.
  clsPlotScatter plot = Plot({-3.0, 6.0}, {-6.0, 2.0});
  plot.StarPoints(Column(sx), Column(sy), Variant(labels));
  plot.CreatePlot();
  const excel::SeriesCollection all = Chart().SeriesCollection();
  ASSERT_EQ(all.Count(), 3);
  const excel::Series first = all.Item(2), second = all.Item(3);
  const Doubles x1 = Numbers(first.XValueNumbers()), y1 = Numbers(first.ValueNumbers());
  ASSERT_EQ(x1.size(), 20u);
  ASSERT_EQ(second.XValueNumbers().size(), 10u);
  for (int k = 1; k <= 20; ++k) {
    const int point = (k + 1) / 2;  // star point 1..10, every ray from the origin
    const bool tip = k % 2 == 0;
    EXPECT_DOUBLE_EQ(x1[k - 1], tip ? 8 * (0.05 * point) : 0) << k;
    EXPECT_DOUBLE_EQ(y1[k - 1], tip ? 8 * (-0.04 * point) : 0) << k;
    const excel::DataLabel label = first.Points(k).DataLabel();
    EXPECT_EQ(label.Text(), tip ? "v" + std::to_string(point) : " ");
  }
  EXPECT_DOUBLE_EQ(Numbers(second.XValueNumbers())[9], 8 * (0.05 * 15));
  EXPECT_EQ(second.Points(10).DataLabel().Text(), "v15");
  EXPECT_EQ(second.Points(9).DataLabel().Text(), " ");
}

TEST_F(clsPlotScatterExtras, StarScaleFactors) {
  const struct {
    std::vector<Variant> x, y;
    Doubles star_x, star_y;
    double f;
  } cases[] = {
      // Both ratios positive: the smaller; fX = min(-4 / -0.5, 8 / 0.8) = 8,
      // fY = min(-3 / -0.6, 6 / 0.4) = 5.
      {{-4.0, 8.0}, {-3.0, 6.0}, {-0.5, 0.8}, {-0.6, 0.4}, 5},
      // No positive ratio on either axis: 1.
      {{-8.0, -1.0}, {-8.0, -1.0}, {0.5, 0.8}, {0.5, 0.8}, 1},
      // A star minimum of 0 counts as no ratio: fX = 6 / 2 = 3, fY = 4 / 0.5.
      {{1.0, 6.0}, {1.0, 4.0}, {0.0, 2.0}, {0.0, 0.5}, 3},
  };
  for (const auto& c : cases) {
    clsPlotScatter plot = Plot(c.x, c.y);
    plot.StarPoints(Column(c.star_x), Column(c.star_y));
    plot.CreatePlot();
    const excel::Series rays = Chart().SeriesCollection(2);
    const Doubles xs = Numbers(rays.XValueNumbers()), ys = Numbers(rays.ValueNumbers());
    ASSERT_EQ(xs.size(), 4u);
    EXPECT_DOUBLE_EQ(xs[1], c.f * c.star_x[0]);
    EXPECT_DOUBLE_EQ(xs[3], c.f * c.star_x[1]);
    EXPECT_DOUBLE_EQ(ys[3], c.f * c.star_y[1]);
    // Without labels every label is blank.
    for (Long k = 1; k <= 4; ++k) EXPECT_EQ(rays.Points(k).DataLabel().Text(), " ");
  }
}

TEST_F(clsPlotScatterExtras, BadStarInputFails) {
  clsPlotScatter plot = Plot({-1.0, 1.0}, {-1.0, 1.0});
  plot.StarPoints(Variant(0.5), Variant(0.5));
  EXPECT_FAILS(13, Src("RescaleStar.CreatePlot", 30), "Type mismatch", plot.CreatePlot());
  plot = Plot({-1.0, 1.0}, {-1.0, 1.0});
  plot.StarPoints(Column({0.5, -0.5}), Column({0.25}));
  EXPECT_FAILS(9, Src("RescaleStar.CreatePlot", 30), "Subscript out of range", plot.CreatePlot());
  Array<std::string> one(1, 1);
  one.At(1) = "only";
  plot = Plot({-1.0, 1.0}, {-1.0, 1.0});
  plot.StarPoints(Column({0.5, -0.5}), Column({0.25, 0.5}), Variant(one));
  EXPECT_FAILS(9, Src("CreatePlot", 160), "Subscript out of range", plot.CreatePlot());
}

TEST_F(clsPlotScatterExtras, SecondPlotRescalesTheRaysAgain) {
  clsPlotScatter plot = Plot({-1.0, 2.0}, {-1.0, 2.0});
  plot.StarPoints(Column({0.5}), Column({0.25}));
  plot.CreatePlot();  // fX = 2 / 0.5 = 4, fY = 2 / 0.25 = 8: rays to (2, 1)
  EXPECT_EQ(Numbers(Chart().SeriesCollection(2).XValueNumbers()), (Doubles{0, 2}));
  plot.CreatePlot();  // the list (0, 2), (0, 1) again: f = min(1, 2)
  EXPECT_EQ(Numbers(Chart().SeriesCollection(2).XValueNumbers()), (Doubles{0, 0, 0, 2}));
  EXPECT_EQ(Numbers(Chart().SeriesCollection(2).ValueNumbers()), (Doubles{0, 0, 0, 1}));
}

// --- crosshairs and the line segment ---

TEST_F(clsPlotScatterExtras, CrosshairsFollowTheFinalAxes) {
  for (ORVPSCrosshairs which :
       {orvPSNone, orvPSHorizontal, orvPSVertical, static_cast<ORVPSCrosshairs>(4), orvPSBoth}) {
    clsPlotScatter plot = Textbook();
    plot.LetConfidenceLimits(95);  // rescales y to 0..8
    plot.LetCrosshairs(which);
    plot.CreatePlot();
    Names expected = {"Data", "UpperBand", "LowerBand"};
    if (which == orvPSVertical || which == orvPSBoth) expected.push_back("VGuide");
    if (which == orvPSHorizontal || which == orvPSBoth) expected.push_back("HGuide");
    EXPECT_EQ(SeriesNames(), expected) << which;
  }
  // orvPSBoth, drawn last.
  EXPECT_EQ(Xs("VGuide"), (Doubles{0, 0}));
  EXPECT_EQ(Ys("VGuide"), (Doubles{0, 8}));
  EXPECT_EQ(Xs("HGuide"), (Doubles{0, 6}));
  EXPECT_EQ(Ys("HGuide"), (Doubles{0, 0}));
}

TEST_F(clsPlotScatterExtras, LineSegmentInSinglePrecisionComesLast) {
  clsPlotScatter plot = Textbook();
  plot.LinePoints(0.1, 1.0 / 3.0, 4.5, 2.0);
  plot.LetCrosshairs(orvPSBoth);
  plot.CreatePlot();
  EXPECT_EQ(SeriesNames(), (Names{"Data", "VGuide", "HGuide", "Line"}));
  EXPECT_EQ(Xs("Line"), (Doubles{static_cast<float>(0.1), 4.5}));
  EXPECT_EQ(Ys("Line"), (Doubles{static_cast<float>(1.0 / 3.0), 2}));
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
  EXPECT_EQ(SeriesNames(), (Names{"Data", "Regression", "UpperBand", "LowerBand", "LowerBand",
                                  "UpperBand", "Series7", "VGuide", "HGuide", "Line"}));
}
