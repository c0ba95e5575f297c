// The settings of a clsPlotScatter. Private to src/orv/charts.
#pragma once

#include "orv/charts/chart_common.hpp"
#include "orv/charts/clsPlotScatter.hpp"
#include "orv/output/clsProperties.hpp"

namespace orv {

struct clsPlotScatter::State : charts_detail::ChartSettings, charts_detail::AxisTitles {
  excel::Range XValues{Nothing}, YValues{Nothing};
  Variant DataLabels;
  std::string ChartSubtitle;
  Single X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
  Boolean DrawLine = false, DrawStar = false;
  ORVPSRegression Regression = orvPSRegNone;
  Boolean ConstantIs0 = false;
  ORVPSCrosshairs Crosshairs = orvPSNone;
  Integer ConfidenceLimits = 0, PredictionLimits = 0;
  Boolean StandardError = false;
  excel::Range CLUpper{Nothing}, CLLower{Nothing};
  Double Slope = 0, Intercept = 0;
  Variant StarX, StarY, StarLabels;
  Boolean ScaleStarPoints = true;
  Boolean AreaBorder = false;
  clsProperties Settings;
};

}  // namespace orv
