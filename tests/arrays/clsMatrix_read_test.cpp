// clsMatrix: reading variable names and data from worksheet ranges.
#include "matrix/matrix_test_util.hpp"
#include "orv/arrays/clsMatrix.hpp"
#include "read_test_util.hpp"

using namespace orv;
using namespace orv::test;
using orv::testing_read::Workbook;

namespace {
using Names = std::vector<std::string>;
Names NameList(const Variant& v) {
  const Array<std::string> a = *v.Element(1).ArrayOf<std::string>();
  return a.storage();
}
Array<double> Numbers(const Variant& v) { return *v.Element(2).ArrayOf<double>(); }
Array<std::string> Strings(const Variant& v) { return *v.Element(2).ArrayOf<std::string>(); }
const std::string kNumeric = "ReturnHeadersAndNumericData";
}  // namespace

TEST(clsMatrixRead, NoHeadersNamesColumnsByLetter) {
  Workbook w;
  Array<double> expected(1, 9, 1, 2);
  for (int r = 2; r <= 10; ++r) {
    w.sheet.Cells(r, 2).LetValue(Variant(expected(r - 1, 1) = r));
    w.sheet.Cells(r, 3).LetValue(Variant(expected(r - 1, 2) = r * 10.0));
  }
  Variant out = clsMatrix().ReturnHeadersAndNumericData(w.R("B2:C10"), false);
  ASSERT_EQ(out.LBound(1), 1);
  ASSERT_EQ(out.UBound(1), 2);
  EXPECT_EQ(NameList(out), (Names{"Column B", "Column C"}));
  EXPECT_EQ(Numbers(out), expected);
}

TEST(clsMatrixRead, HeadersWithABlankOneAndBlankData) {
  Workbook w;
  w.Put("AA1", Variant("Height"));
  w.Put("AC1", Variant(12.5));
  w.Put("AA2", Variant(1.0));
  w.Put("AB2", Variant(true));
  w.Put("AC2", Variant("2.5"));
  w.Put("AA3", Variant(3.0));
  Variant out = clsMatrix().ReturnHeadersAndNumericData(w.R("AA1:AC3"), true);
  EXPECT_EQ(NameList(out), (Names{"Height", "Column AB", "12.5"}));
  // True is -1, numeric text its number, a blank 0.
  EXPECT_EQ(Numbers(out), Mat(2, 3, {1, -1, 2.5, 3, 0, 0}));
}

TEST(clsMatrixRead, DataInRows) {
  Workbook w;
  w.Put("A5", Variant("first"));
  for (int c = 2; c <= 6; ++c) {
    w.sheet.Cells(5, c).LetValue(Variant(c * 1.0));
    w.sheet.Cells(6, c).LetValue(Variant(c * 2.0));
  }
  Variant out = clsMatrix().ReturnHeadersAndNumericData(w.R("A5:F6"), true, true);
  EXPECT_EQ(NameList(out), (Names{"first", "Row 6"}));
  EXPECT_EQ(Numbers(out), Mat(5, 2, {2, 4, 3, 6, 4, 8, 5, 10, 6, 12}));
  Variant strings = clsMatrix().ReturnHeadersAndStringData(w.R("A5:F6"), true, true);
  EXPECT_EQ(NameList(strings), (Names{"first", "Row 6"}));
  EXPECT_EQ(Strings(strings),
            Mat<std::string>(5, 2, {"2", "4", "3", "6", "4", "8", "5", "10", "6", "12"}));
}

TEST(clsMatrixRead, MultipleSelectionsOfDifferentHeights) {
  Workbook w;
  for (int r = 1; r <= 10; ++r) w.sheet.Cells(r, 1).LetValue(Variant(r * 1.0));
  for (int r = 1; r <= 5; ++r) w.sheet.Cells(r, 3).LetValue(Variant("c" + std::to_string(r)));
  excel::Range selection = w.R("A1:A10,C1:C5");
  Variant strings = clsMatrix().ReturnHeadersAndStringData(selection, false);
  EXPECT_EQ(NameList(strings), (Names{"Column A", "Column C"}));
  EXPECT_EQ(Strings(strings),
            Mat<std::string>(10, 2, {"1", "c1", "2", "c2", "3", "c3", "4", "c4", "5",  "c5",
                                     "6", "",   "7", "",   "8", "",   "9", "",   "10", ""}));
  for (int r = 1; r <= 5; ++r) w.sheet.Cells(r, 3).LetValue(Variant(r * 100.0));
  EXPECT_EQ(Numbers(clsMatrix().ReturnHeadersAndNumericData(selection, false)),
            Mat(10, 2, {1, 100, 2, 200, 3, 300, 4, 400, 5, 500, 6, 0, 7, 0, 8, 0, 9, 0, 10, 0}));
  Variant raw = clsMatrix().ReturnHeadersAndVariantData(selection, true);
  EXPECT_EQ(NameList(raw), (Names{"1", "100"}));
  EXPECT_EQ(raw.Element(2).UBound(1), 9);
  EXPECT_TRUE(raw.Element(2).Element(9, 2).IsEmpty());
  EXPECT_EQ(raw.Element(2).Element(4, 2), Variant(500.0));
}

