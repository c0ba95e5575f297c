// Charts: titles with fonts per run of characters, the chart area's font,
// the plot area's geometry, chart groups and fills.
#include "excel_test_util.hpp"

using namespace orv;
using namespace orv::excel;

namespace {
struct Plot : Book {
  ChartObject object;
  Chart chart;
  explicit Plot(double width = 200, double height = 200)
      : object(sheet.ChartObjects().Add(0, 0, width, height)), chart(object.Chart()) {}
};
}  // namespace

TEST(DrawingChart, NewChart) {
  Plot p;
  EXPECT_EQ(p.chart.ChartType(), xlColumnClustered);
  EXPECT_TRUE(p.chart.HasLegend());
  EXPECT_FALSE(p.chart.HasTitle());
  EXPECT_FAILS(1004, kXl, "Method 'ChartTitle' of object '_Chart' failed", p.chart.ChartTitle());
  p.chart.LetHasTitle(true);
  EXPECT_EQ(p.chart.ChartTitle().Text(), "Chart Title");
  EXPECT_EQ(p.chart.ChartTitle().Font().Size(), Variant(14.0));
  EXPECT_EQ(p.chart.ChartTitle().Font().Bold(), Variant(true));
  EXPECT_FAILS(91, "ORVMain", kNotSet, Chart().HasTitle());
}

TEST(DrawingChart, TitleWithASmallerPlainSecondLine) {
  Plot p;
  p.chart.LetHasTitle(true);
  ChartTitle t = p.chart.ChartTitle();
  t.LetAutoScaleFont(false);
  t.Font().LetSize(10);
  t.Font().LetBold(true);
  t.LetText("Main\rSub");
  // The subtitle run: the line break and "Sub".
  t.Characters(5, 4).Font().LetBold(false);
  t.Characters(5, 4).Font().LetSize(8);
  EXPECT_EQ(t.Characters(5, 4).Text(), "\rSub");
  std::vector<TextRun> runs = t.Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].text, "Main");
  EXPECT_EQ(runs[0].font, (ResolvedFont{"Calibri", 10, true, false, 0}));
  EXPECT_EQ(runs[1].text, "\rSub");
  EXPECT_EQ(runs[1].font, (ResolvedFont{"Calibri", 8, false, false, 0}));
  EXPECT_TRUE(t.Font().Bold().IsNull());  // characters differ
  EXPECT_TRUE(t.Font().Size().IsNull());
  EXPECT_EQ(t.Characters(1, 4).Font().Bold(), Variant(true));
  EXPECT_EQ(t.Characters(6).Font().Size(), Variant(8.0));
  // Two lines: 1.2 x 10 and 1.2 x 8.
  EXPECT_DOUBLE_EQ(t.Height(), 12 + 9.6);

  // The whole title's size reaches every character; the bold runs stay.
  t.Font().LetSize(10);
  runs = t.Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[1].font.size, 10);
  EXPECT_FALSE(runs[1].font.bold);
  // New text takes the title's font again.
  t.LetText("Other");
  ASSERT_EQ(t.Runs().size(), 1u);
  EXPECT_EQ(t.Font().Bold(), Variant(true));

  // Characters count code points; runs past the end are cut.
  t.LetText(
      "\xC3\x9Cn\xC3\xAF"
      "code");  // "Ünïcode"
  EXPECT_EQ(t.Characters(2, 2).Text(), "n\xC3\xAF");
  EXPECT_EQ(t.Characters(7, 5).Text(), "e");
  EXPECT_EQ(t.Characters(7, 5).Count(), 1);
  EXPECT_EQ(t.Characters(20, 1).Count(), 0);
  EXPECT_FAILS(1004, kXl, CantSet("Size", "Font"), t.Font().LetSize(0));
}

TEST(DrawingChart, ChartAreaFontReachesEveryText) {
  Plot p;
  p.chart.LetHasTitle(true);
  p.chart.Axes(xlValue).LetHasTitle(true);
  p.chart.ChartArea().Font().LetName("Arial");
  p.chart.ChartArea().Font().LetSize(8);
  p.chart.ChartArea().LetAutoScaleFont(false);
  EXPECT_EQ(p.chart.Axes(xlValue).TickLabels().Font().Name(), Variant("Arial"));
  EXPECT_EQ(p.chart.Axes(xlCategory).TickLabels().Font().Size(), Variant(8.0));
  EXPECT_EQ(p.chart.ChartTitle().Font().Size(), Variant(8.0));
  EXPECT_EQ(p.chart.ChartTitle().Font().Bold(), Variant(true));  // kept
  EXPECT_EQ(p.chart.Axes(xlValue).AxisTitle().Orientation(), xlUpward);
  // Labels made afterwards take the chart's font too.
  Series s = p.chart.SeriesCollection().NewSeries();
  s.LetValues(Vec({3.0}));
  s.ApplyDataLabels();
  EXPECT_EQ(s.Points(1).DataLabel().Font().Name(), Variant("Arial"));
  EXPECT_EQ(s.Points(1).DataLabel().Text(), "3");
}

