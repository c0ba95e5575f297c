// Descriptive statistics per variable and per group, and the frequencies
// of one variable with their histogram.
#include <cstdio>

#include "orv/analysis/analysis_detail.hpp"
#include "orv/charts/clsPlotHistogram.hpp"

namespace orv::analysis {

using namespace detail;

namespace {

Table SummaryTable(const std::string& title, const std::string& label_header, double level) {
  const std::string cl = LevelText(level) + " CL";
  return Table{title,
               label_header,
               {"N", "Mean", "SD", "SE", "Lower " + cl, "Upper " + cl, "Minimum", "Q1", "Median",
                "Q3", "Maximum", "Skewness", "Excess kurtosis"},
               {},
               {}};
}

// The row of variable j (from 1).
void AddSummary(Table& t, std::string label, const DescriptiveTable& d, Long j) {
  t.AddRow(std::move(label), {d.counts.Item(j), d.means.Item(j), d.sds.Item(j), d.ses.Item(j),
                              d.lower(j), d.upper(j), d.minimum(j), d.q1(j), d.median(j), d.q3(j),
                              d.maximum(j), d.skewness(j), d.kurtosis(j)});
}

std::string BinLabel(const Histogram& h, std::size_t b) {
  char label[96];
  const int decimals = static_cast<int>(h.decimals);
  std::snprintf(label, sizeof label, "%.*f to %s %.*f", decimals, h.from[b],
                b + 1 == h.counts.size() ? "<=" : "<", decimals, h.to[b]);
  return label;
}

}  // namespace

static Result DescribeUnguarded(const Selection& s, const Options& o, const excel::Workbook& out) {
  const Cases c = ReadVaried(s, o, "it has no spread to describe");
  if (o.variable < 0 || static_cast<std::size_t>(o.variable) >= c.columns.size())
    Fail(kErrInvalidCall, "the variable of the histogram must be one of the " +
                              std::to_string(c.columns.size()) + " described");
  if (o.bins < 0 || o.bins > 1000)
    Fail(orvErrInvalidValue,
         "the number of bins must lie between 1 and 1000, not " + std::to_string(o.bins));
  const Array<double> values = ValuesOf(c.columns);

  Result r = Begin("Descriptives", c);
  Table all = SummaryTable("Descriptive statistics", "Variable", o.level);
  const DescriptiveTable overall = Descriptives(values, o.level);
  const Long p = static_cast<Long>(c.names.size());
  for (Long j = 1; j <= p; ++j)
    AddSummary(all, c.names[static_cast<std::size_t>(j - 1)], overall, j);
  r.tables.push_back(std::move(all));
  if (!c.groups.empty()) {
    SplitByGroup(c, 0, 1, c.groups.size(), "describing by group");
    const GroupTable g = SummariseGroups(values, c.groups, o.level);
    std::vector<DescriptiveTable> each;
    for (const std::vector<Long>& cases : g.cases)
      each.push_back(Descriptives(CasesOf(values, cases), o.level));
    Table by = SummaryTable("Descriptive statistics by group", c.group_name, o.level);
    for (Long j = 1; j <= p; ++j)
      for (std::size_t a = 0; a < g.labels.size(); ++a)
        AddSummary(by, c.names[static_cast<std::size_t>(j - 1)] + ": " + g.labels[a], each[a], j);
    r.tables.push_back(std::move(by));
  }

  const std::string& name = c.names[static_cast<std::size_t>(o.variable)];
  const Histogram h = HistogramBins(values, o.variable + 1, o.bin_rule, o.bins);
  const std::string frequencies = "Frequencies of " + name;
  Table f{frequencies, "Bin", {"From", "To", "Frequency", "Percent", "Cumulative percent"}, {}, {}};
  double running = 0;
  for (std::size_t b = 0; b < h.counts.size(); ++b) {
    const double percent = h.counts[b] / static_cast<double>(c.Count()) * 100;
    running += percent;
    f.AddRow(BinLabel(h, b), {h.from[b], h.to[b], h.counts[b], percent, running});
  }
  r.tables.push_back(std::move(f));
  const std::string asked = o.bins > 0 ? "--bins"
                            : o.bin_rule == BinRule::freedman_diaconis
                                ? "the Freedman-Diaconis rule"
                                : "Sturges' rule";
  r.notes = {CasesNote(c) + "; " + LevelText(o.level) +
                 " intervals of the mean; quartiles as R's type 7; skewness and excess kurtosis "
                 "bias-adjusted (G1, G2)",
             "Histogram of " + name + ": " + asked + " asks for " + std::to_string(h.asked) +
                 " bins, " + std::to_string(h.counts.size()) +
                 (o.bins > 0 ? " of equal width" : " on nice limits")};

  const excel::Worksheet sheet = WriteResult(r, out);
  const std::string title = "Histogram of " + name;
  DrawChart(r, sheet, 0, title, [&](const ChartPlace& at) {
    clsPlotHistogram plot;
    Place(plot, at);
    plot.LetDataType(ORVHistogramCategorical);
    plot.SetXValuesRange(TableCells(sheet, r, frequencies, "Bin"));
    plot.SetYValuesRange(TableCells(sheet, r, frequencies, "Frequency"));
    plot.LetChartTitle(title);
    plot.LetXAxisTitle(name);
    plot.LetYAxisTitle("Frequency");
    plot.CreatePlot();
  });
  return r;
}

Result Describe(const Selection& s, const Options& o, const excel::Workbook& out) {
  return Guarded([&] { return DescribeUnguarded(s, o, out); });
}

}  // namespace orv::analysis
