// Principal components of the correlation matrix, with component scores
// beside the data.
#include <cmath>

#include "orv/analysis/analysis_detail.hpp"
#include "orv/analysis/charts.hpp"
#include "orv/charts/clsPlotLine.hpp"
#include "orv/charts/clsPlotScatter.hpp"
#include "orv/excel/Shapes.hpp"

namespace orv::analysis {

using namespace detail;

static Result PcaUnguarded(const Selection& s, const Options& o, const excel::Workbook& out) {
  if (s.x.size() < 2)
    Fail(orvErrTooFewVariables, "principal components need at least two variables");
  Selection picked;
  picked.x = s.x;
  const Cases c = ReadVaried(picked, o, "it has no variance to share among components");
  const Array<double> values = ValuesOf(c.columns);
  CMatrix x;
  x.LetValues(values);
  const ComponentTable pc = PrincipalComponents(x.Correlation());
  const DescriptiveTable d = Descriptives(values, o.level);
  const Long p = static_cast<Long>(c.columns.size());

  Table eigen{"Eigenvalues", "Component", {}, {}, {}};
  Table loadings{"Loadings", "Variable", {}, {}, {}};
  for (Long k = 1; k <= p; ++k) {
    eigen.columns.push_back("PC" + std::to_string(k));
    loadings.columns.push_back(eigen.columns.back());
  }
  std::vector<double> row(static_cast<std::size_t>(p));
  for (const auto& [label, a] : {std::pair{"Eigenvalue", &pc.values},
                                 {"Percent of variance", &pc.percent},
                                 {"Cumulative percent", &pc.cumulative}}) {
    for (Long k = 1; k <= p; ++k) row[static_cast<std::size_t>(k - 1)] = (*a)(k);
    eigen.AddRow(label, row);
  }
  for (Long i = 1; i <= p; ++i) {
    for (Long k = 1; k <= p; ++k) row[static_cast<std::size_t>(k - 1)] = pc.loadings(i, k);
    loadings.AddRow(c.names[static_cast<std::size_t>(i - 1)], row);
  }

  Result r = Begin("Principal components", c);
  r.notes = {CasesNote(c) +
             "; components of the correlation matrix; loadings are eigenvectors "
             "times the square root of their eigenvalue; scores are the "
             "standardized data times the eigenvectors"};
  r.tables = {std::move(eigen), std::move(loadings)};
  for (std::size_t j = 0; j < c.columns.size(); ++j) r.data.push_back({c.names[j], c.columns[j]});
  const std::size_t n = static_cast<std::size_t>(c.Count());
  for (Long k = 1; k <= p; ++k) {
    DataColumn score{"PC" + std::to_string(k) + " score", std::vector<double>(n, 0.0)};
    for (Long j = 1; j <= p; ++j) {
      const double mean = d.means.Item(j), sd = d.sds.Item(j), v = pc.eigen.Item(j + 1, k);
      const std::vector<double>& column = c.columns[static_cast<std::size_t>(j - 1)];
      for (std::size_t i = 0; i < n; ++i) score.values[i] += (column[i] - mean) / sd * v;
    }
    r.data.push_back(std::move(score));
  }

  const excel::Worksheet sheet = WriteResult(r, out);
  DrawChart(r, sheet, 0, "Scree plot", [&](const ChartPlace& at) {
    clsPlotLine plot;
    Place(plot, at);
    plot.SetYValues(TableCells(sheet, r, "Eigenvalues", "", "Eigenvalue"));
    plot.LetChartTitle("Scree plot");
    plot.LetXAxisTitle("Component");
    plot.LetYAxisTitle("Eigenvalue");
    plot.LetYMin(0);
    plot.CreatePlot();
  });
  // With two variables the loadings on PC2 are equal but for rounding.
  if (p >= 3)
    DrawChart(r, sheet, 1, "Loadings on PC1 and PC2", [&](const ChartPlace& at) {
      clsPlotScatter plot;
      Place(plot, at);
      plot.SetXValues(TableCells(sheet, r, "Loadings", "PC1"));
      plot.SetYValues(TableCells(sheet, r, "Loadings", "PC2"));
      plot.LetChartTitle("Loadings on PC1 and PC2");
      plot.LetXAxisTitle("PC1");
      plot.LetYAxisTitle("PC2");
      Array<double> x1(1, p, 1, 1), y1(1, p, 1, 1);
      for (Long i = 1; i <= p; ++i) {
        x1(i, 1) = pc.loadings(i, 1);
        y1(i, 1) = pc.loadings(i, 2);
      }
      plot.StarPoints(Variant(x1), Variant(y1));
      plot.CreatePlot();
      const excel::ChartObjects charts = sheet.ChartObjects();
      LoadingsFrame(charts.Item(charts.Count()).Chart(), x1, y1, c.names);
    });
  return r;
}

Result Pca(const Selection& s, const Options& o, const excel::Workbook& out) {
  return Guarded([&] { return PcaUnguarded(s, o, out); });
}

}  // namespace orv::analysis
