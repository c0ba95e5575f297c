// clsMatrix.QuickSort by rows against std::sort of (key, row) pairs.
//
// Both sides start every iteration from the same unsorted data (restored
// outside the timing); ours reorders whole rows of a (1 To n, 1 To 3) array
// in place, the peer sorts the pairs that an index sort would use.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "orv/arrays/clsMatrix.hpp"

namespace {

using orv::Array;
using orv::Long;

enum class Keys { Random, Sorted };

Array<double> MakeRows(Long n, Keys keys) {
  std::mt19937_64 rng(2024);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  Array<double> a(1, n, 1, 3);
  for (Long i = 1; i <= n; ++i) {
    a.At(i, 1) = keys == Keys::Random ? u(rng) : static_cast<double>(i);
    a.At(i, 2) = i;
    a.At(i, 3) = u(rng);
  }
  return a;
}

void QuickSortOurs(benchmark::State& state, Keys keys) {
  const Long n = static_cast<Long>(state.range(0));
  const Array<double> original = MakeRows(n, keys);
  const orv::clsMatrix m;
  Array<double> work;
  for (auto _ : state) {
    state.PauseTiming();
    work = original;
    state.ResumeTiming();
    m.QuickSort(work, orv::orvSortAscending, orv::orvSortRows, 1);
    benchmark::DoNotOptimize(work.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void QuickSortStdSort(benchmark::State& state, Keys keys) {
  const Long n = static_cast<Long>(state.range(0));
  const Array<double> original = MakeRows(n, keys);
  std::vector<std::pair<double, std::int64_t>> pairs(static_cast<std::size_t>(n));
  for (auto _ : state) {
    state.PauseTiming();
    for (Long i = 1; i <= n; ++i) pairs[static_cast<std::size_t>(i - 1)] = {original.At(i, 1), i};
    state.ResumeTiming();
    std::sort(pairs.begin(), pairs.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    benchmark::DoNotOptimize(pairs.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_QuickSortRows_Ours(benchmark::State& state) { QuickSortOurs(state, Keys::Random); }
void BM_QuickSortRows_StdSort(benchmark::State& state) { QuickSortStdSort(state, Keys::Random); }
void BM_QuickSortRowsSorted_Ours(benchmark::State& state) { QuickSortOurs(state, Keys::Sorted); }
void BM_QuickSortRowsSorted_StdSort(benchmark::State& state) {
  QuickSortStdSort(state, Keys::Sorted);
}

BENCHMARK(BM_QuickSortRows_Ours)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickSortRows_StdSort)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickSortRowsSorted_Ours)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickSortRowsSorted_StdSort)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
