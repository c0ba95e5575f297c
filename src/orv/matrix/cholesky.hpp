#pragma once
// The lower Cholesky factor, column by column, on row-major storage.
#include <cstddef>

#include "orv/frame/simd.hpp"

namespace orv::kernels {

// L (n x n, row-major, zero-filled on entry) with A = L * L' from the
// diagonal and lower triangle of a (n rows, `columns` columns, row-major):
// s(i, j) = sum over k < j of L(i, k) * L(j, k) in increasing k, then
// L(j, j) = sqrt(A(j, j) - s(j, j)) and L(i, j) = (A(i, j) - s(i, j)) / L(j, j)
// for i > j. A pivot A(j, j) - s(j, j) that is NaN or at most `zero` raises
// MXNotPositiveDefinite; the diagonal running past the last column is error
// 9; an infinite or NaN value anywhere else is error 6, each at the column
// where the plain algorithm meets it.
void CholeskyFactor(const double* a, std::size_t columns, std::size_t n, double zero, double* L,
                    InstructionSet set = BestInstructionSet());

}  // namespace orv::kernels
