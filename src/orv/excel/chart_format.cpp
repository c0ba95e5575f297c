// Fonts, lines and fills of chart elements, and the text helpers of the
// chart layer.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "orv/excel/ChartFormat.hpp"
#include "orv/excel/internal/chart_detail.hpp"
#include "orv/excel/errors.hpp"
#include "orv/frame/convert.hpp"

namespace orv::excel {

namespace {

constexpr std::int32_t Rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

// The standard palette, index 1 to 56.
constexpr std::array<std::int32_t, 56> kPalette = {
    Rgb(0x00, 0x00, 0x00), Rgb(0xFF, 0xFF, 0xFF), Rgb(0xFF, 0x00, 0x00), Rgb(0x00, 0xFF, 0x00),
    Rgb(0x00, 0x00, 0xFF), Rgb(0xFF, 0xFF, 0x00), Rgb(0xFF, 0x00, 0xFF), Rgb(0x00, 0xFF, 0xFF),
    Rgb(0x80, 0x00, 0x00), Rgb(0x00, 0x80, 0x00), Rgb(0x00, 0x00, 0x80), Rgb(0x80, 0x80, 0x00),
    Rgb(0x80, 0x00, 0x80), Rgb(0x00, 0x80, 0x80), Rgb(0xC0, 0xC0, 0xC0), Rgb(0x80, 0x80, 0x80),
    Rgb(0x99, 0x99, 0xFF), Rgb(0x99, 0x33, 0x66), Rgb(0xFF, 0xFF, 0xCC), Rgb(0xCC, 0xFF, 0xFF),
    Rgb(0x66, 0x00, 0x66), Rgb(0xFF, 0x80, 0x80), Rgb(0x00, 0x66, 0xCC), Rgb(0xCC, 0xCC, 0xFF),
    Rgb(0x00, 0x00, 0x80), Rgb(0xFF, 0x00, 0xFF), Rgb(0xFF, 0xFF, 0x00), Rgb(0x00, 0xFF, 0xFF),
    Rgb(0x80, 0x00, 0x80), Rgb(0x80, 0x00, 0x00), Rgb(0x00, 0x80, 0x80), Rgb(0x00, 0x00, 0xFF),
    Rgb(0x00, 0xCC, 0xFF), Rgb(0xCC, 0xFF, 0xFF), Rgb(0xCC, 0xFF, 0xCC), Rgb(0xFF, 0xFF, 0x99),
    Rgb(0x99, 0xCC, 0xFF), Rgb(0xFF, 0x99, 0xCC), Rgb(0xCC, 0x99, 0xFF), Rgb(0xFF, 0xCC, 0x99),
    Rgb(0x33, 0x66, 0xFF), Rgb(0x33, 0xCC, 0xCC), Rgb(0x99, 0xCC, 0x00), Rgb(0xFF, 0xCC, 0x00),
    Rgb(0xFF, 0x99, 0x00), Rgb(0xFF, 0x66, 0x00), Rgb(0x66, 0x66, 0x99), Rgb(0x96, 0x96, 0x96),
    Rgb(0x00, 0x33, 0x66), Rgb(0x33, 0x99, 0x66), Rgb(0x00, 0x33, 0x00), Rgb(0x33, 0x33, 0x00),
    Rgb(0x99, 0x33, 0x00), Rgb(0x99, 0x33, 0x66), Rgb(0x33, 0x33, 0x99), Rgb(0x33, 0x33, 0x33),
};

constexpr std::int32_t kWhite = 16777215;

bool ValidRgb(std::int32_t color) { return color >= 0 && color <= kWhite; }

}  // namespace

std::int32_t PaletteColor(std::int32_t color_index) {
  if (color_index < 1 || color_index > 56) RaiseApplicationDefined();
  return kPalette[static_cast<std::size_t>(color_index - 1)];
}

std::int32_t NearestColorIndex(std::int32_t color) {
  auto channel = [](std::int32_t c, int shift) { return (c >> shift) & 0xFF; };
  std::int32_t best = 1;
  long best_distance = std::numeric_limits<long>::max();
  for (std::int32_t i = 0; i < 56; ++i) {
    long distance = 0;
    for (int shift : {0, 8, 16}) {
      long d = channel(color, shift) - channel(kPalette[static_cast<std::size_t>(i)], shift);
      distance += d * d;
    }
    if (distance < best_distance) {
      best_distance = distance;
      best = i + 1;
    }
  }
  return best;
}

// ------------------------------------------------------------------ text ---

namespace detail {

std::vector<std::string> SplitCharacters(std::string_view text) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < text.size();) {
    auto lead = static_cast<unsigned char>(text[i]);
    std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    n = std::min(n, text.size() - i);
    out.emplace_back(text.substr(i, n));
    i += n;
  }
  return out;
}

