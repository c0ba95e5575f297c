// Writing workbooks to .xlsx: values to the bit, formats and sizes as other
// programs read them, and saving that never leaves a half-written file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <filesystem>
#include <limits>
#include <random>

#include "xlsx/xlsx_test_util.hpp"

using namespace orv;
using xlsx_test::Bits;
using xlsx_test::ReadText;
using xlsx_test::RunTool;
using xlsx_test::TempDir;

namespace {

// Every value of every used cell, with doubles compared by their bits.
void ExpectSameValues(const excel::Worksheet& a, const excel::Worksheet& b) {
  const excel::Range used = a.UsedRange();
  ASSERT_EQ(used.AddressLocal(), b.UsedRange().AddressLocal());
  for (std::int32_t r = used.Row(); r < used.Row() + used.Rows().Count(); ++r)
    for (std::int32_t c = used.Column(); c < used.Column() + used.Columns().Count(); ++c) {
      Variant va = a.Cells(r, c).Value(), vb = b.Cells(r, c).Value();
      SCOPED_TRACE(a.Name() + "!" + a.Cells(r, c).AddressLocal());
      if (va.Type() == VarType::Double && vb.Type() == VarType::Double)
        EXPECT_EQ(Bits(va.AsDouble()), Bits(vb.AsDouble()));
      else
        EXPECT_EQ(va, vb);
    }
}

// A workbook to save into a folder of its own, and what openpyxl sees in
// the saved file.
class XlsxWriterTest : public ::testing::Test, public Book {
 protected:
  std::string Inspect(const std::string& name) {
    xlsx::SaveXlsx(book, dir / name);
    return RunTool("inspect '" + (dir / name) + "'", dir);
  }
  std::ptrdiff_t Files() const {
    return std::distance(std::filesystem::directory_iterator(dir.path()),
                         std::filesystem::directory_iterator());
  }
  TempDir dir;
};

TEST_F(XlsxWriterTest, EveryKindOfValueComesBackIdenticalToTheBit) {
  excel::Worksheet s = sheet;
  s.LetName("Values & <more>");
  // Edge values; random bit patterns below cover the rest.
  const double numbers[] = {-0.0, 0.0, 5e-324, 2.2250738585072014e-308, DBL_MAX, -DBL_MAX};
  std::int32_t row = 1;
  for (double d : numbers) s.Cells(row++, 1).LetValue(d);
  std::mt19937_64 random(20240501);
  std::uniform_real_distribution<double> uniform(-1e6, 1e6);
  for (int i = 0; i < 500; ++i) s.Cells(i + 1, 2).LetValue(uniform(random));
  for (int i = 0; i < 200; ++i) {
    std::uint64_t bits = random();
    const double d = std::bit_cast<double>(bits);
    if (std::isfinite(d)) s.Cells(i + 1, 3).LetValue(d);
  }
  const char* texts[] = {"<a & b> \"quoted\" 'single'",     "Müller, Ñandú, 東京, 😀",
                         "  leading and trailing  ",        "line one\nline two\r\nthree\ttab",
                         "_x0041_ stays literal, _x00 too", "control \x01\x02\x1f characters",
                         "]]> and &amp; as text",           "x"};
  row = 1;
  for (const char* t : texts) s.Cells(row++, 4).LetValue(Variant(t));
  s.Range("E1").LetValue(Variant(true));
  s.Range("E2").LetValue(Variant(false));
  const std::int32_t errors[] = {excel::xlErrNull, excel::xlErrDiv0, excel::xlErrValue,
                                 excel::xlErrRef,  excel::xlErrName, excel::xlErrNum,
                                 excel::xlErrNA};
  row = 1;
  for (std::int32_t e : errors) s.Cells(row++, 6).LetValue(Variant(ErrorValue{e}));
  s.Range("Z1000").LetValue(Variant(7.0));  // beyond a gap
  excel::Worksheet second = book.Worksheets().Add();
  second.LetName("Ünïcødé");
  second.Range("B2").LetValue(Variant("second"));
  excel::Worksheet empty = book.Worksheets().Add();
  empty.LetName("Empty");
  second.Activate();

  std::string path = dir / "values.xlsx";
  xlsx::SaveXlsx(book, path);
  excel::Workbook back = xlsx::OpenXlsx(app, path);
  ASSERT_EQ(back.Worksheets().Count(), 3);
  // Sheets come back in their order ("Add" puts a sheet before the active
  // one), with the active sheet.
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(back.Worksheets(i).Name(), book.Worksheets(i).Name());
    ExpectSameValues(book.Worksheets(i), back.Worksheets(i));
  }
  EXPECT_EQ(back.ActiveSheet().Name(), "Ünïcødé");
  EXPECT_TRUE(std::signbit(back.Worksheets(s.Name()).Range("A1").Value().AsDouble()));
  // Dates are written as their serial numbers and read back as numbers.
  excel::Workbook dated = app.Workbooks().Add();
  dated.Worksheets(1).Range("A1").LetValue(Variant(Date{45352.75}));
  xlsx::SaveXlsx(dated, dir / "dates.xlsx");
  EXPECT_EQ(xlsx::OpenXlsx(app, dir / "dates.xlsx").Worksheets(1).Range("A1").Value(),
            Variant(45352.75));
}

