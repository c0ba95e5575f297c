#include "orv/xlsx/xlsx_reader.hpp"

#include <charconv>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "orv/excel/internal/io.hpp"
#include "orv/excel/errors.hpp"
#include "orv/frame/handler.hpp"
#include "orv/xlsx/file_common.hpp"
#include "orv/xlsx/limits.hpp"
#include "orv/xlsx/xml_seam.hpp"
#include "orv/xlsx/zip_seam.hpp"

namespace orv::xlsx {

namespace {

using detail::XmlAttributes;
using detail::XmlHandler;

constexpr Member kOpenXlsx{Rule::None, "Workbooks", "OpenXlsx"};

// --- small parsers -------------------------------------------------------

// A number as the file stores it (xsd:double); nothing when it is none.
std::optional<double> ParseStoredNumber(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n' ||
                           text.front() == '\r'))
    text.remove_prefix(1);
  while (!text.empty() &&
         (text.back() == ' ' || text.back() == '\t' || text.back() == '\n' || text.back() == '\r'))
    text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (end != text.data() + text.size()) return std::nullopt;
  if (ec == std::errc::result_out_of_range) {
    // Beyond the doubles: strtod tells an underflow (0) from an overflow.
    value = std::strtod(std::string(text).c_str(), nullptr);
    if (std::isinf(value)) return std::nullopt;
    return value;
  }
  if (ec != std::errc() || !std::isfinite(value)) return std::nullopt;
  return value;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A lone surrogate has no UTF-8 form: it becomes U+FFFD.
void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;
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

// Texts of the file escape characters XML cannot carry as _xHHHH_ (and a
// literal "_x" sequence as _x005F_x...).
void DecodeEscapes(std::string& text) {
  if (text.find("_x") == std::string::npos) return;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
      int h[4] = {HexValue(text[i + 2]), HexValue(text[i + 3]), HexValue(text[i + 4]),
                  HexValue(text[i + 5])};
      if (h[0] >= 0 && h[1] >= 0 && h[2] >= 0 && h[3] >= 0) {
        std::uint32_t cp =
            static_cast<std::uint32_t>((h[0] << 12) | (h[1] << 8) | (h[2] << 4) | h[3]);
        i += 7;
        // A high surrogate followed by an escaped low one is one character.
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 6 < text.size() && text[i] == '_' &&
            text[i + 1] == 'x' && text[i + 6] == '_') {
          std::uint32_t low = 0;
          bool hex = true;
          for (int k = 2; k < 6; ++k) {
            int v = HexValue(text[i + static_cast<std::size_t>(k)]);
            hex = hex && v >= 0;
            low = (low << 4) | static_cast<std::uint32_t>(v < 0 ? 0 : v);
          }
          if (hex && low >= 0xDC00 && low <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            i += 7;
          }
        }
        AppendUtf8(out, cp);
        continue;
      }
    }
    out += text[i++];
  }
  text.swap(out);
}

