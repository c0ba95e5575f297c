// Descriptive statistics, group summaries, one-way ANOVA with its robust
// variants and Tukey-Kramer comparisons, principal components and
// histogram bins.
#include "orv/analysis/statistics.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <tuple>
#include <utility>

#include "orv/analysis/analysis_detail.hpp"
#include "orv/distributions/CDistributions.hpp"
#include "orv/distributions/studentized_range.hpp"
#include "orv/output/clsMain.hpp"

namespace orv::analysis {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<double> SortedColumn(const Array<double>& values, Long j) {
  std::vector<double> v;
  v.reserve(static_cast<std::size_t>(values.UBound(1)));
  for (Long i = 1; i <= values.UBound(1); ++i) v.push_back(values(i, j));
  std::sort(v.begin(), v.end());
  return v;
}

// The one-way F test of groups of values, and its upper tail; NaN, NaN
// without spread inside the groups.
std::pair<double, double> OneWayF(const std::vector<std::vector<double>>& groups) {
  double n = 0, total = 0;
  for (const auto& g : groups)
    for (double x : g) {
      n += 1;
      total += x;
    }
  const double grand = total / n, k = static_cast<double>(groups.size());
  double between = 0, within = 0;
  for (const auto& g : groups) {
    double sum = 0;
    for (double x : g) sum += x;
    const double mean = sum / static_cast<double>(g.size());
    between += static_cast<double>(g.size()) * (mean - grand) * (mean - grand);
    for (double x : g) within += (x - mean) * (x - mean);
  }
  if (!(within > 0)) return {kNaN, kNaN};
  const double f = (between / (k - 1)) / (within / (n - k));
  return {f, detail::FUpperTail(f, k - 1, n - k)};
}

// Welch's F: F, denominator df, p; NaN without two cases and spread in
// every group.
void Welch(const GroupTable& g, Long j, AnovaRow& r) {
  const auto k = static_cast<double>(g.labels.size());
  double sum_w = 0, sum_wm = 0;
  std::vector<double> w;
  for (std::size_t a = 0; a < g.labels.size(); ++a) {
    const double sd = g.sds(static_cast<Long>(a) + 1, j);
    if (!(sd > 0)) {
      r.welch_f = r.welch_df = r.welch_p = kNaN;
      return;
    }
    w.push_back(static_cast<double>(g.sizes[a]) / (sd * sd));
    sum_w += w.back();
    sum_wm += w.back() * g.means(static_cast<Long>(a) + 1, j);
  }
  const double centre = sum_wm / sum_w;
  double spread = 0, lambda = 0;
  for (std::size_t a = 0; a < w.size(); ++a) {
    const double d = g.means(static_cast<Long>(a) + 1, j) - centre;
    spread += w[a] * d * d;
    const double u = 1.0 - w[a] / sum_w;
    lambda += u * u / static_cast<double>(g.sizes[a] - 1);
  }
  r.welch_f = (spread / (k - 1)) / (1.0 + 2.0 * (k - 2) / (k * k - 1) * lambda);
  r.welch_df = (k * k - 1) / (3.0 * lambda);
  r.welch_p = detail::FUpperTail(r.welch_f, k - 1, r.welch_df);
}

}  // namespace

double Quantile7(const std::vector<double>& sorted, double prob) {
  const double h = static_cast<double>(sorted.size() - 1) * prob;
  const auto lo = static_cast<std::size_t>(std::floor(h));
  if (lo + 1 >= sorted.size()) return sorted[lo];
  return sorted[lo] + (h - static_cast<double>(lo)) * (sorted[lo + 1] - sorted[lo]);
}

Array<double> CasesOf(const Array<double>& values, const std::vector<Long>& cases) {
  const Long size = static_cast<Long>(cases.size()), p = values.UBound(2);
  Array<double> block(1, size, 1, p);
  for (Long i = 1; i <= size; ++i)
    for (Long j = 1; j <= p; ++j) block(i, j) = values(cases[static_cast<std::size_t>(i - 1)], j);
  return block;
}

