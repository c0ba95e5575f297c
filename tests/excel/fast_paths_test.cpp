// The paths that read the cell storage directly (runs of numbers) against
// what the cells' values give one cell at a time: worksheet functions,
// series data, axis scales and trendline fits.
#include <bit>
#include <cmath>
#include <limits>
#include <map>

#include "excel_test_util.hpp"

using namespace orv;
using namespace orv::excel;

namespace {

constexpr std::int32_t kRows = 9000;  // more than two chunks of 4,096 rows

double Number(std::int32_t r) { return std::sin(r * 0.37) * 100 + (r % 7) * 0.001; }

struct Data : Book {
  // A scatter chart on the sheet, made on first asking.
  Chart Scatter() {
    if (scatter.IsNothing()) {
      scatter = sheet.ChartObjects().Add(0, 0, 300, 200).Chart();
      scatter.LetChartType(xlXYScatter);
    }
    return scatter;
  }
  Chart scatter;

  // Column A: numbers only (dense chunks), with 0 before -0 and -0
  // before 0 in places. Column B: the same numbers mixed with blanks,
  // texts, Booleans and dates, across the chunk boundaries. Column C:
  // numbers with one error value. Column D: a cell every 97 rows (sparse
  // chunks), now and then a text.
  Data() {
    for (std::int32_t r = 1; r <= kRows; ++r) {
      double a = Number(r);
      if (r == 100) a = 0.0;
      if (r == 101) a = -0.0;
      if (r == 5000) a = -0.0;
      if (r == 5001) a = 0.0;
      sheet.Cells(r, 1).LetValue(a);
      sheet.Cells(r, 3).LetValue(Number(r) * 2);
      const int kind = r % 11;  // 1 blank, 2 text, 3 Boolean, 4 date, else a number
      if (kind != 1)
        sheet.Cells(r, 2).LetValue(kind == 2   ? Variant("text")
                                   : kind == 3 ? Variant(r % 2 == 0)
                                   : kind == 4 ? Variant(Date{40000.0 + r})
                                               : Variant(Number(r) - 3));
    }
    sheet.Cells(4097, 3).LetValue(Variant(ErrorValue{xlErrValue}));
    for (std::int32_t r = 5; r <= kRows; r += 97)
      sheet.Cells(r, 4).LetValue(r % 5 == 0 ? Variant("t") : Variant(Number(r)));
  }
};

// The values of every area of the range, row by row, in one array: the
// worksheet functions read an array one element at a time.
Variant Flat(const Range& range) {
  std::vector<Variant> all;
  for (std::int32_t a = 1; a <= range.Areas().Count(); ++a) {
    const Range area = range.Areas(a);
    for (std::int32_t r = 1; r <= area.Rows().Count(); ++r)
      for (std::int32_t c = 1; c <= area.Columns().Count(); ++c)
        all.push_back(area.Cells(r, c).Value());
  }
  Array<Variant> out(1, static_cast<std::int32_t>(all.size()));
  for (std::size_t i = 0; i < all.size(); ++i) out(static_cast<std::int32_t>(i + 1)) = all[i];
  return Variant(std::move(out));
}

// Each function over the range equals, bit for bit and sign of zero
// included, the same function over its values one by one; a failure is the
// same failure.
void ExpectFunctionsByCell(Data& b, const Range& range) {
  const Variant values = Flat(range);
  using F = double (WorksheetFunction::*)(std::initializer_list<FunctionArg>) const;
  for (F f :
       {F(&WorksheetFunction::Count), F(&WorksheetFunction::CountA), F(&WorksheetFunction::Sum),
        F(&WorksheetFunction::SumSq), F(&WorksheetFunction::Average), F(&WorksheetFunction::Min),
        F(&WorksheetFunction::Max)}) {
    double got = 0, want = 0;
    EXPECT_EQ(Fails([&] { got = (b.wf.*f)({range}); }), Fails([&] { want = (b.wf.*f)({values}); }));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(want))
        << range.AddressLocal() << ": " << got << " vs " << want;
  }
}

