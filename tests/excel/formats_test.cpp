#include "excel_test_util.hpp"

using namespace orv;
using namespace orv::excel;

TEST(ExcelFormats, DefaultsOfAFreshCell) {
  Book b;
  Range a = b.app.Range("A1:C3");
  EXPECT_EQ(a.Font().Bold(), Variant(false));
  EXPECT_EQ(a.Font().Italic(), Variant(false));
  EXPECT_EQ(a.Font().Color(), Variant(0.0));
  EXPECT_EQ(a.Font().Size(), Variant(11.0));
  EXPECT_EQ(a.Font().Name(), Variant("Calibri"));
  EXPECT_EQ(a.Font().Underline(), Variant(std::int32_t{-4142}));
  EXPECT_EQ(a.Interior().Color(), Variant(16777215.0));
  EXPECT_EQ(a.HorizontalAlignment(), Variant(std::int32_t{1}));
  EXPECT_EQ(a.WrapText(), Variant(false));
  EXPECT_EQ(a.NumberFormat(), Variant("General"));
  EXPECT_EQ(a.Borders(xlEdgeBottom).LineStyle(), Variant(std::int32_t{-4142}));
  EXPECT_EQ(a.Borders(xlEdgeBottom).Weight(), Variant(std::int32_t{2}));
}

TEST(ExcelFormats, SetReadBackAndNullWhenMixed) {
  Book b;
  Range block = b.app.Range("A1:C3");
  block.Font().LetBold(true);
  b.app.Range("B2").Font().LetBold(false);
  EXPECT_EQ(b.app.Range("A1").Font().Bold(), Variant(true));
  EXPECT_EQ(b.app.Range("B2").Font().Bold(), Variant(false));
  EXPECT_TRUE(block.Font().Bold().IsNull());
  EXPECT_EQ(b.app.Range("A1:C1").Font().Bold(), Variant(true));
  b.app.Range("A:A").Interior().LetColor(255);
  EXPECT_EQ(b.sheet.Cells(1000000, 1).Interior().Color(), Variant(255.0));
  EXPECT_TRUE(b.app.Range("A1:B1").Interior().Color().IsNull());
  b.app.Range("A1,C1").Font().LetColor(Variant(std::int32_t{65280}));
  EXPECT_EQ(b.app.Range("A1,C1").Font().Color(), Variant(65280.0));
  EXPECT_TRUE(b.app.Range("A1:C1").Font().Color().IsNull());
  block.Font().LetName("Arial");
  block.Font().LetSize(9);
  block.Font().LetItalic(Variant(std::int32_t{-1}));
  block.Font().LetUnderline(2);
  block.LetHorizontalAlignment(xlHAlignCenter);
  block.LetWrapText(true);
  block.LetNumberFormat("0.000");
  EXPECT_EQ(block.Font().Name(), Variant("Arial"));
  EXPECT_EQ(block.Font().Size(), Variant(9.0));
  EXPECT_EQ(block.Font().Italic(), Variant(true));
  EXPECT_EQ(block.Font().Underline(), Variant(std::int32_t{2}));
  EXPECT_EQ(block.HorizontalAlignment(), Variant(std::int32_t{-4108}));
  EXPECT_EQ(block.WrapText(), Variant(true));
  EXPECT_EQ(block.NumberFormat(), Variant("0.000"));
  // Formatting the whole sheet replaces what was there.
  b.sheet.Cells().Font().LetBold(false);
  EXPECT_EQ(block.Font().Bold(), Variant(false));
  EXPECT_EQ(block.Font().Size(), Variant(9.0));  // the others stay
  b.sheet.Cells().ClearFormats();
  EXPECT_EQ(block.NumberFormat(), Variant("General"));
  EXPECT_EQ(b.sheet.Cells(1000000, 1).Interior().Color(), Variant(16777215.0));
}

TEST(ExcelFormats, BordersSitOnTheEdgesOfTheRange) {
  Book b;
  Range block = b.app.Range("B2:D4");
  block.Borders(xlEdgeBottom).LetLineStyle(1);
  block.Borders(xlEdgeBottom).LetWeight(-4138);
  EXPECT_EQ(block.Borders(xlEdgeBottom).LineStyle(), Variant(std::int32_t{1}));
  EXPECT_EQ(block.Borders(xlEdgeBottom).Weight(), Variant(std::int32_t{-4138}));
  EXPECT_EQ(b.app.Range("C4").Borders(xlEdgeBottom).LineStyle(), Variant(std::int32_t{1}));
  EXPECT_EQ(b.app.Range("C3").Borders(xlEdgeBottom).LineStyle(), Variant(std::int32_t{-4142}));
  EXPECT_EQ(block.Borders(xlEdgeTop).LineStyle(), Variant(std::int32_t{-4142}));
  block.Borders(xlInsideHorizontal).LetLineStyle(-4118);
  EXPECT_EQ(b.app.Range("C2").Borders(xlEdgeBottom).LineStyle(), Variant(std::int32_t{-4118}));
  EXPECT_EQ(b.app.Range("C3").Borders(xlEdgeTop).LineStyle(), Variant(std::int32_t{-4118}));
  EXPECT_EQ(b.app.Range("C4").Borders(xlEdgeBottom).LineStyle(), Variant(std::int32_t{1}));
  block.Borders().LetColor(255);
  EXPECT_EQ(block.Borders().Color(), Variant(255.0));
  EXPECT_TRUE(block.Borders().LineStyle().IsNull());
  EXPECT_FAILS(1004, kXl, CantGet("Item", "Borders"), block.Borders(4));
  EXPECT_FAILS(1004, kXl, CantGet("Item", "Borders"), block.Borders(13));
}

TEST(ExcelFormats, ValuesAPropertyCannotTakeAre1004) {
  Book b;
  Range a = b.app.Range("A1");
  EXPECT_FAILS(1004, kXl, CantSet("Bold", "Font"), a.Font().LetBold("maybe"));
  EXPECT_FAILS(1004, kXl, CantSet("Color", "Font"), a.Font().LetColor(16777216));
  EXPECT_FAILS(1004, kXl, CantSet("Size", "Font"), a.Font().LetSize(0));
  EXPECT_FAILS(1004, kXl, CantSet("Underline", "Font"), a.Font().LetUnderline(3));
  EXPECT_FAILS(1004, kXl, CantSet("Color", "Interior"), a.Interior().LetColor(-1));
  EXPECT_FAILS(1004, kXl, CantSet("HorizontalAlignment", "Range"), a.LetHorizontalAlignment(0));
  EXPECT_FAILS(1004, kXl, CantSet("LineStyle", "Border"), a.Borders(xlEdgeTop).LetLineStyle(99));
  EXPECT_FAILS(1004, kXl, CantSet("Weight", "Border"), a.Borders(xlEdgeTop).LetWeight(3));
  EXPECT_EQ(a.Font().Bold(), Variant(false));  // nothing changed
}
