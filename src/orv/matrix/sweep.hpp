#pragma once
// Numerical kernels shared by CMatrix and clsMatrix, on row-major storage:
// element (i, j), 1-based, of an n x n block is a[(i - 1) * ld + (j - 1)].
// Each keeps its documented operation order; failures of the arithmetic
// (division by zero, overflow) are raised through the checked helpers.
#include <cstddef>

#include "orv/frame/simd.hpp"
#include "orv/frame/types.hpp"

namespace orv::kernels {

// Generalised inverse of a symmetric matrix by the sweep operator, in place:
// pivots k = 1..n in order, an exactly zero pivot zeroes its row and column,
// the lower triangle is updated with both terms rounded to 15 significant
// digits and values below `zero` in magnitude flushed to 0, mirrored to the
// upper triangle; finally every element is negated.
void Sweep(double* a, Long n, std::size_t ld, double zero);
// The same on a chosen instruction set (for tests; the results are the same).
void Sweep(double* a, Long n, std::size_t ld, double zero, InstructionSet set);

// Gaussian elimination in place with a row exchange only on an exactly zero
// pivot; returns the product of the pivots with the exchange signs (0 when
// a column has no non-zero pivot). No tolerance is applied.
double Determinant(double* a, Long n, std::size_t ld);

}  // namespace orv::kernels
