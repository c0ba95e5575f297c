#include "excel_test_util.hpp"

using namespace orv;
using namespace orv::excel;

namespace {
const char* kAppRangeFailed = "Method 'Range' of object '_Application' failed";
}  // namespace

TEST(ExcelApplication, WorkbooksAndSheets) {
  Application app;
  EXPECT_EQ(app.Workbooks().Count(), 0);
  EXPECT_TRUE(app.ActiveSheet().IsNothing());
  EXPECT_FAILS(91, "ORVMain", kNotSet, app.ActiveSheet().Name());
  EXPECT_FAILS(1004, kXl, kAppRangeFailed, app.Range("A1"));
  Workbook b1 = app.Workbooks().Add();
  Workbook b2 = app.Workbooks().Add();
  EXPECT_EQ(b1.Name(), "Book1");
  EXPECT_EQ(b2.Name(), "Book2");
  EXPECT_EQ(app.Workbooks().Count(), 2);
  EXPECT_TRUE(app.Workbooks(2) == b2);
  EXPECT_TRUE(app.Workbooks("book1") == b1);
  EXPECT_TRUE(app.ActiveWorkbook() == b2);
  EXPECT_FAILS(9, "ORVMain", "Subscript out of range", app.Workbooks(3));
  EXPECT_FAILS(9, "ORVMain", "Subscript out of range", app.Workbooks(0));
  EXPECT_FAILS(9, "ORVMain", "Subscript out of range", app.Workbooks("Book9"));
  EXPECT_EQ(b1.Worksheets().Count(), 1);
  EXPECT_EQ(b1.Worksheets(1).Name(), "Sheet1");
  EXPECT_TRUE(b1.Worksheets(1).Parent() == b1);
  EXPECT_TRUE(b1.Parent() == app);
}

TEST(ExcelApplication, AddinsAreFoundByNameOnly) {
  Application app;
  Workbook user = app.Workbooks().Add();
  Workbook addin = app.Workbooks().Open("Orvanta.xla", true);
  EXPECT_EQ(app.Workbooks().Count(), 1);
  EXPECT_TRUE(app.Workbooks(1) == user);
  EXPECT_TRUE(app.Workbooks("ORVANTA.XLA") == addin);
  EXPECT_TRUE(app.ActiveWorkbook() == user);
  EXPECT_FAILS(1004, kXl, "Method 'Open' of object 'Workbooks' failed",
               app.Workbooks().Open("orvanta.xla"));
}

TEST(ExcelApplication, SheetNamesAndAdding) {
  Book b;
  Worksheet added = b.book.Worksheets().Add();
  EXPECT_EQ(added.Name(), "Sheet2");
  EXPECT_EQ(added.Index(), 1);  // before the active sheet
  EXPECT_TRUE(b.app.ActiveSheet() == added);
  added.LetName("My Sheet");
  EXPECT_TRUE(b.book.Worksheets("my sheet") == added);
  EXPECT_FAILS(1004, kXl, "That name is already taken. Try a different one.",
               added.LetName("sheet1"));
  for (const char* bad : {"", "a/b", "a[b", "'quoted", "0123456789012345678901234567890123"}) {
    EXPECT_FAILS(1004, kXl,
                 "You typed an invalid name for a sheet or chart. Make sure that: The name that "
                 "you type does not exceed 31 characters. The name does not contain any of the "
                 "following characters: : \\ / ? * [ or ]. You did not leave the name blank.",
                 added.LetName(bad))
        << bad;
  }
  EXPECT_FAILS(9, "ORVMain", "Subscript out of range", b.book.Worksheets("Nope"));
  EXPECT_FAILS(9, "ORVMain", "Subscript out of range", b.book.Worksheets(3));
}

TEST(ExcelApplication, RangeByReferenceResolvesSheetsAndBooks) {
  Book b;
  Worksheet other = b.book.Worksheets().Add();
  other.LetName("My Sheet");
  b.sheet.Activate();
  Range r = b.app.Range("'My Sheet'!B2:C3");
  EXPECT_TRUE(r.Worksheet() == other);
  EXPECT_EQ(r.AddressLocal(), "$B$2:$C$3");
  EXPECT_TRUE(b.app.Range("A1").Worksheet() == b.sheet);
  EXPECT_TRUE(b.app.Range("[Book1]Sheet1!A1").Worksheet() == b.sheet);
  EXPECT_FAILS(1004, kXl, kAppRangeFailed, b.app.Range("Nope!A1"));
  EXPECT_FAILS(1004, kXl, kAppRangeFailed, b.app.Range("[Book7]Sheet1!A1"));
  EXPECT_FAILS(1004, kXl, kAppRangeFailed, b.app.Range("A0"));
  EXPECT_FAILS(1004, kXl, kAppRangeFailed, b.app.Range("MyName"));
  EXPECT_FAILS(1004, kXl, "Method 'Range' of object '_Worksheet' failed",
               b.sheet.Range("'My Sheet'!A1"));
  EXPECT_EQ(b.sheet.Range("Sheet1!A1:B2").AddressLocal(), "$A$1:$B$2");
}

