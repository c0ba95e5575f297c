// Eigenvalues and eigenvectors of a symmetric CMatrix by cyclic Jacobi
// rotations.
#include <cstddef>
#include <utility>
#include <vector>

#include "orv/matrix/CMatrix.hpp"
#include "orv/matrix/CMatrix_state.hpp"
#include "orv/matrix/jacobi.hpp"

namespace orv {

namespace {
constexpr Member kEigenValuesAndVectors{Rule::None, "CMatrix", "EigenValuesAndVectors"};
}  // namespace

// Row 1 of the result holds the eigenvalues, rows 2..n+1 of each column its
// unit eigenvector; the columns are ordered by eigenvalue. Only the diagonal
// and the strict upper triangle of the receiver are read.
CMatrix CMatrix::EigenValuesAndVectors(ORVSortDirection SortOrder) const {
  const State& s = *state_;
  return Guard(kEigenValuesAndVectors, [&](Line& line) {
    line = 10;
    const Long n = s.rows;
    if (n < 1 || s.columns < n) Raise(kErrSubscript);
    const std::size_t N = static_cast<std::size_t>(n);
    const std::size_t width = static_cast<std::size_t>(s.columns);
    std::vector<double> a(N * N);
    for (std::size_t i = 0; i < N; ++i)
      for (std::size_t j = 0; j < N; ++j) a[i * N + j] = s.data.data()[i * width + j];
    std::vector<double> d(N), v(N * N);
    line = 20;
    kernels::Jacobi(a.data(), n, N, d.data(), v.data(), kernels::NanRule::Rotate);
    line = 30;
    Array<double> R(1, n + 1, 1, n);
    double* out = R.data();
    for (std::size_t j = 0; j < N; ++j) out[j] = d[j];
    for (std::size_t i = 0; i < N; ++i)
      for (std::size_t j = 0; j < N; ++j) out[(i + 1) * N + j] = v[i * N + j];
    line = 40;
    return FromArray(std::move(R)).QuickSort(ORVSortColumns, SortOrder, 1);
  });
}

}  // namespace orv
