// Pearson and Spearman correlations of every pair of variables.
#include <cmath>

#include "orv/analysis/analysis_detail.hpp"
#include "orv/charts/clsPlotScatter.hpp"
#include "orv/matrix/CMatrix.hpp"

namespace orv::analysis {

using namespace detail;

static Result CorrelateUnguarded(const Selection& s, const Options& o, const excel::Workbook& out) {
  if (s.x.size() < 2) Fail(orvErrTooFewVariables, "a correlation needs at least two variables");
  Selection picked;
  picked.x = s.x;
  const Cases c = ReadVaried(picked, o, "it cannot correlate");
  const bool pearson = o.method != Method::spearman, spearman = o.method != Method::pearson;
  const double n = static_cast<double>(c.Count());
  const CorrelationTable r = Correlations(ValuesOf(c.columns), o.level);
  std::vector<std::vector<double>> ranks;
  for (const auto& column : c.columns) ranks.push_back(AverageRanks(column));
  const CorrelationTable rho = Correlations(ValuesOf(ranks), o.level);

  Table t{"Correlations", "Pair", {"N"}, {}, {}};
  if (pearson) t.columns.insert(t.columns.end(), {"r", "p (r)", "Lower CL", "Upper CL"});
  if (spearman) t.columns.insert(t.columns.end(), {"rho", "p (rho)"});
  const std::size_t p = c.columns.size();
  std::pair<int, int> strongest{0, 1};
  double best = -1;
  for (std::size_t i = 0; i < p; ++i)
    for (std::size_t j = i + 1; j < p; ++j) {
      const Long a = static_cast<Long>(i + 1), b = static_cast<Long>(j + 1);
      const double rij = r.r.Item(a, b), sij = rho.r.Item(a, b);
      std::vector<double> row{n};
      if (pearson) row.insert(row.end(), {rij, r.p(a, b), r.lower(a, b), r.upper(a, b)});
      if (spearman) row.insert(row.end(), {sij, rho.p(a, b)});
      t.AddRow(c.names[i] + " with " + c.names[j], std::move(row));
      const double strength = std::fabs(pearson ? rij : sij);
      if (strength > best) {
        best = strength;
        strongest = {static_cast<int>(i), static_cast<int>(j)};
      }
    }
  const std::pair<int, int> shown = o.pair.value_or(strongest);
  if (shown.first < 0 || shown.second < 0 || shown.first == shown.second ||
      static_cast<std::size_t>(std::max(shown.first, shown.second)) >= p)
    Fail(kErrInvalidCall, "the pair to plot must name two different variables of the " +
                              std::to_string(p) + " picked");

  Result result = Begin("Correlation", c);
  result.tables = {std::move(t)};
  result.notes.push_back(CasesNote(c) +
                         "; p-values two-tailed (Spearman's by the t approximation); " +
                         LevelText(o.level) + " confidence intervals by Fisher's z");
  const std::size_t a = static_cast<std::size_t>(shown.first),
                    b = static_cast<std::size_t>(shown.second);
  result.data = {{c.names[a], c.columns[a]}, {c.names[b], c.columns[b]}};
  const excel::Worksheet sheet = WriteResult(result, out);
  const std::string title = c.names[b] + " against " + c.names[a];
  DrawChart(result, sheet, 0, title, [&](const ChartPlace& at) {
    clsPlotScatter plot;
    Scatter(plot, at, sheet, result, 0, 1);
    plot.LetChartTitle(title);
    plot.LetRegression(ORVPSRegCalculate);
    plot.CreatePlot();
  });
  return result;
}

Result Correlate(const Selection& s, const Options& o, const excel::Workbook& out) {
  return Guarded([&] { return CorrelateUnguarded(s, o, out); });
}

}  // namespace orv::analysis
