// The command line of `orv`: help for every command, the version, and the
// usage errors (exit status 2) that never start a report.
#include <gtest/gtest.h>

#include "report.hpp"
#include "report_test_util.hpp"

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

}  // namespace
