#include "orv/frame/convert.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "orv/frame/digits15.hpp"

namespace orv {

namespace {
char g_decimal_separator = '.';

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::optional<double> ParseRadix(std::string_view body, int radix) {
  if (body.empty() || body.size() > 11) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : body) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return std::nullopt;
    if (digit >= radix) return std::nullopt;
    value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit);
  }
  // &H and &O literals are 32-bit two's complement (&HFFFFFFFF is -1).
  if (value > 0xFFFFFFFFull) Raise(kErrOverflow);
  return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

// Banker's rounding of a finite double to an integral double.
double RoundHalfEven(double x) {
  double r = std::floor(x);
  double diff = x - r;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0)) r += 1;
  return r;
}

// A date holds 1 January 100 (-657434) to the end of 31 December 9999
// (2958465.99...); beyond that, and for NaN, the text is an overflow.
std::string FormatSerialDate(double serial) {
  if (!(serial >= -657434.0 && serial < 2958466.0)) Raise(kErrOverflow);
  // Civil date of a day count from 1899-12-30 (proleptic Gregorian).
  double whole = std::floor(serial);
  // Days since 0000-03-01; 1899-12-30 is day -25569 from 1970-01-01.
  long long z = static_cast<long long>(whole) - 25569 + 719468;
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  long long doe = z - era * 146097;
  long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long y = yoe + era * 400;
  long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long long mp = (5 * doy + 2) / 153;
  long long d = doy - (153 * mp + 2) / 5 + 1;
  long long m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
  char buffer[128];
  int seconds = static_cast<int>(std::lround((serial - whole) * 86400.0)) % 86400;
  if (seconds == 0) {
    std::snprintf(buffer, sizeof buffer, "%lld/%lld/%lld", m, d, y);
  } else {
    std::snprintf(buffer, sizeof buffer, "%lld/%lld/%lld %02d:%02d:%02d", m, d, y, seconds / 3600,
                  seconds / 60 % 60, seconds % 60);
  }
  return buffer;
}

std::string CurrencyToText(std::int64_t scaled) {
  bool negative = scaled < 0;
  std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
  std::string text = std::to_string(magnitude / 10000);
  std::uint64_t fraction = magnitude % 10000;
  if (fraction != 0) {
    char digits[5];
    std::snprintf(digits, sizeof digits, "%04u", static_cast<unsigned>(fraction));
    std::string f(digits);
    while (!f.empty() && f.back() == '0') f.pop_back();
    text += g_decimal_separator;
    text += f;
  }
  return negative ? "-" + text : text;
}

std::string SingleToText(float value) {
  // Seven significant digits, as single precision is written.
  if (value == 0) return "0";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6e", static_cast<double>(value));
  double rounded = std::strtod(buffer, nullptr);
  // Reuse the double writer on the 7-digit value: its 15-digit rounding
  // keeps the seven digits exactly.
  return NumberToText(rounded);
}
}  // namespace

char DecimalSeparator() { return g_decimal_separator; }
void SetDecimalSeparator(char separator) { g_decimal_separator = separator; }

std::optional<double> ParseNumber(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  std::string_view body = text.substr(begin, end - begin);
  if (body.size() > 2 && body[0] == '&') {
    if (body[1] == 'H' || body[1] == 'h') return ParseRadix(body.substr(2), 16);
    if (body[1] == 'O' || body[1] == 'o') return ParseRadix(body.substr(2), 8);
    return std::nullopt;
  }
  std::string normal;
  normal.reserve(body.size());
  std::size_t i = 0;
  if (i < body.size() && (body[i] == '+' || body[i] == '-')) {
    if (body[i] == '-') normal += '-';
    ++i;
    while (i < body.size() && IsBlank(body[i])) ++i;
  }
  std::size_t digits = 0;
  while (i < body.size() && body[i] >= '0' && body[i] <= '9') {
    normal += body[i++];
    ++digits;
  }
  if (i < body.size() && body[i] == g_decimal_separator) {
    normal += '.';
    ++i;
    while (i < body.size() && body[i] >= '0' && body[i] <= '9') {
      normal += body[i++];
      ++digits;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < body.size() && (body[i] == 'E' || body[i] == 'e' || body[i] == 'D' || body[i] == 'd')) {
    normal += 'e';
    ++i;
    if (i < body.size() && (body[i] == '+' || body[i] == '-')) normal += body[i++];
    std::size_t exponent_digits = 0;
    while (i < body.size() && body[i] >= '0' && body[i] <= '9') {
      normal += body[i++];
      ++exponent_digits;
    }
    if (exponent_digits == 0) return std::nullopt;
  }
  if (i != body.size()) return std::nullopt;
  double value = 0;
  auto [ptr, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Underflow reads as 0; overflow is an error. from_chars leaves the
    // value untouched here, strtod tells the two apart.
    double magnitude = std::strtod(normal.c_str(), nullptr);
    if (std::isinf(magnitude)) Raise(kErrOverflow);
    return std::signbit(magnitude) ? -0.0 : 0.0;
  }
  if (ec != std::errc() || ptr != normal.data() + normal.size()) return std::nullopt;
  return value;
}

double CDbl(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
      return 0;
    case VarType::Null:
      Raise(kErrInvalidNull);
    case VarType::Integer:
      return value.AsInteger();
    case VarType::Long:
      return value.AsLong();
    case VarType::Single:
      return value.AsSingle();
    case VarType::Double:
      return value.AsDouble();
    case VarType::Currency:
      return static_cast<double>(value.AsCurrency().scaled) / 10000.0;
    case VarType::Date:
      return value.AsDate().serial;
    case VarType::Boolean:
      return value.AsBoolean() ? -1.0 : 0.0;
    case VarType::String: {
      std::optional<double> number = ParseNumber(value.AsString());
      if (!number) Raise(kErrTypeMismatch);
      return *number;
    }
    default:
      Raise(kErrTypeMismatch);
  }
}

