#include "orv/charts/chart_common.hpp"

#include "orv/output/clsMain.hpp"

namespace orv::charts_detail {

const ExcelConstants& Xl() { return Shared().Constants; }

excel::ChartObject AddChartObject(const ChartSettings& s) {
  const excel::Range first = s.OutputRange.Cells(1, 1);
  const excel::Worksheet sheet = s.OutputRange.Worksheet();
  const double t = first.Top() + s.VerticalOffset;
  const double top = t < sheet.Cells(sheet.Rows().Count(), 1).Top() ? t : first.Top();
  const double left = first.Left() + s.HorizontalOffset;
  return sheet.ChartObjects().Add(left, top, s.ChartWidth, s.ChartHeight);
}

void SizeChartObject(const excel::ChartObject& chartObject, const ChartSettings& s) {
  chartObject.LetHeight(s.ChartHeight);
  chartObject.LetWidth(s.ChartWidth);
}

void SelectChartObject(const excel::ChartObject& chartObject) {
  excel::CurrentApplication().LetScreenUpdating(false);
  chartObject.Select();
}

void ClearSeries(const excel::Chart& chart) {
  ResumeNext([&] {
    const excel::SeriesCollection series = chart.SeriesCollection();
    for (Long i = series.Count(); i >= 1; --i) ResumeNext([&] { series.Item(i).Delete(); });
  });
}

void Reposition(const ChartSettings& s) {
  clsMain().RepositionChart("obsolete", s.ChartHeight, s.ChartWidth, s.HorizontalOffset,
                            s.VerticalOffset, s.OutputRange);
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

void TitleAxis(const excel::Axis& axis, const std::string& title, const AxisLook& look) {
  if (title.empty()) {
    axis.LetHasTitle(false);
    return;
  }
  axis.LetHasTitle(true);
  const excel::AxisTitle t = axis.AxisTitle();
  if (look.FixedFonts) t.LetAutoScaleFont(false);
  t.LetText(title);
  t.Font().LetSize(look.TitleSize);
  t.Font().LetBold(false);
  if (look.TitleOrientation) t.LetOrientation(*look.TitleOrientation);
}

void DressAxis(const excel::Axis& axis, const std::string& title, const AxisLook& look) {
  TitleAxis(axis, title, look);
  const excel::TickLabels labels = axis.TickLabels();
  if (look.FixedFonts) labels.LetAutoScaleFont(false);
  labels.Font().LetSize(8);
  if (look.NoGridlines) {
    axis.LetHasMajorGridlines(false);
    axis.LetHasMinorGridlines(false);
  }
  axis.LetMajorTickMark(look.TickMark);
}

}  // namespace orv::charts_detail
