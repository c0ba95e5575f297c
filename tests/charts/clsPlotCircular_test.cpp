#include "orv/charts/clsPlotCircular.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "chart_test_util.hpp"
#include "orv/excel/excel.hpp"
#include "orv/output/clsConstants.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/output/clsProperties.hpp"

using namespace orv;
using excel::xlCategory;
using excel::xlPrimary;
using excel::xlValue;

namespace {

using namespace orv::test;

constexpr Long kThemeColour = 14540253;

// A workbook handed to the library with three directions: 0 degrees (top),
// 90 (right) and 225 at half length, X in A2:A4 and Y in B2:B4.
class CircularTest : public ChartWorkbook {
 protected:
  CircularTest() : ChartWorkbook(kThemeColour) {}

  void SetUp() override {
    ChartWorkbook::SetUp();
    const double x[] = {0, 1, -0.35355339059327373};
    const double y[] = {1, 0, -0.35355339059327373};
    for (int i = 0; i < 3; ++i) {
      sheet.Cells(i + 2, 1).LetValue(x[i]);
      sheet.Cells(i + 2, 2).LetValue(y[i]);
    }
  }

  clsPlotCircular Plot() const {
    clsPlotCircular plot;
    plot.SetOutputRange(sheet.Range("D3"));
    plot.SetXValues(sheet.Range("A2:A4"));
    plot.SetYValues(sheet.Range("B2:B4"));
    return plot;
  }
};

using clsPlotCircularProperties = CircularTest;
using clsPlotCircularChart = CircularTest;
using clsPlotCircularFailures = CircularTest;

}  // namespace

TEST_F(clsPlotCircularProperties, DefaultsAndSharedHandles) {
  clsPlotCircular plot;
  EXPECT_EQ(plot.ChartWidth(), 200);
  EXPECT_EQ(plot.ChartHeight(), 200);
  EXPECT_EQ(plot.VerticalOffset(), 0);
  EXPECT_EQ(plot.HorizontalOffset(), 0);
  EXPECT_EQ(plot.ChartTitle(), "");
  clsPlotCircular same = plot;
  same.LetHorizontalOffset(33);
  EXPECT_EQ(plot.HorizontalOffset(), 33);
  EXPECT_TRUE(Is(plot, same));
  EXPECT_EQ(Caught([] { clsPlotCircular(Nothing).LetVerticalOffset(1); }).Number, 91);
}

TEST_F(clsPlotCircularChart, DataPointsOnAScatterChart) {
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
  EXPECT_FALSE(chart.HasLegend());
  EXPECT_FALSE(chart.HasTitle());
  ASSERT_EQ(chart.SeriesCollection().Count(), 2);
  excel::Series points = chart.SeriesCollection(1);
  EXPECT_TRUE(points.XValuesRange() == sheet.Range("A2:A4"));
  EXPECT_TRUE(points.ValuesRange() == sheet.Range("B2:B4"));
  // (0, 1) is the top of the circle, (1, 0) its right.
  EXPECT_EQ(points.XValueNumbers()[0], 0.0);
  EXPECT_EQ(points.ValueNumbers()[0], 1.0);
  EXPECT_EQ(points.XValueNumbers()[1], 1.0);
  EXPECT_EQ(points.ValueNumbers()[1], 0.0);
  EXPECT_EQ(points.MarkerStyle(), excel::xlMarkerStyleCircle);
  EXPECT_EQ(points.MarkerSize(), 5);
  EXPECT_EQ(points.MarkerBackgroundColorIndex(), 11);
  EXPECT_EQ(points.MarkerForegroundColorIndex(), 11);
  EXPECT_EQ(points.Border().LineStyle(), excel::xlLineStyleNone);

  EXPECT_FALSE(chart.ChartArea().AutoScaleFont());
  EXPECT_EQ(chart.ChartArea().Interior().Color(), kThemeColour);
  EXPECT_EQ(chart.PlotArea().Fill().Visible(), 0);
  EXPECT_EQ(chart.PlotArea().Border().LineStyle(), excel::xlLineStyleNone);
}

