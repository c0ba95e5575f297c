// Distribution functions per call, each next to what a user would otherwise
// call: the same AS 241 rational functions in plain doubles, std::erfc,
// Boost.Math's students_t. Arguments cycle through a fixed grid so that
// every branch is taken in its natural proportion (argument /1: the central
// part only, /2: the tails only, /0: p uniform over (0, 1)).
#include <benchmark/benchmark.h>

#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <vector>

#include "orv/distributions/CDistributions.hpp"

namespace {

using orv::CDistributions;
using orv::Global;

constexpr std::size_t kGrid = 4096;  // a power of two

std::vector<double> ProbabilityGrid(int which) {
  std::vector<double> p;
  for (std::size_t i = 0; p.size() < kGrid; ++i) {
    const double u = (static_cast<double>(i % kGrid) + 0.5) / kGrid;
    if (which == 0) p.push_back(u);
    if (which == 1) p.push_back(0.075 + 0.85 * u);
    if (which == 2) p.push_back(u < 0.5 ? 0.15 * u : 1 - 0.15 * (1 - u));
  }
  return p;
}

// AS 241 (PPND16) in plain doubles, the operations in the same order.
double PlainDoublePpnd16(double p) {
  static const double a[8] = {3.3871328727963666080E0,  1.3314166789178437745E+2,
                              1.9715909503065514427E+3, 1.3731693765509461125E+4,
                              4.5921953931549871457E+4, 6.7265770927008700853E+4,
                              3.3430575583588128105E+4, 2.5090809287301226727E+3};
  static const double b[8] = {1,
                              4.2313330701600911252E+1,
                              6.8718700749205790830E+2,
                              5.3941960214247511077E+3,
                              2.1213794301586595867E+4,
                              3.9307895800092710610E+4,
                              2.8729085735721942674E+4,
                              5.2264952788528545610E+3};
  static const double c[8] = {1.42343711074968357734E0,  4.63033784615654529590E0,
                              5.76949722146069140550E0,  3.64784832476320460504E0,
                              1.27045825245236838258E0,  2.41780725177450611770E-1,
                              2.27238449892691845833E-2, 7.74545014278341407640E-4};
  static const double d[8] = {1,
                              2.05319162663775882187E0,
                              1.67638483018380384940E0,
                              6.89767334985100004550E-1,
                              1.48103976427480074590E-1,
                              1.51986665636164571966E-2,
                              5.47593808499534494600E-4,
                              1.05075007164441684324E-9};
  static const double e[8] = {6.65790464350110377720E0,  5.46378491116411436990E0,
                              1.78482653991729133580E0,  2.96560571828504891230E-1,
                              2.65321895265761230930E-2, 1.24266094738807843860E-3,
                              2.71155556874348757815E-5, 2.01033439929228813265E-7};
  static const double f[8] = {1,
                              5.99832206555887937690E-1,
                              1.36929880922735805310E-1,
                              1.48753612908506148525E-2,
                              7.86869131145613259100E-4,
                              1.84631831751005468180E-5,
                              1.42151175831644588870E-7,
                              2.04426310338993978564E-15};
  auto horner = [](const double* k, double r) {
    double x = k[7];
    for (int i = 6; i >= 0; --i) x = x * r + k[i];
    return x;
  };
  const double q = p - 0.5;
  if (std::fabs(q) <= 0.425) {
    const double r = 0.180625 - q * q;
    return q * horner(a, r) / horner(b, r);
  }
  double r = std::sqrt(-std::log(q < 0 ? p : 1 - p));
  double v;
  if (r <= 5) {
    r = r - 1.6;
    v = horner(c, r) / horner(d, r);
  } else {
    r = r - 5;
    v = horner(e, r) / horner(f, r);
  }
  return q < 0 ? -v : v;
}

void BM_IdfNormal_Ours(benchmark::State& state) {
  const auto p = ProbabilityGrid(static_cast<int>(state.range(0)));
  const CDistributions& dist = Global<CDistributions>();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(dist.ORV_IDF_Normal(p[i++ & (kGrid - 1)]));
}
void BM_IdfNormal_PlainDouble(benchmark::State& state) {
  const auto p = ProbabilityGrid(static_cast<int>(state.range(0)));
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(PlainDoublePpnd16(p[i++ & (kGrid - 1)]));
}
BENCHMARK(BM_IdfNormal_Ours)->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(BM_IdfNormal_PlainDouble)->Arg(0)->Arg(1)->Arg(2);

std::vector<double> ZGrid() {
  std::vector<double> z;
  for (std::size_t i = 0; i < kGrid; ++i) z.push_back(-8 + 16 * (i + 0.5) / kGrid);
  return z;
}

void BM_CdfNormal_Ours(benchmark::State& state) {
  const auto z = ZGrid();
  const CDistributions& dist = Global<CDistributions>();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(dist.ORV_CDF_Normal(z[i++ & (kGrid - 1)]));
}
void BM_CdfNormal_StdErfc(benchmark::State& state) {
  const auto z = ZGrid();
  std::size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(0.5 * std::erfc(-z[i++ & (kGrid - 1)] * 0.70710678118654752));
}
BENCHMARK(BM_CdfNormal_Ours);
BENCHMARK(BM_CdfNormal_StdErfc);

// t and df: df 1 to 256 (every branch of the t upper tail), |t| up to 6.
struct TArgs {
  std::vector<double> t;
  std::vector<int> df;
};
TArgs TGrid() {
  TArgs a;
  for (std::size_t i = 0; i < kGrid; ++i) {
    a.t.push_back(6.0 * ((i * 37) % kGrid + 0.5) / kGrid);
    a.df.push_back(static_cast<int>(1 + (i * 11) % 256));
  }
  return a;
}

void BM_CdfT_Ours(benchmark::State& state) {
  const TArgs a = TGrid();
  const CDistributions& dist = Global<CDistributions>();
  std::size_t i = 0;
  for (auto _ : state) {
    const std::size_t k = i++ & (kGrid - 1);
    benchmark::DoNotOptimize(dist.ORV_CDF_t(a.t[k], a.df[k], 2));
  }
}
void BM_CdfT_Boost(benchmark::State& state) {
  const TArgs a = TGrid();
  std::size_t i = 0;
  for (auto _ : state) {
    const std::size_t k = i++ & (kGrid - 1);
    const boost::math::students_t dist(a.df[k]);
    benchmark::DoNotOptimize(2 * boost::math::cdf(boost::math::complement(dist, a.t[k])));
  }
}
// Boost's default policy computes doubles in long double; this one does not.
using DoublePolicy = boost::math::policies::policy<boost::math::policies::promote_double<false>>;
void BM_CdfT_BoostDouble(benchmark::State& state) {
  const TArgs a = TGrid();
  std::size_t i = 0;
  for (auto _ : state) {
    const std::size_t k = i++ & (kGrid - 1);
    const boost::math::students_t_distribution<double, DoublePolicy> dist(a.df[k]);
    benchmark::DoNotOptimize(2 * boost::math::cdf(boost::math::complement(dist, a.t[k])));
  }
}
BENCHMARK(BM_CdfT_Ours);
BENCHMARK(BM_CdfT_Boost);
BENCHMARK(BM_CdfT_BoostDouble);

// Two-tailed p from 1e-6 to 1 and df 1 to 256.
struct PArgs {
  std::vector<double> p, df;
};
PArgs QuantileGrid() {
  PArgs a;
  for (std::size_t i = 0; i < kGrid; ++i) {
    a.p.push_back(std::pow(10.0, -6.0 * ((i * 37) % kGrid + 0.5) / kGrid));
    a.df.push_back(static_cast<double>(1 + (i * 11) % 256));
  }
  return a;
}

void BM_IdfT_Ours(benchmark::State& state) {
  const PArgs a = QuantileGrid();
  std::vector<orv::Variant> p(a.p.begin(), a.p.end()), df(a.df.begin(), a.df.end());
  const CDistributions& dist = Global<CDistributions>();
  std::size_t i = 0;
  for (auto _ : state) {
    const std::size_t k = i++ & (kGrid - 1);
    benchmark::DoNotOptimize(dist.ORV_IDF_t(p[k], df[k]));
  }
}
void BM_IdfT_Boost(benchmark::State& state) {
  const PArgs a = QuantileGrid();
  std::size_t i = 0;
  for (auto _ : state) {
    const std::size_t k = i++ & (kGrid - 1);
    const boost::math::students_t dist(a.df[k]);
    benchmark::DoNotOptimize(boost::math::quantile(boost::math::complement(dist, a.p[k] / 2)));
  }
}
void BM_IdfT_BoostDouble(benchmark::State& state) {
  const PArgs a = QuantileGrid();
  std::size_t i = 0;
  for (auto _ : state) {
    const std::size_t k = i++ & (kGrid - 1);
    const boost::math::students_t_distribution<double, DoublePolicy> dist(a.df[k]);
    benchmark::DoNotOptimize(boost::math::quantile(boost::math::complement(dist, a.p[k] / 2)));
  }
}
BENCHMARK(BM_IdfT_Ours);
BENCHMARK(BM_IdfT_Boost);
BENCHMARK(BM_IdfT_BoostDouble);

// Studentized range: q 1 to 8, 2 to 20 groups, 5 to 200 error df.
void BM_CdfQ_Ours(benchmark::State& state) {
  const CDistributions& dist = Global<CDistributions>();
  std::size_t i = 0;
  for (auto _ : state) {
    const std::size_t k = i++ & 255;
    benchmark::DoNotOptimize(dist.ORV_CDF_Q(1 + 7.0 * (k % 16) / 16,
                                            static_cast<orv::Long>(5 + (k * 7) % 196),
                                            static_cast<orv::Integer>(2 + k % 19)));
  }
}
BENCHMARK(BM_CdfQ_Ours);

void BM_CdfRayleigh_Ours(benchmark::State& state) {
  const CDistributions& dist = Global<CDistributions>();
  std::size_t i = 0;
  for (auto _ : state) {
    const std::size_t k = i++ & 255;
    benchmark::DoNotOptimize(dist.ORV_CDF_Rayleigh(1.2 + 4.0 * (k % 16) / 16,
                                                   static_cast<orv::Long>(5 + (k * 7) % 200)));
  }
}
BENCHMARK(BM_CdfRayleigh_Ours);

}  // namespace

BENCHMARK_MAIN();
