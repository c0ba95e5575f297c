#include "orv/arrays/clsMatrix.hpp"
#include "read_test_util.hpp"

using namespace orv;
using namespace orv::test;
using orv::testing_read::Workbook;

namespace {
std::vector<std::string> NameList(const Variant& v) {
  Variant names = v.Element(1);
  const Array<std::string>& a = *names.ArrayOf<std::string>();
  return std::vector<std::string>(a.storage().begin(), a.storage().end());
}
Array<double> Numbers(const Variant& v) { return *v.Element(2).ArrayOf<double>(); }
const std::string kNumeric = "ReturnHeadersAndNumericData";
}  // namespace

TEST(clsMatrixRead, NoHeadersNamesColumnsByLetter) {
  Workbook w;
  for (int r = 2; r <= 10; ++r) {
    w.sheet.Cells(r, 2).LetValue(Variant(r * 1.0));
    w.sheet.Cells(r, 3).LetValue(Variant(r * 10.0));
  }
  Variant out = clsMatrix().ReturnHeadersAndNumericData(w.R("B2:C10"), false);
  ASSERT_EQ(out.LBound(1), 1);
  ASSERT_EQ(out.UBound(1), 2);
  EXPECT_EQ(NameList(out), (std::vector<std::string>{"Column B", "Column C"}));
  Array<double> data = Numbers(out);
  EXPECT_EQ(data.UBound(1), 9);
  EXPECT_EQ(data.UBound(2), 2);
  EXPECT_EQ(data(1, 1), 2);
  EXPECT_EQ(data(9, 2), 100);
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
  EXPECT_EQ(NameList(out), (std::vector<std::string>{"Height", "Column AB", "12.5"}));
  Array<double> data = Numbers(out);
  EXPECT_EQ(data.UBound(1), 2);
  EXPECT_EQ(data(1, 2), -1);   // True
  EXPECT_EQ(data(1, 3), 2.5);  // numeric text
  EXPECT_EQ(data(2, 2), 0);    // blank
}

TEST(clsMatrixRead, DataInRows) {
  Workbook w;
  w.Put("A5", Variant("first"));
  for (int c = 2; c <= 6; ++c) {
    w.sheet.Cells(5, c).LetValue(Variant(c * 1.0));
    w.sheet.Cells(6, c).LetValue(Variant(c * 2.0));
  }
  Variant out = clsMatrix().ReturnHeadersAndNumericData(w.R("A5:F6"), true, true);
  EXPECT_EQ(NameList(out), (std::vector<std::string>{"first", "Row 6"}));
  Array<double> data = Numbers(out);
  EXPECT_EQ(data.UBound(1), 5);
  EXPECT_EQ(data.UBound(2), 2);
  EXPECT_EQ(data(1, 1), 2);
  EXPECT_EQ(data(5, 2), 12);
  Variant strings = clsMatrix().ReturnHeadersAndStringData(w.R("A5:F6"), true, true);
  EXPECT_EQ(NameList(strings), (std::vector<std::string>{"first", "Row 6"}));
  Array<std::string> s = *strings.Element(2).ArrayOf<std::string>();
  EXPECT_EQ(s(5, 2), "12");
}

TEST(clsMatrixRead, MultipleSelectionsOfDifferentHeights) {
  Workbook w;
  for (int r = 1; r <= 10; ++r) w.sheet.Cells(r, 1).LetValue(Variant(r * 1.0));
  for (int r = 1; r <= 5; ++r)
    w.sheet.Cells(r, 3).LetValue(Variant(std::string(1, 'c').append(std::to_string(r))));
  excel::Range selection = w.R("A1:A10,C1:C5");
  Variant strings = clsMatrix().ReturnHeadersAndStringData(selection, false);
  EXPECT_EQ(NameList(strings), (std::vector<std::string>{"Column A", "Column C"}));
  Array<std::string> s = *strings.Element(2).ArrayOf<std::string>();
  EXPECT_EQ(s.UBound(1), 10);
  EXPECT_EQ(s(5, 2), "c5");
  EXPECT_EQ(s(6, 2), "");
  EXPECT_EQ(s(10, 1), "10");
  for (int r = 1; r <= 5; ++r) w.sheet.Cells(r, 3).LetValue(Variant(r * 100.0));
  Array<double> data = Numbers(clsMatrix().ReturnHeadersAndNumericData(selection, false));
  EXPECT_EQ(data.UBound(1), 10);
  EXPECT_EQ(data.UBound(2), 2);
  EXPECT_EQ(data(5, 2), 500);
  EXPECT_EQ(data(6, 2), 0);
  Variant raw = clsMatrix().ReturnHeadersAndVariantData(selection, true);
  EXPECT_EQ(NameList(raw), (std::vector<std::string>{"1", "100"}));
  EXPECT_EQ(raw.Element(2).UBound(1), 9);
  EXPECT_TRUE(raw.Element(2).Element(9, 2).IsEmpty());
  EXPECT_EQ(raw.Element(2).Element(4, 2), Variant(500.0));
}

