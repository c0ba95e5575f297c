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
#include <initializer_list>
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

// ---------------------------------------------------------------------------
// Reference: exact decimal digits from glibc printf, rounded half away from zero
// by hand at 15 digits, converted back with strtod.
//
// Rounding half away from zero at 15 digits only needs the first 16 digits of the
// exact expansion TRUNCATED: round up iff the 16th digit is >= 5. "%.40e" rounds at
// the 41st digit; that can change the 16th digit only by a carry running through
// digits 17..41, which then all read 0. In that case (and for short exact values,
// which also print zeros there) "%.800e" is used: it shows every digit of any
// double (at most 767 significant digits).

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
  for (int i = 16; i <= 40; ++i) {
    if (digit(i) != 0) {
      carry_possible = false;
      break;
    }
  }
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

// Compares ToDigits15 and Round15 with the reference; counts and reports mismatches.
class Checker {
 public:
  void Check(double x) {
    ++count_;
    const Reference want = ReferenceRound(x);
    const Digits15 got = ToDigits15(x);
    const double rounded = Round15(x);
    if (got == want.digits && Bits(rounded) == Bits(want.rounded)) return;
    if (++failures_ <= 10) {
      ADD_FAILURE() << "x = " << Describe(x) << "\n  ToDigits15: got "
                    << testing::PrintToString(got) << ", want "
                    << testing::PrintToString(want.digits) << "\n  Round15: got "
                    << Describe(rounded) << ", want " << Describe(want.rounded);
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

uint64_t Pow5(int n) {
  uint64_t p = 1;
  while (n-- > 0) p *= 5;
  return p;
}

// ---------------------------------------------------------------------------

TEST(Digits15Test, HandCheckedValues) {
  // Exact expansions (from the binary values) and their 16th significant digit:
  // 0.1 = 0.1000000000000000055511...                -> 0 -> down
  EXPECT_EQ(ToDigits15(0.1), D15(false, 100000000000000, -15));
  // 1/3 = 0.3333333333333333148296...                -> 3 -> down
  EXPECT_EQ(ToDigits15(1.0 / 3), D15(false, 333333333333333, -15));
  // 2/3 = 0.6666666666666666296592...                -> 6 -> up
  EXPECT_EQ(ToDigits15(2.0 / 3), D15(false, 666666666666667, -15));
  // 1e15 is exact.
  EXPECT_EQ(ToDigits15(1e15), D15(false, 100000000000000, 1));
  // 1e-5 = 1.0000000000000000818e-5                  -> 0 -> down
  EXPECT_EQ(ToDigits15(1e-5), D15(false, 100000000000000, -19));
  // 123456789012345678 is stored as 123456789012345680 -> 6 -> up
  EXPECT_EQ(ToDigits15(123456789012345678.0), D15(false, 123456789012346, 3));
  // 0.30000000000000004 = 0.3000000000000000444...    -> 0 -> down
  EXPECT_EQ(ToDigits15(0.30000000000000004), D15(false, 300000000000000, -15));
  // 1.000030517578125 = 1 + 2^-15 exactly: an exact tie, rounded away from zero
  // (printf's "%.14e" would give ...812, ties to even).
  EXPECT_EQ(ToDigits15(1.000030517578125), D15(false, 100003051757813, -14));
  EXPECT_EQ(ToDigits15(-1.000030517578125), D15(true, 100003051757813, -14));
  // 2^-1074 = 4.940656458412465441...e-324           -> 5 (then 44) -> up
  EXPECT_EQ(ToDigits15(5e-324), D15(false, 494065645841247, -338));
  // 2^-1022 = 2.225073858507201383...e-308           -> 1 -> down
  EXPECT_EQ(ToDigits15(2.2250738585072014e-308), D15(false, 222507385850720, -322));
  // DBL_MAX = 1.797693134862315708...e308            -> 5 (then 708) -> up
  EXPECT_EQ(ToDigits15(1.7976931348623157e308), D15(false, 179769313486232, 294));
  EXPECT_EQ(ToDigits15(-1.7976931348623157e308), D15(true, 179769313486232, 294));

  // Round15 of the same values, against literals (correctly rounded by the compiler).
  EXPECT_EQ(Round15(0.1), 0.1);
  EXPECT_EQ(Round15(1.0 / 3), 0.333333333333333);
  EXPECT_NE(Round15(1.0 / 3), 1.0 / 3);
  EXPECT_EQ(Round15(2.0 / 3), 0.666666666666667);
  EXPECT_EQ(Round15(1e15), 1e15);
  EXPECT_EQ(Round15(1e-5), 1e-5);
  EXPECT_EQ(Round15(123456789012345678.0), 123456789012346000.0);
  EXPECT_EQ(Round15(0.30000000000000004), 0.3);
  EXPECT_EQ(Round15(1.000030517578125), 1.00003051757813);
  EXPECT_EQ(Round15(-1.000030517578125), -1.00003051757813);
  EXPECT_EQ(Round15(5e-324), 5e-324);
  // 2.2250738585072e-308 is 28 units of 2^-1074 below DBL_MIN: a subnormal.
  EXPECT_EQ(Round15(2.2250738585072014e-308), 2.2250738585072e-308);
  EXPECT_LT(Round15(2.2250738585072014e-308), DBL_MIN);
  EXPECT_EQ(Round15(1e300), 1e300);
  EXPECT_EQ(Round15(-2.5), -2.5);
}

TEST(Digits15Test, CarryToNextPowerOfTen) {
  // 999999999999999.5 is exact: a tie, rounded up to 10^15.
  EXPECT_EQ(ToDigits15(999999999999999.5), D15(false, 100000000000000, 1));
  EXPECT_EQ(Round15(999999999999999.5), 1e15);
  // 9.999999999999995e-3 is stored as 9.9999999999999950039...e-3 -> up to 0.01.
  EXPECT_EQ(ToDigits15(9.999999999999995e-3), D15(false, 100000000000000, -16));
  EXPECT_EQ(Round15(9.999999999999995e-3), 0.01);
  // 99999999999999.95 is stored as 99999999999999.953125 -> up to 10^14.
  EXPECT_EQ(ToDigits15(99999999999999.95), D15(false, 100000000000000, 0));
  EXPECT_EQ(Round15(-99999999999999.95), -1e14);
  // 0.9999999999999995 is stored as 0.99999999999999944488... -> stays below 1;
  // the next double up, 0.99999999999999955591..., carries to 1.
  EXPECT_EQ(ToDigits15(0.9999999999999995), D15(false, 999999999999999, -15));
  EXPECT_EQ(Round15(0.9999999999999995), 0.999999999999999);
  const double above = std::nextafter(0.9999999999999995, 2.0);
  EXPECT_EQ(ToDigits15(above), D15(false, 100000000000000, -14));
  EXPECT_EQ(Round15(above), 1.0);
  // The largest double below 1 and the smallest above: both round to 1.
  EXPECT_EQ(Round15(std::nextafter(1.0, 0.0)), 1.0);
  EXPECT_EQ(Round15(std::nextafter(1.0, 2.0)), 1.0);
  // 10000000000000050 is exact and its 16th digit is a final 5: a tie. It lies in
  // [2^53, 2^54), a binade that also holds values below 10^16.
  EXPECT_EQ(ToDigits15(10000000000000050.0), D15(false, 100000000000001, 2));
  EXPECT_EQ(Round15(10000000000000050.0), 1.00000000000001e16);
  EXPECT_EQ(ToDigits15(10000000000000040.0), D15(false, 100000000000000, 2));
}

TEST(Digits15Test, ZerosInfinitiesNaNAndOverflow) {
  EXPECT_EQ(ToDigits15(0.0), D15(false, 0, 0));
  EXPECT_EQ(ToDigits15(-0.0), D15(true, 0, 0));
  EXPECT_EQ(Bits(Round15(0.0)), Bits(0.0));
  EXPECT_EQ(Bits(Round15(-0.0)), Bits(-0.0));
  EXPECT_EQ(Round15(kInf), kInf);
  EXPECT_EQ(Round15(-kInf), -kInf);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(Bits(Round15(nan)), Bits(nan));
  EXPECT_EQ(Bits(Round15(-nan)), Bits(-nan));
  const double payload = std::bit_cast<double>(uint64_t{0x7ff8000000012345});
  EXPECT_EQ(Bits(Round15(payload)), Bits(payload));

  // 15-digit values from 1.797693134862315e308 up are 1.79769313486232e308 > DBL_MAX.
  EXPECT_EQ(Round15(DBL_MAX), kInf);
  EXPECT_EQ(Round15(-DBL_MAX), -kInf);
  // strtod("1.797693134862315e308") = 1.7976931348623149098...e308 stays finite;
  // the next double, 1.7976931348623151094...e308, overflows.
  const double below = 1.797693134862315e308;
  EXPECT_EQ(ToDigits15(below), D15(false, 179769313486231, 294));
  EXPECT_EQ(Round15(below), 1.79769313486231e308);
  const double next = std::nextafter(below, kInf);
  EXPECT_EQ(ToDigits15(next), D15(false, 179769313486232, 294));
  EXPECT_EQ(Round15(next), kInf);
  EXPECT_EQ(Round15(-next), -kInf);
}

TEST(Digits15Test, SubnormalsAndSmallestNormals) {
  Checker checker;
  for (uint64_t m = 1; m <= 2000; ++m) {
    checker.Check(std::bit_cast<double>(m));                            // m * 2^-1074
    checker.Check(std::bit_cast<double>((uint64_t{1} << 52) - m));      // just below DBL_MIN
    checker.Check(std::bit_cast<double>((uint64_t{1} << 52) + m - 1));  // DBL_MIN and up
  }
  EXPECT_EQ(checker.failures(), 0) << "of " << checker.count();

  // A subnormal m * 2^-1074 with m < 10^14 is its own rounding: 15-digit rounding
  // moves a value by at most 5e-15 of itself, here less than half of 2^-1074.
  std::mt19937_64 rng(15);
  std::uniform_int_distribution<uint64_t> mantissa(1, k1e14 - 1);
  for (int i = 0; i < 20000; ++i) {
    const double x = RandomSign(rng, std::bit_cast<double>(mantissa(rng)));
    ASSERT_EQ(Bits(Round15(x)), Bits(x)) << Describe(x);
  }
}

TEST(Digits15Test, EveryBinaryExponent) {
  std::mt19937_64 rng(1);
  Checker checker;
  for (uint64_t biased = 0; biased <= 2046; ++biased) {
    const uint64_t mantissas[] = {0,
                                  1,
                                  2,
                                  uint64_t{1} << 51,
                                  (uint64_t{1} << 52) - 1,
                                  (uint64_t{1} << 52) - 2,
                                  rng() >> 12,
                                  rng() >> 12,
                                  rng() >> 12};
    for (const uint64_t m : mantissas) {
      if (biased == 0 && m == 0) continue;
      const double x = std::bit_cast<double>((biased << 52) | m);
      checker.Check(x);
      checker.Check(-x);
    }
  }
  EXPECT_EQ(checker.failures(), 0) << "of " << checker.count();
}

TEST(Digits15Test, ExactTiesRoundAwayFromZero) {
  // x = c / 2^t with c odd: x * 10^t = c * 5^t is an odd integer, so it ends in 5.
  // With 16 digits, that final 5 is the whole remainder: an exact tie.
  std::mt19937_64 rng(2);
  int ties = 0;
  for (int t = 1; t <= 22; ++t) {
    const uint64_t p5 = Pow5(t);
    const uint64_t lo = (k1e15 + p5 - 1) / p5;
    const uint64_t hi = std::min((10 * k1e15 - 1) / p5, (uint64_t{1} << 53) - 1);
    std::uniform_int_distribution<uint64_t> pick(lo, hi);
    for (int i = 0; i < 3000; ++i) {
      uint64_t c = pick(rng) | 1;
      if (c > hi) c -= 2;
      if (c < lo) continue;
      const double x = std::ldexp(static_cast<double>(c), -t);  // exact: c < 2^53
      const uint64_t n16 = c * p5;
      ASSERT_TRUE(n16 >= k1e15 && n16 < 10 * k1e15 && n16 % 10 == 5) << n16;
      uint64_t digits = (n16 + 5) / 10;
      int exponent = 1 - t;
      if (digits == k1e15) {
        digits = k1e14;
        ++exponent;
      }
      const double want = Parse(digits, exponent);
      ASSERT_EQ(ToDigits15(x), D15(false, digits, exponent)) << Describe(x);
      ASSERT_EQ(ToDigits15(-x), D15(true, digits, exponent)) << Describe(x);
      ASSERT_EQ(Bits(Round15(x)), Bits(want)) << Describe(x);
      ASSERT_EQ(Bits(Round15(-x)), Bits(-want)) << Describe(x);
      ++ties;
    }
  }
  EXPECT_GT(ties, 40000);

  // Integer ties: 10K + 5 (16 digits, below 2^53) and (10K + 5) * 10 when exact.
  std::uniform_int_distribution<uint64_t> pick_k(k1e14, ((uint64_t{1} << 53) - 5) / 10);
  for (int i = 0; i < 20000; ++i) {
    const uint64_t k = pick_k(rng);
    const double x = static_cast<double>(10 * k + 5);
    ASSERT_EQ(ToDigits15(x), D15(false, k + 1, 1)) << Describe(x);
    ASSERT_EQ(Bits(Round15(-x)), Bits(-Parse(k + 1, 1))) << Describe(x);
    const uint64_t n = (10 * k + 5) * 10;
    const double y = static_cast<double>(n);
    if (static_cast<uint64_t>(y) != n) continue;  // not exactly representable
    ASSERT_EQ(ToDigits15(y), D15(false, k + 1, 2)) << Describe(y);
    ASSERT_EQ(Bits(Round15(y)), Bits(Parse(k + 1, 2))) << Describe(y);
  }
}

TEST(Digits15Test, RandomDoublesMatchReference) {
  std::mt19937_64 rng(3);
  Checker checker;
  // Uniform bit patterns: all binary exponents, subnormals, both signs.
  for (int i = 0; i < 400000; ++i) checker.Check(RandomFinite(rng));
  // Few significant bits (short exact expansions, many exact or tie cases).
  std::uniform_int_distribution<int> zeros(0, 52);
  for (int i = 0; i < 100000; ++i) {
    const double x = RandomFinite(rng);
    const uint64_t mask = ~((uint64_t{1} << zeros(rng)) - 1);
    const double y = std::bit_cast<double>(Bits(x) & mask);
    if (y != 0) checker.Check(y);
  }
  // Short decimals (1 to 17 digits), as typed by users.
  std::uniform_int_distribution<int> ndigits(1, 17);
  std::uniform_int_distribution<int> exp10(-330, 300);
  char buf[64];
  for (int i = 0; i < 100000; ++i) {
    uint64_t v = 0;
    for (int n = ndigits(rng); n > 0; --n) v = v * 10 + rng() % 10;
    std::snprintf(buf, sizeof buf, "%llue%d", static_cast<unsigned long long>(v), exp10(rng));
    const double x = std::strtod(buf, nullptr);
    if (x != 0 && std::isfinite(x)) checker.Check(RandomSign(rng, x));
  }
  EXPECT_EQ(checker.failures(), 0) << "of " << checker.count();
  EXPECT_GE(checker.count(), 590000);
}

TEST(Digits15Test, NearRoundingBoundariesMatchReference) {
  // The double nearest to a half unit in the 15th digit of a random 15-digit
  // decimal, and its two neighbours on each side.
  std::mt19937_64 rng(4);
  std::uniform_int_distribution<int> exp10(-338, 294);
  Checker checker;
  char buf[64];
  for (int i = 0; i < 120000; ++i) {
    const uint64_t d = Random15Digits(rng);
    std::snprintf(buf, sizeof buf, "%llu5e%d", static_cast<unsigned long long>(d), exp10(rng) - 1);
    const double mid = RandomSign(rng, std::strtod(buf, nullptr));
    double down = mid;
    double up = mid;
    for (int j = 0; j < 2; ++j) {
      down = std::nextafter(down, 0.0);
      up = std::nextafter(up, std::copysign(kInf, mid));
    }
    for (const double x :
         {down, std::nextafter(mid, 0.0), mid, std::nextafter(mid, std::copysign(kInf, mid)), up}) {
      if (x != 0 && std::isfinite(x)) checker.Check(x);
    }
  }
  EXPECT_EQ(checker.failures(), 0) << "of " << checker.count();
  EXPECT_GE(checker.count(), 590000);
}

TEST(Digits15Test, FifteenDigitDecimalsRoundTrip) {
  // A normal double nearest to a 15-digit decimal rounds back to that decimal
  // and is its own Round15 (doubles carry more than 15 digits).
  std::mt19937_64 rng(5);
  std::uniform_int_distribution<int> exp10(-321, 294);
  for (int i = 0; i < 200000; ++i) {
    const uint64_t d = Random15Digits(rng);
    const int e = exp10(rng);
    const double y = Parse(d, e);
    if (!(std::fabs(y) >= DBL_MIN && std::isfinite(y))) continue;
    ASSERT_EQ(ToDigits15(y), D15(false, d, e)) << Describe(y);
    ASSERT_EQ(Bits(Round15(y)), Bits(y)) << Describe(y);
    ASSERT_EQ(Bits(Round15(-y)), Bits(-y)) << Describe(y);
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
    const uint64_t lower = odd / 2 * 16;
    // The two neighbours are lower and lower + 16 (the spacing in [2^56, 2^57)).
    ASSERT_TRUE(want == static_cast<double>(lower) || want == static_cast<double>(lower + 16)) << d;
    ASSERT_EQ((Bits(want) & 1), 0u) << d;  // the even neighbour
    ASSERT_EQ(ToDigits15(want), D15(false, d, 3)) << d;
    for (const Path path : {Path::kFast, Path::kNoFastPath, Path::kExactOnly}) {
      ASSERT_EQ(Bits(digits15_detail::Round15Via(want, path)), Bits(want)) << d;
      ASSERT_EQ(Bits(digits15_detail::Round15Via(-want, path)), Bits(-want)) << d;
    }
    ++checked;
  }
  EXPECT_GT(checked, 5000);
}

TEST(Digits15Test, SlowPathsAgreeWithFastPath) {
  // The table-based conversion (used when |exponent| > 22) and the big-integer
  // comparisons (used when the table cannot decide) run here on every input.
  std::mt19937_64 rng(7);
  std::vector<double> inputs;
  for (int i = 0; i < 30000; ++i) inputs.push_back(RandomFinite(rng));
  std::uniform_int_distribution<int> exp10(-338, 294);
  char buf[64];
  for (int i = 0; i < 10000; ++i) {
    std::snprintf(buf, sizeof buf, "%llu5e%d", static_cast<unsigned long long>(Random15Digits(rng)),
                  exp10(rng) - 1);
    const double mid = std::strtod(buf, nullptr);
    inputs.push_back(mid);
    inputs.push_back(std::nextafter(mid, 0.0));
    inputs.push_back(std::nextafter(mid, kInf));
  }
  for (int i = 0; i < 10000; ++i) {
    inputs.push_back(static_cast<double>(rng() >> (rng() % 64)));  // integers
    inputs.push_back(std::ldexp(static_cast<double>(rng() >> 40), -static_cast<int>(rng() % 60)));
  }
  for (const double x : {1.000030517578125, 999999999999999.5, 10000000000000050.0, 0.5, 1e15,
                         5e-324, DBL_MIN, DBL_MAX, 1.797693134862315e308, 1e-300, 1e22, 1e23}) {
    inputs.push_back(x);
  }
  for (const double input : inputs) {
    if (input == 0 || !std::isfinite(input)) continue;
    const double x = RandomSign(rng, input);
    const Digits15 fast = ToDigits15(x);
    const double rounded = Round15(x);
    ASSERT_EQ(digits15_detail::ToDigits15Via(x, Path::kExactOnly), fast) << Describe(x);
    ASSERT_EQ(digits15_detail::ToDigits15Via(x, Path::kNoFastPath), fast) << Describe(x);
    ASSERT_EQ(Bits(digits15_detail::Round15Via(x, Path::kNoFastPath)), Bits(rounded))
        << Describe(x);
    ASSERT_EQ(Bits(digits15_detail::Round15Via(x, Path::kExactOnly)), Bits(rounded)) << Describe(x);
  }
}

TEST(Digits15Test, SignSymmetryAndIdempotence) {
  std::mt19937_64 rng(8);
  for (int i = 0; i < 200000; ++i) {
    const double x = RandomFinite(rng);
    const Digits15 d = ToDigits15(x);
    Digits15 flipped = ToDigits15(-x);
    ASSERT_NE(flipped.negative, d.negative) << Describe(x);
    flipped.negative = d.negative;
    ASSERT_EQ(flipped, d) << Describe(x);
    ASSERT_TRUE(d.digits >= k1e14 && d.digits < k1e15) << Describe(x);
    const double r = Round15(x);
    ASSERT_EQ(Bits(Round15(-x)), Bits(-r)) << Describe(x);
    if (std::isinf(r)) continue;
    ASSERT_EQ(ToDigits15(r), d) << Describe(x);  // r is within half a double ulp
    ASSERT_EQ(Bits(Round15(r)), Bits(r)) << Describe(x);
  }
}

}  // namespace
}  // namespace orv
