// The workbook's storage and readers against plain vectors of doubles.
//
//   BM_ReadNumericData_Ours/1000000      clsMatrix.ReturnHeadersAndNumericData
//                                        over A1:T1000000 (20 columns of numbers)
//   BM_ReadNumericData_VectorCopy/...    copying the same 20,000,000 doubles
//                                        out of a std::vector<double>
//   BM_Count_Ours / BM_Count_Loop        WorksheetFunction.Count of one
//                                        1,000,000-row column / a loop
//   BM_Var_Ours / BM_Var_Loop            WorksheetFunction.Var / the same
//                                        two passes over a vector (nothing
//                                        kept about the column between calls)
// The counters bytes_per_cell (heap in use for the sheet, from mallinfo2)
// and rss_bytes_per_cell (growth of the peak resident set) report what the
// 1,000,000 x 20 sheet costs.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <cmath>
#include <memory>
#include <vector>

#include "orv/arrays/clsMatrix.hpp"
#include "orv/excel/excel.hpp"
#include "orv/output/clsMain.hpp"

namespace {

constexpr int kRows = 1000000;
constexpr int kColumns = 20;

double CellValue(int r, int c) { return std::sin(r * 0.001 + c) * 100.0 + r % 7; }

long PeakRss() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss * 1024L;
}

struct Sheet {
  orv::excel::Application app;
  orv::excel::Worksheet sheet;
  double heap_per_cell = 0, rss_per_cell = 0;
  Sheet() {
    app.Workbooks().Add();
    sheet = app.ActiveSheet();
    long rss_before = PeakRss();
    std::size_t heap_before = mallinfo2().uordblks;
    constexpr int kBlock = 8192;
    for (int top = 1; top <= kRows; top += kBlock) {
      int rows = std::min(kBlock, kRows - top + 1);
      orv::Array<double> block(1, rows, 1, kColumns);
      for (int i = 1; i <= rows; ++i)
        for (int j = 1; j <= kColumns; ++j) block.At(i, j) = CellValue(top + i - 1, j);
      sheet.Range(sheet.Cells(top, 1), sheet.Cells(top + rows - 1, kColumns))
          .LetValue(orv::Variant(std::move(block)));
    }
    double cells = double(kRows) * kColumns;
    heap_per_cell = double(mallinfo2().uordblks - heap_before) / cells;
    rss_per_cell = double(PeakRss() - rss_before) / cells;
    orv::Global<orv::clsMain>().SetExcel(app);
  }
};

Sheet& TheSheet() {
  static Sheet sheet;
  return sheet;
}

const std::vector<double>& TheVector() {
  static std::vector<double> v = [] {
    std::vector<double> out(std::size_t(kRows) * kColumns);
    for (int i = 0; i < kRows; ++i)
      for (int j = 0; j < kColumns; ++j)
        out[std::size_t(i) * kColumns + j] = CellValue(i + 1, j + 1);
    return out;
  }();
  return v;
}

void BM_ReadNumericData_Ours(benchmark::State& state) {
  Sheet& s = TheSheet();
  orv::excel::Range range =
      s.sheet.Range(s.sheet.Cells(1, 1), s.sheet.Cells(int(state.range(0)), kColumns));
  orv::clsMatrix m;
  for (auto _ : state) {
    orv::Variant out = m.ReturnHeadersAndNumericData(range, false);
    benchmark::DoNotOptimize(out);
  }
  state.counters["bytes_per_cell"] = s.heap_per_cell;
  state.counters["rss_bytes_per_cell"] = s.rss_per_cell;
}
BENCHMARK(BM_ReadNumericData_Ours)->Arg(kRows)->Unit(benchmark::kMillisecond);

void BM_ReadNumericData_VectorCopy(benchmark::State& state) {
  const std::vector<double>& v = TheVector();
  std::size_t n = std::size_t(state.range(0)) * kColumns;
  for (auto _ : state) {
    std::vector<double> copy(v.begin(), v.begin() + std::ptrdiff_t(n));
    benchmark::DoNotOptimize(copy.data());
  }
}
BENCHMARK(BM_ReadNumericData_VectorCopy)->Arg(kRows)->Unit(benchmark::kMillisecond);

void BM_Count_Ours(benchmark::State& state) {
  Sheet& s = TheSheet();
  orv::excel::Range column =
      s.sheet.Range(s.sheet.Cells(1, 1), s.sheet.Cells(int(state.range(0)), 1));
  orv::excel::WorksheetFunction wf = s.app.WorksheetFunction();
  for (auto _ : state) benchmark::DoNotOptimize(wf.Count(column));
}
BENCHMARK(BM_Count_Ours)->Arg(kRows)->Unit(benchmark::kMicrosecond);

std::vector<double> Column() {
  std::vector<double> v(kRows);
  for (int i = 0; i < kRows; ++i) v[std::size_t(i)] = CellValue(i + 1, 1);
  return v;
}

void BM_Count_Loop(benchmark::State& state) {
  static const std::vector<double> v = Column();
  for (auto _ : state) {
    double n = 0;
    for (double x : v) n += std::isfinite(x) ? 1 : 0;
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(BM_Count_Loop)->Arg(kRows)->Unit(benchmark::kMicrosecond);

void BM_Var_Ours(benchmark::State& state) {
  Sheet& s = TheSheet();
  orv::excel::Range column =
      s.sheet.Range(s.sheet.Cells(1, 1), s.sheet.Cells(int(state.range(0)), 1));
  orv::excel::WorksheetFunction wf = s.app.WorksheetFunction();
  // A cell outside the column changes between calls: the sheet keeps the
  // column's sums until its cells change, and every call starts afresh.
  for (auto _ : state) {
    state.PauseTiming();
    s.sheet.Cells(1, kColumns + 2).LetValue(orv::Variant(double(state.iterations())));
    state.ResumeTiming();
    benchmark::DoNotOptimize(wf.Var(column));
  }
}
BENCHMARK(BM_Var_Ours)->Arg(kRows)->Unit(benchmark::kMicrosecond);

void BM_Var_Loop(benchmark::State& state) {
  static const std::vector<double> v = Column();
  for (auto _ : state) {
    double n = 0, sum = 0;
    for (double x : v) {
      n += 1;
      sum += x;
    }
    double mean = sum / n, ss = 0;
    for (double x : v) {
      double d = x - mean;
      ss += d * d;
    }
    benchmark::DoNotOptimize(ss / (n - 1));
  }
}
BENCHMARK(BM_Var_Loop)->Arg(kRows)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
