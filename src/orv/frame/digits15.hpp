#pragma once

// Rounding of doubles to 15 significant decimal digits, exactly and without
// any text formatting or parsing.

#include <cstddef>
#include <cstdint>

#include "orv/frame/simd.hpp"

namespace orv {

// A finite double rounded to 15 significant decimal digits:
//   value = (negative ? -1 : +1) * digits * 10^exponent.
struct Digits15 {
  bool negative = false;     // sign bit of the input (true for -0.0 too)
  std::uint64_t digits = 0;  // 10^14 <= digits < 10^15, or 0 for an input of +-0
  int exponent = 0;          // power of ten of the last digit (0 for +-0)

  friend bool operator==(const Digits15&, const Digits15&) = default;
};

// Rounds the EXACT binary value of x to 15 significant digits; an exact tie
// (16th significant digit 5 with nothing after it) is rounded away from zero,
// so ToDigits15(1.000030517578125) is 100003051757813 * 10^-14.
// Precondition: x is finite (for inf or NaN the result has digits == 0).
// Never formats or parses text.
Digits15 ToDigits15(double x);

// The double nearest to the value of ToDigits15(x) (ties to even, as strtod).
// +-0.0, +-inf and NaN are returned unchanged. When the exact |x| is at least
// 1.797693134862315e308 (the doubles from 1.7976931348623151e308 up to DBL_MAX),
// its 15-digit value 1.79769313486232e308 lies beyond the double range and the
// result is +-inf (as strtod would return); callers handle that themselves.
// Never formats or parses text; a few nanoseconds per call.
double Round15(double x);

// out[i] = Round15(x[i]) for i < count; out may be x itself. The vector
// paths run the operations of Round15's fast path lane by lane (the same
// correctly rounded multiplies and divides, the same integer rounding done
// in exact double arithmetic) and hand every lane that path does not settle
// (a tie at the 16th digit, |x| outside about 1e-8..1e15, zeros, subnormals,
// inf, NaN) to Round15 itself, so each result has Round15's bits.
void Round15Many(const double* x, double* out, std::size_t count);

namespace digits15_detail {

// Exposed for tests only: the same computations with the fast decisions
// switched off, so that the slower exact paths can be checked on any input.
enum class Path {
  kFast,        // what ToDigits15 and Round15 use
  kNoFastPath,  // skip the scaling by an exact power of ten used for 1e-8 <= |x| < 1e37,
                // and the exact double multiply/divide used when |exponent| <= 22
  kExactOnly,   // as kNoFastPath, and settle every rounding by big-integer comparison
};
Digits15 ToDigits15Via(double x, Path path);
double Round15Via(double x, Path path);
// Round15Many on a chosen instruction set (one the processor runs; Sse2 is
// the scalar loop).
void Round15ManyVia(const double* x, double* out, std::size_t count, InstructionSet set);

}  // namespace digits15_detail

}  // namespace orv
