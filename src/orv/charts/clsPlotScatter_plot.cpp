// clsPlotScatter: drawing the chart, the computed bands and the star.
#include <algorithm>
#include <string>

#include "orv/charts/clsPlotScatter_state.hpp"
#include "orv/excel/excel.hpp"
#include "orv/output/clsMain.hpp"

namespace orv {

using namespace charts_detail;

namespace {

constexpr std::string_view kClass = "clsPlotScatter";

// Points of a computed band.
constexpr Long kBandPoints = 10;
// List elements (ray ends and origins) per star series.
constexpr Long kStarChunk = 20;
// Fraction of the data range added to each end of an axis.
constexpr double kAxisBuffer = 0.01;
// The marker of given bands over equal X values: a dash.
constexpr std::int32_t kDashMarker = -4115;
// A trendline through the given bands: a quadratic.
constexpr std::int32_t kBandTrendType = 3;
constexpr std::int32_t kBandTrendOrder = 2;

// A range the plot needs; 91 when the property was never set.
const excel::Range& Needed(const excel::Range& range) {
  if (range.IsNothing()) Raise(kErrObjectNotSet);
  return range;
}

// Code points of a UTF-8 text, as the chart counts characters.
std::int32_t CharacterCount(const std::string& text) {
  std::int32_t count = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++count;
  return count;
}

Array<double> Pair(double first, double second) {
  Array<double> a(1, 2);
  a.At(1) = first;
  a.At(2) = second;
  return a;
}

// No marker, a black hairline of the given style.
void GuideFormat(const excel::Series& series, std::int32_t line_style) {
  const ExcelConstants& xl = Xl();
  series.LetMarkerStyle(xl.xlMarkerStyleNone);
  const excel::ChartBorder border = series.Border();
  border.LetColorIndex(kBlackIndex);
  border.LetWeight(xl.xlHairline);
  border.LetLineStyle(line_style);
}
void FormatA(const excel::Series& series) { GuideFormat(series, Xl().xlDot); }
void FormatB(const excel::Series& series) { GuideFormat(series, Xl().xlContinuous); }

excel::Series AddSeries(const excel::Chart& chart, const std::string& name, const Variant& xvalues,
                        const Variant& values) {
  const excel::Series series = chart.SeriesCollection().NewSeries();
  series.LetValues(values);
  series.LetXValues(xvalues);
  series.LetName(name);
  return series;
}

// The axis bounds AxisTicks chose, set on the axis.
struct Scale {
  double min = 0, max = 0, unit = 0;
  Long decimals = 0;
};

Scale ScaleAxis(const excel::Axis& axis, double data_min, double data_max, Long ticks) {
  const ExcelConstants& xl = Xl();
  Scale scale;
  clsMain().AxisTicks(data_min, data_max, ticks, kAxisBuffer, scale.min, scale.max, scale.unit,
                      scale.decimals);
  axis.LetMinimumScale(scale.min);
  axis.LetMaximumScale(scale.max);
  axis.LetMajorUnit(scale.unit);
  axis.TickLabels().LetNumberFormat(
      scale.decimals == 0 ? std::string("0")
                          : "0." + std::string(static_cast<std::size_t>(scale.decimals), '0'));
  axis.LetCrosses(xl.xlCustom);
  axis.LetCrossesAt(axis.MinimumScale());
  return scale;
}

// Shows a label on every point of the series and sets each point's text.
template <class TextOf>
void LabelPoints(const excel::Series& series, TextOf&& text_of) {
  series.ApplyDataLabels(Xl().xlDataLabelsShowLabel, true, false);
  const Long count = series.Points().Count();
  for (Long k = 1; k <= count; ++k) {
    const excel::DataLabel label = series.Points(k).DataLabel();
    label.LetText(text_of(k));
    label.Font().LetSize(8);
    label.LetAutoScaleFont(false);
  }
}

// Raises the running maximum and lowers the running minimum to take in v.
void TakeIn(double v, double& lo, double& hi) {
  if (v > hi) hi = v;
  if (v < lo) lo = v;
}

}  // namespace

struct clsPlotScatter::Band {
  Array<double> x, upper, lower;
};

// One drawing of the chart: a step for each labelled part of CreatePlot,
// and what the steps hand on to each other.
struct clsPlotScatter::Drawing {
  clsPlotScatter& plot;
  State& s;
  const ExcelConstants& xl = Xl();
  excel::ChartObject chart_object{};
  excel::Chart chart{};
  excel::Series data{};
  // The X data's extremes, used again by the lines and bands: the cells do
  // not change while the chart is drawn.
  double xmin = 0, xmax = 0;
  Scale xscale{};
  // The Y axis's ticks and bounds, and the running bounds of what it must
  // take in.
  Long yticks = 0;
  double yLo = 0, yHi = 0, rMin = 0, rMax = 0;