// Days since 30 December 1899 of an ISO date-time ("2024-03-01T12:00:00"),
// as the workbook's serial numbers count them.
std::optional<double> IsoToSerial(std::string_view text, bool date1904) {
  int y = 0, m = 0, d = 0, hh = 0, mm = 0;
  double ss = 0;
  std::size_t i = 0;
  auto number = [&](int digits, int& out) {
    if (i + static_cast<std::size_t>(digits) > text.size()) return false;
    out = 0;
    for (int k = 0; k < digits; ++k) {
      char c = text[i++];
      if (c < '0' || c > '9') return false;
      out = out * 10 + (c - '0');
    }
    return true;
  };
  if (!number(4, y) || i >= text.size() || text[i++] != '-' || !number(2, m) || i >= text.size() ||
      text[i++] != '-' || !number(2, d))
    return std::nullopt;
  if (i < text.size() && (text[i] == 'T' || text[i] == ' ')) {
    ++i;
    if (!number(2, hh) || i >= text.size() || text[i++] != ':' || !number(2, mm))
      return std::nullopt;
    if (i < text.size() && text[i] == ':') {
      ++i;
      std::size_t start = i;
      while (i < text.size() && ((text[i] >= '0' && text[i] <= '9') || text[i] == '.')) ++i;
      auto parsed = ParseStoredNumber(text.substr(start, i - start));
      if (!parsed) return std::nullopt;
      ss = *parsed;
    }
  }
  if (i < text.size() && text[i] == 'Z') ++i;
  if (i != text.size() || m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
  // Days from the civil calendar (proleptic Gregorian).
  int yy = m <= 2 ? y - 1 : y;
  int era = (yy >= 0 ? yy : yy - 399) / 400;
  int yoe = yy - era * 400;
  int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  long days = static_cast<long>(era) * 146097 + doe - 719468;  // since 1970-01-01
  double serial;
  if (date1904) {
    serial = static_cast<double>(days + 24107);  // 1904-01-01 is day -24107
  } else {
    serial = static_cast<double>(days + 25569);  // 1899-12-30 is day -25569
    // The serials count a 29 February 1900 that never was.
    if (serial < 61) serial -= 1;
  }
  return serial + (hh * 3600.0 + mm * 60.0 + ss) / 86400.0;
}

std::string Directory(const std::string& part) {
  std::size_t slash = part.find_last_of('/');
  return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// A relationship target relative to the part that names it.
std::string ResolveTarget(const std::string& source_part, std::string_view target) {
  std::string joined;
  if (!target.empty() && target.front() == '/')
    joined = std::string(target.substr(1));
  else
    joined = Directory(source_part) + std::string(target);
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= joined.size()) {
    std::size_t slash = joined.find('/', start);
    if (slash == std::string::npos) slash = joined.size();
    std::string piece = joined.substr(start, slash - start);
    if (piece == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!piece.empty() && piece != ".") {
      parts.push_back(piece);
    }
    start = slash + 1;
  }
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : "/") + p;
  return out;
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// --- the package ---------------------------------------------------------

// Inflates a large part on a thread of its own, a few blocks ahead of the
// parser, so that decompression and parsing share the machine's cores. The
// thread touches nothing but the part's stream and ends before the part is
// done with.
class Inflater {
 public:
  static constexpr std::size_t kBlock = 1 << 20;
  static constexpr std::size_t kAhead = 4;

  explicit Inflater(detail::ZipArchive::Part& part) : part_(part) {
    worker_ = std::thread([this] { Run(); });
  }
  ~Inflater() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    worker_.join();
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  // Copies up to `size` bytes; 0 at the end. False when the part is damaged
  // (Error() says how).
  bool Read(char* out, std::size_t size, std::size_t& got) {
    got = 0;
    if (offset_ == current_.size()) {
      std::unique_lock<std::mutex> lock(mutex_);
      if (!current_.empty()) spare_.push_back(std::move(current_));
      current_.clear();
      offset_ = 0;
      changed_.notify_all();
      changed_.wait(lock, [&] { return !full_.empty() || done_; });
      if (full_.empty()) return !failed_;
      current_ = std::move(full_.front());
      full_.pop_front();
      changed_.notify_all();
    }
    got = std::min(size, current_.size() - offset_);
    std::memcpy(out, current_.data() + offset_, got);
    offset_ += got;
    return true;
  }
  const std::string& Error() const { return error_; }

 private:
  void Run() {
    for (;;) {
      std::vector<char> block;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return stop_ || full_.size() < kAhead; });
        if (stop_) return;
        if (!spare_.empty()) {
          block = std::move(spare_.back());
          spare_.pop_back();
        }
      }
      block.resize(kBlock);
      std::size_t got = 0;
      bool ok = part_.Read(block.data(), block.size(), got);
      block.resize(got);
      std::lock_guard<std::mutex> lock(mutex_);
      if (!ok) {
        failed_ = true;
        error_ = part_.Error();
      }
      if (!ok || got == 0) {
        done_ = true;
        changed_.notify_all();
        return;
      }
      full_.push_back(std::move(block));
      changed_.notify_all();
    }
  }

  detail::ZipArchive::Part& part_;
  std::thread worker_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<char>> full_;
  std::vector<std::vector<char>> spare_;
  bool done_ = false, failed_ = false, stop_ = false;
  std::string error_;
  std::vector<char> current_;  // the parser's side
  std::size_t offset_ = 0;
};

class Package {
 public:
  explicit Package(std::string path) : path_(std::move(path)) {}

  void Open() {
    std::string detail;
    switch (zip_.Open(path_, detail)) {
      case detail::ZipArchive::OpenFailure::None:
        return;
      case detail::ZipArchive::OpenFailure::Missing:
        Fail("the file does not exist");
      case detail::ZipArchive::OpenFailure::NotZip:
        Fail("the file is not an .xlsx workbook (it is no zip archive)");
      case detail::ZipArchive::OpenFailure::Unreadable:
        Fail("the file cannot be read (" + detail + ")");
    }
  }

