// clsPlotScatter: its settings, the chart CreatePlot draws (placement,
// data series, titles, axes, labels) and the failures of bad input.
#include "orv/charts/clsPlotScatter.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "chart_test_util.hpp"
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

class clsPlotScatterChart : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_constants_ = Shared().Constants;
    saved_colour_ = Shared().Properties.TitleBackColour;
    app_.Workbooks().Add();
    sheet_ = app_.ActiveSheet();
    clsMain().SetExcel(app_);
  }
  void TearDown() override {
    clsMain().SetExcel(excel::Application(Nothing));
    Shared().Constants = saved_constants_;
    Shared().Properties.TitleBackColour = saved_colour_;
  }

  // Writes the values down a column from the reference's first cell and
  // returns the block they fill.
  excel::Range Put(const excel::Worksheet& sheet, const std::string& first,
                   const std::vector<Variant>& values) {
    const excel::Range top = sheet.Range(first);
    for (std::size_t i = 0; i < values.size(); ++i)
      top.Cells(static_cast<Long>(i) + 1, 1).LetValue(values[i]);
    return sheet.Range(top, top.Cells(static_cast<Long>(values.size()), 1));
  }
  excel::Range Put(const std::string& first, const std::vector<Variant>& values) {
    return Put(sheet_, first, values);
  }

  // A plot of B against A (rows 2 to 6) placed at D2.
  clsPlotScatter Basic() {
    clsPlotScatter plot;
    plot.SetXValues(Put("A2", {1.0, 2.0, 3.0, 4.0, 5.0}));
    plot.SetYValues(Put("B2", {2.0, 4.0, 5.0, 4.0, 5.0}));
    plot.SetOutputRange(sheet_.Range("D2"));
    return plot;
  }

  excel::Chart LastChart() const {
    const excel::ChartObjects objects = sheet_.ChartObjects();
    return objects.Item(objects.Count()).Chart();
  }

  excel::Application app_;
  excel::Worksheet sheet_;
  ExcelConstants saved_constants_;
  Long saved_colour_ = 0;
};

}  // namespace

// --- settings ---

TEST(clsPlotScatterSettings, DefaultsAndRoundTrips) {
  clsPlotScatter plot;
  EXPECT_EQ(plot.ChartWidth(), 200);
  EXPECT_EQ(plot.ChartHeight(), 200);
  EXPECT_EQ(plot.VerticalOffset(), 0);
  EXPECT_EQ(plot.HorizontalOffset(), 0);
  EXPECT_EQ(plot.ChartTitle(), "");
  EXPECT_EQ(plot.XAxisTitle(), "");
  EXPECT_EQ(plot.YAxisTitle(), "");
  EXPECT_EQ(plot.Slope(), 0);
  EXPECT_EQ(plot.Intercept(), 0);

  plot.LetChartWidth(320);
  plot.LetChartHeight(-5);  // stored as given
  plot.LetVerticalOffset(12);
  plot.LetHorizontalOffset(-7);
  plot.LetChartTitle("Größe");
  plot.LetXAxisTitle("x");
  plot.LetYAxisTitle("y");
  plot.LetSlope(-1.5);
  plot.LetIntercept(2.25);
  EXPECT_EQ(plot.ChartWidth(), 320);
  EXPECT_EQ(plot.ChartHeight(), -5);
  EXPECT_EQ(plot.VerticalOffset(), 12);
  EXPECT_EQ(plot.HorizontalOffset(), -7);
  EXPECT_EQ(plot.ChartTitle(), "Größe");
  EXPECT_EQ(plot.XAxisTitle(), "x");
  EXPECT_EQ(plot.YAxisTitle(), "y");
  EXPECT_EQ(plot.Slope(), -1.5);
  EXPECT_EQ(plot.Intercept(), 2.25);
}

TEST(clsPlotScatterSettings, CopiesShareOneObjectAndNewObjectsAreIndependent) {
  clsPlotScatter a;
  clsPlotScatter shared = a;
  shared.LetChartTitle("shared");
  EXPECT_EQ(a.ChartTitle(), "shared");
  clsPlotScatter b;
  EXPECT_EQ(b.ChartTitle(), "");
}

TEST(clsPlotScatterSettings, EmptyHandleFailsWith91AsItArrives) {
  clsPlotScatter none(Nothing);
  EXPECT_TRUE(none.IsNothing());
  ExpectError([&] { none.LetVerticalOffset(1); }, 91, "ORVMain", kNotSet);
  ExpectError([&] { (void)none.ChartTitle(); }, 91, "ORVMain", kNotSet);
  ExpectError([&] { none.SetOutputRange(excel::Range()); }, 91, "ORVMain", kNotSet);
  ExpectError([&] { none.LinePoints(0, 0, 1, 1); }, 91, "ORVMain", kNotSet);
  ExpectError([&] { none.CreatePlot(); }, 91, "ORVMain", kNotSet);
}

