#pragma once
// `orv report`: read the data, analyse it with the library, write the
// report workbook atomically and summarise it on standard output.
#include <ostream>
#include <string>

#include "report_input.hpp"
#include "report_options.hpp"
#include "report_stats.hpp"
#include "report_writer.hpp"

namespace orv::report {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the input or the analysis failed
inline constexpr int kExitUsage = 2;    // the command line is wrong

// Runs the report. The summary goes to `out`; failures, warnings and (with
// `progress`) the steps go to `err`. On failure nothing is written.
int RunReport(const ReportOptions& options, std::ostream& out, std::ostream& err,
              bool progress = false);

// What is wrong with the options that the command line cannot check by
// itself (the level, the output's name), or empty.
std::string OptionProblem(const ReportOptions& options);

// The text summary of a finished report.
void PrintSummary(std::ostream& out, const ReportData& data, const Analysis& analysis,
                  const WrittenReport& written, const std::string& output);

}  // namespace orv::report
