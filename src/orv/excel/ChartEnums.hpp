#pragma once
// The enumeration values of shapes and charts, as the spreadsheet
// application publishes them. Members that take one of these accept the
// plain number, so values read from clsConstants pass straight through.
#include <cstdint>

namespace orv::excel {

enum XlChartType : std::int32_t {
  xlArea = 1,
  xlLine = 4,
  xlPie = 5,
  xlColumnClustered = 51,
  xlColumnStacked = 52,
  xlColumnStacked100 = 53,
  xlBarClustered = 57,
  xlBarStacked = 58,
  xlLineStacked = 63,
  xlLineMarkers = 65,
  xlLineMarkersStacked = 66,
  xlXYScatterSmooth = 72,
  xlXYScatterSmoothNoMarkers = 73,
  xlXYScatterLines = 74,
  xlXYScatterLinesNoMarkers = 75,
  xlXYScatter = -4169,
  xlDoughnut = -4120,
};

enum XlAxisType : std::int32_t { xlCategory = 1, xlValue = 2, xlSeriesAxis = 3 };
enum XlAxisGroup : std::int32_t { xlPrimary = 1, xlSecondary = 2 };
enum XlRowCol : std::int32_t { xlRows = 1, xlColumns = 2 };

enum XlMarkerStyle : std::int32_t {
  xlMarkerStyleAutomatic = -4105,
  xlMarkerStyleCircle = 8,
  xlMarkerStyleDash = -4115,
  xlMarkerStyleDiamond = 2,
  xlMarkerStyleDot = -4118,
  xlMarkerStyleNone = -4142,
  xlMarkerStylePicture = -4147,
  xlMarkerStylePlus = 9,
  xlMarkerStyleSquare = 1,
  xlMarkerStyleStar = 5,
  xlMarkerStyleTriangle = 3,
  xlMarkerStyleX = -4168,
};

enum XlTrendlineType : std::int32_t {
  xlExponential = 5,
  xlLinear = -4132,
  xlLogarithmic = -4133,
  xlMovingAvg = 6,
  xlPolynomial = 3,
  xlPower = 4,
};

enum XlTickMark : std::int32_t {
  xlTickMarkCross = 4,
  xlTickMarkInside = 2,
  xlTickMarkNone = -4142,
  xlTickMarkOutside = 3,
};

enum XlTickLabelPosition : std::int32_t {
  xlTickLabelPositionHigh = -4127,
  xlTickLabelPositionLow = -4134,
  xlTickLabelPositionNextToAxis = 4,
  xlTickLabelPositionNone = -4142,
};

enum XlAxisCrosses : std::int32_t {
  xlAxisCrossesAutomatic = -4105,
  xlAxisCrossesCustom = -4114,
  xlAxisCrossesMaximum = 2,
  xlAxisCrossesMinimum = 4,
};

enum XlDataLabelsType : std::int32_t {
  xlDataLabelsShowNone = -4142,
  xlDataLabelsShowValue = 2,
  xlDataLabelsShowPercent = 3,
  xlDataLabelsShowLabel = 4,
  xlDataLabelsShowLabelAndPercent = 5,
  xlDataLabelsShowBubbleSizes = 6,
};

enum XlLineStyle : std::int32_t {
  xlContinuous = 1,
  xlDash = -4115,
  xlDashDot = 4,
  xlDashDotDot = 5,
  xlDot = -4118,
  xlDouble = -4119,
  xlSlantDashDot = 13,
  xlLineStyleNone = -4142,
};

enum XlBorderWeight : std::int32_t {
  xlHairline = 1,
  xlThin = 2,
  xlMedium = -4138,
  xlThick = 4,
};

enum XlColorIndex : std::int32_t {
  xlColorIndexAutomatic = -4105,
  xlColorIndexNone = -4142,
};

// Text orientation of titles: these, or degrees from -90 to 90.
enum XlOrientation : std::int32_t {
  xlHorizontal = -4128,
  xlVertical = -4166,
  xlUpward = -4171,
  xlDownward = -4170,
};

enum MsoTriState : std::int32_t { msoTrue = -1, msoFalse = 0 };

enum MsoShapeType : std::int32_t { msoAutoShape = 1, msoChart = 3, msoTextBox = 17 };
enum MsoAutoShapeType : std::int32_t { msoShapeRectangle = 1, msoShapeOval = 9 };

}  // namespace orv::excel
