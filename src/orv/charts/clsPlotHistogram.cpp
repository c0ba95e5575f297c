#include "orv/charts/clsPlotHistogram.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "orv/charts/chart_common.hpp"
#include "orv/excel/excel.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/output/clsProperties.hpp"

namespace orv {

using namespace charts_detail;

struct clsPlotHistogram::State {
  excel::Range HeadersRange{Nothing}, XValuesRange{Nothing}, XValuesSecondRange{Nothing};
  excel::Range YValuesRange{Nothing}, YValuesSecondRange{Nothing}, OutputRange{Nothing};
  std::string ChartTitle, XAxisTitle, YAxisTitle, YAxisSecondTitle;
  Long VerticalOffset = 0, HorizontalOffset = 0;
  Long ChartWidth = 0, ChartHeight = 0;
  ORVHistogramDataType DataType = ORVHistogramNumerical;
  clsProperties Settings;
};

namespace {

constexpr std::string_view kClass = "clsPlotHistogram";

constexpr Member kClassInitialize{Rule::Stamp, kClass, "Class_Initialize"};
constexpr Member kCreatePlot{Rule::Chain, kClass, "CreatePlot"};
constexpr Member kCreateNumericalPlot{Rule::Chain, kClass, "CreateNumericalPlot"};
constexpr Member kCreateCategoricalPlot{Rule::Chain, kClass, "CreateCategoricalPlot"};

ORV_CHART_MEMBER(Let, DataType)
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
ORV_CHART_MEMBER(Get, XAxisTitle)
ORV_CHART_MEMBER(Let, XAxisTitle)
ORV_CHART_MEMBER(Get, YAxisTitle)
ORV_CHART_MEMBER(Let, YAxisTitle)
ORV_CHART_MEMBER(Get, YAxisSecondTitle)
ORV_CHART_MEMBER(Let, YAxisSecondTitle)
ORV_CHART_MEMBER(Set, OutputRange)
ORV_CHART_MEMBER(Set, HeadersRange)
ORV_CHART_MEMBER(Set, XValuesRange)
ORV_CHART_MEMBER(Set, XValuesSecondRange)
ORV_CHART_MEMBER(Set, YValuesRange)
ORV_CHART_MEMBER(Set, YValuesSecondRange)

// The widest chart the bins may ask for.
constexpr Long kMaxWidth = 1000;
// Clustered columns, the line chart type of a categorical second series,
// the tick-label positions "none" and "low", the axis crossing of the
// secondary axes, the column colour (red 153, green 153, blue 255).
constexpr Long kColumnClustered = 51;
constexpr Long kLine = 4;
constexpr Long kTickLabelsNone = -4142;
constexpr Long kTickLabelsLow = -4134;
constexpr Long kCrossesSecondary = 2;
constexpr Long kColumnColour = 16751001;
constexpr Long kBlack = 0;
constexpr int kMaxFormatDecimals = 7;

bool NoTitle(const std::string& title) { return title.empty() || title == " "; }

// A bin limit rounded to 4 decimals as a fixed-point currency amount, in
// ten-thousandths; beyond the currency range the conversion overflows.
double CurrencyValue(std::int64_t scaled) { return static_cast<double>(scaled) / 10000.0; }

// The tick-label format of an axis just scaled: as many decimals as its
// unit needs (up to 7), at least as many as the text of its minimum shows.
std::string ScaleFormat(const excel::Axis& axis) {
  std::string z;
  double u = axis.MajorUnit();
  while (u != Floor(u) && z.size() < kMaxFormatDecimals) {
    u = 10 * u;
    z += '0';
  }
  const std::string minimum = CStr(axis.MinimumScale());
  const std::size_t point = minimum.find('.');
  if (point != std::string::npos) {
    const std::size_t decimals = minimum.size() - point - 1;
    while (z.size() < decimals && z.size() < kMaxFormatDecimals) z += '0';
  }
  return z.empty() ? "0" : "0." + z;
}

// An axis title in the histogram's style, or none for "" and " ".
void TitleAxis(const excel::Axis& axis, const std::string& title) {
  if (NoTitle(title)) {
    axis.LetHasTitle(false);
  } else {
    axis.LetHasTitle(true);
    axis.AxisTitle().LetText(title);
    axis.AxisTitle().Font().LetSize(9);
    axis.AxisTitle().Font().LetBold(false);
  }
}

}  // namespace

// --- creation and properties ---------------------------------------------

clsPlotHistogram::clsPlotHistogram() : state_(Nothing) {
  Guard(kClassInitialize, [&](Line& line) {
    line = 10;
    state_ = Ref<State>();
    line = 20;
    state_->ChartWidth = 0;
    state_->ChartHeight = 200;
  });
}

clsPlotHistogram::clsPlotHistogram(NothingType) : state_(Nothing) {}

void clsPlotHistogram::LetDataType(ORVHistogramDataType value) {
  State& s = *state_;
  Property(kLetDataType, [&] { s.DataType = value; });
}

ORV_CHART_VALUE(clsPlotHistogram, Long, VerticalOffset, Long)
ORV_CHART_VALUE(clsPlotHistogram, Long, HorizontalOffset, Long)
ORV_CHART_VALUE(clsPlotHistogram, Long, ChartHeight, Long)
ORV_CHART_VALUE(clsPlotHistogram, Long, ChartWidth, Long)
ORV_CHART_VALUE(clsPlotHistogram, std::string, ChartTitle, const std::string&)
ORV_CHART_VALUE(clsPlotHistogram, std::string, XAxisTitle, const std::string&)
ORV_CHART_VALUE(clsPlotHistogram, std::string, YAxisTitle, const std::string&)
ORV_CHART_VALUE(clsPlotHistogram, std::string, YAxisSecondTitle, const std::string&)

ORV_CHART_RANGE(clsPlotHistogram, OutputRange)
ORV_CHART_RANGE(clsPlotHistogram, HeadersRange)
ORV_CHART_RANGE(clsPlotHistogram, XValuesRange)
ORV_CHART_RANGE(clsPlotHistogram, XValuesSecondRange)
ORV_CHART_RANGE(clsPlotHistogram, YValuesRange)
ORV_CHART_RANGE(clsPlotHistogram, YValuesSecondRange)

// --- drawing ----------------------------------------------------------------

namespace {

// Step 1: a new chart object at the output range's first cell, moved by the
// offsets (vertically only while that stays above the sheet's last row).
excel::ChartObject AddChartObject(const clsPlotHistogram::State& s) {
  return charts_detail::AddChartObject(s.OutputRange, s.VerticalOffset, s.HorizontalOffset,
                                       s.ChartWidth, s.ChartHeight);
}

// Step 2: the width from the bins when none was given (perBin points a bin
// plus 50, 100 more with a second value range), at most 1000; the chart
// object takes the height and width.
void SizeChart(clsPlotHistogram::State& s, const excel::ChartObject& chart, Long perBin) {
  if (s.ChartWidth == 0) {
    const Long bins = s.XValuesRange.Rows().Count();
    s.ChartWidth = perBin * bins + (s.YValuesSecondRange.IsNothing() ? 50 : 100);
  }
  if (s.ChartWidth > kMaxWidth) s.ChartWidth = kMaxWidth;
  chart.LetHeight(s.ChartHeight);
  chart.LetWidth(s.ChartWidth);
}

// Step 3: the chart object selected with screen updating off, its chart,
// emptied of series (failures there ignored).
excel::Chart OpenChart(const excel::ChartObject& chartObject) {
  App().LetScreenUpdating(false);
  chartObject.Select();
  excel::Chart chart = chartObject.Chart();
  ResumeNext([&] {
    const excel::SeriesCollection series = chart.SeriesCollection();
    for (Long i = series.Count(); i >= 1; --i) ResumeNext([&] { series.Item(i).Delete(); });
  });
  return chart;
}

// Step 5: the frequencies as columns over the bins.
void AddColumns(const clsPlotHistogram::State& s, const excel::Chart& chart) {
  const ExcelConstants& xl = Xl();
  chart.SeriesCollection().Add(App().Union(s.XValuesRange, s.YValuesRange), xl.xlColumns, false,
                               true, false);
  const excel::Series columns = chart.SeriesCollection(1);
  columns.Border().LetLineStyle(xl.xlContinuous);
  columns.Border().LetWeight(xl.xlHairline);
  columns.Border().LetColor(kBlack);
  columns.Interior().LetColor(kColumnColour);
}

// Steps 7 and 8: fonts and colour of the chart area, the title (one blank
// when there is none), the plot area moved up and widened to centre it, no
// legend, columns without gaps. Returns the chart object's index.
Long LayOut(const clsPlotHistogram::State& s, const excel::ChartObject& chartObject,
            const excel::Chart& chart) {
  const ExcelConstants& xl = Xl();
  const excel::ChartArea area = chart.ChartArea();
  area.LetAutoScaleFont(false);
  area.Font().LetName("Arial");
  area.Interior().LetColor(s.Settings.TitleBackColour());
  chart.LetHasTitle(true);
  chart.ChartTitle().LetText(s.ChartTitle.empty() ? " " : s.ChartTitle);
  chart.ChartTitle().Font().LetSize(10);
  chart.ChartTitle().Font().LetBold(true);

  const excel::PlotArea plot = chart.PlotArea();
  plot.Fill().LetVisible(xl.msoFalse);
  plot.Border().LetLineStyle(xl.xlLineStyleNone);
  plot.LetTop(plot.Top() / 2);
  plot.LetHeight(plot.Height() + plot.Top());
  plot.LetWidth(area.Width() - 2 * plot.Left());
  chart.LetHasLegend(false);
  chart.ChartGroups(1).LetGapWidth(0);
  return chartObject.Index();
}

// Step 10's title of the primary category axis, placed below the plot
// area.
void TitleCategoryAxis(const clsPlotHistogram::State& s, const excel::Chart& chart,
                       const excel::Axis& axis) {
  TitleAxis(axis, s.XAxisTitle);
  if (!NoTitle(s.XAxisTitle)) {
    const excel::PlotArea plot = chart.PlotArea();
    axis.AxisTitle().LetTop(plot.Top() + plot.Height() + 30);
  }
}

// Step 12: the frequency axis.
void PrimaryValueAxis(const clsPlotHistogram::State& s, const excel::Chart& chart) {
  const ExcelConstants& xl = Xl();
  const excel::Axis axis = chart.Axes(xl.xlValue, xl.xlPrimary);
  TitleAxis(axis, s.YAxisTitle);
  axis.TickLabels().Font().LetSize(8);
  axis.LetHasMajorGridlines(false);
  axis.LetHasMinorGridlines(false);
  axis.LetMajorTickMark(xl.xlTickMarkOutside);
  axis.TickLabels().LetNumberFormat(ScaleFormat(axis));
}

// Step 13: the secondary value axis, hidden unless a second value range
// gives it something to show.
void SecondaryValueAxis(const clsPlotHistogram::State& s, const excel::Chart& chart) {
  const ExcelConstants& xl = Xl();
  const bool second = !s.YValuesSecondRange.IsNothing();
  chart.LetHasAxis(xl.xlValue, xl.xlSecondary, true);
  const excel::Axis axis = chart.Axes(xl.xlValue, xl.xlSecondary);
  axis.LetCrosses(kCrossesSecondary);
  if (NoTitle(s.YAxisSecondTitle) || !second) {
    axis.LetHasTitle(false);
  } else {
    axis.LetHasTitle(true);
    axis.AxisTitle().LetText(s.YAxisSecondTitle);
    axis.AxisTitle().Font().LetSize(9);
    axis.AxisTitle().Font().LetBold(false);
    axis.AxisTitle().LetOrientation(-90);
  }
  axis.TickLabels().Font().LetSize(8);
  axis.LetMajorTickMark(xl.xlTickMarkOutside);
  axis.TickLabels().LetNumberFormat(ScaleFormat(axis));
  if (!second) {
    axis.Border().LetLineStyle(xl.xlNone);
    axis.LetTickLabelPosition(kTickLabelsNone);
  }
}

void Reposition(const clsPlotHistogram::State& s) {
  clsMain().RepositionChart("obsolete", s.ChartHeight, s.ChartWidth, s.HorizontalOffset,
                            s.VerticalOffset, s.OutputRange);
}

// Step 14's title size, then the chart fetched again from the active sheet
// and the plot area moved to 20 points from the top (its height set too for
// a categorical chart), the category axis title following it; failures of
// this last layout are ignored.
void FinalLayout(const clsPlotHistogram::State& s, excel::Chart chart, Long index, bool setHeight) {
  const ExcelConstants& xl = Xl();
  if (!s.ChartTitle.empty()) chart.ChartTitle().Font().LetSize(10);
  ResumeNext([&] { chart = App().ActiveSheet().ChartObjects(index).Chart(); });
  ResumeNext([&] { chart.PlotArea().LetTop(20); });
  if (setHeight) {
    ResumeNext([&] {
      const double gap = chart.Axes(xl.xlCategory, xl.xlPrimary).HasTitle() ? 20 : 10;
      chart.PlotArea().LetHeight(chart.ChartArea().Height() - (20 + gap));
    });
  }
  ResumeNext([&] {
    const excel::Axis axis = chart.Axes(xl.xlCategory, xl.xlPrimary);
    if (axis.HasTitle()) axis.AxisTitle().LetTop(axis.Top() + 20);
  });
}

}  // namespace

void clsPlotHistogram::CreatePlot() {
  State& s = *state_;
  Guard(kCreatePlot, [&](Line& line) {
    line = 10;
    if (s.DataType != ORVHistogramNumerical) {
      line = 20;
      CreateCategoricalPlot(s);
    } else {
      line = 30;
      CreateNumericalPlot(s);
    }
  });
}

void clsPlotHistogram::CreateNumericalPlot(State& s) const {
  excel::ChartObject chartObject;
  excel::Chart chart;
  Guard(kCreateNumericalPlot, [&](Line& line) {
    line = 10;
    chartObject = AddChartObject(s);
    line = 20;
    SizeChart(s, chartObject, 25);
    line = 30;
    chart = OpenChart(chartObject);
  });

  // From here on a failure leaves as it arose, for CreatePlot to report.
  const ExcelConstants& xl = Xl();
  chart.LetChartType(kColumnClustered);
  AddColumns(s, chart);

  // The second series on the secondary axes, an XY line over the bins as
  // numbers: the second values, or the frequencies drawn invisibly.
  const bool second = !s.YValuesSecondRange.IsNothing();
  chart.SeriesCollection().Add(
      App().Union(s.XValuesSecondRange, second ? s.YValuesSecondRange : s.YValuesRange),
      xl.xlColumns, false, true, false);
  const excel::Series line = chart.SeriesCollection(2);
  line.LetAxisGroup(xl.xlSecondary);
  line.LetChartType(xl.xlXYScatter);
  line.LetMarkerStyle(xl.xlMarkerStyleNone);
  if (!second) {
    line.Border().LetLineStyle(xl.xlLineStyleNone);
  } else {
    line.Border().LetLineStyle(xl.xlContinuous);
    line.Border().LetWeight(xl.xlThin);
  }

  const Long index = LayOut(s, chartObject, chart);
  Reposition(s);

  // The primary category axis carries only its title; the bins are read
  // off the secondary one.
  chart.LetHasAxis(xl.xlCategory, xl.xlPrimary, true);
  const excel::Axis categories = chart.Axes(xl.xlCategory, xl.xlPrimary);
  categories.LetTickLabelPosition(kTickLabelsNone);
  TitleCategoryAxis(s, chart, categories);

  // The numeric bin scale: from the first bin, one bin width per tick, up
  // to one bin width past the last.
  chart.LetHasAxis(xl.xlCategory, xl.xlSecondary, true);
  const excel::Axis bins = chart.Axes(xl.xlCategory, xl.xlSecondary);
  bins.LetHasTitle(false);
  bins.LetCrosses(kCrossesSecondary);
  bins.TickLabels().Font().LetSize(8);
  bins.LetMajorTickMark(xl.xlNone);
  bins.Border().LetLineStyle(0);
  bins.LetTickLabelPosition(kTickLabelsLow);
  const Long n = s.XValuesRange.Rows().Count();
  std::vector<std::int64_t> b(static_cast<std::size_t>(std::max<Long>(n, 0)) + 1);
  for (Long i = 1; i <= n; ++i) b[i] = CCur(s.XValuesRange.Cells(i, 1).Value()).scaled;
  bins.LetMinimumScale(CurrencyValue(b.at(1)));
  if (n > 1) {
    bins.LetMajorUnit(CurrencyValue(b[n] - b[n - 1]));
    bins.LetMaximumScale(CurrencyValue(b[n]) + bins.MajorUnit());
  }
  bins.TickLabels().LetNumberFormat(ScaleFormat(bins));

  PrimaryValueAxis(s, chart);
  SecondaryValueAxis(s, chart);
  FinalLayout(s, chart, index, false);
}

void clsPlotHistogram::CreateCategoricalPlot(State& s) const {
  excel::ChartObject chartObject;
  excel::Chart chart;
  Guard(kCreateCategoricalPlot, [&](Line& line) {
    line = 10;
    chartObject = AddChartObject(s);
    line = 20;
    SizeChart(s, chartObject, 50);
    line = 30;
    chart = OpenChart(chartObject);
  });

  // From here on a failure leaves as it arose, for CreatePlot to report.
  const ExcelConstants& xl = Xl();
  chart.LetChartType(kColumnClustered);
  AddColumns(s, chart);

  // The second values as a line over the same categories.
  const bool second = !s.YValuesSecondRange.IsNothing();
  if (second) {
    chart.SeriesCollection().Add(App().Union(s.XValuesRange, s.YValuesSecondRange), xl.xlColumns,
                                 false, true, false);
    const excel::Series line = chart.SeriesCollection(2);
    line.LetAxisGroup(xl.xlSecondary);
    line.LetChartType(kLine);
    line.Border().LetLineStyle(xl.xlContinuous);
    line.Border().LetWeight(xl.xlThin);
  }

  const Long index = LayOut(s, chartObject, chart);
  Reposition(s);

  chart.LetHasAxis(xl.xlCategory, xl.xlPrimary, true);
  const excel::Axis categories = chart.Axes(xl.xlCategory, xl.xlPrimary);
  TitleCategoryAxis(s, chart, categories);
  categories.TickLabels().Font().LetSize(8);
  categories.LetHasMajorGridlines(false);
  categories.LetHasMinorGridlines(false);
  categories.LetMajorTickMark(xl.xlTickMarkOutside);

  PrimaryValueAxis(s, chart);
  if (second) SecondaryValueAxis(s, chart);
  FinalLayout(s, chart, index, true);
}

}  // namespace orv
