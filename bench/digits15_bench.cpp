// Round15 against the text round trip snprintf("%.15g") + strtod, one call per
// benchmark iteration (so the reported time is the time per call), over the same
// 4096 random doubles with magnitudes spread log-uniformly over 1e-30..1e30.
// BM_Round15AllMagnitudes_Ours uses uniform random bit patterns instead (every binary
// exponent, subnormals included).
//
// BM_Round15Throughput_Ours rounds a whole array of 4096 independent values
// (log-uniform over 1e-8..1e12, mixed signs) per iteration, as a sweep over a
// matrix does; the "per_call" counter is the time per Round15 call.
// BM_Round15ThroughputMany_Ours/<set> rounds it with Round15Many on one instruction
// set; BM_Round15Throughput_Text does the same with the text round trip.
//
// With --benchmark_repetitions=N each benchmark also reports "_min", the fastest
// repetition: on a shared machine it is the least disturbed one.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "orv/frame/digits15.hpp"

namespace {

constexpr std::size_t kCount = 4096;  // a power of two: the index wraps with a mask

const std::vector<double>& Inputs() {
  static const std::vector<double> inputs = [] {
    std::mt19937_64 rng(20240615);
    std::uniform_real_distribution<double> exponent(-30.0, 30.0);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::vector<double> v(kCount);
    for (double& x : v) {
      x = mantissa(rng) * std::pow(10.0, std::floor(exponent(rng)));
      if ((rng() & 1) != 0) x = -x;
    }
    return v;
  }();
  return inputs;
}

const std::vector<double>& AllMagnitudes() {
  static const std::vector<double> inputs = [] {
    std::mt19937_64 rng(7);
    std::vector<double> v;
    while (v.size() < kCount) {
      const double x = std::bit_cast<double>(rng());
      if (std::isfinite(x)) v.push_back(x);
    }
    return v;
  }();
  return inputs;
}

const std::vector<double>& CommonMagnitudes() {
  static const std::vector<double> inputs = [] {
    std::mt19937_64 rng(20240616);
    std::uniform_real_distribution<double> exponent(-8.0, 12.0);
    std::vector<double> v(kCount);
    for (double& x : v) {
      x = std::pow(10.0, exponent(rng));
      if ((rng() & 1) != 0) x = -x;
    }
    return v;
  }();
  return inputs;
}

double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

void SetPerCall(benchmark::State& state) {
  // Iteration-invariant rate, inverted: seconds per processed value.
  state.counters["per_call"] = benchmark::Counter(
      static_cast<double>(kCount),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Round15Throughput_Ours(benchmark::State& state) {
  const std::vector<double>& v = CommonMagnitudes();
  std::vector<double> out(kCount);
  for (auto _ : state) {
    for (std::size_t i = 0; i < kCount; ++i) out[i] = orv::Round15(v[i]);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPerCall(state);
}
BENCHMARK(BM_Round15Throughput_Ours)->ComputeStatistics("min", Min);

// The same array through Round15Many on each instruction set the machine runs
// (0 = the scalar loop, 1 = AVX2, 2 = AVX-512): the vector paths of the sweep.
void BM_Round15ThroughputMany_Ours(benchmark::State& state) {
  const auto set = static_cast<orv::InstructionSet>(state.range(0));
  if (!orv::Supports(set)) {
    state.SkipWithError("not supported here");
    return;
  }
  const std::vector<double>& v = CommonMagnitudes();
  std::vector<double> out(kCount);
  for (auto _ : state) {
    orv::digits15_detail::Round15ManyVia(v.data(), out.data(), kCount, set);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetLabel(orv::Name(set));
  SetPerCall(state);
}
BENCHMARK(BM_Round15ThroughputMany_Ours)->DenseRange(0, 2)->ComputeStatistics("min", Min);

void BM_Round15Throughput_Text(benchmark::State& state) {
  const std::vector<double>& v = CommonMagnitudes();
  std::vector<double> out(kCount);
  char buf[32];
  for (auto _ : state) {
    for (std::size_t i = 0; i < kCount; ++i) {
      std::snprintf(buf, sizeof buf, "%.15g", v[i]);
      out[i] = std::strtod(buf, nullptr);
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPerCall(state);
}
BENCHMARK(BM_Round15Throughput_Text)->ComputeStatistics("min", Min);

void BM_Round15_Ours(benchmark::State& state) {
  const std::vector<double>& v = Inputs();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(orv::Round15(v[i]));
    i = (i + 1) & (kCount - 1);
  }
}
BENCHMARK(BM_Round15_Ours)->ComputeStatistics("min", Min);

void BM_Round15AllMagnitudes_Ours(benchmark::State& state) {
  const std::vector<double>& v = AllMagnitudes();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(orv::Round15(v[i]));
    i = (i + 1) & (kCount - 1);
  }
}
BENCHMARK(BM_Round15AllMagnitudes_Ours)->ComputeStatistics("min", Min);

void BM_Round15_Text(benchmark::State& state) {
  const std::vector<double>& v = Inputs();
  std::size_t i = 0;
  char buf[32];
  for (auto _ : state) {
    std::snprintf(buf, sizeof buf, "%.15g", v[i]);
    benchmark::DoNotOptimize(std::strtod(buf, nullptr));
    i = (i + 1) & (kCount - 1);
  }
}
BENCHMARK(BM_Round15_Text)->ComputeStatistics("min", Min);

}  // namespace

BENCHMARK_MAIN();
