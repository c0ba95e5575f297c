#pragma once
// Small text helpers the readers and front ends share: ASCII case folding
// and trimming of blanks at either end.
#include <string>
#include <string_view>

namespace orv {

// The text with ASCII letters in lower case; other bytes (UTF-8 included)
// unchanged.
std::string Lower(std::string_view text);

// Whether the texts are equal but for the case of ASCII letters.
bool SameIgnoringCase(std::string_view a, std::string_view b);

// The text without white space (space, tab, line breaks, vertical tab,
// form feed) at either end.
std::string Trimmed(std::string_view text);

}  // namespace orv
