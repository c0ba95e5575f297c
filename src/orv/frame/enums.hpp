#pragma once
// The enumerations the library shares with its front end. All are 32-bit.
// Enumerations whose members carry the orv/ORV prefix are plain enums, so
// their members read as they are written (orvErrInvalidRange,
// orvSortDescending); the few whose members have bare names (All, Rows,
// Symmetric, ...) are scoped, so those names stay out of the namespace
// (ORVMatrixItemOpDirection::Rows). Names that the interface spells in
// two ways (orvSortRows / ORVSortRows) are both present: the interface does
// not tell case apart.
#include <cstdint>

#include "orv/frame/Error.hpp"

namespace orv {

// Failure numbers: the object-error base plus 5000 and up.
enum ORVError : std::int32_t {
  orvErrInvalidRange = kObjectErrorBase + 5000,
  orvErrStart = orvErrInvalidRange,
  orvMinError = orvErrInvalidRange,
  orvErrInvalidOutputRange = kObjectErrorBase + 5001,
  orvErrNoInputRange = kObjectErrorBase + 5002,
  orvErrNoOutputRange = kObjectErrorBase + 5003,
  orvErrNoStatsSpecified = kObjectErrorBase + 5004,
  orvErrNoNumericalData = kObjectErrorBase + 5005,
  orvErrNODATA = kObjectErrorBase + 5006,
  orvErrOverwriteData = kObjectErrorBase + 5007,
  orvErrRangeTooBig = kObjectErrorBase + 5008,
  orvErrInvalidYRange = kObjectErrorBase + 5009,
  orvErrInvalidXRange = kObjectErrorBase + 5010,
  orvErrNoYRange = kObjectErrorBase + 5011,
  orvErrNoXRange = kObjectErrorBase + 5012,
  orvErrYRangeMulticols = kObjectErrorBase + 5013,
  orvErrBlankYCells = kObjectErrorBase + 5016,
  orvErrBLANKXCELLS = kObjectErrorBase + 5017,
  orvErrUnevenXYRange = kObjectErrorBase + 5018,
  orvErrCasesGreaterVariables = kObjectErrorBase + 5019,
  orvErrXYOverlap = kObjectErrorBase + 5020,
  orvErrNoVarRange = kObjectErrorBase + 5021,
  orvErrTooFewVariables = kObjectErrorBase + 5022,
  orvErrInvalidVarRange = kObjectErrorBase + 5023,
  orvErrInvalidInputRange = kObjectErrorBase + 5024,
  orvErrBlankFactorCells = kObjectErrorBase + 5025,
  orvErrNoFactorData = kObjectErrorBase + 5026,
  orvErrUnevenYFactorRanges = kObjectErrorBase + 5027,
  orvErrUnevenYXRanges = kObjectErrorBase + 5028,
  orvErrNoXData = kObjectErrorBase + 5029,
  orvErrInvalidFactorRange = kObjectErrorBase + 5030,
  orvErrNoYVariance = kObjectErrorBase + 5031,
  orvErrNoXVariance = kObjectErrorBase + 5032,
  orvErrMissingGroups = kObjectErrorBase + 5033,
  orvErrInvalidModel = kObjectErrorBase + 5034,
  orvErrNoRepeats = kObjectErrorBase + 5035,
  orvErrUnevenYRanges = kObjectErrorBase + 5036,
  orvErrUnevenFactorRanges = kObjectErrorBase + 5037,
  orvErrUnevenXRanges = kObjectErrorBase + 5038,
  orvErrNoFactorsInModel = kObjectErrorBase + 5039,
  orvErrNoOpsInModel = kObjectErrorBase + 5040,
  orvErrParsingError = kObjectErrorBase + 5041,
  orvErrModelTooComplex = kObjectErrorBase + 5042,
  orvErrUnbalancedParentheses = kObjectErrorBase + 5043,
  orvErrEmptyParentheses = orvErrUnbalancedParentheses,
  orvErrNoFactorRange = kObjectErrorBase + 5044,
  orverrNoNumericalYData = kObjectErrorBase + 5045,
  orvErrNoNumericalXData = kObjectErrorBase + 5046,
  orvErrMatrixMultiply = kObjectErrorBase + 5047,
  orvErrTooFewYs = kObjectErrorBase + 5048,
  orvErrTooFewXs = kObjectErrorBase + 5049,
  orvErrTooFewYRows = kObjectErrorBase + 5050,
  orvErrTooFewXRows = kObjectErrorBase + 5051,
  orvErrTooManyYS = kObjectErrorBase + 5052,
  orvErrTooManyXS = kObjectErrorBase + 5053,
  orvErrTooFewData = kObjectErrorBase + 5054,
  orvErrExpectedIsZero = kObjectErrorBase + 5055,
  orvErrNoZRange = kObjectErrorBase + 5056,
  orvErrInvalidZRange = kObjectErrorBase + 5057,
  orvErrTooManyZs = kObjectErrorBase + 5058,
  orvErrBlankZCells = kObjectErrorBase + 5059,
  orvErrNoNumericalZData = kObjectErrorBase + 5060,
  orvErrNoZData = kObjectErrorBase + 5061,
  orvErrNoZVariance = kObjectErrorBase + 5062,
  orvErrUnevenYZRange = kObjectErrorBase + 5063,
  orvErrInvalidFreqDist = kObjectErrorBase + 5064,
  orvErrExpectedsNotCumulative = kObjectErrorBase + 5065,
  orvErrNonYInteger = kObjectErrorBase + 5066,
  orvErrNonXInteger = kObjectErrorBase + 5067,
  orvErrNonZInteger = kObjectErrorBase + 5068,
  orvErrNegativeY = kObjectErrorBase + 5069,
  orvErrNegativeX = kObjectErrorBase + 5070,
  orvErrMultipleRangesSelected = kObjectErrorBase + 5071,
  orvErrUnevenZRanges = kObjectErrorBase + 5072,
  orvErrNoEigensGreaterThan0 = kObjectErrorBase + 5073,
  orvErrSingleCaseGroup = kObjectErrorBase + 5080,
  orvErrTooFewZRows = kObjectErrorBase + 5081,
  orvErrNegativeZ = kObjectErrorBase + 5082,
  orvErrTooFewFactorRows = kObjectErrorBase + 5083,
  orvErrUDFError = kObjectErrorBase + 5084,
  orvErrToleranceTooLow = kObjectErrorBase + 5085,
  orvErrNoFreqRange = kObjectErrorBase + 5086,
  orvErrInvalidFreqRange = kObjectErrorBase + 5087,
  orvErrInvalidBinRange = kObjectErrorBase + 5088,
  orvErrInvalidHistogramBinRange = kObjectErrorBase + 5089,
  orvErrNoVariableData = kObjectErrorBase + 5090,
  orvErrUnevenVariableRanges = kObjectErrorBase + 5091,
  orvErrTooFewVariableRows = kObjectErrorBase + 5092,
  orvErrBlankVariableCells = kObjectErrorBase + 5093,
  orvErrNoVariableVariance = kObjectErrorBase + 5094,
  orvErrNonVariableInteger = kObjectErrorBase + 5095,
  orvErrNegativeVariable = kObjectErrorBase + 5096,
  orvErrUnevenVariableXRanges = kObjectErrorBase + 5097,
  orvErrTooManyVariables = kObjectErrorBase + 5098,
  orvErrBinRangeInconsistent = kObjectErrorBase + 5099,
  orvErrFitNormalExtremeNot0 = kObjectErrorBase + 5100,
  orvErrInvalidValue = kObjectErrorBase + 5101,
  orvErrMatrixNotSymmetric = kObjectErrorBase + 5102,
  orvErrMatrixNotCorrelation = kObjectErrorBase + 5103,
  orvErrMatrixNotCovariance = kObjectErrorBase + 5104,
  orvErrEnd = orvErrMatrixNotCovariance,
  orvMaxError = orvErrMatrixNotCovariance,
};

enum ORVMatrixError : std::int32_t {
  MXNotPositiveDefinite = kObjectErrorBase + 6000,
};

enum ORVMessageBoxStyle : std::int32_t { ORVInfo = 1, ORVQuestion = 2 };

enum ORVReferenceMode : std::int32_t { ORVRangeMode = 0, ORVTableMode = 1, ORVCursorMode = 2 };

enum class ORVNumericDataType : std::int32_t { XData = 0, YData = 1, ZData = 2, variable = 3 };

enum class ORVStringDataType : std::int32_t { FactorData = 3, NonNumericData = 4 };

enum class ORVMatrixType : std::int32_t { Symmetric = 0, Correlation = 1, Covariance = 2 };

enum RowOrCol : std::int32_t { orvRow = 0, orvColumn = 1 };

enum ORVSortType : std::int32_t {
  orvSortRows = 0,
  orvSortColumns = 1,
  ORVSortRows = orvSortRows,
  ORVSortColumns = orvSortColumns,
};

enum ORVSortDirection : std::int32_t {
  orvSortAscending = 0,
  orvSortDescending = 1,
  ORVSortAscending = orvSortAscending,
  ORVSortDescending = orvSortDescending,
};

enum ORVMatrixDirection : std::int32_t {
  ORVMDALL = 0,
  ORVMDColumns = 1,
  ORVMDRows = 2,
  ORVMDDiagonal = 3
};

enum ORVMatrixVector : std::int32_t { ORVMVColumn = 0, ORVMVRow = 1, ORVMVDiagonal = 2 };

enum class ORVMatrixItemOpDirection : std::int32_t {
  All = 0,
  Columns = 1,
  Rows = 2,
  DiagonalColumns = 3,
  DiagonalRows = 4,
};

enum ORVPSCrosshairs : std::int32_t {
  orvPSNone = 0,
  orvPSHorizontal = 1,
  orvPSVertical = 2,
  orvPSBoth = 3
};

enum ORVPSRegression : std::int32_t {
  orvPSRegNone = 0,
  ORVPSRegCalculate = 1,
  ORVPSRegSpecified = 2
};

enum ORVHistogramDataType : std::int32_t { ORVHistogramNumerical = 0, ORVHistogramCategorical = 1 };

enum ORVQuickHelpScrollMode : std::int32_t { ORVNoScroll = 0, ORVTabOnly = 1, ORVScroll = 2 };

// The analysis dialogs of the front end; the library only publishes them.
enum ORVForms : std::int32_t {
  ORVFactor = 1,
  orvGLMFF = 2,
  orvGLMRM = 3,
  orvGLMUD = 4,
  orvHCluster = 5,
  orvFFitContTwoWay = 6,
  orvFFitContMultiWay = 7,
  orvFFitBinomial = 8,
  orvFFitUserSpecified = 9,
  orvFFitUniform = 10,
  orvFFitPoisson = 11,
  orvFFitNormal = 12,
  orvFFitCircular = 13,
  orvFCorrSimple = 14,
  orvFCorrPartial = 15,
  orvFCorrMultiple = 16,
  orvFCorrCanonical = 17,
  orvFDescriptiveStats = 18,
  orvFDescriptiveStatsCirc = 19,
  orvFDiscrim = 20,
  orvFClassify = 21,
  orvFLRegression = 22,
  orvFNPMannU = 23,
  orvFNPWilcoxon = 24,
  orvFNPSpearman = 25,
  orvFNPSign = 26,
  orvFNPMedian = 27,
  orvFNPFriedman = 28,
  orvFNPKWallis = 29,
  orvFNPWWRuns = 30,
  orvFPCA = 31,
  orvFtTest1Sample = 32,
  orvFtTest2Sample = 33,
  orvFtTestMulti1Sample = 34,
  orvFtTestMulti2Sample = 35,
  orvFFrequencyDist = 36,
  orvFLRegressionCompare = 37,
};

}  // namespace orv
