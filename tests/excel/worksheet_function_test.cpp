#include <cmath>
#include <fstream>
#include <sstream>

#include "excel_test_util.hpp"

using namespace orv;
using namespace orv::excel;

namespace {
// A1:A6 = 2, 4, "7", TRUE, (blank), 9 ; B1:B3 = 1, 2, 3
struct Data : Book {
  Data() {
    Fill("A1:A6", {2.0, 4.0, "7", true, Variant(), 9.0});
    Fill("B1:B3", {1.0, 2.0, 3.0});
  }
};
}  // namespace

TEST(ExcelWorksheetFunction, RangesCountNumbersAndSkipTextAndBooleans) {
  Data b;
  Range a = b.app.Range("A1:A6");
  EXPECT_EQ(b.wf.Count(a), 3);
  EXPECT_EQ(b.wf.CountA(a), 5);
  EXPECT_EQ(b.wf.Sum(a), 15);
  EXPECT_EQ(b.wf.SumSq(a), 4 + 16 + 81);
  EXPECT_EQ(b.wf.Average(a), 5);
  EXPECT_EQ(b.wf.Min(a), 2);
  EXPECT_EQ(b.wf.Max(a), 9);
  // Mean 5, squared deviations 9 + 1 + 16 = 26 over 2.
  EXPECT_EQ(b.wf.Var(a), 13);
  // Two cells as two arguments; several areas.
  EXPECT_EQ(b.wf.CountA(b.sheet.Cells(1, 1), b.sheet.Cells(5, 1)), 1);
  EXPECT_EQ(b.wf.CountA(b.sheet.Cells(1, 1), b.sheet.Cells(3, 1)), 2);
  EXPECT_EQ(b.wf.Count(b.app.Range("A1:A2,B1:B3")), 5);
  EXPECT_EQ(b.wf.Sum(b.app.Range("A1:A2"), b.app.Range("B1:B3")), 12);
  // A range held by a Variant counts as the range.
  EXPECT_EQ(b.wf.Count(a.AsVariant()), 3);
}

TEST(ExcelWorksheetFunction, DirectValuesConvert) {
  Data b;
  EXPECT_EQ(b.wf.Count(1.0, "2", true, "x"), 3);
  EXPECT_EQ(b.wf.CountA(1.0, "x", false), 3);
  EXPECT_EQ(b.wf.Sum(1.0, "2", true), 4);  // TRUE is 1
  EXPECT_FAILS(1004, kXl, CantGet("Sum", kWf), b.wf.Sum(1.0, "x"));
  const Variant arr = Vec<Variant>({1.0, "2", true, 5.0});
  EXPECT_EQ(b.wf.Sum(arr), 6);  // in an array, text and Booleans are skipped
  EXPECT_EQ(b.wf.Count(arr), 2);
  EXPECT_EQ(b.wf.CountA(arr), 4);
  EXPECT_EQ(b.wf.SumSq(Grid({{1, 2}, {3, 4}})), 30);
}

TEST(ExcelWorksheetFunction, FailuresOfTheSpreadsheet) {
  Data b;
  EXPECT_FAILS(1004, kXl, CantGet("Var", kWf), b.wf.Var(b.app.Range("A1")));
  EXPECT_FAILS(1004, kXl, CantGet("Var", kWf), b.wf.Var(b.app.Range("A3:A5")));
  EXPECT_FAILS(1004, kXl, CantGet("Average", kWf), b.wf.Average(b.app.Range("C1:C9")));
  EXPECT_EQ(b.wf.Min(b.app.Range("C1:C9")), 0);
  EXPECT_EQ(b.wf.Max(b.app.Range("C1:C9")), 0);
  EXPECT_EQ(b.wf.Sum(b.app.Range("C1:C9")), 0);
  b.sheet.Cells(7, 1).LetValue(Variant(ErrorValue{xlErrDiv0}));
  Range with_error = b.app.Range("A1:A7");
  EXPECT_EQ(b.wf.Count(with_error), 3);
  EXPECT_EQ(b.wf.CountA(with_error), 6);
  using F = double (WorksheetFunction::*)(const Range&) const;
  for (auto [name, f] : {std::pair<const char*, F>{"Sum", &WorksheetFunction::Sum<Range>},
                         {"Var", &WorksheetFunction::Var<Range>},
                         {"Average", &WorksheetFunction::Average<Range>},
                         {"Min", &WorksheetFunction::Min<Range>},
                         {"Max", &WorksheetFunction::Max<Range>},
                         {"SumSq", &WorksheetFunction::SumSq<Range>}})
    EXPECT_FAILS(1004, kXl, CantGet(name, kWf), (b.wf.*f)(with_error));
  EXPECT_FAILS(91, "ORVMain", kNotSet, b.wf.Count(Range()));
  EXPECT_FAILS(91, "ORVMain", kNotSet, WorksheetFunction(nullptr).Count(1.0));
}

TEST(ExcelWorksheetFunction, SumProduct) {
  Data b;
  // (2, 4, "7") . (1, 2, 3): text counts as 0.
  EXPECT_EQ(b.wf.SumProduct(b.app.Range("A1:A3"), b.app.Range("B1:B3")), 2 + 8);
  EXPECT_EQ(b.wf.SumProduct(b.app.Range("B1:B3")), 6);
  EXPECT_FAILS(1004, kXl, CantGet("SumProduct", kWf),
               b.wf.SumProduct(b.app.Range("A1:A3"), b.app.Range("B1:B2")));
  EXPECT_FAILS(1004, kXl, CantGet("SumProduct", kWf), b.wf.SumProduct(b.app.Range("A1:A2,B1:B2")));
  EXPECT_EQ(b.wf.SumProduct(Vec({1.0, 2.0, 3.0}), Vec({1.0, 2.0, 3.0})), 14);
}

