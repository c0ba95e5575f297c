#pragma once
// The data of a report: the input opened into the in-process workbook, the
// variables and the grouping variable found on the sheet, validated with
// clsValidation and read with clsMatrix, as the add-in's front end does.
//
// Every problem with the input is a ReportFailure that names it in the
// user's terms: the file, the sheet, the column (row) and cell, and the
// library's failure number when the library found it.
#include <string>
#include <vector>

#include "orv/excel/Application.hpp"
#include "orv/excel/Workbook.hpp"
#include "orv/frame/frame.hpp"
#include "progress.hpp"
#include "report_options.hpp"

namespace orv::report {

// The fewest cases a report analyses: the correlation tests need n - 2 > 0.
inline constexpr Long kMinCases = 3;
// The most groups the analysis of variance compares.
inline constexpr Long kMaxGroups = 50;
// The most variables a report analyses (its correlation table and
// eigen decomposition grow with their square and cube).
inline constexpr Long kMaxVariables = 100;

struct ReportData {
  // What was read: "iris.csv (built-in sample)" or the file's name; the
  // sheet; the analysed cells ("A1:D151", areas joined by ",").
  std::string source;
  std::string sheet;
  std::string address;
  bool rows = false;

  // One name per variable and where it lies ("column B", "row 4").
  std::vector<std::string> names;
  std::vector<std::string> places;
  // Cases by variables, from 1: the complete cases only.
  Array<double> values;

  // The grouping variable: its name, place and one label per case (all
  // empty without one).
  std::string group_name;
  std::string group_place;
  std::vector<std::string> groups;

  // Cases found before incomplete ones were dropped, and how many were.
  Long cases_read = 0;
  Long dropped = 0;
  // Columns (rows) of the sheet left out because they hold no numbers,
  // each as "column E (Species)".
  std::vector<std::string> left_out;
  // What was read otherwise than it stands, or left out, for the user to
  // know: "left out column A (id): it numbers the cases 1 to 20 (...)".
  std::vector<std::string> notices;

  Long Cases() const { return values.IsAllocated() ? values.UBound(1) : 0; }
  Long Variables() const { return static_cast<Long>(names.size()); }
  bool Grouped() const { return !groups.empty(); }
};

// Opens the input (the built-in sample without one) as a workbook of `app`,
// adding to `notices` what it read otherwise than the options say.
excel::Workbook OpenInput(const excel::Application& app, const ReportOptions& options,
                          std::vector<std::string>& notices);

// Opens, locates, validates and reads. `app` must be the application
// stored with clsMain.SetExcel.
ReportData LoadReportData(const excel::Application& app, const ReportOptions& options,
                          Progress& progress);

}  // namespace orv::report
