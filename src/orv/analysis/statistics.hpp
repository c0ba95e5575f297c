#pragma once
// The statistics the descriptive, correlation, ANOVA and principal-component
// analyses (and the combined report) compute, on plain arrays: `values` is a
// 1 To n, 1 To p array of n cases of p variables, `groups` one label per
// case. They compute with the library's classes (CMatrix Descriptives and
// EigenValuesAndVectors, CDistributions, the studentized range, clsMain
// AxisTicks) and return the numbers at full precision, indexed from 1 as the
// arrays are. Values that do not exist (the SD of a group of one, the
// kurtosis of three cases) are NaN. The callers check their input: every
// function here takes at least two cases (Descriptives at least one per
// group).
//
//   const DescriptiveTable d = Descriptives(values, 0.95);
//   const GroupTable g = SummariseGroups(values, labels, 0.95);
//   const std::vector<AnovaRow> a = OneWayAnova(values, d, g);
//   const std::vector<TukeyRow> t = TukeyKramer(g, a, 0.95);
#include <string>
#include <vector>

#include "orv/frame/frame.hpp"
#include "orv/matrix/CMatrix.hpp"

namespace orv::analysis {

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
  // variable, skewness NaN below three cases and kurtosis below four.
  Array<double> q1, median, q3, skewness, kurtosis;
};

struct GroupTable {
  std::vector<std::string> labels;  // in order of first appearance
  std::vector<Long> sizes;
  std::vector<std::vector<Long>> cases;  // of each group, from 1
  Array<double> means;                   // k x p
  // k x p, NaN for a group of one: SD, SE and the confidence limits of the
  // mean (t on n - 1 df at the level).
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
  // level, difference -/+ q(level) se / sqrt 2.
  double se = 0, lower = 0, upper = 0, q = 0, p = 0;
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

enum class BinRule { sturges, freedman_diaconis };

struct Histogram {
  Long variable = 1;
  // Bins [from, to), the last one closed; limits rounded to `decimals`.
  std::vector<double> from, to;
  std::vector<double> counts;
  Long decimals = 0;
  Long sturges = 0;  // the number of bins Sturges' rule asks for
  Long asked = 0;    // the number of bins the rule (or the caller) asked for
};

DescriptiveTable Descriptives(const Array<double>& values, double level);

// The cases of each group in order of the groups' first appearance, and
// their means, spread and medians.
GroupTable SummariseGroups(const Array<double>& values, const std::vector<std::string>& groups,
                           double level);

// The rows of `values` numbered in `cases` (from 1), in that order.
Array<double> CasesOf(const Array<double>& values, const std::vector<Long>& cases);

// One-way analysis of variance of each variable across the groups, with
// Brown-Forsythe's and Welch's tests; `overall` gives the grand means.
std::vector<AnovaRow> OneWayAnova(const Array<double>& values, const DescriptiveTable& overall,
                                  const GroupTable& g);

// Every pair of groups of every variable, at the level.
std::vector<TukeyRow> TukeyKramer(const GroupTable& g, const std::vector<AnovaRow>& anova,
                                  double level);

// Pearson's r of every pair of variables with its two-tailed p-value and
// Fisher-z limits at the level.
CorrelationTable Correlations(const Array<double>& values, double level);
// The two-tailed p-value of a correlation r of n cases: t = r sqrt((n - 2) /
// (1 - r^2)) on n - 2 degrees of freedom; 0 when |r| is 1.
double CorrelationPValue(double r, Long n);

// Principal components of a correlation matrix.
ComponentTable PrincipalComponents(const CMatrix& correlation);

// R's quantile type 7 of sorted values: x[h] interpolated at h = (n - 1) p.
double Quantile7(const std::vector<double>& sorted, double prob);

// Bins of column `variable`: as many as the rule asks (Sturges: ceil(log2
// n) + 1; Freedman-Diaconis: range / (2 IQR) n^(1/3) rounded up, as R's
// nclass.FD, which widens the quartiles' span when it is 0) on limits made
// nice by clsMain.AxisTicks, or `bins` equal parts of the range when
// positive (and where the axis scaling cannot serve).
Histogram HistogramBins(const Array<double>& values, Long variable, BinRule rule = BinRule::sturges,
                        Long bins = 0);

}  // namespace orv::analysis
