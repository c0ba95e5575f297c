#include "orv/frame/digits15.hpp"

#include <immintrin.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#if !defined(__SIZEOF_INT128__)
#error "digits15.cpp needs unsigned __int128 (GCC or Clang on a 64-bit target)"
#endif

// Method.
//
// ToDigits15: write |x| = m * 2^k and pick q with V = |x| * 10^q in [10^14, 10^16).
// V is computed as (m << lz) * T[q] / 2^s, where T[q] is 5^q scaled to 128 bits
// and truncated, so the computed V' satisfies V' <= V < V' + 2^-73. The rounding
// decision is taken from V' unless V' lies so close to the decision point that the
// truncation error could change it; then V is compared exactly with the decision
// point using a small big integer.
//
// Round15: digits * 10^e is converted back with one correctly rounded double
// multiply or divide when |e| <= 22 (both operands are exact doubles). Otherwise
// the product (digits << lz) * T[e] gives the leading bits of the value with the
// same error bound, and an exact big-integer comparison with the midpoint between
// the two candidate doubles settles the rare cases the approximation cannot.
//
// Fast path (ToDigits15 and Round15, 1e-8 <= |x| < 1e37): q = 14 - floor(log10|x|) is
// in [-22, 22], found from the binary exponent and one comparison with a power of ten,
// and 10^|q| is an exact double. hi = fl(y), y = |x| * 10^q in [10^14, 10^15), takes
// one multiply (q >= 0) or divide (q < 0); its fraction, exact, decides the rounding
// of y to an integer unless it is exactly 1/2. Then the sign of lo = y - hi decides:
// Dekker's exact two-product gives lo for q >= 0; for q < 0 lo has the sign of the
// exact remainder |x| - hi * 10^-q. See FastScale. digits * 10^-q then converts back
// with one correctly rounded multiply or divide, as above.

namespace orv {
namespace {

using std::uint64_t;
__extension__ typedef unsigned __int128 U128;

constexpr uint64_t kFracMask = (uint64_t{1} << 52) - 1;
constexpr uint64_t kHiddenBit = uint64_t{1} << 52;
constexpr uint64_t kExpMask = uint64_t{0x7ff} << 52;
constexpr uint64_t k1e14 = 100000000000000;
constexpr uint64_t k1e15 = 1000000000000000;

// ---------------------------------------------------------------------------
// Fixed-capacity unsigned big integer (little-endian 64-bit limbs). Used to build
// the power table at compile time and for the exact comparisons.

constexpr int kBigLimbs = 20;  // 1280 bits; the largest operand needs < 1100

struct Big {
  uint64_t limb[kBigLimbs] = {};
  int size = 0;  // limbs in use; limb[size - 1] != 0 when size > 0

