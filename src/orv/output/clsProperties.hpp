#pragma once
// The user's presentation settings (the output theme) and a few front-end
// preferences. Every instance reads and writes the one process-wide store,
// so a value set through one instance is what every other instance and the
// library's own readers see. Values start at 0, False or "" until set. No
// member checks its value or fails.
#include <string>

#include "orv/frame/frame.hpp"

namespace orv {

class clsProperties {
 public:
  std::string themeName() const;
  void LetthemeName(const std::string& value) const;
  Integer themeVersion() const;
  void LetthemeVersion(Integer value) const;
  Long SummaryForeColour() const;
  void LetSummaryForeColour(Long value) const;
  Long SummaryBackColour() const;
  void LetSummaryBackColour(Long value) const;
  Boolean SummaryBold() const;
  void LetSummaryBold(Boolean value) const;
  Boolean SummaryItalic() const;
  void LetSummaryItalic(Boolean value) const;
  Long TitleForeColour() const;
  void LetTitleForeColour(Long value) const;
  Long TitleBackColour() const;
  void LetTitleBackColour(Long value) const;
  Boolean TitlesBold() const;
  void LetTitlesBold(Boolean value) const;
  Boolean TitlesItalic() const;
  void LetTitlesItalic(Boolean value) const;
  Long HeaderForeColour() const;
  void LetHeaderForeColour(Long value) const;
  Long HeaderBackColour() const;
  void LetHeaderBackColour(Long value) const;
  Boolean HeadersBold() const;
  void LetHeadersBold(Boolean value) const;
  Boolean HeadersItalic() const;
  void LetHeadersItalic(Boolean value) const;
  Boolean HeaderWrap() const;
  void LetHeaderWrap(Boolean value) const;
  Integer HeaderAlign() const;
  void LetHeaderAlign(Integer value) const;
  Long DataForeColour() const;
  void LetDataForeColour(Long value) const;
  Long DataBackColour() const;
  void LetDataBackColour(Long value) const;
  Boolean DataBold() const;
  void LetDataBold(Boolean value) const;
  Boolean DataItalic() const;
  void LetDataItalic(Boolean value) const;
  std::string DecimalPlaces() const;
  void LetDecimalPlaces(const std::string& value) const;
  Boolean RememberRefs() const;
  void LetRememberRefs(Boolean value) const;
  Boolean HelpOnTop() const;
  void LetHelpOnTop(Boolean value) const;
  Boolean DisableSplash() const;
  void LetDisableSplash(Boolean value) const;
  Boolean QuickHelpVisible() const;
  void LetQuickHelpVisible(Boolean value) const;
  ORVQuickHelpScrollMode QuickHelpScrollMode() const;
  void LetQuickHelpScrollMode(ORVQuickHelpScrollMode value) const;
};

}  // namespace orv
