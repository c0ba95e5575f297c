// Chart building against reading the same data.
//
//   BM_ScatterCreatePlot_Ours/1000000    clsPlotScatter.CreatePlot of B against
//                                        A (1,000,000 rows) with the fitted
//                                        line read back from its trendline
//                                        and 95% confidence bands
//   BM_ScatterCreatePlot_Reader/1000000  clsMatrix.ReturnHeadersAndNumericData
//                                        over the same two columns
//
// Each plot adds a chart object; it is deleted outside the timed region so
// that the sheet does not fill up with charts. A cell of the sheet is
// written there too, so that every plot starts with nothing kept about the
// cells (the sheet keeps sums of blocks of cells until they change).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "orv/arrays/clsMatrix.hpp"
#include "orv/charts/clsPlotScatter.hpp"
#include "orv/excel/excel.hpp"
#include "orv/output/clsMain.hpp"

namespace {

constexpr int kRows = 1000000;

struct Sheet {
  orv::excel::Application app;
  orv::excel::Worksheet sheet;
  Sheet() {
    app.Workbooks().Add();
    sheet = app.ActiveSheet();
    sheet.Cells(1, 1).LetValue(orv::Variant("Dose"));
    sheet.Cells(1, 2).LetValue(orv::Variant("Response"));
    constexpr int kBlock = 8192;
    for (int top = 1; top <= kRows; top += kBlock) {
      const int rows = std::min(kBlock, kRows - top + 1);
      orv::Array<double> block(1, rows, 1, 2);
      for (int i = 1; i <= rows; ++i) {
        const double x = (top + i - 1) * 0.001;
        block.At(i, 1) = x;
        block.At(i, 2) = 2.5 * x + 3 + std::sin(x * 37.0) * 4;
      }
      sheet.Range(sheet.Cells(top + 1, 1), sheet.Cells(top + rows, 2))
          .LetValue(orv::Variant(std::move(block)));
    }
  }
};

Sheet& TheSheet() {
  static Sheet sheet;
  orv::clsMain().SetExcel(sheet.app);
  return sheet;
}

void BM_ScatterCreatePlot_Ours(benchmark::State& state) {
  Sheet& s = TheSheet();
  const int rows = int(state.range(0));
  orv::clsPlotScatter plot;
  plot.SetXValues(s.sheet.Range(s.sheet.Cells(2, 1), s.sheet.Cells(rows + 1, 1)));
  plot.SetYValues(s.sheet.Range(s.sheet.Cells(2, 2), s.sheet.Cells(rows + 1, 2)));
  plot.SetOutputRange(s.sheet.Range("D2"));
  plot.LetChartTitle("Response by dose");
  plot.LetRegression(orv::ORVPSRegCalculate);
  plot.LetConfidenceLimits(95);
  for (auto _ : state) {
    plot.CreatePlot();
    state.PauseTiming();
    s.sheet.ChartObjects(1).Delete();
    s.sheet.Cells(1, 4).LetValue(orv::Variant(double(state.iterations())));
    state.ResumeTiming();
  }
  state.counters["slope"] = plot.Slope();
}
BENCHMARK(BM_ScatterCreatePlot_Ours)->Arg(kRows)->Unit(benchmark::kMillisecond);

void BM_ScatterCreatePlot_Reader(benchmark::State& state) {
  Sheet& s = TheSheet();
  const int rows = int(state.range(0));
  const orv::excel::Range range = s.sheet.Range(s.sheet.Cells(1, 1), s.sheet.Cells(rows + 1, 2));
  orv::clsMatrix m;
  for (auto _ : state) {
    orv::Variant out = m.ReturnHeadersAndNumericData(range, true);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_ScatterCreatePlot_Reader)->Arg(kRows)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
