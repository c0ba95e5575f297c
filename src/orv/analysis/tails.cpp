// The distributions' tails the analyses need. Student's t with whole
// degrees of freedom and the normal come from CDistributions, as the
// add-in's front end computes them; quantiles, fractional degrees of
// freedom (Welch), F and chi-squared from Boost.Math, whose complements
// keep their accuracy where a p-value is tiny.
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <cstdio>

#include "orv/analysis/analysis_detail.hpp"
#include "orv/distributions/CDistributions.hpp"

namespace orv::analysis::detail {

namespace bm = boost::math;

double TwoTailedT(double t, double df) {
  if (std::isnan(t)) return t;
  if (std::isinf(t)) return 0.0;
  if (df == std::floor(df) && df <= 2147483647.0)
    return Global<CDistributions>().ORV_CDF_t(t, static_cast<Long>(df), 2);
  return 2 * bm::cdf(bm::complement(bm::students_t_distribution<double>(df), std::fabs(t)));
}

double TQuantile(double level, double df) {
  return bm::quantile(bm::complement(bm::students_t_distribution<double>(df), (1 - level) / 2));
}

double FUpperTail(double f, double df1, double df2) {
  if (!(f > 0)) return 1.0;
  if (std::isinf(f)) return 0.0;
  return bm::cdf(bm::complement(bm::fisher_f_distribution<double>(df1, df2), f));
}

double ChiSquaredUpperTail(double x, double df) {
  if (!(x > 0)) return 1.0;
  if (std::isinf(x)) return 0.0;
  return bm::cdf(bm::complement(bm::chi_squared_distribution<double>(df), x));
}

double NormalUpperTail(double z) { return Global<CDistributions>().ORV_CDF_Normal(-z); }

std::string LevelText(double level) {
  char text[32];
  const double percent = level * 100.0;
  std::snprintf(text, sizeof text,
                std::fabs(percent - std::round(percent)) < 1e-9 ? "%.0f%%" : "%.4g%%", percent);
  return text;
}

}  // namespace orv::analysis::detail
