#include "orv/distributions/CDistributions.hpp"

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "orv/frame/Decimal.hpp"

namespace orv {

namespace {

constexpr Member kCdfQ{Rule::Stamp, "CDistributions", "ORV_CDF_Q"};
constexpr Member kCdfRayleigh{Rule::Stamp, "CDistributions", "ORV_CDF_Rayleigh"};
constexpr Member kCdfT{Rule::Stamp, "CDistributions", "ORV_CDF_t"};
constexpr Member kCdfNormal{Rule::Stamp, "CDistributions", "ORV_CDF_Normal"};
constexpr Member kIdfNormal{Rule::Stamp, "CDistributions", "ORV_IDF_Normal"};

// ---- Normal lower tail (Hart 1968, as West 2005 writes it) ----

// The split between the rational and the continued-fraction branch.
constexpr double kHartSplit = 7.071;

// The lower tail from the standardised value z; cannot fail.
inline double NormalLowerFromZ(double z) {
  const double a = std::fabs(z);
  if (a > 37) return z > 0 ? 1.0 : 0.0;
  const double e = std::exp(-0.5 * (a * a));
  double c;
  if (a < kHartSplit) {
    // clang-format off
    const double n =
        ((((((0.0352624965998911 * a + 0.700383064443688) * a + 6.37396220353165) * a +
            33.912866078383) * a + 112.079291497871) * a + 221.213596169931) * a +
         220.206867912376) * e;
    const double d =
        (((((((0.0883883476483184 * a + 1.75566716318264) * a + 16.064177579207) * a +
             86.7807322029461) * a + 296.564248779674) * a + 637.333633378831) * a +
          793.826512519948) * a + 440.413735824752);
    // clang-format on
    c = n / d;
  } else {
    const double f = a + 1 / (a + 2 / (a + 3 / (a + 4 / (a + 0.65))));
    c = (e / 2.506628274631) / f;
  }
  if (z >= 0) c = 1 - c;
  if (c < 0) c = 0;
  return c;
}

// P(X <= x) for X normal(mean, sd); only the standardisation can fail.
inline double NormalLower(double x, double mean, double sd) {
  return NormalLowerFromZ(Div(Sub(x, mean), sd));
}

// ---- Normal quantile (Wichura's AS 241, PPND16) on decimal coefficients ----

using Poly = std::array<Decimal, 8>;  // coefficient of r^i at [i]

struct Ppnd16Coefficients {
  Poly a, b, c, d, e, f;  // b[0], d[0] and f[0] are 1
};

Poly ParsePoly(const std::array<const char*, 8>& texts) {
  Poly p;
  for (std::size_t i = 0; i < texts.size(); ++i) p[i] = Decimal::Parse(texts[i]);
  return p;
}

// Parsed once, on first use.
const Ppnd16Coefficients& Ppnd16() {
  static const Ppnd16Coefficients k{
      ParsePoly({"3.3871328727963666080E0", "1.3314166789178437745E+2", "1.9715909503065514427E+3",
                 "1.3731693765509461125E+4", "4.5921953931549871457E+4", "6.7265770927008700853E+4",
                 "3.3430575583588128105E+4", "2.5090809287301226727E+3"}),
      ParsePoly({"1", "4.2313330701600911252E+1", "6.8718700749205790830E+2",
                 "5.3941960214247511077E+3", "2.1213794301586595867E+4", "3.9307895800092710610E+4",
                 "2.8729085735721942674E+4", "5.2264952788528545610E+3"}),
      ParsePoly({"1.42343711074968357734E0", "4.63033784615654529590E0", "5.76949722146069140550E0",
                 "3.64784832476320460504E0", "1.27045825245236838258E0",
                 "2.41780725177450611770E-1", "2.27238449892691845833E-2",
                 "7.74545014278341407640E-4"}),
      ParsePoly({"1", "2.05319162663775882187E0", "1.67638483018380384940E0",
                 "6.89767334985100004550E-1", "1.48103976427480074590E-1",
                 "1.51986665636164571966E-2", "5.47593808499534494600E-4",
                 "1.05075007164441684324E-9"}),
      ParsePoly({"6.65790464350110377720E0", "5.46378491116411436990E0", "1.78482653991729133580E0",
                 "2.96560571828504891230E-1", "2.65321895265761230930E-2",
                 "1.24266094738807843860E-3", "2.71155556874348757815E-5",
                 "2.01033439929228813265E-7"}),
      ParsePoly({"1", "5.99832206555887937690E-1", "1.36929880922735805310E-1",
                 "1.48753612908506148525E-2", "7.86869131145613259100E-4",
                 "1.84631831751005468180E-5", "1.42151175831644588870E-7",
                 "2.04426310338993978564E-15"}),
  };
  return k;
}

// (((((((p7*r + p6)*r + p5)*r + p4)*r + p3)*r + p2)*r + p1)*r + p0
Decimal Horner(const Poly& p, const Decimal& r) {
  Decimal x = p[7];
  for (int i = 6; i >= 0; --i) x = x * r + p[i];
  return x;
}

// The decimal evaluation above decides every result, but it costs about a
// microsecond. So the same rational function is first evaluated in
// double-double arithmetic (compensated Horner, Graillat, Langlois and
// Louvet 2005), good to about 2^-95 relative since every term is positive.
// The decimal evaluation differs from the exact rational value of its
// inputs by less than 2^-80 relative (its 28-digit roundings of r and of
// each step; about 1e-25 at worst) plus 2e-27 absolute (the roundings of
// q, of q * A and of the quotient). When every value within those bounds
// rounds to the same double, that double is the decimal result converted
// to double; otherwise (only for p within about 1e-9 of 0.5) the decimal
// evaluation runs. This shortcut's own order of operations is free: each
// polynomial is split into its even and odd parts in r^2, and the four
// parts of numerator and denominator run side by side in vector lanes.
// The lane helpers are always inlined, so the warning about passing AVX
// vectors without AVX does not concern them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif
typedef double Lanes2 __attribute__((vector_size(16)));  // [numerator, denominator]
typedef double Lanes4 __attribute__((vector_size(32)));  // [even, odd] x [num, den]

struct PolyPair {
  Lanes4 hi[4], lo[4];  // coefficient of (r^2)^k: {n[2k], n[2k+1], d[2k], d[2k+1]}
};

struct Ppnd16Pairs {
  PolyPair central, tail_near, tail_far;  // a/b, c/d, e/f
};

#if defined(__SIZEOF_FLOAT128__)
constexpr bool kCompensatedShortcut = true;

PolyPair ToPair(const Poly& num, const Poly& den) {
  __extension__ typedef __float128 Quad;
  // M / 10^s exactly in binary128 (113 bits hold both), then split.
  auto split = [](const Decimal& d, double& hi, double& lo) {
    Quad ten = 1;
    for (int k = 0; k < d.Scale(); ++k) ten *= 10;
    const Quad v = static_cast<Quad>(d.Mantissa()) / ten;
    hi = static_cast<double>(v);
    lo = static_cast<double>(v - static_cast<Quad>(hi));
  };
  PolyPair out{};
  for (int k = 0; k < 4; ++k) {
    const Decimal* parts[4] = {&num[2 * k], &num[2 * k + 1], &den[2 * k], &den[2 * k + 1]};
    for (int lane = 0; lane < 4; ++lane) {
      double h, l;
      split(*parts[lane], h, l);
      out.hi[k][lane] = h;
      out.lo[k][lane] = l;
    }
  }
  return out;
}
#else
constexpr bool kCompensatedShortcut = false;
PolyPair ToPair(const Poly&, const Poly&) { return {}; }
#endif

const Ppnd16Pairs& Ppnd16Fast() {
  static const Ppnd16Pairs k = [] {
    const Ppnd16Coefficients& d = Ppnd16();
    return Ppnd16Pairs{ToPair(d.a, d.b), ToPair(d.c, d.d), ToPair(d.e, d.f)};
  }();
  return k;
}

// The exact error of a product: s * x - fl(s * x), lane by lane.
template <bool kFma, class V>
[[gnu::always_inline]] inline V ProductError(V s, V x, V product) {
  if constexpr (kFma) {
    V e;
    for (std::size_t i = 0; i < sizeof(V) / sizeof(double); ++i)
      e[i] = __builtin_fma(s[i], x[i], -product[i]);
    return e;
  } else {  // Dekker's product
    const V c = s * 134217729.0;
    const V sh = c - (c - s), sl = s - sh;
    const V xc = x * 134217729.0;
    const V xh = xc - (xc - x), xl = x - xh;
    return ((sh * xh - product) + sh * xl + sl * xh) + sl * xl;
  }
}

// hi + lo = a + b exactly (Knuth's TwoSum).
template <class V>
[[gnu::always_inline]] inline V TwoSum(V a, V b, V& error) {
  const V sum = a + b;
  const V back = sum - a;
  error = (a - (sum - back)) + (b - back);
  return sum;
}

// A(r) and B(r) by compensated Horner in y = r^2 on their even and odd
// parts, then q * A / B as a double-double, then the decision.
template <bool kFma>
[[gnu::always_inline]] inline bool Decide(const PolyPair& p, double q, double r, double& value) {
  if (!(r >= 0) || !(r < 8)) return false;
  const double yh = r * r;
  const double yl = ProductError<kFma>(Lanes2{r, r}, Lanes2{r, r}, Lanes2{yh, yh})[0];
  const Lanes4 y = {yh, yh, yh, yh}, ylow = {yl, yl, yl, yl};
  Lanes4 s = p.hi[3], c = p.lo[3];
  for (int k = 2; k >= 0; --k) {
    const Lanes4 product = s * y;
    const Lanes4 product_error = ProductError<kFma>(s, y, product) + s * ylow;
    Lanes4 sum_error;
    s = TwoSum(product, p.hi[k], sum_error);
    c = c * y + (product_error + sum_error + p.lo[k]);
  }
  // [A, B] = even + r * odd.
  const Lanes2 even_h = {s[0], s[2]}, even_l = {c[0], c[2]};
  const Lanes2 odd_h = {s[1], s[3]}, odd_l = {c[1], c[3]};
  const Lanes2 x = {r, r};
  const Lanes2 product = x * odd_h;
  const Lanes2 product_error = ProductError<kFma>(x, odd_h, product) + x * odd_l;
  Lanes2 sum_error;
  const Lanes2 h = TwoSum(even_h, product, sum_error);
  const Lanes2 l = sum_error + product_error + even_l;
  const double ah = h[0], al = l[0], bh = h[1], bl = l[1];
  // q * A / B as vh + vl.
  const double nh = q * ah;
  const double nl = ProductError<kFma>(Lanes2{q, q}, Lanes2{ah, ah}, Lanes2{nh, nh})[0] + q * al;
  const double vh = nh / bh;
  const double remainder = -ProductError<kFma>(Lanes2{vh, vh}, Lanes2{bh, bh}, Lanes2{nh, nh})[0];
  const double vl = (remainder + nl - vh * bl) / bh;
  // The bounds, widened by 1/128 to cover their own roundings.
  const double e = (std::fabs(vh) * 0x1p-80 + 2e-27) * 1.0078125;
  const double low = vh + (vl - e), high = vh + (vl + e);
  if (low != high) return false;
  value = low;
  return true;
}

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
__attribute__((target("avx2,fma"))) bool DecideWithFma(const PolyPair& p, double q, double r,
                                                       double& value) {
  return Decide<true>(p, q, r, value);
}
bool DecideWithoutFma(const PolyPair& p, double q, double r, double& value) {
  return Decide<false>(p, q, r, value);
}
const bool kHasFma = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("fma") && __builtin_cpu_supports("avx2");
}();
// The double result of q * A(r) / B(r) when the double-double evaluation
// decides it; false otherwise.
// `portable` takes the path of processors without fused multiply-add.
inline bool DecidedByDoubleDouble(const PolyPair& p, double q, double r, double& value,
                                  bool portable) {
  return kHasFma && !portable ? DecideWithFma(p, q, r, value) : DecideWithoutFma(p, q, r, value);
}
#else
inline bool DecidedByDoubleDouble(const PolyPair& p, double q, double r, double& value,
                                  bool portable) {
  return portable ? Decide<false>(p, q, r, value) : Decide<true>(p, q, r, value);
}
#endif

// q * A(r) / B(r) for |q| <= 0.425, r = 0.180625 - q*q.
double CentralQuantile(const Ppnd16Coefficients& k, double q, double r, bool shortcut,
                       bool portable) {
  if (shortcut && q == 0) return 0;  // 0 * A / B is 0 in decimal too
  if (kCompensatedShortcut && shortcut) {
    double value;
    if (DecidedByDoubleDouble(Ppnd16Fast().central, q, r, value, portable)) return value;
  }
  const Decimal qd = Decimal::FromDouble(q), rd = Decimal::FromDouble(r);
  return (qd * Horner(k.a, rd) / Horner(k.b, rd)).ToDouble();
}

// N(r) / D(r) of one tail segment.
double TailQuantile(const Poly& n, const Poly& d, const PolyPair& pair, double r, bool shortcut,
                    bool portable) {
  if (kCompensatedShortcut && shortcut) {
    double value;
    if (DecidedByDoubleDouble(pair, 1.0, r, value, portable)) return value;
  }
  const Decimal rd = Decimal::FromDouble(r);
  return (Horner(n, rd) / Horner(d, rd)).ToDouble();
}

// The tail's r: the double converted to the decimal type (28 digits after
// the point) and back. From 2^-39 up the decimal lies within 5e-29 of the
// double, closer than a quarter of its spacing, so the double comes back
// unchanged; below, and for zero, negative or non-finite values, the
// conversion runs (and fails as it must).
// Returns whether the decimal is above 0.
bool TailDecimal(double r, bool shortcut, double& back) {
  if (shortcut && r >= 0x1p-39 && r < 1) {
    back = r;
    return true;
  }
  const Decimal d = Decimal::FromDouble(r);
  back = d.ToDouble();
  return d > Decimal();
}

// ---- Studentized range (AS 190) ----

template <class Upper>
double StudentizedRange(double Q, Long ErrorDF, Integer NumGroups, Upper U, bool clampAtZero,
                        Line& line) {
  constexpr double STEP = 0.45, VMAX = 120, CV1 = 0.193064705, CV2 = 0.293525326,
                   CVMAX = 0.39894228;
  constexpr double CV[4] = {0.318309886, -0.00268132716, 0.00347222222, 0.0833333333};
  constexpr int JMIN = 3, JMAX = 15, KMIN = 7, KMAX = 15;
  constexpr double PCUTJ = 3e-9, PCUTK = 1e-8;

  line = 10;
  const double V = ErrorDF, R = NumGroups;
  if (V < 1 || R < 2) Raise(kObjectErrorBase, {}, "Invalid DFs");
  line = 20;
  if (Q <= 0) Raise(kObjectErrorBase, {}, "Invalid Q");
  line = 30;
  const double G = STEP * Pow(R, -0.2);
  const double GMID = 0.5 * Log(R);
  const double R1 = R - 1;
  double C = Log(R * G * CVMAX);
  double H = 0;
  line = 40;
  if (V <= VMAX) {
    H = STEP * Pow(V, -0.5);
    const double V2 = V * 0.5;
    if (V == 1)
      C = CV1;
    else if (V == 2)
      C = CV2;
    else
      C = std::sqrt(V2) * CV[0] / (1 + ((CV[1] / V2 + CV[2]) / V2 + CV[3]) / V2);
    C = Log(C * R * G * H);
  }
  line = 50;
  double GSTEP = G;
  // Abscissae and weights of the inner integration, 1-based; a node is
  // computed the first time it is reached and kept for later K.
  double QW[2 * JMAX + 1] = {}, VW[2 * JMAX + 1] = {};
  QW[1] = -1;
  QW[JMAX + 1] = -1;
  double PK1 = 1, PK2 = 1, P = 0;
  for (int K = 1; K <= KMAX; ++K) {
    line = 60;
    GSTEP = GSTEP - G;
    do {  // one abscissa on each side of GMID
      GSTEP = -GSTEP;
      const double GK = GMID + GSTEP;
      double PK = 0;
      if (!(PK2 <= PCUTK && K > KMIN)) {
        line = 70;
        const double W0 = C - GK * GK * 0.5;
        const double PZ = U(GK);
        double X = U(GK - Q) - PZ;
        if (X > 0) PK = std::exp(W0 + R1 * std::log(X));
        if (V <= VMAX) {
          int JUMP = -JMAX;
          do {  // the nodes above, then (H < 0) below
            JUMP += JMAX;
            for (int J = 1; J <= JMAX; ++J) {
              const int JJ = J + JUMP;
              if (QW[JJ] <= 0) {
                line = 80;
                const double HJ = H * J;
                if (J < JMAX) QW[JJ + 1] = -1;
                const double EHJ = std::exp(HJ);
                QW[JJ] = Mul(Q, EHJ);
                VW[JJ] = V * (HJ + 0.5 - EHJ * EHJ * 0.5);
              }
              line = 90;
              double PJ = 0;
              X = U(GK - QW[JJ]) - PZ;
              if (X > 0) PJ = std::exp(W0 + VW[JJ] + R1 * std::log(X));
              PK = PK + PJ;
              if (PJ <= PCUTJ && (JJ > JMIN || K > KMIN)) break;
            }
            H = -H;
          } while (H < 0);
        }
      }
      line = 100;
      P = P + PK;
      if (K > KMIN && PK <= PCUTK && PK1 <= PCUTK) return 1 - P;
      PK2 = PK1;
      PK1 = PK;
    } while (GSTEP > 0);
  }
  line = 110;
  double result = 1 - P;
  if (clampAtZero && result < 0) result = 0;
  return result;
}

// ---- Rayleigh ----

// Critical value of Rayleigh's Z for upper-tail probability P and n
// observations.
inline double RayleighCritical(double P, double n) {
  const double z = -Log(P);
  const double z2 = z * z, z3 = z2 * z, z4 = z3 * z;
  const double A = (2 * z - z2) / 4;
  const double B = (12 * z - 3 * z2 - z3) / 72;
  const double Cc = (42 * z2 - 12 * z - 8 * z3 - z4) / 288;
  return z + Div(A, n) + Div(B, n * n) + Div(Cc, n * n * n);
}

// ORV_IDF_Normal after the SD check: the standard normal quantile of p.
[[gnu::always_inline]] inline double NormalQuantileSteps(double p, bool shortcuts, Line& line,
                                                         bool portable = false) {
  const Ppnd16Coefficients& k = Ppnd16();
  line = 30;
  const double q = Sub(p, 0.5);
  if (std::fabs(q) <= 0.425) {
    line = 40;
    const double r = 0.180625 - q * q;
    return CentralQuantile(k, q, r, shortcuts, portable);
  }
  line = 50;
  double r;
  const bool positive = TailDecimal(q < 0 ? p : 1 - p, shortcuts, r);
  line = 60;
  if (!positive) Raise(kErrInvalidCall);
  line = 70;
  r = Sqrt(-Log(r));
  line = 80;
  const Ppnd16Pairs& fast = Ppnd16Fast();
  double val;
  if (r <= 5) {
    r = r - 1.6;
    val = TailQuantile(k.c, k.d, fast.tail_near, r, shortcuts, portable);
  } else {
    r = r - 5;
    val = TailQuantile(k.e, k.f, fast.tail_far, r, shortcuts, portable);
  }
  line = 90;
  if (q < 0) val = -val;
  return val;
}

}  // namespace