TEST(DrawingChart, PlotAreaGeometry) {
  Plot p;
  PlotArea area = p.chart.PlotArea();
  // Inset 7 points from the chart area.
  EXPECT_EQ(area.Left(), 7);
  EXPECT_EQ(area.Top(), 7);
  EXPECT_EQ(area.Width(), 186);
  EXPECT_EQ(area.Height(), 186);
  // Room for the axes: category labels 1.2 x 10 + 4 below, value labels
  // ("0" .. "1": one character) 0.5 x 10 + 6 to the left.
  EXPECT_EQ(area.InsideLeft(), 18);
  EXPECT_EQ(area.InsideWidth(), 175);
  EXPECT_EQ(area.InsideHeight(), 170);
  EXPECT_EQ(p.chart.Axes(xlCategory).Top(), 177);
  EXPECT_EQ(p.chart.Axes(xlValue).Left(), 7);
  EXPECT_EQ(p.chart.Axes(xlValue).Width(), 11);
  // A title pushes it down, a legend narrows it.
  p.chart.LetHasTitle(true);
  EXPECT_DOUBLE_EQ(area.Top(), 7 + 16.8 + 7);
  EXPECT_DOUBLE_EQ(area.Height(), 200 - 7 - 30.8);
  p.chart.SeriesCollection().NewSeries().LetName("Data");
  EXPECT_EQ(area.Width(), 200 - 7 - (4 * 0.5 * 10 + 20) - 7 - 7);
  p.chart.LetHasLegend(false);
  EXPECT_EQ(area.Width(), 186);

  // Placed by hand, kept inside the chart area.
  area.LetTop(20);
  EXPECT_EQ(area.Top(), 20);
  EXPECT_DOUBLE_EQ(area.Height(), 162.2);
  area.LetHeight(500);
  EXPECT_EQ(area.Height(), 180);
  area.LetTop(area.Top() / 2);
  area.LetHeight(area.Height() + area.Top());
  EXPECT_EQ(area.Top(), 10);
  EXPECT_EQ(area.Height(), 190);
  area.LetWidth(p.chart.ChartArea().Width() - 2 * area.Left());
  EXPECT_EQ(area.Width(), 186);
  area.LetLeft(100);  // would pass the right edge
  EXPECT_EQ(area.Left(), 14);
  EXPECT_FAILS(1004, kXl, CantSet("Width", "PlotArea"), area.LetWidth(-1));
  // Resizing the chart keeps the placement relative.
  p.object.LetWidth(400);
  EXPECT_EQ(area.Left(), 28);
  EXPECT_EQ(area.Width(), 372);
  EXPECT_EQ(area.Top(), 10);
}

TEST(DrawingChart, TitlePositionsStayInsideTheChart) {
  Plot p;
  p.chart.LetHasTitle(true);
  ChartTitle t = p.chart.ChartTitle();
  EXPECT_EQ(t.Top(), 7);
  EXPECT_DOUBLE_EQ(t.Left(), (200 - 11 * 0.5 * 14) / 2);  // "Chart Title", centred
  t.LetTop(1000);
  EXPECT_DOUBLE_EQ(t.Top(), 200 - 16.8);
  Axis x = p.chart.Axes(xlCategory);
  x.LetHasTitle(true);
  x.AxisTitle().LetText("X");
  x.AxisTitle().Font().LetSize(9);
  x.AxisTitle().LetTop(p.chart.PlotArea().Top() + p.chart.PlotArea().Height() + 30);
  EXPECT_DOUBLE_EQ(x.AxisTitle().Top(), 200 - 1.2 * 9);
  x.AxisTitle().LetTop(-5);
  EXPECT_EQ(x.AxisTitle().Top(), 0);
  x.AxisTitle().LetOrientation(-90);
  EXPECT_FAILS(1004, kXl, CantSet("Orientation", "AxisTitle"), x.AxisTitle().LetOrientation(91));
}

TEST(DrawingChart, GroupsFillsAndBorders) {
  Plot p;
  Series columns = p.chart.SeriesCollection().NewSeries();
  EXPECT_EQ(p.chart.ChartGroups().Count(), 1);
  p.chart.ChartGroups(1).LetGapWidth(0);
  EXPECT_EQ(p.chart.ChartGroups(1).GapWidth(), 0);
  EXPECT_FAILS(1004, kXl, CantSet("GapWidth", "ChartGroup"),
               p.chart.ChartGroups(1).LetGapWidth(501));
  EXPECT_FAILS(9, "ORVMain", "Subscript out of range", p.chart.ChartGroups(2));
  Series line = p.chart.SeriesCollection().NewSeries();
  line.LetChartType(xlLine);
  line.LetAxisGroup(xlSecondary);
  EXPECT_EQ(p.chart.ChartGroups().Count(), 2);
  EXPECT_EQ(p.chart.ChartGroups(2).AxisGroup(), xlSecondary);
  EXPECT_TRUE(p.chart.ChartGroups(2).SeriesItems().front() == line);
  EXPECT_EQ(p.chart.ChartGroups(1).GapWidth(), 0);

  PlotArea area = p.chart.PlotArea();
  area.Fill().LetVisible(msoFalse);
  EXPECT_EQ(area.Interior().ColorIndex(), xlColorIndexNone);
  EXPECT_FAILS(1004, kXl, CantSet("Visible", "FillFormat"), area.Fill().LetVisible(5));
  area.Border().LetLineStyle(xlContinuous);
  EXPECT_TRUE(area.Border().Visible());
  area.Border().LetLineStyle(xlLineStyleNone);
  EXPECT_FALSE(area.Border().Visible());
  EXPECT_FAILS(1004, kXl, CantSet("ColorIndex", "Border"), area.Border().LetColorIndex(57));
  EXPECT_EQ(NearestColorIndex(0x010101), 1);
  EXPECT_FAILS(1004, kXl, kNoDescription, PaletteColor(0));
}
