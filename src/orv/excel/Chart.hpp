#pragma once
// A chart: its series, axes, titles, chart area and plot area.
//
//   excel::ChartObject co = sheet.ChartObjects().Add(100, 50, 300, 200);
//   excel::Chart chart = co.Chart();
//   chart.LetChartType(xlXYScatter);
//   excel::Series s = chart.SeriesCollection().NewSeries();
//   s.LetValues(sheet.Range("B1:B10"));
//   s.LetXValues(sheet.Range("A1:A10"));
//   excel::Trendline t = s.Trendlines().Add(xlLinear);
//   t.LetDisplayEquation(true);
//   t.DataLabel().Text();                      // "y = 0.5x + 1.25"
//   chart.Axes(xlValue).MaximumScale();       // chosen from the data
//
// Handles share the object they refer to; a default-constructed handle is
// Nothing and fails with 91 when used. Failures are those of a
// spreadsheet: 1004 with its messages ("Unable to set the MajorUnit
// property of the Axis class", "Method 'Axes' of object '_Chart' failed",
// ...), 9 "Subscript out of range" for an index beyond a collection
// (series, points, trendlines, chart groups), 13 for an argument of the
// wrong kind.
//
// Positions and sizes are in points. The chart area is the chart object:
// Left and Top 0, Width and Height the object's. The plot area lies inside
// it: 7 points from each edge, below the title when there is one and left
// of the legend when there is one, until placed by hand; placed by hand it
// keeps its place relative to the chart when the chart is resized. Text
// sizes are estimated from the font: a line of text is 1.2 x its size high,
// a character 0.5 x its size wide.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orv/excel/ChartEnums.hpp"
#include "orv/excel/ChartFormat.hpp"
#include "orv/excel/Range.hpp"
#include "orv/excel/state_fwd.hpp"
#include "orv/frame/Ref.hpp"
#include "orv/frame/Variant.hpp"

namespace orv::excel {

class ChartObject;
class Series;
class SeriesCollection;
class Axis;
class ChartGroups;
class ChartGroup;
class Points;
class Point;
class Trendlines;
class Trendline;

// One run of a title's text with its font, for readers that draw or write
// the chart.
struct TextRun {
  std::string text;
  ResolvedFont font;
};

// ---------------------------------------------------------------- areas ---

class ChartArea {
 public:
  explicit ChartArea(std::shared_ptr<ChartState> chart) : chart_(std::move(chart)) {}
  ChartInterior Interior() const;
  ChartFillFormat Fill() const;
  ChartBorder Border() const;
  // The chart's font: setting an attribute sets it on every text of the
  // chart.
  ChartFont Font() const;
  bool AutoScaleFont() const;
  void LetAutoScaleFont(bool value) const;
  double Left() const;  // 0
  double Top() const;   // 0
  // The chart object's size; setting it resizes the chart object.
  double Width() const;
  void LetWidth(double value) const;
  double Height() const;
  void LetHeight(double value) const;

 private:
  Ref<ChartState> chart_;
};

// The plot area. Setting a position keeps the area inside the chart area
// (a place that would push it out is moved back to the edge); setting a
// size cuts it at the chart area's right or bottom edge. Negative sizes
// are 1004.
class PlotArea {
 public:
  explicit PlotArea(std::shared_ptr<ChartState> chart) : chart_(std::move(chart)) {}
  ChartInterior Interior() const;
  ChartFillFormat Fill() const;
  ChartBorder Border() const;
  double Left() const;
  void LetLeft(double value) const;
  double Top() const;
  void LetTop(double value) const;
  double Width() const;
  void LetWidth(double value) const;
  double Height() const;
  void LetHeight(double value) const;
  // The rectangle the data are drawn in: the plot area less the room its
  // axes take for tick labels and axis titles.
  double InsideLeft() const;
  double InsideTop() const;
  double InsideWidth() const;
  double InsideHeight() const;

