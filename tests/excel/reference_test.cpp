#include "excel_test_util.hpp"

using namespace orv;
using namespace orv::excel;

TEST(ExcelReference, ColumnLettersRoundTrip) {
  EXPECT_EQ(ColumnLetters(1), "A");
  EXPECT_EQ(ColumnLetters(26), "Z");
  EXPECT_EQ(ColumnLetters(27), "AA");
  EXPECT_EQ(ColumnLetters(28), "AB");
  EXPECT_EQ(ColumnLetters(702), "ZZ");
  EXPECT_EQ(ColumnLetters(703), "AAA");
  EXPECT_EQ(ColumnLetters(16384), "XFD");
  for (int c : {1, 26, 27, 52, 53, 702, 703, 16384}) EXPECT_EQ(ColumnNumber(ColumnLetters(c)), c);
  EXPECT_EQ(ColumnNumber("xfd"), 16384);
  EXPECT_EQ(ColumnNumber("XFE"), 0);
  EXPECT_EQ(ColumnNumber("AAAA"), 0);
  EXPECT_EQ(ColumnNumber(""), 0);
}

TEST(ExcelReference, ParsesTheForms) {
  auto one = ParseReference("B3");
  ASSERT_TRUE(one);
  EXPECT_EQ(one->areas.at(0), (Rect{3, 2, 3, 2}));
  EXPECT_FALSE(one->sheet);
  auto block = ParseReference("$A$1:$C$10");
  ASSERT_TRUE(block);
  EXPECT_EQ(block->areas.at(0), (Rect{1, 1, 10, 3}));
  auto reversed = ParseReference("C10:A1");
  ASSERT_TRUE(reversed);
  EXPECT_EQ(reversed->areas.at(0), (Rect{1, 1, 10, 3}));
  auto sheet = ParseReference("Sheet1!A1:B2");
  ASSERT_TRUE(sheet);
  EXPECT_EQ(*sheet->sheet, "Sheet1");
  auto quoted = ParseReference("'My Sheet'!A1");
  ASSERT_TRUE(quoted);
  EXPECT_EQ(*quoted->sheet, "My Sheet");
  auto apostrophe = ParseReference("'It''s'!A1");
  ASSERT_TRUE(apostrophe);
  EXPECT_EQ(*apostrophe->sheet, "It's");
  auto book = ParseReference("[Book1.xlsx]Sheet1!A1");
  ASSERT_TRUE(book);
  EXPECT_EQ(*book->book, "Book1.xlsx");
  EXPECT_EQ(*book->sheet, "Sheet1");
  auto quoted_book = ParseReference("'[My Book.xlsx]My, Sheet'!A1,'[My Book.xlsx]My, Sheet'!C3");
  ASSERT_TRUE(quoted_book);
  EXPECT_EQ(*quoted_book->sheet, "My, Sheet");
  EXPECT_EQ(quoted_book->areas.size(), 2u);
  auto areas = ParseReference("A1:A10,C1:C5,E7");
  ASSERT_TRUE(areas);
  ASSERT_EQ(areas->areas.size(), 3u);
  EXPECT_EQ(areas->areas[1], (Rect{1, 3, 5, 3}));
  auto columns = ParseReference("B:D");
  ASSERT_TRUE(columns);
  EXPECT_EQ(columns->areas[0], (Rect{1, 2, kMaxRows, 4}));
  auto rows = ParseReference("$2:$3");
  ASSERT_TRUE(rows);
  EXPECT_EQ(rows->areas[0], (Rect{2, 1, 3, kMaxColumns}));
  auto chain = ParseReference("A1:B2:D1");
  ASSERT_TRUE(chain);
  EXPECT_EQ(chain->areas[0], (Rect{1, 1, 2, 4}));
  auto corner = ParseReference("XFD1048576");
  ASSERT_TRUE(corner);
  EXPECT_EQ(corner->areas[0], (Rect{kMaxRows, kMaxColumns, kMaxRows, kMaxColumns}));
}

TEST(ExcelReference, RejectsMalformedAndOffSheet) {
  for (const char* bad :
       {"",           "A0",      "A1048577", "XFE1",       "1A",    "A",
        "1",          "A1:",     ":A1",      "A1,,B2",     "$$A1",  "A$",
        "A1 B2",      "Sheet1!", "!A1",      "'Sheet1!A1", "'S'A1", "Sheet1!A1,Sheet2!B1",
        "[Book1]!A1", "A1:B",    "A:1",      "AAAA1",      "A-1",   "A1.5",
        "Sheet 1!A1", "R1C1x"}) {
    EXPECT_FALSE(ParseReference(bad)) << bad;
  }
}

TEST(ExcelReference, FormatsAddresses) {
  EXPECT_EQ(FormatArea(Rect{1, 1, 1, 1}), "$A$1");
  EXPECT_EQ(FormatArea(Rect{1, 1, 10, 3}), "$A$1:$C$10");
  EXPECT_EQ(FormatArea(Rect{1, 2, kMaxRows, 4}), "$B:$D");
  EXPECT_EQ(FormatArea(Rect{5, 1, 5, kMaxColumns}), "$5:$5");
  EXPECT_EQ(FormatArea(kWholeSheet), "$A$1:$XFD$1048576");
  EXPECT_EQ(FormatArea(Rect{2, 28, 2, 28}, false, false), "AB2");
  EXPECT_EQ(QuoteSheetName("", "Sheet1"), "Sheet1");
  EXPECT_EQ(QuoteSheetName("", "My Sheet"), "'My Sheet'");
  EXPECT_EQ(QuoteSheetName("Book1", "It's"), "'[Book1]It''s'");
  EXPECT_EQ(QuoteSheetName("", "2019"), "'2019'");
}
