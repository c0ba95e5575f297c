// The range checks: input (Y), X and Z ranges, text and factor ranges,
// paired Y and X ranges, output ranges, remembered references.
#include <gtest/gtest.h>

#include <string>

#include "orv/excel/excel.hpp"
#include "orv/validation/clsValidation.hpp"
#include "validation_test_util.hpp"

using namespace orv;

namespace {

using namespace orv::test;

const char* kVarFailed = "Unable to get the Var property of the WorksheetFunction class";
const char* kNone = kNoDescription;  // the library's own numbers carry no text

class Validation : public ValidationWorkbook {
 protected:
  template <class... Flags>
  Integer In(const char* reference, Flags... flags) const {
    return v.ValidateInputRange(R(reference), flags...);
  }
  template <class... Flags>
  Integer X(const char* reference, Flags... flags) const {
    return v.ValidateXRange(R(reference), flags...);
  }
  template <class... Flags>
  void Z(const char* reference, Flags... flags) const {
    v.ValidateZRange(R(reference), flags...);
  }
  void Text(const char* reference, bool headers) const {
    v.ValidateNonnumericInputRange(R(reference), headers);
  }
  void Factor(const char* reference, bool headers) const {
    v.ValidateFactorRange(R(reference), headers);
  }
  void Even(const char* y, const char* x, bool headers) const {
    v.ValidateEvenXYRange(R(y), R(x), headers);
  }
  // Sources of failures handled in ValidateInputRange, ValidateXRange, ...
  static std::string InAt(int line) { return At(line, "ValidateInputRange"); }
  static std::string XAt(int line) { return At(line, "ValidateXRange"); }
  static std::string ZAt(int line) { return At(line, "ValidateZRange"); }
  static std::string TextAt(int line) { return At(line, "ValidateNonnumericInputRange"); }
  static std::string FactorAt(int line) { return At(line, "ValidateFactorRange"); }
  static std::string EvenAt(int line) { return At(line, "ValidateEvenXYRange"); }
};

}  // namespace

// --- ValidateInputRange and ValidateXRange ---

TEST_F(Validation, InputReturnsTheColumnsOfAllAreas) {
  Put("A1:D1", Variant("name"));
  Numbers("A2:B11");
  Numbers("D2:D13");
  // Two areas of 10 and 12 data rows, of 2 and 1 columns.
  EXPECT_EQ(In("A1:B11,D1:D13", true), 3);
  EXPECT_FAILS(orvErrUnevenYRanges, InAt(90), kNone,
               In("A1:B11,D1:D13", true, false, false, false, false, true));
  // Without headers the first row is data: text there is not a number.
  EXPECT_FAILS(orvErrBlankYCells, InAt(50), kNone, In("A1:B11", false));
}

TEST_F(Validation, InputHeadersOnOneRowFailBeforeAnyCounting) {
  Put("A1", Variant("name"));
  Shared().ExcelApplication = nullptr;  // not even the application is reached
  EXPECT_FAILS(orverrNoNumericalYData, InAt(20), kNone, In("A1:C1", true));
  // Only the first area's rows count here.
  Numbers("A2:A5");
  excel::SetCurrentApplication(app);
  EXPECT_FAILS(orverrNoNumericalYData, InAt(20), kNone, In("C1,A1:A5", true));
  // No numbers at all.
  Put("A1:B4", Variant("text"));
  EXPECT_FAILS(orverrNoNumericalYData, InAt(40), kNone, In("A1:B4", true));
  EXPECT_FAILS(orvErrNoNumericalXData, XAt(40), kNone, X("D1:E4", false));
}

