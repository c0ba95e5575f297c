#pragma once
// Helpers shared by the files of the chart layer.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orv/excel/Chart.hpp"
#include "orv/excel/internal/chart_state.hpp"
#include "orv/excel/internal/detail.hpp"

namespace orv::excel::detail {

// ---- chart types ----
bool IsScatterType(std::int32_t type);
bool IsPieType(std::int32_t type);
bool IsKnownChartType(std::int32_t type);
// The kind of chart group a type belongs to (column, bar, line, scatter,
// pie, area, other), used to group series.
std::int32_t GroupKind(std::int32_t type);

// ---- objects ----
std::shared_ptr<ChartState> NewChart(const std::shared_ptr<ShapeState>& shape);
std::shared_ptr<TextState> NewText(const std::shared_ptr<ChartState>& chart, TextRole role);
std::shared_ptr<LineState> NewLine(std::int32_t line_style = xlContinuous);
std::shared_ptr<FillState> NewFill();
// A series' line as its chart type draws it, unless formatted by hand.
void SetDefaultSeriesLine(SeriesState& series);
// The chart of a series (1004 when the series was deleted or its chart is
// gone).
ChartState& ChartOf(const SeriesState& series);
// Fails with 1004 when the series was deleted.
void CheckLive(const SeriesState& series);
// Every text element of the chart (for fonts set on the chart area).
void ForEachText(ChartState& chart, const std::function<void(TextState&)>& visit);
// Shows or hides the secondary axes as series join or leave the secondary
// group.
void UpdateSecondaryAxes(ChartState& chart);

// ---- sizes ----
double ChartWidth(const ChartState& chart);
double ChartHeight(const ChartState& chart);
// The chart type of an axis group: its first series' type, or the chart's.
std::int32_t GroupChartType(const ChartState& chart, std::int32_t group);
bool AxisHasScale(const AxisState& axis);
bool AxisShown(const AxisState& axis);

// ---- text ----
// The text split into characters (code points), each as its UTF-8 bytes.
std::vector<std::string> SplitCharacters(std::string_view text);
ResolvedFont ResolveFont(const TextState& text, std::size_t character);
ResolvedFont ResolveElementFont(const TextState& text);
// The size of a text in points (estimate: 0.5 x size per character, 1.2
// x size per line).
double TextWidth(const TextState& text, std::string_view shown);
double TextHeight(const TextState& text, std::string_view shown);
// The text a label shows (chart titles and axis titles: their text).
std::string ShownText(const TextState& text);
// Number formats of tick labels and data labels: "General", "0",
// "0.0...", "0%", "0.0...%"; others as General.
std::string FormatNumber(double value, std::string_view format);

// ---- series ----
// The key of what is kept about a series' data.
DataKey KeyOf(const SeriesState& series);
// The x positions a series plots: its numeric XValues, or 1, 2, ...
std::vector<std::optional<double>> XPositions(const SeriesState& series);
// Whether the series plots at its XValues (else at 1, 2, ...), and its
// i-th x position (0-based) as XPositions gives it.
bool XPositionsNumeric(const SeriesState& series);
std::optional<double> XPositionAt(const SeriesState& series, bool numeric, std::size_t i);
// The x positions of points first .. first + n - 1: x[k] and whether
// known[k]; `numeric` as XPositionsNumeric says.
void ReadPositions(const SeriesState& series, bool numeric, std::size_t first, std::size_t n,
                   double* x, bool* known);
// Calls f(first, n, x, known) for the points of the series in blocks of at
// most kDataBlock, with their x positions as ReadPositions gives them (x
// and known may be changed by f).
template <class F>
void ForEachPositionBlock(const SeriesState& series, F&& f) {
  const bool numeric = XPositionsNumeric(series);
  double x[kDataBlock];
  bool known[kDataBlock];
  for (std::size_t first = 0; first < series.values.count; first += kDataBlock) {
    const std::size_t n = std::min(kDataBlock, series.values.count - first);
    ReadPositions(series, numeric, first, n, x, known);
    f(first, n, static_cast<double*>(x), static_cast<bool*>(known));
  }
}
// The values of the points (none for a blank or a text), and of point i.
std::vector<std::optional<double>> ValueNumbers(const SeriesState& series);
std::optional<double> ValueAt(const SeriesState& series, std::size_t i);

// ---- scale ----
struct Scale {
  double minimum = 0, maximum = 1, major = 0.2;
};
Scale AxisScale(const AxisState& axis);

// ---- layout ----
struct Box {
  double left = 0, top = 0, width = 0, height = 0;
};
Box PlotOuter(const ChartState& chart);
Box PlotInside(const ChartState& chart);
Box AxisBox(const AxisState& axis);
Box DefaultTitleBox(const TextState& text);

// ---- trendlines ----
struct Fit {
  std::vector<double> coefficients;  // constant first
  std::optional<double> r_squared;
};
Fit FitTrendline(const TrendlineState& trend);
std::string TrendlineLabelText(const TrendlineState& trend);

}  // namespace orv::excel::detail
