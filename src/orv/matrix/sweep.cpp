#include "orv/matrix/sweep.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "orv/frame/checked.hpp"
#include "orv/frame/digits15.hpp"

namespace orv::kernels {

// The sweep keeps the matrix symmetric from the first non-zero pivot on:
// every update of the lower triangle is mirrored to the upper one. Only
// row k of the upper triangle is read later (step "A(k, j) for all j" of
// pivot k), so the mirror is done lazily: the lower triangle is the truth,
// and row k is brought up to date just before its pivot. Before the first
// non-zero pivot nothing has been mirrored yet, and row k still holds the
// caller's own upper-triangle values, which the pivot then uses.
void Sweep(double* a, Long n, std::size_t ld, double zero, InstructionSet set) {
  if (n < 1) return;
  using digits15_detail::Round15ManyVia;
  constexpr double kLargest = std::numeric_limits<double>::max();
  std::vector<double> scratch(2 * static_cast<std::size_t>(n));
  double* term = scratch.data();
  double* old = term + n;
  const std::size_t size = static_cast<std::size_t>(n);
  auto row = [&](std::size_t i) { return a + i * ld; };
  bool mirrored = false;

  for (std::size_t k = 0; k < size; ++k) {
    double* rk = row(k);
    if (mirrored)
      for (std::size_t j = k + 1; j < size; ++j) rk[j] = row(j)[k];

    if (rk[k] == 0) {
      for (std::size_t j = 0; j < size; ++j) {
        rk[j] = 0;
        row(j)[k] = 0;
      }
      continue;
    }

    const double pivot = Div(-1.0, rk[k]);
    rk[k] = pivot;
    for (std::size_t j = 0; j < size; ++j) {
      if (j == k) continue;
      rk[j] = Mul(-rk[j], pivot);
      row(j)[k] = rk[j];
    }

    // A pivot of -0 (from an infinite diagonal element) fails at the
    // first division, with the number that division gives.
    const bool divisible = pivot != 0;
    for (std::size_t i = 0; i < size; ++i) {
      if (i == k) continue;
      double* ri = row(i);
      const double aik = ri[k];
      if (!divisible) {
        for (std::size_t j = 0; j <= i; ++j)
          if (j != k) Div(Mul(rk[j], aik), pivot);
        continue;
      }
      // The row's terms are independent across j: all of them are formed,
      // rounded in one pass each, then summed. Column k is computed along
      // and left out.
      const std::size_t m = i + 1;
      for (std::size_t j = 0; j < m; ++j) term[j] = rk[j] * aik / pivot;
      Round15ManyVia(term, term, m, set);
      Round15ManyVia(ri, old, m, set);
      // Every failure here is an overflow: of the product or quotient, of
      // a rounding beyond the largest double, or of the sum. Each leaves
      // the sum infinite or NaN.
      bool finite = true;
      auto update = [&](std::size_t from, std::size_t to) {
        for (std::size_t j = from; j < to; ++j) {
          const double value = old[j] + term[j];
          finite &= std::fabs(value) <= kLargest;
          ri[j] = std::fabs(value) < zero ? 0.0 : value;
        }
      };
      update(0, std::min(k, m));
      update(k + 1, m);
      if (!finite) Raise(kErrOverflow);
    }
    mirrored = true;
  }

  if (mirrored)
    for (std::size_t i = 1; i < size; ++i)
      for (std::size_t j = 0; j < i; ++j) row(j)[i] = row(i)[j];

  for (std::size_t i = 0; i < size; ++i) {
    double* ri = row(i);
    for (std::size_t j = 0; j < size; ++j) ri[j] = -ri[j];
  }
}

void Sweep(double* a, Long n, std::size_t ld, double zero) {
  Sweep(a, n, ld, zero, BestInstructionSet());
}

double Determinant(double* a, Long n, std::size_t ld) {
  // Reading the first pivot of an empty matrix is out of range.
  if (n < 1) Raise(kErrSubscript);
  const std::size_t size = static_cast<std::size_t>(n);
  auto row = [&](std::size_t i) { return a + i * ld; };
  double d = 1.0;
  std::size_t k = 0;
  for (; k + 1 < size; ++k) {
    double* rk = row(k);
    if (rk[k] == 0) {
      for (std::size_t r = k + 1; r < size; ++r) {
        if (row(r)[k] != 0) {
          double* rr = row(r);
          for (std::size_t j = 0; j < size; ++j) std::swap(rk[j], rr[j]);
          d = -d;
          break;
        }
      }
    }
    if (rk[k] == 0) break;
    for (std::size_t i = k + 1; i < size; ++i) {
      double* ri = row(i);
      const double f = Div(ri[k], rk[k]);
      for (std::size_t j = k; j < size; ++j) ri[j] = ri[j] - f * rk[j];
      // An overflow anywhere in the row leaves an infinity or a NaN in it.
      for (std::size_t j = k; j < size; ++j) Finite(ri[j]);
    }
    d = Mul(d, rk[k]);
  }
  return Mul(d, row(k)[k]);
}

}  // namespace orv::kernels
