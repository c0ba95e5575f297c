// Reading separated text: quoting, numbers, separators, encodings.
#include <gtest/gtest.h>

#include "xlsx/xlsx_test_util.hpp"

using namespace orv;
using xlsx_test::Bits;
using xlsx_test::TempDir;
using xlsx_test::WriteText;

namespace {

class CsvReaderTest : public ::testing::Test {
 protected:
  excel::Worksheet Open(const std::string& name, const std::string& content,
                        const xlsx::CsvOptions& options = {}) {
    std::string path = dir_ / name;
    WriteText(path, content);
    return xlsx::OpenCsv(app_, path, options).Worksheets(1);
  }
  static Variant At(const excel::Worksheet& s, const char* cell) { return s.Range(cell).Value(); }
  // Each cell holds its value; Variant() is an empty cell.
  static void Expect(const excel::Worksheet& s,
                     std::initializer_list<std::pair<const char*, Variant>> cells) {
    for (const auto& [cell, want] : cells) EXPECT_EQ(At(s, cell), want) << cell;
  }

  TempDir dir_;
  excel::Application app_;
};

TEST_F(CsvReaderTest, QuotedFieldsHoldSeparatorsQuotesAndLineBreaks) {
  excel::Worksheet s = Open("quotes.csv",
                            "name,comment,n\r\n"
                            "\"Smith, J\",\"said \"\"hi\"\"\",1\r\n"
                            "\"multi\nline\r\nfield\",\"\",2\n"
                            "plain\"quote,\"after\"text,3\r"
                            "\"unterminated,4\n5");
  EXPECT_EQ(s.Name(), "quotes");
  EXPECT_EQ(s.Parent().Name(), "quotes.csv");
  // "" is an empty field; a lone CR ends the line; a quote that never
  // closes runs to the end of the file.
  Expect(s, {{"A2", "Smith, J"},
             {"B2", "said \"hi\""},
             {"C2", 1.0},
             {"A3", "multi\nline\r\nfield"},
             {"B3", Variant()},
             {"C3", 2.0},
             {"A4", "plain\"quote"},
             {"B4", "aftertext"},
             {"C4", 3.0},
             {"A5", "unterminated,4\n5"}});
  EXPECT_EQ(s.UsedRange().AddressLocal(), "$A$1:$C$5");
}

TEST_F(CsvReaderTest, NumbersBecomeNumbersAndEverythingElseStaysText) {
  excel::Worksheet s = Open("numbers.csv",
                            "1,-2.5,+3,.5,5.,1e3,1E-3,0.30000000000000004, 7 ,\"8\"\n"
                            "inf,nan,0x10,1e,--1,1.2.3,12%,$5,2024-03-01,1 2\n"
                            "TRUE,false,#N/A,#DIV/0!,#nope,\"TRUE\",1e999,\" \",,007\n"
                            "\"1,234.5\",\"12,34\",\"1,234,567\",\"-1,000.25\"\n");
  const double numbers[] = {1, -2.5, 3, 0.5, 5, 1000, 1e-3, 0.30000000000000004, 7, 8};
  for (int c = 0; c < 10; ++c) {
    Variant v = s.Cells(1, c + 1).Value();
    ASSERT_EQ(v.Type(), VarType::Double) << c;
    EXPECT_EQ(Bits(v.AsDouble()), Bits(numbers[c])) << c;
  }
  const char* texts[] = {"inf",   "nan", "0x10", "1e",         "--1",
                         "1.2.3", "12%", "$5",   "2024-03-01", "1 2"};
  for (int c = 0; c < 10; ++c) EXPECT_EQ(s.Cells(2, c + 1).Value(), Variant(texts[c])) << c;
  // A quoted TRUE is the text itself; 1e999 is beyond the doubles.
  Expect(s, {{"A3", true},
             {"B3", false},
             {"C3", ErrorValue{excel::xlErrNA}},
             {"D3", ErrorValue{excel::xlErrDiv0}},
             {"E3", "#nope"},
             {"F3", "TRUE"},
             {"G3", "1e999"},
             {"H3", " "},
             {"I3", Variant()},
             {"J3", 7.0}});
  // Thousands grouped in threes by the other separator.
  Expect(s, {{"A4", 1234.5}, {"B4", "12,34"}, {"C4", 1234567.0}, {"D4", -1000.25}});
}

TEST_F(CsvReaderTest, TheSeparatorIsFoundOrGivenAndTheDecimalCommaAccepted) {
  excel::Worksheet tab = Open("tab.txt", "a\tb,c\n1\t2,5\n");
  Expect(tab, {{"B1", "b,c"}, {"B2", "2,5"}});
  excel::Worksheet semi = Open("semi.csv", "x;y\n1,5;2\n3;4,25\n");
  EXPECT_EQ(At(semi, "A2"), Variant("1,5"));  // no decimal comma asked for
  xlsx::CsvOptions comma;
  comma.decimal_comma = true;
  excel::Worksheet german = Open("german.csv", "x;y\n1,5;2\n\"1.234,5\";-0,25\n3.5;4\n", comma);
  // A point is no decimal separator here.
  Expect(german, {{"A2", 1.5}, {"A3", 1234.5}, {"B3", -0.25}, {"A4", "3.5"}});
  excel::Worksheet commas = Open("commas.csv", "a,b;c\n1,2;3\n");
  EXPECT_EQ(At(commas, "A1"), Variant("a,b"));  // ";" is on every line: it wins
  EXPECT_EQ(xlsx::CsvSeparator(dir_ / "commas.csv"), ';');
  EXPECT_EQ(xlsx::CsvSeparator(dir_ / "tab.txt"), '\t');
  // A title line and a blank line above the table say nothing of it.
  Expect(Open("titled.csv", "Title\n\nx;y\n1;2\n"), {{"A3", "x"}, {"B4", 2.0}});
  xlsx::CsvOptions literal;
  literal.group_thousands = false;
  Expect(Open("grouped.csv", "\"1,234\",\"1,234.5\",1234.5\n", literal),
         {{"A1", "1,234"}, {"B1", "1,234.5"}, {"C1", 1234.5}});
  xlsx::CsvOptions pipe;
  pipe.separator = '|';
  Expect(Open("pipe.csv", "a|b,c|d\n", pipe), {{"B1", "b,c"}, {"C1", "d"}});
  // A blank line is a blank row.
  Expect(Open("single.csv", "one\ntwo\n\nfour"),
         {{"A2", "two"}, {"A3", Variant()}, {"A4", "four"}});
}

TEST_F(CsvReaderTest, Utf8WithOrWithoutBomUtf16AndWindows1252) {
  Expect(Open("bom.csv", "\xEF\xBB\xBFname,city\nMüller,東京\n"), {{"A1", "name"}, {"B2", "東京"}});
  EXPECT_EQ(At(Open("plain.csv", "Müller,😀\n"), "B1"), Variant("😀"));
  // "Ä\t€\n" in UTF-16 little endian with its mark, as a spreadsheet saves
  // "Unicode text"; the euro sign and the emoji test both unit widths.
  std::string utf16(
      "\xFF\xFE"
      "\xC4\x00\t\x00\xAC\x20\t\x00\x3D\xD8\x00\xDE\n\x00"
      "1\x00.\x00"
      "5\x00",
      22);
  Expect(Open("wide.txt", utf16), {{"A1", "Ä"}, {"B1", "€"}, {"C1", "😀"}, {"A2", 1.5}});
  // Bytes that are no UTF-8 are Windows-1252.
  Expect(Open("legacy.csv", "M\xFCller,\x80 5\x9F\n"), {{"A1", "Müller"}, {"B1", "€ 5Ÿ"}});
}

TEST_F(CsvReaderTest, RecordsCutByTheReadBlocksComeOutWhole) {
  // Over 4 MB, so that the reader refills its buffer in the middle of
  // quoted fields, line breaks and numbers.
  std::string text;
  std::vector<std::string> expected;
  for (int i = 0; text.size() < (9u << 20); ++i) {
    const std::string number = std::to_string(i), tail(static_cast<std::size_t>(i % 97), 'y');
    text += number + ".25,\"q" + number + ",\"\"x\"\"\r\n" + tail + "\",end\r\n";
    expected.push_back("q" + number + ",\"x\"\r\n" + tail);
  }
  excel::Worksheet s = Open("big.csv", text);
  const std::int32_t rows = static_cast<std::int32_t>(expected.size());
  EXPECT_EQ(s.UsedRange().AddressLocal(), "$A$1:$C$" + std::to_string(rows));
  for (std::int32_t r = 1; r <= rows; ++r) {
    ASSERT_EQ(s.Cells(r, 1).Value(), Variant((r - 1) + 0.25)) << r;
    ASSERT_EQ(s.Cells(r, 2).Value(), Variant(expected[static_cast<std::size_t>(r - 1)])) << r;
    ASSERT_EQ(s.Cells(r, 3).Value(), Variant("end")) << r;
  }
}

TEST_F(CsvReaderTest, ImportWritesFromTheDestinationAndClearsWhatTheFileLeavesEmpty) {
  excel::Workbook book = app_.Workbooks().Add();
  excel::Worksheet s = book.Worksheets(1);
  s.Range("B2:D3").LetValue(Variant("old"));
  std::string path = dir_ / "import.csv";
  WriteText(path, "1,,3\n4,5\n");
  xlsx::ImportCsv(s.Range("B2"), path);
  // D3 is beyond the line: it stays.
  Expect(s, {{"B2", 1.0}, {"C2", Variant()}, {"D2", 3.0}, {"C3", 5.0}, {"D3", "old"}});
}

TEST_F(CsvReaderTest, FailuresName1004TheFileAndTheProblem) {
  std::string missing = dir_ / "missing.csv";
  EXPECT_FAILS(1004, kXl, "Cannot open '" + missing + "': the file does not exist.",
               xlsx::OpenCsv(app_, missing));
  // Wider than a sheet.
  std::string wide = dir_ / "wide.csv";
  WriteText(wide, "x\n" + std::string(16384, ',') + "\n");
  EXPECT_FAILS(
      1004, kXl,
      "Cannot open '" + wide + "': line 2 has more fields than the sheet's 16,384 columns.",
      xlsx::OpenCsv(app_, wide));
  // Past the last column from a destination near the edge; past the last row.
  excel::Workbook book = app_.Workbooks().Add();
  WriteText(dir_ / "two.csv", "1,2\n");
  EXPECT_EQ(
      Fails([&] { xlsx::ImportCsv(book.Worksheets(1).Range("XFD1"), dir_ / "two.csv"); }).number,
      1004);
  WriteText(dir_ / "long.csv", "1\n2\n3\n");
  EXPECT_FAILS(1004, kXl,
               "Cannot open '" + (dir_ / "long.csv") +
                   "': the file has more lines than the sheet's 1,048,576 rows.",
               xlsx::ImportCsv(book.Worksheets(1).Range("A1048575"), dir_ / "long.csv"));
  EXPECT_EQ(book.Worksheets(1).Range("A1048576").Value(), Variant(2.0));
  EXPECT_EQ(app_.Workbooks().Count(), 1);  // no workbook was added by the failures
  // A name that is open already.
  WriteText(dir_ / "twice.csv", "1\n");
  xlsx::OpenCsv(app_, dir_ / "twice.csv");
  EXPECT_EQ(Fails([&] { xlsx::OpenCsv(app_, dir_ / "twice.csv"); }).number, 1004);
}

}  // namespace
