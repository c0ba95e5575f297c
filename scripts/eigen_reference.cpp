// Writes reference eigenvalues of a few symmetric matrices, computed by
// LAPACK's dsyev, to tests/data/eigen_dsyev_reference.csv. Run once when the
// cases change:
//
//   g++ -O2 -std=c++20 scripts/eigen_reference.cpp -llapack -o /tmp/eigen_reference
//   /tmp/eigen_reference > tests/data/eigen_dsyev_reference.csv
//
// Format (one table a line: "name,rows,columns," and the elements row by
// row), per case: "dsyev.<name>.in", the matrix, and
// "dsyev.<name>.eigenvalues", its eigenvalues in ascending order. Numbers are
// written with 17 significant digits, so they read back as the same doubles.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" void dsyev_(const char* jobz, const char* uplo, const int* n, double* a, const int* lda,
                       double* w, double* work, const int* lwork, int* info);

namespace {

using Matrix = std::vector<std::vector<double>>;

// splitmix64: a fixed, portable sequence of uniform doubles in [-1, 1).
struct Uniform {
  std::uint64_t state;
  double operator()() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * 0x1p-52 - 1.0;
  }
};

Matrix Data(Uniform& u, int rows, int cols) {
  Matrix x(rows, std::vector<double>(cols));
  for (auto& row : x)
    for (auto& v : row) v = u();
  return x;
}

// X^T X (or X X^T when `outer`).
Matrix Gram(const Matrix& x, bool outer) {
  const int r = static_cast<int>(x.size()), c = static_cast<int>(x[0].size());
  const int n = outer ? r : c;
  Matrix g(n, std::vector<double>(n, 0.0));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      for (int k = 0; k < (outer ? c : r); ++k)
        g[i][j] += outer ? x[i][k] * x[j][k] : x[k][i] * x[k][j];
  return g;
}

Matrix Correlation(const Matrix& x) {
  const int r = static_cast<int>(x.size()), c = static_cast<int>(x[0].size());
  Matrix centred = x;
  for (int j = 0; j < c; ++j) {
    double mean = 0;
    for (int i = 0; i < r; ++i) mean += x[i][j];
    mean /= r;
    for (int i = 0; i < r; ++i) centred[i][j] -= mean;
  }
  Matrix s = Gram(centred, false);
  Matrix corr = s;
  for (int i = 0; i < c; ++i)
    for (int j = 0; j < c; ++j) corr[i][j] = s[i][j] / std::sqrt(s[i][i] * s[j][j]);
  for (int i = 0; i < c; ++i) corr[i][i] = 1.0;
  return corr;
}

// Q diag(values) Q^T with Q from Gram-Schmidt on random columns.
Matrix WithSpectrum(Uniform& u, const std::vector<double>& values) {
  const int n = static_cast<int>(values.size());
  Matrix q = Data(u, n, n);
  for (int j = 0; j < n; ++j) {
    for (int k = 0; k < j; ++k) {
      double dot = 0;
      for (int i = 0; i < n; ++i) dot += q[i][j] * q[i][k];
      for (int i = 0; i < n; ++i) q[i][j] -= dot * q[i][k];
    }
    double norm = 0;
    for (int i = 0; i < n; ++i) norm += q[i][j] * q[i][j];
    norm = std::sqrt(norm);
    for (int i = 0; i < n; ++i) q[i][j] /= norm;
  }
  Matrix a(n, std::vector<double>(n, 0.0));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      for (int k = 0; k < n; ++k) a[i][j] += q[i][k] * values[k] * q[j][k];
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < i; ++j) a[i][j] = a[j][i];  // exactly symmetric
  return a;
}

void Emit(const std::string& name, const Matrix& a) {
  const int n = static_cast<int>(a.size());
  std::vector<double> packed(static_cast<std::size_t>(n) * n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) packed[static_cast<std::size_t>(j) * n + i] = a[i][j];
  std::vector<double> w(n);
  int lwork = -1, info = 0;
  double query = 0;
  dsyev_("N", "U", &n, packed.data(), &n, w.data(), &query, &lwork, &info);
  lwork = static_cast<int>(query);
  std::vector<double> work(lwork);
  dsyev_("N", "U", &n, packed.data(), &n, w.data(), work.data(), &lwork, &info);
  if (info != 0) {
    std::fprintf(stderr, "dsyev failed for %s: %d\n", name.c_str(), info);
    return;
  }
  std::printf("dsyev.%s.in,%d,%d", name.c_str(), n, n);
  for (const auto& row : a)
    for (double v : row) std::printf(",%.17g", v);
  std::printf("\ndsyev.%s.eigenvalues,1,%d", name.c_str(), n);
  for (double v : w) std::printf(",%.17g", v);
  std::printf("\n");
}

}  // namespace

int main() {
  Uniform u{20240611};
  {
    Matrix h(6, std::vector<double>(6));
    for (int i = 0; i < 6; ++i)
      for (int j = 0; j < 6; ++j) h[i][j] = 1.0 / (i + j + 1);
    Emit("hilbert6", h);
  }
  Emit("correlation12", Correlation(Data(u, 40, 12)));
  Emit("repeated8", WithSpectrum(u, {1, 1, 1, 2, 2, 3, 5, 5}));
  {
    Matrix x = Data(u, 10, 10);
    Matrix a = x;
    for (int i = 0; i < 10; ++i)
      for (int j = 0; j < 10; ++j) a[i][j] = (x[i][j] + x[j][i]) * 50.0;
    Emit("indefinite10", a);
  }
  Emit("rankdeficient15", Gram(Data(u, 15, 4), true));
  Emit("graded9", WithSpectrum(u, {-1e6, -3e3, -1, -1e-3, 0, 1e-4, 2, 7e2, 4e5}));
  Emit("correlation50", Correlation(Data(u, 200, 50)));
  return 0;
}
