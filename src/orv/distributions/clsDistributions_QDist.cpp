// The studentized range upper tail with the normal probabilities of the
// workbook's NormSDist: the steps of CDistributions::ORV_CDF_Q, except for
// where the normal function comes from and that a negative result is
// returned as it is.
#include "orv/distributions/CDistributions.hpp"
#include "orv/distributions/clsDistributions.hpp"
#include "orv/excel/Application.hpp"
#include "orv/excel/WorksheetFunction.hpp"

namespace orv {

namespace {

constexpr Member kQDist{Rule::Stamp, "clsDistributions", "QDist"};

// Reached afresh at every use, so a missing application handle fails where
// the first normal probability is needed, after the argument checks.
double WorkbookNormal(double x, void*) {
  return excel::CurrentApplication().WorksheetFunction().NormSDist(x);
}

}  // namespace

Double clsDistributions::QDist(Double Q, Long ErrorDF, Integer NumGroups) const {
  return Guard(kQDist, [&](Line& line) {
    return detail::StudentizedRangeUpperTail(Q, ErrorDF, NumGroups, WorkbookNormal, nullptr,
                                             /*clampAtZero=*/false, line);
  });
}

}  // namespace orv
