#pragma once
// What the user asked `orv report` for, as the command line gave it.
#include <optional>
#include <string>
#include <vector>

namespace orv::report {

struct ReportOptions {
  // An .xlsx or .csv file; the built-in iris sample when absent.
  std::optional<std::string> input;
  std::string output = "report.xlsx";
  // The worksheet to read; the workbook's active sheet when absent.
  std::optional<std::string> sheet;
  // The variables' cells, areas joined by ","; every column of the sheet's
  // data that holds numbers when absent.
  std::optional<std::string> range;
  // The first row (column, with rows) holds the variables' names.
  bool headers = true;
  // Variables run along rows instead of down columns.
  bool rows = false;
  // The grouping variable: a header or a column letter (a row number with
  // rows). The sample is grouped by its species unless told otherwise.
  std::optional<std::string> group;
  // Confidence level of the intervals and bands, strictly between 0 and 1.
  double level = 0.95;
  // Leave out cases with a blank in an analysed cell instead of failing.
  bool drop_incomplete = false;
  // Codes that mean a missing value, beside NA, N/A, #N/A, n/a, "." and "-",
  // which every input reads as blank cells.
  std::vector<std::string> na;
  // Separated text only: the field separator ('\0' finds it) and whether
  // the decimal separator is a comma.
  char separator = '\0';
  bool decimal_comma = false;
};

}  // namespace orv::report
