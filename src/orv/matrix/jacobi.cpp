#include "orv/matrix/jacobi.hpp"

#include <immintrin.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
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

// Rows brought up to date together before their rotations.
constexpr std::size_t kRefreshBlock = 8;

// Sweeps that skip rotations of elements at or below the threshold.
constexpr int kThresholdSweeps = 3;
// From this sweep on, elements negligible beside both diagonal entries are
// zeroed without a rotation.
constexpr int kNegligibleFromSweep = 5;

// The rotation step on two rows: x = x - s (y + x tau), y = y + s (x - y tau)
// with the old values on the right, element by element over [from, to).
void RotateScalar(double* __restrict x, double* __restrict y, std::size_t from, std::size_t to,
                  double s, double tau) {
  for (std::size_t j = from; j < to; ++j) {
    const double x0 = x[j];
    const double y0 = y[j];
    x[j] = x0 - s * (y0 + x0 * tau);
    y[j] = y0 + s * (x0 - y0 * tau);
  }
}

__attribute__((target("avx2"))) void RotateAvx2(double* __restrict x, double* __restrict y,
                                                std::size_t from, std::size_t to, double s,
                                                double tau) {
  const __m256d vs = _mm256_set1_pd(s), vt = _mm256_set1_pd(tau);
  std::size_t j = from;
  for (; j + 4 <= to; j += 4) {
    const __m256d x0 = _mm256_loadu_pd(x + j), y0 = _mm256_loadu_pd(y + j);
    _mm256_storeu_pd(
        x + j, _mm256_sub_pd(x0, _mm256_mul_pd(vs, _mm256_add_pd(y0, _mm256_mul_pd(x0, vt)))));
    _mm256_storeu_pd(
        y + j, _mm256_add_pd(y0, _mm256_mul_pd(vs, _mm256_sub_pd(x0, _mm256_mul_pd(y0, vt)))));
  }
  RotateScalar(x, y, j, to, s, tau);
}

__attribute__((target("avx512f"))) void RotateAvx512(double* __restrict x, double* __restrict y,
                                                     std::size_t from, std::size_t to, double s,
                                                     double tau) {
  const __m512d vs = _mm512_set1_pd(s), vt = _mm512_set1_pd(tau);
  std::size_t j = from;
  for (; j + 8 <= to; j += 8) {
    const __m512d x0 = _mm512_loadu_pd(x + j), y0 = _mm512_loadu_pd(y + j);
    _mm512_storeu_pd(
        x + j, _mm512_sub_pd(x0, _mm512_mul_pd(vs, _mm512_add_pd(y0, _mm512_mul_pd(x0, vt)))));
    _mm512_storeu_pd(
        y + j, _mm512_add_pd(y0, _mm512_mul_pd(vs, _mm512_sub_pd(x0, _mm512_mul_pd(y0, vt)))));
  }
  RotateScalar(x, y, j, to, s, tau);
}

// GCC 12 takes the deliberately undefined inputs of several AVX-512
// intrinsics for uninitialised variables.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

// Rows r0..r1-1 take the copy of (r, j) from row j wherever row j was
// rotated after row r: pure copies, the same on every path.
void PullNewerScalar(double* a, std::size_t ld, std::size_t n, const std::uint64_t* written,
                     std::size_t r0, std::size_t r1) {
  for (std::size_t r = r0; r < r1; ++r)
    for (std::size_t j = 0; j < n; ++j)
      if (written[j] > written[r]) a[r * ld + j] = a[j * ld + r];
}

