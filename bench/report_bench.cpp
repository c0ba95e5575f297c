// `orv report` on a 100,000 x 10 numeric .csv against the floor any report
// of those data pays: reading the file and writing a workbook of the same
// data (OpenCsv + SaveXlsx). Both run in this process on the same file.
//
//   BM_Report_Ours/100000        orv report: read, validate, extract,
//                                compute, format, chart, save
//   BM_Report_CsvToXlsx/100000   OpenCsv + SaveXlsx of the same data
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "orv/excel/excel.hpp"
#include "orv/xlsx/xlsx.hpp"
#include "report.hpp"

namespace {

constexpr int kColumns = 10;

class Scratch {
 public:
  explicit Scratch(int rows) {
    std::string pattern = (std::filesystem::temp_directory_path() / "orv-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    dir_ = pattern;
    // Normal numbers of six significant digits, each column its own scale.
    std::mt19937_64 random(20240601);
    std::normal_distribution<double> normal;
    std::ofstream out(Csv());
    for (int j = 1; j <= kColumns; ++j) out << (j > 1 ? "," : "") << "x" << j;
    out << '\n';
    char field[32];
    for (int i = 0; i < rows; ++i) {
      for (int j = 0; j < kColumns; ++j) {
        std::snprintf(field, sizeof field, "%.6g", normal(random) * (j + 1) + j);
        out << (j ? "," : "") << field;
      }
      out << '\n';
    }
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  std::string Csv() const { return (dir_ / "data.csv").string(); }
  std::string Out(const char* name) const { return (dir_ / name).string(); }

 private:
  std::filesystem::path dir_;
};

const Scratch& Data(int rows) {
  static Scratch scratch(rows);
  return scratch;
}

void BM_Report_Ours(benchmark::State& state) {
  const Scratch& data = Data(static_cast<int>(state.range(0)));
  orv::report::ReportOptions options;
  options.input = data.Csv();
  options.output = data.Out("report.xlsx");
  for (auto _ : state) {
    std::ostringstream out, err;
    if (orv::report::RunReport(options, out, err) != 0) {
      state.SkipWithError(err.str().c_str());
      break;
    }
  }
}

void BM_Report_CsvToXlsx(benchmark::State& state) {
  const Scratch& data = Data(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    orv::excel::Application app;
    const orv::excel::Workbook book = orv::xlsx::OpenCsv(app, data.Csv());
    orv::xlsx::SaveXlsx(book, data.Out("data.xlsx"));
  }
}

// Alternating pairs, so that both see the same state of the machine.
BENCHMARK(BM_Report_Ours)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Report_CsvToXlsx)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
