// Reading .xlsx files that other programs made.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "xlsx/xlsx_test_util.hpp"

using namespace orv;
using xlsx_test::Bits;
using xlsx_test::RunTool;
using xlsx_test::TempDir;

namespace {

class XlsxReaderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir();
    RunTool("make '" + dir_->path().string() + "'", *dir_);
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static std::string Fixture(const std::string& name) { return *dir_ / name; }

  excel::Application app_;
  static TempDir* dir_;
};
TempDir* XlsxReaderTest::dir_ = nullptr;

TEST_F(XlsxReaderTest, SheetsValuesSizesAndTheActiveSheetOfAnOpenpyxlWorkbook) {
  excel::Workbook book = xlsx::OpenXlsx(app_, Fixture("openpyxl.xlsx"));
  EXPECT_EQ(book.Name(), "openpyxl.xlsx");
  EXPECT_EQ(app_.ActiveWorkbook(), book);
  ASSERT_EQ(book.Worksheets().Count(), 3);
  EXPECT_EQ(book.Worksheets(1).Name(), "Data");
  EXPECT_EQ(book.Worksheets(2).Name(), "Gaps & Holes");
  EXPECT_EQ(book.Worksheets(3).Name(), "Empty");
  EXPECT_EQ(book.ActiveSheet().Name(), "Gaps & Holes");

  excel::Worksheet data = book.Worksheets(1);
  EXPECT_EQ(data.Range("A1").Value(), Variant("Name"));
  EXPECT_EQ(data.Range("D1").Value(), Variant("Name"));
  EXPECT_EQ(data.Range("A2").Value(), Variant("alpha & <beta>"));
  EXPECT_EQ(data.Range("A3").Value(), Variant("Müller 東京"));
  EXPECT_EQ(Bits(data.Range("B2").Value().AsDouble()), Bits(0.1 + 0.2));
  EXPECT_EQ(Bits(data.Range("B3").Value().AsDouble()), Bits(-1.5e-300));
  EXPECT_EQ(data.Range("A4").Value(), Variant(true));
  EXPECT_EQ(data.Range("B4").Value(), Variant(false));
  EXPECT_EQ(data.Range("C5").Value(), Variant(42.0));
  EXPECT_TRUE(data.Range("C4").Value().IsEmpty());
  // 20.7109375 is the stored width of 20 characters: 20 * 7 + 5 = 145
  // pixels.
  EXPECT_EQ(data.Range("B1").ColumnWidth(), Variant(20.0));
  EXPECT_EQ(data.Range("A1").ColumnWidth(), Variant(8.43));
  EXPECT_EQ(data.Range("A3").RowHeight(), Variant(30.75));
  EXPECT_EQ(data.Range("A2").RowHeight(), Variant(15.0));

  excel::Worksheet gaps = book.Worksheets(2);
  EXPECT_EQ(gaps.Range("A1").Value(), Variant(1.0));
  EXPECT_EQ(gaps.Range("Z100").Value(), Variant(2.0));
  EXPECT_EQ(gaps.Range("C7000").Value(), Variant("far"));
  EXPECT_EQ(gaps.Range("XFD1048576").Value(), Variant(3.0));
  EXPECT_EQ(gaps.UsedRange().AddressLocal(), "$A$1:$XFD$1048576");
  EXPECT_EQ(book.Worksheets(3).UsedRange().AddressLocal(), "$A$1");
  EXPECT_TRUE(book.Worksheets(3).Range("A1").Value().IsEmpty());
}

