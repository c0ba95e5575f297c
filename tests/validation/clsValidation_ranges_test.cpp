// The range checks: input (Y), X and Z ranges, text and factor ranges,
// paired Y and X ranges, output ranges, remembered references.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "orv/excel/excel.hpp"
#include "orv/validation/clsValidation.hpp"
#include "validation_test_util.hpp"

using namespace orv;

namespace {

using namespace orv::test;

const char* kVarFailed = "Unable to get the Var property of the WorksheetFunction class";

// A failure number of the library's own, raised without a text.
#define EXPECT_RAISES(statement, number, source) \
  EXPECT_FAILURE(statement, number, source, kNoDescription)

class Validation : public ValidationWorkbook {
 protected:
  // Every cell of the (first area of the) reference gets f(row, column),
  // counted within the area.
  void Fill(const char* reference, const std::function<Variant(int, int)>& f) const {
    const excel::Range r = R(reference);
    for (int i = 1; i <= r.Rows().Count(); ++i)
      for (int j = 1; j <= r.Columns().Count(); ++j) r.Cells(i, j).LetValue(f(i, j));
  }
  // Whole, positive, varying numbers.
  void Numbers(const char* reference) const {
    Fill(reference, [](int i, int j) { return Variant(double(i * 3 + j)); });
  }
};

using ValidateInput = Validation;

}  // namespace

// --- ValidateInputRange ---

TEST_F(ValidateInput, ReturnsTheColumnsOfAllAreas) {
  Put("A1:D1", Variant("name"));
  Numbers("A2:B11");
  Numbers("D2:D13");
  // Two areas of 10 and 12 data rows, of 2 and 1 columns.
  EXPECT_EQ(v.ValidateInputRange(R("A1:B11,D1:D13"), true), 3);
  EXPECT_EQ(v.ValidateInputRange(R("A1:B11,D1:D13"), true, true, true, true, true), 3);
  EXPECT_RAISES(v.ValidateInputRange(R("A1:B11,D1:D13"), true, false, false, false, false, true),
                orvErrUnevenYRanges, At(90, "ValidateInputRange"));
  // Without headers the first row is data: text there is not a number.
  EXPECT_RAISES(v.ValidateInputRange(R("A1:B11"), false), orvErrBlankYCells,
                At(50, "ValidateInputRange"));
  EXPECT_EQ(v.ValidateInputRange(R("A2:B11"), false), 2);
}

TEST_F(ValidateInput, HeadersOnOneRowFailBeforeAnyCounting) {
  Put("A1", Variant("name"));
  // Not even the application handle is reached.
  Shared().ExcelApplication = nullptr;
  EXPECT_RAISES(v.ValidateInputRange(R("A1:C1"), true), orverrNoNumericalYData,
                At(20, "ValidateInputRange"));
  EXPECT_RAISES(v.ValidateXRange(R("A1:C1"), true), orvErrNoNumericalXData,
                At(20, "ValidateXRange"));
  // Only the first area's rows count here.
  Numbers("A2:A5");
  excel::SetCurrentApplication(app);
  EXPECT_RAISES(v.ValidateInputRange(R("C1,A1:A5"), true), orverrNoNumericalYData,
                At(20, "ValidateInputRange"));
}

TEST_F(ValidateInput, NoNumbersAtAll) {
  Put("A1:B4", Variant("text"));
  EXPECT_RAISES(v.ValidateInputRange(R("A1:B4"), true), orverrNoNumericalYData,
                At(40, "ValidateInputRange"));
  EXPECT_RAISES(v.ValidateInputRange(R("D1:E4"), false), orverrNoNumericalYData,
                At(40, "ValidateInputRange"));
  EXPECT_RAISES(v.ValidateXRange(R("D1:E4"), false), orvErrNoNumericalXData,
                At(40, "ValidateXRange"));
}

