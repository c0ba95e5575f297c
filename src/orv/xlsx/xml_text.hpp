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

// The text as an XML element or attribute can carry it, for the parts whose
// text has no escape of its own (chart titles, series names, labels):
// controls other than tab and line feed, U+FFFE, U+FFFF and malformed UTF-8
// (lone surrogates included) become a visible U+FFFD; a carriage return,
// with the line feed after it, becomes a line feed.
std::string XmlSafe(std::string_view text);

}  // namespace orv::xlsx::detail
