#include "orv/frame/digits15.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace orv {

// Readable failure messages.
static void PrintTo(const Digits15& d, std::ostream* os) {
  *os << (d.negative ? "-" : "+") << d.digits << "e" << d.exponent;
}

namespace {

using digits15_detail::Path;
using std::uint64_t;

constexpr uint64_t k1e14 = 100000000000000;
constexpr uint64_t k1e15 = 1000000000000000;
constexpr double kInf = std::numeric_limits<double>::infinity();

uint64_t Bits(double x) { return std::bit_cast<uint64_t>(x); }

std::string Describe(double x) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "%a (%.17g)", x, x);
  return buf;
}

Digits15 D15(bool negative, uint64_t digits, int exponent) {
  Digits15 d;
  d.negative = negative;
  d.digits = digits;
  d.exponent = exponent;
  return d;
}

// The nearest double to digits * 10^exponent, by strtod.
double Parse(uint64_t digits, int exponent) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%llue%d", static_cast<unsigned long long>(digits), exponent);
  return std::strtod(buf, nullptr);
}

// Reference: exact decimal digits from glibc printf, rounded half away from zero
// by hand at 15 digits, converted back with strtod.
//
// Rounding half away from zero at 15 digits only needs the first 16 digits of the
// exact expansion TRUNCATED: round up iff the 16th digit is >= 5. "%.40e" rounds at
// the 41st digit; that can change the 16th digit only by a carry running through
// digits 17..41, which then all read 0. In that case (and for short exact values,
// which also print zeros there) "%.800e" shows every digit of any double.
struct Reference {
  Digits15 digits;
  double rounded;
};

Reference ReferenceRound(double x) {
  char buf[1024];
  const double a = std::fabs(x);
  // Significant digit i sits at buf[0] for i == 0 and at buf[i + 1] after the '.'.
  auto digit = [&buf](int i) { return buf[i == 0 ? 0 : i + 1] - '0'; };
  std::snprintf(buf, sizeof buf, "%.40e", a);
  bool carry_possible = true;
  for (int i = 16; i <= 40 && carry_possible; ++i) carry_possible = digit(i) == 0;
  if (carry_possible) std::snprintf(buf, sizeof buf, "%.800e", a);
  uint64_t lead = 0;
  for (int i = 0; i < 15; ++i) lead = lead * 10 + static_cast<uint64_t>(digit(i));
  int exponent = std::atoi(std::strchr(buf, 'e') + 1) - 14;
  if (digit(15) >= 5) ++lead;
  if (lead == k1e15) {
    lead = k1e14;
    ++exponent;
  }
  const double rounded = Parse(lead, exponent);
  const bool negative = std::signbit(x);
  return {D15(negative, lead, exponent), negative ? -rounded : rounded};
}

// Compares ToDigits15 and Round15 by every path with the reference; counts
// and reports mismatches.
class Checker {
 public:
  void Check(double x) {
    ++count_;
    const Reference want = ReferenceRound(x);
    // Every path: fast, without the scaling shortcut, big-integer only.
    bool same = ToDigits15(x) == want.digits && Bits(Round15(x)) == Bits(want.rounded);
    for (const Path path : {Path::kNoFastPath, Path::kExactOnly})
      same = same && digits15_detail::ToDigits15Via(x, path) == want.digits &&
             Bits(digits15_detail::Round15Via(x, path)) == Bits(want.rounded);
    if (!same && ++failures_ <= 10) {
      ADD_FAILURE() << Describe(x) << ": " << testing::PrintToString(ToDigits15(x)) << " "
                    << Describe(Round15(x)) << ", want " << testing::PrintToString(want.digits)
                    << " " << Describe(want.rounded);
    }
  }
  int count() const { return count_; }
  int failures() const { return failures_; }

 private:
  int count_ = 0;
  int failures_ = 0;
};

double RandomSign(std::mt19937_64& rng, double x) { return (rng() & 1) != 0 ? -x : x; }

// A random finite nonzero double: uniform bit pattern, so every binary exponent
// (subnormals included) is equally likely.
double RandomFinite(std::mt19937_64& rng) {
  for (;;) {
    const uint64_t bits = rng();
    if (((bits >> 52) & 0x7ff) == 0x7ff || (bits << 1) == 0) continue;
    return std::bit_cast<double>(bits);
  }
}

