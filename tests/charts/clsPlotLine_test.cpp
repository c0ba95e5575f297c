#include "orv/charts/clsPlotLine.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

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

constexpr Long kThemeColour = 15773696;

// A workbook handed to the library; values go in row 5 from column B.
class LineTest : public ChartWorkbook {
 protected:
  LineTest() : ChartWorkbook(kThemeColour) {}

  excel::Range Row(const std::vector<double>& values) const {
    for (std::size_t i = 0; i < values.size(); ++i)
      sheet.Cells(5, static_cast<Long>(i) + 2).LetValue(values[i]);
    return sheet.Range(sheet.Cells(5, 2), sheet.Cells(5, static_cast<Long>(values.size()) + 1));
  }
  clsPlotLine Plot(const std::vector<double>& values) const {
    clsPlotLine plot;
    plot.SetOutputRange(sheet.Range("D8"));
    plot.SetYValues(Row(values));
    return plot;
  }
};

using clsPlotLineProperties = LineTest;
using clsPlotLineChart = LineTest;
using clsPlotLineValueAxis = LineTest;
using clsPlotLineFailures = LineTest;

}  // namespace

TEST_F(clsPlotLineProperties, DefaultsAndSharedHandles) {
  clsPlotLine plot;
  EXPECT_EQ(plot.ChartWidth(), 200);
  EXPECT_EQ(plot.ChartHeight(), 200);
  EXPECT_EQ(plot.VerticalOffset(), 0);
  EXPECT_EQ(plot.HorizontalOffset(), 0);
  EXPECT_EQ(plot.ChartTitle(), "");
  EXPECT_EQ(plot.XAxisTitle(), "");
  EXPECT_EQ(plot.YAxisTitle(), "");
  clsPlotLine same = plot;
  same.LetChartHeight(150);
  EXPECT_EQ(plot.ChartHeight(), 150);
  EXPECT_TRUE(Is(plot, same));

  clsPlotLine none(Nothing);
  Error e = Caught([&] { none.LetYMin(0); });
  EXPECT_EQ(e.Number, 91);
  EXPECT_EQ(e.Source, "ORVMain");
}

TEST_F(clsPlotLineChart, OneRowAsALineWithMarkers) {
  clsPlotLine plot = Plot({3, 1, 4, 1, 5, 9, 2, 6});
  plot.LetChartWidth(320);
  plot.LetChartHeight(180);
  plot.LetVerticalOffset(10);
  plot.LetShowPoints(false);  // stored only: markers and lines stay
  plot.LetShowLines(false);
  plot.CreatePlot();

  ASSERT_EQ(sheet.ChartObjects().Count(), 1);
  excel::ChartObject co = Drawn();
  EXPECT_EQ(co.Width(), 320);
  EXPECT_EQ(co.Height(), 180);
  EXPECT_NEAR(co.Top(), sheet.Range("D8").Top() + 10, kNudge);
  EXPECT_NEAR(co.Left(), sheet.Range("D8").Left(), kNudge);

  excel::Chart chart = co.Chart();
  EXPECT_EQ(chart.ChartType(), excel::xlLineMarkers);
  EXPECT_FALSE(chart.HasLegend());
  ASSERT_EQ(chart.SeriesCollection().Count(), 1);
  excel::Series series = chart.SeriesCollection(1);
  EXPECT_TRUE(series.ValuesRange() == sheet.Range("B5:I5"));
  EXPECT_EQ(series.Values().UBound(), 8);
  EXPECT_EQ(series.Values().Element(6), Variant(9.0));
  EXPECT_EQ(series.MarkerStyle(), excel::xlMarkerStyleCircle);
  EXPECT_EQ(series.MarkerSize(), 3);
  EXPECT_EQ(series.Border().Weight(), excel::xlThin);
  EXPECT_EQ(series.Border().LineStyle(), excel::xlContinuous);

  EXPECT_FALSE(chart.ChartArea().AutoScaleFont());
  EXPECT_EQ(chart.ChartArea().Interior().Color(), kThemeColour);
  EXPECT_EQ(chart.PlotArea().Fill().Visible(), 0);
  EXPECT_EQ(chart.PlotArea().Border().LineStyle(), excel::xlLineStyleNone);
}

