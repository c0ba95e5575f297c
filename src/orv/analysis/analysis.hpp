#pragma once
// The analyses a front end offers: descriptive statistics, t tests, linear
// regression, correlation, rank tests, one-way ANOVA and principal
// components. Each takes the columns the user picked on a worksheet and
// the options, checks and reads the cells, computes with the library's
// classes, and writes its tables (clsFormatting) and charts (the chart
// classes) to a new sheet, named after the analysis, of an output workbook.
// The same numbers come back at full precision as a Result, for front ends
// that show them without a workbook.
//
//   const excel::Range data = sheet.UsedRange();
//   analysis::Selection picked;
//   picked.x = {analysis::FindColumn(data, "len")};
//   picked.group = analysis::FindColumn(data, "supp");
//   analysis::Result r = analysis::TTest(picked, {}, report_book);
//   r.Find("t test").Value("Welch", "p");
//
// A failure is an orv::Error whose Description names the cause in the
// user's terms (the column, the cell, the group) and whose Number is the
// library's ORVError for the same fault (orvErrBlankVariableCells,
// orvErrNoVariableVariance, orvErrSingleCaseGroup, orvErrToleranceTooLow,
// ...). Nothing is written to the output workbook when an analysis fails.
// Hand the workbook's application to clsMain.SetExcel before calling: the
// charts need it.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "orv/analysis/statistics.hpp"
#include "orv/excel/Range.hpp"
#include "orv/excel/Workbook.hpp"
#include "orv/frame/frame.hpp"

namespace orv::analysis {

// What the user picked: variables as single columns (with their header
// cell on top when Options::headers), and the optional second variable
// (paired tests, the response of a regression) and grouping column.
struct Selection {
  std::vector<excel::Range> x;
  excel::Range y{Nothing};
  excel::Range group{Nothing};
};

enum class Method { pearson, spearman, both };

struct Options {
  // Confidence level of the intervals and bands, strictly between 0 and 1.
  double level = 0.95;
  // The first cell of each column is its name.
  bool headers = true;
  // Leave out cases with a missing value in any picked column instead of
  // failing.
  bool drop_incomplete = false;
  // Cell texts (and numbers, as their text) that mean "missing", besides
  // blank cells: "NA", "-99".
  std::vector<std::string> missing;
  // t test: the mean of the one-sample test; y is paired with x.
  double mu = 0;
  bool paired = false;
  // Regression without the constant term.
  bool through_origin = false;
  // Correlation: the coefficients, and the pair to plot (indices into
  // Selection::x, from 0; the strongest pair when absent).
  Method method = Method::both;
  std::optional<std::pair<int, int>> pair;
  // Descriptives: the variable of the frequency table and histogram (an
  // index into Selection::x, from 0) and its bins: `bins` equal ones when
  // positive, else as many as the rule asks on nice limits.
  int variable = 0;
  BinRule bin_rule = BinRule::sturges;
  long bins = 0;
};

// A result table: rows labelled, numbers at full precision (NaN where a
// value does not exist).
struct Table {
  std::string title;
  std::string label_header;          // the header of the label column
  std::vector<std::string> columns;  // the headers of the number columns
  std::vector<std::string> rows;
  std::vector<std::vector<double>> values;  // rows x columns

  // The value at (row, column), by label; error 5 naming them when absent.
  double Value(const std::string& row, const std::string& column) const;
  void AddRow(std::string label, std::vector<double> numbers);
};

// A column of values written beside the analysed data (fitted values,
// residuals).
struct DataColumn {
  std::string name;
  std::vector<double> values;
};

struct Result {
  std::string sheet;               // the output sheet's name
  std::vector<std::string> notes;  // lines above the tables
  std::vector<Table> tables;
  std::vector<DataColumn> data;       // the analysed data, then what was computed
  std::vector<std::string> charts;    // titles of the charts drawn
  std::vector<std::string> warnings;  // charts that could not be drawn
  long cases = 0, dropped = 0;

  // The table with this title; error 5 naming it when absent.
  const Table& Find(const std::string& title) const;
};

// The column of `data` named by `column`: a header of its first row (case
// ignored) or column letters. Error orvErrInvalidVarRange listing the
// headers when there is none.
excel::Range FindColumn(const excel::Range& data, const std::string& column, bool headers = true);
// Every column of `data` holding at least one number below its header.
std::vector<excel::Range> NumericColumns(const excel::Range& data, bool headers = true);

// One-sample (x against Options::mu), paired (x and y) or two independent
// samples (x split by the two groups of `group`: pooled and Welch), with
// the confidence interval of the difference and Cohen's d. Sheet "t test".
Result TTest(const Selection& s, const Options& o, const excel::Workbook& out);
// y on the x columns by the sweep of their cross products: coefficients,
// SE, t, p, intervals, R squared, the ANOVA table, standardized
// coefficients and VIFs, fitted values and residuals; for one predictor a
// scatter with the line and bands, and residuals against fitted values.
// Sheet "Regression".
Result Regress(const Selection& s, const Options& o, const excel::Workbook& out);
// Every pair of the x columns: Pearson r with its p-value and Fisher-z
// interval, Spearman's rho with the t approximation's p-value; a scatter of
// one pair. Sheet "Correlation".
Result Correlate(const Selection& s, const Options& o, const excel::Workbook& out);
// Mann-Whitney U (two groups), Kruskal-Wallis (three or more) or the
// Wilcoxon signed-rank test (x paired with y), with tie corrections: exact
// p-values below 50 cases without ties, else the normal approximation with
// continuity correction. Sheet "Rank tests".
Result RankTest(const Selection& s, const Options& o, const excel::Workbook& out);

// Per x column, and with `group` per group: N, mean, SD, SE, the interval
// of the mean, minimum, quartiles (type 7), median, maximum, skewness and
// excess kurtosis; a frequency table of one variable and its histogram.
// Sheet "Descriptives".
Result Describe(const Selection& s, const Options& o, const excel::Workbook& out);
// Each x column across the groups of `group`: the one-way ANOVA table with
// eta and omega squared, Brown-Forsythe's and Welch's tests, and
// Tukey-Kramer comparisons of every pair of groups. Sheet "ANOVA".
Result Anova(const Selection& s, const Options& o, const excel::Workbook& out);
// Principal components of the correlation matrix of the x columns:
// eigenvalues, percent and cumulative percent of the variance, loadings;
// the component scores (standardized data times eigenvectors) beside the
// data; a scree plot and, from three variables, the loadings on PC1 and
// PC2. Sheet "Principal components".
Result Pca(const Selection& s, const Options& o, const excel::Workbook& out);

}  // namespace orv::analysis
