#include "excel_test_util.hpp"

using namespace orv;
using namespace orv::excel;

TEST(ExcelReference, ColumnLettersRoundTrip) {
  const std::pair<int, const char*> columns[] = {{1, "A"},    {26, "Z"},    {27, "AA"},
                                                 {28, "AB"},  {52, "AZ"},   {53, "BA"},
                                                 {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
  for (auto [c, letters] : columns) {
    EXPECT_EQ(ColumnLetters(c), letters);
    EXPECT_EQ(ColumnNumber(letters), c);
  }
  EXPECT_EQ(ColumnNumber("xfd"), 16384);
  EXPECT_EQ(ColumnNumber("XFE"), 0);
  EXPECT_EQ(ColumnNumber("AAAA"), 0);
  EXPECT_EQ(ColumnNumber(""), 0);
}

TEST(ExcelReference, ParsesTheForms) {
  using Text = std::optional<std::string>;
  struct Case {
    const char* text;
    Text book, sheet;
    std::size_t areas;
    std::size_t index;  // of the area checked
    Rect area;
  };
  const Case cases[] = {
      {"B3", {}, {}, 1, 0, {3, 2, 3, 2}},
      {"$A$1:$C$10", {}, {}, 1, 0, {1, 1, 10, 3}},
      {"C10:A1", {}, {}, 1, 0, {1, 1, 10, 3}},
      {"Sheet1!A1:B2", {}, "Sheet1", 1, 0, {1, 1, 2, 2}},
      {"'My Sheet'!A1", {}, "My Sheet", 1, 0, {1, 1, 1, 1}},
      {"'It''s'!A1", {}, "It's", 1, 0, {1, 1, 1, 1}},
      {"[Book1.xlsx]Sheet1!A1", "Book1.xlsx", "Sheet1", 1, 0, {1, 1, 1, 1}},
      {"'[My Book.xlsx]My, Sheet'!A1,'[My Book.xlsx]My, Sheet'!C3", "My Book.xlsx",
       std::string("My, Sheet"), 2, 1, Rect{3, 3, 3, 3}},
      {"A1:A10,C1:C5,E7", {}, {}, 3, 1, {1, 3, 5, 3}},
      {"B:D", {}, {}, 1, 0, {1, 2, kMaxRows, 4}},
      {"$2:$3", {}, {}, 1, 0, {2, 1, 3, kMaxColumns}},
      {"A1:B2:D1", {}, {}, 1, 0, {1, 1, 2, 4}},
      {"XFD1048576", {}, {}, 1, 0, {kMaxRows, kMaxColumns, kMaxRows, kMaxColumns}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto parsed = ParseReference(c.text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->book, c.book);
    EXPECT_EQ(parsed->sheet, c.sheet);
    ASSERT_EQ(parsed->areas.size(), c.areas);
    EXPECT_EQ(parsed->areas[c.index], c.area);
  }
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
