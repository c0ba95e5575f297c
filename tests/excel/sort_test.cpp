#include "excel_test_util.hpp"

using namespace orv;
using namespace orv::excel;

namespace {
struct Sheet : Book {
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
  Sheet b;
  b.Column(1, {true, "b", Variant(), 3.0, ErrorValue{2042}, "A", -1.0, false});
  Range block = b.app.Range("A1:A8");
  block.Sort(b.sheet.Cells(1, 1), xlAscending);
  using V = std::vector<Variant>;
  EXPECT_EQ(b.Read(1, 8), (V{-1.0, 3.0, "A", "b", false, true, ErrorValue{2042}, Variant()}));
  block.Sort(b.sheet.Cells(1, 1), xlDescending);
  EXPECT_EQ(b.Read(1, 8), (V{ErrorValue{2042}, true, false, "b", "A", 3.0, -1.0, Variant()}));
}

TEST(ExcelSort, RowsMoveTogetherAndEqualKeysKeepTheirOrder) {
  Sheet b;
  using V = std::vector<Variant>;
  b.Column(1, {2.0, 1.0, 2.0, 1.0});
  b.Column(2, {"first two", "first one", "second two", "second one"});
  b.app.Range("A1:B4").Sort(b.sheet.Cells(1, 1));
  EXPECT_EQ(b.Read(2, 4), (V{"first one", "second one", "first two", "second two"}));
  b.app.Range("A1:B4").Sort(b.sheet.Cells(1, 1), xlDescending);
  EXPECT_EQ(b.Read(2, 4), (V{"first two", "second two", "first one", "second one"}));
}

TEST(ExcelSort, HeaderSecondKeyAndColumnsLeftToRight) {
  Sheet b;
  b.Column(1, {"name", 1.0, 1.0, 0.0});
  b.Column(2, {"value", 5.0, 4.0, 9.0});
  b.app.Range("A1:B4").Sort(b.sheet.Cells(1, 1), xlAscending, b.sheet.Cells(1, 2), xlAscending,
                            Range(), xlAscending, xlYes);
  EXPECT_EQ(b.Read(2, 4), (std::vector<Variant>{"value", 9.0, 4.0, 5.0}));
  // Columns reordered by row 1.
  b.Fill("D1:F2", {3.0, 1.0, 2.0, "c", "a", "b"});
  b.app.Range("D1:F2").Sort(b.sheet.Cells(1, 4), xlDescending, Range(), 1, Range(), 1, xlNo,
                            xlLeftToRight);
  EXPECT_EQ(b.sheet.Cells(2, 4).Value(), Variant("c"));
  EXPECT_EQ(b.sheet.Cells(2, 5).Value(), Variant("b"));
  EXPECT_EQ(b.sheet.Cells(2, 6).Value(), Variant("a"));
}

TEST(ExcelSort, BadKeysAndShapesAre1004) {
  Sheet b;
  Range block = b.app.Range("A1:B4");
  const char* bad_key =
      "The sort reference is not valid. Make sure that it's within the data you want to sort, and "
      "the first Sort By box isn't the same or blank.";
  EXPECT_FAILS(1004, kXl, bad_key, block.Sort(b.sheet.Cells(1, 3)));
  Worksheet other = b.book.Worksheets().Add();
  EXPECT_FAILS(1004, kXl, bad_key, block.Sort(other.Cells(1, 1)));
  EXPECT_FAILS(1004, kXl, "Sort method of Range class failed",
               b.app.Range("Sheet1!A1:A2,Sheet1!C1:C2").Sort(b.sheet.Cells(1, 1)));
  EXPECT_FAILS(1004, kXl, "Sort method of Range class failed", block.Sort(b.sheet.Cells(1, 1), 3));
  EXPECT_FAILS(1004, kXl, "Sort method of Range class failed",
               block.Sort(b.sheet.Cells(1, 1), 1, Range(), 1, Range(), 1, xlNo, 3));
}
