// Inputs users bring to `orv report`: blanks, text in numeric columns,
// constants, a single row, wide sheets, workbooks of several sheets and
// ranges of several areas, grouping variables that do not group, files that
// are not there. Each gives the report or a clear message naming the
// problem, never a crash; a failure leaves no file behind and exits with 1.
#include <gtest/gtest.h>

#include <sstream>

#include "orv/excel/excel.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/xlsx/xlsx.hpp"
#include "report.hpp"
#include "report_test_util.hpp"

using namespace orv;
using namespace orv::report;
using namespace orv::report::testing;

namespace {

// A numeric table of n rows: column j holds i * (j + 1) + (i * i * j) % 7
// so that no two columns are proportional.
std::string NumericCsv(int rows, int columns) {
  std::string text;
  for (int j = 1; j <= columns; ++j) text += (j > 1 ? ",v" : "v") + std::to_string(j);
  text += '\n';
  for (int i = 1; i <= rows; ++i) {
    for (int j = 1; j <= columns; ++j)
      text += (j > 1 ? "," : "") + std::to_string(i * (j + 1) + (i * i * j) % 7);
    text += '\n';
  }
  return text;
}

const char* kBlanks = "a,b,c\n1,2,3\n2,,5\n3,4,4\n4,5,9\n5,3,\n7,7,8\n";
const char* kGroups = "x,y,label,one,id\n1,2,a,k,1\n2,4,b,k,2\n3,3,,k,3\n4,6,a,k,4\n5,5,b,k,5\n";
const char* kWorkbook = "(the workbook of several sheets)";
const char* kTextNumbers = "(a workbook of numbers stored as text)";

// Column A holds numbers stored as text, column B numbers.
std::string TextNumbers(const TempDir& dir) {
  excel::Application app;
  excel::Workbook book = app.Workbooks().Add();
  const excel::Worksheet sheet = book.Worksheets(1);
  const std::vector<Variant> x = {"x", "1.5", " 2.5 ", "3", "4e0"}, y = {"y", 2.0, 1.0, 3.0, 5.0};
  for (Long i = 0; i < 5; ++i) {
    sheet.Cells(i + 1, 1).LetValue(x[i]);
    sheet.Cells(i + 1, 2).LetValue(y[i]);
  }
  xlsx::SaveXlsx(book, dir / "text.xlsx");
  return dir / "text.xlsx";
}

// A workbook of three sheets; the data sit on the second, with a text
// column between the numbers and the group label in column E; the empty
// third sheet is the active one.
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
  for (Long j = 1; j <= 5; ++j) data.Cells(1, j).LetValue(Variant(headers[j - 1]));
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

// Writes the input (none for a missing file) into the directory and
// returns its path.
std::string Input(const TempDir& dir, const std::string& name, const std::string& text) {
  if (text == kWorkbook) return SeveralSheets(dir);
  if (text == kTextNumbers) return TextNumbers(dir);
  return text == "(missing)" ? dir / name : dir.Write(name, text);
}

excel::Worksheet ReportSheet(excel::Application& app, const std::string& path) {
  return xlsx::OpenXlsx(app, path).Worksheets("Report");
}

// `orv report <input> <options> -o o.xlsx` in a directory of its own must
// exit with 1, print nothing, name the problem with every part and leave
// only the input behind.
void ExpectFailure(const std::string& name, const std::string& text, const std::string& options,
                   const std::vector<std::string>& parts, const std::string& output = "o.xlsx") {
  TempDir dir;
  std::vector<std::string> args = {"report", Input(dir, name, text)};
  std::istringstream words(options);
  for (std::string word; words >> word;) args.push_back(word);
  args.insert(args.end(), {"-o", dir / output});
  const Outcome r = Orv(args);
  SCOPED_TRACE(options + " on " + name);
  EXPECT_EQ(r.status, kExitFailure) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(Has(r.err, "orv report: ")) << r.err;
  for (const std::string& part : parts) EXPECT_TRUE(Has(r.err, part)) << r.err;
  EXPECT_EQ(dir.Files(),
            text == "(missing)" ? std::vector<std::string>{} : std::vector<std::string>{name});
}

TEST(ReportInputs, FailuresOfTheData) {
  ExpectFailure("blanks.csv", kBlanks, "",
                {"column B (b) has a blank cell at B3", "--drop-incomplete",
                 "orvErrBlankVariableCells", "clsValidation.ValidateNumericData"});
  const char* text = "a,b,c\n1,2,3\n2,3,5\n3,4,n/k\n4,5,9\n5,3,1\n";
  for (const char* options : {"", "--drop-incomplete"})
    ExpectFailure("text.csv", text, options,
                  {"column C (c) holds the text \"n/k\" in cell C4, where a number belongs",
                   "orvErrBlankVariableCells"});
  ExpectFailure("na.csv", "a,b,c\n1,2,3\n2,3,5\n3,4,n/a\n4,5,9\n", "",
                {"column C (c) has a missing value (\"n/a\") at C4 (use --drop-incomplete"});
  // Named in --range, a constant stops the run; found alone, it is left out.
  const char* constant = "a,b\n1,5\n2,5\n3,5\n4,5\n";
  ExpectFailure(
      "const.csv", constant, "--range A1:B5",
      {"column B (b) holds the same value (5) in every case", "orvErrNoVariableVariance"});
  ExpectFailure("const.csv", constant, "",
                {"no column of sheet \"const\" is left to analyse (column A (a): it numbers the "
                 "cases 1 to 4; column B (b): every number in it is 5); name the columns to "
                 "analyse with --range"});
  // Numbers with a comma or point that could mean two things are refused.
  const struct {
    const char *csv, *options, *message;
  } marks[] = {
      {"a;b\n1,234;1\n2,500;3\n3,125;2\n", "",
       "cell A2 holds \"1,234\": \"1,234\" is 1.234 with a decimal comma or 1234 with a "
       "thousands separator, which is never assumed; give --decimal-comma if the comma is "
       "decimal, or write the number without a separator"},
      {"a;b\n1,5;1.234\n2,5;3\n3;2\n", "--decimal-comma",
       "cell B2 holds \"1.234\": \"1.234\" is 1.234 with a decimal point or 1234 with a "
       "thousands separator, which is never assumed; leave out --decimal-comma"},
      {"a,b\n\"1,5\",1\n2,3\n3,2\n", "",
       "cell A2 holds \"1,5\": \"1,5\" has a decimal comma; give --decimal-comma to read commas"},
      {"a,b\n\"1,234.5\",1\n2,3\n3,2\n", "",
       "cell A2 holds \"1,234.5\": \"1,234.5\" has thousands separators, which are never read"},
      {"a;b\n1,5;2.5\n2,5;3\n3;2\n", "",
       "the file holds numbers with a decimal comma (\"1,5\" in cell A2), but cell B2 holds "
       "\"2.5\": \"2.5\" has a decimal point, where numbers are read with a decimal comma"},
  };
  for (const auto& m : marks) ExpectFailure("marks.csv", m.csv, m.options, {m.message});
  // Constant only among the complete cases: found after dropping.
  ExpectFailure(
      "partly.csv", "a,b\n1,5\n2,5\n,7\n4,5\n", "--drop-incomplete",
      {"column B (b) holds the same value (5) in every complete case", "orvErrNoVariableVariance"});
  ExpectFailure("one.csv", "a,b\n1,2\n", "",
                {"holds 1 case; a report needs at least 3", "orvErrTooFewVariableRows"});
  ExpectFailure("header.csv", "a,b\n", "", {"holds no data below its header row"});
  ExpectFailure("empty.csv", "", "", {"sheet \"empty\" is empty"});
  ExpectFailure("wider.csv", NumericCsv(5, 101), "",
                {"the data hold 101 variables; a report analyses at most 100 (choose them with "
                 "--range)",
                 "orvErrTooManyVariables"});
  ExpectFailure("rows.csv", "height,1,2,3,4,5,6\nweight,2,1,4,3,6,5\nsex,f,m,f,m,f,m\n",
                "--rows --range A1:G3",
                {"row 3 (sex) holds the text \"f\" in cell B3, where a number belongs"});
  ExpectFailure("gap.csv", "height,1,2,,4,5,6\nweight,2,1,4,3,6,5\n", "--rows",
                {"row 1 (height) has a blank cell at D1"});
}

TEST(ReportInputs, FailuresOfSheetsRangesAndGroups) {
  const auto Book = [](const std::string& options, const std::vector<std::string>& parts) {
    ExpectFailure("book.xlsx", kWorkbook, options, parts);
  };
  Book("", {"sheet \"Other\" is empty; sheets holding numbers: \"Measurements\" (choose one with "
            "--sheet)"});
  Book("--sheet Data", {"has no sheet \"Data\"; its sheets are Other, Measurements, Notes"});
  Book("--sheet Measurements --range A1:",
       {"--range \"A1:\" is not a reference on sheet \"Measurements\""});
  Book("--sheet Measurements --range A1:B21,D1:D15",
       {"the areas of the range differ in length (A1:B21 has 20 cases, D1:D15 has 14 cases)",
        "orvErrUnevenVariableRanges"});
  Book("--sheet Measurements --range A1:C21",
       {"column C (comment) holds no numbers", "orvErrNoVariableData"});
  Book("--sheet Measurements --range H1:J9",
       {"the area H1:J9 of --range lies outside the data of sheet \"Measurements\""});
  Book("--range Notes!A1:A3 --sheet Measurements",
       {"lies on sheet \"Notes\", not on --sheet \"Measurements\""});
  ExpectFailure("g.csv", kGroups, "--group kind",
                {"--group \"kind\" names no column of sheet \"g\": the headers are x, y, label, "
                 "one, id (or give a column letter)"});
  ExpectFailure("g.csv", kGroups, "--group label",
                {"the grouping variable column C (label) has a blank cell at C4",
                 "orvErrBlankFactorCells", "clsValidation.ValidateStringData"});
  ExpectFailure(
      "g.csv", kGroups, "--group D",
      {"the grouping variable column D (one) holds one group (\"k\")", "orvErrMissingGroups"});
  ExpectFailure("g.csv", kGroups, "--group id --range A1:B6",
                {"gives 5 groups to 5 cases", "orvErrSingleCaseGroup"});
}

TEST(ReportInputs, FilesThatCannotBeReadOrWritten) {
  ExpectFailure("missing.csv", "(missing)", "", {"cannot open", "missing.csv\": no such file"});
  ExpectFailure("data.ods", "x", "", {"the input must be an .xlsx workbook or a .csv file"});
  ExpectFailure("fake.xlsx", "this is no zip archive", "",
                {"fake.xlsx", "xlsx::OpenXlsx", "error 1004"});
  ExpectFailure("fake.xlsx", "this is no zip archive", "--separator ;",
                {"--separator and --decimal-comma apply to .csv input"});
  ExpectFailure("d.csv", NumericCsv(5, 2), "", {"xlsx::SaveXlsx", "o.xlsx"}, "no/such/dir/o.xlsx");
}

TEST(ReportInputs, DropIncompleteLeavesOutCasesAndSaysHowMany) {
  TempDir dir;
  const Outcome r = Orv(
      {"report", dir.Write("blanks.csv", kBlanks), "-o", dir / "out.xlsx", "--drop-incomplete"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "2 incomplete cases were left out (6 read)")) << r.out;
  excel::Application app;
  const excel::Workbook book = xlsx::OpenXlsx(app, dir / "out.xlsx");
  // Blanks were never read as zeros: the kept cases are rows 1, 3, 4, 6.
  const excel::Worksheet data = book.Worksheets("Data");
  const std::vector<double> a = {1, 3, 4, 7}, b = {2, 4, 5, 7};
  for (Long i = 0; i < 4; ++i) {
    EXPECT_EQ(data.Cells(i + 2, 1).Value().AsDouble(), a[i]);
    EXPECT_EQ(data.Cells(i + 2, 2).Value().AsDouble(), b[i]);
  }
  EXPECT_TRUE(data.Cells(6, 1).Value().IsEmpty());
  const SheetTable d = ReadTable(book.Worksheets("Report"), "Descriptive statistics");
  EXPECT_EQ(d.Number(0, 1), 4.0);
  EXPECT_EQ(d.Number(1, 2), 4.5);  // mean of 2, 4, 5, 7
  EXPECT_EQ(d.Number(1, 7), 2.0);  // minimum, not the 0 a blank would give
  EXPECT_EQ(book.Worksheets("Report").Cells(3, 1).Value().AsString(),
            "2 cases were left out for a blank cell; 6 were read.");
}

TEST(ReportInputs, ThirtyColumnsGiveThirtyComponents) {
  TempDir dir;
  const std::string csv = dir.Write("wide.csv", NumericCsv(60, 30));
  const Outcome r = Orv({"report", csv, "-o", dir / "out.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "60 cases, 30 variables")) << r.out;
  excel::Application app;
  const excel::Worksheet report = ReportSheet(app, dir / "out.xlsx");
  const SheetTable rt = ReadTable(report, "Correlation matrix (Pearson r)");
  ASSERT_EQ(rt.rows.size(), 30u);
  ASSERT_EQ(rt.headers.size(), 31u);
  for (std::size_t i = 0; i < 30; ++i) EXPECT_NEAR(rt.Number(i, i + 1), 1.0, 1e-14);
  const SheetTable pc = ReadTable(report, "Principal components of the correlation matrix");
  ASSERT_EQ(pc.headers.size(), 31u);
  EXPECT_NEAR(pc.Number(2, 30), 100.0, 1e-9);
  // A hundred variables are the most a report takes.
  const std::string wider = dir.Write("wider.csv", NumericCsv(5, 101));
  EXPECT_EQ(Orv({"report", wider, "--range", "A1:CV6", "-o", dir / "o.xlsx"}).status, kExitOk);
}

TEST(ReportInputs, WorkbookOfSeveralSheetsAndARangeOfSeveralAreas) {
  TempDir dir;
  const std::string path = SeveralSheets(dir);
  Outcome r = Orv({"report", path, "--sheet", "Measurements", "--range", "A1:B21,D1:D21", "--group",
                   "site", "-o", dir / "out.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "sheet Measurements, cells A1:B21,D1:D21")) << r.out;
  EXPECT_TRUE(Has(r.out, "20 cases, 3 variables, grouped by site (column E): north 8, south 12"))
      << r.out;
  excel::Application app;
  const excel::Worksheet report = ReportSheet(app, dir / "out.xlsx");
  const SheetTable d = ReadTable(report, "Descriptive statistics");
  ASSERT_EQ(d.rows.size(), 3u);
  EXPECT_EQ(d.Number(0, 2), 10.5);  // mean of 1 .. 20
  const SheetTable t = ReadTable(report, "Tukey-Kramer pairwise comparisons");
  ASSERT_EQ(t.rows.size(), 3u);
  EXPECT_EQ(t.Text(0, 1), "south - north");

  // A range that names its sheet wins over the active one; without
  // --range every column holding numbers is taken and the text column is
  // left out in so many words.
  r = Orv({"report", path, "--range", "Measurements!A1:B21", "-o", dir / "a.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "sheet Measurements, cells A1:B21")) << r.out;
  r = Orv({"report", path, "--sheet", "measurements", "--group", "E", "-o", dir / "b.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "cells B1:B21,D1:D21")) << r.out;
  EXPECT_EQ(r.err,
            "orv report: note: left out column A (x): it numbers the cases 1 to 20 (name it in "
            "--range to analyse it)\n");
  EXPECT_TRUE(Has(r.out, "Left out, holding no numbers: column C (comment)")) << r.out;
  // The input is never overwritten.
  r = Orv({"report", path, "-o", path, "--sheet", "Measurements"});
  EXPECT_EQ(r.status, kExitUsage);
  EXPECT_TRUE(Has(r.err, "is the input itself")) << r.err;
  const std::string csv = dir.Write("d.csv", NumericCsv(5, 2));
  r = Orv({"report", csv, "-o", csv});
  EXPECT_EQ(r.status, kExitUsage);
  EXPECT_TRUE(Has(r.err, "must be an .xlsx file")) << r.err;
}

TEST(ReportInputs, GroupsNoHeadersVariablesInRowsAndGermanNumbers) {
  TempDir dir;
  // Dropping the case without a label leaves groups a (2) and b (2).
  Outcome r = Orv({"report", dir.Write("g.csv", kGroups), "--group", "LABEL", "--range", "A1:B6",
                   "--drop-incomplete", "-o", dir / "o.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "4 cases, 2 variables, grouped by label (column C): a 2, b 2")) << r.out;
  EXPECT_TRUE(Has(r.out, "1 incomplete case was left out (5 read)")) << r.out;
  // No header row: variables are named by their columns.
  std::string body;
  for (int i = 1; i <= 6; ++i)
    body += std::to_string(i * i) + "," + std::to_string((i * 5) % 7) + "\n";
  r = Orv({"report", dir.Write("plain.csv", body), "--no-headers", "-o", dir / "a.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "Column A ")) << r.out;
  EXPECT_TRUE(Has(r.out, "6 cases, 2 variables")) << r.out;
  // Variables along rows, the group in row 3, labels in column A.
  const std::string rows =
      dir.Write("rows.csv", "height,1,2,3,4,5,7\nweight,2,1,4,3,6,5\nsex,f,m,f,m,f,m\n");
  r = Orv({"report", rows, "--rows", "--group", "3", "-o", dir / "b.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(Has(r.out, "6 cases, 2 variables, grouped by sex (row 3): f 3, m 3")) << r.out;
  // Semicolons and decimal commas.
  const std::string german = dir.Write("de.csv", "a;b\n1,5;2\n2,5;3,25\n3;4,5\n4,75;4\n");
  r = Orv({"report", german, "--separator", "semicolon", "--decimal-comma", "-o", dir / "e.xlsx"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  excel::Application app;
  const SheetTable d = ReadTable(ReportSheet(app, dir / "e.xlsx"), "Descriptive statistics");
  EXPECT_EQ(d.Number(0, 2), 2.9375);  // mean of 1.5, 2.5, 3 and 4.75
}

TEST(ReportInputs, CellsReadOtherwiseThanTheyStandAndColumnsLeftOutAreNoted) {
  const struct {
    const char *name, *text, *options, *summary;
    std::vector<std::string> notes;
  } cases[] = {
      {"de.csv", "a;b;c\n1,5;2;3,25\n2,25;4;1\n3;1;2,5\n4,75;3;4\n", "",
       "cells A1:C5\n4 cases, 3 variables",
       {"the file holds numbers with a decimal comma (\"1,5\" in cell A2) and was read so; give "
        "--decimal-comma to say so"}},
      {"na.csv",
       "x,y,z\n2,1,NA\n4,3,5\n1,-99,2\nN/A,4,1\n3,2,.\n5,6,4\n7,5,-\n6,#N/A,3\n8,7,6\n",
       "--drop-incomplete --na=-99,none", "6 incomplete cases were left out (9 read)",
       {"6 cells holding a missing-value code (\"N/A\" in cell A5 the first) read as blank"}},
      {"text.xlsx", kTextNumbers, "", "4 cases, 2 variables",
       {"column A (x): 4 numbers stored as text read as numbers"}},
      {"title.csv", "Survey of May\nx,y\n1,2\n3,1\n2,5\n", "", "cells A2:B5",
       {"row 1 above the headers in row 2 taken as a title"}},
      {"ids.csv", "x,id,c,y\n2,7,5,1\n4,3,5,3\n3,9,5,2\n1,1,5,5\n", "", "cells A1:A5,D1:D5",
       {"left out column B (id): its header names an identifier (name it in --range to analyse "
        "it)",
        "left out column C (c): every number in it is 5 (name it in --range to analyse it)"}},
  };
  for (const auto& c : cases) {
    TempDir dir;
    std::vector<std::string> args = {"report", Input(dir, c.name, c.text), "-o", dir / "o.xlsx"};
    std::istringstream words(c.options);
    for (std::string word; words >> word;) args.push_back(word);
    const Outcome r = Orv(args);
    ASSERT_EQ(r.status, kExitOk) << c.name << r.err;
    EXPECT_TRUE(Has(r.out, c.summary)) << r.out;
    std::string notes;
    for (const std::string& note : c.notes) notes += "orv report: note: " + note + "\n";
    EXPECT_EQ(r.err, notes);
  }
}

TEST(ReportInputs, FewerVariablesOrARefusedChartGiveFewerCharts) {
  const struct {
    const char* csv;
    const char* summary;
    const char* warning;
  } cases[] = {
      {"x,y\n1.5,2\n2,3\n4,1\n", ": 7 tables and 3 charts on sheet Report", ""},
      // One variable: descriptives and a histogram only.
      {"w\n3\n1\n4\n1\n5\n9\n2\n6\n", ": 2 tables and 1 chart on sheet Report", ""},
      // Values 1e10 apart by units: the scatter's axis scaling overflows
      // its 32-bit bounds (error 6); the tables and other charts are written.
      {"x,y\n10000000001,1\n10000000002,3\n10000000003,2\n10000000004,5\n",
       ": 7 tables and 2 charts on sheet Report",
       "orv report: warning: the chart \"y against x\" could not be drawn: Overflow (error 6"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const Outcome r = Orv({"report", dir.Write("in.csv", c.csv), "-o", dir / "o.xlsx"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_TRUE(Has(r.out, "Wrote " + (dir / "o.xlsx") + c.summary)) << r.out;
    EXPECT_TRUE(*c.warning ? Has(r.err, c.warning) : r.err.empty()) << r.err;
    if (c.csv[1] == '\n') {
      EXPECT_FALSE(Has(r.out, "correlation"));
    }
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"in.csv", "o.xlsx"}));
  }
}

}  // namespace
