// clsPlotScatter: its settings, the chart CreatePlot draws (placement,
// data series, titles, axes, labels) and the failures of bad input.
#include "orv/charts/clsPlotScatter.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart_test_util.hpp"

using namespace orv;

namespace {

using namespace orv::test;

class clsPlotScatterChart : public ChartWorkbook {
 protected:
  clsPlotScatterChart() : ChartWorkbook(0xCCFFFF) {}

  // A plot of B against A (rows 2 to 6) placed at D2.
  clsPlotScatter Basic() const {
    clsPlotScatter plot;
    plot.SetXValues(Put("A2", {1.0, 2.0, 3.0, 4.0, 5.0}));
    plot.SetYValues(Put("B2", {2.0, 4.0, 5.0, 4.0, 5.0}));
    plot.SetOutputRange(sheet.Range("D2"));
    return plot;
  }
};

}  // namespace

TEST(clsPlotScatterSettings, Handles) {
  clsPlotScatter plot;
  clsPlotScatter shared = plot;
  shared.LetChartHeight(-5);  // stored as given
  shared.LetChartTitle("Größe");
  EXPECT_EQ(plot.ChartHeight(), -5);
  EXPECT_EQ(plot.ChartTitle(), "Größe");

  clsPlotScatter none(Nothing);
  EXPECT_TRUE(none.IsNothing());
  EXPECT_FAILS(91, "ORVMain", kNotSet, none.LetVerticalOffset(1));
  EXPECT_FAILS(91, "ORVMain", kNotSet, none.LinePoints(0, 0, 1, 1));
  EXPECT_FAILS(91, "ORVMain", kNotSet, none.CreatePlot());
  // Line points beyond single precision overflow.
  EXPECT_FAILS(6, Src("LinePoints", 10), "Overflow", plot.LinePoints(0, 1e39, 1, 1));
  EXPECT_FAILS(6, Src("LinePoints", 10), "Overflow", plot.LinePoints(0, 0, -1e300, 1));
}

TEST_F(clsPlotScatterChart, ChartIsWalkedOntoTheOutputCellAndSized) {
  clsPlotScatter plot = Basic();
  plot.LetChartWidth(300);
  plot.LetChartHeight(180);
  plot.CreatePlot();
  ASSERT_EQ(sheet.ChartObjects().Count(), 1);
  // D2 starts at (144, 15); the placement walks the chart up and left in
  // quarter points until its corner leaves the cell: one nudge each way.
  EXPECT_EQ((std::vector<double>{Drawn().Left(), Drawn().Top(), Drawn().Width(), Drawn().Height()}),
            (std::vector<double>{143.75, 14.75, 300, 180}));
  EXPECT_FALSE(app.ScreenUpdating());  // switched off, not back on
}

TEST_F(clsPlotScatterChart, OutputOnAnInactiveSheetLeavesTheChartWhereItWasAdded) {
  for (Long offset : {4, 2000000000}) {  // an offset past the last row is dropped
    clsPlotScatter plot = Basic();
    const excel::Worksheet other = Inactive();
    plot.SetOutputRange(other.Range("C3"));
    plot.LetVerticalOffset(offset);
    plot.LetHorizontalOffset(6);
    EXPECT_FAILS(1004, Src("CreatePlot", 20), "Select method of ChartObject class failed",
                 plot.CreatePlot());
    EXPECT_EQ(sheet.ChartObjects().Count(), 0);
    ASSERT_EQ(other.ChartObjects().Count(), 1);
    EXPECT_EQ((std::vector<double>{other.ChartObjects(1).Left(), other.ChartObjects(1).Top(),
                                   other.ChartObjects(1).Width()}),
              (std::vector<double>{96 + 6, offset == 4 ? 30.0 + 4 : 30.0, 200}));
  }
}

TEST_F(clsPlotScatterChart, DataOnAnotherSheetIsPlottedOnTheOutputSheet) {
  const excel::Worksheet data = Inactive();
  clsPlotScatter plot;
  const excel::Range x = Put(data, "A1", {1.0, 2.0, 3.0});
  const excel::Range y = Put(data, "B1", {10.0, 30.0, 20.0});
  plot.SetXValues(x);
  plot.SetYValues(y);
  plot.SetOutputRange(sheet.Range("D2"));
  plot.CreatePlot();
  EXPECT_EQ(data.ChartObjects().Count(), 0);
  const excel::Series series = Chart().SeriesCollection(1);
  EXPECT_TRUE(series.ValuesRange() == y);
  EXPECT_TRUE(series.XValuesRange() == x);
  EXPECT_EQ(Numbers(series.ValueNumbers()), (std::vector<double>{10, 30, 20}));
}

