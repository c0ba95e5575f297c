// clsMain.RepositionChart: placement by position before version 12, the
// walk onto the cell from 12 on, and the skip rule.
#include <gtest/gtest.h>

#include <vector>

#include "orv/excel/excel.hpp"
#include "orv/output/clsMain.hpp"

using namespace orv;
using namespace orv::excel;

namespace {

// Top, left, height and width.
using Box = std::vector<double>;
Box Where(const ChartObject& co) { return {co.Top(), co.Left(), co.Height(), co.Width()}; }

// A workbook handed to clsMain, with the application reporting a chosen
// version text.
struct Session {
  Application app;
  Workbook book = app.Workbooks().Add();
  Worksheet sheet = book.Worksheets(1);
  explicit Session(std::string version = "16.0") {
    Global<clsMain>().SetExcel(app);
    app.LetVersion(version);
  }
  ~Session() { Global<clsMain>().SetExcel(Application(Nothing)); }
  ChartObject Add(double width = 100, double height = 100) {
    return sheet.ChartObjects().Add(10, 10, width, height);
  }
  void Place(const Range& output, Long height, Long width, Long horizontal, Long vertical,
             const std::string& name = "obsolete") {
    Global<clsMain>().RepositionChart(name, height, width, horizontal, vertical, output);
  }
};

}  // namespace

TEST(clsMainRepositionChart, BeforeVersion12TheChartSitsAtTheCellPlusOffsets) {
  Session s("11.0");
  ChartObject co = s.Add();
  s.Place(s.sheet.Range("D10"), 150, 250, 5, 7);
  // D10: top 9 x 15, left 3 x 48.
  EXPECT_EQ(Where(co), (Box{135 + 7, 144 + 5, 150, 250}));

  Session old("9.0");  // "9.0" is 9
  ChartObject c2 = old.Add();
  old.Place(old.sheet.Range("B2"), 100, 100, 0, 0);
  EXPECT_EQ(c2.Top(), 15);
  EXPECT_EQ(c2.Left(), 48);
}

TEST(clsMainRepositionChart, OffsetsPastTheLastRowOrColumnAreDropped) {
  Session s("11.0");
  ChartObject co = s.Add();
  // Row 1048570 starts 15 x 1048569 points down; 200 more would pass the
  // last row's top (15 x 1048575), and 500 more points the last column's
  // left (48 x 16383).
  Range far = s.sheet.Cells(1048570, 16380);
  s.Place(far, 100, 100, 500, 200);
  EXPECT_EQ(co.Top(), 15.0 * 1048569);
  EXPECT_EQ(co.Left(), 48.0 * 16379);
  EXPECT_EQ(co.TopLeftCell().Row(), 1048570);
  // An offset that stays above the last row is kept (as far as the
  // chart's own height lets it: its bottom stays on the sheet).
  s.Place(far, 100, 100, 10, 2);
  EXPECT_EQ(co.Top(), 15.0 * 1048569 + 2);
  EXPECT_EQ(co.Left(), 48.0 * 16379 + 10);
}

TEST(clsMainRepositionChart, FromVersion12TheChartIsWalkedOntoTheCell) {
  Session s;  // "16.0"
  ChartObject co = s.Add();
  s.Place(s.sheet.Range("D10"), 150, 250, 5, 7);
  // First placement 142 / 149. Fine passes back it out of row 10 and
  // column D: ten quarter points, then half points, until the top is below
  // 135 (134.5 at the 20th nudge) and the left below 144 (143.5 at the
  // 16th); then the offsets again.
  EXPECT_EQ(Where(co), (Box{134.5 + 7, 143.5 + 5, 150, 250}));

  // "11.5" keeps "11.5", which rounds to 12.
  Session half("11.5");
  ChartObject c2 = half.Add();
  half.Place(half.sheet.Range("A2"), 100, 100, 0, 0);
  EXPECT_EQ(c2.Top(), 14.75);  // one nudge out of row 2
  EXPECT_EQ(c2.Left(), 0);     // at the sheet's left edge: no nudge
}

TEST(clsMainRepositionChart, CoarsePassWalksBackFromATallRow) {
  Session s;
  s.sheet.Range("A30").LetRowHeight(400);  // row 30: 435 .. 835
  ChartObject co = s.Add(100, 100);
  // 135 + 600 = 735 lies 300 points into row 30. Aligning that offset to
  // D10 puts the top at 435 (row 30); steps of 100 bring it to 135 (row
  // 10); one quarter point takes it into row 9; then the offset.
  s.Place(s.sheet.Range("D10"), 100, 100, 0, 600);
  EXPECT_EQ(co.Top(), 134.75 + 600);
  EXPECT_EQ(co.Left(), 143.75);
}

TEST(clsMainRepositionChart, FinePassStopsAfterAHundredNudges) {
  Session s;
  s.sheet.Range("A1:A20").LetRowHeight(400);  // A5: 1600 .. 2000
  ChartObject co = s.Add(100, 100);
  s.Place(s.sheet.Range("A5"), 100, 100, 0, 300);
  // 1900 goes back by 0.25 x (10 x 1 + 10 x 2 + ... + 10 x 10) = 137.5
  // points, the step grown to 2.5, still in row 5; then the offset.
  EXPECT_EQ(co.Top(), 1900 - 137.5 + 300);
  EXPECT_EQ(co.Left(), 0);
}

TEST(clsMainRepositionChart, SkipRule) {
  {  // The last shape is not a chart: it is moved, no chart object is sized.
    Session s("11.0");
    ChartObject co = s.Add(100, 100);
    Shape rect = s.sheet.Shapes().AddShape(msoShapeRectangle, 0, 0, 20, 20);
    EXPECT_NO_THROW(s.Place(s.sheet.Range("C3"), 300, 300, 0, 0));
    EXPECT_EQ(rect.Top(), 30);
    EXPECT_EQ(rect.Left(), 96);
    EXPECT_EQ(co.Width(), 100);
    EXPECT_EQ(co.Top(), 10);
  }
  {  // An empty name: nothing is touched.
    Session s;
    ChartObject co = s.Add(100, 100);
    s.Place(s.sheet.Range("D10"), 300, 300, 5, 5, "");
    EXPECT_EQ(Where(co), (Box{10, 10, 100, 100}));
  }
  {  // No shapes, no application, no output range: nothing raised.
    Session s;
    EXPECT_NO_THROW(s.Place(s.sheet.Range("D10"), 100, 100, 0, 0));
    EXPECT_NO_THROW(s.Place(Range(), 100, 100, 0, 0));
    Global<clsMain>().SetExcel(Application(Nothing));
    EXPECT_NO_THROW(s.Place(s.sheet.Range("D10"), 100, 100, 0, 0));
  }
  {  // The output range's sheet need not be the active one; the chart is
     // still the active sheet's last shape.
    Session s("11.0");
    ChartObject co = s.Add(100, 100);
    Worksheet other = s.book.Worksheets().Add();
    s.sheet.Activate();
    s.Place(other.Range("B3"), 100, 100, 0, 0);
    EXPECT_EQ(co.Top(), 30);
    EXPECT_EQ(co.Left(), 48);
  }
}
