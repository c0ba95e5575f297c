#include "orv/distributions/studentized_range.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "orv/frame/Error.hpp"

namespace orv {
namespace {

// 16-point Gauss-Legendre nodes (positive half) and weights on [-1, 1].
constexpr std::array<double, 8> kNode = {
    0.0950125098376374401853193, 0.2816035507792589132304605, 0.4580167776572273863424194,
    0.6178762444026437484466718, 0.7554044083550030338951012, 0.8656312023878317438804679,
    0.9445750230732325760779884, 0.9894009349916499325961542};
constexpr std::array<double, 8> kWeight = {
    0.1894506104550684962853967, 0.1826034150449235888667637, 0.1691565193950025381893121,
    0.1495959888165767320815017, 0.1246289712555338720524763, 0.0951585116824927848099251,
    0.0622535239386478928628438, 0.0271524594117540948517806};

// The sum of f over [a, b] cut into `panels` equal parts, 16 points each.
template <class F>
double Integrate(F&& f, double a, double b, int panels) {
  const double width = (b - a) / panels;
  double sum = 0;
  for (int p = 0; p < panels; ++p) {
    const double mid = a + (p + 0.5) * width, half = 0.5 * width;
    double s = 0;
    for (std::size_t i = 0; i < kNode.size(); ++i)
      s += kWeight[i] * (f(mid - half * kNode[i]) + f(mid + half * kNode[i]));
    sum += s * half;
  }
  return sum;
}

constexpr double kInvSqrt2 = 0.70710678118654752440;
constexpr double kInvSqrt2Pi = 0.39894228040143267794;

double Phi(double x) { return 0.5 * std::erfc(-x * kInvSqrt2); }       // P(Z <= x)
double UpperPhi(double x) { return 0.5 * std::erfc(x * kInvSqrt2); }  // P(Z > x)

// The inner quadrature's nodes over z in [-9.2, 9.2] (phi(z) < 1e-18
// beyond), with phi, Phi and the upper tail at each, computed once.
struct InnerNodes {
  static constexpr int kPanels = 16;
  std::array<double, kPanels * 16> z, weighted_density, lower, upper;
  InnerNodes() {
    const double a = -9.2, width = 18.4 / kPanels, half = 0.5 * width;
    std::size_t n = 0;
    for (int p = 0; p < kPanels; ++p) {
      const double mid = a + (p + 0.5) * width;
      for (std::size_t i = 0; i < kNode.size(); ++i)
        for (double x : {mid - half * kNode[i], mid + half * kNode[i]}) {
          z[n] = x;
          weighted_density[n] = half * kWeight[i] * kInvSqrt2Pi * std::exp(-0.5 * x * x);
          lower[n] = Phi(x);
          upper[n] = UpperPhi(x);
          ++n;
        }
    }
  }
};

// P(range of k standard normals <= w) = k * integral phi(z) (Phi(z) -
// Phi(z - w))^(k-1) dz. The difference is taken from whichever tails
// keep it accurate: lower tails left of w / 2, upper tails right of it.
double RangeCdf(double w, double k) {
  static const InnerNodes nodes;
  if (w <= 0) return 0;
  double sum = 0;
  for (std::size_t n = 0; n < nodes.z.size(); ++n) {
    const double z = nodes.z[n];
    const double inside = z < 0.5 * w ? nodes.lower[n] - Phi(z - w) : UpperPhi(z - w) - nodes.upper[n];
    if (inside > 0) sum += nodes.weighted_density[n] * std::exp((k - 1) * std::log(inside));
  }
  return std::min(1.0, k * sum);
}

// The smallest whole w from 2 to 40 above which the range of k normals is
// below w with certainty (to 1e-14), found by bisection and kept per k.
double RangeCertainAbove(double k) {
  thread_local std::vector<std::pair<double, double>> known;
  for (const auto& [groups, w] : known)
    if (groups == k) return w;
  double below = 1, above = 40;  // W(below) short of 1, W(above) taken as 1
  while (above - below > 1) {
    const double mid = std::floor(0.5 * (below + above));
    (1 - RangeCdf(mid, k) > 1e-14 ? below : above) = mid;
  }
  if (known.size() > 64) known.clear();
  known.emplace_back(k, std::max(2.0, above));
  return std::max(2.0, above);
}

// W(w) = RangeCdf(w, k) for 0 <= w <= top as a Chebyshev series, built
// once per k from W at 128 Chebyshev points: the outer integral evaluates W
// hundreds of times for one probability, and the series does each in a
// few dozen operations instead of an inner quadrature.
class RangeSeries {
 public:
  static constexpr int kPoints = 128;
  RangeSeries(double k, double top) : top_(top) {
    std::array<double, kPoints> w{};
    for (int j = 0; j < kPoints; ++j)
      w[j] = RangeCdf(0.5 * top * (1 + std::cos(kPi * (j + 0.5) / kPoints)), k);
    for (int i = 0; i < kPoints; ++i) {
      double c = 0;
      for (int j = 0; j < kPoints; ++j) c += w[j] * std::cos(kPi * i * (j + 0.5) / kPoints);
      c_[i] = 2.0 * c / kPoints;
    }
    c_[0] *= 0.5;
    // Terms below 1e-17 change no sum that matters.
    while (terms_ > 1 && std::fabs(c_[terms_ - 1]) < 1e-17) --terms_;
  }
  double operator()(double w) const {
    if (w <= 0) return 0;
    if (w >= top_) return 1;
    const double x = 2 * w / top_ - 1;
    double b1 = 0, b2 = 0;  // Clenshaw
    for (int i = terms_ - 1; i >= 1; --i) {
      const double b0 = 2 * x * b1 - b2 + c_[i];
      b2 = b1;
      b1 = b0;
    }
    return std::clamp(x * b1 - b2 + c_[0], 0.0, 1.0);
  }