// Eight rows at a time, in 8 x 8 tiles: eight runs of eight read from rows
// j0..j0+7, transposed in registers, stored where row j is the newer.
__attribute__((target("avx512f"))) void PullNewerAvx512(double* a, std::size_t ld, std::size_t n,
                                                        const std::uint64_t* written,
                                                        std::size_t r0, std::size_t r1) {
  for (; r0 + 8 <= r1 && r0 + 8 <= n; r0 += 8) {
    std::uint64_t oldest = written[r0];
    for (std::size_t r = r0 + 1; r < r0 + 8; ++r) oldest = std::min(oldest, written[r]);
    const __m512i oldest_v = _mm512_set1_epi64(static_cast<long long>(oldest));
    std::size_t j0 = 0;
    for (; j0 + 8 <= n; j0 += 8) {
      const __m512i when = _mm512_loadu_si512(written + j0);
      if (_mm512_cmpgt_epu64_mask(when, oldest_v) == 0) continue;
      __m512d v[8];
      for (int k = 0; k < 8; ++k) v[k] = _mm512_loadu_pd(a + (j0 + k) * ld + r0);
      __m512d t[8], u[8];
      for (int k = 0; k < 4; ++k) {
        t[2 * k] = _mm512_unpacklo_pd(v[2 * k], v[2 * k + 1]);
        t[2 * k + 1] = _mm512_unpackhi_pd(v[2 * k], v[2 * k + 1]);
      }
      u[0] = _mm512_shuffle_f64x2(t[0], t[2], 0x88);
      u[1] = _mm512_shuffle_f64x2(t[1], t[3], 0x88);
      u[2] = _mm512_shuffle_f64x2(t[0], t[2], 0xdd);
      u[3] = _mm512_shuffle_f64x2(t[1], t[3], 0xdd);
      u[4] = _mm512_shuffle_f64x2(t[4], t[6], 0x88);
      u[5] = _mm512_shuffle_f64x2(t[5], t[7], 0x88);
      u[6] = _mm512_shuffle_f64x2(t[4], t[6], 0xdd);
      u[7] = _mm512_shuffle_f64x2(t[5], t[7], 0xdd);
      for (int k = 0; k < 4; ++k) {
        // Column k of the tile, and column k + 4.
        const __m512d low = _mm512_shuffle_f64x2(u[k], u[k + 4], 0x88);
        const __m512d high = _mm512_shuffle_f64x2(u[k], u[k + 4], 0xdd);
        for (int half = 0; half < 2; ++half) {
          const std::size_t r = r0 + static_cast<std::size_t>(k + 4 * half);
          const __mmask8 newer =
              _mm512_cmpgt_epu64_mask(when, _mm512_set1_epi64(static_cast<long long>(written[r])));
          _mm512_mask_storeu_pd(a + r * ld + j0, newer, half ? high : low);
        }
      }
    }
    for (std::size_t r = r0; r < r0 + 8; ++r)
      for (std::size_t j = j0; j < n; ++j)
        if (written[j] > written[r]) a[r * ld + j] = a[j * ld + r];
  }
  PullNewerScalar(a, ld, n, written, r0, r1);
}
#pragma GCC diagnostic pop

using RotateFunction = void (*)(double* __restrict, double* __restrict, std::size_t, std::size_t,
                                double, double);

RotateFunction RotateFor(InstructionSet set) {
  if (!Supports(set)) set = InstructionSet::Sse2;
  switch (set) {
    case InstructionSet::Avx512:
      return RotateAvx512;
    case InstructionSet::Avx2:
      return RotateAvx2;
    case InstructionSet::Sse2:
      break;
  }
  return RotateScalar;
}

}  // namespace

