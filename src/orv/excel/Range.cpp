#include "orv/excel/Range.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "orv/excel/Workbook.hpp"
#include "orv/excel/Worksheet.hpp"
#include "orv/excel/internal/access.hpp"
#include "orv/excel/internal/detail.hpp"
#include "orv/excel/errors.hpp"
#include "orv/excel/reference.hpp"
#include "orv/frame/convert.hpp"

namespace orv::excel {

namespace {

// Reading more cells than this at once is out of memory (7), as it would
// be for the application; so is more than the thread's max_elements.
constexpr std::int64_t kMaxCellsRead = std::int64_t{1} << 27;

void RequireReadable(std::int64_t cells) {
  if (cells > kMaxCellsRead || static_cast<std::size_t>(cells) > max_elements)
    Raise(kErrOutOfMemory);
}

void CheckCell(std::int64_t row, std::int64_t column) {
  if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) RaiseApplicationDefined();
}

}  // namespace

namespace detail {

Range MakeRange(std::shared_ptr<WorksheetState> sheet, std::vector<Rect> areas, RangeMode mode) {
  auto state = std::make_shared<RangeState>();
  state->sheet = std::move(sheet);
  state->areas = std::move(areas);
  state->mode = mode;
  return Range(std::move(state));
}

}  // namespace detail

using detail::MakeRange;

Range Range::FromVariant(const Variant& value) {
  if (!value.IsObject()) return Range();
  auto state = std::dynamic_pointer_cast<RangeState>(value.AsObject());
  return state ? Range(std::move(state)) : Range();
}

Variant Range::AsVariant() const {
  return Variant(std::static_pointer_cast<Object>(state_.Shared()));
}

const std::vector<Rect>& Range::AreaBlocks() const { return state_->areas; }

excel::Areas Range::Areas() const {
  (void)*state_;
  return excel::Areas(*this);
}

Range Range::Areas(std::int32_t index) const { return Areas().Item(index); }

Range Range::Cells() const {
  const RangeState& s = *state_;
  return MakeRange(s.sheet, s.areas, RangeMode::Cells);
}
Range Range::Rows() const {
  const RangeState& s = *state_;
  return MakeRange(s.sheet, s.areas, RangeMode::Rows);
}
Range Range::Columns() const {
  const RangeState& s = *state_;
  return MakeRange(s.sheet, s.areas, RangeMode::Columns);
}

Range Range::Cells(std::int32_t row, std::int32_t column) const {
  const RangeState& s = *state_;
  const Rect& first = s.areas.front();
  std::int64_t r = std::int64_t{first.top} + row - 1, c = std::int64_t{first.left} + column - 1;
  CheckCell(r, c);
  Rect cell{static_cast<std::int32_t>(r), static_cast<std::int32_t>(c),
            static_cast<std::int32_t>(r), static_cast<std::int32_t>(c)};
  return MakeRange(s.sheet, {cell});
}

Range Range::Item(std::int32_t index) const {
  const RangeState& s = *state_;
  const Rect& first = s.areas.front();
  switch (s.mode) {
    case RangeMode::Rows: {
      std::int64_t r = std::int64_t{first.top} + index - 1;
      CheckCell(r, first.left);
      return MakeRange(s.sheet,
                       {Rect{static_cast<std::int32_t>(r), first.left, static_cast<std::int32_t>(r),
                             first.right}},
                       RangeMode::Rows);
    }
    case RangeMode::Columns: {
      std::int64_t c = std::int64_t{first.left} + index - 1;
      CheckCell(first.top, c);
      return MakeRange(s.sheet,
                       {Rect{first.top, static_cast<std::int32_t>(c), first.bottom,
                             static_cast<std::int32_t>(c)}},
                       RangeMode::Columns);
    }
    case RangeMode::Cells:
      break;
  }
  if (index < 1) RaiseApplicationDefined();
  std::int64_t width = first.Columns();
  std::int64_t zero = std::int64_t{index} - 1;
  return Cells(static_cast<std::int32_t>(zero / width + 1),
               static_cast<std::int32_t>(zero % width + 1));
}

std::int64_t Range::CountLarge() const {
  const RangeState& s = *state_;
  switch (s.mode) {
    case RangeMode::Rows:
      return s.areas.front().Rows();
    case RangeMode::Columns:
      return s.areas.front().Columns();
    case RangeMode::Cells:
      break;
  }
  std::int64_t n = 0;
  for (const Rect& a : s.areas) n += a.Cells();
  return n;
}

