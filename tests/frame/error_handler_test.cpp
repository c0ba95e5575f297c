#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>

#include "orv/frame/checked.hpp"
#include "orv/frame/handler.hpp"
#include "orv_test.hpp"

namespace orv {
namespace {

using namespace orv::test;

constexpr Member kInnerStamp{Rule::Stamp, "clsTest", "Inner"};
constexpr Member kOuterStamp{Rule::Stamp, "clsTest", "Outer"};
constexpr Member kInnerChain{Rule::Chain, "clsTest", "GetCL"};
constexpr Member kOuterChain{Rule::Chain, "clsTest", "CreatePlot"};
constexpr Member kPlain{Rule::Plain, "clsTest", "Transpose"};
constexpr Member kNone{Rule::None, "clsTest", "Quiet"};
const char* kSubscript = "Subscript out of range";

void InnerStamp() {
  Guard(kInnerStamp, [&](Line& line) {
    line = 10;
    line = 20;
    Raise(9);
  });
}

TEST(Raise, FillsStandardDescriptionAndDefaultSource) {
  EXPECT_FAILS(11, "ORVMain", "Division by zero", Raise(11));
  EXPECT_FAILS(kObjectErrorBase + 5016, "ORVMain", kNoDescription, Raise(kObjectErrorBase + 5016));
  EXPECT_FAILS(9, "Somewhere", "The index is larger than the number of rows",
               Raise(9, "Somewhere", "The index is larger than the number of rows"));
  const std::pair<int, const char*> texts[] = {{5, "Invalid procedure call or argument"},
                                               {6, "Overflow"},
                                               {7, "Out of memory"},
                                               {9, kSubscript},
                                               {13, "Type mismatch"},
                                               {17, "Can't perform requested operation"},
                                               {91, kNotSet},
                                               {94, "Invalid use of Null"}};
  for (const auto& [number, text] : texts) EXPECT_EQ(StandardDescription(number), text);
}

TEST(HandlerRules, StampReplacesSourceWithTheLastLabel) {
  EXPECT_FAILS(9, "Line 20 in ORVMain.clsTest.Inner", kSubscript, InnerStamp());
  // Line 0 before the first label.
  EXPECT_FAILS(5, "Line 0 in ORVMain.clsTest.Outer", "Invalid procedure call or argument",
               Guard(kOuterStamp, [&](Line&) { Raise(5); }));
  // A stamp inside a stamp keeps only the outer location.
  EXPECT_FAILS(9, "Line 30 in ORVMain.clsTest.Outer", kSubscript, Guard(kOuterStamp, [&](Line& l) {
                 l = 30;
                 InnerStamp();
               }));
}

TEST(HandlerRules, Chain) {
  // Over a chain the source grows, innermost first.
  EXPECT_FAILS(kObjectErrorBase + 5016, "Line 7 in ORVMain.clsTest.GetCL.CreatePlot",
               kNoDescription, Guard(kOuterChain, [&](Line& line) {
                 line = 40;
                 Guard(kInnerChain, [&](Line& inner) {
                   inner = 7;
                   Raise(kObjectErrorBase + 5016);
                 });
               }));
  // A platform error is stamped.
  EXPECT_FAILS(11, "Line 50 in ORVMain.clsTest.CreatePlot", "Division by zero",
               Guard(kOuterChain, [&](Line& line) {
                 line = 50;
                 Div(1.0, 0.0);
               }));
  // The test of the first four characters is case sensitive.
  EXPECT_FAILS(13, "Line 60 in ORVMain.clsTest.CreatePlot", "Type mismatch",
               Guard(kOuterChain, [&](Line& line) {
                 line = 60;
                 Raise(13, "line 3 in elsewhere");
               }));
  // A member raising with its own location appends its name again.
  EXPECT_FAILS(9, "Line 30 in ORVMain.clsTest.CreatePlot.CreatePlot", kSubscript,
               Guard(kOuterChain, [&](Line& line) {
                 line = 30;
                 Raise(9, Located(kOuterChain, line));
               }));
}

TEST(HandlerRules, PlainNoneAndForeignFailures) {
  EXPECT_FAILS(9, "ORVMain.clsTest.Transpose", kSubscript, Guard(kPlain, [&](Line& line) {
                 line = 10;
                 InnerStamp();
               }));
  EXPECT_FAILS(9, "Line 20 in ORVMain.clsTest.Inner", kSubscript,
               Guard(kNone, [&](Line&) { InnerStamp(); }));
  EXPECT_FAILS(7, "ORVMain.clsTest.Transpose", "Out of memory",
               Guard(kPlain, [&](Line&) { throw std::bad_alloc(); }));
}

TEST(HandlerRules, ResumeNextSkipsOnlyTheFailingStatement) {
  std::string text;
  EXPECT_TRUE(ResumeNext([&] { text += "a"; }));
  EXPECT_FALSE(ResumeNext([&] {
    text += "b";
    Raise(13);
    text += "never";
  }));
  EXPECT_TRUE(ResumeNext([&] { text += "c"; }));
  EXPECT_EQ(text, "abc");
}

TEST(CheckedArithmetic, FailuresAndResults) {
  const std::pair<int, std::function<void()>> failures[] = {{11, [] { Div(-3.0, 0.0); }},
                                                            {6, [] { Div(0.0, 0.0); }},
                                                            {6, [] { Div(1e308, 1e-10); }},
                                                            {6, [] { Mul(1e200, 1e200); }},
                                                            {6, [] { Add(1.7e308, 1.7e308); }},
                                                            {5, [] { Sqrt(-1e-300); }},
                                                            {5, [] { Log(0.0); }},
                                                            {5, [] { Log(-2.0); }},
                                                            {6, [] { Exp(1000.0); }},
                                                            {5, [] { Pow(-8.0, 1.0 / 3.0); }},
                                                            {5, [] { Pow(0.0, -1.0); }},
                                                            {6, [] { Pow(10.0, 400.0); }}};
  for (std::size_t i = 0; i < std::size(failures); ++i)
    EXPECT_EQ(Fails(failures[i].second).number, failures[i].first) << i;
  EXPECT_EQ(Div(1.0, 4.0), 0.25);
  EXPECT_EQ(Sqrt(0.0), 0.0);
  EXPECT_EQ(Pow(-2.0, 3.0), -8.0);
}

}  // namespace
}  // namespace orv