uint64_t Random15Digits(std::mt19937_64& rng) {
  return std::uniform_int_distribution<uint64_t>(k1e14, k1e15 - 1)(rng);
}

// A short decimal (1 to 17 digits) with a power of ten in [lo, hi], as typed.
double RandomShortDecimal(std::mt19937_64& rng, int lo, int hi) {
  uint64_t v = 0;
  for (int n = 1 + static_cast<int>(rng() % 17); n > 0; --n) v = v * 10 + rng() % 10;
  return Parse(v, std::uniform_int_distribution<int>(lo, hi)(rng));
}

uint64_t Pow5(int n) {
  uint64_t p = 1;
  while (n-- > 0) p *= 5;
  return p;
}

// ---------------------------------------------------------------------------

TEST(Digits15Test, ZerosInfinitiesAndNaNPassThrough) {
  EXPECT_EQ(ToDigits15(0.0), D15(false, 0, 0));
  EXPECT_EQ(ToDigits15(-0.0), D15(true, 0, 0));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double payload = std::bit_cast<double>(uint64_t{0x7ff8000000012345});
  for (const double x : {0.0, -0.0, kInf, -kInf, nan, -nan, payload})
    EXPECT_EQ(Bits(Round15(x)), Bits(x)) << Describe(x);
}

TEST(Digits15Test, MatchesThePrintfReference) {
  std::mt19937_64 rng(3);
  Checker checker;
  // Subnormals, the smallest normals and the doubles either side of DBL_MIN.
  for (uint64_t m = 1; m <= 2000; ++m) {
    for (const uint64_t bits : {m, (uint64_t{1} << 52) - m, (uint64_t{1} << 52) + m - 1})
      checker.Check(std::bit_cast<double>(bits));
  }
  // Every binary exponent, with special and random mantissas, both signs.
  for (uint64_t biased = 0; biased <= 2046; ++biased) {
    for (const uint64_t m :
         {uint64_t{0}, uint64_t{1}, uint64_t{2}, uint64_t{1} << 51, (uint64_t{1} << 52) - 1,
          (uint64_t{1} << 52) - 2, rng() >> 12, rng() >> 12}) {
      if (biased == 0 && m == 0) continue;
      const double x = std::bit_cast<double>((biased << 52) | m);
      checker.Check(x);
      checker.Check(-x);
    }
  }
  // Uniform bit patterns; few significant bits (exact expansions, ties); short
  // decimals as typed by users.
  for (int i = 0; i < 300000; ++i) checker.Check(RandomFinite(rng));
  // Most weight where sweeps spend their time (1e-9 .. 1e13), in the fast
  // path's scaled range.
  std::uniform_int_distribution<uint64_t> common(1023 - 30, 1023 + 43);
  for (int i = 0; i < 200000; ++i)
    checker.Check(RandomSign(rng, std::bit_cast<double>((common(rng) << 52) | (rng() >> 12))));
  for (int i = 0; i < 100000; ++i) {
    const uint64_t mask = ~((uint64_t{1} << (rng() % 53)) - 1);
    const double y = std::bit_cast<double>(Bits(RandomFinite(rng)) & mask);
    if (y != 0) checker.Check(y);
    const double z = RandomShortDecimal(rng, -330, 300);
    if (z != 0 && std::isfinite(z)) checker.Check(RandomSign(rng, z));
  }
  // The double nearest to a half unit in the 15th digit of a random 15-digit
  // decimal, and its two neighbours on each side.
  char buf[64];
  for (int i = 0; i < 100000; ++i) {
    std::snprintf(buf, sizeof buf, "%llu5e%d", static_cast<unsigned long long>(Random15Digits(rng)),
                  static_cast<int>(rng() % 633) - 339);
    const double mid = RandomSign(rng, std::strtod(buf, nullptr));
    const double away = std::copysign(kInf, mid);
    for (const double x :
         {std::nextafter(std::nextafter(mid, 0.0), 0.0), std::nextafter(mid, 0.0), mid,
          std::nextafter(mid, away), std::nextafter(std::nextafter(mid, away), away)}) {
      if (x != 0 && std::isfinite(x)) checker.Check(x);
    }
  }
  EXPECT_EQ(checker.failures(), 0) << "of " << checker.count();
  EXPECT_GE(checker.count(), 1000000);
}

