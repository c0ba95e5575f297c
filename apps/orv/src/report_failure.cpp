#include "report_failure.hpp"

#include <map>

#include "orv/frame/enums.hpp"

namespace orv::report {

ReportFailure::ReportFailure(std::string message, const Error& raised, std::string member)
    : message_(std::move(message)),
      number_(raised.Number),
      member_(std::move(member)),
      source_(raised.Source) {}

ReportFailure::ReportFailure(std::string message, std::int32_t number)
    : message_(std::move(message)), number_(number) {}

std::string ReportFailure::Detail() const {
  if (!number_) return {};
  std::string text = "error " + std::to_string(*number_);
  const std::string name = ErrorName(*number_);
  if (!name.empty()) text += " (" + name + ")";
  if (!member_.empty()) text += " from " + member_;
  // A stamped source says where inside the library; the default one adds
  // nothing to the member's name.
  if (!source_.empty() && source_ != kDefaultSource) text += ", " + source_;
  return text;
}

std::string ErrorName(std::int32_t number) {
  static const std::map<std::int32_t, const char*> kNames = {
      {orvErrInvalidRange, "orvErrInvalidRange"},
      {orvErrInvalidOutputRange, "orvErrInvalidOutputRange"},
      {orvErrNoInputRange, "orvErrNoInputRange"},
      {orvErrNoOutputRange, "orvErrNoOutputRange"},
      {orvErrNoStatsSpecified, "orvErrNoStatsSpecified"},
      {orvErrNoNumericalData, "orvErrNoNumericalData"},
      {orvErrNODATA, "orvErrNODATA"},
      {orvErrOverwriteData, "orvErrOverwriteData"},
      {orvErrRangeTooBig, "orvErrRangeTooBig"},
      {orvErrInvalidYRange, "orvErrInvalidYRange"},
      {orvErrInvalidXRange, "orvErrInvalidXRange"},
      {orvErrNoYRange, "orvErrNoYRange"},
      {orvErrNoXRange, "orvErrNoXRange"},
      {orvErrYRangeMulticols, "orvErrYRangeMulticols"},
      {orvErrBlankYCells, "orvErrBlankYCells"},
      {orvErrBLANKXCELLS, "orvErrBLANKXCELLS"},
      {orvErrUnevenXYRange, "orvErrUnevenXYRange"},
      {orvErrCasesGreaterVariables, "orvErrCasesGreaterVariables"},
      {orvErrXYOverlap, "orvErrXYOverlap"},
      {orvErrNoVarRange, "orvErrNoVarRange"},
      {orvErrTooFewVariables, "orvErrTooFewVariables"},
      {orvErrInvalidVarRange, "orvErrInvalidVarRange"},
      {orvErrInvalidInputRange, "orvErrInvalidInputRange"},
      {orvErrBlankFactorCells, "orvErrBlankFactorCells"},
      {orvErrNoFactorData, "orvErrNoFactorData"},
      {orvErrUnevenYFactorRanges, "orvErrUnevenYFactorRanges"},
      {orvErrUnevenYXRanges, "orvErrUnevenYXRanges"},
      {orvErrNoXData, "orvErrNoXData"},
      {orvErrInvalidFactorRange, "orvErrInvalidFactorRange"},
      {orvErrNoYVariance, "orvErrNoYVariance"},
      {orvErrNoXVariance, "orvErrNoXVariance"},
      {orvErrMissingGroups, "orvErrMissingGroups"},
      {orvErrInvalidModel, "orvErrInvalidModel"},
      {orvErrNoRepeats, "orvErrNoRepeats"},
      {orvErrUnevenYRanges, "orvErrUnevenYRanges"},
      {orvErrUnevenFactorRanges, "orvErrUnevenFactorRanges"},
      {orvErrUnevenXRanges, "orvErrUnevenXRanges"},
      {orvErrNoFactorsInModel, "orvErrNoFactorsInModel"},
      {orvErrNoOpsInModel, "orvErrNoOpsInModel"},
      {orvErrParsingError, "orvErrParsingError"},
      {orvErrModelTooComplex, "orvErrModelTooComplex"},
      {orvErrUnbalancedParentheses, "orvErrUnbalancedParentheses"},
      {orvErrNoFactorRange, "orvErrNoFactorRange"},
      {orverrNoNumericalYData, "orverrNoNumericalYData"},
      {orvErrNoNumericalXData, "orvErrNoNumericalXData"},
      {orvErrMatrixMultiply, "orvErrMatrixMultiply"},
      {orvErrTooFewYs, "orvErrTooFewYs"},
      {orvErrTooFewXs, "orvErrTooFewXs"},
      {orvErrTooFewYRows, "orvErrTooFewYRows"},
      {orvErrTooFewXRows, "orvErrTooFewXRows"},
      {orvErrTooManyYS, "orvErrTooManyYS"},
      {orvErrTooManyXS, "orvErrTooManyXS"},
      {orvErrTooFewData, "orvErrTooFewData"},
      {orvErrExpectedIsZero, "orvErrExpectedIsZero"},
      {orvErrNoZRange, "orvErrNoZRange"},
      {orvErrInvalidZRange, "orvErrInvalidZRange"},
      {orvErrTooManyZs, "orvErrTooManyZs"},
      {orvErrBlankZCells, "orvErrBlankZCells"},
      {orvErrNoNumericalZData, "orvErrNoNumericalZData"},
      {orvErrNoZData, "orvErrNoZData"},
      {orvErrNoZVariance, "orvErrNoZVariance"},
      {orvErrUnevenYZRange, "orvErrUnevenYZRange"},
      {orvErrInvalidFreqDist, "orvErrInvalidFreqDist"},
      {orvErrExpectedsNotCumulative, "orvErrExpectedsNotCumulative"},
      {orvErrNonYInteger, "orvErrNonYInteger"},
      {orvErrNonXInteger, "orvErrNonXInteger"},
      {orvErrNonZInteger, "orvErrNonZInteger"},
      {orvErrNegativeY, "orvErrNegativeY"},
      {orvErrNegativeX, "orvErrNegativeX"},
      {orvErrMultipleRangesSelected, "orvErrMultipleRangesSelected"},
      {orvErrUnevenZRanges, "orvErrUnevenZRanges"},
      {orvErrNoEigensGreaterThan0, "orvErrNoEigensGreaterThan0"},
      {orvErrSingleCaseGroup, "orvErrSingleCaseGroup"},
      {orvErrTooFewZRows, "orvErrTooFewZRows"},
      {orvErrNegativeZ, "orvErrNegativeZ"},
      {orvErrTooFewFactorRows, "orvErrTooFewFactorRows"},
      {orvErrUDFError, "orvErrUDFError"},
      {orvErrToleranceTooLow, "orvErrToleranceTooLow"},
      {orvErrNoFreqRange, "orvErrNoFreqRange"},
      {orvErrInvalidFreqRange, "orvErrInvalidFreqRange"},
      {orvErrInvalidBinRange, "orvErrInvalidBinRange"},
      {orvErrInvalidHistogramBinRange, "orvErrInvalidHistogramBinRange"},
      {orvErrNoVariableData, "orvErrNoVariableData"},
      {orvErrUnevenVariableRanges, "orvErrUnevenVariableRanges"},
      {orvErrTooFewVariableRows, "orvErrTooFewVariableRows"},
      {orvErrBlankVariableCells, "orvErrBlankVariableCells"},
      {orvErrNoVariableVariance, "orvErrNoVariableVariance"},
      {orvErrNonVariableInteger, "orvErrNonVariableInteger"},
      {orvErrNegativeVariable, "orvErrNegativeVariable"},
      {orvErrUnevenVariableXRanges, "orvErrUnevenVariableXRanges"},
      {orvErrTooManyVariables, "orvErrTooManyVariables"},
      {orvErrBinRangeInconsistent, "orvErrBinRangeInconsistent"},
      {orvErrFitNormalExtremeNot0, "orvErrFitNormalExtremeNot0"},
      {orvErrInvalidValue, "orvErrInvalidValue"},
      {orvErrMatrixNotSymmetric, "orvErrMatrixNotSymmetric"},
      {orvErrMatrixNotCorrelation, "orvErrMatrixNotCorrelation"},
      {orvErrMatrixNotCovariance, "orvErrMatrixNotCovariance"},
  };
  const auto it = kNames.find(number);
  if (it != kNames.end()) return it->second;
  if (number > 0 && number < 1000) {
    const std::string text = StandardDescription(number);
    if (text != StandardDescription(kObjectErrorBase)) return text;
  }
  return {};
}

std::string DescribeError(const Error& error) {
  std::string text = error.Description;
  text += " (error " + std::to_string(error.Number);
  const std::string name = ErrorName(error.Number);
  if (!name.empty() && name != error.Description) text += ", " + name;
  if (!error.Source.empty()) text += ", " + error.Source;
  return text + ")";
}

}  // namespace orv::report
