#include "orv/xlsx/file_common.hpp"

#include "orv/excel/internal/io.hpp"
#include "orv/excel/Rect.hpp"
#include "orv/excel/errors.hpp"
#include "orv/frame/Error.hpp"

namespace orv::xlsx::detail {

namespace {
[[noreturn]] void RaiseFile(std::string_view verb, std::string_view path,
                            std::string_view problem) {
  std::string text = "Cannot ";
  text += verb;
  text += " '";
  text += path;
  text += "': ";
  text += problem;
  text += '.';
  excel::Raise1004(text);
}

struct ErrorName {
  std::int32_t code;
  std::string_view text;
};
constexpr ErrorName kErrorNames[] = {
    {2000, "#NULL!"},  {2007, "#DIV/0!"},   {2015, "#VALUE!"},   {2023, "#REF!"},
    {2029, "#NAME?"},  {2036, "#NUM!"},     {2042, "#N/A"},      {2043, "#GETTING_DATA"},
    {2045, "#SPILL!"}, {2046, "#CONNECT!"}, {2047, "#BLOCKED!"}, {2048, "#UNKNOWN!"},
    {2049, "#FIELD!"}, {2050, "#CALC!"},
};
}  // namespace

void RaiseOpen(std::string_view path, std::string_view problem) {
  RaiseFile("open", path, problem);
}
void RaiseSave(std::string_view path, std::string_view problem) {
  RaiseFile("save", path, problem);
}

std::string FileName(std::string_view path) {
  std::size_t slash = path.find_last_of('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

void CheckNotOpen(const excel::Application& application, std::string_view name) {
  if (application.IsNothing()) Raise(kErrObjectNotSet);
  bool open = true;
  try {
    application.Workbooks().Item(name);
  } catch (const Error& e) {
    if (e.Number != kErrSubscript) throw;
    open = false;
  }
  if (open) {
    std::string text = "A document with the name '";
    text += name;
    text +=
        "' is already open. You cannot open two documents with the same name, even if the "
        "documents are in different folders.";
    excel::Raise1004(text);
  }
}

std::shared_ptr<excel::WorksheetState> NewSheet(std::string name) {
  auto sheet = std::make_shared<excel::WorksheetState>();
  sheet->name = std::move(name);
  return sheet;
}

excel::Workbook Register(const excel::Application& application, std::string_view name,
                         std::vector<std::shared_ptr<excel::WorksheetState>> sheets,
                         std::size_t active) {
  excel::Workbook book = application.Workbooks().Open(name);
  excel::WorkbookState& state = *excel::internal::StateOf(book);
  for (auto& sheet : sheets) sheet->book = excel::internal::StateOf(book);
  state.sheets = std::move(sheets);
  state.active_sheet = state.sheets[active < state.sheets.size() ? active : 0];
  return book;
}

std::optional<std::int32_t> ErrorCode(std::string_view text) {
  for (const ErrorName& e : kErrorNames)
    if (e.text == text) return e.code;
  return std::nullopt;
}

std::string_view ErrorText(std::int32_t code) {
  for (const ErrorName& e : kErrorNames)
    if (e.code == code) return e.text;
  return "#N/A";
}

bool ParseCellReference(std::string_view text, std::int32_t& row, std::int32_t& column,
                        bool& beyond) {
  beyond = false;
  std::size_t i = 0;
  std::int64_t c = 0, r = 0;
  while (i < text.size() &&
         ((text[i] >= 'A' && text[i] <= 'Z') || (text[i] >= 'a' && text[i] <= 'z'))) {
    char ch = static_cast<char>(text[i] & ~0x20);
    if (c <= excel::kMaxColumns) c = c * 26 + (ch - 'A' + 1);
    ++i;
  }
  std::size_t letters = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    if (r <= excel::kMaxRows) r = r * 10 + (text[i] - '0');
    ++i;
  }
  if (letters == 0 || i == letters || i != text.size() || r == 0) return false;
  if (c > excel::kMaxColumns || r > excel::kMaxRows) {
    beyond = true;
    return false;
  }
  row = static_cast<std::int32_t>(r);
  column = static_cast<std::int32_t>(c);
  return true;
}

std::string ColumnLetters(std::int32_t column) {
  std::string letters;
  while (column > 0) {
    int digit = (column - 1) % 26;
    letters.insert(letters.begin(), static_cast<char>('A' + digit));
    column = (column - 1) / 26;
  }
  return letters;
}

void FitCellText(std::string& text) {
  if (text.size() <= excel::kMaxCellText) return;
  std::size_t end = excel::kMaxCellText;
  // Step back over continuation bytes to the start of a character.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
}

bool IsUtf8(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    unsigned char b = *p;
    if (b < 0x80) {
      ++p;
      continue;
    }
    int extra;
    std::uint32_t cp;
    if (b >= 0xC2 && b <= 0xDF) {
      extra = 1;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2;
      cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3;
      cp = b & 0x07;
    } else {
      return false;
    }
    if (end - p <= extra) return false;
    for (int k = 1; k <= extra; ++k) {
      if ((p[k] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[k] & 0x3F);
    }
    if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
      return false;
    p += extra + 1;
  }
  return true;
}

}  // namespace orv::xlsx::detail
