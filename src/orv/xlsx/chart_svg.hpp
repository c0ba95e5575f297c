#pragma once
// The charts of a worksheet drawn as SVG, for a page that shows what the
// .xlsx file will show: the chart state the file's writer reads (series,
// axis limits and units, tick label formats, trendlines, titles, labels)
// and the object model's own layout of the plot area.
//
//   for (const xlsx::ChartSvg& c : xlsx::ChartsAsSvg(book.Worksheets("Report")))
//     page << c.svg;
//
// The drawing carries class names that a reader can count: each series is
// a <g class="series" data-name="..." data-points="N"> holding its markers
// (circle.point) or columns (rect.bar) and its line (path.line); a
// trendline is path.trendline; tick labels are text.tick-x and text.tick-y.
// Units are points; the svg's width and height are the chart object's.
#include <string>
#include <string_view>
#include <vector>

#include "orv/excel/Worksheet.hpp"

namespace orv::xlsx {

struct ChartSvg {
  std::string name;   // the chart object's
  std::string title;  // the chart's title text, empty without one
  std::string svg;
};

// Every chart object of the sheet, in z-order (deleted ones left out).
std::vector<ChartSvg> ChartsAsSvg(const excel::Worksheet& sheet);

// A number as a cell of the given number format shows it: "0", "0.000",
// "0.0%", General, and a first section with a condition ("[<0.001]"<0.001";
// 0.000) as the file's readers apply it.
std::string FormattedNumber(double value, std::string_view number_format);

}  // namespace orv::xlsx
