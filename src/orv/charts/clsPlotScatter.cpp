// clsPlotScatter: creation, the property procedures and the two methods that
// only store what the chart will draw.
#include "orv/charts/clsPlotScatter_state.hpp"

namespace orv {

using namespace charts_detail;

namespace {

constexpr std::string_view kClass = "clsPlotScatter";

}  // namespace

clsPlotScatter::clsPlotScatter() : state_(NewState<State>(kClass, 200, 200)) {}
clsPlotScatter::clsPlotScatter(NothingType) : state_(Nothing) {}

ORV_CHART_SETTINGS(clsPlotScatter)
ORV_CHART_AXIS_TITLES(clsPlotScatter)
ORV_CHART_LET(clsPlotScatter, ChartSubtitle, const std::string&)

// --- ranges ---

ORV_CHART_RANGE(clsPlotScatter, XValues)
ORV_CHART_RANGE(clsPlotScatter, YValues)
ORV_CHART_RANGE(clsPlotScatter, CLLower)
ORV_CHART_RANGE(clsPlotScatter, CLUpper)
ORV_CHART_LET(clsPlotScatter, DataLabels, const Variant&)

// --- regression and bands ---

ORV_CHART_VALUE(clsPlotScatter, Double, Slope, Double)
ORV_CHART_VALUE(clsPlotScatter, Double, Intercept, Double)
ORV_CHART_LET(clsPlotScatter, Regression, ORVPSRegression)
ORV_CHART_LET(clsPlotScatter, ConstantIs0, Boolean)
ORV_CHART_LET(clsPlotScatter, Crosshairs, ORVPSCrosshairs)
ORV_CHART_LET(clsPlotScatter, ConfidenceLimits, Integer)
ORV_CHART_LET(clsPlotScatter, PredictionLimits, Integer)
ORV_CHART_LET(clsPlotScatter, StandardError, Boolean)
ORV_CHART_LET(clsPlotScatter, AreaBorder, Boolean)
ORV_CHART_LET(clsPlotScatter, ScaleStarPoints, Boolean)

// --- methods that store ---

void clsPlotScatter::LinePoints(Double X1, Double Y1, Double X2, Double Y2) {
  static constexpr Member kLinePoints{Rule::Stamp, kClass, "LinePoints"};
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
  static constexpr Member kStarPoints{Rule::Stamp, kClass, "StarPoints"};
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
