#pragma once
// Directional data drawn on a unit circle: points given as X and Y
// coordinates on or inside the circle, on a square plot with the circle
// drawn and no visible axes. A direction of theta degrees, clockwise from
// the top, sits at (sin theta, cos theta): 0 at the top, 90 at the right.
//
//   clsPlotCircular plot;
//   plot.SetOutputRange(sheet.Range("E2"));
//   plot.SetXValues(sheet.Range("A2:A31"));   // sin of each direction
//   plot.SetYValues(sheet.Range("B2:B31"));   // cos of each direction
//   plot.LetChartTitle("Wind directions");
//   plot.CreatePlot();
//
// Both axes run from -1.05 to 1.05 and are deleted once scaled (a
// deleted axis keeps its scale); the plot area is made square and centred
// horizontally in the chart.
//
// A creatable class: each object is a handle to its own settings; copies
// share them, and through an empty handle every member fails with 91.
// Property procedures report failures with their own location ("Line <n>
// in ORVMain.clsPlotCircular.LetVerticalOffset"). CreatePlot stamps a
// failure while it creates, sizes and selects the chart object ("Line <n>
// in ORVMain.clsPlotCircular.CreatePlot"); a failure while it draws the
// series and formats the chart leaves it exactly as it arose.
#include <string>

#include "orv/excel/Range.hpp"
#include "orv/frame/frame.hpp"

namespace orv {

class clsPlotCircular {
 public:
  // A new plot: 200 x 200 points, no offsets, no title.
  clsPlotCircular();
  clsPlotCircular(NothingType);
  bool IsNothing() const { return state_.IsNothing(); }
  friend bool Is(const clsPlotCircular& a, const clsPlotCircular& b) {
    return a.state_ == b.state_;
  }

  // --- placement and size, in points ---
  Long VerticalOffset() const;
  void LetVerticalOffset(Long value);
  Long HorizontalOffset() const;
  void LetHorizontalOffset(Long value);
  Long ChartHeight() const;
  void LetChartHeight(Long value);
  Long ChartWidth() const;
  void LetChartWidth(Long value);

  // "" gives no title.
  std::string ChartTitle() const;
  void LetChartTitle(const std::string& value);

  // --- ranges (one column each) ---
  // The chart goes to this range's first cell (plus the offsets).
  void SetOutputRange(const excel::Range& value);
  void SetXValues(const excel::Range& value);
  void SetYValues(const excel::Range& value);

  // Draws the chart.
  void CreatePlot();

  // The object's settings (defined with the implementation).
  struct State;

 private:
  Ref<State> state_;
};

}  // namespace orv