TEST_F(XlsxWriterTest, ValuesFormatsWidthsAndHeightsAsOpenpyxlSeesThem) {
  excel::Worksheet s = sheet;
  s.Range("A1:C1").LetValue(Variant("head"));
  excel::Range head = s.Range("A1:C1");
  head.Font().LetBold(Variant(true));
  head.Font().LetColor(Variant(255.0));        // red
  head.Interior().LetColor(Variant(65535.0));  // yellow
  head.Borders(excel::xlEdgeTop).LetLineStyle(Variant(std::int32_t{1}));
  head.Borders(excel::xlEdgeTop).LetWeight(Variant(std::int32_t{-4138}));  // medium
  head.Borders(excel::xlEdgeBottom).LetLineStyle(Variant(std::int32_t{1}));
  head.Borders(excel::xlEdgeBottom).LetWeight(Variant(std::int32_t{2}));  // thin
  head.Borders(excel::xlEdgeBottom).LetColor(Variant(16711680.0));        // blue
  head.LetHorizontalAlignment(Variant(std::int32_t{excel::xlHAlignCenter}));
  s.Range("B2").LetValue(Variant(1.23456));
  s.Range("B2").LetNumberFormat(Variant("0.00"));
  s.Range("B2").Font().LetItalic(Variant(true));
  s.Range("C3").LetWrapText(Variant(true));     // formatted, no value
  s.Range("C3").Font().LetColor(Variant(0.0));  // black, the default
  s.Range("A5").Font().LetName(Variant("Arial"));
  s.Range("A5").Font().LetSize(Variant(14.0));
  s.Range("A5").Font().LetUnderline(Variant(std::int32_t{2}));
  s.Range("A5").LetValue(Variant(5.0));
  s.Range("A7").LetValue(Variant(0.1 + 0.2));
  // openpyxl 3.0 leaves the _xHHHH_ escapes of inline texts as they stand
  // (Excel and LibreOffice decode them): only plain texts are compared here.
  s.Range("B7").LetValue(Variant("a & <b> \"Müller\""));
  s.Range("C7").LetValue(Variant(true));
  s.Range("D7").LetValue(Variant(ErrorValue{excel::xlErrNA}));
  s.Columns(2).LetColumnWidth(20);  // 145 pixels
  s.Rows(2).LetRowHeight(33.75);
  s.Rows(4).LetRowHeight(0);  // hidden
  std::string seen = Inspect("formats.xlsx");
  for (const char* cell : {"A1", "B1", "C1"})
    EXPECT_SEEN(seen, std::string("cell Sheet1!") + cell +
                          " value='head' type=s bold=1 italic=0 underline=None color=FFFF0000 "
                          "size=11.0 name=Calibri fill=FFFFFF00 top=medium:FF000000 "
                          "bottom=thin:FF0000FF left=None right=None align=center wrap=0 "
                          "numfmt=General");
  for (const char* line :
       {"cell Sheet1!B2 value=1.23456 type=n bold=0 italic=1 underline=None color=- size=11.0 "
        "name=Calibri fill=- top=None:- bottom=None:- left=None right=None align=None wrap=0 "
        "numfmt=0.00",
        "cell Sheet1!C3 value=None type=n bold=0 italic=0 underline=None color=- size=11.0 "
        "name=Calibri fill=- top=None:- bottom=None:- left=None right=None align=None wrap=1 "
        "numfmt=General",
        "cell Sheet1!A5 value=5 type=n bold=0 italic=0 underline=single color=- size=14.0 "
        "name=Arial",
        "cell Sheet1!A7 value=0.30000000000000004 type=n",
        "cell Sheet1!B7 value='a & <b> \"Müller\"' type=s", "cell Sheet1!C7 value=True type=b",
        "cell Sheet1!D7 value='#N/A' type=e", "width Sheet1 2-2 20.7109375 hidden=0",
        "height Sheet1 2 33.75", "height Sheet1 4 0.0"})
    EXPECT_SEEN(seen, line);
  // And our own reader reads the sizes back to the point.
  excel::Worksheet back = xlsx::OpenXlsx(app, dir / "formats.xlsx").Worksheets(1);
  EXPECT_EQ(back.Range("B1").ColumnWidth(), Variant(20.0));
  EXPECT_EQ(back.Range("A2").RowHeight(), Variant(33.75));
  EXPECT_EQ(back.Range("A4").RowHeight(), Variant(0.0));
  EXPECT_EQ(back.Range("A1").ColumnWidth(), Variant(8.43));
}

