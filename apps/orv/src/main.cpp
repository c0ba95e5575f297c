// orv: statistics reports from spreadsheet data, on the command line.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli.hpp"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv, argv + argc);
  return orv::report::RunCli(args, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
