#include "orv/analysis/charts.hpp"

#include <algorithm>
#include <cmath>

#include "orv/excel/Shapes.hpp"

namespace orv::analysis {

namespace {
// A chart label's line height and character width, in points.
constexpr double kLabelHeight = 11;
constexpr double kLabelCharWidth = 5.5;
}  // namespace

excel::Series AddLine(const excel::Chart& chart, const std::string& name, const Variant& x,
                      const Variant& y) {
  const excel::Series s = chart.SeriesCollection().NewSeries();
  s.LetXValues(x);
  s.LetValues(y);
  s.LetName(name);
  s.LetMarkerStyle(excel::xlMarkerStyleNone);
  return s;
}

// Loadings of a correlation matrix lie in [-1, 1]: both axes run over the
// same symmetric limits (-1 to 1, wider only for larger loadings) so that
// the origin shows and a unit of PC1 is as long as one of PC2; a unit
// circle and guides through the origin; the variables' names beside the
// ray ends, nudged down until no two overlap.
void LoadingsFrame(const excel::Chart& chart, const Array<double>& x, const Array<double>& y,
                   const std::vector<std::string>& names) {
  double limit = 1;
  for (Long i = 1; i <= x.UBound(1); ++i)
    limit = std::max({limit, std::fabs(x(i, 1)), std::fabs(y(i, 1))});
  if (limit > 1) limit = std::ceil(limit * 4) / 4;
  for (const auto type : {excel::xlCategory, excel::xlValue}) {
    const excel::Axis axis = chart.Axes(type);
    axis.LetMinimumScale(-limit);
    axis.LetMaximumScale(limit);
    axis.LetMajorUnit(limit / 2);
    axis.LetCrossesAt(-limit);
    axis.TickLabels().LetNumberFormat("0.0");
  }
  // A plot area as wide as it is high: the chart narrows by the excess.
  const excel::PlotArea area = chart.PlotArea();
  if (area.InsideWidth() > area.InsideHeight())
    chart.Parent().LetWidth(chart.Parent().Width() - (area.InsideWidth() - area.InsideHeight()));
  const auto line = [&](const std::string& name, Array<double> xs, Array<double> ys) {
    const excel::Series s = AddLine(chart, name, Variant(std::move(xs)), Variant(std::move(ys)));
    s.Border().LetWeight(excel::xlHairline);
    s.Border().LetColorIndex(16);  // grey
    return s;
  };
  constexpr Long kCircle = 144;
  Array<double> cx(1, kCircle + 1), cy(1, kCircle + 1);
  for (Long k = 0; k <= kCircle; ++k) {
    const double angle = 2 * 3.14159265358979323846 * k / kCircle;
    cx(k + 1) = std::cos(angle);
    cy(k + 1) = std::sin(angle);
  }
  line("Unit circle", std::move(cx), std::move(cy));
  Array<double> across(1, 2), zero(1, 2);
  across(1) = -limit;
  across(2) = limit;
  line("PC1 = 0", zero, across);
  line("PC2 = 0", across, zero);

  // Each label a box right of its anchor, in points on the plot area.
  const double sx = area.InsideWidth() / (2 * limit), sy = area.InsideHeight() / (2 * limit);
  const Long n = x.UBound(1);
  std::vector<Long> order;
  for (Long i = 1; i <= n; ++i) order.push_back(i);
  std::sort(order.begin(), order.end(), [&](Long i, Long j) { return y(i, 1) > y(j, 1); });
  Array<double> lx(1, n), ly(1, n);
  std::vector<Long> placed;
  for (Long i : order) {
    lx(i) = x(i, 1);
    ly(i) = y(i, 1);
    const auto overlaps = [&](Long j) {
      // The label on the left reaches towards the other.
      const std::string& left = names[static_cast<std::size_t>((lx(i) <= lx(j) ? i : j) - 1)];
      const double width = kLabelCharWidth * static_cast<double>(left.size());
      return std::fabs(lx(i) - lx(j)) * sx < width && std::fabs(ly(i) - ly(j)) * sy < kLabelHeight;
    };
    while (std::any_of(placed.begin(), placed.end(), overlaps)) ly(i) -= kLabelHeight / sy / 2;
    placed.push_back(i);
  }
  const excel::Series labels = line("Names", lx, ly);
  labels.Border().LetLineStyle(excel::xlLineStyleNone);
  labels.ApplyDataLabels(excel::xlDataLabelsShowLabel, true, false);
  for (Long i = 1; i <= n; ++i)
    labels.Points(i).DataLabel().LetText(names[static_cast<std::size_t>(i - 1)]);
  chart.LetHasLegend(false);
}

}  // namespace orv::analysis
