// clsMatrix.QuickSort: the median-of-three quicksort of vectors, rows and
// columns in place, its exact orders from tests/data/sort_reference.csv
// (written by scripts/make_sort_reference.py) and its depth on hard inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "clsMatrix_test_util.hpp"
#include "orv/arrays/clsMatrix.hpp"
#include "orv/arrays/clsMatrix_detail.hpp"

namespace orv {
namespace {

using namespace orv::test;

const clsMatrix M;

TEST(clsMatrixQuickSort, OneDimensionalDescending) {
  Array<double> a = Vec({3, 1, 2});
  M.QuickSort(a, orvSortDescending);
  EXPECT_EQ(a, Vec({3, 2, 1}));
  // SortType and SortIndex are not used for a vector.
  Array<double> b = Vec({2, 9, -1, 4});
  M.QuickSort(b, orvSortAscending, orvSortColumns, 77);
  EXPECT_EQ(b, Vec({-1, 2, 4, 9}));
}

TEST(clsMatrixQuickSort, RowsByAColumnAndColumnsByARow) {
  Array<double> a = Mat(3, 2, {1, 30, 2, 10, 3, 20});
  M.QuickSort(a, orvSortAscending, orvSortRows, 2);
  EXPECT_EQ(a, Mat(3, 2, {2, 10, 3, 20, 1, 30}));
  M.QuickSort(a, orvSortDescending, orvSortRows, 2);
  EXPECT_EQ(a, Mat(3, 2, {1, 30, 3, 20, 2, 10}));
  a = Mat(2, 3, {5, 4, 6, 1, 2, 3});
  M.QuickSort(a, orvSortAscending, orvSortColumns, 1);
  EXPECT_EQ(a, Mat(2, 3, {4, 5, 6, 2, 1, 3}));
  M.QuickSort(a, orvSortDescending, orvSortColumns, 2);
  EXPECT_EQ(a, Mat(2, 3, {6, 4, 5, 3, 2, 1}));
}

TEST(clsMatrixQuickSort, OmittedIndexMeansTheLowerBound) {
  Array<double> a = Mat(3, 2, {3, 1, 1, 3, 2, 2});
  M.QuickSort(a);
  EXPECT_EQ(a, Mat(3, 2, {1, 3, 2, 2, 3, 1}));
  Array<double> c = Mat(2, 2, {2, 1, 0, 5});
  M.QuickSort(c, orvSortAscending, orvSortColumns);
  EXPECT_EQ(c, Mat(2, 2, {1, 2, 5, 0}));
  // Lower bound 3: index 0 becomes 3.
  Array<double> b = Mat(2, 2, {9, 1, 8, 2}, 1, 3);
  M.QuickSort(b);
  EXPECT_EQ(b, Mat(2, 2, {8, 2, 9, 1}, 1, 3));
  // Lower bound 0: index 0 is column 0 itself.
  Array<double> z = Mat(2, 2, {9, 1, 8, 2}, 0, 0);
  M.QuickSort(z, orvSortAscending, orvSortRows, 0);
  EXPECT_EQ(z, Mat(2, 2, {8, 2, 9, 1}, 0, 0));
}

TEST(clsMatrixQuickSort, KeyOutsideTheBounds) {
  Array<double> a = Mat(3, 2, {1, 2, 3, 4, 5, 6});
  const std::string text = "The SortIndex specified is out of range";
  EXPECT_FAILS(9, At(70, "QuickSort", "clsMatrix"), text,
               M.QuickSort(a, orvSortAscending, orvSortRows, 5));
  EXPECT_FAILS(9, At(40, "QuickSort", "clsMatrix"), text,
               M.QuickSort(a, orvSortAscending, orvSortColumns, -1));
  EXPECT_EQ(a, Mat(3, 2, {1, 2, 3, 4, 5, 6}));
  Array<double> none;
  EXPECT_FAILS(9, At(20, "QuickSort", "clsMatrix"), kSubscript, M.QuickSort(none));
}

// Median-of-three partitions are not stable: the order of equal keys
// (told apart by row numbers in column 2) shows the scheme.
TEST(clsMatrixQuickSort, SameOrderAsTheReference) {
  const std::vector<std::string> cases = Sorts().Cases("cq");
  ASSERT_EQ(cases.size(), 8u);
  for (const std::string& c : cases) {
    const Table& t = Sorts()["cq." + c + ".in"];
    Array<double> a = FromTable(t);
    M.QuickSort(a, orvSortAscending, orvSortRows, 1);
    Table expected;
    for (double k : Sorts()["cq." + c + ".order"][0])
      expected.push_back(t[static_cast<std::size_t>(k) - 1]);
    EXPECT_TRUE(Holds(a, expected)) << c;
  }
}

// Rows of a (1 To n, 1 To 2) array with keys from `key`, row i carrying i.
Array<double> Rows(Long n, double (*key)(Long, Long)) {
  Array<double> a(1, n, 1, 2);
  for (Long i = 1; i <= n; ++i) {
    a(i, 1) = key(i, n);
    a(i, 2) = i;
  }
  return a;
}

TEST(clsMatrixQuickSort, HardInputsKeepTheDepthLogarithmic) {
  const Long n = 100000;
  double (*kinds[])(Long, Long) = {
      [](Long i, Long) { return static_cast<double>(i); },                         // sorted
      [](Long i, Long n) { return static_cast<double>(n - i); },                   // reversed
      [](Long, Long) { return 7.0; },                                              // all equal
      [](Long i, Long n) { return static_cast<double>(i <= n / 2 ? i : n - i); },  // organ pipe
  };
  for (auto kind : kinds) {
    Array<double> a = Rows(n, kind);
    Array<double> copy = a;
    M.QuickSort(a);
    ExpectSortedPermutation(orv::test::Rows(a), n);
    int depth = 0;
    detail::RowKeys keys{copy.data(), 2, 1, 0};
    detail::QuickSortRange(keys, 1, n, 1, &depth);
    EXPECT_LE(depth, 17);  // floor(log2(100000)) + 1
    EXPECT_EQ(copy, a);
  }
}

TEST(clsMatrixQuickSort, ReversalUsesTheArraysOwnBounds) {
  Array<double> a = Mat(3, 1, {2, 3, 1}, -1, 4);
  M.QuickSort(a, orvSortDescending, orvSortRows, 4);
  EXPECT_EQ(a, Mat(3, 1, {3, 2, 1}, -1, 4));
  Array<double> v = Vec({1, 4, 2, 3}, 0);
  M.QuickSort(v, orvSortDescending);
  EXPECT_EQ(v, Vec({4, 3, 2, 1}, 0));
}

}  // namespace
}  // namespace orv
