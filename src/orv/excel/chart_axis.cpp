// Axes: their formats, scales chosen from the data, and crossing points.
#include <algorithm>
#include <cmath>

#include "orv/excel/Chart.hpp"
#include "orv/excel/internal/chart_detail.hpp"
#include "orv/excel/errors.hpp"

namespace orv::excel {

namespace detail {

namespace {

// A unit of 1, 2 or 5 times a power of ten, kept as its digit and exponent
// so that multiples of it are the decimal numbers they should be.
struct Unit {
  double value = 1;
  double digit = 1;
  int exponent = 0;
  bool decimal = true;  // false: a unit given by hand
};

double Pow10(int e) {
  double p = 1;
  for (int i = 0; i < std::abs(e); ++i) p *= 10;
  return p;
}

double Times(double k, const Unit& unit) {
  if (!unit.decimal) return k * unit.value;
  const double n = k * unit.digit;
  return unit.exponent >= 0 ? n * Pow10(unit.exponent) : n / Pow10(-unit.exponent);
}

Unit MakeDecimal(double digit, int exponent) {
  if (digit >= 10) {
    digit /= 10;
    ++exponent;
  }
  Unit u;
  u.digit = digit;
  u.exponent = exponent;
  u.value = exponent >= 0 ? digit * Pow10(exponent) : digit / Pow10(-exponent);
  return u;
}

// The smallest 1, 2 or 5 times a power of ten that is at least x (x > 0).
Unit NiceAtLeast(double x) {
  int e = static_cast<int>(std::floor(std::log10(x)));
  double f = e >= 0 ? x / Pow10(e) : x * Pow10(-e);
  if (f < 1) {
    --e;
    f *= 10;
  } else if (f >= 10) {
    ++e;
    f /= 10;
  }
  const double digit = f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10;
  return MakeDecimal(digit, e);
}

// Whole multiples of the unit: r rounded down (up), where a ratio within
// 1e-9 of a whole number counts as that number.
double Multiples(double v, const Unit& unit, bool up) {
  const double r = v / unit.value;
  const double near = std::round(r);
  if (std::fabs(r - near) <= 1e-9 * std::max(1.0, std::fabs(r))) return near;
  return up ? std::ceil(r) : std::floor(r);
}

// The extent of the series' values (x positions), worked out once per
// setting of its data: smallest and largest finite number, in the order
// the points come.
const DataExtent& ExtentOf(const SeriesState& s, bool values) {
  DataExtent& extent = values ? s.values_extent : s.xpositions_extent;
  const DataKey key = KeyOf(s);
  if (extent.key.generation != 0 && extent.key == key) return extent;
  DataExtent e;
  e.key = key;
  auto take = [&](double v) {
    if (!std::isfinite(v)) return;
    if (!e.have) {
      e.lo = e.hi = v;
      e.have = true;
    } else {
      e.lo = std::min(e.lo, v);
      e.hi = std::max(e.hi, v);
    }
  };
  if (values) {
    ForEachBlock(s.values,
                 [&](std::size_t, std::size_t n, const double* y, const EntryKind* kinds) {
                   for (std::size_t k = 0; k < n; ++k)
                     if (kinds[k] == EntryKind::Number) take(y[k]);
                 });
  } else {
    ForEachPositionBlock(s, [&](std::size_t, std::size_t n, const double* x, const bool* known) {
      for (std::size_t k = 0; k < n; ++k)
        if (known[k]) take(x[k]);
    });
  }
  extent = e;
  return extent;
}

}  // namespace

Scale AxisScale(const AxisState& axis) {
  auto chart = axis.chart.lock();
  bool have = false;
  double lo = 0, hi = 0;
  bool scatter = false;
  const bool min_fixed = axis.minimum.has_value(), max_fixed = axis.maximum.has_value();
  // With both bounds fixed the data decide nothing.
  if (chart && !(min_fixed && max_fixed)) {
    scatter = IsScatterType(GroupChartType(*chart, axis.group));
    for (const auto& s : chart->series) {
      if (s->axis_group != axis.group) continue;
      const DataExtent& extent = ExtentOf(*s, axis.type == xlValue);
      if (!extent.have) continue;
      if (!have) {
        lo = extent.lo;
        hi = extent.hi;
        have = true;
      } else {
        lo = std::min(lo, extent.lo);
        hi = std::max(hi, extent.hi);
      }
    }
  }
  bool grow = have;
  if (!have) {
    lo = 0;
    hi = 1;
  } else {
    if (scatter) {
      if (lo > 0 && lo < hi * 5 / 6) lo = 0;
      if (hi < 0 && hi > lo * 5 / 6) hi = 0;
    } else {
      if (lo > 0) lo = 0;
      if (hi < 0) hi = 0;
    }
    if (lo == hi) {
      const double d = lo == 0 ? 0.5 : std::fabs(lo) / 2;
      lo = lo == 0 ? 0 : lo - d;
      hi = hi == 0 ? 1 : hi + d;
      grow = false;
    }
  }
  if (min_fixed) lo = *axis.minimum;
  if (max_fixed) hi = *axis.maximum;
  if (hi <= lo) {
    const double step = axis.major_unit ? *axis.major_unit * 5 : std::max(std::fabs(lo), 1.0);
    if (!max_fixed)
      hi = lo + step;
    else
      lo = hi - step;
  }
  if (grow) {
    const double span = hi - lo;
    if (!min_fixed && lo != 0) lo -= 0.05 * span;
    if (!max_fixed && hi != 0) hi += 0.05 * span;
  }
  Unit unit;
  if (axis.major_unit) {
    unit.value = *axis.major_unit;
    unit.decimal = false;
  } else {
    unit = NiceAtLeast((hi - lo) / 8);
  }
  Scale scale;
  scale.major = unit.value;
  scale.minimum = min_fixed ? lo : Times(Multiples(lo, unit, false), unit);
  scale.maximum = max_fixed ? hi : Times(Multiples(hi, unit, true), unit);
  if (!max_fixed && scale.maximum <= scale.minimum) scale.maximum = scale.minimum + unit.value;
  if (!min_fixed && scale.minimum >= scale.maximum) scale.minimum = scale.maximum - unit.value;
  return scale;
}

}  // namespace detail

using namespace detail;

namespace {

void NeedScale(const AxisState& axis, const char* property, bool set) {
  if (AxisHasScale(axis)) return;
  if (set) RaiseUnableToSet(property, "Axis");
  RaiseUnableToGet(property, "Axis");
}

}  // namespace

std::int32_t Axis::Type() const { return axis_->type; }
std::int32_t Axis::AxisGroup() const { return axis_->group; }
bool Axis::HasScale() const { return AxisHasScale(*axis_); }

bool Axis::HasTitle() const { return axis_->has_title; }
void Axis::LetHasTitle(bool value) const {
  AxisState& axis = *axis_;
  axis.has_title = value;
}
excel::AxisTitle Axis::AxisTitle() const {
  AxisState& axis = *axis_;
  if (!axis.has_title) RaiseUnableToGet("AxisTitle", "Axis");
  return excel::AxisTitle(axis.title);
}
excel::TickLabels Axis::TickLabels() const { return excel::TickLabels(axis_->tick_labels); }

std::int32_t Axis::TickLabelPosition() const { return axis_->tick_label_position; }
void Axis::LetTickLabelPosition(std::int32_t value) const {
  AxisState& axis = *axis_;
  if (value != xlTickLabelPositionHigh && value != xlTickLabelPositionLow &&
      value != xlTickLabelPositionNextToAxis && value != xlTickLabelPositionNone)
    RaiseUnableToSet("TickLabelPosition", "Axis");
  axis.tick_label_position = value;
}

bool Axis::HasMajorGridlines() const { return axis_->has_major_gridlines; }
void Axis::LetHasMajorGridlines(bool value) const { axis_->has_major_gridlines = value; }
bool Axis::HasMinorGridlines() const { return axis_->has_minor_gridlines; }
void Axis::LetHasMinorGridlines(bool value) const { axis_->has_minor_gridlines = value; }

namespace {
bool ValidTickMark(std::int32_t v) {
  return v == xlTickMarkCross || v == xlTickMarkInside || v == xlTickMarkNone ||
         v == xlTickMarkOutside;
}
}  // namespace

std::int32_t Axis::MajorTickMark() const { return axis_->major_tick_mark; }
void Axis::LetMajorTickMark(std::int32_t value) const {
  AxisState& axis = *axis_;
  if (!ValidTickMark(value)) RaiseUnableToSet("MajorTickMark", "Axis");
  axis.major_tick_mark = value;
}
std::int32_t Axis::MinorTickMark() const { return axis_->minor_tick_mark; }
void Axis::LetMinorTickMark(std::int32_t value) const {
  AxisState& axis = *axis_;
  if (!ValidTickMark(value)) RaiseUnableToSet("MinorTickMark", "Axis");
  axis.minor_tick_mark = value;
}

double Axis::MinimumScale() const {
  const AxisState& axis = *axis_;
  NeedScale(axis, "MinimumScale", false);
  return AxisScale(axis).minimum;
}
void Axis::LetMinimumScale(double value) const {
  AxisState& axis = *axis_;
  NeedScale(axis, "MinimumScale", true);
  if (!std::isfinite(value) || (axis.maximum && value >= *axis.maximum))
    RaiseUnableToSet("MinimumScale", "Axis");
  axis.minimum = value;
}
bool Axis::MinimumScaleIsAuto() const {
  const AxisState& axis = *axis_;
  NeedScale(axis, "MinimumScaleIsAuto", false);
  return !axis.minimum;
}
void Axis::LetMinimumScaleIsAuto(bool value) const {
  AxisState& axis = *axis_;
  NeedScale(axis, "MinimumScaleIsAuto", true);
  if (value)
    axis.minimum.reset();
  else
    axis.minimum = AxisScale(axis).minimum;
}

double Axis::MaximumScale() const {
  const AxisState& axis = *axis_;
  NeedScale(axis, "MaximumScale", false);
  return AxisScale(axis).maximum;
}
void Axis::LetMaximumScale(double value) const {
  AxisState& axis = *axis_;
  NeedScale(axis, "MaximumScale", true);
  if (!std::isfinite(value) || (axis.minimum && value <= *axis.minimum))
    RaiseUnableToSet("MaximumScale", "Axis");
  axis.maximum = value;
}
bool Axis::MaximumScaleIsAuto() const {
  const AxisState& axis = *axis_;
  NeedScale(axis, "MaximumScaleIsAuto", false);
  return !axis.maximum;
}
void Axis::LetMaximumScaleIsAuto(bool value) const {
  AxisState& axis = *axis_;
  NeedScale(axis, "MaximumScaleIsAuto", true);
  if (value)
    axis.maximum.reset();
  else
    axis.maximum = AxisScale(axis).maximum;
}

double Axis::MajorUnit() const {
  const AxisState& axis = *axis_;
  NeedScale(axis, "MajorUnit", false);
  return AxisScale(axis).major;
}
void Axis::LetMajorUnit(double value) const {
  AxisState& axis = *axis_;
  NeedScale(axis, "MajorUnit", true);
  if (!(value > 0) || !std::isfinite(value)) RaiseUnableToSet("MajorUnit", "Axis");
  axis.major_unit = value;
}
bool Axis::MajorUnitIsAuto() const {
  const AxisState& axis = *axis_;
  NeedScale(axis, "MajorUnitIsAuto", false);
  return !axis.major_unit;
}
void Axis::LetMajorUnitIsAuto(bool value) const {
  AxisState& axis = *axis_;
  NeedScale(axis, "MajorUnitIsAuto", true);
  if (value)
    axis.major_unit.reset();
  else
    axis.major_unit = AxisScale(axis).major;
}
double Axis::MinorUnit() const {
  const AxisState& axis = *axis_;
  NeedScale(axis, "MinorUnit", false);
  return axis.minor_unit ? *axis.minor_unit : AxisScale(axis).major / 5;
}
void Axis::LetMinorUnit(double value) const {
  AxisState& axis = *axis_;
  NeedScale(axis, "MinorUnit", true);
  if (!(value > 0) || !std::isfinite(value)) RaiseUnableToSet("MinorUnit", "Axis");
  axis.minor_unit = value;
}

std::int32_t Axis::Crosses() const { return axis_->crosses; }
void Axis::LetCrosses(std::int32_t value) const {
  AxisState& axis = *axis_;
  if (value != xlAxisCrossesAutomatic && value != xlAxisCrossesCustom &&
      value != xlAxisCrossesMaximum && value != xlAxisCrossesMinimum)
    RaiseUnableToSet("Crosses", "Axis");
  axis.crosses = value;
}
double Axis::CrossesAt() const {
  const AxisState& axis = *axis_;
  if (axis.crosses == xlAxisCrossesCustom) return axis.crosses_at;
  if (!AxisHasScale(axis)) return 1;  // the first category
  const Scale scale = AxisScale(axis);
  switch (axis.crosses) {
    case xlAxisCrossesMinimum:
      return scale.minimum;
    case xlAxisCrossesMaximum:
      return scale.maximum;
    default:
      if (scale.minimum > 0) return scale.minimum;
      if (scale.maximum < 0) return scale.maximum;
      return 0;
  }
}
void Axis::LetCrossesAt(double value) const {
  AxisState& axis = *axis_;
  if (!std::isfinite(value)) RaiseUnableToSet("CrossesAt", "Axis");
  axis.crosses = xlAxisCrossesCustom;
  axis.crosses_at = value;
}

bool Axis::AxisBetweenCategories() const {
  const AxisState& axis = *axis_;
  if (AxisHasScale(axis)) RaiseUnableToGet("AxisBetweenCategories", "Axis");
  return axis.axis_between_categories;
}
void Axis::LetAxisBetweenCategories(bool value) const {
  AxisState& axis = *axis_;
  if (AxisHasScale(axis)) RaiseUnableToSet("AxisBetweenCategories", "Axis");
  axis.axis_between_categories = value;
}

ChartBorder Axis::Border() const { return ChartBorder(axis_->border); }
void Axis::Delete() const {
  AxisState& axis = *axis_;
  if (!AxisShown(axis)) RaiseClassMethodFailed("Delete", "Axis");
  axis.has_axis = false;
}

double Axis::Left() const { return AxisBox(*axis_).left; }
double Axis::Top() const { return AxisBox(*axis_).top; }
double Axis::Width() const { return AxisBox(*axis_).width; }
double Axis::Height() const { return AxisBox(*axis_).height; }

}  // namespace orv::excel