// A new series of the ranges, whose values and x values must be the cells
// of the ranges, area by area, row by row: values their numbers, x values
// the cells' values.
Series ExpectSeriesReadsCells(Data& b, const Range& values, const Range& xs) {
  Series s = b.Scatter().SeriesCollection().NewSeries();
  s.LetValues(values);
  s.LetXValues(xs);
  const Variant want_values = Flat(values), want_xs = Flat(xs), shown = s.XValues();
  const auto numbers = s.ValueNumbers();
  EXPECT_EQ(static_cast<std::int32_t>(numbers.size()), want_values.UBound(1));
  for (std::int32_t i = 1; i <= want_values.UBound(1) && i <= std::ssize(numbers); ++i) {
    const Variant v = want_values.Element(i);
    EXPECT_EQ(numbers[i - 1], v.IsNumber() ? std::optional(CDbl(v)) : std::nullopt) << i;
  }
  EXPECT_EQ(shown.UBound(1), want_xs.UBound(1));
  for (std::int32_t i = 1; i <= want_xs.UBound(1) && i <= shown.UBound(1); ++i)
    EXPECT_TRUE(shown.Element(i) == want_xs.Element(i)) << i;
  return s;
}

}  // namespace

TEST(ExcelFastPaths, FunctionsOverDenseMixedAndMultiAreaRangesMatchCellByCell) {
  Data b;
  ExpectFunctionsByCell(b, b.sheet.Range("A1:A9000"));
  ExpectFunctionsByCell(b, b.sheet.Range("A1:B9000"));
  ExpectFunctionsByCell(b, b.sheet.Range("A4000:A4200,B10:B5000,A100:A101"));
  ExpectFunctionsByCell(b, b.sheet.Range("A5000:A5001"));
  // Blank cells past the data.
  ExpectFunctionsByCell(b, b.sheet.Range("A8000:A20000"));
  // Sparse chunks, alone and beside dense ones.
  ExpectFunctionsByCell(b, b.sheet.Range("C4000:D9000"));
  ExpectFunctionsByCell(b, b.sheet.Range("B1:E9000"));
}

// Cells written and cleared at random in one chunk, past the point where a
// sparse chunk turns dense and back to few cells: every cell reads as a
// plain map of the writes says.
TEST(ExcelFastPaths, SparseAndDenseChunksHoldWhatWasWritten) {
  Book b;
  std::map<std::int32_t, Variant> want;
  std::uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u; };
  for (int step = 0; step < 3000; ++step) {
    const auto row = static_cast<std::int32_t>(4097 + (next() >> 8) % 4096);
    const std::uint32_t what = (next() >> 8) % 4;
    const Variant v = what == 0   ? Variant()
                      : what == 1 ? Variant("t" + std::to_string(row % 3))
                                  : Variant(static_cast<double>(row) + 0.5);
    if (step == 2000) {
      b.sheet.Range("A4097:A6500").ClearContents();
      want.erase(want.begin(), want.upper_bound(6500));
    }
    b.sheet.Cells(row, 1).LetValue(v);
    if (v.IsEmpty())
      want.erase(row);
    else
      want[row] = v;
  }
  for (std::int32_t r = 4097; r <= 8192; ++r) {
    auto it = want.find(r);
    ASSERT_TRUE(b.sheet.Cells(r, 1).Value() == (it == want.end() ? Variant() : it->second)) << r;
  }
  EXPECT_EQ(b.wf.CountA({b.sheet.Range("A1:A9000")}), static_cast<double>(want.size()));
  EXPECT_EQ(b.sheet.UsedRange().Row(), want.begin()->first);
}

TEST(ExcelFastPaths, MinAndMaxKeepTheFirstOfEqualZeros) {
  Data b;
  // 0 comes before -0: Min and Max keep 0.
  EXPECT_FALSE(std::signbit(b.wf.Min(b.sheet.Range("A100:A101"))));
  // All of column A from 5000 on: the first zero is -0.
  for (std::int32_t r = 5002; r <= kRows; ++r) b.sheet.Cells(r, 1).LetValue(1.0 + r);
  for (std::int32_t r = 4097; r < 5000; ++r) b.sheet.Cells(r, 1).LetValue(2.0);
  EXPECT_TRUE(std::signbit(b.wf.Min(b.sheet.Range("A4097:A9000"))));
  EXPECT_TRUE(std::signbit(b.wf.Max(b.sheet.Range("A5000:A5001"))));
}

