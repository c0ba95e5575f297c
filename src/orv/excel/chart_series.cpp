// Series: their data from ranges and arrays, formats, points and labels.
#include <algorithm>
#include <cmath>

#include "orv/excel/Chart.hpp"
#include "orv/excel/internal/chart_detail.hpp"
#include "orv/excel/internal/detail.hpp"
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

void SetData(SeriesState& series, SeriesData& data, const Range& source) {
  const RangeState& state = *internal::StateOf(source);
  std::size_t cells = 0;
  for (const Rect& area : state.areas) cells += static_cast<std::size_t>(area.Cells());
  data.range.Set(source);
  data.items.clear();
  data.items.shrink_to_fit();
  data.count = cells;
  data.from_range = true;
  series.data_generation = NextGeneration();
}

void SetData(SeriesState& series, SeriesData& data, std::vector<Variant> items) {
  data.range.Set(Range());
  data.items = std::move(items);
  data.count = data.items.size();
  data.from_range = false;
  series.data_generation = NextGeneration();
}

// The entries of a side of a series' data as its cells' values or its
// elements; cells are read straight from the cell storage.
std::vector<Variant> EntriesOf(const SeriesData& data) {
  if (!data.from_range) return data.items;
  std::vector<Variant> out;
  out.reserve(data.count);
  if (auto sheet = data.range.sheet.lock()) {
    const CellStore& store = sheet->cells;
    for (const Rect& area : data.range.areas)
      store.VisitRuns(
          area,
          [&](const double* values, std::int32_t count) {
            for (std::int32_t i = 0; i < count; ++i) out.emplace_back(values[i]);
          },
          [&](CellType type, double payload) { out.push_back(store.ValueOf(type, payload)); });
  }
  out.resize(data.count);
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
  sheet = internal::StateOf(range)->sheet;
  areas = internal::StateOf(range)->areas;
}

// ------------------------------------------------------------ SeriesData ---

namespace {

EntryKind KindOfCell(CellType type) {
  switch (type) {
    case CellType::Empty:
      return EntryKind::Blank;
    case CellType::Number:
    case CellType::Date:
      return EntryKind::Number;
    default:
      return EntryKind::Other;
  }
}

// The cells of `area` from its `skip`-th (row by row) on, at most `n` of
// them, into numbers/kinds.
void ReadArea(const CellStore& cells, const Rect& area, std::size_t skip, std::size_t n,
              double* numbers, EntryKind* kinds) {
  const auto width = static_cast<std::size_t>(area.Columns());
  auto store = [&](CellType type, double payload) {
    *kinds++ = KindOfCell(type);
    *numbers++ = payload;
  };
  if (width == 1) {
    const auto top = static_cast<std::int32_t>(area.top + static_cast<std::int64_t>(skip));
    const auto bottom = static_cast<std::int32_t>(top + static_cast<std::int64_t>(n) - 1);
    cells.VisitRuns(
        Rect{top, area.left, bottom, area.left},
        [&](const double* values, std::int32_t count) {
          std::copy(values, values + count, numbers);
          std::fill(kinds, kinds + count, EntryKind::Number);
          numbers += count;
          kinds += count;
        },
        store);
    return;
  }
  // Whole rows from the one holding entry `skip`, keeping the wanted ones.
  const auto first_row =
      static_cast<std::int32_t>(area.top + static_cast<std::int64_t>(skip / width));
  const std::size_t lead = skip % width;
  const auto rows = static_cast<std::int32_t>((lead + n + width - 1) / width);
  std::size_t seen = 0;
  cells.VisitRows(Rect{first_row, area.left, first_row + rows - 1, area.right},
                  [&](CellType type, double payload) {
                    if (seen >= lead && seen < lead + n) store(type, payload);
                    ++seen;
                  });
}

}  // namespace

void SeriesData::Read(std::size_t first, std::size_t n, double* numbers, EntryKind* kinds) const {
  if (!from_range) {
    for (std::size_t k = 0; k < n; ++k) {
      const Variant& v = items[first + k];
      if (v.IsEmpty()) {
        kinds[k] = EntryKind::Blank;
      } else if (v.IsNumber()) {
        kinds[k] = EntryKind::Number;
        numbers[k] = CDbl(v);
      } else {
        kinds[k] = EntryKind::Other;
      }
    }
    return;
  }
  auto sheet = range.sheet.lock();
  if (!sheet) {
    std::fill(kinds, kinds + n, EntryKind::Blank);
    return;
  }
  std::size_t start = 0;  // entries before the current area
  for (const Rect& area : range.areas) {
    const auto cells = static_cast<std::size_t>(area.Cells());
    if (n == 0) break;
    if (first < start + cells) {
      const std::size_t skip = first - start;
      const std::size_t take = std::min(n, cells - skip);
      ReadArea(sheet->cells, area, skip, take, numbers, kinds);
      numbers += take;
      kinds += take;
      first += take;
      n -= take;
    }
    start += cells;
  }
  std::fill(kinds, kinds + n, EntryKind::Blank);
}

