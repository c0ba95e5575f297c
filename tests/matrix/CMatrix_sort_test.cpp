// Ordering members of CMatrix: Sort, QuickSort, QuickSortWithThreshold and
// Rank: the documented examples and failures, properties (sorted, stable,
// a permutation), and the exact orders the partition sorts leave, ties
// included, from tests/data/sort_reference.csv (written by
// scripts/make_sort_reference.py).
#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "matrix_test_util.hpp"
#include "orv/matrix/CMatrix.hpp"

namespace orv {
namespace {

using namespace orv::test;

Table Transposed(const Table& t) {
  Table r(t[0].size(), std::vector<double>(t.size()));
  for (std::size_t i = 0; i < t.size(); ++i)
    for (std::size_t j = 0; j < t[0].size(); ++j) r[j][i] = t[i][j];
  return r;
}

// t with a last column numbering its rows 1, 2, ...
Table Numbered(Table t) {
  for (std::size_t i = 0; i < t.size(); ++i) t[i].push_back(static_cast<double>(i + 1));
  return t;
}

// The rows of t in this order of row numbers, or in its reverse.
Table InOrder(const Table& t, const std::vector<double>& order, bool reversed) {
  Table r;
  for (double k : order) r.push_back(t[static_cast<std::size_t>(k) - 1]);
  if (reversed) std::reverse(r.begin(), r.end());
  return r;
}

// --- Sort ---

TEST(CMatrixSort, KeepsEqualKeysInOrder) {
  const CMatrix m = Make({{1, 3}, {2, 1}, {3, 3}});
  EXPECT_TRUE(Holds(m.Sort(2), {{2, 1}, {1, 3}, {3, 3}}));
  EXPECT_TRUE(Holds(m.Sort(), Elements(m)));
  EXPECT_TRUE(Holds(m, {{1, 3}, {2, 1}, {3, 3}}));  // receiver unchanged
  for (Long index : {0, 3, -1}) EXPECT_FAILS(9, In("Sort"), kSubscript, m.Sort(index));
  EXPECT_FAILS(9, In("Sort"), kSubscript, CMatrix().Sort(1));
}

TEST(CMatrixSort, IsAStableSortOfTheKeyColumn) {
  std::mt19937_64 gen(7);
  for (int distinct : {2, 5, 40, 100000}) {
    for (std::size_t rows : {1u, 2u, 3u, 17u, 200u}) {
      Table t(rows);
      for (auto& row : t) row = {static_cast<double>(gen() % distinct), 0.5 * (gen() % 9)};
      if (rows > 3) t[1][1] = -0.0;  // -0 and 0 are equal keys: no exchange between them
      if (rows > 3) t[2][1] = 0.0;
      t = Numbered(t);
      Table expected = t;
      std::stable_sort(expected.begin(), expected.end(),
                       [](const auto& a, const auto& b) { return a[1] < b[1]; });
      EXPECT_TRUE(Holds(Make(t).Sort(2), expected)) << distinct << " " << rows;
    }
  }
}

TEST(CMatrixSort, NaNKeysStayInPlaceAndSplitTheSort) {
  const Table t = {{3, 1}, {kNaN, 2}, {2, 3}, {1, 4}, {kNaN, 5}, {0, 6}, {-1, 7}};
  EXPECT_TRUE(Holds(Make(t).Sort(1),
                    Table({{3, 1}, {kNaN, 2}, {1, 4}, {2, 3}, {kNaN, 5}, {-1, 7}, {0, 6}})));
}

// --- QuickSort ---

TEST(CMatrixQuickSort, DocumentedExamples) {
  const CMatrix m = Make({{3, 1}, {1, 2}, {2, 3}});
  EXPECT_TRUE(Holds(m.QuickSort(), {{1, 2}, {2, 3}, {3, 1}}));
  EXPECT_TRUE(Holds(m.QuickSort(ORVSortRows, ORVSortDescending), {{3, 1}, {2, 3}, {1, 2}}));
  const CMatrix wide = Make({{3, 1, 2}, {30, 10, 20}});
  EXPECT_TRUE(
      Holds(wide.QuickSort(ORVSortColumns, ORVSortAscending, 1), {{1, 2, 3}, {10, 20, 30}}));
  EXPECT_TRUE(Holds(m, {{3, 1}, {1, 2}, {2, 3}}));
  // Any sort type other than columns sorts rows.
  EXPECT_TRUE(Holds(m.QuickSort(static_cast<ORVSortType>(7)), Elements(m.QuickSort())));
  // Keys 1, 1: the partition exchanges the two rows, descending reverses
  // them back.
  const CMatrix tie = Make({{1, 10}, {1, 20}});
  EXPECT_TRUE(Holds(tie.QuickSort(), {{1, 20}, {1, 10}}));
  EXPECT_TRUE(Holds(tie.QuickSort(ORVSortRows, ORVSortDescending), {{1, 10}, {1, 20}}));
}

TEST(CMatrixQuickSort, SortIndexOutOfRangeLeavesWithoutHandler) {
  const CMatrix m = Make({{3, 1}, {1, 2}, {2, 3}});
  const std::string text = "The SortIndex specified is out of range";
  EXPECT_FAILS(9, "ORVMain", text, m.QuickSort(ORVSortRows, ORVSortAscending, 0));
  EXPECT_FAILS(9, "ORVMain", text, m.QuickSort(ORVSortRows, ORVSortAscending, 3));
  EXPECT_FAILS(9, "ORVMain", text, m.QuickSort(ORVSortColumns, ORVSortAscending, 4));
  EXPECT_FAILS(9, "ORVMain", text, CMatrix().QuickSort());
}

TEST(CMatrixQuickSort, MatchesTheReferenceOrdersTiesIncluded) {
  const std::vector<std::string> cases = Sorts().Cases("qs");
  ASSERT_EQ(cases.size(), 22u);
  for (const std::string& c : cases) {
    const Table& keys = Sorts()["qs." + c + ".in"];
    const Table t = Numbered(keys);
    const CMatrix m = Make(t);
    for (Long key : {Long{1}, static_cast<Long>(keys[0].size())}) {
      const std::vector<double>& order = Sorts()["qs." + c + ".rows" + std::to_string(key)][0];
      EXPECT_TRUE(Holds(m.QuickSort(ORVSortRows, ORVSortAscending, key), InOrder(t, order, false)))
          << c << " rows " << key;
      EXPECT_TRUE(Holds(m.QuickSort(ORVSortRows, ORVSortDescending, key), InOrder(t, order, true)))
          << c << " rows descending " << key;
    }
    if (keys[0].size() == 1) continue;
    const std::vector<double>& order = Sorts()["qs." + c + ".columns"][0];
    for (bool descending : {false, true})
      EXPECT_TRUE(Holds(
          Make(keys).QuickSort(ORVSortColumns, descending ? ORVSortDescending : ORVSortAscending),
          Transposed(InOrder(Transposed(keys), order, descending))))
          << c << " columns " << descending;
  }
}

// Runs `body` on a thread with a small stack, so that recursion as deep as
// the number of rows would fail.
void OnSmallStack(const std::function<void()>& body) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 128 * 1024);
  pthread_t thread;
  auto run = [](void* arg) -> void* {
    (*static_cast<const std::function<void()>*>(arg))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, run, const_cast<std::function<void()>*>(&body)), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
}

