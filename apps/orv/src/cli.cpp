#include "cli.hpp"

#include <CLI/CLI.hpp>
#include <iostream>

#include "analyses.hpp"
#include "report.hpp"
#include "serve.hpp"
#include "web_server.hpp"

namespace orv::report {

char SeparatorOf(const std::string& text) {
  if (text == "tab" || text == "\\t" || text == "\t") return '\t';
  if (text == "comma") return ',';
  if (text == "semicolon") return ';';
  if (text == "space") return ' ';
  if (text.size() == 1) return text[0];
  throw CLI::ValidationError(
      "--separator", "a separator is one character, or tab, comma, semicolon or space: " + text);
}

std::string Version() { return ORV_VERSION; }

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool progress) {
  CLI::App app{"orv: statistics reports from spreadsheet data, computed by the orvmain library.",
               "orv"};
  app.set_version_flag("--version", "orv " + Version(), "Print the version and exit");
  app.require_subcommand(1);
  app.footer("Run 'orv <command> --help' for a command's options and an example.");

  serve::Limits limits;
  CLI::App* serve = app.add_subcommand(
      "serve", "Answer JSON requests, one a line on standard input, calling the library's classes");
  serve->add_option("--max-line", limits.max_line, "Longest request line, in bytes");
  serve->add_option("--max-objects", limits.max_objects, "Most objects held at once");
  serve->add_option("--max-cells", limits.max_cells,
                    "Most elements of one array, matrix or range a request may make");
  web::ServeOptions web_options;
  bool http = false;
  serve->add_flag("--http", http,
                  "Serve the browser page instead, on 127.0.0.1; the first line of output is its "
                  "address, with the token every request needs");
  serve->add_option("--port", web_options.port, "With --http: the port (0: any free one)")
      ->capture_default_str();
  std::size_t max_upload_mb = web_options.limits.max_body >> 20;
  serve->add_option("--max-upload", max_upload_mb, "With --http: the largest upload, in MB")
      ->check(CLI::Range(1, 4096))
      ->capture_default_str();
  serve
      ->add_option("--idle", web_options.idle_seconds,
                   "With --http: seconds after a page's last request when its files are freed")
      ->check(CLI::Range(1, 86400))
      ->capture_default_str();

  ReportOptions options;
  std::string input, sheet, range, group, separator;
  bool no_headers = false;
  CLI::App* report = app.add_subcommand(
      "report", "Write an .xlsx statistics report of the numeric columns of a worksheet");
  report->footer(
      "The report holds descriptive statistics with confidence intervals of the means, the "
      "correlation matrix with two-tailed p-values, the principal components of the "
      "correlation matrix, and with --group a one-way analysis of variance per variable with "
      "Tukey-Kramer comparisons; beside the tables a scatter plot, a histogram, a scree plot "
      "and the loadings. Without INPUT it runs on the built-in sample, Fisher's iris "
      "measurements grouped by species. Exit status: 0 done, 1 the input or the analysis "
      "failed (nothing is written), 2 a wrong command line.");
  report
      ->add_option("INPUT", input,
                   "An .xlsx workbook or a .csv file (also .tsv, .txt); the built-in iris "
                   "sample when left out")
      ->type_name("FILE");
  report->add_option("-o,--output", options.output, "The report to write (.xlsx)")
      ->type_name("FILE")
      ->capture_default_str();
  report
      ->add_option("--sheet", sheet, "The worksheet to read (default: the workbook's active sheet)")
      ->type_name("NAME");
  report
      ->add_option("--range", range,
                   "The variables' cells with their headers, e.g. A1:D151, or several areas "
                   "of one length: A1:B151,D1:D151 (default: every column of the sheet's data "
                   "that holds numbers)")
      ->type_name("REF");
  report->add_flag("--no-headers", no_headers,
                   "The first row (column with --rows) holds data, not names; variables are "
                   "then named by their column (row)");
  report->add_flag("--rows", options.rows, "Variables run along rows, cases across columns");
  report
      ->add_option("--group", group,
                   "The grouping variable: its header, or its column letter (row number with "
                   "--rows); the sample is grouped by Species")
      ->type_name("COLUMN");
  report
      ->add_option("--level", options.level,
                   "Confidence level of the intervals and bands, between 0 and 1")
      ->type_name("LEVEL")
      ->capture_default_str();
  report->add_flag("--drop-incomplete", options.drop_incomplete,
                   "Leave out cases with a blank analysed cell (and say how many) instead of "
                   "failing");
  report
      ->add_option("--na", options.na,
                   "More codes of a missing value, comma-separated (--na=-99,missing); NA, N/A, "
                   "n/a, #N/A, . and - always are one. Their cells are blank cells")
      ->delimiter(',')
      ->type_name("CODES");
  report
      ->add_option("--separator", separator,
                   "CSV input: the field separator, one character or tab, comma, semicolon, "
                   "space (default: found from the file)")
      ->type_name("CHAR");
  report->add_flag("--decimal-comma", options.decimal_comma,
                   "CSV input: numbers are written with a decimal comma (1,5); without it, found "
                   "when the numbers of a file not separated by commas can only mean that. "
                   "Thousands separators are never read");

  const AnalysisCommands analyses(app);

  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
    if (!separator.empty()) options.separator = SeparatorOf(separator);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e, out, err);
    return status == 0 ? kExitOk : kExitUsage;
  }

  if (serve->parsed() && http) {
    web_options.limits.max_body = max_upload_mb << 20;
    return web::ServeHttp(web_options, out, err);
  }
  if (serve->parsed()) {
    serve::Serve(std::cin, out, limits);
    return kExitOk;
  }
  if (analyses.Parsed()) return analyses.Run(out, err);
  if (report->count("INPUT")) options.input = input;
  if (report->count("--sheet")) options.sheet = sheet;
  if (report->count("--range")) options.range = range;
  if (report->count("--group")) options.group = group;
  options.headers = !no_headers;
  return RunReport(options, out, err, progress);
}

}  // namespace orv::report