TEST_F(clsPlotCircularChart, TheCircleHas15PointsFrom330Degrees) {
  Plot().CreatePlot();
  excel::Series circle = Chart().SeriesCollection(2);
  const double h = std::sqrt(3.0) / 2;
  // sin and cos of 330, 0, 30, ..., 300, 330, 0, 30 degrees.
  const double sines[15] = {-0.5, 0, 0.5, h, 1, h, 0.5, 0, -0.5, -h, -1, -h, -0.5, 0, 0.5};
  const double cosines[15] = {h, 1, h, 0.5, 0, -0.5, -h, -1, -h, -0.5, 0, 0.5, h, 1, h};
  const auto x = circle.XValueNumbers();
  const auto y = circle.ValueNumbers();
  ASSERT_EQ(x.size(), 15u);
  ASSERT_EQ(y.size(), 15u);
  for (int i = 0; i < 15; ++i) {
    SCOPED_TRACE(i);
    ASSERT_TRUE(x[i].has_value() && y[i].has_value());
    EXPECT_NEAR(*x[i], sines[i], 1e-15);
    EXPECT_NEAR(*y[i], cosines[i], 1e-15);
    EXPECT_DOUBLE_EQ(*x[i] * *x[i] + *y[i] * *y[i], 1.0);
  }
  // The repeated angles give the same doubles.
  EXPECT_EQ(*x[0], *x[12]);
  EXPECT_EQ(*y[1], *y[13]);
  EXPECT_TRUE(circle.XValuesRange().IsNothing());

  EXPECT_EQ(circle.MarkerStyle(), excel::xlMarkerStyleNone);
  EXPECT_TRUE(circle.Smooth());
  EXPECT_EQ(circle.Border().ColorIndex(), 1);
  EXPECT_EQ(circle.Border().Weight(), excel::xlHairline);
  EXPECT_EQ(circle.Border().LineStyle(), excel::xlContinuous);
  // The overlapping end segments are hidden, the others drawn.
  EXPECT_EQ(circle.Points(2).Border().LineStyle(), excel::xlLineStyleNone);
  EXPECT_EQ(circle.Points(15).Border().LineStyle(), excel::xlLineStyleNone);
  for (int i : {1, 3, 8, 14}) {
    EXPECT_EQ(circle.Points(i).Border().LineStyle(), excel::xlContinuous) << i;
    EXPECT_FALSE(circle.Points(i).HasOwnBorder()) << i;
  }
}

TEST_F(clsPlotCircularChart, AxesAreScaledThenDeleted) {
  Plot().CreatePlot();
  excel::Chart chart = Chart();
  EXPECT_FALSE(chart.HasAxis(xlCategory, xlPrimary));
  EXPECT_FALSE(chart.HasAxis(xlValue, xlPrimary));
  EXPECT_EQ(Caught([&] { chart.Axes(xlValue, xlPrimary); }).Number, 1004);
  for (auto type : {xlCategory, xlValue}) {
    SCOPED_TRACE(type);
    excel::Axis axis = chart.AxisState(type, xlPrimary);
    EXPECT_EQ(axis.MinimumScale(), -1.05);
    EXPECT_EQ(axis.MaximumScale(), 1.05);
    EXPECT_EQ(axis.MajorUnit(), 0.5);
    EXPECT_EQ(axis.Crosses(), excel::xlAxisCrossesCustom);
    EXPECT_EQ(axis.CrossesAt(), 0);
    EXPECT_FALSE(axis.HasTitle());
    EXPECT_FALSE(axis.TickLabels().AutoScaleFont());
    EXPECT_EQ(axis.TickLabels().Font().Size(), Variant(8.0));
    EXPECT_FALSE(axis.HasMajorGridlines());
    EXPECT_FALSE(axis.HasMinorGridlines());
    EXPECT_EQ(axis.MajorTickMark(), excel::xlTickMarkCross);
    EXPECT_EQ(axis.TickLabelPosition(), excel::xlTickLabelPositionNone);
  }
}