std::int32_t Range::Count() const {
  std::int64_t n = CountLarge();
  if (n > std::numeric_limits<std::int32_t>::max()) Raise(kErrOverflow);
  return static_cast<std::int32_t>(n);
}

std::int32_t Range::Row() const { return state_->areas.front().top; }
std::int32_t Range::Column() const { return state_->areas.front().left; }

excel::Worksheet Range::Worksheet() const { return excel::Worksheet(state_->sheet); }
excel::Worksheet Range::Parent() const { return Worksheet(); }

Variant Range::CellValue(std::int32_t row, std::int32_t column) const {
  const RangeState& s = *state_;
  const Rect& first = s.areas.front();
  std::int64_t r = std::int64_t{first.top} + row - 1, c = std::int64_t{first.left} + column - 1;
  CheckCell(r, c);
  return s.sheet->cells.Get(static_cast<std::int32_t>(r), static_cast<std::int32_t>(c));
}

Variant Range::Value() const {
  const RangeState& s = *state_;
  const Rect& area = s.areas.front();
  if (area.Cells() == 1) return s.sheet->cells.Get(area.top, area.left);
  RequireReadable(area.Cells());
  Array<Variant> values(1, area.Rows(), 1, area.Columns());
  s.sheet->cells.Read(area, values.data());
  return Variant(std::move(values));
}

bool Range::ValueAsDoubles(Array<double>& out) const {
  const RangeState& s = *state_;
  const Rect& area = s.areas.front();
  RequireReadable(area.Cells());
  Array<double> values(1, area.Rows(), 1, area.Columns());
  if (!s.sheet->cells.ReadNumbers(area, values.data())) return false;
  out = std::move(values);
  return true;
}

namespace {

// Writes one array (its elements converted as a cell stores them) over an
// area from its top-left cell: a single row or column repeats, cells
// beyond the array get #N/A.
template <class T>
void WriteArray(CellStore& cells, const Rect& area, const Array<T>& a) {
  std::int64_t rows, columns, lb1, lb2;
  if (a.Rank() == 1) {
    rows = 1;
    columns = a.Count(1);
    lb1 = 0;
    lb2 = a.LBound(1);
  } else if (a.Rank() == 2) {
    rows = a.Count(1);
    columns = a.Count(2);
    lb1 = a.LBound(1);
    lb2 = a.LBound(2);
  } else {
    RaiseApplicationDefined();
  }
  RequireReadable(area.Cells());
  const T* data = a.data();
  for (std::int32_t r = area.top; r <= area.bottom; ++r) {
    std::int64_t i = r - area.top;
    if (rows == 1) i = 0;
    for (std::int32_t c = area.left; c <= area.right; ++c) {
      std::int64_t j = c - area.left;
      if (columns == 1) j = 0;
      if (i >= rows || j >= columns) {
        cells.Set(r, c, Variant(ErrorValue{xlErrNA}));
        continue;
      }
      const T& element = data[static_cast<std::size_t>(i * columns + j)];
      if constexpr (std::is_same_v<T, double> || std::is_same_v<T, std::int16_t> ||
                    std::is_same_v<T, std::int32_t>) {
        cells.SetNumber(r, c, static_cast<double>(element));
      } else {
        cells.Set(r, c, Variant(element));
      }
    }
  }
  (void)lb1;
  (void)lb2;
}

}  // namespace

void Range::LetValue(const Variant& value) const {
  const RangeState& s = *state_;
  CellStore& cells = s.sheet->cells;
  if (value.IsObject()) {
    Range source = FromVariant(value);
    if (source.IsNothing()) RaiseApplicationDefined();
    LetValue(source.Value());
    return;
  }
  for (const Rect& area : s.areas) {
    if (value.IsArray()) {
      std::visit([&](const auto& a) { WriteArray(cells, area, a); }, value.AsArray());
      continue;
    }
    if (value.IsEmpty() || value.IsNull() || (value.IsString() && value.AsString().empty())) {
      cells.Clear(area);
      continue;
    }
    RequireReadable(area.Cells());
    for (std::int32_t c = area.left; c <= area.right; ++c)
      for (std::int32_t r = area.top; r <= area.bottom; ++r) cells.Set(r, c, value);
  }
}

void Range::ClearContents() const {
  const RangeState& s = *state_;
  for (const Rect& area : s.areas) s.sheet->cells.Clear(area);
}

