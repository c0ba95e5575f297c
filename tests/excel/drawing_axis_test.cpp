// Axes: scales chosen from the data, fixed scales, crossing points,
// deleted axes and the axes a chart type has.
#include "excel_test_util.hpp"

using namespace orv;
using namespace orv::excel;

namespace {
struct Plot : Book {
  Chart chart = sheet.ChartObjects().Add(0, 0, 200, 200).Chart();

  Series Add(std::initializer_list<double> y, std::initializer_list<double> x = {}) {
    Series s = chart.SeriesCollection().NewSeries();
    s.LetValues(Vec(y));
    if (x.size() > 0) s.LetXValues(Vec(x));
    return s;
  }
};

struct Scale {
  double min, max, unit;
  bool operator==(const Scale&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Scale& s) {
  return os << s.min << " .. " << s.max << " by " << s.unit;
}
Scale Read(const Axis& a) { return {a.MinimumScale(), a.MaximumScale(), a.MajorUnit()}; }
}  // namespace

TEST(DrawingAxis, AutomaticScalesFromTheData) {
  struct Case {
    std::int32_t type;
    std::initializer_list<double> y, x;
    std::int32_t axis;
    Scale want;
  };
  const Case cases[] = {
      // Columns of 1 .. 10 start at 0; 10.5 is covered by units of 2.
      {xlColumnClustered, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {}, xlValue, {0, 12, 2}},
      {xlColumnClustered, {-1, -2, -3}, {}, xlValue, {-3.5, 0, 0.5}},    // negatives end at 0
      {xlColumnClustered, {0.1, 0.4, 0.7}, {}, xlValue, {0, 0.8, 0.1}},  // exact decimal bounds
      {xlColumnClustered, {}, {}, xlValue, {0, 1, 0.2}},                 // no data
      // Scatter: x from 1.3 (within 5/6 of 8.7, so 0 comes in); y from 95 to
      // 100 stays away from 0.
      {xlXYScatter, {95, 100, 97}, {1.3, 5, 8.7}, xlCategory, {0, 10, 2}},
      {xlXYScatter, {95, 100, 97}, {1.3, 5, 8.7}, xlValue, {94, 101, 1}},
      {xlXYScatter, {4, 4}, {}, xlValue, {2, 6, 0.5}},  // one value: half its size either side
  };
  for (const Case& c : cases) {
    Plot p;
    p.chart.LetChartType(c.type);
    if (c.y.size() > 0) p.Add(c.y, c.x);
    EXPECT_EQ(Read(p.chart.Axes(c.axis)), c.want) << c.type << " " << c.axis << " " << c.want;
    EXPECT_TRUE(p.chart.Axes(c.axis).MinimumScaleIsAuto());
  }
  Plot p;
  p.Add({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  EXPECT_EQ(p.chart.Axes(xlValue).MinorUnit(), 0.4);
}

TEST(DrawingAxis, FixedScalesAndTheirLimits) {
  Plot p;
  p.Add({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  Axis a = p.chart.Axes(xlValue);
  a.LetMinimumScale(2);  // the rest follows: 2 .. 10.4 by 2
  EXPECT_EQ(Read(a), (Scale{2, 12, 2}));
  EXPECT_FALSE(a.MinimumScaleIsAuto());
  a.LetMajorUnit(5);
  EXPECT_EQ(Read(a), (Scale{2, 15, 5}));
  a.LetMaximumScale(11);
  EXPECT_EQ(Read(a), (Scale{2, 11, 5}));
  EXPECT_FAILS(1004, kXl, CantSet("MinimumScale", "Axis"), a.LetMinimumScale(11));
  EXPECT_FAILS(1004, kXl, CantSet("MaximumScale", "Axis"), a.LetMaximumScale(1));
  EXPECT_FAILS(1004, kXl, CantSet("MajorUnit", "Axis"), a.LetMajorUnit(0));
  a.LetMinimumScaleIsAuto(true);
  a.LetMaximumScaleIsAuto(true);
  a.LetMajorUnitIsAuto(true);
  EXPECT_EQ(Read(a), (Scale{0, 12, 2}));

  // A category axis of columns has no scale.
  Axis c = p.chart.Axes(xlCategory);
  EXPECT_FALSE(c.HasScale());
  EXPECT_FAILS(1004, kXl, CantGet("MinimumScale", "Axis"), c.MinimumScale());
  EXPECT_FAILS(1004, kXl, CantSet("MajorUnit", "Axis"), c.LetMajorUnit(1));
  EXPECT_FAILS(1004, kXl, CantSet("AxisBetweenCategories", "Axis"),
               a.LetAxisBetweenCategories(false));
}

TEST(DrawingAxis, CrossingPoints) {
  Plot p;
  p.chart.LetChartType(xlXYScatter);
  p.Add({95, 100, 97}, {-2, 1, 3});
  Axis y = p.chart.Axes(xlValue);
  EXPECT_EQ(y.Crosses(), xlAxisCrossesAutomatic);
  EXPECT_EQ(y.CrossesAt(), 94);  // 0 lies below the scale
  EXPECT_EQ(p.chart.Axes(xlCategory).CrossesAt(), 0);
  y.LetCrosses(xlAxisCrossesMaximum);
  EXPECT_EQ(y.CrossesAt(), 101);
  y.LetCrossesAt(96.5);
  EXPECT_EQ(y.Crosses(), xlAxisCrossesCustom);
  EXPECT_EQ(y.CrossesAt(), 96.5);
  EXPECT_FAILS(1004, kXl, CantSet("Crosses", "Axis"), y.LetCrosses(3));
}

TEST(DrawingAxis, DeletedAxesKeepTheirScale) {
  Plot p;
  p.chart.LetChartType(xlXYScatter);
  p.Add({0.2, 0.9}, {-0.5, 0.5});
  for (std::int32_t type : {xlCategory, xlValue}) {
    p.chart.Axes(type).LetMinimumScale(-1.05);
    p.chart.Axes(type).LetMaximumScale(1.05);
  }
  p.chart.Axes(xlCategory, xlPrimary).Delete();
  p.chart.Axes(xlValue, xlPrimary).Delete();
  EXPECT_FALSE(p.chart.HasAxis(xlCategory));
  EXPECT_FALSE(p.chart.HasAxis(xlValue));
  EXPECT_FAILS(1004, kXl, "Method 'Axes' of object '_Chart' failed", p.chart.Axes(xlValue));
  EXPECT_EQ(p.chart.AxisState(xlValue, xlPrimary).MinimumScale(), -1.05);
  EXPECT_EQ(p.chart.AxisState(xlCategory, xlPrimary).MaximumScale(), 1.05);
  EXPECT_FAILS(1004, kXl, "Delete method of Axis class failed",
               p.chart.AxisState(xlValue, xlPrimary).Delete());
  p.chart.LetHasAxis(xlValue, xlPrimary, true);
  EXPECT_EQ(p.chart.Axes(xlValue).MaximumScale(), 1.05);
  // Deleted axes take no room: the inside of the plot area grows.
  const double with = p.chart.PlotArea().InsideHeight();
  p.chart.LetHasAxis(xlCategory, xlPrimary, true);
  EXPECT_LT(p.chart.PlotArea().InsideHeight(), with);
}

TEST(DrawingAxis, AxesAChartHas) {
  Plot p;
  p.Add({1, 2});
  EXPECT_TRUE(p.chart.HasAxis(xlCategory, xlPrimary));
  EXPECT_TRUE(p.chart.Axes(xlValue).HasMajorGridlines());
  EXPECT_FALSE(p.chart.Axes(xlCategory).HasMajorGridlines());
  EXPECT_FAILS(1004, kXl, "Method 'Axes' of object '_Chart' failed", p.chart.Axes(xlSeriesAxis));
  EXPECT_FAILS(1004, kXl, "Method 'Axes' of object '_Chart' failed", p.chart.Axes(xlValue, 3));
  EXPECT_FAILS(1004, kXl, CantGet("HasAxis", "Chart"), p.chart.HasAxis(4));
  Axis a = p.chart.Axes(xlValue);
  EXPECT_FAILS(1004, kXl, CantGet("AxisTitle", "Axis"), a.AxisTitle());
  EXPECT_FAILS(1004, kXl, CantSet("TickLabelPosition", "Axis"), a.LetTickLabelPosition(5));
  EXPECT_FAILS(1004, kXl, CantSet("MajorTickMark", "Axis"), a.LetMajorTickMark(1));

  p.chart.LetChartType(xlPie);
  EXPECT_FALSE(p.chart.HasAxis(xlValue));
  EXPECT_FAILS(1004, kXl, "Method 'Axes' of object '_Chart' failed", p.chart.Axes(xlValue));
  EXPECT_FAILS(1004, kXl, CantSet("HasAxis", "Chart"),
               p.chart.LetHasAxis(xlValue, xlPrimary, true));
  EXPECT_FAILS(1004, kXl, "Add method of Trendlines class failed",
               p.chart.SeriesCollection(1).Trendlines().Add());
}
