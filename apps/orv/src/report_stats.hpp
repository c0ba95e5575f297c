#pragma once
// The statistics of a report, computed with the library's classes:
// descriptive statistics with confidence intervals of the means (CMatrix
// Descriptives, ORV_IDF_t), the correlation matrix with two-tailed p-values
// (CMatrix Correlation, ORV_CDF_t), principal components of the correlation
// matrix (EigenValuesAndVectors), and with a grouping variable a one-way
// analysis of variance per variable with Tukey-Kramer comparisons
// (ORV_CDF_Q), plus the bins of a histogram (clsMain AxisTicks).
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
};

struct CorrelationTable {
  CMatrix r;        // p x p
  Array<double> p;  // p x p, NaN on the diagonal
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
  Array<double> sds;    // k x p, NaN for a group of one
};

struct AnovaRow {
  double ss_between = 0, df_between = 0, ms_between = 0;
  double ss_within = 0, df_within = 0, ms_within = 0;
  double f = 0, p = 0;  // f is +inf when every group is constant
};

struct TukeyRow {
  Long variable = 0;           // from 1
  Long first = 0, second = 0;  // groups, from 1, first < second
  double difference = 0;       // mean of second - mean of first
  double se = 0, q = 0, p = 0;
};

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

// Sturges' rule (ceil(log2 n) + 1 bins) on limits made nice by
// clsMain.AxisTicks; counts of column `variable` of `values`.
Histogram SturgesHistogram(const Array<double>& values, Long variable);

}  // namespace orv::report