  bool Has(const std::string& part) const { return zip_.Has(part); }

  void Parse(const std::string& part, XmlHandler& handler) {
    std::string detail;
    std::unique_ptr<detail::ZipArchive::Part> stream = zip_.OpenPart(part, detail);
    if (!stream) Fail("the part " + part + " cannot be read (" + detail + ")");
    // The bounds on what the part inflates to, checked as it inflates: the
    // sizes the archive states may lie.
    const std::uint64_t stored = zip_.CompressedSize(part);
    std::uint64_t inflated = 0;
    auto count = [&](std::size_t got) {
      inflated += got;
      if (inflated > detail::kMaxPartBytes)
        Fail("the part " + part + " inflates to more than " +
             std::to_string(detail::kMaxPartBytes >> 20) + " MiB, the limit for one part");
      if (inflated > detail::kRatioFloorBytes && inflated / detail::kMaxInflateRatio > stored)
        Fail("the part " + part + " inflates to more than " +
             std::to_string(detail::kMaxInflateRatio) + " times its stored " +
             std::to_string(stored) + " bytes, the limit for one part");
      return got;
    };
    std::string error;
    bool ok;
    if (zip_.Size(part) > 4 * Inflater::kBlock) {
      Inflater inflater(*stream);
      ok = detail::ParseXml(
          [&](char* buffer, std::size_t size) {
            std::size_t got = 0;
            if (!inflater.Read(buffer, size, got))
              Fail("the part " + part + " is damaged (" + inflater.Error() + ")");
            return count(got);
          },
          handler, error);
    } else {
      ok = detail::ParseXml(
          [&](char* buffer, std::size_t size) {
            std::size_t got = 0;
            if (!stream->Read(buffer, size, got))
              Fail("the part " + part + " is damaged (" + stream->Error() + ")");
            return count(got);
          },
          handler, error);
    }
    if (!ok) Fail("broken XML in " + part + " at " + error);
  }

  [[noreturn]] void Fail(const std::string& problem) const { detail::RaiseOpen(path_, problem); }

 private:
  std::string path_;
  detail::ZipArchive zip_;
};

struct Relationship {
  std::string type;
  std::string target;
};

class RelationshipsHandler : public XmlHandler {
 public:
  std::map<std::string, Relationship> byId;
  void Start(std::string_view name, const XmlAttributes& a) override {
    if (name != "Relationship") return;
    const char* id = a.Find("Id");
    const char* type = a.Find("Type");
    const char* target = a.Find("Target");
    const char* mode = a.Find("TargetMode");
    if (!id || !target || (mode && std::string_view(mode) == "External")) return;
    byId[id] = Relationship{type ? type : "", target};
  }
  void End(std::string_view) override {}
  void Text(const char*, std::size_t) override {}
};

struct SheetEntry {
  std::string name;
  std::string rid;
};

class WorkbookHandler : public XmlHandler {
 public:
  std::vector<SheetEntry> sheets;
  std::size_t active_tab = 0;
  bool date1904 = false;
  void Start(std::string_view name, const XmlAttributes& a) override {
    if (name == "sheet") {
      const char* n = a.Find("name");
      const char* id = a.Find("id");
      sheets.push_back(SheetEntry{n ? n : "", id ? id : ""});
    } else if (name == "workbookView" && !seen_view_) {
      seen_view_ = true;
      if (const char* tab = a.Find("activeTab")) active_tab = std::strtoul(tab, nullptr, 10);
    } else if (name == "workbookPr") {
      if (const char* d = a.Find("date1904"))
        date1904 = std::string_view(d) == "1" || std::string_view(d) == "true";
    }
  }
  void End(std::string_view) override {}
  void Text(const char*, std::size_t) override {}

 private:
  bool seen_view_ = false;
};

// The texts of <si> (shared strings) and <is> (inline strings): the runs'
// <t> joined, phonetic runs left out.
class RichTextCollector {
 public:
  void Reset() {
    text_.clear();
    in_t_ = false;
    phonetic_ = 0;
  }
  // True when the element belongs to the text.
  void Start(std::string_view name) {
    if (name == "t" && phonetic_ == 0)
      in_t_ = true;
    else if (name == "rPh")
      ++phonetic_;
  }
  void End(std::string_view name) {
    if (name == "t")
      in_t_ = false;
    else if (name == "rPh" && phonetic_ > 0)
      --phonetic_;
  }
  void Text(const char* data, std::size_t length) {
    if (in_t_) text_.append(data, length);
  }
  std::string Take() {
    DecodeEscapes(text_);
    detail::FitCellText(text_);
    return std::move(text_);
  }