TEST_F(ValidateInput, TextBlanksBooleansAndErrorValuesInTheData) {
  Numbers("A1:B6");
  Put("A3", Variant("label"));
  EXPECT_RAISES(v.ValidateInputRange(R("A1:B6"), false), orvErrBlankYCells,
                At(50, "ValidateInputRange"));
  EXPECT_RAISES(v.ValidateInputRange(R("A1:B6"), false, false, false, false, true),
                orvErrBlankYCells, At(50, "ValidateInputRange"));
  Put("A3", Variant());  // a blank: only without IgnoreBlanks
  EXPECT_RAISES(v.ValidateInputRange(R("A1:B6"), false), orvErrBlankYCells,
                At(50, "ValidateInputRange"));
  EXPECT_EQ(v.ValidateInputRange(R("A1:B6"), false, true, true, true, true), 2);
  EXPECT_RAISES(v.ValidateXRange(R("A1:B6"), false), orvErrBLANKXCELLS, At(50, "ValidateXRange"));
  for (const Variant& odd : {Variant(true), Variant(ErrorValue{excel::xlErrNA}), Variant("7")}) {
    Put("A3", odd);
    EXPECT_RAISES(v.ValidateInputRange(R("A1:B6"), false, false, false, false, true),
                  orvErrBlankYCells, At(50, "ValidateInputRange"));
    EXPECT_RAISES(v.ValidateXRange(R("A1:B6"), false), orvErrBLANKXCELLS, At(50, "ValidateXRange"));
  }
  // Dates are numbers.
  Put("A3", Variant(Date{45000}));
  EXPECT_EQ(v.ValidateInputRange(R("A1:B6"), false, true, true, true), 2);
}

TEST_F(ValidateInput, BlanksAreCountedOverEveryArea) {
  Numbers("A1:A5");
  Numbers("C1:D3");
  Put("D2", Variant());
  EXPECT_RAISES(v.ValidateInputRange(R("A1:A5,C1:D3"), false), orvErrBlankYCells,
                At(50, "ValidateInputRange"));
  EXPECT_EQ(v.ValidateInputRange(R("A1:A5,C1:D3"), false, false, false, false, true), 3);
  // The blank precedes the constant column in the order of checks.
  Put("A1:A5", Variant(2.0));
  EXPECT_RAISES(v.ValidateInputRange(R("A1:A5,C1:D3"), false, true), orvErrBlankYCells,
                At(50, "ValidateInputRange"));
}

TEST_F(ValidateInput, VarianceOfEveryColumnOfEveryArea) {
  Numbers("A1:B5");
  Numbers("D1:E5");
  EXPECT_EQ(v.ValidateInputRange(R("A1:B5,D1:E5"), false, true), 4);
  Put("E1:E5", Variant(4.0));
  EXPECT_RAISES(v.ValidateInputRange(R("A1:B5,D1:E5"), false, true), orvErrNoYVariance,
                At(60, "ValidateInputRange"));
  EXPECT_RAISES(v.ValidateXRange(R("A1:B5,D1:E5"), false, true), orvErrNoXVariance,
                At(60, "ValidateXRange"));
  EXPECT_EQ(v.ValidateInputRange(R("A1:B5,D1:E5"), false), 4);
  // One number per column: the workbook's Var fails, under our location.
  EXPECT_FAILURE(v.ValidateInputRange(R("A1:B2"), true, true), 1004, At(60, "ValidateInputRange"),
                 kVarFailed);
  EXPECT_FAILURE(v.ValidateXRange(R("A1:B2"), true, true), 1004, At(60, "ValidateXRange"),
                 kVarFailed);
}

TEST_F(ValidateInput, WholeAndNonNegativeValues) {
  Numbers("A1:B6");
  Put("B4", Variant(2.5));
  EXPECT_RAISES(v.ValidateInputRange(R("A1:B6"), false, false, true), orvErrNonYInteger,
                At(70, "ValidateInputRange"));
  EXPECT_RAISES(v.ValidateXRange(R("A1:B6"), false, false, true), orvErrNonXInteger,
                At(70, "ValidateXRange"));
  EXPECT_EQ(v.ValidateInputRange(R("A1:B6"), false, false, false, true), 2);
  Put("B4", Variant(-3.0));
  EXPECT_EQ(v.ValidateInputRange(R("A1:B6"), false, false, true), 2);
  EXPECT_RAISES(v.ValidateInputRange(R("A1:B6"), false, false, false, true), orvErrNegativeY,
                At(80, "ValidateInputRange"));
  EXPECT_RAISES(v.ValidateInputRange(R("A1:B6"), false, false, true, true), orvErrNegativeY,
                At(80, "ValidateInputRange"));
  EXPECT_RAISES(v.ValidateXRange(R("A1:B6"), false, false, false, true), orvErrNegativeX,
                At(80, "ValidateXRange"));
  // Blank cells pass both tests.
  Put("B4", Variant());
  EXPECT_EQ(v.ValidateInputRange(R("A1:B6"), false, false, true, true, true), 2);
  // A date with a time of day is not whole; -0 is not negative.
  Put("B4", Variant(Date{45000.25}));
  EXPECT_RAISES(v.ValidateInputRange(R("A1:B6"), false, false, true), orvErrNonYInteger,
                At(70, "ValidateInputRange"));
  Put("B4", Variant(-0.0));
  EXPECT_EQ(v.ValidateInputRange(R("A1:B6"), false, false, true, true), 2);
}