TEST_F(clsPlotLineChart, EnumerationValuesComeFromTheConstantsStore) {
  clsConstants().LetxlCircle(excel::xlMarkerStyleDiamond);
  clsConstants().LetxlLineMarkers(excel::xlLine);
  Plot({1, 2, 3}).CreatePlot();
  EXPECT_EQ(Chart().ChartType(), excel::xlLine);
  EXPECT_EQ(Chart().SeriesCollection(1).MarkerStyle(), excel::xlMarkerStyleDiamond);
}

TEST_F(clsPlotLineChart, TitlesOnlyWhenGiven) {
  Plot({1, 2, 3}).CreatePlot();
  excel::Chart plain = Chart();
  EXPECT_FALSE(plain.HasTitle());
  EXPECT_FALSE(plain.Axes(xlCategory, xlPrimary).HasTitle());
  EXPECT_FALSE(plain.Axes(xlValue, xlPrimary).HasTitle());

  clsPlotLine plot = Plot({1, 2, 3});
  plot.LetChartTitle("Eigenvalues");
  plot.LetXAxisTitle("Component");
  plot.LetYAxisTitle("Value");
  plot.CreatePlot();
  excel::Chart chart = Chart();
  ASSERT_TRUE(chart.HasTitle());
  EXPECT_EQ(chart.ChartTitle().Text(), "Eigenvalues");
  EXPECT_FALSE(chart.ChartTitle().AutoScaleFont());
  EXPECT_EQ(chart.ChartTitle().Font().Size(), Variant(10.0));
  EXPECT_EQ(chart.ChartTitle().Font().Bold(), Variant(true));
  for (auto [type, text] : {std::pair{xlCategory, "Component"}, std::pair{xlValue, "Value"}}) {
    excel::Axis axis = chart.Axes(type, xlPrimary);
    ASSERT_TRUE(axis.HasTitle());
    EXPECT_EQ(axis.AxisTitle().Text(), text);
    EXPECT_FALSE(axis.AxisTitle().AutoScaleFont());
    EXPECT_EQ(axis.AxisTitle().Font().Size(), Variant(10.0));
    EXPECT_EQ(axis.AxisTitle().Font().Bold(), Variant(false));
  }
}

TEST_F(clsPlotLineChart, CategoryAxis) {
  Plot({1, 2, 3, 4}).CreatePlot();
  excel::Axis axis = Chart().Axes(xlCategory, xlPrimary);
  EXPECT_FALSE(axis.TickLabels().AutoScaleFont());
  EXPECT_EQ(axis.TickLabels().Font().Size(), Variant(8.0));
  EXPECT_FALSE(axis.HasMajorGridlines());
  EXPECT_FALSE(axis.HasMinorGridlines());
  EXPECT_EQ(axis.MajorTickMark(), excel::xlTickMarkOutside);
  EXPECT_EQ(axis.TickLabels().NumberFormat(), "0");
  EXPECT_FALSE(axis.AxisBetweenCategories());
}

TEST_F(clsPlotLineValueAxis, KeepsTheChosenScaleAndCrossesAtItsMinimum) {
  Plot({-3, 1, 7, 2}).CreatePlot();
  excel::Axis axis = Chart().Axes(xlValue, xlPrimary);
  EXPECT_TRUE(axis.MinimumScaleIsAuto());
  EXPECT_LT(axis.MinimumScale(), -3);
  EXPECT_EQ(axis.Crosses(), excel::xlAxisCrossesCustom);
  EXPECT_EQ(axis.CrossesAt(), axis.MinimumScale());
  EXPECT_FALSE(axis.TickLabels().AutoScaleFont());
  EXPECT_EQ(axis.TickLabels().Font().Size(), Variant(8.0));
  EXPECT_FALSE(axis.HasMajorGridlines());
  EXPECT_EQ(axis.MajorTickMark(), excel::xlTickMarkOutside);
  EXPECT_EQ(axis.TickLabels().NumberFormat(), "0");
}

