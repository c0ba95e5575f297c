// Trendlines: the least-squares fits and the equation labels.
#include "excel_test_util.hpp"

using namespace orv;
using namespace orv::excel;

namespace {
struct Plot : Book {
  Chart chart = sheet.ChartObjects().Add(0, 0, 300, 200).Chart();
  Series series;

  Plot(std::initializer_list<double> x, std::initializer_list<double> y) {
    chart.LetChartType(xlXYScatter);
    series = chart.SeriesCollection().NewSeries();
    series.LetName("Data");
    series.LetXValues(Vec(x));
    series.LetValues(Vec(y));
  }
  // The equation label of a new trendline of the type.
  std::string Label(std::int32_t type = xlLinear, std::optional<std::int32_t> order = std::nullopt,
                    std::optional<double> intercept = std::nullopt) {
    Trendline t = series.Trendlines().Add(type, order);
    if (intercept) t.LetIntercept(*intercept);
    t.LetDisplayEquation(true);
    return t.DataLabel().Text();
  }
};
}  // namespace

TEST(DrawingTrendline, LinearEquationLabels) {
  // Least squares on exact lines, slope Sxy / Sxx.
  EXPECT_EQ(Plot({1, 2, 3, 4}, {1.75, 2.25, 2.75, 3.25}).Label(), "y = 0.5x + 1.25");
  // A negative intercept reads " - ", with no "+ ".
  EXPECT_EQ(Plot({1, 2, 3, 4}, {-1, 1, 3, 5}).Label(), "y = 2x - 3");
  EXPECT_EQ(Plot({1, 2, 3}, {3, 6, 9}).Label(), "y = 3x");
  EXPECT_EQ(Plot({1, 2, 3}, {2, 3, 4}).Label(), "y = x + 1");
  EXPECT_EQ(Plot({1, 2, 3}, {3, 2, 1}).Label(), "y = -x + 4");
  EXPECT_EQ(Plot({1, 2, 3}, {5, 5, 5}).Label(), "y = 5");
  // Through (0, 0.5) and (3, 1.5): a slope of eleven significant digits.
  EXPECT_EQ(Plot({0, 3}, {0.5, 1.5}).Label(), "y = 0.33333333333x + 0.5");

  // The scatter of (1, 3), (2, 4) through the origin: b = (3 + 8) / 5.
  Plot forced({1, 2}, {3, 4});
  EXPECT_EQ(forced.Label(xlLinear, std::nullopt, 0.0), "y = 2.2x");
  // Through y = 1: b = (1 x 2 + 2 x 3) / 5.
  EXPECT_EQ(forced.Label(xlLinear, std::nullopt, 1.0), "y = 1.6x + 1");
  // Free: through both points.
  EXPECT_EQ(forced.Label(), "y = x + 2");
}

TEST(DrawingTrendline, RSquaredAndCoefficients) {
  Plot p({1, 2}, {3, 4});
  Trendline t = p.series.Trendlines().Add(xlLinear);
  t.LetIntercept(0);
  t.LetDisplayEquation(true);
  t.LetDisplayRSquared(true);
  // Residuals 0.8 and -0.4 against y about 0: 1 - 0.8 / 25.
  EXPECT_EQ(t.DataLabel().Text(), "y = 2.2x\nR\xC2\xB2 = 0.968");
  t.LetInterceptIsAuto(true);
  EXPECT_EQ(t.Coefficients(), (std::vector<double>{2, 1}));
  EXPECT_EQ(t.RSquared(), 1.0);
  t.LetDisplayEquation(false);
  EXPECT_EQ(t.DataLabel().Text(), "R\xC2\xB2 = 1");
  t.LetDisplayRSquared(false);
  EXPECT_FAILS(1004, kXl, CantGet("DataLabel", "Trendline"), t.DataLabel());
  EXPECT_EQ(t.EquationText(), "y = x + 2");
  t.LetDisplayEquation(true);
}

