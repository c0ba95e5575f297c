#include "orv/charts/clsPlotLine.hpp"

#include "orv/charts/chart_common.hpp"
#include "orv/excel/excel.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/output/clsProperties.hpp"

namespace orv {

using namespace charts_detail;

struct clsPlotLine::State {
  excel::Range YValues{Nothing}, OutputRange{Nothing};
  std::string ChartTitle, XAxisTitle, YAxisTitle;
  Long VerticalOffset = 0, HorizontalOffset = 0;
  Long ChartWidth = 0, ChartHeight = 0;
  Boolean ShowPoints = false, ShowLines = false;
  Long YMin = 0;
  Boolean YMinSet = false;
  clsProperties Settings;
};

namespace {

constexpr std::string_view kClass = "clsPlotLine";

constexpr Member kClassInitialize{Rule::Stamp, kClass, "Class_Initialize"};
constexpr Member kCreatePlot{Rule::Chain, kClass, "CreatePlot"};

ORV_CHART_MEMBER(Get, VerticalOffset)
ORV_CHART_MEMBER(Let, VerticalOffset)
ORV_CHART_MEMBER(Get, HorizontalOffset)
ORV_CHART_MEMBER(Let, HorizontalOffset)
ORV_CHART_MEMBER(Get, ChartHeight)
ORV_CHART_MEMBER(Let, ChartHeight)
ORV_CHART_MEMBER(Get, ChartWidth)
ORV_CHART_MEMBER(Let, ChartWidth)
ORV_CHART_MEMBER(Get, ChartTitle)
ORV_CHART_MEMBER(Let, ChartTitle)
ORV_CHART_MEMBER(Get, YAxisTitle)
ORV_CHART_MEMBER(Let, YAxisTitle)
ORV_CHART_MEMBER(Get, XAxisTitle)
ORV_CHART_MEMBER(Let, XAxisTitle)
ORV_CHART_MEMBER(Set, OutputRange)
ORV_CHART_MEMBER(Set, YValues)
ORV_CHART_MEMBER(Let, ShowPoints)
ORV_CHART_MEMBER(Let, ShowLines)
ORV_CHART_MEMBER(Let, YMin)

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

// The title and tick-label settings both axes share.
void FormatAxis(const excel::Axis& axis, const std::string& title) {
  const ExcelConstants& xl = Xl();
  if (title.empty()) {
    axis.LetHasTitle(false);
  } else {
    axis.LetHasTitle(true);
    axis.AxisTitle().LetAutoScaleFont(false);
    axis.AxisTitle().LetText(title);
    axis.AxisTitle().Font().LetSize(10);
    axis.AxisTitle().Font().LetBold(false);
  }
  axis.TickLabels().LetAutoScaleFont(false);
  axis.TickLabels().Font().LetSize(8);
  axis.LetHasMajorGridlines(false);
  axis.LetHasMinorGridlines(false);
  axis.LetMajorTickMark(xl.xlTickMarkOutside);
  axis.TickLabels().LetNumberFormat("0");
}

}  // namespace

// --- creation and properties ---------------------------------------------

clsPlotLine::clsPlotLine() : state_(Nothing) {
  Guard(kClassInitialize, [&](Line& line) {
    line = 10;
    state_ = Ref<State>();
    line = 20;
    state_->ChartWidth = 200;
    state_->ChartHeight = 200;
  });
}

clsPlotLine::clsPlotLine(NothingType) : state_(Nothing) {}

ORV_CHART_VALUE(clsPlotLine, Long, VerticalOffset, Long)
ORV_CHART_VALUE(clsPlotLine, Long, HorizontalOffset, Long)
ORV_CHART_VALUE(clsPlotLine, Long, ChartHeight, Long)
ORV_CHART_VALUE(clsPlotLine, Long, ChartWidth, Long)
ORV_CHART_VALUE(clsPlotLine, std::string, ChartTitle, const std::string&)
ORV_CHART_VALUE(clsPlotLine, std::string, YAxisTitle, const std::string&)
ORV_CHART_VALUE(clsPlotLine, std::string, XAxisTitle, const std::string&)

ORV_CHART_RANGE(clsPlotLine, OutputRange)
ORV_CHART_RANGE(clsPlotLine, YValues)
void clsPlotLine::LetShowPoints(Boolean value) {
  State& s = *state_;
  Property(kLetShowPoints, [&] { s.ShowPoints = value; });
}
void clsPlotLine::LetShowLines(Boolean value) {
  State& s = *state_;
  Property(kLetShowLines, [&] { s.ShowLines = value; });
}
void clsPlotLine::LetYMin(Long value) {
  State& s = *state_;
  Property(kLetYMin, [&] {
    s.YMin = value;
    s.YMinSet = true;
  });
}

// --- drawing ----------------------------------------------------------------

void clsPlotLine::CreatePlot() {
  State& s = *state_;
  Guard(kCreatePlot, [&](Line& line) {
    const ExcelConstants& xl = Xl();

    // The chart object at the output range's first cell, moved by the
    // offsets (vertically only while that stays above the last row).
    line = 10;
    excel::ChartObject chartObject = AddChartObject(
        s.OutputRange, s.VerticalOffset, s.HorizontalOffset, s.ChartWidth, s.ChartHeight);
    chartObject.LetHeight(s.ChartHeight);
    chartObject.LetWidth(s.ChartWidth);

    line = 20;
    App().LetScreenUpdating(false);
    chartObject.Select();
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
    chartObject = App().ActiveSheet().ChartObjects(index);
    chart = chartObject.Chart();
    clsMain().RepositionChart("obsolete", s.ChartHeight, s.ChartWidth, s.HorizontalOffset,
                              s.VerticalOffset, s.OutputRange);

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
