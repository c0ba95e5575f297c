#include "orv/frame/Decimal.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>

#include "orv/frame/Error.hpp"

namespace orv {

namespace {

using u64 = std::uint64_t;
using u128 = DecimalMantissa;

constexpr u128 kTwo96 = static_cast<u128>(1) << 96;

// A 256-bit unsigned integer, least significant limb first. Wide enough for
// every exact intermediate: a product of two mantissas (192 bits), a sum of
// two mantissas aligned to a common scale (190 bits), a parsed digit string
// of up to 70 digits.
struct U256 {
  u64 w[4] = {0, 0, 0, 0};

  constexpr U256() = default;
  constexpr explicit U256(u128 v) : w{static_cast<u64>(v), static_cast<u64>(v >> 64), 0, 0} {}

  constexpr bool IsZero() const { return (w[0] | w[1] | w[2] | w[3]) == 0; }
  constexpr int BitLength() const {
    for (int i = 3; i >= 0; --i)
      if (w[i] != 0) return 64 * i + 64 - std::countl_zero(w[i]);
    return 0;
  }
  constexpr bool FitsU128() const { return (w[2] | w[3]) == 0; }
  constexpr u128 Low128() const { return (static_cast<u128>(w[1]) << 64) | w[0]; }

  // *this *= m; the caller guarantees the product fits.
  constexpr void MulSmall(u64 m) {
    u64 carry = 0;
    for (u64& limb : w) {
      u128 t = static_cast<u128>(limb) * m + carry;
      limb = static_cast<u64>(t);
      carry = static_cast<u64>(t >> 64);
    }
  }
  constexpr void AddSmall(u64 a) {
    for (u64& limb : w) {
      u64 before = limb;
      limb += a;
      if (limb >= before) return;
      a = 1;
    }
  }
};

constexpr int Compare(const U256& a, const U256& b) {
  for (int i = 3; i >= 0; --i)
    if (a.w[i] != b.w[i]) return a.w[i] < b.w[i] ? -1 : 1;
  return 0;
}

constexpr U256 Sum(const U256& a, const U256& b) {
  U256 r;
  u64 carry = 0;
  for (int i = 0; i < 4; ++i) {
    u128 t = static_cast<u128>(a.w[i]) + b.w[i] + carry;
    r.w[i] = static_cast<u64>(t);
    carry = static_cast<u64>(t >> 64);
  }
  return r;
}

// a - b for a >= b.
constexpr U256 Difference(const U256& a, const U256& b) {
  U256 r;
  u64 borrow = 0;
  for (int i = 0; i < 4; ++i) {
    u64 d = a.w[i] - b.w[i];
    u64 borrow_out = (a.w[i] < b.w[i]) | (d < borrow);
    r.w[i] = d - borrow;
    borrow = borrow_out;
  }
  return r;
}

constexpr U256 Product(u128 a, u128 b) {
  u64 a0 = static_cast<u64>(a), a1 = static_cast<u64>(a >> 64);
  u64 b0 = static_cast<u64>(b), b1 = static_cast<u64>(b >> 64);
  U256 r;
  u128 p00 = static_cast<u128>(a0) * b0;
  u128 p01 = static_cast<u128>(a0) * b1;
  u128 p10 = static_cast<u128>(a1) * b0;
  u128 p11 = static_cast<u128>(a1) * b1;
  r.w[0] = static_cast<u64>(p00);
  u128 mid = (p00 >> 64) + static_cast<u64>(p01) + static_cast<u64>(p10);
  r.w[1] = static_cast<u64>(mid);
  u128 high = (mid >> 64) + (p01 >> 64) + (p10 >> 64) + static_cast<u64>(p11);
  r.w[2] = static_cast<u64>(high);
  r.w[3] = static_cast<u64>((high >> 64) + (p11 >> 64));
  return r;
}

constexpr std::array<u64, 20> kPow10 = [] {
  std::array<u64, 20> p{};
  p[0] = 1;
  for (int i = 1; i < 20; ++i) p[i] = p[i - 1] * 10;
  return p;
}();

// *this *= 10^k in chunks of 10^19.
constexpr void MulPow10(U256& n, int k) {
  while (k > 19) {
    n.MulSmall(kPow10[19]);
    k -= 19;
  }
  if (k > 0) n.MulSmall(kPow10[k]);
}

// 2^96 * 10^k: the first integer that no longer fits at k digits fewer.
constexpr int kLimitCount = 49;  // 2^96 * 10^48 > 2^255
constexpr std::array<U256, kLimitCount> kFitLimit = [] {
  std::array<U256, kLimitCount> t{};
  U256 v(kTwo96);
  for (int k = 0; k < kLimitCount; ++k) {
    t[k] = v;
    v.MulSmall(10);
  }
  return t;
}();

// (hi:lo) / d for hi < d; the quotient fits in 64 bits.
inline u64 DivStep(u64 hi, u64 lo, u64 d, u64& rem) {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  u64 q, r;
  __asm__("divq %4" : "=a"(q), "=d"(r) : "a"(lo), "d"(hi), "rm"(d) : "cc");
  rem = r;
  return q;
#else
  u128 n = (static_cast<u128>(hi) << 64) | lo;
  rem = static_cast<u64>(n % d);
  return static_cast<u64>(n / d);
#endif
}

// n /= d; returns the remainder.
inline u64 DivSmall(U256& n, u64 d) {
  int top = 3;
  while (top >= 0 && n.w[top] == 0) --top;
  u64 rem = 0;
  for (int i = top; i >= 0; --i) n.w[i] = DivStep(rem, n.w[i], d, rem);
  return rem;
}

// n /= 10^k (k >= 1), rounded half to even; `sticky` says the true value
// is a little above n (digits already dropped).
inline void DivPow10Rounded(U256& n, int k, bool sticky) {
  while (k > 19) {
    sticky |= DivSmall(n, kPow10[19]) != 0;
    k -= 19;
  }
  u64 rem = DivSmall(n, kPow10[k]);
  u64 half = 5 * kPow10[k - 1];
  if (rem > half || (rem == half && (sticky || (n.w[0] & 1)))) n.AddSmall(1);
}

// n /= 10^k, truncated; returns whether anything nonzero was dropped.
inline bool DivPow10Truncated(U256& n, int k) {
  bool dropped = false;
  while (k > 19) {
    dropped |= DivSmall(n, kPow10[19]) != 0;
    k -= 19;
  }
  if (k > 0) dropped |= DivSmall(n, kPow10[k]) != 0;
  return dropped;
}

// ---- Division by 10^k (1 <= k <= 38) through a reciprocal, for the
// roundings of products and sums.

constexpr int kMaxReciprocalDigits = 38;  // 2 * 10^38 < 2^128

constexpr std::array<u128, kMaxReciprocalDigits + 1> kPow10Wide = [] {
  std::array<u128, kMaxReciprocalDigits + 1> p{};
  p[0] = 1;
  for (int i = 1; i <= kMaxReciprocalDigits; ++i) p[i] = p[i - 1] * 10;
  return p;
}();

constexpr int BitLength128(u128 v) {
  int bits = 0;
  while (v != 0) {
    ++bits;
    v >>= 1;
  }
  return bits;
}

// R_k = floor(2^(127 + L) / 10^k) with L the bit length of 10^k, so that
// 2^127 <= R_k < 2^128, and the shift 127 + L.
struct Reciprocal {
  u128 r;
  int shift;
};

constexpr std::array<Reciprocal, kMaxReciprocalDigits + 1> kReciprocal = [] {
  std::array<Reciprocal, kMaxReciprocalDigits + 1> t{};
  for (int k = 1; k <= kMaxReciprocalDigits; ++k) {
    const u128 d = kPow10Wide[k];
    const int shift = 127 + BitLength128(d);
    // Long division of 2^shift by d, one bit at a time; the partial
    // remainder stays below d < 2^127.
    u128 rem = 0, q = 0;
    for (int bit = shift; bit >= 0; --bit) {
      rem = (rem << 1) | (bit == shift ? 1 : 0);
      q <<= 1;
      if (rem >= d) {
        rem -= d;
        q |= 1;
      }
    }
    t[k] = {q, shift};
  }
  return t;
}();

// n / 10^k rounded half to even, for n < 2^192, 1 <= k <= 38 and
// n < 2^96 * 10^k (so the quotient fits in 97 bits).
inline u128 DivPow10RoundedFast(const U256& n, int k) {
  const Reciprocal& rc = kReciprocal[k];
  const u64 r0 = static_cast<u64>(rc.r), r1 = static_cast<u64>(rc.r >> 64);
  // The 320-bit product n * R_k.
  u64 p[5] = {0, 0, 0, 0, 0};
  for (int i = 0; i < 3; ++i) {
    u128 t0 = static_cast<u128>(n.w[i]) * r0;
    u128 t1 = static_cast<u128>(n.w[i]) * r1;
    u128 acc = static_cast<u128>(p[i]) + static_cast<u64>(t0);
    p[i] = static_cast<u64>(acc);
    acc = (acc >> 64) + p[i + 1] + (t0 >> 64) + static_cast<u64>(t1);
    p[i + 1] = static_cast<u64>(acc);
    acc = (acc >> 64) + p[i + 2] + (t1 >> 64);
    p[i + 2] = static_cast<u64>(acc);
    if (i + 3 < 5) p[i + 3] += static_cast<u64>(acc >> 64);
  }
  // q = floor(n * R_k / 2^shift): q <= floor(n / 10^k) <= q + 1.
  const int limb = rc.shift / 64, offset = rc.shift % 64;
  u128 lo = (static_cast<u128>(p[limb + 1]) << 64) | p[limb];
  u128 q = offset == 0 ? lo : lo >> offset;
  if (offset != 0 && limb + 2 < 5) q |= static_cast<u128>(p[limb + 2]) << (128 - offset);
  // The remainder, exact modulo 2^128 since it lies in [0, 2 * 10^k).
  const u128 d = kPow10Wide[k];
  u128 rem = n.Low128() - q * d;
  while (rem >= d) {
    rem -= d;
    ++q;
  }
  const u128 half = d / 2;
  if (rem > half || (rem == half && (q & 1))) ++q;
  return q;
}

// Lower bound of the digits to drop so that n fits below 2^96.
inline int FitDigitsLowerBound(const U256& n) {
  int bits = n.BitLength();
  return bits > 97 ? (bits - 97) * 30103 / 100000 : 0;
}

// Nearest double to an integer given as its top 64 bits with the dropped
// bits folded into the lowest one (round to odd), times 2^exponent.
inline double ScaledToDouble(u64 top, bool sticky, int exponent) {
  return std::ldexp(static_cast<double>(top | static_cast<u64>(sticky)), exponent);
}

// Nearest double to n * 2^exponent.
inline double U256ToDouble(const U256& n, int exponent) {
  int bits = n.BitLength();
  if (bits <= 64) return std::ldexp(static_cast<double>(n.w[0]), exponent);
  int shift = bits - 64;
  int limb = shift / 64, offset = shift % 64;
  u64 top = offset == 0 ? n.w[limb] : (n.w[limb] >> offset) | (n.w[limb + 1] << (64 - offset));
  bool sticky = offset != 0 && (n.w[limb] & ((u64{1} << offset) - 1)) != 0;
  for (int i = 0; i < limb; ++i) sticky |= n.w[i] != 0;
  return ScaledToDouble(top, sticky, exponent + shift);
}

// ---- Long division of 256-bit integers (Knuth's algorithm D on 32-bit digits).

struct Digits32 {
  std::uint32_t d[8];
  int count;  // significant digits
};

Digits32 ToDigits(const U256& n) {
  Digits32 r{};
  for (int i = 0; i < 4; ++i) {
    r.d[2 * i] = static_cast<std::uint32_t>(n.w[i]);
    r.d[2 * i + 1] = static_cast<std::uint32_t>(n.w[i] >> 32);
  }
  r.count = 8;
  while (r.count > 0 && r.d[r.count - 1] == 0) --r.count;
  return r;
}

U256 FromDigits(const std::uint32_t* d, int count) {
  U256 r;
  for (int i = 0; i < count; ++i) r.w[i / 2] |= static_cast<u64>(d[i]) << (32 * (i % 2));
  return r;
}

// quotient = u / v, remainder = u % v, for v != 0.
void DivMod(const U256& u, const U256& v, U256& quotient, U256& remainder) {
  if (Compare(u, v) < 0) {
    quotient = U256();
    remainder = u;
    return;
  }
  Digits32 ud = ToDigits(u), vd = ToDigits(v);
  const int m = ud.count, n = vd.count;
  std::uint32_t q[8] = {}, r[8] = {};
  if (n == 1) {
    u64 k = 0;
    for (int j = m - 1; j >= 0; --j) {
      u64 t = (k << 32) | ud.d[j];
      q[j] = static_cast<std::uint32_t>(t / vd.d[0]);
      k = t % vd.d[0];
    }
    quotient = FromDigits(q, m);
    remainder = U256(k);
    return;
  }
  // Normalise so that the divisor's top digit has its high bit set.
  const int s = std::countl_zero(vd.d[n - 1]);
  std::uint32_t vn[8] = {}, un[9] = {};
  for (int i = n - 1; i > 0; --i)
    vn[i] = (vd.d[i] << s) |
            (s ? static_cast<std::uint32_t>(static_cast<u64>(vd.d[i - 1]) >> (32 - s)) : 0);
  vn[0] = vd.d[0] << s;
  un[m] = s ? static_cast<std::uint32_t>(static_cast<u64>(ud.d[m - 1]) >> (32 - s)) : 0;
  for (int i = m - 1; i > 0; --i)
    un[i] = (ud.d[i] << s) |
            (s ? static_cast<std::uint32_t>(static_cast<u64>(ud.d[i - 1]) >> (32 - s)) : 0);
  un[0] = ud.d[0] << s;
  constexpr u64 b = u64{1} << 32;
  for (int j = m - n; j >= 0; --j) {
    u64 num = (static_cast<u64>(un[j + n]) << 32) | un[j + n - 1];
    u64 qhat = num / vn[n - 1];
    u64 rhat = num % vn[n - 1];
    while (qhat >= b || qhat * vn[n - 2] > ((rhat << 32) | un[j + n - 2])) {
      --qhat;
      rhat += vn[n - 1];
      if (rhat >= b) break;
    }
    std::int64_t borrow = 0;
    for (int i = 0; i < n; ++i) {
      u64 p = qhat * vn[i];
      std::int64_t t = static_cast<std::int64_t>(un[i + j]) - borrow -
                       static_cast<std::int64_t>(p & 0xFFFFFFFFu);
      un[i + j] = static_cast<std::uint32_t>(t);
      borrow = static_cast<std::int64_t>(p >> 32) - (t >> 32);
    }
    std::int64_t t = static_cast<std::int64_t>(un[j + n]) - borrow;
    un[j + n] = static_cast<std::uint32_t>(t);
    q[j] = static_cast<std::uint32_t>(qhat);
    if (t < 0) {  // qhat was one too large: add the divisor back
      --q[j];
      u64 carry = 0;
      for (int i = 0; i < n; ++i) {
        u64 sum = static_cast<u64>(un[i + j]) + vn[i] + carry;
        un[i + j] = static_cast<std::uint32_t>(sum);
        carry = sum >> 32;
      }
      un[j + n] = static_cast<std::uint32_t>(un[j + n] + carry);
    }
  }
  for (int i = 0; i < n - 1; ++i)
    r[i] = (un[i] >> s) |
           (s ? static_cast<std::uint32_t>(static_cast<u64>(un[i + 1]) << (32 - s)) : 0);
  r[n - 1] = un[n - 1] >> s;
  quotient = FromDigits(q, m - n + 1);
  remainder = FromDigits(r, n);
}

}  // namespace

struct DecimalAccess {
  static Decimal Make(u128 mantissa, int scale, bool negative) {
    Decimal d;
    d.lo_ = static_cast<u64>(mantissa);
    d.hi_ = static_cast<std::uint32_t>(mantissa >> 64);
    d.scale_ = static_cast<std::uint8_t>(scale);
    d.negative_ = negative && mantissa != 0;
    return d;
  }