DescriptiveTable Descriptives(const Array<double>& values, double level) {
  CMatrix x;
  x.LetValues(values);
  DescriptiveTable d;
  x.Descriptives(d.means, d.sds, d.ses, d.counts);
  const Long n = x.RowCount();
  const Long p = x.ColumnCount();
  d.t = Global<CDistributions>().ORV_IDF_t(Variant(1.0 - level), Variant(double(n - 1)));
  for (Array<double>* a : {&d.lower, &d.upper, &d.minimum, &d.maximum, &d.q1, &d.median, &d.q3,
                           &d.skewness, &d.kurtosis})
    a->ReDim(1, p);
  for (Long j = 1; j <= p; ++j) {
    const double margin = d.t * d.ses.Item(j);
    d.lower(j) = d.means.Item(j) - margin;
    d.upper(j) = d.means.Item(j) + margin;
    const CMatrix column = x.Column(j);
    d.minimum(j) = column.Minimum();
    d.maximum(j) = column.Maximum();
    const std::vector<double> sorted = SortedColumn(values, j);
    d.q1(j) = Quantile7(sorted, 0.25);
    d.median(j) = Quantile7(sorted, 0.5);
    d.q3(j) = Quantile7(sorted, 0.75);
    const double mean = d.means.Item(j), sd = d.sds.Item(j), m = static_cast<double>(n);
    double z3 = 0, z4 = 0;
    for (double v : sorted) {
      const double z = (v - mean) / sd;
      z3 += z * z * z;
      z4 += z * z * z * z;
    }
    const bool spread = sd > 0;
    d.skewness(j) = spread && n >= 3 ? m / ((m - 1) * (m - 2)) * z3 : kNaN;
    d.kurtosis(j) = spread && n >= 4 ? m * (m + 1) / ((m - 1) * (m - 2) * (m - 3)) * z4 -
                                           3 * (m - 1) * (m - 1) / ((m - 2) * (m - 3))
                                     : kNaN;
  }
  return d;
}

GroupTable SummariseGroups(const Array<double>& values, const std::vector<std::string>& groups,
                           double level) {
  GroupTable g;
  std::map<std::string, std::size_t> index;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const auto [it, added] = index.emplace(groups[i], g.cases.size());
    if (added) {
      g.labels.push_back(groups[i]);
      g.cases.emplace_back();
    }
    g.cases[it->second].push_back(static_cast<Long>(i + 1));
  }
  const Long k = static_cast<Long>(g.cases.size());
  const Long p = values.UBound(2);
  for (Array<double>* a : {&g.means, &g.sds, &g.ses, &g.lower, &g.upper, &g.medians})
    a->ReDim(1, k, 1, p);
  for (Long a = 1; a <= k; ++a) {
    const Array<double> block = CasesOf(values, g.cases[static_cast<std::size_t>(a - 1)]);
    const Long size = block.UBound(1);
    g.sizes.push_back(size);
    if (size >= 2) {
      const DescriptiveTable d = Descriptives(block, level);
      for (Long j = 1; j <= p; ++j) {
        g.means(a, j) = d.means.Item(j);
        g.sds(a, j) = d.sds.Item(j);
        g.ses(a, j) = d.ses.Item(j);
        g.lower(a, j) = d.lower(j);
        g.upper(a, j) = d.upper(j);
        g.medians(a, j) = d.median(j);
      }
    } else {
      for (Long j = 1; j <= p; ++j) {
        g.means(a, j) = g.medians(a, j) = block(1, j);
        g.sds(a, j) = g.ses(a, j) = g.lower(a, j) = g.upper(a, j) = kNaN;
      }
    }
  }
  return g;
}

