#include "orv/charts/clsPlotHistogram.hpp"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "orv/charts/chart_common.hpp"
#include "orv/excel/excel.hpp"
#include "orv/output/clsProperties.hpp"

namespace orv {

using namespace charts_detail;

struct clsPlotHistogram::State : ChartSettings, AxisTitles {
  excel::Range HeadersRange{Nothing}, XValuesRange{Nothing}, XValuesSecondRange{Nothing};
  excel::Range YValuesRange{Nothing}, YValuesSecondRange{Nothing};
  std::string YAxisSecondTitle;
  ORVHistogramDataType DataType = ORVHistogramNumerical;
  clsProperties Settings;
};

namespace {

constexpr std::string_view kClass = "clsPlotHistogram";

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

// An axis title as the histogram shows it: "" and " " give none.
std::string Shown(const std::string& title) { return title == " " ? std::string() : title; }

// The histogram's axes: plain titles in 9 points, fonts that scale with the
// chart, gridlines switched off on request.
AxisLook Look(Long tickMark, bool noGridlines) {
  return {.TitleSize = 9, .TickMark = tickMark, .FixedFonts = false, .NoGridlines = noGridlines};
}

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

}  // namespace

// --- creation and properties ---------------------------------------------

clsPlotHistogram::clsPlotHistogram() : state_(NewState<State>(kClass, 0, 200)) {}
clsPlotHistogram::clsPlotHistogram(NothingType) : state_(Nothing) {}

ORV_CHART_LET(clsPlotHistogram, DataType, ORVHistogramDataType)
ORV_CHART_SETTINGS(clsPlotHistogram)
ORV_CHART_AXIS_TITLES(clsPlotHistogram)
ORV_CHART_VALUE(clsPlotHistogram, std::string, YAxisSecondTitle, const std::string&)
ORV_CHART_RANGE(clsPlotHistogram, HeadersRange)
ORV_CHART_RANGE(clsPlotHistogram, XValuesRange)
ORV_CHART_RANGE(clsPlotHistogram, XValuesSecondRange)
ORV_CHART_RANGE(clsPlotHistogram, YValuesRange)
ORV_CHART_RANGE(clsPlotHistogram, YValuesSecondRange)

// --- drawing ----------------------------------------------------------------

namespace {

// The chart object at the output range's first cell (moved by the offsets),
// as wide as asked or perBin points a bin plus 50 (100 more with a second
// value range) but at most 1000, selected and emptied of series; its
// failures follow the chain rule of the builder that calls. Then the
// columns: the frequencies over the bins.
std::pair<excel::ChartObject, excel::Chart> StartChart(clsPlotHistogram::State& s,
                                                       std::string_view builder, Long perBin) {
  excel::ChartObject chartObject;
  excel::Chart chart;
  Guard(Member{Rule::Chain, kClass, builder}, [&](Line& line) {
    line = 10;
    chartObject = AddChartObject(s);
    line = 20;
    if (s.ChartWidth == 0) {
      const Long bins = s.XValuesRange.Rows().Count();
      s.ChartWidth = perBin * bins + (s.YValuesSecondRange.IsNothing() ? 50 : 100);
    }
    if (s.ChartWidth > kMaxWidth) s.ChartWidth = kMaxWidth;
    SizeChartObject(chartObject, s);
    line = 30;
    SelectChartObject(chartObject);
    chart = chartObject.Chart();
    ClearSeries(chart);
  });

  // From here on a failure leaves as it arose, for CreatePlot to report.
  const ExcelConstants& xl = Xl();
  chart.LetChartType(kColumnClustered);
  chart.SeriesCollection().Add(excel::CurrentApplication().Union(s.XValuesRange, s.YValuesRange), xl.xlColumns, false,
                               true, false);
  const excel::Series columns = chart.SeriesCollection(1);
  columns.Border().LetLineStyle(xl.xlContinuous);
  columns.Border().LetWeight(xl.xlHairline);
  columns.Border().LetColor(kBlack);
  columns.Interior().LetColor(kColumnColour);
  return {chartObject, chart};
}

// The second series, on the secondary axes, with the given chart type.
excel::Series AddSecond(const excel::Chart& chart, const excel::Range& x, const excel::Range& y,
                        Long chartType) {
  const ExcelConstants& xl = Xl();
  chart.SeriesCollection().Add(excel::CurrentApplication().Union(x, y), xl.xlColumns, false, true, false);
  const excel::Series line = chart.SeriesCollection(2);
  line.LetAxisGroup(xl.xlSecondary);
  line.LetChartType(chartType);
  return line;
}

// Fonts and colour of the chart area, the title (one blank when there is
// none), the plot area moved up and widened to centre it, no legend,
// columns without gaps; the chart placed and its primary category axis
// shown. Returns the chart object's index.
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
  const Long index = chartObject.Index();
  Reposition(s);
  chart.LetHasAxis(xl.xlCategory, xl.xlPrimary, true);
  return index;
}

// The title of the primary category axis placed below the plot area.
void PlaceCategoryTitle(const excel::Chart& chart, const excel::Axis& axis) {
  if (!axis.HasTitle()) return;
  const excel::PlotArea plot = chart.PlotArea();
  axis.AxisTitle().LetTop(plot.Top() + plot.Height() + 30);
}

// The frequency axis.
void PrimaryValueAxis(const clsPlotHistogram::State& s, const excel::Chart& chart) {
  const ExcelConstants& xl = Xl();
  const excel::Axis axis = chart.Axes(xl.xlValue, xl.xlPrimary);
  DressAxis(axis, Shown(s.YAxisTitle), Look(xl.xlTickMarkOutside, true));
  axis.TickLabels().LetNumberFormat(ScaleFormat(axis));
}

// The secondary value axis, hidden unless a second value range gives it
// something to show.
void SecondaryValueAxis(const clsPlotHistogram::State& s, const excel::Chart& chart) {
  const ExcelConstants& xl = Xl();
  const bool second = !s.YValuesSecondRange.IsNothing();
  chart.LetHasAxis(xl.xlValue, xl.xlSecondary, true);
  const excel::Axis axis = chart.Axes(xl.xlValue, xl.xlSecondary);
  axis.LetCrosses(kCrossesSecondary);
  AxisLook look = Look(xl.xlTickMarkOutside, false);
  look.TitleOrientation = -90;
  DressAxis(axis, second ? Shown(s.YAxisSecondTitle) : "", look);
  axis.TickLabels().LetNumberFormat(ScaleFormat(axis));
  if (!second) {
    axis.Border().LetLineStyle(xl.xlNone);
    axis.LetTickLabelPosition(kTickLabelsNone);
  }
}

// The title size again, then the chart fetched again from the active sheet
// and the plot area moved to 20 points from the top (its height set too for
// a categorical chart), the category axis title following it; failures of
// this last layout are ignored.
void FinalLayout(const clsPlotHistogram::State& s, excel::Chart chart, Long index, bool setHeight) {
  const ExcelConstants& xl = Xl();
  if (!s.ChartTitle.empty()) chart.ChartTitle().Font().LetSize(10);
  ResumeNext([&] { chart = excel::CurrentApplication().ActiveSheet().ChartObjects(index).Chart(); });
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
  static constexpr Member kCreatePlot{Rule::Chain, kClass, "CreatePlot"};
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
  const auto [chartObject, chart] = StartChart(s, "CreateNumericalPlot", 25);
  const ExcelConstants& xl = Xl();

  // The second series, an XY line over the bins as numbers: the second
  // values, or the frequencies drawn invisibly.
  const bool second = !s.YValuesSecondRange.IsNothing();
  const excel::Series line = AddSecond(
      chart, s.XValuesSecondRange, second ? s.YValuesSecondRange : s.YValuesRange, xl.xlXYScatter);
  line.LetMarkerStyle(xl.xlMarkerStyleNone);
  if (!second) {
    line.Border().LetLineStyle(xl.xlLineStyleNone);
  } else {
    line.Border().LetLineStyle(xl.xlContinuous);
    line.Border().LetWeight(xl.xlThin);
  }

  // The primary category axis carries only its title; the bins are read
  // off the secondary one.
  const Long index = LayOut(s, chartObject, chart);
  const excel::Axis categories = chart.Axes(xl.xlCategory, xl.xlPrimary);
  categories.LetTickLabelPosition(kTickLabelsNone);
  TitleAxis(categories, Shown(s.XAxisTitle), Look(xl.xlTickMarkOutside, false));
  PlaceCategoryTitle(chart, categories);

  // The numeric bin scale: from the first bin, one bin width per tick, up
  // to one bin width past the last.
  chart.LetHasAxis(xl.xlCategory, xl.xlSecondary, true);
  const excel::Axis bins = chart.Axes(xl.xlCategory, xl.xlSecondary);
  bins.LetCrosses(kCrossesSecondary);
  DressAxis(bins, "", Look(xl.xlNone, false));
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
  const auto [chartObject, chart] = StartChart(s, "CreateCategoricalPlot", 50);
  const ExcelConstants& xl = Xl();

  // The second values as a line over the same categories.
  const bool second = !s.YValuesSecondRange.IsNothing();
  if (second) {
    const excel::Series line = AddSecond(chart, s.XValuesRange, s.YValuesSecondRange, kLine);
    line.Border().LetLineStyle(xl.xlContinuous);
    line.Border().LetWeight(xl.xlThin);
  }

  const Long index = LayOut(s, chartObject, chart);
  const excel::Axis categories = chart.Axes(xl.xlCategory, xl.xlPrimary);
  DressAxis(categories, Shown(s.XAxisTitle), Look(xl.xlTickMarkOutside, true));
  PlaceCategoryTitle(chart, categories);

  PrimaryValueAxis(s, chart);
  if (second) SecondaryValueAxis(s, chart);
  FinalLayout(s, chart, index, true);
}

}  // namespace orv
