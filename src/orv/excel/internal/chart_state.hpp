#pragma once
// The objects behind the chart handles. A chart owns its series, axes and
// text elements; they point back to the chart weakly. Handles of the chart
// layer (Chart.hpp) hold these through Ref, as the cell layer's handles do.
#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "orv/excel/ChartEnums.hpp"
#include "orv/excel/ChartFormat.hpp"
#include "orv/excel/internal/Drawing.hpp"
#include "orv/excel/Range.hpp"
#include "orv/frame/Variant.hpp"

namespace orv::excel {

struct ChartState;
struct SeriesState;

// The cells a series' data came from, held weakly: a chart lives on the
// sheet it may read from, so a strong hold would keep the sheet alive
// from inside itself.
struct SourceRange {
  std::weak_ptr<WorksheetState> sheet;
  std::vector<Rect> areas;
  // The range (Nothing when there is none or its sheet is gone).
  Range Get() const;
  void Set(const Range& range);
};

// Font attributes set on an element or on some of its characters; what is
// unset comes from the chart's font, then from the element's defaults.
struct FontSpec {
  std::optional<std::string> name;
  std::optional<double> size;
  std::optional<bool> bold;
  std::optional<bool> italic;
  std::optional<std::int32_t> color;  // RGB: red + 256 green + 65536 blue
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// What a text element is; it decides the element's default font.
enum class TextRole : std::uint8_t {
  ChartArea,
  ChartTitle,
  AxisTitle,
  TickLabels,
  DataLabel,
  TrendlineLabel,
};

// A text element of a chart: the chart area's font, a title, an axis
// title, tick labels, a data label or a trendline label.
struct TextState : Object {
  std::weak_ptr<ChartState> chart;
  std::weak_ptr<Object> owner;  // the point or trendline of a label
  TextRole role = TextRole::ChartArea;
  FontSpec font;  // set on the whole element
  bool auto_scale_font = true;
  std::string text;             // UTF-8
  bool text_set = false;        // text given (not automatic)
  std::vector<FontSpec> chars;  // per character (code point), over `font`
  std::int32_t orientation = xlHorizontal;
  std::optional<double> left, top;  // placed by hand, in points
  std::string number_format = "General";
  bool number_format_linked = true;
};

// The line of a border, a series or a trendline.
struct LineState : Object {
  std::int32_t line_style = xlContinuous;
  std::int32_t weight = xlThin;
  std::int32_t color_index = xlColorIndexAutomatic;
  std::int32_t color = 0;  // RGB; meaningful when color_set
  bool color_set = false;  // an explicit colour (by index or RGB)
  bool touched = false;    // formatted by hand (keeps it when the type changes)
};

// The fill of an area (chart area, plot area, column, point).
struct FillState : Object {
  bool visible = true;
  bool color_set = false;  // false: automatic
  std::int32_t color = 16777215;
  std::int32_t color_index = xlColorIndexAutomatic;
  bool touched = false;  // formatted by hand
};

struct PointState : Object {
  std::weak_ptr<SeriesState> series;
  std::int32_t index = 1;
  std::shared_ptr<LineState> border;
  std::shared_ptr<FillState> interior;
  std::optional<bool> has_label;  // unset: as the series
  std::shared_ptr<TextState> label;
};

// What a series' data were worked out from: the data set (a number
// never used before each time values or x values are set) and the
// revisions of the cells they come from. Whatever is kept about the data
// is kept under this key.
struct DataKey {
  std::uint64_t generation = 0;  // 0: nothing kept
  std::uint64_t values_revision = 0, xvalues_revision = 0;
  friend bool operator==(const DataKey&, const DataKey&) = default;
};

// A trendline's fit kept until its series' data or its settings change.
struct TrendlineFitCache {
  DataKey key;
  std::int32_t type = 0, order = 0;
  std::optional<double> intercept;
  std::vector<double> coefficients;
  std::optional<double> r_squared;
  bool has_r_squared = false;  // r_squared was worked out
};

// The smallest and largest finite number of a series' values or x
// positions, kept until the data change.
struct DataExtent {
  DataKey key;
  bool have = false;
  double lo = 0, hi = 0;
};

// How an entry of a series' data reads.
enum class EntryKind : std::uint8_t { Blank, Number, Other };

// One side of a series' data: its values or its x values. Data from a
// range are its cells, read when they are needed, so that a chart follows
// its cells; data from an array are its elements, kept (numbers as
// Double). Values plot their numbers (dates as serials) and leave every
// other entry blank; x values keep texts as categories.
struct SeriesData {
  SourceRange range;           // the cells; no sheet for an array
  std::vector<Variant> items;  // the array's elements
  std::size_t count = 0;       // entries: the range's cells or the items
  bool from_range = false;