 private:
  Ref<ChartState> chart_;
};

// ------------------------------------------------------------- titles ---

// The chart title. Text may hold line breaks (character 13 or 10);
// Characters(Start, Length) formats part of it, so a title whose second
// line has a smaller, plain font is representable; setting Text gives every
// character the title's font again. Left and Top may be set; they are kept
// inside the chart area. Reached only while the chart HasTitle (1004
// otherwise).
class ChartTitle {
 public:
  explicit ChartTitle(std::shared_ptr<TextState> text) : text_(std::move(text)) {}
  std::string Text() const;
  void LetText(std::string_view value) const;
  std::string Caption() const { return Text(); }
  void LetCaption(std::string_view value) const { LetText(value); }
  ChartFont Font() const;
  excel::Characters Characters(std::int32_t Start = 1, std::int32_t Length = -1) const;
  bool AutoScaleFont() const;
  void LetAutoScaleFont(bool value) const;
  double Left() const;
  void LetLeft(double value) const;
  double Top() const;
  void LetTop(double value) const;
  double Width() const;
  double Height() const;
  // The text split where the font changes, each part with its font.
  std::vector<TextRun> Runs() const;

 private:
  Ref<TextState> text_;
};

// The title of an axis: as the chart title, with an Orientation
// (xlHorizontal, xlUpward, xlDownward, xlVertical, or degrees -90 to 90;
// 1004 otherwise). Reached only while the axis HasTitle (1004 otherwise).
class AxisTitle {
 public:
  explicit AxisTitle(std::shared_ptr<TextState> text) : text_(std::move(text)) {}
  std::string Text() const;
  void LetText(std::string_view value) const;
  std::string Caption() const { return Text(); }
  void LetCaption(std::string_view value) const { LetText(value); }
  ChartFont Font() const;
  excel::Characters Characters(std::int32_t Start = 1, std::int32_t Length = -1) const;
  bool AutoScaleFont() const;
  void LetAutoScaleFont(bool value) const;
  std::int32_t Orientation() const;
  void LetOrientation(std::int32_t value) const;
  double Left() const;
  void LetLeft(double value) const;
  double Top() const;
  void LetTop(double value) const;
  double Width() const;
  double Height() const;
  std::vector<TextRun> Runs() const;

 private:
  Ref<TextState> text_;
};

// The tick labels of an axis. NumberFormat is a number format text
// ("General", "0", "0.00", ...); setting it unlinks it from the source.
class TickLabels {
 public:
  explicit TickLabels(std::shared_ptr<TextState> text) : text_(std::move(text)) {}
  ChartFont Font() const;
  bool AutoScaleFont() const;
  void LetAutoScaleFont(bool value) const;
  std::string NumberFormat() const;
  void LetNumberFormat(std::string_view value) const;
  bool NumberFormatLinked() const;
  void LetNumberFormatLinked(bool value) const;
  std::int32_t Orientation() const;
  void LetOrientation(std::int32_t value) const;

 private:
  Ref<TextState> text_;
};

// A data label of a point, or the label of a trendline. Until Text is set
// it shows what the labels were applied with (the category for
// xlDataLabelsShowLabel, the value for xlDataLabelsShowValue, in the
// General format) or, on a trendline, its equation and R squared.
class DataLabel {
 public:
  explicit DataLabel(std::shared_ptr<TextState> text) : text_(std::move(text)) {}
  std::string Text() const;
  void LetText(std::string_view value) const;
  std::string Caption() const { return Text(); }
  void LetCaption(std::string_view value) const { LetText(value); }
  ChartFont Font() const;
  excel::Characters Characters(std::int32_t Start = 1, std::int32_t Length = -1) const;
  bool AutoScaleFont() const;
  void LetAutoScaleFont(bool value) const;
  std::string NumberFormat() const;
  void LetNumberFormat(std::string_view value) const;

 private:
  Ref<TextState> text_;
};

// ---------------------------------------------------------------- axes ---

// An axis. The category axis of a group of XY scatter series is a value
// axis (it scales the XValues); the category axis of column and line
// series has no scale, and its scale members are 1004 ("Unable to get the
// MinimumScale property of the Axis class"), as AxisBetweenCategories is on
// a value axis.
//
// Scale: MinimumScale, MaximumScale and MajorUnit read, while untouched,
// as chosen from the data the axis plots. From the data's lowest and
// highest value, 0 is brought in when all values lie on one side of it:
// always for column and line charts, and for scatter charts when the near
// end is within 5/6 of the far end (0 < min < 5/6 max, or the mirror for
// negative data). The span is grown by 5% at each end that is not 0, and
// the unit is the smallest 1, 2 or 5 times a power of ten that splits it
// into at most 8 units; the bounds are the multiples of the unit that
// enclose it (data 1..10 in a column chart: 0 to 12 by 2). Equal values v
// span v - |v|/2 .. v + |v|/2 (0 .. 1 for 0); without data the scale is 0
// to 1 by 0.2. Setting one fixes it and the others follow it; the ...IsAuto
// members return them to the data. A minimum not below a fixed maximum (or
// the other way round) is 1004; MajorUnit and MinorUnit must be > 0.
// MinorUnit is MajorUnit / 5 until set.
//
// Crosses is xlAxisCrossesAutomatic (the other axis crosses at 0, or at the
// minimum or maximum when 0 lies outside), xlAxisCrossesMinimum,
// xlAxisCrossesMaximum or xlAxisCrossesCustom; setting CrossesAt makes it
// custom. CrossesAt reads as where the other axis crosses.
//
// Delete hides the axis (HasAxis False); it keeps its scale and formats
// and comes back with them when HasAxis is set True again. A hidden axis
// cannot be reached through Axes (1004).
class Axis {
 public:
  Axis() : axis_(Nothing) {}
  explicit Axis(std::shared_ptr<AxisState> axis) : axis_(std::move(axis)) {}
  bool IsNothing() const { return axis_.IsNothing(); }

