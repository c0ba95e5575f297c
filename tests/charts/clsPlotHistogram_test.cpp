#include "orv/charts/clsPlotHistogram.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "chart_test_util.hpp"

using namespace orv;

namespace {

using namespace orv::test;

// A workbook handed to the library, with bins in A, the bins as numbers in
// B, frequencies in C and second values in D (rows 2 to bins + 1); ten
// bins from 0 by 0.5 unless a test fills others.
class clsPlotHistogramTest : public ChartWorkbook {
 protected:
  clsPlotHistogramTest() : ChartWorkbook(13434828) { Fill(10, 0, 0.5); }

  // bins rows: bin i (from 0) is first + i * width; frequency i + 1.
  void Fill(Long bins, double first, double width) {
    for (Long i = 0; i < bins; ++i) {
      sheet.Cells(i + 2, 1).LetValue(first + i * width);
      sheet.Cells(i + 2, 2).LetValue(first + i * width);
      sheet.Cells(i + 2, 3).LetValue(static_cast<double>(i + 1));
      sheet.Cells(i + 2, 4).LetValue(0.5 * (i + 1));
    }
    n_ = bins;
  }
  excel::Range Column(Long column) const {
    return sheet.Range(sheet.Cells(2, column), sheet.Cells(n_ + 1, column));
  }
  // A histogram of the filled bins, output at F3.
  clsPlotHistogram Plot(bool second = false, bool categorical = false) const {
    clsPlotHistogram plot;
    plot.SetOutputRange(sheet.Range("F3"));
    plot.SetXValuesRange(Column(1));
    plot.SetXValuesSecondRange(Column(2));
    plot.SetYValuesRange(Column(3));
    if (second) plot.SetYValuesSecondRange(Column(4));
    if (categorical) plot.LetDataType(ORVHistogramCategorical);
    return plot;
  }
  static std::string Source(int line, const char* builder = "") {
    return "Line " + std::to_string(line) + " in ORVMain.clsPlotHistogram." + builder +
           "CreatePlot";
  }

 private:
  Long n_ = 0;
};

}  // namespace

TEST_F(clsPlotHistogramTest, HandlesShareOneObject) {
  clsPlotHistogram plot, same = plot;
  same.LetXAxisTitle("Bins");
  EXPECT_EQ(plot.XAxisTitle(), "Bins");
  EXPECT_TRUE(Is(plot, same));
  clsPlotHistogram none(Nothing);
  EXPECT_FAILS(91, "ORVMain", kNotSet, none.LetChartTitle("x"));
  EXPECT_EQ(Fails([&] { none.CreatePlot(); }).number, 91);
}

TEST_F(clsPlotHistogramTest, ChartWidthFromBinsOrGivenIsPlacedAtTheOutputCell) {
  const struct {
    Long bins, given;
    bool second, categorical;
    Long width;
  } cases[] = {
      {10, 0, false, false, 300},   // 25 x 10 + 50, written back
      {10, 0, true, false, 350},    // a second value range adds 100
      {60, 0, false, false, 1000},  // capped
      {10, 1200, false, false, 1000}, {4, 260, false, false, 260},
      {10, 0, false, true, 550},                                   // categorical: 50 x 10 + 50
      {10, 0, true, true, 600},       {25, 0, false, true, 1000},  // 1300 capped
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    Fill(c.bins, 1, 1);
    clsPlotHistogram plot = Plot(c.second, c.categorical);
    if (c.given) plot.LetChartWidth(c.given);
    plot.CreatePlot();
    EXPECT_EQ(plot.ChartWidth(), c.width);
    EXPECT_EQ(Drawn().Width(), c.width);
    EXPECT_EQ(Drawn().Height(), 200);
    EXPECT_NEAR(Drawn().Top(), sheet.Range("F3").Top(), kNudge);
    EXPECT_NEAR(Drawn().Left(), sheet.Range("F3").Left(), kNudge);
  }
  clsPlotHistogram plot = Plot();
  plot.LetVerticalOffset(40);
  plot.LetHorizontalOffset(25);
  plot.LetChartHeight(180);
  plot.CreatePlot();
  EXPECT_EQ(Drawn().Height(), 180);
  EXPECT_NEAR(Drawn().Top(), sheet.Range("F3").Top() + 40, kNudge);
  EXPECT_NEAR(Drawn().Left(), sheet.Range("F3").Left() + 25, kNudge);
}

