// The analyses on an in-memory workbook of N cases of 10 normal variables
// and a two-group column, against the I/O a user of them pays anyway:
// reading the same data from a .csv file and writing them to a workbook
// (OpenCsv + SaveXlsx, as bench/report_bench.cpp measures it).
//
//   BM_AnalysisTTest_Ours/N       x1 by g: pooled and Welch
//   BM_AnalysisRegress_Ours/N     x10 on x1..x9
//   BM_AnalysisCorrelate_Ours/N   x1..x10, Pearson and Spearman
//   BM_AnalysisRankTest_Ours/N    x1 by g: Mann-Whitney U
//   BM_Analysis<Name>_CsvToXlsx/N OpenCsv + SaveXlsx of the same file
//
// Each analysis writes its sheet and charts to a new workbook, closed after
// every run. Sizes run in turn, smallest first, so that one data set is
// held at a time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "csv_scratch.hpp"
#include "orv/analysis/analysis.hpp"
#include "orv/excel/excel.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/xlsx/xlsx.hpp"

namespace {

using namespace orv;
using Run = analysis::Result (*)(const analysis::Selection&, const analysis::Options&,
                                 const excel::Workbook&);

// The data of one size: the .csv file and the workbook read from it.
struct Data {
  explicit Data(int rows) : scratch(rows, /*groups=*/true) {
    Global<clsMain>().SetExcel(app);
    const excel::Range all = xlsx::OpenCsv(app, scratch.Csv()).ActiveSheet().UsedRange();
    char name[16];
    for (int j = 1; j <= bench::CsvScratch::kColumns; ++j) {
      std::snprintf(name, sizeof name, "x%d", j);
      columns.push_back(analysis::FindColumn(all, name));
    }
    group = analysis::FindColumn(all, "g");
  }
  ~Data() { Global<clsMain>().SetExcel(excel::Application(Nothing)); }

  bench::CsvScratch scratch;
  excel::Application app;
  std::vector<excel::Range> columns;
  excel::Range group{Nothing};
};

// Released at the end of main, while the library's shared state lives.
std::unique_ptr<Data> held;

const Data& DataOf(int rows) {
  if (!held || held->columns[0].Rows().Count() != rows + 1) {
    held.reset();
    held = std::make_unique<Data>(rows);
  }
  return *held;
}

analysis::Selection Picked(const Data& d, const std::string& analysis) {
  analysis::Selection s;
  if (analysis == "Regress") {
    s.x.assign(d.columns.begin(), d.columns.end() - 1);
    s.y = d.columns.back();
  } else if (analysis == "Correlate") {
    s.x = d.columns;
  } else {
    s.x = {d.columns.front()};
    s.group = d.group;
  }
  return s;
}

void Ours(benchmark::State& state, const std::string& analysis, Run run) {
  const Data& d = DataOf(static_cast<int>(state.range(0)));
  const analysis::Selection s = Picked(d, analysis);
  for (auto _ : state) {
    const excel::Workbook out = d.app.Workbooks().Add();
    try {
      benchmark::DoNotOptimize(run(s, {}, out));
    } catch (const Error& e) {
      state.SkipWithError(e.Description.c_str());
      break;
    }
    out.Close();
  }
}

void CsvToXlsx(benchmark::State& state) {
  const Data& d = DataOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    excel::Application app;
    const excel::Workbook book = xlsx::OpenCsv(app, d.scratch.Csv());
    xlsx::SaveXlsx(book, d.scratch.Out("data.xlsx"));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::pair<const char*, Run> analyses[] = {{"TTest", analysis::TTest},
                                                  {"Regress", analysis::Regress},
                                                  {"Correlate", analysis::Correlate},
                                                  {"RankTest", analysis::RankTest}};
  // Alternating pairs, so that both see the same state of the machine.
  for (const int rows : {10000, 100000, 1000000}) {
    const int iterations = rows >= 1000000 ? 2 : rows >= 100000 ? 5 : 20;
    for (const auto& [name, run] : analyses) {
      std::string ours = "BM_Analysis", peer;
      ours += name;
      peer = ours;
      ours += "_Ours";
      peer += "_CsvToXlsx";
      benchmark::RegisterBenchmark(ours.c_str(), Ours, std::string(name), run)
          ->Arg(rows)->Unit(benchmark::kMillisecond)->Iterations(iterations);
      benchmark::RegisterBenchmark(peer.c_str(), CsvToXlsx)
          ->Arg(rows)->Unit(benchmark::kMillisecond)->Iterations(iterations);
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  held.reset();
  return 0;
}