TEST(DrawingTrendline, PolynomialAndCurves) {
  // y = 0.5 x^2 - 2x + 3 at x = 0 .. 4.
  Plot p({0, 1, 2, 3, 4}, {3, 1.5, 1, 1.5, 3});
  EXPECT_EQ(p.Label(xlPolynomial, 2), "y = 0.5x2 - 2x + 3");
  EXPECT_EQ(p.Label(xlPolynomial, 2, 3.0), "y = 0.5x2 - 2x + 3");

  // Fewer points than coefficients: no fit, an empty label.
  Plot few({1, 2, 3}, {1, 4, 2});
  EXPECT_EQ(few.Label(xlPolynomial, 3), "");
  EXPECT_TRUE(few.series.Trendlines(1).Coefficients().empty());

  EXPECT_EQ(Plot({0, 1, 2}, {2, 2 * std::exp(0.5), 2 * std::exp(1.0)}).Label(xlExponential),
            "y = 2e0.5x");
  EXPECT_EQ(Plot({1, 2, 4}, {1, 3 * std::log(2.0) + 1, 6 * std::log(2.0) + 1}).Label(xlLogarithmic),
            "y = 3ln(x) + 1");
  EXPECT_EQ(Plot({1, 4, 9}, {2, 16, 54}).Label(xlPower), "y = 2x1.5");
  // Logarithms of values not above 0: no fit.
  EXPECT_EQ(Plot({1, 2}, {0, 1}).Label(xlExponential), "");
}

TEST(DrawingTrendline, FitsThePointsThatHaveBothCoordinates) {
  Plot p({1, 2, 3, 4}, {1.75, 2.25, 2.75, 3.25});
  // A text is a blank among the values; the fifth point has no x.
  p.series.LetValues(Vec<Variant>({1.75, 2.25, "n/a", 3.25, 100.0}));
  EXPECT_EQ(p.Label(), "y = 0.5x + 1.25");
  // Text categories: the points sit at 1, 2, 3 ...
  Plot c({1, 2, 3}, {2, 4, 6});
  c.series.LetXValues(Vec<Variant>({"a", "b", "c"}));
  c.series.LetValues(Vec({5.0, 7.0, 9.0}));
  EXPECT_EQ(c.Label(), "y = 2x + 3");
}

TEST(DrawingTrendline, Failures) {
  Plot p({1, 2, 3}, {1, 2, 3});
  Trendlines all = p.series.Trendlines();
  const char* add = "Add method of Trendlines class failed";
  EXPECT_FAILS(1004, kXl, add, all.Add(7));
  EXPECT_FAILS(1004, kXl, add, all.Add(xlPolynomial, 7));
  EXPECT_FAILS(1004, kXl, add, all.Add(xlPolynomial, 1));
  EXPECT_FAILS(1004, kXl, add, all.Add(xlMovingAvg, std::nullopt, 4));
  EXPECT_FAILS(1004, kXl, add,
               all.Add(xlLogarithmic, std::nullopt, std::nullopt, std::nullopt, std::nullopt, 1.0));
  EXPECT_EQ(all.Count(), 0);
  Trendline t = all.Add(xlLogarithmic);
  EXPECT_FAILS(1004, kXl, CantSet("Intercept", "Trendline"), t.LetIntercept(0));
  t.LetType(xlPolynomial);
  EXPECT_EQ(t.Order(), 2);
  EXPECT_FAILS(1004, kXl, CantSet("Order", "Trendline"), t.LetOrder(7));
  EXPECT_FAILS(9, "ORVMain", "Subscript out of range", all(2));
  Trendline m = all.Add(xlMovingAvg, std::nullopt, 3);
  EXPECT_EQ(m.Name(), "3 per. Mov. Avg. (Data)");
  EXPECT_FAILS(1004, kXl, CantSet("DisplayEquation", "Trendline"), m.LetDisplayEquation(true));
  EXPECT_EQ(m.Index(), 2);
  t.Delete();
  EXPECT_EQ(m.Index(), 1);
  EXPECT_FAILS(1004, kXl, kNoDescription, t.Type());
}

TEST(DrawingTrendline, LabelGeneralFormat) {
  EXPECT_EQ(LabelGeneral(0), "0");
  EXPECT_EQ(LabelGeneral(-0.0), "0");
  EXPECT_EQ(LabelGeneral(0.1 + 0.2), "0.3");          // rounding hides the noise
  EXPECT_EQ(LabelGeneral(1.0 / 3), "0.33333333333");  // 11 significant digits
  EXPECT_EQ(LabelGeneral(123456.789012345), "123456.78901");
  EXPECT_EQ(LabelGeneral(12345678901.4), "12345678901");
  EXPECT_EQ(LabelGeneral(99999999999.6), "1E+11");  // rounds up to the exponent form
  EXPECT_EQ(LabelGeneral(123456789012.0), "1.2345678901E+11");
  EXPECT_EQ(LabelGeneral(0.000012345), "0.000012345");
  EXPECT_EQ(LabelGeneral(0.0000012345), "1.2345E-06");
  EXPECT_EQ(LabelGeneral(-2.5e-150), "-2.5E-150");
  EXPECT_EQ(LabelGeneral(1e300), "1E+300");
}
