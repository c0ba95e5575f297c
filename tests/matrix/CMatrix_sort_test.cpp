// Ordering members of CMatrix: Sort, QuickSort, QuickSortWithThreshold and
// Rank, checked against the documented examples and, bit for bit, against
// plain loops that follow the documented steps literally.
#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "matrix_test_util.hpp"
#include "orv/matrix/CMatrix.hpp"

namespace orv {
namespace {

using namespace orv::test;

Table Transposed(const Table& t) {
  if (t.empty()) return t;
  Table r(t[0].size(), std::vector<double>(t.size()));
  for (std::size_t i = 0; i < t.size(); ++i)
    for (std::size_t j = 0; j < t[0].size(); ++j) r[j][i] = t[i][j];
  return r;
}

// --- the documented steps, written out plainly (0-based rows) ---

void RefQuickSortRows(Table& a, std::size_t key, long lo, long hi) {
  const double p = a[lo][key];
  long i = lo, j = hi;
  for (;;) {
    while (a[i][key] < p && i < hi) ++i;
    while (p < a[j][key] && j > lo) --j;
    if (i > j) break;
    std::swap(a[i], a[j]);
    ++i;
    --j;
    if (i > j) break;
  }
  if (j - lo >= hi - i) {
    if (i < hi) RefQuickSortRows(a, key, i, hi);
    if (lo < j) RefQuickSortRows(a, key, lo, j);
  } else {
    if (lo < j) RefQuickSortRows(a, key, lo, j);
    if (i < hi) RefQuickSortRows(a, key, i, hi);
  }
}

void RefReverseRows(Table& a, long first, long last) {  // 1-based, 0 = default
  if (first == 0) first = 1;
  if (last == 0 || last > static_cast<long>(a.size())) last = static_cast<long>(a.size());
  if (first > last) first = last;
  for (long k = 0; k <= (last - first) / 2; ++k) std::swap(a[first + k - 1], a[last - k - 1]);
}

Table RefQuickSort(Table a, bool columns, bool descending, std::size_t index) {
  if (columns) a = Transposed(a);
  RefQuickSortRows(a, index - 1, 0, static_cast<long>(a.size()) - 1);
  if (descending) RefReverseRows(a, 0, 0);
  return columns ? Transposed(a) : a;
}

Table RefSort(Table a, std::size_t index) {
  for (bool changed = true; changed;) {
    changed = false;
    for (std::size_t i = 0; i + 1 < a.size(); ++i)
      if (a[i][index - 1] > a[i + 1][index - 1]) {
        std::swap(a[i], a[i + 1]);
        changed = true;
      }
  }
  return a;
}

Table RefThreshold(Table a, double threshold, bool absolute) {
  const long r = static_cast<long>(a.size());
  const long c = static_cast<long>(a[0].size());
  auto below = [&](double v) { return absolute ? std::fabs(v) < threshold : v < threshold; };
  for (long k = c; k >= 1; --k) {
    RefQuickSortRows(a, k - 1, 0, r - 1);
    RefReverseRows(a, 0, 0);
  }
  long start = 1;
  for (long col = 1; col <= c && start != r; ++col) {
    if (col > 1) {
      RefQuickSortRows(a, col - 1, start - 1, r - 1);
      RefReverseRows(a, start, r);
    }
    long first = 0, last = 0;
    for (long i = start; i <= r; ++i) {
      if (below(a[i - 1][col - 1])) {
        if (first == 0) first = i;
        last = i;
      } else if (first != 0) {
        break;
      }
    }
    if (first == 0) break;
    if (last < r) {
      const long n = last - first + 1;
      Table run(a.begin() + first - 1, a.begin() + last);
      for (long i = last + 1; i <= r; ++i) a[first + (i - last) - 2] = a[i - 1];
      for (long k = 0; k < n; ++k) a[r - n + k] = run[k];
      start = r - n + 1;
    } else {
      start = first;
    }
  }
  return a;
}

std::vector<double> RefRank(const std::vector<double>& x) {
  std::vector<double> ranks(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) {
    std::size_t less = 0, equal = 0;
    for (double y : x) {
      less += y < x[i];
      equal += y == x[i];
    }
    ranks[i] = static_cast<double>(less + 1) + static_cast<double>(equal - 1) * 0.5;
  }
  return ranks;
}

// Random tables: keys drawn from `distinct` values (ties when few), the
// last column numbering the rows so that every permutation shows.
Table RandomTable(std::mt19937_64& gen, std::size_t rows, std::size_t cols, int distinct) {
  Table t(rows, std::vector<double>(cols + 1));
  for (std::size_t i = 0; i < rows; ++i) {
    for (std::size_t j = 0; j < cols; ++j) {
      const auto u = gen();
      t[i][j] = distinct > 0 ? static_cast<double>(static_cast<int>(u % distinct) - distinct / 2)
                             : (static_cast<double>(u >> 11) * 0x1p-53 - 0.5) * 1e3;
    }
    t[i][cols] = static_cast<double>(i + 1);
  }
  return t;
}

// --- Sort ---

TEST(CMatrixSort, KeepsEqualKeysInOrder) {
  const CMatrix m = Make({{1, 3}, {2, 1}, {3, 3}});
  EXPECT_TRUE(Identical(Elements(m.Sort(2)), Table({{2, 1}, {1, 3}, {3, 3}})));
  EXPECT_TRUE(Identical(Elements(m.Sort()), Elements(m)));
  EXPECT_TRUE(Identical(Elements(m), Table({{1, 3}, {2, 1}, {3, 3}})));  // receiver unchanged
}

TEST(CMatrixSort, IndexOutOfRangeRaises9) {
  const CMatrix m = Make({{1, 2}, {3, 4}});
  for (Long index : {0, 3, -1})
    ExpectError([&] { m.Sort(index); }, 9, "ORVMain.CMatrix.Sort", "Subscript out of range");
  ExpectError([] { CMatrix().Sort(1); }, 9, "ORVMain.CMatrix.Sort", "Subscript out of range");
}

TEST(CMatrixSort, MatchesAdjacentExchangeSortBitForBit) {
  std::mt19937_64 gen(7);
  for (int distinct : {0, 2, 5, 40}) {
    for (std::size_t rows : {1u, 2u, 3u, 17u, 200u}) {
      Table t = RandomTable(gen, rows, 2, distinct);
      if (rows > 3) {
        t[1][0] = -0.0;  // -0 and 0 are equal keys: no exchange between them
        t[2][0] = 0.0;
      }
      EXPECT_TRUE(Identical(Elements(Make(t).Sort(1)), RefSort(t, 1))) << distinct << " " << rows;
    }
  }
}

TEST(CMatrixSort, NaNKeysStayInPlaceAndSplitTheSort) {
  const Table t = {{3, 1}, {kNaN, 2}, {2, 3}, {1, 4}, {kNaN, 5}, {0, 6}, {-1, 7}};
  const Table sorted = Elements(Make(t).Sort(1));
  EXPECT_TRUE(Identical(sorted, RefSort(t, 1)));
  EXPECT_TRUE(
      Identical(sorted, Table({{3, 1}, {kNaN, 2}, {1, 4}, {2, 3}, {kNaN, 5}, {-1, 7}, {0, 6}})));
}

// --- QuickSort ---

TEST(CMatrixQuickSort, DocumentedExamples) {
  const CMatrix m = Make({{3, 1}, {1, 2}, {2, 3}});
  EXPECT_TRUE(Identical(Elements(m.QuickSort()), Table({{1, 2}, {2, 3}, {3, 1}})));
  EXPECT_TRUE(Identical(Elements(m.QuickSort(ORVSortRows, ORVSortDescending)),
                        Table({{3, 1}, {2, 3}, {1, 2}})));
  EXPECT_TRUE(Identical(
      Elements(Make({{3, 1, 2}, {30, 10, 20}}).QuickSort(ORVSortColumns, ORVSortAscending, 1)),
      Table({{1, 2, 3}, {10, 20, 30}})));
  EXPECT_TRUE(Identical(
      Elements(Make({{3, 1, 2}, {30, 10, 20}}).QuickSort(ORVSortColumns, ORVSortDescending, 2)),
      Table({{3, 2, 1}, {30, 20, 10}})));
  EXPECT_TRUE(Identical(Elements(m), Table({{3, 1}, {1, 2}, {2, 3}})));
}

TEST(CMatrixQuickSort, SortIndexOutOfRangeLeavesWithoutHandler) {
  const CMatrix m = Make({{3, 1}, {1, 2}, {2, 3}});
  const std::string text = "The SortIndex specified is out of range";
  ExpectError([&] { m.QuickSort(ORVSortRows, ORVSortAscending, 0); }, 9, "ORVMain", text);
  ExpectError([&] { m.QuickSort(ORVSortRows, ORVSortAscending, 3); }, 9, "ORVMain", text);
  ExpectError([&] { m.QuickSort(ORVSortColumns, ORVSortAscending, 4); }, 9, "ORVMain", text);
  ExpectError([] { CMatrix().QuickSort(); }, 9, "ORVMain", text);
  // Any sort type other than columns sorts rows.
  EXPECT_TRUE(
      Identical(Elements(m.QuickSort(static_cast<ORVSortType>(7))), Elements(m.QuickSort())));
}

TEST(CMatrixQuickSort, TieOrderIsThePartitionOrder) {
  // Keys 1, 1: the partition exchanges the two rows, descending reverses
  // them back.
  const CMatrix m = Make({{1, 10}, {1, 20}});
  EXPECT_TRUE(Identical(Elements(m.QuickSort()), Table({{1, 20}, {1, 10}})));
  EXPECT_TRUE(
      Identical(Elements(m.QuickSort(ORVSortRows, ORVSortDescending)), Table({{1, 10}, {1, 20}})));
}

TEST(CMatrixQuickSort, MatchesThePlainLoopsBitForBit) {
  std::mt19937_64 gen(11);
  for (int distinct : {0, 1, 2, 3, 10, 1000}) {
    for (std::size_t rows : {1u, 2u, 3u, 5u, 8u, 31u, 257u, 1500u}) {
      const Table t = RandomTable(gen, rows, 3, distinct);
      const CMatrix m = Make(t);
      for (bool descending : {false, true}) {
        const auto direction = descending ? ORVSortDescending : ORVSortAscending;
        for (Long key : {1, 3}) {
          EXPECT_TRUE(Identical(Elements(m.QuickSort(ORVSortRows, direction, key)),
                                RefQuickSort(t, false, descending, key)))
              << "rows " << distinct << " " << rows << " " << key;
        }
        EXPECT_TRUE(Identical(Elements(m.QuickSort(ORVSortColumns, direction, 1)),
                              RefQuickSort(t, true, descending, 1)))
            << "columns " << distinct << " " << rows;
      }
    }
  }
}

TEST(CMatrixQuickSort, StructuredKeysMatchThePlainLoops) {
  std::vector<Table> cases;
  Table ascendingTies, descendingTies, withNaN, signedZeros, organPipe;
  for (int i = 0; i < 300; ++i) {
    ascendingTies.push_back({static_cast<double>(i / 3), static_cast<double>(i)});
    descendingTies.push_back({static_cast<double>(-(i / 4)), static_cast<double>(i)});
    withNaN.push_back(
        {i % 7 == 0 ? kNaN : static_cast<double>((i * 37) % 11), static_cast<double>(i)});
    signedZeros.push_back({i % 2 ? -0.0 : 0.0, static_cast<double>(i)});
    organPipe.push_back({static_cast<double>(i < 150 ? i : 300 - i), static_cast<double>(i)});
  }
  for (const Table* t : {&ascendingTies, &descendingTies, &withNaN, &signedZeros, &organPipe}) {
    for (bool descending : {false, true}) {
      EXPECT_TRUE(Identical(Elements(Make(*t).QuickSort(
                                ORVSortRows, descending ? ORVSortDescending : ORVSortAscending, 1)),
                            RefQuickSort(*t, false, descending, 1)));
    }
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

TEST(CMatrixQuickSort, HundredThousandOrderedRowsOnASmallStack) {
  constexpr Long n = 100000;
  Array<double> sorted(1, n, 1, 2), reversed(1, n, 1, 2), equal(1, n, 1, 2);
  for (Long i = 1; i <= n; ++i) {
    sorted(i, 1) = i;
    sorted(i, 2) = i;
    reversed(i, 1) = n + 1 - i;
    reversed(i, 2) = i;
    equal(i, 1) = 5;
    equal(i, 2) = i;
  }
  CMatrix a, b, c;
  a.LetValues(sorted);
  b.LetValues(reversed);
  c.LetValues(equal);
  CMatrix sa(Nothing), sb(Nothing), sc(Nothing), sd(Nothing);
  OnSmallStack([&] {
    sa = a.QuickSort();
    sb = b.QuickSort();
    sc = c.QuickSort();
    sd = a.QuickSort(ORVSortRows, ORVSortDescending);
  });
  ASSERT_FALSE(sa.IsNothing());
  ASSERT_FALSE(sc.IsNothing());
  EXPECT_EQ(sa.Values(), sorted);
  for (Long i = 1; i <= n; ++i) {
    ASSERT_EQ(sb.Item(i, 1), i);
    ASSERT_EQ(sb.Item(i, 2), n + 1 - i);
    ASSERT_EQ(sd.Item(i, 1), n + 1 - i);
  }
  // All keys equal: the rows end where the partitioning puts them.
  Table t(static_cast<std::size_t>(n));
  for (Long i = 1; i <= n; ++i) t[i - 1] = {5, static_cast<double>(i)};
  RefQuickSortRows(t, 0, 0, n - 1);
  for (Long i = 1; i <= n; ++i) ASSERT_EQ(sc.Item(i, 2), t[i - 1][1]) << i;
}

TEST(CMatrixQuickSort, AscendingPairsOfTiesOnASmallStack) {
  // Every partition splits off one or two rows: as deep as half the range
  // if both parts recursed (an optimised build may turn the last call into
  // a loop; the debug build keeps every frame).
  constexpr std::size_t n = 10000;
  Table t(n);
  for (std::size_t i = 0; i < n; ++i) t[i] = {static_cast<double>(i / 2), static_cast<double>(i)};
  const CMatrix m = Make(t);
  CMatrix sorted(Nothing);
  OnSmallStack([&] { sorted = m.QuickSort(); });
  ASSERT_FALSE(sorted.IsNothing());
  EXPECT_TRUE(Identical(Elements(sorted), RefQuickSort(t, false, false, 1)));
}

TEST(CMatrixQuickSort, ManyTiesAtScaleMatchThePlainLoops) {
  std::mt19937_64 gen(3);
  const Table t = RandomTable(gen, 60000, 1, 50);
  EXPECT_TRUE(Identical(Elements(Make(t).QuickSort()), RefQuickSort(t, false, false, 1)));
}

// --- QuickSortWithThreshold ---

TEST(CMatrixQuickSortWithThreshold, DocumentedExamples) {
  const CMatrix m = Make({{0.1, 0.9}, {0.8, 0.2}, {0.3, 0.7}});
  EXPECT_TRUE(Identical(Elements(m.QuickSortWithThreshold(0.5, false)),
                        Table({{0.8, 0.2}, {0.1, 0.9}, {0.3, 0.7}})));
  EXPECT_TRUE(Identical(Elements(Make({{0.9}, {0.2}, {-0.8}}).QuickSortWithThreshold(0.5, true)),
                        Table({{0.9}, {-0.8}, {0.2}})));
  EXPECT_TRUE(Identical(Elements(Make({{0.9}, {0.2}, {-0.8}}).QuickSortWithThreshold(0.5, false)),
                        Table({{0.9}, {0.2}, {-0.8}})));
}

TEST(CMatrixQuickSortWithThreshold, SmallAndNullMatrices) {
  EXPECT_TRUE(CMatrix().QuickSortWithThreshold(0.5, false).IsNull());
  EXPECT_TRUE(Identical(Elements(Make({{0.1, 0.2, 0.3}}).QuickSortWithThreshold(0.5, true)),
                        Table({{0.1, 0.2, 0.3}})));
  ExpectError([] { CMatrix(Nothing).QuickSortWithThreshold(0.5, false); }, 91, "ORVMain",
              "Object variable or With block variable not set");
}

TEST(CMatrixQuickSortWithThreshold, MatchesThePlainLoopsBitForBit) {
  std::mt19937_64 gen(5);
  for (int distinct : {0, 3, 9}) {
    for (std::size_t rows : {2u, 3u, 7u, 40u, 300u}) {
      for (std::size_t cols : {1u, 2u, 4u}) {
        Table t = RandomTable(gen, rows, cols, distinct);
        for (auto& row : t) row.pop_back();  // every column takes part
        for (double threshold : {-1.0, 0.0, 2.0, 250.0}) {
          for (bool absolute : {false, true}) {
            EXPECT_TRUE(Identical(Elements(Make(t).QuickSortWithThreshold(threshold, absolute)),
                                  RefThreshold(t, threshold, absolute)))
                << distinct << " " << rows << " " << cols << " " << threshold << " " << absolute;
          }
        }
      }
    }
  }
}

// --- Rank ---

TEST(CMatrixRank, MidRanksOfTies) {
  EXPECT_TRUE(
      Identical(Elements(Make({{10}, {20}, {20}, {5}}).Rank()), Table({{2}, {3.5}, {3.5}, {1}})));
  EXPECT_TRUE(Identical(Elements(Make({{4, 9}, {4, 9}, {4, 9}, {4, 9}, {4, 9}}).Rank(2)),
                        Table({{3}, {3}, {3}, {3}, {3}})));
  EXPECT_TRUE(Identical(Elements(Make({{-0.0}, {0.0}, {-1}}).Rank()), Table({{2.5}, {2.5}, {1}})));
}

TEST(CMatrixRank, ColumnOutOfRangeFailsOnTheFirstRead) {
  const CMatrix m = Make({{1, 2}, {3, 4}});
  ExpectError([&] { m.Rank(3); }, 9, "ORVMain", "Subscript out of range");
  ExpectError([&] { m.Rank(0); }, 9, "ORVMain", "Subscript out of range");
  try {
    CMatrix().Rank();
    ADD_FAILURE() << "a null matrix has no ranks";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number, 9);
  }
}

TEST(CMatrixRank, MatchesCountingRanks) {
  std::mt19937_64 gen(13);
  for (int distinct : {0, 2, 7, 100}) {
    const Table t = RandomTable(gen, 500, 2, distinct);
    std::vector<double> column;
    for (const auto& row : t) column.push_back(row[1]);
    const std::vector<double> expected = RefRank(column);
    const Table ranks = Elements(Make(t).Rank(2));
    ASSERT_EQ(ranks.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(ranks[i][0], expected[i]) << i;
  }
}

TEST(CMatrixOrdering, NothingHandleRaises91) {
  const CMatrix none(Nothing);
  const std::string text = "Object variable or With block variable not set";
  ExpectError([&] { none.Sort(); }, 91, "ORVMain", text);
  ExpectError([&] { none.QuickSort(); }, 91, "ORVMain", text);
  ExpectError([&] { none.Rank(); }, 91, "ORVMain", text);
}

}  // namespace
}  // namespace orv
