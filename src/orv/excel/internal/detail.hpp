#pragma once
// Helpers shared by the object model's own files.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "orv/excel/Range.hpp"
#include "orv/excel/internal/access.hpp"
#include "orv/excel/internal/state.hpp"

namespace orv::excel::detail {

Range MakeRange(std::shared_ptr<WorksheetState> sheet, std::vector<Rect> areas,
                RangeMode mode = RangeMode::Cells);
// Resolves a reference relative to a sheet (the sheet a reference without
// a sheet name falls on); Nothing-sheet or a failed lookup gives false.
bool Resolve(const std::shared_ptr<ApplicationState>& application,
             const std::shared_ptr<WorksheetState>& default_sheet, std::string_view reference,
             Range& out);

}  // namespace orv::excel::detail