TEST(ExcelWorksheetFunction, NormSDist) {
  Data b;
  EXPECT_EQ(b.wf.NormSDist(0.0), 0.5);
  // Phi(1.96) = 0.9750021048517795 (R: pnorm(1.96)); Phi(-5) = 2.866515718791939e-07.
  EXPECT_NEAR(b.wf.NormSDist(1.96), 0.97500210485177963, 4e-16);
  EXPECT_NEAR(b.wf.NormSDist(-5.0) / 2.866515718791939e-07, 1, 1e-14);
  EXPECT_NEAR(b.wf.NormSDist(b.app.Range("B1")), 0.84134474606854293, 4e-16);
  EXPECT_FAILS(1004, kXl, CantGet("NormSDist", kWf), b.wf.NormSDist("x"));
  EXPECT_FAILS(1004, kXl, CantGet("NormSDist", kWf), b.wf.NormSDist(b.app.Range("B1:B2")));
}

TEST(ExcelWorksheetFunction, TInvAgreesWithR) {
  // t = qt(1 - p/2, df) from R, polished on R's pbeta (scripts/make_tinv_reference.R).
  std::ifstream in(std::string(ORV_TEST_DATA_DIR) + "/tinv_reference.csv");
  ASSERT_TRUE(in.good());
  std::string line;
  std::getline(in, line);
  int rows = 0;
  double worst = 0;
  while (std::getline(in, line)) {
    std::stringstream ss(line);
    std::string p, df, t;
    std::getline(std::getline(std::getline(ss, p, ','), df, ','), t);
    double expected = std::stod(t);
    double ours = InverseStudentT2(std::stod(p), std::stod(df));
    double deviation = expected == 0 ? std::fabs(ours) : std::fabs(ours - expected) / expected;
    worst = std::max(worst, deviation);
    EXPECT_LE(deviation, 4e-13) << "p=" << p << " df=" << df;
    ++rows;
  }
  EXPECT_EQ(rows, 450);
  RecordProperty("worst_relative_deviation", std::to_string(worst));
}

TEST(ExcelWorksheetFunction, TInvDomain) {
  Data b;
  EXPECT_EQ(b.wf.TInv(1.0, 10.0), 0);
  EXPECT_NEAR(b.wf.TInv(0.05, 10.0), 2.2281388519862739, 1e-14);  // R: qt(0.975, 10)
  EXPECT_EQ(b.wf.TInv(0.05, 10.9), b.wf.TInv(0.05, 10.0));        // df truncated
  EXPECT_NEAR(b.wf.TInv(0.5, 1.0), 1.0, 1e-15);
  EXPECT_NEAR(b.wf.TInv(0.5, 2.0), 0.81649658092772592, 1e-15);
  EXPECT_NEAR(b.wf.TInv("0.05", b.app.Range("B2")), 4.3026527297494619, 1e-13);  // qt(0.975, 2)
  const std::pair<double, double> outside[] = {{0.0, 5.0},   {-0.1, 5.0}, {1.0000001, 5.0},
                                               {0.05, 0.99}, {0.05, 0.0}, {0.05, 2e10}};
  for (auto [p, df] : outside) EXPECT_FAILS(1004, kXl, CantGet("TInv", kWf), b.wf.TInv(p, df));
  EXPECT_FAILS(1004, kXl, CantGet("TInv", kWf), b.wf.TInv("x", 3.0));
  // The upper tail inverts the quantile.
  for (double p : {1e-12, 0.01, 0.3, 0.9})
    for (double df : {3.0, 30.0, 300.0})
      EXPECT_NEAR(2 * StudentTUpper(InverseStudentT2(p, df), df) / p, 1, 1e-12);
  EXPECT_NEAR(StudentTUpper(-1.0, 1.0), 0.75, 1e-15);
}

TEST(ExcelWorksheetFunction, Transpose) {
  Data b;
  // A column comes back as a 1-D array.
  Variant column = b.wf.Transpose(b.app.Range("B1:B3"));
  ASSERT_EQ(column.Rank(), 1);
  EXPECT_EQ(column.LBound(1), 1);
  EXPECT_EQ(column.UBound(1), 3);
  EXPECT_EQ(column.Element(3), Variant(3.0));
  // A row becomes a column (2-D); a 1-D array is a row.
  Variant back = b.wf.Transpose(column);
  ASSERT_EQ(back.Rank(), 2);
  EXPECT_EQ(back.UBound(1), 3);
  EXPECT_EQ(back.UBound(2), 1);
  EXPECT_EQ(back.Element(2, 1), Variant(2.0));
  Variant block = b.wf.Transpose(b.app.Range("A1:B2"));
  EXPECT_EQ(block.Element(1, 2), Variant(4.0));
  EXPECT_EQ(block.Element(2, 1), Variant(1.0));
  Array<double> zero_based(0, 1, 0, 2);
  zero_based(1, 2) = 7;
  Variant t = b.wf.Transpose(Variant(zero_based));
  EXPECT_EQ(t.LBound(1), 1);
  EXPECT_EQ(t.UBound(1), 3);
  EXPECT_EQ(t.Element(3, 2), Variant(7.0));
  EXPECT_EQ(b.wf.Transpose(b.app.Range("B2")), Variant(2.0));
  EXPECT_EQ(b.wf.Transpose(5.0), Variant(5.0));
}
