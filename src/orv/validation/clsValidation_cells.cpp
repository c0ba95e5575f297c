// What the validators share: the application handle, data blocks, the
// counters' checked arithmetic, and the walk over cells that tests whole
// and non-negative values in memory.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "orv/excel/Worksheet.hpp"
#include "orv/validation/clsValidation.hpp"

namespace orv::validation_detail {


excel::Range BlockFrom(const excel::Application& app, const excel::Range& range, Long first_row,
                       Long first_column) {
  const excel::Range first = range.Cells(first_row, first_column);
  const excel::Range last = range.Cells(range.Rows().Count(), range.Columns().Count());
  return app.Range(first, last);
}

Long AddLong(Long total, double count) { return CLng(static_cast<double>(total) + count); }

Long MulLong(Long a, Long b) {
  const std::int64_t p = std::int64_t{a} * b;
  if (p < std::numeric_limits<Long>::min() || p > std::numeric_limits<Long>::max())
    Raise(kErrOverflow);
  return static_cast<Long>(p);
}

Integer AddInteger(Integer total, Long count) {
  return CInt(static_cast<double>(total) + static_cast<double>(count));
}

Integer MulInteger(Integer a, Integer b) {
  return CInt(static_cast<double>(std::int32_t{a} * std::int32_t{b}));
}

void RaiseRole(std::int32_t number) {
  if (number == 0) Raise(kErrInvalidCall);
  Raise(number);
}

bool NotWhole(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Null:  // Int(Null) <> Null is Null, which is not True
      return false;
    case VarType::String:
      // Int of numeric text is a number, and a number never equals text.
      (void)CDbl(value);
      return true;
    default: {
      const double x = CDbl(value);  // 13 for error values
      return Floor(x) != x;
    }
  }
}

bool BelowZero(const Variant& value) {
  if (value.IsNull()) return false;
  return CDbl(value) < 0;
}

namespace {

// Rows read at once: a block of one column that stays in the cache.
constexpr Long kWalkRows = 32768;

// Int(x) = x for a number of a cell (always finite): every double of
// magnitude 2^52 or more is whole; below that, adding and removing 2^52
// (with x's sign) rounds x to the nearest whole number exactly.
inline bool Whole(double x) {
  constexpr double kTwo52 = 4503599627370496.0;
  const double big = std::copysign(kTwo52, x);
  const double rounded = (x + big) - big;
  return rounded == x || !(std::fabs(x) < kTwo52);
}

// The doubles of one block, in walk order. Every cell is a number or a
// blank (0), so nothing here can fail: only the outcome matters, not which
// cell of the block decides it.
bool ScanNumbers(const double* x, std::size_t n, bool check_integers, bool check_negative,
                 WalkResult& result) {
  if (check_integers) {
    bool fraction = false, below = false;
    for (std::size_t k = 0; k < n; ++k) {
      fraction |= !Whole(x[k]);
      below |= x[k] < 0;
    }
    if (fraction) {
      result.non_integer = true;
      return true;
    }
    if (check_negative && below) result.negative = true;
    return false;
  }
  bool below = false;
  for (std::size_t k = 0; k < n; ++k) below |= x[k] < 0;
  if (below) result.negative = true;
  return below;
}

// One cell in walk order; true when the walk stops here.
bool ScanValue(const Variant& v, bool check_integers, bool check_negative, WalkResult& result) {
  if (check_integers) {
    if (NotWhole(v)) {
      result.non_integer = true;
      return true;
    }
    if (check_negative && !result.negative && BelowZero(v)) result.negative = true;
    return false;
  }
  if (BelowZero(v)) {
    result.negative = true;
    return true;
  }
  return false;
}

}  // namespace

WalkResult WalkCells(const excel::Range& range, Long first_row, Long last_row, Long columns,
                     bool check_integers, bool check_negative) {
  WalkResult result;
  if (!check_integers && !check_negative) return result;
  if (last_row < first_row || columns < 1) return result;
  const excel::Worksheet sheet = range.Worksheet();
  Array<double> numbers;
  for (Long j = 1; j <= columns; ++j) {
    for (std::int64_t top = first_row; top <= last_row; top += kWalkRows) {
      const Long bottom = static_cast<Long>(std::min<std::int64_t>(last_row, top + kWalkRows - 1));
      const excel::Range block =
          sheet.Range(range.Cells(static_cast<Long>(top), j), range.Cells(bottom, j));
      if (block.ValueAsDoubles(numbers)) {
        const std::size_t n = static_cast<std::size_t>(numbers.Count(1)) * numbers.Count(2);
        if (ScanNumbers(numbers.data(), n, check_integers, check_negative, result)) return result;
        continue;
      }
      // Text, Booleans or error values among them: cell by cell, so that a
      // failing conversion stops at the cell where it stands.
      const Variant values = block.Value();
      if (!values.IsArray()) {
        if (ScanValue(values, check_integers, check_negative, result)) return result;
        continue;
      }
      const Array<Variant>* cells = values.ArrayOf<Variant>();
      if (cells == nullptr) Raise(kErrTypeMismatch);
      for (const Variant& v : cells->storage())
        if (ScanValue(v, check_integers, check_negative, result)) return result;
    }
  }
  return result;
}

}  // namespace orv::validation_detail
