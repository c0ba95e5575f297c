#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "excel/excel_test_util.hpp"
#include "orv/excel/excel.hpp"
#include "orv/xlsx/xlsx.hpp"

namespace xlsx_test {

// A folder of its own under the system's temporary folder, removed with
// everything in it.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orv_xlsx_XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The Python that has openpyxl: Debian's (python3-openpyxl) first. The
// tests that need it fail, loudly, without one.
inline std::string PythonWithOpenpyxl() {
  for (const char* candidate : {"/usr/bin/python3", "python3"}) {
    std::string command = std::string(candidate) + " -c 'import openpyxl' >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0) return candidate;
  }
  return {};
}

// Runs the helper script with the arguments; its output, or a failure of
// the test when it cannot run.
inline std::string RunTool(const std::string& arguments, const TempDir& dir) {
  std::string python = PythonWithOpenpyxl();
  if (python.empty()) {
    ADD_FAILURE() << "python3 with openpyxl is required for this test "
                     "(apt-get install python3-openpyxl)";
    return {};
  }
  std::string out = dir / "tool_output.txt";
  std::string command = python + " " + ORV_TEST_DATA_DIR + "/../xlsx/workbook_tool.py " +
                        arguments + " > '" + out + "' 2>&1";
  int status = std::system(command.c_str());
  std::string text = ReadText(out);
  if (status != 0) ADD_FAILURE() << "workbook_tool.py " << arguments << " failed:\n" << text;
  return text;
}

// The inspected text holds the line (or the start of one).
#define EXPECT_SEEN(seen, line) EXPECT_NE((seen).find(line), std::string::npos) << (seen)

// The double's bits, so that comparisons tell -0 from 0.
inline std::uint64_t Bits(double d) {
  std::uint64_t u;
  std::memcpy(&u, &d, sizeof u);
  return u;
}

}  // namespace xlsx_test