  // Chart creation at the output range's first cell.
  void AddChart() {
    Needed(s.OutputRange);
    chart_object = AddChartObject(s);
  }

  // Drawn without repainting (left off), on the selected chart object.
  void Select() { SelectChartObject(chart_object); }

  // A clean chart: whatever series it came with go, failures ignored.
  void Clear() {
    chart = chart_object.Chart();
    ClearSeries(chart);
  }

  // The chart: a scatter without legend in the theme's colour.
  void StyleChart() {
    chart.LetHasLegend(false);
    chart.LetChartType(xl.xlXYScatter);
    const excel::ChartArea area = chart.ChartArea();
    area.Interior().LetColor(s.Settings.TitleBackColour());
    area.LetAutoScaleFont(false);
    area.Font().LetName("Arial");
    area.Font().LetSize(8);
  }

  // The data: small dark blue circles.
  void AddData() {
    const excel::Range& yvalues = Needed(s.YValues);
    const excel::Range& xvalues = Needed(s.XValues);
    data = chart.SeriesCollection().NewSeries();
    data.LetValues(yvalues);
    data.LetXValues(xvalues);
    data.LetName("Data");
    data.LetMarkerStyle(xl.xlCircle);
    data.LetMarkerSize(3);
    data.LetMarkerBackgroundColorIndex(kDarkBlueIndex);
    data.LetMarkerForegroundColorIndex(kDarkBlueIndex);
  }

  // One label per point, DataLabels(1) on the first.
  void LabelData() {
    if (!s.DataLabels.IsArray()) return;
    LabelPoints(data, [&](Long k) { return CStr(s.DataLabels.Element(k)); });
  }

  // A transparent plot area, framed on request.
  void StylePlotArea() {
    const excel::PlotArea area = chart.PlotArea();
    area.Fill().LetVisible(xl.msoFalse);
    if (s.AreaBorder) {
      area.Border().LetLineStyle(xl.xlContinuous);
      area.Border().LetWeight(xl.xlHairline);
      area.Border().LetColorIndex(kBlackIndex);
    } else {
      area.Border().LetLineStyle(xl.xlLineStyleNone);
    }
  }

  // The title: bold 10 points; a subtitle goes on a second, plain 8-point
  // line (the run starts at the line break).
  void Title() {
    if (s.ChartTitle.empty() && s.ChartSubtitle.empty()) {
      chart.LetHasTitle(false);
      return;
    }
    chart.LetHasTitle(true);
    const excel::ChartTitle title = chart.ChartTitle();
    title.LetAutoScaleFont(false);
    title.Font().LetSize(10);
    title.Font().LetBold(true);
    title.LetText(s.ChartTitle);
    if (s.ChartSubtitle.empty()) return;
    if (s.ChartTitle.empty()) {
      title.LetText(s.ChartSubtitle);
      return;
    }
    title.LetText(s.ChartTitle + '\r' + s.ChartSubtitle);
    const excel::ChartFont second =
        title.Characters(CharacterCount(s.ChartTitle) + 1, CharacterCount(s.ChartSubtitle) + 1)
            .Font();
    second.LetBold(false);
    second.LetSize(8);
  }

  // The X axis scaled to its data.
  void XAxis() {
    const excel::Axis axis = chart.Axes(xl.xlCategory, xl.xlPrimary);
    DressAxis(axis, s.XAxisTitle, {.TitleSize = 8, .TickMark = xl.xlTickMarkOutside});
    const excel::WorksheetFunction wf = excel::CurrentApplication().WorksheetFunction();
    xmin = wf.Min(s.XValues);
    xmax = wf.Max(s.XValues);
    xscale = ScaleAxis(axis, xmin, xmax, s.ChartWidth > 250 ? 9 : 6);
  }

  // The Y axis scaled to its data; its bounds may widen later to take in
  // the regression line and the bands.
  void YAxis() {
    const excel::Axis axis = chart.Axes(xl.xlValue, xl.xlPrimary);
    DressAxis(axis, s.YAxisTitle, {.TitleSize = 8, .TickMark = xl.xlTickMarkOutside});
    const excel::WorksheetFunction wf = excel::CurrentApplication().WorksheetFunction();
    yticks = s.ChartHeight > 250 ? 9 : 6;
    const Scale yscale = ScaleAxis(axis, wf.Min(s.YValues), wf.Max(s.YValues), yticks);
    yLo = rMin = yscale.min;
    yHi = rMax = yscale.max;
  }