namespace {

void Apply(ResolvedFont& font, const FontSpec& wanted) {
  if (wanted.name) font.name = *wanted.name;
  if (wanted.size) font.size = *wanted.size;
  if (wanted.bold) font.bold = *wanted.bold;
  if (wanted.italic) font.italic = *wanted.italic;
  if (wanted.color) font.color = *wanted.color;
}

// The font of the element before anything is set on it.
ResolvedFont RoleDefault(const TextState& text) {
  ResolvedFont font{"Calibri", 10, false, false, 0};
  if (text.role == TextRole::ChartArea) return font;
  if (auto chart = text.chart.lock())
    if (chart->chart_area_text) Apply(font, chart->chart_area_text->font);
  if (text.role == TextRole::ChartTitle) {
    font.size += 4;
    font.bold = true;
  } else if (text.role == TextRole::AxisTitle) {
    font.bold = true;
  }
  return font;
}

}  // namespace

ResolvedFont ResolveElementFont(const TextState& text) {
  ResolvedFont font = RoleDefault(text);
  Apply(font, text.font);
  return font;
}

ResolvedFont ResolveFont(const TextState& text, std::size_t character) {
  ResolvedFont font = ResolveElementFont(text);
  if (character < text.chars.size()) Apply(font, text.chars[character]);
  return font;
}

namespace {
bool Rotated(std::int32_t orientation) {
  return orientation == xlUpward || orientation == xlDownward || orientation == xlVertical ||
         orientation == 90 || orientation == -90;
}
}  // namespace

double TextWidth(const TextState& text, std::string_view shown) {
  const bool own = shown == text.text;
  const std::vector<std::string> chars = SplitCharacters(shown);
  double best = 0, line = 0;
  double lines_height = 0, line_size = 0;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const double size = own ? ResolveFont(text, i).size : ResolveElementFont(text).size;
    if (chars[i] == "\r" || chars[i] == "\n") {
      best = std::max(best, line);
      lines_height += 1.2 * (line_size > 0 ? line_size : size);
      line = 0;
      line_size = 0;
      continue;
    }
    line += 0.5 * size;
    line_size = std::max(line_size, size);
  }
  best = std::max(best, line);
  lines_height += 1.2 * (line_size > 0 ? line_size : ResolveElementFont(text).size);
  return Rotated(text.orientation) ? lines_height : best;
}

double TextHeight(const TextState& text, std::string_view shown) {
  const bool own = shown == text.text;
  const std::vector<std::string> chars = SplitCharacters(shown);
  double total = 0, line_size = 0, best_line = 0, line = 0;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const double size = own ? ResolveFont(text, i).size : ResolveElementFont(text).size;
    if (chars[i] == "\r" || chars[i] == "\n") {
      total += 1.2 * (line_size > 0 ? line_size : size);
      best_line = std::max(best_line, line);
      line = 0;
      line_size = 0;
      continue;
    }
    line += 0.5 * size;
    line_size = std::max(line_size, size);
  }
  total += 1.2 * (line_size > 0 ? line_size : ResolveElementFont(text).size);
  best_line = std::max(best_line, line);
  return Rotated(text.orientation) ? best_line : total;
}

