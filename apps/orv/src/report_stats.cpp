#include "report_stats.hpp"

#include <algorithm>
#include <cmath>

#include "orv/distributions/CDistributions.hpp"

namespace orv::report {

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
    a.correlations = analysis::Correlations(data.values, level);
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
