#include "orv/output/theme.hpp"

#include "orv/output/clsConstants.hpp"
#include "orv/output/clsProperties.hpp"

namespace orv {

namespace {
constexpr Long Rgb(Long red, Long green, Long blue) { return red + 256 * green + 65536 * blue; }
}  // namespace

void UseReadableTheme() {
  const clsProperties theme;
  theme.LetthemeName("Clean");
  theme.LetthemeVersion(1);
  theme.LetTitleForeColour(Rgb(31, 56, 100));
  theme.LetTitleBackColour(Rgb(255, 255, 255));
  theme.LetTitlesBold(true);
  theme.LetTitlesItalic(false);
  theme.LetHeaderForeColour(Rgb(255, 255, 255));
  theme.LetHeaderBackColour(Rgb(47, 84, 150));
  theme.LetHeadersBold(true);
  theme.LetHeadersItalic(false);
  theme.LetHeaderWrap(true);
  theme.LetHeaderAlign(static_cast<Integer>(clsConstants().xlHAlignCenter()));
  theme.LetDataForeColour(Rgb(0, 0, 0));
  theme.LetDataBackColour(Rgb(255, 255, 255));
  theme.LetDataBold(false);
  theme.LetDataItalic(false);
  theme.LetDecimalPlaces("0.000");
  theme.LetSummaryForeColour(Rgb(89, 89, 89));
  theme.LetSummaryBackColour(Rgb(242, 242, 242));
  theme.LetSummaryBold(false);
  theme.LetSummaryItalic(true);
}

}  // namespace orv