std::string FormatNumber(double value, std::string_view format) {
  // "0", "0.00", "0%", "0.0%": fixed decimals; anything else as General.
  std::size_t decimals = 0;
  bool percent = false;
  bool fixed = !format.empty() && format.front() == '0';
  if (fixed) {
    std::size_t i = 1;
    if (i < format.size() && format[i] == '.') {
      ++i;
      while (i < format.size() && format[i] == '0') {
        ++decimals;
        ++i;
      }
      if (decimals == 0) fixed = false;
    }
    if (i < format.size() && format[i] == '%') {
      percent = true;
      ++i;
    }
    if (i != format.size()) fixed = false;
  }
  if (!fixed) return LabelGeneral(value);
  double shown = percent ? value * 100.0 : value;
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.*f", static_cast<int>(decimals), shown);
  std::string text = buffer;
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  const char separator = DecimalSeparator();
  for (char& c : text)
    if (c == '.') c = separator;
  if (percent) text += '%';
  return text;
}

}  // namespace detail

std::string LabelGeneral(double value) {
  if (value == 0 || !std::isfinite(value)) return value == 0 ? "0" : CStr(value);
  const double magnitude = std::fabs(value);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.10e", magnitude);
  // d.dddddddddde[+-]xx
  std::string digits;
  digits += buffer[0];
  digits.append(buffer + 2, 10);
  int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  const char separator = DecimalSeparator();
  std::string out = value < 0 ? "-" : "";
  if (magnitude >= 1e-5 && exponent < 11) {
    if (exponent >= 0) {
      const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
      if (digits.size() <= whole) {
        out += digits;
        out.append(whole - digits.size(), '0');
      } else {
        out += digits.substr(0, whole);
        out += separator;
        out += digits.substr(whole);
      }
    } else {
      out += '0';
      out += separator;
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out += digits;
    }
    return out;
  }
  out += digits.substr(0, 1);
  if (digits.size() > 1) {
    out += separator;
    out += digits.substr(1);
  }
  char tail[16];
  std::snprintf(tail, sizeof tail, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  out += tail;
  return out;
}

// ------------------------------------------------------------------ font ---

namespace {

std::size_t CharacterCount(const TextState& text) {
  return detail::SplitCharacters(text.text).size();
}

// The characters [first, last) a font handle covers; whole marks the whole
// element.
struct Span {
  std::size_t first = 0, last = 0;
  bool whole = true;
};

Span SpanOf(const TextState& text, std::int32_t start, std::int32_t length) {
  Span span;
  const std::size_t count = CharacterCount(text);
  span.whole = start <= 1 && length < 0;
  span.first = start <= 1 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(start - 1), count);
  span.last = length < 0
                  ? count
                  : std::min<std::size_t>(count, span.first + static_cast<std::size_t>(length));
  return span;
}

template <class Member>
void SetAttribute(TextState& text, std::int32_t start, std::int32_t length, Member member,
                  const auto& value) {
  const Span span = SpanOf(text, start, length);
  if (span.whole) {
    text.font.*member = value;
    for (FontSpec& c : text.chars) c.*member = std::nullopt;
    if (text.role == TextRole::ChartArea) {
      if (auto chart = text.chart.lock()) {
        detail::ForEachText(*chart, [&](TextState& other) {
          if (&other == &text) return;
          other.font.*member = value;
          for (FontSpec& c : other.chars) c.*member = std::nullopt;
        });
      }
    }
    return;
  }
  if (text.chars.size() < CharacterCount(text)) text.chars.resize(CharacterCount(text));
  for (std::size_t i = span.first; i < span.last; ++i) text.chars[i].*member = value;
}

template <class Get>
Variant ReadAttribute(const TextState& text, std::int32_t start, std::int32_t length, Get get) {
  const Span span = SpanOf(text, start, length);
  if (span.first >= span.last) {
    if (span.whole || span.first == 0) return get(detail::ResolveElementFont(text));
    return get(detail::ResolveFont(text, span.first));
  }
  Variant first = get(detail::ResolveFont(text, span.first));
  for (std::size_t i = span.first + 1; i < span.last; ++i)
    if (!(get(detail::ResolveFont(text, i)) == first)) return Variant(Null);
  return first;
}

}  // namespace