void Range::ClearFormats() const {
  const RangeState& s = *state_;
  for (const Rect& area : s.areas) s.sheet->formats.Clear(area);
}

void Range::Clear() const {
  const RangeState& s = *state_;
  for (const Rect& area : s.areas) {
    if (area == kWholeSheet)
      s.sheet->cells.ClearAll();
    else
      s.sheet->cells.Clear(area);
    s.sheet->formats.Clear(area);
  }
}

// --- Sort ---

namespace {

int TypeRank(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty:
      return 4;
    case VarType::String:
      return 1;
    case VarType::Boolean:
      return 2;
    case VarType::Error:
      return 3;
    default:
      return 0;
  }
}

int CompareText(const std::string& a, const std::string& b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    int x = std::tolower(static_cast<unsigned char>(a[i]));
    int y = std::tolower(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// Order of two non-blank keys, ascending.
int CompareKeys(const Variant& a, const Variant& b) {
  int ra = TypeRank(a), rb = TypeRank(b);
  if (ra != rb) return ra < rb ? -1 : 1;
  switch (ra) {
    case 0: {
      double x = CDbl(a), y = CDbl(b);
      return x < y ? -1 : (x > y ? 1 : 0);
    }
    case 1:
      return CompareText(a.AsString(), b.AsString());
    case 2:
      return a.AsBoolean() == b.AsBoolean() ? 0 : (a.AsBoolean() ? 1 : -1);
    default:
      return 0;
  }
}

}  // namespace

void Range::Sort(const Range& Key1, std::int32_t Order1, const Range& Key2, std::int32_t Order2,
                 const Range& Key3, std::int32_t Order3, std::int32_t Header,
                 std::int32_t Orientation) const {
  const RangeState& s = *state_;
  if (s.areas.size() != 1) RaiseClassMethodFailed("Sort", "Range");
  if (Orientation != xlTopToBottom && Orientation != xlLeftToRight)
    RaiseClassMethodFailed("Sort", "Range");
  if (Header != xlYes && Header != xlNo && Header != xlGuess)
    RaiseClassMethodFailed("Sort", "Range");
  const bool by_rows = Orientation == xlTopToBottom;
  Rect block = s.areas.front();
  if (Header == xlYes) {
    if (by_rows)
      ++block.top;
    else
      ++block.left;
  }
  // Each key: the index of its line (column for rows, row for columns)
  // within the block, and its order.
  struct Key {
    std::int32_t line;
    bool descending;
  };
  std::vector<Key> keys;
  const Range* given[3] = {&Key1, &Key2, &Key3};
  const std::int32_t orders[3] = {Order1, Order2, Order3};
  for (int k = 0; k < 3; ++k) {
    if (orders[k] != xlAscending && orders[k] != xlDescending)
      RaiseClassMethodFailed("Sort", "Range");
    if (given[k]->IsNothing()) {
      if (k == 0) keys.push_back(Key{0, orders[0] == xlDescending});
      continue;
    }
    const RangeState& key = *given[k]->state_;
    const Rect& at = key.areas.front();
    std::int32_t line = by_rows ? at.left - block.left : at.top - block.top;
    std::int32_t lines = by_rows ? block.Columns() : block.Rows();
    if (key.sheet != s.sheet || line < 0 || line >= lines) {
      Raise1004(
          "The sort reference is not valid. Make sure that it's within the data you want to sort, "
          "and the first Sort By box isn't the same or blank.");
    }
    keys.push_back(Key{line, orders[k] == xlDescending});
  }
  if (block.top > block.bottom || block.left > block.right) return;
  RequireReadable(block.Cells());
  CellStore& cells = s.sheet->cells;
  const std::int32_t rows = block.Rows(), columns = block.Columns();
  std::vector<Variant> values(static_cast<std::size_t>(block.Cells()));
  cells.Read(block, values.data());
  auto at = [&](std::int32_t item, std::int32_t line) -> const Variant& {
    return by_rows ? values[static_cast<std::size_t>(item) * columns + line]
                   : values[static_cast<std::size_t>(line) * columns + item];
  };
  const std::int32_t items = by_rows ? rows : columns;
  std::vector<std::int32_t> order(static_cast<std::size_t>(items));
  for (std::int32_t i = 0; i < items; ++i) order[static_cast<std::size_t>(i)] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
    for (const Key& key : keys) {
      const Variant& x = at(a, key.line);
      const Variant& y = at(b, key.line);
      bool x_blank = x.IsEmpty(), y_blank = y.IsEmpty();
      if (x_blank || y_blank) {
        if (x_blank && y_blank) continue;
        return y_blank;  // blanks last in either order
      }
      int c = CompareKeys(x, y);
      if (key.descending) c = -c;
      if (c != 0) return c < 0;
    }
    return false;
  });
  for (std::int32_t i = 0; i < items; ++i) {
    std::int32_t from = order[static_cast<std::size_t>(i)];
    if (from == i) continue;
    const std::int32_t lines = by_rows ? columns : rows;
    for (std::int32_t line = 0; line < lines; ++line) {
      std::int32_t r = by_rows ? block.top + i : block.top + line;
      std::int32_t c = by_rows ? block.left + line : block.left + i;
      cells.Set(r, c, at(from, line));
    }
  }
}

