#pragma once
// A range: one or several blocks (areas) of cells of one worksheet.
//
//   Range r = app.Range("Sheet1!$A$1:$C$10,E1:E5");
//   r.Areas().Count();        // 2
//   r.Rows().Count();         // 10: rows of the first area
//   r.Cells().Count();        // 35: cells of all areas
//   r.Cells(0, 1);            // A0 does not exist: 1004; B0 ... relative
//   r.Value();                // the first area as a 2-D array, 1-based
//   r.Cells(1, 1).Value();    // one cell: a scalar
//
// Handles share the object they refer to; a default-constructed or Nothing
// handle fails with 91 when used. Positions, sizes, counts, values and
// formats behave as a spreadsheet's: reading a format over cells that
// differ gives Null; Value of several areas is the first area's; setting
// Value writes every area.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "orv/excel/Rect.hpp"
#include "orv/excel/state_fwd.hpp"
#include "orv/frame/Ref.hpp"
#include "orv/frame/Variant.hpp"

namespace orv::excel {

class Worksheet;
class Areas;
class Font;
class Interior;
class Border;
class Borders;

// Range.Sort arguments.
enum XlSortOrder : std::int32_t { xlAscending = 1, xlDescending = 2 };
enum XlYesNoGuess : std::int32_t { xlGuess = 0, xlYes = 1, xlNo = 2 };
enum XlSortOrientation : std::int32_t { xlTopToBottom = 1, xlLeftToRight = 2 };
// Horizontal alignments.
enum XlHAlign : std::int32_t {
  xlHAlignGeneral = 1,
  xlHAlignLeft = -4131,
  xlHAlignCenter = -4108,
  xlHAlignRight = -4152,
};

class Range {
 public:
  Range() : state_(Nothing) {}
  Range(NothingType) : state_(Nothing) {}
  explicit Range(std::shared_ptr<RangeState> state) : state_(std::move(state)) {}
  // The range behind a Variant that holds one (Nothing otherwise).
  static Range FromVariant(const Variant& value);
  Variant AsVariant() const;

  bool IsNothing() const { return state_.IsNothing(); }

  // --- structure ---
  excel::Areas Areas() const;
  // The index-th area, from 1 (1004 outside).
  Range Areas(std::int32_t index) const;
  Range Cells() const;
  Range Rows() const;
  Range Columns() const;
  // The index-th row (column) of the first area; may lie below (right of)
  // it, not outside the sheet.
  Range Rows(std::int32_t index) const { return Rows().Item(index); }
  Range Columns(std::int32_t index) const { return Columns().Item(index); }
  // The cell at (row, column) counted from the first area's top-left cell;
  // it may lie outside the range, not outside the sheet (1004).
  Range Cells(std::int32_t row, std::int32_t column) const;
  Range operator()(std::int32_t row, std::int32_t column) const { return Cells(row, column); }
  // The index-th item: cell (row by row over the first area's width), row
  // or column, by what this range counts.
  Range Item(std::int32_t index) const;
  Range operator()(std::int32_t index) const { return Item(index); }
  // Items of all areas (cells), or rows or columns of the first area.
  // More than 2,147,483,647 cells is 6 (overflow); CountLarge counts them.
  std::int32_t Count() const;
  std::int64_t CountLarge() const;
  std::int32_t Row() const;
  std::int32_t Column() const;
  excel::Worksheet Worksheet() const;
  excel::Worksheet Parent() const;

  // --- values ---
  // One cell: its value (Empty, Double, String, Boolean, error value or
  // Date). A block: Variant(1 To rows, 1 To columns) of them.
  Variant Value() const;
  // A scalar fills every cell; an array is written from each area's top
  // left (a 1-D array is a row), one row or column repeats across a larger
  // area, and cells beyond a larger array get #N/A.
  void LetValue(const Variant& value) const;
  void Clear() const;
  void ClearContents() const;
  void ClearFormats() const;
  // Sorts the rows (xlTopToBottom) or columns (xlLeftToRight) of the one
  // area by the keys' rows or columns: numbers, then texts (not case
  // sensitive), then False, True, then errors; blanks last in either
  // order; equal keys keep their order. A key outside the area, on another
  // sheet, or a range of several areas is 1004. Values move; formats stay.
  void Sort(const Range& Key1, std::int32_t Order1 = xlAscending, const Range& Key2 = Range(),
            std::int32_t Order2 = xlAscending, const Range& Key3 = Range(),
            std::int32_t Order3 = xlAscending, std::int32_t Header = xlNo,
            std::int32_t Orientation = xlTopToBottom) const;
  // Filter buttons on the first row of the first area, over the whole
  // area; the sheet's filter moves here (one filter per sheet).
  void AutoFilter() const;

