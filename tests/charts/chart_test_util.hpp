// Helpers shared by the chart tests: the placement tolerance, the source of
// a handled clsPlotScatter failure, and a workbook handed to the library for
// each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "orv/excel/excel.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/output/clsProperties.hpp"
#include "orv_test.hpp"

namespace orv::test {

// The placement walks the chart onto its cell by nudges of up to 2.5
// points; it ends within a few points of the cell's corner.
inline constexpr double kNudge = 3;

// The source of a failure handled at this line of clsPlotScatter.<member>.
inline std::string Src(const std::string& member, int line) {
  std::string source = "Line ";
  source += std::to_string(line);
  source += " in ORVMain.clsPlotScatter.";
  source += member;
  return source;
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

  excel::Application app;
  excel::Workbook book = app.Workbooks().Add();
  excel::Worksheet sheet = book.Worksheets(1);

 private:
  Long theme_colour_;
  SavedSharedState saved_;
};

}  // namespace orv::test
