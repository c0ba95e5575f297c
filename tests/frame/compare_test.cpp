#include "orv/frame/compare.hpp"

#include <gtest/gtest.h>

#include <string>

#include "orv/frame/Error.hpp"
#include "orv/frame/types.hpp"
#include "orv_test.hpp"

namespace orv {
namespace {

using namespace orv::test;

TEST(CompareVariants, NumbersCompareByValueWhateverTheirType) {
  EXPECT_EQ(CompareVariants(Variant(Integer{2}), Variant(2.0)), 0);
  EXPECT_EQ(CompareVariants(Variant(Long{3}), Variant(2.5f)), 1);
  EXPECT_EQ(CompareVariants(Variant(true), Variant(Integer{-1})), 0);
  EXPECT_EQ(CompareVariants(Variant(Date{45000}), Variant(Long{45001})), -1);
  EXPECT_EQ(CompareVariants(Variant(Currency{15000}), Variant(1.5)), 0);
  EXPECT_EQ(CompareVariants(Variant(-0.0), Variant(0.0)), 0);
}

TEST(CompareVariants, TextComparesByItsBytes) {
  EXPECT_EQ(CompareVariants(Variant("B"), Variant("a")), -1);  // binary: upper case first
  EXPECT_EQ(CompareVariants(Variant("ab"), Variant("a")), 1);
  EXPECT_EQ(CompareVariants(Variant("10"), Variant("9")), -1);       // not as numbers
  EXPECT_EQ(CompareVariants(Variant("\xc3\xa9"), Variant("z")), 1);  // é after z
}

TEST(CompareVariants, NumbersAreBelowTextAndNeverEqualToIt) {
  EXPECT_EQ(CompareVariants(Variant(1e300), Variant("")), -1);
  EXPECT_EQ(CompareVariants(Variant("1"), Variant(1.0)), 1);
  EXPECT_FALSE(VariantsEqual(Variant(1.0), Variant("1")));
}

TEST(CompareVariants, EmptyIsZeroBesideNumbersAndBlankBesideText) {
  EXPECT_TRUE(VariantsEqual(Variant(), Variant()));
  EXPECT_TRUE(VariantsEqual(Variant(), Variant(0.0)));
  EXPECT_TRUE(VariantsEqual(Variant(), Variant("")));
  EXPECT_FALSE(VariantsEqual(Variant(0.0), Variant("")));
  EXPECT_EQ(CompareVariants(Variant(), Variant(-2.0)), 1);
  EXPECT_EQ(CompareVariants(Variant(), Variant("a")), -1);
}

TEST(CompareVariants, NullErrorsObjectsAndArrays) {
  EXPECT_FAILS(94, "ORVMain", "Invalid use of Null", CompareVariants(Variant(Null), Variant(1.0)));
  EXPECT_EQ(Fails([] { VariantsEqual(Variant(), Variant(Null)); }).number, 94);
  EXPECT_FAILS(13, "ORVMain", "Type mismatch",
               CompareVariants(Variant(ErrorValue{2042}), Variant(1.0)));
  // A type mismatch is found before a Null.
  EXPECT_EQ(Fails([] { CompareVariants(Variant(Null), Variant(ErrorValue{7})); }).number, 13);
  EXPECT_EQ(Fails([] { CompareVariants(Variant(Array<double>(1, 1)), Variant(1.0)); }).number, 13);
}

}  // namespace
}  // namespace orv