  std::int32_t Type() const;
  std::int32_t AxisGroup() const;
  // True for a category axis that scales values (scatter); value axes are.
  bool HasScale() const;

  bool HasTitle() const;
  void LetHasTitle(bool value) const;
  excel::AxisTitle AxisTitle() const;
  excel::TickLabels TickLabels() const;
  std::int32_t TickLabelPosition() const;
  void LetTickLabelPosition(std::int32_t value) const;
  bool HasMajorGridlines() const;
  void LetHasMajorGridlines(bool value) const;
  bool HasMinorGridlines() const;
  void LetHasMinorGridlines(bool value) const;
  std::int32_t MajorTickMark() const;
  void LetMajorTickMark(std::int32_t value) const;
  std::int32_t MinorTickMark() const;
  void LetMinorTickMark(std::int32_t value) const;

  double MinimumScale() const;
  void LetMinimumScale(double value) const;
  bool MinimumScaleIsAuto() const;
  void LetMinimumScaleIsAuto(bool value) const;
  double MaximumScale() const;
  void LetMaximumScale(double value) const;
  bool MaximumScaleIsAuto() const;
  void LetMaximumScaleIsAuto(bool value) const;
  double MajorUnit() const;
  void LetMajorUnit(double value) const;
  bool MajorUnitIsAuto() const;
  void LetMajorUnitIsAuto(bool value) const;
  double MinorUnit() const;
  void LetMinorUnit(double value) const;

  std::int32_t Crosses() const;
  void LetCrosses(std::int32_t value) const;
  double CrossesAt() const;
  void LetCrossesAt(double value) const;
  bool AxisBetweenCategories() const;
  void LetAxisBetweenCategories(bool value) const;
  ChartBorder Border() const;
  void Delete() const;

  // Where the axis line and its labels lie in the chart: a horizontal axis
  // below (primary) or above (secondary) the inside of the plot area, a
  // vertical one left (primary) or right (secondary) of it.
  double Left() const;
  double Top() const;
  double Width() const;
  double Height() const;


 private:
  friend struct internal::Access;
  const std::shared_ptr<AxisState>& State() const { return axis_.Shared(); }
  Ref<AxisState> axis_;
};

// The series of one kind on one axis group, with the gap between columns
// (0 to 500 percent of a column) and their overlap (-100 to 100).
class ChartGroup {
 public:
  ChartGroup(std::shared_ptr<ChartState> chart, std::int32_t key)
      : chart_(std::move(chart)), key_(key) {}
  std::int32_t GapWidth() const;
  void LetGapWidth(std::int32_t value) const;
  std::int32_t Overlap() const;
  void LetOverlap(std::int32_t value) const;
  std::int32_t AxisGroup() const;
  // The series of the group, in plot order.
  std::vector<Series> SeriesItems() const;

 private:
  Ref<ChartState> chart_;
  std::int32_t key_;
};

// The chart groups: primary before secondary, and within an axis group in
// the order their kinds (column, line, scatter, ...) first occur among the
// series. A chart without series has one group of its own chart type.
class ChartGroups {
 public:
  explicit ChartGroups(std::shared_ptr<ChartState> chart) : chart_(std::move(chart)) {}
  std::int32_t Count() const;
  ChartGroup Item(std::int32_t index) const;
  ChartGroup operator()(std::int32_t index) const { return Item(index); }

