#include "orv/frame/checked.hpp"

namespace orv {

void RaiseDivision(double numerator) {
  // 0 / 0 (and NaN / 0) is an invalid operation, which the platform reports
  // as an overflow; anything else over 0 is a division by zero.
  Raise(numerator == 0 || std::isnan(numerator) ? kErrOverflow : kErrDivisionByZero);
}

double Pow(double a, double b) {
  if (a < 0 && std::floor(b) != b) Raise(kErrInvalidCall);
  if (a == 0 && b < 0) Raise(kErrInvalidCall);
  return Finite(std::pow(a, b));
}

}  // namespace orv
