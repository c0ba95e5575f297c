// Column statistics of CMatrix: Means, Descriptives, Covariance and
// Correlation: the documented examples and failures, and exact results of
// the documented steps from tests/data/stats_reference.csv (written by
// scripts/make_stats_reference.py).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "matrix_test_util.hpp"
#include "orv/matrix/CMatrix.hpp"

namespace orv {
namespace {

using namespace orv::test;

using Vector = std::vector<double>;

CMatrix Column(const Vector& v) {
  Table t;
  for (double x : v) t.push_back({x});
  return Make(t);
}

Vector Values(const CMatrix& column) {
  Vector v;
  for (Long i = 1; i <= column.RowCount(); ++i) v.push_back(column.Item(i, 1));
  return v;
}

// ((i 7919 + j 104729) mod 2003) / 7 - 140, as the reference generator
// computes its data over several blocks of rows.
Table Formula(std::size_t rows, std::size_t cols, std::size_t offset = 0) {
  Table t(rows, Vector(cols));
  for (std::size_t i = 0; i < rows; ++i)
    for (std::size_t j = 0; j < cols; ++j)
      t[i][j] = static_cast<double>((i * 7919 + (j + offset) * 104729) % 2003) / 7.0 - 140;
  return t;
}

const char* const kCases[] = {"random", "offset", "structured"};

// --- Means ---

TEST(CMatrixMeans, DocumentedExamplesAndFailures) {
  const CMatrix m = Make({{1, 10}, {3, 20}});
  // Zero weights up to the last case leave only that case.
  EXPECT_TRUE(Holds(Make({{1, 4}, {2, 5}, {3, 6}}).Means(Column({0, 0, 2})), {{3}, {6}}));
  EXPECT_TRUE(Holds(Make({{4, -1}}).Means(), {{4}, {-1}}));
  EXPECT_FAILS(9, In("Means"), kSubscript, m.Means(Column({1, 2, 3})));
  EXPECT_FAILS(9, In("Means"), kSubscript, CMatrix().Means());
  EXPECT_FAILS(6, In("Means"), kOverflow, Make({{1e308}, {-1e308}}).Means());
}

TEST(CMatrixMeans, MatchesTheReferenceBitForBit) {
  for (std::string c : kCases) {
    const CMatrix x = Make(Stats()["cm." + c + ".x"]);
    EXPECT_TRUE(Identical({Values(x.Means())}, Stats()["cm." + c + ".means"])) << c;
    EXPECT_TRUE(Identical({Values(x.Means(Column(Stats()["cm." + c + ".w"][0])))},
                          Stats()["cm." + c + ".wmeans"]))
        << c;
  }
}

// --- Descriptives ---

TEST(CMatrixDescriptives, OutputsOfAnotherShapeAreResized) {
  CMatrix means, sds, ses, counts;
  Long three = 3;
  means.SetSize(three, three);
  Make({{1, 2, 3, 4}, {5, 6, 7, 8}}).Descriptives(means, sds, ses, counts);
  for (const CMatrix* out : {&means, &sds, &ses, &counts}) {
    EXPECT_EQ(out->RowCount(), 4);
    EXPECT_EQ(out->ColumnCount(), 1);
  }
  EXPECT_EQ(Values(means), Vector({3, 4, 5, 6}));
}

TEST(CMatrixDescriptives, Failures) {
  const std::string source = In("Descriptives");
  CMatrix a, b, c, d;
  // One case: f = 1 / 0.
  EXPECT_FAILS(11, source, kDivision, Make({{1, 2}}).Descriptives(a, b, c, d));
  // A first case of weight 0: 0 / 0.
  EXPECT_FAILS(6, source, kOverflow, Make({{1}, {2}}).Descriptives(a, b, c, d, Column({0, 1})));
  // Weights summing to 0 at a case of non-zero weight: x / 0.
  EXPECT_FAILS(11, source, kDivision, Make({{1}, {2}}).Descriptives(a, b, c, d, Column({1, -1})));
  // A negative weighted sum of squares: square root of a negative number.
  EXPECT_FAILS(5, source, kInvalid,
               Make({{0}, {10}, {0}}).Descriptives(a, b, c, d, Column({1, 1, -1.9})));
  EXPECT_FAILS(9, source, kSubscript, Make({{1}, {2}}).Descriptives(a, b, c, d, Column({1, 1, 1})));
  EXPECT_FAILS(9, source, kSubscript, CMatrix().Descriptives(a, b, c, d));
  EXPECT_FAILS(91, source, kNotSet, Make({{1}, {2}}).Descriptives(a, CMatrix(Nothing), c, d));
}

TEST(CMatrixDescriptives, MatchesTheReferenceBitForBit) {
  for (std::string c : kCases) {
    for (bool weighted : {false, true}) {
      const CMatrix x = Make(Stats()["cm." + c + ".x"]);
      CMatrix means, sds, ses, counts;
      if (weighted)
        x.Descriptives(means, sds, ses, counts, Column(Stats()["cm." + c + ".dw"][0]));
      else
        x.Descriptives(means, sds, ses, counts);
      EXPECT_TRUE(Identical({Values(means), Values(sds), Values(ses), Values(counts)},
                            Stats()["cm." + c + (weighted ? ".wdesc" : ".desc")]))
          << c << " " << weighted;
    }
  }
}

// --- Covariance ---

TEST(CMatrixCovariance, DocumentedExamplesAndFailures) {
  const CMatrix x = Make({{1, 2}, {2, 4}, {3, 6}});
  EXPECT_TRUE(Holds(x.Covariance(Column({3, 2, 1})), {{-1}, {-2}}));
  const std::string source = In("Covariance");
  const std::string two = "Covariance needs at least 2 rows";
  EXPECT_FAILS(17, source, two, Make({{1, 2}}).Covariance());
  EXPECT_FAILS(17, source, two, CMatrix().Covariance());
  EXPECT_FAILS(9, source, "Matrix Row Count Mismatch",
               Make({{1}, {2}}).Covariance(Column({1, 2, 3})));
  EXPECT_FAILS(6, source, kOverflow, Make({{1e200}, {-1e200}}).Covariance());
}

TEST(CMatrixCovariance, MatchesTheReferenceBitForBit) {
  for (std::string c : kCases) {
    const CMatrix x = Make(Stats()["cm." + c + ".x"]);
    EXPECT_TRUE(Holds(x.Covariance(), Stats()["cm." + c + ".cov"])) << c;
    EXPECT_TRUE(Holds(x.Covariance(Make(Stats()["cm." + c + ".y"])), Stats()["cm." + c + ".covxy"]))
        << c;
  }
  // Rows over several blocks: the first and last rows, and symmetry to the bit.
  const Table cov = Elements(Make(Formula(300, 40)).Covariance());
  const Table covxy = Elements(Make(Formula(300, 40)).Covariance(Make(Formula(300, 3, 40))));
  EXPECT_TRUE(Identical({cov.front(), cov.back()}, Stats()["cm.blocks.cov"]));
  EXPECT_TRUE(Identical({covxy.front(), covxy.back()}, Stats()["cm.blocks.covxy"]));
  for (std::size_t j = 0; j < cov.size(); ++j)
    for (std::size_t k = 0; k < j; ++k) ASSERT_EQ(cov[j][k], cov[k][j]);
}

// --- Correlation ---

TEST(CMatrixCorrelation, Failures) {
  const std::string source = In("Correlation");
  const std::string constant = "One or more variables are a constant";
  EXPECT_FAILS(orvErrNoVariableVariance, source, constant, Make({{1, 5}, {2, 5}}).Correlation());
  EXPECT_FAILS(orvErrNoVariableVariance, source, constant,
               Make({{1, 5}, {2, 5}}).Correlation(Column({3, 3})));
  EXPECT_FAILS(9, source, "Matrix isn't Square",
               Make({{1, 2, 3}, {4, 5, 6}}).Correlation(CMatrix(Nothing), true));
  EXPECT_FAILS(5, source, kInvalid, Make({{-1, 0}, {0, 1}}).Correlation(CMatrix(Nothing), true));
  EXPECT_FAILS(9, source, "Matrix Row Count Mismatch",
               Make({{1}, {2}}).Correlation(Column({1, 2, 3})));
  EXPECT_FAILS(17, source, "Covariance needs at least 2 rows", Make({{1, 2}}).Correlation());
  EXPECT_FAILS(91, "ORVMain", kNotSet, CMatrix(Nothing).Correlation());
}

TEST(CMatrixCorrelation, MatchesTheReferenceBitForBit) {
  for (std::string c : {"random", "offset"}) {
    const CMatrix x = Make(Stats()["cm." + c + ".x"]);
    EXPECT_TRUE(Holds(x.Correlation(), Stats()["cm." + c + ".cor"])) << c;
    EXPECT_TRUE(Holds(Make(Stats()["cm." + c + ".cov"]).Correlation(CMatrix(Nothing), true),
                      Stats()["cm." + c + ".cor"]))
        << c;
    EXPECT_TRUE(
        Holds(x.Correlation(Make(Stats()["cm." + c + ".y"])), Stats()["cm." + c + ".corxy"]))
        << c;
  }
}

}  // namespace
}  // namespace orv
