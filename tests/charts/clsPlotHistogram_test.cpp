#include "orv/charts/clsPlotHistogram.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "chart_test_util.hpp"
#include "orv/excel/excel.hpp"
#include "orv/output/clsConstants.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/output/clsProperties.hpp"

using namespace orv;
using excel::xlCategory;
using excel::xlPrimary;
using excel::xlSecondary;
using excel::xlValue;

namespace {

using namespace orv::test;

constexpr Long kThemeColour = 13434828;

// A workbook handed to the library, with bins in A, the bins as numbers in
// B, frequencies in C and second values in D (rows 2 to bins + 1).
class HistogramTest : public ChartWorkbook {
 protected:
  HistogramTest() : ChartWorkbook(kThemeColour) {}

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
  // A numerical histogram of the filled bins, output at F3.
  clsPlotHistogram Plot(bool second = false) const {
    clsPlotHistogram plot;
    plot.SetOutputRange(sheet.Range("F3"));
    plot.SetXValuesRange(Column(1));
    plot.SetXValuesSecondRange(Column(2));
    plot.SetYValuesRange(Column(3));
    if (second) plot.SetYValuesSecondRange(Column(4));
    return plot;
  }

 private:
  Long n_ = 0;
};

using clsPlotHistogramProperties = HistogramTest;
using clsPlotHistogramNumerical = HistogramTest;
using clsPlotHistogramCategorical = HistogramTest;
using clsPlotHistogramFailures = HistogramTest;

}  // namespace

TEST_F(clsPlotHistogramProperties, DefaultsAndRoundTrips) {
  clsPlotHistogram plot;
  EXPECT_EQ(plot.ChartWidth(), 0);
  EXPECT_EQ(plot.ChartHeight(), 200);
  EXPECT_EQ(plot.VerticalOffset(), 0);
  EXPECT_EQ(plot.HorizontalOffset(), 0);
  EXPECT_EQ(plot.ChartTitle(), "");
  EXPECT_EQ(plot.YAxisSecondTitle(), "");
  clsPlotHistogram same = plot;  // a handle: copies share the object
  same.LetVerticalOffset(-12);
  same.LetXAxisTitle("Bins");
  EXPECT_EQ(plot.VerticalOffset(), -12);
  EXPECT_EQ(plot.XAxisTitle(), "Bins");
  EXPECT_TRUE(Is(plot, same));
  EXPECT_FALSE(Is(plot, clsPlotHistogram()));
}

TEST_F(clsPlotHistogramProperties, EmptyHandleFailsWith91) {
  clsPlotHistogram none(Nothing);
  Error e = Caught([&] { none.LetChartTitle("x"); });
  EXPECT_EQ(e.Number, 91);
  EXPECT_EQ(e.Source, "ORVMain");
  EXPECT_EQ(Caught([&] { none.CreatePlot(); }).Number, 91);
}

TEST_F(clsPlotHistogramNumerical, TenBinsMakeA300PointChartAtTheOutputCell) {
  Fill(10, 0, 0.5);
  clsPlotHistogram plot = Plot();
  plot.CreatePlot();
  EXPECT_EQ(plot.ChartWidth(), 300);  // 25 x 10 + 50, written back
  ASSERT_EQ(sheet.ChartObjects().Count(), 1);
  excel::ChartObject co = Drawn();
  EXPECT_EQ(co.Width(), 300);
  EXPECT_EQ(co.Height(), 200);
  const excel::Range cell = sheet.Range("F3");
  EXPECT_NEAR(co.Top(), cell.Top(), kNudge);
  EXPECT_NEAR(co.Left(), cell.Left(), kNudge);
}

TEST_F(clsPlotHistogramNumerical, OffsetsMoveTheChart) {
  Fill(4, 1, 1);
  clsPlotHistogram plot = Plot();
  plot.LetVerticalOffset(40);
  plot.LetHorizontalOffset(25);
  plot.LetChartHeight(180);
  plot.LetChartWidth(260);
  plot.CreatePlot();
  excel::ChartObject co = Drawn();
  EXPECT_EQ(co.Width(), 260);
  EXPECT_EQ(co.Height(), 180);
  EXPECT_NEAR(co.Top(), sheet.Range("F3").Top() + 40, kNudge);
  EXPECT_NEAR(co.Left(), sheet.Range("F3").Left() + 25, kNudge);
}

