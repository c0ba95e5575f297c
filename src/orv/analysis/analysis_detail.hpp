#pragma once
// What the analyses share and the public header does not show: reading the
// picked cells into cases, groups, ranks, the distributions' tails, and
// writing a Result to its sheet.
#include <functional>
#include <string>
#include <vector>

#include "orv/analysis/analysis.hpp"
#include "orv/excel/Worksheet.hpp"

namespace orv {
class clsPlotScatter;
}

namespace orv::analysis::detail {

// Runs an analysis so that nothing but an Error leaves it: running out of
// memory becomes error 7, any other failure error 5.
template <class Body>
Result Guarded(Body&& body) {
  try {
    return body();
  } catch (...) {
    throw CurrentAsError();
  }
}

// Raises the failure every analysis reports: `number` with `message`.
[[noreturn]] void Fail(std::int32_t number, const std::string& message);

// The picked columns read as cases: the complete ones only.
struct Cases {
  std::vector<std::string> names;   // one per numeric column, then y
  std::vector<std::string> places;  // "column B (len)"
  std::vector<std::vector<double>> columns;
  std::string group_name;           // with a grouping column: its header
  std::string group_place;          // and "column E (Species)"
  std::vector<std::string> groups;  // one label per case
  long read = 0, dropped = 0;

  long Count() const { return columns.empty() ? 0 : static_cast<long>(columns[0].size()); }
};

// Reads x, then y when set, then the group labels; checks them with
// clsValidation and names the first bad cell. Fewer than `fewest` complete
// cases: orvErrTooFewVariableRows.
Cases ReadCases(const Selection& s, const Options& o, long fewest);

// The x columns, with the group labels when `group` is set: at least three
// cases, and each column with spread, or the failure saying `why` it needs
// one.
Cases ReadVaried(const Selection& s, const Options& o, const std::string& why);

// One variable (x) compared across the groups of `group` or with y paired
// (Options::paired), or alone when `alone` allows it: read with at least
// two cases, or the failure naming what `analysis` takes.
Cases ReadComparison(const Selection& s, const Options& o, const std::string& analysis, bool alone);

// A result named `sheet` of the cases `c`.
Result Begin(const std::string& sheet, const Cases& c);
// "60 cases, 3 left out for a missing value".
std::string CasesNote(const Cases& c);

// Fails with orvErrNoVariableVariance when column j holds one value.
void RequireVariance(const Cases& c, std::size_t j, const std::string& why);

// Cases by group, in order of the groups' first appearance; fails when
// there are fewer than `fewest_groups` groups or more than `most_groups`,
// or a group holds fewer than two cases.
struct Groups {
  std::vector<std::string> labels;
  std::vector<std::vector<double>> values;
};
Groups SplitByGroup(const Cases& c, std::size_t j, std::size_t fewest_groups,
                    std::size_t most_groups, const std::string& analysis);

// Average ranks (ties share the mean of their places), from 1.
std::vector<double> AverageRanks(const std::vector<double>& x);

// Mean and sample SD.
double Mean(const std::vector<double>& x);
double SD(const std::vector<double>& x, double mean);

// Two-tailed p of Student's t on df degrees of freedom (CDistributions for
// whole df); the two-sided quantile for `level`; upper tails of F,
// chi-squared and the standard normal.
double TwoTailedT(double t, double df);
double TQuantile(double level, double df);
double FUpperTail(double f, double df1, double df2);
double ChiSquaredUpperTail(double x, double df);
double NormalUpperTail(double z);

// "95%" for 0.95.
std::string LevelText(double level);

// Writes the result to a new sheet of `out` named after it (with " (2)",
// " (3)", ... when taken): notes, tables under each other, the data
// columns to the right. Returns the sheet.
excel::Worksheet WriteResult(const Result& r, const excel::Workbook& out);
// The cells of data column `index` (from 0) without its header.
excel::Range DataCells(const excel::Worksheet& sheet, const Result& r, std::size_t index);
// The cells of table `title` on the sheet: its number column `column` (the
// label column when `column` is its label header), or with `row` the
// numbers of that row.
excel::Range TableCells(const excel::Worksheet& sheet, const Result& r, const std::string& title,
                        const std::string& column, const std::string& row = "");
// Columns of equal length as a 1 To n, 1 To p array.
Array<double> ValuesOf(const std::vector<std::vector<double>>& columns);
// Draws one chart placed `slot` charts below the first beside the data; a
// chart the chart classes refuse becomes a warning.
struct ChartPlace {
  excel::Range output;
  long vertical = 0;
  long width = 0, height = 0;
};
// Puts a chart of the chart classes at `at`.
template <class Plot>
void Place(Plot& plot, const ChartPlace& at) {
  plot.SetOutputRange(at.output);
  plot.LetVerticalOffset(at.vertical);
  plot.LetChartWidth(at.width);
  plot.LetChartHeight(at.height);
}
void DrawChart(Result& r, const excel::Worksheet& sheet, int slot, const std::string& title,
               const std::function<void(const ChartPlace&)>& draw);
// Places `plot` and gives it data columns x and y (from 0) with their
// names as axis titles.
void Scatter(clsPlotScatter& plot, const ChartPlace& at, const excel::Worksheet& sheet,
             const Result& r, std::size_t x, std::size_t y);

}  // namespace orv::analysis::detail
