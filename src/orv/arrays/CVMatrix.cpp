// CVMatrix: a matrix of Variant values.
#include "orv/arrays/CVMatrix.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <utility>
#include <vector>

#include "orv/arrays/clsMatrix_detail.hpp"
#include "orv/frame/compare.hpp"
#include "orv/matrix/CMatrix.hpp"

namespace orv {

struct CVMatrix::State {
  Long rows = 0;
  Long columns = 0;
  // Normally (1 To rows, 1 To columns); LetValues installs an array with
  // its own bounds. Unallocated when the matrix is empty.
  Array<Variant> values;
};

CVMatrix::CVMatrix() = default;
CVMatrix::CVMatrix(NothingType) : state_(Nothing) {}
CVMatrix::CVMatrix(Ref<State> state) : state_(std::move(state)) {}

namespace {

constexpr Member kSetSize{Rule::Chain, "CVMatrix", "SetSize"};
constexpr Member kFillFromArray{Rule::Plain, "CVMatrix", "FillFromArray"};
constexpr Member kDeleteRow{Rule::Chain, "CVMatrix", "DeleteRow"};
constexpr Member kDeleteColumn{Rule::Chain, "CVMatrix", "DeleteColumn"};
constexpr Member kInsertRows{Rule::Chain, "CVMatrix", "InsertRows"};
constexpr Member kInsertColumns{Rule::Chain, "CVMatrix", "InsertColumns"};
constexpr Member kColumn{Rule::Stamp, "CVMatrix", "Column"};
constexpr Member kRow{Rule::Stamp, "CVMatrix", "row"};
constexpr Member kSubMatrix{Rule::Plain, "CVMatrix", "SubMatrix"};
constexpr Member kSort{Rule::Plain, "CVMatrix", "Sort"};
constexpr Member kRank{Rule::Plain, "CVMatrix", "Rank"};

// Any array a Variant holds, as an array of Variants with the same bounds.
Array<Variant> ToVariantArray(const Variant& v) {
  return std::visit(
      [](const auto& a) {
        using T = typename std::decay_t<decltype(a)>::value_type;
        if constexpr (std::is_same_v<T, Variant>) {
          return a;
        } else {
          Array<Variant> out;
          if (a.Rank() == 1)
            out.ReDim(a.LBound(1), a.UBound(1));
          else if (a.Rank() == 2)
            out.ReDim(a.LBound(1), a.UBound(1), a.LBound(2), a.UBound(2));
          for (std::size_t k = 0; k < a.size(); ++k) out.storage()[k] = Variant(a.storage()[k]);
          return out;
        }
      },
      v.AsArray());
}

// --- sorting rows on a key ---------------------------------------------------

// True when the comparison is a strict weak ordering on these keys, so that
// any stable sort yields what exchanging neighbours until none is out of
// order yields. Numbers (by value) and text (by bytes, above all numbers)
// are; Empty fits in as 0 when there is no empty string, and as the empty
// string when there is no number >= 0, but not when both are present
// (0 = Empty = "" while 0 < ""). Keys that cannot be compared (Null, error
// values, ...) and NaNs are left to the exchanges, which meet them in the
// first pass; so are Currencies too large to keep their order as doubles.
bool OrderedByStableSort(const std::vector<const Variant*>& keys) {
  constexpr std::int64_t kExactCurrency = std::int64_t{1} << 49;
  bool empty = false, empty_text = false, nonnegative = false;
  for (const Variant* k : keys) {
    switch (k->Type()) {
      case VarType::Empty:
        empty = true;
        break;
      case VarType::String:
        empty_text |= k->AsString().empty();
        break;
      case VarType::Integer:
      case VarType::Long:
      case VarType::Boolean:
      case VarType::Single:
      case VarType::Double:
      case VarType::Date: {
        const double v = CDbl(*k);
        if (std::isnan(v)) return false;
        nonnegative |= v >= 0;
        break;
      }
      case VarType::Currency: {
        const std::int64_t v = k->AsCurrency().scaled;
        if (v <= -kExactCurrency || v >= kExactCurrency) return false;
        nonnegative |= v >= 0;
        break;
      }
      default:
        return false;  // Null, error values, objects, arrays
    }
  }
  return !(empty && empty_text && nonnegative);
}

// The order of the rows 1 To n by their keys: rows are exchanged with
// their successor whenever its key is smaller, pass after pass, until a
// pass exchanges none. Where the comparison is a strict weak ordering a
// stable sort gives the same order in n log n.
std::vector<Long> SortedOrder(const std::vector<const Variant*>& keys) {
  const Long n = static_cast<Long>(keys.size());
  std::vector<Long> order(keys.size());
  std::iota(order.begin(), order.end(), 0);
  if (OrderedByStableSort(keys)) {
    std::stable_sort(order.begin(), order.end(),
                     [&](Long a, Long b) { return CompareVariants(*keys[a], *keys[b]) < 0; });
    return order;
  }
  bool exchanged = true;
  while (exchanged) {
    exchanged = false;
    for (Long i = 0; i + 1 < n; ++i) {
      if (CompareVariants(*keys[order[i]], *keys[order[i + 1]]) > 0) {
        std::swap(order[i], order[i + 1]);
        exchanged = true;
      }
    }
  }
  return order;
}

}  // namespace

// --- shape and elements ------------------------------------------------------

void CVMatrix::SetSize(ByRef<Long> Rows, ByRef<Long> Columns, Boolean Persist) {
  Guard(kSetSize, [&](Line& line) {
    line = 10;
    State& s = *state_;
    if (*Rows < 1 || *Columns < 1) {
      line = 20;
      s.rows = 0;
      s.columns = 0;
      s.values.Erase();
      return;
    }
    if (!Persist) {
      line = 30;
      s.values.ReDim(1, *Rows, 1, *Columns);
      s.rows = *Rows;
      s.columns = *Columns;
      return;
    }
    line = 40;
    Array<Variant> next(1, *Rows, 1, *Columns);
    if (*Rows > s.rows) *Rows = s.rows;
    if (*Columns > s.columns) *Columns = s.columns;
    line = 50;
    for (Long i = 1; i <= *Rows; ++i)
      for (Long j = 1; j <= *Columns; ++j) next.At(i, j) = s.values(i, j);
    line = 60;
    s.values = std::move(next);
    s.rows = s.values.UBound(1);
    s.columns = s.values.UBound(2);
  });
}

Long CVMatrix::RowCount() const { return state_->rows; }
Long CVMatrix::ColumnCount() const { return state_->columns; }
Boolean CVMatrix::IsNull() const { return state_->rows == 0 || state_->columns == 0; }

Boolean CVMatrix::IsEqual(const CVMatrix& Matrix) const {
  const State& a = *state_;
  const State& b = *Matrix.state_;
  if (a.rows != b.rows || a.columns != b.columns) return false;
  for (Long i = 1; i <= a.rows; ++i)
    for (Long j = 1; j <= a.columns; ++j)
      if (!VariantsEqual(a.values(i, j), b.values(i, j))) return false;
  return true;
}

Variant CVMatrix::Item(Long row, Long Column) const {
  const State& s = *state_;
  if (row < 1 || row > s.rows || Column < 1 || Column > s.columns) Raise(kErrSubscript);
  return s.values(row, Column);
}

void CVMatrix::LetItem(Long row, Long Column, const Variant& value) {
  State& s = *state_;
  if (row < 1 || row > s.rows || Column < 1 || Column > s.columns) Raise(kErrSubscript);
  s.values(row, Column) = value;
}

Array<Variant> CVMatrix::Values() const { return state_->values; }
Array<Variant> CVMatrix::ToArray() const { return state_->values; }

void CVMatrix::LetValues(const Variant& Values) {
  State& s = *state_;
  bool installed = ResumeNext([&] {
    const Long rows = Values.UBound(1);
    const Long columns = Values.UBound(2);
    Array<Variant> copy = ToVariantArray(Values);
    s.values = std::move(copy);
    s.rows = rows;
    s.columns = columns;
  });
  if (!installed) {
    s.rows = 0;
    s.columns = 0;
    s.values.Erase();
  }
}

std::string CVMatrix::ToString() const {
  const State& s = *state_;
  std::string text;
  for (Long i = 1; i <= s.rows; ++i) {
    for (Long j = 1; j <= s.columns; ++j) ResumeNext([&] { text += CStr(s.values(i, j)) + ", "; });
    ResumeNext([&] {
      if (text.size() < 2) Raise(kErrInvalidCall);
      text.resize(text.size() - 2);
    });
    ResumeNext([&] { text += "\r\n"; });
  }
  return text;
}

void CVMatrix::FillFromArray(const Variant& Values, Boolean AsRowVector) {
  Guard(kFillFromArray, [&](Line& line) {
    line = 10;
    const Long lb1 = Values.LBound(1);
    const Long p = detail::ToLong(std::int64_t{Values.UBound(1)} - lb1 + 1);
    if (Values.Rank() == 2) {
      line = 20;
      const Long lb2 = Values.LBound(2);
      const Long q = detail::ToLong(std::int64_t{Values.UBound(2)} - lb2 + 1);
      SetSize(p, q, false);
      line = 30;
      State& s = *state_;
      for (Long i = 1; i <= p; ++i)
        for (Long j = 1; j <= q; ++j) s.values.At(i, j) = Values.Element(lb1 + i - 1, lb2 + j - 1);
      return;
    }
    line = 40;
    if (AsRowVector)
      SetSize(1, p, false);
    else
      SetSize(p, 1, false);
    line = 50;
    State& s = *state_;
    for (Long i = 1; i <= p; ++i) {
      Variant v = Values.Element(lb1 + i - 1);
      if (AsRowVector)
        s.values.At(1, i) = std::move(v);
      else
        s.values.At(i, 1) = std::move(v);
    }
  });
}

// --- restructuring -----------------------------------------------------------

CVMatrix CVMatrix::DeleteRow(Long index) const {
  return Guard(kDeleteRow, [&](Line& line) {
    line = 10;
    const State& s = *state_;
    if (index < 1 || index > s.rows) Raise(kErrSubscript, Located(kDeleteRow, line));
    line = 20;
    CVMatrix result;
    result.SetSize(s.rows - 1, s.columns);
    State& r = *result.state_;
    for (Long i = 1, k = 1; i <= s.rows; ++i) {
      if (i == index) continue;
      for (Long j = 1; j <= s.columns; ++j) r.values.At(k, j) = s.values(i, j);
      ++k;
    }
    return result;
  });
}

CVMatrix CVMatrix::DeleteColumn(Long index) const {
  return Guard(kDeleteColumn, [&](Line& line) {
    line = 10;
    const State& s = *state_;
    if (index < 1 || index > s.columns) Raise(kErrSubscript, Located(kDeleteColumn, line));
    line = 20;
    CVMatrix result;
    result.SetSize(s.rows, s.columns - 1);
    State& r = *result.state_;
    for (Long i = 1; i <= s.rows; ++i)
      for (Long j = 1, k = 1; j <= s.columns; ++j) {
        if (j == index) continue;
        r.values.At(i, k++) = s.values(i, j);
      }
    return result;
  });
}

namespace {

// Lines 30 and 40 of InsertRows and InsertColumns: the inserted matrix must
// fit the other dimension; index 0 becomes count + 1, else it must lie
// within 1 to count.
void CheckInsertion(const Member& member, Line& line, bool fits, Long count, ByRef<Long>& index) {
  line = 30;
  if (!fits) Raise(kErrSubscript, Located(member, line));
  line = 40;
  if (*index == 0)
    *index = count + 1;
  else if (*index < 0 || *index > count)
    Raise(kErrSubscript, Located(member, line));
}

}  // namespace

CVMatrix CVMatrix::InsertRows(const CVMatrix& Matrix, ByRef<Long> index) const {
  return Guard(kInsertRows, [&](Line& line) {
    line = 10;
    if (Matrix.IsNull()) return CVMatrix(Nothing);
    line = 20;
    if (IsNull()) return Matrix;
    const State& s = *state_;
    const State& m = *Matrix.state_;
    CheckInsertion(kInsertRows, line, m.columns == s.columns, s.rows, index);
    line = 50;
    const Long at = *index;
    CVMatrix result;
    result.SetSize(detail::ToLong(std::int64_t{s.rows} + m.rows), s.columns);
    State& r = *result.state_;
    Long k = 1;
    for (Long i = 1; i < at; ++i, ++k)
      for (Long j = 1; j <= s.columns; ++j) r.values.At(k, j) = s.values(i, j);
    for (Long i = 1; i <= m.rows; ++i, ++k)
      for (Long j = 1; j <= s.columns; ++j) r.values.At(k, j) = m.values(i, j);
    for (Long i = at; i <= s.rows; ++i, ++k)
      for (Long j = 1; j <= s.columns; ++j) r.values.At(k, j) = s.values(i, j);
    return result;
  });
}

CVMatrix CVMatrix::InsertColumns(const CVMatrix& Matrix, ByRef<Long> index) const {
  return Guard(kInsertColumns, [&](Line& line) {
    line = 10;
    if (Matrix.IsNull()) return CVMatrix(Nothing);
    line = 20;
    if (IsNull()) return Matrix;
    const State& s = *state_;
    const State& m = *Matrix.state_;
    CheckInsertion(kInsertColumns, line, m.rows == s.rows, s.columns, index);
    line = 50;
    const Long at = *index;
    CVMatrix result;
    result.SetSize(s.rows, detail::ToLong(std::int64_t{s.columns} + m.columns));
    State& r = *result.state_;
    for (Long i = 1; i <= s.rows; ++i) {
      Long k = 1;
      for (Long j = 1; j < at; ++j) r.values.At(i, k++) = s.values(i, j);
      for (Long j = 1; j <= m.columns; ++j) r.values.At(i, k++) = m.values(i, j);
      for (Long j = at; j <= s.columns; ++j) r.values.At(i, k++) = s.values(i, j);
    }
    return result;
  });
}

CVMatrix CVMatrix::Column(Long index) const {
  return Guard(kColumn, [&](Line& line) {
    line = 10;
    const State& s = *state_;
    if (index < 1 || index > s.columns) Raise(kErrSubscript);
    line = 20;
    CVMatrix result;
    result.SetSize(s.rows, 1);
    State& r = *result.state_;
    for (Long i = 1; i <= s.rows; ++i) r.values.At(i, 1) = s.values(i, index);
    return result;
  });
}

CVMatrix CVMatrix::row(Long index) const {
  return Guard(kRow, [&](Line& line) {
    line = 10;
    const State& s = *state_;
    if (index < 1 || index > s.rows) Raise(kErrSubscript);
    line = 20;
    CVMatrix result;
    result.SetSize(1, s.columns);
    State& r = *result.state_;
    for (Long j = 1; j <= s.columns; ++j) r.values.At(1, j) = s.values(index, j);
    return result;
  });
}

CVMatrix CVMatrix::SubMatrix(Long StartRow, Long StartCol, ByRef<Long> NumRows,
                             ByRef<Long> NumCols) const {
  return Guard(kSubMatrix, [&](Line&) {
    const State& s = *state_;
    if (*NumRows == 0) *NumRows = detail::ToLong(std::llabs(std::int64_t{s.rows} - StartRow) + 1);
    if (*NumCols == 0)
      *NumCols = detail::ToLong(std::llabs(std::int64_t{s.columns} - StartCol) + 1);
    if (std::int64_t{StartRow} + *NumRows - 1 > s.rows ||
        std::int64_t{StartCol} + *NumCols - 1 > s.columns)
      Raise(kErrSubscript);
    CVMatrix result;
    result.SetSize(*NumRows, *NumCols);
    State& r = *result.state_;
    for (Long i = 1; i <= *NumRows; ++i)
      for (Long j = 1; j <= *NumCols; ++j)
        r.values.At(i, j) = s.values(StartRow + i - 1, StartCol + j - 1);
    return result;
  });
}

CVMatrix CVMatrix::Sort(Long index) const {
  return Guard(kSort, [&](Line&) {
    const State& s = *state_;
    if (index < 1 || index > s.columns) Raise(kErrSubscript);
    std::vector<const Variant*> keys;
    keys.reserve(static_cast<std::size_t>(s.rows));
    for (Long i = 1; i <= s.rows; ++i) keys.push_back(&s.values(i, index));
    const std::vector<Long> order = SortedOrder(keys);
    Ref<State> sorted;
    sorted->rows = s.rows;
    sorted->columns = s.columns;
    sorted->values = s.values;
    for (Long i = 1; i <= s.rows; ++i) {
      const Long from = order[static_cast<std::size_t>(i - 1)] + 1;
      if (from == i) continue;
      for (Long j = 1; j <= s.columns; ++j) sorted->values(i, j) = s.values(from, j);
    }
    return CVMatrix(std::move(sorted));
  });
}

CMatrix CVMatrix::Rank(Long Column) const {
  return Guard(kRank, [&](Line&) {
    const State& s = *state_;
    const Long n = s.rows;
    // Value and input row, sorted by value.
    CVMatrix pairs;
    pairs.SetSize(n, 2);
    State& p = *pairs.state_;
    for (Long i = 1; i <= n; ++i) {
      p.values.At(i, 1) = s.values(i, Column);
      p.values.At(i, 2) = Variant(static_cast<Long>(i));
    }
    CVMatrix sorted = pairs.Sort(1);
    State& t = *sorted.state_;
    // Runs of values equal to the run's first one: a numeric run takes the
    // mean of the ranks it spans; other runs keep their values and take no
    // ranks.
    double ranked = 0;
    for (Long i = 1; i <= n;) {
      const Variant first = t.values.At(i, 1);
      Long j = i + 1;
      while (j <= n && VariantsEqual(t.values.At(j, 1), first)) ++j;
      const Long length = j - i;
      if (IsNumeric(first)) {
        const double rank = ranked + 1 + (length - 1) * 0.5;
        for (Long k = i; k < j; ++k) t.values.At(k, 1) = rank;
        ranked += length;
      }
      i = j;
    }
    CVMatrix back = sorted.Sort(2);
    const State& b = *back.state_;
    Array<double> ranks(1, n, 1, 1);
    for (Long i = 1; i <= n; ++i) {
      const Variant& v = b.values.At(i, 1);
      ranks.At(i, 1) = v.IsNumber() ? CDbl(v) : 0.0;
    }
    CMatrix result;
    result.LetValues(ranks);
    return result;
  });
}

}  // namespace orv
