#include <gtest/gtest.h>

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

void InnerStamp() {
  Guard(kInnerStamp, [&](Line& line) {
    line = 10;
    line = 20;
    Raise(9);
  });
}

TEST(Raise, FillsStandardDescriptionAndDefaultSource) {
  Error e = Caught([] { Raise(11); });
  EXPECT_EQ(e.Number, 11);
  EXPECT_EQ(e.Source, "ORVMain");
  EXPECT_EQ(e.Description, "Division by zero");
  EXPECT_EQ(Caught([] { Raise(kObjectErrorBase + 5016); }).Description,
            "Application-defined or object-defined error");
  Error own = Caught([] { Raise(9, "Somewhere", "The index is larger than the number of rows"); });
  EXPECT_EQ(own.Source, "Somewhere");
  EXPECT_EQ(own.Description, "The index is larger than the number of rows");
}

TEST(Raise, StandardTextsOfThePlatformNumbers) {
  EXPECT_EQ(StandardDescription(5), "Invalid procedure call or argument");
  EXPECT_EQ(StandardDescription(6), "Overflow");
  EXPECT_EQ(StandardDescription(7), "Out of memory");
  EXPECT_EQ(StandardDescription(9), "Subscript out of range");
  EXPECT_EQ(StandardDescription(13), "Type mismatch");
  EXPECT_EQ(StandardDescription(17), "Can't perform requested operation");
  EXPECT_EQ(StandardDescription(91), "Object variable or With block variable not set");
  EXPECT_EQ(StandardDescription(94), "Invalid use of Null");
}

TEST(HandlerRules, StampReplacesSourceWithTheLastLabel) {
  Error e = Caught(InnerStamp);
  EXPECT_EQ(e.Number, 9);
  EXPECT_EQ(e.Source, "Line 20 in ORVMain.clsTest.Inner");
  EXPECT_EQ(e.Description, "Subscript out of range");
}

TEST(HandlerRules, LineIsZeroBeforeTheFirstLabel) {
  Error e = Caught([] { Guard(kOuterStamp, [&](Line&) { Raise(5); }); });
  EXPECT_EQ(e.Source, "Line 0 in ORVMain.clsTest.Outer");
}

TEST(HandlerRules, StampInsideStampKeepsOnlyTheOuterLocation) {
  Error e = Caught([] {
    Guard(kOuterStamp, [&](Line& line) {
      line = 30;
      InnerStamp();
    });
  });
  EXPECT_EQ(e.Source, "Line 30 in ORVMain.clsTest.Outer");
  EXPECT_EQ(e.Number, 9);
}

TEST(HandlerRules, ChainOverChainGrowsInnermostFirst) {
  Error e = Caught([] {
    Guard(kOuterChain, [&](Line& line) {
      line = 40;
      Guard(kInnerChain, [&](Line& inner) {
        inner = 7;
        Raise(kObjectErrorBase + 5016);
      });
    });
  });
  EXPECT_EQ(e.Source, "Line 7 in ORVMain.clsTest.GetCL.CreatePlot");
  EXPECT_EQ(e.Number, kObjectErrorBase + 5016);
}

TEST(HandlerRules, ChainOverAPlatformErrorStampsIt) {
  Error e = Caught([] {
    Guard(kOuterChain, [&](Line& line) {
      line = 50;
      Div(1.0, 0.0);
    });
  });
  EXPECT_EQ(e.Number, 11);
  EXPECT_EQ(e.Source, "Line 50 in ORVMain.clsTest.CreatePlot");
}

TEST(HandlerRules, ChainTestIsCaseSensitiveOnTheFirstFourCharacters) {
  Error e = Caught([] {
    Guard(kOuterChain, [&](Line& line) {
      line = 60;
      Raise(13, "line 3 in elsewhere");
    });
  });
  EXPECT_EQ(e.Source, "Line 60 in ORVMain.clsTest.CreatePlot");
}

TEST(HandlerRules, ChainMemberRaisingWithItsOwnLocationAppendsItsNameAgain) {
  Error e = Caught([] {
    Guard(kOuterChain, [&](Line& line) {
      line = 30;
      Raise(9, Located(kOuterChain, line));
    });
  });
  EXPECT_EQ(e.Source, "Line 30 in ORVMain.clsTest.CreatePlot.CreatePlot");
}

TEST(HandlerRules, PlainHasNoLine) {
  Error e = Caught([] {
    Guard(kPlain, [&](Line& line) {
      line = 10;
      InnerStamp();
    });
  });
  EXPECT_EQ(e.Source, "ORVMain.clsTest.Transpose");
  EXPECT_EQ(e.Description, "Subscript out of range");
}

TEST(HandlerRules, NoneLeavesTheFailureAsItArrived) {
  Error e = Caught([] { Guard(kNone, [&](Line&) { InnerStamp(); }); });
  EXPECT_EQ(e.Source, "Line 20 in ORVMain.clsTest.Inner");
}

TEST(HandlerRules, ForeignFailuresBecomeRuntimeNumbers) {
  Error e = Caught([] { Guard(kPlain, [&](Line&) { throw std::bad_alloc(); }); });
  EXPECT_EQ(e.Number, 7);
  EXPECT_EQ(e.Description, "Out of memory");
  EXPECT_EQ(e.Source, "ORVMain.clsTest.Transpose");
}

TEST(HandlerRules, GuardReturnsTheBodysValue) {
  int v = Guard(kPlain, [&](Line& line) {
    line = 10;
    return 42;
  });
  EXPECT_EQ(v, 42);
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

TEST(CheckedArithmetic, DivisionAndOverflow) {
  EXPECT_EQ(Caught([] { Div(3.0, 0.0); }).Number, 11);
  EXPECT_EQ(Caught([] { Div(-3.0, 0.0); }).Number, 11);
  EXPECT_EQ(Caught([] { Div(0.0, 0.0); }).Number, 6);
  EXPECT_EQ(Caught([] { Div(1e308, 1e-10); }).Number, 6);
  EXPECT_EQ(Caught([] { Mul(1e200, 1e200); }).Number, 6);
  EXPECT_EQ(Caught([] { Add(1.7e308, 1.7e308); }).Number, 6);
  EXPECT_EQ(Div(1.0, 4.0), 0.25);
  EXPECT_EQ(Div(0.0, 5.0), 0.0);
}

TEST(CheckedArithmetic, SquareRootLogarithmPower) {
  EXPECT_EQ(Caught([] { Sqrt(-1e-300); }).Number, 5);
  EXPECT_EQ(Sqrt(0.0), 0.0);
  EXPECT_EQ(Sqrt(2.25), 1.5);
  EXPECT_EQ(Caught([] { Log(0.0); }).Number, 5);
  EXPECT_EQ(Caught([] { Log(-2.0); }).Number, 5);
  EXPECT_EQ(Caught([] { Exp(1000.0); }).Number, 6);
  EXPECT_EQ(Caught([] { Pow(-8.0, 1.0 / 3.0); }).Number, 5);
  EXPECT_EQ(Caught([] { Pow(0.0, -1.0); }).Number, 5);
  EXPECT_EQ(Pow(-2.0, 3.0), -8.0);
  EXPECT_EQ(Caught([] { Pow(10.0, 400.0); }).Number, 6);
}

}  // namespace
}  // namespace orv