 private:
  static constexpr double kPi = 3.14159265358979323846;
  double top_;
  std::array<double, kPoints> c_{};
  int terms_ = kPoints;
};

// The series of k, kept per k.
const RangeSeries& SeriesOf(double k) {
  thread_local std::deque<std::pair<double, RangeSeries>> known;
  for (const auto& [groups, series] : known)
    if (groups == k) return series;
  if (known.size() > 64) known.clear();
  return known.emplace_back(k, RangeSeries(k, RangeCertainAbove(k))).second;
}

// The log density of s = sqrt(chi-square(df) / df).
double LogScaleDensity(double s, double df) {
  const double h = 0.5 * df;
  return h * std::log(df) - std::lgamma(h) - (h - 1) * std::log(2.0) + (df - 1) * std::log(s) -
         h * s * s;
}

[[noreturn]] void Invalid(const std::string& what) {
  Raise(kErrInvalidCall, "StudentizedRange", what);
}

void Check(double groups, double df) {
  if (!(groups >= 2) || groups > 1e6) Invalid("the number of groups must be at least 2");
  if (!(df >= 1)) Invalid("the degrees of freedom must be at least 1");
}

}  // namespace

double StudentizedRangeCdf(double q, double groups, double df) {
  Check(groups, df);
  if (std::isnan(q)) Invalid("q is not a number");
  if (q <= 0) return 0;
  if (std::isinf(q)) return 1;
  if (std::isinf(df) || df > 1e7) return RangeCdf(q, groups);
  // s has its mode at sqrt((df - 1) / df) and a spread near 1 / sqrt(2 df);
  // its density is below 1e-17 of the peak outside [lo, hi].
  const double mode = std::sqrt((df - 1) / df), peak = LogScaleDensity(std::max(mode, 1e-300), df);
  const double spread = 1 / std::sqrt(2 * df);
  auto outside = [&](double s) { return LogScaleDensity(s, df) < peak - 40; };
  double lo = mode, hi = mode;
  while (lo > 0 && !outside(lo)) lo = std::max(0.0, lo - spread);
  while (!outside(hi)) hi += spread;
  // Above w_max the range is below w with certainty (to 1e-16), so where
  // q s > w_max only the density remains to integrate. Below, W(q s) turns
  // over on a scale of 1 / q in s: panels of 16 points span the finer of
  // 4 spreads and 2 / q.
  // (The quadrature's own rounding keeps W a few units short of 1, hence
  // the bound on the search.)
  const double w_max = RangeCertainAbove(groups);
  const double cut = std::clamp(w_max / q, lo, hi);
  const auto density = [&](double s) { return s > 0 ? std::exp(LogScaleDensity(s, df)) : 0.0; };
  const RangeSeries& range = SeriesOf(groups);
  const auto both = [&](double s) { return density(s) * range(q * s); };
  const auto panels = [&](double a, double b, double width) {
    return std::max(4, static_cast<int>(std::ceil((b - a) / width)));
  };
  double p = 0;
  if (cut > lo) p += Integrate(both, lo, cut, panels(lo, cut, std::min(4 * spread, 2 / q)));
  if (hi > cut) p += Integrate(density, cut, hi, panels(cut, hi, 4 * spread));
  return std::min(1.0, std::max(0.0, p));
}

double StudentizedRangeQuantile(double p, double groups, double df) {
  Check(groups, df);
  if (!(p > 0 && p < 1)) Invalid("the probability must lie strictly between 0 and 1");
  // Bracket, then the Illinois variant of regula falsi on P(Q <= q) - p.
  double a = 0, fa = -p, b = 1, fb = StudentizedRangeCdf(b, groups, df) - p;
  while (fb < 0) {
    a = b, fa = fb;
    b *= 2;
    if (b > 1e6) Invalid("the probability is too close to 1");
    fb = StudentizedRangeCdf(b, groups, df) - p;
  }
  int side = 0;
  double c = b;
  for (int i = 0; i < 200; ++i) {
    const double previous = c;
    c = (a * fb - b * fa) / (fb - fa);
    const double fc = StudentizedRangeCdf(c, groups, df) - p;
    if (fc == 0 || std::fabs(c - previous) <= 1e-13 * c) break;
    if ((fc < 0) == (fa < 0)) {
      a = c, fa = fc;
      if (side == -1) fb *= 0.5;
      side = -1;
    } else {
      b = c, fb = fc;
      if (side == 1) fa *= 0.5;
      side = 1;
    }
  }
  return c;
}

}  // namespace orv