TEST(clsPlotScatterSettings, LinePointsBeyondSinglePrecisionOverflow) {
  clsPlotScatter plot;
  ExpectError([&] { plot.LinePoints(0, 1e39, 1, 1); }, 6, Src("LinePoints", 10), "Overflow");
  ExpectError([&] { plot.LinePoints(0, 0, -1e300, 1); }, 6, Src("LinePoints", 10), "Overflow");
}

// --- placement ---

TEST_F(clsPlotScatterChart, ChartIsWalkedOntoTheOutputCellAndSized) {
  clsPlotScatter plot = Basic();
  plot.LetChartWidth(300);
  plot.LetChartHeight(180);
  plot.CreatePlot();
  ASSERT_EQ(sheet_.ChartObjects().Count(), 1);
  const excel::ChartObject object = sheet_.ChartObjects(1);
  // D2 starts at (144, 15); the placement walks the chart up and left in
  // quarter points until its corner leaves the cell: one nudge each way.
  EXPECT_DOUBLE_EQ(object.Left(), 143.75);
  EXPECT_DOUBLE_EQ(object.Top(), 14.75);
  EXPECT_DOUBLE_EQ(object.Width(), 300);
  EXPECT_DOUBLE_EQ(object.Height(), 180);
  EXPECT_FALSE(app_.ScreenUpdating());  // switched off, not back on
}

TEST_F(clsPlotScatterChart, OutputOnAnInactiveSheetLeavesTheChartWhereItWasAdded) {
  clsPlotScatter plot = Basic();
  const excel::Worksheet other = app_.ActiveWorkbook().Worksheets().Add();
  sheet_.Activate();
  plot.SetOutputRange(other.Range("C3"));
  plot.LetVerticalOffset(4);
  plot.LetHorizontalOffset(6);
  ExpectError([&] { plot.CreatePlot(); }, 1004, Src("CreatePlot", 20),
              "Select method of ChartObject class failed");
  EXPECT_EQ(sheet_.ChartObjects().Count(), 0);
  ASSERT_EQ(other.ChartObjects().Count(), 1);
  EXPECT_DOUBLE_EQ(other.ChartObjects(1).Left(), 96 + 6);
  EXPECT_DOUBLE_EQ(other.ChartObjects(1).Top(), 30 + 4);
  EXPECT_DOUBLE_EQ(other.ChartObjects(1).Width(), 200);
}

TEST_F(clsPlotScatterChart, AnOffsetPastTheLastRowIsDropped) {
  clsPlotScatter plot = Basic();
  const excel::Worksheet other = app_.ActiveWorkbook().Worksheets().Add();
  sheet_.Activate();
  plot.SetOutputRange(other.Range("C3"));
  plot.LetVerticalOffset(2000000000);
  ExpectError([&] { plot.CreatePlot(); }, 1004, Src("CreatePlot", 20),
              "Select method of ChartObject class failed");
  EXPECT_DOUBLE_EQ(other.ChartObjects(1).Top(), 30);
}

TEST_F(clsPlotScatterChart, DataOnAnotherSheetIsPlottedOnTheOutputSheet) {
  const excel::Worksheet data = app_.ActiveWorkbook().Worksheets().Add();
  sheet_.Activate();
  clsPlotScatter plot;
  const excel::Range x = Put(data, "A1", {1.0, 2.0, 3.0});
  const excel::Range y = Put(data, "B1", {10.0, 30.0, 20.0});
  plot.SetXValues(x);
  plot.SetYValues(y);
  plot.SetOutputRange(sheet_.Range("D2"));
  plot.CreatePlot();
  EXPECT_EQ(data.ChartObjects().Count(), 0);
  const excel::Series series = LastChart().SeriesCollection(1);
  EXPECT_TRUE(series.ValuesRange() == y);
  EXPECT_TRUE(series.XValuesRange() == x);
  EXPECT_EQ(Numbers(series.ValueNumbers()), (std::vector<double>{10, 30, 20}));
}

// --- the data series and the chart's dress ---

