#pragma once
// An XY scatter chart of one Y range against one X range, drawn on the
// worksheet of the output range, with optional extras: a regression line
// (fitted by the chart's linear trendline, or given as slope and intercept),
// confidence or prediction bands computed here, bands given as ranges,
// crosshairs through the origin, a labelled star of rays from the origin and
// one free line segment.
//
//   clsPlotScatter plot;
//   plot.SetOutputRange(sheet.Range("D2"));
//   plot.SetXValues(sheet.Range("A2:A31"));
//   plot.SetYValues(sheet.Range("B2:B31"));
//   plot.LetChartTitle("Weight by height");
//   plot.LetRegression(ORVPSRegCalculate);
//   plot.LetConfidenceLimits(95);
//   plot.CreatePlot();
//   plot.Slope();   // read back from the trendline's equation
//
// A creatable class: each object is a handle to its own settings; copies
// share them. Every property procedure, LinePoints and StarPoints report a
// failure with their own location ("Line <n> in
// ORVMain.clsPlotScatter.LetChartTitle"); CreatePlot and the band and star
// builders it calls append their names to a located source
// ("... .GetCL.CreatePlot"). Through an empty handle every member fails
// with 91.
#include <optional>
#include <string>

#include "orv/excel/Range.hpp"
#include "orv/frame/frame.hpp"

namespace orv {

class clsPlotScatter {
 public:
  // A new plot: 200 x 200 points, no offsets, titles or extras, the star
  // rescaled to the data.
  clsPlotScatter();
  clsPlotScatter(NothingType);
  bool IsNothing() const { return state_.IsNothing(); }

  // --- placement and size, in points ---
  Long VerticalOffset() const;
  void LetVerticalOffset(Long value);
  Long HorizontalOffset() const;
  void LetHorizontalOffset(Long value);
  Long ChartHeight() const;
  void LetChartHeight(Long value);
  Long ChartWidth() const;
  void LetChartWidth(Long value);

  // --- titles ---
  std::string ChartTitle() const;
  void LetChartTitle(const std::string& value);
  std::string YAxisTitle() const;
  void LetYAxisTitle(const std::string& value);
  std::string XAxisTitle() const;
  void LetXAxisTitle(const std::string& value);
  // A second, smaller and plain line under the chart title.
  void LetChartSubtitle(const std::string& value);

  // --- ranges ---
  // The chart goes to this range's first cell (plus the offsets).
  void SetOutputRange(const excel::Range& value);
  void SetXValues(const excel::Range& value);
  void SetYValues(const excel::Range& value);
  // Bands given by the caller: drawn only when both are set.
  void SetCLLower(const excel::Range& value);
  void SetCLUpper(const excel::Range& value);
  // A 1-D array of label texts, one per data point, from 1.
  void LetDataLabels(const Variant& value);

  // --- regression and bands ---
  // CreatePlot with ORVPSRegCalculate writes the fitted line back here.
  Double Slope() const;
  void LetSlope(Double value);
  Double Intercept() const;
  void LetIntercept(Double value);
  void LetRegression(ORVPSRegression value);
  // Fit (and compute bands) through the origin.
  void LetConstantIs0(Boolean value);
  void LetCrosshairs(ORVPSCrosshairs value);
  // Band levels in percent (1 to 100); a prediction level overrides a
  // confidence level. With StandardError and no level the bands lie one
  // standard error from the line.
  void LetConfidenceLimits(Integer value);
  void LetPredictionLimits(Integer value);
  void LetStandardError(Boolean value);
  void LetAreaBorder(Boolean value);
  // Stored only: the star is always fitted into the data's box.
  void LetScaleStarPoints(Boolean value);

  // --- methods ---
  // A line segment from (X1, Y1) to (X2, Y2), kept in single precision
  // (6 beyond its range).
  void LinePoints(Double X1, Double Y1, Double X2, Double Y2);
  // A star of rays from the origin to the points (x(i, 1), Y(i, 1)),
  // i = 1 To n, each labelled with Labels(i). Without labels (missing or
  // Empty) every ray end gets a blank label.
  void StarPoints(const Variant& x, const Variant& Y,
                  const std::optional<Variant>& Labels = std::nullopt);
  // Draws the chart. Call once: the star is rescaled in place.
  void CreatePlot();

 private:
  // The settings, and the steps of one drawing (defined with the
  // implementation).
  struct State;
  struct Drawing;
  struct Band;
  Band GetCL(const State& s) const;
  void RescaleStar(State& s) const;

  Ref<State> state_;
};

}  // namespace orv