  // --- addresses ---
  // "$A$1", "$A$1:$C$10", "$A:$C", "$1:$3", areas joined by ",";
  // External prefixes "[Book]Sheet!".
  std::string AddressLocal(bool RowAbsolute = true, bool ColumnAbsolute = true,
                           bool External = false) const;
  std::string Address(bool RowAbsolute = true, bool ColumnAbsolute = true,
                      bool External = false) const;

  // --- position and size, in points (first area) ---
  double Top() const;
  double Left() const;
  double Width() const;
  double Height() const;
  // Height of the first area's rows when they agree (else Null); setting
  // it sets every row of every area (0 to 409 points, else 1004).
  Variant RowHeight() const;
  void LetRowHeight(double points) const;
  // Width of the first area's columns in characters (else Null); 0 to 255.
  Variant ColumnWidth() const;
  void LetColumnWidth(double chars) const;

  // --- formats ---
  excel::Font Font() const;
  excel::Interior Interior() const;
  excel::Borders Borders() const;
  excel::Border Borders(std::int32_t edge) const;
  Variant HorizontalAlignment() const;
  void LetHorizontalAlignment(const Variant& value) const;
  Variant WrapText() const;
  void LetWrapText(const Variant& value) const;
  Variant NumberFormat() const;
  void LetNumberFormat(const Variant& value) const;

  // --- the object model's own, for readers that need speed ---
  // The first area as doubles, row by row, 1-based (blank 0, dates their
  // serial) when every cell holds a number, a date or nothing; false
  // otherwise. Gives what converting Value() to doubles gives.
  bool ValueAsDoubles(Array<double>& out) const;
  // Cells(row, column).Value() without making a handle.
  Variant CellValue(std::int32_t row, std::int32_t column) const;
  const std::vector<Rect>& AreaBlocks() const;

  // Same worksheet and same areas.
  friend bool operator==(const Range& a, const Range& b);

 private:
  friend struct internal::Access;
  const std::shared_ptr<RangeState>& State() const { return state_.Shared(); }
  Ref<RangeState> state_;
};

class Areas {
 public:
  explicit Areas(Range range) : range_(std::move(range)) {}
  std::int32_t Count() const;
  // The index-th area, from 1 (1004 outside).
  Range Item(std::int32_t index) const;
  Range operator()(std::int32_t index) const { return Item(index); }

 private:
  Range range_;
};

class Font {
 public:
  explicit Font(Range range) : range_(std::move(range)) {}
  Variant Bold() const;
  void LetBold(const Variant& value) const;
  Variant Italic() const;
  void LetItalic(const Variant& value) const;
  Variant Color() const;
  void LetColor(const Variant& value) const;
  Variant Size() const;
  void LetSize(const Variant& value) const;
  Variant Name() const;
  void LetName(const Variant& value) const;
  Variant Underline() const;
  void LetUnderline(const Variant& value) const;

 private:
  Range range_;
};

class Interior {
 public:
  explicit Interior(Range range) : range_(std::move(range)) {}
  Variant Color() const;
  void LetColor(const Variant& value) const;

 private:
  Range range_;
};

// One edge of a range (xlEdgeTop, ..., xlInsideHorizontal, diagonals), or
// every edge of every cell (Borders() without an index).
class Border {
 public:
  Border(Range range, std::int32_t edge) : range_(std::move(range)), edge_(edge) {}
  Variant LineStyle() const;
  void LetLineStyle(const Variant& value) const;
  Variant Weight() const;
  void LetWeight(const Variant& value) const;
  Variant Color() const;
  void LetColor(const Variant& value) const;

 private:
  Variant Get(int attribute) const;
  void Set(int attribute, const Variant& value, const char* property) const;
  Range range_;
  std::int32_t edge_;  // 0: all edges
};

class Borders {
 public:
  explicit Borders(Range range) : range_(std::move(range)) {}
  // xlDiagonalDown (5) to xlInsideHorizontal (12); other numbers are 1004.
  Border Item(std::int32_t edge) const;
  Border operator()(std::int32_t edge) const { return Item(edge); }
  std::int32_t Count() const { return 6; }
  Variant LineStyle() const { return Border(range_, 0).LineStyle(); }
  void LetLineStyle(const Variant& v) const { Border(range_, 0).LetLineStyle(v); }
  Variant Weight() const { return Border(range_, 0).Weight(); }
  void LetWeight(const Variant& v) const { Border(range_, 0).LetWeight(v); }
  Variant Color() const { return Border(range_, 0).Color(); }
  void LetColor(const Variant& v) const { Border(range_, 0).LetColor(v); }

 private:
  Range range_;
};

}  // namespace orv::excel
