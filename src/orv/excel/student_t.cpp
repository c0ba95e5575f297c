// Student's t and the normal distribution for the worksheet functions.
//
// The t tails are regularized incomplete beta functions,
//   P(|T| > t) = I_x(n/2, 1/2),   P(|T| < t) = I_y(1/2, n/2),
//   x = n / (n + t^2), y = t^2 / (n + t^2),
// each evaluated by its continued fraction on the side where it converges
// (so a small tail is never found as 1 minus something). The quantile is
// found by Newton's method on the logarithm of the smaller of the two
// probabilities, in log t, inside a bracket that bisection keeps, then
// polished by one Newton step in t. One and two degrees of freedom have
// closed forms.
#include <cmath>
#include <limits>

#include "orv/excel/WorksheetFunction.hpp"
#include "orv/excel/internal/detail.hpp"

namespace orv::excel {

namespace {

constexpr double kLogSqrtPi = 0.57236494292470008707;  // ln(sqrt(pi))
constexpr double kPi = 3.14159265358979323846;
// From here on the quantile comes from the normal series.
constexpr double kManyDegrees = 1e6;

// Stirling's remainder: ln Gamma(x) - ((x - 1/2) ln x - x + ln sqrt(2 pi)),
// x >= 10, accurate to about 1e-17 there.
double StirlingRemainder(double x) {
  double x2 = x * x;
  double r = 1.0 / x2;
  double series = 1.0 / 156.0;
  series = series * r - 691.0 / 360360.0;
  series = series * r + 1.0 / 1188.0;
  series = series * r - 1.0 / 1680.0;
  series = series * r + 1.0 / 1260.0;
  series = series * r - 1.0 / 360.0;
  series = series * r + 1.0 / 12.0;
  return series / x;
}

// ln(Gamma(a + 1/2) / Gamma(a)), without the cancellation of two large
// logarithms.
double LogGammaHalfRatio(double a) {
  if (a < 10) return std::lgamma(a + 0.5) - std::lgamma(a);
  return (a * std::log1p(0.5 / a) - 0.5) + 0.5 * std::log(a) + StirlingRemainder(a + 0.5) -
         StirlingRemainder(a);
}

// ln of u given u and its complement v = 1 - u, both accurate.
double LogOf(double u, double v) { return u > 0.5 ? std::log1p(-v) : std::log(u); }

// The continued fraction of I_x(a, b) (modified Lentz), for
// x < (a + 1) / (a + b + 2), times its prefactor
// x^a y^b / (a B(a, b)) given in logarithms.
double BetaFraction(double a, double b, double x, double log_front) {
  constexpr double kTiny = 1e-300;
  constexpr double kEps = 1e-16;
  const double qab = a + b, qap = a + 1, qam = a - 1;
  double c = 1;
  double d = 1 - qab * x / qap;
  if (std::fabs(d) < kTiny) d = kTiny;
  d = 1 / d;
  double h = d;
  for (int m = 1; m <= 1000000; ++m) {
    const double m2 = 2.0 * m;
    double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
    d = 1 + aa * d;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = 1 + aa / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1 / d;
    h *= d * c;
    aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
    d = 1 + aa * d;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = 1 + aa / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1 / d;
    const double del = d * c;
    h *= del;
    if (std::fabs(del - 1) < kEps) break;
  }
  return std::exp(log_front) * h;
}

struct Tails {
  double upper;    // P(|T| > t)
  double central;  // P(|T| < t)
};

// Both two-sided probabilities of t >= 0 with n degrees of freedom; the one
// computed directly is accurate, the other is its complement.
Tails TwoSided(double t, double n) {
  if (t == 0) return Tails{1, 0};
  if (std::isinf(t)) return Tails{0, 1};
  const double a = 0.5 * n;
  const double t2 = t * t;
  double x, y;
  if (std::isinf(t2)) {
    x = 0;
    y = 1;
  } else {
    x = n / (n + t2);
    y = t2 / (n + t2);
  }
  if (x == 0) {
    // t^2 overflows: the upper tail is its power law 2 c n^((n-1)/2) t^-n.
    double log_upper = std::log(2.0) + LogGammaHalfRatio(a) - kLogSqrtPi - 0.5 * std::log(n) +
                       0.5 * (n - 1) * std::log(n) - n * std::log(t);
    double upper = std::exp(log_upper);
    return Tails{upper, 1 - upper};
  }
  const double log_x = LogOf(x, y), log_y = LogOf(y, x);
  // ln B(a, 1/2) = ln sqrt(pi) - ln(Gamma(a + 1/2) / Gamma(a)).
  const double log_beta = kLogSqrtPi - LogGammaHalfRatio(a);
  const double log_common = a * log_x + 0.5 * log_y - log_beta;
  if (x < (a + 1) / (a + 2.5)) {
    double upper = BetaFraction(a, 0.5, x, log_common - std::log(a));
    return Tails{upper, 1 - upper};
  }
  double central = BetaFraction(0.5, a, y, log_common - std::log(0.5));
  return Tails{1 - central, central};
}

// ln of the t density at t.
double LogDensity(double t, double n) {
  const double a = 0.5 * n;
  const double t2 = t * t;
  const double x = n / (n + t2), y = t2 / (n + t2);
  return LogGammaHalfRatio(a) - 0.5 * std::log(n) - kLogSqrtPi + (a + 0.5) * LogOf(x, y);
}

// A first guess: Cornish-Fisher around the normal quantile, or the tail's
// power law when that is smaller.
double FirstGuess(double p, double n) {
  // Normal quantile of the upper tail p/2 (Abramowitz and Stegun 26.2.23).
  double half = 0.5 * (p < 1 ? std::fmin(p, 2 - p) : 1.0);
  double w = std::sqrt(-2.0 * std::log(half));
  double z = w - (2.515517 + w * (0.802853 + w * 0.010328)) /
                     (1 + w * (1.432788 + w * (0.189269 + w * 0.001308)));
  double z3 = z * z * z, z5 = z3 * z * z;
  double guess = z + (z3 + z) / (4 * n) + (5 * z5 + 16 * z3 + 3 * z) / (96 * n * n);
  if (p < 0.5) {
    double log_power = (std::log(2.0) + LogGammaHalfRatio(0.5 * n) - kLogSqrtPi +
                        0.5 * (n - 1) * std::log(n) - 0.5 * std::log(n) - std::log(p)) /
                       n;
    double power = std::exp(log_power);
    if (std::isfinite(power) && power < guess) guess = power;
  }
  if (!(guess > 0) || !std::isfinite(guess)) guess = 1;
  return guess;
}

// z > 0 with P(|Z| > z) = p for the standard normal Z: Newton's method on
// erfc (in logarithms) for p < 1/2, on erf for the centre.
double NormalQuantileTwoSided(double p) {
  const double q = 1 - p;
  double w = std::sqrt(-2.0 * std::log(0.5 * std::fmin(p, 2 - p)));
  double z = w - (2.515517 + w * (0.802853 + w * 0.010328)) /
                     (1 + w * (1.432788 + w * (0.189269 + w * 0.001308)));
  if (!(z > 0)) z = 1e-3;
  const double root2 = std::sqrt(2.0);
  const double log_p = std::log(p);
  for (int i = 0; i < 100; ++i) {
    double dens2 = std::sqrt(2.0 / kPi) * std::exp(-0.5 * z * z);  // 2 phi(z)
    double step;
    if (p < 0.5) {
      double tail = std::erfc(z / root2);
      step = (std::log(tail) - log_p) * tail / dens2;
    } else {
      step = (q - std::erf(z / root2)) / dens2;
    }
    if (!std::isfinite(step)) break;
    double next = z + step;
    if (next <= 0) next = 0.5 * z;
    bool done = std::fabs(next - z) <= 1e-16 * z;
    z = next;
    if (done) break;
  }
  return z;
}

// The quantile for very many degrees of freedom: the normal quantile
// corrected by the Cornish-Fisher series in 1/n (Abramowitz and Stegun
// 26.7.5), whose next term is below 1e-16 for n >= 1e6.
double ManyDegrees(double p, double n) {
  const double z = NormalQuantileTwoSided(p);
  const double z2 = z * z;
  const double g1 = (z2 + 1) * z / 4;
  const double g2 = ((5 * z2 + 16) * z2 + 3) * z / 96;
  const double g3 = (((3 * z2 + 19) * z2 + 17) * z2 - 15) * z / 384;
  const double g4 = ((((79 * z2 + 776) * z2 + 1482) * z2 - 1920) * z2 - 945) * z / 92160;
  const double r = 1 / n;
  return z + (g1 + (g2 + (g3 + g4 * r) * r) * r) * r;
}

}  // namespace

double StudentTUpper(double t, double df) {
  if (std::isnan(t) || !(df > 0)) return std::numeric_limits<double>::quiet_NaN();
  Tails tails = TwoSided(std::fabs(t), df);
  // P(T > t) = upper / 2 for t >= 0, 1 - upper / 2 = (1 + central) / 2 for t < 0.
  return t >= 0 ? 0.5 * tails.upper : 0.5 + 0.5 * tails.central;
}

double StandardNormalCdf(double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); }