TEST(CMatrixQuickSort, HundredThousandRowsOnASmallStack) {
  // Sorted, reversed and equal keys, and ascending pairs of ties (every
  // partition splits off one or two rows: as deep as half the range if
  // both parts recursed).
  constexpr std::size_t n = 100000;
  Table sorted(n), reversed(n), equal(n), pairs(n);
  for (std::size_t i = 0; i < n; ++i) {
    const auto k = static_cast<double>(i + 1);
    sorted[i] = {k, k};
    reversed[i] = {n + 1 - k, k};
    equal[i] = {5, k};
    pairs[i] = {static_cast<double>(i / 2), k};
  }
  const CMatrix a = Make(sorted), b = Make(reversed), c = Make(equal), d = Make(pairs);
  Table sa, sb, sc, sd, se;
  OnSmallStack([&] {
    sa = Elements(a.QuickSort());
    sb = Elements(b.QuickSort());
    sc = Elements(c.QuickSort());
    sd = Elements(a.QuickSort(ORVSortRows, ORVSortDescending));
    se = Elements(d.QuickSort());
  });
  EXPECT_EQ(sa, sorted);
  EXPECT_EQ(sb, Table(reversed.rbegin(), reversed.rend()));
  EXPECT_EQ(sd, Table(sorted.rbegin(), sorted.rend()));
  ExpectSortedPermutation(sc, n);
  ExpectSortedPermutation(se, n);
}

