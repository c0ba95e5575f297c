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

// Numbers show four significant digits: |x| in [10^k, 10^(k+1)) with
// 3 - k decimals (none from 1000 up) for 1e-4 <= |x| < 1e15, and in
// exponent form ("1.234E-05") beyond; 0 shows as "0". The number format of
// a cell, and the same text for the console.
std::string SignificantFormat(double value);
std::string SignificantText(double value);

// Fixed formats the tables use for counts, percents and p-values.
inline constexpr const char* kCountFormat = "0";
inline constexpr const char* kPercentFormat = "0.00";
inline constexpr const char* kPValueFormat = "[<0.001]\"<0.001\";0.000";

// "95%", "97.5%".
std::string LevelText(double level);

}  // namespace orv::report
