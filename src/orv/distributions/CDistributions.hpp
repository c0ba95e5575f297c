#pragma once
// Cumulative and inverse distribution functions of the normal, Student t,
// studentized range and Rayleigh distributions. CDistributions keeps no
// state: Global<CDistributions>() and every other instance behave alike.
//
// Failures leave every member stamped "Line <n> in
// ORVMain.CDistributions.<member>", except ORV_IDF_t, whose failures leave
// as they were raised.
#include "orv/frame/frame.hpp"

namespace orv {

class CDistributions {
 public:
  // P(range of NumGroups normal means, studentized with ErrorDF degrees
  // of freedom, > Q), by Lund and Lund's AS 190. NumGroups < 2 or
  // ErrorDF < 1: object error base + 0, "Invalid DFs"; Q <= 0: the same
  // number, "Invalid Q".
  Double ORV_CDF_Q(Double Q, Long ErrorDF, Integer NumGroups) const;
  // Upper-tail probability of Rayleigh's Z for Count observations, found
  // by a decimal search on the critical-value expansion and truncated to
  // 10 decimal places. Count = 0: error 11.
  Double ORV_CDF_Rayleigh(Double Rayleigh, Long Count) const;
  // P(|T| >= |t|) for Tails = 2, half of it for Tails = 1 (Hill's
  // algorithm 395). Other Tails: orvErrInvalidValue, "Tails must be 1 or
  // 2"; DF < 1: orvErrInvalidValue, "DF must be > 0".
  Double ORV_CDF_t(Double t, Long DF, Byte Tails) const;
  // P(X <= x) for X normal (Hart's approximation). SD = 0 is a division
  // by zero (error 11; 6 when x = Mean).
  Double ORV_CDF_Normal(Double x, Double Mean = 0.0, Double SD = 1.0) const;
  // The x with P(X <= x) = p (Wichura's AS 241 on decimal coefficients).
  // SD = 0: error 11; p <= 0 or p >= 1: error 5.
  Double ORV_IDF_Normal(Double p, Double Mean = 0.0, Double SD = 1.0) const;
  // The t >= 0 with P(|T| >= t) = p (Hill's algorithm 396); DF need not
  // be whole. p outside (0, 1] or DF < 1: error 5; p or DF not numeric:
  // error 13.
  Double ORV_IDF_t(const Variant& p, const Variant& DF) const;
};

namespace detail {

// A normal lower-tail probability supplied by the caller.
using NormalLowerTail = double (*)(double x, void* context);

// The studentized range upper tail of ORV_CDF_Q with the normal lower tail
// taken from `normal`: the same steps, failures and line labels (written
// to `line`). With clampAtZero a result below 0 at the end of the
// integration becomes 0.
double StudentizedRangeUpperTail(double Q, Long ErrorDF, Integer NumGroups, NormalLowerTail normal,
                                 void* context, bool clampAtZero, Line& line);

// ORV_IDF_Normal after the SD check: the standard normal quantile of p, its
// line labels written to `line`. With shortcuts the decimal evaluation is
// skipped wherever a cheaper exact argument gives the same double; without,
// every value goes through it (the reference the shortcuts are tested
// against). `portable` takes the shortcut that processors without fused
// multiply-add use.
double StandardNormalQuantile(double p, bool shortcuts, Line& line, bool portable = false);

// The Rayleigh search of ORV_CDF_Rayleigh, its line labels written to
// `line`.
double RayleighUpperTail(double Rayleigh, Long Count, Line& line);

}  // namespace detail

}  // namespace orv