  // The regression line: the chart's own linear fit, or the given one.
  void Regression() {
    if (s.Regression == ORVPSRegCalculate) {
      const excel::SeriesCollection all = chart.SeriesCollection();
      const excel::Trendline trend = all.Item(all.Count()).Trendlines().Add();
      trend.LetType(xl.xlLinear);
      if (s.ConstantIs0) trend.LetIntercept(0);
      trend.Border().LetWeight(xl.xlThin);
      // A label that does not parse leaves the line as it was.
      ResumeNext([&] { ReadFit(trend); });
    } else if (s.Regression == ORVPSRegSpecified) {
      const double ya = Add(Mul(s.Slope, xmin), s.Intercept);
      const double yb = Add(Mul(s.Slope, xmax), s.Intercept);
      const excel::Series regression =
          AddSeries(chart, "Regression", Variant(Pair(xmin, xmax)), Variant(Pair(ya, yb)));
      regression.LetMarkerStyle(xl.xlMarkerStyleNone);
      regression.Border().LetColorIndex(kBlackIndex);
      regression.Border().LetWeight(xl.xlThin);
      regression.Border().LetLineStyle(xl.xlContinuous);
      TakeIn(ya, rMin, rMax);
      TakeIn(yb, rMin, rMax);
    }
  }

  // The fitted line read back from the trendline's equation label into
  // Slope and Intercept, its ends taken into the Y bounds.
  void ReadFit(const excel::Trendline& trend) {
    trend.LetDisplayEquation(true);
    const std::string text = trend.DataLabel().Text();
    trend.LetDisplayEquation(false);
    const std::size_t equals = text.find("= ");
    const std::size_t ex = text.find('x');
    if (equals == std::string::npos || ex == std::string::npos || ex < equals + 2)
      Raise(kErrInvalidCall);
    plot.LetSlope(CDbl(Variant(text.substr(equals + 2, ex - equals - 2))));
    if (s.ConstantIs0) {
      plot.LetIntercept(0);
    } else {
      // Without "+ " the text from the second character on is read, which
      // never converts.
      const std::size_t plus = text.find("+ ");
      plot.LetIntercept(
          CDbl(Variant(plus == std::string::npos ? text.substr(1) : text.substr(plus + 2))));
    }
    TakeIn(Add(Mul(s.Slope, xmin), s.Intercept), rMin, rMax);
    TakeIn(Add(Mul(s.Slope, xmax), s.Intercept), rMin, rMax);
  }

  // Bands computed here from the data.
  void ComputedBands() {
    if (s.ConfidenceLimits <= 0 && s.PredictionLimits <= 0 && !s.StandardError) return;
    const Band band = plot.GetCL(s);
    const Variant x(band.x);
    const excel::Series upper = AddSeries(chart, "UpperBand", x, Variant(band.upper));
    upper.LetSmooth(true);
    FormatA(upper);
    const excel::Series lower = AddSeries(chart, "LowerBand", x, Variant(band.lower));
    lower.LetSmooth(true);
    FormatA(lower);
    const double top_end = std::max(band.upper.At(1), band.upper.At(kBandPoints));
    if (top_end > rMax) rMax = top_end;
    const double bottom_end = std::min(band.lower.At(1), band.lower.At(kBandPoints));
    if (bottom_end < rMin) rMin = bottom_end;
  }

  // Bands given as ranges: each drawn by a quadratic trendline, or as
  // dashes when every X is the same.
  void GivenBands() {
    if (s.CLLower.IsNothing() || s.CLUpper.IsNothing()) return;
    const bool flat = xmin == xmax;
    for (const auto& [name, range] :
         {std::pair{"LowerBand", s.CLLower}, std::pair{"UpperBand", s.CLUpper}}) {
      const excel::Series band = chart.SeriesCollection().NewSeries();
      band.LetValues(range);
      band.LetXValues(s.XValues);
      band.LetName(name);
      band.Border().LetLineStyle(xl.xlNone);
      if (flat) {
        band.LetMarkerStyle(kDashMarker);
        band.LetMarkerForegroundColorIndex(kDarkBlueIndex);
      } else {
        band.LetMarkerStyle(xl.xlMarkerStyleNone);
        const excel::Trendline trend = band.Trendlines().Add();
        trend.LetType(kBandTrendType);
        trend.LetOrder(kBandTrendOrder);
        trend.Border().LetWeight(xl.xlHairline);
        trend.Border().LetLineStyle(xl.xlDot);
      }
    }
    const excel::WorksheetFunction wf = excel::CurrentApplication().WorksheetFunction();
    const double upper_max = wf.Max(s.CLUpper);
    if (upper_max > rMax) rMax = upper_max;
    const double lower_min = wf.Min(s.CLLower);
    if (lower_min < rMin) rMin = lower_min;
  }

