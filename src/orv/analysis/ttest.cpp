// Student's t tests: one sample, paired, two independent samples (pooled
// variances and Welch's).
#include <cmath>

#include "orv/analysis/analysis_detail.hpp"

namespace orv::analysis {

using namespace detail;

namespace {

Table StatisticsTable(const std::string& label_header) {
  return Table{"Group statistics", label_header, {"N", "Mean", "SD", "SE"}, {}, {}};
}

void AddStatistics(Table& t, const std::string& label, const std::vector<double>& x) {
  const double m = Mean(x), sd = SD(x, m), n = static_cast<double>(x.size());
  t.AddRow(label, {n, m, sd, sd / std::sqrt(n)});
}

// A test row: the difference, its standard error and degrees of freedom;
// Cohen's d divides the difference by `scale`.
void AddTest(Table& t, const std::string& label, double difference, double se, double df,
             double scale, double level) {
  const double statistic = difference / se;
  const double margin = TQuantile(level, df) * se;
  t.AddRow(label, {difference, statistic, df, TwoTailedT(statistic, df), difference - margin,
                   difference + margin, difference / scale});
}

}  // namespace

static Result TTestUnguarded(const Selection& s, const Options& o, const excel::Workbook& out) {
  const Cases c = ReadComparison(s, o, "a t test", true);
  const bool grouped = !s.group.IsNothing();
  Result r = Begin("t test", c);
  Table stats = StatisticsTable(grouped ? c.group_name : "Variable");
  Table test{"t test",
             "Test",
             {"Difference", "t", "df", "p", "Lower CL", "Upper CL", "Cohen's d"},
             {},
             {}};
  const double level = o.level;

  if (grouped) {
    const Groups g = SplitByGroup(c, 0, 2, 2, "a t test");
    const std::vector<double>& a = g.values[0];
    const std::vector<double>& b = g.values[1];
    const double na = static_cast<double>(a.size()), nb = static_cast<double>(b.size());
    const double ma = Mean(a), mb = Mean(b), sa = SD(a, ma), sb = SD(b, mb);
    if (sa == 0 && sb == 0)
      Fail(orvErrNoVariableVariance, c.places[0] + " is constant within each group of " +
                                         c.group_place +
                                         ": the groups have no variance to compare");
    AddStatistics(stats, g.labels[0], a);
    AddStatistics(stats, g.labels[1], b);
    const double diff = ma - mb;
    const double pooled = ((na - 1) * sa * sa + (nb - 1) * sb * sb) / (na + nb - 2);
    AddTest(test, "Pooled", diff, std::sqrt(pooled * (1 / na + 1 / nb)), na + nb - 2,
            std::sqrt(pooled), level);
    const double va = sa * sa / na, vb = sb * sb / nb;
    const double df = (va + vb) * (va + vb) / (va * va / (na - 1) + vb * vb / (nb - 1));
    AddTest(test, "Welch", diff, std::sqrt(va + vb), df, std::sqrt((sa * sa + sb * sb) / 2), level);
    r.notes.push_back(c.places[0] + " by " + c.group_place + ": " + g.labels[0] + " minus " +
                      g.labels[1]);
  } else if (o.paired) {
    std::vector<double> d(c.columns[0].size());
    for (std::size_t i = 0; i < d.size(); ++i) d[i] = c.columns[0][i] - c.columns[1][i];
    const double m = Mean(d), sd = SD(d, m);
    if (sd == 0)
      Fail(orvErrNoVariableVariance, "the differences " + c.places[0] + " minus " + c.places[1] +
                                         " are the same (" + CStr(m) +
                                         ") in every case: they have no variance");
    AddStatistics(stats, c.names[0], c.columns[0]);
    AddStatistics(stats, c.names[1], c.columns[1]);
    AddStatistics(stats, "Difference", d);
    AddTest(test, "Paired", m, sd / std::sqrt(static_cast<double>(d.size())),
            static_cast<double>(d.size()) - 1, sd, level);
    r.notes.push_back("Paired: " + c.places[0] + " minus " + c.places[1]);
  } else {
    RequireVariance(c, 0, "a t test needs variation");
    const std::vector<double>& x = c.columns[0];
    const double m = Mean(x), sd = SD(x, m), n = static_cast<double>(x.size());
    AddStatistics(stats, c.names[0], x);
    AddTest(test, "One sample", m - o.mu, sd / std::sqrt(n), n - 1, sd, level);
    r.notes.push_back(c.places[0] + " against the mean " + CStr(o.mu));
  }
  r.notes.push_back(CasesNote(c) + "; " + LevelText(level) +
                    " confidence intervals; p-values two-tailed");
  r.tables = {std::move(stats), std::move(test)};
  WriteResult(r, out);
  return r;
}

Result TTest(const Selection& s, const Options& o, const excel::Workbook& out) {
  return Guarded([&] { return TTestUnguarded(s, o, out); });
}

}  // namespace orv::analysis
