#include "orv/charts/clsPlotCircular.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "chart_test_util.hpp"

using namespace orv;

namespace {

using namespace orv::test;

// A workbook handed to the library with three directions: 0 degrees (top),
// 90 (right) and 225 at half length, X in A2:A4 and Y in B2:B4.
class clsPlotCircularTest : public ChartWorkbook {
 protected:
  clsPlotCircularTest() : ChartWorkbook(14540253) {}

  clsPlotCircular Plot() const {
    Put("A2", {0.0, 1.0, -0.35355339059327373});
    Put("B2", {1.0, 0.0, -0.35355339059327373});
    clsPlotCircular plot;
    plot.SetOutputRange(sheet.Range("D3"));
    plot.SetXValues(sheet.Range("A2:A4"));
    plot.SetYValues(sheet.Range("B2:B4"));
    return plot;
  }
};

}  // namespace

TEST_F(clsPlotCircularTest, DataPointsOnAScatterChart) {
  clsPlotCircular plot = Plot();
  plot.LetHorizontalOffset(15);
  plot.CreatePlot();
  ASSERT_EQ(sheet.ChartObjects().Count(), 1);
  excel::ChartObject co = Drawn();
  EXPECT_EQ(co.Width(), 200);
  EXPECT_EQ(co.Height(), 200);
  EXPECT_NEAR(co.Top(), sheet.Range("D3").Top(), kNudge);
  EXPECT_NEAR(co.Left(), sheet.Range("D3").Left() + 15, kNudge);

  excel::Chart chart = co.Chart();
  EXPECT_EQ(chart.ChartType(), excel::xlXYScatter);
  EXPECT_FALSE(chart.HasTitle());
  ExpectThemedAreas(chart, theme_colour_);
  ASSERT_EQ(chart.SeriesCollection().Count(), 2);
  excel::Series points = chart.SeriesCollection(1);
  EXPECT_TRUE(points.XValuesRange() == sheet.Range("A2:A4"));
  EXPECT_TRUE(points.ValuesRange() == sheet.Range("B2:B4"));
  // (0, 1) is the top of the circle, (1, 0) its right.
  EXPECT_EQ(Numbers(points.XValueNumbers()), (std::vector<double>{0, 1, -0.35355339059327373}));
  EXPECT_EQ(Numbers(points.ValueNumbers()), (std::vector<double>{1, 0, -0.35355339059327373}));
  EXPECT_EQ((Ints{points.MarkerStyle(), points.MarkerSize(), points.MarkerBackgroundColorIndex(),
                  points.MarkerForegroundColorIndex(), points.Border().LineStyle()}),
            (Ints{excel::xlMarkerStyleCircle, 5, 11, 11, excel::xlLineStyleNone}));
}

TEST_F(clsPlotCircularTest, TheCircleHas15PointsFrom330Degrees) {
  Plot().CreatePlot();
  excel::Series circle = Chart().SeriesCollection(2);
  const double h = std::sqrt(3.0) / 2;
  // sin and cos of 330, 0, 30, ..., 300, 330, 0, 30 degrees.
  const double sines[15] = {-0.5, 0, 0.5, h, 1, h, 0.5, 0, -0.5, -h, -1, -h, -0.5, 0, 0.5};
  const double cosines[15] = {h, 1, h, 0.5, 0, -0.5, -h, -1, -h, -0.5, 0, 0.5, h, 1, h};
  const auto x = Numbers(circle.XValueNumbers());
  const auto y = Numbers(circle.ValueNumbers());
  ASSERT_EQ(x.size(), 15u);
  for (int i = 0; i < 15; ++i) {
    EXPECT_NEAR(x[i], sines[i], 1e-15) << i;
    EXPECT_NEAR(y[i], cosines[i], 1e-15) << i;
  }
  // The repeated angles give the same doubles.
  EXPECT_EQ(x[0], x[12]);
  EXPECT_EQ(y[1], y[13]);
  EXPECT_TRUE(circle.XValuesRange().IsNothing());

  EXPECT_EQ(circle.MarkerStyle(), excel::xlMarkerStyleNone);
  EXPECT_TRUE(circle.Smooth());
  EXPECT_EQ(
      (Ints{circle.Border().ColorIndex(), circle.Border().Weight(), circle.Border().LineStyle()}),
      (Ints{1, excel::xlHairline, excel::xlContinuous}));
  // The overlapping end segments are hidden, the others drawn.
  EXPECT_EQ(circle.Points(2).Border().LineStyle(), excel::xlLineStyleNone);
  EXPECT_EQ(circle.Points(15).Border().LineStyle(), excel::xlLineStyleNone);
  for (int i : {1, 3, 8, 14}) {
    EXPECT_EQ(circle.Points(i).Border().LineStyle(), excel::xlContinuous) << i;
    EXPECT_FALSE(circle.Points(i).HasOwnBorder()) << i;
  }
}

