// Trendlines: least-squares fits to a series and the equation labels a
// spreadsheet writes for them.
#include <algorithm>
#include <cmath>

#include "orv/excel/Chart.hpp"
#include "orv/excel/internal/chart_detail.hpp"
#include "orv/excel/errors.hpp"
#include "orv/frame/convert.hpp"

namespace orv::excel {

using namespace detail;

namespace {

bool ValidType(std::int32_t type) {
  return type == xlExponential || type == xlLinear || type == xlLogarithmic ||
         type == xlMovingAvg || type == xlPolynomial || type == xlPower;
}

bool TakesIntercept(std::int32_t type) {
  return type == xlLinear || type == xlPolynomial || type == xlExponential;
}

TrendlineState& Live(const Ref<TrendlineState>& ref) {
  TrendlineState& trend = *ref;
  if (trend.deleted) RaiseApplicationDefined();
  return trend;
}

// Least squares: the coefficients c minimising |A c - y| for the n x m
// matrix A (row-major), by Householder QR; empty when A has fewer rows
// than columns or is rank deficient.
std::vector<double> LeastSquares(std::vector<double> a, std::vector<double> y, std::size_t n,
                                 std::size_t m) {
  if (n < m || m == 0) return {};
  double largest = 0;
  for (double v : a) largest = std::max(largest, std::fabs(v));
  std::vector<double> diagonal(m);
  for (std::size_t k = 0; k < m; ++k) {
    double norm = 0;
    for (std::size_t i = k; i < n; ++i) norm += a[i * m + k] * a[i * m + k];
    norm = std::sqrt(norm);
    if (!(norm > 1e-12 * largest)) return {};
    const double alpha = a[k * m + k] > 0 ? -norm : norm;
    // v = column k below the diagonal minus alpha e_k, kept in place.
    a[k * m + k] -= alpha;
    double vv = 0;
    for (std::size_t i = k; i < n; ++i) vv += a[i * m + k] * a[i * m + k];
    for (std::size_t j = k + 1; j < m; ++j) {
      double dot = 0;
      for (std::size_t i = k; i < n; ++i) dot += a[i * m + k] * a[i * m + j];
      const double f = 2 * dot / vv;
      for (std::size_t i = k; i < n; ++i) a[i * m + j] -= f * a[i * m + k];
    }
    double dot = 0;
    for (std::size_t i = k; i < n; ++i) dot += a[i * m + k] * y[i];
    const double f = 2 * dot / vv;
    for (std::size_t i = k; i < n; ++i) y[i] -= f * a[i * m + k];
    diagonal[k] = alpha;
  }
  std::vector<double> c(m);
  for (std::size_t k = m; k-- > 0;) {
    double s = y[k];
    for (std::size_t j = k + 1; j < m; ++j) s -= a[k * m + j] * c[j];
    c[k] = s / diagonal[k];
  }
  return c;
}

std::optional<double> RSquared(const std::vector<double>& y, const std::vector<double>& fitted,
                               std::optional<double> origin) {
  double mean = 0;
  if (origin) {
    mean = *origin;
  } else {
    for (std::size_t i = 0; i < y.size(); ++i) mean += y[i];
    mean /= static_cast<double>(y.size());
  }
  double sse = 0, sst = 0;
  for (std::size_t i = 0; i < y.size(); ++i) {
    sse += (y[i] - fitted[i]) * (y[i] - fitted[i]);
    sst += (y[i] - mean) * (y[i] - mean);
  }
  if (sst == 0) return sse == 0 ? std::optional<double>(1.0) : std::nullopt;
  return 1 - sse / sst;
}

// The sums of the straight line continued over the points x[k], y[k],
// k < m, each in order. Kept out of line so that the sums stay in
// registers through the loops.
[[gnu::noinline]] void AddPoints(const double* x, const double* y, std::size_t m, double& n,
                                 double& sx, double& sy) {
  double count = n, sum_x = sx, sum_y = sy;
  for (std::size_t k = 0; k < m; ++k) {
    count += 1;
    sum_x += x[k];
    sum_y += y[k];
  }
  n = count;
  sx = sum_x;
  sy = sum_y;
}

// The second pass: about the means (kCentred) or about the forced
// constant c, and with kProducts the plain sum of x y beside them.
template <bool kCentred, bool kProducts>
[[gnu::noinline]] void AddSecond(const double* x, const double* y, std::size_t m, double mx,
                                 double my, double& sxx, double& sxy, double& products) {
  double xx = sxx, xy = sxy, p = products;
  for (std::size_t k = 0; k < m; ++k) {
    if constexpr (kCentred) {
      xx += (x[k] - mx) * (x[k] - mx);
      xy += (x[k] - mx) * (y[k] - my);
    } else {
      xx += x[k] * x[k];
      xy += x[k] * (y[k] - my);
    }
    if constexpr (kProducts) p += x[k] * y[k];
  }
  sxx = xx;
  sxy = xy;
  products = p;
}

// The second pass over each's points, with the products when asked for.
template <bool kCentred, class Each>
void Second(Each&& each, double mx, double my, double& sxx, double& sxy, double* products) {
  double p = 0;
  each([&](const double* x, const double* y, std::size_t m) {
    if (products != nullptr)
      AddSecond<kCentred, true>(x, y, m, mx, my, sxx, sxy, p);
    else
      AddSecond<kCentred, false>(x, y, m, mx, my, sxx, sxy, p);
  });
  if (products != nullptr) *products = p;
}

// The first pass's sums (count, sum of x, sum of y) when they are known
// beforehand.
struct PointSums {
  double n = 0, sx = 0, sy = 0;
};

// The least-squares straight line through the points that each(f) hands
// to f(x, y, m) in blocks of m, through the forced constant when given;
// each is called once per pass, so that the points can stream from a
// series. Every sum runs over the points in order. Coefficients constant
// first.
// With `products` the second pass also sums x y into *products (in the
// order of the points, from 0), for callers that keep it; it stays as it
// was when there is no second pass.
template <class Each>
Fit StraightLine(Each&& each, std::optional<PointSums> known, std::optional<double> intercept,
                 bool with_r_squared, double* products = nullptr) {
  Fit fit;
  double n = 0, sx = 0, sy = 0;
  if (known) {
    n = known->n;
    sx = known->sx;
    sy = known->sy;
  } else {
    each([&](const double* x, const double* y, std::size_t m) { AddPoints(x, y, m, n, sx, sy); });
  }
  const double mx = sx / n, my = sy / n;
  double sxx = 0, sxy = 0;
  if (!intercept) {
    if (n < 2) return fit;
    Second<true>(each, mx, my, sxx, sxy, products);
    if (sxx == 0) return fit;
    const double b = sxy / sxx;
    fit.coefficients = {my - b * mx, b};
  } else {
    const double c = *intercept;
    Second<false>(each, 0, c, sxx, sxy, products);
    if (n < 1 || sxx == 0) return fit;
    fit.coefficients = {c, sxy / sxx};
  }
  if (!with_r_squared) return fit;
  const double mean = intercept ? *intercept : my;
  const double c0 = fit.coefficients[0], c1 = fit.coefficients[1];
  double sse = 0, sst = 0;
  each([&](const double* x, const double* y, std::size_t m) {
    for (std::size_t k = 0; k < m; ++k) {
      double fitted = 0;
      fitted = fitted * x[k] + c1;
      fitted = fitted * x[k] + c0;
      sse += (y[k] - fitted) * (y[k] - fitted);
      sst += (y[k] - mean) * (y[k] - mean);
    }
  });
  if (sst == 0)
    fit.r_squared = sse == 0 ? std::optional<double>(1.0) : std::nullopt;
  else
    fit.r_squared = 1 - sse / sst;
  return fit;
}

// Polynomial (degree 1 = straight line) fit of y on x, through the forced
// constant when given. Coefficients constant first.
Fit Polynomial(const std::vector<double>& x, const std::vector<double>& y, int degree,
               std::optional<double> intercept, bool with_r_squared) {
  if (degree == 1)
    return StraightLine([&](auto&& f) { f(x.data(), y.data(), x.size()); }, std::nullopt, intercept,
                        with_r_squared);
  Fit fit;
  const std::size_t n = x.size();
  const std::size_t first = intercept ? 1 : 0;
  const std::size_t m = static_cast<std::size_t>(degree) + 1 - first;
  std::vector<double> a(n * m), target(n);
  for (std::size_t i = 0; i < n; ++i) {
    double power = 1;
    for (std::size_t j = 0; j <= static_cast<std::size_t>(degree); ++j) {
      if (j >= first) a[i * m + (j - first)] = power;
      power *= x[i];
    }
    target[i] = intercept ? y[i] - *intercept : y[i];
  }
  std::vector<double> c = LeastSquares(std::move(a), std::move(target), n, m);
  if (c.empty()) return fit;
  if (intercept) c.insert(c.begin(), *intercept);
  fit.coefficients = std::move(c);
  if (!with_r_squared) return fit;
  std::vector<double> fitted(n);
  for (std::size_t i = 0; i < n; ++i) {
    double v = 0;
    for (std::size_t j = fit.coefficients.size(); j-- > 0;) v = v * x[i] + fit.coefficients[j];
    fitted[i] = v;
  }
  fit.r_squared = RSquared(y, fitted, intercept);
  return fit;
}

// "y = 0.5x2 - x + 3": terms with their coefficients, zero terms left out.
std::string Terms(const std::vector<std::pair<double, std::string>>& terms) {
  std::string out;
  bool first = true;
  for (const auto& [coefficient, variable] : terms) {
    if (coefficient == 0) continue;
    std::string magnitude = LabelGeneral(std::fabs(coefficient));
    std::string body = !variable.empty() && magnitude == "1" ? variable : magnitude + variable;
    if (first)
      out.append(coefficient < 0 ? "-" : "").append(body);
    else
      out.append(coefficient < 0 ? " - " : " + ").append(body);
    first = false;
  }
  return first ? "0" : out;
}

}  // namespace

namespace detail {

namespace {

// Calls f(x, y, m) with the points of the series whose x position and
// value are both numbers, in the order of the points, in blocks of m.
template <class F>
void ForEachKnownBlock(const SeriesState& series, F&& f) {
  double y[kDataBlock];
  EntryKind kinds[kDataBlock];
  ForEachPositionBlock(series, [&](std::size_t first, std::size_t n, double* x, bool* known) {
    series.values.Read(first, n, y, kinds);
    std::size_t m = 0;  // known points, moved to the front
    for (std::size_t k = 0; k < n; ++k) {
      if (!known[k] || kinds[k] != EntryKind::Number) continue;
      x[m] = x[k];
      y[m] = y[k];
      ++m;
    }
    f(static_cast<const double*>(x), static_cast<const double*>(y), m);
  });
}

// A series whose x values and values are two columns of numbers of one
// height, each one area of a sheet's cells.
struct NumberColumns {
  std::shared_ptr<WorksheetState> x_sheet, y_sheet;
  Rect x, y;
};

std::optional<NumberColumns> NumberColumnsOf(const SeriesState& series) {
  const SeriesData& xs = series.xvalues;
  const SeriesData& ys = series.values;
  if (!xs.from_range || !ys.from_range || xs.range.areas.size() != 1 || ys.range.areas.size() != 1)
    return std::nullopt;
  NumberColumns c{xs.range.sheet.lock(), ys.range.sheet.lock(), xs.range.areas.front(),
                  ys.range.areas.front()};
  if (!c.x_sheet || !c.y_sheet || c.x.Columns() != 1 || c.y.Columns() != 1 ||
      c.x.Rows() != c.y.Rows())
    return std::nullopt;
  // Every cell a number: the sheets' block sums say so, and hold the first
  // pass's sums.
  const double rows = c.x.Rows();
  if (c.x_sheet->stats.Of(c.x_sheet->cells, c.x).count != rows ||
      c.y_sheet->stats.Of(c.y_sheet->cells, c.y).count != rows)
    return std::nullopt;
  return c;
}

// The straight line of a series; two columns of numbers are read in place,
// with the first pass's sums from the sheets' block sums.
Fit SeriesStraightLine(const SeriesState& series, std::optional<double> intercept,
                       bool with_r_squared) {
  const std::optional<NumberColumns> c = NumberColumnsOf(series);
  if (!c) {
    return StraightLine([&](auto&& f) { ForEachKnownBlock(series, f); }, std::nullopt, intercept,
                        with_r_squared);
  }
  PointSums known;
  known.n = c->x.Rows();
  known.sx = c->x_sheet->stats.Of(c->x_sheet->cells, c->x).sum;
  known.sy = c->y_sheet->stats.Of(c->y_sheet->cells, c->y).sum;
  auto each = [&](auto&& f) {
    CellStore::VisitRunPairs(
        c->x_sheet->cells, c->x, c->y_sheet->cells, c->y,
        [&](const double* x, const double* y, std::int32_t m) {
          f(x, y, static_cast<std::size_t>(m));
        },
        [&](CellType, double x, CellType, double y) { f(&x, &y, std::size_t{1}); });
  };
  // The second pass also sums the products, which the sheets keep as the
  // two columns' SumProduct (a plot with a fitted line often asks for it).
  double products = std::nan("");
  Fit fit = StraightLine(each, known, intercept, with_r_squared, &products);
  if (!std::isnan(products)) {
    const BlockStats::Product kept{products, false};
    c->y_sheet->stats.KeepProduct(c->y_sheet->cells, c->y, c->x_sheet->cells, c->x, kept);
    if (c->x_sheet != c->y_sheet)
      c->x_sheet->stats.KeepProduct(c->y_sheet->cells, c->y, c->x_sheet->cells, c->x, kept);
  }
  return fit;
}

// The fit worked out afresh; R squared only when asked for (the
// coefficients do not depend on it).
Fit ComputeFit(const TrendlineState& trend, bool with_r_squared) {
  auto series = trend.series.lock();
  if (!series || trend.type == xlMovingAvg) return {};
  if (trend.type == xlLinear) return SeriesStraightLine(*series, trend.intercept, with_r_squared);
  std::vector<double> x, y;
  ForEachKnownBlock(*series, [&](const double* xs, const double* ys, std::size_t m) {
    x.insert(x.end(), xs, xs + m);
    y.insert(y.end(), ys, ys + m);
  });
  switch (trend.type) {
    case xlPolynomial:
      return Polynomial(x, y, trend.order, trend.intercept, with_r_squared);
    case xlExponential:
    case xlLogarithmic:
    case xlPower: {
      const bool log_x = trend.type != xlExponential, log_y = trend.type != xlLogarithmic;
      for (std::size_t i = 0; i < x.size(); ++i) {
        if ((log_x && !(x[i] > 0)) || (log_y && !(y[i] > 0))) return {};
        if (log_x) x[i] = std::log(x[i]);
        if (log_y) y[i] = std::log(y[i]);
      }
      std::optional<double> intercept;
      if (trend.intercept) intercept = std::log(*trend.intercept);
      Fit fit = Polynomial(x, y, 1, intercept, with_r_squared);
      if (fit.coefficients.empty()) return fit;
      // Back from logarithms: c = e^a.
      if (log_y) {
        fit.coefficients[0] = trend.intercept ? *trend.intercept : std::exp(fit.coefficients[0]);
      }
      return fit;
    }
    default:
      return {};
  }
}

// The fit, kept on the trendline until its series' data, its type, order
// or intercept change.
Fit CachedFit(const TrendlineState& trend, bool with_r_squared) {
  auto series = trend.series.lock();
  if (!series || trend.type == xlMovingAvg) return {};
  TrendlineFitCache& cache = trend.fit_cache;
  const DataKey key = KeyOf(*series);
  const bool same = cache.key.generation != 0 && cache.key == key && cache.type == trend.type &&
                    cache.order == trend.order && cache.intercept == trend.intercept;
  if (!same || (with_r_squared && !cache.has_r_squared)) {
    Fit fit = ComputeFit(trend, with_r_squared);
    cache.key = key;
    cache.type = trend.type;
    cache.order = trend.order;
    cache.intercept = trend.intercept;
    cache.coefficients = std::move(fit.coefficients);
    cache.r_squared = fit.r_squared;
    cache.has_r_squared = with_r_squared;
  }
  Fit fit;
  fit.coefficients = cache.coefficients;
  if (with_r_squared) fit.r_squared = cache.r_squared;
  return fit;
}

}  // namespace

Fit FitTrendline(const TrendlineState& trend) { return CachedFit(trend, true); }

std::string TrendlineLabelText(const TrendlineState& trend) {
  if (!trend.display_equation && !trend.display_r_squared) return "";
  const Fit fit = CachedFit(trend, trend.display_r_squared);
  std::string equation;
  const auto& c = fit.coefficients;
  if (!c.empty()) {
    switch (trend.type) {
      case xlLinear:
      case xlPolynomial: {
        std::vector<std::pair<double, std::string>> terms;
        for (std::size_t j = c.size(); j-- > 1;)
          terms.emplace_back(
              c[j], j == 1 ? std::string("x") : std::string("x").append(std::to_string(j)));
        terms.emplace_back(c[0], "");
        equation = std::string("y = ").append(Terms(terms));
        break;
      }
      case xlExponential:
        equation = std::string("y = ")
                       .append(LabelGeneral(c[0]))
                       .append("e")
                       .append(LabelGeneral(c[1]))
                       .append("x");
        break;
      case xlLogarithmic:
        equation = std::string("y = ").append(Terms({{c[1], "ln(x)"}, {c[0], ""}}));
        break;
      case xlPower:
        equation =
            std::string("y = ").append(LabelGeneral(c[0])).append("x").append(LabelGeneral(c[1]));
        break;
      default:
        break;
    }
  }
  std::string text;
  if (trend.display_equation) text = equation;
  if (trend.display_r_squared && fit.r_squared) {
    if (!text.empty()) text += "\n";
    text.append("R\xC2\xB2 = ").append(LabelGeneral(*fit.r_squared));
  }
  return text;
}

}  // namespace detail

// ------------------------------------------------------------- Trendlines ---

std::int32_t Trendlines::Count() const {
  const SeriesState& series = *series_;
  CheckLive(series);
  return static_cast<std::int32_t>(series.trendlines.size());
}

Trendline Trendlines::Item(std::int32_t index) const {
  const SeriesState& series = *series_;
  CheckLive(series);
  if (index < 1 || static_cast<std::size_t>(index) > series.trendlines.size()) Raise(kErrSubscript);
  return Trendline(series.trendlines[static_cast<std::size_t>(index - 1)]);
}
Trendline Trendlines::operator()(std::int32_t index) const { return Item(index); }

Trendline Trendlines::Add(std::int32_t Type, std::optional<std::int32_t> Order,
                          std::optional<std::int32_t> Period, std::optional<double> Forward,
                          std::optional<double> Backward, std::optional<double> Intercept,
                          std::optional<bool> DisplayEquation, std::optional<bool> DisplayRSquared,
                          std::optional<std::string> Name) const {
  SeriesState& series = *series_;
  ChartState& chart = ChartOf(series);
  auto fail = [] { RaiseClassMethodFailed("Add", "Trendlines"); };
  if (!ValidType(Type) || IsPieType(series.chart_type) || IsPieType(chart.chart_type)) fail();
  if (Order && (*Order < 2 || *Order > 6)) fail();
  if (Period && (*Period < 2 || static_cast<std::size_t>(*Period) > series.values.count)) fail();
  if ((Forward && !(*Forward >= 0)) || (Backward && !(*Backward >= 0))) fail();
  if (Intercept && (!TakesIntercept(Type) || !std::isfinite(*Intercept) ||
                    (Type == xlExponential && !(*Intercept > 0))))
    fail();
  if (DisplayEquation.value_or(false) && Type == xlMovingAvg) fail();

  auto trend = std::make_shared<TrendlineState>();
  trend->series = series_.Shared();
  trend->type = Type;
  if (Order) trend->order = *Order;
  if (Period) trend->period = *Period;
  trend->forward = Forward.value_or(0);
  trend->backward = Backward.value_or(0);
  trend->intercept = Intercept;
  trend->display_equation = DisplayEquation.value_or(false);
  trend->display_r_squared = DisplayRSquared.value_or(false);
  if (Name) {
    trend->name = *Name;
    trend->name_set = true;
  }
  trend->border = NewLine(xlContinuous);
  trend->label = NewText(series.chart.lock(), TextRole::TrendlineLabel);
  trend->label->owner = trend;
  trend->label->font = chart.chart_area_text->font;
  trend->label->auto_scale_font = chart.chart_area_auto_scale_font;
  series.trendlines.push_back(trend);
  return Trendline(trend);
}

// -------------------------------------------------------------- Trendline ---

std::int32_t Trendline::Type() const { return Live(trend_).type; }
void Trendline::LetType(std::int32_t value) const {
  TrendlineState& trend = Live(trend_);
  if (!ValidType(value) || (value == xlMovingAvg && trend.display_equation))
    RaiseUnableToSet("Type", "Trendline");
  trend.type = value;
  if (!TakesIntercept(value) ||
      (value == xlExponential && trend.intercept && !(*trend.intercept > 0)))
    trend.intercept.reset();
}
std::int32_t Trendline::Order() const { return Live(trend_).order; }
void Trendline::LetOrder(std::int32_t value) const {
  TrendlineState& trend = Live(trend_);
  if (value < 2 || value > 6) RaiseUnableToSet("Order", "Trendline");
  trend.order = value;
}
std::int32_t Trendline::Period() const { return Live(trend_).period; }
void Trendline::LetPeriod(std::int32_t value) const {
  TrendlineState& trend = Live(trend_);
  auto series = trend.series.lock();
  const std::size_t points = series ? series->values.count : 0;
  if (value < 2 || static_cast<std::size_t>(value) > points)
    RaiseUnableToSet("Period", "Trendline");
  trend.period = value;
}
double Trendline::Intercept() const {
  const TrendlineState& trend = Live(trend_);
  return trend.intercept ? *trend.intercept : 0;
}
void Trendline::LetIntercept(double value) const {
  TrendlineState& trend = Live(trend_);
  if (!TakesIntercept(trend.type) || !std::isfinite(value) ||
      (trend.type == xlExponential && !(value > 0)))
    RaiseUnableToSet("Intercept", "Trendline");
  trend.intercept = value;
}
bool Trendline::InterceptIsAuto() const { return !Live(trend_).intercept; }
void Trendline::LetInterceptIsAuto(bool value) const {
  TrendlineState& trend = Live(trend_);
  if (value) {
    trend.intercept.reset();
    return;
  }
  if (!TakesIntercept(trend.type)) RaiseUnableToSet("InterceptIsAuto", "Trendline");
  if (!trend.intercept) trend.intercept = trend.type == xlExponential ? 1.0 : 0.0;
}
bool Trendline::DisplayEquation() const { return Live(trend_).display_equation; }
void Trendline::LetDisplayEquation(bool value) const {
  TrendlineState& trend = Live(trend_);
  if (value && trend.type == xlMovingAvg) RaiseUnableToSet("DisplayEquation", "Trendline");
  trend.display_equation = value;
}
bool Trendline::DisplayRSquared() const { return Live(trend_).display_r_squared; }
void Trendline::LetDisplayRSquared(bool value) const {
  TrendlineState& trend = Live(trend_);
  if (value && trend.type == xlMovingAvg) RaiseUnableToSet("DisplayRSquared", "Trendline");
  trend.display_r_squared = value;
}
double Trendline::Forward() const { return Live(trend_).forward; }
void Trendline::LetForward(double value) const {
  TrendlineState& trend = Live(trend_);
  if (!(value >= 0) || !std::isfinite(value)) RaiseUnableToSet("Forward", "Trendline");
  trend.forward = value;
}
double Trendline::Backward() const { return Live(trend_).backward; }
void Trendline::LetBackward(double value) const {
  TrendlineState& trend = Live(trend_);
  if (!(value >= 0) || !std::isfinite(value)) RaiseUnableToSet("Backward", "Trendline");
  trend.backward = value;
}

std::string Trendline::Name() const {
  const TrendlineState& trend = Live(trend_);
  if (trend.name_set) return trend.name;
  auto series = trend.series.lock();
  const std::string of =
      std::string(" (").append(series ? series->name : std::string()).append(")");
  switch (trend.type) {
    case xlPolynomial:
      return std::string("Poly.").append(of);
    case xlExponential:
      return std::string("Expon.").append(of);
    case xlLogarithmic:
      return std::string("Log.").append(of);
    case xlPower:
      return std::string("Power").append(of);
    case xlMovingAvg:
      return std::to_string(trend.period).append(" per. Mov. Avg.").append(of);
    default:
      return std::string("Linear").append(of);
  }
}
void Trendline::LetName(std::string_view value) const {
  TrendlineState& trend = Live(trend_);
  trend.name = std::string(value);
  trend.name_set = true;
}

excel::DataLabel Trendline::DataLabel() const {
  TrendlineState& trend = Live(trend_);
  if (!trend.display_equation && !trend.display_r_squared)
    RaiseUnableToGet("DataLabel", "Trendline");
  return excel::DataLabel(trend.label);
}

ChartBorder Trendline::Border() const { return ChartBorder(Live(trend_).border); }

std::int32_t Trendline::Index() const {
  TrendlineState& trend = Live(trend_);
  auto series = trend.series.lock();
  if (series)
    for (std::size_t i = 0; i < series->trendlines.size(); ++i)
      if (series->trendlines[i].get() == &trend) return static_cast<std::int32_t>(i + 1);
  RaiseApplicationDefined();
}

void Trendline::Delete() const {
  TrendlineState& trend = Live(trend_);
  if (auto series = trend.series.lock()) {
    auto& all = series->trendlines;
    all.erase(
        std::remove_if(all.begin(), all.end(), [&](const auto& t) { return t.get() == &trend; }),
        all.end());
  }
  trend.deleted = true;
}

std::vector<double> Trendline::Coefficients() const {
  return FitTrendline(Live(trend_)).coefficients;
}
std::optional<double> Trendline::RSquared() const { return FitTrendline(Live(trend_)).r_squared; }
std::string Trendline::EquationText() const {
  TrendlineState copy = Live(trend_);
  copy.display_equation = true;
  copy.display_r_squared = false;
  return TrendlineLabelText(copy);
}

}  // namespace orv::excel
