#pragma once
// Cyclic Jacobi rotations of a symmetric matrix, shared by CMatrix and
// clsMatrix. Row-major storage as in sweep.hpp.
#include <cstddef>

#include "orv/frame/simd.hpp"
#include "orv/frame/types.hpp"

namespace orv::kernels {

// What a rotation test does with a NaN element: CMatrix leaves an element
// alone when it is at or below the threshold (so a NaN is rotated),
// clsMatrix rotates only above it (so a NaN is left alone and the sweeps do
// not converge).
enum class NanRule { Rotate, Skip };

// Diagonalises the strict upper triangle and diagonal of the n x n block a
// (modified in place, the lower triangle overwritten with a mirror of the
// upper one). On return d[0..n-1] holds the eigenvalues in the order
// the rotations leave them and v (n x n, row-major, leading dimension n) the
// accumulated rotations: column j is the eigenvector of d[j]. More than 50
// sweeps raise the object-error base number (-2147221504) with the standard
// description; with finite input, an overflow of the rotations is error 6.
void Jacobi(double* a, Long n, std::size_t ld, double* d, double* v, NanRule nan_rule,
            InstructionSet set = BestInstructionSet());

}  // namespace orv::kernels