TEST_F(Validation, InputTextBlanksBooleansAndErrorValuesInTheData) {
  Numbers("A1:B6");
  Put("A3", Variant("label"));
  EXPECT_FAILS(orvErrBlankYCells, InAt(50), kNone, In("A1:B6", false));
  EXPECT_FAILS(orvErrBlankYCells, InAt(50), kNone, In("A1:B6", false, false, false, false, true));
  Put("A3", Variant());  // a blank: only without IgnoreBlanks
  EXPECT_FAILS(orvErrBlankYCells, InAt(50), kNone, In("A1:B6", false));
  EXPECT_EQ(In("A1:B6", false, true, true, true, true), 2);
  for (const Variant& odd : {Variant(true), Variant(ErrorValue{excel::xlErrNA}), Variant("7")}) {
    Put("A3", odd);
    EXPECT_FAILS(orvErrBlankYCells, InAt(50), kNone, In("A1:B6", false, false, false, false, true));
    EXPECT_FAILS(orvErrBLANKXCELLS, XAt(50), kNone, X("A1:B6", false));
  }
  Put("A3", Variant(Date{45000}));  // dates are numbers
  EXPECT_EQ(In("A1:B6", false, true, true, true), 2);
}

TEST_F(Validation, InputBlanksAreCountedOverEveryArea) {
  Numbers("A1:A5");
  Numbers("C1:D3");
  Put("D2", Variant());
  EXPECT_FAILS(orvErrBlankYCells, InAt(50), kNone, In("A1:A5,C1:D3", false));
  EXPECT_EQ(In("A1:A5,C1:D3", false, false, false, false, true), 3);
  // The blank precedes the constant column in the order of checks.
  Put("A1:A5", Variant(2.0));
  EXPECT_FAILS(orvErrBlankYCells, InAt(50), kNone, In("A1:A5,C1:D3", false, true));
}

TEST_F(Validation, InputVarianceOfEveryColumnOfEveryArea) {
  Numbers("A1:B5");
  Numbers("D1:E5");
  EXPECT_EQ(In("A1:B5,D1:E5", false, true), 4);
  Put("E1:E5", Variant(4.0));
  EXPECT_FAILS(orvErrNoYVariance, InAt(60), kNone, In("A1:B5,D1:E5", false, true));
  EXPECT_FAILS(orvErrNoXVariance, XAt(60), kNone, X("A1:B5,D1:E5", false, true));
  EXPECT_EQ(In("A1:B5,D1:E5", false), 4);
  // One number per column: the workbook's Var fails, under our location.
  EXPECT_FAILS(1004, InAt(60), kVarFailed, In("A1:B2", true, true));
}

TEST_F(Validation, InputWholeAndNonNegativeValues) {
  Numbers("A1:B6");
  Put("B4", Variant(2.5));
  EXPECT_FAILS(orvErrNonYInteger, InAt(70), kNone, In("A1:B6", false, false, true));
  EXPECT_FAILS(orvErrNonXInteger, XAt(70), kNone, X("A1:B6", false, false, true));
  EXPECT_EQ(In("A1:B6", false, false, false, true), 2);
  Put("B4", Variant(-3.0));
  EXPECT_EQ(In("A1:B6", false, false, true), 2);
  EXPECT_FAILS(orvErrNegativeY, InAt(80), kNone, In("A1:B6", false, false, false, true));
  EXPECT_FAILS(orvErrNegativeX, XAt(80), kNone, X("A1:B6", false, false, false, true));
  Put("B4", Variant());  // blank cells pass both tests
  EXPECT_EQ(In("A1:B6", false, false, true, true, true), 2);
  // A date with a time of day is not whole; -0 is not negative.
  Put("B4", Variant(Date{45000.25}));
  EXPECT_FAILS(orvErrNonYInteger, InAt(70), kNone, In("A1:B6", false, false, true));
  Put("B4", Variant(-0.0));
  EXPECT_EQ(In("A1:B6", false, false, true, true), 2);
}

TEST_F(Validation, InputEveryAreaIsWholeBeforeAnyIsTestedForSign) {
  Numbers("A1:A4");
  Numbers("C1:C4");
  Put("A2", Variant(-1.0));
  Put("C3", Variant(0.5));
  // A negative value in the first area, a fraction in the second: the
  // whole-number walk over both areas comes first.
  EXPECT_FAILS(orvErrNonYInteger, InAt(70), kNone, In("A1:A4,C1:C4", false, false, true, true));
  Put("C3", Variant(5.0));
  EXPECT_FAILS(orvErrNegativeY, InAt(80), kNone, In("A1:A4,C1:C4", false, false, true, true));
  // The header row is not walked.
  Put("A1", Variant(-0.5));
  Put("A2", Variant(1.0));
  EXPECT_EQ(In("A1:A4,C1:C4", true, false, true, true), 2);
  // Every other check passes: the uneven lengths come last.
  Numbers("E1:E9");
  EXPECT_FAILS(orvErrUnevenXRanges, XAt(90), kNone, X("A1:A4,E1:E9", true, true, true, true, true));
}

