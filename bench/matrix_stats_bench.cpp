// CMatrix eigen decomposition, covariance/correlation and quicksort against
// their peers: LAPACK's dsyev, Eigen's centred cross-product, and std::sort
// of (key, row) pairs.
#include <benchmark/benchmark.h>

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "orv/matrix/CMatrix.hpp"

extern "C" void dsyev_(const char* jobz, const char* uplo, const int* n, double* a, const int* lda,
                       double* w, double* work, const int* lwork, int* info);

namespace {

using orv::Array;
using orv::CMatrix;
using orv::Long;

double Uniform(std::mt19937_64& gen) { return static_cast<double>(gen() >> 11) * 0x1p-53; }

CMatrix FromRows(const std::vector<double>& data, Long rows, Long cols) {
  Array<double> a(1, rows, 1, cols);
  std::copy(data.begin(), data.end(), a.data());
  CMatrix m;
  m.LetValues(a);
  return m;
}

// Data with a few common factors, so the variables correlate.
std::vector<double> FactorData(Long rows, Long cols, std::uint64_t seed) {
  std::mt19937_64 gen(seed);
  std::vector<double> x(static_cast<std::size_t>(rows) * cols);
  for (Long i = 0; i < rows; ++i) {
    const double f1 = Uniform(gen) - 0.5, f2 = Uniform(gen) - 0.5;
    for (Long j = 0; j < cols; ++j)
      x[static_cast<std::size_t>(i) * cols + j] =
          (j % 3 == 0 ? f1 : 0.0) + (j % 5 == 0 ? f2 : 0.0) + 0.5 * (Uniform(gen) - 0.5) + j;
  }
  return x;
}

// Sweeps the cyclic Jacobi method needs for `a` (n x n, row-major): the
// documented steps, counted once outside the timed loop.
int JacobiSweeps(std::vector<double> a, int n) {
  std::vector<double> d(n), b(n), z(n, 0.0);
  for (int i = 0; i < n; ++i) b[i] = d[i] = a[i * n + i];
  for (int sweep = 1; sweep <= 50; ++sweep) {
    double sm = 0;
    for (int p = 0; p < n - 1; ++p)
      for (int q = p + 1; q < n; ++q) sm += std::fabs(a[p * n + q]);
    if (sm < 1e-12) return sweep;
    const double tresh = sweep <= 3 ? 0.2 * sm / (static_cast<double>(n) * n) : 0.0;
    for (int p = 0; p < n - 1; ++p)
      for (int q = p + 1; q < n; ++q) {
        double& apq = a[p * n + q];
        const double g = 100 * std::fabs(apq);
        if (sweep > 4 && std::fabs(d[p]) + g == std::fabs(d[p]) &&
            std::fabs(d[q]) + g == std::fabs(d[q])) {
          apq = 0;
          continue;
        }
        if (std::fabs(apq) <= tresh) continue;
        double h = d[q] - d[p], t;
        if (std::fabs(h) + g == std::fabs(h)) {
          t = apq / h;
        } else {
          const double theta = 0.5 * h / apq;
          t = 1 / (std::fabs(theta) + std::sqrt(1 + theta * theta));
          if (theta < 0) t = -t;
        }
        const double c = 1 / std::sqrt(1 + t * t), s = t * c, tau = s / (1 + c);
        h = t * apq;
        z[p] -= h;
        z[q] += h;
        d[p] -= h;
        d[q] += h;
        apq = 0;
        auto R = [&](double& x, double& y) {
          const double x0 = x, y0 = y;
          x = x0 - s * (y0 + x0 * tau);
          y = y0 + s * (x0 - y0 * tau);
        };
        for (int j = 0; j < p; ++j) R(a[j * n + p], a[j * n + q]);
        for (int j = p + 1; j < q; ++j) R(a[p * n + j], a[j * n + q]);
        for (int j = q + 1; j < n; ++j) R(a[p * n + j], a[q * n + j]);
      }
    for (int i = 0; i < n; ++i) {
      b[i] += z[i];
      d[i] = b[i];
      z[i] = 0;
    }
  }
  return 51;
}

// The correlation matrix of 4n cases of n correlated variables.
CMatrix CorrelationMatrix(int n) {
  return FromRows(FactorData(4 * n, n, 99), 4 * n, n).Correlation();
}

void BM_Eigen_Ours(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const CMatrix r = CorrelationMatrix(n);
  for (auto _ : state) benchmark::DoNotOptimize(r.EigenValuesAndVectors());
  // Counted once per size (slow at 1000), not once per repetition.
  static std::map<int, int> sweeps;
  if (!sweeps.count(n)) {
    const Array<double> values = r.Values();
    sweeps[n] = JacobiSweeps(std::vector<double>(values.data(), values.data() + values.size()), n);
  }
  state.counters["sweeps"] = sweeps[n];
}

void BM_Eigen_Lapack(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Array<double> values = CorrelationMatrix(n).Values();
  const std::vector<double> a(values.data(), values.data() + values.size());
  std::vector<double> work_a(a.size()), w(n);
  int lwork = -1, info = 0;
  double query = 0;
  dsyev_("V", "U", &n, work_a.data(), &n, w.data(), &query, &lwork, &info);
  lwork = static_cast<int>(query);
  std::vector<double> work(lwork);
  for (auto _ : state) {
    work_a = a;  // symmetric: row-major and column-major are the same
    dsyev_("V", "U", &n, work_a.data(), &n, w.data(), work.data(), &lwork, &info);
    benchmark::DoNotOptimize(w.data());
  }
  if (info != 0) state.SkipWithError("dsyev failed");
}

BENCHMARK(BM_Eigen_Ours)->Arg(50)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Eigen_Lapack)->Arg(50)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