TEST_F(clsPlotHistogramTest, ColumnsAndAnInvisibleSecondSeries) {
  Plot().CreatePlot();
  excel::Chart chart = Chart();
  ASSERT_EQ(chart.SeriesCollection().Count(), 2);
  excel::Series columns = chart.SeriesCollection(1);
  EXPECT_EQ((Ints{columns.ChartType(), columns.AxisGroup()}), (Ints{51, xlPrimary}));
  EXPECT_TRUE(columns.XValuesRange() == Column(1));
  EXPECT_TRUE(columns.ValuesRange() == Column(3));
  EXPECT_EQ(
      (Ints{columns.Border().LineStyle(), columns.Border().Weight(), columns.Border().Color()}),
      (Ints{excel::xlContinuous, excel::xlHairline, 0}));
  EXPECT_TRUE(columns.Border().ColorIsSet());
  EXPECT_EQ(columns.Interior().Color(), 16751001);

  excel::Series carrier = chart.SeriesCollection(2);
  EXPECT_EQ(
      (Ints{carrier.AxisGroup(), carrier.ChartType(), carrier.MarkerStyle(),
            carrier.Border().LineStyle()}),
      (Ints{xlSecondary, excel::xlXYScatter, excel::xlMarkerStyleNone, excel::xlLineStyleNone}));
  EXPECT_TRUE(carrier.XValuesRange() == Column(2));
  EXPECT_TRUE(carrier.ValuesRange() == Column(3));
}

TEST_F(clsPlotHistogramTest, SecondValuesDrawAThinLineOnTheSecondaryAxis) {
  clsPlotHistogram plot = Plot(true);
  plot.LetYAxisSecondTitle("Normal fit");
  plot.CreatePlot();
  excel::Series line = Chart().SeriesCollection(2);
  EXPECT_TRUE(line.XValuesRange() == Column(2));
  EXPECT_TRUE(line.ValuesRange() == Column(4));
  EXPECT_EQ((Ints{line.AxisGroup(), line.ChartType(), line.MarkerStyle(), line.Border().LineStyle(),
                  line.Border().Weight()}),
            (Ints{xlSecondary, excel::xlXYScatter, excel::xlMarkerStyleNone, excel::xlContinuous,
                  excel::xlThin}));
  excel::Axis axis = Axis(xlValue, xlSecondary);
  ASSERT_TRUE(axis.HasTitle());
  EXPECT_EQ(Look(axis.AxisTitle()), "Normal fit|9|plain");
  EXPECT_EQ(axis.AxisTitle().Orientation(), -90);
  EXPECT_NE(axis.TickLabelPosition(), -4142);
  EXPECT_TRUE(axis.Border().Visible());
}

TEST_F(clsPlotHistogramTest, ChartAreaTitleAndPlotArea) {
  Plot().CreatePlot();
  excel::Chart chart = Chart();
  ExpectThemedAreas(chart, theme_colour_);
  EXPECT_EQ(chart.ChartArea().Font().Name(), Variant("Arial"));
  // An empty title is still a title: one blank, 10 points, bold.
  ASSERT_TRUE(chart.HasTitle());
  EXPECT_EQ(Look(chart.ChartTitle()), " |10|bold");
  EXPECT_EQ(chart.PlotArea().Top(), 20);
  EXPECT_EQ(chart.ChartGroups(1).GapWidth(), 0);
}

TEST_F(clsPlotHistogramTest, EnumerationValuesComeFromTheConstantsStore) {
  clsConstants().LetxlHairline(excel::xlThick);
  clsConstants().LetxlTickMarkOutside(excel::xlTickMarkInside);
  Plot().CreatePlot();
  EXPECT_EQ(Chart().SeriesCollection(1).Border().Weight(), excel::xlThick);
  EXPECT_EQ(Axis(xlValue).MajorTickMark(), excel::xlTickMarkInside);
}

TEST_F(clsPlotHistogramTest, AxesWithoutTitlesOrSecondValues) {
  clsPlotHistogram plot = Plot();
  plot.LetXAxisTitle(" ");  // a blank is no title
  plot.CreatePlot();
  excel::Axis categories = Axis(xlCategory);
  EXPECT_EQ(categories.TickLabelPosition(), -4142);
  EXPECT_FALSE(categories.HasTitle());

  excel::Axis bins = Axis(xlCategory, xlSecondary);
  EXPECT_FALSE(bins.HasTitle());
  EXPECT_EQ((Ints{bins.Crosses(), bins.MajorTickMark(), bins.TickLabelPosition()}),
            (Ints{2, excel::xlTickMarkNone, -4134}));
  EXPECT_FALSE(bins.Border().Visible());

  excel::Axis frequencies = Axis(xlValue);
  EXPECT_FALSE(frequencies.HasTitle());
  ExpectPlainAxis(frequencies, excel::xlTickMarkOutside);
  EXPECT_EQ(frequencies.TickLabels().NumberFormat(), "0");  // 0 to 12 by 2

  // The secondary value axis is there but hidden.
  ASSERT_TRUE(Chart().HasAxis(xlValue, xlSecondary));
  excel::Axis hidden = Axis(xlValue, xlSecondary);
  EXPECT_FALSE(hidden.HasTitle());
  EXPECT_EQ((Ints{hidden.Crosses(), hidden.TickLabelPosition(), hidden.MajorTickMark()}),
            (Ints{2, -4142, excel::xlTickMarkOutside}));
  EXPECT_FALSE(hidden.Border().Visible());
}

