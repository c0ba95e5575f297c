#pragma once
// Arithmetic that fails as the platform's does instead of letting an
// infinity or a NaN slip through: x / 0 is 11 (0 / 0 is 6), a result that
// is not finite is 6, the square root of a negative number and the
// logarithm of a number <= 0 are 5.
#include <cmath>

#include "orv/frame/Error.hpp"

namespace orv {

[[noreturn]] void RaiseDivision(double numerator);

inline double Finite(double result) {
  if (!std::isfinite(result)) Raise(kErrOverflow);
  return result;
}

inline double Div(double a, double b) {
  if (b == 0) RaiseDivision(a);
  return Finite(a / b);
}
inline double Mul(double a, double b) { return Finite(a * b); }
inline double Add(double a, double b) { return Finite(a + b); }
inline double Sub(double a, double b) { return Finite(a - b); }

inline double Sqrt(double x) {
  if (x < 0) Raise(kErrInvalidCall);
  return Finite(std::sqrt(x));
}
inline double Log(double x) {
  if (!(x > 0)) Raise(kErrInvalidCall);
  return Finite(std::log(x));
}
inline double Exp(double x) { return Finite(std::exp(x)); }

// a ^ b: a negative base with a non-integral exponent, and 0 to a negative
// power, are 5; an overflowing result is 6.
double Pow(double a, double b);

}  // namespace orv
