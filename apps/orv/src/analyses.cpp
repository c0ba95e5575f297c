#include "analyses.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "analysis_picks.hpp"
#include "cli.hpp"
#include "orv/analysis/analysis.hpp"
#include "orv/excel/Worksheet.hpp"
#include "orv/frame/text.hpp"
#include "orv/xlsx/xlsx.hpp"
#include "library_session.hpp"
#include "report.hpp"
#include "report_failure.hpp"

namespace orv::report {

struct AnalysisCommands::Args {
  CLI::App *ttest = nullptr, *regress = nullptr, *correlate = nullptr, *nonparametric = nullptr,
           *describe = nullptr, *anova = nullptr, *pca = nullptr;
  std::string input, output, sheet, range, group, y, pair, method = "both", separator, variable,
                                                           bin_rule = "sturges";
  std::vector<std::string> x, missing;
  bool append = false, no_headers = false, decimal_comma = false;
  analysis::Options options;
};

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }


void Print(std::ostream& out, const analysis::Result& r, const std::string& output) {
  for (const std::string& note : r.notes) out << note << '\n';
  for (const analysis::Table& t : r.tables) {
    std::size_t width = t.label_header.size();
    for (const std::string& row : t.rows) width = std::max(width, row.size());
    out << '\n'
        << t.title << '\n'
        << t.label_header << std::string(width + 2 - t.label_header.size(), ' ');
    for (const std::string& c : t.columns)
      out << std::string(c.size() < 11 ? 11 - c.size() : 1, ' ') << c;
    out << '\n';
    for (std::size_t i = 0; i < t.rows.size(); ++i) {
      out << t.rows[i] << std::string(width + 2 - t.rows[i].size(), ' ');
      for (std::size_t c = 0; c < t.columns.size(); ++c) {
        const std::string v = ShownNumber(t.columns[c], t.values[i][c]);
        out << std::string(std::max<std::size_t>(t.columns[c].size(), 10) + 1 -
                               std::min<std::size_t>(v.size(), 10),
                           ' ')
            << v;
      }
      out << '\n';
    }
  }
  out << "\nWrote sheet " << Quoted(r.sheet) << " of " << output << ": " << r.tables.size()
      << (r.tables.size() == 1 ? " table, " : " tables, ") << r.charts.size()
      << (r.charts.size() == 1 ? " chart\n" : " charts\n");
}

// A workbook the reader would open without its charts: their parts' names
// stand in the file's zip directory as plain text.
bool HoldsCharts(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return bytes.find("xl/charts/") != std::string::npos ||
         bytes.find("xl/drawings/") != std::string::npos;
}

std::string OutputProblem(const AnalysisCommands::Args& a, const std::string& input) {
  const std::string ext = Lower(std::filesystem::path(a.output).extension().string());
  if (ext != ".xlsx") return "the output must be an .xlsx file, not " + Quoted(a.output);
  std::error_code ec;
  if (!input.empty() && std::filesystem::equivalent(input, a.output, ec))
    return "the output " + Quoted(a.output) + " is the input itself; choose another name with -o";
  if (a.append && !std::filesystem::is_regular_file(a.output, ec))
    return "--append adds a sheet to an existing workbook, and " + Quoted(a.output) +
           " does not exist";
  if (a.append && HoldsCharts(a.output))
    return "--append would lose the charts of " + Quoted(a.output) +
           ": the workbook reader keeps cells and formats, not charts; write to a new file with -o";
  return {};
}