TEST_F(XlsxWriterTest, WholeColumnAndRowFormatsStayCompact) {
  excel::Worksheet s = sheet;
  s.Columns(1).Font().LetBold(Variant(true));
  s.Rows(1).Font().LetItalic(Variant(true));
  s.Range("A3").LetValue(Variant(3.0));
  s.Range("D1").LetValue(Variant(4.0));
  std::string seen = Inspect("columns.xlsx");
  EXPECT_SEEN(seen, "cell Sheet1!A1 value=None type=n bold=1 italic=1");
  EXPECT_SEEN(seen, "cell Sheet1!A3 value=3 type=n bold=1 italic=0");
  EXPECT_SEEN(seen, "cell Sheet1!D1 value=4 type=n bold=0 italic=1");
  // One cell for the corner, two values: no cell was written for the
  // format of a whole column or row alone.
  std::size_t cells = 0;
  for (std::size_t at = seen.find("\ncell "); at != std::string::npos;
       at = seen.find("\ncell ", at + 1))
    ++cells;
  EXPECT_EQ(cells, 3u) << seen;
}

TEST_F(XlsxWriterTest, SavingReplacesTheTargetOnlyWhenTheFileIsComplete) {
  sheet.Range("A1").LetValue(Variant(1.0));
  std::string path = dir / "book.xlsx";
  xlsx_test::WriteText(path, "the old content");
  ::chmod(path.c_str(), 0640);
  xlsx::SaveXlsx(book, path);
  struct stat st {};
  ::stat(path.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // the target's permissions stay
  EXPECT_EQ(ReadText(path).substr(0, 2), "PK");
  EXPECT_EQ(Files(), 1);  // nothing else is left in the folder

  // A folder that does not exist: 1004, nothing written.
  std::string nowhere = dir / "missing/book.xlsx";
  EXPECT_FAILS(1004, kXl,
               "Cannot save '" + nowhere +
                   "': a file cannot be created in its folder (No such file or directory).",
               xlsx::SaveXlsx(book, nowhere));
  // A target that is a folder: the temporary file is removed again and
  // the folder stays.
  std::string folder = dir / "folder.xlsx";
  std::filesystem::create_directory(folder);
  const Failure e = Fails([&] { xlsx::SaveXlsx(book, folder); });
  EXPECT_EQ(e.number, 1004);
  EXPECT_TRUE(e.description.starts_with("Cannot save '" + folder +
                                        "': the finished file could not replace it ("))
      << e;
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(Files(), 2);
  EXPECT_EQ(Fails([&] { xlsx::SaveXlsx(excel::Workbook(), path); }).number, 91);
  // A name as long as a folder entry may be (255 bytes): the temporary's
  // own name does not grow with it.
  const std::string longest = dir / (std::string(250, 'b') + ".xlsx");
  xlsx::SaveXlsx(book, longest);
  EXPECT_EQ(ReadText(longest).substr(0, 2), "PK");
  EXPECT_EQ(Files(), 3);
}

// Two cells at the sheet's far corners: the file holds them, and nothing
// of the emptiness between them, either way.
TEST_F(XlsxWriterTest, CellsAtTheFarCornersOfTheSheetGoAndComeBack) {
  sheet.Range("A1").LetValue(Variant(1.5));
  sheet.Range("XFD1048576").LetValue(Variant("last"));
  const std::string path = dir / "corners.xlsx";
  xlsx::SaveXlsx(book, path);
  EXPECT_LT(std::filesystem::file_size(path), 10000u);
  const excel::Worksheet back = xlsx::OpenXlsx(app, path).Worksheets(1);
  EXPECT_EQ(back.UsedRange().AddressLocal(), "$A$1:$XFD$1048576");
  EXPECT_EQ(back.Range("A1").Value(), Variant(1.5));
  EXPECT_EQ(back.Range("XFD1048576").Value(), Variant("last"));
  EXPECT_EQ(app.WorksheetFunction().CountA({back.UsedRange()}), 2.0);
}

}  // namespace