TEST_F(clsPlotCircularChart, ThePlotAreaIsSquareAndCentred) {
  for (auto [width, height] : {std::pair{300, 200}, std::pair{250, 240}, std::pair{200, 200}}) {
    SCOPED_TRACE(width);
    clsPlotCircular plot = Plot();
    plot.LetChartWidth(width);
    plot.LetChartHeight(height);
    plot.CreatePlot();
    excel::Chart chart = Chart();
    excel::PlotArea area = chart.PlotArea();
    EXPECT_GT(area.Width(), 0);
    EXPECT_EQ(area.Width(), area.Height());
    EXPECT_DOUBLE_EQ(area.Left(), chart.ChartArea().Width() / 2 - area.Width() / 2);
  }
}

TEST_F(clsPlotCircularChart, ATallChartCentresTheWidestPlotAreaItHolds) {
  clsPlotCircular plot = Plot();
  plot.LetChartWidth(200);
  plot.LetChartHeight(300);
  plot.CreatePlot();
  excel::Chart chart = Chart();
  excel::PlotArea area = chart.PlotArea();
  // As high as before, as wide as the chart leaves right of it, centred.
  EXPECT_LT(area.Width(), area.Height());
  EXPECT_DOUBLE_EQ(area.Width(), 200 - 7);
  EXPECT_DOUBLE_EQ(area.Left(), 100 - area.Width() / 2);
}

TEST_F(clsPlotCircularChart, EnumerationValuesComeFromTheConstantsStore) {
  clsConstants().LetxlTickMarkCross(excel::xlTickMarkInside);
  clsConstants().LetxlHairline(excel::xlMedium);
  Plot().CreatePlot();
  EXPECT_EQ(Chart().AxisState(xlValue, xlPrimary).MajorTickMark(), excel::xlTickMarkInside);
  EXPECT_EQ(Chart().SeriesCollection(2).Border().Weight(), excel::xlMedium);
}

TEST_F(clsPlotCircularChart, TitleWhenGiven) {
  clsPlotCircular plot = Plot();
  plot.LetChartTitle("Wind");
  plot.CreatePlot();
  excel::Chart chart = Chart();
  ASSERT_TRUE(chart.HasTitle());
  EXPECT_EQ(chart.ChartTitle().Text(), "Wind");
  EXPECT_FALSE(chart.ChartTitle().AutoScaleFont());
  EXPECT_EQ(chart.ChartTitle().Font().Size(), Variant(10.0));
  EXPECT_EQ(chart.ChartTitle().Font().Bold(), Variant(true));
}

TEST_F(clsPlotCircularFailures, UntilTheChartIsSelectedFailuresAreStamped) {
  clsPlotCircular plot;
  Error e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Number, 91);
  EXPECT_EQ(e.Source, "Line 10 in ORVMain.clsPlotCircular.CreatePlot");

  excel::Worksheet other = book.Worksheets().Add();
  sheet.Activate();
  plot = Plot();
  plot.SetOutputRange(other.Range("C3"));
  e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Number, 1004);
  EXPECT_EQ(e.Source, "Line 20 in ORVMain.clsPlotCircular.CreatePlot");

  plot = Plot();
  Shared().ExcelApplication.reset();
  e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Number, 91);
  EXPECT_EQ(e.Source, "Line 20 in ORVMain.clsPlotCircular.CreatePlot");
}

TEST_F(clsPlotCircularFailures, AfterwardsFailuresLeaveAsTheyArose) {
  clsPlotCircular plot = Plot();
  plot.SetYValues(excel::Range(Nothing));
  Error e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Number, 91);
  EXPECT_EQ(e.Source, "ORVMain");
  EXPECT_EQ(sheet.ChartObjects().Count(), 1);  // the chart object stays

  excel::Worksheet other = book.Worksheets().Add();
  sheet.Activate();
  plot = Plot();
  plot.SetYValues(other.Range("B2:B4"));
  e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Number, 1004);
  EXPECT_NE(e.Source.substr(0, 4), "Line");
}

TEST_F(clsPlotCircularFailures, TextAmongTheDataIsABlankPoint) {
  sheet.Range("B3").LetValue("calm");
  Plot().CreatePlot();
  excel::Series points = Chart().SeriesCollection(1);
  EXPECT_FALSE(points.ValueNumbers()[1].has_value());
  EXPECT_EQ(Chart().SeriesCollection().Count(), 2);
}
