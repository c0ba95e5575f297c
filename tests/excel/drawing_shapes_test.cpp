// Shapes and chart objects: places in points on the sheet's real rows and
// columns, the cells under them, collections and failures.
#include "excel_test_util.hpp"

using namespace orv;
using namespace orv::excel;

namespace {
const char* kSubscript = "Subscript out of range";
constexpr double kSheetHeight = 1048576.0 * 15;  // default rows
constexpr double kSheetWidth = 16384.0 * 48;     // default columns
}  // namespace

TEST(DrawingShapes, TopLeftCellFollowsRealRowHeightsAndColumnWidths) {
  Book b;
  b.sheet.Range("A2").LetRowHeight(30);    // row 3 starts at 45
  b.sheet.Range("B1").LetColumnWidth(20);  // (140 + 5) x 0.75 = 108.75 points
  ChartObject co = b.sheet.ChartObjects().Add(50, 46, 200, 100);
  EXPECT_EQ(co.TopLeftCell().Row(), 3);
  EXPECT_EQ(co.TopLeftCell().Column(), 2);
  // 50 + 200 = 250 lies in column D (156.75 .. 204.75 is C, D from 204.75);
  // 46 + 100 = 146 in row 9 (row n >= 3 starts at 45 + 15 (n - 3)).
  EXPECT_EQ(co.BottomRightCell().Column(), 4);
  EXPECT_EQ(co.BottomRightCell().Row(), 9);

  Shape s = b.sheet.Shapes(1);
  s.IncrementTop(-1.5);  // 44.5: row 2 (15 .. 45)
  EXPECT_EQ(s.Top(), 44.5);
  EXPECT_EQ(s.TopLeftCell().Row(), 2);
  s.IncrementTop(0.5);  // exactly on row 3's top edge
  EXPECT_EQ(s.TopLeftCell().Row(), 3);
  s.IncrementLeft(108.75 + 48 - 50);  // exactly at column C's left edge
  EXPECT_EQ(s.Left(), 156.75);
  EXPECT_EQ(s.TopLeftCell().Column(), 3);
  EXPECT_EQ(s.TopLeftCell().Address(), "$C$3");

  // Rows that change size move the cell under a shape that stays put.
  b.sheet.Range("A1").LetRowHeight(40);  // row 2: 40 .. 70
  EXPECT_EQ(s.TopLeftCell().Row(), 2);
  b.sheet.Range("A1").LetRowHeight(50);  // row 1: 0 .. 50
  EXPECT_EQ(s.TopLeftCell().Row(), 1);
  EXPECT_EQ(co.TopLeftCell().Row(), 1);  // the chart object is the shape
}

TEST(DrawingShapes, PositionsStayOnTheSheet) {
  Book b;
  ChartObject co = b.sheet.ChartObjects().Add(-10, -20, 200, 100);
  EXPECT_EQ(co.Left(), 0);
  EXPECT_EQ(co.Top(), 0);
  Shape s = co.AsShape();
  s.IncrementTop(30.25);
  EXPECT_EQ(s.Top(), 30.25);
  s.IncrementTop(-100);
  EXPECT_EQ(s.Top(), 0);
  s.IncrementLeft(-1);
  EXPECT_EQ(s.Left(), 0);
  co.LetTop(1e12);
  EXPECT_EQ(co.Top(), kSheetHeight - 100);
  EXPECT_EQ(co.TopLeftCell().Row(), 1048570);  // (15728540) / 15 = 1048569.33
  co.LetLeft(1e12);
  EXPECT_EQ(co.Left(), kSheetWidth - 200);
  EXPECT_EQ(co.TopLeftCell().Column(), 16380);
  // A size that would pass the sheet's edge is cut there.
  co.LetHeight(500);
  EXPECT_EQ(co.Height(), 100);
  co.LetTop(0);
  co.LetHeight(500);
  EXPECT_EQ(co.Height(), 500);
  co.LetWidth(0);
  EXPECT_EQ(co.Width(), 0);
}

TEST(DrawingShapes, ChartObjectsAreShapes) {
  Book b;
  ChartObject c1 = b.sheet.ChartObjects().Add(0, 0, 100, 100);
  Shape rect = b.sheet.Shapes().AddShape(msoShapeRectangle, 10, 10, 20, 20);
  ChartObject c2 = b.sheet.ChartObjects().Add(200, 0, 100, 100);
  EXPECT_EQ(b.sheet.Shapes().Count(), 3);
  EXPECT_EQ(b.sheet.ChartObjects().Count(), 2);
  EXPECT_EQ(c1.Name(), "Chart 1");
  EXPECT_EQ(rect.Name(), "Rectangle 2");
  EXPECT_EQ(c2.Name(), "Chart 3");
  EXPECT_TRUE(b.sheet.ChartObjects("chart 3") == c2);
  EXPECT_TRUE(b.sheet.Shapes("RECTANGLE 2") == rect);

  // Moving the shape moves the chart object.
  b.sheet.Shapes(3).IncrementLeft(-50);
  EXPECT_EQ(c2.Left(), 150);

  EXPECT_FAILS(9, "ORVMain", kSubscript, b.sheet.Shapes(0));
  EXPECT_FAILS(9, "ORVMain", kSubscript, b.sheet.Shapes(4));
  EXPECT_FAILS(9, "ORVMain", kSubscript, b.sheet.ChartObjects(3));
  EXPECT_FAILS(1004, kXl, "The item with the specified name wasn't found.",
               b.sheet.Shapes("Chart 9"));
  EXPECT_FAILS(1004, kXl, CantGet("Chart", "Shape"), rect.Chart());

  // Deleting shifts the indices; the deleted object's handles fail.
  c1.Delete();
  EXPECT_EQ(b.sheet.Shapes().Count(), 2);
  EXPECT_EQ(c2.Index(), 1);
  EXPECT_TRUE(b.sheet.Shapes(1) == rect);
  EXPECT_FAILS(1004, kXl, kNoDescription, c1.Left());
  // Ids are not reused.
  EXPECT_EQ(b.sheet.ChartObjects().Add(0, 0, 10, 10).Name(), "Chart 4");
}

TEST(DrawingShapes, Failures) {
  Book b;
  ChartObject co = b.sheet.ChartObjects().Add(0, 0, 100, 100);
  EXPECT_FAILS(1004, kXl, CantSet("Width", "ChartObject"), co.LetWidth(-1));
  EXPECT_FAILS(1004, kXl, CantSet("Height", "Shape"), co.AsShape().LetHeight(-1));
  EXPECT_FAILS(1004, kXl, CantSet("Name", "ChartObject"), co.LetName(""));
  EXPECT_FAILS(1004, kXl, "Add method of ChartObjects class failed",
               b.sheet.ChartObjects().Add(0, 0, -5, 10));
  EXPECT_FAILS(91, "ORVMain", kNotSet, ChartObject().Chart());
  EXPECT_FAILS(91, "ORVMain", kNotSet, Shape().IncrementTop(1));

  // Selecting needs the chart's sheet to be the active one.
  co.Select();
  EXPECT_TRUE(excel::internal::StorageOf(b.sheet).drawing.Selection().lock() == excel::internal::StateOf(co));
  Worksheet other = b.book.Worksheets().Add();  // becomes active
  EXPECT_FAILS(1004, kXl, "Select method of ChartObject class failed", co.Select());
  other.ChartObjects().Add(0, 0, 10, 10).Select();
}
