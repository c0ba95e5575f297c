// The scaled decimal type: parsing, conversions, and arithmetic rounded
// half to even to 28 digits after the point within 96 bits.
#include "orv/frame/Decimal.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "orv/frame/Error.hpp"
#include "orv_test.hpp"

namespace orv {
namespace {

using namespace orv::test;

Decimal D(const char* text) { return Decimal::Parse(text); }
std::string S(const Decimal& d) { return d.ToString(); }

constexpr const char* kMax = "79228162514264337593543950335";  // 2^96 - 1

TEST(DecimalParse, KeepsEveryDigitThatFitsAndRoundsBeyondTheTwentyEighthPlace) {
  EXPECT_EQ(S(D("3.3871328727963666080E0")), "3.387132872796366608");
  EXPECT_EQ(D("3.3871328727963666080E0").Scale(), 19);
  // 29 and 35 places: rounded to 28.
  EXPECT_EQ(S(D("1.05075007164441684324E-9")), "0.0000000010507500716444168432");
  EXPECT_EQ(S(D("  -12.50 ")), "-12.5");
  EXPECT_EQ(S(D("+0.000")), "0");
  EXPECT_EQ(S(D("1.5D2")), "150");
  EXPECT_EQ(S(D(kMax)), kMax);
}

TEST(DecimalParse, TiesAtTheTwentyNinthPlaceGoToEven) {
  EXPECT_TRUE(D("0.00000000000000000000000000005").IsZero());
  EXPECT_EQ(S(D("0.00000000000000000000000000015")), "0.0000000000000000000000000002");
  EXPECT_EQ(S(D("0.000000000000000000000000000050001")), "0.0000000000000000000000000001");
  // Digits far beyond what is kept still break a tie.
  EXPECT_EQ(S(D("0.0000000000000000000000000000500000000000000000000000000000000000000000000001")),
            "0.0000000000000000000000000001");
  EXPECT_TRUE(D("1E-400").IsZero());
}

TEST(DecimalParse, MalformedTextIsATypeMismatchAndTooLargeAnOverflow) {
  for (const char* bad : {"", " ", "abc", "1.2.3", "1e", "1E+", "--1", "1x", ".", "E5"})
    EXPECT_EQ(Fails([&] { D(bad); }).number, kErrTypeMismatch) << '"' << bad << '"';
  EXPECT_EQ(Fails([] { D("79228162514264337593543950336"); }).number, kErrOverflow);
  EXPECT_EQ(Fails([] { D("1E100000000"); }).number, kErrOverflow);
  // 7.9E28 has 29 digits and fits; 8E28 does not.
  EXPECT_EQ(S(D("7.9E28")), "79000000000000000000000000000");
  EXPECT_EQ(Fails([] { D("8E28"); }).number, kErrOverflow);
}

TEST(DecimalFromDouble, TakesTheFullBinaryValueRoundedToTwentyEightPlaces) {
  EXPECT_EQ(S(Decimal::FromDouble(0.1)), "0.1000000000000000055511151231");
  EXPECT_EQ(S(Decimal::FromDouble(-0.975)), "-0.9749999999999999777955395075");
  // 2^-29 and 3 * 2^-29 end in a 5 at the 29th place: half to even.
  EXPECT_EQ(S(Decimal::FromDouble(std::ldexp(1.0, -29))), "0.0000000018626451492309570312");
  EXPECT_EQ(S(Decimal::FromDouble(std::ldexp(3.0, -29))), "0.0000000055879354476928710938");
  // Above 2^96 / 10^28 fewer places are kept.
  EXPECT_EQ(S(Decimal::FromDouble(1e20 / 3)), "33333333333333331968");
  EXPECT_EQ(S(Decimal::FromDouble(10.0 / 3)), "3.33333333333333348136306995");
  EXPECT_EQ(Decimal::FromDouble(10.0 / 3).Scale(), 28);
  EXPECT_EQ(S(Decimal::FromDouble(std::ldexp(1.0, 95))), "39614081257132168796771975168");
}

TEST(DecimalFromDouble, TinyValuesBecomeZeroAndNonFiniteOrHugeOnesOverflow) {
  EXPECT_TRUE(Decimal::FromDouble(4.9e-29).IsZero());
  EXPECT_FALSE(Decimal::FromDouble(-1e-300).IsNegative());
  EXPECT_TRUE(Decimal::FromDouble(std::numeric_limits<double>::denorm_min()).IsZero());
  EXPECT_EQ(S(Decimal::FromDouble(5.1e-29)), "0.0000000000000000000000000001");
  EXPECT_TRUE(Decimal::FromDouble(-0.0).IsZero());
  EXPECT_FALSE(Decimal::FromDouble(-0.0).IsNegative());
  for (double bad : {std::nan(""), double(INFINITY), -double(INFINITY), std::ldexp(1.0, 96), -1e30})
    EXPECT_EQ(Fails([&] { Decimal::FromDouble(bad); }).number, kErrOverflow) << bad;
}

TEST(DecimalToDouble, IsTheNearestDouble) {
  // strtod rounds correctly: an independent oracle for random decimals.
  std::mt19937_64 gen(7);
  for (int i = 0; i < 20000; ++i) {
    const DecimalMantissa m =
        ((static_cast<DecimalMantissa>(gen()) << 64) | gen()) >> (32 + gen() % 90);
    const int scale = static_cast<int>(gen() % 29);
    const Decimal d = Decimal::FromParts(m, scale, gen() & 1);
    const std::string text = S(d);
    ASSERT_EQ(d.ToDouble(), std::strtod(text.c_str(), nullptr)) << text;
  }
  EXPECT_EQ(D(kMax).ToDouble(), std::ldexp(1.0, 96));
}

TEST(DecimalToDouble, RoundTripIsExactFromTwoToTheMinus39Up) {
  // The 28 places then hold the double to within a quarter of its spacing.
  std::mt19937_64 gen(11);
  std::uniform_real_distribution<double> exponent(-39, 6.9);
  for (int i = 0; i < 20000; ++i) {
    const double x = std::exp2(exponent(gen));
    ASSERT_EQ(Decimal::FromDouble(x).ToDouble(), x) << x;
    ASSERT_EQ(Decimal::FromDouble(-x).ToDouble(), -x) << x;
  }
  // Below, the round trip changes the value: 2^-60 keeps 11 digits.
  const double tiny = std::ldexp(1.0, -60);
  EXPECT_EQ(Decimal::FromDouble(tiny).ToDouble(), 8.67361738e-19);
}

TEST(DecimalArithmetic, QuotientsKeepTwentyEightOrTwentyNineDigits) {
  const Decimal one = Decimal::FromInteger(1), two = Decimal::FromInteger(2),
                three = Decimal::FromInteger(3);
  EXPECT_EQ(S(one / three), "0.3333333333333333333333333333");
  EXPECT_EQ(S(two / three), "0.6666666666666666666666666667");
  EXPECT_EQ(S(D("1000") / three), "333.33333333333333333333333333");
  EXPECT_EQ(S(D("-7") / D("0.0002")), "-35000");
  EXPECT_EQ(S(D("0.0000000000000000000000000001") / three), "0");
  EXPECT_EQ(Fails([] { D(kMax) / D("0.5"); }).number, kErrOverflow);
  EXPECT_EQ(S(D(kMax) / D("1.0")), kMax);
}

TEST(DecimalArithmetic, DivisionByZeroIsErrorElevenWhateverTheDividend) {
  EXPECT_EQ(Fails([] { D("1") / Decimal(); }).number, kErrDivisionByZero);
  EXPECT_EQ(Fails([] { Decimal() / D("0.000"); }).number, kErrDivisionByZero);
}

TEST(DecimalArithmetic, ProductsRoundHalfToEvenAtTheTwentyEighthPlace) {
  const Decimal unit = D("0.0000000000000000000000000001");
  EXPECT_TRUE((D("0.5") * unit).IsZero());
  EXPECT_EQ(S(D("1.5") * unit), "0.0000000000000000000000000002");
  EXPECT_EQ(S(D("2.5000001") * unit), "0.0000000000000000000000000003");
  EXPECT_EQ(S(D("-3.5") * unit), "-0.0000000000000000000000000004");
  EXPECT_TRUE((unit * unit).IsZero());
  // 29 significant digits while the integer fits in 96 bits, 28 when not.
  EXPECT_EQ(S(D("1.1111111111111111111111111111") * D("7")), "7.7777777777777777777777777777");
  EXPECT_EQ(S(D("1.1111111111111111111111111111") * D("8")), "8.888888888888888888888888889");
  EXPECT_EQ(Fails([] { D("1E15") * D("1E14"); }).number, kErrOverflow);
}

TEST(DecimalArithmetic, SumsAlignScalesAndRoundWhenTheIntegerOverflows) {
  const Decimal unit = D("0.0000000000000000000000000001");
  EXPECT_EQ(S(D("1") + unit), "1.0000000000000000000000000001");
  EXPECT_EQ(S(D("10") + unit), "10");  // would need 30 digits
  EXPECT_EQ((D("10") + D("0.00000000000000000000000000015")).Scale(), 27);
  EXPECT_EQ(S(D("10") + D("0.0000000000000000000000000005")), "10");
  EXPECT_EQ(S(D("10") + D("0.0000000000000000000000000015")), "10.000000000000000000000000002");
  EXPECT_TRUE((D("2.50") - D("2.5")).IsZero());
  EXPECT_FALSE((D("2.50") - D("2.5")).IsNegative());
  EXPECT_EQ(Fails([] { D(kMax) + D("1"); }).number, kErrOverflow);
  EXPECT_EQ(S(D(kMax) + D("0.4")), kMax);
  EXPECT_EQ(Fails([] { D(kMax) + D("0.5"); }).number, kErrOverflow);  // rounds up past 2^96 - 1
  EXPECT_EQ(S(-D(kMax) - D("0.4")), std::string("-") + kMax);
}

TEST(DecimalArithmetic, ComparesByValue) {
  EXPECT_EQ(D("1.50"), D("1.5"));
  EXPECT_EQ(D("-0.000"), Decimal());
  EXPECT_LT(D("-2"), D("-1.999999999999999999999999999"));
  EXPECT_GT(D("79228162514264337593543950335"), D("7922816251426433759354395033.5"));
}

TEST(DecimalArithmetic, ExactResultsMatchIntegerArithmetic) {
  // Integer operands whose results fit: no rounding may happen.
  std::mt19937_64 gen(3);
  for (int i = 0; i < 5000; ++i) {
    const std::int64_t a = static_cast<std::int64_t>(gen() >> 20) - (1LL << 43);
    const std::int64_t b = static_cast<std::int64_t>(gen() >> 20) - (1LL << 43);
    const Decimal da = Decimal::FromInteger(a), db = Decimal::FromInteger(b);
    ASSERT_EQ(S(da + db), std::to_string(a + b));
    ASSERT_EQ(S(da - db), std::to_string(a - b));
    // |a * b| < 2^88, exactly as the product of the magnitudes.
    const DecimalMantissa magnitude =
        static_cast<DecimalMantissa>(a < 0 ? -a : a) * static_cast<DecimalMantissa>(b < 0 ? -b : b);
    const Decimal dp = da * db;
    ASSERT_EQ(dp.Mantissa(), magnitude);
    ASSERT_EQ(dp.IsNegative(), magnitude != 0 && ((a < 0) != (b < 0)));
    if (b != 0 && a % b == 0) {
      ASSERT_EQ(S(da / db), std::to_string(a / b));
    }
  }
}

}  // namespace
}  // namespace orv
