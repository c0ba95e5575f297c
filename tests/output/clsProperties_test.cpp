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
  EXPECT_EQ(b.themeName() + b.DecimalPlaces(), "Ocean0.000");
  EXPECT_EQ((std::vector<Long>{b.themeVersion(), b.TitleBackColour(), b.HeaderAlign(),
                               b.QuickHelpScrollMode(), b.HeadersBold(), b.RememberRefs()}),
            (std::vector<Long>{3, 33023, -4108, ORVTabOnly, true, true}));
  // The library's readers see the store directly.
  EXPECT_EQ(Shared().Properties.TitleBackColour, 33023);
  EXPECT_TRUE(Shared().Properties.RememberRefs);
  Shared().Properties = saved;
  EXPECT_FALSE(b.HeadersBold());
}

TEST(clsConstants, PublishedValuesReplaceableByLet) {
  clsConstants& c = Global<clsConstants>();
  EXPECT_EQ(c.HELPFILE(), "Orvanta.chm");
  EXPECT_EQ(
      (std::vector<Long>{
          c.xlContinuous(), c.xlEdgeBottom(),    c.xlEdgeTop(),     c.xlHAlignGeneral(),
          c.xlHAlignLeft(), c.xlHAlignCenter(),  c.xlHAlignRight(), c.xlMedium(),
          c.xlThin(),       c.xlHairline(),      c.xlPasteAll(),    c.xlLineMarkers(),
          c.xlCircle(),     c.xlLineStyleNone(), c.xlCategory(),    c.xlValue(),
          c.xlPrimary(),    c.xlSecondary(),     c.xlBoth(),        c.xlUnderlineStyleNone()}),
      (std::vector<Long>{1,     9,  8, 1,     -4131, -4108, -4152, -4138, 2, 1,
                         -4104, 65, 8, -4142, 1,     2,     1,     2,     1, -4142}));
  EXPECT_EQ((std::vector<Long>{c.xlAutomatic(),
                               c.xlCorner(),
                               c.xlY(),
                               c.xlCap(),
                               c.xlTickMarkOutside(),
                               c.xlTickMarkCross(),
                               c.xlNone(),
                               c.xlLabelPositionLeft(),
                               c.xlCustom(),
                               c.xlRows(),
                               c.xlColumns(),
                               c.msoFalse(),
                               c.xlDot(),
                               c.xlDataLabelsShowLabel(),
                               c.xlMarkerStyleNone(),
                               c.xlXYScatter(),
                               c.xlStockOHLC(),
                               c.xlLocationAsObject(),
                               c.xlLinear(),
                               c.xlPolynomial()}),
            (std::vector<Long>{-4105, 2, 1,     1, 3,     4,     -4142, -4131, -4114, 1,
                               2,     0, -4118, 4, -4142, -4169, 89,    2,     -4132, 3}));
  c.LetxlThin(77);
  EXPECT_EQ(clsConstants().xlThin(), 77);
  EXPECT_EQ(Shared().Constants.xlThin, 77);
  c.LetxlThin(2);
}
