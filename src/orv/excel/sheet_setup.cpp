// How a sheet prints and shows: page setup, page breaks, frozen panes,
// gridlines and the autofilter.
#include <algorithm>

#include "orv/excel/Worksheet.hpp"
#include "orv/excel/errors.hpp"
#include "orv/excel/internal/state.hpp"

namespace orv::excel {

namespace {

constexpr std::size_t kMaxPageBreaks = 1023;

void SetPages(std::int32_t& field, std::int32_t value, std::string_view name) {
  if (value < 0 || value > 32767) RaiseUnableToSet(name, "PageSetup");
  field = value;
}

}  // namespace

std::int32_t PageSetup::Orientation() const { return sheet_->setup.orientation; }
void PageSetup::LetOrientation(std::int32_t value) const {
  if (value != xlPortrait && value != xlLandscape) RaiseUnableToSet("Orientation", "PageSetup");
  sheet_->setup.orientation = value;
}
std::int32_t PageSetup::FitToPagesWide() const { return sheet_->setup.fit_wide; }
void PageSetup::LetFitToPagesWide(std::int32_t value) const {
  SetPages(sheet_->setup.fit_wide, value, "FitToPagesWide");
}
std::int32_t PageSetup::FitToPagesTall() const { return sheet_->setup.fit_tall; }
void PageSetup::LetFitToPagesTall(std::int32_t value) const {
  SetPages(sheet_->setup.fit_tall, value, "FitToPagesTall");
}

excel::PageSetup Worksheet::PageSetup() const { return excel::PageSetup(state_.Shared()); }

void Worksheet::AddPageBreak(const excel::Range& before) const {
  if (before.IsNothing()) Raise(kErrObjectNotSet);
  std::vector<std::int32_t>& breaks = state_->setup.row_breaks;
  if (before.Worksheet() != *this || breaks.size() >= kMaxPageBreaks)
    RaiseMethodFailed("Add", "HPageBreaks");
  const std::int32_t row = before.Row();
  if (row == 1) return;  // the first page starts there anyway
  const auto at = std::lower_bound(breaks.begin(), breaks.end(), row);
  if (at == breaks.end() || *at != row) breaks.insert(at, row);
}

std::vector<std::int32_t> Worksheet::PageBreaks() const { return state_->setup.row_breaks; }

bool Worksheet::DisplayGridlines() const { return state_->setup.gridlines; }
void Worksheet::LetDisplayGridlines(bool value) const { state_->setup.gridlines = value; }

void Worksheet::FreezePanes(std::int32_t rows, std::int32_t columns) const {
  if (rows < 0 || rows >= kMaxRows || columns < 0 || columns >= kMaxColumns)
    RaiseMethodFailed("FreezePanes", "Window");
  state_->setup.frozen_rows = rows;
  state_->setup.frozen_columns = columns;
}
std::int32_t Worksheet::FrozenRows() const { return state_->setup.frozen_rows; }
std::int32_t Worksheet::FrozenColumns() const { return state_->setup.frozen_columns; }

bool Worksheet::AutoFilterMode() const { return state_->setup.filtered; }

void Range::AutoFilter() const {
  const RangeState& r = *state_;
  r.sheet->setup.filtered = true;
  r.sheet->setup.filter = r.areas.front();
}

}  // namespace orv::excel