 private:
  Ref<ChartState> chart_;
};

// --------------------------------------------------------------- chart ---

class Chart {
 public:
  Chart() : chart_(Nothing) {}
  explicit Chart(std::shared_ptr<ChartState> chart) : chart_(std::move(chart)) {}
  bool IsNothing() const { return chart_.IsNothing(); }

  // Setting the chart's type sets every series to it; reading gives the
  // type last set (xlColumnClustered for a new chart). Unknown types are
  // 1004.
  std::int32_t ChartType() const;
  void LetChartType(std::int32_t value) const;
  bool HasLegend() const;
  void LetHasLegend(bool value) const;
  excel::SeriesCollection SeriesCollection() const;
  Series SeriesCollection(std::int32_t index) const;
  excel::ChartArea ChartArea() const;
  excel::PlotArea PlotArea() const;
  bool HasTitle() const;
  void LetHasTitle(bool value) const;
  // 1004 "Method 'ChartTitle' of object '_Chart' failed" without a title.
  excel::ChartTitle ChartTitle() const;
  // An axis that is shown; 1004 "Method 'Axes' of object '_Chart' failed"
  // for one that is not (deleted, a secondary axis without secondary
  // series, any axis of a pie chart) or a bad Type or AxisGroup.
  Axis Axes(std::int32_t Type, std::int32_t AxisGroup = xlPrimary) const;
  // Whether the axis is shown. Showing a secondary axis needs a series on
  // the secondary group, an axis of a pie chart is impossible (1004 "Unable
  // to set the HasAxis property of the Chart class").
  bool HasAxis(std::int32_t Type, std::int32_t AxisGroup = xlPrimary) const;
  void LetHasAxis(std::int32_t Type, std::int32_t AxisGroup, bool value) const;
  excel::ChartGroups ChartGroups() const;
  ChartGroup ChartGroups(std::int32_t index) const;
  // The chart object that shows the chart (Nothing once it is deleted).
  ChartObject Parent() const;

  // The axis whether shown or not (for readers that write the chart).
  Axis AxisState(std::int32_t Type, std::int32_t AxisGroup) const;
  friend bool operator==(const Chart& a, const Chart& b) { return a.chart_ == b.chart_; }

 private:
  friend struct internal::Access;
  const std::shared_ptr<ChartState>& State() const { return chart_.Shared(); }
  Ref<ChartState> chart_;
};

// -------------------------------------------------------------- series ---

// The series of a chart, in plot order, from 1.
class SeriesCollection {
 public:
  explicit SeriesCollection(std::shared_ptr<ChartState> chart) : chart_(std::move(chart)) {}
  std::int32_t Count() const;
  Series Item(std::int32_t index) const;
  Series operator()(std::int32_t index) const;
  // A new series without data, named "Series<n>" (n counts the series
  // the chart ever had), of the chart's type.
  Series NewSeries() const;
  // New series from the cells of Source (a range of one or several
  // areas): by columns (xlColumns, 2) each column of each area in turn is a
  // series, by rows (xlRows, 1) each row. With SeriesLabels the first cell
  // of each column (row) is the series' name; with CategoryLabels the first
  // column (row) holds the categories (the XValues) of all the series.
  // Missing arguments are guessed as a spreadsheet does: by columns unless
  // the first area has more columns than rows; series labels when the
  // first cell of each series holds text; category labels when the first
  // series holds text below its label. With Replace and CategoryLabels,
  // the existing series take the new categories too. Returns the first new
  // series. 1004 "Add method of SeriesCollection class failed" for a bad
  // RowCol, a range on another sheet, or no data left for a series.
  Series Add(const Range& Source, std::optional<std::int32_t> RowCol = std::nullopt,
             std::optional<bool> SeriesLabels = std::nullopt,
             std::optional<bool> CategoryLabels = std::nullopt, bool Replace = false) const;

 private:
  Ref<ChartState> chart_;
};

// A series. Values and XValues take a Range (the series keeps the range and
// reads its cells, area by area, row by row, whenever they are needed, so
// that the chart follows later changes of the cells) or an array (kept as
// given: 1-D, or 2-D of one row or column, of numbers, numeric texts,
// Variants; texts that are not numbers and blanks are blanks among the
// values and stay texts among the categories). Read back they are 1-based
// 1-D Variant arrays (blanks Empty). A scalar or anything else is 13.
//
// MarkerSize is 2 to 72, MarkerStyle one of XlMarkerStyle, AxisGroup
// xlPrimary or xlSecondary, marker colour indices palette indices,
// xlColorIndexAutomatic or xlColorIndexNone: 1004 "Unable to set the <p>
// property of the Series class" otherwise. After Delete the series is gone
// from the chart and its handle fails with 1004.
class Series {
 public:
  Series() : series_(Nothing) {}
  explicit Series(std::shared_ptr<SeriesState> series) : series_(std::move(series)) {}
  bool IsNothing() const { return series_.IsNothing(); }