// --- addresses ---

std::string Range::AddressLocal(bool RowAbsolute, bool ColumnAbsolute, bool External) const {
  const RangeState& s = *state_;
  std::string prefix;
  if (External) {
    std::string book;
    if (auto b = s.sheet->book.lock()) book = b->name;
    prefix = QuoteSheetName(book, s.sheet->name) + "!";
  }
  std::string text;
  for (const Rect& area : s.areas) {
    if (!text.empty()) text += ',';
    text += prefix + FormatArea(area, RowAbsolute, ColumnAbsolute);
  }
  return text;
}

std::string Range::Address(bool RowAbsolute, bool ColumnAbsolute, bool External) const {
  return AddressLocal(RowAbsolute, ColumnAbsolute, External);
}

// --- position and size ---

double Range::Top() const { return state_->sheet->geometry.Top(state_->areas.front().top); }
double Range::Left() const { return state_->sheet->geometry.Left(state_->areas.front().left); }
double Range::Width() const {
  const Rect& a = state_->areas.front();
  return state_->sheet->geometry.Width(a.left, a.right);
}
double Range::Height() const {
  const Rect& a = state_->areas.front();
  return state_->sheet->geometry.Height(a.top, a.bottom);
}

Variant Range::RowHeight() const {
  const RangeState& s = *state_;
  const Rect& a = s.areas.front();
  double first = s.sheet->geometry.RowHeight(a.top);
  for (std::int32_t r = a.top + 1; r <= a.bottom; ++r)
    if (s.sheet->geometry.RowHeight(r) != first) return Variant(Null);
  return Variant(first);
}

void Range::LetRowHeight(double points) const {
  const RangeState& s = *state_;
  if (!(points >= 0 && points <= kMaxRowHeight)) RaiseUnableToSet("RowHeight", "Range");
  for (const Rect& a : s.areas)
    for (std::int32_t r = a.top; r <= a.bottom; ++r) s.sheet->geometry.SetRowHeight(r, points);
}

Variant Range::ColumnWidth() const {
  const RangeState& s = *state_;
  const Rect& a = s.areas.front();
  double first = s.sheet->geometry.ColumnWidth(a.left);
  for (std::int32_t c = a.left + 1; c <= a.right; ++c)
    if (s.sheet->geometry.ColumnWidth(c) != first) return Variant(Null);
  return Variant(Geometry::PointsToChars(first));
}

void Range::LetColumnWidth(double chars) const {
  const RangeState& s = *state_;
  if (!(chars >= 0 && chars <= kMaxColumnChars)) RaiseUnableToSet("ColumnWidth", "Range");
  double points = Geometry::CharsToPoints(chars);
  for (const Rect& a : s.areas)
    for (std::int32_t c = a.left; c <= a.right; ++c) s.sheet->geometry.SetColumnWidth(c, points);
}

bool operator==(const Range& a, const Range& b) {
  if (a.IsNothing() || b.IsNothing()) return a.IsNothing() && b.IsNothing();
  return a.state_->sheet == b.state_->sheet && a.state_->areas == b.state_->areas;
}

// --- Areas ---

std::int32_t Areas::Count() const { return static_cast<std::int32_t>(range_.AreaBlocks().size()); }

Range Areas::Item(std::int32_t index) const {
  const std::vector<Rect>& areas = range_.AreaBlocks();
  if (index < 1 || index > static_cast<std::int32_t>(areas.size())) RaiseApplicationDefined();
  return MakeRange(internal::StateOf(range_)->sheet, {areas[static_cast<std::size_t>(index - 1)]});
}

}  // namespace orv::excel