TEST_F(ValidateInput, EveryAreaIsWholeBeforeAnyIsTestedForSign) {
  Numbers("A1:A4");
  Numbers("C1:C4");
  Put("A2", Variant(-1.0));
  Put("C3", Variant(0.5));
  // A negative value in the first area, a fraction in the second: the
  // whole-number walk over both areas comes first.
  EXPECT_RAISES(v.ValidateInputRange(R("A1:A4,C1:C4"), false, false, true, true), orvErrNonYInteger,
                At(70, "ValidateInputRange"));
  Put("C3", Variant(5.0));
  EXPECT_RAISES(v.ValidateInputRange(R("A1:A4,C1:C4"), false, false, true, true), orvErrNegativeY,
                At(80, "ValidateInputRange"));
  // The header row is not walked.
  Put("A1", Variant(-0.5));
  Put("A2", Variant(1.0));
  EXPECT_EQ(v.ValidateInputRange(R("A1:A4,C1:C4"), true, false, true, true), 2);
  // Every other check passes: the uneven lengths come last.
  Numbers("E1:E9");
  EXPECT_RAISES(v.ValidateXRange(R("A1:A4,E1:E9"), true, true, true, true, true),
                orvErrUnevenXRanges, At(90, "ValidateXRange"));
}

TEST_F(ValidateInput, ColumnTotalIsSixteenBit) {
  // 16,384 + 16,383 columns fit; one more overflows while counting.
  EXPECT_RAISES(v.ValidateInputRange(R("A1:XFD2,A3:XFC4"), false), orverrNoNumericalYData,
                At(40, "ValidateInputRange"));
  EXPECT_FAILURE(v.ValidateInputRange(R("A1:XFD2,A3:XFD4"), false), kErrOverflow,
                 At(30, "ValidateInputRange"), "Overflow");
  EXPECT_FAILURE(v.ValidateXRange(R("A1:XFD2,A3:XFD4"), false), kErrOverflow,
                 At(30, "ValidateXRange"), "Overflow");
}

TEST_F(ValidateInput, AreaThatRunsOffTheSheet) {
  Numbers("A2:A5");
  // With headers, the data block of a one-row area in the last row starts
  // below the sheet.
  EXPECT_FAILURE(v.ValidateInputRange(R("A1:A5,C1048576"), true), 1004,
                 At(30, "ValidateInputRange"), kNoDescription);
}

TEST_F(ValidateInput, UnsetApplicationAndUnsetRange) {
  Numbers("A1:A5");
  EXPECT_FAILURE(v.ValidateInputRange(excel::Range(), false), 91, At(20, "ValidateInputRange"),
                 kNotSet);
  EXPECT_FAILURE(v.ValidateXRange(excel::Range(Nothing), false), 91, At(20, "ValidateXRange"),
                 kNotSet);
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILURE(v.ValidateInputRange(R("A1:A5"), false), 91, At(30, "ValidateInputRange"),
                 kNotSet);
  EXPECT_FAILURE(v.ValidateXRange(R("A1:A5"), false), 91, At(30, "ValidateXRange"), kNotSet);
}