  // The exact value +-n / 10^scale (scale >= 0), rounded to the decimal
  // type; `sticky` says the magnitude is a little above n.
  static Decimal Round(U256 n, int scale, bool negative, bool sticky = false) {
    if (n.IsZero()) return Decimal();
    int drop = std::max(scale - Decimal::kMaxScale, 0);
    if (scale <= Decimal::kMaxScale && n.FitsU128() && n.Low128() < kTwo96 && !sticky)
      return Make(n.Low128(), scale, negative);
    drop = std::max(drop, FitDigitsLowerBound(n));
    while (drop < kLimitCount && Compare(n, kFitLimit[drop]) >= 0) ++drop;
    // 10^78 > 2 * 2^256 > 2n: everything rounds away.
    if (drop > 77) return Decimal();
    for (;;) {
      if (drop > scale) Raise(kErrOverflow);
      if (!sticky && drop >= 1 && drop <= kMaxReciprocalDigits && n.w[3] == 0) {
        const u128 q = DivPow10RoundedFast(n, drop);
        if (q < kTwo96) return Make(q, scale - drop, negative);
        ++drop;
        continue;
      }
      U256 q = n;
      if (drop > 0) DivPow10Rounded(q, drop, sticky);
      if (q.FitsU128() && q.Low128() < kTwo96) return Make(q.Low128(), scale - drop, negative);
      ++drop;  // rounding carried into the 97th bit
    }
  }

