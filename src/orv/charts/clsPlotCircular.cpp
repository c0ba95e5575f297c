#include "orv/charts/clsPlotCircular.hpp"

#include <cmath>
#include <optional>
#include <utility>

#include "orv/excel/excel.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/output/clsProperties.hpp"

namespace orv {

struct clsPlotCircular::State {
  excel::Range XValues{Nothing}, YValues{Nothing}, OutputRange{Nothing};
  std::string ChartTitle;
  Long VerticalOffset = 0, HorizontalOffset = 0;
  Long ChartWidth = 0, ChartHeight = 0;
  // Created by CreatePlot.
  std::optional<clsProperties> Settings;
};

namespace {

constexpr std::string_view kClass = "clsPlotCircular";

constexpr Member kClassInitialize{Rule::Stamp, kClass, "Class_Initialize"};
constexpr Member kCreatePlot{Rule::Chain, kClass, "CreatePlot"};

#define ORV_CIRCULAR_MEMBER(Kind, Name) \
  constexpr Member k##Kind##Name{Rule::Stamp, kClass, #Kind #Name};
ORV_CIRCULAR_MEMBER(Get, VerticalOffset)
ORV_CIRCULAR_MEMBER(Let, VerticalOffset)
ORV_CIRCULAR_MEMBER(Get, HorizontalOffset)
ORV_CIRCULAR_MEMBER(Let, HorizontalOffset)
ORV_CIRCULAR_MEMBER(Get, ChartHeight)
ORV_CIRCULAR_MEMBER(Let, ChartHeight)
ORV_CIRCULAR_MEMBER(Get, ChartWidth)
ORV_CIRCULAR_MEMBER(Let, ChartWidth)
ORV_CIRCULAR_MEMBER(Get, ChartTitle)
ORV_CIRCULAR_MEMBER(Let, ChartTitle)
ORV_CIRCULAR_MEMBER(Set, OutputRange)
ORV_CIRCULAR_MEMBER(Set, XValues)
ORV_CIRCULAR_MEMBER(Set, YValues)
#undef ORV_CIRCULAR_MEMBER

// A property procedure: one labelled statement under the stamp rule.
template <class Body>
decltype(auto) Property(const Member& member, Body&& body) {
  return Guard(member, [&](Line& line) {
    line = 10;
    return body();
  });
}

const ExcelConstants& Xl() { return Shared().Constants; }
excel::Application App() { return excel::Application::FromObject(Shared().ExcelApplication); }

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

clsPlotCircular::clsPlotCircular() : state_(Nothing) {
  Guard(kClassInitialize, [&](Line& line) {
    line = 10;
    state_ = Ref<State>();
    line = 20;
    state_->ChartWidth = 200;
    state_->ChartHeight = 200;
  });
}

clsPlotCircular::clsPlotCircular(NothingType) : state_(Nothing) {}

#define ORV_CIRCULAR_VALUE(Type, Name, Param)                      \
  Type clsPlotCircular::Name() const {                             \
    const State& s = *state_;                                      \
    return Property(kGet##Name, [&]() -> Type { return s.Name; }); \
  }                                                                \
  void clsPlotCircular::Let##Name(Param value) {                   \
    State& s = *state_;                                            \
    Property(kLet##Name, [&] { s.Name = value; });                 \
  }
ORV_CIRCULAR_VALUE(Long, VerticalOffset, Long)
ORV_CIRCULAR_VALUE(Long, HorizontalOffset, Long)
ORV_CIRCULAR_VALUE(Long, ChartHeight, Long)
ORV_CIRCULAR_VALUE(Long, ChartWidth, Long)
ORV_CIRCULAR_VALUE(std::string, ChartTitle, const std::string&)
#undef ORV_CIRCULAR_VALUE

#define ORV_CIRCULAR_RANGE(Name)                               \
  void clsPlotCircular::Set##Name(const excel::Range& value) { \
    State& s = *state_;                                        \
    Property(kSet##Name, [&] { s.Name = value; });             \
  }
ORV_CIRCULAR_RANGE(OutputRange)
ORV_CIRCULAR_RANGE(XValues)
ORV_CIRCULAR_RANGE(YValues)
#undef ORV_CIRCULAR_RANGE

// --- drawing ----------------------------------------------------------------

void clsPlotCircular::CreatePlot() {
  State& s = *state_;
  const ExcelConstants& xl = Xl();
  excel::ChartObject chartObject;
  excel::Chart chart;
  Guard(kCreatePlot, [&](Line& line) {
    // The chart object at the output range's first cell, moved by the
    // offsets (vertically only while that stays above the last row).
    line = 10;
    s.Settings.emplace();
    const excel::Range first = s.OutputRange.Cells(1, 1);
    const excel::Worksheet sheet = s.OutputRange.Worksheet();
    const double t = first.Top() + s.VerticalOffset;
    const double top = t < sheet.Cells(sheet.Rows().Count(), 1).Top() ? t : first.Top();
    const double left = first.Left() + s.HorizontalOffset;
    chartObject = sheet.ChartObjects().Add(left, top, s.ChartWidth, s.ChartHeight);
    chartObject.LetHeight(s.ChartHeight);
    chartObject.LetWidth(s.ChartWidth);

    line = 20;
    App().LetScreenUpdating(false);
    chartObject.Select();
    chart = chartObject.Chart();
    chart.LetChartType(xl.xlXYScatter);
    chart.LetHasLegend(false);
    ResumeNext([&] {
      const excel::SeriesCollection old = chart.SeriesCollection();
      for (Long i = old.Count(); i >= 1; --i) ResumeNext([&] { old.Item(i).Delete(); });
    });
  });

  // From here on a failure leaves exactly as it arose.
  const auto add_series = [&] {
    chart.SeriesCollection().Add(App().Union(s.XValues, s.YValues), xl.xlColumns, false, true,
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
  points.LetMarkerBackgroundColorIndex(11);
  points.LetMarkerForegroundColorIndex(11);
  points.Border().LetLineStyle(xl.xlLineStyleNone);

  chart.PlotArea().Fill().LetVisible(xl.msoFalse);
  chart.PlotArea().Border().LetLineStyle(xl.xlLineStyleNone);

  if (s.ChartTitle.empty()) {
    chart.LetHasTitle(false);
  } else {
    chart.LetHasTitle(true);
    chart.ChartTitle().LetAutoScaleFont(false);
    chart.ChartTitle().LetText(s.ChartTitle);
    chart.ChartTitle().Font().LetSize(10);
    chart.ChartTitle().Font().LetBold(true);
  }

  const Long index = chartObject.Index();
  clsMain().RepositionChart("obsolete", s.ChartHeight, s.ChartWidth, s.HorizontalOffset,
                            s.VerticalOffset, s.OutputRange);

  for (const Long type : {xl.xlCategory, xl.xlValue}) {
    const excel::Axis axis = chart.Axes(type, xl.xlPrimary);
    axis.LetHasTitle(false);
    axis.TickLabels().LetAutoScaleFont(false);
    axis.TickLabels().Font().LetSize(8);
    axis.LetHasMajorGridlines(false);
    axis.LetHasMinorGridlines(false);
    axis.LetMajorTickMark(xl.xlTickMarkCross);
    axis.LetTickLabelPosition(xl.xlNone);
    axis.LetMajorUnit(0.5);
    axis.LetCrosses(xl.xlCustom);
    axis.LetCrossesAt(0);
  }

  // The unit circle, its overlapping end segments hidden.
  chart = App().ActiveSheet().ChartObjects(index).Chart();
  auto [sines, cosines] = CircleOutline();
  const excel::Series circle = add_series();
  circle.LetXValues(Variant(std::move(sines)));
  circle.LetValues(Variant(std::move(cosines)));
  circle.LetMarkerStyle(xl.xlMarkerStyleNone);
  circle.LetSmooth(true);
  circle.Border().LetColorIndex(1);
  circle.Border().LetWeight(xl.xlHairline);
  circle.Border().LetLineStyle(xl.xlContinuous);
  circle.Points(15).Border().LetLineStyle(xl.xlNone);
  circle.Points(2).Border().LetLineStyle(xl.xlNone);

  chart = App().ActiveSheet().ChartObjects(index).Chart();
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
