#pragma once
// The platform's scaled decimal number: a 96-bit unsigned integer, a sign
// and a scale of 0 to 28 digits after the point, value = +-M / 10^scale.
//
// Arithmetic is exact where the result fits; otherwise the exact result is
// rounded, half to even, to the most digits after the point (at most 28)
// that keep the integer below 2^96. That gives 28 or 29 significant digits
// for results of 1 and above, and fewer below (at most 28 digits after the
// point): a result below 0.5E-28 in magnitude becomes 0. A result that
// does not fit even with no digit after the point is error 6 (overflow); a
// division by 0 is error 11, whatever the dividend.
//
// Conversions:
//   FromDouble  the full binary value of the double, rounded half to even
//               to 28 digits after the point (fewer when the magnitude
//               needs them); NaN, infinities and magnitudes from 2^96 up
//               are error 6.
//   ToDouble    the nearest double to the decimal value (ties to even).
//   Parse       decimal text: optional sign, digits with "." as the
//               point, optional exponent E or D; rounded as arithmetic
//               rounds. Malformed text is error 13, too large a value 6.
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

// The mantissa's carrier (only its low 96 bits are used).
__extension__ typedef unsigned __int128 DecimalMantissa;

class Decimal {
 public:
  static constexpr int kMaxScale = 28;

  // Zero.
  constexpr Decimal() = default;
  // An integer.
  static Decimal FromInteger(std::int64_t value);
  // Built from its parts; error 5 when mantissa >= 2^96 or scale > 28.
  static Decimal FromParts(DecimalMantissa mantissa, int scale, bool negative);

  static Decimal Parse(std::string_view text);
  static Decimal FromDouble(double value);
  double ToDouble() const;
  // The value as text: "-12.5", "0.0000001"; no exponent, no trailing
  // zeros after the point.
  std::string ToString() const;

  DecimalMantissa Mantissa() const { return (static_cast<DecimalMantissa>(hi_) << 64) | lo_; }
  int Scale() const { return scale_; }
  bool IsNegative() const { return negative_; }
  bool IsZero() const { return lo_ == 0 && hi_ == 0; }

  friend Decimal operator+(const Decimal& a, const Decimal& b);
  friend Decimal operator-(const Decimal& a, const Decimal& b);
  friend Decimal operator*(const Decimal& a, const Decimal& b);
  friend Decimal operator/(const Decimal& a, const Decimal& b);
  friend Decimal operator-(const Decimal& a);

  // Comparison by value: 1.50 == 1.5.
  friend bool operator==(const Decimal& a, const Decimal& b);
  friend std::strong_ordering operator<=>(const Decimal& a, const Decimal& b);

 private:
  friend struct DecimalAccess;

  std::uint64_t lo_ = 0;
  std::uint32_t hi_ = 0;
  std::uint8_t scale_ = 0;
  bool negative_ = false;
};

}  // namespace orv
