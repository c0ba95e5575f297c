#include "orv/xlsx/csv_reader.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "orv/excel/internal/io.hpp"
#include "orv/excel/Rect.hpp"
#include "orv/frame/handler.hpp"
#include "orv/xlsx/file_common.hpp"
#include "orv/xlsx/limits.hpp"

namespace orv::xlsx {

namespace {

constexpr Member kOpenCsv{Rule::None, "Workbooks", "OpenCsv"};
constexpr Member kImportCsv{Rule::None, "Range", "ImportCsv"};
constexpr Member kCsvSeparator{Rule::None, "Workbooks", "CsvSeparator"};
constexpr std::size_t kBlock = 4 << 20;
constexpr int kSampleLines = 20;

// Windows-1252 code points of the bytes 0x80 to 0x9F (0 where unassigned:
// read as the C1 control of the same number).
constexpr std::uint16_t kCp1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string FromCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (char ch : text) {
    auto b = static_cast<unsigned char>(ch);
    std::uint32_t cp = b;
    if (b >= 0x80 && b <= 0x9F && kCp1252[b - 0x80] != 0) cp = kCp1252[b - 0x80];
    AppendUtf8(out, cp);
  }
  return out;
}

std::string FromUtf16(std::string_view bytes, bool little_endian) {
  std::string out;
  out.reserve(bytes.size());
  auto unit = [&](std::size_t i) -> std::uint32_t {
    auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return little_endian ? (a | (b << 8)) : ((a << 8) | b);
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    std::uint32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
      std::uint32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) u = 0xFFFD;
    AppendUtf8(out, u);
  }
  return out;
}

class InputFile {
 public:
  InputFile(const std::string& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
      if (errno == ENOENT) detail::RaiseOpen(path, "the file does not exist");
      detail::RaiseOpen(path,
                        std::string("the file cannot be read (") + std::strerror(errno) + ")");
    }
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) left_ = static_cast<std::size_t>(st.st_size);
  }
  ~InputFile() { ::close(fd_); }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Appends up to `size` bytes; false at the end of the file.
  bool ReadMore(std::string& buffer, std::size_t size) {
    // No bigger a buffer than the rest of a file of known size needs (one
    // byte more tells its end).
    size = std::min(size, left_ + 1);
    std::size_t old = buffer.size();
    buffer.resize(old + size);
    for (;;) {
      ssize_t n = ::read(fd_, buffer.data() + old, size);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        buffer.resize(old);
        detail::RaiseOpen(path_,
                          std::string("the file cannot be read (") + std::strerror(errno) + ")");
      }
      buffer.resize(old + static_cast<std::size_t>(n));
      left_ -= std::min(left_, static_cast<std::size_t>(n));
      return n > 0;
    }
  }

 private:
  const std::string& path_;
  std::size_t left_ = SIZE_MAX - 1;  // bytes yet to read, when known
  int fd_ = -1;
};

// Finds the separator on the first lines of the text.
char DetectSeparator(std::string_view text, bool complete) {
  constexpr char kCandidates[] = {'\t', ';', ','};
  std::vector<std::array<int, 3>> lines;
  std::array<int, 3> counts{};
  bool quoted = false;
  std::size_t i = 0;
  for (; i < text.size() && static_cast<int>(lines.size()) < kSampleLines; ++i) {
    char c = text[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && (c == '\n' || c == '\r')) {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      // A line without any (a title, a blank line) tells nothing.
      if (counts[0] || counts[1] || counts[2]) lines.push_back(counts);
      counts = {};
    } else if (!quoted) {
      for (int k = 0; k < 3; ++k) counts[static_cast<std::size_t>(k)] += c == kCandidates[k];
    }
  }
  // The last line counts when the text ends there.
  if (complete && i == text.size() && !quoted && (counts[0] || counts[1] || counts[2]))
    lines.push_back(counts);
  if (lines.empty()) return ',';
  for (std::size_t k = 0; k < 3; ++k) {
    bool same = lines[0][k] > 0;
    for (const auto& line : lines) same = same && line[k] == lines[0][k];
    if (same) return kCandidates[k];
  }
  std::size_t best = 2;
  for (std::size_t k = 0; k < 3; ++k)
    if (lines[0][k] > lines[0][best]) best = k;
  return lines[0][best] > 0 ? kCandidates[best] : ',';
}