 private:
  std::string text_;
  bool in_t_ = false;
  int phonetic_ = 0;
};

// The shared strings end to end in one buffer: a few bytes each beyond
// their text, however many there are.
class SharedStrings {
 public:
  std::size_t size() const { return ends_.size(); }
  std::string_view operator[](std::size_t i) const {
    const std::uint64_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(bytes_).substr(begin, ends_[i] - begin);
  }
  void Add(std::string_view text) {
    bytes_ += text;
    ends_.push_back(bytes_.size());
  }
  std::uint64_t Bytes() const { return bytes_.size(); }

 private:
  std::string bytes_;
  std::vector<std::uint64_t> ends_;
};

class SharedStringsHandler : public XmlHandler {
 public:
  // `fail` reports a bound passed.
  explicit SharedStringsHandler(std::function<void(const std::string&)> fail)
      : fail_(std::move(fail)) {}
  SharedStrings strings;
  void Start(std::string_view name, const XmlAttributes&) override {
    if (name == "si") {
      in_si_ = true;
      text_.Reset();
    } else if (in_si_) {
      text_.Start(name);
    }
  }
  void End(std::string_view name) override {
    if (name == "si") {
      in_si_ = false;
      if (strings.size() == detail::kMaxSharedStrings)
        fail_("more than " + std::to_string(detail::kMaxSharedStrings) +
              " shared strings, the limit");
      strings.Add(text_.Take());
      if (strings.Bytes() > detail::kMaxSharedStringBytes)
        fail_("shared strings of more than " + std::to_string(detail::kMaxSharedStringBytes >> 20) +
              " MiB together, the limit");
    } else if (in_si_) {
      text_.End(name);
    }
  }
  void Text(const char* data, std::size_t length) override {
    if (in_si_) text_.Text(data, length);
  }

 private:
  bool in_si_ = false;
  RichTextCollector text_;
  std::function<void(const std::string&)> fail_;
};

// One worksheet part, cell by cell into the sheet's storage.
class SheetHandler : public XmlHandler {
 public:
  SheetHandler(excel::WorksheetState& sheet, const SharedStrings& shared, bool date1904,
               const std::string& part, Package& package)
      : sheet_(sheet), shared_(shared), date1904_(date1904), part_(part), package_(package) {}

  void Start(std::string_view name, const XmlAttributes& a) override {
    if (in_cell_) {
      if (name == "v") {
        in_v_ = true;
        has_v_ = true;
      } else if (name == "is") {
        in_is_ = true;
        has_is_ = true;
        rich_.Reset();
      } else if (in_is_) {
        rich_.Start(name);
      }
      return;
    }
    if (name == "c") {
      StartCell(a);
    } else if (name == "row") {
      StartRow(a);
    } else if (name == "col") {
      Column(a);
    }
  }

  void End(std::string_view name) override {
    if (!in_cell_) return;
    if (name == "c") {
      EndCell();
    } else if (name == "v") {
      in_v_ = false;
    } else if (name == "is") {
      in_is_ = false;
    } else if (in_is_) {
      rich_.End(name);
    }
  }

  void Text(const char* data, std::size_t length) override {
    if (in_v_)
      value_.append(data, length);
    else if (in_is_)
      rich_.Text(data, length);
  }

 private:
  [[noreturn]] void Fail(const std::string& problem) { package_.Fail(problem + " in " + part_); }

  void Locate(const char* ref, std::int32_t& row, std::int32_t& column) {
    bool beyond = false;
    if (detail::ParseCellReference(ref, row, column, beyond)) return;
    if (beyond)
      Fail("the cell reference '" + std::string(ref) +
           "' lies beyond the sheet's 1,048,576 rows and 16,384 columns");
    Fail("the cell reference '" + std::string(ref) + "' is malformed");
  }

