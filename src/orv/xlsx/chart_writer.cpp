#include "orv/xlsx/chart_writer.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "orv/excel/Chart.hpp"
#include "orv/excel/ChartFormat.hpp"
#include "orv/excel/internal/io.hpp"
#include "orv/xlsx/file_common.hpp"
#include "orv/xlsx/xml_text.hpp"

namespace orv::xlsx::detail {

namespace {

using namespace excel;  // the chart enumerations
using excel::detail::GroupChartType;
using excel::detail::GroupKind;
using excel::detail::IsPieType;
using excel::detail::IsScatterType;
using excel::detail::ResolveElementFont;
using excel::detail::ShownText;

// The size of a chart that libxlsxwriter scales from.
constexpr double kDefaultChartPixelsWide = 480;
constexpr double kDefaultChartPixelsHigh = 288;

// --- colours, lines, fills, fonts -----------------------------------------

lxw_color_t Rgb(std::int32_t bgr) {
  auto c = static_cast<std::uint32_t>(bgr) & 0xFFFFFF;
  std::uint32_t rgb = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
  // Black is a colour, not "unset".
  return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb;
}

// The explicit colour of a line, or nothing while automatic.
std::optional<lxw_color_t> LineColor(const LineState& line) {
  if (!line.color_set) return std::nullopt;
  if (line.color_index > 0) return Rgb(PaletteColor(line.color_index));
  return Rgb(line.color);
}

float Width(std::int32_t weight) {
  switch (weight) {
    case xlHairline:
      return 0.25f;
    case xlMedium:
      return 1.5f;
    case xlThick:
      return 2.25f;
    default:
      return 0.75f;
  }
}

std::uint8_t Dash(std::int32_t style) {
  switch (style) {
    case xlDash:
      return LXW_CHART_LINE_DASH_DASH;
    case xlDot:
      return LXW_CHART_LINE_DASH_ROUND_DOT;
    case xlDashDot:
      return LXW_CHART_LINE_DASH_DASH_DOT;
    case xlDashDotDot:
      return LXW_CHART_LINE_DASH_LONG_DASH_DOT_DOT;
    default:
      return LXW_CHART_LINE_DASH_SOLID;
  }
}

bool LineHidden(const LineState& line) {
  return line.line_style == xlLineStyleNone || line.color_index == xlColorIndexNone;
}

lxw_chart_line MakeLine(const LineState& line) {
  lxw_chart_line out{};
  if (LineHidden(line)) {
    out.none = LXW_TRUE;
    return out;
  }
  out.width = Width(line.weight);
  out.dash_type = Dash(line.line_style);
  if (auto color = LineColor(line)) out.color = *color;
  return out;
}

// A fill, or nothing while automatic.
std::optional<lxw_chart_fill> MakeFill(const FillState& fill) {
  lxw_chart_fill out{};
  if (!fill.visible || fill.color_index == xlColorIndexNone) {
    out.none = LXW_TRUE;
    return out;
  }
  if (!fill.color_set) return std::nullopt;
  out.color = Rgb(fill.color_index > 0 ? PaletteColor(fill.color_index) : fill.color);
  return out;
}

// A font with every attribute written out; `name` keeps the text alive.
struct Font {
  std::string name;
  lxw_chart_font font{};
};

Font MakeFont(const ResolvedFont& resolved, std::int32_t rotation = 0) {
  Font f;
  f.name = XmlSafe(resolved.name);
  f.font.size = resolved.size;
  f.font.bold = resolved.bold ? LXW_TRUE : LXW_EXPLICIT_FALSE;
  f.font.italic = resolved.italic ? LXW_TRUE : LXW_FALSE;
  f.font.color = Rgb(resolved.color);
  f.font.rotation = rotation;
  return f;
}

lxw_chart_font* Use(Font& f) {
  f.font.name = f.name.empty() ? nullptr : f.name.data();
  return &f.font;
}

// Orientation of a title (xlUpward, degrees, ...) as the file's rotation.
std::int32_t Rotation(std::int32_t orientation) {
  switch (orientation) {
    case xlHorizontal:
      return 0;
    case xlUpward:
      return -90;
    case xlDownward:
      return 90;
    case xlVertical:
      return 0;  // stacked letters: see the README
    default:
      return -std::clamp(orientation, -90, 90);
  }
}

// Titles: their text with line breaks as the file has them.
std::string TitleText(const std::string& text) { return XmlSafe(text); }

// --- references -----------------------------------------------------------

// "=Sheet1!$A$1:$A$10", as the object model writes references.
std::string BlockReference(const std::string& sheet, const Rect& r) {
  return "=" + QuoteSheetName("", sheet) + "!" + FormatArea(r);
}

// The reference of a one-area range on a sheet of this workbook, or
// nothing (the data then go to the hidden sheet).
std::optional<std::string> RangeReference(const ChartContext& context, const Range& range) {
  if (range.IsNothing()) return std::nullopt;
  const RangeState& r = *excel::internal::StateOf(range);
  if (r.areas.size() != 1 || !r.sheet) return std::nullopt;
  bool here = std::any_of(context.book->sheets.begin(), context.book->sheets.end(),
                          [&](const auto& s) { return s == r.sheet; });
  if (!here) return std::nullopt;
  return BlockReference(r.sheet->name, r.areas.front());
}

template <class Store>
std::string DataColumn(ChartContext& context, std::size_t count, Store&& store) {
  const std::int32_t column = context.next_column++;
  for (std::size_t i = 0; i < count; ++i) store(static_cast<std::int32_t>(i) + 1, column, i);
  const std::int32_t rows = std::max<std::int32_t>(1, static_cast<std::int32_t>(count));
  return BlockReference(context.data->name, Rect{1, column, rows, column});
}

std::string ValuesReference(ChartContext& context, const SeriesState& s) {
  if (auto ref = RangeReference(context, s.values.range.Get())) return *ref;
  const std::vector<std::optional<double>> values = excel::detail::ValueNumbers(s);
  return DataColumn(context, values.size(),
                    [&](std::int32_t row, std::int32_t col, std::size_t i) {
                      if (values[i]) context.data->cells.SetNumber(row, col, *values[i]);
                    });
}

std::optional<std::string> CategoriesReference(ChartContext& context, const SeriesState& s) {
  if (!s.xvalues_set) return std::nullopt;
  if (auto ref = RangeReference(context, s.xvalues.range.Get())) return *ref;
  return DataColumn(context, s.xvalues.count,
                    [&](std::int32_t row, std::int32_t col, std::size_t i) {
                      const Variant v = s.xvalues.At(i);
                      if (v.IsString() || v.IsNumber() || v.IsBoolean())
                        context.data->cells.Set(row, col, v);
                    });
}

// --- chart types ----------------------------------------------------------

std::uint8_t LxwType(std::int32_t type) {
  switch (type) {
    case xlXYScatter:
      return LXW_CHART_SCATTER;
    case xlXYScatterLines:
      return LXW_CHART_SCATTER_STRAIGHT_WITH_MARKERS;
    case xlXYScatterLinesNoMarkers:
      return LXW_CHART_SCATTER_STRAIGHT;
    case xlXYScatterSmooth:
      return LXW_CHART_SCATTER_SMOOTH_WITH_MARKERS;
    case xlXYScatterSmoothNoMarkers:
      return LXW_CHART_SCATTER_SMOOTH;
    case xlColumnStacked:
      return LXW_CHART_COLUMN_STACKED;
    case xlColumnStacked100:
      return LXW_CHART_COLUMN_STACKED_PERCENT;
    case xlBarClustered:
      return LXW_CHART_BAR;
    case xlBarStacked:
      return LXW_CHART_BAR_STACKED;
    case xlLine:
    case xlLineMarkers:
      return LXW_CHART_LINE;
    case xlLineStacked:
    case xlLineMarkersStacked:
      return LXW_CHART_LINE_STACKED;
    case xlArea:
      return LXW_CHART_AREA;
    case xlPie:
      return LXW_CHART_PIE;
    case xlDoughnut:
      return LXW_CHART_DOUGHNUT;
    default:
      return LXW_CHART_COLUMN;
  }
}

std::uint8_t Marker(std::int32_t style) {
  switch (style) {
    case xlMarkerStyleNone:
      return LXW_CHART_MARKER_NONE;
    case xlMarkerStyleSquare:
      return LXW_CHART_MARKER_SQUARE;
    case xlMarkerStyleDiamond:
      return LXW_CHART_MARKER_DIAMOND;
    case xlMarkerStyleTriangle:
      return LXW_CHART_MARKER_TRIANGLE;
    case xlMarkerStyleX:
      return LXW_CHART_MARKER_X;
    case xlMarkerStyleStar:
      return LXW_CHART_MARKER_STAR;
    case xlMarkerStyleDash:
      return LXW_CHART_MARKER_LONG_DASH;
    case xlMarkerStyleDot:
      return LXW_CHART_MARKER_CIRCLE;  // no dot in the file's writer
    case xlMarkerStyleCircle:
      return LXW_CHART_MARKER_CIRCLE;
    case xlMarkerStylePlus:
      return LXW_CHART_MARKER_PLUS;
    default:
      return LXW_CHART_MARKER_AUTOMATIC;
  }
}

std::uint8_t TrendlineType(std::int32_t type) {
  switch (type) {
    case xlExponential:
      return LXW_CHART_TRENDLINE_TYPE_EXP;
    case xlLogarithmic:
      return LXW_CHART_TRENDLINE_TYPE_LOG;
    case xlMovingAvg:
      return LXW_CHART_TRENDLINE_TYPE_AVERAGE;
    case xlPolynomial:
      return LXW_CHART_TRENDLINE_TYPE_POLY;
    case xlPower:
      return LXW_CHART_TRENDLINE_TYPE_POWER;
    default:
      return LXW_CHART_TRENDLINE_TYPE_LINEAR;
  }
}

std::uint8_t TickMark(std::int32_t mark) {
  switch (mark) {
    case xlTickMarkNone:
      return LXW_CHART_AXIS_TICK_MARK_NONE;
    case xlTickMarkInside:
      return LXW_CHART_AXIS_TICK_MARK_INSIDE;
    case xlTickMarkCross:
      return LXW_CHART_AXIS_TICK_MARK_CROSSING;
    default:
      return LXW_CHART_AXIS_TICK_MARK_OUTSIDE;
  }
}

std::uint8_t LabelPosition(std::int32_t position) {
  switch (position) {
    case xlTickLabelPositionHigh:
      return LXW_CHART_AXIS_LABEL_POSITION_HIGH;
    case xlTickLabelPositionLow:
      return LXW_CHART_AXIS_LABEL_POSITION_LOW;
    case xlTickLabelPositionNone:
      return LXW_CHART_AXIS_LABEL_POSITION_NONE;
    default:
      return LXW_CHART_AXIS_LABEL_POSITION_NEXT_TO;
  }
}

// --- the parts of a chart -------------------------------------------------

void WriteSeries(ChartContext& context, lxw_chart* chart, const ChartState& state,
                 const SeriesState& s, bool scatter) {
  std::string values = ValuesReference(context, s);
  std::optional<std::string> categories = CategoriesReference(context, s);
  lxw_chart_series* series =
      chart_add_series(chart, categories ? categories->c_str() : nullptr, values.c_str());
  if (series == nullptr) throw std::bad_alloc();
  if (s.name_set || !s.name.empty()) {
    // A name beginning with "=" would be read as a reference.
    std::string name = XmlSafe(!s.name.empty() && s.name[0] == '=' ? " " + s.name : s.name);
    chart_series_set_name(series, name.c_str());
  }
  const bool lines = scatter || GroupKind(s.chart_type) == GroupKind(xlLine);
  if (s.border) {
    lxw_chart_line line = MakeLine(*s.border);
    chart_series_set_line(series, &line);
  }
  if (!lines && s.interior) {
    if (auto fill = MakeFill(*s.interior)) chart_series_set_fill(series, &*fill);
  }
  if (lines) {
    chart_series_set_marker_type(series, Marker(s.marker_style));
    if (s.marker_style != xlMarkerStyleNone) {
      chart_series_set_marker_size(series,
                                   static_cast<std::uint8_t>(std::clamp(s.marker_size, 2, 72)));
      if (s.marker_background_color_index == xlColorIndexNone) {
        lxw_chart_fill none{};
        none.none = LXW_TRUE;
        chart_series_set_marker_fill(series, &none);
      } else if (s.marker_background_color_index > 0 || s.marker_background_color) {
        lxw_chart_fill fill{};
        fill.color =
            Rgb(s.marker_background_color_index > 0 ? PaletteColor(s.marker_background_color_index)
                                                    : *s.marker_background_color);
        chart_series_set_marker_fill(series, &fill);
      }
      if (s.marker_foreground_color_index == xlColorIndexNone) {
        lxw_chart_line none{};
        none.none = LXW_TRUE;
        chart_series_set_marker_line(series, &none);
      } else if (s.marker_foreground_color_index > 0 || s.marker_foreground_color) {
        lxw_chart_line line{};
        line.color =
            Rgb(s.marker_foreground_color_index > 0 ? PaletteColor(s.marker_foreground_color_index)
                                                    : *s.marker_foreground_color);
        chart_series_set_marker_line(series, &line);
      }
    }
    if (s.smooth) chart_series_set_smooth(series, LXW_TRUE);
  }

  // One trendline per series in the file: the first one.
  for (const auto& t : s.trendlines) {
    if (!t || t->deleted) continue;
    std::uint8_t type = TrendlineType(t->type);
    double value = type == LXW_CHART_TRENDLINE_TYPE_POLY      ? t->order
                   : type == LXW_CHART_TRENDLINE_TYPE_AVERAGE ? t->period
                                                              : 0;
    chart_series_set_trendline(series, type, value);
    if (t->forward != 0 || t->backward != 0)
      chart_series_set_trendline_forecast(series, t->forward, t->backward);
    if (t->display_equation) chart_series_set_trendline_equation(series);
    if (t->display_r_squared) chart_series_set_trendline_r_squared(series);
    if (t->intercept) chart_series_set_trendline_intercept(series, *t->intercept);
    if (t->name_set) chart_series_set_trendline_name(series, t->name.c_str());
    if (t->border) {
      lxw_chart_line line = MakeLine(*t->border);
      chart_series_set_trendline_line(series, &line);
    }
    break;
  }

  // Points: their own fills and lines, and their labels.
  const std::size_t count = s.values.count;
  std::int32_t last_point = 0;
  for (const auto& [index, p] : s.points)
    if (p && index >= 1 && static_cast<std::size_t>(index) <= count) last_point = index;
  bool formatted = false;
  for (const auto& [index, p] : s.points)
    if (p && ((p->border && p->border->touched) || (p->interior && p->interior->touched)))
      formatted = true;
  if (formatted && last_point > 0) {
    std::vector<lxw_chart_line> point_lines(static_cast<std::size_t>(last_point));
    std::vector<lxw_chart_fill> point_fills(static_cast<std::size_t>(last_point));
    std::vector<lxw_chart_point> points(static_cast<std::size_t>(last_point));
    std::vector<lxw_chart_point*> list;
    for (std::int32_t i = 1; i <= last_point; ++i) {
      std::size_t k = static_cast<std::size_t>(i - 1);
      auto it = s.points.find(i);
      if (it != s.points.end() && it->second) {
        const PointState& p = *it->second;
        if (p.border && p.border->touched) {
          point_lines[k] = MakeLine(*p.border);
          points[k].line = &point_lines[k];
        }
        if (p.interior && p.interior->touched) {
          if (auto fill = MakeFill(*p.interior)) {
            point_fills[k] = *fill;
            points[k].fill = &point_fills[k];
          }
        }
      }
      list.push_back(&points[k]);
    }
    list.push_back(nullptr);
    chart_series_set_points(series, list.data());
  }

  bool series_labels = s.data_labels_type != xlDataLabelsShowNone;
  bool point_labels = false;
  for (const auto& [index, p] : s.points)
    if (p && p->has_label.value_or(series_labels)) point_labels = true;
  if (series_labels || point_labels) {
    chart_series_set_labels(series);
    bool category = s.data_labels_type == xlDataLabelsShowLabel ||
                    s.data_labels_type == xlDataLabelsShowLabelAndPercent;
    chart_series_set_labels_options(series, LXW_FALSE, category ? LXW_TRUE : LXW_FALSE,
                                    category ? LXW_FALSE : LXW_TRUE);
    if (s.data_labels_legend_key) chart_series_set_labels_legend(series);
    // Each point: hidden, its own text and font, or as the series shows it.
    std::size_t n = std::max<std::size_t>(count, static_cast<std::size_t>(last_point));
    std::vector<lxw_chart_data_label> labels(n);
    std::vector<std::string> texts(n);
    std::vector<Font> fonts(n);
    std::vector<lxw_chart_data_label*> list;
    for (std::size_t k = 0; k < n; ++k) {
      auto it = s.points.find(static_cast<std::int32_t>(k + 1));
      const PointState* p = it != s.points.end() ? it->second.get() : nullptr;
      bool shown = p ? p->has_label.value_or(series_labels) : series_labels;
      if (!shown) {
        labels[k].hide = LXW_TRUE;
      } else if (p && p->label) {
        texts[k] = XmlSafe(DataLabel(p->label).Text());
        labels[k].value = texts[k].data();
        fonts[k] = MakeFont(ResolveElementFont(*p->label));
        labels[k].font = Use(fonts[k]);
      }
      list.push_back(&labels[k]);
    }
    list.push_back(nullptr);
    chart_series_set_labels_custom(series, list.data());
  }
  (void)state;
}

void WriteAxis(lxw_chart_axis* axis, const AxisState& a, bool has_scale) {
  if (!a.has_axis) chart_axis_off(axis);
  if (has_scale) {
    if (a.minimum) chart_axis_set_min(axis, *a.minimum);
    if (a.maximum) chart_axis_set_max(axis, *a.maximum);
    if (a.major_unit) chart_axis_set_major_unit(axis, *a.major_unit);
    if (a.minor_unit) chart_axis_set_minor_unit(axis, *a.minor_unit);
  } else {
    chart_axis_set_position(axis, a.axis_between_categories ? LXW_CHART_AXIS_POSITION_BETWEEN
                                                            : LXW_CHART_AXIS_POSITION_ON_TICK);
  }
  switch (a.crosses) {
    case xlAxisCrossesMinimum:
      chart_axis_set_crossing_min(axis);
      break;
    case xlAxisCrossesMaximum:
      chart_axis_set_crossing_max(axis);
      break;
    case xlAxisCrossesCustom:
      chart_axis_set_crossing(axis, a.crosses_at);
      break;
    default:
      break;
  }
  chart_axis_set_major_tick_mark(axis, TickMark(a.major_tick_mark));
  chart_axis_set_minor_tick_mark(axis, TickMark(a.minor_tick_mark));
  chart_axis_set_label_position(axis, LabelPosition(a.tick_label_position));
  chart_axis_major_gridlines_set_visible(axis, a.has_major_gridlines ? LXW_TRUE : LXW_FALSE);
  chart_axis_minor_gridlines_set_visible(axis, a.has_minor_gridlines ? LXW_TRUE : LXW_FALSE);
  if (a.tick_labels) {
    if (!a.tick_labels->number_format_linked || a.tick_labels->number_format != "General")
      chart_axis_set_num_format(axis, XmlSafe(a.tick_labels->number_format).c_str());
    Font font = MakeFont(ResolveElementFont(*a.tick_labels));
    chart_axis_set_num_font(axis, Use(font));
  }
  if (a.has_title && a.title) {
    std::string text = TitleText(ShownText(*a.title));
    chart_axis_set_name(axis, text.c_str());
    std::vector<TextRun> runs = AxisTitle(a.title).Runs();
    Font font = MakeFont(runs.empty() ? ResolveElementFont(*a.title) : runs.front().font,
                         Rotation(a.title->orientation));
    chart_axis_set_name_font(axis, Use(font));
  }
  if (a.border) {
    lxw_chart_line line = MakeLine(*a.border);
    chart_axis_set_line(axis, &line);
  }
}

void WriteChart(ChartContext& context, lxw_worksheet* ws, const WorksheetState& sheet,
                const ShapeState& shape) {
  const ChartState& state = *shape.chart;
  const std::int32_t primary_type = GroupChartType(state, xlPrimary);
  const bool scatter = IsScatterType(primary_type);
  lxw_chart* chart = workbook_add_chart(context.wb, LxwType(primary_type));
  if (chart == nullptr) throw std::bad_alloc();

  // Series of the primary group first, then the secondary ones: the file's
  // writer has no secondary axes, so they join the primary chart.
  for (int group : {xlPrimary, xlSecondary})
    for (const auto& s : state.series)
      if (s && !s->deleted && s->axis_group == group && s->values.count > 0)
        WriteSeries(context, chart, state, *s, scatter);

  if (state.has_title && state.title) {
    std::string text = TitleText(ShownText(*state.title));
    chart_title_set_name(chart, text.c_str());
    std::vector<TextRun> runs = ChartTitle(state.title).Runs();
    Font font = MakeFont(runs.empty() ? ResolveElementFont(*state.title) : runs.front().font);
    chart_title_set_name_font(chart, Use(font));
  } else {
    chart_title_off(chart);
  }
  if (!state.has_legend) chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);