TEST_F(clsPlotScatterChart, DataSeriesAndChartFormats) {
  Shared().Properties.TitleBackColour = 0xCCFFFF;
  clsPlotScatter plot = Basic();
  plot.CreatePlot();
  const excel::Chart chart = LastChart();
  EXPECT_FALSE(chart.HasLegend());
  EXPECT_EQ(chart.ChartType(), excel::xlXYScatter);
  EXPECT_EQ(chart.ChartArea().Interior().Color(), 0xCCFFFF);
  EXPECT_FALSE(chart.ChartArea().AutoScaleFont());
  EXPECT_EQ(CStr(chart.ChartArea().Font().Name()), "Arial");
  EXPECT_EQ(CDbl(chart.ChartArea().Font().Size()), 8);

  ASSERT_EQ(chart.SeriesCollection().Count(), 1);
  const excel::Series data = chart.SeriesCollection(1);
  EXPECT_EQ(data.Name(), "Data");
  EXPECT_EQ(data.ChartType(), excel::xlXYScatter);
  EXPECT_EQ(data.AxisGroup(), excel::xlPrimary);
  EXPECT_EQ(Numbers(data.ValueNumbers()), (std::vector<double>{2, 4, 5, 4, 5}));
  EXPECT_EQ(Numbers(data.XValueNumbers()), (std::vector<double>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(data.ValuesRange() == sheet_.Range("B2:B6"));
  EXPECT_TRUE(data.XValuesRange() == sheet_.Range("A2:A6"));
  EXPECT_EQ(data.MarkerStyle(), excel::xlMarkerStyleCircle);
  EXPECT_EQ(data.MarkerSize(), 3);
  EXPECT_EQ(data.MarkerBackgroundColorIndex(), 11);
  EXPECT_EQ(data.MarkerForegroundColorIndex(), 11);
  EXPECT_FALSE(data.HasDataLabels());
  EXPECT_EQ(data.Trendlines().Count(), 0);

  EXPECT_EQ(chart.PlotArea().Fill().Visible(), excel::msoFalse);
  EXPECT_FALSE(chart.PlotArea().Border().Visible());
  EXPECT_EQ(chart.PlotArea().Border().LineStyle(), excel::xlLineStyleNone);
}

TEST_F(clsPlotScatterChart, AreaBorderIsABlackHairline) {
  clsPlotScatter plot = Basic();
  plot.LetAreaBorder(true);
  plot.CreatePlot();
  const excel::ChartBorder border = LastChart().PlotArea().Border();
  EXPECT_EQ(border.LineStyle(), excel::xlContinuous);
  EXPECT_EQ(border.Weight(), excel::xlHairline);
  EXPECT_EQ(border.ColorIndex(), 1);
}

TEST_F(clsPlotScatterChart, EnumerationValuesComeFromTheConstantStore) {
  Shared().Constants.xlCircle = excel::xlMarkerStyleSquare;
  Shared().Constants.xlHairline = excel::xlMedium;
  clsPlotScatter plot = Basic();
  plot.LetAreaBorder(true);
  plot.CreatePlot();
  const excel::Chart chart = LastChart();
  EXPECT_EQ(chart.SeriesCollection(1).MarkerStyle(), excel::xlMarkerStyleSquare);
  EXPECT_EQ(chart.PlotArea().Border().Weight(), excel::xlMedium);
}

// --- titles ---

TEST_F(clsPlotScatterChart, WithoutTitlesTheChartHasNone) {
  Basic().CreatePlot();
  EXPECT_FALSE(LastChart().HasTitle());
}

TEST_F(clsPlotScatterChart, TitleAloneIsBoldTenPoint) {
  clsPlotScatter plot = Basic();
  plot.LetChartTitle("Height");
  plot.CreatePlot();
  const excel::Chart chart = LastChart();
  ASSERT_TRUE(chart.HasTitle());
  const excel::ChartTitle title = chart.ChartTitle();
  EXPECT_EQ(title.Text(), "Height");
  EXPECT_FALSE(title.AutoScaleFont());
  EXPECT_EQ(CDbl(title.Font().Size()), 10);
  EXPECT_TRUE(CBool(title.Font().Bold()));
}

TEST_F(clsPlotScatterChart, SubtitleAloneBecomesTheBoldTitle) {
  clsPlotScatter plot = Basic();
  plot.LetChartSubtitle("n = 5");
  plot.CreatePlot();
  const excel::ChartTitle title = LastChart().ChartTitle();
  EXPECT_EQ(title.Text(), "n = 5");
  EXPECT_EQ(CDbl(title.Font().Size()), 10);
  EXPECT_TRUE(CBool(title.Font().Bold()));
}

TEST_F(clsPlotScatterChart, TitleAndSubtitleMakeTwoRuns) {
  clsPlotScatter plot = Basic();
  plot.LetChartTitle("Größe");  // five characters, seven bytes
  plot.LetChartSubtitle("n = 5");
  plot.CreatePlot();
  const excel::ChartTitle title = LastChart().ChartTitle();
  EXPECT_EQ(title.Text(), "Größe\rn = 5");
  const std::vector<excel::TextRun> runs = title.Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].text, "Größe");
  EXPECT_TRUE(runs[0].font.bold);
  EXPECT_EQ(runs[0].font.size, 10);
  EXPECT_EQ(runs[1].text, "\rn = 5");
  EXPECT_FALSE(runs[1].font.bold);
  EXPECT_EQ(runs[1].font.size, 8);
}