  static U256 Aligned(const Decimal& d, int scale) {
    return Product(d.Mantissa(), kPow10Wide[scale - d.scale_]);
  }
};

Decimal Decimal::FromInteger(std::int64_t value) {
  u64 magnitude = value < 0 ? 0 - static_cast<u64>(value) : static_cast<u64>(value);
  return DecimalAccess::Make(magnitude, 0, value < 0);
}

Decimal Decimal::FromParts(DecimalMantissa mantissa, int scale, bool negative) {
  if (mantissa >= kTwo96 || scale < 0 || scale > kMaxScale) Raise(kErrInvalidCall);
  return DecimalAccess::Make(mantissa, scale, negative);
}

Decimal operator-(const Decimal& a) {
  return DecimalAccess::Make(a.Mantissa(), a.scale_, !a.negative_);
}

Decimal operator+(const Decimal& a, const Decimal& b) {
  if (b.IsZero()) return a;
  if (a.IsZero()) return b;
  const int scale = std::max(a.scale_, b.scale_);
  if (a.scale_ == b.scale_ && a.negative_ == b.negative_) {
    u128 sum = a.Mantissa() + b.Mantissa();
    if (sum < kTwo96) return DecimalAccess::Make(sum, scale, a.negative_);
  }
  U256 na = DecimalAccess::Aligned(a, scale), nb = DecimalAccess::Aligned(b, scale);
  if (a.negative_ == b.negative_) return DecimalAccess::Round(Sum(na, nb), scale, a.negative_);
  int c = Compare(na, nb);
  if (c == 0) return Decimal();
  return c > 0 ? DecimalAccess::Round(Difference(na, nb), scale, a.negative_)
               : DecimalAccess::Round(Difference(nb, na), scale, b.negative_);
}

Decimal operator-(const Decimal& a, const Decimal& b) { return a + (-b); }

Decimal operator*(const Decimal& a, const Decimal& b) {
  if (a.IsZero() || b.IsZero()) return Decimal();
  return DecimalAccess::Round(Product(a.Mantissa(), b.Mantissa()), a.scale_ + b.scale_,
                              a.negative_ != b.negative_);
}

Decimal operator/(const Decimal& a, const Decimal& b) {
  if (b.IsZero()) Raise(kErrDivisionByZero);
  if (a.IsZero()) return Decimal();
  const bool negative = a.negative_ != b.negative_;
  const u128 ma = a.Mantissa(), mb = b.Mantissa();
  const int la = U256(ma).BitLength(), lb = U256(mb).BitLength();
  // At scale s the quotient is about 2^(la - lb +- 1) * 10^(s - sa + sb):
  // start from the largest s that can fit and step down while it does not.
  int scale = static_cast<int>(std::floor((97.0 - la + lb) * 0.30102999566398120)) + a.scale_ -
              b.scale_ + 1;
  scale = std::min(scale, static_cast<int>(Decimal::kMaxScale));
  for (;;) {
    const int s = std::max(scale, 0);
    const int e = s - a.scale_ + b.scale_;
    U256 num(ma), den(mb);
    if (e >= 0)
      MulPow10(num, e);
    else
      MulPow10(den, -e);
    U256 q, r;
    DivMod(num, den, q, r);
    // Half to even: compare twice the remainder with the divisor.
    U256 twice = Sum(r, r);
    int c = Compare(twice, den);
    if (c > 0 || (c == 0 && (q.w[0] & 1))) q.AddSmall(1);
    if (q.FitsU128() && q.Low128() < kTwo96) return DecimalAccess::Make(q.Low128(), s, negative);
    if (s == 0) Raise(kErrOverflow);
    scale = s - std::max(1, FitDigitsLowerBound(q));
  }
}

bool operator==(const Decimal& a, const Decimal& b) { return (a <=> b) == 0; }

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b) {
  if (a.IsZero() && b.IsZero()) return std::strong_ordering::equal;
  const bool an = a.negative_ && !a.IsZero(), bn = b.negative_ && !b.IsZero();
  if (an != bn) return an ? std::strong_ordering::less : std::strong_ordering::greater;
  const int scale = std::max(a.scale_, b.scale_);
  int c = Compare(DecimalAccess::Aligned(a, scale), DecimalAccess::Aligned(b, scale));
  if (an) c = -c;
  return c < 0   ? std::strong_ordering::less
         : c > 0 ? std::strong_ordering::greater
                 : std::strong_ordering::equal;
}