std::vector<AnovaRow> OneWayAnova(const Array<double>& values, const DescriptiveTable& overall,
                                  const GroupTable& g) {
  const Long n = values.UBound(1);
  const Long p = values.UBound(2);
  const Long k = static_cast<Long>(g.cases.size());
  std::vector<AnovaRow> rows;
  for (Long j = 1; j <= p; ++j) {
    AnovaRow r;
    const double m = overall.means.Item(j);
    for (Long a = 1; a <= k; ++a) {
      const double d = g.means(a, j) - m;
      r.ss_between += g.sizes[static_cast<std::size_t>(a - 1)] * (d * d);
      for (Long i : g.cases[static_cast<std::size_t>(a - 1)]) {
        const double e = values(i, j) - g.means(a, j);
        r.ss_within += e * e;
      }
    }
    r.df_between = k - 1;
    r.df_within = n - k;
    r.ms_between = r.ss_between / r.df_between;
    r.ms_within = r.ss_within / r.df_within;
    if (r.ms_within > 0) {
      r.f = r.ms_between / r.ms_within;
      r.p = detail::FUpperTail(r.f, r.df_between, r.df_within);
    } else {
      r.f = std::numeric_limits<double>::infinity();
      r.p = 0;
    }
    r.ss_total = r.ss_between + r.ss_within;
    r.df_total = n - 1;
    r.eta_squared = r.ss_between / r.ss_total;
    r.omega_squared = (r.ss_between - r.df_between * r.ms_within) / (r.ss_total + r.ms_within);
    std::vector<std::vector<double>> deviations;
    for (Long a = 1; a <= k; ++a) {
      deviations.emplace_back();
      for (Long i : g.cases[static_cast<std::size_t>(a - 1)])
        deviations.back().push_back(std::fabs(values(i, j) - g.medians(a, j)));
    }
    std::tie(r.bf_f, r.bf_p) = OneWayF(deviations);
    Welch(g, j, r);
    rows.push_back(r);
  }
  return rows;
}

std::vector<TukeyRow> TukeyKramer(const GroupTable& g, const std::vector<AnovaRow>& anova,
                                  double level) {
  const Long k = static_cast<Long>(g.labels.size());
  std::vector<TukeyRow> rows;
  for (Long j = 1; j <= static_cast<Long>(anova.size()); ++j) {
    const AnovaRow& a = anova[static_cast<std::size_t>(j - 1)];
    const double critical =
        StudentizedRangeQuantile(level, static_cast<double>(k), a.df_within) / std::sqrt(2.0);
    for (Long first = 1; first < k; ++first)
      for (Long second = first + 1; second <= k; ++second) {
        TukeyRow t;
        t.variable = j;
        t.first = first;
        t.second = second;
        t.difference = g.means(second, j) - g.means(first, j);
        const double n1 = g.sizes[static_cast<std::size_t>(first - 1)];
        const double n2 = g.sizes[static_cast<std::size_t>(second - 1)];
        t.se = std::sqrt(a.ms_within * (1.0 / n1 + 1.0 / n2));
        t.lower = t.difference - critical * t.se;
        t.upper = t.difference + critical * t.se;
        if (t.se > 0) {
          t.q = std::fabs(t.difference) / (t.se / std::sqrt(2.0));
          t.p = 1.0 - StudentizedRangeCdf(t.q, static_cast<double>(k), a.df_within);
        } else {
          t.q = t.difference == 0 ? 0 : std::numeric_limits<double>::infinity();
          t.p = t.difference == 0 ? 1.0 : 0.0;
        }
        rows.push_back(t);
      }
  }
  return rows;
}

CorrelationTable Correlations(const Array<double>& values, double level) {
  CMatrix x;
  x.LetValues(values);
  CorrelationTable c;
  c.r = x.Correlation();
  const Long n = x.RowCount();
  const Long p = x.ColumnCount();
  c.n = n;
  const double z = Global<CDistributions>().ORV_IDF_Normal(1.0 - (1.0 - level) / 2.0);
  const double half = n > 3 ? z / std::sqrt(static_cast<double>(n - 3)) : kNaN;
  c.p.ReDim(1, p, 1, p);
  c.lower.ReDim(1, p, 1, p);
  c.upper.ReDim(1, p, 1, p);
  for (Long i = 1; i <= p; ++i)
    for (Long j = 1; j <= p; ++j) {
      if (i == j) {
        c.r.LetItem(i, j, 1.0);  // rounding leaves 0.9999999999999999
        c.p(i, j) = c.lower(i, j) = c.upper(i, j) = kNaN;
        continue;
      }
      const double r = c.r.Item(i, j);
      c.p(i, j) = CorrelationPValue(r, n);
      c.lower(i, j) = std::tanh(std::atanh(r) - half);
      c.upper(i, j) = std::tanh(std::atanh(r) + half);
    }
  return c;
}

double CorrelationPValue(double r, Long n) {
  const double rr = r * r;
  if (rr >= 1.0) return 0.0;
  const double t = r * Sqrt(Div(static_cast<double>(n - 2), 1.0 - rr));
  return Global<CDistributions>().ORV_CDF_t(t, n - 2, 2);
}