// --- axes ---

TEST_F(clsPlotScatterChart, AxesAreTitledScaledAndCrossAtTheirMinimum) {
  clsPlotScatter plot = Basic();
  plot.LetXAxisTitle("Dose");
  plot.CreatePlot();
  const excel::Chart chart = LastChart();
  const excel::Axis x = chart.Axes(excel::xlCategory, excel::xlPrimary);
  const excel::Axis y = chart.Axes(excel::xlValue, excel::xlPrimary);
  ASSERT_TRUE(x.HasTitle());
  EXPECT_EQ(x.AxisTitle().Text(), "Dose");
  EXPECT_FALSE(x.AxisTitle().AutoScaleFont());
  EXPECT_EQ(CDbl(x.AxisTitle().Font().Size()), 8);
  EXPECT_FALSE(CBool(x.AxisTitle().Font().Bold()));
  EXPECT_FALSE(y.HasTitle());
  for (const excel::Axis& axis : {x, y}) {
    EXPECT_FALSE(axis.TickLabels().AutoScaleFont());
    EXPECT_EQ(CDbl(axis.TickLabels().Font().Size()), 8);
    EXPECT_FALSE(axis.HasMajorGridlines());
    EXPECT_FALSE(axis.HasMinorGridlines());
    EXPECT_EQ(axis.MajorTickMark(), excel::xlTickMarkOutside);
    EXPECT_EQ(axis.Crosses(), excel::xlAxisCrossesCustom);
    EXPECT_EQ(axis.CrossesAt(), axis.MinimumScale());
    EXPECT_EQ(axis.TickLabels().NumberFormat(), "0");
  }
  // x 1..5 padded by 1% each side: 0.96..5.04 on a unit of 1.
  EXPECT_EQ(x.MinimumScale(), 0);
  EXPECT_EQ(x.MaximumScale(), 6);
  EXPECT_EQ(x.MajorUnit(), 1);
  // y 2..5: 1.97..5.03.
  EXPECT_EQ(y.MinimumScale(), 1);
  EXPECT_EQ(y.MaximumScale(), 6);
  EXPECT_EQ(y.MajorUnit(), 1);
}

TEST_F(clsPlotScatterChart, WiderThan250PointsGetsNineTicks) {
  const excel::Range x = Put("A2", {0.0, 10.0});
  const excel::Range y = Put("B2", {0.0, 0.001});
  for (Long width : {250, 251}) {
    clsPlotScatter plot;
    plot.SetXValues(x);
    plot.SetYValues(y);
    plot.SetOutputRange(sheet_.Range("D2"));
    plot.LetChartWidth(width);
    plot.LetChartHeight(width);
    plot.CreatePlot();
    const excel::Axis xa = LastChart().Axes(excel::xlCategory, excel::xlPrimary);
    const excel::Axis ya = LastChart().Axes(excel::xlValue, excel::xlPrimary);
    // -0.1..10.1 spans a nice 20: 6 ticks take units of 5, 9 ticks of 2.
    if (width == 250) {
      EXPECT_EQ(xa.MajorUnit(), 5);
      EXPECT_EQ(xa.MinimumScale(), -5);
      EXPECT_EQ(xa.MaximumScale(), 15);
      EXPECT_DOUBLE_EQ(ya.MajorUnit(), 0.0005);
      EXPECT_EQ(ya.TickLabels().NumberFormat(), "0.0000");
    } else {
      EXPECT_EQ(xa.MajorUnit(), 2);
      EXPECT_EQ(xa.MinimumScale(), -2);
      EXPECT_EQ(xa.MaximumScale(), 12);
      EXPECT_DOUBLE_EQ(ya.MajorUnit(), 0.0002);
      EXPECT_EQ(ya.TickLabels().NumberFormat(), "0.0000");
    }
  }
}

// --- data labels ---