  // The Y axis scaled again when the lines or bands reach beyond it.
  void WidenYAxis() {
    if (rMax > yHi || rMin < yLo) {
      const Scale rescaled = ScaleAxis(chart.Axes(xl.xlValue, xl.xlPrimary), rMin, rMax, yticks);
      yLo = rescaled.min;
      yHi = rescaled.max;
    }
  }

  // The star: rays from the origin in series of at most 20 list elements,
  // each ray's end labelled, its origin blank.
  void Star() {
    if (!s.DrawStar) return;
    plot.RescaleStar(s);
    chart.LetChartType(xl.xlXYScatter);
    const Array<double>& xs = *s.StarX.ArrayOf<double>();
    const Array<double>& ys = *s.StarY.ArrayOf<double>();
    const Long total = xs.UBound(1);
    const bool labelled = !s.StarLabels.IsEmpty();
    for (Long i = 1; i <= total; i += kStarChunk) {
      const Long last = std::min(i + kStarChunk - 1, total);
      Array<double> cx(1, last - i + 1), cy(1, last - i + 1);
      for (Long k = i; k <= last; ++k) {
        cx.At(k - i + 1) = xs.At(k, 1);
        cy.At(k - i + 1) = ys.At(k, 1);
      }
      const excel::Series rays = chart.SeriesCollection().NewSeries();
      rays.LetValues(Variant(std::move(cy)));
      rays.LetXValues(Variant(std::move(cx)));
      FormatB(rays);
      LabelPoints(rays, [&](Long c) -> std::string {
        if (c % 2 == 0 && labelled) return CStr(s.StarLabels.Element((i + c - 1) / 2));
        return " ";
      });
    }
  }

  // Guide lines through the origin across the final axes.
  void Crosshairs() {
    if (s.Crosshairs <= 0) return;
    if (s.Crosshairs == orvPSVertical || s.Crosshairs == orvPSBoth)
      FormatA(AddSeries(chart, "VGuide", Variant(Pair(0, 0)), Variant(Pair(yLo, yHi))));
    if (s.Crosshairs == orvPSHorizontal || s.Crosshairs == orvPSBoth)
      FormatA(
          AddSeries(chart, "HGuide", Variant(Pair(xscale.min, xscale.max)), Variant(Pair(0, 0))));
  }

