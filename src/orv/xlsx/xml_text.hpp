#pragma once
// Cell texts as the file carries them.
#include <string>
#include <string_view>

namespace orv::xlsx::detail {

// Appends <t>text</t> (with xml:space="preserve" when the text begins or
// ends with white space): &, < and > as entities; characters XML cannot
// carry (controls other than tab and line feed, carriage returns, U+FFFE,
// U+FFFF) as _xHHHH_, and a literal "_xHHHH_" with its underscore escaped,
// as the file format asks; malformed UTF-8 as U+FFFD.
void AppendTextElement(std::string& out, std::string_view text);

}  // namespace orv::xlsx::detail
