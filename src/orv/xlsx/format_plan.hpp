#pragma once
// How a sheet's formats go into a file. The store records formats as
// "property P of block B is V"; a file gives every written cell one style
// and lets unwritten cells take their row's style, else their column's.
// The plan cuts the sheet into blocks of uniform formats and decides which
// styles the columns and rows take and which cells must carry their own.
#include <array>
#include <cstdint>
#include <vector>

#include "orv/excel/internal/io.hpp"
#include "orv/excel/Rect.hpp"

namespace orv::xlsx::detail {

inline constexpr int kFormatProperties = static_cast<int>(excel::FormatProperty::Count);

// Every property of one cell's format, indexed by FormatProperty.
using CellFormat = std::array<Variant, kFormatProperties>;

struct FormatSpan {
  std::int32_t first, last;  // rows or columns
  std::int32_t format;       // index into FormatPlan::formats
};

struct FormatBlock {
  excel::Rect rect;
  std::int32_t format;
};

struct FormatPlan {
  // The distinct formats; [0] is the default one.
  std::vector<CellFormat> formats;
  // Column styles, covering columns 1 to 16,384 in order.
  std::vector<FormatSpan> columns;
  // Rows whose unwritten cells take a style of their own, in order.
  std::vector<FormatSpan> rows;
  // Blocks whose cells are written with their format even when blank,
  // ordered by their top row.
  std::vector<FormatBlock> cells;

  // The format the file gives a cell (for checks; the writer walks the
  // spans and blocks in order instead).
  std::int32_t FormatAt(std::int32_t row, std::int32_t column) const;
  // The style of a cell that the file does not list.
  std::int32_t ImplicitAt(std::int32_t row, std::int32_t column) const;
};

FormatPlan PlanFormats(const excel::FormatStore& store);

}  // namespace orv::xlsx::detail