  if (!IsPieType(primary_type)) {
    if (state.axes[0]) WriteAxis(chart->x_axis, *state.axes[0], scatter);
    if (state.axes[1]) WriteAxis(chart->y_axis, *state.axes[1], true);
    auto group = state.groups.find(xlPrimary * 1000 + GroupKind(primary_type));
    if (group != state.groups.end() && GroupKind(primary_type) != GroupKind(xlLine) && !scatter) {
      chart_set_series_gap(chart,
                           static_cast<std::uint16_t>(std::clamp(group->second.gap_width, 0, 500)));
      chart_set_series_overlap(
          chart, static_cast<std::int8_t>(std::clamp(group->second.overlap, -100, 100)));
    }
  }

  if (state.chart_area_fill)
    if (auto fill = MakeFill(*state.chart_area_fill)) chart_chartarea_set_fill(chart, &*fill);
  if (state.chart_area_border) {
    lxw_chart_line line = MakeLine(*state.chart_area_border);
    chart_chartarea_set_line(chart, &line);
  }
  if (state.plot_fill)
    if (auto fill = MakeFill(*state.plot_fill)) chart_plotarea_set_fill(chart, &*fill);
  if (state.plot_border) {
    lxw_chart_line line = MakeLine(*state.plot_border);
    chart_plotarea_set_line(chart, &line);
  }