  // The free line segment.
  void Segment() {
    if (!s.DrawLine) return;
    chart.LetChartType(xl.xlXYScatter);
    const excel::Series segment =
        AddSeries(chart, "Line", Variant(Pair(s.X1, s.X2)), Variant(Pair(s.Y1, s.Y2)));
    segment.LetMarkerStyle(xl.xlMarkerStyleNone);
    FormatB(segment);
  }
};

void clsPlotScatter::CreatePlot() {
  static constexpr Member kCreatePlot{Rule::Chain, kClass, "CreatePlot"};
  Drawing d{*this, *state_};
  Guard(kCreatePlot, [&](Line& line) {
    line = 10;
    d.AddChart();
    line = 20;
    d.Select();
    line = 30;
    Reposition(d.s);
    line = 40;
    d.Clear();
    line = 50;
    d.StyleChart();
    line = 60;
    d.AddData();
    line = 70;
    d.LabelData();
    line = 80;
    d.StylePlotArea();
    line = 90;
    d.Title();
    line = 100;
    d.XAxis();
    line = 110;
    d.YAxis();
    line = 120;
    d.Regression();
    line = 130;
    d.ComputedBands();
    line = 140;
    d.GivenBands();
    line = 150;
    d.WidenYAxis();
    line = 160;
    d.Star();
    line = 170;
    d.Crosshairs();
    line = 180;
    d.Segment();
  });
}

clsPlotScatter::Band clsPlotScatter::GetCL(const State& s) const {
  static constexpr Member kGetCL{Rule::Chain, kClass, "GetCL"};
  return Guard(kGetCL, [&](Line& line) {
    line = 10;
    const excel::WorksheetFunction wf = excel::CurrentApplication().WorksheetFunction();
    const excel::Range X = Needed(s.XValues).Columns(1);
    const excel::Range Y = Needed(s.YValues).Columns(1);
    const double n = wf.Count(X);
    const double xbar = wf.Average(X);
    const double ybar = wf.Average(Y);
    const double xmin = wf.Min(X);
    const double step = Div(Sub(wf.Max(X), xmin), 9);
    const double Sx = wf.Sum(X);
    const double Sy = wf.Sum(Y);
    const double Qy = wf.SumSq(Y);
    const double Qx = wf.SumSq(X);
    const double P = wf.SumProduct(Y, X);
    const double Sxx = Sub(Qx, Div(Mul(Sx, Sx), n));
    const double Sxy = Sub(P, Div(Mul(Sx, Sy), n));

    line = 20;
    const bool prediction = s.PredictionLimits >= 1 && s.PredictionLimits <= 100;
    const double pred = prediction ? 1 : 0;

    line = 30;
    double b, a, s2, df;
    if (!s.ConstantIs0) {
      b = Div(Sxy, Sxx);
      a = Sub(ybar, Mul(xbar, b));
      const double Syy = Sub(Qy, Div(Mul(Sy, Sy), n));
      s2 = Div(Sub(Syy, Div(Mul(Sxy, Sxy), Sxx)), n - 2);
      df = n - 2;
    } else {
      b = Div(P, Qx);
      a = 0;
      s2 = Div(Sub(Qy, Div(Mul(P, P), Qx)), n - 1);
      df = n - 1;
    }

    line = 40;
    // Without a level the bands lie one standard error from the line.
    double t = 1;
    Integer level = 0;
    if (prediction)
      level = s.PredictionLimits;
    else if (s.ConfidenceLimits >= 1 && s.ConfidenceLimits <= 100)
      level = s.ConfidenceLimits;
    if (level != 0) t = wf.TInv(1 - level / 100.0, df);

    line = 50;
    Band band{Array<double>(1, kBandPoints), Array<double>(1, kBandPoints),
              Array<double>(1, kBandPoints)};
    for (Long i = 1; i <= kBandPoints; ++i) {
      const double xi = Add(Mul(i - 1, step), xmin);
      double h;
      if (!s.ConstantIs0) {
        const double d = Sub(xi, xbar);
        h = Sqrt(Mul(Add(Add(Div(Mul(d, d), Sxx), Div(1, n)), pred), s2));
      } else {
        h = Sqrt(Mul(Add(Div(Mul(xi, xi), Qx), pred), s2));
      }
      const double fit = Add(Mul(b, xi), a);
      const double spread = Mul(h, t);
      band.x.At(i) = CSng(xi);
      band.upper.At(i) = CSng(Add(fit, spread));
      band.lower.At(i) = CSng(Sub(fit, spread));
    }
    return band;
  });
}

void clsPlotScatter::RescaleStar(State& s) const {
  static constexpr Member kRescaleStar{Rule::Chain, kClass, "RescaleStar"};
  Guard(kRescaleStar, [&](Line& line) {
    const excel::WorksheetFunction wf = excel::CurrentApplication().WorksheetFunction();
    // The factor that brings the star's extremes to the data's.
    auto factor = [&](const excel::Range& data, const Variant& star) {
      const double star_min = wf.Min(star), star_max = wf.Max(star);
      const double m1 = star_min == 0 ? 0 : Div(wf.Min(data), star_min);
      const double m2 = star_max == 0 ? 0 : Div(wf.Max(data), star_max);
      if (m1 > 0 && m2 > 0) return std::min(m1, m2);
      if (m1 > 0) return m1;
      if (m2 > 0) return m2;
      return 1.0;
    };

    line = 10;
    const double fX = factor(Needed(s.XValues), s.StarX);

    line = 20;
    const double fY = factor(Needed(s.YValues), s.StarY);
    const double f = std::min(fX, fY);

    line = 30;
    // The lists are columns again, so that a second plot finds a star of
    // 2n points (every other one the origin) and rescales that.
    const Long n = s.StarX.UBound(1);
    Array<double> xs(1, 2 * n, 1, 1), ys(1, 2 * n, 1, 1);
    for (Long i = 1; i <= n; ++i) {
      xs.At(2 * i - 1, 1) = 0;
      xs.At(2 * i, 1) = Mul(f, CDbl(s.StarX.Element(i, 1)));
      ys.At(2 * i - 1, 1) = 0;
      ys.At(2 * i, 1) = Mul(f, CDbl(s.StarY.Element(i, 1)));
    }
    s.StarX = Variant(std::move(xs));
    s.StarY = Variant(std::move(ys));
  });
}

}  // namespace orv