TEST_F(clsPlotCircularTest, AxesAreScaledThenDeleted) {
  Plot().CreatePlot();
  excel::Chart chart = Chart();
  EXPECT_FALSE(chart.HasAxis(xlCategory, xlPrimary));
  EXPECT_FALSE(chart.HasAxis(xlValue, xlPrimary));
  EXPECT_EQ(Fails([&] { chart.Axes(xlValue, xlPrimary); }).number, 1004);
  for (auto type : {xlCategory, xlValue}) {
    SCOPED_TRACE(type);
    excel::Axis axis = chart.AxisState(type, xlPrimary);
    EXPECT_EQ(axis.MinimumScale(), -1.05);
    EXPECT_EQ(axis.MaximumScale(), 1.05);
    EXPECT_EQ(axis.MajorUnit(), 0.5);
    EXPECT_EQ((Ints{axis.Crosses(), axis.TickLabelPosition()}),
              (Ints{excel::xlAxisCrossesCustom, excel::xlTickLabelPositionNone}));
    EXPECT_EQ(axis.CrossesAt(), 0);
    ExpectPlainAxis(axis, excel::xlTickMarkCross);
  }
}

TEST_F(clsPlotCircularTest, ThePlotAreaIsSquareAndCentred) {
  // A tall chart keeps the height and centres the widest area it holds.
  for (auto [width, height] : {std::pair{300, 200}, {250, 240}, {200, 200}, {200, 300}}) {
    SCOPED_TRACE(height);
    clsPlotCircular plot = Plot();
    plot.LetChartWidth(width);
    plot.LetChartHeight(height);
    plot.CreatePlot();
    excel::PlotArea area = Chart().PlotArea();
    EXPECT_GT(area.Width(), 0);
    if (height > width)
      EXPECT_DOUBLE_EQ(area.Width(), width - 7);
    else
      EXPECT_EQ(area.Width(), area.Height());
    EXPECT_DOUBLE_EQ(area.Left(), Chart().ChartArea().Width() / 2 - area.Width() / 2);
  }
  EXPECT_LT(Chart().PlotArea().Width(), Chart().PlotArea().Height());
}

TEST_F(clsPlotCircularTest, EnumerationValuesComeFromTheConstantsStoreAndTheTitle) {
  clsConstants().LetxlTickMarkCross(excel::xlTickMarkInside);
  clsConstants().LetxlHairline(excel::xlMedium);
  clsPlotCircular plot = Plot();
  plot.LetChartTitle("Wind");
  plot.CreatePlot();
  EXPECT_EQ(Chart().AxisState(xlValue, xlPrimary).MajorTickMark(), excel::xlTickMarkInside);
  EXPECT_EQ(Chart().SeriesCollection(2).Border().Weight(), excel::xlMedium);
  ASSERT_TRUE(Chart().HasTitle());
  EXPECT_EQ(Look(Chart().ChartTitle()), "Wind|10|bold");
  EXPECT_FALSE(Chart().ChartTitle().AutoScaleFont());
}

TEST_F(clsPlotCircularTest, UntilTheChartIsSelectedFailuresAreStamped) {
  const auto source = "Line 20 in ORVMain.clsPlotCircular.CreatePlot"s;
  EXPECT_EQ(Fails([&] { clsPlotCircular().CreatePlot(); }),
            (Failure{91, "Line 10 in ORVMain.clsPlotCircular.CreatePlot", kNotSet}));
  clsPlotCircular plot = Plot();
  plot.SetOutputRange(Inactive().Range("C3"));
  EXPECT_EQ(Fails([&] { plot.CreatePlot(); }).source, source);
  EXPECT_EQ(Fails([&] { plot.CreatePlot(); }).number, 1004);
  Shared().ExcelApplication.reset();
  EXPECT_FAILS(91, source, kNotSet, Plot().CreatePlot());
}

TEST_F(clsPlotCircularTest, AfterwardsFailuresLeaveAsTheyArose) {
  clsPlotCircular plot = Plot();
  plot.SetYValues(excel::Range(Nothing));
  EXPECT_FAILS(91, "ORVMain", kNotSet, plot.CreatePlot());
  EXPECT_EQ(sheet.ChartObjects().Count(), 1);  // the chart object stays
  plot = Plot();
  plot.SetYValues(Inactive().Range("B2:B4"));
  const Failure f = Fails([&] { plot.CreatePlot(); });
  EXPECT_EQ(f.number, 1004);
  EXPECT_NE(f.source.substr(0, 4), "Line");
}
