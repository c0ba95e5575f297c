#pragma once
// One row of values drawn as a line chart with markers on the worksheet of
// the output range, with a title, axis titles and a tidy value axis.
//
//   clsPlotLine plot;
//   plot.SetOutputRange(sheet.Range("H2"));
//   plot.SetYValues(sheet.Range("B5:K5"));
//   plot.LetChartTitle("Eigenvalues");
//   plot.LetYMin(0);                      // the value axis starts at 0
//   plot.CreatePlot();
//
// The value axis keeps the scale the chart chooses from the data (its
// minimum replaced by YMin when that was given); its tick labels show as
// many decimals as the chosen unit needs, at most three.
//
// A creatable class: each object is a handle to its own settings; copies
// share them, and through an empty handle every member fails with 91.
// Property procedures report failures with their own location ("Line <n>
// in ORVMain.clsPlotLine.LetYMin"); CreatePlot stamps a failure with its
// line ("Line <n> in ORVMain.clsPlotLine.CreatePlot"), or appends
// ".CreatePlot" to a source that is already located.
#include <string>

#include "orv/excel/Range.hpp"
#include "orv/frame/frame.hpp"

namespace orv {

class clsPlotLine {
 public:
  // A new plot: 200 x 200 points, no offsets or titles, the automatic
  // minimum of the value axis.
  clsPlotLine();
  clsPlotLine(NothingType);
  bool IsNothing() const { return state_.IsNothing(); }
  friend bool Is(const clsPlotLine& a, const clsPlotLine& b) { return a.state_ == b.state_; }

  // --- placement and size, in points ---
  Long VerticalOffset() const;
  void LetVerticalOffset(Long value);
  Long HorizontalOffset() const;
  void LetHorizontalOffset(Long value);
  Long ChartHeight() const;
  void LetChartHeight(Long value);
  Long ChartWidth() const;
  void LetChartWidth(Long value);

  // --- titles ("" gives none) ---
  std::string ChartTitle() const;
  void LetChartTitle(const std::string& value);
  std::string YAxisTitle() const;
  void LetYAxisTitle(const std::string& value);
  std::string XAxisTitle() const;
  void LetXAxisTitle(const std::string& value);

  // --- ranges ---
  // The chart goes to this range's first cell (plus the offsets).
  void SetOutputRange(const excel::Range& value);
  // The values, read by rows.
  void SetYValues(const excel::Range& value);

  // --- options ---
  // Stored only: markers and lines are always drawn.
  void LetShowPoints(Boolean value);
  void LetShowLines(Boolean value);
  // The minimum of the value axis; until given the chart chooses it.
  void LetYMin(Long value);

  // Draws the chart.
  void CreatePlot();

  // The object's settings (defined with the implementation).
  struct State;

 private:
  Ref<State> state_;
};

}  // namespace orv