TEST_F(Validation, InputColumnTotalIsSixteenBitAndAreasStayOnTheSheet) {
  // 16,384 + 16,383 columns fit; one more overflows while counting.
  EXPECT_FAILS(orverrNoNumericalYData, InAt(40), kNone, In("A1:XFD2,A3:XFC4", false));
  EXPECT_FAILS(kErrOverflow, InAt(30), "Overflow", In("A1:XFD2,A3:XFD4", false));
  // With headers, the data block of a one-row area in the last row starts
  // below the sheet.
  Numbers("A2:A5");
  EXPECT_FAILS(1004, InAt(30), kNone, In("A1:A5,C1048576", true));
}

TEST_F(Validation, InputUnsetApplicationAndUnsetRange) {
  Numbers("A1:A5");
  EXPECT_FAILS(91, InAt(20), kNotSet, v.ValidateInputRange(excel::Range(), false));
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILS(91, InAt(30), kNotSet, In("A1:A5", false));
}

TEST_F(Validation, InputRangesOfOtherAndClosedWorkbooks) {
  excel::Workbook other = app.Workbooks().Add();  // now the active one
  excel::Range data = other.Worksheets(1).Range("B2:C6");
  Numbers("B2:C6");  // on Book2, the active workbook
  EXPECT_EQ(v.ValidateInputRange(data, false, true, true, true), 2);
  // The first workbook is not active: its ranges still validate.
  const excel::Range first = sheet.Range("A1:A3");
  first.LetValue(Variant(1.0));
  EXPECT_FAILS(orvErrNoYVariance, InAt(60), kNone, v.ValidateInputRange(first, false, true));
  // A closed workbook's range keeps its cells in the object model.
  other.Close();
  EXPECT_EQ(v.ValidateInputRange(data, false, true, true, true), 2);
}

// --- ValidateZRange ---

TEST_F(Validation, ZRangeFirstCheckTakesThreeConditions) {
  Put("A1", Variant("z"));
  EXPECT_FAILS(orvErrNoNumericalZData, ZAt(10), kNone, Z("A1:B1", true));
  // With headers only the two corner cells of the data are counted.
  Put("A2", Variant("x"));
  Put("A3", Variant(5.0));
  Put("A4", Variant("y"));
  EXPECT_FAILS(orvErrNoNumericalZData, ZAt(10), kNone, Z("A1:A4", true));
  Put("A2", Variant(1.0));
  Put("A3", Variant());
  Put("A4", Variant(3.0));
  EXPECT_FAILS(orvErrBlankZCells, ZAt(30), kNone, Z("A1:A4", true));
  Put("A3", Variant(2.0));
  EXPECT_EQ(Fails([&] { Z("A1:A4", true, true, true); }), Failure{});
  // All three are evaluated: the corner below a one-row range in the last
  // row lies off the sheet.
  EXPECT_FAILS(1004, ZAt(10), kNone, Z("A1048576:B1048576", true));
}

TEST_F(Validation, ZRangeBlanksVarianceAndWholeNumbers) {
  Put("A1:B1", Variant("z"));
  Numbers("A2:B6");
  EXPECT_EQ(Fails([&] { Z("A1:B6", true, true, true); }), Failure{});
  EXPECT_FAILS(orvErrBlankZCells, ZAt(30), kNone, Z("A1:B6", false));
  Put("B2:B6", Variant(1.0));
  EXPECT_FAILS(orvErrNoZVariance, ZAt(40), kNone, Z("A1:B6", true, true));
  Put("B4", Variant(1.5));
  EXPECT_FAILS(orvErrNonZInteger, ZAt(50), kNone, Z("A1:B6", true, false, true));
  Put("B4", Variant(-1.0));  // negative values are no concern of Z
  // Only the first area is checked for blanks.
  EXPECT_EQ(Fails([&] { Z("A1:B6", true, true, true), Z("A2:B6,D1:D3", false); }), Failure{});
  EXPECT_FAILS(1004, ZAt(40), kVarFailed, Z("A1:B2", true, true));
  EXPECT_FAILS(91, ZAt(10), kNotSet, v.ValidateZRange(excel::Range(), false));
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILS(91, ZAt(10), kNotSet, Z("A1:B6", false));
}