Decimal Decimal::FromDouble(double value) {
  if (!std::isfinite(value)) Raise(kErrOverflow);
  if (value == 0) return Decimal();
  const u64 bits = std::bit_cast<u64>(value);
  const bool negative = (bits >> 63) != 0;
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  u64 m = bits & ((u64{1} << 52) - 1);
  int exponent;  // |value| = m * 2^exponent
  if (biased == 0) {
    exponent = -1074;
  } else {
    m |= u64{1} << 52;
    exponent = biased - 1075;
  }
  const int mbits = 64 - std::countl_zero(m);
  if (exponent >= 0) {
    if (mbits + exponent > 96) Raise(kErrOverflow);
    return DecimalAccess::Make(static_cast<u128>(m) << exponent, 0, negative);
  }
  const int shift = -exponent;
  // |value| < 2^(mbits + exponent); at s digits it fits while
  // 2^(mbits + exponent) * 10^s <= 2^96.
  int scale =
      std::min(static_cast<int>(Decimal::kMaxScale),
               static_cast<int>(std::floor((96 - mbits - exponent) * 0.30102999566398120)) + 1);
  for (;; --scale) {
    if (scale < 0) Raise(kErrOverflow);
    // Round m * 10^scale / 2^shift half to even, in one step.
    if (shift >= 256) return Decimal();  // m * 10^28 < 2^148: far below half a unit
    const U256 n = Product(m, kPow10Wide[scale]);
    const int limb = shift / 64, offset = shift % 64;
    U256 q;
    for (int i = limb; i < 4; ++i) {
      u64 lo = n.w[i] >> offset;
      u64 hi = (offset != 0 && i + 1 < 4) ? n.w[i + 1] << (64 - offset) : 0;
      q.w[i - limb] = lo | hi;
    }
    // The dropped bits: compare with one half.
    bool above_half = false, exactly_half = false;
    {
      const int hb = shift - 1;  // the half bit
      const bool half_bit = (n.w[hb / 64] >> (hb % 64)) & 1;
      bool lower = false;
      for (int i = 0; i < hb / 64; ++i) lower |= n.w[i] != 0;
      if (hb % 64 != 0) lower |= (n.w[hb / 64] & ((u64{1} << (hb % 64)) - 1)) != 0;
      above_half = half_bit && lower;
      exactly_half = half_bit && !lower;
    }
    if (above_half || (exactly_half && (q.w[0] & 1))) q.AddSmall(1);
    if (q.IsZero()) return Decimal();
    if (q.FitsU128() && q.Low128() < kTwo96)
      return DecimalAccess::Make(q.Low128(), scale, negative);
  }
}