// --- QuickSortWithThreshold ---

TEST(CMatrixQuickSortWithThreshold, DocumentedExamplesAndSmallMatrices) {
  const CMatrix m = Make({{0.1, 0.9}, {0.8, 0.2}, {0.3, 0.7}});
  EXPECT_TRUE(Holds(m.QuickSortWithThreshold(0.5, false), {{0.8, 0.2}, {0.1, 0.9}, {0.3, 0.7}}));
  const CMatrix column = Make({{0.9}, {0.2}, {-0.8}});
  EXPECT_TRUE(Holds(column.QuickSortWithThreshold(0.5, true), {{0.9}, {-0.8}, {0.2}}));
  EXPECT_TRUE(CMatrix().QuickSortWithThreshold(0.5, false).IsNull());
  EXPECT_TRUE(Holds(Make({{0.1, 0.2, 0.3}}).QuickSortWithThreshold(0.5, true), {{0.1, 0.2, 0.3}}));
  EXPECT_FAILS(91, "ORVMain", kNotSet, CMatrix(Nothing).QuickSortWithThreshold(0.5, false));
}

TEST(CMatrixQuickSortWithThreshold, MatchesTheReference) {
  const std::vector<std::string> cases = Sorts().Cases("th");
  ASSERT_EQ(cases.size(), 5u);
  for (const std::string& c : cases) {
    const CMatrix m = Make(Sorts()["th." + c + ".in"]);
    for (const char* threshold : {"-1", "0", "2"})
      for (bool absolute : {false, true})
        EXPECT_TRUE(Holds(m.QuickSortWithThreshold(std::stod(threshold), absolute),
                          Sorts()["th." + c + "." + threshold + "." + (absolute ? "1" : "0")]))
            << c << " " << threshold << " " << absolute;
  }
}

// --- Rank ---

TEST(CMatrixRank, MidRanksOfTies) {
  EXPECT_TRUE(Holds(Make({{10}, {20}, {20}, {5}}).Rank(), {{2}, {3.5}, {3.5}, {1}}));
  EXPECT_TRUE(Holds(Make({{4, 9}, {4, 9}, {4, 9}, {4, 9}, {4, 9}}).Rank(2),
                    Table({{3}, {3}, {3}, {3}, {3}})));
  EXPECT_TRUE(Holds(Make({{-0.0}, {0.0}, {-1}}).Rank(), {{2.5}, {2.5}, {1}}));
  for (const std::string& c : Sorts().Cases("rank")) {
    Table t = Sorts()["rank." + c + ".in"];
    for (auto& row : t) row.insert(row.begin(), 0);  // ranked on column 2
    EXPECT_TRUE(Holds(Make(t).Rank(2), Sorts()["rank." + c + ".out"])) << c;
  }
}

TEST(CMatrixOrdering, FailuresOfRankAndNothingHandles) {
  const CMatrix m = Make({{1, 2}, {3, 4}});
  EXPECT_FAILS(9, "ORVMain", kSubscript, m.Rank(3));
  EXPECT_FAILS(9, "ORVMain", kSubscript, m.Rank(0));
  EXPECT_EQ(Fails([] { CMatrix().Rank(); }).number, 9);
  const CMatrix none(Nothing);
  EXPECT_FAILS(91, "ORVMain", kNotSet, none.Sort());
  EXPECT_FAILS(91, "ORVMain", kNotSet, none.QuickSort());
  EXPECT_FAILS(91, "ORVMain", kNotSet, none.Rank());
}

}  // namespace
}  // namespace orv