// --- ValidateNonnumericInputRange and ValidateFactorRange ---

TEST_F(Validation, NonnumericRangeAnyValueCountsButBlanks) {
  Put("A1", Variant("group"));
  Put("A2", Variant("a"));
  Put("A3", Variant(2.0));
  Put("A4", Variant(true));
  Put("A5", Variant(ErrorValue{excel::xlErrDiv0}));
  EXPECT_EQ(Fails([&] { Text("A1:A5", true), Text("A1:A5", false); }), Failure{});
  EXPECT_FAILS(orvErrNODATA, TextAt(10), kNone, Text("A1:B1", true));
  EXPECT_FAILS(orvErrNODATA, TextAt(40), kNone, Text("C1:C5", true));
  Put("A3", Variant());
  EXPECT_FAILS(orvErrBlankYCells, TextAt(50), kNone, Text("A1:A5", true));
}

TEST_F(Validation, NonnumericRangeHeaderRowOfEveryArea) {
  Put("A2:A4", Variant("a"));
  Put("C2:D3", Variant("b"));
  // Row 1 of each area is a header (blank here) when Headers is set.
  EXPECT_EQ(Fails([&] { Text("A1:A4,C1:D3", true); }), Failure{});
  EXPECT_FAILS(orvErrBlankYCells, TextAt(50), kNone, Text("A1:A4,C1:D3", false));
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILS(91, TextAt(20), kNotSet, Text("A1:A4", true));
  EXPECT_FAILS(91, TextAt(30), kNotSet, Text("A1:A4", false));
  EXPECT_FAILS(91, TextAt(10), kNotSet, v.ValidateNonnumericInputRange(excel::Range(), true));
}

TEST_F(Validation, FactorRangeBlockStartsAtRowTwo) {
  Put("A2:B5", Variant("level"));
  // Without headers the first row is not looked at for blanks.
  EXPECT_EQ(Fails([&] { Factor("A1:B5", false), Factor("A1:B5", true); }), Failure{});
  Put("B3", Variant());
  EXPECT_FAILS(orvErrBlankFactorCells, FactorAt(30), kNone, Factor("A1:B5", false));
  EXPECT_FAILS(orvErrNoFactorData, FactorAt(10), kNone, Factor("A1:B1", true));
  EXPECT_FAILS(orvErrNoFactorData, FactorAt(10), kNone, Factor("D1:D5", false));
  // With headers only the two corner cells of the data are counted.
  Put("F1", Variant("factor"));
  Put("F3", Variant("x"));
  EXPECT_FAILS(orvErrNoFactorData, FactorAt(10), kNone, Factor("F1:F4", true));
  Put("F2", Variant("x"));
  EXPECT_FAILS(orvErrBlankFactorCells, FactorAt(30), kNone, Factor("F1:F4", true));
  // A one-row range without headers: its block is the row and the one
  // below (the application spans both corners).
  Put("H1", Variant("a"));
  EXPECT_FAILS(orvErrBlankFactorCells, FactorAt(30), kNone, Factor("H1", false));
  Put("H2", Variant("b"));
  EXPECT_EQ(Fails([&] { Factor("H1", false); }), Failure{});
  EXPECT_FAILS(91, FactorAt(10), kNotSet, v.ValidateFactorRange(excel::Range(), false));
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILS(91, FactorAt(10), kNotSet, Factor("A1:A3", false));
}

// --- ValidateEvenXYRange ---

