#include "fisher_f.hpp"

#include <boost/math/distributions/fisher_f.hpp>
#include <cmath>

namespace orv::report {

double FisherFUpperTail(double f, double df1, double df2) {
  if (!(f > 0)) return 1.0;
  if (std::isinf(f)) return 0.0;
  const boost::math::fisher_f_distribution<double> dist(df1, df2);
  // The complement keeps its accuracy where the p-value is tiny.
  return boost::math::cdf(boost::math::complement(dist, f));
}

}  // namespace orv::report