ComponentTable PrincipalComponents(const CMatrix& correlation) {
  ComponentTable c;
  c.eigen = correlation.EigenValuesAndVectors(orvSortDescending);
  const Long p = correlation.RowCount();
  c.values.ReDim(1, p);
  c.percent.ReDim(1, p);
  c.cumulative.ReDim(1, p);
  c.loadings.ReDim(1, p, 1, p);
  double total = 0;
  for (Long j = 1; j <= p; ++j) {
    c.values(j) = c.eigen.Item(1, j);
    total += c.values(j);
  }
  double running = 0;
  for (Long j = 1; j <= p; ++j) {
    c.percent(j) = c.values(j) / total * 100.0;
    running += c.percent(j);
    c.cumulative(j) = running;
    // A correlation matrix has no negative eigenvalues; rounding can give
    // one a tiny negative value, whose component then carries nothing.
    const double root = c.values(j) > 0 ? std::sqrt(c.values(j)) : 0.0;
    for (Long i = 1; i <= p; ++i) c.loadings(i, j) = c.eigen.Item(i + 1, j) * root;
  }
  return c;
}

Histogram HistogramBins(const Array<double>& values, Long variable, BinRule rule, Long bins) {
  Histogram h;
  h.variable = variable;
  const std::vector<double> sorted = SortedColumn(values, variable);
  const Long n = static_cast<Long>(sorted.size());
  const double lo = sorted.front(), hi = sorted.back();
  h.sturges = static_cast<Long>(std::ceil(std::log2(static_cast<double>(n)))) + 1;
  h.asked = h.sturges;
  if (bins > 0) {
    h.asked = bins;
  } else if (rule == BinRule::freedman_diaconis) {
    // Twice the interquartile range; where that is 0, the spread of ever
    // wider central parts, then 3.5 SD.
    double spread = 2 * (Quantile7(sorted, 0.75) - Quantile7(sorted, 0.25));
    for (double part = 1.0 / 8; spread == 0 && part >= 1.0 / 512; part /= 2)
      spread = (Quantile7(sorted, 1 - part) - Quantile7(sorted, part)) / (1 - 2 * part);
    if (spread == 0) spread = 3.5 * detail::SD(sorted, detail::Mean(sorted));
    h.asked = spread > 0 ? static_cast<Long>(std::ceil((hi - lo) / spread * std::cbrt(n))) : 1;
  }
  double axis_min = 0, axis_max = 0, unit = 0;
  Long decimals = 0;
  Long made = 0;
  try {
    if (bins <= 0) {
      Global<clsMain>().AxisTicks(lo, hi, h.asked + 1, 0.0, axis_min, axis_max, unit, decimals);
      made = static_cast<Long>(std::lround((axis_max - axis_min) / unit));
    }
  } catch (const Error&) {
    made = 0;  // limits beyond what the axis scaling handles
  }
  const bool nice = made >= 1 && decimals <= 12;
  bool rounded = nice;
  if (!nice) {
    made = h.asked;
    axis_min = lo;
    unit = (hi - lo) / made;
    // Bins asked for by number: limits to three significant digits of
    // their width where doubles hold them, so that a value on a limit
    // counts above it as it reads.
    decimals =
        unit > 0 ? std::max<Long>(0, 3 - static_cast<Long>(std::floor(std::log10(unit)))) : 0;
    rounded = bins > 0 && unit > 0 && decimals <= 15 &&
              std::max(std::fabs(lo), std::fabs(hi)) * std::pow(10.0, decimals) < 1e15;
  }
  h.decimals = rounded ? decimals : 3;
  const double scale = rounded ? std::pow(10.0, decimals) : 1.0;
  std::vector<double> limits;
  for (Long b = 0; b <= made; ++b) {
    const double limit = axis_min + b * unit;
    limits.push_back(rounded ? std::round(limit * scale) / scale : limit);
  }
  if (!nice) limits.back() = hi;
  h.counts.assign(static_cast<std::size_t>(made), 0.0);
  for (double x : sorted) {
    auto at = std::upper_bound(limits.begin(), limits.end(), x) - limits.begin() - 1;
    at = std::clamp<std::ptrdiff_t>(at, 0, made - 1);
    h.counts[static_cast<std::size_t>(at)] += 1;
  }
  h.from.assign(limits.begin(), limits.end() - 1);
  h.to.assign(limits.begin() + 1, limits.end());
  return h;
}

}  // namespace orv::analysis