TEST_F(ValidateInput, RangesOfOtherAndClosedWorkbooks) {
  excel::Workbook other = app.Workbooks().Add();  // now the active one
  excel::Range data = other.Worksheets(1).Range("B2:C6");
  Numbers("B2:C6");  // on Book2, the active workbook
  EXPECT_EQ(v.ValidateInputRange(data, false, true, true, true), 2);
  // The first workbook is not active: its ranges still validate.
  const excel::Range first = sheet.Range("A1:A3");
  first.LetValue(Variant(1.0));
  EXPECT_RAISES(v.ValidateInputRange(first, false, true), orvErrNoYVariance,
                At(60, "ValidateInputRange"));
  // A closed workbook's range keeps its cells in the object model.
  other.Close();
  EXPECT_EQ(v.ValidateInputRange(data, false, true, true, true), 2);
  EXPECT_EQ(v.ValidateXRange(data, false, true, true, true), 2);
}

// --- ValidateZRange ---

TEST_F(Validation, ZRangeFirstCheckTakesThreeConditions) {
  Put("A1", Variant("z"));
  EXPECT_RAISES(v.ValidateZRange(R("A1:B1"), true), orvErrNoNumericalZData,
                At(10, "ValidateZRange"));
  EXPECT_RAISES(v.ValidateZRange(R("D1:D5"), false), orvErrNoNumericalZData,
                At(10, "ValidateZRange"));
  // With headers only the two corner cells of the data are counted.
  Put("A2", Variant("x"));
  Put("A3", Variant(5.0));
  Put("A4", Variant("y"));
  EXPECT_RAISES(v.ValidateZRange(R("A1:A4"), true), orvErrNoNumericalZData,
                At(10, "ValidateZRange"));
  Put("A2", Variant(1.0));
  Put("A3", Variant());
  Put("A4", Variant(3.0));
  EXPECT_RAISES(v.ValidateZRange(R("A1:A4"), true), orvErrBlankZCells, At(30, "ValidateZRange"));
  Put("A3", Variant(2.0));
  v.ValidateZRange(R("A1:A4"), true, true, true);
  // All three are evaluated: the corner below a one-row range in the last
  // row lies off the sheet.
  EXPECT_FAILURE(v.ValidateZRange(R("A1048576:B1048576"), true), 1004, At(10, "ValidateZRange"),
                 kNoDescription);
}

TEST_F(Validation, ZRangeBlanksVarianceAndWholeNumbers) {
  Put("A1:B1", Variant("z"));
  Numbers("A2:B6");
  v.ValidateZRange(R("A1:B6"), true, true, true);
  EXPECT_RAISES(v.ValidateZRange(R("A1:B6"), false), orvErrBlankZCells, At(30, "ValidateZRange"));
  Put("B2:B6", Variant(1.0));
  EXPECT_RAISES(v.ValidateZRange(R("A1:B6"), true, true), orvErrNoZVariance,
                At(40, "ValidateZRange"));
  Put("B4", Variant(1.5));
  EXPECT_RAISES(v.ValidateZRange(R("A1:B6"), true, false, true), orvErrNonZInteger,
                At(50, "ValidateZRange"));
  v.ValidateZRange(R("A1:B6"), true, true);
  Put("B4", Variant(-1.0));  // negative values are no concern of Z
  v.ValidateZRange(R("A1:B6"), true, true, true);
  // Only the first area is checked for blanks.
  v.ValidateZRange(R("A2:B6,D1:D3"), false);
  EXPECT_FAILURE(v.ValidateZRange(R("A1:B2"), true, true), 1004, At(40, "ValidateZRange"),
                 kVarFailed);
}

TEST_F(Validation, ZRangeUnsetApplicationAndRange) {
  Numbers("A1:A3");
  EXPECT_FAILURE(v.ValidateZRange(excel::Range(), false), 91, At(10, "ValidateZRange"), kNotSet);
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILURE(v.ValidateZRange(R("A1:A3"), false), 91, At(10, "ValidateZRange"), kNotSet);
}

// --- ValidateNonnumericInputRange ---