namespace {

TEST_F(XlsxWriterTest, PageSetupBreaksFrozenPanesGridlinesAndFilterAreWritten) {
  sheet.Range("A1:C10").LetValue(Variant(1.0));
  sheet.PageSetup().LetOrientation(excel::xlLandscape);
  sheet.PageSetup().LetFitToPagesWide(1);
  // Once per row, none before the first.
  for (const char* cell : {"B7", "A4", "A7", "A1"}) sheet.AddPageBreak(sheet.Range(cell));
  EXPECT_EQ(sheet.PageBreaks(), (std::vector<std::int32_t>{4, 7}));
  sheet.FreezePanes(1, 0);
  sheet.LetDisplayGridlines(false);
  sheet.Range("A1:C10").AutoFilter();
  xlsx::SaveXlsx(book, dir / "s.xlsx");
  const std::string unzip = "unzip -p '" + (dir / "s.xlsx") + "' xl/worksheets/sheet1.xml > ";
  ASSERT_EQ(std::system((unzip + "'" + (dir / "s.xml") + "'").c_str()), 0);
  const std::string xml = ReadText(dir / "s.xml");
  for (const char* part :
       {"<pageSetUpPr fitToPage=\"1\"/>", "fitToHeight=\"0\" orientation=\"landscape\"",
        "<brk id=\"3\"", "<brk id=\"6\"", "ySplit=\"1\" topLeftCell=\"A2\"", "state=\"frozen\"",
        "showGridLines=\"0\"", "<autoFilter ref=\"A1:C10\"/>"})
    EXPECT_NE(xml.find(part), std::string::npos) << part << "\n" << xml;
}

TEST_F(XlsxWriterTest, PageSetupAndViewRefuseWhatASpreadsheetRefuses) {
  const excel::Worksheet other = book.Worksheets().Add();
  EXPECT_FAILS(1004, "Microsoft Excel",
               "Unable to set the Orientation property of the PageSetup class",
               sheet.PageSetup().LetOrientation(3));
  EXPECT_FAILS(1004, "Microsoft Excel", "Method 'Add' of object 'HPageBreaks' failed",
               sheet.AddPageBreak(other.Range("A5")));
}

}  // namespace
