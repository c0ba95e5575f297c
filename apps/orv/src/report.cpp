#include "report.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "orv/excel/Application.hpp"
#include "orv/frame/text.hpp"
#include "orv/xlsx/xlsx.hpp"
#include "library_session.hpp"
#include "report_failure.hpp"
#include "report_writer.hpp"

namespace orv::report {

namespace {

std::string Fixed(double value, int decimals = 3) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string PText(double p) { return p < 0.001 ? "p < 0.001" : "p = " + Fixed(p); }

std::string Pad(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string PadLeft(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

}  // namespace

std::string OptionProblem(const ReportOptions& o) {
  if (!(o.level > 0 && o.level < 1))
    return "--level must lie strictly between 0 and 1 (for example 0.95), not " + Fixed(o.level, 4);
  const std::string ext = Lower(std::filesystem::path(o.output).extension().string());
  if (ext != ".xlsx") return "the output must be an .xlsx file, not \"" + o.output + "\"";
  if (o.input) {
    std::error_code ec;
    if (std::filesystem::equivalent(*o.input, o.output, ec))
      return "the output \"" + o.output + "\" is the input itself; choose another name with -o";
  }
  return {};
}

int RunReport(const ReportOptions& options, std::ostream& out, std::ostream& err, bool show) {
  Progress progress(show ? &err : nullptr);
  if (const std::string problem = OptionProblem(options); !problem.empty()) {
    err << "orv report: " << problem << '\n';
    return kExitUsage;
  }
  try {
    const LibrarySession session;
    const ReportData data = LoadReportData(session.App(), options, progress);

    progress.Begin("computing");
    Analysis analysis;
    try {
      analysis = Analyse(data, options.level);
    } catch (const Error& e) {
      throw ReportFailure("the analysis failed: " + DescribeError(e));
    }
    progress.End();

    const WrittenReport written = BuildWorkbook(session.App(), data, analysis, progress);

    progress.Begin("saving " + options.output);
    try {
      xlsx::SaveXlsx(written.book, options.output);
    } catch (const Error& e) {
      throw ReportFailure(e.Description, e, "xlsx::SaveXlsx");
    }
    progress.End();

    for (const std::string& note : data.notices) err << "orv report: note: " << note << '\n';
    for (const std::string& warning : written.warnings)
      err << "orv report: warning: " << warning << '\n';
    PrintSummary(out, data, analysis, written, options.output);
    return kExitOk;
  } catch (const ReportFailure& f) {
    progress.Fail();
    err << "orv report: " << f.Message() << '\n';
    if (const std::string detail = f.Detail(); !detail.empty())
      err << "orv report: (" << detail << ")\n";
  } catch (...) {
    progress.Fail();
    err << "orv report: " << DescribeError(CurrentAsError()) << '\n';
  }
  return kExitFailure;
}

void PrintSummary(std::ostream& out, const ReportData& d, const Analysis& a,
                  const WrittenReport& written, const std::string& output) {
  out << "Statistics report: " << d.source << ", sheet " << d.sheet << ", cells " << d.address
      << '\n';
  out << a.n << (a.n == 1 ? " case, " : " cases, ") << a.p
      << (a.p == 1 ? " variable" : " variables");
  if (a.grouped) {
    out << ", grouped by " << d.group_name << " (" << d.group_place << "):";
    for (std::size_t k = 0; k < a.groups.labels.size(); ++k)
      out << (k ? ", " : " ") << a.groups.labels[k] << " " << a.groups.sizes[k];
  }
  out << '\n';
  if (d.dropped > 0)
    out << d.dropped << (d.dropped == 1 ? " incomplete case was" : " incomplete cases were")
        << " left out (" << d.cases_read << " read)\n";
  if (!d.left_out.empty()) {
    out << "Left out, holding no numbers:";
    for (std::size_t i = 0; i < d.left_out.size(); ++i) out << (i ? ", " : " ") << d.left_out[i];
    out << '\n';
  }

  // The descriptives as columns as wide as their widest cell.
  const DescriptiveTable& s = a.descriptives;
  std::vector<std::vector<std::string>> rows{
      {"Variable", "N", "Mean", "SD", LevelText(a.level) + " CI of the mean"}};
  for (Long j = 1; j <= a.p; ++j)
    rows.push_back({d.names[static_cast<std::size_t>(j - 1)], Fixed(s.counts.Item(j), 0),
                    SignificantText(s.means.Item(j)), SignificantText(s.sds.Item(j)),
                    SignificantText(s.lower(j)) + " to " + SignificantText(s.upper(j))});
  std::vector<std::size_t> widths(rows.front().size(), 0);
  for (const auto& row : rows)
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
  const std::size_t width = std::min<std::size_t>(widths[0], 24) + 2;
  out << '\n';
  for (const auto& row : rows)
    out << Pad(row[0], width) << PadLeft(row[1], widths[1]) << "  " << PadLeft(row[2], widths[2])
        << "  " << PadLeft(row[3], widths[3]) << "  " << row[4] << '\n';

  if (a.correlated) {
    Long bi = 1, bj = 2;
    for (Long i = 1; i <= a.p; ++i)
      for (Long j = i + 1; j <= a.p; ++j)
        if (std::fabs(a.correlations.r.Item(i, j)) > std::fabs(a.correlations.r.Item(bi, bj))) {
          bi = i;
          bj = j;
        }
    out << "\nStrongest correlation: " << d.names[static_cast<std::size_t>(bi - 1)] << " with "
        << d.names[static_cast<std::size_t>(bj - 1)]
        << ", r = " << Fixed(a.correlations.r.Item(bi, bj)) << " ("
        << PText(a.correlations.p(bi, bj)) << ")\n";
    out << "Principal components: PC1 holds " << Fixed(a.components.percent(1), 1)
        << "% of the variance, PC2 " << Fixed(a.components.percent(2), 1) << "%\n";
  }
  if (a.grouped) {
    out << "\nOne-way analysis of variance by " << d.group_name << ":\n";
    for (Long j = 1; j <= a.p; ++j) {
      const AnovaRow& r = a.anova[static_cast<std::size_t>(j - 1)];
      out << "  " << Pad(d.names[static_cast<std::size_t>(j - 1)], width) << "F("
          << Fixed(r.df_between, 0) << ", " << Fixed(r.df_within, 0)
          << ") = " << (std::isinf(r.f) ? std::string("infinite") : Fixed(r.f, 2)) << ", "
          << PText(r.p) << '\n';
    }
  }
  out << "\nWrote " << output << ": " << written.tables.size() << " tables and "
      << written.charts.size() << (written.charts.size() == 1 ? " chart" : " charts")
      << " on sheets Report and Charts, the analysed data on sheet Data\n";
}

}  // namespace orv::report
