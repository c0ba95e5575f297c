// `orv report` on a 100,000 x 10 numeric .csv against the floor any report
// of those data pays: reading the file and writing a workbook of the same
// data (OpenCsv + SaveXlsx). Both run in this process on the same file.
//
//   BM_Report_Ours/100000        orv report: read, validate, extract,
//                                compute, format, chart, save
//   BM_Report_CsvToXlsx/100000   OpenCsv + SaveXlsx of the same data
#include <benchmark/benchmark.h>

#include <sstream>

#include "csv_scratch.hpp"
#include "orv/excel/excel.hpp"
#include "orv/xlsx/xlsx.hpp"
#include "report.hpp"

namespace {

using Scratch = orv::bench::CsvScratch;

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