TEST_F(clsPlotScatterChart, DataSeriesAndChartFormats) {
  Basic().CreatePlot();
  const excel::Chart chart = Chart();
  EXPECT_EQ(chart.ChartType(), excel::xlXYScatter);
  ExpectThemedAreas(chart, 0xCCFFFF);
  EXPECT_EQ(CStr(chart.ChartArea().Font().Name()), "Arial");
  EXPECT_EQ(CDbl(chart.ChartArea().Font().Size()), 8);
  EXPECT_FALSE(chart.HasTitle());  // none given
  EXPECT_FALSE(chart.PlotArea().Border().Visible());

  ASSERT_EQ(chart.SeriesCollection().Count(), 1);
  const excel::Series data = chart.SeriesCollection(1);
  EXPECT_EQ(data.Name(), "Data");
  EXPECT_EQ(Numbers(data.ValueNumbers()), (std::vector<double>{2, 4, 5, 4, 5}));
  EXPECT_EQ(Numbers(data.XValueNumbers()), (std::vector<double>{1, 2, 3, 4, 5}));
  EXPECT_EQ((Ints{data.ChartType(), data.AxisGroup(), data.MarkerStyle(), data.MarkerSize(),
                  data.MarkerBackgroundColorIndex(), data.MarkerForegroundColorIndex()}),
            (Ints{excel::xlXYScatter, xlPrimary, excel::xlMarkerStyleCircle, 3, 11, 11}));
  EXPECT_FALSE(data.HasDataLabels());
  EXPECT_EQ(data.Trendlines().Count(), 0);
}

TEST_F(clsPlotScatterChart, AreaBorderAndEnumerationValuesFromTheConstantStore) {
  clsPlotScatter plot = Basic();
  plot.LetAreaBorder(true);
  plot.CreatePlot();
  const excel::ChartBorder border = Chart().PlotArea().Border();
  EXPECT_EQ((Ints{border.LineStyle(), border.Weight(), border.ColorIndex()}),
            (Ints{excel::xlContinuous, excel::xlHairline, 1}));

  Shared().Constants.xlCircle = excel::xlMarkerStyleSquare;
  Shared().Constants.xlHairline = excel::xlMedium;
  plot.CreatePlot();
  EXPECT_EQ(Chart().SeriesCollection(1).MarkerStyle(), excel::xlMarkerStyleSquare);
  EXPECT_EQ(Chart().PlotArea().Border().Weight(), excel::xlMedium);
}

TEST_F(clsPlotScatterChart, TitleAndSubtitle) {
  // A title alone, or a subtitle alone, is the bold 10-point title.
  for (bool subtitle : {false, true}) {
    clsPlotScatter plot = Basic();
    if (subtitle)
      plot.LetChartSubtitle("n = 5");
    else
      plot.LetChartTitle("n = 5");
    plot.CreatePlot();
    ASSERT_TRUE(Chart().HasTitle());
    EXPECT_EQ(Look(Chart().ChartTitle()), "n = 5|10|bold");
    EXPECT_FALSE(Chart().ChartTitle().AutoScaleFont());
  }
  clsPlotScatter plot = Basic();
  plot.LetChartTitle("Größe");  // five characters, seven bytes
  plot.LetChartSubtitle("n = 5");
  plot.CreatePlot();
  EXPECT_EQ(Chart().ChartTitle().Text(), "Größe\rn = 5");
  const std::vector<excel::TextRun> runs = Chart().ChartTitle().Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].text, "Größe");
  EXPECT_TRUE(runs[0].font.bold);
  EXPECT_EQ(runs[0].font.size, 10);
  EXPECT_EQ(runs[1].text, "\rn = 5");
  EXPECT_FALSE(runs[1].font.bold);
  EXPECT_EQ(runs[1].font.size, 8);
}

TEST_F(clsPlotScatterChart, AxesAreTitledScaledAndCrossAtTheirMinimum) {
  clsPlotScatter plot = Basic();
  plot.LetXAxisTitle("Dose");
  plot.CreatePlot();
  const excel::Axis x = Axis(xlCategory), y = Axis(xlValue);
  ASSERT_TRUE(x.HasTitle());
  EXPECT_EQ(Look(x.AxisTitle()), "Dose|8|plain");
  EXPECT_FALSE(x.AxisTitle().AutoScaleFont());
  EXPECT_FALSE(y.HasTitle());
  for (const excel::Axis& axis : {x, y}) {
    ExpectPlainAxis(axis, excel::xlTickMarkOutside);
    EXPECT_EQ(axis.Crosses(), excel::xlAxisCrossesCustom);
    EXPECT_EQ(axis.CrossesAt(), axis.MinimumScale());
    EXPECT_EQ(axis.TickLabels().NumberFormat(), "0");
  }
  // x 1..5 padded by 1% each side: 0.96..5.04 on a unit of 1; y 2..5:
  // 1.97..5.03.
  EXPECT_EQ((std::vector<double>{x.MinimumScale(), x.MaximumScale(), x.MajorUnit(),
                                 y.MinimumScale(), y.MaximumScale(), y.MajorUnit()}),
            (std::vector<double>{0, 6, 1, 1, 6, 1}));
}