TEST(ExcelRange, TwoCornersGiveTheBlockBetween) {
  Book b;
  Range block = b.app.Range(b.sheet.Cells(5, 3), b.sheet.Cells(2, 1));
  EXPECT_EQ(block.AddressLocal(), "$A$2:$C$5");
  EXPECT_EQ(b.app.Range("B2", "D4").AddressLocal(), "$B$2:$D$4");
  EXPECT_EQ(b.sheet.Range(b.sheet.Range("A1:B2"), b.sheet.Cells(4, 4)).AddressLocal(), "$A$1:$D$4");
  Worksheet other = b.book.Worksheets().Add();
  EXPECT_FAILS(1004, kXl, kAppRangeFailed, b.app.Range(b.sheet.Cells(1, 1), other.Cells(2, 2)));
  EXPECT_FAILS(91, "ORVMain", kNotSet, b.app.Range(Range(), b.sheet.Cells(2, 2)));
}

TEST(ExcelRange, AreasRowsColumnsAndCounts) {
  Book b;
  Range r = b.app.Range("A1:A10,C1:D5");
  EXPECT_EQ(r.Areas().Count(), 2);
  EXPECT_EQ(r.Areas(2).AddressLocal(), "$C$1:$D$5");
  EXPECT_FAILS(1004, kXl, kNoDescription, r.Areas(3));
  EXPECT_FAILS(1004, kXl, kNoDescription, r.Areas(0));
  EXPECT_EQ(r.Rows().Count(), 10);    // first area
  EXPECT_EQ(r.Columns().Count(), 1);  // first area
  EXPECT_EQ(r.Cells().Count(), 20);   // all areas
  EXPECT_EQ(r.Count(), 20);
  EXPECT_EQ(r.AddressLocal(), "$A$1:$A$10,$C$1:$D$5");
  EXPECT_EQ(r.AddressLocal(false, false), "A1:A10,C1:D5");
  EXPECT_EQ(r.AddressLocal(true, true, true), "[Book1]Sheet1!$A$1:$A$10,[Book1]Sheet1!$C$1:$D$5");
  EXPECT_EQ(r.Row(), 1);
  EXPECT_EQ(r.Column(), 1);
  EXPECT_EQ(b.app.Range("C1:D5").Rows(2).AddressLocal(), "$C$2:$D$2");
  EXPECT_EQ(b.app.Range("C1:D5").Columns(2).AddressLocal(), "$D$1:$D$5");
  EXPECT_EQ(b.app.Range("C1:D5").Item(3).AddressLocal(), "$C$2");
  EXPECT_EQ(b.sheet.Columns(2).AddressLocal(), "$B:$B");
  EXPECT_EQ(b.sheet.Rows(3).AddressLocal(), "$3:$3");
  EXPECT_EQ(b.sheet.Cells().CountLarge(), 17179869184LL);
  EXPECT_FAILS(6, "ORVMain", "Overflow", b.sheet.Cells().Count());
}

TEST(ExcelRange, RelativeCellsMayLeaveTheRangeButNotTheSheet) {
  Book b;
  Range r = b.app.Range("C3:D4,F1");
  EXPECT_EQ(r.Cells(1, 1).AddressLocal(), "$C$3");
  EXPECT_EQ(r.Cells(0, 0).AddressLocal(), "$B$2");
  EXPECT_EQ(r.Cells(10, 5).AddressLocal(), "$G$12");
  EXPECT_EQ(r(2, 2).AddressLocal(), "$D$4");
  EXPECT_EQ(r.Cells(-1, -1).AddressLocal(), "$A$1");
  EXPECT_FAILS(1004, kXl, kNoDescription, r.Cells(-2, 1));
  EXPECT_FAILS(1004, kXl, kNoDescription, r.Cells(1, -2));
  EXPECT_FAILS(1004, kXl, kNoDescription, b.sheet.Cells(1048577, 1));
  EXPECT_FAILS(1004, kXl, kNoDescription, b.sheet.Cells(1, 16385));
  EXPECT_FAILS(1004, kXl, kNoDescription, b.sheet.Cells(0, 1));
  Range corner = b.sheet.Cells(1048576, 16384);
  EXPECT_EQ(corner.AddressLocal(), "$XFD$1048576");
  EXPECT_FAILS(1004, kXl, kNoDescription, corner.Cells(2, 1));
  EXPECT_FAILS(1004, kXl, kNoDescription, corner.Cells(1, 2));
}

