#pragma once
// Reading and writing A1 references.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orv/excel/Rect.hpp"

namespace orv::excel {

struct ParsedReference {
  std::optional<std::string> book;   // [Book1.xlsx]
  std::optional<std::string> sheet;  // Sheet1 or 'My Sheet'
  std::vector<Rect> areas;
};

// "A1", "$A$1:$C$10", "A:C", "1:3", "Sheet1!A1", "'My Sheet'!A1",
// "[Book1.xlsx]Sheet1!A1", "A1:B2:C3" (the hull), areas joined by ",";
// every area must name the same sheet (or none). Nothing when malformed or
// outside the sheet.
std::optional<ParsedReference> ParseReference(std::string_view text);

// 1 -> "A", 28 -> "AB", 16384 -> "XFD".
std::string ColumnLetters(std::int32_t column);
// "A" -> 1 ...; 0 when not 1 to 3 letters within the sheet.
std::int32_t ColumnNumber(std::string_view letters);
// "$A$1", "$A$1:$C$10", "$A:$C", "$1:$3".
std::string FormatArea(const Rect& area, bool row_absolute = true, bool column_absolute = true);
// A sheet name as a reference writes it: quoted ('My Sheet') when it holds
// anything but letters, digits, "_" and ".", or starts with a digit.
std::string QuoteSheetName(std::string_view book, std::string_view sheet);
// Names of workbooks and sheets compare without regard to case.
bool SameSheetName(std::string_view a, std::string_view b);

}  // namespace orv::excel