constexpr Long kVariables = 20;
using RowMajor = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;

struct CovarianceData {
  Long rows;
  std::vector<double> x;
  CMatrix m;
  explicit CovarianceData(Long r)
      : rows(r), x(FactorData(r, kVariables, 7)), m(FromRows(x, r, kVariables)) {}
};

void BM_Covariance_Ours(benchmark::State& state) {
  const CovarianceData data(static_cast<Long>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(data.m.Covariance());
}

Eigen::MatrixXd EigenCovariance(const Eigen::Map<const RowMajor>& x) {
  const Eigen::RowVectorXd mean = x.colwise().mean();
  const RowMajor centred = x.rowwise() - mean;
  return (centred.transpose() * centred) / static_cast<double>(x.rows() - 1);
}

void BM_Covariance_Eigen(benchmark::State& state) {
  const CovarianceData data(static_cast<Long>(state.range(0)));
  const Eigen::Map<const RowMajor> x(data.x.data(), data.rows, kVariables);
  for (auto _ : state) benchmark::DoNotOptimize(EigenCovariance(x));
}

void BM_Correlation_Ours(benchmark::State& state) {
  const CovarianceData data(static_cast<Long>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(data.m.Correlation());
}

void BM_Correlation_Eigen(benchmark::State& state) {
  const CovarianceData data(static_cast<Long>(state.range(0)));
  const Eigen::Map<const RowMajor> x(data.x.data(), data.rows, kVariables);
  for (auto _ : state) {
    const Eigen::MatrixXd s = EigenCovariance(x);
    const Eigen::VectorXd d = s.diagonal().cwiseSqrt().cwiseInverse();
    const Eigen::MatrixXd r = d.asDiagonal() * s * d.asDiagonal();
    benchmark::DoNotOptimize(r.data());
  }
}

// 10^4 to 10^6 cases of the 20 variables.
void CaseCounts(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Covariance_Ours)->Apply(CaseCounts);
BENCHMARK(BM_Covariance_Eigen)->Apply(CaseCounts);
BENCHMARK(BM_Correlation_Ours)->Apply(CaseCounts);
BENCHMARK(BM_Correlation_Eigen)->Apply(CaseCounts);

// 1,000,000 x 3 with the key in column 1: random, or ascending and distinct.
struct SortData {
  Long rows;
  std::vector<double> x;
  CMatrix m;
  SortData(Long r, bool sorted) : rows(r), x(static_cast<std::size_t>(r) * 3) {
    std::mt19937_64 gen(5);
    for (Long i = 0; i < r; ++i) {
      x[3 * i] = sorted ? static_cast<double>(i) * 0.5 : Uniform(gen);
      x[3 * i + 1] = i;
      x[3 * i + 2] = Uniform(gen);
    }
    m = FromRows(x, r, 3);
  }
};

void SortOurs(benchmark::State& state, bool sorted) {
  const SortData data(static_cast<Long>(state.range(0)), sorted);
  for (auto _ : state) benchmark::DoNotOptimize(data.m.QuickSort());
}

void SortPairs(benchmark::State& state, bool sorted) {
  const SortData data(static_cast<Long>(state.range(0)), sorted);
  std::vector<std::pair<double, std::int32_t>> pairs(static_cast<std::size_t>(data.rows));
  for (auto _ : state) {
    for (Long i = 0; i < data.rows; ++i) pairs[i] = {data.x[3 * i], i};
    std::sort(pairs.begin(), pairs.end());
    benchmark::DoNotOptimize(pairs.data());
  }
}

void BM_QuickSortRandom_Ours(benchmark::State& state) { SortOurs(state, false); }
void BM_QuickSortRandom_StdSort(benchmark::State& state) { SortPairs(state, false); }
void BM_QuickSortSorted_Ours(benchmark::State& state) { SortOurs(state, true); }
void BM_QuickSortSorted_StdSort(benchmark::State& state) { SortPairs(state, true); }

BENCHMARK(BM_QuickSortRandom_Ours)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickSortRandom_StdSort)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickSortSorted_Ours)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuickSortSorted_StdSort)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
