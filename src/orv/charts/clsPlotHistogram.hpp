#pragma once
// A frequency histogram drawn as a clustered column chart on the worksheet
// of the output range: one column series of frequencies over bins and a
// second series on secondary axes.
//
//   clsPlotHistogram plot;
//   plot.SetOutputRange(sheet.Range("F2"));
//   plot.SetXValuesRange(sheet.Range("A2:A11"));        // lower bin limits
//   plot.SetXValuesSecondRange(sheet.Range("B2:B11"));  // the bins as numbers
//   plot.SetYValuesRange(sheet.Range("C2:C11"));        // frequencies
//   plot.LetChartTitle("Weights");
//   plot.CreatePlot();
//
// A numerical histogram (the default) draws its second series as an XY
// line over XValuesSecondRange: against YValuesSecondRange when that is
// set, otherwise an invisible one against the frequencies that only
// carries the numeric bin scale. XValuesSecondRange is therefore required
// for it. A categorical histogram keeps the bins as category labels and
// draws a second series (a line) only when YValuesSecondRange is set.
//
// ChartWidth 0 (the default) sizes the chart from the number of bins: 25
// points a bin plus 50 (numerical) or 50 a bin plus 50 (categorical), 100
// more with a second value range; no chart is wider than 1000 points.
// CreatePlot writes the width it used back into ChartWidth.
//
// A creatable class: each object is a handle to its own settings; copies
// share them, and through an empty handle every member fails with 91.
// Property procedures report failures with their own location ("Line <n>
// in ORVMain.clsPlotHistogram.SetHeadersRange"). CreatePlot appends its
// name to a located source: a failure while the chart object is created,
// sized and selected reads "Line <n> in
// ORVMain.clsPlotHistogram.CreateNumericalPlot.CreatePlot" (or
// CreateCategoricalPlot); a failure while the series, areas and axes are
// built reaches CreatePlot as it arose and is stamped "Line <n> in
// ORVMain.clsPlotHistogram.CreatePlot".
#include <string>

#include "orv/excel/Range.hpp"
#include "orv/frame/frame.hpp"

namespace orv {

class clsPlotHistogram {
 public:
  // A new histogram: numerical, 200 points high, sized from its bins.
  clsPlotHistogram();
  clsPlotHistogram(NothingType);
  bool IsNothing() const { return state_.IsNothing(); }
  friend bool Is(const clsPlotHistogram& a, const clsPlotHistogram& b) {
    return a.state_ == b.state_;
  }

  // Numerical (0) or categorical (any other value).
  void LetDataType(ORVHistogramDataType value);

  // --- placement and size, in points ---
  Long VerticalOffset() const;
  void LetVerticalOffset(Long value);
  Long HorizontalOffset() const;
  void LetHorizontalOffset(Long value);
  Long ChartHeight() const;
  void LetChartHeight(Long value);
  Long ChartWidth() const;
  void LetChartWidth(Long value);

  // --- titles ("" or " " gives no axis title) ---
  std::string ChartTitle() const;
  void LetChartTitle(const std::string& value);
  std::string XAxisTitle() const;
  void LetXAxisTitle(const std::string& value);
  std::string YAxisTitle() const;
  void LetYAxisTitle(const std::string& value);
  // Shown only with a second value range.
  std::string YAxisSecondTitle() const;
  void LetYAxisSecondTitle(const std::string& value);

  // --- ranges (one column each) ---
  // The chart goes to this range's first cell (plus the offsets).
  void SetOutputRange(const excel::Range& value);
  // Stored for the front end; the drawing does not use it.
  void SetHeadersRange(const excel::Range& value);
  // The bins: lower limits of a numerical histogram, or categories.
  void SetXValuesRange(const excel::Range& value);
  // The bins as the numbers of the secondary X scale (numerical only).
  void SetXValuesSecondRange(const excel::Range& value);
  // The frequencies.
  void SetYValuesRange(const excel::Range& value);
  // Values of the optional second series, on the secondary value axis.
  void SetYValuesSecondRange(const excel::Range& value);

  // Draws the chart: the categorical builder when DataType is non-zero,
  // the numerical one otherwise.
  void CreatePlot();

  // The object's settings (defined with the implementation).
  struct State;

 private:
  void CreateNumericalPlot(State& s) const;
  void CreateCategoricalPlot(State& s) const;

  Ref<State> state_;
};

}  // namespace orv