bool IsNumeric(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Date:
    case VarType::Boolean:
      return true;
    case VarType::String:
      try {
        return ParseNumber(value.AsString()).has_value();
      } catch (const Error&) {
        return false;
      }
    default:
      return false;
  }
}

std::string NumberToText(double value) {
  if (value == 0) return "0";
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  Digits15 d = ToDigits15(value);
  std::string digits = std::to_string(d.digits);             // 15 digits
  int point = d.exponent + static_cast<int>(digits.size());  // position of the decimal point
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  int e = point - 1;  // decimal exponent of the first digit
  std::string text = d.negative ? "-" : "";
  if (e >= 15 || e < -4) {
    text += digits[0];
    if (digits.size() > 1) {
      text += g_decimal_separator;
      text.append(digits, 1, std::string::npos);
    }
    text += e < 0 ? "E-" : "E+";
    int magnitude = e < 0 ? -e : e;
    if (magnitude < 10) text += '0';
    text += std::to_string(magnitude);
  } else if (e >= 0) {
    if (static_cast<int>(digits.size()) <= point) {
      text += digits;
      text.append(static_cast<std::size_t>(point) - digits.size(), '0');
    } else {
      text.append(digits, 0, static_cast<std::size_t>(point));
      text += g_decimal_separator;
      text.append(digits, static_cast<std::size_t>(point), std::string::npos);
    }
  } else {
    text += '0';
    text += g_decimal_separator;
    text.append(static_cast<std::size_t>(-point), '0');
    text += digits;
  }
  return text;
}

std::string CStr(double value) { return NumberToText(value); }

std::string CStr(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
      return std::string();
    case VarType::Null:
      Raise(kErrInvalidNull);
    case VarType::Integer:
      return std::to_string(value.AsInteger());
    case VarType::Long:
      return std::to_string(value.AsLong());
    case VarType::Single:
      return SingleToText(value.AsSingle());
    case VarType::Double:
      return NumberToText(value.AsDouble());
    case VarType::Currency:
      return CurrencyToText(value.AsCurrency().scaled);
    case VarType::Date:
      return FormatSerialDate(value.AsDate().serial);
    case VarType::Boolean:
      return value.AsBoolean() ? "True" : "False";
    case VarType::String:
      return value.AsString();
    case VarType::Error:
      return "Error " + std::to_string(value.AsError().code);
    default:
      Raise(kErrTypeMismatch);
  }
}

std::int16_t CInt(double value) {
  if (!std::isfinite(value)) Raise(kErrOverflow);
  double r = RoundHalfEven(value);
  if (r < -32768.0 || r > 32767.0) Raise(kErrOverflow);
  return static_cast<std::int16_t>(r);
}
std::int16_t CInt(const Variant& value) {
  if (value.Type() == VarType::Integer) return value.AsInteger();
  return CInt(CDbl(value));
}

std::int32_t CLng(double value) {
  if (!std::isfinite(value)) Raise(kErrOverflow);
  double r = RoundHalfEven(value);
  if (r < -2147483648.0 || r > 2147483647.0) Raise(kErrOverflow);
  return static_cast<std::int32_t>(r);
}
std::int32_t CLng(const Variant& value) {
  if (value.Type() == VarType::Long) return value.AsLong();
  if (value.Type() == VarType::Integer) return value.AsInteger();
  return CLng(CDbl(value));
}

float CSng(double value) {
  if (std::isnan(value)) Raise(kErrOverflow);
  float f = static_cast<float>(value);
  if (std::isinf(f)) Raise(kErrOverflow);
  return f;
}
float CSng(const Variant& value) {
  if (value.Type() == VarType::Single) return value.AsSingle();
  return CSng(CDbl(value));
}

Currency CCur(double value) {
  if (!std::isfinite(value)) Raise(kErrOverflow);
  const double scaled = RoundHalfEven(value * 10000.0);
  // 2^63 is exact as a double; the range is [-2^63, 2^63).
  if (scaled < -9223372036854775808.0 || scaled >= 9223372036854775808.0) Raise(kErrOverflow);
  return Currency{static_cast<std::int64_t>(scaled)};
}
Currency CCur(const Variant& value) {
  if (value.Type() == VarType::Currency) return value.AsCurrency();
  return CCur(CDbl(value));
}

bool CBool(const Variant& value) {
  if (value.Type() == VarType::Boolean) return value.AsBoolean();
  if (value.IsString()) {
    const std::string& s = value.AsString();
    if (s == "True" || s == "true" || s == "TRUE") return true;
    if (s == "False" || s == "false" || s == "FALSE") return false;
  }
  return CDbl(value) != 0;
}

double Floor(double value) { return std::floor(value); }

}  // namespace orv