TEST_F(clsPlotHistogramNumerical, WidthFromBinsIsCappedAt1000) {
  Fill(60, 0, 1);
  clsPlotHistogram plot = Plot();
  plot.CreatePlot();
  EXPECT_EQ(plot.ChartWidth(), 1000);
  EXPECT_EQ(Drawn().Width(), 1000);

  Fill(10, 0, 1);
  clsPlotHistogram wide = Plot(true);
  wide.CreatePlot();
  EXPECT_EQ(wide.ChartWidth(), 350);  // a second value range adds 100

  clsPlotHistogram given = Plot();
  given.LetChartWidth(1200);
  given.CreatePlot();
  EXPECT_EQ(given.ChartWidth(), 1000);
}

TEST_F(clsPlotHistogramNumerical, ColumnsAndAnInvisibleSecondSeries) {
  Fill(10, 0, 0.5);
  Plot().CreatePlot();
  excel::Chart chart = Chart();
  ASSERT_EQ(chart.SeriesCollection().Count(), 2);

  excel::Series columns = chart.SeriesCollection(1);
  EXPECT_EQ(columns.ChartType(), 51);
  EXPECT_EQ(columns.AxisGroup(), xlPrimary);
  EXPECT_TRUE(columns.XValuesRange() == Column(1));
  EXPECT_TRUE(columns.ValuesRange() == Column(3));
  EXPECT_EQ(columns.Values().Element(10), Variant(10.0));
  EXPECT_EQ(columns.Border().LineStyle(), excel::xlContinuous);
  EXPECT_EQ(columns.Border().Weight(), excel::xlHairline);
  EXPECT_EQ(columns.Border().Color(), 0);
  EXPECT_TRUE(columns.Border().ColorIsSet());
  EXPECT_EQ(columns.Interior().Color(), 16751001);

  excel::Series carrier = chart.SeriesCollection(2);
  EXPECT_EQ(carrier.AxisGroup(), xlSecondary);
  EXPECT_EQ(carrier.ChartType(), excel::xlXYScatter);
  EXPECT_EQ(carrier.MarkerStyle(), excel::xlMarkerStyleNone);
  EXPECT_EQ(carrier.Border().LineStyle(), excel::xlLineStyleNone);
  EXPECT_TRUE(carrier.XValuesRange() == Column(2));
  EXPECT_TRUE(carrier.ValuesRange() == Column(3));
}

TEST_F(clsPlotHistogramNumerical, SecondValuesDrawAThinLineOnTheSecondaryAxis) {
  Fill(10, 0, 0.5);
  clsPlotHistogram plot = Plot(true);
  plot.LetYAxisSecondTitle("Normal fit");
  plot.CreatePlot();
  excel::Chart chart = Chart();
  excel::Series line = chart.SeriesCollection(2);
  EXPECT_TRUE(line.XValuesRange() == Column(2));
  EXPECT_TRUE(line.ValuesRange() == Column(4));
  EXPECT_EQ(line.AxisGroup(), xlSecondary);
  EXPECT_EQ(line.ChartType(), excel::xlXYScatter);
  EXPECT_EQ(line.MarkerStyle(), excel::xlMarkerStyleNone);
  EXPECT_EQ(line.Border().LineStyle(), excel::xlContinuous);
  EXPECT_EQ(line.Border().Weight(), excel::xlThin);

  excel::Axis axis = chart.Axes(xlValue, xlSecondary);
  ASSERT_TRUE(axis.HasTitle());
  EXPECT_EQ(axis.AxisTitle().Text(), "Normal fit");
  EXPECT_EQ(axis.AxisTitle().Orientation(), -90);
  EXPECT_EQ(axis.AxisTitle().Font().Size(), Variant(9.0));
  EXPECT_EQ(axis.AxisTitle().Font().Bold(), Variant(false));
  EXPECT_NE(axis.TickLabelPosition(), -4142);
  EXPECT_TRUE(axis.Border().Visible());
}

