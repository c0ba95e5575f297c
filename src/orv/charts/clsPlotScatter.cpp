// clsPlotScatter: creation, the property procedures and the two methods that
// only store what the chart will draw.
#include "orv/charts/clsPlotScatter.hpp"

namespace orv {

namespace {

constexpr std::string_view kClass = "clsPlotScatter";

constexpr Member kClassInitialize{Rule::Stamp, kClass, "Class_Initialize"};
constexpr Member kLinePoints{Rule::Stamp, kClass, "LinePoints"};
constexpr Member kStarPoints{Rule::Stamp, kClass, "StarPoints"};

// A property procedure: one labelled statement under the stamp rule.
template <class Body>
decltype(auto) Property(const Member& member, Body&& body) {
  return Guard(member, [&](Line& line) {
    line = 10;
    return body();
  });
}

#define ORV_SCATTER_GET(Name) constexpr Member kGet##Name{Rule::Stamp, kClass, "Get" #Name};
#define ORV_SCATTER_LET(Name) constexpr Member kLet##Name{Rule::Stamp, kClass, "Let" #Name};
#define ORV_SCATTER_SET(Name) constexpr Member kSet##Name{Rule::Stamp, kClass, "Set" #Name};

ORV_SCATTER_GET(VerticalOffset)
ORV_SCATTER_LET(VerticalOffset)
ORV_SCATTER_GET(HorizontalOffset)
ORV_SCATTER_LET(HorizontalOffset)
ORV_SCATTER_GET(ChartHeight)
ORV_SCATTER_LET(ChartHeight)
ORV_SCATTER_GET(ChartWidth)
ORV_SCATTER_LET(ChartWidth)
ORV_SCATTER_GET(ChartTitle)
ORV_SCATTER_LET(ChartTitle)
ORV_SCATTER_GET(YAxisTitle)
ORV_SCATTER_LET(YAxisTitle)
ORV_SCATTER_GET(XAxisTitle)
ORV_SCATTER_LET(XAxisTitle)
ORV_SCATTER_LET(ChartSubtitle)
ORV_SCATTER_SET(OutputRange)
ORV_SCATTER_SET(XValues)
ORV_SCATTER_SET(YValues)
ORV_SCATTER_SET(CLLower)
ORV_SCATTER_SET(CLUpper)
ORV_SCATTER_LET(DataLabels)
ORV_SCATTER_GET(Slope)
ORV_SCATTER_LET(Slope)
ORV_SCATTER_GET(Intercept)
ORV_SCATTER_LET(Intercept)
ORV_SCATTER_LET(Regression)
ORV_SCATTER_LET(ConstantIs0)
ORV_SCATTER_LET(Crosshairs)
ORV_SCATTER_LET(ConfidenceLimits)
ORV_SCATTER_LET(PredictionLimits)
ORV_SCATTER_LET(StandardError)
ORV_SCATTER_LET(AreaBorder)
ORV_SCATTER_LET(ScaleStarPoints)

#undef ORV_SCATTER_GET
#undef ORV_SCATTER_LET
#undef ORV_SCATTER_SET

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

Long clsPlotScatter::VerticalOffset() const {
  const State& s = *state_;
  return Property(kGetVerticalOffset, [&] { return s.VerticalOffset; });
}
void clsPlotScatter::LetVerticalOffset(Long value) {
  State& s = *state_;
  Property(kLetVerticalOffset, [&] { s.VerticalOffset = value; });
}
Long clsPlotScatter::HorizontalOffset() const {
  const State& s = *state_;
  return Property(kGetHorizontalOffset, [&] { return s.HorizontalOffset; });
}
void clsPlotScatter::LetHorizontalOffset(Long value) {
  State& s = *state_;
  Property(kLetHorizontalOffset, [&] { s.HorizontalOffset = value; });
}
Long clsPlotScatter::ChartHeight() const {
  const State& s = *state_;
  return Property(kGetChartHeight, [&] { return s.ChartHeight; });
}
void clsPlotScatter::LetChartHeight(Long value) {
  State& s = *state_;
  Property(kLetChartHeight, [&] { s.ChartHeight = value; });
}
Long clsPlotScatter::ChartWidth() const {
  const State& s = *state_;
  return Property(kGetChartWidth, [&] { return s.ChartWidth; });
}
void clsPlotScatter::LetChartWidth(Long value) {
  State& s = *state_;
  Property(kLetChartWidth, [&] { s.ChartWidth = value; });
}

// --- titles ---

std::string clsPlotScatter::ChartTitle() const {
  const State& s = *state_;
  return Property(kGetChartTitle, [&] { return s.ChartTitle; });
}
void clsPlotScatter::LetChartTitle(const std::string& value) {
  State& s = *state_;
  Property(kLetChartTitle, [&] { s.ChartTitle = value; });
}
std::string clsPlotScatter::YAxisTitle() const {
  const State& s = *state_;
  return Property(kGetYAxisTitle, [&] { return s.YAxisTitle; });
}
void clsPlotScatter::LetYAxisTitle(const std::string& value) {
  State& s = *state_;
  Property(kLetYAxisTitle, [&] { s.YAxisTitle = value; });
}
std::string clsPlotScatter::XAxisTitle() const {
  const State& s = *state_;
  return Property(kGetXAxisTitle, [&] { return s.XAxisTitle; });
}
void clsPlotScatter::LetXAxisTitle(const std::string& value) {
  State& s = *state_;
  Property(kLetXAxisTitle, [&] { s.XAxisTitle = value; });
}
void clsPlotScatter::LetChartSubtitle(const std::string& value) {
  State& s = *state_;
  Property(kLetChartSubtitle, [&] { s.ChartSubtitle = value; });
}

// --- ranges ---

void clsPlotScatter::SetOutputRange(const excel::Range& value) {
  State& s = *state_;
  Property(kSetOutputRange, [&] { s.OutputRange = value; });
}
void clsPlotScatter::SetXValues(const excel::Range& value) {
  State& s = *state_;
  Property(kSetXValues, [&] { s.XValues = value; });
}
void clsPlotScatter::SetYValues(const excel::Range& value) {
  State& s = *state_;
  Property(kSetYValues, [&] { s.YValues = value; });
}
void clsPlotScatter::SetCLLower(const excel::Range& value) {
  State& s = *state_;
  Property(kSetCLLower, [&] { s.CLLower = value; });
}
void clsPlotScatter::SetCLUpper(const excel::Range& value) {
  State& s = *state_;
  Property(kSetCLUpper, [&] { s.CLUpper = value; });
}
void clsPlotScatter::LetDataLabels(const Variant& value) {
  State& s = *state_;
  Property(kLetDataLabels, [&] { s.DataLabels = value; });
}

// --- regression and bands ---

Double clsPlotScatter::Slope() const {
  const State& s = *state_;
  return Property(kGetSlope, [&] { return s.Slope; });
}
void clsPlotScatter::LetSlope(Double value) {
  State& s = *state_;
  Property(kLetSlope, [&] { s.Slope = value; });
}
Double clsPlotScatter::Intercept() const {
  const State& s = *state_;
  return Property(kGetIntercept, [&] { return s.Intercept; });
}
void clsPlotScatter::LetIntercept(Double value) {
  State& s = *state_;
  Property(kLetIntercept, [&] { s.Intercept = value; });
}
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
