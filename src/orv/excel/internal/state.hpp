#pragma once
// The objects behind the handles of the workbook. Handles (Application,
// Workbook, Worksheet, Range, ...) hold these through Ref; an object owns
// its children and points back to its parent weakly, so that nothing keeps
// itself alive.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "orv/excel/internal/BlockStats.hpp"
#include "orv/excel/internal/CellStore.hpp"
#include "orv/excel/internal/Drawing.hpp"
#include "orv/excel/internal/FormatStore.hpp"
#include "orv/excel/internal/Geometry.hpp"
#include "orv/excel/Rect.hpp"
#include "orv/frame/Variant.hpp"

namespace orv::excel {

struct WorkbookState;
struct ApplicationState;

// How a sheet is shown and printed.
struct SheetSetup {
  std::int32_t orientation = 1;             // xlPortrait; xlLandscape is 2
  std::int32_t fit_wide = 0, fit_tall = 0;  // pages; 0 leaves a direction unfitted
  std::vector<std::int32_t> row_breaks;     // rows that start a page, ascending
  std::int32_t frozen_rows = 0, frozen_columns = 0;
  bool gridlines = true;
  bool filtered = false;
  Rect filter;  // the block under filter buttons when filtered
};

struct WorksheetState : Object {
  std::string name;
  std::weak_ptr<WorkbookState> book;
  CellStore cells;
  BlockStats stats;  // sums of blocks of the cells, kept until they change
  FormatStore formats;
  Geometry geometry;
  DrawingLayer drawing;
  SheetSetup setup;
};

struct WorkbookState : Object {
  std::string name;
  bool addin = false;  // an add-in: found by name, not counted or indexed
  std::weak_ptr<ApplicationState> application;
  std::vector<std::shared_ptr<WorksheetState>> sheets;
  std::weak_ptr<WorksheetState> active_sheet;
};

struct ApplicationState : Object {
  std::vector<std::shared_ptr<WorkbookState>> books;
  std::weak_ptr<WorkbookState> active_book;
  bool screen_updating = true;
  std::int32_t next_book_number = 1;
  std::string version = "16.0";  // what Application.Version reports
};

// What a Range handle's Count and Item count: cells, rows or columns.
enum class RangeMode : std::uint8_t { Cells, Rows, Columns };

struct RangeState : Object {
  std::shared_ptr<WorksheetState> sheet;
  std::vector<Rect> areas;  // never empty
  RangeMode mode = RangeMode::Cells;
};

}  // namespace orv::excel
