// clsPlotScatter: creation, the property procedures and the two methods that
// only store what the chart will draw.
#include "orv/charts/clsPlotScatter.hpp"

#include "orv/charts/chart_common.hpp"

namespace orv {

using namespace charts_detail;

namespace {

constexpr std::string_view kClass = "clsPlotScatter";

constexpr Member kClassInitialize{Rule::Stamp, kClass, "Class_Initialize"};
constexpr Member kLinePoints{Rule::Stamp, kClass, "LinePoints"};
constexpr Member kStarPoints{Rule::Stamp, kClass, "StarPoints"};

ORV_CHART_MEMBER(Get, VerticalOffset)
ORV_CHART_MEMBER(Let, VerticalOffset)
ORV_CHART_MEMBER(Get, HorizontalOffset)
ORV_CHART_MEMBER(Let, HorizontalOffset)
ORV_CHART_MEMBER(Get, ChartHeight)
ORV_CHART_MEMBER(Let, ChartHeight)
ORV_CHART_MEMBER(Get, ChartWidth)
ORV_CHART_MEMBER(Let, ChartWidth)
ORV_CHART_MEMBER(Get, ChartTitle)
ORV_CHART_MEMBER(Let, ChartTitle)
ORV_CHART_MEMBER(Get, YAxisTitle)
ORV_CHART_MEMBER(Let, YAxisTitle)
ORV_CHART_MEMBER(Get, XAxisTitle)
ORV_CHART_MEMBER(Let, XAxisTitle)
ORV_CHART_MEMBER(Let, ChartSubtitle)
ORV_CHART_MEMBER(Set, OutputRange)
ORV_CHART_MEMBER(Set, XValues)
ORV_CHART_MEMBER(Set, YValues)
ORV_CHART_MEMBER(Set, CLLower)
ORV_CHART_MEMBER(Set, CLUpper)
ORV_CHART_MEMBER(Let, DataLabels)
ORV_CHART_MEMBER(Get, Slope)
ORV_CHART_MEMBER(Let, Slope)
ORV_CHART_MEMBER(Get, Intercept)
ORV_CHART_MEMBER(Let, Intercept)
ORV_CHART_MEMBER(Let, Regression)
ORV_CHART_MEMBER(Let, ConstantIs0)
ORV_CHART_MEMBER(Let, Crosshairs)
ORV_CHART_MEMBER(Let, ConfidenceLimits)
ORV_CHART_MEMBER(Let, PredictionLimits)
ORV_CHART_MEMBER(Let, StandardError)
ORV_CHART_MEMBER(Let, AreaBorder)
ORV_CHART_MEMBER(Let, ScaleStarPoints)

}  // namespace

clsPlotScatter::clsPlotScatter() : state_(Nothing) {
  Guard(kClassInitialize, [&](Line& line) {
    line = 10;
    state_ = Ref<State>();
    State& s = *state_;
    line = 20;
    s.ChartWidth = 200;
    s.ChartHeight = 200;
    s.ScaleStarPoints = true;
  });
}

clsPlotScatter::clsPlotScatter(NothingType) : state_(Nothing) {}

// --- placement and size ---

ORV_CHART_VALUE(clsPlotScatter, Long, VerticalOffset, Long)
ORV_CHART_VALUE(clsPlotScatter, Long, HorizontalOffset, Long)
ORV_CHART_VALUE(clsPlotScatter, Long, ChartHeight, Long)
ORV_CHART_VALUE(clsPlotScatter, Long, ChartWidth, Long)

// --- titles ---

ORV_CHART_VALUE(clsPlotScatter, std::string, ChartTitle, const std::string&)
ORV_CHART_VALUE(clsPlotScatter, std::string, YAxisTitle, const std::string&)
ORV_CHART_VALUE(clsPlotScatter, std::string, XAxisTitle, const std::string&)
void clsPlotScatter::LetChartSubtitle(const std::string& value) {
  State& s = *state_;
  Property(kLetChartSubtitle, [&] { s.ChartSubtitle = value; });
}

// --- ranges ---

ORV_CHART_RANGE(clsPlotScatter, OutputRange)
ORV_CHART_RANGE(clsPlotScatter, XValues)
ORV_CHART_RANGE(clsPlotScatter, YValues)
ORV_CHART_RANGE(clsPlotScatter, CLLower)
ORV_CHART_RANGE(clsPlotScatter, CLUpper)
void clsPlotScatter::LetDataLabels(const Variant& value) {
  State& s = *state_;
  Property(kLetDataLabels, [&] { s.DataLabels = value; });
}

// --- regression and bands ---

ORV_CHART_VALUE(clsPlotScatter, Double, Slope, Double)
ORV_CHART_VALUE(clsPlotScatter, Double, Intercept, Double)
void clsPlotScatter::LetRegression(ORVPSRegression value) {
  State& s = *state_;
  Property(kLetRegression, [&] { s.Regression = value; });
}
void clsPlotScatter::LetConstantIs0(Boolean value) {
  State& s = *state_;
  Property(kLetConstantIs0, [&] { s.ConstantIs0 = value; });
}
void clsPlotScatter::LetCrosshairs(ORVPSCrosshairs value) {
  State& s = *state_;
  Property(kLetCrosshairs, [&] { s.Crosshairs = value; });
}
void clsPlotScatter::LetConfidenceLimits(Integer value) {
  State& s = *state_;
  Property(kLetConfidenceLimits, [&] { s.ConfidenceLimits = value; });
}
void clsPlotScatter::LetPredictionLimits(Integer value) {
  State& s = *state_;
  Property(kLetPredictionLimits, [&] { s.PredictionLimits = value; });
}
void clsPlotScatter::LetStandardError(Boolean value) {
  State& s = *state_;
  Property(kLetStandardError, [&] { s.StandardError = value; });
}
void clsPlotScatter::LetAreaBorder(Boolean value) {
  State& s = *state_;
  Property(kLetAreaBorder, [&] { s.AreaBorder = value; });
}
void clsPlotScatter::LetScaleStarPoints(Boolean value) {
  State& s = *state_;
  Property(kLetScaleStarPoints, [&] { s.ScaleStarPoints = value; });
}

// --- methods that store ---

void clsPlotScatter::LinePoints(Double X1, Double Y1, Double X2, Double Y2) {
  State& s = *state_;
  Guard(kLinePoints, [&](Line& line) {
    line = 10;
    const Single x1 = CSng(X1), y1 = CSng(Y1), x2 = CSng(X2), y2 = CSng(Y2);
    s.X1 = x1;
    s.Y1 = y1;
    s.X2 = x2;
    s.Y2 = y2;
    line = 20;
    s.DrawLine = true;
  });
}

void clsPlotScatter::StarPoints(const Variant& x, const Variant& Y,
                                const std::optional<Variant>& Labels) {
  State& s = *state_;
  Guard(kStarPoints, [&](Line& line) {
    line = 10;
    s.StarX = x;
    s.StarY = Y;
    s.StarLabels = Labels ? *Labels : Variant();
    line = 20;
    s.DrawStar = true;
  });
}

}  // namespace orv
