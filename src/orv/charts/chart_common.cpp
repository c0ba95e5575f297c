#include "orv/charts/chart_common.hpp"

namespace orv::charts_detail {

const ExcelConstants& Xl() { return Shared().Constants; }
excel::Application App() { return excel::CurrentApplication(); }

excel::ChartObject AddChartObject(const excel::Range& output, Long verticalOffset,
                                  Long horizontalOffset, Long width, Long height) {
  const excel::Range first = output.Cells(1, 1);
  const excel::Worksheet sheet = output.Worksheet();
  const double t = first.Top() + verticalOffset;
  const double top = t < sheet.Cells(sheet.Rows().Count(), 1).Top() ? t : first.Top();
  const double left = first.Left() + horizontalOffset;
  return sheet.ChartObjects().Add(left, top, width, height);
}

void TitleChart(const excel::Chart& chart, const std::string& title) {
  if (title.empty()) {
    chart.LetHasTitle(false);
  } else {
    chart.LetHasTitle(true);
    chart.ChartTitle().LetAutoScaleFont(false);
    chart.ChartTitle().LetText(title);
    chart.ChartTitle().Font().LetSize(10);
    chart.ChartTitle().Font().LetBold(true);
  }
}

}  // namespace orv::charts_detail
