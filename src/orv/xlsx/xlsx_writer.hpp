#pragma once
// Saving the in-process workbook as an .xlsx file.
//
//   xlsx::SaveXlsx(book, "/data/results.xlsx");
//
// What is written: every worksheet in order with its name, the active
// sheet, every cell value (numbers exactly, to the last bit; texts;
// Booleans; error values; dates as their serial numbers with a date
// format), cell formats (font name, size, bold, italic, underline and
// colour; fill colour; the four edges and the diagonals of the borders with
// their line styles, weights and colours; horizontal alignment; wrapping;
// number formats), row heights and column widths.
//
// Sheets are written row by row as a stream, whatever their size, so that
// saving a million rows needs little memory beyond the workbook itself.
// The file is first written beside the target under a temporary name and
// then renamed over it once its bytes are on the disk: a failed save leaves
// the target as it was. The temporary name is ".orv-save-XXXXXX.part" in
// the target's folder (never an .xlsx name, and short whatever the target's
// length). A failure is 1004 from "Microsoft Excel" naming the file and the
// problem.
//
// A program that stops on a signal calls RemoveUnfinishedSaves from its
// handler, so that an interrupted save leaves no temporary file behind.
#include <string_view>

#include "orv/excel/Workbook.hpp"

namespace orv::xlsx {

void SaveXlsx(const excel::Workbook& book, std::string_view path);

// Removes the temporary files of the saves in progress. Async-signal-safe.
void RemoveUnfinishedSaves() noexcept;

}  // namespace orv::xlsx
