// Inputs users bring to `orv report`: blanks, text in numeric columns,
// constants, a single row, wide sheets, workbooks of several sheets and
// ranges of several areas, grouping variables that do not group, files that
// are not there. Each gives the report or a clear message naming the
// problem, never a crash; a failure leaves no file behind and exits with 1.
#include <gtest/gtest.h>

#include "orv/excel/excel.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/xlsx/xlsx.hpp"
#include "report.hpp"
#include "report_test_util.hpp"

using namespace orv;
using namespace orv::report;
using namespace orv::report::testing;

namespace {

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The run failed with a message holding every part, and left only the
// input behind.
void ExpectFailure(const Outcome& r, const TempDir& dir, const std::vector<std::string>& parts,
                   const std::vector<std::string>& files) {
  EXPECT_EQ(r.status, kExitFailure) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(Has(r.err, "orv report: ")) << r.err;
  for (const std::string& part : parts) EXPECT_TRUE(Has(r.err, part)) << r.err;
  EXPECT_EQ(dir.Files(), files);
}

excel::Workbook Open(excel::Application& app, const std::string& path) {
  return xlsx::OpenXlsx(app, path);
}

// A numeric table of n rows: column j holds i * (j + 1) + (i * i) % 7 so
// that no two columns are proportional.
std::string NumericCsv(int rows, int columns) {
  std::string text;
  for (int j = 1; j <= columns; ++j) {
    if (j > 1) text += ',';
    text += 'v';
    text += std::to_string(j);
  }
  text += '\n';
  for (int i = 1; i <= rows; ++i) {
    for (int j = 1; j <= columns; ++j) {
      if (j > 1) text += ',';
      text += std::to_string(i * (j + 1) + (i * i * j) % 7);
    }
    text += '\n';
  }
  return text;
}

const char* kBlanks =
    "a,b,c\n"
    "1,2,3\n"
    "2,,5\n"
    "3,4,4\n"
    "4,5,9\n"
    "5,3,\n"
    "6,7,8\n";

TEST(ReportInputs, BlankCellIsNamedWithItsColumnAndCell) {
  TempDir dir;
  const std::string csv = dir.Write("blanks.csv", kBlanks);
  const Outcome r = Orv({"report", csv, "-o", dir / "out.xlsx"});
  ExpectFailure(r, dir,
                {"column B (b) has a blank cell at B3", "--drop-incomplete",
                 "orvErrBlankVariableCells", "clsValidation.ValidateNumericData"},
                {"blanks.csv"});
}

TEST(ReportInputs, DropIncompleteLeavesOutCasesAndSaysHowMany) {
  TempDir dir;
  const std::string csv = dir.Write("blanks.csv", kBlanks);
  const Outcome r = Orv({"report", csv, "-o", dir / "out.xlsx", "--drop-incomplete"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "2 incomplete cases were left out (6 read)")) << r.out;
  EXPECT_TRUE(Has(r.out, "4 cases, 3 variables")) << r.out;
  excel::Application app;
  const excel::Workbook book = Open(app, dir / "out.xlsx");
  // Blanks were never read as zeros: the kept cases are rows 1, 3, 4, 6.
  const excel::Worksheet data = book.Worksheets("Data");
  const std::vector<double> a = {1, 3, 4, 6}, b = {2, 4, 5, 7};
  for (Long i = 0; i < 4; ++i) {
    EXPECT_EQ(data.Cells(i + 2, 1).Value().AsDouble(), a[static_cast<std::size_t>(i)]);
    EXPECT_EQ(data.Cells(i + 2, 2).Value().AsDouble(), b[static_cast<std::size_t>(i)]);
  }
  EXPECT_TRUE(data.Cells(6, 1).Value().IsEmpty());
  const SheetTable d = ReadTable(book.Worksheets("Report"), "Descriptive statistics");
  EXPECT_EQ(d.Number(0, 1), 4.0);
  EXPECT_EQ(d.Number(1, 2), 4.5);  // mean of 2, 4, 5, 7
  EXPECT_EQ(d.Number(1, 7), 2.0);  // minimum, not the 0 a blank would give
  const excel::Worksheet report = book.Worksheets("Report");
  EXPECT_EQ(report.Cells(3, 1).Value().AsString(),
            "2 cases were left out for a blank cell; 6 were read.");
}

TEST(ReportInputs, TextInANumericColumnIsNamed) {
  TempDir dir;
  const std::string csv = dir.Write("text.csv", "a,b,c\n1,2,3\n2,3,5\n3,4,n/a\n4,5,9\n5,3,1\n");
  for (const bool drop : {false, true}) {
    std::vector<std::string> args = {"report", csv, "-o", dir / "out.xlsx"};
    if (drop) args.push_back("--drop-incomplete");
    ExpectFailure(Orv(args), dir,
                  {"column C (c) holds the text \"n/a\" in cell C4, where a number belongs",
                   "orvErrBlankVariableCells"},
                  {"text.csv"});
  }
}

TEST(ReportInputs, ConstantColumnIsNamedWithItsValue) {
  TempDir dir;
  const std::string csv = dir.Write("const.csv", "a,b\n1,5\n2,5\n3,5\n4,5\n");
  ExpectFailure(Orv({"report", csv, "-o", dir / "out.xlsx"}), dir,
                {"column B (b) holds the same value (5) in every case", "orvErrNoVariableVariance"},
                {"const.csv"});
  // Constant only among the complete cases: found after dropping.
  const std::string partly = dir.Write("partly.csv", "a,b\n1,5\n2,5\n,7\n4,5\n");
  ExpectFailure(
      Orv({"report", partly, "-o", dir / "out.xlsx", "--drop-incomplete"}), dir,
      {"column B (b) holds the same value (5) in every complete case", "orvErrNoVariableVariance"},
      {"const.csv", "partly.csv"});
}

TEST(ReportInputs, TooFewCasesAreCounted) {
  TempDir dir;
  const std::string one = dir.Write("one.csv", "a,b\n1,2\n");
  ExpectFailure(Orv({"report", one, "-o", dir / "out.xlsx"}), dir,
                {"holds 1 case; a report needs at least 3", "orvErrTooFewVariableRows"},
                {"one.csv"});
  const std::string header = dir.Write("header.csv", "a,b\n");
  ExpectFailure(Orv({"report", header, "-o", dir / "out.xlsx"}), dir,
                {"holds no data below its header row"}, {"header.csv", "one.csv"});
  const std::string empty = dir.Write("empty.csv", "");
  ExpectFailure(Orv({"report", empty, "-o", dir / "out.xlsx"}), dir, {"sheet \"empty\" is empty"},
                {"empty.csv", "header.csv", "one.csv"});
}

TEST(ReportInputs, ThirtyColumnsGiveThirtyComponents) {
  TempDir dir;
  const std::string csv = dir.Write("wide.csv", NumericCsv(60, 30));
  const Outcome r = Orv({"report", csv, "-o", dir / "out.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "60 cases, 30 variables")) << r.out;
  excel::Application app;
  const excel::Worksheet report = Open(app, dir / "out.xlsx").Worksheets("Report");
  const SheetTable rt = ReadTable(report, "Correlation matrix (Pearson r)");
  ASSERT_EQ(rt.rows.size(), 30u);
  ASSERT_EQ(rt.headers.size(), 31u);
  EXPECT_EQ(rt.headers[30], "v30");
  for (std::size_t i = 0; i < 30; ++i) EXPECT_NEAR(rt.Number(i, i + 1), 1.0, 1e-14);
  const SheetTable pc = ReadTable(report, "Principal components of the correlation matrix");
  ASSERT_EQ(pc.headers.size(), 31u);
  EXPECT_NEAR(pc.Number(2, 30), 100.0, 1e-9);
}

TEST(ReportInputs, MoreThanAHundredVariablesAreRefusedBeforeReading) {
  TempDir dir;
  const std::string csv = dir.Write("wider.csv", NumericCsv(5, 101));
  ExpectFailure(Orv({"report", csv, "-o", dir / "out.xlsx"}), dir,
                {"the data hold 101 variables; a report analyses at most 100 (choose them with "
                 "--range)",
                 "orvErrTooManyVariables"},
                {"wider.csv"});
  const Outcome r = Orv({"report", csv, "--range", "A1:CV6", "-o", dir / "out.xlsx"});
  EXPECT_EQ(r.status, kExitOk) << r.err;  // columns A to CV: 100
}

TEST(ReportInputs, ThirtyColumnsDrawTheStarOfThirtyLoadings) {
  TempDir dir;
  const std::string csv = dir.Write("wide.csv", NumericCsv(60, 30));
  excel::Application app;
  Global<clsMain>().SetExcel(app);
  ReportOptions options;
  options.input = csv;
  Progress silent;
  const ReportData data = LoadReportData(app, options, silent);
  const WrittenReport written = BuildWorkbook(app, data, Analyse(data, 0.95), silent);
  Global<clsMain>().SetExcel(excel::Application(Nothing));
  EXPECT_EQ(written.warnings, std::vector<std::string>{});
  ASSERT_EQ(written.charts.size(), 4u);
  const excel::Chart star = written.book.Worksheets("Report").ChartObjects(4).Chart();
  EXPECT_EQ(star.ChartTitle().Text(), "Loadings on PC1 and PC2");
  // The data series, then the rays in series of at most 20 list elements
  // (two per ray), then the two crosshairs.
  Long ray_points = 0;
  for (Long s = 2; s <= star.SeriesCollection().Count(); ++s) {
    const std::string name = star.SeriesCollection(s).Name();
    if (name != "VGuide" && name != "HGuide")
      ray_points += static_cast<Long>(star.SeriesCollection(s).ValueNumbers().size());
  }
  EXPECT_EQ(ray_points, 60);
}

// A workbook of three sheets; the data sit on the second, with a text
// column between the numbers and the group label in column E.
std::string SeveralSheets(const TempDir& dir) {
  excel::Application app;
  excel::Workbook book = app.Workbooks().Add();
  book.Worksheets(1).LetName("Notes");
  book.Worksheets(1).Cells(1, 1).LetValue(Variant("Measured in May"));
  excel::Worksheet data = book.Worksheets().Add();
  data.LetName("Measurements");
  excel::Worksheet other = book.Worksheets().Add();
  other.LetName("Other");
  const std::vector<std::string> headers = {"x", "y", "comment", "z", "site"};
  for (Long j = 1; j <= 5; ++j)
    data.Cells(1, j).LetValue(Variant(headers[static_cast<std::size_t>(j - 1)]));
  for (Long i = 1; i <= 20; ++i) {
    data.Cells(i + 1, 1).LetValue(Variant(double(i)));
    data.Cells(i + 1, 2).LetValue(Variant(double((i * 7) % 11)));
    data.Cells(i + 1, 3).LetValue(Variant("note " + std::to_string(i)));
    data.Cells(i + 1, 4).LetValue(Variant(double((i * i) % 13)));
    data.Cells(i + 1, 5).LetValue(Variant(i <= 8 ? "north" : "south"));
  }
  other.Activate();
  const std::string path = dir / "book.xlsx";
  xlsx::SaveXlsx(book, path);
  return path;
}

TEST(ReportInputs, WorkbookOfSeveralSheetsAndARangeOfSeveralAreas) {
  TempDir dir;
  const std::string path = SeveralSheets(dir);
  const Outcome r = Orv({"report", path, "--sheet", "Measurements", "--range", "A1:B21,D1:D21",
                         "--group", "site", "-o", dir / "out.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "sheet Measurements, cells A1:B21,D1:D21")) << r.out;
  EXPECT_TRUE(Has(r.out, "20 cases, 3 variables, grouped by site (column E): north 8, south 12"))
      << r.out;
  excel::Application app;
  const excel::Worksheet report = Open(app, dir / "out.xlsx").Worksheets("Report");
  const SheetTable d = ReadTable(report, "Descriptive statistics");
  ASSERT_EQ(d.rows.size(), 3u);
  EXPECT_EQ(d.Text(2, 0), "z");
  EXPECT_EQ(d.Number(0, 2), 10.5);  // mean of 1 .. 20
  const SheetTable t = ReadTable(report, "Tukey-Kramer pairwise comparisons");
  ASSERT_EQ(t.rows.size(), 3u);
  EXPECT_EQ(t.Text(0, 1), "south - north");
}

TEST(ReportInputs, SheetNamedInTheRangeAndColumnsFoundWithoutARange) {
  TempDir dir;
  const std::string path = SeveralSheets(dir);
  // The active sheet is "Other" (empty): a range that names its sheet
  // wins, and without --range every column holding numbers is taken and
  // the text column is left out in so many words.
  Outcome r = Orv({"report", path, "--range", "Measurements!A1:B21", "-o", dir / "a.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "sheet Measurements, cells A1:B21")) << r.out;
  r = Orv({"report", path, "--sheet", "measurements", "--group", "E", "-o", dir / "b.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "cells A1:B21,D1:D21")) << r.out;
  EXPECT_TRUE(Has(r.out, "Left out, holding no numbers: column C (comment)")) << r.out;
  r = Orv({"report", path, "-o", dir / "c.xlsx"});
  ExpectFailure(r, dir, {"sheet \"Other\" is empty"}, {"a.xlsx", "b.xlsx", "book.xlsx"});
}

TEST(ReportInputs, RangeAndSheetProblemsAreNamed) {
  TempDir dir;
  const std::string path = SeveralSheets(dir);
  const std::vector<std::string> files = {"book.xlsx"};
  ExpectFailure(Orv({"report", path, "--sheet", "Data", "-o", dir / "o.xlsx"}), dir,
                {"has no sheet \"Data\"; its sheets are Other, Measurements, Notes"}, files);
  ExpectFailure(
      Orv({"report", path, "--sheet", "Measurements", "--range", "A1:", "-o", dir / "o.xlsx"}), dir,
      {"--range \"A1:\" is not a reference on sheet \"Measurements\""}, files);
  ExpectFailure(Orv({"report", path, "--sheet", "Measurements", "--range", "A1:B21,D1:D15", "-o",
                     dir / "o.xlsx"}),
                dir,
                {"the areas of the range differ in length (A1:B21 has 20 cases, D1:D15 has 14 "
                 "cases)",
                 "orvErrUnevenVariableRanges"},
                files);
  ExpectFailure(
      Orv({"report", path, "--sheet", "Measurements", "--range", "A1:C21", "-o", dir / "o.xlsx"}),
      dir, {"column C (comment) holds no numbers", "orvErrNoVariableData"}, files);
  ExpectFailure(
      Orv({"report", path, "--sheet", "Measurements", "--range", "H1:J9", "-o", dir / "o.xlsx"}),
      dir, {"the area H1:J9 of --range lies outside the data of sheet \"Measurements\""}, files);
  ExpectFailure(Orv({"report", path, "--range", "Notes!A1:A3", "--sheet", "Measurements", "-o",
                     dir / "o.xlsx"}),
                dir, {"lies on sheet \"Notes\", not on --sheet \"Measurements\""}, files);
}

TEST(ReportInputs, GroupingVariablesThatDoNotGroup) {
  TempDir dir;
  const std::vector<std::string> files = {"g.csv"};
  const std::string csv = dir.Write(
      "g.csv", "x,y,label,one,id\n1,2,a,k,1\n2,4,b,k,2\n3,3,,k,3\n4,6,a,k,4\n5,5,b,k,5\n");
  ExpectFailure(Orv({"report", csv, "--group", "kind", "-o", dir / "o.xlsx"}), dir,
                {"--group \"kind\" names no column of sheet \"g\": the headers are x, y, label, "
                 "one, id (or give a column letter)"},
                files);
  ExpectFailure(Orv({"report", csv, "--group", "label", "-o", dir / "o.xlsx"}), dir,
                {"the grouping variable column C (label) has a blank cell at C4",
                 "orvErrBlankFactorCells", "clsValidation.ValidateStringData"},
                files);
  ExpectFailure(
      Orv({"report", csv, "--group", "D", "-o", dir / "o.xlsx"}), dir,
      {"the grouping variable column D (one) holds one group (\"k\")", "orvErrMissingGroups"},
      files);
  ExpectFailure(Orv({"report", csv, "--group", "id", "--range", "A1:B6", "-o", dir / "o.xlsx"}),
                dir, {"gives 5 groups to 5 cases", "orvErrSingleCaseGroup"}, files);
  // Dropping the case without a label leaves groups a (2) and b (2).
  const Outcome r = Orv({"report", csv, "--group", "LABEL", "--range", "A1:B6", "--drop-incomplete",
                         "-o", dir / "o.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "4 cases, 2 variables, grouped by label (column C): a 2, b 2")) << r.out;
  EXPECT_TRUE(Has(r.out, "1 incomplete case was left out (5 read)")) << r.out;
}

TEST(ReportInputs, FilesThatCannotBeRead) {
  TempDir dir;
  ExpectFailure(Orv({"report", dir / "missing.csv", "-o", dir / "o.xlsx"}), dir,
                {"cannot open", "missing.csv\": no such file"}, {});
  const std::string ods = dir.Write("data.ods", "x");
  ExpectFailure(Orv({"report", ods, "-o", dir / "o.xlsx"}), dir,
                {"the input must be an .xlsx workbook or a .csv file"}, {"data.ods"});
  const std::string fake = dir.Write("fake.xlsx", "this is no zip archive");
  ExpectFailure(Orv({"report", fake, "-o", dir / "o.xlsx"}), dir,
                {"fake.xlsx", "xlsx::OpenXlsx", "error 1004"}, {"data.ods", "fake.xlsx"});
  ExpectFailure(Orv({"report", fake, "--separator", ";", "-o", dir / "o.xlsx"}), dir,
                {"--separator and --decimal-comma apply to .csv input"}, {"data.ods", "fake.xlsx"});
}

TEST(ReportInputs, OutputThatCannotBeWritten) {
  TempDir dir;
  const std::string csv = dir.Write("d.csv", NumericCsv(5, 2));
  ExpectFailure(Orv({"report", csv, "-o", dir / "no/such/dir/o.xlsx"}), dir,
                {"xlsx::SaveXlsx", "o.xlsx"}, {"d.csv"});
  // The input is never overwritten.
  const Outcome same = Orv({"report", csv, "-o", csv});
  EXPECT_EQ(same.status, kExitUsage);
  EXPECT_TRUE(Has(same.err, "must be an .xlsx file")) << same.err;
  const std::string path = SeveralSheets(dir);
  const Outcome book = Orv({"report", path, "-o", path, "--sheet", "Measurements"});
  EXPECT_EQ(book.status, kExitUsage);
  EXPECT_TRUE(Has(book.err, "is the input itself")) << book.err;
}

TEST(ReportInputs, NoHeadersVariablesInRowsAndGermanNumbers) {
  TempDir dir;
  // No header row: variables are named by their columns.
  std::string body;
  for (int i = 1; i <= 6; ++i) body += std::to_string(i) + "," + std::to_string((i * 5) % 7) + "\n";
  const std::string plain = dir.Write("plain.csv", body);
  Outcome r = Orv({"report", plain, "--no-headers", "-o", dir / "a.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "Column A ")) << r.out;
  EXPECT_TRUE(Has(r.out, "6 cases, 2 variables")) << r.out;

  // Variables along rows, the group in row 3, labels in column A.
  const std::string rows =
      dir.Write("rows.csv", "height,1,2,3,4,5,6\nweight,2,1,4,3,6,5\nsex,f,m,f,m,f,m\n");
  r = Orv({"report", rows, "--rows", "--group", "3", "-o", dir / "b.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "6 cases, 2 variables, grouped by sex (row 3): f 3, m 3")) << r.out;
  r = Orv({"report", rows, "--rows", "--range", "A1:G3", "-o", dir / "c.xlsx"});
  EXPECT_EQ(r.status, kExitFailure);
  EXPECT_TRUE(Has(r.err, "row 3 (sex) holds the text \"f\" in cell B3, where a number belongs"))
      << r.err;
  const std::string gap = dir.Write("gap.csv", "height,1,2,,4,5,6\nweight,2,1,4,3,6,5\n");
  r = Orv({"report", gap, "--rows", "-o", dir / "d.xlsx"});
  EXPECT_EQ(r.status, kExitFailure);
  EXPECT_TRUE(Has(r.err, "row 1 (height) has a blank cell at D1")) << r.err;

  // Semicolons and decimal commas.
  const std::string german = dir.Write("de.csv", "a;b\n1,5;2\n2,5;3,25\n3;4,5\n4,75;4\n");
  r = Orv({"report", german, "--separator", "semicolon", "--decimal-comma", "-o", dir / "e.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  excel::Application app;
  const SheetTable d =
      ReadTable(Open(app, dir / "e.xlsx").Worksheets("Report"), "Descriptive statistics");
  EXPECT_EQ(d.Number(0, 2), (1.5 + 2.5 + 3 + 4.75) / 4);
}

TEST(ReportInputs, TwoVariablesDrawNoLoadingsStar) {
  TempDir dir;
  const std::string csv = dir.Write("two.csv", "x,y\n1.5,2\n2,3\n4,1\n");
  const Outcome r = Orv({"report", csv, "-o", dir / "o.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(Has(r.out, ": 6 tables and 3 charts on sheet Report")) << r.out;
}

TEST(ReportInputs, AChartTheChartClassRefusesBecomesAWarning) {
  // Values 1e10 apart by units: the scatter's axis scaling overflows its
  // 32-bit bounds (error 6); the tables and the other charts are written.
  TempDir dir;
  const std::string csv =
      dir.Write("big.csv", "x,y\n10000000001,1\n10000000002,3\n10000000003,2\n10000000004,5\n");
  const Outcome r = Orv({"report", csv, "-o", dir / "o.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.err,
                  "orv report: warning: the chart \"y against x\" could not be drawn: "
                  "Overflow (error 6"))
      << r.err;
  EXPECT_TRUE(Has(r.out, ": 6 tables and 2 charts on sheet Report")) << r.out;
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"big.csv", "o.xlsx"}));
}

TEST(ReportInputs, OneVariableGivesDescriptivesAndAHistogramOnly) {
  TempDir dir;
  const std::string csv = dir.Write("one.csv", "w\n3\n1\n4\n1\n5\n9\n2\n6\n");
  const Outcome r = Orv({"report", csv, "-o", dir / "o.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "Wrote " + (dir / "o.xlsx") + ": 2 tables and 1 chart on sheet Report"))
      << r.out;
  EXPECT_FALSE(Has(r.out, "correlation"));
}

}  // namespace