  Variant Values() const;
  void LetValues(const Variant& value) const;
  void LetValues(const Range& value) const;
  Variant XValues() const;
  void LetXValues(const Variant& value) const;
  void LetXValues(const Range& value) const;
  // The range the values (categories) came from; Nothing for an array.
  Range ValuesRange() const;
  Range XValuesRange() const;
  // The values as numbers (blanks empty), and the x positions a scatter
  // series plots: the numeric XValues, or 1, 2, ... when there are none
  // or they are not all numbers.
  std::vector<std::optional<double>> ValueNumbers() const;
  std::vector<std::optional<double>> XValueNumbers() const;

  std::string Name() const;
  void LetName(std::string_view value) const;
  std::int32_t ChartType() const;
  void LetChartType(std::int32_t value) const;
  std::int32_t AxisGroup() const;
  void LetAxisGroup(std::int32_t value) const;
  std::int32_t MarkerStyle() const;
  void LetMarkerStyle(std::int32_t value) const;
  std::int32_t MarkerSize() const;
  void LetMarkerSize(std::int32_t value) const;
  std::int32_t MarkerBackgroundColorIndex() const;
  void LetMarkerBackgroundColorIndex(std::int32_t value) const;
  std::int32_t MarkerForegroundColorIndex() const;
  void LetMarkerForegroundColorIndex(std::int32_t value) const;
  // RGB; setting one sets the index to the nearest palette colour.
  std::int32_t MarkerBackgroundColor() const;
  void LetMarkerBackgroundColor(std::int32_t value) const;
  std::int32_t MarkerForegroundColor() const;
  void LetMarkerForegroundColor(std::int32_t value) const;
  bool Smooth() const;
  void LetSmooth(bool value) const;
  ChartBorder Border() const;
  ChartInterior Interior() const;
  ChartFillFormat Fill() const;

  // Shows a label on every point: Type xlDataLabelsShowValue,
  // xlDataLabelsShowLabel, ... or xlDataLabelsShowNone (removes them).
  void ApplyDataLabels(std::int32_t Type = xlDataLabelsShowValue, bool AutoText = true,
                       bool LegendKey = false) const;
  bool HasDataLabels() const;
  void LetHasDataLabels(bool value) const;
  std::int32_t DataLabelsType() const;

  excel::Points Points() const;
  Point Points(std::int32_t index) const;
  excel::Trendlines Trendlines() const;
  Trendline Trendlines(std::int32_t index) const;
  // Position among the chart's series, from 1.
  std::int32_t PlotOrder() const;
  void Delete() const;

  friend bool operator==(const Series& a, const Series& b) { return a.series_ == b.series_; }

 private:
  friend struct internal::Access;
  const std::shared_ptr<SeriesState>& State() const { return series_.Shared(); }
  Ref<SeriesState> series_;
};

// The points of a series: one per value, from 1.
class Points {
 public:
  explicit Points(std::shared_ptr<SeriesState> series) : series_(std::move(series)) {}
  std::int32_t Count() const;
  Point Item(std::int32_t index) const;
  Point operator()(std::int32_t index) const;

 private:
  Ref<SeriesState> series_;
};

// One point. Its border and fill start as the series' and are its own once
// set. DataLabel needs a label on the point (1004 "Unable to get the
// DataLabel property of the Point class" otherwise).
class Point {
 public:
  explicit Point(std::shared_ptr<PointState> point) : point_(std::move(point)) {}
  excel::DataLabel DataLabel() const;
  bool HasDataLabel() const;
  void LetHasDataLabel(bool value) const;
  ChartBorder Border() const;
  ChartInterior Interior() const;
  // Whether the point's own border (fill) was set.
  bool HasOwnBorder() const;
  bool HasOwnInterior() const;

