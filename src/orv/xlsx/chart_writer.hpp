#pragma once
// Charts of the drawing layer as native charts of the file.
#include <xlsxwriter.h>

#include <cstdint>
#include <memory>
#include <string>

#include "orv/excel/internal/io.hpp"

namespace orv::xlsx::detail {

// What the charts of one workbook share while it is written: a hidden
// sheet that holds the data of series made from arrays rather than ranges
// (a chart in the file can only point at cells).
struct ChartContext {
  std::string path;  // of the file, for failures
  lxw_workbook* wb = nullptr;
  const excel::WorkbookState* book = nullptr;
  std::shared_ptr<excel::WorksheetState> data;  // the hidden sheet's cells
  std::int32_t next_column = 1;
};

// The name of the hidden data sheet: one no sheet of the workbook has.
std::string ChartDataSheetName(const excel::WorkbookState& book);

// Inserts every chart object of the sheet (in z-order) into the worksheet.
void WriteCharts(ChartContext& context, lxw_worksheet* ws, const excel::WorksheetState& sheet);

}  // namespace orv::xlsx::detail
