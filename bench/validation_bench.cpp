// Validating an input range against reading it.
//
//   BM_ValidateInputRange_Ours/1000000    clsValidation.ValidateInputRange
//                                         over A1:T1000000 (20 columns of
//                                         whole numbers) with CheckVariance,
//                                         MustBeInt, MustBePos and
//                                         EvenColumnLengths
//   BM_ValidateInputRange_Reader/1000000  clsMatrix.ReturnHeadersAndNumericData
//                                         over the same range
// The validation must stay within a small multiple of the read that follows
// it in every analysis.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "orv/arrays/clsMatrix.hpp"
#include "orv/excel/excel.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/validation/clsValidation.hpp"

namespace {

constexpr int kRows = 1000000;
constexpr int kColumns = 20;

struct Sheet {
  orv::excel::Application app;
  orv::excel::Worksheet sheet;
  Sheet() {
    app.Workbooks().Add();
    sheet = app.ActiveSheet();
    constexpr int kBlock = 8192;
    for (int top = 1; top <= kRows; top += kBlock) {
      const int rows = std::min(kBlock, kRows - top + 1);
      orv::Array<double> block(1, rows, 1, kColumns);
      for (int i = 1; i <= rows; ++i)
        for (int j = 1; j <= kColumns; ++j)
          block.At(i, j) = static_cast<double>(((top + i - 1) * 7 + j * 13) % 1000);
      sheet.Range(sheet.Cells(top, 1), sheet.Cells(top + rows - 1, kColumns))
          .LetValue(orv::Variant(std::move(block)));
    }
    orv::Global<orv::clsMain>().SetExcel(app);
  }
  orv::excel::Range Data(int rows) const {
    return sheet.Range(sheet.Cells(1, 1), sheet.Cells(rows, kColumns));
  }
};

Sheet& TheSheet() {
  static Sheet sheet;
  return sheet;
}

void BM_ValidateInputRange_Ours(benchmark::State& state) {
  const orv::excel::Range range = TheSheet().Data(static_cast<int>(state.range(0)));
  const orv::clsValidation& v = orv::Global<orv::clsValidation>();
  for (auto _ : state) {
    orv::Integer columns = v.ValidateInputRange(range, false, true, true, true, false, true);
    benchmark::DoNotOptimize(columns);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * kColumns);
}
BENCHMARK(BM_ValidateInputRange_Ours)->Arg(kRows)->Unit(benchmark::kMillisecond);

void BM_ValidateInputRange_Reader(benchmark::State& state) {
  const orv::excel::Range range = TheSheet().Data(static_cast<int>(state.range(0)));
  const orv::clsMatrix m;
  for (auto _ : state) {
    orv::Variant out = m.ReturnHeadersAndNumericData(range, false);
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * kColumns);
}
BENCHMARK(BM_ValidateInputRange_Reader)->Arg(kRows)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
