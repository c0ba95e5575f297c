#include "orv/output/clsConstants.hpp"

namespace orv {

std::string clsConstants::HELPFILE() const { return "Orvanta.chm"; }

Long clsConstants::xlContinuous() const { return Shared().Constants.xlContinuous; }
void clsConstants::LetxlContinuous(Long value) const { Shared().Constants.xlContinuous = value; }
Long clsConstants::xlEdgeBottom() const { return Shared().Constants.xlEdgeBottom; }
void clsConstants::LetxlEdgeBottom(Long value) const { Shared().Constants.xlEdgeBottom = value; }
Long clsConstants::xlHAlignGeneral() const { return Shared().Constants.xlHAlignGeneral; }
void clsConstants::LetxlHAlignGeneral(Long value) const {
  Shared().Constants.xlHAlignGeneral = value;
}
Long clsConstants::xlHAlignLeft() const { return Shared().Constants.xlHAlignLeft; }
void clsConstants::LetxlHAlignLeft(Long value) const { Shared().Constants.xlHAlignLeft = value; }
Long clsConstants::xlHAlignCenter() const { return Shared().Constants.xlHAlignCenter; }
void clsConstants::LetxlHAlignCenter(Long value) const {
  Shared().Constants.xlHAlignCenter = value;
}
Long clsConstants::xlHAlignRight() const { return Shared().Constants.xlHAlignRight; }
void clsConstants::LetxlHAlignRight(Long value) const { Shared().Constants.xlHAlignRight = value; }
Long clsConstants::xlMedium() const { return Shared().Constants.xlMedium; }
void clsConstants::LetxlMedium(Long value) const { Shared().Constants.xlMedium = value; }
Long clsConstants::xlThin() const { return Shared().Constants.xlThin; }
void clsConstants::LetxlThin(Long value) const { Shared().Constants.xlThin = value; }
Long clsConstants::xlEdgeTop() const { return Shared().Constants.xlEdgeTop; }
void clsConstants::LetxlEdgeTop(Long value) const { Shared().Constants.xlEdgeTop = value; }
Long clsConstants::xlPasteAll() const { return Shared().Constants.xlPasteAll; }
void clsConstants::LetxlPasteAll(Long value) const { Shared().Constants.xlPasteAll = value; }
Long clsConstants::xlLineMarkers() const { return Shared().Constants.xlLineMarkers; }
void clsConstants::LetxlLineMarkers(Long value) const { Shared().Constants.xlLineMarkers = value; }
Long clsConstants::xlCircle() const { return Shared().Constants.xlCircle; }
void clsConstants::LetxlCircle(Long value) const { Shared().Constants.xlCircle = value; }
Long clsConstants::xlLineStyleNone() const { return Shared().Constants.xlLineStyleNone; }
void clsConstants::LetxlLineStyleNone(Long value) const {
  Shared().Constants.xlLineStyleNone = value;
}
Long clsConstants::xlCategory() const { return Shared().Constants.xlCategory; }
void clsConstants::LetxlCategory(Long value) const { Shared().Constants.xlCategory = value; }
Long clsConstants::xlPrimary() const { return Shared().Constants.xlPrimary; }
void clsConstants::LetxlPrimary(Long value) const { Shared().Constants.xlPrimary = value; }
Long clsConstants::xlSecondary() const { return Shared().Constants.xlSecondary; }
void clsConstants::LetxlSecondary(Long value) const { Shared().Constants.xlSecondary = value; }
Long clsConstants::xlValue() const { return Shared().Constants.xlValue; }
void clsConstants::LetxlValue(Long value) const { Shared().Constants.xlValue = value; }
Long clsConstants::xlBoth() const { return Shared().Constants.xlBoth; }
void clsConstants::LetxlBoth(Long value) const { Shared().Constants.xlBoth = value; }
Long clsConstants::xlUnderlineStyleNone() const { return Shared().Constants.xlUnderlineStyleNone; }
void clsConstants::LetxlUnderlineStyleNone(Long value) const {
  Shared().Constants.xlUnderlineStyleNone = value;
}
Long clsConstants::xlAutomatic() const { return Shared().Constants.xlAutomatic; }
void clsConstants::LetxlAutomatic(Long value) const { Shared().Constants.xlAutomatic = value; }
Long clsConstants::xlCorner() const { return Shared().Constants.xlCorner; }
void clsConstants::LetxlCorner(Long value) const { Shared().Constants.xlCorner = value; }
Long clsConstants::xlY() const { return Shared().Constants.xlY; }
void clsConstants::LetxlY(Long value) const { Shared().Constants.xlY = value; }
Long clsConstants::xlCap() const { return Shared().Constants.xlCap; }
void clsConstants::LetxlCap(Long value) const { Shared().Constants.xlCap = value; }
Long clsConstants::xlTickMarkOutside() const { return Shared().Constants.xlTickMarkOutside; }
void clsConstants::LetxlTickMarkOutside(Long value) const {
  Shared().Constants.xlTickMarkOutside = value;
}
Long clsConstants::xlTickMarkCross() const { return Shared().Constants.xlTickMarkCross; }
void clsConstants::LetxlTickMarkCross(Long value) const {
  Shared().Constants.xlTickMarkCross = value;
}
Long clsConstants::xlNone() const { return Shared().Constants.xlNone; }
void clsConstants::LetxlNone(Long value) const { Shared().Constants.xlNone = value; }
Long clsConstants::xlLabelPositionLeft() const { return Shared().Constants.xlLabelPositionLeft; }
void clsConstants::LetxlLabelPositionLeft(Long value) const {
  Shared().Constants.xlLabelPositionLeft = value;
}
Long clsConstants::xlCustom() const { return Shared().Constants.xlCustom; }
void clsConstants::LetxlCustom(Long value) const { Shared().Constants.xlCustom = value; }
Long clsConstants::xlRows() const { return Shared().Constants.xlRows; }
void clsConstants::LetxlRows(Long value) const { Shared().Constants.xlRows = value; }
Long clsConstants::msoFalse() const { return Shared().Constants.msoFalse; }
void clsConstants::LetmsoFalse(Long value) const { Shared().Constants.msoFalse = value; }
Long clsConstants::xlDot() const { return Shared().Constants.xlDot; }
void clsConstants::LetxlDot(Long value) const { Shared().Constants.xlDot = value; }
Long clsConstants::xlDataLabelsShowLabel() const {
  return Shared().Constants.xlDataLabelsShowLabel;
}
void clsConstants::LetxlDataLabelsShowLabel(Long value) const {
  Shared().Constants.xlDataLabelsShowLabel = value;
}
Long clsConstants::xlHairline() const { return Shared().Constants.xlHairline; }
void clsConstants::LetxlHairline(Long value) const { Shared().Constants.xlHairline = value; }
Long clsConstants::xlMarkerStyleNone() const { return Shared().Constants.xlMarkerStyleNone; }
void clsConstants::LetxlMarkerStyleNone(Long value) const {
  Shared().Constants.xlMarkerStyleNone = value;
}
Long clsConstants::xlXYScatter() const { return Shared().Constants.xlXYScatter; }
void clsConstants::LetxlXYScatter(Long value) const { Shared().Constants.xlXYScatter = value; }
Long clsConstants::xlStockOHLC() const { return Shared().Constants.xlStockOHLC; }
void clsConstants::LetxlStockOHLC(Long value) const { Shared().Constants.xlStockOHLC = value; }
Long clsConstants::xlLocationAsObject() const { return Shared().Constants.xlLocationAsObject; }
void clsConstants::LetxlLocationAsObject(Long value) const {
  Shared().Constants.xlLocationAsObject = value;
}
Long clsConstants::xlLinear() const { return Shared().Constants.xlLinear; }
void clsConstants::LetxlLinear(Long value) const { Shared().Constants.xlLinear = value; }
Long clsConstants::xlPolynomial() const { return Shared().Constants.xlPolynomial; }
void clsConstants::LetxlPolynomial(Long value) const { Shared().Constants.xlPolynomial = value; }
Long clsConstants::xlColumns() const { return Shared().Constants.xlColumns; }
void clsConstants::LetxlColumns(Long value) const { Shared().Constants.xlColumns = value; }

}  // namespace orv