Variant ChartFont::Name() const {
  return ReadAttribute(*text_, start_, length_,
                       [](const ResolvedFont& f) { return Variant(f.name); });
}
void ChartFont::LetName(std::string_view value) const {
  TextState& text = *text_;
  if (value.empty()) RaiseUnableToSet("Name", "Font");
  SetAttribute(text, start_, length_, &FontSpec::name, std::string(value));
}
Variant ChartFont::Size() const {
  return ReadAttribute(*text_, start_, length_,
                       [](const ResolvedFont& f) { return Variant(f.size); });
}
void ChartFont::LetSize(double value) const {
  TextState& text = *text_;
  if (!(value >= 1 && value <= 409)) RaiseUnableToSet("Size", "Font");
  SetAttribute(text, start_, length_, &FontSpec::size, value);
}
Variant ChartFont::Bold() const {
  return ReadAttribute(*text_, start_, length_,
                       [](const ResolvedFont& f) { return Variant(f.bold); });
}
void ChartFont::LetBold(bool value) const {
  SetAttribute(*text_, start_, length_, &FontSpec::bold, value);
}
Variant ChartFont::Italic() const {
  return ReadAttribute(*text_, start_, length_,
                       [](const ResolvedFont& f) { return Variant(f.italic); });
}
void ChartFont::LetItalic(bool value) const {
  SetAttribute(*text_, start_, length_, &FontSpec::italic, value);
}
Variant ChartFont::Color() const {
  return ReadAttribute(*text_, start_, length_,
                       [](const ResolvedFont& f) { return Variant(f.color); });
}
void ChartFont::LetColor(std::int32_t value) const {
  TextState& text = *text_;
  if (!ValidRgb(value)) RaiseUnableToSet("Color", "Font");
  SetAttribute(text, start_, length_, &FontSpec::color, value);
}
Variant ChartFont::ColorIndex() const {
  return ReadAttribute(*text_, start_, length_,
                       [](const ResolvedFont& f) { return Variant(NearestColorIndex(f.color)); });
}
void ChartFont::LetColorIndex(std::int32_t value) const {
  TextState& text = *text_;
  std::int32_t color = 0;
  if (value == xlColorIndexAutomatic) {
    color = 0;
  } else if (value >= 1 && value <= 56) {
    color = PaletteColor(value);
  } else {
    RaiseUnableToSet("ColorIndex", "Font");
  }
  SetAttribute(text, start_, length_, &FontSpec::color, color);
}

std::string Characters::Text() const {
  const TextState& text = *text_;
  const Span span = SpanOf(text, start_, length_);
  const std::vector<std::string> chars = detail::SplitCharacters(text.text);
  std::string out;
  for (std::size_t i = span.first; i < span.last; ++i) out += chars[i];
  return out;
}

std::int32_t Characters::Count() const {
  const Span span = SpanOf(*text_, start_, length_);
  return static_cast<std::int32_t>(span.last - span.first);
}

ChartFont Characters::Font() const {
  (void)*text_;
  return ChartFont(text_.Shared(), start_ < 1 ? 1 : start_, length_);
}

// ---------------------------------------------------------------- border ---

namespace {
bool ValidLineStyle(std::int32_t v) {
  switch (v) {
    case xlContinuous:
    case xlDash:
    case xlDashDot:
    case xlDashDotDot:
    case xlDot:
    case xlDouble:
    case xlSlantDashDot:
    case xlLineStyleNone:
    case 0:
      return true;
    default:
      return false;
  }
}
bool ValidWeight(std::int32_t v) {
  return v == xlHairline || v == xlThin || v == xlMedium || v == xlThick;
}
}  // namespace