  constexpr explicit Big(uint64_t v) {
    limb[0] = v;
    size = v != 0 ? 1 : 0;
  }
};

constexpr void MulSmall(Big& a, uint64_t f) {
  uint64_t carry = 0;
  for (int i = 0; i < a.size; ++i) {
    const U128 p = static_cast<U128>(a.limb[i]) * f + carry;
    a.limb[i] = static_cast<uint64_t>(p);
    carry = static_cast<uint64_t>(p >> 64);
  }
  if (carry != 0) {
    // Cannot happen for the operands used here; the check keeps a logic
    // error from writing out of bounds.
    if (a.size == kBigLimbs) std::abort();
    a.limb[a.size++] = carry;
  }
}

// a = floor(a / d)
constexpr void DivSmall(Big& a, uint64_t d) {
  U128 rem = 0;
  for (int i = a.size - 1; i >= 0; --i) {
    const U128 cur = (rem << 64) | a.limb[i];
    a.limb[i] = static_cast<uint64_t>(cur / d);
    rem = cur % d;
  }
  while (a.size > 0 && a.limb[a.size - 1] == 0) --a.size;
}

constexpr void MulPow5(Big& a, int n) {
  constexpr uint64_t k5p27 = 7450580596923828125u;  // 5^27, the largest below 2^64
  for (; n >= 27; n -= 27) MulSmall(a, k5p27);
  uint64_t f = 1;
  for (; n > 0; --n) f *= 5;
  if (f != 1) MulSmall(a, f);
}

constexpr void ShiftLeft(Big& a, int n) {
  if (a.size == 0 || n == 0) return;
  const int limbs = n / 64;
  const int bits = n % 64;
  const int new_size = a.size + limbs + 1;
  if (new_size > kBigLimbs) std::abort();  // see MulSmall
  for (int i = a.size; i >= 0; --i) {
    const uint64_t lo = i > 0 ? a.limb[i - 1] : 0;
    const uint64_t hi = i < a.size ? a.limb[i] : 0;
    a.limb[i + limbs] = bits == 0 ? hi : (hi << bits) | (lo >> (64 - bits));
  }
  for (int i = 0; i < limbs; ++i) a.limb[i] = 0;
  a.size = new_size;
  while (a.size > 0 && a.limb[a.size - 1] == 0) --a.size;
}

constexpr int Compare(const Big& a, const Big& b) {
  if (a.size != b.size) return a.size < b.size ? -1 : 1;
  for (int i = a.size - 1; i >= 0; --i) {
    if (a.limb[i] != b.limb[i]) return a.limb[i] < b.limb[i] ? -1 : 1;
  }
  return 0;
}

constexpr int BitLength(const Big& a) {
  return a.size == 0 ? 0 : 64 * a.size - std::countl_zero(a.limb[a.size - 1]);
}

// Bits [pos, pos + 64) of a, pos >= 0.
constexpr uint64_t Bits64(const Big& a, int pos) {
  const int i = pos / 64;
  const int sh = pos % 64;
  const uint64_t lo = i < a.size ? a.limb[i] : 0;
  const uint64_t hi = i + 1 < a.size ? a.limb[i + 1] : 0;
  return sh == 0 ? lo : (lo >> sh) | (hi << (64 - sh));
}

// Sign of u * 5^p5 * 2^p2 - v, computed exactly.
constexpr int CompareExact(uint64_t u, int p5, int p2, uint64_t v) {
  Big a(u);
  Big b(v);
  if (p5 >= 0) {
    MulPow5(a, p5);
  } else {
    MulPow5(b, -p5);
  }
  if (p2 >= 0) {
    ShiftLeft(a, p2);
  } else {
    ShiftLeft(b, -p2);
  }
  return Compare(a, b);
}

// ---------------------------------------------------------------------------
// Powers of five: for kMinPow <= q <= kMaxPow, kPow5[q - kMinPow] holds the 128
// leading bits of 5^q, truncated: T = floor(5^q * 2^(127 - FloorLog2Pow5(q))),
// 2^127 <= T < 2^128. Exact for 0 <= q <= 55.

constexpr int kMinPow = -340;
constexpr int kMaxPow = 340;

struct U128Parts {
  uint64_t hi;
  uint64_t lo;
};

// floor(log2(5^q)) for |q| <= 340 (checked against the big integers below).
constexpr int FloorLog2Pow5(int q) { return (q * 152170) >> 16; }

// floor(log10(2^b)) for -1074 <= b <= 1023 (checked below).
constexpr int FloorLog10Pow2(int b) { return (b * 78913) >> 18; }

constexpr U128Parts Leading128(const Big& a) {
  const int len = BitLength(a);
  if (len >= 128) return {Bits64(a, len - 64), Bits64(a, len - 128)};
  const U128 v = ((static_cast<U128>(Bits64(a, 64)) << 64) | Bits64(a, 0)) << (128 - len);
  return {static_cast<uint64_t>(v >> 64), static_cast<uint64_t>(v)};
}

using Pow5Table = std::array<U128Parts, kMaxPow - kMinPow + 1>;

constexpr Pow5Table MakePow5Table() {
  Pow5Table table{};
  Big p(1);
  for (int q = 0; q <= kMaxPow; ++q) {
    table[q - kMinPow] = Leading128(p);
    MulSmall(p, 5);
  }
  // floor(2^1088 / 5^n), and floor(floor(a) / 5) == floor(a / 5). Its leading 128
  // bits are floor(2^(127 + bitlen(5^n)) / 5^n), as 1088 >= 127 + bitlen(5^340).
  Big r(0);
  r.limb[17] = 1;
  r.size = 18;
  for (int n = 1; n <= -kMinPow; ++n) {
    DivSmall(r, 5);
    table[-n - kMinPow] = Leading128(r);
  }
  return table;
}

constexpr bool CheckLogFormulas() {
  // FloorLog2Pow5(q) == bitlen(5^q) - 1, and == -bitlen(5^n) for q = -n < 0.
  Big p(1);
  for (int n = 0; n <= 340; ++n) {
    if (FloorLog2Pow5(n) != BitLength(p) - 1) return false;
    if (n > 0 && FloorLog2Pow5(-n) != -BitLength(p)) return false;
    MulSmall(p, 5);
  }
  // e = FloorLog10Pow2(b) must satisfy 10^e <= 2^b < 10^(e + 1). With
  // L(n) = bitlen(10^n): for n >= 1, 10^n <= 2^b <=> L(n) <= b and
  // 2^b < 10^n <=> b <= L(n) - 1 (10^n is not a power of two).
  int len10[340] = {};
  Big t(1);
  for (int n = 0; n < 340; ++n) {
    len10[n] = BitLength(t);
    MulSmall(t, 10);
  }
  for (int b = 0; b <= 1023; ++b) {
    const int e = FloorLog10Pow2(b);
    if (e < 0 || e + 1 >= 340) return false;
    if (e >= 1 && len10[e] > b) return false;  // need 10^e <= 2^b
    if (b > len10[e + 1] - 1) return false;    // need 2^b < 10^(e + 1)
  }
  for (int b = -1074; b < 0; ++b) {
    // 10^e <= 2^b < 10^(e+1) with e = -n <= -1, i.e. 10^(n-1) < 2^-b <= 10^n.
    const int n = -FloorLog10Pow2(b);
    if (n < 1 || n >= 340) return false;
    if (-b > len10[n] - 1) return false;            // need 2^-b < 10^n (never equal)
    if (n >= 2 && len10[n - 1] > -b) return false;  // need 10^(n-1) < 2^-b
  }
  return true;
}

static_assert(CheckLogFormulas());

constexpr Pow5Table kPow5 = MakePow5Table();

constexpr double kPow10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// ---------------------------------------------------------------------------
// Fast path tables.

// The smallest double >= 10^k, for kCeilMin <= k <= kCeilMax: for any double a,
// a >= 10^k exactly when a >= kCeilPow10[k - kCeilMin]. (10^k itself for 0 <= k <= 22.)
constexpr int kCeilMin = -8;
constexpr int kCeilMax = 37;

constexpr int BitLength128(U128 v) {
  int n = 0;
  for (; v != 0; v >>= 1) ++n;
  return n;
}

constexpr double MakeDouble(uint64_t m, int e) {  // m * 2^e, 2^52 <= m < 2^53, normal
  return std::bit_cast<double>((static_cast<uint64_t>(e + 52 + 1023) << 52) | (m & kFracMask));
}

constexpr double CeilPow10(int k) {
  U128 p5 = 1;
  for (int i = 0; i < (k < 0 ? -k : k); ++i) p5 *= 5;
  const int len = BitLength128(p5);
  U128 m;
  int e;
  if (k >= 0) {
    // 10^k = p5 * 2^k; keep the top 53 bits of p5, rounding up.
    if (len <= 53) {
      m = p5 << (53 - len);
      e = k - (53 - len);
    } else {
      const int s = len - 53;
      m = (p5 + ((U128{1} << s) - 1)) >> s;
      e = k + s;
    }
  } else {
    // 10^k = 2^k / p5 with 2^(len-1) < p5 < 2^len (p5 > 1 is odd):
    // 2^k / p5 = (2^(len+52) / p5) * 2^(k-len-52), with the ratio in (2^52, 2^53).
    const U128 num = U128{1} << (len + 52);
    m = (num + p5 - 1) / p5;
    e = k - len - 52;
  }
  if (m == (U128{1} << 53)) {
    m >>= 1;
    ++e;
  }
  return MakeDouble(static_cast<uint64_t>(m), e);
}

using CeilTable = std::array<double, kCeilMax - kCeilMin + 1>;

constexpr CeilTable MakeCeilTable() {
  CeilTable t{};
  for (int k = kCeilMin; k <= kCeilMax; ++k) t[k - kCeilMin] = CeilPow10(k);
  return t;
}

constexpr CeilTable kCeilPow10 = MakeCeilTable();

// Checks kCeilPow10 from its bits with exact big-integer comparisons:
// c >= 10^k and the double below c is < 10^k.
constexpr bool CheckCeilTable() {
  for (int k = kCeilMin; k <= kCeilMax; ++k) {
    const uint64_t bits = std::bit_cast<uint64_t>(kCeilPow10[k - kCeilMin]);
    const int biased = static_cast<int>(bits >> 52);
    if (biased == 0 || biased >= 0x7ff) return false;
    const uint64_t m = (bits & kFracMask) | kHiddenBit;
    const int e = biased - 1075;
    // sign(m * 2^e - 10^k) = sign(m * 5^-k * 2^(e-k) - 1)
    if (CompareExact(m, -k, e - k, 1) < 0) return false;
    const uint64_t pm = m == kHiddenBit ? 2 * m - 1 : m - 1;
    const int pe = m == kHiddenBit ? e - 1 : e;
    if (CompareExact(pm, -k, pe - k, 1) >= 0) return false;
    if (k >= 0 && k <= 22 && kCeilPow10[k - kCeilMin] != kPow10[k]) return false;
  }
  return true;
}

static_assert(CheckCeilTable());

// Veltkamp's split: a == hi + lo, each with at most 26 significant bits, so the
// products of the parts of two doubles are exact (Dekker).
constexpr double kSplitter = 134217729.0;  // 2^27 + 1

struct Split {
  double hi;
  double lo;
};

constexpr Split SplitDouble(double a) {
  const double c = kSplitter * a;
  const double big = c - a;
  const double hi = c - big;
  return {hi, a - hi};
}

struct Pow10Parts {
  double hi;  // SplitDouble(10^q)
  double lo;
};

using Pow10PartsTable = std::array<Pow10Parts, 23>;

constexpr Pow10PartsTable MakePow10Parts() {
  Pow10PartsTable t{};
  for (int q = 0; q <= 22; ++q) {
    const Split s = SplitDouble(kPow10[q]);
    t[q] = {s.hi, s.lo};
  }
  return t;
}

constexpr Pow10PartsTable kPow10Parts = MakePow10Parts();

// The exact error of the product a * b = p: returns a * b - p (exact, for doubles
// whose product neither overflows nor comes near the subnormal range).
// as = SplitDouble(a); b_hi + b_lo = SplitDouble(b); p = fl(a * b).
inline double TwoProductError(const Split& as, double b_hi, double b_lo, double p) {
  const double err1 = p - as.hi * b_hi;
  const double err2 = err1 - as.lo * b_hi;
  const double err3 = err2 - as.hi * b_lo;
  return as.lo * b_lo - err3;
}

// Binades of the doubles that can have |q| <= 22 below, 2^b <= |x| < 2^(b+1):
// 2^-27 < 1e-8 < 2^-26 and 2^122 < 1e37 < 2^123 (the end binades only in part).
constexpr int kFastFirstBinade = -27;
constexpr int kFastLastBinade = 122;

// Per binade b: 10^e <= 2^b < 10^(e+1) with e = FloorLog10Pow2(b), so for
// 2^b <= a < 2^(b+1) < 10^(e+2), floor(log10 a) is e, or e + 1 when a >= 10^(e+1).
struct FastBinade {
  double threshold;  // the smallest double >= 10^(e+1)
  int q;             // 14 - e; q - 1 when a >= threshold
};

using FastBinadeTable = std::array<FastBinade, kFastLastBinade - kFastFirstBinade + 1>;

constexpr FastBinadeTable MakeFastBinades() {
  FastBinadeTable t{};
  for (int b = kFastFirstBinade; b <= kFastLastBinade; ++b) {
    const int e = FloorLog10Pow2(b);
    // Out of the table's range would be a compile error (constant evaluation).
    t[b - kFastFirstBinade] = {kCeilPow10.at(e + 1 - kCeilMin), 14 - e};
  }
  return t;
}

constexpr FastBinadeTable kFastBinades = MakeFastBinades();

// Every q the table gives for binade b: q, and q - 1 when the threshold lies below
// 2^(b+1). Only the first and last binades give a q out of [-22, 22] (FastScale checks
// q), and every double with 1e-8 <= |x| < 1e37 is in a binade of the table.
constexpr bool CheckFastBinades() {
  for (int b = kFastFirstBinade; b <= kFastLastBinade; ++b) {
    const FastBinade& t = kFastBinades[b - kFastFirstBinade];
    const double top = MakeDouble(kHiddenBit, b + 1 - 52);  // 2^(b+1)
    const int q_min = t.threshold < top ? t.q - 1 : t.q;
    const bool inside = q_min >= -22 && t.q <= 22;
    const bool end = b == kFastFirstBinade || b == kFastLastBinade;
    if (inside == end) return false;
  }
  // 2^-27 < 10^-8 <= 2^-26 and 2^122 < 10^37 <= 2^123 (compared via the smallest
  // doubles >= the powers of ten).
  return 0x1p-27 < CeilPow10(-8) && CeilPow10(-8) <= 0x1p-26 && 0x1p122 < CeilPow10(37) &&
         CeilPow10(37) <= 0x1p123;
}

static_assert(CheckFastBinades());

// Scale factors by q, -22 <= q <= 22 (index q + 22), all exact doubles.
struct FastScaleFactors {
  double scale64;  // 64 * 10^q for q >= 0 (multiply), 10^-q / 64 for q < 0 (divide)
  double pow10;    // 10^|q|
};

using FastScaleTable = std::array<FastScaleFactors, 45>;

constexpr FastScaleTable MakeFastScales() {
  FastScaleTable t{};
  for (int q = -22; q <= 22; ++q) {
    const double p = kPow10[q >= 0 ? q : -q];
    t[q + 22] = {q >= 0 ? p * 64 : p / 64, p};
  }
  return t;
}

constexpr FastScaleTable kFastScales = MakeFastScales();

// Whether y - hi >= 0, where y = a * 10^q exactly and hi = fl(y), |q| <= 22.
[[gnu::noinline]] bool ScaledErrorNonNegative(double a, int q, double hi) {
  if (q >= 0) {
    const Pow10Parts& p = kPow10Parts[q];
    return TwoProductError(SplitDouble(a), p.hi, p.lo, hi) >= 0.0;  // y - hi, exact
  }
  // r = a - hi * 10^-q has the sign of y - hi = r / 10^-q. ph + pl = hi * 10^-q
  // exactly; a - ph is exact (Sterbenz: ph is within a factor 2 of a), and the last
  // subtraction has r's sign (a difference of doubles rounds to 0 only when it is 0).
  const Pow10Parts& p = kPow10Parts[-q];
  const double ph = hi * kPow10[-q];
  const double pl = TwoProductError(SplitDouble(hi), p.hi, p.lo, ph);
  return (a - ph) - pl >= 0.0;
}

struct FastResult {
  int64_t n;  // round(|x| * 10^q), half away from zero; 10^14 <= n <= 10^15
  int q;      // -22 <= q <= 22
};

// For 1e-8 <= |x| < 1e37, sets q = 14 - floor(log10|x|) (so y = |x| * 10^q lies in
// [10^14, 10^15)) and n = y rounded to an integer, ties away from zero; false for
// every other x (zeros, subnormals, inf, NaN, other magnitudes).
//
// Why the result is exact. hi = fl(y) lies in [10^14, 10^15] (both bounds are
// doubles, and rounding is monotonic), inside [2^46, 2^50): its ulp u is 2^-6 ..
// 2^-3, so H = 64 * hi is an integer below 2^56, and H = fl(64 y) is computed
// directly (scaling by 64 commutes with rounding). F = floor(hi) = H >> 6 and the
// fraction f = (H & 63) / 64 are exact, and y = hi + lo with |lo| <= u/2 (u/4 below
// a power of two) because hi is y correctly rounded; f and 1/2 are multiples of u.
//   f > 1/2: f >= 1/2 + u, so y - F lies in (1/2, 1): n = F + 1.
//   f < 1/2: f <= 1/2 - u, so y - F lies in [-u/2, 1/2): n = F (for f == 0 and
//            lo < 0, y is just below F but above F - 1/2).
//   f == 1/2: y = F + 1/2 + lo: n = F + 1 if lo >= 0 (lo == 0 is an exact tie,
//            rounded away from zero), else F. Only here is lo's sign computed.
// So n = (H + 32) >> 6, less one when f == 1/2 and lo < 0. hi == 10^15 (y just
// below 10^15) gives n = 10^15, which is correct: y >= 10^15 - u/2 rounds up to it.
inline bool FastScale(double x, FastResult& out) {
  const uint64_t abits = std::bit_cast<uint64_t>(x) & ~(uint64_t{1} << 63);
  const unsigned index = static_cast<unsigned>(abits >> 52) - (1023 + kFastFirstBinade);
  if (index >= kFastBinades.size()) return false;
  const double a = std::bit_cast<double>(abits);
  const FastBinade& binade = kFastBinades[index];
  const int q = binade.q - (a >= binade.threshold ? 1 : 0);
  if (static_cast<unsigned>(q + 22) > 44u) return false;
  const double scale64 = kFastScales[q + 22].scale64;
  const int64_t h = static_cast<int64_t>(q >= 0 ? a * scale64 : a / scale64);
  int64_t n = (h + 32) >> 6;
  if ((h & 63) == 32) [[unlikely]] {
    n -= ScaledErrorNonNegative(a, q, static_cast<double>(h) * (1.0 / 64)) ? 0 : 1;
  }
  out.n = n;
  out.q = q;
  return true;
}

// ---------------------------------------------------------------------------

struct U192 {
  uint64_t hi;
  uint64_t mid;
  uint64_t lo;
};

inline U192 Mul192(uint64_t a, U128Parts t) {
  const U128 lo = static_cast<U128>(a) * t.lo;
  const U128 hi = static_cast<U128>(a) * t.hi;
  const U128 mid = static_cast<U128>(static_cast<uint64_t>(hi)) + static_cast<uint64_t>(lo >> 64);
  return {static_cast<uint64_t>(hi >> 64) + static_cast<uint64_t>(mid >> 64),
          static_cast<uint64_t>(mid), static_cast<uint64_t>(lo)};
}

using digits15_detail::Path;

template <Path kPath>
inline Digits15 ToDigits15General(double x) {
  const uint64_t bits = std::bit_cast<uint64_t>(x);
  Digits15 r;
  r.negative = (bits >> 63) != 0;
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  uint64_t m = bits & kFracMask;
  int k;
  if (biased == 0) {
    if (m == 0) return r;  // +-0
    k = -1074;
  } else if (biased == 0x7ff) {
    return r;  // outside the precondition
  } else {
    m |= kHiddenBit;
    k = biased - 1075;
  }
  // |x| = m * 2^k with 2^b <= |x| < 2^(b+1). e = floor(log10(2^b)) is
  // floor(log10|x|) or one less, so V = |x| * 10^(14 - e) lies in [10^14, 10^16).
  const int lz = std::countl_zero(m);
  const int b = k + 63 - lz;
  const int q = 14 - FloorLog10Pow2(b);
  const U192 p = Mul192(m << lz, kPow5[q - kMinPow]);
  // V' = p / 2^(128 + sh); 9 <= sh <= 17. The truncation error of the table,
  // times m << lz < 2^64, is below one unit of p.lo: V' <= V < V' + 2^-(64 + sh).
  const int sh = -1 + lz - k - q - FloorLog2Pow5(q);
  const uint64_t n = p.hi >> sh;
  const uint64_t frac = p.hi & ((uint64_t{1} << sh) - 1);
  const uint64_t half = uint64_t{1} << (sh - 1);
  constexpr uint64_t kOnes = ~uint64_t{0};

  uint64_t digits;
  if (n < k1e15) {
    // digits = floor(V + 1/2) (V > 0: half away from zero); V' decides unless frac(V') lies in
    // [1/2 - 2^-(64+sh), 1/2), i.e. frac == half - 1 and p.mid all ones.
    if (kPath != Path::kExactOnly && frac >= half) {
      digits = n + 1;
    } else if (kPath != Path::kExactOnly && !(frac == half - 1 && p.mid == kOnes)) {
      digits = n;
    } else {
      // Sign of 2V - (2n + 1) = m * 5^q * 2^(k+q+1) - (2n + 1).
      digits = n + (CompareExact(m, q, k + q + 1, 2 * n + 1) >= 0 ? 1 : 0);
    }
    r.exponent = -q;
  } else {
    // V >= 10^15: round at one digit less. round(V / 10) = floor((V + 5) / 10)
    // = floor((floor(V) + 5) / 10). floor(V) is n, or n + 1 when frac(V') lies
    // within the error of 1; that only matters when n % 10 == 4.
    uint64_t whole = n;
    if (kPath == Path::kExactOnly ||
        (n % 10 == 4 && frac == (uint64_t{1} << sh) - 1 && p.mid == kOnes)) {
      whole += CompareExact(m, q, k + q + 1, 2 * n + 2) >= 0 ? 1 : 0;
    }
    digits = (whole + 5) / 10;
    r.exponent = 1 - q;
  }
  if (digits == k1e15) {
    digits = k1e14;
    ++r.exponent;
  }
  r.digits = digits;
  return r;
}

[[gnu::noinline]] Digits15 ToDigits15Fallback(double x) {
  return ToDigits15General<Path::kFast>(x);
}

template <Path kPath>
inline Digits15 ToDigits15Impl(double x) {
  if constexpr (kPath == Path::kFast) {
    FastResult fast;
    if (FastScale(x, fast)) [[likely]] {
      Digits15 r;
      r.negative = std::signbit(x);
      const bool carry = fast.n == static_cast<int64_t>(k1e15);
      r.digits = carry ? k1e14 : static_cast<uint64_t>(fast.n);
      r.exponent = (carry ? 1 : 0) - fast.q;
      return r;
    }
    return ToDigits15Fallback(x);
  } else {
    return ToDigits15General<kPath>(x);
  }
}

// The double nearest to d * 10^e (ties to even), for 10^14 <= d <= 10^15 and
// kMinPow <= e <= kMaxPow.
template <Path kPath>
inline double ToDoubleImpl(uint64_t d, int e) {
  if (kPath == Path::kFast && e >= -22 && e <= 22) {
    // d < 2^53 and 10^|e| are exact doubles: one correctly rounded operation.
    const double dd = static_cast<double>(d);
    return e >= 0 ? dd * kPow10[e] : dd / kPow10[-e];
  }
  const int lz = std::countl_zero(d);
  const U192 p = Mul192(d << lz, kPow5[e - kMinPow]);
  // W' = p * 2^(e + FloorLog2Pow5(e) - 127 - lz), with W' <= W < W' + 2^-128 W'.
  const int top = static_cast<int>(p.hi >> 63);
  const int b = 63 + top + e + FloorLog2Pow5(e) - lz;  // 2^b <= W' < 2^(b+1)
  const int prec = b >= -1022 ? 53 : b + 1075;         // significant bits kept
  if (prec <= 0) {
    // Below 2^-1075 or just above it: 0 or the smallest subnormal (not reached
    // from ToDigits15, whose values are at least 4.94065645841247e-324).
    const int c = CompareExact(d, e, e + 1075, 1);
    return c > 0 ? std::bit_cast<double>(uint64_t{1}) : 0.0;
  }
  // mant = the leading prec bits of p; the rest, compared with its midpoint, rounds.
  const int hs = 63 + top - prec;  // 10 <= hs <= 63
  uint64_t mant = p.hi >> hs;
  const uint64_t rest = p.hi & ((uint64_t{1} << hs) - 1);
  const uint64_t half = uint64_t{1} << (hs - 1);
  int g = b - prec + 1;  // the candidate double is mant * 2^g
  bool up;
  if (kPath == Path::kExactOnly || (rest == half && (p.mid | p.lo) == 0) ||
      (rest == half - 1 && p.mid == ~uint64_t{0})) {
    // W' is within the error bound below the midpoint, or exactly on it.
    // Sign of W - (2 mant + 1) * 2^(g-1) = d * 5^e * 2^(e-g+1) - (2 mant + 1).
    const int c = CompareExact(d, e, e - g + 1, 2 * mant + 1);
    up = c > 0 || (c == 0 && (mant & 1) != 0);
  } else {
    up = rest >= half;  // rest == half here means W' (hence W) above the midpoint
  }
  mant += up ? 1 : 0;
  if (mant >> 53) {
    mant >>= 1;
    ++g;
  }
  if (mant < kHiddenBit) return std::bit_cast<double>(mant);  // subnormal: g == -1074
  if (g + 1075 >= 2047) return std::numeric_limits<double>::infinity();
  return std::bit_cast<double>((static_cast<uint64_t>(g + 1075) << 52) | (mant & kFracMask));
}

template <Path kPath>
inline double Round15General(double x) {
  const uint64_t bits = std::bit_cast<uint64_t>(x);
  if ((bits & kExpMask) == kExpMask || (bits << 1) == 0) return x;  // inf, NaN, +-0
  const Digits15 r = ToDigits15General<kPath>(x);
  const double w = ToDoubleImpl<kPath>(r.digits, r.exponent);
  return r.negative ? -w : w;
}

// Kept out of line so that the fast path stays small (no register saves).
[[gnu::noinline]] double Round15Fallback(double x) { return Round15General<Path::kFast>(x); }

template <Path kPath>
inline double Round15Impl(double x) {
  if constexpr (kPath == Path::kFast) {
    FastResult fast;
    if (FastScale(x, fast)) [[likely]] {
      // +-n * 10^-q: both operands exact doubles, one correctly rounded operation
      // (rounding to nearest is symmetric, so the sign can go in first).
      const int64_t s = static_cast<int64_t>(std::bit_cast<uint64_t>(x)) >> 63;  // 0 or -1
      const double n = static_cast<double>((fast.n ^ s) - s);
      const double p = kFastScales[fast.q + 22].pow10;
      return fast.q >= 0 ? n / p : n * p;
    }
    return Round15Fallback(x);
  } else {
    return Round15General<kPath>(x);
  }
}

// ---------------------------------------------------------------------------
// Many values at once: the fast path of Round15, lane by lane.
//
// Per lane, with a = |x| in binade index i (as FastScale): the table gives the
// threshold of the binade and, for each of its two choices of q, 10^q. Only
// 0 <= q <= 22 is taken here (|x| below about 1e15); every other choice, and
// every x outside the binades, has 10^q = 0, so that H = a * 0 (0, or NaN for
// inf and NaN) fails the test H >= 2^52 and the lane goes to Round15. For a
// lane that passes, H = fl(a * (64 * 10^q)) is FastScale's h, an integer
// below 2^56; hi = H / 64 = fl(a * 10^q) is exact, and so are hi + 1/2 (hi <
// 2^50 is a multiple of 2^-6), n = floor(hi + 1/2) = (H + 32) >> 6 and n - hi.
// When n - hi == 1/2 (FastScale's (h & 63) == 32), a fused multiply-add gives
// lo = a * 10^q - hi exactly (the error of a product is a double), and a
// negative lo takes one off n, as ScaledErrorNonNegative decides. The result
// n / 10^q, signed afterwards, is Round15's (+-n) / 10^q, as rounding to
// nearest is symmetric.

constexpr int kVecBinades = kFastLastBinade - kFastFirstBinade + 1;  // index kVecBinades: none

struct VecTables {
  double threshold[kVecBinades + 1];
  double pow10[2 * (kVecBinades + 1)];  // [2 i + (a >= threshold)]
};

constexpr VecTables MakeVecTables() {
  VecTables t{};
  for (int i = 0; i < kVecBinades; ++i) {
    const FastBinade& b = kFastBinades[i];
    t.threshold[i] = b.threshold;
    for (int above = 0; above < 2; ++above) {
      const int q = b.q - above;
      if (q >= 0 && q <= 22) t.pow10[2 * i + above] = kPow10[q];
    }
  }
  t.threshold[kVecBinades] = std::numeric_limits<double>::infinity();
  return t;
}

alignas(64) constexpr VecTables kVec = MakeVecTables();

constexpr uint64_t kAbsMask = ~(uint64_t{1} << 63);
constexpr long long kIndexBias = 1023 + kFastFirstBinade;

// The AVX-512 path looks its factors up by register permutes instead: with
// e = FloorLog10Pow2(b) for the binade b of a, it takes -8 <= e <= 14 (every
// other lane goes to Round15), where the threshold is the smallest double
// >= 10^(e+1) and q = 14 - e or 13 - e.
struct PermuteTables {
  alignas(64) double threshold[32];  // [e + 8]
  alignas(64) double pow10[32];      // [e + 8 + (a >= threshold)] = 10^(22 - that), 0 for q < 0
};

constexpr PermuteTables MakePermuteTables() {
  PermuteTables t{};
  for (int e = -8; e <= 14; ++e) t.threshold[e + 8] = kCeilPow10[e + 1 - kCeilMin];
  for (int j = 0; j <= 22; ++j) t.pow10[j] = kPow10[22 - j];
  return t;
}

constexpr PermuteTables kPermute = MakePermuteTables();

// GCC 12 takes the deliberately undefined inputs of several AVX-512
// intrinsics for uninitialised variables.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
// table[index] for 0 <= index < 32, two permutes of four registers.
__attribute__((target("avx512f"))) inline __m512d Lookup32(const double* table, __m512i index) {
  const __m512d low =
      _mm512_permutex2var_pd(_mm512_load_pd(table), index, _mm512_load_pd(table + 8));
  const __m512d high =
      _mm512_permutex2var_pd(_mm512_load_pd(table + 16), index, _mm512_load_pd(table + 24));
  return _mm512_mask_blend_pd(_mm512_cmpge_epi64_mask(index, _mm512_set1_epi64(16)), low, high);
}

__attribute__((target("avx512f,fma"))) void Round15ManyAvx512(const double* x, double* out,
                                                              std::size_t count) {
  const __m512i abs_mask = _mm512_set1_epi64(static_cast<long long>(kAbsMask));
  const __m512d half = _mm512_set1_pd(0.5);
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m512d v = _mm512_loadu_pd(x + i);
    const __m512i bits = _mm512_castpd_si512(v);
    const __m512i abits = _mm512_and_si512(bits, abs_mask);
    const __m512d a = _mm512_castsi512_pd(abits);
    const __m512i b = _mm512_sub_epi64(_mm512_srli_epi64(abits, 52), _mm512_set1_epi64(1023));
    // FloorLog10Pow2(b) + 8 (b * 78913 fits in 32 bits), 0..22 on the lanes taken.
    const __m512i e8 = _mm512_add_epi64(
        _mm512_srai_epi64(_mm512_mul_epi32(b, _mm512_set1_epi64(78913)), 18), _mm512_set1_epi64(8));
    const __mmask8 taken = _mm512_cmplt_epu64_mask(e8, _mm512_set1_epi64(23));
    const __m512d threshold = Lookup32(kPermute.threshold, e8);
    const __m512i choice = _mm512_mask_add_epi64(e8, _mm512_cmp_pd_mask(a, threshold, _CMP_GE_OQ),
                                                 e8, _mm512_set1_epi64(1));
    const __m512d p = _mm512_maskz_mov_pd(taken, Lookup32(kPermute.pow10, choice));
    const __m512d h = _mm512_mul_pd(a, _mm512_mul_pd(p, _mm512_set1_pd(64)));
    const __m512d hi = _mm512_mul_pd(h, _mm512_set1_pd(1.0 / 64));
    __m512d n = _mm512_roundscale_pd(_mm512_add_pd(hi, half), _MM_FROUND_TO_NEG_INF);
    const __mmask8 tie = _mm512_cmp_pd_mask(_mm512_sub_pd(n, hi), half, _CMP_EQ_OQ);
    const __m512d lo = _mm512_fmsub_pd(a, p, hi);
    n = _mm512_mask_sub_pd(n, tie & _mm512_cmp_pd_mask(lo, _mm512_setzero_pd(), _CMP_LT_OQ), n,
                           _mm512_set1_pd(1));
    const __mmask8 settled = _mm512_cmp_pd_mask(h, _mm512_set1_pd(0x1p52), _CMP_GE_OQ);
    const __m512d w = _mm512_div_pd(n, p);
    const __m512i sign = _mm512_andnot_si512(abs_mask, bits);
    _mm512_storeu_pd(out + i, _mm512_castsi512_pd(_mm512_or_si512(_mm512_castpd_si512(w), sign)));
    if (settled != 0xff) [[unlikely]] {
      alignas(64) double in[8];
      _mm512_store_pd(in, v);
      for (unsigned lane = 0; lane < 8; ++lane)
        if (!(settled >> lane & 1)) out[i + lane] = Round15Impl<Path::kFast>(in[lane]);
    }
  }
  for (; i < count; ++i) out[i] = Round15Impl<Path::kFast>(x[i]);
}
#pragma GCC diagnostic pop

__attribute__((target("avx2,fma"))) void Round15ManyAvx2(const double* x, double* out,
                                                         std::size_t count) {
  const __m256i abs_mask = _mm256_set1_epi64x(static_cast<long long>(kAbsMask));
  const __m256i none = _mm256_set1_epi64x(kVecBinades);
  const __m256d half = _mm256_set1_pd(0.5);
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m256d v = _mm256_loadu_pd(x + i);
    const __m256i bits = _mm256_castpd_si256(v);
    const __m256i abits = _mm256_and_si256(bits, abs_mask);
    const __m256d a = _mm256_castsi256_pd(abits);
    __m256i index = _mm256_sub_epi64(_mm256_srli_epi64(abits, 52), _mm256_set1_epi64x(kIndexBias));
    // 0 <= index < kVecBinades, or the empty entry (index is below 2^11 in magnitude).
    const __m256i inside = _mm256_andnot_si256(_mm256_cmpgt_epi64(_mm256_setzero_si256(), index),
                                               _mm256_cmpgt_epi64(none, index));
    index = _mm256_blendv_epi8(none, index, inside);
    const __m256d threshold = _mm256_i64gather_pd(kVec.threshold, index, 8);
    // The comparison's all-ones lanes are -1: subtracting them adds 1.
    const __m256i choice =
        _mm256_sub_epi64(_mm256_add_epi64(index, index),
                         _mm256_castpd_si256(_mm256_cmp_pd(a, threshold, _CMP_GE_OQ)));
    const __m256d p = _mm256_i64gather_pd(kVec.pow10, choice, 8);
    const __m256d h = _mm256_mul_pd(a, _mm256_mul_pd(p, _mm256_set1_pd(64)));
    const __m256d hi = _mm256_mul_pd(h, _mm256_set1_pd(1.0 / 64));
    __m256d n = _mm256_floor_pd(_mm256_add_pd(hi, half));
    const __m256d tie = _mm256_cmp_pd(_mm256_sub_pd(n, hi), half, _CMP_EQ_OQ);
    const __m256d lo = _mm256_fmsub_pd(a, p, hi);
    const __m256d down = _mm256_and_pd(tie, _mm256_cmp_pd(lo, _mm256_setzero_pd(), _CMP_LT_OQ));
    n = _mm256_sub_pd(n, _mm256_and_pd(down, _mm256_set1_pd(1)));
    const int settled = _mm256_movemask_pd(_mm256_cmp_pd(h, _mm256_set1_pd(0x1p52), _CMP_GE_OQ));
    const __m256d w = _mm256_div_pd(n, p);
    const __m256i sign = _mm256_andnot_si256(abs_mask, bits);
    _mm256_storeu_pd(out + i, _mm256_castsi256_pd(_mm256_or_si256(_mm256_castpd_si256(w), sign)));
    if (settled != 0xf) [[unlikely]] {
      alignas(32) double in[4];
      _mm256_store_pd(in, v);
      for (unsigned lane = 0; lane < 4; ++lane)
        if (!(settled >> lane & 1)) out[i + lane] = Round15Impl<Path::kFast>(in[lane]);
    }
  }
  for (; i < count; ++i) out[i] = Round15Impl<Path::kFast>(x[i]);
}

}  // namespace

