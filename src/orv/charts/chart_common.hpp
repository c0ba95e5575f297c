// Steps the chart builders (clsPlotScatter, clsPlotHistogram, clsPlotLine,
// clsPlotCircular) share. Private to src/orv/charts.
#pragma once

#include <string>

#include "orv/excel/excel.hpp"
#include "orv/frame/frame.hpp"

namespace orv::charts_detail {

// A property procedure: one labelled statement (line 10) under the stamp
// rule of the member.
template <class Body>
decltype(auto) Property(const Member& member, Body&& body) {
  return Guard(member, [&](Line& line) {
    line = 10;
    return body();
  });
}

// k<Kind><Name>: the stamp-rule member "<Kind><Name>" of the class kClass
// names.
#define ORV_CHART_MEMBER(Kind, Name) \
  constexpr Member k##Kind##Name{Rule::Stamp, kClass, #Kind #Name};

// Get and Let of a value property of Class held in its State as Name.
#define ORV_CHART_VALUE(Class, Type, Name, Param)                  \
  Type Class::Name() const {                                       \
    const State& s = *state_;                                      \
    return Property(kGet##Name, [&]() -> Type { return s.Name; }); \
  }                                                                \
  void Class::Let##Name(Param value) {                             \
    State& s = *state_;                                            \
    Property(kLet##Name, [&] { s.Name = value; });                 \
  }

// Set of a range property of Class held in its State as Name.
#define ORV_CHART_RANGE(Class, Name)                 \
  void Class::Set##Name(const excel::Range& value) { \
    State& s = *state_;                              \
    Property(kSet##Name, [&] { s.Name = value; });   \
  }

// The Excel constants and application handed to the library.
const ExcelConstants& Xl();
excel::Application App();

// A new chart object, width by height, at the output range's first cell,
// moved by the offsets (vertically only while that stays above the sheet's
// last row).
excel::ChartObject AddChartObject(const excel::Range& output, Long verticalOffset,
                                  Long horizontalOffset, Long width, Long height);

// No title for "", else the title in bold 10 points.
void TitleChart(const excel::Chart& chart, const std::string& title);

}  // namespace orv::charts_detail