TEST(clsMatrixRead, OneCellAndTheVariantReader) {
  Workbook w;
  w.Put("D4", Variant(7.0));
  Array<double> one = Numbers(clsMatrix().ReturnHeadersAndNumericData(w.R("D4"), false));
  EXPECT_EQ(one.UBound(1), 1);
  EXPECT_EQ(one.UBound(2), 1);
  EXPECT_EQ(one(1, 1), 7);
  EXPECT_FAILS(13, "Line 30 in ORVMain.clsMatrix.ReturnHeadersAndVariantData", "Type mismatch",
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
  EXPECT_FAILS(13, "Line 30 in ORVMain.clsMatrix." + kNumeric, "Type mismatch",
               clsMatrix().ReturnHeadersAndNumericData(w.R("A1:A3"), false));
  // Nothing as the range, and no application.
  EXPECT_FAILS(91, "Line 20 in ORVMain.clsMatrix." + kNumeric, kNotSet,
               clsMatrix().ReturnHeadersAndNumericData(excel::Range(), false));
  excel::Range range = w.R("A1:A3");
  Global<clsMain>().SetExcel(excel::Application(Nothing));
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
  EXPECT_EQ(NameList(out), (std::vector<std::string>{"x", "Column C"}));
  Variant vars = out.Element(2);
  ASSERT_EQ(vars.UBound(1), 2);
  Array<double> first = *vars.Element(1).ArrayOf<double>();
  EXPECT_EQ(first.LBound(1), 1);
  EXPECT_EQ(first.UBound(1), 3);
  EXPECT_EQ(first(3), -1);
  Array<double> second = *vars.Element(2).ArrayOf<double>();
  EXPECT_EQ(second.UBound(1), 2);
  EXPECT_EQ(second(2), 6);
  // Rows as variables, several areas.
  w.Put("C4", Variant(4.0));
  w.Put("C5", Variant(8.0));
  Variant rows = clsMatrix().ReturnHeadersAndNumericDataArrays(w.R("B2:C2,B4:C5"), false, true);
  EXPECT_EQ(NameList(rows), (std::vector<std::string>{"Row 2", "Row 4", "Row 5"}));
}

TEST(clsMatrixReadArrays, Failures) {
  Workbook w;
  const std::string source = "in ORVMain.clsMatrix.ReturnHeadersAndNumericDataArrays";
  w.Put("A5", Variant(1.0));
  EXPECT_FAILS(orvErrBlankYCells, "Line 70 " + source,
               "Application-defined or object-defined error",
               clsMatrix().ReturnHeadersAndNumericDataArrays(w.R("A1:A10"), false));
  w.Put("A6", Variant(ErrorValue{2042}));
  EXPECT_FAILS(13, "Line 50 " + source, "Type mismatch",
               clsMatrix().ReturnHeadersAndNumericDataArrays(w.R("A1:A10"), false));
  w.Put("A6", Variant("abc"));
  EXPECT_FAILS(13, "Line 60 " + source, "Type mismatch",
               clsMatrix().ReturnHeadersAndNumericDataArrays(w.R("A1:A10"), false));
  EXPECT_FAILS(6, "Line 10 " + source, "Overflow",
               clsMatrix().ReturnHeadersAndNumericDataArrays(w.R("A1:B40000"), false, true));
  // With headers, a one-row block has no data cells: the buffer cannot be
  // sized (9) before any blank test.
  EXPECT_FAILS(9, "Line 40 " + source, "Subscript out of range",
               clsMatrix().ReturnHeadersAndNumericDataArrays(w.R("A5:B5"), true));
  // This reader does not need the application.
  Global<clsMain>().SetExcel(excel::Application(Nothing));
  w.Put("A6", Variant(2.0));
  EXPECT_NO_THROW(clsMatrix().ReturnHeadersAndNumericDataArrays(w.R("A1:A10"), false));
}
