#include "orv/charts/clsPlotCircular.hpp"

#include <cmath>
#include <optional>
#include <utility>

#include "orv/charts/chart_common.hpp"
#include "orv/excel/excel.hpp"
#include "orv/output/clsProperties.hpp"

namespace orv {

using namespace charts_detail;

struct clsPlotCircular::State : ChartSettings {
  excel::Range XValues{Nothing}, YValues{Nothing};
  // Created by CreatePlot.
  std::optional<clsProperties> Settings;
};

namespace {

constexpr std::string_view kClass = "clsPlotCircular";

// Both axes run from -kLimit to kLimit: the unit circle with a margin.
constexpr double kLimit = 1.05;

// The circle's outline: 15 points, the first and last two repeating so that
// the smoothed line closes without a kink.
constexpr int kOutlineAngles[15] = {330, 0,   30,  60,  90,  120, 150, 180,
                                    210, 240, 270, 300, 330, 0,   30};

// sin and cos of the outline's angles, in arrays indexed from 0.
std::pair<Array<double>, Array<double>> CircleOutline() {
  const double pi = 4 * std::atan(1.0);
  Array<double> x(0, 14), y(0, 14);
  for (int i = 0; i <= 14; ++i) {
    const double theta = kOutlineAngles[i] * pi / 180;
    x(i) = std::sin(theta);
    y(i) = std::cos(theta);
  }
  return {std::move(x), std::move(y)};
}

}  // namespace

// --- creation and properties ---------------------------------------------

clsPlotCircular::clsPlotCircular() : state_(NewState<State>(kClass, 200, 200)) {}
clsPlotCircular::clsPlotCircular(NothingType) : state_(Nothing) {}

ORV_CHART_SETTINGS(clsPlotCircular)
ORV_CHART_RANGE(clsPlotCircular, XValues)
ORV_CHART_RANGE(clsPlotCircular, YValues)

// --- drawing ----------------------------------------------------------------

void clsPlotCircular::CreatePlot() {
  static constexpr Member kCreatePlot{Rule::Chain, kClass, "CreatePlot"};
  State& s = *state_;
  const ExcelConstants& xl = Xl();
  excel::ChartObject chartObject;
  excel::Chart chart;
  Guard(kCreatePlot, [&](Line& line) {
    // The chart object at the output range's first cell, moved by the
    // offsets (vertically only while that stays above the last row).
    line = 10;
    s.Settings.emplace();
    chartObject = AddChartObject(s);
    SizeChartObject(chartObject, s);

    line = 20;
    SelectChartObject(chartObject);
    chart = chartObject.Chart();
    chart.LetChartType(xl.xlXYScatter);
    chart.LetHasLegend(false);
    ClearSeries(chart);
  });

  // From here on a failure leaves exactly as it arose.
  const auto add_series = [&] {
    chart.SeriesCollection().Add(excel::CurrentApplication().Union(s.XValues, s.YValues), xl.xlColumns, false, true,
                                 false);
    return chart.SeriesCollection(chart.SeriesCollection().Count());
  };
  const excel::Series points = add_series();
  points.LetValues(s.YValues);
  points.LetXValues(s.XValues);

  chart.ChartArea().LetAutoScaleFont(false);
  chart.ChartArea().Interior().LetColor(s.Settings->TitleBackColour());

  points.LetMarkerStyle(xl.xlCircle);
  points.LetMarkerSize(5);
  points.LetMarkerBackgroundColorIndex(kDarkBlueIndex);
  points.LetMarkerForegroundColorIndex(kDarkBlueIndex);
  points.Border().LetLineStyle(xl.xlLineStyleNone);

  chart.PlotArea().Fill().LetVisible(xl.msoFalse);
  chart.PlotArea().Border().LetLineStyle(xl.xlLineStyleNone);

  TitleChart(chart, s.ChartTitle);

  const Long index = chartObject.Index();
  Reposition(s);

  for (const Long type : {xl.xlCategory, xl.xlValue}) {
    const excel::Axis axis = chart.Axes(type, xl.xlPrimary);
    DressAxis(axis, "", {.TickMark = xl.xlTickMarkCross});
    axis.LetTickLabelPosition(xl.xlNone);
    axis.LetMajorUnit(0.5);
    axis.LetCrosses(xl.xlCustom);
    axis.LetCrossesAt(0);
  }

  // The unit circle, its overlapping end segments hidden.
  chart = excel::CurrentApplication().ActiveSheet().ChartObjects(index).Chart();
  auto [sines, cosines] = CircleOutline();
  const excel::Series circle = add_series();
  circle.LetXValues(Variant(std::move(sines)));
  circle.LetValues(Variant(std::move(cosines)));
  circle.LetMarkerStyle(xl.xlMarkerStyleNone);
  circle.LetSmooth(true);
  circle.Border().LetColorIndex(kBlackIndex);
  circle.Border().LetWeight(xl.xlHairline);
  circle.Border().LetLineStyle(xl.xlContinuous);
  circle.Points(15).Border().LetLineStyle(xl.xlNone);
  circle.Points(2).Border().LetLineStyle(xl.xlNone);

  chart = excel::CurrentApplication().ActiveSheet().ChartObjects(index).Chart();
  chart.Axes(xl.xlValue).LetMinimumScale(-kLimit);
  chart.Axes(xl.xlValue).LetMaximumScale(kLimit);
  chart.Axes(xl.xlCategory).LetMinimumScale(-kLimit);
  chart.Axes(xl.xlCategory).LetMaximumScale(kLimit);

  // A square plot area, centred horizontally.
  const excel::PlotArea plot = chart.PlotArea();
  plot.LetWidth(plot.Height());
  plot.LetLeft(chart.ChartArea().Width() / 2 - plot.Width() / 2);

  chart.Axes(xl.xlCategory, xl.xlPrimary).Delete();
  chart.Axes(xl.xlValue, xl.xlPrimary).Delete();
}

}  // namespace orv