TEST(ExcelFastPaths, ErrorValuesFailOverRuns) {
  Data b;
  const Range c = b.sheet.Range("C1:C9000");
  ExpectFunctionsByCell(b, c);
  EXPECT_FAILS(1004, kXl, CantGet("Sum", kWf), b.wf.Sum(c));
  EXPECT_FAILS(1004, kXl, CantGet("SumProduct", kWf),
               b.wf.SumProduct(c, b.sheet.Range("A1:A9000")));
  EXPECT_EQ(b.wf.Count(c), kRows - 1);
  EXPECT_EQ(b.wf.CountA(c), kRows);
}

// SumProduct of the ranges equals SumProduct of their values.
void ExpectSumProductByCell(Data& b, const Range& x, const Range& y) {
  double got = 0, want = 0;
  EXPECT_EQ(Fails([&] { got = b.wf.SumProduct(x, y); }),
            Fails([&] { want = b.wf.SumProduct(x.Value(), y.Value()); }));
  EXPECT_EQ(got, want) << x.AddressLocal() << " . " << y.AddressLocal();
}

TEST(ExcelFastPaths, SumProductOfRangesMatchesCellByCell) {
  Data b;
  ExpectSumProductByCell(b, b.sheet.Range("A1:A9000"), b.sheet.Range("B1:B9000"));
  ExpectSumProductByCell(b, b.sheet.Range("A5:A8000"), b.sheet.Range("B1000:B8995"));
  ExpectSumProductByCell(b, b.sheet.Range("A1:B4000"), b.sheet.Range("B1:C4000"));
  // Three ranges, one of them offset across a chunk boundary.
  const Range x = b.sheet.Range("A1:A5000"), y = b.sheet.Range("B4000:B8999"),
              z = b.sheet.Range("A2:A5001");
  EXPECT_EQ(b.wf.SumProduct(x, y, z), b.wf.SumProduct(x.Value(), y.Value(), z.Value()));
  EXPECT_NE(b.wf.SumProduct(x, y, z), b.wf.SumProduct(x, z, y));  // not reordered
  // Shapes that differ, and several areas, still fail.
  EXPECT_FAILS(1004, kXl, CantGet("SumProduct", kWf),
               b.wf.SumProduct(b.sheet.Range("A1:A10"), b.sheet.Range("A1:A11")));
  EXPECT_FAILS(1004, kXl, CantGet("SumProduct", kWf),
               b.wf.SumProduct(b.sheet.Range("A1:A2,A5:A6"), b.sheet.Range("A1:A4")));
}

TEST(ExcelFastPaths, SeriesDataFromRangesKeepCellValues) {
  Data b;
  const Range y = b.sheet.Range("B3:B9000,A10:A20");
  Series s = ExpectSeriesReadsCells(b, y, b.sheet.Range("B1:B8998,A1:A11"));
  // Text among the categories: the points plot at 1, 2, ...
  const auto positions = s.XValueNumbers();
  for (std::size_t i = 0; i < positions.size(); ++i)
    ASSERT_EQ(positions[i], std::optional<double>(static_cast<double>(i + 1)));
  // Numbers and dates only: the points plot at them.
  s.LetXValues(b.sheet.Range("A1:A9000"));
  // Points past the last category have no position.
  const auto at = s.XValueNumbers();
  ASSERT_EQ(at.size(), static_cast<std::size_t>(y.Cells().Count()));
  for (std::size_t i = 0; i < at.size(); ++i) {
    const auto row = static_cast<std::int32_t>(i + 1);
    const std::optional<double> want =
        i < 9000 ? std::optional<double>(CDbl(b.sheet.Cells(row, 1).Value())) : std::nullopt;
    ASSERT_EQ(at[i], want) << i;
  }
}