TEST_F(clsPlotLineValueAxis, YMinReplacesTheMinimumAfterTheCrossingIsFixed) {
  clsPlotLine plot = Plot({-3, 1, 7, 2});
  plot.LetYMin(0);
  plot.CreatePlot();
  excel::Axis axis = Chart().Axes(xlValue, xlPrimary);
  EXPECT_EQ(axis.MinimumScale(), 0);
  EXPECT_FALSE(axis.MinimumScaleIsAuto());
  // The crossing was taken from the automatic minimum, below the data.
  EXPECT_LT(axis.CrossesAt(), -3);

  clsPlotLine lower = Plot({2, 4, 8});
  lower.LetYMin(-10);
  lower.CreatePlot();
  EXPECT_EQ(Chart().Axes(xlValue, xlPrimary).MinimumScale(), -10);
}

TEST_F(clsPlotLineValueAxis, DecimalsFollowTheUnitUpToThree) {
  struct Case {
    double top;
    double unit;
    const char* format;
  };
  // A line chart's scale starts at 0 for positive data and splits the span
  // into at most 8 units.
  const Case cases[] = {
      {1.0, 0.2, "0.0"},
      {0.3, 0.05, "0.00"},
      {0.0007, 0.0001, "0.000"},  // would need four: stops at three
      {10, 2, "0"},
      {0.03, 0.005, "0.000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    Plot({c.top / 2, c.top}).CreatePlot();
    excel::Axis axis = Chart().Axes(xlValue, xlPrimary);
    EXPECT_DOUBLE_EQ(axis.MajorUnit(), c.unit);
    EXPECT_EQ(axis.TickLabels().NumberFormat(), c.format);
  }
}

TEST_F(clsPlotLineFailures, NothingSet) {
  clsPlotLine plot;
  Error e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Number, 91);
  EXPECT_EQ(e.Source, "Line 10 in ORVMain.clsPlotLine.CreatePlot");
  EXPECT_EQ(e.Description, "Object variable or With block variable not set");

  plot.SetOutputRange(sheet.Range("D8"));
  e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Number, 1004);  // no values to add
  EXPECT_EQ(e.Source, "Line 40 in ORVMain.clsPlotLine.CreatePlot");
  EXPECT_EQ(e.Description, "Add method of SeriesCollection class failed");
}

TEST_F(clsPlotLineFailures, OutputOnASheetThatIsNotActive) {
  excel::Worksheet other = book.Worksheets().Add();
  sheet.Activate();
  clsPlotLine plot = Plot({1, 2});
  plot.SetOutputRange(other.Range("A1"));
  Error e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Number, 1004);
  EXPECT_EQ(e.Source, "Line 20 in ORVMain.clsPlotLine.CreatePlot");
}

TEST_F(clsPlotLineFailures, WithoutTheApplication) {
  clsPlotLine plot = Plot({1, 2});
  Shared().ExcelApplication.reset();
  Error e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Number, 91);
  EXPECT_EQ(e.Source, "Line 20 in ORVMain.clsPlotLine.CreatePlot");
}

TEST_F(clsPlotLineFailures, EmptyValuesDrawAnEmptyLine) {
  clsPlotLine plot;
  plot.SetOutputRange(sheet.Range("D8"));
  plot.SetYValues(sheet.Range("B20:F20"));
  plot.CreatePlot();
  excel::Series series = Chart().SeriesCollection(1);
  ASSERT_EQ(series.ValueNumbers().size(), 5u);
  EXPECT_FALSE(series.ValueNumbers()[0].has_value());
  // Without data the scale is 0 to 1 by 0.2.
  EXPECT_EQ(Chart().Axes(xlValue, xlPrimary).TickLabels().NumberFormat(), "0.0");
}

TEST_F(clsPlotLineFailures, TextAmongTheValuesIsABlankPoint) {
  clsPlotLine plot = Plot({1, 2, 3});
  sheet.Range("C5").LetValue("n/a");
  plot.CreatePlot();
  excel::Series series = Chart().SeriesCollection(1);
  ASSERT_EQ(series.ValueNumbers().size(), 3u);
  EXPECT_FALSE(series.ValueNumbers()[1].has_value());
  EXPECT_EQ(series.ValueNumbers()[2], 3.0);
}
