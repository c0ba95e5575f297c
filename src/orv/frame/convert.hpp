#pragma once
// The conversions of the interface, written once. Every member of the
// library converts through these.
//
// To double (explicit CDbl and implicit alike): empty 0, True -1, False 0,
// numbers and dates their value, currency its amount, numeric text in the
// current decimal separator its value; other text, error values, objects
// and arrays 13, null 94.
// To string: empty "", Boolean "True"/"False", a double rounded to 15
// significant digits without trailing zeros (exponent form from 1E+15 up
// and below 1E-04), an error value "Error <n>", null 94, objects and
// arrays 13.
// To 16/32-bit integers: the double value rounded half to even; outside the
// type's range 6. To single: nearest float; beyond its range 6.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "orv/frame/Variant.hpp"

namespace orv {

// The process-wide decimal separator of number texts (default ".").
char DecimalSeparator();
void SetDecimalSeparator(char separator);

double CDbl(const Variant& value);
std::string CStr(const Variant& value);
std::string CStr(double value);
std::int16_t CInt(const Variant& value);
std::int16_t CInt(double value);
std::int32_t CLng(const Variant& value);
std::int32_t CLng(double value);
float CSng(const Variant& value);
float CSng(double value);
// To currency: the value times 10,000 rounded half to even; beyond the
// currency range (about +-9.2E+14) 6.
Currency CCur(const Variant& value);
Currency CCur(double value);
bool CBool(const Variant& value);
// Int(): the largest integral value not above the argument.
double Floor(double value);

// The value of a numeric text (surrounding blanks, a sign, digits with the
// current decimal separator, an exponent E or D; &H and &O integers), or
// nothing. A number beyond the double range is error 6.
std::optional<double> ParseNumber(std::string_view text);
// True when CDbl would succeed on the value.
bool IsNumeric(const Variant& value);

// Double to text, as CStr does.
std::string NumberToText(double value);

}  // namespace orv
