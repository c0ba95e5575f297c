// One-way analysis of variance of each variable across groups, with the
// robust tests and Tukey-Kramer comparisons.
#include "orv/analysis/analysis_detail.hpp"

namespace orv::analysis {

using namespace detail;

static Result AnovaUnguarded(const Selection& s, const Options& o, const excel::Workbook& out) {
  if (s.group.IsNothing())
    Fail(orvErrInvalidModel, "a one-way ANOVA compares groups: pick a grouping variable");
  const Cases c = ReadVaried(s, o, "there is nothing to compare");
  const std::size_t k = SplitByGroup(c, 0, 2, c.groups.size(), "a one-way ANOVA").labels.size();
  const Array<double> values = ValuesOf(c.columns);
  const GroupTable g = SummariseGroups(values, c.groups, o.level);
  const std::vector<AnovaRow> anova = OneWayAnova(values, Descriptives(values, o.level), g);
  const std::vector<TukeyRow> tukey = TukeyKramer(g, anova, o.level);

  const std::string cl = LevelText(o.level) + " CL";
  Table stats{"Group statistics",
              c.group_place,
              {"N", "Mean", "SD", "SE", "Lower " + cl, "Upper " + cl, "Median"},
              {},
              {}};
  Table table{"Analysis of variance",
              "Source",
              {"SS", "df", "MS", "F", "p", "Eta squared", "Omega squared"},
              {},
              {}};
  Table robust{"Brown-Forsythe and Welch tests", "Test", {"F", "df1", "df2", "p"}, {}, {}};
  Table pairs{"Tukey-Kramer comparisons",
              "Comparison",
              {"Difference", "SE", "Lower " + cl, "Upper " + cl, "q", "p"},
              {},
              {}};
  for (std::size_t j = 0; j < c.columns.size(); ++j) {
    const std::string name = c.names[j] + ": ";
    const Long v = static_cast<Long>(j + 1);
    for (std::size_t a = 0; a < g.labels.size(); ++a) {
      const Long i = static_cast<Long>(a + 1);
      stats.AddRow(name + g.labels[a],
                   {static_cast<double>(g.sizes[a]), g.means(i, v), g.sds(i, v), g.ses(i, v),
                    g.lower(i, v), g.upper(i, v), g.medians(i, v)});
    }
    const AnovaRow& a = anova[j];
    table.AddRow(name + "Between groups", {a.ss_between, a.df_between, a.ms_between, a.f, a.p,
                                           a.eta_squared, a.omega_squared});
    table.AddRow(name + "Within groups", {a.ss_within, a.df_within, a.ms_within});
    table.AddRow(name + "Total", {a.ss_total, a.df_total});
    robust.AddRow(name + "Brown-Forsythe", {a.bf_f, a.df_between, a.df_within, a.bf_p});
    robust.AddRow(name + "Welch", {a.welch_f, a.df_between, a.welch_df, a.welch_p});
  }
  for (const TukeyRow& t : tukey)
    pairs.AddRow(c.names[static_cast<std::size_t>(t.variable - 1)] + ": " +
                     g.labels[static_cast<std::size_t>(t.second - 1)] + " - " +
                     g.labels[static_cast<std::size_t>(t.first - 1)],
                 {t.difference, t.se, t.lower, t.upper, t.q, t.p});

  Result r = Begin("ANOVA", c);
  r.notes = {CasesNote(c) + "; " + std::to_string(k) + " groups of " + c.group_place,
             "Brown-Forsythe: the F test on absolute deviations from the group medians; "
             "Tukey-Kramer limits are simultaneous " +
                 cl + "s by the studentized range"};
  r.tables = {std::move(stats), std::move(table), std::move(robust), std::move(pairs)};
  WriteResult(r, out);
  return r;
}

Result Anova(const Selection& s, const Options& o, const excel::Workbook& out) {
  return Guarded([&] { return AnovaUnguarded(s, o, out); });
}

}  // namespace orv::analysis