// The separator given, or the one the first block of the file shows.
char SeparatorOf(std::string_view block, bool complete, const CsvOptions& options) {
  if (options.separator) return options.separator;
  if (block.starts_with("\xEF\xBB\xBF")) block.remove_prefix(3);
  return DetectSeparator(block, complete);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class CsvLoader {
 public:
  CsvLoader(const std::string& path, excel::WorksheetState& sheet, std::int32_t top,
            std::int32_t left, const CsvOptions& options, bool clear_blanks)
      : path_(path),
        cells_(sheet.cells),
        top_(top),
        left_(left),
        options_(options),
        clear_blanks_(clear_blanks) {
    decimal_ = options.decimal_comma ? ',' : '.';
    group_ = options.decimal_comma ? '.' : ',';
  }

  void Load() {
    InputFile file(path_);
    std::string buffer;
    bool more = file.ReadMore(buffer, kBlock);
    std::size_t start = 0;
    // Byte order marks.
    if (buffer.size() >= 3 && buffer.compare(0, 3, "\xEF\xBB\xBF") == 0) {
      start = 3;
    } else if (buffer.size() >= 2 &&
               (buffer.compare(0, 2, "\xFF\xFE") == 0 || buffer.compare(0, 2, "\xFE\xFF") == 0)) {
      bool little = buffer[0] == '\xFF';
      while (more) more = file.ReadMore(buffer, kBlock);
      std::string text = FromUtf16(std::string_view(buffer).substr(2), little);
      separator_ = SeparatorOf(text, true, options_);
      Parse(text.data(), text.data() + text.size(), true);
      return;
    }
    separator_ = SeparatorOf(buffer, !more, options_);
    for (;;) {
      const char* begin = buffer.data() + start;
      const char* end = buffer.data() + buffer.size();
      const char* done = Parse(begin, end, !more);
      if (!more) return;
      // Keep the unfinished record and read on; a record longer than the
      // block makes the buffer grow.
      std::size_t consumed = static_cast<std::size_t>(done - buffer.data());
      buffer.erase(0, consumed);
      if (buffer.size() > detail::kMaxCsvRecordBytes)
        Fail("line " + std::to_string(row_ + 1) + " is longer than " +
             std::to_string(detail::kMaxCsvRecordBytes >> 20) + " MiB, the limit for one line");
      start = 0;
      more = file.ReadMore(buffer, std::max(kBlock, buffer.size()));
    }
  }

 private:
  [[noreturn]] void Fail(const std::string& problem) { detail::RaiseOpen(path_, problem); }

  // Parses the complete records of [p, end) and returns where the first
  // unfinished one begins (end when all are complete). A record cut by the
  // end of the buffer is parsed again from its start once more text is in:
  // its cells are simply written twice.
  const char* Parse(const char* p, const char* end, bool eof) {
    while (p < end) {
      const char* record = p;
      if (top_ + row_ > excel::kMaxRows)
        Fail("the file has more lines than the sheet's 1,048,576 rows");
      std::int32_t column = 0;
      bool complete = false;
      for (;;) {
        if (column == excel::kMaxColumns - left_ + 1)
          Fail("line " + std::to_string(row_ + 1) +
               " has more fields than the sheet's 16,384 "
               "columns");
        const char* after = nullptr;
        if (p < end && *p == '"') {
          after = QuotedField(p, end, eof, column);
          if (after == nullptr) return record;  // the closing quote is yet to come
        } else {
          const char* q = p;
          while (q < end && *q != separator_ && *q != '\n' && *q != '\r') ++q;
          if (q == end && !eof) return record;
          Store(column, std::string_view(p, static_cast<std::size_t>(q - p)), false);
          after = q;
        }
        p = after;
        ++column;
        if (p == end) {
          if (!eof) return record;
          complete = true;
          break;
        }
        if (*p == separator_) {
          ++p;
          if (p == end && !eof) return record;
          continue;
        }
        // A line break ends the record.
        if (*p == '\r') {
          if (p + 1 == end && !eof) return record;
          if (p + 1 < end && p[1] == '\n') ++p;
        }
        ++p;
        complete = true;
        break;
      }
      if (complete) ++row_;
    }
    return end;
  }

  // A quoted field from p (at its opening quote); null when its end lies
  // beyond the buffer.
  const char* QuotedField(const char* p, const char* end, bool eof, std::int32_t column) {
    field_.clear();
    const char* q = p + 1;
    for (;;) {
      const char* quote =
          static_cast<const char*>(std::memchr(q, '"', static_cast<std::size_t>(end - q)));
      if (quote == nullptr) {
        if (!eof) return nullptr;
        field_.append(q, end);  // no closing quote: the rest of the file
        q = end;
        break;
      }
      field_.append(q, quote);
      if (quote + 1 < end && quote[1] == '"') {
        field_ += '"';
        q = quote + 2;
        continue;
      }
      if (quote + 1 == end && !eof) return nullptr;
      q = quote + 1;
      break;
    }
    // Text after the closing quote belongs to the field as it stands.
    const char* r = q;
    while (r < end && *r != separator_ && *r != '\n' && *r != '\r') ++r;
    if (r == end && !eof) return nullptr;
    field_.append(q, r);
    Store(column, field_, true);
    return r;
  }

  void Store(std::int32_t column, std::string_view text, bool quoted) {
    const std::int32_t row = top_ + row_;
    const std::int32_t col = left_ + column;
    if (text.empty()) {
      if (clear_blanks_) cells_.Clear(excel::Rect{row, col, row, col});
      return;
    }
    double number;
    if (ParseNumber(text, number)) {
      cells_.SetNumber(row, col, number);
      return;
    }
    if (!quoted) {
      if (text.size() == 4 && (text[0] | 0x20) == 't' && (text[1] | 0x20) == 'r' &&
          (text[2] | 0x20) == 'u' && (text[3] | 0x20) == 'e') {
        cells_.Set(row, col, Variant(true));
        return;
      }
      if (text.size() == 5 && (text[0] | 0x20) == 'f' && (text[1] | 0x20) == 'a' &&
          (text[2] | 0x20) == 'l' && (text[3] | 0x20) == 's' && (text[4] | 0x20) == 'e') {
        cells_.Set(row, col, Variant(false));
        return;
      }
      if (text[0] == '#') {
        if (auto code = detail::ErrorCode(text)) {
          cells_.Set(row, col, Variant(ErrorValue{*code}));
          return;
        }
      }
    }
    std::string value = detail::IsUtf8(text) ? std::string(text) : FromCp1252(text);
    detail::FitCellText(value);
    cells_.Set(row, col, Variant(std::move(value)));
  }

  // A decimal number in the file's convention, or false.
  bool ParseNumber(std::string_view text, double& out) const {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty() || text.size() > 64) return false;
    char first = text[0];
    if (!IsDigit(first) && first != '-' && first != '+' && first != decimal_) return false;
    // Rewrite into the form from_chars reads: no plus sign, a point, no
    // group separators (which must then group the integer digits by three).
    char buffer[72];
    std::size_t n = 0, i = 0;
    if (text[0] == '+' || text[0] == '-') {
      if (text[0] == '-') buffer[n++] = '-';
      ++i;
    }
    std::size_t digits = 0, run = 0;
    bool grouped = false, fraction = false, exponent = false;
    for (; i < text.size(); ++i) {
      char c = text[i];
      if (IsDigit(c)) {
        buffer[n++] = c;
        if (!fraction && !exponent) {
          ++digits;
          ++run;
        }
      } else if (c == group_ && !fraction && !exponent) {
        if (!options_.group_thousands || run == 0 || (grouped ? run != 3 : run > 3)) return false;
        grouped = true;
        run = 0;
      } else if (c == decimal_ && !fraction && !exponent) {
        if (grouped && run != 3) return false;
        fraction = true;
        buffer[n++] = '.';
      } else if ((c == 'e' || c == 'E') && !exponent && (digits > 0 || fraction)) {
        if (grouped && !fraction && run != 3) return false;
        exponent = true;
        buffer[n++] = 'e';
        if (i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-')) {
          if (text[i + 1] == '-') buffer[n++] = '-';
          ++i;
        }
      } else {
        return false;
      }
    }
    if (grouped && !fraction && !exponent && run != 3) return false;
    auto [ptr, ec] = std::from_chars(buffer, buffer + n, out);
    return ec == std::errc() && ptr == buffer + n && std::isfinite(out);
  }

  const std::string& path_;
  excel::CellStore& cells_;
  const std::int32_t top_, left_;
  const CsvOptions& options_;
  const bool clear_blanks_;
  char separator_ = ',';
  char decimal_ = '.', group_ = ',';
  std::int32_t row_ = 0;  // records done
  std::string field_;
};