TEST_F(clsPlotHistogramTest, AxisTitles) {
  clsPlotHistogram plot = Plot();
  plot.LetXAxisTitle("Weight (kg)");
  plot.LetYAxisTitle("Frequency");
  plot.LetYAxisSecondTitle("Ignored without second values");
  plot.CreatePlot();
  excel::Axis categories = Axis(xlCategory);
  ASSERT_TRUE(categories.HasTitle());
  EXPECT_EQ(Look(categories.AxisTitle()), "Weight (kg)|9|plain");
  // Placed 20 points below the axis, which keeps it at the chart's foot.
  EXPECT_DOUBLE_EQ(categories.AxisTitle().Top(),
                   std::min(categories.Top() + 20,
                            Chart().ChartArea().Height() - categories.AxisTitle().Height()));
  ASSERT_TRUE(Axis(xlValue).HasTitle());
  EXPECT_EQ(Look(Axis(xlValue).AxisTitle()), "Frequency|9|plain");
  EXPECT_FALSE(Axis(xlValue, xlSecondary).HasTitle());
}

TEST_F(clsPlotHistogramTest, BinScaleAndItsNumberFormat) {
  const struct {
    double first, width, min, unit, max;
    const char* format;
  } cases[] = {
      {0, 0.5, 0, 0.5, 5, "0.0"},
      {0, 0.25, 0, 0.25, 2.5, "0.00"},
      {-2, 2, -2, 2, 18, "0"},
      // Bins are rounded to 4 decimals; the minimum's decimals count too.
      {2.71828, 1, 2.7183, 1, 12.7183, "0.0000"},
      {0.125, 0.5, 0.125, 0.5, 5.125, "0.000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    Fill(10, c.first, c.width);
    Plot().CreatePlot();
    excel::Axis bins = Axis(xlCategory, xlSecondary);
    EXPECT_DOUBLE_EQ(bins.MinimumScale(), c.min);
    EXPECT_DOUBLE_EQ(bins.MajorUnit(), c.unit);
    EXPECT_DOUBLE_EQ(bins.MaximumScale(), c.max);
    EXPECT_EQ(bins.TickLabels().NumberFormat(), c.format);
  }
  // One bin sets only the minimum.
  Fill(1, 3, 1);
  Plot().CreatePlot();
  EXPECT_EQ(Axis(xlCategory, xlSecondary).MinimumScale(), 3);
  EXPECT_TRUE(Axis(xlCategory, xlSecondary).MajorUnitIsAuto());
  EXPECT_TRUE(Axis(xlCategory, xlSecondary).MaximumScaleIsAuto());
}

TEST_F(clsPlotHistogramTest, FrequencyAxisFormatFollowsItsUnit) {
  Fill(6, 0, 1);
  for (Long i = 0; i < 6; ++i) sheet.Cells(i + 2, 3).LetValue(0.05 * (i + 1));  // to 0.3
  Plot().CreatePlot();
  EXPECT_DOUBLE_EQ(Axis(xlValue).MajorUnit(), 0.05);
  EXPECT_EQ(Axis(xlValue).TickLabels().NumberFormat(), "0.00");
}

TEST_F(clsPlotHistogramTest, CategoriesKeepTheirLabelsAndNoSecondaryAxes) {
  Fill(5, 1, 1);
  for (Long i = 0; i < 5; ++i) sheet.Cells(i + 2, 1).LetValue(std::string(1, char('A' + i)));
  clsPlotHistogram plot = Plot(false, true);
  plot.SetXValuesSecondRange(excel::Range(Nothing));  // not needed here
  plot.CreatePlot();
  excel::Chart chart = Chart();
  ASSERT_EQ(chart.SeriesCollection().Count(), 1);
  EXPECT_EQ(chart.SeriesCollection(1).XValues().Element(3), Variant("C"));
  EXPECT_NE(Axis(xlCategory).TickLabelPosition(), -4142);
  ExpectPlainAxis(Axis(xlCategory), excel::xlTickMarkOutside);
  EXPECT_FALSE(chart.HasAxis(xlCategory, xlSecondary));
  EXPECT_FALSE(chart.HasAxis(xlValue, xlSecondary));
  // Without a category title the plot area fills the chart less 30 points.
  EXPECT_EQ(chart.PlotArea().Top(), 20);
  EXPECT_DOUBLE_EQ(chart.PlotArea().Height(), chart.ChartArea().Height() - 30);
}

TEST_F(clsPlotHistogramTest, CategoricalSecondValuesDrawALine) {
  Fill(5, 1, 1);
  clsPlotHistogram plot = Plot(true, true);
  plot.LetXAxisTitle("Group");
  plot.LetYAxisSecondTitle("Share");
  plot.CreatePlot();
  excel::Chart chart = Chart();
  ASSERT_EQ(chart.SeriesCollection().Count(), 2);
  excel::Series line = chart.SeriesCollection(2);
  EXPECT_TRUE(line.XValuesRange() == Column(1));
  EXPECT_TRUE(line.ValuesRange() == Column(4));
  EXPECT_EQ(
      (Ints{line.AxisGroup(), line.ChartType(), line.Border().LineStyle(), line.Border().Weight()}),
      (Ints{xlSecondary, 4, excel::xlContinuous, excel::xlThin}));
  excel::Axis share = Axis(xlValue, xlSecondary);
  ASSERT_TRUE(share.HasTitle());
  EXPECT_EQ(share.AxisTitle().Text(), "Share");
  EXPECT_EQ(share.AxisTitle().Orientation(), -90);
  EXPECT_EQ(share.TickLabels().NumberFormat(), "0.0");  // 0 to 3 by 0.5
  // With a category title the plot area leaves it 20 points more.
  ASSERT_TRUE(Axis(xlCategory).HasTitle());
  EXPECT_EQ(Axis(xlCategory).AxisTitle().Text(), "Group");
  EXPECT_EQ(chart.PlotArea().Top(), 20);
  EXPECT_DOUBLE_EQ(chart.PlotArea().Height(), chart.ChartArea().Height() - 40);
}

TEST_F(clsPlotHistogramTest, FailuresWhileCreatingTheChartObject) {
  clsPlotHistogram plot;
  EXPECT_FAILS(91, Source(10, "CreateNumericalPlot."), kNotSet, plot.CreatePlot());
  plot.LetDataType(ORVHistogramCategorical);
  EXPECT_FAILS(91, Source(10, "CreateCategoricalPlot."), kNotSet, plot.CreatePlot());
  EXPECT_EQ(sheet.ChartObjects().Count(), 0);
  // No bins: sizing from them fails.
  plot = clsPlotHistogram();
  plot.SetOutputRange(sheet.Range("F3"));
  EXPECT_FAILS(91, Source(20, "CreateNumericalPlot."), kNotSet, plot.CreatePlot());

  plot = Plot();
  plot.SetOutputRange(Inactive().Range("B2"));
  EXPECT_FAILS(1004, Source(30, "CreateNumericalPlot."),
               "Select method of ChartObject class failed", plot.CreatePlot());
  Shared().ExcelApplication.reset();  // screen updating fails
  EXPECT_FAILS(91, Source(30, "CreateNumericalPlot."), kNotSet, Plot().CreatePlot());
}

TEST_F(clsPlotHistogramTest, FailuresWhileDrawingAreCreatePlots) {
  clsPlotHistogram plot = Plot();
  plot.SetXValuesSecondRange(excel::Range(Nothing));  // no bin numbers
  EXPECT_FAILS(91, Source(30), kNotSet, plot.CreatePlot());
  // What was drawn before stays: the chart and its columns.
  ASSERT_EQ(sheet.ChartObjects().Count(), 1);
  EXPECT_EQ(Chart().SeriesCollection().Count(), 1);

  plot = Plot();
  plot.SetYValuesRange(excel::Range(Nothing));  // no frequencies
  EXPECT_EQ(Fails([&] { plot.CreatePlot(); }).source, Source(30));
  plot.LetDataType(ORVHistogramCategorical);
  EXPECT_EQ(Fails([&] { plot.CreatePlot(); }).source, Source(20));

  plot = Plot();
  plot.SetXValuesSecondRange(Inactive().Range("A2:A11"));
  EXPECT_FAILS(1004, Source(30), "Method 'Union' of object '_Application' failed",
               plot.CreatePlot());
  sheet.Cells(5, 1).LetValue("three");
  EXPECT_FAILS(13, Source(30), "Type mismatch", Plot().CreatePlot());
  Column(1).ClearContents();  // no bin width
  EXPECT_FAILS(1004, Source(30), "Unable to set the MajorUnit property of the Axis class",
               Plot().CreatePlot());
}
