// Series: data from ranges (by rows and columns, several areas) and arrays,
// formats, points and their labels.
#include "excel_test_util.hpp"

using namespace orv;
using namespace orv::excel;

namespace {
struct Plot : Book {
  Chart chart = sheet.ChartObjects().Add(0, 0, 300, 200).Chart();
};

std::vector<std::optional<double>> Numbers(std::initializer_list<std::optional<double>> v) {
  return v;
}

const char* kSubscript = "Subscript out of range";
}  // namespace

TEST(DrawingSeries, AddByColumnsFromSeveralAreas) {
  Plot b;
  b.Fill("A1:A4", {1.0, 2.0, 3.0, 4.0});
  b.Fill("C1:C4", {10.0, Variant(), "x", 40.0});
  Range source = b.app.Union(b.sheet.Range("A1:A4"), b.sheet.Range("C1:C4"));
  Series s = b.chart.SeriesCollection().Add(source, xlColumns, false, true, false);
  EXPECT_EQ(s.Name(), "Series1");
  // Text and blanks are blanks among the values.
  EXPECT_EQ(s.ValueNumbers(), Numbers({10.0, std::nullopt, std::nullopt, 40.0}));
  EXPECT_EQ(s.XValueNumbers(), Numbers({1.0, 2.0, 3.0, 4.0}));
  EXPECT_EQ(s.ValuesRange().Address(), "$C$1:$C$4");
  EXPECT_EQ(s.XValuesRange().Address(), "$A$1:$A$4");
  // The series follows its cells; values given as an array stay as given.
  b.sheet.Range("C1").LetValue(99.0);
  b.sheet.Range("C2").LetValue(5.0);
  b.sheet.Range("A3").LetValue("third");
  EXPECT_EQ(s.ValueNumbers(), Numbers({99.0, 5.0, std::nullopt, 40.0}));
  EXPECT_EQ(s.XValueNumbers(), Numbers({1.0, 2.0, 3.0, 4.0}));
  EXPECT_EQ(s.XValues().Element(3), Variant("third"));
  b.sheet.Range("A3").LetValue(3.5);
  EXPECT_EQ(s.XValueNumbers(), Numbers({1.0, 2.0, 3.5, 4.0}));
  s.LetValues(s.Values());
  b.sheet.Range("C1").LetValue(1.0);
  EXPECT_EQ(s.ValueNumbers()[0], 99.0);
  EXPECT_TRUE(s.ValuesRange().IsNothing());
}

TEST(DrawingSeries, AddByRowsAndGuessedLabels) {
  // Nothing given: a tall block goes by columns; a text first row names the
  // series, a text first column holds the categories.
  Plot g;
  g.Fill("A1:C3", {"", "Height", "Weight", "a", 1.0, 2.0, "b", 3.0, 4.0});
  Series s = g.chart.SeriesCollection().Add(g.sheet.Range("A1:C3"));
  EXPECT_EQ(g.chart.SeriesCollection().Count(), 2);
  EXPECT_EQ(s.Name(), "Height");
  EXPECT_EQ(s.ValueNumbers(), Numbers({1.0, 3.0}));
  EXPECT_EQ(s.XValues().Element(2), Variant("b"));
  // Text categories plot at 1, 2, ...
  EXPECT_EQ(s.XValueNumbers(), Numbers({1.0, 2.0}));
}

TEST(DrawingSeries, AddFailuresAndReplace) {
  Plot b;
  b.Fill("A1:B2", {1.0, 2.0, 3.0, 4.0});
  const char* failed = "Add method of SeriesCollection class failed";
  EXPECT_FAILS(1004, kXl, failed, b.chart.SeriesCollection().Add(b.sheet.Range("A1:B2"), 3));
  // Categories without a column left for values.
  EXPECT_FAILS(1004, kXl, failed,
               b.chart.SeriesCollection().Add(b.sheet.Range("A1:A2"), xlColumns, false, true));
  Worksheet other = b.book.Worksheets().Add();
  EXPECT_FAILS(1004, kXl, failed, b.chart.SeriesCollection().Add(other.Range("A1:B2"), xlColumns));
  EXPECT_FAILS(1004, kXl, failed, b.chart.SeriesCollection().Add(Range(), xlColumns));
  EXPECT_EQ(b.chart.SeriesCollection().Count(), 0);

  Series s = b.chart.SeriesCollection().Add(b.sheet.Range("B1:B2"), xlColumns, false, false);
  b.Fill("D1:E2", {7.0, 8.0, 9.0, 10.0});
  b.chart.SeriesCollection().Add(b.sheet.Range("D1:E2"), xlColumns, false, true, true);
  EXPECT_EQ(s.XValueNumbers(), Numbers({7.0, 9.0}));  // replaced categories
}

