// The range checks: input (Y), X and Z ranges, text and factor ranges,
// paired Y and X ranges, output ranges, remembered references.
#include "orv/excel/Workbook.hpp"
#include "orv/excel/Worksheet.hpp"
#include "orv/excel/WorksheetFunction.hpp"
#include "orv/validation/clsValidation.hpp"

namespace orv {

using validation_detail::AddInteger;
using validation_detail::AddLong;
using validation_detail::BlockFrom;
using validation_detail::MulLong;
using validation_detail::WalkCells;
using validation_detail::WalkResult;

namespace {

constexpr std::string_view kClass = "clsValidation";
constexpr Member kValidateInputRange{Rule::Stamp, kClass, "ValidateInputRange"};
constexpr Member kValidateXRange{Rule::Stamp, kClass, "ValidateXRange"};
constexpr Member kValidateZRange{Rule::Stamp, kClass, "ValidateZRange"};
constexpr Member kValidateNonnumericInputRange{Rule::Stamp, kClass, "ValidateNonnumericInputRange"};
constexpr Member kValidateFactorRange{Rule::Stamp, kClass, "ValidateFactorRange"};
constexpr Member kValidateEvenXYRange{Rule::Stamp, kClass, "ValidateEvenXYRange"};
constexpr Member kValidateOutputRange{Rule::None, kClass, "ValidateOutputRange"};
constexpr Member kTestRangeSize{Rule::None, kClass, "TestRangeSize"};

// The failure numbers of a numeric range's role.
struct NumericFailures {
  std::int32_t no_data, blank, no_variance, non_integer, negative, uneven;
};
constexpr NumericFailures kY{orverrNoNumericalYData, orvErrBlankYCells, orvErrNoYVariance,
                             orvErrNonYInteger,      orvErrNegativeY,   orvErrUnevenYRanges};
constexpr NumericFailures kX{orvErrNoNumericalXData, orvErrBLANKXCELLS, orvErrNoXVariance,
                             orvErrNonXInteger,      orvErrNegativeX,   orvErrUnevenXRanges};

struct NumericChecks {
  bool take_nonblank;  // the Y range counts its non-blank cells too
  bool check_variance, must_be_int, must_be_pos, ignore_blanks, even_column_lengths;
};

// The walk of ValidateInputRange and ValidateXRange; returns the column
// total of all areas.
Integer ValidateNumericRange(const Member& member, const NumericFailures& fail,
                             const excel::Range& range, Boolean Headers,
                             const NumericChecks& checks) {
  return Guard(member, [&](Line& line) -> Integer {
    line = 10;
    const Long first = Headers ? 2 : 1;
    line = 20;
    if (range.Rows().Count() < first) Raise(fail.no_data);

    line = 30;
    const excel::Application app = excel::CurrentApplication();
    const excel::WorksheetFunction wf = app.WorksheetFunction();
    Long numeric = 0, nonblank = 0, cells = 0;
    Integer columns = 0;
    const Long areas = range.Areas().Count();
    for (Long i = 1; i <= areas; ++i) {
      const excel::Range area = range.Areas(i);
      const excel::Range block = BlockFrom(app, area, first, 1);
      numeric = AddLong(numeric, wf.Count(block));
      if (checks.take_nonblank) nonblank = AddLong(nonblank, wf.CountA(block));
      const Long area_columns = area.Columns().Count();
      cells = AddLong(cells, MulLong(area_columns, area.Rows().Count() - (first - 1)));
      columns = AddInteger(columns, area_columns);
    }

    line = 40;
    if (numeric == 0) Raise(fail.no_data);

    line = 50;
    if (checks.ignore_blanks ? numeric != nonblank : numeric != cells) Raise(fail.blank);

    line = 60;
    if (checks.check_variance) {
      for (Long i = 1; i <= areas; ++i) {
        const excel::Range block = BlockFrom(app, range.Areas(i), first, 1);
        const Long block_columns = block.Columns().Count();
        for (Long k = 1; k <= block_columns; ++k)
          if (wf.Var(block.Columns(k)) == 0) Raise(fail.no_variance);
      }
    }

    // One read of the cells serves both walks: when MustBeInt runs first,
    // the cells that pass it cannot fail the MustBePos test other than by
    // being negative, so whether one is below zero is all that remains.
    line = 70;
    bool negative = false;
    if (checks.must_be_int) {
      for (Long i = 1; i <= areas; ++i) {
        const excel::Range area = range.Areas(i);
        const WalkResult walk = WalkCells(area, first, area.Rows().Count(), area.Columns().Count(),
                                          true, checks.must_be_pos);
        if (walk.non_integer) Raise(fail.non_integer);
        negative = negative || walk.negative;
      }
    }

    line = 80;
    if (checks.must_be_pos) {
      if (checks.must_be_int) {
        if (negative) Raise(fail.negative);
      } else {
        for (Long i = 1; i <= areas; ++i) {
          const excel::Range area = range.Areas(i);
          if (WalkCells(area, first, area.Rows().Count(), area.Columns().Count(), false, true)
                  .negative)
            Raise(fail.negative);
        }
      }
    }

    line = 90;
    if (checks.even_column_lengths) {
      const Long r1 = range.Areas(1).Rows().Count();
      for (Long i = 1; i <= areas; ++i)
        if (range.Areas(i).Rows().Count() != r1) Raise(fail.uneven);
    }

    line = 100;
    return columns;
  });
}

}  // namespace

Boolean clsValidation::ValidateReference(const std::string& Ref) const {
  // Every statement that fails is skipped; a failure anywhere makes the
  // answer False.
  bool failed = false;
  auto statement = [&](auto&& body) {
    if (!ResumeNext(body)) failed = true;
  };
  Boolean result = false;

  if (!Shared().Properties.RememberRefs) return false;

  excel::Range range;
  if (!ResumeNext([&] { range = excel::CurrentApplication().Range(Ref); })) return false;

  std::string book_name, sheet_name;
  statement([&] { book_name = range.Worksheet().Parent().Name(); });
  statement([&] { sheet_name = range.Worksheet().Name(); });

  bool found = false;
  Long books = 0;
  statement([&] { books = excel::CurrentApplication().Workbooks().Count(); });
  for (Integer i = 1; i <= books;) {
    bool same = false;
    statement([&] { same = excel::CurrentApplication().Workbooks(i).Name() == book_name; });
    if (same) {
      found = true;
      break;
    }
    if (!ResumeNext([&] { i = CInt(static_cast<double>(i) + 1); })) {
      failed = true;
      break;
    }
  }

  if (found) statement([&] { result = excel::CurrentApplication().ActiveSheet().Name() == sheet_name; });

  if (failed) return false;
  return result;
}

Integer clsValidation::ValidateInputRange(const excel::Range& InputRange, Boolean Headers,
                                          Boolean CheckVariance, Boolean MustBeInt,
                                          Boolean MustBePos, Boolean IgnoreBlanks,
                                          Boolean EvenColumnLengths) const {
  return ValidateNumericRange(
      kValidateInputRange, kY, InputRange, Headers,
      {true, CheckVariance, MustBeInt, MustBePos, IgnoreBlanks, EvenColumnLengths});
}

Integer clsValidation::ValidateXRange(const excel::Range& InputRange, Boolean Headers,
                                      Boolean CheckVariance, Boolean MustBeInt, Boolean MustBePos,
                                      Boolean EvenColumnLengths) const {
  return ValidateNumericRange(
      kValidateXRange, kX, InputRange, Headers,
      {false, CheckVariance, MustBeInt, MustBePos, false, EvenColumnLengths});
}

void clsValidation::ValidateZRange(const excel::Range& InputRange, Boolean Headers,
                                   Boolean CheckVariance, Boolean MustBeInt) const {
  Guard(kValidateZRange, [&](Line& line) {
    line = 10;
    const excel::Application app = excel::CurrentApplication();
    const excel::WorksheetFunction wf = app.WorksheetFunction();
    // All three conditions are evaluated, whatever the first ones gave.
    const bool one_row = InputRange.Rows().Count() == 1 && Headers;
    const bool no_numbers = wf.Count(InputRange) == 0 && !Headers;
    const bool no_corner_numbers =
        wf.Count(InputRange.Cells(2, 1),
                 InputRange.Cells(InputRange.Rows().Count(), InputRange.Columns().Count())) == 0 &&
        Headers;
    if (one_row || no_numbers || no_corner_numbers) Raise(orvErrNoNumericalZData);

    line = 20;
    const Long first = Headers ? 2 : 1;
    const excel::Range block = BlockFrom(app, InputRange, first, 1);

    line = 30;
    const Long cells = MulLong(block.Columns().Count(), block.Rows().Count());
    if (static_cast<double>(cells) != wf.Count(block)) Raise(orvErrBlankZCells);

    line = 40;
    if (CheckVariance) {
      const Long columns = block.Columns().Count();
      for (Long k = 1; k <= columns; ++k)
        if (wf.Var(block.Columns(k)) == 0) Raise(orvErrNoZVariance);
    }

    line = 50;
    if (MustBeInt && WalkCells(InputRange, first, InputRange.Rows().Count(),
                               InputRange.Columns().Count(), true, false)
                         .non_integer)
      Raise(orvErrNonZInteger);
  });
}

void clsValidation::ValidateNonnumericInputRange(const excel::Range& InputRange,
                                                 Boolean Headers) const {
  Guard(kValidateNonnumericInputRange, [&](Line& line) {
    Long nonblank = 0, cells = 0;
    line = 10;
    if (Headers) {
      if (InputRange.Rows().Count() == 1) Raise(orvErrNODATA);
      line = 20;
      const excel::Application app = excel::CurrentApplication();
      const excel::WorksheetFunction wf = app.WorksheetFunction();
      const Long areas = InputRange.Areas().Count();
      for (Long i = 1; i <= areas; ++i) {
        const excel::Range area = InputRange.Areas(i);
        nonblank = AddLong(nonblank, wf.CountA(BlockFrom(app, area, 2, 1)));
        cells = AddLong(cells, MulLong(area.Columns().Count(), area.Rows().Count() - 1));
      }
    } else {
      line = 30;
      const excel::WorksheetFunction wf = excel::CurrentApplication().WorksheetFunction();
      const Long areas = InputRange.Areas().Count();
      for (Long i = 1; i <= areas; ++i) {
        const excel::Range area = InputRange.Areas(i);
        nonblank = AddLong(nonblank, wf.CountA(area));
        cells = AddLong(cells, MulLong(area.Columns().Count(), area.Rows().Count()));
      }
    }

    line = 40;
    if (nonblank == 0) Raise(orvErrNODATA);

    line = 50;
    if (nonblank != cells) Raise(orvErrBlankYCells);
  });
}

void clsValidation::ValidateFactorRange(const excel::Range& FactorRange, Boolean Headers) const {
  Guard(kValidateFactorRange, [&](Line& line) {
    line = 10;
    const excel::Application app = excel::CurrentApplication();
    const excel::WorksheetFunction wf = app.WorksheetFunction();
    const bool one_row = FactorRange.Rows().Count() == 1 && Headers;
    const bool empty = wf.CountA(FactorRange) == 0 && !Headers;
    const bool empty_corners =
        wf.CountA(FactorRange.Cells(2, 1), FactorRange.Cells(FactorRange.Rows().Count(),
                                                             FactorRange.Columns().Count())) == 0 &&
        Headers;
    if (one_row || empty || empty_corners) Raise(orvErrNoFactorData);

    line = 20;
    const excel::Range block = BlockFrom(app, FactorRange, 2, 1);

    line = 30;
    const Long cells = MulLong(block.Columns().Count(), block.Rows().Count());
    if (static_cast<double>(cells) != wf.CountA(block)) Raise(orvErrBlankFactorCells);
  });
}

void clsValidation::ValidateEvenXYRange(excel::Range YRange, excel::Range XRange,
                                        Boolean Headers) const {
  Guard(kValidateEvenXYRange, [&](Line& line) {
    line = 10;
    if (Headers) {
      if (YRange.Rows().Count() == 1) Raise(orverrNoNumericalYData);
      if (XRange.Rows().Count() == 1) Raise(orvErrNoNumericalXData);
      line = 20;
      const excel::Application app = excel::CurrentApplication();
      YRange = BlockFrom(app, YRange, 2, 1);
      XRange = BlockFrom(app, XRange, 2, 1);
    }

    line = 30;
    const excel::WorksheetFunction wf = excel::CurrentApplication().WorksheetFunction();
    const Long nY = CLng(wf.Count(YRange));
    const Long nX = CLng(wf.Count(XRange));

    line = 40;
    if (nY == 0) Raise(orverrNoNumericalYData);
    if (nX == 0) Raise(orvErrNoNumericalXData);

    line = 50;
    if (YRange.Cells().Count() != nY) Raise(orvErrBlankYCells);
    if (XRange.Cells().Count() != nX) Raise(orvErrBLANKXCELLS);

    line = 60;
    Long cY = 0, cX = 0;
    const Long y_areas = YRange.Areas().Count();
    for (Long i = 1; i <= y_areas; ++i) cY = AddLong(cY, YRange.Areas(i).Columns().Count());
    const Long x_areas = XRange.Areas().Count();
    for (Long i = 1; i <= x_areas; ++i) cX = AddLong(cX, XRange.Areas(i).Columns().Count());

    line = 70;
    if (static_cast<double>(nY) / cY != static_cast<double>(nX) / cX) Raise(orvErrUnevenYXRanges);
  });
}

void clsValidation::ValidateOutputRange(const excel::Range& OutputRange, Long Width, Long Height,
                                        Boolean OverWrite) const {
  Guard(kValidateOutputRange, [&](Line&) {
    excel::Range block;  // stays unset unless both sizes are positive
    if (Width > 0 && Height > 0) {
      const bool built = ResumeNext(
          [&] { block = excel::CurrentApplication().Range(OutputRange.Cells(1, 1), OutputRange.Cells(Height, Width)); });
      if (!built) Raise(orvErrRangeTooBig);
    }
    if (!OverWrite && excel::CurrentApplication().WorksheetFunction().CountA(block) != 0) Raise(orvErrOverwriteData);
  });
}

void clsValidation::TestRangeSize(const excel::Range& RangeObject, Long row, Long Col) const {
  Guard(kTestRangeSize, [&](Line&) {
    if (!ResumeNext([&] { (void)RangeObject.Cells(row, Col); })) Raise(orvErrRangeTooBig);
  });
}

}  // namespace orv