TEST(clsMatrixRead, OneCellAndTheVariantReader) {
  Workbook w;
  w.Put("D4", Variant(7.0));
  EXPECT_EQ(Numbers(clsMatrix().ReturnHeadersAndNumericData(w.R("D4"), false)), Mat(1, 1, {7}));
  EXPECT_FAILS(13, At(30, "ReturnHeadersAndVariantData", "clsMatrix"), kMismatch,
               clsMatrix().ReturnHeadersAndVariantData(w.R("D4"), false));
  w.Put("E4", Variant(ErrorValue{2042}));
  w.Put("E5", Variant("x"));
  Variant raw = clsMatrix().ReturnHeadersAndVariantData(w.R("D4:E5"), false);
  EXPECT_EQ(raw.Element(2).Element(1, 2), Variant(ErrorValue{2042}));
  EXPECT_EQ(raw.Element(2).Element(2, 2), Variant("x"));
  Variant strings = clsMatrix().ReturnHeadersAndStringData(w.R("D4:E5"), false);
  EXPECT_EQ(strings.Element(2).Element(1, 2), Variant("Error 2042"));
}

TEST(clsMatrixRead, FailuresAreChained) {
  Workbook w;
  w.Put("A1", Variant(1.0));
  w.Put("A2", Variant("text"));
  // VariantToArray's plain-rule source does not begin with "Line": stamped.
  EXPECT_FAILS(13, "Line 30 in ORVMain.clsMatrix." + kNumeric, kMismatch,
               clsMatrix().ReturnHeadersAndNumericData(w.R("A1:A3"), false));
  // Nothing as the range, and no application.
  EXPECT_FAILS(91, "Line 20 in ORVMain.clsMatrix." + kNumeric, kNotSet,
               clsMatrix().ReturnHeadersAndNumericData(excel::Range(), false));
  excel::Range range = w.R("A1:A3");
  excel::SetCurrentApplication(excel::Application(Nothing));
  for (auto [name, call] : std::initializer_list<std::pair<std::string, std::function<void()>>>{
           {kNumeric, [&] { clsMatrix().ReturnHeadersAndNumericData(range, false); }},
           {"ReturnHeadersAndStringData",
            [&] { clsMatrix().ReturnHeadersAndStringData(range, false); }},
           {"ReturnHeadersAndVariantData",
            [&] { clsMatrix().ReturnHeadersAndVariantData(range, false); }}}) {
    EXPECT_FAILS(91, "Line 20 in ORVMain.clsMatrix." + name, kNotSet, call());
  }
}

TEST(clsMatrixReadArrays, BlanksAreSkipped) {
  Workbook w;
  w.Put("B1", Variant("x"));
  w.Put("B2", Variant(1.0));
  w.Put("B4", Variant(3.0));
  w.Put("B5", Variant(true));
  w.Put("C2", Variant(5.0));
  w.Put("C3", Variant("6"));
  Variant out = clsMatrix().ReturnHeadersAndNumericDataArrays(w.R("B1:C5"), true);
  EXPECT_EQ(NameList(out), (Names{"x", "Column C"}));
  Variant vars = out.Element(2);
  ASSERT_EQ(vars.UBound(1), 2);
  EXPECT_EQ(*vars.Element(1).ArrayOf<double>(), Vec({1, 3, -1}));
  EXPECT_EQ(*vars.Element(2).ArrayOf<double>(), Vec({5, 6}));
  // Rows as variables, several areas.
  w.Put("C4", Variant(4.0));
  w.Put("C5", Variant(8.0));
  Variant rows = clsMatrix().ReturnHeadersAndNumericDataArrays(w.R("B2:C2,B4:C5"), false, true);
  EXPECT_EQ(NameList(rows), (Names{"Row 2", "Row 4", "Row 5"}));
}

TEST(clsMatrixReadArrays, Failures) {
  Workbook w;
  const std::string at = " in ORVMain.clsMatrix.ReturnHeadersAndNumericDataArrays";
  auto read = [&](const char* cells, bool headers = false, bool rows = false) {
    return clsMatrix().ReturnHeadersAndNumericDataArrays(w.R(cells), headers, rows);
  };
  w.Put("A5", Variant(1.0));
  EXPECT_FAILS(orvErrBlankYCells, "Line 70" + at, kNoDescription, read("A1:A10"));
  w.Put("A6", Variant(ErrorValue{2042}));
  EXPECT_FAILS(13, "Line 50" + at, kMismatch, read("A1:A10"));
  w.Put("A6", Variant("abc"));
  EXPECT_FAILS(13, "Line 60" + at, kMismatch, read("A1:A10"));
  EXPECT_FAILS(6, "Line 10" + at, kOverflow, read("A1:B40000", false, true));
  // With headers, a one-row block has no data cells: the buffer cannot be
  // sized (9) before any blank test.
  EXPECT_FAILS(9, "Line 40" + at, kSubscript, read("A5:B5", true));
  // This reader does not need the application.
  excel::SetCurrentApplication(excel::Application(Nothing));
  w.Put("A6", Variant(2.0));
  EXPECT_NO_THROW(read("A1:A10"));
}