TEST_F(clsPlotHistogramNumerical, ChartAreaTitleAndPlotArea) {
  Fill(10, 0, 0.5);
  clsPlotHistogram plot = Plot();
  plot.CreatePlot();
  excel::Chart chart = Chart();
  EXPECT_FALSE(chart.HasLegend());
  EXPECT_FALSE(chart.ChartArea().AutoScaleFont());
  EXPECT_EQ(chart.ChartArea().Font().Name(), Variant("Arial"));
  EXPECT_EQ(chart.ChartArea().Interior().Color(), kThemeColour);
  // An empty title is still a title: one blank, 10 points, bold.
  ASSERT_TRUE(chart.HasTitle());
  EXPECT_EQ(chart.ChartTitle().Text(), " ");
  EXPECT_EQ(chart.ChartTitle().Font().Size(), Variant(10.0));
  EXPECT_EQ(chart.ChartTitle().Font().Bold(), Variant(true));
  EXPECT_EQ(chart.PlotArea().Fill().Visible(), 0);
  EXPECT_EQ(chart.PlotArea().Border().LineStyle(), excel::xlLineStyleNone);
  EXPECT_EQ(chart.PlotArea().Top(), 20);
  EXPECT_EQ(chart.ChartGroups(1).GapWidth(), 0);

  clsPlotHistogram titled = Plot();
  titled.LetChartTitle("Weights");
  titled.CreatePlot();
  EXPECT_EQ(Chart().ChartTitle().Text(), "Weights");
  EXPECT_EQ(Chart().ChartTitle().Font().Size(), Variant(10.0));
  EXPECT_EQ(Chart().PlotArea().Top(), 20);  // the second chart's own layout
}

TEST_F(clsPlotHistogramNumerical, EnumerationValuesComeFromTheConstantsStore) {
  Fill(10, 0, 0.5);
  clsConstants().LetxlHairline(excel::xlThick);
  clsConstants().LetxlTickMarkOutside(excel::xlTickMarkInside);
  Plot().CreatePlot();
  EXPECT_EQ(Chart().SeriesCollection(1).Border().Weight(), excel::xlThick);
  EXPECT_EQ(Chart().Axes(xlValue, xlPrimary).MajorTickMark(), excel::xlTickMarkInside);
}

TEST_F(clsPlotHistogramNumerical, AxesWithoutTitlesOrSecondValues) {
  Fill(10, 0, 0.5);
  clsPlotHistogram plot = Plot();
  plot.LetXAxisTitle(" ");  // a blank is no title
  plot.CreatePlot();
  excel::Chart chart = Chart();

  excel::Axis categories = chart.Axes(xlCategory, xlPrimary);
  EXPECT_EQ(categories.TickLabelPosition(), -4142);
  EXPECT_FALSE(categories.HasTitle());

  excel::Axis bins = chart.Axes(xlCategory, xlSecondary);
  EXPECT_FALSE(bins.HasTitle());
  EXPECT_EQ(bins.Crosses(), 2);
  EXPECT_EQ(bins.TickLabels().Font().Size(), Variant(8.0));
  EXPECT_EQ(bins.MajorTickMark(), excel::xlTickMarkNone);
  EXPECT_FALSE(bins.Border().Visible());
  EXPECT_EQ(bins.TickLabelPosition(), -4134);

  excel::Axis frequencies = chart.Axes(xlValue, xlPrimary);
  EXPECT_FALSE(frequencies.HasTitle());
  EXPECT_EQ(frequencies.TickLabels().Font().Size(), Variant(8.0));
  EXPECT_FALSE(frequencies.HasMajorGridlines());
  EXPECT_FALSE(frequencies.HasMinorGridlines());
  EXPECT_EQ(frequencies.MajorTickMark(), excel::xlTickMarkOutside);
  EXPECT_EQ(frequencies.TickLabels().NumberFormat(), "0");  // 0 to 12 by 2

  // The secondary value axis is there but hidden.
  ASSERT_TRUE(chart.HasAxis(xlValue, xlSecondary));
  excel::Axis hidden = chart.Axes(xlValue, xlSecondary);
  EXPECT_FALSE(hidden.HasTitle());
  EXPECT_EQ(hidden.Crosses(), 2);
  EXPECT_EQ(hidden.TickLabelPosition(), -4142);
  EXPECT_FALSE(hidden.Border().Visible());
  EXPECT_EQ(hidden.TickLabels().Font().Size(), Variant(8.0));
  EXPECT_EQ(hidden.MajorTickMark(), excel::xlTickMarkOutside);
}