TEST(ExcelFastPaths, KeptScalesAndFitsFollowTheData) {
  Data b;
  Series s = b.Scatter().SeriesCollection().NewSeries();
  s.LetValues(b.sheet.Range("A1:A9000"));
  s.LetXValues(b.sheet.Range("C1:C4000"));
  const Axis value = b.Scatter().Axes(xlValue);
  const double before = value.MaximumScale();
  const Trendline t = s.Trendlines().Add(xlLinear);
  const std::vector<double> first = t.Coefficients();
  ASSERT_EQ(first.size(), 2u);
  // The cells change: the scale and the fit follow them.
  for (std::int32_t r = 1; r <= 10; ++r) b.sheet.Cells(r, 1).LetValue(1000.0 + r * r);
  EXPECT_GT(value.MaximumScale(), before);
  const std::vector<double> second = t.Coefficients();
  ASSERT_EQ(second.size(), 2u);
  EXPECT_NE(first, second);
  // The same data set again: the same fit.
  s.LetValues(b.sheet.Range("A1:A9000"));
  EXPECT_EQ(t.Coefficients(), second);
  // The settings change: the fit follows.
  t.LetIntercept(0);
  EXPECT_EQ(t.Coefficients().front(), 0);
  t.LetInterceptIsAuto(true);
  EXPECT_EQ(t.Coefficients(), second);
  // A blank among the points: they are left out, the fit changes.
  b.sheet.Cells(5, 1).LetValue(Variant());
  EXPECT_NE(t.Coefficients(), second);
  // A text among the x values: the points plot at 1, 2, ... and the fit
  // follows; a number in its place brings the x values back.
  const std::vector<double> with_blank = t.Coefficients();
  b.sheet.Cells(7, 3).LetValue("seven");
  EXPECT_NE(t.Coefficients(), with_blank);
  EXPECT_EQ(s.XValueNumbers()[6], 7.0);
  b.sheet.Cells(7, 3).LetValue(Number(7) * 2);
  EXPECT_EQ(s.XValueNumbers()[6], Number(7) * 2);
  EXPECT_EQ(t.Coefficients(), with_blank);
}

TEST(ExcelFastPaths, KeptBlockSumsFollowTheCells) {
  Data b;
  const Range a = b.sheet.Range("A1:A9000");
  // Min works out every figure of the block; the others are answered from
  // what it kept, and every change of a cell is seen.
  ExpectFunctionsByCell(b, a);
  b.sheet.Cells(4500, 1).LetValue(-1000.0);
  ExpectFunctionsByCell(b, a);
  EXPECT_EQ(b.wf.Min(a), -1000.0);
  b.sheet.Cells(4500, 1).LetValue("now text");
  ExpectFunctionsByCell(b, a);
  b.sheet.Range("A1:A4096").ClearContents();
  ExpectFunctionsByCell(b, a);
  // More blocks than are kept, then the first again.
  for (std::int32_t top = 1; top <= 12; ++top)
    ExpectFunctionsByCell(b, b.sheet.Range(b.sheet.Cells(top, 2), b.sheet.Cells(8000 + top, 2)));
  ExpectFunctionsByCell(b, a);
  // The same block of another sheet has its own figures.
  Worksheet other = b.book.Worksheets().Add();
  EXPECT_EQ(b.wf.Count(other.Range("A1:A9000")), 0);
  EXPECT_EQ(b.wf.Sum(other.Range("A1:A9000")), 0);
  other.Range("A9000").LetValue(5.0);
  EXPECT_EQ(b.wf.Max(other.Range("A1:A9000")), 5);
  ExpectFunctionsByCell(b, a);
  // An error value among kept figures still fails, every time.
  const Range c = b.sheet.Range("C1:C9000");
  EXPECT_EQ(b.wf.Count(c), kRows - 1);
  for (int i = 0; i < 2; ++i) {
    EXPECT_FAILS(1004, kXl, CantGet("Average", kWf), b.wf.Average(c));
    EXPECT_FAILS(1004, kXl, CantGet("Min", kWf), b.wf.Min(c));
  }
  EXPECT_EQ(b.wf.Count(c), kRows - 1);
}

