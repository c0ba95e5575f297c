#include "orv/output/clsMain.hpp"

#include <gtest/gtest.h>

#include "orv/excel/excel.hpp"

using namespace orv;

namespace {
struct Ticks {
  double min = -99, max = -99, unit = -99;
  Long decimals = -99;
};
Ticks Axis(double lo, double hi, Long ticks, double buffer) {
  Ticks t;
  Global<clsMain>().AxisTicks(lo, hi, ticks, buffer, t.min, t.max, t.unit, t.decimals);
  return t;
}
void ExpectError(const std::function<void()>& f, std::int32_t number) {
  try {
    f();
    ADD_FAILURE() << "no failure";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number, number);
    EXPECT_EQ(e.Source, "ORVMain");
  }
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
  EXPECT_TRUE(Global<clsMain>().Excel() == app);
  EXPECT_TRUE(excel::CurrentApplication() == app);
  excel::Application other;
  Global<clsMain>().SetExcel(other);
  EXPECT_TRUE(main.Excel() == other);
  main.SetExcel(saved);
}

TEST(clsMainGetth, OnlyTheLastCharacterCounts) {
  clsMain m;
  EXPECT_EQ(m.Getth("1"), "1st ");
  EXPECT_EQ(m.Getth("22"), "22nd ");
  EXPECT_EQ(m.Getth("103"), "103rd ");
  EXPECT_EQ(m.Getth("10"), "10th ");
  EXPECT_EQ(m.Getth("4"), "4th ");
  EXPECT_EQ(m.Getth("11"), "11st ");
  EXPECT_EQ(m.Getth("12"), "12nd ");
  EXPECT_EQ(m.Getth("113"), "113rd ");
  EXPECT_EQ(m.Getth("x"), "");
  EXPECT_EQ(m.Getth(""), "");
  EXPECT_EQ(m.Getth("item 9"), "item 9th ");
}

TEST(clsMainArrays, ArrayIsEmpty) {
  clsMain m;
  EXPECT_TRUE(m.ArrayIsEmpty(Variant(5.0)));
  EXPECT_TRUE(m.ArrayIsEmpty(Variant(Array<double>())));  // never dimensioned
  EXPECT_TRUE(m.ArrayIsEmpty(Variant()));
  EXPECT_FALSE(m.ArrayIsEmpty(Variant(Array<double>(1, 3))));
  EXPECT_FALSE(m.ArrayIsEmpty(Variant(Array<Variant>(0, 0))));
  EXPECT_FALSE(m.ArrayIsEmpty(Variant(Array<std::string>(1, 2, 1, 2))));
}

TEST(clsMainArrays, DPArray) {
  clsMain m;
  m.DPArray(Variant(Array<double>(1, 3, 1, 2)));
  m.DPArray(Variant(Array<double>(0, 3, 0, 2)));  // lower bounds 0: rows and columns from 1
  ExpectError([&] { m.DPArray(Variant(Array<double>(1, 3))); }, 9);
  ExpectError([&] { m.DPArray(Variant(Array<double>(2, 3, 1, 2))); }, 9);
  ExpectError([&] { m.DPArray(Variant(Array<double>(1, 3, 2, 4))); }, 9);
  ExpectError([&] { m.DPArray(Variant(4.0)); }, 13);
  ExpectError([&] { m.DPArray(Variant(Array<double>())); }, 9);
  // A 1-D array whose upper bound is below 1 never reaches the second bound.
  m.DPArray(Variant(Array<double>(0, 0)));
}

TEST(clsMainAxisTicks, DocumentedScales) {
  Ticks t = Axis(0, 10, 5, 0);
  EXPECT_EQ(t.min, 0);
  EXPECT_EQ(t.max, 10);
  EXPECT_EQ(t.unit, 2);
  EXPECT_EQ(t.decimals, 0);
  t = Axis(1.3, 8.7, 5, 0.05);
  EXPECT_EQ(t.min, 0);
  EXPECT_EQ(t.max, 10);
  EXPECT_EQ(t.unit, 2);
  EXPECT_EQ(t.decimals, 0);
  t = Axis(5, 5, 5, 0.05);
  EXPECT_EQ(t.min, 4);
  EXPECT_EQ(t.max, 6);
  EXPECT_EQ(t.unit, 0.5);
  EXPECT_EQ(t.decimals, 1);
  t = Axis(0, 0, 5, 0.1);
  EXPECT_EQ(t.min, -1);
  EXPECT_EQ(t.max, 1);
  EXPECT_EQ(t.unit, 0.5);
  EXPECT_EQ(t.decimals, 1);
  t = Axis(0.0012, 0.0093, 5, 0);
  EXPECT_EQ(t.min, 0);
  EXPECT_DOUBLE_EQ(t.max, 0.01);
  EXPECT_DOUBLE_EQ(t.unit, 0.002);
  EXPECT_EQ(t.decimals, 3);
  t = Axis(-3.2, 47.9, 6, 0.1);
  EXPECT_EQ(t.min, -20);
  EXPECT_EQ(t.max, 60);
  EXPECT_EQ(t.unit, 20);
  EXPECT_EQ(t.decimals, 0);
  t = Axis(0, 1234, 5, 0);  // a unit of 500: never negative decimals
  EXPECT_EQ(t.unit, 500);
  EXPECT_EQ(t.max, 1500);
  EXPECT_EQ(t.decimals, 0);
  t = Axis(-250, -250, 5, 0);  // pad 10^2
  EXPECT_EQ(t.min, -350);
  EXPECT_EQ(t.max, -150);
  EXPECT_EQ(t.unit, 50);
}

TEST(clsMainAxisTicks, Failures) {
  // DataMax < DataMin: nothing written.
  Ticks t;
  try {
    Global<clsMain>().AxisTicks(2, 1, 5, 0, t.min, t.max, t.unit, t.decimals);
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_EQ(e.Number, -2147221504);
    EXPECT_EQ(e.Source, "ORVMain");
    EXPECT_EQ(e.Description, "Application-defined or object-defined error");
  }
  EXPECT_EQ(t.unit, -99);
  EXPECT_EQ(t.min, -99);
  ExpectError([] { Axis(0, 10, 1, 0); }, 11);
  ExpectError([] { Axis(0, 10, 0, 0); }, 5);
  // Bounds beyond 32 bits overflow after the unit was written.
  Ticks u;
  try {
    Global<clsMain>().AxisTicks(1e12, 1e12 + 1, 5, 0, u.min, u.max, u.unit, u.decimals);
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_EQ(e.Number, 6);
  }
  EXPECT_DOUBLE_EQ(u.unit, 0.2);
  EXPECT_EQ(u.min, -99);
}