double Decimal::ToDouble() const {
  if (IsZero()) return 0.0;
  if constexpr (std::numeric_limits<long double>::digits >= 64) {
    // A first estimate with at most three roundings of the extended type
    // (the sum of the mantissa's two exact halves, 10^28, the quotient);
    // when the interval around it rounds to one double, that double is the
    // nearest one to the exact value.
    static constexpr long double kPow10Long[29] = {
        1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
        1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
        1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L, 1e28L};
    constexpr long double kMargin = std::numeric_limits<long double>::epsilon() * 4;
    const long double m =
        static_cast<long double>(hi_) * 18446744073709551616.0L + static_cast<long double>(lo_);
    const long double v = m / kPow10Long[scale_];
    const double low = static_cast<double>(v - v * kMargin);
    const double high = static_cast<double>(v + v * kMargin);
    if (low == high) return negative_ ? -low : low;
  }
  const u128 m = Mantissa();
  double result;
  if (scale_ == 0) {
    result = U256ToDouble(U256(m), 0);
  } else {
    // Quotient with at least 65 bits of m * 2^t / 10^scale, and whether
    // anything was dropped: enough for a correctly rounded double.
    U256 ten(1);
    MulPow10(ten, scale_);
    const int t = std::max(0, 65 - U256(m).BitLength() + ten.BitLength());
    U256 n(m);
    // n <<= t
    {
      const int limb = t / 64, offset = t % 64;
      U256 shifted;
      for (int i = 3; i >= limb; --i) {
        u64 v = n.w[i - limb] << offset;
        if (offset != 0 && i - limb - 1 >= 0) v |= n.w[i - limb - 1] >> (64 - offset);
        shifted.w[i] = v;
      }
      n = shifted;
    }
    const bool dropped = DivPow10Truncated(n, scale_);
    const int bits = n.BitLength();
    const int shift = bits - 64;
    u64 top = static_cast<u64>(n.Low128() >> shift);
    bool sticky = dropped || (n.w[0] & ((u64{1} << shift) - 1)) != 0;
    result = ScaledToDouble(top, sticky, shift - t);
  }
  return negative_ ? -result : result;
}

