#include "orv/matrix/jacobi.hpp"

#include <cmath>
#include <vector>

#include "orv/frame/Error.hpp"

namespace orv::kernels {

namespace {

constexpr int kMaxSweeps = 50;
// Off-diagonal mass below which the matrix counts as diagonal.
constexpr double kConverged = 1e-12;
// Zero while every value is finite, NaN otherwise.
double NonFinite(const double* x, std::size_t n) {
  double acc = 0.0;
  for (std::size_t k = 0; k < n; ++k) acc += x[k] - x[k];
  return acc;
}

// Sweeps that skip rotations of elements at or below the threshold.
constexpr int kThresholdSweeps = 3;
// From this sweep on, elements negligible beside both diagonal entries are
// zeroed without a rotation.
constexpr int kNegligibleFromSweep = 5;

// The rotation step on two rows: x = x - s (y + x tau), y = y + s (x - y tau)
// with the old values on the right, element by element over [from, to).
void Rotate(double* __restrict x, double* __restrict y, std::size_t from, std::size_t to, double s,
            double tau) {
  for (std::size_t j = from; j < to; ++j) {
    const double x0 = x[j];
    const double y0 = y[j];
    x[j] = x0 - s * (y0 + x0 * tau);
    y[j] = y0 + s * (x0 - y0 * tau);
  }
}

}  // namespace

// The working matrix is kept symmetric: the lower triangle mirrors the
// upper one, so that the pairs (a(j,p), a(j,q)) for j < p, (a(p,j), a(j,q))
// for p < j < q and (a(p,j), a(q,j)) for j > q are all found in rows p and
// q and rotate as contiguous runs; columns p and q are written back after
// each rotation. The rotations are likewise kept as rows (row j holds
// eigenvector j). Every element still goes through its own documented
// sequence of operations, so the results are those of the plain loops.
void Jacobi(double* a, Long n, std::size_t ld, double* d, double* v, NanRule nan_rule) {
  const std::size_t N = n > 0 ? static_cast<std::size_t>(n) : 0;
  auto A = [&](std::size_t i, std::size_t j) -> double& { return a[i * ld + j]; };

  for (std::size_t i = 0; i < N; ++i)
    for (std::size_t j = i + 1; j < N; ++j) A(j, i) = A(i, j);

  std::vector<double> w(N * N, 0.0);  // w[j*N + i] = V(i, j)
  for (std::size_t i = 0; i < N; ++i) w[i * N + i] = 1.0;
  std::vector<double> b(N), z(N, 0.0);
  for (std::size_t i = 0; i < N; ++i) b[i] = d[i] = A(i, i);

  // With finite input every value stays finite unless a step overflows;
  // such a step is the runtime's overflow. A sweep leaves any infinity or
  // NaN it produced in d, the rotations or the upper triangle (an element
  // is zeroed only by rotating it into d), so checking after each sweep
  // raises the same error as checking each operation.
  bool finite_input = true;
  for (std::size_t i = 0; i < N; ++i)
    finite_input = finite_input && NonFinite(&A(i, i), N - i) == 0.0;
  auto check = [&] {
    if (!finite_input) return;
    double acc = NonFinite(d, N) + NonFinite(w.data(), w.size());
    for (std::size_t i = 0; i + 1 < N; ++i) acc += NonFinite(&A(i, i + 1), N - i - 1);
    if (acc != 0.0) Raise(kErrOverflow);
  };

  const double nn = static_cast<double>(n) * static_cast<double>(n);
  for (int sweep = 1;; ++sweep) {
    if (sweep > kMaxSweeps) Raise(kObjectErrorBase);

    double sm = 0.0;
    for (std::size_t p = 0; p + 1 < N; ++p)
      for (std::size_t q = p + 1; q < N; ++q) sm += std::fabs(A(p, q));
    if (sm < kConverged) break;

    const double tresh = sweep <= kThresholdSweeps ? 0.2 * sm / nn : 0.0;

    for (std::size_t p = 0; p + 1 < N; ++p) {
      double* rp = a + p * ld;
      for (std::size_t q = p + 1; q < N; ++q) {
        double* rq = a + q * ld;
        const double apq = rp[q];
        const double g = 100.0 * std::fabs(apq);
        if (sweep >= kNegligibleFromSweep && std::fabs(d[p]) + g == std::fabs(d[p]) &&
            std::fabs(d[q]) + g == std::fabs(d[q])) {
          rp[q] = 0.0;
          rq[p] = 0.0;
          continue;
        }
        // The two callers word the threshold test differently ("leave it at or
        // below", "rotate above"); they part only for a NaN element.
        const bool small =
            nan_rule == NanRule::Rotate ? std::fabs(apq) <= tresh : !(std::fabs(apq) > tresh);
        if (small) continue;

        double h = d[q] - d[p];
        double t;
        if (std::fabs(h) + g == std::fabs(h)) {
          t = apq / h;
        } else {
          const double theta = 0.5 * h / apq;
          t = 1.0 / (std::fabs(theta) + std::sqrt(1.0 + theta * theta));
          if (theta < 0.0) t = -t;
        }
        const double c = 1.0 / std::sqrt(1.0 + t * t);
        const double s = t * c;
        const double tau = s / (1.0 + c);
        h = t * apq;
        z[p] -= h;
        z[q] += h;
        d[p] -= h;
        d[q] += h;
        rp[q] = 0.0;
        rq[p] = 0.0;

        Rotate(rp, rq, 0, p, s, tau);
        Rotate(rp, rq, p + 1, q, s, tau);
        Rotate(rp, rq, q + 1, N, s, tau);
        for (std::size_t j = 0; j < N; ++j) {
          A(j, p) = rp[j];
          A(j, q) = rq[j];
        }
        Rotate(w.data() + p * N, w.data() + q * N, 0, N, s, tau);
      }
    }

    for (std::size_t i = 0; i < N; ++i) {
      b[i] += z[i];
      d[i] = b[i];
      z[i] = 0.0;
    }
    check();
  }

  for (std::size_t i = 0; i < N; ++i)
    for (std::size_t j = 0; j < N; ++j) v[i * N + j] = w[j * N + i];
}

}  // namespace orv::kernels