namespace detail {

double StudentizedRangeUpperTail(double Q, Long ErrorDF, Integer NumGroups, NormalLowerTail normal,
                                 void* context, bool clampAtZero, Line& line) {
  return StudentizedRange(
      Q, ErrorDF, NumGroups, [&](double x) { return 1 - normal(x, context); }, clampAtZero, line);
}

double RayleighUpperTail(double Rayleigh, Long Count, Line& line) {
  const double n = Count;
  line = 10;
  double step = 1, P = 0.1, Rprev = 0;
  for (;;) {
    line = 20;
    if (Rprev != 0) {
      if (std::fabs(RayleighCritical(P + 1e-11, n) - Rayleigh) <
          std::fabs(RayleighCritical(P - 1e-11, n) - Rayleigh))
        step = -std::fabs(step);  // walk upward
      else
        step = std::fabs(step);  // walk downward
    }
    line = 30;
    step = step / 10;
    if (P == step) P = P + step;
    line = 40;
    for (;;) {
      const double T = RayleighCritical(P - step, n);
      if (std::fabs(Rprev - Rayleigh) < std::fabs(T - Rayleigh)) break;
      P = P - step;
      Rprev = T;
      if (P - step == 0) break;
    }
    line = 50;
    if (std::fabs(Rayleigh - Rprev) <= 1e-9 || std::fabs(step) <= 1e-10) break;
  }
  line = 60;
  return Floor(P * 1e10) / 1e10;
}

}  // namespace detail