  // The place on the sheet: the cell under the top-left corner, the offset
  // into it and the size, in pixels.
  const Geometry& g = sheet.geometry;
  std::int32_t row = g.RowAt(shape.top), column = g.ColumnAt(shape.left);
  lxw_chart_options options{};
  options.x_offset = static_cast<std::int32_t>(std::lround((shape.left - g.Left(column)) / 0.75));
  options.y_offset = static_cast<std::int32_t>(std::lround((shape.top - g.Top(row)) / 0.75));
  options.x_scale = std::max(shape.width, 1.0) / 0.75 / kDefaultChartPixelsWide;
  options.y_scale = std::max(shape.height, 1.0) / 0.75 / kDefaultChartPixelsHigh;
  std::string description = XmlSafe(shape.name);
  options.description = description.empty() ? nullptr : description.data();
  lxw_error e = worksheet_insert_chart_opt(ws, static_cast<lxw_row_t>(row - 1),
                                           static_cast<lxw_col_t>(column - 1), chart, &options);
  if (e != LXW_NO_ERROR)
    RaiseSave(context.path, "the chart '" + shape.name + "' of sheet '" + sheet.name +
                                "' cannot be placed (" + lxw_strerror(e) + ")");
}

}  // namespace

std::string ChartDataSheetName(const excel::WorkbookState& book) {
  for (int n = 0;; ++n) {
    std::string name = n == 0 ? "ChartData" : "ChartData" + std::to_string(n + 1);
    bool taken = false;
    for (const auto& s : book.sheets) taken = taken || excel::SameSheetName(s->name, name);
    if (!taken) return name;
  }
}

void WriteCharts(ChartContext& context, lxw_worksheet* ws, const WorksheetState& sheet) {
  for (const auto& shape : sheet.drawing.Shapes())
    if (shape && !shape->deleted && shape->kind == ShapeKind::ChartObject && shape->chart)
      WriteChart(context, ws, sheet, *shape);
}

}  // namespace orv::xlsx::detail