  // Entries first .. first + n - 1 (0-based, within count): kinds[k] says
  // what entry first + k is, numbers[k] its number when it is one.
  void Read(std::size_t first, std::size_t n, double* numbers, EntryKind* kinds) const;
  // Entry i as its cell or element holds it.
  Variant At(std::size_t i) const;
  // Changes when the cells change (0 for an array, ~0 once the sheet is
  // gone).
  std::uint64_t Revision() const;
};

// Calls f(first, n, numbers, kinds) for the entries of `data` in blocks of
// at most kDataBlock, each read with SeriesData::Read.
inline constexpr std::size_t kDataBlock = 2048;
template <class F>
void ForEachBlock(const SeriesData& data, F&& f) {
  double numbers[kDataBlock];
  EntryKind kinds[kDataBlock];
  for (std::size_t first = 0; first < data.count; first += kDataBlock) {
    const std::size_t n = std::min(kDataBlock, data.count - first);
    data.Read(first, n, numbers, kinds);
    f(first, n, static_cast<const double*>(numbers), static_cast<const EntryKind*>(kinds));
  }
}

struct TrendlineState : Object {
  std::weak_ptr<SeriesState> series;
  std::int32_t type = xlLinear;
  std::int32_t order = 2;
  std::int32_t period = 2;
  std::optional<double> intercept;  // forced intercept
  bool display_equation = false;
  bool display_r_squared = false;
  double forward = 0, backward = 0;
  std::string name;
  bool name_set = false;
  std::shared_ptr<LineState> border;
  std::shared_ptr<TextState> label;  // text_set when given by hand
  bool deleted = false;
  mutable TrendlineFitCache fit_cache;
};

struct SeriesState : Object {
  std::weak_ptr<ChartState> chart;
  std::string name;
  bool name_set = false;
  SeriesData values;
  SeriesData xvalues;  // count 0 and not from a range: none set
  bool xvalues_set = false;
  // Changes (to a number never used before) whenever values or x values
  // are set.
  std::uint64_t data_generation = 0;
  mutable DataExtent values_extent, xpositions_extent;
  // Whether every x value is blank or a number (the points then plot at
  // them), kept under its key.
  mutable DataKey categories_key;
  mutable bool categories_numeric = false;
  std::int32_t chart_type = xlColumnClustered;
  std::int32_t axis_group = xlPrimary;
  std::int32_t marker_style = xlMarkerStyleAutomatic;
  std::int32_t marker_size = 5;
  std::int32_t marker_background_color_index = xlColorIndexAutomatic;
  std::int32_t marker_foreground_color_index = xlColorIndexAutomatic;
  std::optional<std::int32_t> marker_background_color, marker_foreground_color;
  bool smooth = false;
  std::shared_ptr<LineState> border;
  std::shared_ptr<FillState> interior;
  std::int32_t data_labels_type = xlDataLabelsShowNone;
  bool data_labels_legend_key = false;
  std::map<std::int32_t, std::shared_ptr<PointState>> points;
  std::vector<std::shared_ptr<TrendlineState>> trendlines;
  bool deleted = false;
};

struct AxisState : Object {
  std::weak_ptr<ChartState> chart;
  std::int32_t type = xlValue;
  std::int32_t group = xlPrimary;
  bool has_axis = false;  // shown (HasAxis); a deleted axis keeps the rest
  bool has_title = false;
  std::shared_ptr<TextState> title;
  std::shared_ptr<TextState> tick_labels;
  std::int32_t tick_label_position = xlTickLabelPositionNextToAxis;
  bool has_major_gridlines = false;
  bool has_minor_gridlines = false;
  std::int32_t major_tick_mark = xlTickMarkOutside;
  std::int32_t minor_tick_mark = xlTickMarkNone;
  std::optional<double> minimum, maximum, major_unit, minor_unit;  // set by hand
  std::int32_t crosses = xlAxisCrossesAutomatic;
  double crosses_at = 0;
  bool axis_between_categories = true;
  std::shared_ptr<LineState> border;
};

// Settings of the chart groups (series of one kind on one axis group).
struct GroupSettings {
  std::int32_t gap_width = 150;
  std::int32_t overlap = 0;
};

// A length placed by hand: the points given and the chart size then, so
// that resizing the chart scales it and an unchanged chart reads it back
// exactly.
struct Placed {
  double points = 0;
  double chart_size = 0;
};

struct ChartState : Object {
  std::weak_ptr<ShapeState> shape;
  std::int32_t chart_type = xlColumnClustered;
  bool has_legend = true;
  bool has_title = false;
  std::shared_ptr<TextState> title;
  std::shared_ptr<TextState> chart_area_text;
  bool chart_area_auto_scale_font = true;
  std::shared_ptr<FillState> chart_area_fill;
  std::shared_ptr<LineState> chart_area_border;
  std::shared_ptr<FillState> plot_fill;
  std::shared_ptr<LineState> plot_border;
  std::optional<Placed> plot_left, plot_top, plot_width, plot_height;
  std::vector<std::shared_ptr<SeriesState>> series;
  std::int32_t series_made = 0;  // series ever added, for default names
  // Category and value axes of the primary and secondary groups, in the
  // order (category, primary), (value, primary), (category, secondary),
  // (value, secondary).
  std::array<std::shared_ptr<AxisState>, 4> axes;
  // Keyed by axis group * 1000 + kind of chart group.
  std::map<std::int32_t, GroupSettings> groups;
};

}  // namespace orv::excel