// The working matrix is kept as full rows, so that the pairs (a(j,p),
// a(j,q)) for j < p, (a(p,j), a(j,q)) for p < j < q and (a(p,j), a(q,j)) for
// j > q are all found in rows p and q and rotate as contiguous runs. Each
// element (i, j) then has two copies, in rows i and j; a rotation writes
// whole rows p and q, and the copies in the other rows' columns p and q are
// brought up to date lazily: of the two copies, the one in the row written
// last is the current one, and a row is refreshed from the rows written
// after it just before it is rotated. After each sweep both copies agree
// again. The rotations are likewise kept as rows (row j holds eigenvector
// j). Every element still goes through its own documented sequence of
// operations, so the results are those of the plain loops.
void Jacobi(double* a, Long n, std::size_t ld, double* d, double* v, NanRule nan_rule,
            InstructionSet set) {
  const RotateFunction Rotate = RotateFor(set);
  const std::size_t N = n > 0 ? static_cast<std::size_t>(n) : 0;
  auto A = [&](std::size_t i, std::size_t j) -> double& { return a[i * ld + j]; };

  for (std::size_t i = 0; i < N; ++i)
    for (std::size_t j = i + 1; j < N; ++j) A(j, i) = A(i, j);

  std::vector<double> w(N * N, 0.0);  // w[j*N + i] = V(i, j)
  for (std::size_t i = 0; i < N; ++i) w[i * N + i] = 1.0;
  std::vector<double> b(N), z(N, 0.0);
  std::vector<std::uint64_t> written(N);  // when each row was last rotated
  std::vector<std::uint64_t> synced(N);   // up to which rotation each row is current
  std::vector<std::size_t> rotated;       // the rows of each rotation of the sweep, in order
  rotated.reserve(N * N);
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

    std::fill(written.begin(), written.end(), 0);
    std::fill(synced.begin(), synced.end(), 0);
    std::uint64_t clock = 0;
    rotated.clear();
    // Walks back through the rows rotated since `since` (each row once, at
    // its last rotation).
    auto newer_rows = [&](std::uint64_t since, auto&& pull) {
      for (std::size_t k = rotated.size(); k-- > 0;) {
        const std::size_t j = rotated[k];
        const std::uint64_t when = k / 2 + 1;
        if (when <= since) break;
        if (written[j] == when) pull(j, when);
      }
    };
    // Row r, about to be rotated, takes every (j, r) written since it was
    // last brought up to date.
    auto refresh = [&](std::size_t r) {
      double* rr = a + r * ld;
      newer_rows(synced[r], [&](std::size_t j, std::uint64_t) { rr[j] = A(j, r); });
      synced[r] = clock;
    };
    // The next rows to be rotated with p are brought up to date together.
    auto refresh_block = [&](std::size_t r0, std::size_t r1) {
      if (set == InstructionSet::Avx512 && Supports(set))
        PullNewerAvx512(a, ld, N, written.data(), r0, r1);
      else
        PullNewerScalar(a, ld, N, written.data(), r0, r1);
      for (std::size_t r = r0; r < r1; ++r) synced[r] = clock;
    };
    for (std::size_t p = 0; p + 1 < N; ++p) {
      double* rp = a + p * ld;
      for (std::size_t q = p + 1; q < N; ++q) {
        double* rq = a + q * ld;
        if ((q - p - 1) % kRefreshBlock == 0) refresh_block(q, std::min(q + kRefreshBlock, N));
        const double apq = written[q] > written[p] ? rq[p] : rp[q];
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

        refresh(p);
        refresh(q);
        // The two rows rotate whole; columns p and q, which the rotation
        // leaves alone, are put back.
        const double app = rp[p], aqq = rq[q];
        Rotate(rp, rq, 0, N, s, tau);
        rp[p] = app;
        rq[q] = aqq;
        rp[q] = 0.0;
        rq[p] = 0.0;
        written[p] = written[q] = synced[p] = synced[q] = ++clock;
        rotated.push_back(p);
        rotated.push_back(q);
        Rotate(w.data() + p * N, w.data() + q * N, 0, N, s, tau);
      }
    }
    // Both copies of every element agree again: the one in the row written
    // last is taken.
    for (std::size_t i = 0; i < N; ++i)
      for (std::size_t j = i + 1; j < N; ++j) {
        double& newer = written[j] > written[i] ? A(j, i) : A(i, j);
        A(i, j) = A(j, i) = newer;
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
