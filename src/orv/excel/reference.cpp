#include "orv/excel/reference.hpp"
#include "orv/excel/internal/detail.hpp"
#include "orv/frame/text.hpp"

#include <cctype>

namespace orv::excel {

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One end of an area: a cell, a whole column (letters only) or a whole row
// (digits only).
struct End {
  std::int32_t row = 0;     // 0: whole column
  std::int32_t column = 0;  // 0: whole row
};

bool ParseEnd(std::string_view text, End& end) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == '$') ++i;
  std::size_t letters_begin = i;
  while (i < text.size() && IsLetter(text[i])) ++i;
  std::string_view letters = text.substr(letters_begin, i - letters_begin);
  if (!letters.empty()) {
    end.column = ColumnNumber(letters);
    if (end.column == 0) return false;
    if (i == text.size()) return true;  // a whole column: "A", "$A"
  }
  if (i < text.size() && text[i] == '$') {
    if (letters.empty()) return false;  // "$$1"
    ++i;
  }
  std::size_t digits_begin = i;
  std::int64_t row = 0;
  while (i < text.size() && IsDigit(text[i])) {
    row = row * 10 + (text[i] - '0');
    if (row > kMaxRows) return false;
    ++i;
  }
  if (i != text.size() || i == digits_begin || row < 1) return false;
  end.row = static_cast<std::int32_t>(row);
  return true;
}

// Splits "prefix!rest"; handles the quoted form 'It''s'!A1.
bool SplitPrefix(std::string_view text, std::optional<std::string>& prefix,
                 std::string_view& rest) {
  if (!text.empty() && text[0] == '\'') {
    std::string name;
    std::size_t i = 1;
    for (;;) {
      if (i >= text.size()) return false;
      if (text[i] == '\'') {
        if (i + 1 < text.size() && text[i + 1] == '\'') {
          name += '\'';
          i += 2;
          continue;
        }
        break;
      }
      name += text[i++];
    }
    if (i + 1 >= text.size() || text[i + 1] != '!') return false;
    prefix = name;
    rest = text.substr(i + 2);
    return true;
  }
  std::size_t bang = text.find('!');
  if (bang == std::string_view::npos) {
    rest = text;
    return true;
  }
  std::string_view name = text.substr(0, bang);
  if (name.empty()) return false;
  for (char c : name)
    if (c == ' ' || c == '\'' || c == ':' || c == '!' || c == '"') return false;
  prefix = std::string(name);
  rest = text.substr(bang + 1);
  return true;
}

// "[Book]Sheet" -> book, sheet.
bool SplitBook(const std::string& prefix, std::optional<std::string>& book, std::string& sheet) {
  if (!prefix.empty() && prefix[0] == '[') {
    std::size_t close = prefix.find(']');
    if (close == std::string::npos || close == 1) return false;
    book = prefix.substr(1, close - 1);
    sheet = prefix.substr(close + 1);
  } else {
    sheet = prefix;
  }
  if (sheet.empty()) return false;
  for (char c : sheet)
    if (c == '[' || c == ']' || c == '*' || c == '?' || c == '/' || c == '\\' || c == ':')
      return false;
  return true;
}

