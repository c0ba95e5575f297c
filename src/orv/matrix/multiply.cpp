// Packed, register-blocked matrix product. The operands are copied into
// panels laid out for the micro-kernels (B in strips of NR columns, A in
// strips of MR rows, zero-padded at the edges); each micro-kernel keeps an
// MR x NR block of the result in registers and runs through one panel of k
// in increasing order, so every element still receives its products one
// by one, in order of k, each product rounded before it is added. Blocking
// over k stores the running value in c between panels, which is exact.
#include "orv/matrix/multiply.hpp"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <new>

namespace orv::kernels {
namespace {

constexpr std::size_t kDepthBlock = 384;    // k per panel
constexpr std::size_t kRowBlock = 192;      // rows of A per panel, a multiple of every MR
constexpr std::size_t kColumnBlock = 4096;  // columns of B per panel

using MicroKernel = void (*)(std::size_t depth, const double* a, const double* b, double* c,
                             std::size_t ldc);

// --- micro-kernels: c(MR x NR) += a-strip (depth x MR) * b-strip (depth x NR) ---

void KernelSse2(std::size_t depth, const double* a, const double* b, double* c, std::size_t ldc) {
  constexpr int kRows = 4;
  __m128d acc[kRows][2];
  for (int r = 0; r < kRows; ++r) {
    acc[r][0] = _mm_loadu_pd(c + r * ldc);
    acc[r][1] = _mm_loadu_pd(c + r * ldc + 2);
  }
  for (std::size_t k = 0; k < depth; ++k) {
    const __m128d b0 = _mm_load_pd(b);
    const __m128d b1 = _mm_load_pd(b + 2);
    for (int r = 0; r < kRows; ++r) {
      const __m128d ar = _mm_set1_pd(a[r]);
      acc[r][0] = _mm_add_pd(acc[r][0], _mm_mul_pd(ar, b0));
      acc[r][1] = _mm_add_pd(acc[r][1], _mm_mul_pd(ar, b1));
    }
    a += kRows;
    b += 4;
  }
  for (int r = 0; r < kRows; ++r) {
    _mm_storeu_pd(c + r * ldc, acc[r][0]);
    _mm_storeu_pd(c + r * ldc + 2, acc[r][1]);
  }
}

__attribute__((target("avx2"))) void KernelAvx2(std::size_t depth, const double* a, const double* b,
                                                double* c, std::size_t ldc) {
  constexpr int kRows = 4;
  __m256d acc[kRows][2];
  for (int r = 0; r < kRows; ++r) {
    acc[r][0] = _mm256_loadu_pd(c + r * ldc);
    acc[r][1] = _mm256_loadu_pd(c + r * ldc + 4);
  }
  for (std::size_t k = 0; k < depth; ++k) {
    const __m256d b0 = _mm256_load_pd(b);
    const __m256d b1 = _mm256_load_pd(b + 4);
    for (int r = 0; r < kRows; ++r) {
      const __m256d ar = _mm256_broadcast_sd(a + r);
      acc[r][0] = _mm256_add_pd(acc[r][0], _mm256_mul_pd(ar, b0));
      acc[r][1] = _mm256_add_pd(acc[r][1], _mm256_mul_pd(ar, b1));
    }
    a += kRows;
    b += 8;
  }
  for (int r = 0; r < kRows; ++r) {
    _mm256_storeu_pd(c + r * ldc, acc[r][0]);
    _mm256_storeu_pd(c + r * ldc + 4, acc[r][1]);
  }
}

// kRows x (8 kVectors) of the result in registers.
template <int kRows, int kVectors>
__attribute__((target("avx512f"))) void KernelAvx512(std::size_t depth, const double* a,
                                                     const double* b, double* c, std::size_t ldc) {
  __m512d acc[kRows][kVectors];
  for (int r = 0; r < kRows; ++r)
    for (int v = 0; v < kVectors; ++v) acc[r][v] = _mm512_loadu_pd(c + r * ldc + 8 * v);
  for (std::size_t k = 0; k < depth; ++k) {
    __m512d bk[kVectors];
    for (int v = 0; v < kVectors; ++v) bk[v] = _mm512_load_pd(b + 8 * v);
    for (int r = 0; r < kRows; ++r) {
      const __m512d ar = _mm512_set1_pd(a[r]);
      for (int v = 0; v < kVectors; ++v)
        acc[r][v] = _mm512_add_pd(acc[r][v], _mm512_mul_pd(ar, bk[v]));
    }
    a += kRows;
    b += 8 * kVectors;
  }
  for (int r = 0; r < kRows; ++r)
    for (int v = 0; v < kVectors; ++v) _mm512_storeu_pd(c + r * ldc + 8 * v, acc[r][v]);
}

// --- packing ---

// 64-byte aligned scratch space.
class Panel {
 public:
  explicit Panel(std::size_t count)
      : p_(static_cast<double*>(::operator new[](count * sizeof(double), std::align_val_t{64}))) {}
  ~Panel() { ::operator delete[](p_, std::align_val_t{64}); }
  Panel(const Panel&) = delete;
  Panel& operator=(const Panel&) = delete;
  double* get() const { return p_; }

