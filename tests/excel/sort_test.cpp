#include "excel_test_util.hpp"

using namespace orv;
using namespace orv::excel;

namespace {
struct Book {
  Application app;
  Workbook book = app.Workbooks().Add();
  Worksheet sheet = book.Worksheets(1);
  void Column(int column, std::initializer_list<Variant> values) {
    int r = 1;
    for (const Variant& v : values) sheet.Cells(r++, column).LetValue(v);
  }
  std::vector<Variant> Read(int column, int rows) {
    std::vector<Variant> out;
    for (int r = 1; r <= rows; ++r) out.push_back(sheet.Cells(r, column).Value());
    return out;
  }
};
}  // namespace

TEST(ExcelSort, MixedTypesAscendingAndDescending) {
  Book b;
  b.Column(1, {Variant(true), Variant("b"), Variant(), Variant(3.0), Variant(ErrorValue{2042}),
               Variant("A"), Variant(-1.0), Variant(false)});
  Range block = b.app.Range("A1:A8");
  block.Sort(b.sheet.Cells(1, 1), xlAscending);
  std::vector<Variant> up = b.Read(1, 8);
  std::vector<Variant> expected_up = {Variant(-1.0),
                                      Variant(3.0),
                                      Variant("A"),
                                      Variant("b"),
                                      Variant(false),
                                      Variant(true),
                                      Variant(ErrorValue{2042}),
                                      Variant()};
  EXPECT_EQ(up, expected_up);
  block.Sort(b.sheet.Cells(1, 1), xlDescending);
  std::vector<Variant> down = b.Read(1, 8);
  std::vector<Variant> expected_down = {Variant(ErrorValue{2042}),
                                        Variant(true),
                                        Variant(false),
                                        Variant("b"),
                                        Variant("A"),
                                        Variant(3.0),
                                        Variant(-1.0),
                                        Variant()};
  EXPECT_EQ(down, expected_down);
}

TEST(ExcelSort, RowsMoveTogetherAndEqualKeysKeepTheirOrder) {
  Book b;
  b.Column(1, {Variant(2.0), Variant(1.0), Variant(2.0), Variant(1.0)});
  b.Column(2, {Variant("first two"), Variant("first one"), Variant("second two"),
               Variant("second one")});
  b.app.Range("A1:B4").Sort(b.sheet.Cells(1, 1));
  EXPECT_EQ(b.Read(2, 4), (std::vector<Variant>{Variant("first one"), Variant("second one"),
                                                Variant("first two"), Variant("second two")}));
  b.app.Range("A1:B4").Sort(b.sheet.Cells(1, 1), xlDescending);
  EXPECT_EQ(b.Read(2, 4), (std::vector<Variant>{Variant("first two"), Variant("second two"),
                                                Variant("first one"), Variant("second one")}));
}

TEST(ExcelSort, HeaderSecondKeyAndColumnsLeftToRight) {
  Book b;
  b.Column(1, {Variant("name"), Variant(1.0), Variant(1.0), Variant(0.0)});
  b.Column(2, {Variant("value"), Variant(5.0), Variant(4.0), Variant(9.0)});
  b.app.Range("A1:B4").Sort(b.sheet.Cells(1, 1), xlAscending, b.sheet.Cells(1, 2), xlAscending,
                            Range(), xlAscending, xlYes);
  EXPECT_EQ(b.Read(2, 4),
            (std::vector<Variant>{Variant("value"), Variant(9.0), Variant(4.0), Variant(5.0)}));
  // Columns reordered by row 1.
  b.sheet.Cells(1, 4).LetValue(3.0);
  b.sheet.Cells(1, 5).LetValue(1.0);
  b.sheet.Cells(1, 6).LetValue(2.0);
  b.sheet.Cells(2, 4).LetValue("c");
  b.sheet.Cells(2, 5).LetValue("a");
  b.sheet.Cells(2, 6).LetValue("b");
  b.app.Range("D1:F2").Sort(b.sheet.Cells(1, 4), xlDescending, Range(), 1, Range(), 1, xlNo,
                            xlLeftToRight);
  EXPECT_EQ(b.sheet.Cells(2, 4).Value(), Variant("c"));
  EXPECT_EQ(b.sheet.Cells(2, 5).Value(), Variant("b"));
  EXPECT_EQ(b.sheet.Cells(2, 6).Value(), Variant("a"));
}

TEST(ExcelSort, BadKeysAndShapesAre1004) {
  Book b;
  Range block = b.app.Range("A1:B4");
  const char* bad_key =
      "The sort reference is not valid. Make sure that it's within the data you want to sort, and "
      "the "
      "first Sort By box isn't the same or blank.";
  EXPECT_FAILS(1004, kXl, bad_key, block.Sort(b.sheet.Cells(1, 3)));
  Worksheet other = b.book.Worksheets().Add();
  EXPECT_FAILS(1004, kXl, bad_key, block.Sort(other.Cells(1, 1)));
  EXPECT_FAILS(1004, kXl, "Sort method of Range class failed",
               b.app.Range("Sheet1!A1:A2,Sheet1!C1:C2").Sort(b.sheet.Cells(1, 1)));
  EXPECT_FAILS(1004, kXl, "Sort method of Range class failed", block.Sort(b.sheet.Cells(1, 1), 3));
  EXPECT_FAILS(1004, kXl, "Sort method of Range class failed",
               block.Sort(b.sheet.Cells(1, 1), 1, Range(), 1, Range(), 1, xlNo, 3));
}