TEST_F(Validation, NonnumericRangeAnyValueCountsButBlanks) {
  Put("A1", Variant("group"));
  Put("A2", Variant("a"));
  Put("A3", Variant(2.0));
  Put("A4", Variant(true));
  Put("A5", Variant(ErrorValue{excel::xlErrDiv0}));
  v.ValidateNonnumericInputRange(R("A1:A5"), true);
  v.ValidateNonnumericInputRange(R("A1:A5"), false);
  EXPECT_RAISES(v.ValidateNonnumericInputRange(R("A1:B1"), true), orvErrNODATA,
                At(10, "ValidateNonnumericInputRange"));
  EXPECT_RAISES(v.ValidateNonnumericInputRange(R("C1:C5"), true), orvErrNODATA,
                At(40, "ValidateNonnumericInputRange"));
  EXPECT_RAISES(v.ValidateNonnumericInputRange(R("C1:C5"), false), orvErrNODATA,
                At(40, "ValidateNonnumericInputRange"));
  Put("A3", Variant());
  EXPECT_RAISES(v.ValidateNonnumericInputRange(R("A1:A5"), true), orvErrBlankYCells,
                At(50, "ValidateNonnumericInputRange"));
}

TEST_F(Validation, NonnumericRangeHeaderRowOfEveryArea) {
  Put("A2:A4", Variant("a"));
  Put("C2:D3", Variant("b"));
  // Row 1 of each area is a header (blank here) when Headers is set.
  v.ValidateNonnumericInputRange(R("A1:A4,C1:D3"), true);
  EXPECT_RAISES(v.ValidateNonnumericInputRange(R("A1:A4,C1:D3"), false), orvErrBlankYCells,
                At(50, "ValidateNonnumericInputRange"));
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILURE(v.ValidateNonnumericInputRange(R("A1:A4"), true), 91,
                 At(20, "ValidateNonnumericInputRange"), kNotSet);
  EXPECT_FAILURE(v.ValidateNonnumericInputRange(R("A1:A4"), false), 91,
                 At(30, "ValidateNonnumericInputRange"), kNotSet);
  EXPECT_FAILURE(v.ValidateNonnumericInputRange(excel::Range(), true), 91,
                 At(10, "ValidateNonnumericInputRange"), kNotSet);
}

// --- ValidateFactorRange ---

TEST_F(Validation, FactorRangeBlockStartsAtRowTwo) {
  Put("A2:B5", Variant("level"));
  // Without headers the first row is not looked at for blanks.
  v.ValidateFactorRange(R("A1:B5"), false);
  v.ValidateFactorRange(R("A1:B5"), true);
  Put("B3", Variant());
  EXPECT_RAISES(v.ValidateFactorRange(R("A1:B5"), false), orvErrBlankFactorCells,
                At(30, "ValidateFactorRange"));
  EXPECT_RAISES(v.ValidateFactorRange(R("A1:B1"), true), orvErrNoFactorData,
                At(10, "ValidateFactorRange"));
  EXPECT_RAISES(v.ValidateFactorRange(R("D1:D5"), false), orvErrNoFactorData,
                At(10, "ValidateFactorRange"));
  // With headers only the two corner cells of the data are counted.
  Put("F1", Variant("factor"));
  Put("F3", Variant("x"));
  EXPECT_RAISES(v.ValidateFactorRange(R("F1:F4"), true), orvErrNoFactorData,
                At(10, "ValidateFactorRange"));
  Put("F2", Variant("x"));
  EXPECT_RAISES(v.ValidateFactorRange(R("F1:F4"), true), orvErrBlankFactorCells,
                At(30, "ValidateFactorRange"));
  // A one-row range without headers: its block is the row and the one
  // below (the application spans both corners).
  Put("H1", Variant("a"));
  EXPECT_RAISES(v.ValidateFactorRange(R("H1"), false), orvErrBlankFactorCells,
                At(30, "ValidateFactorRange"));
  Put("H2", Variant("b"));
  v.ValidateFactorRange(R("H1"), false);
}

TEST_F(Validation, FactorRangeUnsetApplicationAndRange) {
  Put("A1:A3", Variant("a"));
  EXPECT_FAILURE(v.ValidateFactorRange(excel::Range(), false), 91, At(10, "ValidateFactorRange"),
                 kNotSet);
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILURE(v.ValidateFactorRange(R("A1:A3"), false), 91, At(10, "ValidateFactorRange"),
                 kNotSet);
}

// --- ValidateEvenXYRange ---

