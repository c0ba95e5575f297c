// Multiple linear regression by the sweep of the predictors' cross
// products (CMatrix.GeneralInverse).
#include <algorithm>
#include <cmath>

#include "orv/analysis/analysis_detail.hpp"
#include "orv/charts/clsPlotScatter.hpp"
#include "orv/matrix/CMatrix.hpp"

namespace orv::analysis {

using namespace detail;

namespace {

// A predictor whose share of variance not explained by the others is
// below this is a linear combination of them: the design is singular.
constexpr double kToleranceLimit = 1e-10;

// The cross products of the predictors (centred on their means with an
// intercept) and their sweep.
struct Sweep {
  CMatrix cross, inverse;
};

Sweep CrossProducts(const std::vector<std::vector<double>>& x, const std::vector<double>& means) {
  const Long p = static_cast<Long>(x.size());
  Array<double> a(1, p, 1, p);
  for (Long j = 1; j <= p; ++j)
    for (Long k = 1; k <= j; ++k) {
      double sum = 0;
      const auto& u = x[static_cast<std::size_t>(j - 1)];
      const auto& v = x[static_cast<std::size_t>(k - 1)];
      const double mu = means[static_cast<std::size_t>(j - 1)],
                   mv = means[static_cast<std::size_t>(k - 1)];
      for (std::size_t i = 0; i < u.size(); ++i) sum += (u[i] - mu) * (v[i] - mv);
      a(j, k) = a(k, j) = sum;
    }
  Sweep s;
  s.cross.LetValues(a);
  s.inverse = s.cross.GeneralInverse();
  return s;
}

}  // namespace

static Result RegressUnguarded(const Selection& s, const Options& o, const excel::Workbook& out) {
  if (s.y.IsNothing()) Fail(orvErrNoYRange, "a regression needs the response variable (y)");
  if (s.x.empty()) Fail(orvErrNoXRange, "a regression needs at least one predictor (x)");
  const bool intercept = !o.through_origin;
  const std::size_t p = s.x.size();
  const long k0 = intercept ? 1 : 0;
  Selection picked = s;
  picked.group = excel::Range(Nothing);
  const Cases c = ReadCases(picked, o, static_cast<long>(p) + k0 + 1);
  const std::vector<double>& y = c.columns.back();
  const std::vector<std::vector<double>> x(c.columns.begin(), c.columns.end() - 1);
  const long n = c.Count();
  RequireVariance(c, p, "the response has no variance to explain");
  if (intercept)
    for (std::size_t j = 0; j < p; ++j)
      RequireVariance(c, j, "a constant predictor duplicates the intercept");

  std::vector<double> means(p, 0.0), origin(p, 0.0);
  for (std::size_t j = 0; j < p; ++j) means[j] = Mean(x[j]);
  const double ybar = Mean(y);
  const Sweep fit = CrossProducts(x, intercept ? means : origin);
  const Sweep centred = intercept ? fit : CrossProducts(x, means);
  for (std::size_t j = 0; j < p; ++j) {
    const Long jj = static_cast<Long>(j + 1);
    const double tolerance = 1 / (fit.cross.Item(jj, jj) * fit.inverse.Item(jj, jj));
    if (!(fit.inverse.Item(jj, jj) > 0) || tolerance < kToleranceLimit)
      Fail(orvErrToleranceTooLow,
           c.places[j] + " is a linear combination of " +
               (p > 1 ? std::string("the other predictors") : "the intercept") +
               (intercept && p > 1 ? " and the intercept" : "") +
               ": the design is singular; leave it out");
  }

  // Coefficients: the swept cross products times those with y.
  Array<double> xy(1, static_cast<Long>(p), 1, 1);
  for (std::size_t j = 0; j < p; ++j) {
    double sum = 0;
    const double mx = intercept ? means[j] : 0, my = intercept ? ybar : 0;
    for (long i = 0; i < n; ++i)
      sum += (x[j][static_cast<std::size_t>(i)] - mx) * (y[static_cast<std::size_t>(i)] - my);
    xy(static_cast<Long>(j + 1), 1) = sum;
  }
  CMatrix cross_y;
  cross_y.LetValues(xy);
  const CMatrix b = fit.inverse.Multiply(cross_y);
  double b0 = intercept ? ybar : 0;
  for (std::size_t j = 0; j < p && intercept; ++j)
    b0 -= b.Item(static_cast<Long>(j + 1)) * means[j];

  std::vector<double> fitted(static_cast<std::size_t>(n)), residual(static_cast<std::size_t>(n));
  double rss = 0, tss = 0;
  for (std::size_t i = 0; i < fitted.size(); ++i) {
    double f = b0;
    for (std::size_t j = 0; j < p; ++j) f += b.Item(static_cast<Long>(j + 1)) * x[j][i];
    fitted[i] = f;
    residual[i] = y[i] - f;
    rss += residual[i] * residual[i];
    const double d = intercept ? y[i] - ybar : y[i];
    tss += d * d;
  }
  const double df_res = static_cast<double>(n - static_cast<long>(p) - k0);
  const double df_reg = static_cast<double>(p);
  const double sigma2 = rss / df_res;
  const double r2 = 1 - rss / tss;
  const double f = ((tss - rss) / df_reg) / sigma2;
  const double f_p = FUpperTail(f, df_reg, df_res);
  const double q = TQuantile(o.level, df_res);
  const double sd_y = SD(y, ybar);

  Result r = Begin("Regression", c);
  Table summary{"Model summary",
                "",
                {"N", "R squared", "Adjusted R squared", "SE of regression", "F", "p"},
                {},
                {}};
  summary.AddRow("Model",
                 {static_cast<double>(n), r2, 1 - (1 - r2) * (static_cast<double>(n - k0) / df_res),
                  std::sqrt(sigma2), f, f_p});
  Table anova{"Analysis of variance", "Source", {"SS", "df", "MS", "F", "p"}, {}, {}};
  anova.AddRow("Regression", {tss - rss, df_reg, (tss - rss) / df_reg, f, f_p});
  anova.AddRow("Residual", {rss, df_res, sigma2});
  anova.AddRow("Total", {tss, df_reg + df_res});
  Table coefficients{"Coefficients",
                     "Term",
                     {"Coefficient", "SE", "t", "p", "Lower CL", "Upper CL", "Standardized", "VIF"},
                     {},
                     {}};
  auto add = [&](const std::string& term, double estimate, double variance, double standardized,
                 double vif) {
    const double se = std::sqrt(variance), t = estimate / se;
    coefficients.AddRow(term, {estimate, se, t, TwoTailedT(t, df_res), estimate - q * se,
                               estimate + q * se, standardized, vif});
  };
  if (intercept) {
    double v = 1.0 / static_cast<double>(n);
    for (std::size_t j = 0; j < p; ++j)
      for (std::size_t k = 0; k < p; ++k)
        v += means[j] * means[k] *
             fit.inverse.Item(static_cast<Long>(j + 1), static_cast<Long>(k + 1));
    add("Intercept", b0, sigma2 * v, std::nan(""), std::nan(""));
  }
  for (std::size_t j = 0; j < p; ++j) {
    const Long jj = static_cast<Long>(j + 1);
    const double bj = b.Item(jj);
    const double vif =
        intercept ? centred.cross.Item(jj, jj) * centred.inverse.Item(jj, jj) : std::nan("");
    add(c.names[j], bj, sigma2 * fit.inverse.Item(jj, jj), bj * SD(x[j], means[j]) / sd_y, vif);
  }
  r.tables = {std::move(summary), std::move(anova), std::move(coefficients)};
  std::string terms;
  for (std::size_t j = 0; j < p; ++j) terms += (j ? " + " : "") + c.names[j];
  r.notes.push_back(c.names[p] + " on " + terms + (intercept ? "" : ", through the origin"));
  r.notes.push_back(CasesNote(c) + "; " + LevelText(o.level) +
                    " confidence intervals; fitted values and residuals beside the data");

  r.data.push_back({c.names[p], y});
  for (std::size_t j = 0; j < p; ++j) r.data.push_back({c.names[j], x[j]});
  r.data.push_back({"Fitted", fitted});
  r.data.push_back({"Residual", residual});
  const excel::Worksheet sheet = WriteResult(r, out);

  const Integer percent = static_cast<Integer>(std::clamp(std::lround(o.level * 100), 1L, 99L));
  int slot = 0;
  if (p == 1)
    for (const bool prediction : {false, true}) {
      const std::string title = c.names[1] + " on " + c.names[0] + ", " + std::to_string(percent) +
                                (prediction ? "% prediction band" : "% confidence band");
      DrawChart(r, sheet, slot++, title, [&](const ChartPlace& at) {
        clsPlotScatter plot;
        Scatter(plot, at, sheet, r, 1, 0);
        plot.LetChartTitle(title);
        plot.LetRegression(ORVPSRegCalculate);
        plot.LetConstantIs0(!intercept);
        if (prediction)
          plot.LetPredictionLimits(percent);
        else
          plot.LetConfidenceLimits(percent);
        plot.CreatePlot();
      });
    }
  DrawChart(r, sheet, slot, "Residuals against fitted values", [&](const ChartPlace& at) {
    clsPlotScatter plot;
    Scatter(plot, at, sheet, r, p + 1, p + 2);
    plot.LetChartTitle("Residuals against fitted values");
    plot.LetCrosshairs(orvPSHorizontal);
    plot.CreatePlot();
  });
  return r;
}

Result Regress(const Selection& s, const Options& o, const excel::Workbook& out) {
  return Guarded([&] { return RegressUnguarded(s, o, out); });
}

}  // namespace orv::analysis
