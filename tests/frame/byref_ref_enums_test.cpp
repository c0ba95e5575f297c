#include <gtest/gtest.h>

#include "orv/frame/frame.hpp"
#include "orv_test.hpp"

namespace orv {
namespace {

// A member that lowers its by-reference argument, as SetSize with Persist does.
Long Lower(ByRef<Long> value, Long limit) {
  if (*value > limit) *value = limit;
  return *value;
}

void Append(ByRef<Array<double>> a) {
  Long n = a->IsAllocated() ? a->UBound(1) : 0;
  a->ReDimPreserve(1, n + 1);
  (*a)(n + 1) = 7.0;
}

TEST(ByRef, AVariableSeesTheWriteBack) {
  Long rows = 10;
  EXPECT_EQ(Lower(rows, 3), 3);
  EXPECT_EQ(rows, 3);
  Array<double> a;
  Append(a);
  Append(a);
  EXPECT_EQ(a.UBound(1), 2);
  EXPECT_EQ(a(2), 7.0);
}

TEST(ByRef, ALiteralOrConstantWorksOnItsOwnCopy) {
  EXPECT_EQ(Lower(10, 3), 3);
  const Long fixed = 10;
  EXPECT_EQ(Lower(fixed, 4), 4);
  EXPECT_EQ(fixed, 10);
  Append(Array<double>(1, 1));
}

struct Counter {
  int count = 0;
};

TEST(Ref, CopiesShareAndNothingIsError91) {
  Ref<Counter> a;
  Ref<Counter> b = a;
  b->count = 5;
  EXPECT_EQ(a->count, 5);
  EXPECT_TRUE(a == b);
  Ref<Counter> fresh;
  EXPECT_FALSE(fresh == a);
  Ref<Counter> none(Nothing);
  EXPECT_TRUE(none.IsNothing());
  EXPECT_FAILS(91, "ORVMain", test::kNotSet, (void)none->count);
}

TEST(Ref, GlobalIsOneInstancePerProcess) { EXPECT_EQ(&Global<Counter>(), &Global<Counter>()); }

TEST(Enumerations, ErrorNumbersAndAliases) {
  EXPECT_EQ(orvErrInvalidRange, -2147216504);
  EXPECT_EQ(orvErrBlankYCells, -2147216488);
  EXPECT_EQ(orvErrMatrixNotCovariance, -2147216400);
  EXPECT_EQ(orvErrNoVariableVariance, -2147216410);
  EXPECT_EQ(orvErrStart, orvErrInvalidRange);
  EXPECT_EQ(orvMinError, orvErrInvalidRange);
  EXPECT_EQ(orvErrEnd, orvErrMatrixNotCovariance);
  EXPECT_EQ(orvMaxError, orvErrMatrixNotCovariance);
  EXPECT_EQ(orvErrUnbalancedParentheses, orvErrEmptyParentheses);
  EXPECT_EQ(orvErrUnbalancedParentheses, kObjectErrorBase + 5043);
  EXPECT_EQ(orverrNoNumericalYData, kObjectErrorBase + 5045);
  EXPECT_EQ(orvErrSingleCaseGroup, kObjectErrorBase + 5080);
  EXPECT_EQ(MXNotPositiveDefinite, -2147215504);
  EXPECT_EQ(sizeof(ORVError), 4u);
}

}  // namespace
}  // namespace orv