TEST_F(Validation, EvenXYRangeComparesCasesPerVariable) {
  Numbers("A1:B10");
  Numbers("D1:D10");
  Numbers("F1:F9");
  v.ValidateEvenXYRange(R("A1:B10"), R("D1:D10"), false);
  EXPECT_RAISES(v.ValidateEvenXYRange(R("A1:B10"), R("F1:F9"), false), orvErrUnevenYXRanges,
                At(70, "ValidateEvenXYRange"));
  // Columns are summed over the areas.
  v.ValidateEvenXYRange(R("A1:A10,D1:D10"), R("B1:B10"), false);
  EXPECT_RAISES(v.ValidateEvenXYRange(R("A1:A10,F1:F9"), R("B1:B10"), false), orvErrUnevenYXRanges,
                At(70, "ValidateEvenXYRange"));
}

TEST_F(Validation, EvenXYRangeHeadersKeepTheFirstAreaFromRowTwo) {
  Put("A1:F1", Variant("name"));
  Numbers("A2:A11");
  Numbers("C2:C6");
  Numbers("E2:E11");
  excel::Range y = R("A1:A11,C1:C6"), x = R("E1:E11");
  v.ValidateEvenXYRange(y, x, true);
  // The caller's handles are its own.
  EXPECT_EQ(y.AddressLocal(), "$A$1:$A$11,$C$1:$C$6");
  EXPECT_EQ(x.AddressLocal(), "$E$1:$E$11");
  // Without headers, the header texts are blanks of Y and the second area
  // counts.
  EXPECT_RAISES(v.ValidateEvenXYRange(y, x, false), orvErrBlankYCells,
                At(50, "ValidateEvenXYRange"));
  EXPECT_RAISES(v.ValidateEvenXYRange(R("A1:B1"), x, true), orverrNoNumericalYData,
                At(10, "ValidateEvenXYRange"));
  EXPECT_RAISES(v.ValidateEvenXYRange(x, R("A1:B1"), true), orvErrNoNumericalXData,
                At(10, "ValidateEvenXYRange"));
}

TEST_F(Validation, EvenXYRangeNumbersAndBlanks) {
  Numbers("A1:A5");
  Numbers("C1:C5");
  EXPECT_RAISES(v.ValidateEvenXYRange(R("H1:H5"), R("C1:C5"), false), orverrNoNumericalYData,
                At(40, "ValidateEvenXYRange"));
  EXPECT_RAISES(v.ValidateEvenXYRange(R("A1:A5"), R("H1:H5"), false), orvErrNoNumericalXData,
                At(40, "ValidateEvenXYRange"));
  Put("C3", Variant("n/a"));
  EXPECT_RAISES(v.ValidateEvenXYRange(R("A1:A5"), R("C1:C5"), false), orvErrBLANKXCELLS,
                At(50, "ValidateEvenXYRange"));
  Put("A3", Variant());
  EXPECT_RAISES(v.ValidateEvenXYRange(R("A1:A5"), R("C1:C5"), false), orvErrBlankYCells,
                At(50, "ValidateEvenXYRange"));
}

TEST_F(Validation, EvenXYRangeUnsetApplicationAndRanges) {
  Numbers("A1:B5");
  EXPECT_FAILURE(v.ValidateEvenXYRange(excel::Range(), R("A1:A5"), true), 91,
                 At(10, "ValidateEvenXYRange"), kNotSet);
  EXPECT_FAILURE(v.ValidateEvenXYRange(R("A1:A5"), excel::Range(), false), 91,
                 At(30, "ValidateEvenXYRange"), kNotSet);
  Shared().ExcelApplication = nullptr;
  EXPECT_FAILURE(v.ValidateEvenXYRange(R("A1:A5"), R("B1:B5"), true), 91,
                 At(20, "ValidateEvenXYRange"), kNotSet);
  EXPECT_FAILURE(v.ValidateEvenXYRange(R("A1:A5"), R("B1:B5"), false), 91,
                 At(30, "ValidateEvenXYRange"), kNotSet);
}

// --- ValidateOutputRange and TestRangeSize ---

