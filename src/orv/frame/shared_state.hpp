#pragma once
// The process-wide state every class shares: one copy per process, zero,
// empty or unset until the front end fills it. Nothing is locked: every
// call arrives on the front end's one thread.
#include <cstdint>
#include <memory>
#include <string>

#include "orv/frame/Variant.hpp"

namespace orv {

// The values behind the clsProperties properties.
struct Settings {
  std::string themeName;
  std::int16_t themeVersion = 0;
  std::int32_t SummaryForeColour = 0, SummaryBackColour = 0;
  bool SummaryBold = false, SummaryItalic = false;
  std::int32_t TitleForeColour = 0, TitleBackColour = 0;
  bool TitlesBold = false, TitlesItalic = false;
  std::int32_t HeaderForeColour = 0, HeaderBackColour = 0;
  bool HeadersBold = false, HeadersItalic = false;
  bool HeaderWrap = false;
  std::int16_t HeaderAlign = 0;
  std::int32_t DataForeColour = 0, DataBackColour = 0;
  bool DataBold = false, DataItalic = false;
  std::string DecimalPlaces;
  bool RememberRefs = false;
  bool HelpOnTop = false;
  bool DisableSplash = false;
  bool QuickHelpVisible = false;
  std::int32_t QuickHelpScrollMode = 0;
};

// The values behind the clsConstants properties: Excel enumeration values
// the formatting and chart code passes to the workbook.
struct ExcelConstants {
  // Filled at load with the application's published enumeration values;
  // the front end may replace any of them.
  std::int32_t xlContinuous = 1;
  std::int32_t xlEdgeBottom = 9;
  std::int32_t xlHAlignGeneral = 1;
  std::int32_t xlHAlignLeft = -4131;
  std::int32_t xlHAlignCenter = -4108;
  std::int32_t xlHAlignRight = -4152;
  std::int32_t xlMedium = -4138;
  std::int32_t xlThin = 2;
  std::int32_t xlEdgeTop = 8;
  std::int32_t xlPasteAll = -4104;
  std::int32_t xlLineMarkers = 65;
  std::int32_t xlCircle = 8;
  std::int32_t xlLineStyleNone = -4142;
  std::int32_t xlCategory = 1;
  std::int32_t xlPrimary = 1;
  std::int32_t xlSecondary = 2;
  std::int32_t xlValue = 2;
  std::int32_t xlBoth = 1;
  std::int32_t xlUnderlineStyleNone = -4142;
  std::int32_t xlAutomatic = -4105;
  std::int32_t xlCorner = 2;
  std::int32_t xlY = 1;
  std::int32_t xlCap = 1;
  std::int32_t xlTickMarkOutside = 3;
  std::int32_t xlTickMarkCross = 4;
  std::int32_t xlNone = -4142;
  std::int32_t xlLabelPositionLeft = -4131;
  std::int32_t xlCustom = -4114;
  std::int32_t xlRows = 1;
  std::int32_t msoFalse = 0;
  std::int32_t xlDot = -4118;
  std::int32_t xlDataLabelsShowLabel = 4;
  std::int32_t xlHairline = 1;
  std::int32_t xlMarkerStyleNone = -4142;
  std::int32_t xlXYScatter = -4169;
  std::int32_t xlStockOHLC = 89;
  std::int32_t xlLocationAsObject = 2;
  std::int32_t xlLinear = -4132;
  std::int32_t xlPolynomial = 3;
  std::int32_t xlColumns = 2;
};

struct SharedState {
  // The workbook application the front end handed to clsMain.Excel.
  std::shared_ptr<Object> ExcelApplication;
  ExcelConstants Constants;
  Settings Properties;
};

SharedState& Shared();

}  // namespace orv
