#pragma once
// The report workbook: a "Report" sheet of titled tables, formatted by
// clsFormatting with the report's theme (clsProperties), and the charts the
// chart classes draw; a "Data" sheet with the analysed cases.
#include <string>
#include <vector>

#include "orv/excel/Application.hpp"
#include "orv/excel/Workbook.hpp"
#include "progress.hpp"
#include "report_input.hpp"
#include "report_stats.hpp"

namespace orv::report {


struct WrittenReport {
  excel::Workbook book;
  std::vector<std::string> tables;    // titles, in order
  std::vector<std::string> charts;    // titles, in order
  std::vector<std::string> warnings;  // charts that could not be drawn
};

// A new workbook of `app` (which must be the application stored with
// clsMain.SetExcel) holding the report; nothing is saved.
WrittenReport BuildWorkbook(const excel::Application& app, const ReportData& data,
                            const Analysis& analysis, Progress& progress);

// Number formats the tables use beside the theme's "0.000".
inline constexpr const char* kCountFormat = "0";
inline constexpr const char* kPercentFormat = "0.00";
inline constexpr const char* kPValueFormat = "[<0.001]\"<0.001\";0.000";

// "95%", "97.5%".
std::string LevelText(double level);

}  // namespace orv::report
