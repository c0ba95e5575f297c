// The command line of `orv`: help for every command, the version, and the
// usage errors (exit status 2) that never start a report.
#include <gtest/gtest.h>

#include "orv/xlsx/xlsx.hpp"
#include "report.hpp"
#include "report_test_util.hpp"

using namespace orv;
using namespace orv::report;
using namespace orv::report::testing;

namespace {

TEST(OrvCommandLine, HelpOfTheProgramAndOfTheReportDocumentsEveryOption) {
  const Outcome top = Orv({"--help"});
  EXPECT_EQ(top.status, kExitOk);
  EXPECT_TRUE(Has(top.out, "report") && Has(top.out, "--version")) << top.out;
  const Outcome r = Orv({"report", "--help"});
  EXPECT_EQ(r.status, kExitOk);
  for (const char* option :
       {"INPUT", "-o,--output", "--sheet", "--range", "--no-headers", "--rows", "--group",
        "--level", "--drop-incomplete", "--separator", "--decimal-comma", "report.xlsx", "0.95"})
    EXPECT_TRUE(Has(r.out, option)) << option << "\n" << r.out;
}

TEST(OrvCommandLine, VersionIsTheProjects) {
  const Outcome r = Orv({"--version"});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.out, "orv " + Version() + "\n");
}

TEST(OrvCommandLine, UsageErrorsExitWithTwoAndWriteNothing) {
  TempDir dir;
  const std::vector<std::vector<std::string>> cases = {
      {},                                                  // no command
      {"summarise"},                                       // no such command
      {"report", "--colour"},                              // no such option
      {"report", "--level"},                               // a value missing
      {"report", "--level", "abc", "-o", dir / "o.xlsx"},  // not a number
      {"report", "--level", "1.5", "-o", dir / "o.xlsx"},  // outside (0, 1)
      {"report", "--level", "0", "-o", dir / "o.xlsx"},
      {"report", "-o", dir / "o.csv"},  // not an .xlsx name
      {"report", "--separator", "abc", "-o", dir / "o.xlsx"},
      {"report", "a.csv", "b.csv", "-o", dir / "o.xlsx"},  // two inputs
  };
  for (const auto& args : cases) {
    const Outcome r = Orv(args);
    EXPECT_EQ(r.status, kExitUsage) << ::testing::PrintToString(args) << "\n" << r.err;
    EXPECT_FALSE(r.err.empty());
  }
  EXPECT_EQ(dir.Files(), std::vector<std::string>{});
  EXPECT_TRUE(Has(Orv({"report", "--level", "1.5", "-o", dir / "o.xlsx"}).err,
                  "--level must lie strictly between 0 and 1"));
}

TEST(OrvCommandLine, LevelChangesTheIntervalsAndTheirHeaders) {
  TempDir dir;
  const Outcome r = Orv({"report", "--level", "0.99", "-o", dir / "o.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "99% CI of the mean")) << r.out;
  // R: mean(iris$Sepal.Length) + c(-1, 1) * qt(0.995, 149) * sd / sqrt(150)
  // = 5.66692 .. 6.01975.
  EXPECT_TRUE(Has(r.out, "5.667 to 6.020")) << r.out;
  EXPECT_EQ(LevelText(0.975), "97.5%");
}

TEST(ReportDisplay, FourSignificantDigitsWhateverTheMagnitude) {
  const struct {
    double value;
    const char* format;
    const char* text;
  } cases[] = {
      {0, "0", "0"},
      {0.0001, "0.0000000", "0.0001000"},
      {0.00009999, "0.000E+00", "9.999E-05"},
      {-0.5, "0.0000", "-0.5000"},
      {9.99996, "0.00", "10.00"},  // rounds up into the next decade
      {119.2645, "0.0", "119.3"},
      {2166666.7, "0", "2166667"},
      {2e15, "0.000E+00", "2.000E+15"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SignificantFormat(c.value), c.format) << c.value;
    EXPECT_EQ(SignificantText(c.value), c.text) << c.value;
  }
}

TEST(ReportDisplay, AnInfiniteFIsABlankWithANoteAndTheConsoleStaysAligned) {
  // x is constant within each group: F is infinite.
  TempDir dir;
  const Outcome r = Orv({"report", dir.Write("in.csv", "x,y,g\n1,5,a\n1,6,a\n2,70000,b\n2,9,b\n"),
                         "--group", "g", "-o", dir / "o.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "F(1, 2) = infinite")) << r.out;
  EXPECT_TRUE(Has(r.out,
                  "Variable  N   Mean      SD  95% CI of the mean\n"
                  "x         4  1.500  0.5774  0.5813 to 2.419\n"
                  "y         4  17505   34997  -38183 to 73193\n"))
      << r.out;
  excel::Application app;
  const excel::Workbook book = xlsx::OpenXlsx(app, dir / "o.xlsx");
  const excel::Worksheet sheet = book.Worksheets("Report");
  const SheetTable t = ReadTable(sheet, "One-way analysis of variance by g");
  ASSERT_EQ(t.rows.size(), 6u);
  EXPECT_TRUE(t.rows[0][5].IsEmpty());  // F of x
  EXPECT_EQ(t.Number(0, 6), 0.0);       // its p
  EXPECT_EQ(CStr(sheet.Cells(t.row + 9, 1).Value()), "Left blank above: F of x is infinite.");
}

}  // namespace
