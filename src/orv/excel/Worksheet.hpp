#pragma once
// A worksheet: 1,048,576 rows by 16,384 columns of cells, with their
// formats, row heights and column widths, and a drawing layer above them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orv/excel/Range.hpp"
#include "orv/excel/state_fwd.hpp"
#include "orv/frame/Ref.hpp"

namespace orv::excel {

class Workbook;
class Shapes;
class Shape;
class ChartObjects;
class ChartObject;

enum XlPageOrientation : std::int32_t { xlPortrait = 1, xlLandscape = 2 };

// How a sheet prints. Fitting to 0 pages (the application's False) leaves
// that direction unfitted; a printer fitting a sheet ignores its page
// breaks. A value out of range is 1004 "Unable to set the <name> property
// of the PageSetup class".
class PageSetup {
 public:
  explicit PageSetup(std::shared_ptr<WorksheetState> sheet) : sheet_(std::move(sheet)) {}
  std::int32_t Orientation() const;
  void LetOrientation(std::int32_t value) const;  // xlPortrait or xlLandscape
  std::int32_t FitToPagesWide() const;
  void LetFitToPagesWide(std::int32_t value) const;  // 0 to 32767
  std::int32_t FitToPagesTall() const;
  void LetFitToPagesTall(std::int32_t value) const;

 private:
  Ref<WorksheetState> sheet_;
};

class Worksheet {
 public:
  Worksheet() : state_(Nothing) {}
  Worksheet(NothingType) : state_(Nothing) {}
  explicit Worksheet(std::shared_ptr<WorksheetState> state) : state_(std::move(state)) {}
  bool IsNothing() const { return state_.IsNothing(); }

  std::string Name() const;
  // 1 to 31 characters, none of : \ / ? * [ ], not starting or ending with
  // an apostrophe, not the name of another sheet of the workbook (case
  // ignored); 1004 otherwise.
  void LetName(std::string_view name) const;
  // The workbook (Nothing once the workbook is gone).
  Workbook Parent() const;
  // Position among the workbook's sheets, from 1.
  std::int32_t Index() const;
  void Activate() const;

  // All cells.
  excel::Range Cells() const;
  // One cell; 1004 outside the sheet.
  excel::Range Cells(std::int32_t row, std::int32_t column) const;
  // A reference on this sheet ("A1", "A1:C3,E5", "Sheet1!A1" when this is
  // Sheet1); 1004 "Method 'Range' of object '_Worksheet' failed" otherwise.
  excel::Range Range(std::string_view reference) const;
  // The block between two cells (or ranges) of this sheet.
  excel::Range Range(const excel::Range& cell1, const excel::Range& cell2) const;
  // All rows (Count 1,048,576) or one; all columns (Count 16,384) or one.
  excel::Range Rows() const;
  excel::Range Rows(std::int32_t row) const;
  excel::Range Columns() const;
  excel::Range Columns(std::int32_t column) const;
  // The block from the first to the last used cell (A1 when blank).
  excel::Range UsedRange() const;

  // The drawing layer (Shapes.hpp): every shape, and the chart objects.
  excel::Shapes Shapes() const;
  excel::Shape Shapes(std::int32_t index) const;
  excel::Shape Shapes(std::string_view name) const;
  excel::ChartObjects ChartObjects() const;
  excel::ChartObject ChartObjects(std::int32_t index) const;
  excel::ChartObject ChartObjects(std::string_view name) const;

  // Printing: the page setup, and manual page breaks before the first row
  // of a cell of this sheet (1004 for another sheet's, or past 1023
  // breaks); the rows that start a page, ascending.
  excel::PageSetup PageSetup() const;
  void AddPageBreak(const excel::Range& before) const;
  std::vector<std::int32_t> PageBreaks() const;
  // The sheet's view: gridlines, and the rows and columns frozen at the
  // top and left (0, 0 unfreezes; 1004 beyond the sheet).
  bool DisplayGridlines() const;
  void LetDisplayGridlines(bool value) const;
  void FreezePanes(std::int32_t rows, std::int32_t columns) const;
  std::int32_t FrozenRows() const;
  std::int32_t FrozenColumns() const;
  // Whether a block has filter buttons on its first row (Range.AutoFilter).
  bool AutoFilterMode() const;

  // The object model's own: the storage behind the sheet.
  friend bool operator==(const Worksheet& a, const Worksheet& b) { return a.state_ == b.state_; }

 private:
  friend struct internal::Access;
  WorksheetState& Storage() const { return *state_; }
  const std::shared_ptr<WorksheetState>& State() const { return state_.Shared(); }
  Ref<WorksheetState> state_;
};

// The worksheets of a workbook.
class Worksheets {
 public:
  explicit Worksheets(std::shared_ptr<WorkbookState> book) : book_(std::move(book)) {}
  std::int32_t Count() const;
  // By position from 1, or by name (case ignored); 9 when there is none.
  Worksheet Item(std::int32_t index) const;
  Worksheet Item(std::string_view name) const;
  Worksheet operator()(std::int32_t index) const { return Item(index); }
  Worksheet operator()(std::string_view name) const { return Item(name); }
  // A new sheet "Sheet<n>" before the active sheet; it becomes active.
  Worksheet Add() const;

 private:
  Ref<WorkbookState> book_;
};

}  // namespace orv::excel