Digits15 ToDigits15(double x) { return ToDigits15Impl<Path::kFast>(x); }

double Round15(double x) { return Round15Impl<Path::kFast>(x); }

void Round15Many(const double* x, double* out, std::size_t count) {
  digits15_detail::Round15ManyVia(x, out, count, BestInstructionSet());
}

namespace digits15_detail {

Digits15 ToDigits15Via(double x, Path path) {
  switch (path) {
    case Path::kFast:
      return ToDigits15Impl<Path::kFast>(x);
    case Path::kNoFastPath:
      return ToDigits15Impl<Path::kNoFastPath>(x);
    case Path::kExactOnly:
      return ToDigits15Impl<Path::kExactOnly>(x);
  }
  return ToDigits15Impl<Path::kExactOnly>(x);
}

double Round15Via(double x, Path path) {
  switch (path) {
    case Path::kFast:
      return Round15Impl<Path::kFast>(x);
    case Path::kNoFastPath:
      return Round15Impl<Path::kNoFastPath>(x);
    case Path::kExactOnly:
      return Round15Impl<Path::kExactOnly>(x);
  }
  return Round15Impl<Path::kExactOnly>(x);
}

void Round15ManyVia(const double* x, double* out, std::size_t count, InstructionSet set) {
  if (!Supports(set)) set = InstructionSet::Sse2;
  switch (set) {
    case InstructionSet::Avx512:
      return Round15ManyAvx512(x, out, count);
    case InstructionSet::Avx2:
      return Round15ManyAvx2(x, out, count);
    case InstructionSet::Sse2:
      break;
  }
  for (std::size_t i = 0; i < count; ++i) out[i] = Round15Impl<Path::kFast>(x[i]);
}

}  // namespace digits15_detail

}  // namespace orv
