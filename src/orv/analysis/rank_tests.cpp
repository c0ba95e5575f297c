// Rank tests: Mann-Whitney U, Kruskal-Wallis and the Wilcoxon signed-rank
// test, with their exact distributions for small samples without ties.
#include <algorithm>
#include <cmath>
#include <map>

#include "orv/analysis/analysis_detail.hpp"

namespace orv::analysis {

using namespace detail;

namespace {

// Below this many cases (in each group) a test without ties is exact.
constexpr std::size_t kExactBelow = 50;

// Sum of t^3 - t over the sizes t of the groups of tied values.
double TieSum(const std::vector<double>& x) {
  std::map<double, double> counts;
  for (double v : x) counts[v] += 1;
  double sum = 0;
  for (const auto& [value, t] : counts) sum += t * t * t - t;
  return sum;
}

// Two-sided p of a statistic from the counts of each of its values, as R
// takes it: twice the tail on the side of the statistic, at most 1.
double ExactTwoSided(const std::vector<double>& counts, double statistic, double centre) {
  double total = 0, below = 0, above = 0;
  for (std::size_t s = 0; s < counts.size(); ++s) {
    total += counts[s];
    if (static_cast<double>(s) <= statistic) below += counts[s];
    if (static_cast<double>(s) >= statistic) above += counts[s];
  }
  return std::min(1.0, 2 * (statistic > centre ? above : below) / total);
}

// How many ways m of the ranks 1..m+n give each U (rank sum - m(m+1)/2).
std::vector<double> MannWhitneyCounts(std::size_t m, std::size_t n) {
  const std::size_t top = m * n;
  // ways[k][u]: k of the ranks seen so far chosen, giving u.
  std::vector<std::vector<double>> ways(m + 1, std::vector<double>(top + 1, 0.0));
  ways[0][0] = 1;
  for (std::size_t rank = 1; rank <= m + n; ++rank)
    for (std::size_t k = std::min(rank, m); k >= 1; --k) {
      // Choosing this rank as the k-th adds rank - k to U.
      const std::size_t add = rank - k;
      for (std::size_t u = top; u + 1 > add; --u) ways[k][u] += ways[k - 1][u - add];
    }
  return ways[m];
}

// How many subsets of the ranks 1..n give each sum.
std::vector<double> SignedRankCounts(std::size_t n) {
  const std::size_t top = n * (n + 1) / 2;
  std::vector<double> ways(top + 1, 0.0);
  ways[0] = 1;
  for (std::size_t rank = 1; rank <= n; ++rank)
    for (std::size_t s = top; s >= rank; --s) ways[s] += ways[s - rank];
  return ways;
}

// The normal approximation with continuity correction.
std::pair<double, double> NormalApproximation(double statistic, double mean, double variance) {
  const double d = statistic - mean;
  const double z = (d - (d > 0 ? 0.5 : d < 0 ? -0.5 : 0.0)) / std::sqrt(variance);
  return {z, std::min(1.0, 2 * NormalUpperTail(std::fabs(z)))};
}

}  // namespace

static Result RankTestUnguarded(const Selection& s, const Options& o, const excel::Workbook& out) {
  const Cases c = ReadComparison(s, o, "a rank test", false);
  const bool grouped = !s.group.IsNothing();
  Result r = Begin("Rank tests", c);
  std::string method;

  if (grouped) {
    RequireVariance(c, 0, "ranks cannot tell the groups apart");
    const Groups g = SplitByGroup(c, 0, 2, 1000, "a rank test");
    const std::vector<double> ranks = AverageRanks(c.columns[0]);
    std::map<std::string, std::size_t> index;
    for (std::size_t a = 0; a < g.labels.size(); ++a) index[g.labels[a]] = a;
    std::vector<double> sums(g.labels.size(), 0.0);
    for (std::size_t i = 0; i < ranks.size(); ++i) sums[index[c.groups[i]]] += ranks[i];
    Table table{"Ranks", c.group_place, {"N", "Mean rank", "Rank sum"}, {}, {}};
    for (std::size_t a = 0; a < g.labels.size(); ++a) {
      const double na = static_cast<double>(g.values[a].size());
      table.AddRow(g.labels[a], {na, sums[a] / na, sums[a]});
    }
    const double n = static_cast<double>(ranks.size());
    const double ties = TieSum(c.columns[0]);
    Table test;
    if (g.labels.size() == 2) {
      const double na = static_cast<double>(g.values[0].size()),
                   nb = static_cast<double>(g.values[1].size());
      const double u = sums[0] - na * (na + 1) / 2;
      double z = std::nan(""), p;
      if (g.values[0].size() < kExactBelow && g.values[1].size() < kExactBelow && ties == 0) {
        p = ExactTwoSided(MannWhitneyCounts(g.values[0].size(), g.values[1].size()), u,
                          na * nb / 2);
        method = "exact p-value";
      } else {
        std::tie(z, p) =
            NormalApproximation(u, na * nb / 2, na * nb / 12 * ((n + 1) - ties / (n * (n - 1))));
        method = "normal approximation with continuity and tie corrections";
      }
      test = Table{"Mann-Whitney U test", "Variable", {"U", "z", "p"}, {}, {}};
      test.AddRow(c.names[0], {u, z, p});
      r.notes.push_back(c.places[0] + " by " + c.group_place + ": U of " + g.labels[0] + ", " +
                        method);
    } else {
      double h = 0;
      for (std::size_t a = 0; a < sums.size(); ++a)
        h += sums[a] * sums[a] / static_cast<double>(g.values[a].size());
      h = (12 * h / (n * (n + 1)) - 3 * (n + 1)) / (1 - ties / (n * n * n - n));
      const double df = static_cast<double>(g.labels.size() - 1);
      test = Table{"Kruskal-Wallis test", "Variable", {"H", "df", "p"}, {}, {}};
      test.AddRow(c.names[0], {h, df, ChiSquaredUpperTail(h, df)});
      r.notes.push_back(c.places[0] + " by " + c.group_place +
                        ": chi-squared approximation, tie-corrected");
    }
    r.tables = {std::move(table), std::move(test)};
  } else {
    std::vector<double> d, magnitude;
    for (std::size_t i = 0; i < c.columns[0].size(); ++i) {
      const double diff = c.columns[0][i] - c.columns[1][i];
      if (diff == 0) continue;
      d.push_back(diff);
      magnitude.push_back(std::fabs(diff));
    }
    if (d.empty())
      Fail(orvErrNoVariableVariance,
           c.places[0] + " equals " + c.places[1] + " in every case: the differences are all 0");
    const std::vector<double> ranks = AverageRanks(magnitude);
    double v = 0;
    for (std::size_t i = 0; i < d.size(); ++i)
      if (d[i] > 0) v += ranks[i];
    const double n = static_cast<double>(d.size());
    const double ties = TieSum(magnitude);
    const bool zeros = d.size() < c.columns[0].size();
    double z = std::nan(""), p;
    if (d.size() < kExactBelow && ties == 0 && !zeros) {
      p = ExactTwoSided(SignedRankCounts(d.size()), v, n * (n + 1) / 4);
      method = "exact p-value";
    } else {
      std::tie(z, p) =
          NormalApproximation(v, n * (n + 1) / 4, n * (n + 1) * (2 * n + 1) / 24 - ties / 48);
      method =
          "normal approximation with continuity and tie corrections, zero differences left out";
    }
    Table test{"Wilcoxon signed-rank test", "Differences", {"N", "V", "z", "p"}, {}, {}};
    test.AddRow(c.names[0] + " - " + c.names[1], {n, v, z, p});
    r.notes.push_back("Paired: " + c.places[0] + " minus " + c.places[1] +
                      ", V the sum of the positive ranks; " + method);
    r.tables = {std::move(test)};
  }
  r.notes.push_back(CasesNote(c) + "; p-values two-tailed");
  WriteResult(r, out);
  return r;
}

Result RankTest(const Selection& s, const Options& o, const excel::Workbook& out) {
  return Guarded([&] { return RankTestUnguarded(s, o, out); });
}

}  // namespace orv::analysis
