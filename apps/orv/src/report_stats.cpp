#include "report_stats.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "orv/distributions/CDistributions.hpp"

namespace orv::report {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

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
  const double t = Global<CDistributions>().ORV_IDF_t(Variant(1.0 - level), Variant(double(n - 2)));
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
  return analysis::HistogramBins(values, variable);
}

Analysis Analyse(const ReportData& data, double level) {
  Analysis a;
  a.level = level;
  a.n = data.Cases();
  a.p = data.Variables();
  a.descriptives = analysis::Descriptives(data.values, level);
  if (a.p >= 2) {
    a.correlated = true;
    CMatrix x;
    x.LetValues(data.values);
    a.correlations = Correlate(x, level);
    a.components = analysis::PrincipalComponents(a.correlations.r);
    a.bands = Bands(data.values, level);
  }
  if (data.Grouped()) {
    a.grouped = true;
    a.groups = analysis::SummariseGroups(data.values, data.groups, level);
    a.anova = analysis::OneWayAnova(data.values, a.descriptives, a.groups);
    a.tukey = analysis::TukeyKramer(a.groups, a.anova, level);
  }
  a.histogram = SturgesHistogram(data.values, 1);
  return a;
}

}  // namespace orv::report