// The sheet name a file's name gives: without its extension, without the
// characters a sheet name cannot hold, at most 31 characters.
std::string SheetNameFor(const std::string& file) {
  std::string stem = file;
  std::size_t dot = stem.find_last_of('.');
  if (dot != std::string::npos && dot > 0) stem.resize(dot);
  for (char& c : stem)
    if (c == ':' || c == '\\' || c == '/' || c == '?' || c == '*' || c == '[' || c == ']') c = '_';
  while (!stem.empty() && stem.front() == '\'') stem.erase(0, 1);
  if (stem.size() > 31) {
    std::size_t end = 31;
    while (end > 0 && (static_cast<unsigned char>(stem[end]) & 0xC0) == 0x80) --end;
    stem.resize(end);
  }
  while (!stem.empty() && stem.back() == '\'') stem.pop_back();
  return stem.empty() ? "Sheet1" : stem;
}

}  // namespace

excel::Workbook OpenCsv(const excel::Application& application, std::string_view path_view,
                        const CsvOptions& options) {
  return Guard(kOpenCsv, [&](Line&) {
    std::string path(path_view);
    std::string name = detail::FileName(path);
    detail::CheckNotOpen(application, name);
    auto sheet = detail::NewSheet(SheetNameFor(name));
    CsvLoader(path, *sheet, 1, 1, options, false).Load();
    return detail::Register(application, name, {sheet}, 0);
  });
}

void ImportCsv(const excel::Range& destination, std::string_view path_view,
               const CsvOptions& options) {
  Guard(kImportCsv, [&](Line&) {
    if (destination.IsNothing()) Raise(kErrObjectNotSet);
    const excel::RangeState& range = *excel::internal::StateOf(destination);
    const excel::Rect& first = range.areas.front();
    std::string path(path_view);
    CsvLoader(path, *range.sheet, first.top, first.left, options, true).Load();
  });
}

char CsvSeparator(std::string_view path_view, const CsvOptions& options) {
  return Guard(kCsvSeparator, [&](Line&) {
    if (options.separator) return options.separator;
    std::string path(path_view);
    InputFile file(path);
    std::string block;
    const bool more = file.ReadMore(block, kBlock);
    if (block.starts_with("\xFF\xFE") || block.starts_with("\xFE\xFF"))
      return SeparatorOf(FromUtf16(std::string_view(block).substr(2), block[0] == '\xFF'), !more,
                         options);
    return SeparatorOf(block, !more, options);
  });
}

}  // namespace orv::xlsx
