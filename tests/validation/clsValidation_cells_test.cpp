// The in-memory walk over cells behind the whole-number and sign checks,
// and the counters' checked arithmetic.
#include <gtest/gtest.h>

#include <string>

#include "orv/excel/excel.hpp"
#include "orv/validation/clsValidation.hpp"
#include "orv_test.hpp"

using namespace orv;
using namespace orv::validation_detail;

namespace {

using namespace orv::test;

struct Sheet {
  excel::Application app;
  excel::Workbook book = app.Workbooks().Add();
  excel::Worksheet sheet = book.Worksheets(1);
  void Put(std::int32_t row, std::int32_t column, const Variant& v) const {
    sheet.Cells(row, column).LetValue(v);
  }
};

}  // namespace

TEST(ValidationCells, IntOfAValueAgainstTheValueAndBelowZero) {
  // Int of numeric text is a number, which never equals the text.
  for (const Variant& whole : {Variant(), Variant(3.0), Variant(-0.0), Variant(-4.0),
                               Variant(1e300), Variant(true), Variant(Date{45000})})
    EXPECT_FALSE(NotWhole(whole)) << CStr(whole);
  for (const Variant& fraction : {Variant(2.5), Variant(-2.5), Variant(4503599627370495.5),
                                  Variant(Date{45000.5}), Variant("3")})
    EXPECT_TRUE(NotWhole(fraction)) << CStr(fraction);  // the largest fractions too
  for (const Variant& value :
       {Variant(), Variant(0.0), Variant(-0.0), Variant(false), Variant("3")})
    EXPECT_FALSE(BelowZero(value)) << CStr(value);
  for (const Variant& value : {Variant(-1e-300), Variant(true), Variant("-3")})
    EXPECT_TRUE(BelowZero(value)) << CStr(value);  // True is -1
  for (const Variant& bad : {Variant("three"), Variant(ErrorValue{excel::xlErrNA}),
                             Variant(ErrorValue{excel::xlErrDiv0})}) {
    EXPECT_EQ(Fails([&] { NotWhole(bad); }).number, kErrTypeMismatch);
    EXPECT_EQ(Fails([&] { BelowZero(bad); }).number, kErrTypeMismatch);
  }
}

TEST(ValidationCells, WalkStopsWhereTheCellByCellWalkStops) {
  Sheet s;
  const excel::Range area = s.sheet.Range("B2:C9");
  for (int r = 2; r <= 9; ++r)
    for (int c = 2; c <= 3; ++c) s.Put(r, c, Variant(double(r)));
  const WalkResult whole = WalkCells(area, 1, 8, 2, true, true);
  EXPECT_FALSE(whole.non_integer || whole.negative);
  // Column by column: a fraction in column 1 comes before text in an
  // earlier row of column 2.
  s.Put(8, 2, Variant(0.5));
  s.Put(3, 3, Variant("text"));
  EXPECT_TRUE(WalkCells(area, 1, 8, 2, true, false).non_integer);
  // Row by row within a column: text first is 13 ...
  s.Put(4, 2, Variant("text"));
  EXPECT_EQ(Fails([&] { WalkCells(area, 1, 8, 2, true, false); }).number, kErrTypeMismatch);
  // ... unless the walk starts below it.
  EXPECT_TRUE(WalkCells(area, 4, 8, 2, true, false).non_integer);
  // The sign walk: text before the first negative value is 13, after it
  // the walk has stopped.
  s.Put(4, 2, Variant(-1.0));
  EXPECT_TRUE(WalkCells(area, 1, 8, 2, false, true).negative);
  s.Put(4, 2, Variant(1.0));
  EXPECT_EQ(Fails([&] { WalkCells(area, 1, 8, 2, false, true); }).number, kErrTypeMismatch);
  // Nothing to walk.
  EXPECT_FALSE(WalkCells(area, 5, 4, 2, true, true).non_integer);
  EXPECT_FALSE(WalkCells(area, 1, 8, 0, true, true).non_integer);
}