CLI::App* AddCommon(CLI::App& app, AnalysisCommands::Args& a, const std::string& name,
                    const std::string& about, const std::string& example) {
  CLI::App* c = app.add_subcommand(name, about);
  c->footer("Example: " + example +
            "\nCOLUMN is a header of the data (case ignored) or a column letter. Without INPUT "
            "the built-in iris sample is read. Exit status: 0 done, 1 the input or the analysis "
            "failed (nothing is written), 2 a wrong command line.");
  c->add_option("INPUT", a.input,
                "An .xlsx workbook or a .csv file; the built-in iris sample when left out")
      ->type_name("FILE");
  c->add_option("-o,--output", a.output, "The workbook to write (.xlsx; default " + name + ".xlsx)")
      ->type_name("FILE");
  c->add_flag("--append", a.append,
              "Add the sheet to the existing workbook -o names instead of writing a new one");
  c->add_option("--sheet", a.sheet, "The worksheet to read (default: the active sheet)")
      ->type_name("NAME");
  c->add_option("--range", a.range,
                "The data with their headers, e.g. A1:D151 (default: the sheet's used cells)")
      ->type_name("REF");
  c->add_flag("--no-headers", a.no_headers,
              "The first row holds data; columns are named by their letters");
  c->add_option("--level", a.options.level, "Confidence level of the intervals, between 0 and 1")
      ->type_name("LEVEL")
      ->capture_default_str();
  c->add_flag("--drop-incomplete", a.options.drop_incomplete,
              "Leave out cases with a missing value in a picked column instead of failing");
  c->add_option("--na", a.missing,
                "Cell texts that mean a missing value besides blanks, e.g. NA,-99")
      ->delimiter(',')
      ->type_name("CODES");
  c->add_option("--separator", a.separator,
                "CSV input: the field separator, one character or tab, comma, semicolon, space "
                "(default: found from the file)")
      ->type_name("CHAR")
      ->check([](const std::string& text) {
        try {
          SeparatorOf(text);
          return std::string();
        } catch (const CLI::ValidationError& e) {
          return std::string(e.what());
        }
      });
  c->add_flag("--decimal-comma", a.decimal_comma,
              "CSV input: numbers are written with a decimal comma (1,5)");
  return c;
}

// --x as a list of columns: `what` they are.
CLI::Option* AddVariables(CLI::App* c, AnalysisCommands::Args& a, const std::string& what) {
  // One argument, so that INPUT may follow.
  return c->add_option("--x", a.x, what + ", separated by commas")
      ->type_name("COLUMN[,COLUMN...]")
      ->delimiter(',')
      ->allow_extra_args(false);
}

// --x with --group, or with --y and --paired.
void AddComparison(CLI::App* c, AnalysisCommands::Args& a, const std::string& groups) {
  c->add_option("--x", a.x, "The variable tested")->type_name("COLUMN")->required()->expected(1);
  CLI::Option* group = c->add_option("--group", a.group, groups)->type_name("COLUMN");
  CLI::Option* y = c->add_option("--y", a.y, "The variable paired with --x")
                       ->type_name("COLUMN")
                       ->excludes(group);
  c->add_flag("--paired", a.options.paired, "--x and --y are paired")->needs(y);
}

}  // namespace

AnalysisCommands::AnalysisCommands(CLI::App& app) : args_(std::make_unique<Args>()) {
  Args& a = *args_;
  a.ttest =
      AddCommon(app, a, "ttest", "Student's t test: one sample, paired, or two independent groups",
                "orv ttest data.csv --x len --group supp");
  AddComparison(a.ttest, a, "Two groups to compare (pooled and Welch)");
  a.ttest->add_option("--mu", a.options.mu, "One sample: the mean tested against")
      ->capture_default_str()
      ->excludes("--group")
      ->excludes("--y");

  a.regress = AddCommon(app, a, "regress", "Multiple linear regression by the sweep",
                        "orv regress data.csv --y mpg --x wt,hp");
  a.regress->add_option("--y", a.y, "The response")->type_name("COLUMN")->required();
  AddVariables(a.regress, a, "The predictors")->required();
  a.regress->add_flag("--through-origin", a.options.through_origin,
                      "Fit without the constant term");

  a.correlate =
      AddCommon(app, a, "correlate", "Pearson and Spearman correlations of the numeric columns",
                "orv correlate data.csv --pair mpg,wt --method both");
  a.correlate->add_option("--pair", a.pair, "The pair to plot (default: the strongest)")
      ->type_name("X,Y");
  a.correlate->add_option("--method", a.method, "pearson, spearman or both")
      ->check(CLI::IsMember({"pearson", "spearman", "both"}))
      ->capture_default_str();

  a.nonparametric = AddCommon(app, a, "nonparametric",
                              "Rank tests: Mann-Whitney U, Kruskal-Wallis, Wilcoxon signed-rank",
                              "orv nonparametric data.csv --x weight --group group");
  AddComparison(a.nonparametric, a, "Two groups (Mann-Whitney) or more (Kruskal-Wallis)");

  a.describe = AddCommon(app, a, "describe",
                         "Descriptive statistics per variable and group, frequencies, histogram",
                         "orv describe data.csv --group Species --variable \"Petal length\" "
                         "--bins-rule fd");
  AddVariables(a.describe, a, "The variables described (default: every numeric column)");
  a.describe->add_option("--group", a.group, "Describe each group of this column as well")
      ->type_name("COLUMN");
  a.describe
      ->add_option("--variable", a.variable,
                   "The variable of the frequency table and histogram (default: the first)")
      ->type_name("COLUMN");
  CLI::Option* rule = a.describe
                          ->add_option("--bins-rule", a.bin_rule,
                                       "How many bins: sturges or fd (Freedman-Diaconis)")
                          ->check(CLI::IsMember({"sturges", "fd"}))
                          ->capture_default_str();
  a.describe
      ->add_option("--bins", a.options.bins,
                   "This many equal bins from the smallest value to the largest")
      ->type_name("N")
      ->check(CLI::Range(1, 1000))
      ->excludes(rule);

  a.anova = AddCommon(app, a, "anova",
                      "One-way ANOVA with Brown-Forsythe, Welch and Tukey-Kramer comparisons",
                      "orv anova data.csv --x \"Sepal length\",\"Petal length\" --group Species");
  AddVariables(a.anova, a, "The variables compared")->required();
  a.anova->add_option("--group", a.group, "The groups")->type_name("COLUMN")->required();

  a.pca = AddCommon(app, a, "pca",
                    "Principal components of the correlation matrix, with component scores",
                    "orv pca data.csv --x \"Sepal length\",\"Sepal width\",\"Petal length\"");
  AddVariables(a.pca, a, "The variables (default: every numeric column)");
}