TEST_F(clsPlotScatterChart, WiderThan250PointsGetsNineTicks) {
  const excel::Range x = Put("A2", {0.0, 10.0});
  const excel::Range y = Put("B2", {0.0, 0.001});
  // -0.1..10.1 spans a nice 20: 6 ticks take units of 5, 9 ticks of 2.
  const struct {
    Long width;
    double unit, min, max, y_unit;
  } cases[] = {{250, 5, -5, 15, 0.0005}, {251, 2, -2, 12, 0.0002}};
  for (const auto& c : cases) {
    clsPlotScatter plot;
    plot.SetXValues(x);
    plot.SetYValues(y);
    plot.SetOutputRange(sheet.Range("D2"));
    plot.LetChartWidth(c.width);
    plot.LetChartHeight(c.width);
    plot.CreatePlot();
    EXPECT_EQ((std::vector<double>{Axis(xlCategory).MajorUnit(), Axis(xlCategory).MinimumScale(),
                                   Axis(xlCategory).MaximumScale()}),
              (std::vector<double>{c.unit, c.min, c.max}));
    EXPECT_DOUBLE_EQ(Axis(xlValue).MajorUnit(), c.y_unit);
    EXPECT_EQ(Axis(xlValue).TickLabels().NumberFormat(), "0.0000");
  }
}

TEST_F(clsPlotScatterChart, DataLabelsGoOnEveryPointInOrder) {
  clsPlotScatter plot = Basic();
  Array<Variant> labels(1, 5);
  for (Long k = 1; k <= 5; ++k) labels.At(k) = Variant("p" + std::to_string(k));
  labels.At(3) = Variant(2.5);  // numbers are written as text
  plot.LetDataLabels(Variant(labels));
  plot.CreatePlot();
  const excel::Series data = Chart().SeriesCollection(1);
  EXPECT_EQ(data.DataLabelsType(), excel::xlDataLabelsShowLabel);
  const Names expected = {"p1", "p2", "2.5", "p4", "p5"};
  for (Long k = 1; k <= 5; ++k) {
    const excel::DataLabel label = data.Points(k).DataLabel();
    EXPECT_EQ(label.Text(), expected[k - 1]);
    EXPECT_EQ(CDbl(label.Font().Size()), 8);
    EXPECT_FALSE(label.AutoScaleFont());
  }
  plot.LetDataLabels(Variant("all"));  // not an array: ignored
  plot.CreatePlot();
  EXPECT_FALSE(Chart().SeriesCollection(1).HasDataLabels());
}

TEST_F(clsPlotScatterChart, TooFewDataLabelsFailAtTheFirstMissingOne) {
  clsPlotScatter plot = Basic();
  Array<std::string> labels(1, 3);
  for (Long k = 1; k <= 3; ++k) labels.At(k) = std::string(1, char('a' + k - 1));
  plot.LetDataLabels(Variant(labels));
  EXPECT_FAILS(9, Src("CreatePlot", 70), "Subscript out of range", plot.CreatePlot());
  EXPECT_EQ(Chart().SeriesCollection(1).Points(3).DataLabel().Text(), "c");
}

TEST_F(clsPlotScatterChart, MissingRangesAndApplication) {
  clsPlotScatter plot;
  plot.SetXValues(Put("A2", {1.0, 2.0}));
  plot.SetYValues(Put("B2", {1.0, 2.0}));
  EXPECT_FAILS(91, Src("CreatePlot", 10), kNotSet, plot.CreatePlot());
  EXPECT_EQ(sheet.Shapes().Count(), 0);  // nothing drawn without an output range

  plot = clsPlotScatter();
  plot.SetOutputRange(sheet.Range("D2"));
  EXPECT_FAILS(91, Src("CreatePlot", 60), kNotSet, plot.CreatePlot());
  ASSERT_EQ(sheet.ChartObjects().Count(), 1);  // the empty chart is left
  EXPECT_EQ(Chart().SeriesCollection().Count(), 0);
  plot.SetYValues(Put("B2", {1.0, 2.0}));  // X still missing
  EXPECT_FAILS(91, Src("CreatePlot", 60), kNotSet, plot.CreatePlot());

  // Without the application the chart is added, then fails.
  const Long before = sheet.ChartObjects().Count();
  clsMain().SetExcel(excel::Application(Nothing));
  EXPECT_FAILS(91, Src("CreatePlot", 20), kNotSet, Basic().CreatePlot());
  EXPECT_EQ(sheet.ChartObjects().Count(), before + 1);
}

TEST_F(clsPlotScatterChart, TextAmongTheDataIsLeftOutOfTheSeriesAndTheScale) {
  clsPlotScatter plot;
  plot.SetXValues(Put("A2", {1.0, 2.0, 3.0, 4.0}));
  plot.SetYValues(Put("B2", {10.0, "n/a", 30.0, 40.0}));
  plot.SetOutputRange(sheet.Range("D2"));
  plot.CreatePlot();
  const std::vector<double> values = Numbers(Chart().SeriesCollection(1).ValueNumbers());
  ASSERT_EQ(values.size(), 4u);
  EXPECT_TRUE(std::isnan(values[1]));
  EXPECT_EQ(values[3], 40);
  // 10..40 padded: 9.7..40.3, a unit of 10.
  EXPECT_EQ(Axis(xlValue).MinimumScale(), 0);
  EXPECT_EQ(Axis(xlValue).MaximumScale(), 50);
}
