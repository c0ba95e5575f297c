#include "orv/output/clsFormatting.hpp"

#include <gtest/gtest.h>

#include "orv/excel/excel.hpp"
#include "orv/output/clsConstants.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/output/clsProperties.hpp"
#include "orv_test.hpp"

using namespace orv;

namespace {

using namespace orv::test;

constexpr Long kTop = 8, kBottom = 9;
constexpr Long kContinuous = 1, kNoLine = -4142, kThin = 2, kMedium = -4138, kThick = 4;
constexpr Long kGeneral = 1, kLeft = -4131, kCenter = -4108, kRight = -4152;

Variant L(Long v) { return Variant(v); }

// A fresh workbook handed to the library, the theme at its initial values;
// whatever the process held before comes back afterwards.
class clsFormattingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_.Save();
    Shared().Properties = Settings{};
    clsMain().SetExcel(app);
  }
  void TearDown() override { saved_.Restore(); }

  excel::Range R(const char* reference) const { return app.Range(reference); }

  // A theme as the front end sets it: through its own clsProperties.
  static void SetTheme() {
    clsProperties p;
    p.LetHeadersBold(true);
    p.LetHeadersItalic(true);
    p.LetHeaderForeColour(255);
    p.LetHeaderBackColour(65535);
    p.LetHeaderWrap(true);
    p.LetHeaderAlign(static_cast<Integer>(kCenter));
    p.LetDataBold(true);
    p.LetDataItalic(false);
    p.LetDataForeColour(32768);
    p.LetDataBackColour(13434879);
    p.LetDecimalPlaces("0.0000");
    p.LetTitlesBold(true);
    p.LetTitlesItalic(true);
    p.LetTitleForeColour(128);
    p.LetTitleBackColour(16764057);
    p.LetSummaryBold(true);
    p.LetSummaryItalic(true);
    p.LetSummaryForeColour(8388608);
    p.LetSummaryBackColour(10092543);
  }

  static void ExpectFont(const excel::Range& r, bool bold, bool italic, double fore, double back) {
    EXPECT_EQ((std::vector<Variant>{r.Font().Bold(), r.Font().Italic(), r.Font().Color(),
                                    r.Interior().Color()}),
              (std::vector<Variant>{Variant(bold), Variant(italic), Variant(fore), Variant(back)}))
        << r.Address();
  }
  static void ExpectEdge(const excel::Range& r, Long edge, Long style, Long weight) {
    EXPECT_EQ(r.Borders(edge).LineStyle(), L(style)) << r.Address() << " edge " << edge;
    EXPECT_EQ(r.Borders(edge).Weight(), L(weight)) << r.Address() << " edge " << edge;
  }
  static void ExpectUntouched(const excel::Range& r) {
    ExpectFont(r, false, false, 0, 16777215);
    EXPECT_EQ(r.NumberFormat(), Variant("General")) << r.Address();
    EXPECT_EQ(r.Borders(kTop).LineStyle(), L(kNoLine)) << r.Address();
  }

  excel::Application app;
  excel::Workbook book = app.Workbooks().Add();
  excel::Worksheet sheet = book.Worksheets(1);

 private:
  SavedSharedState saved_;
};

}  // namespace

TEST_F(clsFormattingTest, HeadersThemeFromAnotherInstanceOnEveryArea) {
  SetTheme();
  clsFormatting().SetHeaders(R("B2:D2,F5:G6"));
  for (const char* area : {"B2:D2", "F5:G6"}) {
    ExpectFont(R(area), true, true, 255, 65535);
    ExpectEdge(R(area), kTop, kContinuous, kMedium);
    ExpectEdge(R(area), kBottom, kContinuous, kThin);
    EXPECT_EQ(R(area).WrapText(), Variant(true));
    EXPECT_EQ(R(area).HorizontalAlignment(), L(kCenter));
  }
  ExpectUntouched(R("E2"));
  ExpectUntouched(R("B3"));
  // Vertical headers keep wrap and alignment and get a medium bottom.
  R("A1:C1").LetHorizontalAlignment(kLeft);
  clsFormatting().SetHeaders(R("A1:C1"), true);
  ExpectFont(R("A1:C1"), true, true, 255, 65535);
  ExpectEdge(R("A1:C1"), kTop, kContinuous, kMedium);
  ExpectEdge(R("A1:C1"), kBottom, kContinuous, kMedium);
  EXPECT_EQ(R("A1:C1").WrapText(), Variant(false));
  EXPECT_EQ(R("A1:C1").HorizontalAlignment(), L(kLeft));
}

