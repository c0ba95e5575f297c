#pragma once
// The columns a front end names for one analysis of the analysis layer,
// turned into the layer's Selection: the command line's subcommands and the
// browser page pick them here, by the subcommand's name ("ttest",
// "regress", "correlate", "nonparametric", "describe", "anova", "pca").
#include <string>
#include <vector>

#include "orv/analysis/analysis.hpp"
#include "orv/excel/Workbook.hpp"

namespace orv::report {

// Texts as the command line's options take them; empty when not given.
struct AnalysisPicks {
  std::string sheet, range, y, group, pair, variable;
  std::vector<std::string> x;
  // The variables are the columns of `range` (areas over the same rows),
  // and the data are those rows of the sheet's used columns.
  bool x_from_range = false;
};

using AnalysisFunction = analysis::Result (*)(const analysis::Selection&,
                                              const analysis::Options&, const excel::Workbook&);
// The analysis of a subcommand; nullptr for an unknown name.
AnalysisFunction AnalysisNamed(const std::string& name);

// The columns of `book` that `picks` name for the analysis `name`: without
// variables, every numeric column but y and the groups. Sets options.pair
// and options.variable from their columns. A ReportFailure naming the
// option (--sheet, --range, --x, --y, --group, --pair, --variable) when a
// pick is wrong.
analysis::Selection PickColumns(const excel::Workbook& book, const std::string& name,
                                const AnalysisPicks& picks, analysis::Options& options);

// A result number as text: 6 significant digits, p-values below 0.001 as
// "<0.001", nothing for a value that does not exist.
std::string ShownNumber(const std::string& column, double v);

}  // namespace orv::report
