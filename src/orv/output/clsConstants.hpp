#pragma once
// The application's enumeration values that formatting and charts pass to
// the workbook, readable and settable by name, and the help file's name.
// A global class: the values live in the process-wide store, filled at load
// with the application's published values; a Let replaces a value for
// every reader. No member fails.
#include <string>

#include "orv/frame/frame.hpp"

namespace orv {

class clsConstants {
 public:
  // Always "Orvanta.chm".
  std::string HELPFILE() const;

#define ORV_CONSTANT(Name) \
  Long Name() const;       \
  void Let##Name(Long value) const;
  ORV_CONSTANT(xlContinuous)
  ORV_CONSTANT(xlEdgeBottom)
  ORV_CONSTANT(xlHAlignGeneral)
  ORV_CONSTANT(xlHAlignLeft)
  ORV_CONSTANT(xlHAlignCenter)
  ORV_CONSTANT(xlHAlignRight)
  ORV_CONSTANT(xlMedium)
  ORV_CONSTANT(xlThin)
  ORV_CONSTANT(xlEdgeTop)
  ORV_CONSTANT(xlPasteAll)
  ORV_CONSTANT(xlLineMarkers)
  ORV_CONSTANT(xlCircle)
  ORV_CONSTANT(xlLineStyleNone)
  ORV_CONSTANT(xlCategory)
  ORV_CONSTANT(xlPrimary)
  ORV_CONSTANT(xlSecondary)
  ORV_CONSTANT(xlValue)
  ORV_CONSTANT(xlBoth)
  ORV_CONSTANT(xlUnderlineStyleNone)
  ORV_CONSTANT(xlAutomatic)
  ORV_CONSTANT(xlCorner)
  ORV_CONSTANT(xlY)
  ORV_CONSTANT(xlCap)
  ORV_CONSTANT(xlTickMarkOutside)
  ORV_CONSTANT(xlTickMarkCross)
  ORV_CONSTANT(xlNone)
  ORV_CONSTANT(xlLabelPositionLeft)
  ORV_CONSTANT(xlCustom)
  ORV_CONSTANT(xlRows)
  ORV_CONSTANT(msoFalse)
  ORV_CONSTANT(xlDot)
  ORV_CONSTANT(xlDataLabelsShowLabel)
  ORV_CONSTANT(xlHairline)
  ORV_CONSTANT(xlMarkerStyleNone)
  ORV_CONSTANT(xlXYScatter)
  ORV_CONSTANT(xlStockOHLC)
  ORV_CONSTANT(xlLocationAsObject)
  ORV_CONSTANT(xlLinear)
  ORV_CONSTANT(xlPolynomial)
  ORV_CONSTANT(xlColumns)
#undef ORV_CONSTANT
};

}  // namespace orv
