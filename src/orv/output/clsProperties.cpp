#include "orv/output/clsProperties.hpp"

namespace orv {

std::string clsProperties::themeName() const { return Shared().Properties.themeName; }
void clsProperties::LetthemeName(const std::string& value) const {
  Shared().Properties.themeName = value;
}
Integer clsProperties::themeVersion() const { return Shared().Properties.themeVersion; }
void clsProperties::LetthemeVersion(Integer value) const {
  Shared().Properties.themeVersion = value;
}
Long clsProperties::SummaryForeColour() const { return Shared().Properties.SummaryForeColour; }
void clsProperties::LetSummaryForeColour(Long value) const {
  Shared().Properties.SummaryForeColour = value;
}
Long clsProperties::SummaryBackColour() const { return Shared().Properties.SummaryBackColour; }
void clsProperties::LetSummaryBackColour(Long value) const {
  Shared().Properties.SummaryBackColour = value;
}
Boolean clsProperties::SummaryBold() const { return Shared().Properties.SummaryBold; }
void clsProperties::LetSummaryBold(Boolean value) const { Shared().Properties.SummaryBold = value; }
Boolean clsProperties::SummaryItalic() const { return Shared().Properties.SummaryItalic; }
void clsProperties::LetSummaryItalic(Boolean value) const {
  Shared().Properties.SummaryItalic = value;
}
Long clsProperties::TitleForeColour() const { return Shared().Properties.TitleForeColour; }
void clsProperties::LetTitleForeColour(Long value) const {
  Shared().Properties.TitleForeColour = value;
}
Long clsProperties::TitleBackColour() const { return Shared().Properties.TitleBackColour; }
void clsProperties::LetTitleBackColour(Long value) const {
  Shared().Properties.TitleBackColour = value;
}
Boolean clsProperties::TitlesBold() const { return Shared().Properties.TitlesBold; }
void clsProperties::LetTitlesBold(Boolean value) const { Shared().Properties.TitlesBold = value; }
Boolean clsProperties::TitlesItalic() const { return Shared().Properties.TitlesItalic; }
void clsProperties::LetTitlesItalic(Boolean value) const {
  Shared().Properties.TitlesItalic = value;
}
Long clsProperties::HeaderForeColour() const { return Shared().Properties.HeaderForeColour; }
void clsProperties::LetHeaderForeColour(Long value) const {
  Shared().Properties.HeaderForeColour = value;
}
Long clsProperties::HeaderBackColour() const { return Shared().Properties.HeaderBackColour; }
void clsProperties::LetHeaderBackColour(Long value) const {
  Shared().Properties.HeaderBackColour = value;
}
Boolean clsProperties::HeadersBold() const { return Shared().Properties.HeadersBold; }
void clsProperties::LetHeadersBold(Boolean value) const { Shared().Properties.HeadersBold = value; }
Boolean clsProperties::HeadersItalic() const { return Shared().Properties.HeadersItalic; }
void clsProperties::LetHeadersItalic(Boolean value) const {
  Shared().Properties.HeadersItalic = value;
}
Boolean clsProperties::HeaderWrap() const { return Shared().Properties.HeaderWrap; }
void clsProperties::LetHeaderWrap(Boolean value) const { Shared().Properties.HeaderWrap = value; }
Integer clsProperties::HeaderAlign() const { return Shared().Properties.HeaderAlign; }
void clsProperties::LetHeaderAlign(Integer value) const { Shared().Properties.HeaderAlign = value; }
Long clsProperties::DataForeColour() const { return Shared().Properties.DataForeColour; }
void clsProperties::LetDataForeColour(Long value) const {
  Shared().Properties.DataForeColour = value;
}
Long clsProperties::DataBackColour() const { return Shared().Properties.DataBackColour; }
void clsProperties::LetDataBackColour(Long value) const {
  Shared().Properties.DataBackColour = value;
}
Boolean clsProperties::DataBold() const { return Shared().Properties.DataBold; }
void clsProperties::LetDataBold(Boolean value) const { Shared().Properties.DataBold = value; }
Boolean clsProperties::DataItalic() const { return Shared().Properties.DataItalic; }
void clsProperties::LetDataItalic(Boolean value) const { Shared().Properties.DataItalic = value; }
std::string clsProperties::DecimalPlaces() const { return Shared().Properties.DecimalPlaces; }
void clsProperties::LetDecimalPlaces(const std::string& value) const {
  Shared().Properties.DecimalPlaces = value;
}
Boolean clsProperties::RememberRefs() const { return Shared().Properties.RememberRefs; }
void clsProperties::LetRememberRefs(Boolean value) const {
  Shared().Properties.RememberRefs = value;
}
Boolean clsProperties::HelpOnTop() const { return Shared().Properties.HelpOnTop; }
void clsProperties::LetHelpOnTop(Boolean value) const { Shared().Properties.HelpOnTop = value; }
Boolean clsProperties::DisableSplash() const { return Shared().Properties.DisableSplash; }
void clsProperties::LetDisableSplash(Boolean value) const {
  Shared().Properties.DisableSplash = value;
}
Boolean clsProperties::QuickHelpVisible() const { return Shared().Properties.QuickHelpVisible; }
void clsProperties::LetQuickHelpVisible(Boolean value) const {
  Shared().Properties.QuickHelpVisible = value;
}
ORVQuickHelpScrollMode clsProperties::QuickHelpScrollMode() const {
  return static_cast<ORVQuickHelpScrollMode>(Shared().Properties.QuickHelpScrollMode);
}
void clsProperties::LetQuickHelpScrollMode(ORVQuickHelpScrollMode value) const {
  Shared().Properties.QuickHelpScrollMode = value;
}

}  // namespace orv
