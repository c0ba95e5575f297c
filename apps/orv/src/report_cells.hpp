#pragma once
// How the report reads a cell beyond a plain number: the codes that mean
// "missing", numbers stored as text, and texts that would be numbers if a
// comma or point were read one way or the other, which the report never
// guesses at.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orv/frame/frame.hpp"

namespace orv::report {

// NA, N/A, n/a, #N/A (as text or as the error value), ".", "-", text of
// blanks, and the user's own codes: texts compared as written (around
// blanks aside; "Na" is sodium), codes that are numbers also by value.
class MissingCodes {
 public:
  explicit MissingCodes(const std::vector<std::string>& own = {});
  bool Matches(const Variant& value) const;
  // Some codes are numbers (--na -99), so numeric cells can match.
  bool HasNumbers() const { return !numbers_.empty(); }

 private:
  std::vector<std::string> texts_;  // lower case, trimmed
  std::vector<double> numbers_;
};

// The value of a text that is a plain number with a decimal point
// ("1.5", " -2e3 "): digits, a sign, a point and an exponent only.
std::optional<double> NumberInText(std::string_view text);

// How a text reads when `mark` (',' or '.') sits between its digits.
enum class MarkShape {
  kNone,       // not a number with the mark
  kDecimal,    // "1,5", "0,125": the mark can only be a decimal separator
  kAmbiguous,  // "1,234", "12,500": decimal separator or thousands separator
  kGrouped,    // "1,234,567", "1,234.5": thousands separators
};
MarkShape ShapeOf(std::string_view text, char mark);

// Why a text that looks like a number was not read as one, naming the option
// that decides ("--decimal-comma"); empty for other text.
std::string NumberAdvice(std::string_view text, bool decimal_comma);

}  // namespace orv::report