TEST_F(Validation, EvenXYRangeComparesCasesPerVariable) {
  Numbers("A1:B10");
  Numbers("D1:D10");
  Numbers("F1:F9");
  // Columns are summed over the areas.
  EXPECT_EQ(Fails([&] {
              Even("A1:B10", "D1:D10", false);
              Even("A1:A10,D1:D10", "B1:B10", false);
            }),
            Failure{});
  EXPECT_FAILS(orvErrUnevenYXRanges, EvenAt(70), kNone, Even("A1:B10", "F1:F9", false));
  EXPECT_FAILS(orvErrUnevenYXRanges, EvenAt(70), kNone, Even("A1:A10,F1:F9", "B1:B10", false));
}

TEST_F(Validation, EvenXYRangeHeadersKeepTheFirstAreaFromRowTwo) {
  Put("A1:F1", Variant("name"));
  Numbers("A2:A11");
  Numbers("C2:C6");
  Numbers("E2:E11");
  excel::Range y = R("A1:A11,C1:C6"), x = R("E1:E11");
  EXPECT_EQ(Fails([&] { v.ValidateEvenXYRange(y, x, true); }), Failure{});
  // The caller's handles are its own.
  EXPECT_EQ(y.AddressLocal() + " " + x.AddressLocal(), "$A$1:$A$11,$C$1:$C$6 $E$1:$E$11");
  // Without headers, the header texts are blanks of Y and the second area
  // counts.
  EXPECT_FAILS(orvErrBlankYCells, EvenAt(50), kNone, v.ValidateEvenXYRange(y, x, false));
  EXPECT_FAILS(orverrNoNumericalYData, EvenAt(10), kNone,
               v.ValidateEvenXYRange(R("A1:B1"), x, true));
  EXPECT_FAILS(orvErrNoNumericalXData, EvenAt(10), kNone,
               v.ValidateEvenXYRange(x, R("A1:B1"), true));
}

TEST_F(Validation, EvenXYRangeNumbersAndBlanks) {
  Numbers("A1:A5");
  Numbers("C1:C5");
  EXPECT_FAILS(orverrNoNumericalYData, EvenAt(40), kNone, Even("H1:H5", "C1:C5", false));
  EXPECT_FAILS(orvErrNoNumericalXData, EvenAt(40), kNone, Even("A1:A5", "H1:H5", false));
  Put("C3", Variant("n/a"));
  EXPECT_FAILS(orvErrBLANKXCELLS, EvenAt(50), kNone, Even("A1:A5", "C1:C5", false));
  Put("A3", Variant());
  EXPECT_FAILS(orvErrBlankYCells, EvenAt(50), kNone, Even("A1:A5", "C1:C5", false));
}

TEST_F(Validation, EvenXYRangeUnsetApplicationAndRanges) {
  Numbers("A1:B5");
  EXPECT_FAILS(91, EvenAt(10), kNotSet, v.ValidateEvenXYRange(excel::Range(), R("A1:A5"), true));
  EXPECT_FAILS(91, EvenAt(30), kNotSet, v.ValidateEvenXYRange(R("A1:A5"), excel::Range(), false));
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILS(91, EvenAt(20), kNotSet, Even("A1:A5", "B1:B5", true));
  EXPECT_FAILS(91, EvenAt(30), kNotSet, Even("A1:A5", "B1:B5", false));
}

// --- ValidateOutputRange and TestRangeSize ---

