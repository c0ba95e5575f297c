#include "orv/xlsx/chart_svg.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <optional>

#include "orv/excel/internal/io.hpp"
#include "orv/frame/convert.hpp"
#include "orv/xlsx/xml_text.hpp"

namespace orv::xlsx {

namespace {

using namespace excel;  // the chart enumerations and states
using excel::detail::Box;
using excel::detail::Scale;

// The colours a spreadsheet gives series that have none of their own.
constexpr const char* kSeriesColors[] = {"#4472c4", "#ed7d31", "#a5a5a5",
                                         "#ffc000", "#5b9bd5", "#70ad47"};
// Browsers draw proportional (and bold) text up to this much wider than
// the workbook's estimate of its width.
constexpr double kGlyphAllowance = 1.2;
// Points a trendline is drawn through.
constexpr int kCurvePoints = 60;

std::string Esc(std::string_view text) {
  std::string out;
  for (char c : xlsx::detail::XmlSafe(text)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// Lengths in points to a tenth: finer than a screen shows a chart.
std::string N(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  return buf;
}

std::string Hex(std::int32_t bgr) {
  const auto c = static_cast<std::uint32_t>(bgr) & 0xFFFFFF;
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  return buf;
}

std::optional<std::string> ColorOf(std::int32_t index, std::optional<std::int32_t> rgb) {
  if (index > 0) return Hex(PaletteColor(index));
  if (rgb) return Hex(*rgb);
  return std::nullopt;
}

// The explicit colour of a fill ("none" when hidden), or nothing while automatic.
std::optional<std::string> FillColor(const FillState* fill) {
  if (fill && (!fill->visible || fill->color_index == xlColorIndexNone)) return "none";
  if (!fill || !fill->color_set) return std::nullopt;
  return ColorOf(fill->color_index, fill->color);
}

bool Hidden(const LineState* line) {
  return line && (line->line_style == xlLineStyleNone || line->color_index == xlColorIndexNone);
}

// stroke, stroke-width and dashes of a line; `automatic` when it has no colour.
std::string Stroke(const LineState* line, const std::string& automatic) {
  std::string color = automatic;
  double width = 0.75;
  std::string dash;
  if (line) {
    if (line->color_set) color = *ColorOf(line->color_index, line->color);
    width = line->weight == xlHairline ? 0.5
            : line->weight == xlMedium ? 1.5
            : line->weight == xlThick  ? 2.25
                                       : 0.75;
    if (line->line_style == xlDot) dash = "1.5,2";
    if (line->line_style == xlDash || line->line_style == xlDashDot) dash = "4,2";
  }
  std::string s = "stroke=\"" + color + "\" stroke-width=\"" + N(width) + "\" fill=\"none\"";
  if (!dash.empty()) s += " stroke-dasharray=\"" + dash + "\"";
  return s;
}

// The element's font; `size` in points replaces its own when not 0.
std::string FontAttributes(const TextState& text, double size) {
  ResolvedFont f = excel::detail::ResolveElementFont(text);
  if (size > 0) f.size = size;
  std::string s = "font-family=\"" + Esc(f.name) + ", sans-serif\" font-size=\"" + N(f.size) +
                  "\" fill=\"" + Hex(f.color) + "\"";
  if (f.bold) s += " font-weight=\"bold\"";
  if (f.italic) s += " font-style=\"italic\"";
  return s;
}

// A text of one or more lines, the first line's baseline at y.
std::string Text(const std::string& cls, double x, double y, const std::string& anchor,
                 const TextState* font, std::string_view raw, double rotate = 0,
                 double size = 0) {
  std::string lines(raw);
  for (std::size_t at; (at = lines.find('\r')) != std::string::npos;)
    lines.replace(at, at + 1 < lines.size() && lines[at + 1] == '\n' ? 2 : 1, "\n");
  const std::string_view text = lines;
  std::string out = "<text class=\"" + cls + "\" x=\"" + N(x) + "\" y=\"" + N(y) +
                    "\" text-anchor=\"" + anchor + "\"";
  if (font) out += " " + FontAttributes(*font, size);
  if (rotate != 0) out += " transform=\"rotate(" + N(rotate) + " " + N(x) + " " + N(y) + ")\"";
  out += ">";
  const double own = font ? excel::detail::ResolveElementFont(*font).size : 10;
  if (size <= 0) size = own;
  // An element's own text may format its lines otherwise (a smaller
  // subtitle): each line shows the font of its first character.
  std::vector<std::size_t> firsts{0};
  for (std::size_t b = 0, ch = 0; b < raw.size(); ++b) {
    if ((static_cast<unsigned char>(raw[b]) & 0xC0) == 0x80) continue;
    ++ch;
    if (raw[b] == '\n' || (raw[b] == '\r' && (b + 1 == raw.size() || raw[b + 1] != '\n')))
      firsts.push_back(ch);
  }
  const bool formatted = font && raw == font->text;
  std::size_t start = 0;
  for (int line = 0;; ++line) {
    const std::size_t end = text.find('\n', start);
    const std::string_view part = text.substr(start, end == std::string_view::npos ? end : end - start);
    std::string look;
    double line_size = size;
    if (formatted) {
      const ResolvedFont whole = excel::detail::ResolveElementFont(*font);
      const ResolvedFont f = excel::detail::ResolveFont(*font, firsts[static_cast<std::size_t>(line)]);
      line_size = f.size * size / own;
      if (f.size != whole.size) look += " font-size=\"" + N(line_size) + "\"";
      if (f.bold != whole.bold) look += f.bold ? " font-weight=\"bold\"" : " font-weight=\"normal\"";
      if (f.italic != whole.italic) look += f.italic ? " font-style=\"italic\"" : " font-style=\"normal\"";
    }
    if (line == 0)
      out += "<tspan" + look + ">" + Esc(part) + "</tspan>";
    else
      out += "<tspan x=\"" + N(x) + "\" dy=\"" + N(line_size * 1.2) + "\"" + look + ">" + Esc(part) +
             "</tspan>";
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return out + "</text>";
}

const AxisState* Shown(const ChartState& chart, int index) {
  const AxisState* a = chart.axes[static_cast<std::size_t>(index)].get();
  return a && excel::detail::AxisShown(*a) ? a : nullptr;
}

// Where data land in the plot: scaled axes map values, a category axis
// spaces its categories evenly.
struct Frame {
  Box in;
  Scale x, y;
  bool x_scaled = false;
  bool between = true;
  std::size_t categories = 0;

  double X(double v) const {
    if (x_scaled) return in.left + (v - x.minimum) / (x.maximum - x.minimum) * in.width;
    const double n = static_cast<double>(std::max<std::size_t>(categories, 1));
    if (between) return in.left + (v - 0.5) / n * in.width;
    return in.left + (v - 1) / std::max(n - 1, 1.0) * in.width;
  }
  double Y(double v) const {
    return in.top + in.height - (v - y.minimum) / (y.maximum - y.minimum) * in.height;
  }
};

std::vector<double> Ticks(const Scale& s) {
  std::vector<double> ticks;
  if (!(s.major > 0) || !(s.maximum > s.minimum)) return ticks;
  const double steps = std::floor((s.maximum - s.minimum) / s.major + 1e-9);
  for (double k = 0; k <= steps && k <= 1000; ++k) ticks.push_back(s.minimum + k * s.major);
  return ticks;
}

std::string TickFormat(const AxisState& axis) {
  return axis.tick_labels ? axis.tick_labels->number_format : std::string("General");
}

std::string CategoryText(const SeriesState* s, std::size_t i, const std::string& format) {
  if (!s) return std::to_string(i + 1);
  const Variant v = s->xvalues.At(i);
  if (v.IsNumber()) return excel::detail::FormatNumber(CDbl(v), format);
  return v.IsEmpty() ? std::string() : CStr(v);
}

std::string DrawAxes(const ChartState& chart, const Frame& f, const SeriesState* categories,
                     double chart_height) {
  std::string out;
  double second_line = 0;  // the height category labels broken in two add
  const AxisState* xa = Shown(chart, 0);
  const AxisState* ya = Shown(chart, 1);
  const std::string grid = "stroke=\"#d9d9d9\" stroke-width=\"0.75\"";
  const std::string axis_line = "stroke=\"#808080\" stroke-width=\"0.75\"";
  const double bottom = f.in.top + f.in.height, right = f.in.left + f.in.width;
  if (ya) {
    const Box box = excel::detail::AxisBox(*ya);
    for (double t : Ticks(f.y)) {
      const double y = f.Y(t);
      if (ya->has_major_gridlines)
        out += "<line class=\"grid\" x1=\"" + N(f.in.left) + "\" x2=\"" + N(right) + "\" y1=\"" +
               N(y) + "\" y2=\"" + N(y) + "\" " + grid + "/>";
      if (ya->tick_label_position != xlTickLabelPositionNone)
        out += Text("tick-y", box.left + box.width - 3, y + 3, "end", ya->tick_labels.get(),
                    excel::detail::FormatNumber(t, TickFormat(*ya)));
    }
  }
  if (xa) {
    const Box box = excel::detail::AxisBox(*xa);
    const double label_y = box.top + 3 + (xa->tick_labels
                                              ? excel::detail::ResolveElementFont(*xa->tick_labels).size
                                              : 10);
    if (f.x_scaled) {
      for (double t : Ticks(f.x)) {
        const double x = f.X(t);
        if (xa->has_major_gridlines)
          out += "<line class=\"grid\" x1=\"" + N(x) + "\" x2=\"" + N(x) + "\" y1=\"" +
                 N(f.in.top) + "\" y2=\"" + N(bottom) + "\" " + grid + "/>";
        if (xa->tick_label_position != xlTickLabelPositionNone)
          out += Text("tick-x", x, label_y, "middle", xa->tick_labels.get(),
                      excel::detail::FormatNumber(t, TickFormat(*xa)));
      }
    } else if (xa->tick_label_position != xlTickLabelPositionNone) {
      // Labels wider than their slot shrink to fit it, down to 5 points.
      std::vector<std::string> texts;
      double widest = 0;
      for (std::size_t i = 0; i < f.categories; ++i) {
        texts.push_back(CategoryText(categories, i, TickFormat(*xa)));
        if (xa->tick_labels)
          widest = std::max(widest, excel::detail::TextWidth(*xa->tick_labels, texts.back()));
      }
      const double slot = f.in.width / static_cast<double>(std::max<std::size_t>(f.categories, 1));
      // Too wide for their slots, they go on two lines, broken at the space
      // nearest their middle.
      if (xa->tick_labels && widest > slot) {
        widest = 0;
        second_line = 1.2;
        for (std::string& text : texts) {
          const std::size_t before = text.rfind(' ', text.size() / 2),
                            after = text.find(' ', text.size() / 2);
          const std::size_t at = before == std::string::npos ? after
                                 : after == std::string::npos
                                     ? before
                                     : (text.size() / 2 - before <= after - text.size() / 2 ? before : after);
          if (at != std::string::npos) text[at] = '\n';
          widest = std::max(widest, excel::detail::TextWidth(*xa->tick_labels, text));
        }
      }
      double size = 0;
      if (xa->tick_labels && widest > slot)
        size = std::max(5.0, excel::detail::ResolveElementFont(*xa->tick_labels).size * 0.85 * slot / widest);
      second_line *= size > 0 ? size : excel::detail::ResolveElementFont(*xa->tick_labels).size;
      for (std::size_t i = 0; i < f.categories; ++i)
        out += Text("tick-x", f.X(static_cast<double>(i + 1)), label_y, "middle",
                    xa->tick_labels.get(), texts[i], 0, size);
    }
  }
  // The axis lines where the other axis crosses: at 0 when it lies inside,
  // else at the low end (or where the axis says).
  auto crossing = [](const AxisState* other, const Scale& s) {
    if (other && other->crosses == xlAxisCrossesCustom) return other->crosses_at;
    if (other && other->crosses == xlAxisCrossesMaximum) return s.maximum;
    if (other && other->crosses == xlAxisCrossesMinimum) return s.minimum;
    return s.minimum <= 0 && 0 <= s.maximum ? 0.0 : s.minimum;
  };
  if (xa) {
    const double y = std::clamp(f.Y(crossing(ya, f.y)), f.in.top, bottom);
    out += "<line class=\"axis-x\" x1=\"" + N(f.in.left) + "\" x2=\"" + N(right) + "\" y1=\"" +
           N(y) + "\" y2=\"" + N(y) + "\" " + axis_line + "/>";
  }
  if (ya) {
    const double x = f.x_scaled ? std::clamp(f.X(crossing(xa, f.x)), f.in.left, right) : f.in.left;
    out += "<line class=\"axis-y\" x1=\"" + N(x) + "\" x2=\"" + N(x) + "\" y1=\"" + N(f.in.top) +
           "\" y2=\"" + N(bottom) + "\" " + axis_line + "/>";
  }
  for (const AxisState* a : {xa, ya}) {
    if (!a || !a->has_title || !a->title) continue;
    const TextState& t = *a->title;
    const Box box = excel::detail::DefaultTitleBox(t);
    const double left = t.left.value_or(box.left);
    // Below category labels on two lines, as far as the chart allows.
    double top = t.top.value_or(box.top);
    if (a == xa) top = std::max(top, std::min(top + second_line, chart_height - box.height));
    const std::string shown = excel::detail::ShownText(t);
    if (a == xa)
      out += Text("axis-title", left + box.width / 2, top + box.height * 0.8, "middle", &t, shown);
    else
      out += Text("axis-title", left + box.width / 2 + 4, top + box.height / 2, "middle", &t, shown,
                  -90);
  }
  return out;
}

double TrendY(const TrendlineState& t, const std::vector<double>& c, double x) {
  switch (t.type) {
    case xlExponential:
      return c[0] * std::exp(c[1] * x);
    case xlLogarithmic:
      return c[0] + c[1] * std::log(x);
    case xlPower:
      return c[0] * std::pow(x, c[1]);
    default: {
      double y = 0;
      for (std::size_t j = c.size(); j-- > 0;) y = y * x + c[j];
      return y;
    }
  }
}

// Draws the series; its point labels go to `labels`, drawn over the plot's
// clip, turned to the point's left where they would leave the chart.
std::string DrawSeries(const ChartState& chart, const SeriesState& s, const Frame& f,
                       std::size_t index, double chart_width, std::string& labels) {
  const std::int32_t kind = excel::detail::GroupKind(s.chart_type);
  const bool scatter = excel::detail::IsScatterType(s.chart_type);
  const bool columns = kind == excel::detail::GroupKind(xlColumnClustered);
  const std::string automatic = kSeriesColors[index % std::size(kSeriesColors)];
  const std::vector<std::optional<double>> y = excel::detail::ValueNumbers(s);
  const std::vector<std::optional<double>> x =
      scatter ? excel::detail::XPositions(s) : std::vector<std::optional<double>>{};
  auto px = [&](std::size_t i) {
    if (scatter) return x[i] ? std::optional(f.X(*x[i])) : std::nullopt;
    return std::optional(f.X(static_cast<double>(i + 1)));
  };

  std::string points, line;
  std::size_t drawn = 0;
  if (columns) {
    const std::string fill = FillColor(s.interior.get()).value_or(automatic);
    const double slot = f.in.width / static_cast<double>(std::max<std::size_t>(f.categories, 1));
    const auto gap = chart.groups.count(xlPrimary * 1000 + kind)
                         ? chart.groups.at(xlPrimary * 1000 + kind).gap_width
                         : 150;
    const double width = slot / (1 + gap / 100.0);
    const double base = f.Y(std::clamp(0.0, f.y.minimum, f.y.maximum));
    for (std::size_t i = 0; i < y.size(); ++i) {
      if (!y[i]) continue;
      const double top = f.Y(*y[i]);
      points += "<rect class=\"bar\" x=\"" + N(*px(i) - width / 2) + "\" y=\"" +
                N(std::min(top, base)) + "\" width=\"" + N(width) + "\" height=\"" +
                N(std::fabs(base - top)) + "\" fill=\"" + fill + "\" " +
                Stroke(s.border.get(), "none") + "/>";
      ++drawn;
    }
  } else {
    const bool markers =
        s.marker_style != xlMarkerStyleNone &&
        !(s.marker_style == xlMarkerStyleAutomatic &&
          (s.chart_type == xlLine || s.chart_type == xlXYScatterLinesNoMarkers ||
           s.chart_type == xlXYScatterSmoothNoMarkers));
    const bool lined = scatter ? s.border && !Hidden(s.border.get())
                               : !Hidden(s.border.get());
    const std::string fill =
        ColorOf(s.marker_background_color_index, s.marker_background_color).value_or(automatic);
    const std::string edge =
        ColorOf(s.marker_foreground_color_index, s.marker_foreground_color).value_or(fill);
    const double r = std::max(1, s.marker_size) / 2.0;
    const std::string radius = N(r);
    // A point without a value is a gap in the line, as the workbook shows it.
    std::string path;
    bool gap = true;
    for (std::size_t i = 0; i < y.size(); ++i) {
      const std::optional<double> at = px(i);
      if (!y[i] || !at) {
        gap = true;
        continue;
      }
      path += (gap ? (path.empty() ? "M" : " M") : " L") + N(*at) + " " + N(f.Y(*y[i]));
      gap = false;
      if (!markers) continue;
      ++drawn;
      if (s.marker_style == xlMarkerStyleDash)
        points += "<rect class=\"point\" x=\"" + N(*at - r) + "\" y=\"" + N(f.Y(*y[i]) - 0.75) +
                  "\" width=\"" + N(2 * r) + "\" height=\"1.5\" fill=\"" + edge + "\"/>";
      else
        points += "<circle class=\"point\" cx=\"" + N(*at) + "\" cy=\"" + N(f.Y(*y[i])) +
                  "\" r=\"" + radius + "\"/>";
    }
    // The markers' colours once, for all of them: a large series stays small.
    if (!points.empty())
      points = "<g fill=\"" +
               (s.marker_background_color_index == xlColorIndexNone ? std::string("none") : fill) +
               "\" stroke=\"" + edge + "\" stroke-width=\"0.75\">" + points + "</g>";
    if (lined && !path.empty())
      line = "<path class=\"line\" d=\"" + path + "\" " + Stroke(s.border.get(), automatic) + "/>";
    if (!markers) drawn = 0;
  }

  // Labels of points: their own text, or the value.
  std::string own;
  const bool series_labels = s.data_labels_type != xlDataLabelsShowNone;
  for (std::size_t i = 0; i < y.size(); ++i) {
    auto it = s.points.find(static_cast<std::int32_t>(i + 1));
    const PointState* p = it != s.points.end() ? it->second.get() : nullptr;
    if (!(p ? p->has_label.value_or(series_labels) : series_labels) || !y[i] || !px(i)) continue;
    const std::string text =
        p && p->label ? DataLabel(p->label).Text() : excel::detail::FormatNumber(*y[i], "General");
    if (text.find_first_not_of(" \t\n\r") == std::string::npos) continue;
    const TextState* font = p ? p->label.get() : nullptr;
    const double wide = kGlyphAllowance * (font ? excel::detail::TextWidth(*font, text)
                                                : 5.0 * static_cast<double>(text.size()));
    const bool left = *px(i) + 4 + wide > chart_width - 2;
    own += Text("label", *px(i) + (left ? -4 : 4), f.Y(*y[i]) - 4, left ? "end" : "start", font,
                text);
  }
  if (!own.empty()) labels += "<g class=\"labels\" data-name=\"" + Esc(s.name) + "\">" + own + "</g>";

  // Trendlines, drawn over the span of the series' x positions.
  std::string trends;
  for (const auto& t : s.trendlines) {
    if (!t || t->deleted || t->type == xlMovingAvg) continue;
    const excel::detail::Fit fit = excel::detail::FitTrendline(*t);
    if (fit.coefficients.empty()) continue;
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    for (std::size_t i = 0; i < y.size(); ++i) {
      const double xi = scatter ? (x[i] ? *x[i] : NAN) : static_cast<double>(i + 1);
      if (std::isfinite(xi) && y[i]) lo = std::min(lo, xi), hi = std::max(hi, xi);
    }
    if (!(lo <= hi)) continue;
    lo -= t->backward, hi += t->forward;
    std::string path;
    for (int k = 0; k <= kCurvePoints; ++k) {
      const double xv = lo + (hi - lo) * k / kCurvePoints;
      const double yv = TrendY(*t, fit.coefficients, xv);
      if (!std::isfinite(yv)) continue;
      path += (path.empty() ? "M" : " L") + N(f.X(xv)) + " " + N(f.Y(yv));
    }
    if (!path.empty())
      trends += "<path class=\"trendline\" d=\"" + path + "\" " + Stroke(t->border.get(), "#000000") +
                "/>";
  }

  return "<g class=\"series\" data-name=\"" + Esc(s.name) + "\" data-points=\"" +
         std::to_string(drawn) + "\">" + line + trends + points + "</g>";
}

std::string DrawChart(const ShapeState& shape) {
  static std::atomic<unsigned long> next_clip{0};
  const ChartState& chart = *shape.chart;
  const double w = std::max(shape.width, 1.0), h = std::max(shape.height, 1.0);
  std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" width=\"" + N(w) +
                    "\" height=\"" + N(h) + "\" viewBox=\"0 0 " + N(w) + " " + N(h) +
                    "\" role=\"img\" aria-label=\"" +
                    Esc(chart.has_title && chart.title ? excel::detail::ShownText(*chart.title)
                                                        : shape.name) +
                    "\">";
  const std::string area_fill = FillColor(chart.chart_area_fill.get()).value_or("#ffffff");
  out += "<rect x=\"0\" y=\"0\" width=\"" + N(w) + "\" height=\"" + N(h) + "\" fill=\"" +
         area_fill + "\" stroke=\"#d9d9d9\"/>";
  if (chart.has_title && chart.title) {
    const TextState& t = *chart.title;
    const Box box = excel::detail::DefaultTitleBox(t);
    const std::string shown = excel::detail::ShownText(t);
    double size = excel::detail::ResolveElementFont(t).size;
    // A title wider than the chart shrinks to fit it, down to 6 points.
    const double wide = kGlyphAllowance * excel::detail::TextWidth(t, shown);
    const double fitted = wide > w - 8 ? std::max(6.0, size * (w - 8) / wide) : 0;
    out += Text("title", w / 2, t.top.value_or(box.top) + size, "middle", &t, shown, 0, fitted);
  }

  Frame f;
  f.in = excel::detail::PlotInside(chart);
  const SeriesState* categories = nullptr;
  std::size_t index = 0;
  std::vector<const SeriesState*> shown;
  for (const auto& s : chart.series) {
    if (!s || s->deleted || s->values.count == 0) continue;
    shown.push_back(s.get());
    f.categories = std::max(f.categories, s->values.count);
    if (!categories && s->xvalues_set) categories = s.get();
  }
  const AxisState* xa = chart.axes[0].get();
  const AxisState* ya = chart.axes[1].get();
  f.x_scaled = xa && excel::detail::AxisHasScale(*xa);
  if (f.x_scaled) f.x = excel::detail::AxisScale(*xa);
  if (xa) f.between = xa->axis_between_categories;
  if (ya) f.y = excel::detail::AxisScale(*ya);
  const std::string plot_fill = FillColor(chart.plot_fill.get()).value_or("none");
  out += "<rect class=\"plot\" x=\"" + N(f.in.left) + "\" y=\"" + N(f.in.top) + "\" width=\"" +
         N(f.in.width) + "\" height=\"" + N(f.in.height) + "\" fill=\"" + plot_fill + "\"/>";
  if (!excel::detail::IsPieType(chart.chart_type)) out += DrawAxes(chart, f, categories, h);

  const std::string clip = "orv-clip-" + std::to_string(next_clip++);
  out += "<clipPath id=\"" + clip + "\"><rect x=\"" + N(f.in.left - 6) + "\" y=\"" +
         N(f.in.top - 6) + "\" width=\"" + N(f.in.width + 12) + "\" height=\"" +
         N(f.in.height + 12) + "\"/></clipPath><g clip-path=\"url(#" + clip + ")\">";
  std::string labels;
  for (const SeriesState* s : shown) out += DrawSeries(chart, *s, f, index++, w, labels);
  return out + "</g>" + labels + "</svg>";
}

}  // namespace

std::vector<ChartSvg> ChartsAsSvg(const excel::Worksheet& sheet) {
  std::vector<ChartSvg> out;
  for (const auto& shape : excel::internal::StorageOf(sheet).drawing.Shapes()) {
    if (!shape || shape->deleted || shape->kind != ShapeKind::ChartObject || !shape->chart)
      continue;
    const ChartState& chart = *shape->chart;
    out.push_back({shape->name,
                   chart.has_title && chart.title ? excel::detail::ShownText(*chart.title) : "",
                   DrawChart(*shape)});
  }
  return out;
}

std::string FormattedNumber(double value, std::string_view format) {
  // "[<0.001]"<0.001";0.000": the first section when the condition holds.
  if (format.size() > 3 && format.front() == '[' && format[1] == '<') {
    const std::size_t close = format.find(']');
    const std::size_t semi = format.find(';');
    if (close != std::string_view::npos && semi != std::string_view::npos && close < semi) {
      const bool or_equal = format[2] == '=';
      const std::string limit(format.substr(or_equal ? 3 : 2, close - (or_equal ? 3 : 2)));
      char* end = nullptr;
      const double bound = std::strtod(limit.c_str(), &end);
      if (end != limit.c_str() && (value < bound || (or_equal && value == bound))) {
        std::string_view shown = format.substr(close + 1, semi - close - 1);
        if (shown.size() >= 2 && shown.front() == '"' && shown.back() == '"')
          shown = shown.substr(1, shown.size() - 2);
        return std::string(shown);
      }
      return excel::detail::FormatNumber(value, format.substr(semi + 1));
    }
  }
  return excel::detail::FormatNumber(value, format);
}

}  // namespace orv::xlsx