 private:
  double* p_;
};

inline double At(const ConstMatrixView& m, std::size_t i, std::size_t j) {
  return m.transposed ? m.data[j * m.ld + i] : m.data[i * m.ld + j];
}

// Strips of NR columns of b(k0 .. k0+depth-1, j0 .. j0+columns-1): within a
// strip, row k holds its values next to each other. A last, narrower strip
// is StripWidth wide (its columns rounded up to the vector width W); columns
// beyond the edge are 0.
template <std::size_t NR, std::size_t W>
constexpr std::size_t StripWidth(std::size_t columns) {
  return std::min(NR, (columns + W - 1) / W * W);
}

template <std::size_t NR, std::size_t W>
void PackB(const ConstMatrixView& b, std::size_t k0, std::size_t j0, std::size_t depth,
           std::size_t columns, double* out) {
  for (std::size_t js = 0; js < columns; js += NR) {
    const std::size_t width = std::min(NR, columns - js);
    const std::size_t stride = StripWidth<NR, W>(width);
    if (!b.transposed && width == NR) {
      const double* src = b.data + k0 * b.ld + j0 + js;
      for (std::size_t k = 0; k < depth; ++k, src += b.ld, out += NR) std::copy_n(src, NR, out);
      continue;
    }
    for (std::size_t k = 0; k < depth; ++k, out += stride) {
      std::size_t q = 0;
      for (; q < width; ++q) out[q] = At(b, k0 + k, j0 + js + q);
      for (; q < stride; ++q) out[q] = 0.0;
    }
  }
}

// Strips of MR rows of a(i0 .. i0+rows-1, k0 .. k0+depth-1): within a strip,
// column k holds its MR values next to each other; rows beyond the edge are 0.
template <std::size_t MR>
void PackA(const ConstMatrixView& a, std::size_t i0, std::size_t k0, std::size_t rows,
           std::size_t depth, double* out) {
  for (std::size_t is = 0; is < rows; is += MR) {
    const std::size_t height = std::min(MR, rows - is);
    for (std::size_t k = 0; k < depth; ++k, out += MR) {
      std::size_t r = 0;
      for (; r < height; ++r) out[r] = At(a, i0 + is + r, k0 + k);
      for (; r < MR; ++r) out[r] = 0.0;
    }
  }
}

// MR x NR blocks of the result by `kernels[NR / W - 1]`; a last strip of
// fewer columns runs on the kernel of its own width, kernels[v - 1] for v
// vectors of W.
template <std::size_t MR, std::size_t NR, std::size_t W>
void Blocked(std::size_t rows, std::size_t columns, std::size_t depth, const ConstMatrixView& a,
             const ConstMatrixView& b, double* c, std::size_t ldc,
             const std::array<MicroKernel, NR / W>& kernels) {
  static_assert(kRowBlock % MR == 0 && NR % W == 0);
  if (rows == 0 || columns == 0 || depth == 0) return;
  const std::size_t panel_columns = std::min(kColumnBlock, (columns + NR - 1) / NR * NR);
  const std::size_t panel_rows = std::min(kRowBlock, (rows + MR - 1) / MR * MR);
  const std::size_t panel_depth = std::min(kDepthBlock, depth);
  Panel packed_b(panel_depth * panel_columns);
  Panel packed_a(panel_depth * panel_rows);
  alignas(64) double edge[MR * NR];

  for (std::size_t jc = 0; jc < columns; jc += kColumnBlock) {
    const std::size_t nc = std::min(kColumnBlock, columns - jc);
    for (std::size_t pc = 0; pc < depth; pc += kDepthBlock) {
      const std::size_t kc = std::min(kDepthBlock, depth - pc);
      PackB<NR, W>(b, pc, jc, kc, nc, packed_b.get());
      for (std::size_t ic = 0; ic < rows; ic += kRowBlock) {
        const std::size_t mc = std::min(kRowBlock, rows - ic);
        PackA<MR>(a, ic, pc, mc, kc, packed_a.get());
        for (std::size_t jr = 0; jr < nc; jr += NR) {
          const std::size_t nr = std::min(NR, nc - jr);
          const std::size_t width = StripWidth<NR, W>(nr);
          const MicroKernel kernel = kernels[width / W - 1];
          const double* bs = packed_b.get() + jr * kc;
          for (std::size_t ir = 0; ir < mc; ir += MR) {
            const std::size_t mr = std::min(MR, mc - ir);
            const double* as = packed_a.get() + ir * kc;
            double* ct = c + (ic + ir) * ldc + jc + jr;
            if (mr == MR && nr == width) {
              kernel(kc, as, bs, ct, ldc);
              continue;
            }
            // An edge block runs on a full-size copy; only its valid part
            // goes back.
            std::fill_n(edge, MR * width, 0.0);
            for (std::size_t r = 0; r < mr; ++r) std::copy_n(ct + r * ldc, nr, edge + r * width);
            kernel(kc, as, bs, edge, width);
            for (std::size_t r = 0; r < mr; ++r) std::copy_n(edge + r * width, nr, ct + r * ldc);
          }
        }
      }
    }
  }
}

void AddMultipleScalar(double* y, const double* x, double f, std::size_t from, std::size_t count) {
  for (std::size_t r = from; r < count; ++r) y[r] = y[r] + x[r] * f;
}

__attribute__((target("avx2"))) void AddMultipleAvx2(double* y, const double* x, double f,
                                                     std::size_t count) {
  const __m256d vf = _mm256_set1_pd(f);
  std::size_t r = 0;
  for (; r + 4 <= count; r += 4)
    _mm256_storeu_pd(
        y + r, _mm256_add_pd(_mm256_loadu_pd(y + r), _mm256_mul_pd(_mm256_loadu_pd(x + r), vf)));
  AddMultipleScalar(y, x, f, r, count);
}

__attribute__((target("avx512f"))) void AddMultipleAvx512(double* y, const double* x, double f,
                                                          std::size_t count) {
  const __m512d vf = _mm512_set1_pd(f);
  std::size_t r = 0;
  for (; r + 8 <= count; r += 8)
    _mm512_storeu_pd(
        y + r, _mm512_add_pd(_mm512_loadu_pd(y + r), _mm512_mul_pd(_mm512_loadu_pd(x + r), vf)));
  AddMultipleScalar(y, x, f, r, count);
}

void AddScaledProductsScalar(double* __restrict c, std::size_t length, const double* __restrict x,
                             std::size_t ldx, const double* y, std::size_t ldy, std::size_t count,
                             double n) {
  for (std::size_t b = 0; b < count; ++b) {
    const double yb = y[b * ldy];
    const double* __restrict xb = x + b * ldx;
    for (std::size_t k = 0; k < length; ++k) c[k] += (xb[k] * yb) / n;
  }
}

// Up to 32 sums at a time in registers, the last vector masked.
__attribute__((target("avx512f"))) void AddScaledProductsAvx512(double* c, std::size_t length,
                                                                const double* x, std::size_t ldx,
                                                                const double* y, std::size_t ldy,
                                                                std::size_t count, double n) {
  const __m512d vn = _mm512_set1_pd(n);
  for (std::size_t k0 = 0; k0 < length; k0 += 32) {
    const std::size_t width = std::min<std::size_t>(32, length - k0);
    const int vectors = static_cast<int>((width + 7) / 8);
    __mmask8 mask[4];
    __m512d acc[4];
    for (int v = 0; v < 4; ++v) {
      const std::size_t left = v < vectors ? std::min<std::size_t>(8, width - 8 * v) : 0;
      mask[v] = static_cast<__mmask8>((1u << left) - 1);
      acc[v] = _mm512_maskz_loadu_pd(mask[v], c + k0 + 8 * v);
    }
    for (std::size_t b = 0; b < count; ++b) {
      const __m512d yb = _mm512_set1_pd(y[b * ldy]);
      const double* xb = x + b * ldx + k0;
      for (int v = 0; v < 4; ++v) {
        if (v >= vectors) break;
        const __m512d term =
            _mm512_div_pd(_mm512_mul_pd(_mm512_maskz_loadu_pd(mask[v], xb + 8 * v), yb), vn);
        acc[v] = _mm512_add_pd(acc[v], term);
      }
    }
    for (int v = 0; v < vectors; ++v) _mm512_mask_storeu_pd(c + k0 + 8 * v, mask[v], acc[v]);
  }
}

}  // namespace

void AddScaledProducts(double* c, std::size_t length, const double* x, std::size_t ldx,
                       const double* y, std::size_t ldy, std::size_t count, double n,
                       InstructionSet set) {
  if (set == InstructionSet::Avx512 && Supports(set))
    return AddScaledProductsAvx512(c, length, x, ldx, y, ldy, count, n);
  AddScaledProductsScalar(c, length, x, ldx, y, ldy, count, n);
}

void AddMultiple(double* y, const double* x, double f, std::size_t count, InstructionSet set) {
  if (!Supports(set)) set = InstructionSet::Sse2;
  switch (set) {
    case InstructionSet::Avx512:
      return AddMultipleAvx512(y, x, f, count);
    case InstructionSet::Avx2:
      return AddMultipleAvx2(y, x, f, count);
    case InstructionSet::Sse2:
      break;
  }
  AddMultipleScalar(y, x, f, 0, count);
}

void MultiplyAccumulate(std::size_t rows, std::size_t columns, std::size_t depth, ConstMatrixView a,
                        ConstMatrixView b, double* c, std::size_t ldc, InstructionSet set) {
  if (!Supports(set)) set = InstructionSet::Sse2;
  switch (set) {
    case InstructionSet::Avx512:
      // Four rows by 48 columns: fewer broadcasts of a per product than a
      // taller block, which matters when products and sums are separate
      // instructions.
      return Blocked<4, 48, 8>(rows, columns, depth, a, b, c, ldc,
                               {KernelAvx512<4, 1>, KernelAvx512<4, 2>, KernelAvx512<4, 3>,
                                KernelAvx512<4, 4>, KernelAvx512<4, 5>, KernelAvx512<4, 6>});
    case InstructionSet::Avx2:
      return Blocked<4, 8, 8>(rows, columns, depth, a, b, c, ldc, {KernelAvx2});
    case InstructionSet::Sse2:
      break;
  }
  Blocked<4, 4, 4>(rows, columns, depth, a, b, c, ldc, {KernelSse2});
}

void MultiplyAccumulate(std::size_t rows, std::size_t columns, std::size_t depth, ConstMatrixView a,
                        ConstMatrixView b, double* c, std::size_t ldc) {
  MultiplyAccumulate(rows, columns, depth, a, b, c, ldc, BestInstructionSet());
}

}  // namespace orv::kernels