TEST_F(clsPlotHistogramNumerical, AxisTitles) {
  Fill(10, 0, 0.5);
  clsPlotHistogram plot = Plot();
  plot.LetXAxisTitle("Weight (kg)");
  plot.LetYAxisTitle("Frequency");
  plot.LetYAxisSecondTitle("Ignored without second values");
  plot.CreatePlot();
  excel::Chart chart = Chart();
  excel::Axis categories = chart.Axes(xlCategory, xlPrimary);
  ASSERT_TRUE(categories.HasTitle());
  EXPECT_EQ(categories.AxisTitle().Text(), "Weight (kg)");
  EXPECT_EQ(categories.AxisTitle().Font().Size(), Variant(9.0));
  EXPECT_EQ(categories.AxisTitle().Font().Bold(), Variant(false));
  // Placed 20 points below the axis, which keeps it at the chart's foot.
  EXPECT_DOUBLE_EQ(categories.AxisTitle().Top(),
                   std::min(categories.Top() + 20,
                            chart.ChartArea().Height() - categories.AxisTitle().Height()));
  excel::Axis frequencies = chart.Axes(xlValue, xlPrimary);
  ASSERT_TRUE(frequencies.HasTitle());
  EXPECT_EQ(frequencies.AxisTitle().Text(), "Frequency");
  EXPECT_EQ(frequencies.AxisTitle().Font().Size(), Variant(9.0));
  EXPECT_FALSE(chart.Axes(xlValue, xlSecondary).HasTitle());
}

