#pragma once
// The statistics of a report, computed with the library's classes:
// descriptive statistics with confidence intervals of the means (CMatrix
// Descriptives, ORV_IDF_t), the correlation matrix with two-tailed p-values
// (CMatrix Correlation, ORV_CDF_t), principal components of the correlation
// matrix (EigenValuesAndVectors), and with a grouping variable a one-way
// analysis of variance per variable with Tukey-Kramer comparisons (the
// accurate studentized range of StudentizedRangeCdf / Quantile), plus the bins of a histogram (clsMain AxisTicks).
//
// Values that do not exist (the p-value of a variable with itself, the SD
// of a group of one) are NaN.
#include <string>
#include <vector>

#include "orv/frame/frame.hpp"
#include "orv/matrix/CMatrix.hpp"
#include "report_input.hpp"

namespace orv::report {

struct DescriptiveTable {
  // Each p x 1, as CMatrix.Descriptives returns them.
  CMatrix means, sds, ses, counts;
  // The two-tailed t quantile of the level with n - 1 degrees of freedom.
  double t = 0;
  // 1 To p.
  Array<double> lower, upper, minimum, maximum;
  // Quartiles as R's quantile type 7 (the spreadsheet's QUARTILE.INC);
  // skewness and excess kurtosis as the bias-adjusted G1 and G2 (the
  // spreadsheet's SKEW and KURT, e1071 type 2): NaN for a constant
  // variable, and kurtosis NaN below four cases.
  Array<double> q1, median, q3, skewness, kurtosis;
};

struct CorrelationTable {
  CMatrix r;        // p x p, exactly 1 on the diagonal
  Array<double> p;  // p x p, NaN on the diagonal
  // The confidence limits of r by Fisher's z, tanh(atanh r -/+ z(level) /
  // sqrt(n - 3)), p x p; NaN on the diagonal and with three cases.
  Array<double> lower, upper;
  Long n = 0;  // the cases of each pair: every case is complete
};

struct ComponentTable {
  CMatrix eigen;             // (p + 1) x p, as EigenValuesAndVectors returns it
  Array<double> values;      // 1 To p, descending
  Array<double> percent;     // of the total variance
  Array<double> cumulative;  // percent
  Array<double> loadings;    // p x p: eigenvector x sqrt(eigenvalue)
};

struct GroupTable {
  std::vector<std::string> labels;  // in order of first appearance
  std::vector<Long> sizes;
  Array<double> means;  // k x p
  // k x p, NaN for a group of one: SD, SE and the confidence limits of the
  // mean (t on n - 1 df at the report's level).
  Array<double> sds, ses, lower, upper;
  Array<double> medians;  // k x p
};

struct AnovaRow {
  double ss_between = 0, df_between = 0, ms_between = 0;
  double ss_within = 0, df_within = 0, ms_within = 0;
  double f = 0, p = 0;  // f is +inf when every group is constant
  double ss_total = 0, df_total = 0;
  // SS between / SS total, and (SS between - df between MS within) /
  // (SS total + MS within).
  double eta_squared = 0, omega_squared = 0;
  // Brown-Forsythe: the F test above on |x - median of its group|, on the
  // same df; NaN when every case sits on its group's median.
  double bf_f = 0, bf_p = 0;
  // Welch's F and its denominator df; NaN when a group has fewer than two
  // cases or no spread.
  double welch_f = 0, welch_df = 0, welch_p = 0;
};

struct TukeyRow {
  Long variable = 0;           // from 1
  Long first = 0, second = 0;  // groups, from 1, first < second
  double difference = 0;       // mean of second - mean of first
  // The standard error of the difference, sqrt(MSE (1/n1 + 1/n2)); q is
  // |difference| / (se / sqrt 2), p its upper tail on k groups and the
  // error df; lower and upper the simultaneous confidence limits at the
  // report's level, difference -/+ q(level) se / sqrt 2.
  double se = 0, lower = 0, upper = 0, q = 0, p = 0;
};

// The least-squares line of variable 2 on variable 1 with its pointwise
// confidence band (of the mean response) and prediction band (of a new
// case) at the report's level, at evenly spaced x from the smallest to the
// largest x: fit -/+ t s sqrt(1/n + (x - mean)^2 / Sxx [+ 1]), t on n - 2 df.
struct RegressionBands {
  std::vector<double> x, fit, confidence_lower, confidence_upper, prediction_lower,
      prediction_upper;
};
inline constexpr Long kBandPoints = 25;

struct Histogram {
  Long variable = 1;
  // Bins [from, to), the last one closed; limits rounded to `decimals`.
  std::vector<double> from, to;
  std::vector<double> counts;
  Long decimals = 0;
  Long sturges = 0;  // the number of bins Sturges' rule asked for
};

struct Analysis {
  double level = 0.95;
  Long n = 0, p = 0;
  DescriptiveTable descriptives;
  // With at least two variables.
  bool correlated = false;
  CorrelationTable correlations;
  ComponentTable components;
  RegressionBands bands;
  // With a grouping variable.
  bool grouped = false;
  GroupTable groups;
  std::vector<AnovaRow> anova;  // one per variable
  std::vector<TukeyRow> tukey;  // variable by variable, pairs in order
  Histogram histogram;
};

Analysis Analyse(const ReportData& data, double level);

// The two-tailed p-value of a correlation r of n cases: t = r sqrt((n - 2) /
// (1 - r^2)) on n - 2 degrees of freedom; 0 when |r| is 1.
double CorrelationPValue(double r, Long n);

RegressionBands Bands(const Array<double>& values, double level);

// Sturges' rule (ceil(log2 n) + 1 bins) on limits made nice by
// clsMain.AxisTicks; counts of column `variable` of `values`.
Histogram SturgesHistogram(const Array<double>& values, Long variable);

}  // namespace orv::report
