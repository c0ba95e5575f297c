#include "orv/charts/clsPlotLine.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "chart_test_util.hpp"

using namespace orv;

namespace {

using namespace orv::test;

// A workbook handed to the library; values go in row 5 from column B.
class clsPlotLineTest : public ChartWorkbook {
 protected:
  clsPlotLineTest() : ChartWorkbook(15773696) {}

  clsPlotLine Plot(const std::vector<double>& values) const {
    for (std::size_t i = 0; i < values.size(); ++i)
      sheet.Cells(5, static_cast<Long>(i) + 2).LetValue(values[i]);
    clsPlotLine plot;
    plot.SetOutputRange(sheet.Range("D8"));
    plot.SetYValues(
        sheet.Range(sheet.Cells(5, 2), sheet.Cells(5, static_cast<Long>(values.size()) + 1)));
    return plot;
  }
};

}  // namespace

TEST_F(clsPlotLineTest, OneRowAsALineWithMarkers) {
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
  ExpectThemedAreas(chart, theme_colour_);
  ASSERT_EQ(chart.SeriesCollection().Count(), 1);
  excel::Series series = chart.SeriesCollection(1);
  EXPECT_TRUE(series.ValuesRange() == sheet.Range("B5:I5"));
  EXPECT_EQ(series.Values().UBound(), 8);
  EXPECT_EQ(series.Values().Element(6), Variant(9.0));
  EXPECT_EQ((Ints{series.MarkerStyle(), series.MarkerSize(), series.Border().Weight(),
                  series.Border().LineStyle()}),
            (Ints{excel::xlMarkerStyleCircle, 3, excel::xlThin, excel::xlContinuous}));
}

TEST_F(clsPlotLineTest, EnumerationValuesComeFromTheConstantsStore) {
  clsConstants().LetxlCircle(excel::xlMarkerStyleDiamond);
  clsConstants().LetxlLineMarkers(excel::xlLine);
  Plot({1, 2, 3}).CreatePlot();
  EXPECT_EQ(Chart().ChartType(), excel::xlLine);
  EXPECT_EQ(Chart().SeriesCollection(1).MarkerStyle(), excel::xlMarkerStyleDiamond);
}

TEST_F(clsPlotLineTest, TitlesOnlyWhenGiven) {
  Plot({1, 2, 3}).CreatePlot();
  EXPECT_FALSE(Chart().HasTitle());
  EXPECT_FALSE(Axis(xlCategory).HasTitle());
  EXPECT_FALSE(Axis(xlValue).HasTitle());

  clsPlotLine plot = Plot({1, 2, 3});
  plot.LetChartTitle("Eigenvalues");
  plot.LetXAxisTitle("Component");
  plot.LetYAxisTitle("Value");
  plot.CreatePlot();
  ASSERT_TRUE(Chart().HasTitle());
  EXPECT_EQ(Look(Chart().ChartTitle()), "Eigenvalues|10|bold");
  EXPECT_FALSE(Chart().ChartTitle().AutoScaleFont());
  for (auto [type, text] :
       {std::pair{xlCategory, "Component|10|plain"}, {xlValue, "Value|10|plain"}}) {
    ASSERT_TRUE(Axis(type).HasTitle());
    EXPECT_EQ(Look(Axis(type).AxisTitle()), text);
    EXPECT_FALSE(Axis(type).AxisTitle().AutoScaleFont());
  }
}

TEST_F(clsPlotLineTest, CategoryAndValueAxes) {
  Plot({-3, 1, 7, 2}).CreatePlot();
  excel::Axis categories = Axis(xlCategory);
  ExpectPlainAxis(categories, excel::xlTickMarkOutside);
  EXPECT_EQ(categories.TickLabels().NumberFormat(), "0");
  EXPECT_FALSE(categories.AxisBetweenCategories());
  // The value axis keeps its chosen scale and crosses at its minimum.
  excel::Axis values = Axis(xlValue);
  ExpectPlainAxis(values, excel::xlTickMarkOutside);
  EXPECT_TRUE(values.MinimumScaleIsAuto());
  EXPECT_LT(values.MinimumScale(), -3);
  EXPECT_EQ(values.Crosses(), excel::xlAxisCrossesCustom);
  EXPECT_EQ(values.CrossesAt(), values.MinimumScale());
  EXPECT_EQ(values.TickLabels().NumberFormat(), "0");
}

TEST_F(clsPlotLineTest, YMinReplacesTheMinimumAfterTheCrossingIsFixed) {
  clsPlotLine plot = Plot({-3, 1, 7, 2});
  plot.LetYMin(0);
  plot.CreatePlot();
  EXPECT_EQ(Axis(xlValue).MinimumScale(), 0);
  EXPECT_FALSE(Axis(xlValue).MinimumScaleIsAuto());
  // The crossing was taken from the automatic minimum, below the data.
  EXPECT_LT(Axis(xlValue).CrossesAt(), -3);

  clsPlotLine lower = Plot({2, 4, 8});
  lower.LetYMin(-10);
  lower.CreatePlot();
  EXPECT_EQ(Axis(xlValue).MinimumScale(), -10);
}

TEST_F(clsPlotLineTest, DecimalsFollowTheUnitUpToThree) {
  // A line chart's scale starts at 0 for positive data and splits the span
  // into at most 8 units.
  const struct {
    double top, unit;
    const char* format;
  } cases[] = {
      {1.0, 0.2, "0.0"},      {0.3, 0.05, "0.00"},       {10, 2, "0"},
      {0.03, 0.005, "0.000"}, {0.0007, 0.0001, "0.000"},  // would need four: stops at three
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    Plot({c.top / 2, c.top}).CreatePlot();
    EXPECT_DOUBLE_EQ(Axis(xlValue).MajorUnit(), c.unit);
    EXPECT_EQ(Axis(xlValue).TickLabels().NumberFormat(), c.format);
  }
}

TEST_F(clsPlotLineTest, Failures) {
  const auto source = [](int line) {
    return "Line " + std::to_string(line) + " in ORVMain.clsPlotLine.CreatePlot";
  };
  clsPlotLine plot;
  EXPECT_FAILS(91, source(10), kNotSet, plot.CreatePlot());
  plot.SetOutputRange(sheet.Range("D8"));  // no values to add
  EXPECT_FAILS(1004, source(40), "Add method of SeriesCollection class failed", plot.CreatePlot());

  plot = Plot({1, 2});
  plot.SetOutputRange(Inactive().Range("A1"));
  EXPECT_FAILS(1004, source(20), "Select method of ChartObject class failed", plot.CreatePlot());
  Shared().ExcelApplication.reset();
  EXPECT_FAILS(91, source(20), kNotSet, Plot({1, 2}).CreatePlot());
}

TEST_F(clsPlotLineTest, EmptyValuesAreBlankPoints) {
  clsPlotLine plot;
  plot.SetOutputRange(sheet.Range("D8"));
  plot.SetYValues(sheet.Range("B20:F20"));
  plot.CreatePlot();
  ASSERT_EQ(Chart().SeriesCollection(1).ValueNumbers().size(), 5u);
  EXPECT_FALSE(Chart().SeriesCollection(1).ValueNumbers()[0].has_value());
  // Without data the scale is 0 to 1 by 0.2.
  EXPECT_EQ(Axis(xlValue).TickLabels().NumberFormat(), "0.0");
}
