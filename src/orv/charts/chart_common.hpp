// What the chart builders (clsPlotScatter, clsPlotHistogram, clsPlotLine,
// clsPlotCircular) share: the settings every builder keeps, their property
// procedures, the steps that create, open, place and title a chart, and
// the dressing of an axis. Private to src/orv/charts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "orv/excel/excel.hpp"
#include "orv/frame/frame.hpp"

namespace orv::charts_detail {

// Where the chart goes (the output range's first cell, moved by the
// offsets), its size in points and its title.
struct ChartSettings {
  excel::Range OutputRange{Nothing};
  std::string ChartTitle;
  Long VerticalOffset = 0, HorizontalOffset = 0;
  Long ChartWidth = 0, ChartHeight = 0;
};

// The titles of the two primary axes, for the builders that have them.
struct AxisTitles {
  std::string XAxisTitle, YAxisTitle;
};

// The settings of a new builder of class `cls`, width by height points
// (Class_Initialize: line 10 creates them, line 20 sizes them).
template <class State>
Ref<State> NewState(std::string_view cls, Long width, Long height) {
  Ref<State> state(Nothing);
  Guard(Member{Rule::Stamp, cls, "Class_Initialize"}, [&](Line& line) {
    line = 10;
    state = Ref<State>();
    line = 20;
    state->ChartWidth = width;
    state->ChartHeight = height;
  });
  return state;
}

// A property procedure: one labelled statement (line 10) under the stamp
// rule of the member.
template <class Body>
decltype(auto) Property(const Member& member, Body&& body) {
  return Guard(member, [&](Line& line) {
    line = 10;
    return body();
  });
}

// The stamp-rule member "<Kind><Name>" of the class kClass names, as
// kMember, and the object's State as s (an empty handle fails here, before
// the member's handler).
#define ORV_CHART_MEMBER(Kind, Name)                                 \
  static constexpr Member kMember{Rule::Stamp, kClass, #Kind #Name}; \
  auto& s = *state_

// Let of a value property of Class held in its State as Name.
#define ORV_CHART_LET(Class, Name, Param)       \
  void Class::Let##Name(Param value) {          \
    ORV_CHART_MEMBER(Let, Name);                \
    Property(kMember, [&] { s.Name = value; }); \
  }

// Get and Let of a value property of Class held in its State as Name.
#define ORV_CHART_VALUE(Class, Type, Name, Param)               \
  Type Class::Name() const {                                    \
    ORV_CHART_MEMBER(Get, Name);                                \
    return Property(kMember, [&]() -> Type { return s.Name; }); \
  }                                                             \
  ORV_CHART_LET(Class, Name, Param)

// Set of a range property of Class held in its State as Name.
#define ORV_CHART_RANGE(Class, Name)                 \
  void Class::Set##Name(const excel::Range& value) { \
    ORV_CHART_MEMBER(Set, Name);                     \
    Property(kMember, [&] { s.Name = value; });      \
  }

// The property procedures of the ChartSettings of Class.
#define ORV_CHART_SETTINGS(Class)                                     \
  ORV_CHART_VALUE(Class, Long, VerticalOffset, Long)                  \
  ORV_CHART_VALUE(Class, Long, HorizontalOffset, Long)                \
  ORV_CHART_VALUE(Class, Long, ChartHeight, Long)                     \
  ORV_CHART_VALUE(Class, Long, ChartWidth, Long)                      \
  ORV_CHART_VALUE(Class, std::string, ChartTitle, const std::string&) \
  ORV_CHART_RANGE(Class, OutputRange)

// The property procedures of the AxisTitles of Class.
#define ORV_CHART_AXIS_TITLES(Class)                                  \
  ORV_CHART_VALUE(Class, std::string, XAxisTitle, const std::string&) \
  ORV_CHART_VALUE(Class, std::string, YAxisTitle, const std::string&)

// Colour indexes of the palette: the black of guide lines and outlines,
// the dark blue of data markers.
constexpr Long kBlackIndex = 1;
constexpr Long kDarkBlueIndex = 11;

// The Excel constants handed to the library.
const ExcelConstants& Xl();

// A new chart object, width by height, at the output range's first cell,
// moved by the offsets (vertically only while that stays above the sheet's
// last row).
excel::ChartObject AddChartObject(const ChartSettings& s);

// The chart object takes the settings' height, then their width.
void SizeChartObject(const excel::ChartObject& chartObject, const ChartSettings& s);

// Screen updating off (it stays off) and the chart object selected.
void SelectChartObject(const excel::ChartObject& chartObject);

// Deletes the series the chart came with, last first, ignoring failures.
void ClearSeries(const excel::Chart& chart);

// The chart just added moved onto the output range's first cell and given
// its final size.
void Reposition(const ChartSettings& s);

// No title for "", else the title in bold 10 points.
void TitleChart(const excel::Chart& chart, const std::string& title);

// How DressAxis dresses an axis.
struct AxisLook {
  Long TitleSize = 10;
  // The axis's MajorTickMark.
  Long TickMark = 0;
  // The title and tick labels keep their size when the chart is resized.
  bool FixedFonts = true;
  // Major and minor gridlines switched off.
  bool NoGridlines = true;
  // The title turned (in degrees) when there is one.
  std::optional<Long> TitleOrientation{};
};

// The axis title, plain, in the look's size; none for "".
void TitleAxis(const excel::Axis& axis, const std::string& title, const AxisLook& look);

// The axis title, then tick labels in 8 points, the gridlines and the tick
// marks.
void DressAxis(const excel::Axis& axis, const std::string& title, const AxisLook& look);

}  // namespace orv::charts_detail
