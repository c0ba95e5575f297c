#include "orv/output/clsProperties.hpp"

#include <gtest/gtest.h>

#include "orv/output/clsConstants.hpp"

using namespace orv;

TEST(clsProperties, OneStoreForEveryInstance) {
  Settings saved = Shared().Properties;
  clsProperties a, b;
  a.LetthemeName("Ocean");
  a.LetthemeVersion(3);
  a.LetTitleBackColour(255 + 256 * 128);
  a.LetHeadersBold(true);
  a.LetHeaderAlign(-4108);
  a.LetDecimalPlaces("0.000");
  a.LetRememberRefs(true);
  a.LetQuickHelpScrollMode(ORVTabOnly);
  EXPECT_EQ(b.themeName(), "Ocean");
  EXPECT_EQ(b.themeVersion(), 3);
  EXPECT_EQ(b.TitleBackColour(), 33023);
  EXPECT_TRUE(b.HeadersBold());
  EXPECT_EQ(b.HeaderAlign(), -4108);
  EXPECT_EQ(b.DecimalPlaces(), "0.000");
  EXPECT_TRUE(b.RememberRefs());
  EXPECT_EQ(b.QuickHelpScrollMode(), ORVTabOnly);
  // The library's readers see the store directly.
  EXPECT_EQ(Shared().Properties.TitleBackColour, 33023);
  EXPECT_TRUE(Shared().Properties.RememberRefs);
  Shared().Properties = saved;
  EXPECT_FALSE(b.HeadersBold());
}

TEST(clsConstants, PublishedValuesReplaceableByLet) {
  clsConstants& c = Global<clsConstants>();
  EXPECT_EQ(c.HELPFILE(), "Orvanta.chm");
  EXPECT_EQ(c.xlContinuous(), 1);
  EXPECT_EQ(c.xlEdgeBottom(), 9);
  EXPECT_EQ(c.xlEdgeTop(), 8);
  EXPECT_EQ(c.xlHAlignGeneral(), 1);
  EXPECT_EQ(c.xlHAlignLeft(), -4131);
  EXPECT_EQ(c.xlHAlignCenter(), -4108);
  EXPECT_EQ(c.xlHAlignRight(), -4152);
  EXPECT_EQ(c.xlMedium(), -4138);
  EXPECT_EQ(c.xlThin(), 2);
  EXPECT_EQ(c.xlHairline(), 1);
  EXPECT_EQ(c.xlPasteAll(), -4104);
  EXPECT_EQ(c.xlLineMarkers(), 65);
  EXPECT_EQ(c.xlCircle(), 8);
  EXPECT_EQ(c.xlLineStyleNone(), -4142);
  EXPECT_EQ(c.xlCategory(), 1);
  EXPECT_EQ(c.xlValue(), 2);
  EXPECT_EQ(c.xlPrimary(), 1);
  EXPECT_EQ(c.xlSecondary(), 2);
  EXPECT_EQ(c.xlBoth(), 1);
  EXPECT_EQ(c.xlUnderlineStyleNone(), -4142);
  EXPECT_EQ(c.xlAutomatic(), -4105);
  EXPECT_EQ(c.xlCorner(), 2);
  EXPECT_EQ(c.xlY(), 1);
  EXPECT_EQ(c.xlCap(), 1);
  EXPECT_EQ(c.xlTickMarkOutside(), 3);
  EXPECT_EQ(c.xlTickMarkCross(), 4);
  EXPECT_EQ(c.xlNone(), -4142);
  EXPECT_EQ(c.xlLabelPositionLeft(), -4131);
  EXPECT_EQ(c.xlCustom(), -4114);
  EXPECT_EQ(c.xlRows(), 1);
  EXPECT_EQ(c.xlColumns(), 2);
  EXPECT_EQ(c.msoFalse(), 0);
  EXPECT_EQ(c.xlDot(), -4118);
  EXPECT_EQ(c.xlDataLabelsShowLabel(), 4);
  EXPECT_EQ(c.xlMarkerStyleNone(), -4142);
  EXPECT_EQ(c.xlXYScatter(), -4169);
  EXPECT_EQ(c.xlStockOHLC(), 89);
  EXPECT_EQ(c.xlLocationAsObject(), 2);
  EXPECT_EQ(c.xlLinear(), -4132);
  EXPECT_EQ(c.xlPolynomial(), 3);
  c.LetxlThin(77);
  EXPECT_EQ(clsConstants().xlThin(), 77);
  EXPECT_EQ(Shared().Constants.xlThin, 77);
  EXPECT_EQ(c.HELPFILE(), "Orvanta.chm");
  c.LetxlThin(2);
}
