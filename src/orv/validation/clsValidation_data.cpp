// The data checks that also answer with the data's shape: numeric data by
// role, string data in columns or rows, paired variables, symmetric
// matrices.
#include <vector>

#include "orv/excel/WorksheetFunction.hpp"
#include "orv/validation/clsValidation.hpp"

namespace orv {

using validation_detail::AddLong;
using validation_detail::BelowZero;
using validation_detail::BlockFrom;
using validation_detail::MulInteger;
using validation_detail::MulLong;
using validation_detail::RaiseRole;
using validation_detail::WalkCells;
using validation_detail::WalkResult;

namespace {

constexpr std::string_view kClass = "clsValidation";
constexpr Member kValidateNumericData{Rule::None, kClass, "ValidateNumericData"};
constexpr Member kValidateStringData{Rule::None, kClass, "ValidateStringData"};
constexpr Member kValidatePairedData{Rule::None, kClass, "ValidatePairedData"};
constexpr Member kValidateSymemtricMatrix{Rule::Stamp, kClass, "ValidateSymemtricMatrix"};

// The failure numbers of a role; 0 where the role is not one of the
// enumeration's.
struct NumericRole {
  std::int32_t no_range = 0, no_data = 0, too_few_rows = 0, uneven = 0, blank = 0, no_variance = 0,
               non_integer = 0, negative = 0;
};

NumericRole RoleOf(ORVNumericDataType type) {
  switch (type) {
    case ORVNumericDataType::XData:
      return {orvErrNoXRange,    orvErrNoNumericalXData, orvErrTooFewXRows, orvErrUnevenXRanges,
              orvErrBLANKXCELLS, orvErrNoXVariance,      orvErrNonXInteger, orvErrNegativeX};
    case ORVNumericDataType::YData:
      return {orvErrNoYRange,    orverrNoNumericalYData, orvErrTooFewYRows, orvErrUnevenYRanges,
              orvErrBlankYCells, orvErrNoYVariance,      orvErrNonYInteger, orvErrNegativeY};
    case ORVNumericDataType::ZData:
      return {orvErrNoZRange,    orvErrNoNumericalZData, orvErrTooFewZRows, orvErrUnevenZRanges,
              orvErrBlankZCells, orvErrNoZVariance,      orvErrNonZInteger, orvErrNegativeZ};
    case ORVNumericDataType::variable:
      return {orvErrNoVarRange,           orvErrNoVariableData,     orvErrTooFewVariableRows,
              orvErrUnevenVariableRanges, orvErrBlankVariableCells, orvErrNoVariableVariance,
              orvErrNonVariableInteger,   orvErrNegativeVariable};
  }
  return {};
}

struct StringRole {
  std::int32_t no_data = 0, uneven = 0, too_few_rows = 0, blank = 0;
};

StringRole RoleOf(ORVStringDataType type) {
  switch (type) {
    case ORVStringDataType::FactorData:
      return {orvErrNoFactorData, orvErrUnevenFactorRanges, orvErrTooFewFactorRows,
              orvErrBlankFactorCells};
    case ORVStringDataType::NonNumericData:
      return {orvErrNODATA, orvErrUnevenYRanges, orvErrTooFewYRows, orvErrBlankYCells};
  }
  return {};
}

}  // namespace

Long clsValidation::ValidateNumericData(const excel::Range& NumericRange, Boolean Headers,
                                        ORVNumericDataType DataType, Boolean DataInRows,
                                        Long MinCases, Boolean CheckVariance, Boolean MustBeInt,
                                        Boolean MustBePos, Boolean IgnoreBlanks,
                                        Boolean AllowUnevenVars) const {
  (void)DataInRows;  // the data are always taken as columns
  return Guard(kValidateNumericData, [&](Line&) -> Long {
    const NumericRole fail = RoleOf(DataType);
    if (NumericRange.IsNothing()) RaiseRole(fail.no_range);

    const Long first = Headers ? 2 : 1;
    const Long R = NumericRange.Rows().Count();
    if (R < first) RaiseRole(fail.no_data);
    if (R - first + 1 < MinCases) RaiseRole(fail.too_few_rows);

    const excel::Application app = excel::CurrentApplication();
    const excel::WorksheetFunction wf = app.WorksheetFunction();
    Long numeric = 0, nonblank = 0, cells = 0, columns = 0;
    std::vector<double> column_counts;
    const Long areas = NumericRange.Areas().Count();
    for (Long i = 1; i <= areas; ++i) {
      const excel::Range area = NumericRange.Areas(i);
      const excel::Range block = BlockFrom(app, area, first, 1);
      numeric = AddLong(numeric, wf.Count(block));
      nonblank = AddLong(nonblank, wf.CountA(block));
      cells = AddLong(cells, MulLong(block.Columns().Count(), block.Rows().Count()));
      columns = AddLong(columns, area.Columns().Count());

      if (numeric == 0) RaiseRole(fail.no_data);

      // The counts of the columns serve the next two checks alike.
      const Long block_columns = block.Columns().Count();
      column_counts.assign(static_cast<std::size_t>(block_columns), 0.0);
      for (Long k = 1; k <= block_columns; ++k) {
        const double count = wf.Count(block.Columns(k));
        if (count == 0) RaiseRole(fail.no_data);
        column_counts[static_cast<std::size_t>(k - 1)] = count;
      }

      if (area.Rows().Count() != R && !AllowUnevenVars) RaiseRole(fail.uneven);

      if (AllowUnevenVars) {
        for (double count : column_counts)
          if (count < MinCases) RaiseRole(fail.too_few_rows);
      }

      if (IgnoreBlanks ? numeric != nonblank : numeric != cells) RaiseRole(fail.blank);

      if (CheckVariance) {
        for (Long k = 1; k <= block_columns; ++k)
          if (wf.Var(block.Columns(k)) == 0) RaiseRole(fail.no_variance);
      }

      const Long block_rows = block.Rows().Count();
      if (MustBeInt) {
        const WalkResult walk = WalkCells(block, 1, block_rows, block_columns, true, MustBePos);
        if (walk.non_integer) RaiseRole(fail.non_integer);
        // The cells passed Int: below zero is the only way left to fail.
        if (MustBePos && walk.negative) RaiseRole(fail.negative);
      } else if (MustBePos) {
        if (WalkCells(block, 1, block_rows, block_columns, false, true).negative)
          RaiseRole(fail.negative);
      }
    }
    return columns;
  });
}

Variant clsValidation::ValidateStringData(const excel::Range& StringRange, Boolean Headers,
                                          ORVStringDataType DataType, Boolean DataInRows,
                                          Long MinLength, Boolean IgnoreBlanks) const {
  return Guard(kValidateStringData, [&](Line&) -> Variant {
    const StringRole fail = RoleOf(DataType);
    const Long start = Headers ? 2 : 1;
    const Long L = DataInRows ? StringRange.Columns().Count() : StringRange.Rows().Count();
    const Long n = L - start + 1;
    if (n < 1) RaiseRole(fail.no_data);
    if (n < MinLength) RaiseRole(fail.too_few_rows);

    const excel::Application app = excel::CurrentApplication();
    const excel::WorksheetFunction wf = app.WorksheetFunction();
    Long variables = 0;
    const Long areas = StringRange.Areas().Count();
    for (Long i = 1; i <= areas; ++i) {
      const excel::Range area = StringRange.Areas(i);
      const Long length = DataInRows ? area.Columns().Count() : area.Rows().Count();
      if (length != L) RaiseRole(fail.uneven);

      const excel::Range block =
          DataInRows ? BlockFrom(app, area, 1, start) : BlockFrom(app, area, start, 1);
      const Long count = DataInRows ? block.Rows().Count() : block.Columns().Count();
      variables = AddLong(variables, count);

      if (!IgnoreBlanks) {
        const double filled = wf.CountA(block);
        if (filled != MulLong(block.Columns().Count(), block.Rows().Count())) RaiseRole(fail.blank);
      }

      for (Long k = 1; k <= count; ++k) {
        const excel::Range variable = DataInRows ? block.Rows(k) : block.Columns(k);
        if (wf.CountA(variable) == 0) RaiseRole(fail.no_data);
      }
    }
    return Variant(variables);
  });
}

Variant clsValidation::ValidatePairedData(const excel::Range& DataRange, Boolean Headers,
                                          Boolean DataInRows) const {
  return Guard(kValidatePairedData, [&](Line&) -> Variant {
    const Long skip = Headers ? 2 : 1;
    const Long start_row = DataInRows ? 1 : skip;
    const Long start_column = DataInRows ? skip : 1;

    Long N = 0;
    const Long areas = DataRange.Areas().Count();
    for (Long i = 1; i <= areas; ++i) {
      const excel::Range area = DataRange.Areas(i);
      N = AddLong(N, DataInRows ? area.Rows().Count() : area.Columns().Count());
    }
    if (Floor(N / 2.0) != N / 2.0) Raise(orvErrUnevenVariableRanges);

    const excel::Application app = excel::CurrentApplication();
    const excel::WorksheetFunction wf = app.WorksheetFunction();
    Array<Long> counts(1, N);
    Long next = 0;
    for (Long i = 1; i <= areas; ++i) {
      const excel::Range block = BlockFrom(app, DataRange.Areas(i), start_row, start_column);
      const Long variables = DataInRows ? block.Rows().Count() : block.Columns().Count();
      for (Long k = 1; k <= variables; ++k) {
        ++next;
        counts(next) = CLng(wf.CountA(DataInRows ? block.Rows(k) : block.Columns(k)));
      }
    }

    for (Long k = 1; k <= N - 1; k += 2)
      if (counts(k) != counts(k + 1)) Raise(orvErrUnevenXYRange);
    return Variant();
  });
}

Integer clsValidation::ValidateSymemtricMatrix(const excel::Range& InputRange, Boolean Headers,
                                               ORVMatrixType MatrixType) const {
  return Guard(kValidateSymemtricMatrix, [&](Line& line) -> Integer {
    line = 10;
    Long first;
    Integer n;
    if (!Headers) {
      first = 1;
      n = CInt(static_cast<double>(InputRange.Rows().Count()));
    } else {
      first = 2;
      n = CInt(static_cast<double>(InputRange.Rows().Count()) - 1);
    }
    const Integer c = CInt(static_cast<double>(InputRange.Columns().Count()));

    line = 20;
    const excel::Application app = excel::CurrentApplication();
    const excel::Range block = BlockFrom(app, InputRange, first, 1);

    line = 30;
    const double filled = app.WorksheetFunction().CountA(block);
    if (filled != MulInteger(c, n)) Raise(orvErrBlankYCells);

    line = 40;
    if (n == 0) Raise(orvErrNoNumericalData);

    line = 50;
    if (n != c) Raise(orvErrMatrixNotSymmetric);

    // The block's values, read once: the block is n x n, a single value
    // when n is 1.
    line = 60;
    const Long rows = block.Rows().Count(), columns = block.Columns().Count();
    const Variant values = block.Value();
    auto cell = [&](Long i, Long j) -> Variant {
      return values.IsArray() ? values.Element(i, j) : values;
    };
    for (Long i = 1; i <= rows; ++i)
      for (Long j = i + 1; j <= columns; ++j)
        if (CSng(cell(i, j)) != CSng(cell(j, i))) Raise(orvErrMatrixNotSymmetric);

    line = 70;
    if (MatrixType == ORVMatrixType::Correlation) {
      for (Long i = 1; i <= rows; ++i)
        if (CSng(cell(i, i)) != 1.0f) Raise(orvErrMatrixNotCorrelation);
    } else if (MatrixType == ORVMatrixType::Covariance) {
      for (Long i = 1; i <= rows; ++i)
        if (BelowZero(cell(i, i))) Raise(orvErrMatrixNotCovariance);
    }

    line = 80;
    return c;
  });
}

}  // namespace orv
