// The browser page's analyses and charts: the report run through the
// registry holds the sample's values, and each chart's SVG shows the points,
// bands and axis ticks its chart state holds.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "orv/excel/excel.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/xlsx/chart_svg.hpp"
#include "web_analyses.hpp"

namespace orv::web {
namespace {

// The part of `svg` from the series group named `name` to the next one ("" when absent).
std::string SeriesGroup(const std::string& svg, const std::string& name) {
  const std::size_t at = svg.find("data-name=\"" + name + "\"");
  return at == std::string::npos ? "" : svg.substr(at, svg.find("class=\"series\"", at) - at);
}

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class WebReport : public ::testing::Test {
 protected:
  void SetUp() override {
    Global<clsMain>().SetExcel(app);
    result = FindAnalysis("report")->run(app, RunInput{"", nlohmann::json::object()});
    charts = xlsx::ChartsAsSvg(result.chart_sheet);
  }
  void TearDown() override { Global<clsMain>().SetExcel(excel::Application(Nothing)); }

  excel::Application app;
  RunResult result;
  std::vector<xlsx::ChartSvg> charts;
};

TEST_F(WebReport, TablesAreFoundWhereTheReportWroteThem) {
  ASSERT_EQ(result.tables.size(), 10u);
  const excel::Range& d = result.tables[0].cells;
  EXPECT_EQ(d.Cells(1, 3).Value(), Variant("Mean"));
  EXPECT_EQ(d.Cells(2, 1).Value(), Variant("Sepal length"));
  // The iris sepal lengths sum to 876.5 over 150 flowers.
  EXPECT_NEAR(d.Cells(2, 3).Value().AsDouble(), 876.5 / 150, 1e-13);
  EXPECT_EQ(d.Rows().Count(), 5);  // header and four variables
}

TEST_F(WebReport, EachChartShowsItsSeriesPoints) {
  struct Case {
    std::size_t chart;
    const char* series;
    const char* element;
    int points;
  };
  // 150 flowers; Sturges' rule gives 8 bins for 150 cases; 4 components
  // and 4 loadings.
  const Case cases[] = {{0, "Sepal width", "class=\"point\"", 150},
                        {1, "Series1", "class=\"bar\"", 8},
                        {2, "Series1", "class=\"point\"", 4},
                        {3, "Data", "class=\"point\"", 4}};
  ASSERT_EQ(charts.size(), 4u);
  for (const Case& c : cases) {
    const std::string group = SeriesGroup(charts[c.chart].svg, c.series);
    EXPECT_EQ(Count(group, c.element), c.points) << charts[c.chart].title << " " << c.series;
    EXPECT_NE(group.find("data-points=\"" + std::to_string(c.points) + "\""), std::string::npos);
  }
  // Each band is its upper edge, a gap, and its lower edge: two strokes.
  for (const char* band : {"95% confidence band", "95% prediction band"}) {
    const std::string group = SeriesGroup(charts[0].svg, band);
    EXPECT_EQ(Count(group, "class=\"line\""), 1) << band;
    EXPECT_EQ(Count(group, " M"), 1) << band;
  }
  EXPECT_EQ(Count(charts[0].svg, "class=\"trendline\""), 1);
  EXPECT_EQ(Count(charts[3].svg, "class=\"label\""), 4);  // the variables' names
}

TEST_F(WebReport, ValueAxisTicksRunFromTheAxisMinimumToItsMaximum) {
  for (std::size_t i = 0; i < charts.size(); ++i) {
    const excel::Axis axis =
        result.chart_sheet.ChartObjects(static_cast<std::int32_t>(i + 1)).Chart().Axes(excel::xlValue);
    const double lo = axis.MinimumScale(), hi = axis.MaximumScale(), step = axis.MajorUnit();
    const std::string& svg = charts[i].svg;
    EXPECT_EQ(Count(svg, "class=\"tick-y\""), static_cast<int>(std::lround((hi - lo) / step)) + 1)
        << charts[i].title;
    const std::size_t first = svg.find("class=\"tick-y\"");
    ASSERT_NE(first, std::string::npos);
    const std::string shown = xlsx::FormattedNumber(lo, axis.TickLabels().NumberFormat());
    EXPECT_NE(svg.find("<tspan>" + shown + "</tspan>", first), std::string::npos)
        << charts[i].title;
  }
}

TEST(FormattedNumber, ShowsNumbersAsTheirCellFormat) {
  struct Case {
    double value;
    const char* format;
    const char* shown;
  };
  const Case cases[] = {
      {0.0004, "[<0.001]\"<0.001\";0.000", "<0.001"}, {0.0123, "[<0.001]\"<0.001\";0.000", "0.012"},
      {0.001, "[<0.001]\"<0.001\";0.000", "0.001"},   {149.5, "0", "150"},
      {-0.0004, "0.000", "0.000"},                    {0.125, "0.0%", "12.5%"},
      {1234567.0, "General", "1234567"},              {5.843333333333333, "0.000", "5.843"},
  };
  for (const Case& c : cases) EXPECT_EQ(xlsx::FormattedNumber(c.value, c.format), c.shown) << c.format;
}

}  // namespace
}  // namespace orv::web