double InverseStudentT2(double p, double n) {
  if (!(p > 0 && p <= 1) || !(n >= 1)) return std::numeric_limits<double>::quiet_NaN();
  if (p == 1) return 0;
  const double q = 1 - p;  // exact for p >= 1/2
  if (n == 1) return p < 0.5 ? 1 / std::tan(0.5 * kPi * p) : std::tan(0.5 * kPi * q);
  if (n == 2) return q * std::sqrt(2 / (p * (2 - p)));
  if (n >= kManyDegrees) return ManyDegrees(p, n);
  // Work on the smaller probability: the upper tail when p < 1/2, else the
  // central part 1 - p. h(u) = ln P(u) - ln target, u = ln t, is monotone:
  // decreasing for the tail, increasing for the centre.
  const bool tail = p < 0.5;
  const double log_target = tail ? std::log(p) : std::log(q);
  auto h = [&](double u, double& slope) {
    double t = std::exp(u);
    Tails tails = TwoSided(t, n);
    double prob = tail ? tails.upper : tails.central;
    if (!(prob > 0)) {
      slope = tail ? -1e300 : 1e300;
      return tail ? -std::numeric_limits<double>::infinity()
                  : std::numeric_limits<double>::infinity();
    }
    // d ln P / du = t P'(t) / P, P'(t) = -+2 f(t).
    double dens = std::exp(LogDensity(t, n));
    slope = (tail ? -2.0 : 2.0) * dens * t / prob;
    return std::log(prob) - log_target;
  };
  double u = std::log(FirstGuess(p, n));
  double lo = -std::numeric_limits<double>::infinity(),
         hi = std::numeric_limits<double>::infinity();
  for (int iteration = 0; iteration < 200; ++iteration) {
    double slope;
    double value = h(u, slope);
    if (value == 0) break;
    // Below the root the tail is too large (value > 0) and the centre too
    // small (value < 0).
    bool below = tail ? value > 0 : value < 0;
    if (below)
      lo = u;
    else
      hi = u;
    double next = u - value / slope;
    if (!std::isfinite(next) || next <= lo || next >= hi) {
      if (std::isfinite(lo) && std::isfinite(hi))
        next = 0.5 * (lo + hi);
      else
        next = below ? u + 2 : u - 2;
    }
    if (std::fabs(next - u) <= 1e-15 * std::fmax(1.0, std::fabs(u))) {
      u = next;
      break;
    }
    if (std::isfinite(lo) && std::isfinite(hi) && hi - lo <= 1e-15 * std::fmax(1.0, std::fabs(u)))
      break;
    u = next;
  }
  // A last Newton step in t itself.
  double t = std::exp(u);
  Tails tails = TwoSided(t, n);
  double dens = std::exp(LogDensity(t, n));
  if (dens > 0) {
    double step = tail ? (tails.upper - p) / (2 * dens) : (q - tails.central) / (2 * dens);
    if (std::isfinite(step) && std::fabs(step) < 0.01 * t) t += step;
  }
  return t;
}

}  // namespace orv::excel