TEST(ExcelRange, HandlesShareAndNothingIs91) {
  Book b;
  Range r = b.app.Range("A1");
  Range copy = r;
  copy.LetValue(Variant(4.5));
  EXPECT_EQ(r.Value(), Variant(4.5));
  Range nothing(Nothing);
  EXPECT_TRUE(nothing.IsNothing());
  EXPECT_FAILS(91, "ORVMain", kNotSet, nothing.Value());
  EXPECT_FAILS(91, "ORVMain", kNotSet, nothing.Cells(1, 1));
  EXPECT_FAILS(91, "ORVMain", kNotSet, nothing.Font().Bold());
  EXPECT_FAILS(91, "ORVMain", kNotSet, Worksheet().Cells(1, 1));
  EXPECT_FAILS(91, "ORVMain", kNotSet, Application(Nothing).Range("A1"));
  EXPECT_TRUE(Range::FromVariant(r.AsVariant()) == r);
  EXPECT_TRUE(Range::FromVariant(Variant(1.0)).IsNothing());
}

TEST(ExcelRange, ValuesOfCellsAndBlocks) {
  Book b;
  EXPECT_TRUE(b.app.Range("A1").Value().IsEmpty());
  b.Fill("A1:C2", {1.5, "text", std::int32_t{7}, true, ErrorValue{xlErrNA}, Date{43831.5}});
  Variant v = b.app.Range("A1:C2").Value();
  ASSERT_TRUE(v.IsArray());
  EXPECT_EQ(v.LBound(1), 1);
  EXPECT_EQ(v.UBound(1), 2);
  EXPECT_EQ(v.LBound(2), 1);
  EXPECT_EQ(v.UBound(2), 3);
  EXPECT_EQ(v.Element(1, 1), Variant(1.5));
  EXPECT_EQ(v.Element(1, 2), Variant("text"));
  EXPECT_EQ(v.Element(1, 3), Variant(7.0));  // cells hold doubles
  EXPECT_EQ(v.Element(2, 1), Variant(true));
  EXPECT_EQ(v.Element(2, 2), Variant(ErrorValue{2042}));
  EXPECT_EQ(v.Element(2, 3), Variant(Date{43831.5}));
  // Several areas: the first area's value.
  EXPECT_EQ(b.app.Range("B1,A1:C2").Value(), Variant("text"));
  // "" and Empty clear.
  b.app.Range("B1").LetValue(Variant(""));
  EXPECT_TRUE(b.app.Range("B1").Value().IsEmpty());
}

TEST(ExcelRange, WritingArraysAndScalars) {
  Book b;
  b.app.Range("A1:C3").LetValue(Grid({{1, 2}, {3, 4}}));
  Variant v = b.app.Range("A1:C3").Value();
  EXPECT_EQ(v.Element(2, 2), Variant(4.0));
  EXPECT_EQ(v.Element(1, 3), Variant(ErrorValue{xlErrNA}));  // beyond the array
  EXPECT_EQ(v.Element(3, 1), Variant(ErrorValue{xlErrNA}));
  // A 1-D array is a row and repeats down the rows.
  const Variant row = Vec<Variant>({"x", 2.0, false}, 0);
  b.app.Range("E1:G2").LetValue(row);
  // Written to one column, a 1-D array gives every cell its first element.
  b.app.Range("I1:I3").LetValue(row);
  // A single column repeats across.
  b.app.Range("K1:L2").LetValue(Grid({{8}, {9}}));
  // A scalar fills every cell of every area.
  b.app.Range("A10:B11,D10").LetValue(Variant(5.0));
  // A range as the value copies the values.
  b.app.Range("N1:O2").LetValue(b.app.Range("A1:B2").AsVariant());
  b.Expect({{"G2", false},
            {"E2", "x"},
            {"I3", "x"},
            {"L2", 9.0},
            {"B11", 5.0},
            {"D10", 5.0},
            {"O2", 4.0}});
}