Variant SeriesData::At(std::size_t i) const {
  if (!from_range) return i < items.size() ? items[i] : Variant();
  auto sheet = range.sheet.lock();
  if (!sheet) return Variant();
  for (const Rect& area : range.areas) {
    const auto cells = static_cast<std::size_t>(area.Cells());
    if (i < cells) {
      const auto width = static_cast<std::size_t>(area.Columns());
      return sheet->cells.Get(area.top + static_cast<std::int32_t>(i / width),
                              area.left + static_cast<std::int32_t>(i % width));
    }
    i -= cells;
  }
  return Variant();
}

std::uint64_t SeriesData::Revision() const {
  if (!from_range) return 0;
  auto sheet = range.sheet.lock();
  return sheet ? sheet->cells.Revision() : ~std::uint64_t{0};
}

namespace detail {

DataKey KeyOf(const SeriesState& series) {
  return DataKey{series.data_generation, series.values.Revision(), series.xvalues.Revision()};
}

bool XPositionsNumeric(const SeriesState& series) {
  if (!series.xvalues_set) return false;
  const DataKey key = KeyOf(series);
  if (series.categories_key.generation == 0 || !(series.categories_key == key)) {
    bool numeric = true;
    const SeriesData& xs = series.xvalues;
    if (!xs.from_range) {
      for (const Variant& v : xs.items) numeric = numeric && (v.IsEmpty() || v.IsNumber());
    } else if (auto sheet = xs.range.sheet.lock()) {
      // The sheet's block counts: no cell that is neither blank nor a number.
      for (const Rect& area : xs.range.areas)
        numeric = numeric && sheet->stats.Of(sheet->cells, area).others == 0;
    }
    series.categories_numeric = numeric;
    series.categories_key = key;
  }
  return series.categories_numeric;
}

std::optional<double> XPositionAt(const SeriesState& series, bool numeric, std::size_t i) {
  double x = 0;
  bool known = false;
  ReadPositions(series, numeric, i, 1, &x, &known);
  return known ? std::optional<double>(x) : std::nullopt;
}

void ReadPositions(const SeriesState& series, bool numeric, std::size_t first, std::size_t n,
                   double* x, bool* known) {
  if (!numeric) {
    for (std::size_t k = 0; k < n; ++k) {
      x[k] = static_cast<double>(first + k + 1);
      known[k] = true;
    }
    return;
  }
  const std::size_t held =
      first < series.xvalues.count ? std::min(n, series.xvalues.count - first) : 0;
  EntryKind kinds[kDataBlock];
  for (std::size_t done = 0; done < held; done += kDataBlock) {
    const std::size_t m = std::min(kDataBlock, held - done);
    series.xvalues.Read(first + done, m, x + done, kinds);
    for (std::size_t k = 0; k < m; ++k) known[done + k] = kinds[k] == EntryKind::Number;
  }
  std::fill(known + held, known + n, false);
}

std::vector<std::optional<double>> XPositions(const SeriesState& series) {
  std::vector<std::optional<double>> out;
  out.reserve(series.values.count);
  ForEachPositionBlock(series, [&](std::size_t, std::size_t n, const double* x, const bool* known) {
    for (std::size_t k = 0; k < n; ++k)
      out.push_back(known[k] ? std::optional<double>(x[k]) : std::nullopt);
  });
  return out;
}

std::vector<std::optional<double>> ValueNumbers(const SeriesState& series) {
  std::vector<std::optional<double>> out;
  out.reserve(series.values.count);
  ForEachBlock(
      series.values, [&](std::size_t, std::size_t n, const double* y, const EntryKind* kinds) {
        for (std::size_t k = 0; k < n; ++k)
          out.push_back(kinds[k] == EntryKind::Number ? std::optional<double>(y[k]) : std::nullopt);
      });
  return out;
}

std::optional<double> ValueAt(const SeriesState& series, std::size_t i) {
  if (i >= series.values.count) return std::nullopt;
  double number = 0;
  EntryKind kind = EntryKind::Blank;
  series.values.Read(i, 1, &number, &kind);
  if (kind == EntryKind::Number) return number;
  return std::nullopt;
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
  const RangeState& source = *internal::StateOf(Source);
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
  for (std::size_t i = categories ? 1 : 0; i < lines.size(); ++i)
    if (cells[i].size() <= (labels ? 1u : 0u)) fail();

  Range category_range;
  if (categories) {
    const Rect r = data_rect(lines[0]);
    if (r.top > r.bottom || r.left > r.right) fail();
    category_range = detail::MakeRange(source.sheet, {r});
  }
  auto set_categories = [&](SeriesState& series) {
    SetData(series, series.xvalues, category_range);
    series.xvalues_set = true;
  };
  if (Replace && categories)
    for (const auto& s : chart.series) set_categories(*s);

  std::shared_ptr<SeriesState> first_new;
  for (std::size_t i = categories ? 1 : 0; i < lines.size(); ++i) {
    auto series = MakeSeries(chart_.Shared());
    if (!first_new) first_new = series;
    if (labels) {
      series->name = CategoryText(cells[i].front());
      series->name_set = true;
    }
    SetData(*series, series->values, detail::MakeRange(source.sheet, {data_rect(lines[i])}));
    if (categories) set_categories(*series);
  }
  return Series(first_new);
}

// ----------------------------------------------------------------- Series ---

Variant Series::Values() const {
  const SeriesState& series = LiveSeries(series_);
  std::vector<Variant> items;
  items.reserve(series.values.count);
  for (const auto& v : detail::ValueNumbers(series)) items.push_back(v ? Variant(*v) : Variant());
  return AsArray(items);
}

void Series::LetValues(const Variant& value) const {
  SeriesState& series = LiveSeries(series_);
  if (Range r = RangeOf(value); !r.IsNothing()) return LetValues(r);
  std::vector<Variant> items = ElementsOf(value);
  for (Variant& v : items) {
    v = FromArrayElement(v);
    if (!v.IsNumber()) v = Variant();
  }
  SetData(series, series.values, std::move(items));
}

void Series::LetValues(const Range& value) const {
  SeriesState& series = LiveSeries(series_);
  if (value.IsNothing()) Raise(kErrObjectNotSet);
  SetData(series, series.values, value);
}

Variant Series::XValues() const {
  const SeriesState& series = LiveSeries(series_);
  if (!series.xvalues_set) {
    std::vector<Variant> items;
    for (std::size_t i = 0; i < series.values.count; ++i)
      items.emplace_back(static_cast<double>(i + 1));
    return AsArray(items);
  }
  return AsArray(EntriesOf(series.xvalues));
}

void Series::LetXValues(const Variant& value) const {
  SeriesState& series = LiveSeries(series_);
  if (Range r = RangeOf(value); !r.IsNothing()) return LetXValues(r);
  std::vector<Variant> items = ElementsOf(value);
  for (Variant& v : items) v = FromArrayElement(v);
  SetData(series, series.xvalues, std::move(items));
  series.xvalues_set = true;
}

void Series::LetXValues(const Range& value) const {
  SeriesState& series = LiveSeries(series_);
  if (value.IsNothing()) Raise(kErrObjectNotSet);
  SetData(series, series.xvalues, value);
  series.xvalues_set = true;
}

Range Series::ValuesRange() const { return LiveSeries(series_).values.range.Get(); }
Range Series::XValuesRange() const { return LiveSeries(series_).xvalues.range.Get(); }
std::vector<std::optional<double>> Series::ValueNumbers() const {
  return detail::ValueNumbers(LiveSeries(series_));
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
  return static_cast<std::int32_t>(series.values.count);
}

Point Points::Item(std::int32_t index) const {
  SeriesState& series = LiveSeries(series_);
  if (index < 1 || static_cast<std::size_t>(index) > series.values.count) Raise(kErrSubscript);
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
  const std::optional<double> at = ValueAt(*series, i);
  const bool known = at.has_value();
  const double value = at.value_or(0.0);
  auto value_text = [&] { return known ? FormatNumber(value, text.number_format) : std::string(); };
  auto label_text = [&] {
    if (!series->xvalues_set) return std::to_string(point->index);
    return i < series->xvalues.count ? CategoryText(series->xvalues.At(i)) : std::string();
  };
  auto percent_text = [&]() -> std::string {
    double total = 0;
    for (const auto& v : ValueNumbers(*series))
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