TEST(DrawingSeries, ValuesFromArrays) {
  Plot b;
  Series s = b.chart.SeriesCollection().NewSeries();
  s.LetValues(Vec({1.5, 2.5, 3.5}, 0));
  EXPECT_EQ(s.ValueNumbers(), Numbers({1.5, 2.5, 3.5}));
  EXPECT_TRUE(s.ValuesRange().IsNothing());
  // Without categories a series counts 1, 2, ...
  EXPECT_EQ(s.XValues().Element(3), Variant(3.0));

  const Variant mixed = Vec<Variant>({"2.5", "abc", std::int16_t{7}, Variant()});
  s.LetXValues(mixed);
  EXPECT_EQ(s.XValues().Element(1), Variant(2.5));         // numeric text is a number
  EXPECT_EQ(s.XValues().Element(2), Variant("abc"));       // other text stays text
  EXPECT_EQ(s.XValueNumbers(), Numbers({1.0, 2.0, 3.0}));  // not all numbers
  s.LetValues(mixed);
  EXPECT_EQ(s.ValueNumbers(), Numbers({2.5, std::nullopt, 7.0, std::nullopt}));

  // A 2-D array of one column.
  s.LetXValues(Grid({{4}, {5}, {6}}));
  // Four values, three categories: the last point has no x.
  EXPECT_EQ(s.XValueNumbers(), Numbers({4.0, 5.0, 6.0, std::nullopt}));
  // Values from a range given as a Variant keep the range.
  b.Fill("A1:A2", {3.0, 4.0});
  s.LetValues(b.sheet.Range("A1:A2").AsVariant());
  EXPECT_EQ(s.ValuesRange().Address(), "$A$1:$A$2");
  EXPECT_FAILS(13, "ORVMain", "Type mismatch", s.LetValues(Variant(5.0)));
  EXPECT_FAILS(13, "ORVMain", "Type mismatch", s.LetValues(Variant(Array<double>())));
  EXPECT_FAILS(91, "ORVMain", kNotSet, s.LetValues(Range()));
}

TEST(DrawingSeries, CollectionIndicesAndDelete) {
  Plot b;
  Series s1 = b.chart.SeriesCollection().NewSeries();
  Series s2 = b.chart.SeriesCollection().NewSeries();
  EXPECT_FAILS(9, "ORVMain", kSubscript, b.chart.SeriesCollection(0));
  EXPECT_FAILS(9, "ORVMain", kSubscript, b.chart.SeriesCollection(3));
  EXPECT_EQ(s2.PlotOrder(), 2);
  s1.Delete();
  EXPECT_EQ(b.chart.SeriesCollection().Count(), 1);
  EXPECT_TRUE(b.chart.SeriesCollection(1) == s2);
  EXPECT_EQ(s2.PlotOrder(), 1);
  EXPECT_FAILS(1004, kXl, kNoDescription, s1.Name());
  EXPECT_FAILS(1004, kXl, kNoDescription, s1.Delete());
  EXPECT_EQ(b.chart.SeriesCollection().NewSeries().Name(), "Series3");
}

