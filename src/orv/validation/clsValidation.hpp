#pragma once
// Checks of the worksheet ranges a user picked, and of the data in them,
// before an analysis runs. A global class without state: use
// Global<clsValidation>() (any other instance behaves alike).
//
// A failed check raises its ORVError number alone (the description is the
// standard one for a component-defined number); the first failing check
// ends the call. The members that answer with a shape return it only when
// every check passed; ValidateReference alone answers with a Boolean.
//
// Every member except TestRangeSize works through the application stored
// with clsMain.SetExcel: before that, a member that reaches the workbook
// fails with 91.
//
// Where failures leave a member:
//  - ValidateInputRange, ValidateXRange, ValidateZRange,
//    ValidateNonnumericInputRange, ValidateFactorRange, ValidateEvenXYRange
//    and ValidateSymemtricMatrix stamp every failure with
//    "Line <n> in ORVMain.clsValidation.<member>";
//  - ValidateOutputRange, ValidateNumericData, ValidateStringData,
//    ValidatePairedData and TestRangeSize pass failures on as they arose;
//  - ValidateReference never fails: any failure makes its answer False.
//
// Terms: the first data row is 2 when Headers is set, else 1; the data
// block of an area is the block from its cell (first data row, 1) to its
// last cell; counts are the workbook's Count (numbers) and CountA
// (non-blank cells). Counts run in 32-bit integers, the column totals of
// ValidateInputRange and ValidateXRange and the sizes of
// ValidateSymemtricMatrix in 16-bit ones: a total beyond them is 6.
#include <string>

#include "orv/excel/Application.hpp"
#include "orv/excel/Range.hpp"
#include "orv/frame/frame.hpp"

namespace orv {

class clsValidation {
 public:
  // True when RememberRefs is on, Ref names a range of an open workbook,
  // and the active sheet has the name of the range's sheet (a sheet of
  // that name in another workbook matches too). Never fails.
  Boolean ValidateReference(const std::string& Ref) const;

  // The response data: each area's data block must hold numbers only
  // (IgnoreBlanks: numbers and blanks), with non-zero variance per column
  // (CheckVariance), whole (MustBeInt) and not negative (MustBePos) values,
  // and areas of one height (EvenColumnLengths). Returns the number of
  // columns of all areas.
  Integer ValidateInputRange(const excel::Range& InputRange, Boolean Headers,
                             Boolean CheckVariance = false, Boolean MustBeInt = false,
                             Boolean MustBePos = false, Boolean IgnoreBlanks = false,
                             Boolean EvenColumnLengths = false) const;
  // As ValidateInputRange for the explanatory data (blanks never allowed),
  // with the X failure numbers.
  Integer ValidateXRange(const excel::Range& InputRange, Boolean Headers,
                         Boolean CheckVariance = false, Boolean MustBeInt = false,
                         Boolean MustBePos = false, Boolean EvenColumnLengths = false) const;
  // A single-area range of numbers, with the Z failure numbers.
  void ValidateZRange(const excel::Range& InputRange, Boolean Headers,
                      Boolean CheckVariance = false, Boolean MustBeInt = false) const;
  // Text or mixed data without blanks.
  void ValidateNonnumericInputRange(const excel::Range& InputRange, Boolean Headers) const;
  // Factor levels without blanks; the block checked for blanks starts at
  // row 2 whether or not Headers is set.
  void ValidateFactorRange(const excel::Range& FactorRange, Boolean Headers) const;
  // Y and X must hold numbers only, in the same number per column. Works
  // on its own copies of the two handles.
  void ValidateEvenXYRange(excel::Range YRange, excel::Range XRange, Boolean Headers) const;
  // With Width and Height > 0 the block of that size from the range's
  // first cell must lie on the sheet (orvErrRangeTooBig), and unless
  // OverWrite it must be empty (orvErrOverwriteData).
  void ValidateOutputRange(const excel::Range& OutputRange, Long Width = -1, Long Height = -1,
                           Boolean OverWrite = false) const;

  // The general numeric check, with the failure numbers of the data's role.
  // DataInRows is accepted and not used (the data are columns). Returns
  // the number of columns of all areas.
  Long ValidateNumericData(const excel::Range& NumericRange, Boolean Headers,
                           ORVNumericDataType DataType, Boolean DataInRows = false,
                           Long MinCases = 0, Boolean CheckVariance = false,
                           Boolean MustBeInt = false, Boolean MustBePos = false,
                           Boolean IgnoreBlanks = false, Boolean AllowUnevenVars = false) const;
  // Factor or text data in columns (or rows, DataInRows): every variable
  // non-empty, no blanks unless IgnoreBlanks, at least MinLength long.
  // Returns the number of variables as a Variant holding a Long.
  Variant ValidateStringData(const excel::Range& StringRange, Boolean Headers,
                             ORVStringDataType DataType, Boolean DataInRows = false,
                             Long MinLength = 0, Boolean IgnoreBlanks = false) const;
  // Variables 1 and 2, 3 and 4, ... (across areas) must hold the same
  // number of non-blank cells. Returns an empty Variant.
  Variant ValidatePairedData(const excel::Range& DataRange, Boolean Headers,
                             Boolean DataInRows = false) const;
  // RangeObject.Cells(row, Col) must lie on the sheet (orvErrRangeTooBig).
  void TestRangeSize(const excel::Range& RangeObject, Long row, Long Col) const;
  // A square block without blanks whose mirrored cells agree in single
  // precision; a correlation matrix has 1 (in single precision) on its
  // diagonal, a covariance matrix no negative diagonal value. Returns the
  // number of columns.
  Integer ValidateSymemtricMatrix(const excel::Range& InputRange, Boolean Headers,
                                  ORVMatrixType MatrixType) const;
};

// Shared by the validators' own files; not part of the interface.
namespace validation_detail {

// The block of a range from its cell (first_row, first_column) to its
// first area's last cell, as the application spans it.
excel::Range BlockFrom(const excel::Application& app, const excel::Range& range, Long first_row,
                       Long first_column);

// 32-bit and 16-bit arithmetic of the counters: 6 beyond the type.
Long AddLong(Long total, double count);
Long MulLong(Long a, Long b);
Integer AddInteger(Integer total, Long count);
Integer MulInteger(Integer a, Integer b);

// What a walk over cells found.
struct WalkResult {
  bool non_integer = false;
  bool negative = false;
};

// Walks the cells range.Cells(i, j) for j = 1 To columns, i = first_row To
// last_row (column by column, row by row), reading the values a block at
// a time, and tests each as the per-cell walk would:
//  - check_integers: stops at the first cell whose Int differs from its
//    value (non_integer); text that is not a number and error values are
//    13 where they stand; negative then tells whether a cell that passed
//    is below zero (when check_negative);
//  - otherwise check_negative: stops at the first cell below zero
//    (negative); text that is not a number and error values are 13.
WalkResult WalkCells(const excel::Range& range, Long first_row, Long last_row, Long columns,
                     bool check_integers, bool check_negative);

// Int(value) <> value, with the interface's comparison of the two: blanks
// and Booleans are whole, numeric text never equals its Int, other text
// and error values are 13.
bool NotWhole(const Variant& value);
// value < 0: blank 0, True -1, numeric text its value, other text and
// error values 13.
bool BelowZero(const Variant& value);

// Raises a failure number of a role table (0, for a role the table does
// not have, is the platform's 5).
[[noreturn]] void RaiseRole(std::int32_t number);

}  // namespace validation_detail

}  // namespace orv
