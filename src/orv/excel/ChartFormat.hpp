#pragma once
// The formats of chart elements: fonts (of a whole text element or of some
// of its characters), borders and lines, fills.
//
//   chart.ChartTitle().Font().LetSize(10);
//   chart.ChartTitle().Characters(7, 9).Font().LetBold(false);
//   series.Border().LetLineStyle(xlDot);
//   chart.PlotArea().Fill().LetVisible(msoFalse);
//
// Colours are RGB numbers (red + 256 green + 65536 blue); colour indices
// are those of the standard 56-colour palette (1 black, 2 white, 3 red,
// ..., 11 dark blue, ...), xlColorIndexAutomatic or xlColorIndexNone.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "orv/excel/state_fwd.hpp"
#include "orv/frame/Ref.hpp"
#include "orv/frame/Variant.hpp"

namespace orv::excel {

// A text element's font as it shows: the element's own settings over its
// defaults.
struct ResolvedFont {
  std::string name;
  double size = 10;
  bool bold = false;
  bool italic = false;
  std::int32_t color = 0;
  friend bool operator==(const ResolvedFont&, const ResolvedFont&) = default;
};

// The RGB colour of a palette index (1 to 56); 1004 outside.
std::int32_t PaletteColor(std::int32_t color_index);
// The palette index whose colour is nearest to an RGB colour (the first of
// equals).
std::int32_t NearestColorIndex(std::int32_t color);

// The font of a text element, or of a run of its characters.
//
// Setting an attribute on a whole element sets it on every character; on
// the chart area it sets it on every text of the chart (titles, labels,
// tick labels), as a spreadsheet does. Reading an attribute over
// characters that differ gives Null. Until set, text uses the chart's font
// (Calibri 10, black), titles 4 points larger and bold, axis titles bold.
class ChartFont {
 public:
  ChartFont() : text_(Nothing) {}
  // start from 1 and length in characters; length -1: to the end. The
  // whole element is (1, -1).
  ChartFont(std::shared_ptr<TextState> text, std::int32_t start = 1, std::int32_t length = -1)
      : text_(std::move(text)), start_(start), length_(length) {}
  bool IsNothing() const { return text_.IsNothing(); }

  Variant Name() const;
  void LetName(std::string_view value) const;
  // Points, 1 to 409 (1004 outside).
  Variant Size() const;
  void LetSize(double value) const;
  Variant Bold() const;
  void LetBold(bool value) const;
  Variant Italic() const;
  void LetItalic(bool value) const;
  Variant Color() const;
  void LetColor(std::int32_t value) const;
  Variant ColorIndex() const;
  void LetColorIndex(std::int32_t value) const;

 private:
  Ref<TextState> text_;
  std::int32_t start_ = 1, length_ = -1;
};

// A run of characters of a title or label: Characters(Start, Length).
// Characters count Unicode code points; a run beyond the text is cut at
// its end.
class Characters {
 public:
  Characters(std::shared_ptr<TextState> text, std::int32_t start, std::int32_t length)
      : text_(std::move(text)), start_(start), length_(length) {}
  std::string Text() const;
  std::int32_t Count() const;
  ChartFont Font() const;

 private:
  Ref<TextState> text_;
  std::int32_t start_, length_;
};

// A line: the border of an area, the line of a series or trendline.
// LineStyle xlContinuous, xlDash, xlDot, ... or xlLineStyleNone (-4142; 0
// is taken as none too); Weight xlHairline, xlThin, xlMedium, xlThick;
// other values are 1004 "Unable to set the <p> property of the Border
// class".
class ChartBorder {
 public:
  ChartBorder() : line_(Nothing) {}
  explicit ChartBorder(std::shared_ptr<LineState> line) : line_(std::move(line)) {}
  bool IsNothing() const { return line_.IsNothing(); }

  std::int32_t LineStyle() const;
  void LetLineStyle(std::int32_t value) const;
  std::int32_t Weight() const;
  void LetWeight(std::int32_t value) const;
  // A palette index, xlColorIndexAutomatic or xlColorIndexNone (the line
  // is then not drawn); with an RGB colour set, its nearest index.
  std::int32_t ColorIndex() const;
  void LetColorIndex(std::int32_t value) const;
  // RGB; the automatic colour reads as black (0).
  std::int32_t Color() const;
  void LetColor(std::int32_t value) const;
  // Whether a colour was given (index or RGB) rather than automatic.
  bool ColorIsSet() const;
  // Drawn at all: a line style other than none and no xlColorIndexNone.
  bool Visible() const;

 private:
  Ref<LineState> line_;
};

// The colour of an area. Setting a colour makes the area filled.
class ChartInterior {
 public:
  ChartInterior() : fill_(Nothing) {}
  explicit ChartInterior(std::shared_ptr<FillState> fill) : fill_(std::move(fill)) {}
  bool IsNothing() const { return fill_.IsNothing(); }
  // RGB (white 16777215 while automatic).
  std::int32_t Color() const;
  void LetColor(std::int32_t value) const;
  // Palette index; xlColorIndexNone when the area is not filled,
  // xlColorIndexAutomatic while automatic.
  std::int32_t ColorIndex() const;
  void LetColorIndex(std::int32_t value) const;
  bool ColorIsSet() const;

 private:
  Ref<FillState> fill_;
};

// The fill of an area: Visible is msoTrue (-1) or msoFalse (0); other
// numbers are 1004.
class ChartFillFormat {
 public:
  ChartFillFormat() : fill_(Nothing) {}
  explicit ChartFillFormat(std::shared_ptr<FillState> fill) : fill_(std::move(fill)) {}
  std::int32_t Visible() const;
  void LetVisible(std::int32_t value) const;
  // The fill colour (RGB); setting it makes the fill visible.
  std::int32_t ForeColor() const;
  void LetForeColor(std::int32_t rgb) const;

 private:
  Ref<FillState> fill_;
};

}  // namespace orv::excel
