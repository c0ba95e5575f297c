#include "report_cells.hpp"

#include <algorithm>
#include <cctype>

#include "orv/excel/errors.hpp"
#include "orv/frame/text.hpp"

namespace orv::report {

namespace {

bool Digits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
    return std::isdigit(c);
  });
}

}  // namespace

MissingCodes::MissingCodes(const std::vector<std::string>& own)
    : texts_{"", "NA", "N/A", "n/a", "#N/A", ".", "-"} {
  for (const std::string& code : own) {
    texts_.push_back(Trimmed(code));
    if (const auto number = NumberInText(code)) numbers_.push_back(*number);
  }
}

bool MissingCodes::Matches(const Variant& value) const {
  if (value.IsError()) return value.AsError().code == excel::xlErrNA;
  if (value.IsString())
    return std::find(texts_.begin(), texts_.end(), Trimmed(value.AsString())) != texts_.end();
  return value.IsNumber() &&
         std::find(numbers_.begin(), numbers_.end(), value.AsDouble()) != numbers_.end();
}

std::optional<double> NumberInText(std::string_view text) {
  const std::string plain = Trimmed(text);
  if (plain.empty() || plain.find_first_not_of("0123456789+-.eE") != std::string::npos)
    return std::nullopt;
  try {
    return ParseNumber(plain);
  } catch (const Error&) {
    return std::nullopt;  // beyond the doubles: left as text
  }
}

MarkShape ShapeOf(std::string_view text, char mark) {
  if (text.find(mark) == std::string_view::npos) return MarkShape::kNone;
  std::string plain = Trimmed(text);
  if (!plain.empty() && (plain[0] == '-' || plain[0] == '+')) plain.erase(0, 1);
  const char other = mark == ',' ? '.' : ',';
  const std::size_t decimal = plain.find(other);
  const std::string whole = plain.substr(0, decimal);
  if (decimal != std::string::npos && !Digits(plain.substr(decimal + 1))) return MarkShape::kNone;
  std::vector<std::string> parts;
  for (std::size_t from = 0;;) {
    const std::size_t at = whole.find(mark, from);
    parts.push_back(whole.substr(from, at - from));
    if (at == std::string::npos) break;
    from = at + 1;
  }
  if (parts.size() < 2 || !std::all_of(parts.begin(), parts.end(), Digits)) return MarkShape::kNone;
  const bool grouping =
      parts[0].size() <= 3 && parts[0][0] != '0' &&
      std::all_of(parts.begin() + 1, parts.end(), [](const std::string& p) { return p.size() == 3; });
  if (!grouping) return parts.size() == 2 && decimal == std::string::npos ? MarkShape::kDecimal
                                                                         : MarkShape::kNone;
  return parts.size() == 2 && decimal == std::string::npos ? MarkShape::kAmbiguous
                                                           : MarkShape::kGrouped;
}

std::string NumberAdvice(std::string_view text, bool decimal_comma) {
  const char mark = decimal_comma ? '.' : ',';
  const std::string quoted = "\"" + std::string(text) + "\"";
  switch (ShapeOf(text, mark)) {
    case MarkShape::kDecimal:
      return decimal_comma
                 ? quoted + " has a decimal point, where numbers are read with a decimal comma"
                 : quoted + " has a decimal comma; give --decimal-comma to read commas";
    case MarkShape::kAmbiguous: {
      std::string as_decimal = Trimmed(text), as_whole;
      std::replace(as_decimal.begin(), as_decimal.end(), mark, '.');
      for (char c : Trimmed(text))
        if (c != mark) as_whole += c;
      return quoted + " is " + as_decimal + " with a decimal " +
             (decimal_comma ? "point" : "comma") + " or " + as_whole +
             " with a thousands separator, which is never assumed; " +
             (decimal_comma ? "leave out --decimal-comma if the point is decimal"
                            : "give --decimal-comma if the comma is decimal") +
             ", or write the number without a separator";
    }
    case MarkShape::kGrouped:
      return quoted + " has thousands separators, which are never read; write the number "
                      "without them";
    case MarkShape::kNone:
      break;
  }
  return {};
}

}  // namespace orv::report