std::int32_t ChartBorder::LineStyle() const { return line_->line_style; }
void ChartBorder::LetLineStyle(std::int32_t value) const {
  LineState& line = *line_;
  if (!ValidLineStyle(value)) RaiseUnableToSet("LineStyle", "Border");
  line.line_style = value == 0 ? xlLineStyleNone : value;
  if (line.line_style != xlLineStyleNone && line.color_index == xlColorIndexNone)
    line.color_index = line.color_set ? NearestColorIndex(line.color) : xlColorIndexAutomatic;
  line.touched = true;
}
std::int32_t ChartBorder::Weight() const { return line_->weight; }
void ChartBorder::LetWeight(std::int32_t value) const {
  LineState& line = *line_;
  if (!ValidWeight(value)) RaiseUnableToSet("Weight", "Border");
  line.weight = value;
  if (line.line_style == xlLineStyleNone) line.line_style = xlContinuous;
  line.touched = true;
}
std::int32_t ChartBorder::ColorIndex() const { return line_->color_index; }
void ChartBorder::LetColorIndex(std::int32_t value) const {
  LineState& line = *line_;
  if (value == xlColorIndexAutomatic) {
    line.color_set = false;
    line.color = 0;
  } else if (value == xlColorIndexNone) {
    // The line is not drawn; its colour is kept.
  } else if (value >= 1 && value <= 56) {
    line.color_set = true;
    line.color = PaletteColor(value);
  } else {
    RaiseUnableToSet("ColorIndex", "Border");
  }
  line.color_index = value;
  if (value != xlColorIndexNone && line.line_style == xlLineStyleNone)
    line.line_style = xlContinuous;
  line.touched = true;
}
std::int32_t ChartBorder::Color() const {
  const LineState& line = *line_;
  return line.color_set ? line.color : 0;
}
void ChartBorder::LetColor(std::int32_t value) const {
  LineState& line = *line_;
  if (!ValidRgb(value)) RaiseUnableToSet("Color", "Border");
  line.color = value;
  line.color_set = true;
  line.color_index = NearestColorIndex(value);
  if (line.line_style == xlLineStyleNone) line.line_style = xlContinuous;
  line.touched = true;
}
bool ChartBorder::ColorIsSet() const { return line_->color_set; }
bool ChartBorder::Visible() const {
  const LineState& line = *line_;
  return line.line_style != xlLineStyleNone && line.color_index != xlColorIndexNone;
}

// -------------------------------------------------------------- interior ---

std::int32_t ChartInterior::Color() const {
  const FillState& fill = *fill_;
  return fill.color_set ? fill.color : kWhite;
}
void ChartInterior::LetColor(std::int32_t value) const {
  FillState& fill = *fill_;
  if (!ValidRgb(value)) RaiseUnableToSet("Color", "Interior");
  fill.color = value;
  fill.color_set = true;
  fill.color_index = NearestColorIndex(value);
  fill.visible = true;
  fill.touched = true;
}
std::int32_t ChartInterior::ColorIndex() const {
  const FillState& fill = *fill_;
  if (!fill.visible) return xlColorIndexNone;
  if (!fill.color_set) return xlColorIndexAutomatic;
  return fill.color_index;
}
void ChartInterior::LetColorIndex(std::int32_t value) const {
  FillState& fill = *fill_;
  fill.touched = true;
  if (value == xlColorIndexNone) {
    fill.visible = false;
    return;
  }
  if (value == xlColorIndexAutomatic) {
    fill.color_set = false;
    fill.color = kWhite;
  } else if (value >= 1 && value <= 56) {
    fill.color_set = true;
    fill.color = PaletteColor(value);
  } else {
    RaiseUnableToSet("ColorIndex", "Interior");
  }
  fill.color_index = value;
  fill.visible = true;
}
bool ChartInterior::ColorIsSet() const { return fill_->color_set; }

std::int32_t ChartFillFormat::Visible() const { return fill_->visible ? msoTrue : msoFalse; }
void ChartFillFormat::LetVisible(std::int32_t value) const {
  FillState& fill = *fill_;
  if (value != msoTrue && value != msoFalse && value != 1)
    RaiseUnableToSet("Visible", "FillFormat");
  fill.visible = value != msoFalse;
  fill.touched = true;
}
std::int32_t ChartFillFormat::ForeColor() const {
  const FillState& fill = *fill_;
  return fill.color_set ? fill.color : kWhite;
}
void ChartFillFormat::LetForeColor(std::int32_t rgb) const {
  FillState& fill = *fill_;
  if (!ValidRgb(rgb)) RaiseUnableToSet("ForeColor", "FillFormat");
  fill.color = rgb;
  fill.color_set = true;
  fill.color_index = NearestColorIndex(rgb);
  fill.visible = true;
  fill.touched = true;
}

}  // namespace orv::excel
