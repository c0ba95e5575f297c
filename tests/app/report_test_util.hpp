#pragma once
// What the report tests share: a scratch directory, running the command
// line in-process, reading a written report's tables back, and the
// reference values computed with R (scripts/make_report_reference.R).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli.hpp"
#include "orv/excel/excel.hpp"
#include "orv/frame/frame.hpp"

namespace orv::report::testing {

// A directory of its own, removed with its contents.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orv-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  // The names of the files in it, sorted.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path_))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // Writes a text file and returns its path.
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
    return (path_ / name).string();
  }

 private:
  std::filesystem::path path_;
};

inline bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

struct Outcome {
  int status = -1;
  std::string out, err;
};

// `orv <args...>` in this process.
inline Outcome Orv(std::vector<std::string> args) {
  args.insert(args.begin(), "orv");
  std::ostringstream out, err;
  Outcome r;
  r.status = RunCli(args, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

// A table of the Report sheet: the header row and the rows under it, up
// to the first blank row.
struct SheetTable {
  Long row = 0;  // of the title
  std::vector<std::string> headers;
  std::vector<std::vector<Variant>> rows;

  double Number(std::size_t r, std::size_t c) const {
    const Variant& v = rows.at(r).at(c);
    if (!v.IsNumber()) ADD_FAILURE() << "row " << r << ", column " << c << " is no number";
    return v.IsNumber() ? v.AsDouble() : 0.0;
  }
  std::string Text(std::size_t r, std::size_t c) const {
    const Variant& v = rows.at(r).at(c);
    return v.IsString() ? v.AsString() : std::string();
  }
};

// Finds the table titled `title` in column A; fails the test when absent.
inline SheetTable ReadTable(const excel::Worksheet& sheet, const std::string& title) {
  SheetTable t;
  const excel::Range used = sheet.UsedRange();
  const Long last = used.Row() + used.Rows().Count() - 1;
  for (Long r = 1; r <= last && t.row == 0; ++r) {
    const Variant v = sheet.Cells(r, 1).Value();
    if (v.IsString() && v.AsString() == title) t.row = r;
  }
  if (t.row == 0) {
    ADD_FAILURE() << "no table titled \"" << title << "\"";
    return t;
  }
  Long width = 0;
  while (!sheet.Cells(t.row + 1, width + 1).Value().IsEmpty()) {
    t.headers.push_back(CStr(sheet.Cells(t.row + 1, width + 1).Value()));
    ++width;
  }
  for (Long r = t.row + 2;; ++r) {
    std::vector<Variant> row;
    bool blank = true;
    for (Long c = 1; c <= width; ++c) {
      row.push_back(sheet.Cells(r, c).Value());
      if (!row.back().IsEmpty()) blank = false;
    }
    if (blank) break;
    t.rows.push_back(std::move(row));
  }
  return t;
}

// One reference value computed with R.
struct Reference {
  std::string dataset, kind, variable, term;
  double value = 0;
};

inline std::vector<std::string> SplitCsvLine(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.push_back(field);
      field.clear();
    } else if (c != '\r') {
      field += c;
    }
  }
  fields.push_back(field);
  return fields;
}

// The references of one data set and kind, in the file's order.
inline std::vector<Reference> References(const std::string& dataset, const std::string& kind) {
  std::ifstream in(std::string(ORV_TEST_DATA_DIR) + "/report_reference.csv");
  if (!in) ADD_FAILURE() << "report_reference.csv is missing";
  std::vector<Reference> out;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const auto f = SplitCsvLine(line);
    if (f.size() != 5 || f[0] != dataset || f[1] != kind) continue;
    out.push_back({f[0], f[1], f[2], f[3], std::stod(f[4])});
  }
  return out;
}

inline std::string DataFile(const std::string& name) {
  return std::string(ORV_TEST_DATA_DIR) + "/" + name;
}

}  // namespace orv::report::testing