TEST_F(clsPlotScatterChart, DataLabelsGoOnEveryPointInOrder) {
  clsPlotScatter plot = Basic();
  Array<Variant> labels(1, 5);
  for (Long k = 1; k <= 5; ++k)
    labels.At(k) = Variant(std::string(1, 'p').append(std::to_string(k)));
  labels.At(3) = Variant(2.5);  // numbers are written as text
  plot.LetDataLabels(Variant(labels));
  plot.CreatePlot();
  const excel::Series data = LastChart().SeriesCollection(1);
  EXPECT_EQ(data.DataLabelsType(), excel::xlDataLabelsShowLabel);
  const std::vector<std::string> expected = {"p1", "p2", "2.5", "p4", "p5"};
  for (Long k = 1; k <= 5; ++k) {
    const excel::DataLabel label = data.Points(k).DataLabel();
    EXPECT_EQ(label.Text(), expected[k - 1]);
    EXPECT_EQ(CDbl(label.Font().Size()), 8);
    EXPECT_FALSE(label.AutoScaleFont());
  }
}

TEST_F(clsPlotScatterChart, DataLabelsThatAreNotAnArrayAreIgnored) {
  clsPlotScatter plot = Basic();
  plot.LetDataLabels(Variant("all"));
  plot.CreatePlot();
  EXPECT_FALSE(LastChart().SeriesCollection(1).HasDataLabels());
}

TEST_F(clsPlotScatterChart, TooFewDataLabelsFailAtTheFirstMissingOne) {
  clsPlotScatter plot = Basic();
  Array<std::string> labels(1, 3);
  labels.At(1) = "a";
  labels.At(2) = "b";
  labels.At(3) = "c";
  plot.LetDataLabels(Variant(labels));
  ExpectError([&] { plot.CreatePlot(); }, 9, Src("CreatePlot", 70), "Subscript out of range");
  EXPECT_EQ(LastChart().SeriesCollection(1).Points(3).DataLabel().Text(), "c");
}

// --- bad input ---

TEST_F(clsPlotScatterChart, WithoutAnOutputRangeNothingIsDrawn) {
  clsPlotScatter plot;
  plot.SetXValues(Put("A2", {1.0, 2.0}));
  plot.SetYValues(Put("B2", {1.0, 2.0}));
  ExpectError([&] { plot.CreatePlot(); }, 91, Src("CreatePlot", 10), kNotSet);
  EXPECT_EQ(sheet_.Shapes().Count(), 0);
}

TEST_F(clsPlotScatterChart, WithoutValuesTheEmptyChartIsLeft) {
  clsPlotScatter plot;
  plot.SetOutputRange(sheet_.Range("D2"));
  ExpectError([&] { plot.CreatePlot(); }, 91, Src("CreatePlot", 60), kNotSet);
  ASSERT_EQ(sheet_.ChartObjects().Count(), 1);
  EXPECT_EQ(LastChart().SeriesCollection().Count(), 0);

  plot.SetYValues(Put("B2", {1.0, 2.0}));  // X still missing
  ExpectError([&] { plot.CreatePlot(); }, 91, Src("CreatePlot", 60), kNotSet);
}

TEST_F(clsPlotScatterChart, WithoutTheApplicationTheChartIsAddedThenFails) {
  clsPlotScatter plot = Basic();
  clsMain().SetExcel(excel::Application(Nothing));
  ExpectError([&] { plot.CreatePlot(); }, 91, Src("CreatePlot", 20), kNotSet);
  EXPECT_EQ(sheet_.ChartObjects().Count(), 1);
}

TEST_F(clsPlotScatterChart, TextAmongTheDataIsLeftOutOfTheSeriesAndTheScale) {
  clsPlotScatter plot;
  plot.SetXValues(Put("A2", {1.0, 2.0, 3.0, 4.0}));
  plot.SetYValues(Put("B2", {10.0, "n/a", 30.0, 40.0}));
  plot.SetOutputRange(sheet_.Range("D2"));
  plot.CreatePlot();
  const excel::Series data = LastChart().SeriesCollection(1);
  const std::vector<std::optional<double>> values = data.ValueNumbers();
  ASSERT_EQ(values.size(), 4u);
  EXPECT_FALSE(values[1].has_value());
  EXPECT_EQ(*values[3], 40);
  // 10..40 padded: 9.7..40.3, a unit of 10.
  const excel::Axis y = LastChart().Axes(excel::xlValue, excel::xlPrimary);
  EXPECT_EQ(y.MinimumScale(), 0);
  EXPECT_EQ(y.MaximumScale(), 50);
}