AnalysisCommands::~AnalysisCommands() = default;

bool AnalysisCommands::Parsed() const {
  const Args& a = *args_;
  return a.ttest->parsed() || a.regress->parsed() || a.correlate->parsed() ||
         a.nonparametric->parsed() || a.describe->parsed() || a.anova->parsed() || a.pca->parsed();
}

int AnalysisCommands::Run(std::ostream& out, std::ostream& err) const {
  const Args& a = *args_;
  CLI::App* command = a.nonparametric;
  for (CLI::App* c : {a.ttest, a.regress, a.correlate, a.describe, a.anova, a.pca})
    if (c->parsed()) command = c;
  const std::string name = command->get_name();
  Args run = a;
  if (run.output.empty()) run.output = name + ".xlsx";
  if (const std::string problem = OutputProblem(run, run.input); !problem.empty()) {
    err << "orv " << name << ": " << problem << '\n';
    return kExitUsage;
  }
  run.options.headers = !run.no_headers;
  run.options.missing = run.missing;
  run.options.method = run.method == "pearson"    ? analysis::Method::pearson
                       : run.method == "spearman" ? analysis::Method::spearman
                                                  : analysis::Method::both;
  run.options.bin_rule =
      run.bin_rule == "fd" ? analysis::BinRule::freedman_diaconis : analysis::BinRule::sturges;
  try {
    const LibrarySession session;
    ReportOptions input;
    if (!run.input.empty()) input.input = run.input;
    if (!run.separator.empty()) input.separator = SeparatorOf(run.separator);
    input.decimal_comma = run.decimal_comma;
    std::vector<std::string> notices;
    const excel::Workbook book = OpenInput(session.App(), input, notices);
    for (const std::string& n : notices) err << "orv " << name << ": note: " << n << '\n';
    const AnalysisPicks picks{run.sheet, run.range, run.y, run.group, run.pair, run.variable, run.x};
    const analysis::Selection picked = PickColumns(book, name, picks, run.options);

    const excel::Workbook result_book =
        run.append ? xlsx::OpenXlsx(session.App(), run.output) : session.App().Workbooks().Add();
    const analysis::Result result = AnalysisNamed(name)(picked, run.options, result_book);
    try {
      xlsx::SaveXlsx(result_book, run.output);
    } catch (const Error& e) {
      throw ReportFailure(e.Description, e, "xlsx::SaveXlsx");
    }
    for (const std::string& w : result.warnings)
      err << "orv " << name << ": warning: " << w << '\n';
    Print(out, result, run.output);
    return kExitOk;
  } catch (const ReportFailure& f) {
    err << "orv " << name << ": " << f.Message() << '\n';
  } catch (...) {
    err << "orv " << name << ": " << CurrentAsError().Description << '\n';
  }
  return kExitFailure;
}

}  // namespace orv::report
