#pragma once
// The statistics of a report: descriptive statistics, correlations with
// p-values and Fisher-z limits, principal components, with a grouping
// variable a one-way analysis of variance per variable with Tukey-Kramer
// comparisons, and the bins of a histogram, all from the analysis layer
// (orv/analysis/statistics.hpp); here the regression bands of the report's
// scatter plot.
//
// Values that do not exist (the p-value of a variable with itself, the SD
// of a group of one) are NaN.
#include <string>
#include <vector>

#include "orv/analysis/statistics.hpp"
#include "orv/frame/frame.hpp"
#include "orv/matrix/CMatrix.hpp"
#include "report_input.hpp"

namespace orv::report {

using analysis::AnovaRow;
using analysis::ComponentTable;
using analysis::CorrelationPValue;
using analysis::CorrelationTable;
using analysis::DescriptiveTable;
using analysis::GroupTable;
using analysis::Histogram;
using analysis::TukeyRow;

// The least-squares line of variable 2 on variable 1 with its pointwise
// confidence band (of the mean response) and prediction band (of a new
// case) at the report's level, at evenly spaced x from the smallest to the
// largest x: fit -/+ t s sqrt(1/n + (x - mean)^2 / Sxx [+ 1]), t on n - 2 df.
struct RegressionBands {
  std::vector<double> x, fit, confidence_lower, confidence_upper, prediction_lower,
      prediction_upper;
};
inline constexpr Long kBandPoints = 25;

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

RegressionBands Bands(const Array<double>& values, double level);

// Sturges' rule (ceil(log2 n) + 1 bins) on limits made nice by
// clsMain.AxisTicks; counts of column `variable` of `values`.
Histogram SturgesHistogram(const Array<double>& values, Long variable);

}  // namespace orv::report
