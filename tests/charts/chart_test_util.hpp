// Helpers shared by the chart tests: the placement tolerance, the source of
// a handled clsPlotScatter failure, compact readers of a chart's dress, and
// a workbook handed to the library for each test.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "orv/excel/excel.hpp"
#include "orv/output/clsConstants.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/output/clsProperties.hpp"
#include "orv_test.hpp"

namespace orv::test {

using namespace std::string_literals;
using Ints = std::vector<std::int32_t>;
using Names = std::vector<std::string>;
using excel::xlCategory;
using excel::xlPrimary;
using excel::xlSecondary;
using excel::xlValue;

// The placement walks the chart onto its cell by nudges of up to 2.5
// points; it ends within a few points of the cell's corner.
inline constexpr double kNudge = 3;

// The source of a failure handled at this line of clsPlotScatter.<member>.
inline std::string Src(const std::string& member, int line) {
  return "Line " + std::to_string(line) + " in ORVMain.clsPlotScatter." + member;
}

// A series' numbers, a blank point as NaN.
inline std::vector<double> Numbers(const std::vector<std::optional<double>>& values) {
  std::vector<double> out;
  for (const auto& v : values) out.push_back(v ? *v : std::nan(""));
  return out;
}

// Text, font size and weight of a title: "Wind|10|bold".
template <class Title>
std::string Look(const Title& t) {
  return t.Text() + "|" + CStr(t.Font().Size()) + (CBool(t.Font().Bold()) ? "|bold" : "|plain");
}

// Tick labels at a fixed 8 points, no gridlines, tick marks of this kind.
inline void ExpectPlainAxis(const excel::Axis& axis, std::int32_t tick_mark) {
  EXPECT_FALSE(axis.TickLabels().AutoScaleFont());
  EXPECT_EQ(axis.TickLabels().Font().Size(), Variant(8.0));
  EXPECT_FALSE(axis.HasMajorGridlines());
  EXPECT_FALSE(axis.HasMinorGridlines());
  EXPECT_EQ(axis.MajorTickMark(), tick_mark);
}

// The chart area in the theme's title colour with fixed fonts, and an
// unfilled plot area without a border.
inline void ExpectThemedAreas(const excel::Chart& chart, Long theme_colour) {
  EXPECT_FALSE(chart.HasLegend());
  EXPECT_FALSE(chart.ChartArea().AutoScaleFont());
  EXPECT_EQ(chart.ChartArea().Interior().Color(), theme_colour);
  EXPECT_EQ(chart.PlotArea().Fill().Visible(), excel::msoFalse);
  EXPECT_EQ(chart.PlotArea().Border().LineStyle(), excel::xlLineStyleNone);
}

// A workbook handed to the library with the title back colour set to the
// given theme colour; the shared state is restored and the charts deleted
// afterwards.
class ChartWorkbook : public ::testing::Test {
 protected:
  explicit ChartWorkbook(Long theme_colour) : theme_colour_(theme_colour) {}

  void SetUp() override {
    saved_.Save();
    clsMain().SetExcel(app);
    clsProperties().LetTitleBackColour(theme_colour_);
  }
  void TearDown() override {
    // A series keeps its source range, and so its sheet, alive while the
    // sheet keeps the chart: deleting the charts lets the workbook go.
    for (Long i = 1; i <= book.Worksheets().Count(); ++i) {
      const excel::ChartObjects charts = book.Worksheets(i).ChartObjects();
      while (charts.Count() > 0) charts.Item(charts.Count()).Delete();
    }
    saved_.Restore();
  }

  excel::ChartObject Drawn() const { return sheet.ChartObjects(sheet.ChartObjects().Count()); }
  excel::Chart Chart() const { return Drawn().Chart(); }
  excel::Axis Axis(std::int32_t type, std::int32_t group = xlPrimary) const {
    return Chart().Axes(type, group);
  }
  Names SeriesNames() const {
    Names names;
    const excel::SeriesCollection all = Chart().SeriesCollection();
    for (Long i = 1; i <= all.Count(); ++i) names.push_back(all.Item(i).Name());
    return names;
  }
  excel::Series Named(const std::string& name) const {
    const excel::SeriesCollection all = Chart().SeriesCollection();
    for (Long i = 1; i <= all.Count(); ++i)
      if (all.Item(i).Name() == name) return all.Item(i);
    ADD_FAILURE() << "no series " << name;
    return excel::Series();
  }
  // Writes the values down a column from the reference's first cell and
  // returns the block they fill.
  excel::Range Put(const std::string& first, const std::vector<Variant>& values) const {
    return Put(sheet, first, values);
  }
  static excel::Range Put(const excel::Worksheet& on, const std::string& first,
                          const std::vector<Variant>& values) {
    const excel::Range top = on.Range(first);
    for (std::size_t i = 0; i < values.size(); ++i)
      top.Cells(static_cast<Long>(i) + 1, 1).LetValue(values[i]);
    return on.Range(top, top.Cells(static_cast<Long>(values.size()), 1));
  }
  // A sheet added after the data sheet, which stays the active one.
  excel::Worksheet Inactive() const {
    excel::Worksheet other = book.Worksheets().Add();
    sheet.Activate();
    return other;
  }

  excel::Application app;
  excel::Workbook book = app.Workbooks().Add();
  excel::Worksheet sheet = book.Worksheets(1);
  Long theme_colour_;

 private:
  SavedSharedState saved_;
};

}  // namespace orv::test