TEST(ExcelRange, BadValuesAre1004) {
  Book b;
  EXPECT_FAILS(1004, kXl, kNoDescription,
               b.app.Range("A1").LetValue(Variant(std::string(32768, 'x'))));
  b.app.Range("A1").LetValue(Variant(std::string(32767, 'x')));
  EXPECT_EQ(b.app.Range("A1").Value().AsString().size(), 32767u);
  EXPECT_FAILS(1004, kXl, kNoDescription,
               b.app.Range("A2").LetValue(Variant(std::numeric_limits<double>::infinity())));
  Array<Variant> nested(1, 1);
  nested(1) = Variant(Array<double>(1, 2));
  EXPECT_FAILS(1004, kXl, kNoDescription, b.app.Range("A3").LetValue(Variant(nested)));
  EXPECT_FAILS(1004, kXl, kNoDescription, b.app.Range("A4").LetValue(Variant(Array<double>())));
  EXPECT_FAILS(7, "ORVMain", "Out of memory", b.sheet.Cells().Value());
}

TEST(ExcelRange, ClearAndTheWholeSheet) {
  Book b;
  b.app.Range("A1:B3").LetValue(Variant("t"));
  b.app.Range("A1:B3").Font().LetBold(true);
  b.app.Range("A1").Clear();
  EXPECT_TRUE(b.app.Range("A1").Value().IsEmpty());
  EXPECT_EQ(b.app.Range("A1").Font().Bold(), Variant(false));
  EXPECT_EQ(b.app.Range("A2").Font().Bold(), Variant(true));
  b.app.Range("A2").ClearContents();
  EXPECT_TRUE(b.app.Range("A2").Value().IsEmpty());
  EXPECT_EQ(b.app.Range("A2").Font().Bold(), Variant(true));
  b.sheet.Cells().Clear();
  EXPECT_TRUE(b.app.Range("B3").Value().IsEmpty());
  EXPECT_EQ(b.app.Range("A2").Font().Bold(), Variant(false));
  EXPECT_EQ(b.sheet.UsedRange().AddressLocal(), "$A$1");
  b.app.Range("C4").LetValue(Variant(1.0));
  b.app.Range("E2").LetValue(Variant(1.0));
  EXPECT_EQ(b.sheet.UsedRange().AddressLocal(), "$C$2:$E$4");
}

TEST(ExcelRange, PositionsAndSizesInPoints) {
  Book b;
  Range c = b.app.Range("C5");
  EXPECT_DOUBLE_EQ(c.Top(), 60.0);
  EXPECT_DOUBLE_EQ(c.Left(), 96.0);
  EXPECT_DOUBLE_EQ(b.app.Range("B2:D3").Width(), 144.0);
  EXPECT_DOUBLE_EQ(b.app.Range("B2:D3").Height(), 30.0);
  EXPECT_EQ(b.app.Range("A1").RowHeight(), Variant(15.0));
  EXPECT_EQ(b.app.Range("A1").ColumnWidth(), Variant(8.43));
  b.app.Range("A2").LetRowHeight(30);
  b.app.Range("B1").LetColumnWidth(20);
  EXPECT_DOUBLE_EQ(c.Top(), 75.0);
  EXPECT_DOUBLE_EQ(c.Left(), 48.0 + (140 + 5) * 0.75);
  EXPECT_EQ(b.app.Range("B1").ColumnWidth(), Variant(20.0));
  EXPECT_TRUE(b.app.Range("A1:A2").RowHeight().IsNull());
  EXPECT_DOUBLE_EQ(b.sheet.Cells(1048576, 1).Top(), 15.0 * 1048575 + 15.0);
  EXPECT_EQ(excel::internal::StorageOf(b.sheet).geometry.RowAt(c.Top() + 1), 5);
  EXPECT_EQ(excel::internal::StorageOf(b.sheet).geometry.ColumnAt(c.Left() + 1), 3);
  EXPECT_EQ(excel::internal::StorageOf(b.sheet).geometry.RowAt(20.0), 2);
  EXPECT_EQ(excel::internal::StorageOf(b.sheet).geometry.RowAt(1e12), kMaxRows);
  EXPECT_FAILS(1004, kXl, CantSet("RowHeight", "Range"), b.app.Range("A1").LetRowHeight(410));
  EXPECT_FAILS(1004, kXl, CantSet("ColumnWidth", "Range"), b.app.Range("A1").LetColumnWidth(-1));
}

TEST(ExcelRange, UnionJoinsAreasOfOneSheet) {
  Book b;
  Range u = b.app.Union(b.app.Range("A1:A3"), b.app.Range("C1,D4:E5"));
  EXPECT_EQ(u.AddressLocal(), "$A$1:$A$3,$C$1,$D$4:$E$5");
  EXPECT_EQ(u.Areas().Count(), 3);
  Worksheet other = b.book.Worksheets().Add();
  EXPECT_FAILS(1004, kXl, "Method 'Union' of object '_Application' failed",
               b.app.Union(b.app.Range("Sheet1!A1"), other.Cells(1, 1)));
}