Decimal Decimal::Parse(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr int kMaxDigits = 70;  // 10^70 < 2^233: room for the alignment below
  U256 n;
  int kept = 0, fraction = 0, dropped = 0;
  bool any_digit = false, point = false, sticky = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') break;
    any_digit = true;
    if (point) ++fraction;
    if (kept == 0 && c == '0') continue;
    if (kept < kMaxDigits) {
      n.MulSmall(10);
      n.AddSmall(static_cast<u64>(c - '0'));
      ++kept;
    } else {
      ++dropped;
      sticky |= c != '0';
    }
  }
  if (!any_digit) Raise(kErrTypeMismatch);
  long exponent = 0;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    ++i;
    bool exp_negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) exp_negative = text[i++] == '-';
    if (i == text.size()) Raise(kErrTypeMismatch);
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
      exponent = std::min(exponent * 10 + (text[i] - '0'), 100000L);
    if (exp_negative) exponent = -exponent;
  }
  if (i != text.size()) Raise(kErrTypeMismatch);
  if (n.IsZero()) return Decimal();
  // value = n * 10^power (a little more when sticky)
  const long power = exponent - fraction + dropped;
  if (power >= 0) {
    if (kept + power > 29) Raise(kErrOverflow);
    MulPow10(n, static_cast<int>(power));
    if (!n.FitsU128() || n.Low128() >= kTwo96) Raise(kErrOverflow);
    return DecimalAccess::Make(n.Low128(), 0, negative);
  }
  if (-power > 200) return Decimal();
  return DecimalAccess::Round(n, static_cast<int>(-power), negative, sticky);
}

std::string Decimal::ToString() const {
  u128 m = Mantissa();
  std::string digits;
  do {
    digits.push_back(static_cast<char>('0' + static_cast<int>(m % 10)));
    m /= 10;
  } while (m != 0);
  while (static_cast<int>(digits.size()) <= scale_) digits.push_back('0');
  std::reverse(digits.begin(), digits.end());
  std::string text = negative_ && !IsZero() ? "-" : "";
  const std::size_t whole = digits.size() - scale_;
  text.append(digits, 0, whole);
  std::string fraction = digits.substr(whole);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += "." + fraction;
  return text;
}

}  // namespace orv