TEST(ValidationCells, WalkWithBothTestsReportsSignOnlyOfWholeCells) {
  Sheet s;
  const excel::Range area = s.sheet.Range("A1:A6");
  for (int r = 1; r <= 6; ++r) s.Put(r, 1, Variant(double(r)));
  EXPECT_FALSE(WalkCells(area, 1, 6, 1, true, false).negative);
  // A Boolean is whole, and True is below zero; a blank is neither.
  const struct {
    Variant value;
    bool negative;
  } cases[] = {{Variant(-2.0), true}, {Variant(true), true}, {Variant(), false}};
  for (const auto& c : cases) {
    s.Put(2, 1, c.value);
    const WalkResult r = WalkCells(area, 1, 6, 1, true, true);
    EXPECT_FALSE(r.non_integer);
    EXPECT_EQ(r.negative, c.negative) << CStr(c.value);
  }
}

TEST(ValidationCells, WalkOfNumbersAtTheEdgeOfWholeness) {
  Sheet s;
  const excel::Range area = s.sheet.Range("A1:A4");
  s.Put(1, 1, Variant(4503599627370497.0));  // 2^52 + 1
  s.Put(2, 1, Variant(-9007199254740993.0));
  s.Put(3, 1, Variant(1e308));
  s.Put(4, 1, Variant(-4503599627370495.0));
  EXPECT_FALSE(WalkCells(area, 1, 4, 1, true, false).non_integer);
  for (double fraction : {-4503599627370495.5, 0.49999999999999994, -1e-320 /* subnormal */}) {
    s.Put(4, 1, Variant(fraction));
    EXPECT_TRUE(WalkCells(area, 1, 4, 1, true, false).non_integer) << fraction;
  }
  EXPECT_TRUE(WalkCells(area, 3, 4, 1, false, true).negative);
}

TEST(ValidationCells, WalkAcrossBlocksOfRows) {
  Sheet s;
  constexpr int kRows = 70000;  // more than two blocks read at once
  Array<double> column(1, kRows, 1, 1);
  for (int i = 1; i <= kRows; ++i) column(i, 1) = i;
  const excel::Range area = s.sheet.Range("A1:A70000");
  area.LetValue(Variant(std::move(column)));
  EXPECT_FALSE(WalkCells(area, 1, kRows, 1, true, true).non_integer);
  s.Put(40000, 1, Variant(0.25));
  s.Put(50000, 1, Variant("text"));
  EXPECT_TRUE(WalkCells(area, 1, kRows, 1, true, false).non_integer);
  s.Put(35000, 1, Variant(ErrorValue{excel::xlErrNA}));
  EXPECT_EQ(Fails([&] { WalkCells(area, 1, kRows, 1, true, false); }).number, kErrTypeMismatch);
  EXPECT_TRUE(WalkCells(area, 35001, kRows, 1, true, false).non_integer);
  s.Put(69999, 1, Variant(-5.0));
  EXPECT_TRUE(WalkCells(area, 50001, kRows, 1, false, true).negative);
  EXPECT_FALSE(WalkCells(area, 50001, 69998, 1, false, true).negative);
}

TEST(ValidationCells, CountersOverflowAsTheirTypes) {
  EXPECT_EQ(AddLong(2147483646, 1.0), 2147483647);
  EXPECT_EQ(MulLong(2048, 1048575), 2147481600);
  EXPECT_EQ(MulLong(-65536, 32768), -2147483647 - 1);
  EXPECT_EQ(AddInteger(32766, 1), 32767);
  EXPECT_EQ(MulInteger(181, 181), 32761);
  EXPECT_EQ(Fails([] { AddLong(2147483647, 1.0); }).number, kErrOverflow);
  EXPECT_EQ(Fails([] { MulLong(2048, 1048576); }).number, kErrOverflow);
  EXPECT_EQ(Fails([] { AddInteger(32767, 1); }).number, kErrOverflow);
  EXPECT_EQ(Fails([] { MulInteger(182, 182); }).number, kErrOverflow);
  EXPECT_EQ(Fails([] { RaiseRole(0); }).number, kErrInvalidCall);
  EXPECT_EQ(Fails([] { RaiseRole(orvErrBlankYCells); }).number, orvErrBlankYCells);
}