TEST(ExcelFastPaths, KeptProductsFollowTheCellsEitherWayRound) {
  Data b;
  const Range x = b.sheet.Range("A5:A8000"), y = b.sheet.Range("B1000:B8995");
  ExpectSumProductByCell(b, x, y);
  ExpectSumProductByCell(b, y, x);
  b.sheet.Cells(1500, 2).LetValue(123456.0);
  ExpectSumProductByCell(b, y, x);
  b.sheet.Cells(6, 1).LetValue(Variant(ErrorValue{xlErrNA}));
  EXPECT_FAILS(1004, kXl, CantGet("SumProduct", kWf), b.wf.SumProduct(x, y));
  EXPECT_FAILS(1004, kXl, CantGet("SumProduct", kWf), b.wf.SumProduct(y, x));
  b.sheet.Cells(6, 1).LetValue(1.0);
  ExpectSumProductByCell(b, x, y);
  // Columns on two sheets.
  Worksheet other = b.book.Worksheets().Add();
  other.Range("A1:A3").LetValue(b.sheet.Range("A1:A3").Value());
  const double want = b.wf.SumProduct(b.sheet.Range("A1:A3"), b.sheet.Range("A1:A3"));
  EXPECT_EQ(b.wf.SumProduct(other.Range("A1:A3"), b.sheet.Range("A1:A3")), want);
  other.Range("A2").LetValue(0.0);
  EXPECT_NE(b.wf.SumProduct(b.sheet.Range("A1:A3"), other.Range("A1:A3")), want);
}

TEST(ExcelFastPaths, StraightLinesOfColumnsEqualThoseOfTheSameArrays) {
  Data b;
  for (std::int32_t r = 1; r <= kRows; ++r) b.sheet.Cells(r, 4).LetValue(r * 0.5 + Number(r));
  Chart chart = b.Scatter();
  const Range x = b.sheet.Range("A3:A9000"), y = b.sheet.Range("D1:D8998");
  Series columns = chart.SeriesCollection().NewSeries();
  columns.LetValues(y);
  columns.LetXValues(x);
  Series arrays = chart.SeriesCollection().NewSeries();
  arrays.LetValues(y.Value());
  arrays.LetXValues(x.Value());
  for (std::optional<double> intercept : {std::optional<double>(), std::optional<double>(2.5)}) {
    const Trendline from_cells = columns.Trendlines().Add(xlLinear);
    const Trendline from_arrays = arrays.Trendlines().Add(xlLinear);
    if (intercept) {
      from_cells.LetIntercept(*intercept);
      from_arrays.LetIntercept(*intercept);
    }
    ASSERT_EQ(from_cells.Coefficients().size(), 2u);
    EXPECT_EQ(from_cells.Coefficients(), from_arrays.Coefficients());
    EXPECT_EQ(from_cells.RSquared(), from_arrays.RSquared());
    // The pass over the columns leaves their SumProduct, as it is.
    ExpectSumProductByCell(b, y, x);
  }
  // A blank among the values: the points are read one by one, with the
  // same result as the arrays.
  b.sheet.Cells(10, 4).LetValue(Variant());
  arrays.LetValues(y.Value());
  const Trendline from_cells = columns.Trendlines().Add(xlLinear);
  const Trendline from_arrays = arrays.Trendlines().Add(xlLinear);
  EXPECT_EQ(from_cells.Coefficients(), from_arrays.Coefficients());
}

TEST(ExcelFastPaths, SeriesOverWideAreasReadRowByRowAcrossBlocks) {
  Data b;
  // Three columns of mixed cells over a chunk boundary, then a column: the
  // entries run row by row, area after area, and the blocks they are read
  // in start in the middle of rows.
  const Range values = b.sheet.Range("A3000:C6000,B7:B9");
  const Range xs = b.sheet.Range("B3001:D6001,A1:A3");
  Series s = ExpectSeriesReadsCells(b, values, xs);
  const Variant want_values = Flat(values), want_xs = Flat(xs);
  // Column D is blank and column B holds texts: the points plot at 1, 2, ...
  EXPECT_EQ(s.XValueNumbers().back(), static_cast<double>(want_values.UBound(1)));
  // The points' labels read single entries in the middle of the areas.
  s.ApplyDataLabels(xlDataLabelsShowLabel);
  for (std::int32_t i : {1, 2, 3, 4, 2049, 5000, 9003, 9004}) {
    const Variant x = want_xs.Element(i);
    const std::string text = s.Points(i).DataLabel().Text();
    if (x.IsString()) {
      EXPECT_EQ(text, x.AsString()) << i;
    } else if (x.IsEmpty()) {
      EXPECT_EQ(text, "") << i;
    } else {
      EXPECT_FALSE(text.empty()) << i;
    }
  }
}
