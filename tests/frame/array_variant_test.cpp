#include <gtest/gtest.h>

#include <string>

#include "orv/frame/frame.hpp"
#include "orv_test.hpp"

namespace orv {
namespace {

using namespace orv::test;

TEST(Array, NeverDimensionedHasNoBounds) {
  Array<double> a;
  EXPECT_EQ(a.Rank(), 0);
  EXPECT_FALSE(a.IsAllocated());
  EXPECT_EQ(Fails([&] { a.UBound(1); }).number, 9);
  EXPECT_EQ(Fails([&] { (void)a(1); }).number, 9);
}

TEST(Array, BoundsPerDimension) {
  Array<double> a(0, 1, 5, 7);
  EXPECT_EQ(a.LBound(2), 5);
  EXPECT_EQ(a.UBound(2), 7);
  EXPECT_EQ(a.Count(2), 3);
  EXPECT_EQ(Fails([&] { a.UBound(3); }).number, 9);
  a(1, 7) = 2.5;
  EXPECT_EQ(a.data()[5], 2.5);  // row by row
  EXPECT_EQ(Fails([&] { (void)a(2, 5); }).number, 9);
  EXPECT_EQ(Fails([&] { (void)a(0, 4); }).number, 9);
  EXPECT_EQ(Fails([&] { (void)a(0); }).number, 9);  // wrong number of indices
  Array<double> v(-2, 2);
  EXPECT_EQ(v.Count(), 5);
}

TEST(Array, EmptyRangeIsSubscriptErrorAndHugeIsOutOfMemory) {
  EXPECT_EQ(Fails([] { Array<double> a(1, 0); }).number, 9);
  EXPECT_EQ(Fails([] { Array<double> a(1, 2000000000, 1, 2000000000); }).number, 7);
}

TEST(Array, ReDimPreserveKeepsTheCommonBlock) {
  Array<double> a(1, 2, 1, 2);
  for (int k = 0; k < 4; ++k) a.data()[k] = k + 1;  // row by row: 1 2 / 3 4
  a.ReDimPreserve(1, 3, 1, 1);
  EXPECT_EQ(a(1, 1), 1);
  EXPECT_EQ(a(2, 1), 3);
  EXPECT_EQ(a(3, 1), 0);
  Array<std::string> s(1, 3);
  s(3) = "x";
  s.ReDimPreserve(2, 4);
  EXPECT_EQ(s(3), "x");
  EXPECT_EQ(s(4), "");
  EXPECT_EQ(Fails([&] { s.ReDimPreserve(1, 2, 1, 2); }).number, 9);
  s.Erase();
  EXPECT_EQ(s.Rank(), 0);
}

TEST(Variant, HoldsEveryTypeInSixteenBytes) {
  static_assert(sizeof(Variant) == 16);
  EXPECT_EQ(Variant(Null).Type(), VarType::Null);
  EXPECT_EQ(Variant(std::int16_t{3}).Type(), VarType::Integer);
  EXPECT_EQ(Variant(3).Type(), VarType::Long);
  EXPECT_EQ(Variant(3.0f).Type(), VarType::Single);
  EXPECT_EQ(Variant(Currency{30000}).Type(), VarType::Currency);
  EXPECT_EQ(Variant(Date{45000}).Type(), VarType::Date);
  EXPECT_EQ(Variant(Array<double>(1, 2)).Type(), VarType::Array);
  EXPECT_EQ(Fails([] { (void)Variant(2.0).AsString(); }).number, 13);
}

TEST(Variant, CopiesAreDeep) {
  Array<Variant> inner(1, 2);
  inner(1) = Variant("a");
  inner(2) = Variant(Array<double>(1, 1));
  Variant v(inner);
  Variant w = v;
  w.SetElement(1, Variant("b"));
  EXPECT_EQ(v.Element(1), Variant("a"));
  EXPECT_EQ(w.Element(1), Variant("b"));
  EXPECT_TRUE(w.Element(2).IsArray());
}

TEST(Variant, ArrayQuestionsOnANonArrayAreTypeMismatch) {
  Variant five(5.0);
  EXPECT_EQ(Fails([&] { five.UBound(1); }).number, 13);
  EXPECT_EQ(Fails([&] { (void)five.Element(1); }).number, 13);
  Variant a(Array<double>(1, 3));
  EXPECT_EQ(Fails([&] { a.UBound(2); }).number, 9);
  EXPECT_EQ(Fails([&] { (void)a.Element(4); }).number, 9);
}

TEST(Variant, SetElementConvertsToTheElementType) {
  Variant d(Array<double>(1, 2));
  d.SetElement(1, Variant("2.5"));
  d.SetElement(2, Variant(true));
  EXPECT_EQ(d.Element(1), Variant(2.5));
  EXPECT_EQ(d.Element(2), Variant(-1.0));
  EXPECT_EQ(Fails([&] { d.SetElement(1, Variant("abc")); }).number, 13);
  Variant i(Array<std::int16_t>(1, 1));
  i.SetElement(1, Variant(2.5));
  EXPECT_EQ(i.Element(1), Variant(std::int16_t{2}));
  EXPECT_EQ(Fails([&] { i.SetElement(1, Variant(32768.0)); }).number, 6);
  Variant s(Array<std::string>(1, 1));
  s.SetElement(1, Variant(0.1));
  EXPECT_EQ(s.Element(1), Variant("0.1"));
}

}  // namespace
}  // namespace orv
