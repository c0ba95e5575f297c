// CMatrix against Eigen: the matrix product, the generalised inverse by
// sweeping (also against the same sweep rounding through text) and the
// Cholesky factor. Pairs share a name stem: BM_<Workload>_Ours/<n> and
// BM_<Workload>_<Peer>/<n>.
#include <benchmark/benchmark.h>

#include <Eigen/Cholesky>
#include <Eigen/Dense>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "orv/matrix/CMatrix.hpp"

namespace {

using orv::Array;
using orv::CMatrix;
using orv::Long;

std::vector<double> RandomValues(std::size_t count, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> u(-1, 1);
  std::vector<double> v(count);
  for (double& x : v) x = u(rng);
  return v;
}

// X'X / n + I for a random n x n X: symmetric positive definite and well
// conditioned. Row-major.
std::vector<double> Spd(std::size_t n, unsigned seed) {
  const std::vector<double> x = RandomValues(n * n, seed);
  std::vector<double> a(n * n);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j) {
      double s = 0;
      for (std::size_t k = 0; k < n; ++k) s = s + x[k * n + i] * x[k * n + j];
      a[i * n + j] = s / static_cast<double>(n) + (i == j ? 1.0 : 0.0);
    }
  return a;
}

CMatrix ToCMatrix(const std::vector<double>& v, std::size_t rows, std::size_t columns) {
  Array<double> a(1, static_cast<Long>(rows), 1, static_cast<Long>(columns));
  a.storage() = v;
  CMatrix m;
  m.LetValues(a);
  return m;
}

Eigen::MatrixXd ToEigen(const std::vector<double>& v, std::size_t rows, std::size_t columns) {
  Eigen::MatrixXd m(rows, columns);
  for (std::size_t i = 0; i < rows; ++i)
    for (std::size_t j = 0; j < columns; ++j) m(i, j) = v[i * columns + j];
  return m;
}

// --- matrix product ---

void BM_Multiply_Ours(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const CMatrix a = ToCMatrix(RandomValues(n * n, 1), n, n);
  const CMatrix b = ToCMatrix(RandomValues(n * n, 2), n, n);
  for (auto _ : state) benchmark::DoNotOptimize(a.Multiply(b));
  state.counters["flops"] =
      benchmark::Counter(2.0 * n * n * n, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Multiply_Eigen(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const Eigen::MatrixXd a = ToEigen(RandomValues(n * n, 1), n, n);
  const Eigen::MatrixXd b = ToEigen(RandomValues(n * n, 2), n, n);
  for (auto _ : state) {
    Eigen::MatrixXd c = a * b;
    benchmark::DoNotOptimize(c.data());
  }
  state.counters["flops"] =
      benchmark::Counter(2.0 * n * n * n, benchmark::Counter::kIsIterationInvariantRate);
}

// OpenBLAS's serial dgemm, column-major: C = A B with the same values.
extern "C" void dgemm_(const char* transa, const char* transb, const int* m, const int* n,
                       const int* k, const double* alpha, const double* a, const int* lda,
                       const double* b, const int* ldb, const double* beta, double* c,
                       const int* ldc);

void BM_Multiply_OpenBLAS(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const std::vector<double> a = RandomValues(n * n, 1), b = RandomValues(n * n, 2);
  std::vector<double> c(n * n);
  const int size = static_cast<int>(n);
  const double one = 1, zero = 0;
  for (auto _ : state) {
    dgemm_("N", "N", &size, &size, &size, &one, a.data(), &size, b.data(), &size, &zero,
           c.data(), &size);
    benchmark::DoNotOptimize(c.data());
  }
  state.counters["flops"] =
      benchmark::Counter(2.0 * n * n * n, benchmark::Counter::kIsIterationInvariantRate);
}

// The sizes of every square workload: how the cost grows beside the peer's.
void SquareSizes(benchmark::internal::Benchmark* b) {
  for (int n : {50, 100, 300, 1000}) b->Arg(n);
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Multiply_Ours)->Apply(SquareSizes);
BENCHMARK(BM_Multiply_Eigen)->Apply(SquareSizes);
BENCHMARK(BM_Multiply_OpenBLAS)->Apply(SquareSizes);

// --- generalised inverse ---

// The reference: the same sweep, with the 15-digit rounding of both terms
// done through text as a direct reading of the algorithm would.
double RoundThroughText(double x) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", x);
  return std::strtod(text, nullptr);
}

std::vector<double> SweepThroughText(std::vector<double> a, std::size_t n, double zero) {
  auto A = [&](std::size_t i, std::size_t j) -> double& { return a[i * n + j]; };
  for (std::size_t k = 0; k < n; ++k) {
    if (A(k, k) == 0) {
      for (std::size_t j = 0; j < n; ++j) A(k, j) = A(j, k) = 0;
      continue;
    }
    A(k, k) = -1 / A(k, k);
    for (std::size_t j = 0; j < n; ++j) {
      if (j == k) continue;
      A(k, j) = -A(k, j) * A(k, k);
      A(j, k) = A(k, j);
    }
    for (std::size_t i = 0; i < n; ++i) {
      if (i == k) continue;
      for (std::size_t j = 0; j <= i; ++j) {
        if (j == k) continue;
        const double t = A(k, j) * A(i, k) / A(k, k);
        A(i, j) = RoundThroughText(A(i, j)) + RoundThroughText(t);
        if (std::fabs(A(i, j)) < zero) A(i, j) = 0;
        A(j, i) = A(i, j);
      }
    }
  }
  for (double& v : a) v = -v;
  return a;
}

void BM_GeneralInverse_Ours(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const CMatrix a = ToCMatrix(Spd(n, 3), n, n);
  for (auto _ : state) benchmark::DoNotOptimize(a.GeneralInverse());
}

void BM_GeneralInverse_Text(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const std::vector<double> a = Spd(n, 3);
  for (auto _ : state) benchmark::DoNotOptimize(SweepThroughText(a, n, 1e-20));
}

void BM_GeneralInverse_Eigen(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const Eigen::MatrixXd a = ToEigen(Spd(n, 3), n, n);
  for (auto _ : state) {
    Eigen::MatrixXd inverse = a.inverse();
    benchmark::DoNotOptimize(inverse.data());
  }
}

BENCHMARK(BM_GeneralInverse_Ours)->Apply(SquareSizes);
// Through text the sweep takes seconds at 300 and many minutes at 1000.
BENCHMARK(BM_GeneralInverse_Text)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GeneralInverse_Eigen)->Apply(SquareSizes);

// --- Cholesky factor ---

void BM_Cholesky_Ours(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const CMatrix a = ToCMatrix(Spd(n, 4), n, n);
  for (auto _ : state) benchmark::DoNotOptimize(a.Cholesky());
}

void BM_Cholesky_Eigen(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const Eigen::MatrixXd a = ToEigen(Spd(n, 4), n, n);
  for (auto _ : state) {
    Eigen::LLT<Eigen::MatrixXd> llt(a);
    benchmark::DoNotOptimize(llt.matrixLLT().data());
  }
}

BENCHMARK(BM_Cholesky_Ours)->Apply(SquareSizes)->Arg(500);
BENCHMARK(BM_Cholesky_Eigen)->Apply(SquareSizes)->Arg(500);

}  // namespace

BENCHMARK_MAIN();
