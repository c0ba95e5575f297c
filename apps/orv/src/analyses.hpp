#pragma once
// `orv describe`, `orv ttest`, `orv regress`, `orv correlate`, `orv
// nonparametric`, `orv anova` and `orv pca`: one analysis of the library's
// analysis layer on picked columns, written to a sheet of an .xlsx workbook
// and summarised on standard output.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

namespace orv::report {

class AnalysisCommands {
 public:
  // Adds the subcommands and their options to `app`.
  explicit AnalysisCommands(CLI::App& app);
  ~AnalysisCommands();
  // Whether the command line chose one of them.
  bool Parsed() const;
  // Runs the chosen one: 0 done, 1 the input or the analysis failed
  // (nothing written), 2 a wrong option value.
  int Run(std::ostream& out, std::ostream& err) const;

  // The parsed command line (defined with the implementation).
  struct Args;

 private:
  std::unique_ptr<Args> args_;
};

}  // namespace orv::report
