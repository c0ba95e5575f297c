#pragma once
// The command line of `orv`: subcommands, options, --help and --version.
#include <ostream>
#include <string>
#include <vector>

namespace orv::report {

// Parses the arguments (argv[0] is the program's name) and runs the
// command. Returns the exit status: 0 on success (and for --help and
// --version), 1 when the report failed, 2 when the command line is wrong.
// `progress` shows the steps of long commands on `err`.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool progress = false);

// "tab", "\t", "semicolon", ";", ... as the one byte of a --separator;
// CLI::ValidationError for anything else.
char SeparatorOf(const std::string& text);

// The version of the project, "0.1.0".
std::string Version();

}  // namespace orv::report
