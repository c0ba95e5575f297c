// Series: their data from ranges and arrays, formats, points and labels.
#include <algorithm>
#include <cmath>

#include "orv/excel/Chart.hpp"
#include "orv/excel/chart_detail.hpp"
#include "orv/excel/detail.hpp"
#include "orv/excel/errors.hpp"
#include "orv/frame/convert.hpp"

namespace orv::excel {

using namespace detail;

namespace {

// ------------------------------------------------------------------ data ---

std::vector<Variant> CellsOf(const std::shared_ptr<WorksheetState>& sheet, const Rect& block) {
  std::vector<Variant> out;
  out.reserve(static_cast<std::size_t>(block.Cells()));
  for (std::int32_t r = block.top; r <= block.bottom; ++r)
    for (std::int32_t c = block.left; c <= block.right; ++c) out.push_back(sheet->cells.Get(r, c));
  return out;
}

// The elements of an array, row by row; 13 for anything else.
std::vector<Variant> ElementsOf(const Variant& value) {
  if (!value.IsArray()) Raise(kErrTypeMismatch);
  std::vector<Variant> out;
  std::visit(
      [&](const auto& a) {
        if (a.Rank() == 0) Raise(kErrTypeMismatch);
        out.reserve(a.size());
        for (std::size_t i = 0; i < a.size(); ++i) out.emplace_back(a.data()[i]);
      },
      value.AsArray());
  return out;
}

std::optional<double> NumberOf(const Variant& v) {
  if (v.IsNumber()) return CDbl(v);
  return std::nullopt;
}

// Array elements: numbers and numeric texts are numbers.
Variant FromArrayElement(const Variant& v) {
  if (v.IsString()) {
    if (auto n = ParseNumber(v.AsString())) return Variant(*n);
  }
  if (v.IsNumber()) return Variant(CDbl(v));
  return v;
}

Range RangeOf(const Variant& value) {
  if (!value.IsObject()) return Range();
  return Range::FromVariant(value);
}

std::uint64_t NextGeneration() {
  static std::uint64_t last = 0;
  return ++last;
}

bool NumericCategories(const std::vector<Variant>& items) {
  for (const Variant& v : items)
    if (!v.IsEmpty() && !v.IsNumber()) return false;
  return true;
}

void SetValues(SeriesState& series, std::vector<std::optional<double>> values,
               const Range& source) {
  series.values = std::move(values);
  series.values_range.Set(source);
  series.data_generation = NextGeneration();
}

void SetValues(SeriesState& series, const std::vector<Variant>& items, const Range& source) {
  std::vector<std::optional<double>> values;
  values.reserve(items.size());
  for (const Variant& v : items) values.push_back(NumberOf(v));
  SetValues(series, std::move(values), source);
}

void SetCategories(SeriesState& series, std::vector<Variant> items, const Range& source) {
  series.xvalues_numeric = NumericCategories(items);
  series.xvalues = std::move(items);
  series.xvalues_range.Set(source);
  series.xvalues_set = true;
  series.data_generation = NextGeneration();
}

// The numbers of the range's cells, area by area, row by row, as the
// cells' values give them: numbers and dates their value, anything else
// none. Read straight from the cell storage.
std::vector<std::optional<double>> NumbersOf(const Range& range) {
  const RangeState& state = *range.State();
  std::size_t cells = 0;
  for (const Rect& area : state.areas) cells += static_cast<std::size_t>(area.Cells());
  std::vector<std::optional<double>> out;
  out.reserve(cells);
  for (const Rect& area : state.areas)
    state.sheet->cells.VisitRuns(
        area,
        [&](const double* values, std::int32_t count) {
          for (std::int32_t i = 0; i < count; ++i) out.emplace_back(values[i]);
        },
        [&](CellType type, double payload) {
          if (type == CellType::Number || type == CellType::Date)
            out.emplace_back(payload);
          else
            out.emplace_back();
        });
  return out;
}

// The values of the range's cells (as the cells' Get gives them), area by
// area, row by row, read straight from the cell storage.
std::vector<Variant> ValuesOf(const Range& range) {
  const RangeState& state = *range.State();
  const CellStore& store = state.sheet->cells;
  std::size_t cells = 0;
  for (const Rect& area : state.areas) cells += static_cast<std::size_t>(area.Cells());
  std::vector<Variant> out;
  out.reserve(cells);
  for (const Rect& area : state.areas)
    store.VisitRuns(
        area,
        [&](const double* values, std::int32_t count) {
          for (std::int32_t i = 0; i < count; ++i) out.emplace_back(values[i]);
        },
        [&](CellType type, double payload) { out.push_back(store.ValueOf(type, payload)); });
  return out;
}

Variant AsArray(const std::vector<Variant>& items) {
  Array<Variant> a;
  if (items.empty()) {
    a.ReDim(1, 0);
  } else {
    a.ReDim(1, static_cast<std::int32_t>(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i)
      a.At(static_cast<std::int32_t>(i + 1)) = items[i];
  }
  return Variant(std::move(a));
}

SeriesState& LiveSeries(const Ref<SeriesState>& ref) {
  SeriesState& series = *ref;
  CheckLive(series);
  return series;
}

std::shared_ptr<SeriesState> MakeSeries(const std::shared_ptr<ChartState>& chart) {
  auto series = std::make_shared<SeriesState>();
  series->chart = chart;
  series->name = "Series" + std::to_string(++chart->series_made);
  series->chart_type = chart->chart_type;
  series->border = NewLine(xlContinuous);
  series->interior = NewFill();
  SetDefaultSeriesLine(*series);
  chart->series.push_back(series);
  return series;
}

bool ValidMarkerStyle(std::int32_t v) {
  switch (v) {
    case xlMarkerStyleAutomatic:
    case xlMarkerStyleCircle:
    case xlMarkerStyleDash:
    case xlMarkerStyleDiamond:
    case xlMarkerStyleDot:
    case xlMarkerStyleNone:
    case xlMarkerStylePicture:
    case xlMarkerStylePlus:
    case xlMarkerStyleSquare:
    case xlMarkerStyleStar:
    case xlMarkerStyleTriangle:
    case xlMarkerStyleX:
      return true;
    default:
      return false;
  }
}

bool ValidColorIndex(std::int32_t v) {
  return v == xlColorIndexAutomatic || v == xlColorIndexNone || (v >= 1 && v <= 56);
}

bool ValidLabelType(std::int32_t v) {
  return v == xlDataLabelsShowNone ||
         (v >= xlDataLabelsShowValue && v <= xlDataLabelsShowBubbleSizes);
}

std::string CategoryText(const Variant& v) {
  if (v.IsEmpty()) return "";
  if (v.IsString()) return v.AsString();
  if (v.IsNumber()) return LabelGeneral(CDbl(v));
  if (v.IsBoolean()) return v.AsBoolean() ? "TRUE" : "FALSE";
  return CStr(v);
}

}  // namespace

Range SourceRange::Get() const {
  auto s = sheet.lock();
  if (!s || areas.empty()) return Range();
  return detail::MakeRange(s, areas);
}

void SourceRange::Set(const Range& range) {
  if (range.IsNothing()) {
    sheet.reset();
    areas.clear();
    return;
  }
  sheet = range.State()->sheet;
  areas = range.State()->areas;
}

namespace detail {

bool XPositionsNumeric(const SeriesState& series) {
  return series.xvalues_set && series.xvalues_numeric;
}

std::optional<double> XPositionAt(const SeriesState& series, bool numeric, std::size_t i) {
  if (!numeric) return static_cast<double>(i + 1);
  if (i < series.xvalues.size()) return NumberOf(series.xvalues[i]);
  return std::nullopt;
}

std::vector<std::optional<double>> XPositions(const SeriesState& series) {
  const std::size_t n = series.values.size();
  std::vector<std::optional<double>> out;
  out.reserve(n);
  const bool numeric = XPositionsNumeric(series);
  for (std::size_t i = 0; i < n; ++i) out.push_back(XPositionAt(series, numeric, i));
  return out;
}

}  // namespace detail

// -------------------------------------------------------- SeriesCollection ---

std::int32_t SeriesCollection::Count() const {
  return static_cast<std::int32_t>(chart_->series.size());
}

Series SeriesCollection::Item(std::int32_t index) const {
  const ChartState& chart = *chart_;
  if (index < 1 || static_cast<std::size_t>(index) > chart.series.size()) Raise(kErrSubscript);
  return Series(chart.series[static_cast<std::size_t>(index - 1)]);
}
Series SeriesCollection::operator()(std::int32_t index) const { return Item(index); }

Series SeriesCollection::NewSeries() const {
  (void)*chart_;
  return Series(MakeSeries(chart_.Shared()));
}

Series SeriesCollection::Add(const Range& Source, std::optional<std::int32_t> RowCol,
                             std::optional<bool> SeriesLabels, std::optional<bool> CategoryLabels,
                             bool Replace) const {
  ChartState& chart = *chart_;
  auto fail = [] { RaiseClassMethodFailed("Add", "SeriesCollection"); };
  if (Source.IsNothing()) fail();
  const RangeState& source = *Source.State();
  const Rect& first = source.areas.front();
  const std::int32_t by = RowCol.value_or(first.Rows() >= first.Columns() ? xlColumns : xlRows);
  if (by != xlColumns && by != xlRows) fail();
  if (auto shape = chart.shape.lock())
    if (shape->sheet.lock() != source.sheet) fail();

  // The lines (columns or rows) of every area, in order.
  std::vector<Rect> lines;
  for (const Rect& area : source.areas) {
    if (by == xlColumns)
      for (std::int32_t c = area.left; c <= area.right; ++c)
        lines.push_back(Rect{area.top, c, area.bottom, c});
    else
      for (std::int32_t r = area.top; r <= area.bottom; ++r)
        lines.push_back(Rect{r, area.left, r, area.right});
  }
  std::vector<std::vector<Variant>> cells;
  for (const Rect& line : lines) cells.push_back(CellsOf(source.sheet, line));

  bool labels = false;
  if (SeriesLabels) {
    labels = *SeriesLabels;
  } else {
    labels = true;
    for (std::size_t i = lines.size() > 1 ? 1 : 0; i < lines.size(); ++i)
      labels = labels && cells[i].size() > 1 && cells[i].front().IsString();
  }
  bool categories = false;
  if (CategoryLabels) {
    categories = *CategoryLabels;
  } else if (lines.size() > 1) {
    for (std::size_t k = labels ? 1 : 0; k < cells[0].size(); ++k)
      categories = categories || cells[0][k].IsString();
  }
  if (categories && lines.size() < 2) fail();

  // The data part of a line: without its label cell.
  auto data_rect = [&](Rect line) {
    if (labels) (by == xlColumns ? line.top : line.left) += 1;
    return line;
  };
  auto data_cells = [&](const std::vector<Variant>& line) {
    return std::vector<Variant>(line.begin() + (labels ? 1 : 0), line.end());
  };
  for (std::size_t i = categories ? 1 : 0; i < lines.size(); ++i)
    if (cells[i].size() <= (labels ? 1u : 0u)) fail();

  Range category_range;
  std::vector<Variant> category_items;
  if (categories) {
    const Rect r = data_rect(lines[0]);
    if (r.top > r.bottom || r.left > r.right) fail();
    category_range = detail::MakeRange(source.sheet, {r});
    category_items = data_cells(cells[0]);
  }
  if (Replace && categories)
    for (const auto& s : chart.series) SetCategories(*s, category_items, category_range);

  std::shared_ptr<SeriesState> first_new;
  for (std::size_t i = categories ? 1 : 0; i < lines.size(); ++i) {
    auto series = MakeSeries(chart_.Shared());
    if (!first_new) first_new = series;
    if (labels) {
      series->name = CategoryText(cells[i].front());
      series->name_set = true;
    }
    SetValues(*series, data_cells(cells[i]),
              detail::MakeRange(source.sheet, {data_rect(lines[i])}));
    if (categories) SetCategories(*series, category_items, category_range);
  }
  return Series(first_new);
}

// ----------------------------------------------------------------- Series ---

Variant Series::Values() const {
  const SeriesState& series = LiveSeries(series_);
  std::vector<Variant> items;
  items.reserve(series.values.size());
  for (const auto& v : series.values) items.push_back(v ? Variant(*v) : Variant());
  return AsArray(items);
}

void Series::LetValues(const Variant& value) const {
  SeriesState& series = LiveSeries(series_);
  if (Range r = RangeOf(value); !r.IsNothing()) return LetValues(r);
  std::vector<Variant> items = ElementsOf(value);
  for (Variant& v : items) v = FromArrayElement(v);
  SetValues(series, items, Range());
}

void Series::LetValues(const Range& value) const {
  SeriesState& series = LiveSeries(series_);
  if (value.IsNothing()) Raise(kErrObjectNotSet);
  SetValues(series, NumbersOf(value), value);
}

Variant Series::XValues() const {
  const SeriesState& series = LiveSeries(series_);
  if (!series.xvalues_set) {
    std::vector<Variant> items;
    for (std::size_t i = 0; i < series.values.size(); ++i)
      items.emplace_back(static_cast<double>(i + 1));
    return AsArray(items);
  }
  return AsArray(series.xvalues);
}

void Series::LetXValues(const Variant& value) const {
  SeriesState& series = LiveSeries(series_);
  if (Range r = RangeOf(value); !r.IsNothing()) return LetXValues(r);
  std::vector<Variant> items = ElementsOf(value);
  for (Variant& v : items) v = FromArrayElement(v);
  SetCategories(series, std::move(items), Range());
}

void Series::LetXValues(const Range& value) const {
  SeriesState& series = LiveSeries(series_);
  if (value.IsNothing()) Raise(kErrObjectNotSet);
  SetCategories(series, ValuesOf(value), value);
}

Range Series::ValuesRange() const { return LiveSeries(series_).values_range.Get(); }
Range Series::XValuesRange() const { return LiveSeries(series_).xvalues_range.Get(); }
std::vector<std::optional<double>> Series::ValueNumbers() const {
  return LiveSeries(series_).values;
}
std::vector<std::optional<double>> Series::XValueNumbers() const {
  return XPositions(LiveSeries(series_));
}

std::string Series::Name() const { return LiveSeries(series_).name; }
void Series::LetName(std::string_view value) const {
  SeriesState& series = LiveSeries(series_);
  series.name = std::string(value);
  series.name_set = true;
}

std::int32_t Series::ChartType() const { return LiveSeries(series_).chart_type; }
void Series::LetChartType(std::int32_t value) const {
  SeriesState& series = LiveSeries(series_);
  if (!IsKnownChartType(value)) RaiseUnableToSet("ChartType", "Series");
  series.chart_type = value;
  SetDefaultSeriesLine(series);
}

std::int32_t Series::AxisGroup() const { return LiveSeries(series_).axis_group; }
void Series::LetAxisGroup(std::int32_t value) const {
  SeriesState& series = LiveSeries(series_);
  ChartState& chart = ChartOf(series);
  if ((value != xlPrimary && value != xlSecondary) || IsPieType(chart.chart_type))
    RaiseUnableToSet("AxisGroup", "Series");
  if (series.axis_group == value) return;
  bool had_secondary = false;
  for (const auto& s : chart.series) had_secondary = had_secondary || s->axis_group == xlSecondary;
  series.axis_group = value;
  if (value == xlSecondary && !had_secondary) chart.axes[3]->has_axis = true;
  UpdateSecondaryAxes(chart);
}

std::int32_t Series::MarkerStyle() const { return LiveSeries(series_).marker_style; }
void Series::LetMarkerStyle(std::int32_t value) const {
  SeriesState& series = LiveSeries(series_);
  if (!ValidMarkerStyle(value)) RaiseUnableToSet("MarkerStyle", "Series");
  series.marker_style = value;
}
std::int32_t Series::MarkerSize() const { return LiveSeries(series_).marker_size; }
void Series::LetMarkerSize(std::int32_t value) const {
  SeriesState& series = LiveSeries(series_);
  if (value < 2 || value > 72) RaiseUnableToSet("MarkerSize", "Series");
  series.marker_size = value;
}
std::int32_t Series::MarkerBackgroundColorIndex() const {
  return LiveSeries(series_).marker_background_color_index;
}
void Series::LetMarkerBackgroundColorIndex(std::int32_t value) const {
  SeriesState& series = LiveSeries(series_);
  if (!ValidColorIndex(value)) RaiseUnableToSet("MarkerBackgroundColorIndex", "Series");
  series.marker_background_color_index = value;
  series.marker_background_color.reset();
}
std::int32_t Series::MarkerForegroundColorIndex() const {
  return LiveSeries(series_).marker_foreground_color_index;
}
void Series::LetMarkerForegroundColorIndex(std::int32_t value) const {
  SeriesState& series = LiveSeries(series_);
  if (!ValidColorIndex(value)) RaiseUnableToSet("MarkerForegroundColorIndex", "Series");
  series.marker_foreground_color_index = value;
  series.marker_foreground_color.reset();
}

namespace {
std::int32_t MarkerColor(const std::optional<std::int32_t>& rgb, std::int32_t index) {
  if (rgb) return *rgb;
  if (index >= 1 && index <= 56) return PaletteColor(index);
  return 0;
}
}  // namespace

std::int32_t Series::MarkerBackgroundColor() const {
  const SeriesState& series = LiveSeries(series_);
  return MarkerColor(series.marker_background_color, series.marker_background_color_index);
}
void Series::LetMarkerBackgroundColor(std::int32_t value) const {
  SeriesState& series = LiveSeries(series_);
  if (value < 0 || value > 16777215) RaiseUnableToSet("MarkerBackgroundColor", "Series");
  series.marker_background_color = value;
  series.marker_background_color_index = NearestColorIndex(value);
}
std::int32_t Series::MarkerForegroundColor() const {
  const SeriesState& series = LiveSeries(series_);
  return MarkerColor(series.marker_foreground_color, series.marker_foreground_color_index);
}
void Series::LetMarkerForegroundColor(std::int32_t value) const {
  SeriesState& series = LiveSeries(series_);
  if (value < 0 || value > 16777215) RaiseUnableToSet("MarkerForegroundColor", "Series");
  series.marker_foreground_color = value;
  series.marker_foreground_color_index = NearestColorIndex(value);
}

bool Series::Smooth() const { return LiveSeries(series_).smooth; }
void Series::LetSmooth(bool value) const { LiveSeries(series_).smooth = value; }
ChartBorder Series::Border() const { return ChartBorder(LiveSeries(series_).border); }
ChartInterior Series::Interior() const { return ChartInterior(LiveSeries(series_).interior); }
ChartFillFormat Series::Fill() const { return ChartFillFormat(LiveSeries(series_).interior); }

void Series::ApplyDataLabels(std::int32_t Type, bool AutoText, bool LegendKey) const {
  SeriesState& series = LiveSeries(series_);
  (void)AutoText;
  if (!ValidLabelType(Type)) RaiseClassMethodFailed("ApplyDataLabels", "Series");
  series.data_labels_type = Type;
  series.data_labels_legend_key = LegendKey;
  for (auto& [index, point] : series.points) {
    point->has_label.reset();
    point->label.reset();
  }
}

bool Series::HasDataLabels() const {
  return LiveSeries(series_).data_labels_type != xlDataLabelsShowNone;
}
void Series::LetHasDataLabels(bool value) const {
  SeriesState& series = LiveSeries(series_);
  if (value == (series.data_labels_type != xlDataLabelsShowNone)) return;
  ApplyDataLabels(value ? xlDataLabelsShowValue : xlDataLabelsShowNone);
}
std::int32_t Series::DataLabelsType() const { return LiveSeries(series_).data_labels_type; }

excel::Points Series::Points() const {
  (void)LiveSeries(series_);
  return excel::Points(series_.Shared());
}
Point Series::Points(std::int32_t index) const { return Points().Item(index); }

excel::Trendlines Series::Trendlines() const {
  (void)LiveSeries(series_);
  return excel::Trendlines(series_.Shared());
}
Trendline Series::Trendlines(std::int32_t index) const { return Trendlines().Item(index); }

std::int32_t Series::PlotOrder() const {
  SeriesState& series = LiveSeries(series_);
  const ChartState& chart = ChartOf(series);
  for (std::size_t i = 0; i < chart.series.size(); ++i)
    if (chart.series[i].get() == &series) return static_cast<std::int32_t>(i + 1);
  RaiseApplicationDefined();
}

void Series::Delete() const {
  SeriesState& series = LiveSeries(series_);
  ChartState& chart = ChartOf(series);
  auto& all = chart.series;
  all.erase(
      std::remove_if(all.begin(), all.end(), [&](const auto& s) { return s.get() == &series; }),
      all.end());
  series.deleted = true;
  UpdateSecondaryAxes(chart);
}

// ----------------------------------------------------------------- Points ---

std::int32_t Points::Count() const {
  const SeriesState& series = LiveSeries(series_);
  return static_cast<std::int32_t>(series.values.size());
}

Point Points::Item(std::int32_t index) const {
  SeriesState& series = LiveSeries(series_);
  if (index < 1 || static_cast<std::size_t>(index) > series.values.size()) Raise(kErrSubscript);
  auto& point = series.points[index];
  if (!point) {
    point = std::make_shared<PointState>();
    point->series = series_.Shared();
    point->index = index;
  }
  return Point(point);
}
Point Points::operator()(std::int32_t index) const { return Item(index); }

namespace {
bool PointHasLabel(const PointState& point) {
  if (point.has_label) return *point.has_label;
  auto series = point.series.lock();
  return series && series->data_labels_type != xlDataLabelsShowNone;
}
}  // namespace

excel::DataLabel Point::DataLabel() const {
  PointState& point = *point_;
  if (!PointHasLabel(point)) RaiseUnableToGet("DataLabel", "Point");
  if (!point.label) {
    auto series = point.series.lock();
    auto chart = series ? series->chart.lock() : nullptr;
    point.label = NewText(chart, TextRole::DataLabel);
    point.label->owner = point_.Shared();
    if (chart) {
      // Fonts set on the chart area reach labels made afterwards too.
      point.label->font = chart->chart_area_text->font;
      point.label->auto_scale_font = chart->chart_area_auto_scale_font;
    }
  }
  return excel::DataLabel(point.label);
}

bool Point::HasDataLabel() const { return PointHasLabel(*point_); }
void Point::LetHasDataLabel(bool value) const { point_->has_label = value; }

ChartBorder Point::Border() const {
  PointState& point = *point_;
  if (!point.border) {
    auto series = point.series.lock();
    point.border = std::make_shared<LineState>(series ? *series->border : LineState{});
    point.border->touched = false;
  }
  return ChartBorder(point.border);
}
ChartInterior Point::Interior() const {
  PointState& point = *point_;
  if (!point.interior) {
    auto series = point.series.lock();
    point.interior = std::make_shared<FillState>(series ? *series->interior : FillState{});
    point.interior->touched = false;
  }
  return ChartInterior(point.interior);
}
bool Point::HasOwnBorder() const {
  const PointState& point = *point_;
  return point.border && point.border->touched;
}
bool Point::HasOwnInterior() const {
  const PointState& point = *point_;
  return point.interior && point.interior->touched;
}

// -------------------------------------------------------------- DataLabel ---

namespace detail {

std::string ShownText(const TextState& text) {
  if (text.text_set || text.role == TextRole::ChartTitle || text.role == TextRole::AxisTitle)
    return text.text;
  auto owner = text.owner.lock();
  if (auto trend = std::dynamic_pointer_cast<TrendlineState>(owner))
    return TrendlineLabelText(*trend);
  auto point = std::dynamic_pointer_cast<PointState>(owner);
  if (!point) return text.text;
  auto series = point->series.lock();
  if (!series) return "";
  const std::size_t i = static_cast<std::size_t>(point->index - 1);
  const bool known = i < series->values.size() && series->values[i].has_value();
  const double value = known ? *series->values[i] : 0.0;
  auto value_text = [&] { return known ? FormatNumber(value, text.number_format) : std::string(); };
  auto label_text = [&] {
    if (!series->xvalues_set) return std::to_string(point->index);
    return i < series->xvalues.size() ? CategoryText(series->xvalues[i]) : std::string();
  };
  auto percent_text = [&]() -> std::string {
    double total = 0;
    for (const auto& v : series->values)
      if (v) total += std::fabs(*v);
    if (!known || total == 0) return "";
    return FormatNumber(std::fabs(value) / total, "0%");
  };
  switch (series->data_labels_type) {
    case xlDataLabelsShowLabel:
      return label_text();
    case xlDataLabelsShowPercent:
      return percent_text();
    case xlDataLabelsShowLabelAndPercent: {
      std::string both = label_text();
      both += '\n';
      both.append(percent_text());
      return both;
    }
    default:
      return value_text();
  }
}

}  // namespace detail

std::string DataLabel::Text() const { return ShownText(*text_); }
void DataLabel::LetText(std::string_view value) const {
  TextState& text = *text_;
  text.text = std::string(value);
  text.text_set = true;
  text.chars.clear();
}
ChartFont DataLabel::Font() const { return ChartFont(text_.Shared()); }
excel::Characters DataLabel::Characters(std::int32_t Start, std::int32_t Length) const {
  TextState& text = *text_;
  if (!text.text_set) {
    text.text = ShownText(text);
    text.text_set = true;
  }
  return excel::Characters(text_.Shared(), Start, Length);
}
bool DataLabel::AutoScaleFont() const { return text_->auto_scale_font; }
void DataLabel::LetAutoScaleFont(bool value) const { text_->auto_scale_font = value; }
std::string DataLabel::NumberFormat() const { return text_->number_format; }
void DataLabel::LetNumberFormat(std::string_view value) const {
  TextState& text = *text_;
  if (value.empty()) RaiseUnableToSet("NumberFormat", "DataLabel");
  text.number_format = std::string(value);
  text.number_format_linked = false;
}

}  // namespace orv::excel