TEST_F(clsPlotHistogramNumerical, BinScaleAndItsNumberFormat) {
  struct Case {
    double first, width;
    double min, unit, max;
    const char* format;
  };
  const Case cases[] = {
      {0, 0.5, 0, 0.5, 5, "0.0"},
      {0, 0.25, 0, 0.25, 2.5, "0.00"},
      {10, 5, 10, 5, 60, "0"},
      {-2, 2, -2, 2, 18, "0"},
      // Bins are rounded to 4 decimals; the minimum's decimals count too.
      {2.71828, 1, 2.7183, 1, 12.7183, "0.0000"},
      {0.125, 0.5, 0.125, 0.5, 5.125, "0.000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    Fill(10, c.first, c.width);
    Plot().CreatePlot();
    excel::Axis bins = Chart().Axes(xlCategory, xlSecondary);
    EXPECT_DOUBLE_EQ(bins.MinimumScale(), c.min);
    EXPECT_DOUBLE_EQ(bins.MajorUnit(), c.unit);
    EXPECT_DOUBLE_EQ(bins.MaximumScale(), c.max);
    EXPECT_EQ(bins.TickLabels().NumberFormat(), c.format);
  }
}

TEST_F(clsPlotHistogramNumerical, OneBinSetsOnlyTheMinimum) {
  Fill(1, 3, 1);
  Plot().CreatePlot();
  excel::Axis bins = Chart().Axes(xlCategory, xlSecondary);
  EXPECT_EQ(bins.MinimumScale(), 3);
  EXPECT_TRUE(bins.MajorUnitIsAuto());
  EXPECT_TRUE(bins.MaximumScaleIsAuto());
}

TEST_F(clsPlotHistogramNumerical, FrequencyAxisFormatFollowsItsUnit) {
  Fill(6, 0, 1);
  for (Long i = 0; i < 6; ++i) sheet.Cells(i + 2, 3).LetValue(0.05 * (i + 1));  // to 0.3
  Plot().CreatePlot();
  excel::Axis frequencies = Chart().Axes(xlValue, xlPrimary);
  EXPECT_DOUBLE_EQ(frequencies.MajorUnit(), 0.05);
  EXPECT_EQ(frequencies.TickLabels().NumberFormat(), "0.00");
}

TEST_F(clsPlotHistogramCategorical, TenCategoriesMakeA550PointChart) {
  Fill(10, 1, 1);
  clsPlotHistogram plot = Plot();
  plot.LetDataType(ORVHistogramCategorical);
  plot.CreatePlot();
  EXPECT_EQ(plot.ChartWidth(), 550);
  EXPECT_EQ(Drawn().Width(), 550);

  clsPlotHistogram second = Plot(true);
  second.LetDataType(ORVHistogramCategorical);
  second.CreatePlot();
  EXPECT_EQ(second.ChartWidth(), 600);

  Fill(25, 1, 1);
  clsPlotHistogram many = Plot();
  many.LetDataType(ORVHistogramCategorical);
  many.CreatePlot();
  EXPECT_EQ(many.ChartWidth(), 1000);  // 1300 capped
}

TEST_F(clsPlotHistogramCategorical, CategoriesKeepTheirLabelsAndNoSecondaryAxes) {
  Fill(5, 1, 1);
  for (Long i = 0; i < 5; ++i) sheet.Cells(i + 2, 1).LetValue(std::string(1, char('A' + i)));
  clsPlotHistogram plot = Plot();
  plot.SetXValuesSecondRange(excel::Range(Nothing));  // not needed here
  plot.LetDataType(ORVHistogramCategorical);
  plot.CreatePlot();
  excel::Chart chart = Chart();
  ASSERT_EQ(chart.SeriesCollection().Count(), 1);
  excel::Series columns = chart.SeriesCollection(1);
  EXPECT_EQ(columns.XValues().Element(3), Variant("C"));
  EXPECT_EQ(columns.Interior().Color(), 16751001);

  excel::Axis categories = chart.Axes(xlCategory, xlPrimary);
  EXPECT_NE(categories.TickLabelPosition(), -4142);
  EXPECT_EQ(categories.TickLabels().Font().Size(), Variant(8.0));
  EXPECT_FALSE(categories.HasMajorGridlines());
  EXPECT_FALSE(categories.HasMinorGridlines());
  EXPECT_EQ(categories.MajorTickMark(), excel::xlTickMarkOutside);
  EXPECT_FALSE(chart.HasAxis(xlCategory, xlSecondary));
  EXPECT_FALSE(chart.HasAxis(xlValue, xlSecondary));
  EXPECT_EQ(chart.Axes(xlValue, xlPrimary).MajorTickMark(), excel::xlTickMarkOutside);

  // Without a category title the plot area fills the chart less 30 points.
  EXPECT_EQ(chart.PlotArea().Top(), 20);
  EXPECT_DOUBLE_EQ(chart.PlotArea().Height(), chart.ChartArea().Height() - 30);
}

TEST_F(clsPlotHistogramCategorical, SecondValuesDrawALine) {
  Fill(5, 1, 1);
  clsPlotHistogram plot = Plot(true);
  plot.LetDataType(ORVHistogramCategorical);
  plot.LetXAxisTitle("Group");
  plot.LetYAxisSecondTitle("Share");
  plot.CreatePlot();
  excel::Chart chart = Chart();
  ASSERT_EQ(chart.SeriesCollection().Count(), 2);
  excel::Series line = chart.SeriesCollection(2);
  EXPECT_TRUE(line.XValuesRange() == Column(1));
  EXPECT_TRUE(line.ValuesRange() == Column(4));
  EXPECT_EQ(line.AxisGroup(), xlSecondary);
  EXPECT_EQ(line.ChartType(), 4);
  EXPECT_EQ(line.Border().LineStyle(), excel::xlContinuous);
  EXPECT_EQ(line.Border().Weight(), excel::xlThin);

  excel::Axis share = chart.Axes(xlValue, xlSecondary);
  ASSERT_TRUE(share.HasTitle());
  EXPECT_EQ(share.AxisTitle().Text(), "Share");
  EXPECT_EQ(share.AxisTitle().Orientation(), -90);
  EXPECT_EQ(share.TickLabels().NumberFormat(), "0.0");  // 0 to 3 by 0.5
  EXPECT_FALSE(chart.HasAxis(xlCategory, xlSecondary));

  // With a category title the plot area leaves it 20 points more.
  excel::Axis categories = chart.Axes(xlCategory, xlPrimary);
  ASSERT_TRUE(categories.HasTitle());
  EXPECT_EQ(categories.AxisTitle().Text(), "Group");
  EXPECT_EQ(chart.PlotArea().Top(), 20);
  EXPECT_DOUBLE_EQ(chart.PlotArea().Height(), chart.ChartArea().Height() - 40);
}

TEST_F(clsPlotHistogramFailures, NothingSetFailsWhileCreatingTheChartObject) {
  clsPlotHistogram plot;
  Error e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Number, 91);
  EXPECT_EQ(e.Source, "Line 10 in ORVMain.clsPlotHistogram.CreateNumericalPlot.CreatePlot");
  EXPECT_EQ(e.Description, kNotSet);
  plot.LetDataType(ORVHistogramCategorical);
  e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Number, 91);
  EXPECT_EQ(e.Source, "Line 10 in ORVMain.clsPlotHistogram.CreateCategoricalPlot.CreatePlot");
  EXPECT_EQ(sheet.ChartObjects().Count(), 0);
}

TEST_F(clsPlotHistogramFailures, NoBinsFailsWhileSizingFromThem) {
  clsPlotHistogram plot;
  plot.SetOutputRange(sheet.Range("F3"));
  Error e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Number, 91);
  EXPECT_EQ(e.Source, "Line 20 in ORVMain.clsPlotHistogram.CreateNumericalPlot.CreatePlot");
}