  void StartRow(const XmlAttributes& a) {
    if (const char* r = a.Find("r")) {
      char* end = nullptr;
      long n = std::strtol(r, &end, 10);
      if (end == r || *end != '\0' || n < 1)
        Fail("the row number '" + std::string(r) + "' is malformed");
      if (n > excel::kMaxRows)
        Fail("the row number " + std::string(r) + " lies beyond the sheet's 1,048,576 rows");
      row_ = static_cast<std::int32_t>(n);
    } else {
      if (row_ >= excel::kMaxRows) Fail("a row lies beyond the sheet's 1,048,576 rows");
      ++row_;
    }
    column_ = 0;
    const char* hidden = a.Find("hidden");
    if (hidden && (std::string_view(hidden) == "1" || std::string_view(hidden) == "true")) {
      sheet_.geometry.SetRowHeight(row_, 0);
    } else if (const char* ht = a.Find("ht")) {
      std::optional<double> points = ParseStoredNumber(ht);
      if (points && *points >= 0)
        sheet_.geometry.SetRowHeight(row_, std::min(*points, excel::kMaxRowHeight));
    }
  }

  void Column(const XmlAttributes& a) {
    const char* min = a.Find("min");
    const char* max = a.Find("max");
    if (!min || !max) return;
    long first = std::strtol(min, nullptr, 10);
    long last = std::min<long>(std::strtol(max, nullptr, 10), excel::kMaxColumns);
    if (first < 1 || last < first) return;
    double points;
    const char* hidden = a.Find("hidden");
    const char* width = a.Find("width");
    if (hidden && (std::string_view(hidden) == "1" || std::string_view(hidden) == "true")) {
      points = 0;
    } else if (width) {
      std::optional<double> chars = ParseStoredNumber(width);
      if (!chars || *chars < 0) return;
      // The stored width counts characters of 7 pixels with the column's
      // padding; the pixels the column shows are (ECMA-376 18.3.1.13):
      double pixels = std::trunc((256.0 * *chars + std::trunc(128.0 / 7.0)) / 256.0 * 7.0);
      points = std::min(pixels, 1790.0) * 0.75;  // at most 255 characters
    } else {
      return;
    }
    for (long c = first; c <= last; ++c)
      sheet_.geometry.SetColumnWidth(static_cast<std::int32_t>(c), points);
  }

  void StartCell(const XmlAttributes& a) {
    if (row_ == 0) Fail("a cell lies outside any row");
    const char* r = nullptr;
    const char* t = nullptr;
    a.ForEach([&](std::string_view name, const char* value) {
      if (name.size() == 1) {
        if (name[0] == 'r')
          r = value;
        else if (name[0] == 't')
          t = value;
      }
    });
    if (r != nullptr) {
      std::int32_t row = 0;
      Locate(r, row, column_);
      cell_row_ = row;
    } else {
      if (column_ >= excel::kMaxColumns)
        Fail("a cell of row " + std::to_string(row_) + " lies beyond the sheet's 16,384 columns");
      ++column_;
      cell_row_ = row_;
    }
    type_ = t ? t : "n";
    in_cell_ = true;
    has_v_ = has_is_ = false;
    value_.clear();
  }

  std::string CellName() const {
    return detail::ColumnLetters(column_) + std::to_string(cell_row_);
  }

  void EndCell() {
    in_cell_ = in_v_ = in_is_ = false;
    excel::CellStore& cells = sheet_.cells;
    if (type_ == "n" || type_.empty()) {
      if (!has_v_) return;
      if (value_.empty()) return;
      std::optional<double> number = ParseStoredNumber(value_);
      if (!number) Fail("the number '" + value_ + "' of cell " + CellName() + " is malformed");
      cells.SetNumber(cell_row_, column_, *number);
    } else if (type_ == "s") {
      if (!has_v_) return;
      char* end = nullptr;
      unsigned long index = std::strtoul(value_.c_str(), &end, 10);
      if (end == value_.c_str() || *end != '\0' || index >= shared_.size())
        Fail("cell " + CellName() + " refers to shared string '" + value_ +
             "', which the workbook does not have");
      const std::string_view text = shared_[index];
      if (!text.empty()) cells.Set(cell_row_, column_, Variant(std::string(text)));
    } else if (type_ == "inlineStr") {
      if (!has_is_) return;
      std::string text = rich_.Take();
      if (!text.empty()) cells.Set(cell_row_, column_, Variant(std::move(text)));
    } else if (type_ == "str") {
      if (!has_v_) return;
      DecodeEscapes(value_);
      detail::FitCellText(value_);
      if (!value_.empty()) cells.Set(cell_row_, column_, Variant(value_));
    } else if (type_ == "b") {
      if (!has_v_) return;
      if (value_ == "1" || value_ == "true")
        cells.Set(cell_row_, column_, Variant(true));
      else if (value_ == "0" || value_ == "false")
        cells.Set(cell_row_, column_, Variant(false));
      else
        Fail("the Boolean '" + value_ + "' of cell " + CellName() + " is malformed");
    } else if (type_ == "e") {
      if (!has_v_) return;
      // An error the spreadsheet does not know reads as #VALUE!.
      std::int32_t code = detail::ErrorCode(value_).value_or(excel::xlErrValue);
      cells.Set(cell_row_, column_, Variant(ErrorValue{code}));
    } else if (type_ == "d") {
      if (!has_v_ || value_.empty()) return;
      std::optional<double> serial = IsoToSerial(value_, date1904_);
      if (!serial) Fail("the date '" + value_ + "' of cell " + CellName() + " is malformed");
      cells.SetNumber(cell_row_, column_, *serial);
    } else {
      Fail("cell " + CellName() + " has the unknown type '" + type_ + "'");
    }
  }