TEST_F(XlsxReaderTest, FormulasGiveTheirCachedValuesAndInlineTextsTheirRuns) {
  excel::Worksheet s = xlsx::OpenXlsx(app_, Fixture("formulas.xlsx")).Worksheets(1);
  EXPECT_EQ(s.Range("A1").Value(), Variant(2.0));
  EXPECT_EQ(s.Range("B1").Value(), Variant("ab"));
  EXPECT_EQ(s.Range("C1").Value(), Variant(true));
  EXPECT_EQ(s.Range("D1").Value(), Variant(ErrorValue{excel::xlErrDiv0}));
  // xml:space="preserve" keeps the blanks; _x000D_ is a carriage return.
  EXPECT_EQ(s.Range("E1").Value(), Variant(" inline \r text "));
  // Runs are joined, the phonetic guide is not part of the text.
  EXPECT_EQ(s.Range("F1").Value(), Variant("rich text"));
  // A formula without a stored result is blank.
  EXPECT_TRUE(s.Range("G1").Value().IsEmpty());
  EXPECT_EQ(s.Range("H1").Value(), Variant(ErrorValue{excel::xlErrNA}));
  EXPECT_EQ(s.Range("I1").Value(), Variant("JJj"));  // hexadecimal digits of either case
  EXPECT_EQ(s.Range("J1").Value(), Variant(5.0));    // a leading plus sign

  // An ISO date becomes its serial number: 1 March 2024 is 45352, noon .5.
  EXPECT_EQ(s.Range("A3").Value(), Variant(45352.5));
  EXPECT_EQ(s.Range("A3").RowHeight(), Variant(12.5));
}

TEST_F(XlsxReaderTest, MalformedFilesFailWith1004NamingTheFileAndTheProblem) {
  struct Case {
    const char* file;
    const char* problem;
  };
  const Case cases[] = {
      {"missing.xlsx", "the file does not exist"},
      {"not_a_zip.xlsx", "the file is not an .xlsx workbook (it is no zip archive)"},
      {"no_workbook.xlsx", "the archive holds no workbook (xl/workbook.xml is missing)"},
      {"broken_xml.xlsx", "broken XML in xl/worksheets/sheet1.xml at line 1, column "},
      {"beyond_columns.xlsx",
       "the cell reference 'XFE5' lies beyond the sheet's 1,048,576 rows and 16,384 columns "
       "in xl/worksheets/sheet1.xml"},
      {"beyond_rows.xlsx",
       "the cell reference 'C1048577' lies beyond the sheet's 1,048,576 rows and 16,384 "
       "columns in xl/worksheets/sheet1.xml"},
      {"bad_shared_string.xlsx",
       "cell A1 refers to shared string '999', which the workbook does not have in "
       "xl/worksheets/sheet1.xml"},
      {"bad_number.xlsx", "the number '4x2' of cell C5 is malformed in xl/worksheets/sheet1.xml"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::string path = Fixture(c.file);
    const Failure e = Fails([&] { xlsx::OpenXlsx(app_, path); });
    EXPECT_EQ(e.number, 1004);
    EXPECT_EQ(e.source, kXl);
    std::string expected = "Cannot open '" + path + "': " + c.problem;
    EXPECT_EQ(e.description.substr(0, expected.size()), expected) << e;
    EXPECT_EQ(e.description.back(), '.');
  }
  // Nothing was added to the application on the way.
  EXPECT_EQ(app_.Workbooks().Count(), 0);
  EXPECT_TRUE(app_.ActiveWorkbook().IsNothing());
}

TEST_F(XlsxReaderTest, AWorkbookOfTheSameNameCannotBeOpenedTwice) {
  excel::Workbook first = xlsx::OpenXlsx(app_, Fixture("openpyxl.xlsx"));
  EXPECT_FAILS(1004, kXl,
               "A document with the name 'openpyxl.xlsx' is already open. You cannot open two "
               "documents with the same name, even if the documents are in different folders.",
               xlsx::OpenXlsx(app_, Fixture("openpyxl.xlsx")));
  EXPECT_EQ(app_.Workbooks().Count(), 1);
  first.Close();
  EXPECT_NO_THROW(xlsx::OpenXlsx(app_, Fixture("openpyxl.xlsx")));
  // Through an empty application handle: 91.
  EXPECT_EQ(Fails([&] { xlsx::OpenXlsx(excel::Application(Nothing), Fixture("x.xlsx")); }).number,
            91);
}

}  // namespace