bool ParseArea(std::string_view text, ParsedReference& out, bool& first) {
  std::optional<std::string> prefix;
  std::string_view rest;
  if (!SplitPrefix(text, prefix, rest) || rest.empty()) return false;
  if (prefix) {
    std::optional<std::string> book;
    std::string sheet;
    if (!SplitBook(*prefix, book, sheet)) return false;
    if (first) {
      out.book = book;
      out.sheet = sheet;
    } else {
      if (!out.sheet || !SameSheetName(*out.sheet, sheet)) return false;
      if (book.has_value() != out.book.has_value() || (book && !SameSheetName(*book, *out.book)))
        return false;
    }
  } else if (!first && out.sheet) {
    // Areas after a named one without a name of their own stay on that sheet.
  }
  first = false;
  // Ends joined by ":" (a chain gives the hull of all of them).
  std::vector<End> ends;
  std::size_t start = 0;
  for (;;) {
    std::size_t colon = rest.find(':', start);
    std::string_view piece = rest.substr(
        start, colon == std::string_view::npos ? std::string_view::npos : colon - start);
    End end;
    if (piece.empty() || !ParseEnd(piece, end)) return false;
    ends.push_back(end);
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  bool whole_columns = ends[0].row == 0, whole_rows = ends[0].column == 0;
  for (const End& e : ends) {
    if ((e.row == 0) != whole_columns || (e.column == 0) != whole_rows) return false;
  }
  if ((whole_columns || whole_rows) && ends.size() < 2) return false;
  Rect area;
  if (whole_columns) {
    area = Rect{1, ends[0].column, kMaxRows, ends[0].column};
    for (const End& e : ends) area = area.Hull(Rect{1, e.column, kMaxRows, e.column});
  } else if (whole_rows) {
    area = Rect{ends[0].row, 1, ends[0].row, kMaxColumns};
    for (const End& e : ends) area = area.Hull(Rect{e.row, 1, e.row, kMaxColumns});
  } else {
    area = Rect{ends[0].row, ends[0].column, ends[0].row, ends[0].column};
    for (const End& e : ends) area = area.Hull(Rect{e.row, e.column, e.row, e.column});
  }
  out.areas.push_back(area);
  return true;
}

}  // namespace

std::int32_t ColumnNumber(std::string_view letters) {
  if (letters.empty() || letters.size() > 3) return 0;
  std::int32_t n = 0;
  for (char c : letters) {
    if (!IsLetter(c)) return 0;
    n = n * 26 + (std::toupper(static_cast<unsigned char>(c)) - 'A' + 1);
  }
  return n <= kMaxColumns ? n : 0;
}

std::string ColumnLetters(std::int32_t column) {
  std::string letters;
  while (column > 0) {
    int remainder = (column - 1) % 26;
    letters.insert(letters.begin(), static_cast<char>('A' + remainder));
    column = (column - 1) / 26;
  }
  return letters;
}

std::string FormatArea(const Rect& area, bool row_absolute, bool column_absolute) {
  std::string text;
  auto column = [&](std::int32_t c) {
    if (column_absolute) text.push_back('$');
    text.append(ColumnLetters(c));
  };
  auto row = [&](std::int32_t r) {
    if (row_absolute) text.push_back('$');
    text.append(std::to_string(r));
  };
  if (area.WholeColumns() && !area.WholeRows()) {
    column(area.left);
    text.push_back(':');
    column(area.right);
  } else if (area.WholeRows() && !area.WholeColumns()) {
    row(area.top);
    text.push_back(':');
    row(area.bottom);
  } else {
    column(area.left);
    row(area.top);
    if (area.Rows() > 1 || area.Columns() > 1) {
      text.push_back(':');
      column(area.right);
      row(area.bottom);
    }
  }
  return text;
}

bool SameSheetName(std::string_view a, std::string_view b) { return SameIgnoringCase(a, b); }

std::string QuoteSheetName(std::string_view book, std::string_view sheet) {
  std::string name;
  if (!book.empty()) {
    name.push_back('[');
    name.append(book);
    name.push_back(']');
  }
  name.append(sheet);
  bool plain = !sheet.empty() && !IsDigit(sheet[0]);
  for (char c : name) {
    if (!(IsLetter(c) || IsDigit(c) || c == '_' || c == '.' || c == '[' || c == ']')) plain = false;
  }
  if (plain) return name;
  std::string quoted(1, '\'');
  for (char c : name) {
    quoted.push_back(c);
    if (c == '\'') quoted.push_back('\'');
  }
  quoted.push_back('\'');
  return quoted;
}

std::optional<ParsedReference> ParseReference(std::string_view text) {
  ParsedReference out;
  bool first = true;
  std::size_t start = 0;
  // Commas inside quoted sheet names do not separate areas.
  bool quoted = false;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] == '\'') quoted = !quoted;
    if (i == text.size() || (text[i] == ',' && !quoted)) {
      if (!ParseArea(text.substr(start, i - start), out, first)) return std::nullopt;
      start = i + 1;
    }
  }
  if (quoted || out.areas.empty()) return std::nullopt;
  return out;
}

}  // namespace orv::excel