  excel::WorksheetState& sheet_;
  const SharedStrings& shared_;
  bool date1904_;
  const std::string& part_;
  Package& package_;

  std::int32_t row_ = 0, column_ = 0, cell_row_ = 0;
  bool in_cell_ = false, in_v_ = false, in_is_ = false, has_v_ = false, has_is_ = false;
  std::string type_;
  std::string value_;
  RichTextCollector rich_;
};

std::map<std::string, Relationship> ReadRelationships(Package& package, const std::string& part) {
  std::string rels = Directory(part) + "_rels/" + part.substr(Directory(part).size()) + ".rels";
  RelationshipsHandler handler;
  if (package.Has(rels)) package.Parse(rels, handler);
  return std::move(handler.byId);
}

excel::Workbook Load(const excel::Application& application, std::string_view path_view) {
  std::string path(path_view);
  std::string name = detail::FileName(path);
  detail::CheckNotOpen(application, name);

  Package package(path);
  package.Open();

  // The workbook part: where the package's relationships say, else the
  // usual place.
  std::string workbook_part;
  for (const auto& [id, rel] : ReadRelationships(package, "")) {
    (void)id;
    if (EndsWith(rel.type, "/officeDocument")) workbook_part = ResolveTarget("", rel.target);
  }
  if (workbook_part.empty() || !package.Has(workbook_part)) workbook_part = "xl/workbook.xml";
  if (!package.Has(workbook_part))
    package.Fail("the archive holds no workbook (" + workbook_part + " is missing)");

  WorkbookHandler workbook;
  package.Parse(workbook_part, workbook);
  std::map<std::string, Relationship> rels = ReadRelationships(package, workbook_part);

  std::string strings_part;
  SharedStringsHandler shared(
      [&](const std::string& what) { package.Fail("the part " + strings_part + " holds " + what); });
  for (const auto& [id, rel] : rels) {
    (void)id;
    if (EndsWith(rel.type, "/sharedStrings")) {
      std::string part = ResolveTarget(workbook_part, rel.target);
      strings_part = part;
      if (package.Has(part)) package.Parse(part, shared);
    }
  }

  std::vector<std::shared_ptr<excel::WorksheetState>> sheets;
  std::size_t active = 0;
  for (std::size_t i = 0; i < workbook.sheets.size(); ++i) {
    const SheetEntry& entry = workbook.sheets[i];
    auto rel = rels.find(entry.rid);
    if (rel == rels.end())
      package.Fail("the sheet '" + entry.name + "' has no part in the archive");
    if (!EndsWith(rel->second.type, "/worksheet")) continue;  // chart sheets and the like
    std::string part = ResolveTarget(workbook_part, rel->second.target);
    if (!package.Has(part))
      package.Fail("the sheet '" + entry.name + "' is missing its part " + part);
    if (i == workbook.active_tab) active = sheets.size();
    auto sheet = detail::NewSheet(entry.name);
    SheetHandler handler(*sheet, shared.strings, workbook.date1904, part, package);
    package.Parse(part, handler);
    sheets.push_back(std::move(sheet));
  }
  if (sheets.empty()) package.Fail("the workbook holds no worksheet");
  return detail::Register(application, name, std::move(sheets), active);
}

}  // namespace

excel::Workbook OpenXlsx(const excel::Application& application, std::string_view path) {
  return Guard(kOpenXlsx, [&](Line&) { return Load(application, path); });
}

}  // namespace orv::xlsx
