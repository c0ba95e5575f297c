#include "fisher_f.hpp"

#include "orv/analysis/analysis_detail.hpp"

namespace orv::report {

double FisherFUpperTail(double f, double df1, double df2) {
  return analysis::detail::FUpperTail(f, df1, df2);
}

}  // namespace orv::report
