// clsMatrix: the lower Cholesky factor, the in-place inverse of a symmetric
// positive-definite matrix, eigenvalues and eigenvectors by Jacobi
// rotations, and the determinant by Gaussian elimination.
#include <variant>
#include <vector>

#include "orv/arrays/clsMatrix.hpp"
#include "orv/arrays/clsMatrix_detail.hpp"
#include "orv/matrix/jacobi.hpp"
#include "orv/matrix/sweep.hpp"

namespace orv {

namespace {

using detail::Block;
using detail::NewMatrix;
using detail::RowOf;

constexpr Member kCholesky{Rule::Plain, "clsMatrix", "Cholesky"};

// --- in-place inverse of a symmetric positive-definite matrix ---------------
//
// a is the caller's array, read and written over (1 To n, 1 To n) with
// n = UBound(1). Each step returns false where it fails.

// The upper Cholesky factor U (a = U' U) in the upper triangle of a.
bool CholeskyFactorInPlace(Array<double>& a, Long n) {
  for (Long j = 1; j <= n; ++j) {
    double s = 0;
    for (Long k = 1; k < j; ++k) s = Add(s, Mul(a(k, j), a(k, j)));
    const double d = Sub(a(j, j), s);
    if (d <= 0) return false;
    a(j, j) = Sqrt(d);
    for (Long i = j + 1; i <= n; ++i) {
      s = 0;
      for (Long k = 1; k < j; ++k) s = Add(s, Mul(a(k, j), a(k, i)));
      a(j, i) = Mul(Sub(a(j, i), s), Div(1.0, a(j, j)));
    }
  }
  return true;
}

// Replaces U in the upper triangle of a by the upper triangle of
// (U' U)^-1 and mirrors it into the lower triangle. Two passes:
//
// 1. T = U^-1 in place, column by column (j = 1 To n): fail if U(j, j) is
//    exactly 0; T(j, j) = 1 / U(j, j); with w = U(1 To j - 1, j) saved,
//    T(i, j) = (sum over k = i To j - 1 of T(i, k) x w(k)) x -T(j, j) for
//    i = 1 To j - 1, the sum in increasing k. (The leading block already
//    holds T, and column j of the inverse of [U11 u; 0 ujj] is
//    -U11^-1 u / ujj.)
// 2. (U' U)^-1 = T T', row by row (i = 1 To n): with v = T(i, i To n)
//    saved, a(i, j) = sum over k = j To n of v(k) x T(j, k) for j = i To n,
//    in increasing k. Rows below i still hold T when row i is written.
bool InvertFromCholesky(Array<double>& a, Long n) {
  std::vector<double> w(static_cast<std::size_t>(n) + 1), v(static_cast<std::size_t>(n) + 1);
  for (Long j = 1; j <= n; ++j) {
    if (a(j, j) == 0) return false;
    a(j, j) = Div(1.0, a(j, j));
    const double minus_tjj = -a(j, j);
    for (Long k = 1; k < j; ++k) w[k] = a(k, j);
    for (Long i = 1; i < j; ++i) {
      double s = 0;
      for (Long k = i; k < j; ++k) s = Add(s, Mul(a(i, k), w[k]));
      a(i, j) = Mul(s, minus_tjj);
    }
  }
  for (Long i = 1; i <= n; ++i) {
    for (Long k = i; k <= n; ++k) v[k] = a(i, k);
    for (Long j = i; j <= n; ++j) {
      double s = 0;
      for (Long k = j; k <= n; ++k) s = Add(s, Mul(v[k], j == i ? v[k] : a(j, k)));
      a(i, j) = s;
    }
  }
  for (Long i = 1; i <= n; ++i)
    for (Long j = i + 1; j <= n; ++j) a(j, i) = a(i, j);
  return true;
}

}  // namespace

Array<double> clsMatrix::Cholesky(const Array<double>& InputMatrix) const {
  return Guard(kCholesky, [&](Line& line) {
    line = 10;
    Block<double> A(InputMatrix);
    const Long n = A.rows();
    Array<double> L = NewMatrix(n, n);
    line = 20;
    L.At(1, 1) = Sqrt(InputMatrix(1, 1));
    for (Long i = 2; i <= n; ++i) L.At(i, 1) = Div(InputMatrix(i, 1), L.At(1, 1));
    for (Long j = 2; j <= n; ++j) {
      line = 30;
      const double* lj = RowOf(L, j);
      double s = 0;
      for (Long k = 0; k < j - 1; ++k) s += lj[k] * lj[k];
      Finite(s);
      L.At(j, j) = Sqrt(std::fabs(Sub(InputMatrix(j, j), s)));
      line = 40;
      for (Long i = j + 1; i <= n; ++i) {
        const double* li = RowOf(L, i);
        s = 0;
        for (Long k = 0; k < j - 1; ++k) s += li[k] * lj[k];
        Finite(s);
        L.At(i, j) = Div(Sub(InputMatrix(i, j), s), L.At(j, j));
      }
    }
    return L;
  });
}

Boolean clsMatrix::MInv_SymmetricPositiveDefinite(ByRef<Array<double>> a) const {
  // Never raises: any failure is the answer False, with a holding the work
  // done until then.
  bool ok = false;
  ResumeNext([&] {
    Array<double>& m = *a;
    const Long n = m.UBound(1);
    ok = CholeskyFactorInPlace(m, n) && InvertFromCholesky(m, n);
  });
  return ok;
}

Array<double> clsMatrix::Eigen(const Array<double>& Eig) const {
  Block<double> m(Eig);
  const Long n = m.rows();
  Array<double> a = detail::CopyBlock(m, n, n);
  Array<double> result = NewMatrix(n + 1, n);
  std::vector<double> v(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
  kernels::Jacobi(a.data(), n, static_cast<std::size_t>(n), RowOf(result, 1), v.data(),
                  kernels::NanRule::Skip);
  for (Long i = 1; i <= n; ++i) {
    double* out = RowOf(result, i + 1);
    const double* src = v.data() + static_cast<std::size_t>(i - 1) * n;
    for (Long k = 0; k < n; ++k) out[k] = src[k];
  }
  return result;
}

Double clsMatrix::determinant(ByRef<Variant> Matrix) const {
  Variant& var = *Matrix;
  // The row count is held as a 16-bit integer.
  const Integer n = CInt(static_cast<double>(var.UBound(1)));
  return std::visit(
      [&](auto& array) -> double {
        using T = typename std::decay_t<decltype(array)>::value_type;
        if (array.Rank() != 2) Raise(kErrSubscript);
        if (n < 1) Raise(kErrSubscript);  // there is no element (1, 1)
        Block<T> block(array);
        block.Require(n, n);
        if constexpr (std::is_same_v<T, double>) {
          // In place on the caller's array.
          double* first = array.data() +
                          static_cast<std::size_t>(1 - array.LBound(1)) * block.ld() +
                          static_cast<std::size_t>(1 - array.LBound(2));
          return kernels::Determinant(first, n, block.ld());
        } else {
          // The elimination works on doubles; the reduced block is stored
          // back converted to the array's element type.
          std::vector<double> work(static_cast<std::size_t>(n) * n);
          for (Long i = 1; i <= n; ++i)
            for (Long j = 1; j <= n; ++j)
              work[static_cast<std::size_t>(i - 1) * n + (j - 1)] = CDbl(Variant(block(i, j)));
          const double det = kernels::Determinant(work.data(), n, static_cast<std::size_t>(n));
          for (Long i = 1; i <= n; ++i)
            for (Long j = 1; j <= n; ++j)
              var.SetElement(i, j, Variant(work[static_cast<std::size_t>(i - 1) * n + (j - 1)]));
          return det;
        }
      },
      var.AsArray());
}

}  // namespace orv
