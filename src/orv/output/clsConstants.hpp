#pragma once
// The application's enumeration values that formatting and charts pass to
// the workbook, readable and settable by name, and the help file's name.
// A global class: the values live in the process-wide store, filled at load
// with the application's published values; a Let replaces a value for
// every reader. No member fails.
#include <string>

#include "orv/frame/frame.hpp"

// The values, in their interface order (one X(Name) per value).
#define ORV_CLSCONSTANTS_VALUES(X) \
  X(xlContinuous)                  \
  X(xlEdgeBottom)                  \
  X(xlHAlignGeneral)               \
  X(xlHAlignLeft)                  \
  X(xlHAlignCenter)                \
  X(xlHAlignRight)                 \
  X(xlMedium)                      \
  X(xlThin)                        \
  X(xlEdgeTop)                     \
  X(xlPasteAll)                    \
  X(xlLineMarkers)                 \
  X(xlCircle)                      \
  X(xlLineStyleNone)               \
  X(xlCategory)                    \
  X(xlPrimary)                     \
  X(xlSecondary)                   \
  X(xlValue)                       \
  X(xlBoth)                        \
  X(xlUnderlineStyleNone)          \
  X(xlAutomatic)                   \
  X(xlCorner)                      \
  X(xlY)                           \
  X(xlCap)                         \
  X(xlTickMarkOutside)             \
  X(xlTickMarkCross)               \
  X(xlNone)                        \
  X(xlLabelPositionLeft)           \
  X(xlCustom)                      \
  X(xlRows)                        \
  X(msoFalse)                      \
  X(xlDot)                         \
  X(xlDataLabelsShowLabel)         \
  X(xlHairline)                    \
  X(xlMarkerStyleNone)             \
  X(xlXYScatter)                   \
  X(xlStockOHLC)                   \
  X(xlLocationAsObject)            \
  X(xlLinear)                      \
  X(xlPolynomial)                  \
  X(xlColumns)

namespace orv {

class clsConstants {
 public:
  // Always "Orvanta.chm".
  std::string HELPFILE() const;

#define ORV_CONSTANT(Name) \
  Long Name() const;       \
  void Let##Name(Long value) const;
  ORV_CLSCONSTANTS_VALUES(ORV_CONSTANT)
#undef ORV_CONSTANT
};

}  // namespace orv
