// Round15 against the text round trip snprintf("%.15g") + strtod, one call per
// benchmark iteration (so the reported time is the time per call), over the same
// 4096 random doubles with magnitudes spread log-uniformly over 1e-30..1e30.
// BM_Round15AllMagnitudes_Ours uses uniform random bit patterns instead (every binary
// exponent, subnormals included).

#include <benchmark/benchmark.h>

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

void BM_Round15_Ours(benchmark::State& state) {
  const std::vector<double>& v = Inputs();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(orv::Round15(v[i]));
    i = (i + 1) & (kCount - 1);
  }
}
BENCHMARK(BM_Round15_Ours);

void BM_Round15AllMagnitudes_Ours(benchmark::State& state) {
  const std::vector<double>& v = AllMagnitudes();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(orv::Round15(v[i]));
    i = (i + 1) & (kCount - 1);
  }
}
BENCHMARK(BM_Round15AllMagnitudes_Ours);

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
BENCHMARK(BM_Round15_Text);

}  // namespace

BENCHMARK_MAIN();
