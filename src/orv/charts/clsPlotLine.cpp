#include "orv/charts/clsPlotLine.hpp"

#include "orv/charts/chart_common.hpp"
#include "orv/excel/excel.hpp"
#include "orv/output/clsProperties.hpp"

namespace orv {

using namespace charts_detail;

struct clsPlotLine::State : ChartSettings, AxisTitles {
  excel::Range YValues{Nothing};
  Boolean ShowPoints = false, ShowLines = false;
  Long YMin = 0;
  Boolean YMinSet = false;
  clsProperties Settings;
};

namespace {

constexpr std::string_view kClass = "clsPlotLine";

// Decimals of the value axis labels: at most three.
constexpr Integer kMaxScaleFactor = 1000;

// "0", "0.0", "0.00" or "0.000": the fewest decimals that make the unit
// whole.
std::string UnitFormat(double unit) {
  std::string format = "0";
  Integer k = 1;
  while (true) {
    const double scaled = k * unit;
    if (scaled == Floor(scaled) || k >= kMaxScaleFactor) break;
    k = static_cast<Integer>(10 * k);
    format = "0." + std::to_string(k).substr(1);
  }
  return format;
}

// The title and tick labels of either axis, whole numbers until the value
// axis learns its unit.
void FormatAxis(const excel::Axis& axis, const std::string& title) {
  DressAxis(axis, title, {.TitleSize = 10, .TickMark = Xl().xlTickMarkOutside});
  axis.TickLabels().LetNumberFormat("0");
}

}  // namespace

// --- creation and properties ---------------------------------------------

clsPlotLine::clsPlotLine() : state_(NewState<State>(kClass, 200, 200)) {}
clsPlotLine::clsPlotLine(NothingType) : state_(Nothing) {}

ORV_CHART_SETTINGS(clsPlotLine)
ORV_CHART_AXIS_TITLES(clsPlotLine)
ORV_CHART_RANGE(clsPlotLine, YValues)
ORV_CHART_LET(clsPlotLine, ShowPoints, Boolean)
ORV_CHART_LET(clsPlotLine, ShowLines, Boolean)
void clsPlotLine::LetYMin(Long value) {
  ORV_CHART_MEMBER(Let, YMin);
  Property(kMember, [&] {
    s.YMin = value;
    s.YMinSet = true;
  });
}

// --- drawing ----------------------------------------------------------------

void clsPlotLine::CreatePlot() {
  static constexpr Member kCreatePlot{Rule::Chain, kClass, "CreatePlot"};
  State& s = *state_;
  Guard(kCreatePlot, [&](Line& line) {
    const ExcelConstants& xl = Xl();

    // The chart object at the output range's first cell, moved by the
    // offsets (vertically only while that stays above the last row).
    line = 10;
    excel::ChartObject chartObject = AddChartObject(s);
    SizeChartObject(chartObject, s);

    line = 20;
    SelectChartObject(chartObject);
    excel::Chart chart = chartObject.Chart();

    line = 30;
    chart.LetChartType(xl.xlLineMarkers);
    chart.LetHasLegend(false);
    const excel::SeriesCollection old = chart.SeriesCollection();
    for (Long i = old.Count(); i >= 1; --i) old.Item(i).Delete();

    line = 40;
    chart.SeriesCollection().Add(s.YValues, xl.xlRows, false, false, false);
    chart.SeriesCollection(1).LetValues(s.YValues);

    line = 50;
    chart.ChartArea().LetAutoScaleFont(false);
    chart.ChartArea().Interior().LetColor(s.Settings.TitleBackColour());

    line = 60;
    const excel::Series values = chart.SeriesCollection(1);
    values.LetMarkerStyle(xl.xlCircle);
    values.LetMarkerSize(3);
    values.Border().LetWeight(xl.xlThin);
    values.Border().LetLineStyle(xl.xlContinuous);

    line = 70;
    chart.PlotArea().Fill().LetVisible(xl.msoFalse);
    chart.PlotArea().Border().LetLineStyle(xl.xlLineStyleNone);

    line = 80;
    TitleChart(chart, s.ChartTitle);

    line = 90;
    const Long index = chartObject.Index();
    chartObject = excel::CurrentApplication().ActiveSheet().ChartObjects(index);
    chart = chartObject.Chart();
    Reposition(s);

    line = 100;
    const excel::Axis categories = chart.Axes(xl.xlCategory, xl.xlPrimary);
    FormatAxis(categories, s.XAxisTitle);
    categories.LetAxisBetweenCategories(false);

    line = 110;
    const excel::Axis axis = chart.Axes(xl.xlValue, xl.xlPrimary);
    FormatAxis(axis, s.YAxisTitle);
    axis.LetCrosses(xl.xlCustom);
    axis.LetCrossesAt(axis.MinimumScale());
    if (s.YMinSet) axis.LetMinimumScale(s.YMin);

    line = 120;
    axis.TickLabels().LetNumberFormat(UnitFormat(axis.MajorUnit()));
  });
}

}  // namespace orv
