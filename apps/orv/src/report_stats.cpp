#include "report_stats.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <tuple>
#include <utility>

#include "fisher_f.hpp"
#include "orv/distributions/CDistributions.hpp"
#include "orv/distributions/studentized_range.hpp"
#include "orv/output/clsMain.hpp"
#include "report_failure.hpp"

namespace orv::report {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Column j of the given cases (every case without a list), sorted.
std::vector<double> Sorted(const Array<double>& values, Long j, const std::vector<Long>* cases) {
  std::vector<double> v;
  if (cases)
    for (Long i : *cases) v.push_back(values(i, j));
  else
    for (Long i = 1; i <= values.UBound(1); ++i) v.push_back(values(i, j));
  std::sort(v.begin(), v.end());
  return v;
}

// R's quantile type 7 of sorted values: x[h] interpolated at h = (n - 1) p.
double Quantile7(const std::vector<double>& sorted, double prob) {
  const double h = static_cast<double>(sorted.size() - 1) * prob;
  const auto lo = static_cast<std::size_t>(std::floor(h));
  if (lo + 1 >= sorted.size()) return sorted[lo];
  return sorted[lo] + (h - static_cast<double>(lo)) * (sorted[lo + 1] - sorted[lo]);
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
  return {f, FisherFUpperTail(f, k - 1, n - k)};
}

DescriptiveTable Describe(const CMatrix& x, const Array<double>& values, double level) {
  DescriptiveTable d;
  x.Descriptives(d.means, d.sds, d.ses, d.counts);
  const Long n = x.RowCount();
  const Long p = x.ColumnCount();
  d.t = Global<CDistributions>().ORV_IDF_t(Variant(1.0 - level), Variant(double(n - 1)));
  d.lower.ReDim(1, p);
  d.upper.ReDim(1, p);
  d.minimum.ReDim(1, p);
  d.maximum.ReDim(1, p);
  for (Array<double>* a : {&d.q1, &d.median, &d.q3, &d.skewness, &d.kurtosis}) a->ReDim(1, p);
  for (Long j = 1; j <= p; ++j) {
    const double margin = d.t * d.ses.Item(j);
    d.lower(j) = d.means.Item(j) - margin;
    d.upper(j) = d.means.Item(j) + margin;
    const CMatrix column = x.Column(j);
    d.minimum(j) = column.Minimum();
    d.maximum(j) = column.Maximum();
    const std::vector<double> sorted = Sorted(values, j, nullptr);
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
    d.skewness(j) = spread ? m / ((m - 1) * (m - 2)) * z3 : kNaN;
    d.kurtosis(j) = spread && n >= 4 ? m * (m + 1) / ((m - 1) * (m - 2) * (m - 3)) * z4 -
                                           3 * (m - 1) * (m - 1) / ((m - 2) * (m - 3))
                                     : kNaN;
  }
  return d;
}

CorrelationTable Correlate(const CMatrix& x, double level) {
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

ComponentTable Components(const CMatrix& r) {
  ComponentTable c;
  c.eigen = r.EigenValuesAndVectors(orvSortDescending);
  const Long p = r.RowCount();
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

// The cases of each group, in order of the groups' first appearance.
std::vector<std::vector<Long>> Members(const std::vector<std::string>& groups,
                                       std::vector<std::string>& labels) {
  std::map<std::string, std::size_t> index;
  std::vector<std::vector<Long>> members;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const auto [it, added] = index.emplace(groups[i], members.size());
    if (added) {
      labels.push_back(groups[i]);
      members.emplace_back();
    }
    members[it->second].push_back(static_cast<Long>(i + 1));
  }
  return members;
}

GroupTable Summarise(const Array<double>& values, const std::vector<std::vector<Long>>& members,
                     std::vector<std::string> labels, double level) {
  GroupTable g;
  g.labels = std::move(labels);
  const Long k = static_cast<Long>(members.size());
  const Long p = values.UBound(2);
  for (Array<double>* a : {&g.means, &g.sds, &g.ses, &g.lower, &g.upper, &g.medians})
    a->ReDim(1, k, 1, p);
  for (Long a = 1; a <= k; ++a) {
    const std::vector<Long>& cases = members[static_cast<std::size_t>(a - 1)];
    const Long size = static_cast<Long>(cases.size());
    g.sizes.push_back(size);
    Array<double> block(1, size, 1, p);
    for (Long i = 1; i <= size; ++i)
      for (Long j = 1; j <= p; ++j) block(i, j) = values(cases[static_cast<std::size_t>(i - 1)], j);
    CMatrix x;
    x.LetValues(block);
    for (Long j = 1; j <= p; ++j) g.medians(a, j) = Quantile7(Sorted(values, j, &cases), 0.5);
    if (size >= 2) {
      CMatrix means, sds, ses, counts;
      x.Descriptives(means, sds, ses, counts);
      const double t =
          Global<CDistributions>().ORV_IDF_t(Variant(1.0 - level), Variant(double(size - 1)));
      for (Long j = 1; j <= p; ++j) {
        g.means(a, j) = means.Item(j);
        g.sds(a, j) = sds.Item(j);
        g.ses(a, j) = ses.Item(j);
        g.lower(a, j) = means.Item(j) - t * ses.Item(j);
        g.upper(a, j) = means.Item(j) + t * ses.Item(j);
      }
    } else {
      const CMatrix means = x.Means();
      for (Long j = 1; j <= p; ++j) {
        g.means(a, j) = means.Item(j);
        g.sds(a, j) = g.ses(a, j) = g.lower(a, j) = g.upper(a, j) = kNaN;
      }
    }
  }
  return g;
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
  r.welch_p = FisherFUpperTail(r.welch_f, k - 1, r.welch_df);
}

std::vector<AnovaRow> OneWay(const Array<double>& values, const CMatrix& grand, const GroupTable& g,
                             const std::vector<std::vector<Long>>& members) {
  const Long n = values.UBound(1);
  const Long p = values.UBound(2);
  const Long k = static_cast<Long>(members.size());
  std::vector<AnovaRow> rows;
  for (Long j = 1; j <= p; ++j) {
    AnovaRow r;
    const double m = grand.Item(j);
    for (Long a = 1; a <= k; ++a) {
      const double d = g.means(a, j) - m;
      r.ss_between += g.sizes[static_cast<std::size_t>(a - 1)] * (d * d);
      for (Long i : members[static_cast<std::size_t>(a - 1)]) {
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
      r.p = FisherFUpperTail(r.f, r.df_between, r.df_within);
    } else {
      r.f = std::numeric_limits<double>::infinity();
      r.p = 0;
    }
    r.ss_total = r.ss_between + r.ss_within;
    r.df_total = n - 1;
    r.eta_squared = r.ss_between / r.ss_total;
    r.omega_squared =
        (r.ss_between - r.df_between * r.ms_within) / (r.ss_total + r.ms_within);
    std::vector<std::vector<double>> deviations;
    for (Long a = 1; a <= k; ++a) {
      deviations.emplace_back();
      for (Long i : members[static_cast<std::size_t>(a - 1)])
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

}  // namespace

double CorrelationPValue(double r, Long n) {
  const double rr = r * r;
  if (rr >= 1.0) return 0.0;
  const double t = r * Sqrt(Div(static_cast<double>(n - 2), 1.0 - rr));
  return Global<CDistributions>().ORV_CDF_t(t, n - 2, 2);
}

RegressionBands Bands(const Array<double>& values, double level) {
  const Long n = values.UBound(1);
  double mx = 0, my = 0, lo = values(1, 1), hi = lo;
  for (Long i = 1; i <= n; ++i) {
    mx += values(i, 1);
    my += values(i, 2);
    lo = std::min(lo, values(i, 1));
    hi = std::max(hi, values(i, 1));
  }
  mx /= n;
  my /= n;
  double sxx = 0, sxy = 0, syy = 0;
  for (Long i = 1; i <= n; ++i) {
    const double dx = values(i, 1) - mx, dy = values(i, 2) - my;
    sxx += dx * dx;
    sxy += dx * dy;
    syy += dy * dy;
  }
  const double slope = Div(sxy, sxx);
  const double s2 = std::max(0.0, syy - slope * sxy) / static_cast<double>(n - 2);
  const double t =
      Global<CDistributions>().ORV_IDF_t(Variant(1.0 - level), Variant(double(n - 2)));
  RegressionBands b;
  for (Long k = 0; k < kBandPoints; ++k) {
    const double x = lo + (hi - lo) * k / (kBandPoints - 1);
    const double fit = my + slope * (x - mx);
    const double mean_part = 1.0 / n + (x - mx) * (x - mx) / sxx;
    const double confidence = t * std::sqrt(s2 * mean_part);
    const double prediction = t * std::sqrt(s2 * (mean_part + 1.0));
    b.x.push_back(x);
    b.fit.push_back(fit);
    b.confidence_lower.push_back(fit - confidence);
    b.confidence_upper.push_back(fit + confidence);
    b.prediction_lower.push_back(fit - prediction);
    b.prediction_upper.push_back(fit + prediction);
  }
  return b;
}

Histogram SturgesHistogram(const Array<double>& values, Long variable) {
  Histogram h;
  h.variable = variable;
  const Long n = values.UBound(1);
  double lo = values(1, variable), hi = lo;
  for (Long i = 2; i <= n; ++i) {
    lo = std::min(lo, values(i, variable));
    hi = std::max(hi, values(i, variable));
  }
  h.sturges = static_cast<Long>(std::ceil(std::log2(static_cast<double>(n)))) + 1;
  double axis_min = 0, axis_max = 0, unit = 0;
  Long decimals = 0;
  Long bins = 0;
  try {
    Global<clsMain>().AxisTicks(lo, hi, h.sturges + 1, 0.0, axis_min, axis_max, unit, decimals);
    bins = static_cast<Long>(std::lround((axis_max - axis_min) / unit));
  } catch (const Error&) {
    bins = 0;  // limits beyond what the axis scaling handles
  }
  const bool nice = bins >= 1 && decimals <= 12;
  if (!nice) {
    bins = h.sturges;
    axis_min = lo;
    unit = (hi - lo) / bins;
    decimals = -1;
  }
  h.decimals = nice ? decimals : 3;
  const double scale = nice ? std::pow(10.0, decimals) : 1.0;
  std::vector<double> limits;
  for (Long b = 0; b <= bins; ++b) {
    const double limit = axis_min + b * unit;
    limits.push_back(nice ? std::round(limit * scale) / scale : limit);
  }
  if (!nice) limits.back() = hi;
  h.counts.assign(static_cast<std::size_t>(bins), 0.0);
  for (Long i = 1; i <= n; ++i) {
    const double x = values(i, variable);
    auto at = std::upper_bound(limits.begin(), limits.end(), x) - limits.begin() - 1;
    at = std::clamp<std::ptrdiff_t>(at, 0, bins - 1);
    h.counts[static_cast<std::size_t>(at)] += 1;
  }
  h.from.assign(limits.begin(), limits.end() - 1);
  h.to.assign(limits.begin() + 1, limits.end());
  return h;
}

Analysis Analyse(const ReportData& data, double level) {
  Analysis a;
  a.level = level;
  a.n = data.Cases();
  a.p = data.Variables();
  CMatrix x;
  x.LetValues(data.values);
  a.descriptives = Describe(x, data.values, level);
  if (a.p >= 2) {
    a.correlated = true;
    a.correlations = Correlate(x, level);
    a.components = Components(a.correlations.r);
    a.bands = Bands(data.values, level);
  }
  if (data.Grouped()) {
    a.grouped = true;
    std::vector<std::string> labels;
    const auto members = Members(data.groups, labels);
    a.groups = Summarise(data.values, members, std::move(labels), level);
    a.anova = OneWay(data.values, a.descriptives.means, a.groups, members);
    a.tukey = TukeyKramer(a.groups, a.anova, level);
  }
  a.histogram = SturgesHistogram(data.values, 1);
  return a;
}

}  // namespace orv::report
