#include "orv/xlsx/xml_text.hpp"

#include <cstdint>

namespace orv::xlsx::detail {

namespace {

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

void AppendEscape(std::string& out, std::uint32_t code) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out += "_x";
  for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(code >> shift) & 0xF];
  out += '_';
}

// The length of the well-formed UTF-8 sequence at p (0 when malformed) and
// its code point.
std::size_t Sequence(const unsigned char* p, const unsigned char* end, std::uint32_t& cp) {
  unsigned char b = *p;
  int extra;
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
    return 0;
  }
  if (end - p <= extra) return 0;
  for (int k = 1; k <= extra; ++k) {
    if ((p[k] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (p[k] & 0x3F);
  }
  if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
      (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
    return 0;
  return static_cast<std::size_t>(extra) + 1;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

void AppendTextElement(std::string& out, std::string_view text) {
  bool preserve = !text.empty() && (IsSpace(text.front()) || IsSpace(text.back()));
  out += preserve ? "<t xml:space=\"preserve\">" : "<t>";
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    unsigned char b = *p;
    if (b >= 0x80) {
      std::uint32_t cp = 0;
      std::size_t n = Sequence(p, end, cp);
      if (n == 0) {
        out += "\xEF\xBF\xBD";  // U+FFFD
        ++p;
      } else if (cp == 0xFFFE || cp == 0xFFFF) {
        AppendEscape(out, cp);
        p += n;
      } else {
        out.append(reinterpret_cast<const char*>(p), n);
        p += n;
      }
      continue;
    }
    switch (b) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '\t':
      case '\n':
        out += static_cast<char>(b);
        break;
      case '_':
        if (end - p >= 7 && p[1] == 'x' && IsHex(static_cast<char>(p[2])) &&
            IsHex(static_cast<char>(p[3])) && IsHex(static_cast<char>(p[4])) &&
            IsHex(static_cast<char>(p[5])) && p[6] == '_')
          out += "_x005F_";
        else
          out += '_';
        break;
      default:
        if (b < 0x20)
          AppendEscape(out, b);
        else
          out += static_cast<char>(b);
    }
    ++p;
  }
  out += "</t>";
}

std::string XmlSafe(std::string_view text) {
  static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
  std::string out;
  out.reserve(text.size());
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    const unsigned char b = *p;
    if (b >= 0x80) {
      std::uint32_t cp = 0;
      const std::size_t n = Sequence(p, end, cp);
      if (n == 0 || cp == 0xFFFE || cp == 0xFFFF)
        out += kReplacement;
      else
        out.append(reinterpret_cast<const char*>(p), n);
      p += n == 0 ? 1 : n;
      continue;
    }
    if (b == '\r') {
      out += '\n';
      if (p + 1 < end && p[1] == '\n') ++p;
    } else if (b < 0x20 && b != '\t' && b != '\n') {
      out += kReplacement;
    } else {
      out += static_cast<char>(b);
    }
    ++p;
  }
  return out;
}

}  // namespace orv::xlsx::detail
