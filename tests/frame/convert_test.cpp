#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "orv/frame/frame.hpp"
#include "orv_test.hpp"

namespace orv {
namespace {

using namespace orv::test;

// Restores the decimal separator however a test ends.
struct SeparatorScope {
  explicit SeparatorScope(char c) : saved(DecimalSeparator()) { SetDecimalSeparator(c); }
  ~SeparatorScope() { SetDecimalSeparator(saved); }
  char saved;
};

TEST(ToDouble, EveryKindOfValue) {
  EXPECT_EQ(CDbl(Variant()), 0.0);
  EXPECT_EQ(CDbl(Variant(true)), -1.0);
  EXPECT_EQ(CDbl(Variant(0.1f)), static_cast<double>(0.1f));
  EXPECT_EQ(CDbl(Variant(Currency{12345})), 1.2345);
  EXPECT_EQ(CDbl(Variant(Date{45000.5})), 45000.5);
  EXPECT_EQ(CDbl(Variant(" -1.5E+3 ")), -1500.0);
  EXPECT_EQ(CDbl(Variant("2D2")), 200.0);
  EXPECT_EQ(CDbl(Variant("&HFF")), 255.0);
  EXPECT_EQ(CDbl(Variant("&HFFFFFFFF")), -1.0);
  EXPECT_EQ(CDbl(Variant("&O17")), 15.0);
}

TEST(ToDouble, FailuresOfTheConversion) {
  EXPECT_EQ(Fails([] { CDbl(Variant("abc")); }).number, 13);
  EXPECT_EQ(Fails([] { CDbl(Variant("")); }).number, 13);
  EXPECT_EQ(Fails([] { CDbl(Variant("1e")); }).number, 13);
  EXPECT_EQ(Fails([] { CDbl(Variant(ErrorValue{2042})); }).number, 13);
  EXPECT_EQ(Fails([] { CDbl(Variant(Array<double>(1, 1))); }).number, 13);
  EXPECT_EQ(Fails([] { CDbl(Variant(Null)); }).number, 94);
  EXPECT_EQ(Fails([] { CDbl(Variant("1e400")); }).number, 6);
  EXPECT_EQ(Fails([] { CDbl(Variant("&H100000000")); }).number, 6);  // past 32 bits
  EXPECT_EQ(CDbl(Variant("1e-400")), 0.0);
}

TEST(ToDouble, NumericTextFollowsTheDecimalSeparator) {
  SeparatorScope comma(',');
  EXPECT_EQ(CDbl(Variant("2,5")), 2.5);
  EXPECT_EQ(Fails([] { CDbl(Variant("2.5")); }).number, 13);
  EXPECT_EQ(CStr(2.5), "2,5");
  EXPECT_TRUE(IsNumeric(Variant("-0,25")));
  EXPECT_FALSE(IsNumeric(Variant("0.25")));
}

TEST(ToInteger, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(CInt(2.5), 2);
  EXPECT_EQ(CInt(3.5), 4);
  EXPECT_EQ(CInt(-2.5), -2);
  EXPECT_EQ(CInt(2.5000000001), 3);
  EXPECT_EQ(CInt(Variant("0.5")), 0);
  EXPECT_EQ(CLng(-0.5), 0);
}

TEST(ToInteger, LimitsOfSixteenAndThirtyTwoBits) {
  EXPECT_EQ(CInt(32767.0), 32767);
  EXPECT_EQ(CInt(32767.4), 32767);
  EXPECT_EQ(Fails([] { CInt(32767.5); }).number, 6);
  EXPECT_EQ(Fails([] { CInt(32768.0); }).number, 6);
  EXPECT_EQ(CInt(-32768.0), -32768);
  EXPECT_EQ(CInt(-32768.5), -32768);  // half to even stays in range
  EXPECT_EQ(Fails([] { CInt(-32768.6); }).number, 6);
  EXPECT_EQ(CLng(-2147483648.0), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(CLng(-2147483648.5), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(Fails([] { CLng(-2147483649.0); }).number, 6);
  EXPECT_EQ(CLng(2147483647.0), 2147483647);
  EXPECT_EQ(Fails([] { CLng(2147483647.5); }).number, 6);
  EXPECT_EQ(Fails([] { CLng(std::nan("")); }).number, 6);
  EXPECT_EQ(Fails([] { CInt(Variant("x")); }).number, 13);
}

TEST(ToSingleAndFloor, RangeAndDirection) {
  EXPECT_EQ(CSng(0.1), 0.1f);
  EXPECT_EQ(Fails([] { CSng(1e39); }).number, 6);
  EXPECT_EQ(Floor(-1.5), -2.0);
  EXPECT_EQ(Floor(-0.0), -0.0);
}

TEST(NumberToText, FifteenSignificantDigitsWithoutTrailingZeros) {
  EXPECT_EQ(CStr(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(CStr(2.0 / 3.0), "0.666666666666667");
  EXPECT_EQ(CStr(0.1 + 0.2), "0.3");
  EXPECT_EQ(CStr(0.0), "0");
  EXPECT_EQ(CStr(-0.0), "0");
  EXPECT_EQ(CStr(123456789012345.0), "123456789012345");
}

TEST(NumberToText, ExponentFormForLargeAndSmallMagnitudes) {
  EXPECT_EQ(CStr(1e15), "1E+15");
  EXPECT_EQ(CStr(1e-5), "1E-05");
  EXPECT_EQ(CStr(0.0001), "0.0001");
  EXPECT_EQ(CStr(123456789012345678.0), "1.23456789012346E+17");
  EXPECT_EQ(CStr(1e100), "1E+100");
  EXPECT_EQ(CStr(999999999999999.9), "1E+15");  // rounding carries into the exponent form
}

TEST(ToString, EveryKindOfValue) {
  EXPECT_EQ(CStr(Variant()), "");
  EXPECT_EQ(CStr(Variant(true)), "True");
  EXPECT_EQ(CStr(Variant(ErrorValue{2042})), "Error 2042");
  EXPECT_EQ(CStr(Variant(Currency{-12345})), "-1.2345");
  EXPECT_EQ(CStr(Variant(Currency{20000})), "2");
  EXPECT_EQ(CStr(Variant(0.1f)), "0.1");
  EXPECT_EQ(CStr(Variant(Date{2.0})), "1/1/1900");
  EXPECT_EQ(CStr(Variant(Date{45658.5})), "1/1/2025 12:00:00");
  // The first and last days a date holds; past them, an overflow.
  EXPECT_EQ(CStr(Variant(Date{-657434.0})), "1/1/100");
  EXPECT_EQ(CStr(Variant(Date{2958465.5})), "12/31/9999 12:00:00");
  for (double serial : {2958466.0, -657434.5, 1e300, -1e300, std::nan("")})
    EXPECT_EQ(Fails([&] { CStr(Variant(Date{serial})); }).number, 6) << serial;
  EXPECT_EQ(Fails([] { CStr(Variant(Null)); }).number, 94);
  EXPECT_EQ(Fails([] { CStr(Variant(Array<double>(1, 1))); }).number, 13);
}

TEST(ToCurrency, FourDecimalsHalvesToEven) {
  EXPECT_EQ(CCur(1.23456).scaled, 12346);
  EXPECT_EQ(CCur(0.00005).scaled, 0);  // 0.5 units: to the even 0
  EXPECT_EQ(CCur(0.00025).scaled, 2);  // 2.5 units: to the even 2
  EXPECT_EQ(CCur(-2.5).scaled, -25000);
  EXPECT_EQ(CCur(9.2e14).scaled, 9200000000000000000);
  EXPECT_EQ(Fails([] { CCur(1e15); }).number, 6);
  EXPECT_EQ(Fails([] { CCur(Variant("x")); }).number, 13);
}

TEST(ToBoolean, NumbersAndWords) {
  EXPECT_TRUE(CBool(Variant(2.0)));
  EXPECT_FALSE(CBool(Variant(0)));
  EXPECT_TRUE(CBool(Variant("True")));
  EXPECT_FALSE(CBool(Variant("0")));
  EXPECT_EQ(Fails([] { CBool(Variant("maybe")); }).number, 13);
}

}  // namespace
}  // namespace orv
