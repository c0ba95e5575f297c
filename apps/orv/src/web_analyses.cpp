#include "web_analyses.hpp"

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

std::vector<Analysis> Registered() {
  std::vector<Analysis> all;
  all.push_back(
      {"report",
       "Statistics report (descriptives, correlation, principal components, ANOVA with Tukey)",
       json{{"inputs", {"variables", "group"}},
            {"options",
             {{{"id", "level"}, {"type", "number"}, {"label", "Confidence level"},
               {"default", 0.95}, {"min", 0}, {"max", 1}, {"step", 0.01}},
              {{"id", "missing"}, {"type", "choice"}, {"label", "Blank cells"},
               {"default", "fail"},
               {"choices", {{{"value", "fail"}, {"label", "stop and name the cell"}},
                            {{"value", "drop"}, {"label", "leave out incomplete cases"}}}}},
              {{"id", "na"}, {"type", "text"}, {"label", "Other missing-value codes (comma-separated)"},
               {"default", ""}},
              {{"id", "decimal_comma"}, {"type", "boolean"},
               {"label", "CSV numbers use a decimal comma"}, {"default", false}}}}},
       RunReport});
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
