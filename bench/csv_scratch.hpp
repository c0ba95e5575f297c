#pragma once
// A scratch directory holding data.csv: `rows` cases of kColumns normal
// numbers of six significant digits (headers x1, x2, ...), each column its
// own scale, from a fixed seed; with `groups`, a last column "g" labelling
// each case "a" or "b" alternately. Removed with the object.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace orv::bench {

class CsvScratch {
 public:
  static constexpr int kColumns = 10;

  explicit CsvScratch(int rows, bool groups = false) {
    std::string pattern = (std::filesystem::temp_directory_path() / "orv-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    dir_ = pattern;
    std::mt19937_64 random(20240601);
    std::normal_distribution<double> normal;
    std::ofstream out(Csv());
    for (int j = 1; j <= kColumns; ++j) out << (j > 1 ? "," : "") << "x" << j;
    out << (groups ? ",g\n" : "\n");
    char field[32];
    for (int i = 0; i < rows; ++i) {
      for (int j = 0; j < kColumns; ++j) {
        std::snprintf(field, sizeof field, "%.6g", normal(random) * (j + 1) + j);
        out << (j ? "," : "") << field;
      }
      out << (groups ? (i % 2 ? ",b\n" : ",a\n") : "\n");
    }
  }
  ~CsvScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  CsvScratch(const CsvScratch&) = delete;
  CsvScratch& operator=(const CsvScratch&) = delete;

  std::string Csv() const { return (dir_ / "data.csv").string(); }
  std::string Out(const char* name) const { return (dir_ / name).string(); }

 private:
  std::filesystem::path dir_;
};

}  // namespace orv::bench
