// Charts, their chart area, plot area and titles, and the layout of the
// elements inside a chart.
#include "orv/excel/Chart.hpp"

#include <algorithm>
#include <cmath>

#include "orv/excel/Shapes.hpp"
#include "orv/excel/internal/chart_detail.hpp"
#include "orv/excel/errors.hpp"

namespace orv::excel {

namespace detail {

// ------------------------------------------------------------ chart types ---

bool IsScatterType(std::int32_t type) {
  return type == xlXYScatter || (type >= xlXYScatterSmooth && type <= xlXYScatterLinesNoMarkers);
}

bool IsPieType(std::int32_t type) {
  return type == xlPie || type == xlDoughnut || type == -4102 || (type >= 68 && type <= 71) ||
         type == 80;
}

bool IsKnownChartType(std::int32_t type) {
  switch (type) {
    case xlArea:
    case xlLine:
    case xlPie:
    case 15:     // bubble
    case -4098:  // 3-D area
    case -4100:  // 3-D column
    case -4101:  // 3-D line
    case -4102:  // 3-D pie
    case -4103:  // surface
    case xlDoughnut:
    case -4151:  // radar
    case xlXYScatter:
      return true;
    default:
      return type >= 51 && type <= 112;
  }
}

std::int32_t GroupKind(std::int32_t type) {
  if (IsScatterType(type)) return 4;
  if (IsPieType(type)) return type == xlDoughnut || type == 80 ? 7 : 5;
  if (type == xlLine || (type >= 63 && type <= 67) || type == -4101) return 3;
  if (type >= 57 && type <= 59) return 2;
  if ((type >= 51 && type <= 56) || type == -4100) return 1;
  if (type == xlArea || type == 76 || type == 77 || type == -4098) return 6;
  return 8;
}

namespace {
bool DrawsLines(std::int32_t type) {
  return (type >= xlXYScatterSmooth && type <= xlXYScatterLinesNoMarkers) || type == xlLine ||
         (type >= 63 && type <= 67) || type == -4101 || type == -4151;
}
}  // namespace

// ---------------------------------------------------------------- objects ---

std::shared_ptr<TextState> NewText(const std::shared_ptr<ChartState>& chart, TextRole role) {
  auto text = std::make_shared<TextState>();
  text->chart = chart;
  text->role = role;
  return text;
}

std::shared_ptr<LineState> NewLine(std::int32_t line_style) {
  auto line = std::make_shared<LineState>();
  line->line_style = line_style;
  return line;
}

std::shared_ptr<FillState> NewFill() { return std::make_shared<FillState>(); }

std::shared_ptr<ChartState> NewChart(const std::shared_ptr<ShapeState>& shape) {
  auto chart = std::make_shared<ChartState>();
  chart->shape = shape;
  chart->chart_area_text = NewText(chart, TextRole::ChartArea);
  chart->title = NewText(chart, TextRole::ChartTitle);
  chart->chart_area_fill = NewFill();
  chart->chart_area_border = NewLine(xlContinuous);
  chart->plot_fill = NewFill();
  chart->plot_fill->visible = false;
  chart->plot_border = NewLine(xlLineStyleNone);
  for (std::size_t i = 0; i < chart->axes.size(); ++i) {
    auto axis = std::make_shared<AxisState>();
    axis->chart = chart;
    axis->type = static_cast<std::int32_t>(i % 2) + 1;
    axis->group = static_cast<std::int32_t>(i / 2) + 1;
    axis->has_axis = axis->group == xlPrimary;
    axis->has_major_gridlines = axis->group == xlPrimary && axis->type == xlValue;
    axis->title = NewText(chart, TextRole::AxisTitle);
    axis->title->owner = axis;
    axis->title->text = "Axis Title";
    if (axis->type == xlValue) axis->title->orientation = xlUpward;
    axis->tick_labels = NewText(chart, TextRole::TickLabels);
    axis->tick_labels->owner = axis;
    axis->border = NewLine(xlContinuous);
    chart->axes[i] = axis;
  }
  return chart;
}

void SetDefaultSeriesLine(SeriesState& series) {
  if (series.border->touched) return;
  series.border->line_style = DrawsLines(series.chart_type) ? xlContinuous : xlLineStyleNone;
}

ChartState& ChartOf(const SeriesState& series) {
  CheckLive(series);
  auto chart = series.chart.lock();
  if (!chart) RaiseApplicationDefined();
  return *chart;
}

void CheckLive(const SeriesState& series) {
  if (series.deleted) RaiseApplicationDefined();
}

void ForEachText(ChartState& chart, const std::function<void(TextState&)>& visit) {
  visit(*chart.chart_area_text);
  visit(*chart.title);
  for (const auto& axis : chart.axes) {
    visit(*axis->title);
    visit(*axis->tick_labels);
  }
  for (const auto& series : chart.series) {
    for (const auto& [index, point] : series->points)
      if (point->label) visit(*point->label);
    for (const auto& trend : series->trendlines) visit(*trend->label);
  }
}

void UpdateSecondaryAxes(ChartState& chart) {
  std::size_t secondary = 0;
  for (const auto& s : chart.series)
    if (s->axis_group == xlSecondary) ++secondary;
  if (secondary == 0) {
    chart.axes[2]->has_axis = false;
    chart.axes[3]->has_axis = false;
  }
}

// ------------------------------------------------------------------ sizes ---

double ChartWidth(const ChartState& chart) {
  auto shape = chart.shape.lock();
  return shape ? shape->width : 0;
}

double ChartHeight(const ChartState& chart) {
  auto shape = chart.shape.lock();
  return shape ? shape->height : 0;
}

std::int32_t GroupChartType(const ChartState& chart, std::int32_t group) {
  for (const auto& s : chart.series)
    if (s->axis_group == group) return s->chart_type;
  return chart.chart_type;
}

bool AxisHasScale(const AxisState& axis) {
  if (axis.type == xlValue) return true;
  auto chart = axis.chart.lock();
  return chart && IsScatterType(GroupChartType(*chart, axis.group));
}

bool AxisShown(const AxisState& axis) {
  auto chart = axis.chart.lock();
  if (!chart || IsPieType(chart->chart_type)) return false;
  return axis.has_axis;
}

// ----------------------------------------------------------------- layout ---

namespace {

constexpr double kMargin = 7;

double Scaled(const Placed& placed, double size) {
  if (placed.chart_size == size || placed.chart_size == 0) return placed.points;
  return placed.points * size / placed.chart_size;
}

double LegendWidth(const ChartState& chart) {
  if (!chart.has_legend || chart.series.empty()) return 0;
  const double size = ResolveElementFont(*chart.chart_area_text).size;
  double longest = 0;
  for (const auto& s : chart.series)
    longest = std::max(longest, static_cast<double>(SplitCharacters(s->name).size()));
  return std::min(longest * 0.5 * size + 20, ChartWidth(chart) / 3);
}

bool Horizontal(const AxisState& axis) { return axis.type == xlCategory; }

// Room the tick labels of an axis take across it.
double LabelBand(const AxisState& axis) {
  if (axis.tick_label_position == xlTickLabelPositionNone) return 0;
  const double size = ResolveElementFont(*axis.tick_labels).size;
  if (Horizontal(axis)) return 1.2 * size + 4;
  std::size_t chars = 1;
  if (AxisHasScale(axis)) {
    const Scale scale = AxisScale(axis);
    const std::string& format = axis.tick_labels->number_format;
    chars = std::max(SplitCharacters(FormatNumber(scale.minimum, format)).size(),
                     SplitCharacters(FormatNumber(scale.maximum, format)).size());
  }
  return static_cast<double>(chars) * 0.5 * size + 6;
}

// Room the axis title takes across the axis.
double TitleBand(const AxisState& axis) {
  if (!axis.has_title) return 0;
  const TextState& t = *axis.title;
  return (Horizontal(axis) ? TextHeight(t, t.text) : TextWidth(t, t.text)) + 4;
}

std::shared_ptr<AxisState> OwnerAxis(const TextState& text) {
  return std::dynamic_pointer_cast<AxisState>(text.owner.lock());
}

}  // namespace

Box PlotOuter(const ChartState& chart) {
  const double w = ChartWidth(chart), h = ChartHeight(chart);
  Box box;
  box.left = kMargin;
  box.top = kMargin;
  if (chart.has_title) box.top += TextHeight(*chart.title, chart.title->text) + kMargin;
  const double legend = LegendWidth(chart);
  double right = w - kMargin - (legend > 0 ? legend + kMargin : 0);
  box.width = std::max(0.0, right - box.left);
  box.height = std::max(0.0, h - kMargin - box.top);
  if (chart.plot_left) box.left = Scaled(*chart.plot_left, w);
  if (chart.plot_top) box.top = Scaled(*chart.plot_top, h);
  if (chart.plot_width) box.width = Scaled(*chart.plot_width, w);
  if (chart.plot_height) box.height = Scaled(*chart.plot_height, h);
  return box;
}

Box PlotInside(const ChartState& chart) {
  Box box = PlotOuter(chart);
  double left = 0, right = 0, top = 0, bottom = 0;
  for (const auto& axis : chart.axes) {
    if (!AxisShown(*axis)) continue;
    const double band = LabelBand(*axis) + TitleBand(*axis);
    if (Horizontal(*axis))
      (axis->group == xlPrimary ? bottom : top) += band;
    else
      (axis->group == xlPrimary ? left : right) += band;
  }
  box.left += left;
  box.top += top;
  box.width = std::max(0.0, box.width - left - right);
  box.height = std::max(0.0, box.height - top - bottom);
  return box;
}

Box AxisBox(const AxisState& axis) {
  auto chart = axis.chart.lock();
  if (!chart) return {};
  const Box inside = PlotInside(*chart);
  const double band = LabelBand(axis);
  if (Horizontal(axis)) {
    const double top = axis.group == xlPrimary ? inside.top + inside.height : inside.top - band;
    return {inside.left, top, inside.width, band};
  }
  const double left = axis.group == xlPrimary ? inside.left - band : inside.left + inside.width;
  return {left, inside.top, band, inside.height};
}

Box DefaultTitleBox(const TextState& text) {
  auto chart = text.chart.lock();
  Box box;
  box.width = TextWidth(text, text.text);
  box.height = TextHeight(text, text.text);
  if (!chart) return box;
  const double w = ChartWidth(*chart), h = ChartHeight(*chart);
  if (text.role == TextRole::ChartTitle) {
    box.left = (w - box.width) / 2;
    box.top = kMargin;
  } else if (auto axis = OwnerAxis(text)) {
    const Box inside = PlotInside(*chart);
    const double band = LabelBand(*axis);
    if (Horizontal(*axis)) {
      box.left = inside.left + (inside.width - box.width) / 2;
      box.top = axis->group == xlPrimary ? inside.top + inside.height + band + 2
                                         : inside.top - band - 2 - box.height;
    } else {
      box.top = inside.top + (inside.height - box.height) / 2;
      box.left = axis->group == xlPrimary ? inside.left - band - 4 - box.width
                                          : inside.left + inside.width + band + 4;
    }
  }
  box.left = std::clamp(box.left, 0.0, std::max(0.0, w - box.width));
  box.top = std::clamp(box.top, 0.0, std::max(0.0, h - box.height));
  return box;
}

}  // namespace detail

using namespace detail;

namespace {

void CheckType(std::int32_t type, std::int32_t group) {
  if ((type != xlCategory && type != xlValue) || (group != xlPrimary && group != xlSecondary))
    RaiseMethodFailed("Axes", "_Chart");
}

std::size_t AxisSlot(std::int32_t type, std::int32_t group) {
  return static_cast<std::size_t>((group - 1) * 2 + (type - 1));
}

// A title's place: by hand, or the default kept inside the chart area.
double TitleLeft(const TextState& text) {
  return text.left ? *text.left : DefaultTitleBox(text).left;
}
double TitleTop(const TextState& text) { return text.top ? *text.top : DefaultTitleBox(text).top; }

void SetTitleLeft(TextState& text, double value, const char* cls) {
  if (!std::isfinite(value)) RaiseUnableToSet("Left", cls);
  auto chart = text.chart.lock();
  const double w = chart ? ChartWidth(*chart) : 0;
  text.left = std::clamp(value, 0.0, std::max(0.0, w - TextWidth(text, text.text)));
}
void SetTitleTop(TextState& text, double value, const char* cls) {
  if (!std::isfinite(value)) RaiseUnableToSet("Top", cls);
  auto chart = text.chart.lock();
  const double h = chart ? ChartHeight(*chart) : 0;
  text.top = std::clamp(value, 0.0, std::max(0.0, h - TextHeight(text, text.text)));
}

void SetText(TextState& text, std::string_view value) {
  text.text = std::string(value);
  text.text_set = true;
  text.chars.clear();
}

std::vector<TextRun> RunsOf(const TextState& text) {
  std::vector<TextRun> runs;
  const std::vector<std::string> chars = SplitCharacters(text.text);
  for (std::size_t i = 0; i < chars.size(); ++i) {
    ResolvedFont font = ResolveFont(text, i);
    if (runs.empty() || !(runs.back().font == font))
      runs.push_back(TextRun{chars[i], font});
    else
      runs.back().text += chars[i];
  }
  return runs;
}

struct GroupKey {
  std::int32_t group, kind;
};

std::vector<GroupKey> GroupsOf(const ChartState& chart) {
  std::vector<GroupKey> keys;
  for (std::int32_t group : {xlPrimary, xlSecondary})
    for (const auto& s : chart.series) {
      if (s->axis_group != group) continue;
      const std::int32_t kind = GroupKind(s->chart_type);
      bool seen = false;
      for (const GroupKey& k : keys) seen = seen || (k.group == group && k.kind == kind);
      if (!seen) keys.push_back({group, kind});
    }
  if (keys.empty()) keys.push_back({xlPrimary, GroupKind(chart.chart_type)});
  return keys;
}

}  // namespace

// ------------------------------------------------------------------ Chart ---

std::int32_t Chart::ChartType() const { return chart_->chart_type; }

void Chart::LetChartType(std::int32_t value) const {
  ChartState& chart = *chart_;
  if (!IsKnownChartType(value)) RaiseUnableToSet("ChartType", "Chart");
  chart.chart_type = value;
  for (const auto& s : chart.series) {
    s->chart_type = value;
    SetDefaultSeriesLine(*s);
  }
}

bool Chart::HasLegend() const { return chart_->has_legend; }
void Chart::LetHasLegend(bool value) const { chart_->has_legend = value; }

excel::SeriesCollection Chart::SeriesCollection() const {
  (void)*chart_;
  return excel::SeriesCollection(chart_.Shared());
}
Series Chart::SeriesCollection(std::int32_t index) const { return SeriesCollection().Item(index); }

excel::ChartArea Chart::ChartArea() const {
  (void)*chart_;
  return excel::ChartArea(chart_.Shared());
}
excel::PlotArea Chart::PlotArea() const {
  (void)*chart_;
  return excel::PlotArea(chart_.Shared());
}

bool Chart::HasTitle() const { return chart_->has_title; }
void Chart::LetHasTitle(bool value) const {
  ChartState& chart = *chart_;
  chart.has_title = value;
  if (value && !chart.title->text_set) {
    chart.title->text = chart.series.size() == 1 ? chart.series.front()->name : "Chart Title";
  }
}

excel::ChartTitle Chart::ChartTitle() const {
  ChartState& chart = *chart_;
  if (!chart.has_title) RaiseMethodFailed("ChartTitle", "_Chart");
  return excel::ChartTitle(chart.title);
}

Axis Chart::Axes(std::int32_t Type, std::int32_t AxisGroup) const {
  ChartState& chart = *chart_;
  CheckType(Type, AxisGroup);
  const auto& axis = chart.axes[AxisSlot(Type, AxisGroup)];
  if (!AxisShown(*axis)) RaiseMethodFailed("Axes", "_Chart");
  return Axis(axis);
}

bool Chart::HasAxis(std::int32_t Type, std::int32_t AxisGroup) const {
  ChartState& chart = *chart_;
  if ((Type != xlCategory && Type != xlValue) ||
      (AxisGroup != xlPrimary && AxisGroup != xlSecondary))
    RaiseUnableToGet("HasAxis", "Chart");
  return AxisShown(*chart.axes[AxisSlot(Type, AxisGroup)]);
}

void Chart::LetHasAxis(std::int32_t Type, std::int32_t AxisGroup, bool value) const {
  ChartState& chart = *chart_;
  if ((Type != xlCategory && Type != xlValue) ||
      (AxisGroup != xlPrimary && AxisGroup != xlSecondary) || IsPieType(chart.chart_type))
    RaiseUnableToSet("HasAxis", "Chart");
  if (value && AxisGroup == xlSecondary) {
    bool secondary = false;
    for (const auto& s : chart.series) secondary = secondary || s->axis_group == xlSecondary;
    if (!secondary) RaiseUnableToSet("HasAxis", "Chart");
  }
  chart.axes[AxisSlot(Type, AxisGroup)]->has_axis = value;
}

excel::ChartGroups Chart::ChartGroups() const {
  (void)*chart_;
  return excel::ChartGroups(chart_.Shared());
}
ChartGroup Chart::ChartGroups(std::int32_t index) const { return ChartGroups().Item(index); }

ChartObject Chart::Parent() const {
  auto shape = chart_->shape.lock();
  if (!shape || shape->deleted) return ChartObject();
  return ChartObject(shape);
}

Axis Chart::AxisState(std::int32_t Type, std::int32_t AxisGroup) const {
  ChartState& chart = *chart_;
  CheckType(Type, AxisGroup);
  return Axis(chart.axes[AxisSlot(Type, AxisGroup)]);
}

// ------------------------------------------------------------ ChartGroups ---

std::int32_t ChartGroups::Count() const {
  return static_cast<std::int32_t>(GroupsOf(*chart_).size());
}

ChartGroup ChartGroups::Item(std::int32_t index) const {
  const std::vector<GroupKey> keys = GroupsOf(*chart_);
  if (index < 1 || static_cast<std::size_t>(index) > keys.size()) Raise(kErrSubscript);
  const GroupKey& key = keys[static_cast<std::size_t>(index - 1)];
  return ChartGroup(chart_.Shared(), key.group * 1000 + key.kind);
}

std::int32_t ChartGroup::GapWidth() const {
  ChartState& chart = *chart_;
  auto it = chart.groups.find(key_);
  return it == chart.groups.end() ? GroupSettings{}.gap_width : it->second.gap_width;
}
void ChartGroup::LetGapWidth(std::int32_t value) const {
  ChartState& chart = *chart_;
  if (value < 0 || value > 500) RaiseUnableToSet("GapWidth", "ChartGroup");
  chart.groups[key_].gap_width = value;
}
std::int32_t ChartGroup::Overlap() const {
  ChartState& chart = *chart_;
  auto it = chart.groups.find(key_);
  return it == chart.groups.end() ? GroupSettings{}.overlap : it->second.overlap;
}
void ChartGroup::LetOverlap(std::int32_t value) const {
  ChartState& chart = *chart_;
  if (value < -100 || value > 100) RaiseUnableToSet("Overlap", "ChartGroup");
  chart.groups[key_].overlap = value;
}
std::int32_t ChartGroup::AxisGroup() const {
  (void)*chart_;
  return key_ / 1000;
}
std::vector<Series> ChartGroup::SeriesItems() const {
  std::vector<Series> out;
  for (const auto& s : chart_->series)
    if (s->axis_group * 1000 + GroupKind(s->chart_type) == key_) out.emplace_back(s);
  return out;
}

// -------------------------------------------------------------- ChartArea ---

ChartInterior ChartArea::Interior() const { return ChartInterior(chart_->chart_area_fill); }
ChartFillFormat ChartArea::Fill() const { return ChartFillFormat(chart_->chart_area_fill); }
ChartBorder ChartArea::Border() const { return ChartBorder(chart_->chart_area_border); }
ChartFont ChartArea::Font() const { return ChartFont(chart_->chart_area_text); }
bool ChartArea::AutoScaleFont() const { return chart_->chart_area_auto_scale_font; }
void ChartArea::LetAutoScaleFont(bool value) const {
  ChartState& chart = *chart_;
  chart.chart_area_auto_scale_font = value;
  ForEachText(chart, [&](TextState& t) { t.auto_scale_font = value; });
}
double ChartArea::Left() const {
  (void)*chart_;
  return 0;
}
double ChartArea::Top() const {
  (void)*chart_;
  return 0;
}
double ChartArea::Width() const { return ChartWidth(*chart_); }
double ChartArea::Height() const { return ChartHeight(*chart_); }
void ChartArea::LetWidth(double value) const {
  auto shape = chart_->shape.lock();
  if (!shape || shape->deleted) RaiseUnableToSet("Width", "ChartArea");
  ChartObject(shape).LetWidth(value);
}
void ChartArea::LetHeight(double value) const {
  auto shape = chart_->shape.lock();
  if (!shape || shape->deleted) RaiseUnableToSet("Height", "ChartArea");
  ChartObject(shape).LetHeight(value);
}

// --------------------------------------------------------------- PlotArea ---

namespace {
// The first placement by hand fixes all four sides where they are.
void Freeze(ChartState& chart) {
  if (chart.plot_left && chart.plot_top && chart.plot_width && chart.plot_height) return;
  const Box box = PlotOuter(chart);
  const double w = ChartWidth(chart), h = ChartHeight(chart);
  chart.plot_left = Placed{box.left, w};
  chart.plot_top = Placed{box.top, h};
  chart.plot_width = Placed{box.width, w};
  chart.plot_height = Placed{box.height, h};
}
}  // namespace

ChartInterior PlotArea::Interior() const { return ChartInterior(chart_->plot_fill); }
ChartFillFormat PlotArea::Fill() const { return ChartFillFormat(chart_->plot_fill); }
ChartBorder PlotArea::Border() const { return ChartBorder(chart_->plot_border); }
double PlotArea::Left() const { return PlotOuter(*chart_).left; }
double PlotArea::Top() const { return PlotOuter(*chart_).top; }
double PlotArea::Width() const { return PlotOuter(*chart_).width; }
double PlotArea::Height() const { return PlotOuter(*chart_).height; }

void PlotArea::LetLeft(double value) const {
  ChartState& chart = *chart_;
  if (!std::isfinite(value)) RaiseUnableToSet("Left", "PlotArea");
  Freeze(chart);
  const double w = ChartWidth(chart);
  const Box box = PlotOuter(chart);
  chart.plot_left = Placed{std::clamp(value, 0.0, std::max(0.0, w - box.width)), w};
}
void PlotArea::LetTop(double value) const {
  ChartState& chart = *chart_;
  if (!std::isfinite(value)) RaiseUnableToSet("Top", "PlotArea");
  Freeze(chart);
  const double h = ChartHeight(chart);
  const Box box = PlotOuter(chart);
  chart.plot_top = Placed{std::clamp(value, 0.0, std::max(0.0, h - box.height)), h};
}
void PlotArea::LetWidth(double value) const {
  ChartState& chart = *chart_;
  if (!(value >= 0) || !std::isfinite(value)) RaiseUnableToSet("Width", "PlotArea");
  Freeze(chart);
  const double w = ChartWidth(chart);
  const Box box = PlotOuter(chart);
  chart.plot_width = Placed{std::min(value, std::max(0.0, w - box.left)), w};
}
void PlotArea::LetHeight(double value) const {
  ChartState& chart = *chart_;
  if (!(value >= 0) || !std::isfinite(value)) RaiseUnableToSet("Height", "PlotArea");
  Freeze(chart);
  const double h = ChartHeight(chart);
  const Box box = PlotOuter(chart);
  chart.plot_height = Placed{std::min(value, std::max(0.0, h - box.top)), h};
}
double PlotArea::InsideLeft() const { return PlotInside(*chart_).left; }
double PlotArea::InsideTop() const { return PlotInside(*chart_).top; }
double PlotArea::InsideWidth() const { return PlotInside(*chart_).width; }
double PlotArea::InsideHeight() const { return PlotInside(*chart_).height; }

// ------------------------------------------------------------- ChartTitle ---

std::string ChartTitle::Text() const { return text_->text; }
void ChartTitle::LetText(std::string_view value) const { SetText(*text_, value); }
ChartFont ChartTitle::Font() const { return ChartFont(text_.Shared()); }
excel::Characters ChartTitle::Characters(std::int32_t Start, std::int32_t Length) const {
  return excel::Characters(text_.Shared(), Start, Length);
}
bool ChartTitle::AutoScaleFont() const { return text_->auto_scale_font; }
void ChartTitle::LetAutoScaleFont(bool value) const { text_->auto_scale_font = value; }
double ChartTitle::Left() const { return TitleLeft(*text_); }
void ChartTitle::LetLeft(double value) const { SetTitleLeft(*text_, value, "ChartTitle"); }
double ChartTitle::Top() const { return TitleTop(*text_); }
void ChartTitle::LetTop(double value) const { SetTitleTop(*text_, value, "ChartTitle"); }
double ChartTitle::Width() const { return TextWidth(*text_, text_->text); }
double ChartTitle::Height() const { return TextHeight(*text_, text_->text); }
std::vector<TextRun> ChartTitle::Runs() const { return RunsOf(*text_); }

// -------------------------------------------------------------- AxisTitle ---

std::string AxisTitle::Text() const { return text_->text; }
void AxisTitle::LetText(std::string_view value) const { SetText(*text_, value); }
ChartFont AxisTitle::Font() const { return ChartFont(text_.Shared()); }
excel::Characters AxisTitle::Characters(std::int32_t Start, std::int32_t Length) const {
  return excel::Characters(text_.Shared(), Start, Length);
}
bool AxisTitle::AutoScaleFont() const { return text_->auto_scale_font; }
void AxisTitle::LetAutoScaleFont(bool value) const { text_->auto_scale_font = value; }
std::int32_t AxisTitle::Orientation() const { return text_->orientation; }
void AxisTitle::LetOrientation(std::int32_t value) const {
  TextState& text = *text_;
  const bool named =
      value == xlHorizontal || value == xlVertical || value == xlUpward || value == xlDownward;
  if (!named && (value < -90 || value > 90)) RaiseUnableToSet("Orientation", "AxisTitle");
  text.orientation = value;
}
double AxisTitle::Left() const { return TitleLeft(*text_); }
void AxisTitle::LetLeft(double value) const { SetTitleLeft(*text_, value, "AxisTitle"); }
double AxisTitle::Top() const { return TitleTop(*text_); }
void AxisTitle::LetTop(double value) const { SetTitleTop(*text_, value, "AxisTitle"); }
double AxisTitle::Width() const { return TextWidth(*text_, text_->text); }
double AxisTitle::Height() const { return TextHeight(*text_, text_->text); }
std::vector<TextRun> AxisTitle::Runs() const { return RunsOf(*text_); }

// ------------------------------------------------------------- TickLabels ---

ChartFont TickLabels::Font() const { return ChartFont(text_.Shared()); }
bool TickLabels::AutoScaleFont() const { return text_->auto_scale_font; }
void TickLabels::LetAutoScaleFont(bool value) const { text_->auto_scale_font = value; }
std::string TickLabels::NumberFormat() const { return text_->number_format; }
void TickLabels::LetNumberFormat(std::string_view value) const {
  TextState& text = *text_;
  if (value.empty()) RaiseUnableToSet("NumberFormat", "TickLabels");
  text.number_format = std::string(value);
  text.number_format_linked = false;
}
bool TickLabels::NumberFormatLinked() const { return text_->number_format_linked; }
void TickLabels::LetNumberFormatLinked(bool value) const { text_->number_format_linked = value; }
std::int32_t TickLabels::Orientation() const { return text_->orientation; }
void TickLabels::LetOrientation(std::int32_t value) const {
  TextState& text = *text_;
  const bool named =
      value == xlHorizontal || value == xlVertical || value == xlUpward || value == xlDownward;
  if (!named && (value < -90 || value > 90)) RaiseUnableToSet("Orientation", "TickLabels");
  text.orientation = value;
}

}  // namespace orv::excel