TEST_F(clsFormattingTest, HeadersInitialSettingsGiveBlackAndSkipTheZeroAlignment) {
  excel::Range rng = R("A1:B1");
  rng.LetHorizontalAlignment(kRight);
  rng.LetWrapText(true);
  clsFormatting().SetHeaders(rng);
  ExpectFont(rng, false, false, 0, 0);  // fill 0: black
  EXPECT_EQ(rng.WrapText(), Variant(false));
  // Alignment 0 is no alignment: the workbook refuses it and only that
  // statement is skipped.
  EXPECT_EQ(rng.HorizontalAlignment(), L(kRight));
  ExpectEdge(rng, kTop, kContinuous, kMedium);
  ExpectEdge(rng, kBottom, kContinuous, kThin);
  // The constants are read at each call.
  clsConstants().LetxlMedium(kThick);
  clsFormatting().SetHeaders(R("A3:B3"));
  ExpectEdge(R("A3:B3"), kTop, kContinuous, kThick);
}

TEST_F(clsFormattingTest, DataThemeNumberFormatAlignmentAndBorders) {
  SetTheme();
  clsFormatting().SetData(R("A2:C4,E2:F3"));
  for (const char* area : {"A2:C4", "E2:F3"}) {
    ExpectFont(R(area), true, false, 32768, 13434879);
    EXPECT_EQ(R(area).NumberFormat(), Variant("0.0000"));
    EXPECT_EQ(R(area).HorizontalAlignment(), L(kRight));
    ExpectEdge(R(area), kTop, kContinuous, kThin);
    ExpectEdge(R(area), kBottom, kContinuous, kMedium);
  }
  ExpectUntouched(R("D2"));
  // DontAlignCol1 left-aligns the first column of the first area.
  clsFormatting().SetData(R("B7:D9,F7:G8"), true);
  EXPECT_EQ(R("B7:B9").HorizontalAlignment(), L(kLeft));
  EXPECT_EQ(R("C7:D9").HorizontalAlignment(), L(kRight));
  EXPECT_EQ(R("F7:G8").HorizontalAlignment(), L(kRight));
}

TEST_F(clsFormattingTest, DataInitialSettingsGiveBlackAndAnEmptyNumberFormat) {
  excel::Range rng = R("A1:B2");
  rng.LetNumberFormat("0.00");
  clsFormatting().SetData(rng);
  ExpectFont(rng, false, false, 0, 0);
  EXPECT_EQ(rng.NumberFormat(), Variant(""));
  EXPECT_EQ(rng.HorizontalAlignment(), L(kRight));
}

TEST_F(clsFormattingTest, SummaryRowRunsAcross256ColumnsWhateverTheWidth) {
  SetTheme();
  clsFormatting().SetTitles(R("C3:D4"), true);
  // Columns 3 to 258 (C to IX), rows 3 and 4.
  ExpectFont(sheet.Range(sheet.Cells(3, 3), sheet.Cells(4, 258)), true, true, 8388608, 10092543);
  for (auto [row, column] : {std::pair{3, 259}, {3, 2}, {5, 3}, {2, 100}})
    ExpectUntouched(sheet.Cells(row, column));
  // A single cell is one row; a second area adds nothing.
  clsFormatting().SetTitles(R("A10,A20:A30"), true);
  ExpectFont(sheet.Range(sheet.Cells(10, 1), sheet.Cells(10, 256)), true, true, 8388608, 10092543);
  for (auto [row, column] : {std::pair{10, 257}, {11, 1}, {20, 1}})
    ExpectUntouched(sheet.Cells(row, column));
}

TEST_F(clsFormattingTest, SummaryNeedsTheApplicationTitlesDoNot) {
  clsFormatting().SetTitles(R("A5"));
  ExpectFont(R("A5"), false, false, 0, 0);  // initial settings: black
  clsFormatting().SetTitles(R("A7"), true);
  ExpectFont(R("A7:IV7"), false, false, 0, 0);
  SetTheme();
  Shared().ExcelApplication.reset();
  clsFormatting().SetTitles(R("A1:B1"), true);
  ExpectUntouched(R("A1:IV1"));
  // Titles take the theme on every area of the range only.
  clsFormatting().SetTitles(R("A1:B1,B5"));
  ExpectFont(R("A1:B1"), true, true, 128, 16764057);
  ExpectFont(R("B5"), true, true, 128, 16764057);
  ExpectUntouched(R("C1"));
  ExpectUntouched(R("B4"));
}

TEST_F(clsFormattingTest, FormatRangeWithOneHeaderRow) {
  excel::Range out = R("B2:D5");
  out.LetValue(Variant(7.0));
  out.Font().LetBold(true);
  clsFormatting().FormatRange(out);
  EXPECT_TRUE(R("B2").Value().IsEmpty());
  EXPECT_TRUE(R("D5").Value().IsEmpty());
  EXPECT_EQ(R("B2:D5").Font().Bold(), Variant(false));  // Clear took the formats too

  excel::Range header = R("B2:D2");
  EXPECT_EQ(header.Font().Italic(), Variant(true));
  EXPECT_EQ(header.Font().Color(), Variant(16711680.0));
  EXPECT_EQ(header.NumberFormat(), Variant("@"));
  ExpectEdge(header, kTop, kContinuous, kMedium);
  ExpectEdge(header, kBottom, kContinuous, kMedium);

  EXPECT_EQ(R("B3:D5").Font().Italic(), Variant(false));
  EXPECT_EQ(R("B3:D5").NumberFormat(), Variant("0.000"));
  EXPECT_EQ(R("B2:B5").HorizontalAlignment(), L(kGeneral));
  EXPECT_EQ(R("C2:D5").HorizontalAlignment(), L(kRight));
  ExpectEdge(R("B3:D3"), kTop, kNoLine, kThin);
  ExpectEdge(R("B5:D5"), kBottom, kContinuous, kMedium);
  ExpectEdge(R("B4:D4"), kBottom, kNoLine, kThin);
  ExpectUntouched(R("E2"));
  ExpectUntouched(R("B6"));
}