 private:
  Ref<PointState> point_;
};

// ---------------------------------------------------------- trendlines ---

class Trendlines {
 public:
  explicit Trendlines(std::shared_ptr<SeriesState> series) : series_(std::move(series)) {}
  std::int32_t Count() const;
  Trendline Item(std::int32_t index) const;
  Trendline operator()(std::int32_t index) const;
  // A new trendline; Order 2 to 6 for xlPolynomial, Period 2 up to the
  // number of points for xlMovingAvg; 1004 "Add method of Trendlines class
  // failed" for a bad Type, Order or Period, and for a trendline on a
  // series of a pie chart.
  Trendline Add(std::int32_t Type = xlLinear, std::optional<std::int32_t> Order = std::nullopt,
                std::optional<std::int32_t> Period = std::nullopt,
                std::optional<double> Forward = std::nullopt,
                std::optional<double> Backward = std::nullopt,
                std::optional<double> Intercept = std::nullopt,
                std::optional<bool> DisplayEquation = std::nullopt,
                std::optional<bool> DisplayRSquared = std::nullopt,
                std::optional<std::string> Name = std::nullopt) const;

 private:
  Ref<SeriesState> series_;
};

// A trendline, fitted by least squares to the series' points that have
// both a numeric x (XValueNumbers) and a value:
//   xlLinear       y = b x + a        (through Intercept when set)
//   xlPolynomial   y = b_k x^k + ... + b_1 x + a   (k = Order, 2 to 6)
//   xlExponential  y = c e^(b x)      (values > 0)
//   xlLogarithmic  y = c ln(x) + b    (x > 0)
//   xlPower        y = c x^b          (x > 0, values > 0)
//   xlMovingAvg    no equation
// Intercept forces the constant (linear and polynomial: y at x = 0;
// exponential: c); InterceptIsAuto frees it again.
//
// The label (DataLabel, while DisplayEquation or DisplayRSquared is on;
// 1004 "Unable to get the DataLabel property of the Trendline class"
// otherwise) reads "y = 0.5x + 1.25", "y = 2x - 3", "y = 2.5x",
// "y = 0.25x2 - x + 3", "y = 2e0.5x", "y = 3ln(x) + 1", "y = 2x1.5" and,
// with R squared, a second line "R² = 0.9876". Coefficients are written in
// the General format of a label: rounded to 11 significant digits, plain
// decimals from 1E-05 up to 1E+11 and "1.5E-07" / "2.5E+12" outside,
// trailing zeros dropped. A zero coefficient's term is left out ("y = 0"
// when all are), a coefficient of 1 or -1 is written as "x" or "-x", and a
// negative coefficient after the first term reads " - " with its
// magnitude. When the fit cannot be made (fewer points than coefficients,
// all x equal, a logarithm of a number not above 0) the label is empty.
class Trendline {
 public:
  explicit Trendline(std::shared_ptr<TrendlineState> trend) : trend_(std::move(trend)) {}
  std::int32_t Type() const;
  void LetType(std::int32_t value) const;
  std::int32_t Order() const;
  void LetOrder(std::int32_t value) const;
  std::int32_t Period() const;
  void LetPeriod(std::int32_t value) const;
  double Intercept() const;  // 0 while automatic
  void LetIntercept(double value) const;
  bool InterceptIsAuto() const;
  void LetInterceptIsAuto(bool value) const;
  bool DisplayEquation() const;
  void LetDisplayEquation(bool value) const;
  bool DisplayRSquared() const;
  void LetDisplayRSquared(bool value) const;
  double Forward() const;
  void LetForward(double value) const;
  double Backward() const;
  void LetBackward(double value) const;
  // "Linear (Series1)" and the like until set.
  std::string Name() const;
  void LetName(std::string_view value) const;
  excel::DataLabel DataLabel() const;
  ChartBorder Border() const;
  // Position among the series' trendlines, from 1.
  std::int32_t Index() const;
  void Delete() const;

  // The fitted coefficients, constant first (linear: {a, b}; polynomial:
  // {a, b_1, ..., b_k}; exponential, power: {c, b}; logarithmic: {b, c}),
  // and the coefficient of determination; both empty when the fit cannot
  // be made (or for a moving average).
  std::vector<double> Coefficients() const;
  std::optional<double> RSquared() const;
  // The equation as the label writes it ("" when there is none).
  std::string EquationText() const;


 private:
  friend struct internal::Access;
  const std::shared_ptr<TrendlineState>& State() const { return trend_.Shared(); }
  Ref<TrendlineState> trend_;
};

// The General format of a chart label: 11 significant digits, plain from
// 1E-05 up to (not including) 1E+11, "d.dddE+xx" outside, trailing zeros
// dropped, "-" for negatives, the process's decimal separator.
std::string LabelGeneral(double value);

}  // namespace orv::excel