TEST_F(Validation, OutputRangeMustFitAndBeEmpty) {
  const Failure taken{orvErrOverwriteData, "ORVMain", kNone};
  const Failure too_big{orvErrRangeTooBig, "ORVMain", kNone};
  const auto Out = [&](const char* reference, Long width, Long height, bool overwrite = false) {
    return Fails([&] { v.ValidateOutputRange(R(reference), width, height, overwrite); });
  };
  Put("E5", Variant(1.0));
  EXPECT_EQ(Out("C3", 2, 2), Failure{});
  Put("D4", Variant("taken"));
  EXPECT_EQ(Out("C3", 2, 2), taken);
  EXPECT_EQ(Out("C3", 2, 2, true), Failure{});
  EXPECT_EQ(Out("A1:B2,C3", 4, 4), taken);  // only the first cell of the range matters
  // Past the last row or column of the sheet.
  EXPECT_EQ(Out("A1048570", 1, 8), too_big);
  EXPECT_EQ(Out("XFA1", 5, 1, true), too_big);
  EXPECT_EQ(Out("A1048570", 1, 7), Failure{});
  EXPECT_EQ(Out("XFA1", 4, 1), Failure{});
  EXPECT_EQ(Fails([&] { v.ValidateOutputRange(excel::Range(), 1, 1, true); }), too_big);
  // No block is built without a size: with OverWrite nothing is tested,
  // without it the unset block reaches CountA.
  EXPECT_EQ(Out("D4", -1, -1, true), Failure{});
  EXPECT_FAILS(91, "ORVMain", kNotSet, v.ValidateOutputRange(R("D4")));
  EXPECT_EQ(Out("D4", 3, 0), (Failure{91, "ORVMain", kNotSet}));
  // Before the application is set building the block fails, and any
  // failure there is "too big".
  Shared().ExcelApplication = nullptr;
  EXPECT_EQ(Out("C3", 2, 2), too_big);
  EXPECT_FAILS(91, "ORVMain", kNotSet, v.ValidateOutputRange(R("C3")));
  EXPECT_EQ(Out("C3", -1, -1, true), Failure{});
}

TEST_F(Validation, TestRangeSizeCellsMayLeaveTheRangeNotTheSheet) {
  Shared().ExcelApplication = nullptr;  // not needed
  EXPECT_EQ(Fails([&] {
              v.TestRangeSize(R("A1"), 1048576, 16384);
              v.TestRangeSize(R("B2:C3"), 0, 0);
            }),
            Failure{});
  for (auto [reference, row, column] :
       {std::tuple{"A1", 1048577, 1}, {"B2", 1, 16384}, {"A1", 0, 1}})
    EXPECT_FAILS(orvErrRangeTooBig, "ORVMain", kNone, v.TestRangeSize(R(reference), row, column));
  EXPECT_FAILS(orvErrRangeTooBig, "ORVMain", kNone, v.TestRangeSize(excel::Range(), 1, 1));
}

// --- ValidateReference ---

TEST_F(Validation, ReferenceNeedsRememberRefsAndTheActiveSheet) {
  EXPECT_FALSE(v.ValidateReference("Sheet1!A1:B2"));
  Shared().Properties.RememberRefs = true;
  EXPECT_TRUE(v.ValidateReference("Sheet1!A1:B2"));
  EXPECT_TRUE(v.ValidateReference("A1"));
  excel::Worksheet second = book.Worksheets().Add();  // active now
  second.LetName("Data");
  EXPECT_TRUE(v.ValidateReference("Data!A1"));
  EXPECT_FALSE(v.ValidateReference("Sheet1!A1"));
  sheet.Activate();
  EXPECT_TRUE(v.ValidateReference("Sheet1!A1"));
  for (const char* ref : {"Data!A1", "[Book9]Sheet1!A1", "Nope!A1", "A1:", "", "!!"})
    EXPECT_FALSE(v.ValidateReference(ref)) << ref;
}

TEST_F(Validation, ReferenceMatchesTheActiveSheetByNameOnly) {
  Shared().Properties.RememberRefs = true;
  excel::Workbook other = app.Workbooks().Add();  // Book2 with its Sheet1, active
  EXPECT_TRUE(v.ValidateReference("[Book1]Sheet1!A1"));
  other.Worksheets(1).LetName("Results");
  EXPECT_FALSE(v.ValidateReference("[Book1]Sheet1!A1"));
  EXPECT_TRUE(v.ValidateReference("Results!A1"));
  other.Close();
  EXPECT_FALSE(v.ValidateReference("[Book2]Results!A1"));
}

TEST_F(Validation, ReferenceNeverFails) {
  Shared().Properties.RememberRefs = true;
  Shared().ExcelApplication = nullptr;
  EXPECT_FALSE(v.ValidateReference("Sheet1!A1"));
  // An application without workbooks: no active sheet.
  excel::Application empty;
  excel::SetCurrentApplication(empty);
  EXPECT_FALSE(v.ValidateReference("A1"));
}