TEST(Digits15Test, ExactTiesRoundAwayFromZero) {
  // x = c / 2^t with c odd: x * 10^t = c * 5^t is an odd integer, so it ends in 5.
  // With 16 digits, that final 5 is the whole remainder: an exact tie.
  std::mt19937_64 rng(2);
  int ties = 0;
  auto expect = [](double x, uint64_t digits, int exponent) {
    if (digits == k1e15) {
      digits = k1e14;
      ++exponent;
    }
    const double want = Parse(digits, exponent);
    ASSERT_EQ(ToDigits15(x), D15(false, digits, exponent)) << Describe(x);
    ASSERT_EQ(ToDigits15(-x), D15(true, digits, exponent)) << Describe(x);
    ASSERT_EQ(Bits(Round15(x)), Bits(want)) << Describe(x);
    ASSERT_EQ(Bits(Round15(-x)), Bits(-want)) << Describe(x);
  };
  for (int t = 1; t <= 22; ++t) {
    const uint64_t p5 = Pow5(t);
    const uint64_t lo = (k1e15 + p5 - 1) / p5;
    const uint64_t hi = std::min((10 * k1e15 - 1) / p5, (uint64_t{1} << 53) - 1);
    std::uniform_int_distribution<uint64_t> pick(lo, hi);
    for (int i = 0; i < 3000; ++i) {
      uint64_t c = pick(rng) | 1;
      if (c > hi) c -= 2;
      if (c < lo) continue;
      const uint64_t n16 = c * p5;
      ASSERT_TRUE(n16 >= k1e15 && n16 < 10 * k1e15 && n16 % 10 == 5) << n16;
      expect(std::ldexp(static_cast<double>(c), -t), (n16 + 5) / 10, 1 - t);
      ++ties;
    }
  }
  EXPECT_GT(ties, 40000);
  // Integer ties: 10K + 5 (16 digits, below 2^53) and (10K + 5) * 10 when exact.
  std::uniform_int_distribution<uint64_t> pick_k(k1e14, ((uint64_t{1} << 53) - 5) / 10);
  for (int i = 0; i < 20000; ++i) {
    const uint64_t k = pick_k(rng);
    expect(static_cast<double>(10 * k + 5), k + 1, 1);
    const uint64_t n = (10 * k + 5) * 10;
    if (static_cast<uint64_t>(static_cast<double>(n)) == n)
      expect(static_cast<double>(n), k + 1, 2);
  }
}

TEST(Digits15Test, MidpointsBetweenDoublesRoundToEven) {
  // For odd d in [10^14, 1.44e14], d * 1000 = (d * 125) * 8 with d * 125 an odd
  // 54-bit integer: exactly halfway between two doubles.
  std::mt19937_64 rng(6);
  std::uniform_int_distribution<uint64_t> pick(k1e14, 144000000000000);
  int checked = 0;
  for (int i = 0; i < 20000; ++i) {
    const uint64_t d = pick(rng) | 1;
    const uint64_t odd = d * 125;
    if (odd >> 53 != 1) continue;
    const double want = Parse(d, 3);  // strtod: ties to even
    ASSERT_EQ(ToDigits15(want), D15(false, d, 3)) << d;
    for (const Path path : {Path::kFast, Path::kNoFastPath, Path::kExactOnly}) {
      ASSERT_EQ(Bits(digits15_detail::Round15Via(want, path)), Bits(want)) << d;
      ASSERT_EQ(Bits(digits15_detail::Round15Via(-want, path)), Bits(-want)) << d;
    }
    ++checked;
  }
  EXPECT_GT(checked, 5000);
}

// ---------------------------------------------------------------------------
// The double-double fast path, taken for 1e-8 <= |x| < 1e37, where
// q = 14 - floor(log10|x|) satisfies |q| <= 22: y = |x| * 10^q in [10^14, 10^15) is
// held as hi = fl(y) plus the exact error, and rounds to an integer by the fraction
// of hi and the sign of y - hi.

constexpr double kPow10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// fl(|x| * 10^q) by one correctly rounded double operation, |q| <= 22.
double ScaledHi(double x, int q) {
  return q >= 0 ? std::fabs(x) * kPow10[q] : std::fabs(x) / kPow10[-q];
}