Double CDistributions::ORV_CDF_Q(Double Q, Long ErrorDF, Integer NumGroups) const {
  return Guard(kCdfQ, [&](Line& line) {
    return StudentizedRange(
        Q, ErrorDF, NumGroups, [](double x) { return 1 - NormalLower(x, 0, 1); }, true, line);
  });
}

Double CDistributions::ORV_CDF_Rayleigh(Double Rayleigh, Long Count) const {
  return Guard(kCdfRayleigh,
               [&](Line& line) { return detail::RayleighUpperTail(Rayleigh, Count, line); });
}

Double CDistributions::ORV_CDF_t(Double t, Long DF, Byte Tails) const {
  constexpr double EPS = 1e-12;
  return Guard(kCdfT, [&](Line& line) {
    line = 10;
    if (Tails != 1 && Tails != 2) Raise(orvErrInvalidValue, {}, "Tails must be 1 or 2");
    line = 20;
    const double c = 2 / (4 * (std::atan(1.0 / 2) + std::atan(1.0 / 3)));  // 2 / pi
    line = 30;
    if (DF < 1) Raise(orvErrInvalidValue, {}, "DF must be > 0");
    line = 40;
    const double n_df = DF;
    const double t2 = Mul(t, t);
    double y = t2 / n_df;
    double b = 1 + y;
    double z = 1;
    double a, p;
    line = 50;
    if (n_df <= 200 && (n_df <= 19.999999999999 || n_df <= t2)) {
      double n;
      if (n_df >= 20 || t2 >= 4) {
        line = 60;  // tail series
        a = std::sqrt(b);
        y = a * n_df;
        double j = 0;
        for (;;) {
          j = j + 2;
          if (std::fabs(a - z) <= EPS) break;
          z = a;
          y = y * (j - 1) / (b * j);
          a = a + y / (n_df + j);
        }
        n = n_df + 2;
        z = 0;
        y = 0;
        a = -a;
      } else {
        line = 70;  // cosine series
        y = std::sqrt(y);
        a = DF == 1 ? 0 : y;
        n = n_df;
      }
      line = 80;
      for (;;) {
        n = n - 2;
        if (n <= 1) break;
        a = (n - 1) * a / (b * n) + y;
      }
      line = 90;
      if (std::fabs(n) < EPS)
        a = a / std::sqrt(b);
      else
        a = (std::atan(y) + a / b) * c;
      p = z - a;
    } else {
      line = 100;  // normal approximation
      if (y > 1e-6) y = std::log(b);
      a = n_df - 0.5;
      b = 48 * (a * a);
      y = a * y;
      const double s = std::sqrt(y);
      y = (((((-0.4 * y - 3.3) * y - 24) * y - 85.5) / (0.8 * (y * y) + 100 + b) + y + 3) / b + 1) *
          s;
      p = 2 * NormalLower(-y, 0, 1);
    }
    line = 110;
    if (Tails == 1) p = p / 2;
    line = 120;
    if (p < 0) p = 0;
    return p;
  });
}

