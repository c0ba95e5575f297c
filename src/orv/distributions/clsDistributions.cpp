#include "orv/distributions/clsDistributions.hpp"

#include "orv/distributions/CDistributions.hpp"

namespace orv {

namespace {
constexpr Member kRayleighP{Rule::Chain, "clsDistributions", "RayleighP"};
}  // namespace

Double clsDistributions::RayleighP(Double Rayleigh, Long Count) const {
  return Guard(kRayleighP,
               [&](Line& line) { return detail::RayleighUpperTail(Rayleigh, Count, line); });
}

}  // namespace orv