TEST(Digits15FastPathTest, AroundEveryPowerOfTen) {
  // Every power of ten from 1e-12 to 1e40 (q = 26 .. -26, both ends of the range
  // included), the 6 doubles above it, the 40 below (where the scaled value
  // carries into 10^15), and the 15-digit values and ties just below it.
  Checker checker;
  int carried = 0;
  char buf[32];
  for (int k = -12; k <= 40; ++k) {
    std::snprintf(buf, sizeof buf, "1e%d", k);
    const double p = std::strtod(buf, nullptr);
    std::vector<double> xs = {p};
    for (double down = p, up = p, j = 0; j < 40; ++j) {
      xs.push_back(down = std::nextafter(down, 0.0));
      if (j < 6) xs.push_back(up = std::nextafter(up, kInf));
    }
    std::snprintf(buf, sizeof buf, "9.99999999999999e%d", k - 1);
    xs.push_back(std::strtod(buf, nullptr));
    std::snprintf(buf, sizeof buf, "9.999999999999995e%d", k - 1);
    const double tie = std::strtod(buf, nullptr);
    xs.insert(xs.end(), {tie, std::nextafter(tie, 0.0), std::nextafter(tie, kInf)});
    for (const double x : xs) {
      if (x < p && Round15(x) == p) ++carried;
      for (const double sx : {x, -x}) checker.Check(sx);
    }
  }
  EXPECT_EQ(checker.failures(), 0) << "of " << checker.count();
  EXPECT_GT(carried, 200);
}

TEST(Digits15FastPathTest, ScaledValueExactlyOnAHalf) {
  // Inputs x with fl(|x| * 10^q) == k + 1/2: the exact error of the scaling,
  // positive, negative or zero, alone decides between k and k + 1.
  std::mt19937_64 rng(21);
  std::uniform_int_distribution<uint64_t> pick_k(k1e14, k1e15 - 1);
  Checker checker;
  int found[2] = {};  // divide (q < 0), multiply (q >= 0)
  auto try_x = [&](double x, int q) {
    if (!(x > 0) || !std::isfinite(x)) return;
    const double hi = ScaledHi(x, q);
    if (hi - std::floor(hi) != 0.5) return;
    ++found[q >= 0 ? 1 : 0];
    checker.Check(RandomSign(rng, x));
  };
  for (int i = 0; i < 12000; ++i) {
    const int q = static_cast<int>(rng() % 45) - 22;
    const double t = static_cast<double>(pick_k(rng)) + 0.5;  // exact: k < 2^50
    // The double nearest to t * 10^-q and its neighbours.
    const double x0 = q >= 0 ? t / kPow10[q] : t * kPow10[-q];
    try_x(x0, q);
    for (double below = x0, above = x0, j = 0; j < 3; ++j) {
      try_x(below = std::nextafter(below, 0.0), q);
      try_x(above = std::nextafter(above, kInf), q);
    }
  }
  // Exact halves: x = c / 2^(q+1) (q >= 0) with c * 5^q = 2k + 1, and for q = -1, -2
  // the integers x = (2k + 1) * 5^p * 2^(p-1) below 2^53.
  for (int i = 0; i < 3000; ++i) {
    const int q = static_cast<int>(rng() % 22);
    const uint64_t p5 = Pow5(q);
    const uint64_t lo = (2 * k1e14 + p5) / p5;
    const uint64_t hi = (2 * k1e15 - 1) / p5;
    if (lo > hi) continue;
    const uint64_t c = std::uniform_int_distribution<uint64_t>(lo, hi)(rng) | 1;
    if (c > hi) continue;
    try_x(std::ldexp(static_cast<double>(c), -(q + 1)), q);
    const int p = 1 + static_cast<int>(rng() % 2);
    const uint64_t xi = (2 * pick_k(rng) + 1) * Pow5(p) << (p - 1);
    if (xi >> 53 == 0) try_x(static_cast<double>(xi), -p);
  }
  EXPECT_EQ(checker.failures(), 0) << "of " << checker.count();
  EXPECT_GE(found[0], 600);
  EXPECT_GE(found[1], 600);
}

}  // namespace
}  // namespace orv
