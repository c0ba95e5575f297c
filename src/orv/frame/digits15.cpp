#include "orv/frame/digits15.hpp"

#include <array>
#include <bit>
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
int CompareExact(uint64_t u, int p5, int p2, uint64_t v) {
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
inline Digits15 ToDigits15Impl(double x) {
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
inline double Round15Impl(double x) {
  const uint64_t bits = std::bit_cast<uint64_t>(x);
  if ((bits & kExpMask) == kExpMask || (bits << 1) == 0) return x;  // inf, NaN, +-0
  const Digits15 r = ToDigits15Impl<kPath>(x);
  const double w = ToDoubleImpl<kPath>(r.digits, r.exponent);
  return r.negative ? -w : w;
}

}  // namespace

Digits15 ToDigits15(double x) { return ToDigits15Impl<Path::kFast>(x); }

double Round15(double x) { return Round15Impl<Path::kFast>(x); }

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

}  // namespace digits15_detail

}  // namespace orv
