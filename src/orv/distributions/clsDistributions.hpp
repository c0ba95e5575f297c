#pragma once
// Studentized range and Rayleigh probabilities, the twins of
// CDistributions.ORV_CDF_Q and ORV_CDF_Rayleigh. clsDistributions keeps no
// state: Global<clsDistributions>() and every other instance behave alike.
#include "orv/frame/frame.hpp"

namespace orv {

class clsDistributions {
 public:
  // P(range statistic > Q) as CDistributions::ORV_CDF_Q computes it, with
  // the normal probabilities taken from the workbook application's
  // WorksheetFunction.NormSDist (error 91 while no application is set),
  // and no clamp of a negative result. Failures are stamped
  // "Line <n> in ORVMain.clsDistributions.QDist".
  Double QDist(Double Q, Long ErrorDF, Integer NumGroups) const;

  // Exactly what CDistributions::ORV_CDF_Rayleigh returns. Its own
  // failures are stamped "Line <n> in ORVMain.clsDistributions.RayleighP";
  // one already stamped deeper gets ".RayleighP" appended.
  Double RayleighP(Double Rayleigh, Long Count) const;
};

}  // namespace orv
