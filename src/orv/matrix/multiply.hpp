#pragma once
// The matrix-product kernel of CMatrix, on row-major storage.
//
// Every element of the result is accumulated exactly as the plain loop
//
//   for k = 0 .. depth - 1:  c(i, j) = c(i, j) + a(i, k) * b(k, j)
//
// does it: each product rounded on its own, then added to the running
// value, in increasing k, with no reassociation and no fused multiply-add.
// Speed comes from packing, register blocking and vectorising across j
// (SSE2 everywhere, AVX2 or AVX-512 when the processor has them), never from reordering
// an element's own sums.
#include <cstddef>

#include "orv/frame/simd.hpp"

namespace orv::kernels {

struct ConstMatrixView {
  const double* data;
  std::size_t ld;  // distance between consecutive rows
  // When set, the view holds the transpose: element (k, j) of the operand
  // is data[j * ld + k].
  bool transposed = false;
};

// c(i, j) += sum over k of a(i, k) * b(k, j), in increasing k, for
// i < rows, j < columns, k < depth. c(i, j) is c[i * ldc + j]; a zero-filled
// c gives the plain product. c must not overlap a or b.
void MultiplyAccumulate(std::size_t rows, std::size_t columns, std::size_t depth, ConstMatrixView a,
                        ConstMatrixView b, double* c, std::size_t ldc);

// y[r] = y[r] + x[r] * f for r < count: each product rounded, then added.
void AddMultiple(double* y, const double* x, double f, std::size_t count, InstructionSet set);

// c[k] = c[k] + (x[b * ldx + k] * y[b * ldy]) / n for b = 0, 1, ..., count - 1
// in order, for every k < length: the terms of the cross products of centred
// data, each product rounded, divided, then added.
void AddScaledProducts(double* c, std::size_t length, const double* x, std::size_t ldx,
                       const double* y, std::size_t ldy, std::size_t count, double n,
                       InstructionSet set);

// MultiplyAccumulate uses the widest set this processor runs.
using orv::BestInstructionSet;
using orv::InstructionSet;
using orv::Name;

// The same product with a chosen set (one the processor runs), so that
// every path can be tested and measured on one machine.
void MultiplyAccumulate(std::size_t rows, std::size_t columns, std::size_t depth, ConstMatrixView a,
                        ConstMatrixView b, double* c, std::size_t ldc, InstructionSet set);

}  // namespace orv::kernels
