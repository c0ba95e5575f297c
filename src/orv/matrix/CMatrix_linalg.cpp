// CMatrix: generalised inverse, determinant, Cholesky factor and the
// solution of symmetric positive definite systems.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "orv/matrix/CMatrix.hpp"
#include "orv/matrix/CMatrix_state.hpp"
#include "orv/matrix/cholesky.hpp"
#include "orv/matrix/multiply.hpp"
#include "orv/matrix/sweep.hpp"

namespace orv {
namespace {

constexpr Member kGeneralInverse{Rule::Plain, "CMatrix", "GeneralInverse"};
constexpr Member kDeterminant{Rule::None, "CMatrix", "Getdeterminant"};
constexpr Member kCholesky{Rule::Plain, "CMatrix", "Cholesky"};
constexpr Member kIsPositiveDefinite{Rule::Plain, "CMatrix", "IsPositiveDefinite"};
constexpr Member kSolveEquation{Rule::Chain, "CMatrix", "SolveEquation"};
constexpr Member kForwardSubstitution{Rule::Plain, "CMatrix", "ForwardSubstitution"};
constexpr Member kBackwardSubstitution{Rule::None, "CMatrix", "BackwardSubstitution"};

// A determinant smaller than this in magnitude is reported as 0.
constexpr double kDeterminantZero = 0.00000000001;
// The tolerance of the Cholesky factor behind IsPositiveDefinite and
// SolveEquation.
constexpr double kPositiveDefiniteZero = 1e-13;

using std::size_t;

inline size_t Z(Long n) { return static_cast<size_t>(n); }

}  // namespace

CMatrix CMatrix::GeneralInverse(Double ZERO) const {
  const State& s = *state_;
  return Guard(kGeneralInverse, [&](Line& line) {
    line = 10;
    Array<double> A = s.data;
    const Long n = s.rows;
    const size_t ld = Z(s.columns);
    line = 20;
    if (s.columns < n) {
      // The first pivot reaches past the last column: zeroing its row, or
      // scaling it after the pivot's own reciprocal.
      const double* a = A.data();
      if (a[0] != 0) {
        const double pivot = Div(-1.0, a[0]);
        for (size_t j = 1; j < ld; ++j) Mul(-a[j], pivot);
      }
      Raise(kErrSubscript);
    }
    kernels::Sweep(A.data(), n, ld, ZERO);
    line = 30;
    // Columns beyond the square block take no part in the sweep but are
    // negated with the rest of the elements.
    for (Long i = 0; i < n; ++i) {
      double* ai = A.data() + Z(i) * ld;
      for (size_t j = Z(n); j < ld; ++j) ai[j] = -ai[j];
    }
    line = 40;
    return FromArray(std::move(A));
  });
}

Double CMatrix::determinant() const {
  const State& s = *state_;
  return Guard(kDeterminant, [&](Line&) {
    const Long n = s.rows;
    if (n < 1) Raise(kErrSubscript);
    double d;
    if (s.columns < n) {
      // Elimination reaches past the last column at the first row it
      // touches, unless the first column has no non-zero element at all.
      const double* a = s.data.data();
      const size_t ld = Z(s.columns);
      if (a[0] == 0) {
        for (Long r = 1; r < n; ++r)
          if (a[Z(r) * ld] != 0) Raise(kErrSubscript);
        return 0.0;
      }
      const double f = Div(a[ld], a[0]);
      for (size_t j = 0; j < ld; ++j) Sub(a[ld + j], Mul(f, a[j]));
      Raise(kErrSubscript);
    }
    // The square block, row by row.
    std::vector<double> block(Z(n) * Z(n));
    for (Long i = 0; i < n; ++i)
      std::copy_n(s.data.data() + Z(i) * Z(s.columns), n, block.data() + Z(i) * Z(n));
    d = kernels::Determinant(block.data(), n, Z(n));
    if (std::fabs(d) < kDeterminantZero) d = 0;
    return d;
  });
}

Boolean CMatrix::IsSingular() const { return determinant() == 0; }

CMatrix CMatrix::Cholesky(Double ZERO) const {
  const State& s = *state_;
  return Guard(kCholesky, [&](Line& line) {
    line = 10;
    const Long n = s.rows;
    // The first pivot of an empty matrix is out of range.
    if (n < 1) Raise(kErrSubscript);
    CMatrix L;
    L.SetSize(n, n);
    line = 20;
    kernels::CholeskyFactor(s.data.data(), Z(s.columns), Z(n), ZERO, L.state_->data.data());
    return L;
  });
}

Boolean CMatrix::IsPositiveDefinite() const {
  (void)*state_;
  return Guard(kIsPositiveDefinite, [&](Line& line) {
    line = 10;
    try {
      Cholesky(kPositiveDefiniteZero);
    } catch (const Error& error) {
      if (error.Number == MXNotPositiveDefinite) return false;
      throw;
    }
    return true;
  });
}

CMatrix CMatrix::SolveEquation(const CMatrix& Vector) const {
  (void)*state_;
  return Guard(kSolveEquation, [&](Line& line) {
    line = 10;
    const CMatrix L = Cholesky(kPositiveDefiniteZero);
    line = 20;
    const CMatrix y = L.ForwardSubstitution(Vector);
    line = 30;
    return L.Transpose().BackwardSubstitution(y);
  });
}

CMatrix CMatrix::ForwardSubstitution(const CMatrix& b) const {
  const State& s = *state_;
  return Guard(kForwardSubstitution, [&](Line& line) {
    line = 10;
    const Long n = s.rows;
    if (n != s.columns) Raise(kErrTypeMismatch, {}, "This matrix isn't lower triangular");
    line = 20;
    const double* L = s.data.data();
    const size_t ld = Z(n);
    for (size_t i = 0; i + 1 < Z(n); ++i)
      for (size_t j = i + 1; j < Z(n); ++j)
        if (L[i * ld + j] != 0) Raise(kErrTypeMismatch, {}, "This matrix isn't lower triangular");
    line = 30;
    const State& bs = *b.state_;
    if (bs.rows != n)
      Raise(kErrSubscript, {}, "b does not have the same number of rows as this matrix.");
    line = 40;
    CMatrix x;
    x.SetSize(n, 1);
    double* xv = x.state_->data.data();
    for (size_t i = 0; i < Z(n); ++i) {
      double v = bs.data.data()[i * Z(bs.columns)];
      for (size_t k = 0; k < i; ++k) v = Sub(v, Mul(xv[k], L[i * ld + k]));
      xv[i] = Div(v, L[i * ld + i]);
    }
    return x;
  });
}

CMatrix CMatrix::BackwardSubstitution(const CMatrix& b) const {
  const State& s = *state_;
  return Guard(kBackwardSubstitution, [&](Line&) {
    const Long n = s.rows;
    if (n != s.columns) Raise(kErrTypeMismatch, {}, "This matrix isn't upper triangular");
    const double* U = s.data.data();
    const size_t ld = Z(n);
    for (size_t i = 1; i < Z(n); ++i)
      for (size_t j = 0; j < i; ++j)
        if (U[i * ld + j] != 0) Raise(kErrTypeMismatch, {}, "This matrix isn't upper triangular");
    const State& bs = *b.state_;
    if (bs.rows != n)
      Raise(kErrSubscript, {}, "b does not have the same number of rows as this matrix.");
    CMatrix x;
    x.SetSize(n, 1);
    double* xv = x.state_->data.data();
    for (size_t i = Z(n); i-- > 0;) {
      double v = bs.data.data()[i * Z(bs.columns)];
      for (size_t k = i + 1; k < Z(n); ++k) v = Sub(v, Mul(xv[k], U[i * ld + k]));
      xv[i] = Div(v, U[i * ld + i]);
    }
    return x;
  });
}

}  // namespace orv
