#include "analysis_picks.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "orv/excel/Worksheet.hpp"
#include "orv/excel/reference.hpp"
#include "report_failure.hpp"

namespace orv::report {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The column `column` names in `data`; a failure naming `option` when none.
excel::Range Column(const excel::Range& data, const std::string& column, bool headers,
                    const std::string& option) {
  try {
    return analysis::FindColumn(data, column, headers);
  } catch (const Error& e) {
    throw ReportFailure(option + ": " + e.Description, e, "analysis::FindColumn");
  }
}

// The rows of `range` across the sheet's used columns; the areas' columns
// (as letters) go to `x`.
std::string RangeRows(const excel::Worksheet& sheet, const excel::Range& range,
                      std::vector<std::string>& x) {
  const excel::Range first = range.Areas(1);
  const excel::Range used = sheet.UsedRange();
  std::int32_t left = used.Column(), right = used.Column() + used.Columns().Count() - 1;
  for (std::int32_t a = 1; a <= range.Areas().Count(); ++a) {
    const excel::Range area = range.Areas(a);
    if (area.Row() != first.Row() || area.Rows().Count() != first.Rows().Count())
      throw ReportFailure("--range " + Quoted(range.Address(false, false)) +
                          ": the variables' areas must cover the same rows");
    for (std::int32_t c = 0; c < area.Columns().Count(); ++c)
      x.push_back(excel::ColumnLetters(area.Column() + c));
    left = std::min(left, area.Column());
    right = std::max(right, area.Column() + area.Columns().Count() - 1);
  }
  return excel::ColumnLetters(left) + std::to_string(first.Row()) + ":" +
         excel::ColumnLetters(right) + std::to_string(first.Row() + first.Rows().Count() - 1);
}

}  // namespace

AnalysisFunction AnalysisNamed(const std::string& name) {
  if (name == "ttest") return analysis::TTest;
  if (name == "regress") return analysis::Regress;
  if (name == "correlate") return analysis::Correlate;
  if (name == "nonparametric") return analysis::RankTest;
  if (name == "describe") return analysis::Describe;
  if (name == "anova") return analysis::Anova;
  if (name == "pca") return analysis::Pca;
  return nullptr;
}

analysis::Selection PickColumns(const excel::Workbook& book, const std::string& name,
                                const AnalysisPicks& picks, analysis::Options& options) {
  excel::Worksheet sheet = book.ActiveSheet();
  if (!picks.sheet.empty()) {
    try {
      sheet = book.Worksheets(picks.sheet);
    } catch (const Error&) {
      throw ReportFailure("the workbook " + book.Name() + " has no sheet " + Quoted(picks.sheet));
    }
  }
  std::vector<std::string> x = picks.x;
  excel::Range data(Nothing);
  std::string block = picks.range;
  try {
    if (picks.x_from_range && !block.empty()) block = RangeRows(sheet, sheet.Range(block), x);
    data = block.empty() ? sheet.UsedRange() : sheet.Range(block);
  } catch (const Error&) {
    throw ReportFailure("--range " + Quoted(picks.range) + " is not a reference on sheet " +
                        Quoted(sheet.Name()));
  }
  const bool headers = options.headers;
  analysis::Selection picked;
  for (const std::string& column : x) picked.x.push_back(Column(data, column, headers, "--x"));
  if (!picks.y.empty()) picked.y = Column(data, picks.y, headers, "--y");
  if (!picks.group.empty()) picked.group = Column(data, picks.group, headers, "--group");
  // A block of variables may take in the groups or y: they are not variables.
  auto other = [&](const excel::Range& column) {
    return (!picked.group.IsNothing() && column == picked.group) ||
           (!picked.y.IsNothing() && column == picked.y);
  };
  if (picks.x_from_range) std::erase_if(picked.x, other);
  if (picked.x.empty()) {
    for (const excel::Range& column : analysis::NumericColumns(data, headers))
      if (!other(column)) picked.x.push_back(column);
  }
  if ((name == "ttest" || name == "nonparametric") && picked.x.size() != 1)
    throw ReportFailure("--x: a " + std::string(name == "ttest" ? "t test" : "rank test") +
                        " takes one variable, not " + std::to_string(picked.x.size()));
  if (name == "regress" && picked.y.IsNothing())
    throw ReportFailure("--y is needed: the response of the regression");
  if (name == "anova" && picked.group.IsNothing())
    throw ReportFailure("--group is needed: an analysis of variance compares groups");
  if (!picks.pair.empty()) {
    const auto comma = picks.pair.find(',');
    if (comma == std::string::npos)
      throw ReportFailure("--pair takes two columns, X,Y: " + Quoted(picks.pair));
    std::pair<int, int> at{-1, -1};
    for (int k = 0; k < 2; ++k) {
      const excel::Range want = Column(
          data, k == 0 ? picks.pair.substr(0, comma) : picks.pair.substr(comma + 1), headers,
          "--pair");
      for (std::size_t j = 0; j < picked.x.size(); ++j)
        if (picked.x[j] == want) (k == 0 ? at.first : at.second) = static_cast<int>(j);
    }
    if (at.first < 0 || at.second < 0)
      throw ReportFailure("--pair " + Quoted(picks.pair) +
                          " names a column that is not among the variables");
    options.pair = at;
  }
  if (!picks.variable.empty()) {
    const excel::Range want = Column(data, picks.variable, headers, "--variable");
    const auto at = std::find(picked.x.begin(), picked.x.end(), want);
    if (at == picked.x.end())
      throw ReportFailure("--variable " + Quoted(picks.variable) +
                          " names a column that is not described");
    options.variable = static_cast<int>(at - picked.x.begin());
  }
  return picked;
}

std::string ShownNumber(const std::string& column, double v) {
  if (std::isnan(v)) return "";
  if (std::isinf(v)) return v > 0 ? "infinite" : "-infinite";
  if ((column == "p" || column.rfind("p (", 0) == 0) && v < 0.001) return "<0.001";
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", v);
  return text;
}

}  // namespace orv::report
