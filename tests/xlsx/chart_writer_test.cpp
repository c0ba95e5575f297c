// Charts written as native charts of the file, as openpyxl and LibreOffice
// read them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "orv/excel/Chart.hpp"
#include "orv/excel/Shapes.hpp"
#include "xlsx/xlsx_test_util.hpp"

using namespace orv;
using namespace orv::excel;
using xlsx_test::ReadText;
using xlsx_test::RunTool;
using xlsx_test::TempDir;

namespace {

// A scatter chart of B2:B6 against A2:A6 with a fitted line, fixed axes,
// titles, labels on two points and a second series made from arrays; a
// column chart beside it.
Workbook MakeChartBook(Application& app) {
  Workbook book = app.Workbooks().Add();
  Worksheet s = book.Worksheets(1);
  s.LetName("Fit Data");
  s.Range("A1").LetValue(Variant("x"));
  s.Range("B1").LetValue(Variant("y"));
  for (int i = 1; i <= 5; ++i) {
    s.Cells(i + 1, 1).LetValue(Variant(static_cast<double>(i)));
    s.Cells(i + 1, 2).LetValue(Variant(2.0 * i + 0.5));
  }
  ChartObject co = s.ChartObjects().Add(150, 30, 360, 240);
  Chart chart = co.Chart();
  chart.LetChartType(xlXYScatter);
  Series points = chart.SeriesCollection().NewSeries();
  points.LetValues(s.Range("B2:B6"));
  points.LetXValues(s.Range("A2:A6"));
  points.LetName("Observed");
  points.LetMarkerStyle(xlMarkerStyleDiamond);
  points.LetMarkerSize(7);
  Trendline fit = points.Trendlines().Add(xlLinear);
  fit.LetDisplayEquation(true);
  points.Points(2).LetHasDataLabel(true);
  points.Points(2).DataLabel().LetText("second");
  points.Points(4).LetHasDataLabel(true);
  Series line = chart.SeriesCollection().NewSeries();
  line.LetValues(Vec({4.0, 8.0, 12.0}));
  line.LetXValues(Vec({2.0, 4.0, 6.0}));
  line.LetName("Band");
  line.LetMarkerStyle(xlMarkerStyleNone);
  line.Border().LetLineStyle(xlContinuous);
  line.Border().LetColor(0);  // black, explicitly
  line.LetSmooth(true);
  chart.LetHasTitle(true);
  chart.ChartTitle().LetText("Fitted line");
  Axis x = chart.Axes(xlCategory);
  x.LetMinimumScale(0);
  x.LetMaximumScale(6);
  x.LetMajorUnit(2);
  x.LetHasTitle(true);
  x.AxisTitle().LetText("Dose");
  Axis y = chart.Axes(xlValue);
  y.LetMinimumScale(-5);
  y.LetMaximumScale(15);
  y.LetMajorUnit(5);
  y.LetCrossesAt(1.5);
  y.TickLabels().LetNumberFormat("0.0");
  y.LetHasTitle(true);
  y.AxisTitle().LetText("Response");
  chart.LetHasLegend(false);

  ChartObject columns = s.ChartObjects().Add(150, 300, 300, 200);
  Chart bars = columns.Chart();
  bars.LetChartType(xlColumnClustered);
  Series counts = bars.SeriesCollection().NewSeries();
  counts.LetValues(s.Range("B2:B6"));
  counts.LetName("Counts");
  bars.LetHasTitle(true);
  bars.ChartTitle().LetText("Histogram of y");
  bars.Axes(xlValue).Delete();
  return book;
}

TEST(ChartWriterTest, SeriesScalesTitlesAndLabelsAsOpenpyxlReadsThem) {
  TempDir dir;
  Application app;
  Workbook book = MakeChartBook(app);
  std::string path = dir / "charts.xlsx";
  xlsx::SaveXlsx(book, path);
  std::string seen = RunTool("inspect '" + path + "'", dir);
  // The chart's anchor: 150 points from the left is in column D (3 x 48),
  // 30 points down in row 3 (2 x 15): from=row 2, column 3 counted from 0.
  EXPECT_SEEN(seen, "chart Fit Data type=scatterChart title=Fitted line from=2,3");
  // CrossesAt of the value axis: where the category (x) axis crosses it,
  // which the file states on the x axis.
  EXPECT_SEEN(seen,
              "axis x_axis min=0.0 max=6.0 major=2.0 delete=None numfmt=General "
              "crosses=1.5 title=Dose");
  EXPECT_SEEN(seen,
              "axis y_axis min=-5.0 max=15.0 major=5.0 delete=None numfmt=0.0 "
              "crosses=autoZero title=Response");
  EXPECT_SEEN(seen,
              "series name=Observed x='Fit Data'!$A$2:$A$6 y='Fit Data'!$B$2:$B$6 "
              "marker=diamond smooth=None trendline=linear labels=4");
  // Points 1, 3 and 5 have their labels hidden, 2 its own text; 4 shows
  // its value as the series does.
  // The series made from arrays points at the hidden data sheet (openpyxl
  // reads the marker symbol "none" as None).
  EXPECT_SEEN(seen,
              "series name=Band x=ChartData!$B$1:$B$3 y=ChartData!$A$1:$A$3 "
              "marker=None smooth=True trendline=- labels=0");
  EXPECT_SEEN(seen, "chart Fit Data type=barChart title=Histogram of y");
  EXPECT_SEEN(seen, "delete=True");

  // The hidden sheet holds the arrays; our reader sees it as a sheet.
  Workbook back = xlsx::OpenXlsx(app, path);
  ASSERT_EQ(back.Worksheets().Count(), 2);
  EXPECT_EQ(back.Worksheets(2).Name(), "ChartData");
  EXPECT_EQ(back.Worksheets(2).Range("A3").Value(), Variant(12.0));  // values
  EXPECT_EQ(back.Worksheets(2).Range("B3").Value(), Variant(6.0));   // x values
  // Explicit black is written as black, labels as the points have them.
  std::string xml_command =
      "unzip -p '" + path + "' xl/charts/chart1.xml > '" + (dir / "chart1.xml") + "'";
  ASSERT_EQ(std::system(xml_command.c_str()), 0);
  std::string xml = ReadText(dir / "chart1.xml");
  EXPECT_SEEN(xml,
              "<c:tx><c:v>Band</c:v></c:tx><c:spPr><a:ln w=\"9525\"><a:solidFill><a:srgbClr "
              "val=\"000000\"/>");
  EXPECT_SEEN(xml, "<c:marker><c:symbol val=\"none\"/></c:marker>");
  EXPECT_SEEN(xml, "second");
  EXPECT_SEEN(xml, "<c:dispEq val=\"1\"/>");
}

// Texts XML cannot hold (controls, a lone surrogate as the reader decodes
// "_xD800_" or as a client passes its UTF-8 bytes, U+FFFF, stray bytes) in
// every slot that reaches a part: each part still parses, and the bad
// characters show as U+FFFD.
TEST(ChartWriterTest, EveryPartStaysWellFormedWhateverTheTexts) {
  const std::string bad[] = {"bell\x07 nul\x01", "lone \xED\xA0\x80 surrogate",
                             "esc\x1B[31m", "\xEF\xBF\xBF end", "cut \xC3", "<&>\"'\r\n"};
  TempDir dir;
  Application app;
  Workbook book = MakeChartBook(app);
  Worksheet s = book.Worksheets(1);
  Chart chart = s.ChartObjects(1).Chart();
  chart.ChartTitle().LetText(bad[0]);
  chart.Axes(xlCategory).AxisTitle().LetText(bad[1]);
  chart.SeriesCollection(1).LetName(bad[2]);
  chart.SeriesCollection(1).Points(2).DataLabel().LetText(bad[3]);
  s.ChartObjects(1).LetName(bad[4]);
  chart.Axes(xlValue).TickLabels().LetNumberFormat(bad[5]);
  for (int i = 0; i < 6; ++i) s.Cells(10 + i, 1).LetValue(Variant(bad[i]));
  std::string path = dir / "hostile.xlsx";
  xlsx::SaveXlsx(book, path);
  std::string seen = RunTool("wellformed '" + path + "'", dir);
  EXPECT_SEEN(seen, "well-formed xl/charts/chart1.xml");
  EXPECT_SEEN(seen, "well-formed xl/worksheets/sheet1.xml");
  EXPECT_SEEN(seen, "well-formed xl/drawings/drawing1.xml");
  EXPECT_EQ(seen.find("BROKEN"), std::string::npos) << seen;
  std::string xml_command =
      "unzip -p '" + path + "' xl/charts/chart1.xml > '" + (dir / "chart1.xml") + "'";
  ASSERT_EQ(std::system(xml_command.c_str()), 0);
  std::string xml = ReadText(dir / "chart1.xml");
  EXPECT_SEEN(xml, "bell\xEF\xBF\xBD nul\xEF\xBF\xBD");
  EXPECT_SEEN(xml, "lone \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD surrogate");
  EXPECT_SEEN(xml, "&lt;&amp;&gt;");
}

TEST(ChartWriterTest, LibreOfficeShowsTheTablesAndChartTitles) {
  if (std::system("command -v soffice >/dev/null 2>&1 && command -v pdftotext >/dev/null 2>&1") !=
      0)
    FAIL() << "LibreOffice (soffice) and pdftotext are required for this test "
              "(apt-get install libreoffice-calc-nogui poppler-utils)";
  TempDir dir;
  Application app;
  Workbook book = MakeChartBook(app);
  book.Worksheets(1).Range("D20").LetValue(Variant("Table total"));
  xlsx::SaveXlsx(book, dir / "report.xlsx");
  std::string profile = "file://" + (dir / "profile");
  std::string convert = "cd '" + dir.path().string() +
                        "' && timeout 300 soffice -env:UserInstallation=" + profile +
                        " --headless --convert-to pdf report.xlsx > soffice.log 2>&1 && "
                        "pdftotext report.pdf report.txt";
  ASSERT_EQ(std::system(convert.c_str()), 0) << ReadText(dir / "soffice.log");
  std::string text = ReadText(dir / "report.txt");
  for (const char* expected :
       {"Fitted line", "Histogram of y", "Dose", "Response", "Table total", "10.5"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in:\n" << text;
}

}  // namespace