TEST_F(Validation, OutputRangeMustFitAndBeEmpty) {
  v.ValidateOutputRange(R("C3"), 2, 2);
  Put("E5", Variant(1.0));
  v.ValidateOutputRange(R("C3"), 2, 2);
  Put("D4", Variant("taken"));
  EXPECT_RAISES(v.ValidateOutputRange(R("C3"), 2, 2), orvErrOverwriteData, "ORVMain");
  v.ValidateOutputRange(R("C3"), 2, 2, true);
  // Only the first cell of the range matters.
  EXPECT_RAISES(v.ValidateOutputRange(R("A1:B2,C3"), 4, 4), orvErrOverwriteData, "ORVMain");
  // Past the last row or column of the sheet.
  EXPECT_RAISES(v.ValidateOutputRange(R("A1048570"), 1, 8), orvErrRangeTooBig, "ORVMain");
  EXPECT_RAISES(v.ValidateOutputRange(R("XFA1"), 5, 1, true), orvErrRangeTooBig, "ORVMain");
  v.ValidateOutputRange(R("A1048570"), 1, 7);
  v.ValidateOutputRange(R("XFA1"), 4, 1);
  EXPECT_RAISES(v.ValidateOutputRange(excel::Range(), 1, 1, true), orvErrRangeTooBig, "ORVMain");
}

TEST_F(Validation, OutputRangeWithoutASize) {
  // No block is built: with OverWrite nothing is tested, without it the
  // unset block reaches CountA.
  v.ValidateOutputRange(R("D4"), -1, -1, true);
  v.ValidateOutputRange(R("D4"), 0, 5, true);
  EXPECT_FAILURE(v.ValidateOutputRange(R("D4")), 91, "ORVMain", kNotSet);
  EXPECT_FAILURE(v.ValidateOutputRange(R("D4"), 3, 0), 91, "ORVMain", kNotSet);
}

TEST_F(Validation, OutputRangeBeforeTheApplicationIsSet) {
  Shared().ExcelApplication = nullptr;
  // Building the block fails, and any failure there is "too big".
  EXPECT_RAISES(v.ValidateOutputRange(R("C3"), 2, 2), orvErrRangeTooBig, "ORVMain");
  EXPECT_FAILURE(v.ValidateOutputRange(R("C3")), 91, "ORVMain", kNotSet);
  v.ValidateOutputRange(R("C3"), -1, -1, true);
}

TEST_F(Validation, TestRangeSizeCellsMayLeaveTheRangeNotTheSheet) {
  Shared().ExcelApplication = nullptr;  // not needed
  v.TestRangeSize(R("A1"), 1048576, 16384);
  v.TestRangeSize(R("B2:C3"), 0, 0);
  EXPECT_RAISES(v.TestRangeSize(R("A1"), 1048577, 1), orvErrRangeTooBig, "ORVMain");
  EXPECT_RAISES(v.TestRangeSize(R("B2"), 1, 16384), orvErrRangeTooBig, "ORVMain");
  EXPECT_RAISES(v.TestRangeSize(R("A1"), 0, 1), orvErrRangeTooBig, "ORVMain");
  EXPECT_RAISES(v.TestRangeSize(excel::Range(), 1, 1), orvErrRangeTooBig, "ORVMain");
}

// --- ValidateReference ---

TEST_F(Validation, ReferenceNeedsRememberRefs) {
  EXPECT_FALSE(v.ValidateReference("Sheet1!A1:B2"));
  Shared().Properties.RememberRefs = true;
  EXPECT_TRUE(v.ValidateReference("Sheet1!A1:B2"));
  EXPECT_TRUE(v.ValidateReference("[Book1]Sheet1!$A$1"));
  EXPECT_TRUE(v.ValidateReference("A1"));
}

TEST_F(Validation, ReferenceToWhatIsNotOpenOrNotActive) {
  Shared().Properties.RememberRefs = true;
  excel::Worksheet second = book.Worksheets().Add();  // active now
  second.LetName("Data");
  EXPECT_TRUE(v.ValidateReference("Data!A1"));
  EXPECT_FALSE(v.ValidateReference("Sheet1!A1"));
  sheet.Activate();
  EXPECT_TRUE(v.ValidateReference("Sheet1!A1"));
  EXPECT_FALSE(v.ValidateReference("Data!A1"));
  EXPECT_FALSE(v.ValidateReference("[Book9]Sheet1!A1"));
  EXPECT_FALSE(v.ValidateReference("Nope!A1"));
  EXPECT_FALSE(v.ValidateReference("A1:"));
  EXPECT_FALSE(v.ValidateReference(""));
  EXPECT_FALSE(v.ValidateReference("!!"));
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