TEST_F(clsPlotHistogramFailures, NumericalWithoutBinNumbersFailsAtTheSecondSeries) {
  Fill(10, 0, 0.5);
  clsPlotHistogram plot = Plot();
  plot.SetXValuesSecondRange(excel::Range(Nothing));
  Error e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Source, "Line 30 in ORVMain.clsPlotHistogram.CreatePlot");
  EXPECT_EQ(e.Number, 91);
  EXPECT_EQ(e.Description, kNotSet);
  // What was drawn before stays: the chart and its columns.
  ASSERT_EQ(sheet.ChartObjects().Count(), 1);
  EXPECT_EQ(Chart().SeriesCollection().Count(), 1);
}

TEST_F(clsPlotHistogramFailures, NoFrequenciesFailsInTheBuilderWithCreatePlotsSource) {
  Fill(10, 0, 0.5);
  clsPlotHistogram plot = Plot();
  plot.SetYValuesRange(excel::Range(Nothing));
  Error e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Source, "Line 30 in ORVMain.clsPlotHistogram.CreatePlot");
  plot.LetDataType(ORVHistogramCategorical);
  e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Source, "Line 20 in ORVMain.clsPlotHistogram.CreatePlot");
}

TEST_F(clsPlotHistogramFailures, OutputOnASheetThatIsNotActiveCannotBeSelected) {
  Fill(10, 0, 0.5);
  excel::Worksheet other = book.Worksheets().Add();
  sheet.Activate();
  clsPlotHistogram plot = Plot();
  plot.SetOutputRange(other.Range("B2"));
  Error e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Number, 1004);
  EXPECT_EQ(e.Source, "Line 30 in ORVMain.clsPlotHistogram.CreateNumericalPlot.CreatePlot");
  EXPECT_EQ(e.Description, "Select method of ChartObject class failed");
}

TEST_F(clsPlotHistogramFailures, DataOnAnotherSheetThanTheBinNumbers) {
  Fill(10, 0, 0.5);
  excel::Worksheet other = book.Worksheets().Add();
  sheet.Activate();
  clsPlotHistogram plot = Plot();
  plot.SetXValuesSecondRange(other.Range("A2:A11"));
  Error e = Caught([&] { plot.CreatePlot(); });
  EXPECT_EQ(e.Number, 1004);
  EXPECT_EQ(e.Source, "Line 30 in ORVMain.clsPlotHistogram.CreatePlot");
  EXPECT_EQ(e.Description, "Method 'Union' of object '_Application' failed");
}

TEST_F(clsPlotHistogramFailures, WithoutTheApplicationScreenUpdatingFails) {
  Fill(10, 0, 0.5);
  Shared().ExcelApplication.reset();
  Error e = Caught([&] { Plot().CreatePlot(); });
  EXPECT_EQ(e.Number, 91);
  EXPECT_EQ(e.Source, "Line 30 in ORVMain.clsPlotHistogram.CreateNumericalPlot.CreatePlot");
}

TEST_F(clsPlotHistogramFailures, TextAmongTheBinsIsATypeMismatch) {
  Fill(10, 0, 0.5);
  sheet.Cells(5, 1).LetValue("three");
  Error e = Caught([&] { Plot().CreatePlot(); });
  EXPECT_EQ(e.Number, 13);
  EXPECT_EQ(e.Source, "Line 30 in ORVMain.clsPlotHistogram.CreatePlot");
  EXPECT_EQ(e.Description, "Type mismatch");
}

TEST_F(clsPlotHistogramFailures, TextAmongTheFrequenciesIsDrawnAsABlank) {
  Fill(10, 0, 0.5);
  sheet.Cells(5, 3).LetValue("n/a");
  Plot().CreatePlot();
  excel::Series columns = Chart().SeriesCollection(1);
  EXPECT_FALSE(columns.ValueNumbers()[3].has_value());
  EXPECT_EQ(columns.ValueNumbers()[4], 5.0);
}

TEST_F(clsPlotHistogramFailures, EmptyBinsGiveNoBinWidth) {
  Fill(10, 0, 0.5);
  Column(1).ClearContents();
  Error e = Caught([&] { Plot().CreatePlot(); });
  EXPECT_EQ(e.Number, 1004);
  EXPECT_EQ(e.Source, "Line 30 in ORVMain.clsPlotHistogram.CreatePlot");
  EXPECT_EQ(e.Description, "Unable to set the MajorUnit property of the Axis class");
}
