#include "orv/output/clsMain.hpp"

#include <gtest/gtest.h>

#include "orv/excel/excel.hpp"
#include "orv_test.hpp"

using namespace orv;
using namespace orv::test;

namespace {
struct Ticks {
  double min = -99, max = -99, unit = -99;
  Long decimals = -99;
  bool operator==(const Ticks&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Ticks& t) {
  return os << t.min << ".." << t.max << " by " << t.unit << ", " << t.decimals << " decimals";
}
Ticks Axis(double lo, double hi, Long ticks, double buffer, Ticks t = {}) {
  Global<clsMain>().AxisTicks(lo, hi, ticks, buffer, t.min, t.max, t.unit, t.decimals);
  return t;
}
}  // namespace

TEST(clsMainExcel, SetGetAndSharedByEveryInstance) {
  clsMain main;
  excel::Application saved = main.Excel();
  main.SetExcel(excel::Application(Nothing));
  EXPECT_TRUE(main.Excel().IsNothing());  // unset reads as Nothing, no failure
  excel::Application app;
  main.SetExcel(app);
  EXPECT_TRUE(clsMain().Excel() == app);
  EXPECT_TRUE(excel::CurrentApplication() == app);
  excel::Application other;
  Global<clsMain>().SetExcel(other);
  EXPECT_TRUE(main.Excel() == other);
  main.SetExcel(saved);
}

TEST(clsMainGetth, OnlyTheLastCharacterCounts) {
  const std::pair<const char*, const char*> cases[] = {
      {"1", "1st "}, {"22", "22nd "}, {"103", "103rd "},      {"10", "10th "},
      {"4", "4th "}, {"11", "11st "}, {"12", "12nd "},        {"113", "113rd "},
      {"x", ""},     {"", ""},        {"item 9", "item 9th "}};
  for (auto [number, text] : cases) EXPECT_EQ(clsMain().Getth(number), text) << number;
}

TEST(clsMainArrays, ArrayIsEmptyAndDPArray) {
  clsMain m;
  EXPECT_TRUE(m.ArrayIsEmpty(Variant(5.0)));
  EXPECT_TRUE(m.ArrayIsEmpty(Variant(Array<double>())));  // never dimensioned
  EXPECT_TRUE(m.ArrayIsEmpty(Variant()));
  EXPECT_FALSE(m.ArrayIsEmpty(Variant(Array<double>(1, 3))));
  EXPECT_FALSE(m.ArrayIsEmpty(Variant(Array<Variant>(0, 0))));
  EXPECT_FALSE(m.ArrayIsEmpty(Variant(Array<std::string>(1, 2, 1, 2))));

  EXPECT_EQ(Fails([&] { m.DPArray(Variant(Array<double>(1, 3, 1, 2))); }), Failure{});
  // Lower bounds 0: rows and columns from 1. A 1-D array whose upper bound
  // is below 1 never reaches the second bound.
  EXPECT_EQ(Fails([&] { m.DPArray(Variant(Array<double>(0, 3, 0, 2))); }), Failure{});
  EXPECT_EQ(Fails([&] { m.DPArray(Variant(Array<double>(0, 0))); }), Failure{});
  const char* out_of_range = "Subscript out of range";
  EXPECT_FAILS(9, "ORVMain", out_of_range, m.DPArray(Variant(Array<double>(1, 3))));
  EXPECT_FAILS(9, "ORVMain", out_of_range, m.DPArray(Variant(Array<double>(2, 3, 1, 2))));
  EXPECT_FAILS(9, "ORVMain", out_of_range, m.DPArray(Variant(Array<double>(1, 3, 2, 4))));
  EXPECT_FAILS(9, "ORVMain", out_of_range, m.DPArray(Variant(Array<double>())));
  EXPECT_FAILS(13, "ORVMain", "Type mismatch", m.DPArray(Variant(4.0)));
}

TEST(clsMainAxisTicks, DocumentedScales) {
  const struct {
    double lo, hi;
    Long ticks;
    double buffer;
    Ticks expected;
  } cases[] = {
      {0, 10, 5, 0, {0, 10, 2, 0}},
      {1.3, 8.7, 5, 0.05, {0, 10, 2, 0}},
      {5, 5, 5, 0.05, {4, 6, 0.5, 1}},
      {0, 0, 5, 0.1, {-1, 1, 0.5, 1}},
      {0.0012, 0.0093, 5, 0, {0, 0.01, 0.002, 3}},
      {-3.2, 47.9, 6, 0.1, {-20, 60, 20, 0}},
      {0, 1234, 5, 0, {0, 1500, 500, 0}},       // a unit of 500: never negative decimals
      {-250, -250, 5, 0, {-350, -150, 50, 0}},  // pad 10^2
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Axis(c.lo, c.hi, c.ticks, c.buffer), c.expected) << c.lo << ".." << c.hi;
  }
}

TEST(clsMainAxisTicks, Failures) {
  // DataMax < DataMin: nothing written.
  Ticks t;
  EXPECT_FAILS(-2147221504, "ORVMain", kNoDescription, t = Axis(2, 1, 5, 0, t));
  EXPECT_EQ(t, Ticks{});
  EXPECT_FAILS(11, "ORVMain", "Division by zero", Axis(0, 10, 1, 0));
  EXPECT_FAILS(5, "ORVMain", "Invalid procedure call or argument", Axis(0, 10, 0, 0));
  // Bounds beyond 32 bits overflow after the unit was written.
  Ticks u;
  EXPECT_FAILS(6, "ORVMain", "Overflow",
               Global<clsMain>().AxisTicks(1e12, 1e12 + 1, 5, 0, u.min, u.max, u.unit, u.decimals));
  EXPECT_DOUBLE_EQ(u.unit, 0.2);
  EXPECT_EQ(u.min, -99);
}
