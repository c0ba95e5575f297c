// The analysis commands refuse bad input with a message naming the cause,
// exit status 1 and no file written.
#include "orv/xlsx/xlsx.hpp"
#include "report_test_util.hpp"

namespace orv::report::testing {
namespace {

// a varies, k is constant, d is twice a, g1 has a group of one, g3 three
// groups, b a blank and t a text where numbers belong.
constexpr const char* kData =
    "a,k,d,g1,g3,b,t\n"
    "1,5,2,u,u,1,1\n"
    "2,5,4,u,u,,2\n"
    "3,5,6,u,v,3,x\n"
    "4,5,8,u,v,4,4\n"
    "5,5,10,u,w,5,5\n"
    "7,5,14,v,w,6,6\n";

TEST(AnalysisCli, BadInputIsNamedAndWritesNothing) {
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"ttest", "--x", "a", "--range", "A1:A2"},
       "the data hold 1 case; this analysis needs at least 2"},
      {{"ttest", "--x", "k"}, "column B (k) holds the same value (5) in every case"},
      {{"ttest", "--x", "a", "--group", "g1"},
       "the group \"v\" of column D (g1) holds a single case"},
      {{"ttest", "--x", "a", "--group", "g3"},
       "column E (g3) holds 3 groups (\"u\", \"v\", \"w\"); a t test compares exactly 2"},
      {{"ttest", "--x", "a", "--y", "d", "--paired", "--level", "1"},
       "the confidence level must lie strictly between 0 and 1"},
      {{"ttest", "--x", "b"}, "column F (b) has a missing value at F3 (use --drop-incomplete"},
      {{"ttest", "--x", "t"},
       "column G (t) holds the text \"x\" in cell G4, where a number belongs"},
      {{"ttest", "--x", "zz9"},
       "\"zz9\" names no column of the data (A1:G7): the headers are a, k, d, g1, g3, b, t"},
      {{"regress", "--y", "b", "--x", "a,d", "--drop-incomplete"},
       "column C (d) is a linear combination of the other predictors and the intercept"},
      {{"regress", "--y", "a", "--x", "k"},
       "column B (k) holds the same value (5) in every case: a constant predictor"},
      {{"regress", "--y", "k", "--x", "a"},
       "column B (k) holds the same value (5) in every case: the response"},
      {{"regress", "--y", "a", "--x", "d,b", "--range", "A1:F4", "--drop-incomplete"},
       "the data hold 2 cases after leaving out 1 case with a missing value; this analysis needs "
       "at least 4"},
      {{"correlate", "--range", "A1:B7"}, "column B (k) holds the same value (5) in every case"},
      {{"correlate", "--range", "A1:A7"}, "a correlation needs at least two variables"},
      {{"nonparametric", "--x", "a", "--group", "g1"},
       "the group \"v\" of column D (g1) holds a single case"},
      {{"nonparametric", "--x", "a", "--y", "a", "--paired"},
       "column A (a) equals column A (a) in every case: the differences are all 0"},
      {{"nonparametric", "--x", "k", "--group", "g3"},
       "column B (k) holds the same value (5) in every case"},
      {{"describe", "--x", "a", "--range", "A1:A3"},
       "the data hold 2 cases; this analysis needs at least 3"},
      {{"describe", "--x", "a,k"}, "column B (k) holds the same value (5) in every case: it has"},
      {{"describe", "--x", "a", "--group", "g1"},
       "the group \"v\" of column D (g1) holds a single case"},
      {{"describe", "--x", "a", "--variable", "d"},
       "--variable \"d\" names a column that is not described"},
      {{"anova", "--x", "a", "--group", "g1"},
       "the group \"v\" of column D (g1) holds a single case"},
      {{"anova", "--x", "a,k", "--group", "g3"}, "column B (k) holds the same value (5)"},
      {{"anova", "--x", "a", "--group", "g3", "--range", "A1:E3"},
       "the data hold 2 cases; this analysis needs at least 3"},
      {{"pca", "--x", "a,k"}, "column B (k) holds the same value (5) in every case"},
      {{"pca", "--x", "a,d", "--range", "A1:D3"},
       "the data hold 2 cases; this analysis needs at least 3"},
      {{"pca", "--x", "a"}, "principal components need at least two variables"},
  };
  for (const auto& c : cases) {
    const TempDir dir;
    std::vector<std::string> args = c.args;
    args.insert(args.begin() + 1, dir.Write("data.csv", kData));
    args.insert(args.end(), {"-o", dir / "out.xlsx"});
    const Outcome r = Orv(args);
    SCOPED_TRACE(args[0] + " " + args[2] + " " + args[3]);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_TRUE(Has(r.err, c.message)) << r.err;
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"data.csv"});
  }
}

}  // namespace
}  // namespace orv::report::testing

namespace orv::report::testing {
namespace {

TEST(AnalysisCli, AppendAddsSheetsUntilTheWorkbookHoldsCharts) {
  const TempDir dir;
  const std::string data = dir.Write("data.csv", kData), out = dir / "out.xlsx";
  EXPECT_EQ(Orv({"ttest", data, "--x", "a", "-o", out, "--append"}).status, 2);
  ASSERT_EQ(Orv({"ttest", data, "--x", "a", "-o", out}).status, 0);
  for (const char* command : {"nonparametric", "ttest"})
    ASSERT_EQ(
        Orv({command, data, "--x", "a", "--y", "d", "--paired", "-o", out, "--append"}).status, 0);
  excel::Application app;
  const excel::Workbook book = xlsx::OpenXlsx(app, out);
  std::vector<std::string> names;
  for (Long i = 1; i <= book.Worksheets().Count(); ++i) names.push_back(book.Worksheets(i).Name());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Rank tests", "t test", "t test (2)"}));
  ASSERT_EQ(
      Orv({"regress", "--y", "a", "--x", "b", data, "--drop-incomplete", "-o", out, "--append"})
          .status,
      0);
  const Outcome refused = Orv({"ttest", data, "--x", "a", "-o", out, "--append"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_TRUE(Has(refused.err, "--append would lose the charts of")) << refused.err;
}

}  // namespace
}  // namespace orv::report::testing
