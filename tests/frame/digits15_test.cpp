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

// ---------------------------------------------------------------------------
// The double-double fast path, taken for 1e-8 <= |x| < 1e37, where
// q = 14 - floor(log10|x|) satisfies |q| <= 22: y = |x| * 10^q in [10^14, 10^15) is
// held as hi = fl(y) plus the exact error, and rounds to an integer by the fraction
// of hi and the sign of y - hi.

// All significant digits of |x| (exact, trailing zeros removed) and the decimal
// exponent of the first: |x| = 0.D * 10^(exp + 1). x != 0, finite.
struct Decimal {
  std::string digits;
  int exp;
};

Decimal ExactDecimal(double x) {
  char buf[1024];
  std::snprintf(buf, sizeof buf, "%.800e", std::fabs(x));
  Decimal d;
  const char* e = std::strchr(buf, 'e');
  for (const char* c = buf; c != e; ++c) {
    if (*c != '.') d.digits.push_back(*c);
  }
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  d.exp = std::atoi(e + 1);
  return d;
}

// Sign of |x| * 10^q - v * 10^ve, exactly (v > 0), from decimal digit strings.
int CompareDecimal(double x, int q, uint64_t v, int ve) {
  const Decimal a = ExactDecimal(x);
  std::string b = std::to_string(v);
  const int bexp = static_cast<int>(b.size()) - 1 + ve;
  while (b.size() > 1 && b.back() == '0') b.pop_back();
  if (a.exp + q != bexp) return a.exp + q < bexp ? -1 : 1;
  const std::size_t n = std::max(a.digits.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char ca = i < a.digits.size() ? a.digits[i] : '0';
    const char cb = i < b.size() ? b[i] : '0';
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return 0;
}

constexpr double kPow10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// fl(|x| * 10^q) by one correctly rounded double operation, |q| <= 22.
double ScaledHi(double x, int q) {
  return q >= 0 ? std::fabs(x) * kPow10[q] : std::fabs(x) / kPow10[-q];
}

// Checks x against everything: the printf reference, the big-integer path, and a
// direct expectation n * 10^-q (n already rounded, 10^14 <= n <= 10^15).
void ExpectRounded(double x, uint64_t n, int q) {
  uint64_t digits = n;
  int exponent = -q;
  if (digits == k1e15) {
    digits = k1e14;
    ++exponent;
  }
  const bool negative = std::signbit(x);
  const double want = negative ? -Parse(digits, exponent) : Parse(digits, exponent);
  ASSERT_EQ(ToDigits15(x), D15(negative, digits, exponent)) << Describe(x);
  ASSERT_EQ(Bits(Round15(x)), Bits(want)) << Describe(x);
  ASSERT_EQ(Bits(digits15_detail::Round15Via(x, Path::kExactOnly)), Bits(want)) << Describe(x);
  const Reference ref = ReferenceRound(x);
  ASSERT_EQ(ref.digits, D15(negative, digits, exponent)) << Describe(x);
}

TEST(Digits15FastPathTest, HandCheckedValuesAtTheEdgesOfTheRange) {
  // q = 22 (1e-8 is the smallest power of ten inside) and q = 23 just below.
  EXPECT_EQ(Round15(1e-8), 1e-8);
  EXPECT_EQ(Round15(-1e-8), -1e-8);
  EXPECT_EQ(Round15(std::nextafter(1e-8, 0.0)), 1e-8);  // 9.99999999999999983e-9
  EXPECT_EQ(Round15(1.2345678901234567e-8), 1.23456789012346e-8);
  EXPECT_EQ(Round15(9.8765432109876543e-9), 9.87654321098765e-9);
  EXPECT_EQ(Round15(-3.1415926535897932e-9), -3.14159265358979e-9);
  // q = -22 (up to 1e37) and q = -23 from 1e37 on.
  EXPECT_EQ(Round15(3.1415926535897932e36), 3.14159265358979e36);
  EXPECT_EQ(Round15(-9.8765432109876543e36), -9.87654321098765e36);
  EXPECT_EQ(Round15(1e37), 1e37);
  EXPECT_EQ(Round15(std::nextafter(1e37, 0.0)), 1e37);
  EXPECT_EQ(Round15(3.1415926535897932e37), 3.14159265358979e37);
  // Around q = 0 (|x| in [1e14, 1e15) is already scaled).
  EXPECT_EQ(Round15(123456789012345.67), 123456789012346.0);
  EXPECT_EQ(Round15(-123456789012345.47), -123456789012345.0);
  EXPECT_EQ(Round15(1234567890123456.7), 1234567890123460.0);
  EXPECT_EQ(Round15(12345678901234.567), 12345678901234.6);
  // Everyday values.
  EXPECT_EQ(Round15(0.1 + 0.2), 0.3);
  EXPECT_EQ(Round15(-1.0 / 3), -0.333333333333333);
  EXPECT_EQ(Round15(100.0 / 7), 14.2857142857143);
  EXPECT_EQ(Round15(1e6 / 7), 142857.142857143);
  EXPECT_EQ(Round15(1.005), 1.005);
  EXPECT_EQ(ToDigits15(-1e6 / 7), D15(true, 142857142857143, -9));
  EXPECT_EQ(ToDigits15(1e-8), D15(false, 100000000000000, -22));
  EXPECT_EQ(ToDigits15(9.8765432109876543e36), D15(false, 987654321098765, 22));
}

TEST(Digits15FastPathTest, AroundEveryPowerOfTenNearTheRangeEnds) {
  // Every power of ten from 1e-12 to 1e40 (q = 26 .. -26) and the doubles next to
  // it; both ends of the range (q = +-22 inside, +-23 outside) included.
  Checker checker;
  char buf[32];
  for (int k = -12; k <= 40; ++k) {
    std::snprintf(buf, sizeof buf, "1e%d", k);
    const double p = std::strtod(buf, nullptr);
    double down = p;
    double up = p;
    std::vector<double> xs = {p};
    for (int j = 0; j < 6; ++j) {
      down = std::nextafter(down, 0.0);
      up = std::nextafter(up, kInf);
      xs.push_back(down);
      xs.push_back(up);
    }
    // And the 15-digit values and ties just below the power: 9.99999999999999(5)e(k-1).
    std::snprintf(buf, sizeof buf, "9.99999999999999e%d", k - 1);
    xs.push_back(std::strtod(buf, nullptr));
    std::snprintf(buf, sizeof buf, "9.999999999999995e%d", k - 1);
    const double tie = std::strtod(buf, nullptr);
    xs.push_back(tie);
    xs.push_back(std::nextafter(tie, 0.0));
    xs.push_back(std::nextafter(tie, kInf));
    for (const double x : xs) {
      for (const double sx : {x, -x}) {
        checker.Check(sx);
        ASSERT_EQ(Bits(Round15(sx)), Bits(digits15_detail::Round15Via(sx, Path::kExactOnly)))
            << Describe(sx);
        ASSERT_EQ(ToDigits15(sx), digits15_detail::ToDigits15Via(sx, Path::kExactOnly))
            << Describe(sx);
      }
    }
  }
  EXPECT_EQ(checker.failures(), 0) << "of " << checker.count();
}

TEST(Digits15FastPathTest, HiExactlyOnAHalfWithErrorOfEitherSign) {
  // Targets t = k + 1/2 and inputs x with fl(|x| * 10^q) == t; the exact
  // |x| * 10^q - t (from x's decimal expansion) is positive, negative or zero, and
  // alone decides between k and k + 1.
  std::mt19937_64 rng(21);
  std::uniform_int_distribution<uint64_t> pick_k(k1e14, k1e15 - 1);
  std::uniform_int_distribution<int> pick_q(-22, 22);
  // found[q >= 0][sign + 1]
  int found[2][3] = {};
  auto try_x = [&](double x, int q) {
    if (!(x > 0) || !std::isfinite(x)) return;
    const double hi = ScaledHi(x, q);
    if (hi - std::floor(hi) != 0.5) return;
    const uint64_t k = static_cast<uint64_t>(hi);
    const int sign = CompareDecimal(x, q, 10 * k + 5, -1);  // sign of y - (k + 1/2)
    const uint64_t n = k + (sign >= 0 ? 1 : 0);
    ++found[q >= 0 ? 1 : 0][sign + 1];
    const double sx = RandomSign(rng, x);
    ExpectRounded(sx, n, q);
  };
  for (int i = 0; i < 12000; ++i) {
    const uint64_t k = pick_k(rng);
    const int q = pick_q(rng);
    const double t = static_cast<double>(k) + 0.5;  // exact: k < 2^50
    // The double nearest to t * 10^-q and its neighbours.
    const double x0 = q >= 0 ? t / kPow10[q] : t * kPow10[-q];
    double below = x0;
    double above = x0;
    try_x(x0, q);
    for (int j = 0; j < 3; ++j) {
      below = std::nextafter(below, 0.0);
      above = std::nextafter(above, kInf);
      try_x(below, q);
      try_x(above, q);
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
    const uint64_t odd = 2 * pick_k(rng) + 1;
    const uint64_t xi = odd * Pow5(p) << (p - 1);
    if (xi >> 53 == 0) try_x(static_cast<double>(xi), -p);
  }
  // Every kind occurs often: multiply (q >= 0) and divide (q < 0), error below, zero, above.
  for (int mul = 0; mul < 2; ++mul) {
    for (int sign = 0; sign < 3; ++sign) {
      EXPECT_GE(found[mul][sign], 200)
          << "q " << (mul != 0 ? ">= 0" : "< 0") << ", sign " << sign - 1;
    }
  }
}

TEST(Digits15FastPathTest, CarryIntoTenToTheFifteen) {
  // Values whose scaled y lies just below 10^15: n = floor(hi) + 1 == 10^15, or
  // hi itself rounds to 10^15. Both give 10^14 * 10^(1 - q).
  int carried = 0;
  int hi_at_top = 0;
  char buf[32];
  for (int e = -8; e <= 36; ++e) {
    const int q = 14 - e;
    std::snprintf(buf, sizeof buf, "1e%d", e + 1);
    double x = std::strtod(buf, nullptr);
    while (CompareDecimal(x, 0, 1, e + 1) >= 0) x = std::nextafter(x, 0.0);
    for (int j = 0; j < 40; ++j, x = std::nextafter(x, 0.0)) {
      // floor(log10 x) == e: below 10^(e+1).
      if (std::abs(q) > 22) break;
      const double hi = ScaledHi(x, q);
      if (hi == 1e15) ++hi_at_top;
      const uint64_t whole = static_cast<uint64_t>(hi);
      // Rounded by the exact comparison of y with whole + 1/2.
      const uint64_t n = whole + (CompareDecimal(x, q, 10 * whole + 5, -1) >= 0 ? 1 : 0);
      if (n != k1e15) continue;
      ++carried;
      ExpectRounded(x, n, q);
      ExpectRounded(-x, n, q);
      EXPECT_EQ(std::fabs(Round15(x)), Parse(1, e + 1)) << Describe(x);
    }
  }
  EXPECT_GT(carried, 100);
  EXPECT_GT(hi_at_top, 5);
}

TEST(Digits15FastPathTest, SubnormalsAndOtherMagnitudesUnchanged) {
  // Outside 1e-8 <= |x| < 1e37 the fast path is not taken; results are those of
  // the big-integer path, and subnormals below 10^14 units are their own rounding.
  std::mt19937_64 rng(22);
  for (int i = 0; i < 20000; ++i) {
    const double sub = RandomSign(rng, std::bit_cast<double>(rng() >> 12));
    if (sub == 0) continue;
    ASSERT_EQ(Bits(Round15(sub)), Bits(digits15_detail::Round15Via(sub, Path::kExactOnly)))
        << Describe(sub);
    ASSERT_EQ(ToDigits15(sub), digits15_detail::ToDigits15Via(sub, Path::kExactOnly))
        << Describe(sub);
  }
  for (const double x :
       {5e-324, 1e-320, DBL_MIN, 1e-300, 1e-9, 9.9e-9, 1e37, 1e38, 1e300, DBL_MAX}) {
    for (const double sx : {x, -x}) {
      ASSERT_EQ(Bits(Round15(sx)), Bits(digits15_detail::Round15Via(sx, Path::kExactOnly)))
          << Describe(sx);
    }
  }
  EXPECT_EQ(Round15(-5e-324), -5e-324);
  EXPECT_EQ(Bits(Round15(-0.0)), Bits(-0.0));
}

TEST(Digits15FastPathTest, RandomCommonMagnitudesMatchExactPath) {
  // Several million doubles, mostly in 1e-9..1e13 (where sweeps spend their time),
  // some across the whole fast range; bit for bit against the big-integer path.
  std::mt19937_64 rng(23);
  // Binary exponents: 2^-30 ~ 9.3e-10 .. 2^43 ~ 8.8e12, and 2^-28 .. 2^124.
  std::uniform_int_distribution<uint64_t> common(1023 - 30, 1023 + 43);
  std::uniform_int_distribution<uint64_t> wide(1023 - 28, 1023 + 124);
  std::uniform_int_distribution<int> zeros(0, 52);
  std::uniform_int_distribution<int> ndigits(1, 17);
  std::uniform_int_distribution<int> exp10(-26, 13);
  int checked = 0;
  Checker checker;  // the printf reference, on a sample
  char buf[64];
  for (int i = 0; i < 4000000; ++i) {
    double x;
    switch (i % 8) {
      case 0:  // short decimals, as typed
      {
        uint64_t v = 0;
        for (int n = ndigits(rng); n > 0; --n) v = v * 10 + rng() % 10;
        std::snprintf(buf, sizeof buf, "%llue%d", static_cast<unsigned long long>(v), exp10(rng));
        x = std::strtod(buf, nullptr);
        break;
      }
      case 1:  // few significant bits (exact expansions, ties)
        x = std::bit_cast<double>((common(rng) << 52) |
                                  ((rng() >> 12) & ~((uint64_t{1} << zeros(rng)) - 1)));
        break;
      case 2:
        x = std::bit_cast<double>((wide(rng) << 52) | (rng() >> 12));
        break;
      default:
        x = std::bit_cast<double>((common(rng) << 52) | (rng() >> 12));
        break;
    }
    if (x == 0) continue;
    x = RandomSign(rng, x);
    const double got = Round15(x);
    const double want = digits15_detail::Round15Via(x, Path::kExactOnly);
    if (Bits(got) != Bits(want)) {
      ADD_FAILURE() << "x = " << Describe(x) << ": got " << Describe(got) << ", want "
                    << Describe(want);
      return;
    }
    if (i % 16 == 0) {
      ASSERT_EQ(ToDigits15(x), digits15_detail::ToDigits15Via(x, Path::kExactOnly)) << Describe(x);
    }
    if (i % 64 == 0) checker.Check(x);
    ++checked;
  }
  EXPECT_GT(checked, 3900000);
  EXPECT_EQ(checker.failures(), 0) << "of " << checker.count();
}

}  // namespace
}  // namespace orv