Double CDistributions::ORV_CDF_Normal(Double x, Double Mean, Double SD) const {
  return Guard(kCdfNormal, [&](Line& line) {
    line = 10;
    const double z = Div(Sub(x, Mean), SD);
    line = 20;
    return NormalLowerFromZ(z);
  });
}

Double CDistributions::ORV_IDF_Normal(Double p, Double Mean, Double SD) const {
  return Guard(kIdfNormal, [&](Line& line) {
    line = 10;
    Ppnd16();
    line = 20;
    if (SD == 0) Raise(kErrDivisionByZero);
    const double val = NormalQuantileSteps(p, true, line);
    line = 100;
    return Add(Mul(val, SD), Mean);
  });
}

namespace detail {

double StandardNormalQuantile(double p, bool shortcuts, Line& line, bool portable) {
  return NormalQuantileSteps(p, shortcuts, line, portable);
}

}  // namespace detail

Double CDistributions::ORV_IDF_t(const Variant& p, const Variant& DF) const {
  // No handler: every failure leaves as it was raised.
  const double pv = CDbl(p);
  const double df = CDbl(DF);
  const double h = (std::atan(1.0 / 3) + std::atan(1.0 / 2)) * 4 / 2;  // pi / 2
  if (!(pv > 0) || pv > 1 || !(df >= 1)) Raise(kErrInvalidCall);
  if (std::fabs(df - 2) < 1e-12) return Sqrt(Div(2, pv * (2 - pv)) - 2);
  if (df < 1.000000000001) {
    const double x = pv * h;
    return Div(std::cos(x), std::sin(x));
  }
  const double a = 1 / (df - 0.5);
  const double b = Div(48, a * a);
  double c = ((20700 * a / b - 98) * a - 16) * a + 96.36;
  const double d = ((Div(94.5, b + c) - 3) / b + 1) * std::sqrt(a * h) * df;
  double x = d * pv;
  double y = Pow(x, 2 / df);
  if (y > a + 0.05) {
    // Large-sample branch, from the normal quantile.
    x = ORV_IDF_Normal(0.5 * pv, 0, 1);
    y = x * x;
    if (df < 5) c = c + 0.3 * (df - 4.5) * (x + 0.6);
    c = (((0.05 * d * x - 5) * x - 7) * x - 2) * x + b + c;
    y = ((Div(((0.4 * y + 6.3) * y + 36) * y + 94.5, c) - y - 3) / b + 1) * x;
    y = a * (y * y);
    if (y > 0.002)
      y = Exp(y) - 1;
    else
      y = 0.5 * (y * y) + y;
  } else {
    const double inner = (Div(df + 6, df * y) - 0.089 * d - 0.822) * (df + 2) * 3;
    y = ((Div(1, inner) + 0.5 / (df + 4)) * y - 1) * (df + 1) / (df + 2) + Div(1, y);
  }
  return Sqrt(Finite(df * y));
}

}  // namespace orv