TEST(DrawingSeries, TypesFormatsAndAxisGroups) {
  Plot b;
  Series s = b.chart.SeriesCollection().NewSeries();
  EXPECT_EQ(s.Border().LineStyle(), xlLineStyleNone);  // columns have no outline
  b.chart.LetChartType(xlLineMarkers);
  EXPECT_EQ(s.Border().LineStyle(), xlContinuous);
  b.chart.LetChartType(xlXYScatter);
  EXPECT_EQ(s.Border().LineStyle(), xlLineStyleNone);  // markers only
  s.Border().LetWeight(xlThin);                        // formatting a hidden line shows it
  EXPECT_EQ(s.Border().LineStyle(), xlContinuous);
  b.chart.LetChartType(xlColumnClustered);  // kept: formatted by hand
  EXPECT_EQ(s.Border().LineStyle(), xlContinuous);
  EXPECT_FAILS(1004, kXl, CantSet("ChartType", "Chart"), b.chart.LetChartType(12345));

  EXPECT_FAILS(1004, kXl, CantSet("MarkerSize", "Series"), s.LetMarkerSize(1));
  EXPECT_FAILS(1004, kXl, CantSet("MarkerStyle", "Series"), s.LetMarkerStyle(7));
  EXPECT_FAILS(1004, kXl, CantSet("MarkerForegroundColorIndex", "Series"),
               s.LetMarkerForegroundColorIndex(57));

  s.Border().LetLineStyle(0);  // 0 is no line
  EXPECT_EQ(s.Border().LineStyle(), xlLineStyleNone);
  EXPECT_FALSE(s.Border().Visible());
  EXPECT_FAILS(1004, kXl, CantSet("Weight", "Border"), s.Border().LetWeight(3));
  s.Interior().LetColor(16751001);  // red 153, green 153, blue 255
  EXPECT_EQ(s.Interior().ColorIndex(), 17);
  EXPECT_EQ(PaletteColor(17), 16751001);

  // A series on the secondary group brings the secondary value axis.
  Series t = b.chart.SeriesCollection().NewSeries();
  EXPECT_FALSE(b.chart.HasAxis(xlValue, xlSecondary));
  EXPECT_FAILS(1004, kXl, CantSet("HasAxis", "Chart"),
               b.chart.LetHasAxis(xlCategory, xlSecondary, true));
  t.LetAxisGroup(xlSecondary);
  t.LetChartType(xlXYScatter);
  EXPECT_TRUE(b.chart.HasAxis(xlValue, xlSecondary));
  b.chart.LetHasAxis(xlCategory, xlSecondary, true);
  EXPECT_TRUE(b.chart.Axes(xlCategory, xlSecondary).HasScale());  // scatter group
  EXPECT_FALSE(b.chart.Axes(xlCategory, xlPrimary).HasScale());   // columns
  EXPECT_EQ(b.chart.ChartGroups().Count(), 2);
  t.Delete();
  EXPECT_FALSE(b.chart.HasAxis(xlValue, xlSecondary));
  EXPECT_FAILS(1004, kXl, "Method 'Axes' of object '_Chart' failed",
               b.chart.Axes(xlValue, xlSecondary));
}

TEST(DrawingSeries, PointsAndDataLabels) {
  Plot b;
  b.chart.LetChartType(xlXYScatter);
  Series s = b.chart.SeriesCollection().NewSeries();
  s.LetValues(Vec({1.25, 2.0, 1.0 / 3}));
  s.LetXValues(Vec({10.0, 20.0, 30.0}));
  EXPECT_EQ(s.Points().Count(), 3);
  EXPECT_FAILS(9, "ORVMain", kSubscript, s.Points(4));
  EXPECT_FAILS(9, "ORVMain", kSubscript, s.Points(0));
  EXPECT_FAILS(1004, kXl, CantGet("DataLabel", "Point"), s.Points(1).DataLabel());

  s.ApplyDataLabels(xlDataLabelsShowValue);
  EXPECT_EQ(s.Points(1).DataLabel().Text(), "1.25");
  EXPECT_EQ(s.Points(3).DataLabel().Text(), "0.33333333333");
  s.Points(3).DataLabel().LetNumberFormat("0.00");
  EXPECT_EQ(s.Points(3).DataLabel().Text(), "0.33");

  s.ApplyDataLabels(xlDataLabelsShowLabel, true, false);
  EXPECT_EQ(s.Points(2).DataLabel().Text(), "20");

  // A point's border starts as the series' and is its own once set.
  s.Border().LetColorIndex(3);
  Point p = s.Points(2);
  EXPECT_EQ(p.Border().ColorIndex(), 3);
  EXPECT_FALSE(p.HasOwnBorder());
  p.Border().LetLineStyle(xlLineStyleNone);
  EXPECT_TRUE(p.HasOwnBorder());
  EXPECT_EQ(s.Border().LineStyle(), xlContinuous);

  s.ApplyDataLabels(xlDataLabelsShowNone);
  EXPECT_FALSE(s.HasDataLabels());
  EXPECT_FAILS(1004, kXl, CantGet("DataLabel", "Point"), s.Points(2).DataLabel());
  EXPECT_FAILS(1004, kXl, "ApplyDataLabels method of Series class failed", s.ApplyDataLabels(99));
}
