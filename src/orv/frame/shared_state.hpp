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
  std::int32_t xlContinuous = 0, xlEdgeBottom = 0, xlHAlignGeneral = 0, xlHAlignLeft = 0,
               xlHAlignCenter = 0, xlHAlignRight = 0, xlMedium = 0, xlThin = 0, xlEdgeTop = 0,
               xlPasteAll = 0, xlLineMarkers = 0, xlCircle = 0, xlLineStyleNone = 0, xlCategory = 0,
               xlPrimary = 0, xlSecondary = 0, xlValue = 0, xlBoth = 0, xlUnderlineStyleNone = 0,
               xlAutomatic = 0, xlCorner = 0, xlY = 0, xlCap = 0, xlTickMarkOutside = 0,
               xlTickMarkCross = 0, xlNone = 0, xlLabelPositionLeft = 0, xlCustom = 0, xlRows = 0,
               msoFalse = 0, xlDot = 0, xlDataLabelsShowLabel = 0, xlHairline = 0,
               xlMarkerStyleNone = 0, xlXYScatter = 0, xlStockOHLC = 0, xlLocationAsObject = 0,
               xlLinear = 0, xlPolynomial = 0, xlColumns = 0;
};

struct SharedState {
  // The workbook application the front end handed to clsMain.Excel.
  std::shared_ptr<Object> ExcelApplication;
  ExcelConstants Constants;
  Settings Properties;
};

SharedState& Shared();

}  // namespace orv
