#include "orv/excel/Worksheet.hpp"

#include "orv/excel/Workbook.hpp"
#include "orv/excel/internal/detail.hpp"
#include "orv/excel/errors.hpp"
#include "orv/excel/reference.hpp"

namespace orv::excel {

using detail::MakeRange;

std::string Worksheet::Name() const { return state_->name; }

void Worksheet::LetName(std::string_view name) const {
  WorksheetState& s = *state_;
  bool valid = !name.empty() && name.size() <= 31 && name.front() != '\'' && name.back() != '\'';
  for (char c : name)
    if (c == ':' || c == '\\' || c == '/' || c == '?' || c == '*' || c == '[' || c == ']')
      valid = false;
  if (!valid) {
    Raise1004(
        "You typed an invalid name for a sheet or chart. Make sure that: The name that you type "
        "does "
        "not exceed 31 characters. The name does not contain any of the following characters: : \\ "
        "/ ? "
        "* [ or ]. You did not leave the name blank.");
  }
  if (auto book = s.book.lock()) {
    for (const auto& other : book->sheets)
      if (other.get() != &s && SameSheetName(other->name, name))
        Raise1004("That name is already taken. Try a different one.");
  }
  s.name = std::string(name);
}

Workbook Worksheet::Parent() const {
  auto book = state_->book.lock();
  return book ? Workbook(book) : Workbook();
}

std::int32_t Worksheet::Index() const {
  const WorksheetState& s = *state_;
  if (auto book = s.book.lock())
    for (std::size_t i = 0; i < book->sheets.size(); ++i)
      if (book->sheets[i].get() == &s) return static_cast<std::int32_t>(i + 1);
  return 1;
}

void Worksheet::Activate() const {
  auto book = state_->book.lock();
  if (!book) RaiseMethodFailed("Activate", "_Worksheet");
  book->active_sheet = state_.Shared();
  if (auto app = book->application.lock())
    if (!book->addin) app->active_book = book;
}

excel::Range Worksheet::Cells() const { return MakeRange(state_.Shared(), {kWholeSheet}); }

excel::Range Worksheet::Cells(std::int32_t row, std::int32_t column) const {
  (void)*state_;
  if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) RaiseApplicationDefined();
  return MakeRange(state_.Shared(), {Rect{row, column, row, column}});
}

excel::Range Worksheet::Range(std::string_view reference) const {
  const WorksheetState& s = *state_;
  std::shared_ptr<ApplicationState> app;
  if (auto book = s.book.lock()) app = book->application.lock();
  excel::Range out;
  if (!detail::Resolve(app, state_.Shared(), reference, out) ||
      internal::StateOf(out)->sheet != state_.Shared())
    RaiseMethodFailed("Range", "_Worksheet");
  return out;
}

excel::Range Worksheet::Range(const excel::Range& cell1, const excel::Range& cell2) const {
  (void)*state_;
  if (cell1.IsNothing() || cell2.IsNothing()) Raise(kErrObjectNotSet);
  const RangeState& a = *internal::StateOf(cell1);
  const RangeState& b = *internal::StateOf(cell2);
  if (a.sheet != state_.Shared() || b.sheet != state_.Shared())
    RaiseMethodFailed("Range", "_Worksheet");
  Rect hull = a.areas.front();
  for (const Rect& r : a.areas) hull = hull.Hull(r);
  for (const Rect& r : b.areas) hull = hull.Hull(r);
  return MakeRange(state_.Shared(), {hull});
}

excel::Range Worksheet::Rows() const {
  return MakeRange(state_.Shared(), {kWholeSheet}, RangeMode::Rows);
}
excel::Range Worksheet::Rows(std::int32_t row) const {
  (void)*state_;
  if (row < 1 || row > kMaxRows) RaiseApplicationDefined();
  return MakeRange(state_.Shared(), {Rect{row, 1, row, kMaxColumns}}, RangeMode::Rows);
}
excel::Range Worksheet::Columns() const {
  return MakeRange(state_.Shared(), {kWholeSheet}, RangeMode::Columns);
}
excel::Range Worksheet::Columns(std::int32_t column) const {
  (void)*state_;
  if (column < 1 || column > kMaxColumns) RaiseApplicationDefined();
  return MakeRange(state_.Shared(), {Rect{1, column, kMaxRows, column}}, RangeMode::Columns);
}

excel::Range Worksheet::UsedRange() const {
  Rect used{1, 1, 1, 1};
  state_->cells.UsedBlock(used);
  return MakeRange(state_.Shared(), {used});
}

// --- Worksheets ---

std::int32_t Worksheets::Count() const { return static_cast<std::int32_t>(book_->sheets.size()); }

Worksheet Worksheets::Item(std::int32_t index) const {
  const WorkbookState& b = *book_;
  if (index < 1 || index > static_cast<std::int32_t>(b.sheets.size())) Raise(kErrSubscript);
  return Worksheet(b.sheets[static_cast<std::size_t>(index - 1)]);
}

Worksheet Worksheets::Item(std::string_view name) const {
  for (const auto& sheet : book_->sheets)
    if (SameSheetName(sheet->name, name)) return Worksheet(sheet);
  Raise(kErrSubscript);
}

Worksheet Worksheets::Add() const {
  WorkbookState& b = *book_;
  auto sheet = std::make_shared<WorksheetState>();
  sheet->book = book_.Shared();
  for (std::int32_t n = 1;; ++n) {
    std::string name = "Sheet" + std::to_string(n);
    bool taken = false;
    for (const auto& other : b.sheets) taken = taken || SameSheetName(other->name, name);
    if (!taken) {
      sheet->name = name;
      break;
    }
  }
  std::size_t at = b.sheets.size();
  if (auto active = b.active_sheet.lock())
    for (std::size_t i = 0; i < b.sheets.size(); ++i)
      if (b.sheets[i] == active) at = i;
  b.sheets.insert(b.sheets.begin() + static_cast<std::ptrdiff_t>(at), sheet);
  b.active_sheet = sheet;
  return Worksheet(sheet);
}

}  // namespace orv::excel
