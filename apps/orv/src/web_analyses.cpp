#include "web_analyses.hpp"

#include <cmath>

#include "analysis_picks.hpp"
#include "orv/excel/Worksheet.hpp"
#include "report.hpp"
#include "report_failure.hpp"

namespace orv::web {

namespace {

using nlohmann::json;

std::optional<std::string> Text(const json& choices, const char* key) {
  if (!choices.contains(key) || !choices[key].is_string()) return std::nullopt;
  std::string text = choices[key].get<std::string>();
  if (text.find_first_not_of(" \t") == std::string::npos) return std::nullopt;
  return text;
}

// The page's choices as the report's options.
report::ReportOptions ReportOptionsOf(const RunInput& in) {
  report::ReportOptions o;
  const json& c = in.choices;
  if (!in.file.empty()) o.input = in.file;
  o.sheet = Text(c, "sheet");
  o.range = Text(c, "range");
  o.group = Text(c, "group");
  o.headers = c.value("headers", true);
  if (c.contains("level") && !c["level"].is_number())
    throw report::ReportFailure("the confidence level must be a number between 0 and 1");
  o.level = c.value("level", 0.95);
  o.drop_incomplete = c.value("missing", std::string("fail")) == "drop";
  o.decimal_comma = c.value("decimal_comma", false);
  if (const auto codes = Text(c, "na")) {
    std::size_t start = 0;
    for (;;) {
      const std::size_t comma = codes->find(',', start);
      o.na.push_back(codes->substr(start, comma - start));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }
  return o;
}

// The report's tables where it wrote them: a title in column A, the header
// row under it, data rows down to the first blank cell in column A.
std::vector<RunTable> FindTables(const excel::Worksheet& sheet,
                                 const std::vector<std::string>& titles) {
  std::vector<RunTable> tables;
  const Long last = sheet.UsedRange().Row() + sheet.UsedRange().Rows().Count() - 1;
  Long row = 1;
  for (const std::string& title : titles) {
    while (row <= last && sheet.Cells(row, 1).Value() != Variant(title)) ++row;
    if (row > last) break;
    const Long head = row + 1;
    Long width = 0;
    while (!sheet.Cells(head, width + 1).Value().IsEmpty()) ++width;
    Long bottom = head;
    while (bottom < last && !sheet.Cells(bottom + 1, 1).Value().IsEmpty()) ++bottom;
    tables.push_back({title, sheet.Range(sheet.Cells(head, 1), sheet.Cells(bottom, width))});
    row = bottom + 1;
  }
  return tables;
}

RunResult RunReport(const excel::Application& app, const RunInput& in) {
  const report::ReportOptions options = ReportOptionsOf(in);
  if (const std::string problem = report::OptionProblem(options); !problem.empty())
    throw report::ReportFailure(problem);
  report::Progress quiet;
  const report::ReportData data = report::LoadReportData(app, options, quiet);
  report::Analysis analysis;
  try {
    analysis = report::Analyse(data, options.level);
  } catch (const Error& e) {
    throw report::ReportFailure("the analysis failed: " + report::DescribeError(e));
  }
  const report::WrittenReport written = report::BuildWorkbook(app, data, analysis, quiet);
  RunResult result;
  result.book = written.book;
  result.tables = FindTables(written.book.Worksheets("Report"), written.tables);
  result.chart_sheet = written.book.Worksheets("Charts");
  result.notes = data.notices;
  result.notes.insert(result.notes.end(), written.warnings.begin(), written.warnings.end());
  return result;
}

// The page's choices as the analysis layer's options and picks, then the
// analysis `name` on them into a new workbook.
RunResult RunAnalysis(const std::string& name, const excel::Application& app,
                      const RunInput& in) {
  const report::ReportOptions input = ReportOptionsOf(in);
  if (const std::string problem = report::OptionProblem(input); !problem.empty())
    throw report::ReportFailure(problem);
  const json& c = in.choices;
  analysis::Options o;
  o.level = input.level;
  o.headers = input.headers;
  o.drop_incomplete = input.drop_incomplete;
  o.missing = input.na;
  if (c.contains("mu") && !c["mu"].is_number())
    throw report::ReportFailure("--mu must be a number, not " + c["mu"].dump());
  o.mu = c.value("mu", 0.0);
  o.paired = c.value("paired", false);
  o.through_origin = c.value("through_origin", false);
  const std::string method = c.value("method", std::string("both"));
  o.method = method == "pearson"    ? analysis::Method::pearson
             : method == "spearman" ? analysis::Method::spearman
                                    : analysis::Method::both;
  o.bin_rule = c.value("bins_rule", std::string("sturges")) == "fd"
                   ? analysis::BinRule::freedman_diaconis
                   : analysis::BinRule::sturges;
  if (c.contains("bins") && (!c["bins"].is_number() || c["bins"].get<double>() < 0 ||
                             c["bins"].get<double>() > 1000 ||
                             c["bins"].get<double>() != std::floor(c["bins"].get<double>())))
    throw report::ReportFailure("--bins: the number of bins is a whole number from 1 to 1000 "
                                "(0 for the rule's)");
  o.bins = c.value("bins", 0L);
  report::AnalysisPicks picks;
  picks.sheet = input.sheet.value_or("");
  picks.range = input.range.value_or("");
  picks.group = input.group.value_or("");
  picks.y = Text(c, "y").value_or("");
  picks.pair = Text(c, "pair").value_or("");
  picks.variable = Text(c, "variable").value_or("");
  picks.x_from_range = true;

  std::vector<std::string> notices;
  const excel::Workbook book = report::OpenInput(app, input, notices);
  const analysis::Selection picked = report::PickColumns(book, name, picks, o);
  RunResult result;
  result.book = app.Workbooks().Add();
  const analysis::Result r = report::AnalysisNamed(name)(picked, o, result.book);
  result.results = r.tables;
  result.chart_sheet = result.book.Worksheets(r.sheet);
  result.notes = notices;
  result.notes.insert(result.notes.end(), r.notes.begin(), r.notes.end());
  result.notes.insert(result.notes.end(), r.warnings.begin(), r.warnings.end());
  return result;
}

json Option(const char* id, const char* type, const char* label, json fallback) {
  return json{{"id", id}, {"type", type}, {"label", label}, {"default", std::move(fallback)}};
}

json Choice(const char* id, const char* label, const char* fallback,
            std::initializer_list<std::pair<const char*, const char*>> choices) {
  json o = Option(id, "choice", label, fallback);
  for (const auto& [value, text] : choices)
    o["choices"].push_back({{"value", value}, {"label", text}});
  return o;
}

// How the data are read, as every analysis takes it, then its own options.
json Options(std::initializer_list<json> own) {
  json level = Option("level", "number", "Confidence level", 0.95);
  level.update({{"min", 0}, {"max", 1}, {"step", 0.01}});
  json all = json::array({level});
  for (const json& o : own) all.push_back(o);
  all.push_back(Choice("missing", "Blank cells", "fail",
                       {{"fail", "stop and name the cell"}, {"drop", "leave out incomplete cases"}}));
  all.push_back(Option("na", "text", "Other missing-value codes (comma-separated)", ""));
  all.push_back(Option("decimal_comma", "boolean", "CSV numbers use a decimal comma", false));
  return all;
}

std::vector<Analysis> Registered() {
  using Inputs = std::initializer_list<const char*>;
  std::vector<Analysis> all;
  auto add = [&](const char* name, const char* title, Inputs inputs, json options) {
    all.push_back({name, title, json{{"inputs", json(inputs)}, {"options", std::move(options)}},
                   [name = std::string(name)](const excel::Application& app, const RunInput& in) {
                     return RunAnalysis(name, app, in);
                   }});
  };
  all.push_back(
      {"report",
       "Statistics report (descriptives, correlation, principal components, ANOVA with Tukey)",
       json{{"inputs", {"variables", "group"}}, {"sample_group", "Species"}, {"options", Options({})}},
       RunReport});
  json bins = Option("bins", "number", "Bins (0: by the rule)", 0);
  bins.update({{"min", 0}, {"max", 1000}, {"step", 1}});
  add("describe", "Descriptive statistics, frequencies and histogram", {"variables", "group"},
      Options({Option("variable", "text", "Histogram of (header or letter; default the first)", ""),
               Choice("bins_rule", "Bins by", "sturges",
                      {{"sturges", "Sturges' rule"}, {"fd", "Freedman-Diaconis' rule"}}),
               bins}));
  add("ttest", "t test: one sample, paired, or two groups", {"variables", "group", "y"},
      Options({Option("mu", "number", "One sample: the mean tested against", 0),
               Option("paired", "boolean", "The variable and y are paired", false)}));
  add("regress", "Linear regression", {"variables", "y"},
      Options({Option("through_origin", "boolean", "Fit without the constant term", false)}));
  add("correlate", "Correlation (Pearson and Spearman)", {"variables", "pair"},
      Options({Choice("method", "Coefficients", "both",
                      {{"both", "Pearson and Spearman"},
                       {"pearson", "Pearson"},
                       {"spearman", "Spearman"}})}));
  add("nonparametric", "Rank tests (Mann-Whitney, Kruskal-Wallis, Wilcoxon)",
      {"variables", "group", "y"},
      Options({Option("paired", "boolean", "The variable and y are paired", false)}));
  add("anova", "One-way ANOVA with Tukey-Kramer comparisons", {"variables", "group"}, Options({}));
  add("pca", "Principal components", {"variables"}, Options({}));
  return all;
}

}  // namespace

const std::vector<Analysis>& Analyses() {
  static const std::vector<Analysis> all = Registered();
  return all;
}

const Analysis* FindAnalysis(const std::string& name) {
  for (const Analysis& a : Analyses())
    if (a.name == name) return &a;
  return nullptr;
}

}  // namespace orv::web