TEST_F(clsFormattingTest, HeaderRowsComesBackOneHigherInTheVariable) {
  Integer rows = 1;
  clsFormatting().FormatRange(R("A1:C6"), rows);
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(R("A1:C2").Font().Italic(), Variant(true));
  EXPECT_EQ(R("A1:C2").NumberFormat(), Variant("@"));
  ExpectEdge(R("A1:C1"), kTop, kContinuous, kMedium);
  ExpectEdge(R("A2:C2"), kBottom, kContinuous, kMedium);
  EXPECT_EQ(R("A3:C6").Font().Italic(), Variant(false));
  EXPECT_EQ(R("A3:C6").NumberFormat(), Variant("0.000"));
  // Called again with the same variable: three header rows now.
  clsFormatting().FormatRange(R("A1:C6"), rows);
  EXPECT_EQ(rows, 3);
  EXPECT_EQ(R("A1:C3").NumberFormat(), Variant("@"));
  EXPECT_EQ(R("A4:C6").NumberFormat(), Variant("0.000"));
  // A literal works on a copy.
  clsFormatting().FormatRange(R("E1:F4"), Integer{2});
  EXPECT_EQ(R("E1:F3").Font().Italic(), Variant(true));
  EXPECT_EQ(R("E4:F4").Font().Italic(), Variant(false));
}

TEST_F(clsFormattingTest, MultiAreaUsesTheFirstAreaForRowsAndColumns) {
  clsFormatting().FormatRange(R("A1:C4,E1:F2"));
  EXPECT_EQ(R("E1:F2").NumberFormat(), Variant("0.000"));  // the whole range
  EXPECT_EQ(R("E1:F2").HorizontalAlignment(), L(kRight));  // column 1 is A only
  EXPECT_EQ(R("A1:A4").HorizontalAlignment(), L(kGeneral));
  EXPECT_EQ(R("A1:C1").Font().Italic(), Variant(true));
  EXPECT_EQ(R("E1:F1").Font().Italic(), Variant(false));  // header block is A1:C1
  ExpectEdge(R("A4:C4"), kBottom, kContinuous, kMedium);  // last row of the first area
  ExpectEdge(R("E2:F2"), kBottom, kNoLine, kThin);
}

TEST_F(clsFormattingTest, HeaderBlockSkippedWithoutTheApplicationOrAboveTheSheet) {
  // HeaderRows -1 becomes 0: the block would end above row 1.
  for (bool application : {true, false}) {
    if (!application) Shared().ExcelApplication.reset();
    Integer rows = application ? -1 : 0;
    EXPECT_EQ(Fails([&] { clsFormatting().FormatRange(R("A1:B3"), rows); }), Failure{});
    EXPECT_EQ(rows, application ? 0 : 1);
    EXPECT_EQ(R("A1:B3").NumberFormat(), Variant("0.000"));
    EXPECT_EQ(R("A1:B1").Font().Italic(), Variant(false));
    ExpectEdge(R("A1:B1"), kTop, kNoLine, kThin);
    ExpectEdge(R("A3:B3"), kBottom, kContinuous, kMedium);
  }
}

TEST_F(clsFormattingTest, HeaderRowsThatCannotGrowStays) {
  Integer rows = 32767;
  clsFormatting().FormatRange(R("A1:B3"), rows);
  EXPECT_EQ(rows, 32767);
  // The block still runs from the first cell down 32767 rows.
  EXPECT_EQ(sheet.Cells(32767, 2).Font().Italic(), Variant(true));
  EXPECT_EQ(sheet.Cells(32768, 2).Font().Italic(), Variant(false));
  EXPECT_EQ(R("A1:B3").NumberFormat(), Variant("@"));
}

TEST_F(clsFormattingTest, NothingRangeRaisesNothing) {
  SetTheme();
  const excel::Range none(Nothing);
  clsFormatting f;
  Integer rows = 4;
  EXPECT_EQ(Fails([&] {
              f.SetHeaders(none);
              f.SetHeaders(none, true);
              f.SetData(none, true);
              f.SetTitles(none);
              f.SetTitles(none, true);
              f.FormatRange(none, rows);
            }),
            Failure{});
  EXPECT_EQ(rows, 5);  // the write-back happens before the range is touched
  ExpectUntouched(R("A1:C3"));
}
