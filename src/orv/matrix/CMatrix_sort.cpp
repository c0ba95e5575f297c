// Ordering members of CMatrix: the stable sort of rows, the first-key
// quicksort of rows or columns, the threshold grouping and the mid-ranks.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "orv/matrix/CMatrix.hpp"
#include "orv/matrix/CMatrix_state.hpp"

namespace orv {

namespace {

constexpr Member kSort{Rule::Plain, "CMatrix", "Sort"};
constexpr Member kQuickSort{Rule::None, "CMatrix", "QuickSort"};
constexpr Member kQuickSortWithThreshold{Rule::Chain, "CMatrix", "QuickSortWithThreshold"};
constexpr Member kRank{Rule::None, "CMatrix", "Rank"};
constexpr Member kQuickSortRows{Rule::Stamp, "CMatrix", "QuickSortRows"};
constexpr Member kQuickSortColumns{Rule::Stamp, "CMatrix", "QuickSortColumns"};
constexpr Member kReverseRows{Rule::Stamp, "CMatrix", "ReverseRows"};
constexpr Member kReverseColumns{Rule::Stamp, "CMatrix", "ReverseColumns"};

using Index = std::ptrdiff_t;
// order[k] = the offset (within the sorted range) of the element that ends
// at position k. An empty order means nothing moves.
using Order = std::vector<std::int32_t>;

bool StrictlyAscending(const double* key, Index lo, Index hi) {
  for (Index k = lo + 1; k <= hi; ++k)
    if (!(key[k - 1] < key[k])) return false;
  return true;
}

// The first-key quicksort on keys[lo..hi], `at` following every exchange.
// Pivot: the key of the first element; the scans stop at keys not below
// (not above) the pivot; exchanged pairs move inwards. The two parts are
// disjoint, so sorting them in either order gives the same result: the
// smaller part recurses and the larger one loops, which bounds the depth
// by log2 of the length. A strictly ascending range is left as the
// partitioning would leave it: unchanged.
void PartitionSort(double* key, std::int32_t* at, Index lo, Index hi) {
  while (lo < hi) {
    if (StrictlyAscending(key, lo, hi)) return;
    const double p = key[lo];
    Index i = lo, j = hi;
    for (;;) {
      while (key[i] < p && i < hi) ++i;
      while (p < key[j] && j > lo) --j;
      if (i > j) break;
      std::swap(key[i], key[j]);
      std::swap(at[i], at[j]);
      ++i;
      --j;
      if (i > j) break;
    }
    if (j - lo >= hi - i) {
      if (i < hi) PartitionSort(key, at, i, hi);
      hi = j;
    } else {
      if (lo < j) PartitionSort(key, at, lo, j);
      lo = i;
    }
  }
}

struct Keyed {
  double key;
  std::int32_t at;
};

// Where the first-key quicksort takes the n keys key[0], key[stride], ...
// Equal keys end in the order the partitioning leaves them, so it is
// simulated exactly whenever there are ties or NaNs; distinct keys have one
// ascending arrangement, which any sort finds.
Order QuickSortOrder(const double* key, Index stride, Index n) {
  auto at = [&](Index k) { return key[k * stride]; };
  if (n < 2) return {};
  bool ascending = true, descending = true;
  for (Index k = 1; k < n && (ascending || descending); ++k) {
    ascending = ascending && at(k - 1) < at(k);
    descending = descending && at(k - 1) > at(k);
  }
  if (ascending) return {};
  Order order;
  order.reserve(static_cast<std::size_t>(n));
  if (descending) {
    for (Index k = n - 1; k >= 0; --k) order.push_back(static_cast<std::int32_t>(k));
    return order;
  }
  std::vector<Keyed> sorted;
  sorted.reserve(static_cast<std::size_t>(n));
  bool nan = false;
  for (Index k = 0; k < n && !nan; ++k) {
    nan = std::isnan(at(k));
    sorted.push_back({at(k), static_cast<std::int32_t>(k)});
  }
  if (!nan) {
    std::sort(sorted.begin(), sorted.end(),
              [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    bool distinct = true;
    for (Index k = 1; k < n && distinct; ++k) distinct = sorted[k - 1].key != sorted[k].key;
    if (distinct) {
      for (const Keyed& k : sorted) order.push_back(k.at);
      return order;
    }
  }
  std::vector<Keyed>().swap(sorted);
  std::vector<double> keys;
  keys.reserve(static_cast<std::size_t>(n));
  for (Index k = 0; k < n; ++k) {
    keys.push_back(at(k));
    order.push_back(static_cast<std::int32_t>(k));
  }
  PartitionSort(keys.data(), order.data(), 0, n - 1);
  return order;
}

// Where the adjacent-exchange (bubble) sort takes each key. It exchanges
// only strictly descending neighbours, so a NaN never moves and nothing
// crosses it: each stretch between NaNs ends stably sorted.
Order StableOrder(const double* key, Index stride, Index n) {
  if (n < 2) return {};
  std::vector<Keyed> sorted;
  sorted.reserve(static_cast<std::size_t>(n));
  for (Index k = 0; k < n; ++k) sorted.push_back({key[k * stride], static_cast<std::int32_t>(k)});
  auto by_key = [](const Keyed& a, const Keyed& b) { return a.key < b.key; };
  Index from = 0;
  for (Index k = 0; k <= n; ++k) {
    if (k == n || std::isnan(sorted[k].key)) {
      std::stable_sort(sorted.begin() + from, sorted.begin() + k, by_key);
      from = k + 1;
    }
  }
  Order order;
  order.reserve(static_cast<std::size_t>(n));
  for (const Keyed& k : sorted) order.push_back(k.at);
  return order;
}

// Rows lo.. of A (row-major) take the rows order[0], order[1], ... of the
// range. Gathered into a fresh buffer: the reads are independent, so cache
// misses overlap (following the permutation's cycles in place would chain
// them).
void PermuteRows(Array<double>& A, Long lo, const Order& order) {
  if (order.empty()) return;
  const std::size_t c = static_cast<std::size_t>(A.Count(2));
  const std::size_t offset = static_cast<std::size_t>(lo - A.LBound(1)) * c;
  const double* base = A.data() + offset;
  std::vector<double> moved(A.size());
  double* out = moved.data() + offset;
  for (std::size_t k = 0; k < order.size(); ++k, out += c) {
    const double* from = base + static_cast<std::size_t>(order[k]) * c;
    for (std::size_t j = 0; j < c; ++j) out[j] = from[j];
  }
  const std::size_t end = offset + order.size() * c;
  std::copy(A.data(), A.data() + offset, moved.data());
  std::copy(A.data() + end, A.data() + A.size(), moved.data() + end);
  A.storage().swap(moved);
}

// Columns lo.. of every row take the columns order[0], order[1], ...
void PermuteColumns(Array<double>& A, Long lo, const Order& order) {
  if (order.empty()) return;
  const std::size_t r = static_cast<std::size_t>(A.Count(1));
  const std::size_t c = static_cast<std::size_t>(A.Count(2));
  const std::size_t offset = static_cast<std::size_t>(lo - A.LBound(2));
  std::vector<double> moved(order.size());
  for (std::size_t i = 0; i < r; ++i) {
    double* row = A.data() + i * c + offset;
    for (std::size_t k = 0; k < order.size(); ++k) moved[k] = row[order[k]];
    std::copy(moved.begin(), moved.end(), row);
  }
}

// Rows lo..hi of A in ascending order of column `key`.
void QuickSortRows(Array<double>& A, Long key, Long lo, Long hi) {
  Guard(kQuickSortRows, [&](Line& line) {
    line = 10;
    (void)A(lo, key);
    (void)A(hi, key);
    line = 20;
    const Order order = QuickSortOrder(&A.At(lo, key), A.Count(2), Index{hi} - lo + 1);
    line = 30;
    PermuteRows(A, lo, order);
  });
}

// Columns lo..hi of A in ascending order of row `key`.
void QuickSortColumns(Array<double>& A, Long key, Long lo, Long hi) {
  Guard(kQuickSortColumns, [&](Line& line) {
    line = 10;
    (void)A(key, lo);
    (void)A(key, hi);
    line = 20;
    const Order order = QuickSortOrder(&A.At(key, lo), 1, Index{hi} - lo + 1);
    line = 30;
    PermuteColumns(A, lo, order);
  });
}

// Reverses rows first..last; 0 means the first (last) row of A.
void ReverseRows(Array<double>& A, Long first, Long last) {
  Guard(kReverseRows, [&](Line& line) {
    line = 10;
    const Long ub = A.UBound(1);
    if (first == 0) first = 1;
    if (last == 0 || last > ub) last = ub;
    if (first > last) first = last;
    line = 20;
    (void)A(first, A.LBound(2));
    (void)A(last, A.LBound(2));
    const std::size_t c = static_cast<std::size_t>(A.Count(2));
    for (Long k = 0; k <= (last - first) / 2; ++k) {
      double* upper = A.data() + static_cast<std::size_t>(first + k - A.LBound(1)) * c;
      double* lower = A.data() + static_cast<std::size_t>(last - k - A.LBound(1)) * c;
      std::swap_ranges(upper, upper + c, lower);
    }
  });
}

// Reverses the order of all columns.
void ReverseColumns(Array<double>& A) {
  Guard(kReverseColumns, [&](Line& line) {
    line = 10;
    const std::size_t r = static_cast<std::size_t>(A.Count(1));
    const std::size_t c = static_cast<std::size_t>(A.Count(2));
    line = 20;
    for (std::size_t i = 0; i < r; ++i) std::reverse(A.data() + i * c, A.data() + (i + 1) * c);
  });
}

}  // namespace

CMatrix CMatrix::Sort(Long index) const {
  const State& s = *state_;
  return Guard(kSort, [&](Line& line) {
    line = 10;
    if (index < 1 || index > s.columns) Raise(kErrSubscript);
    line = 20;
    Array<double> A = s.data;
    PermuteRows(A, 1, StableOrder(&A.At(1, index), s.columns, s.rows));
    line = 30;
    return FromArray(std::move(A));
  });
}

CMatrix CMatrix::QuickSort(ORVSortType SortType, ORVSortDirection Direction, Long SortIndex) const {
  const State& s = *state_;
  return Guard(kQuickSort, [&](Line& line) {
    line = 10;
    Array<double> A = s.data;
    if (SortType == ORVSortColumns) {
      line = 20;
      if (SortIndex < 1 || SortIndex > s.rows)
        Raise(kErrSubscript, {}, "The SortIndex specified is out of range");
      QuickSortColumns(A, SortIndex, 1, s.columns);
      if (Direction == ORVSortDescending) ReverseColumns(A);
    } else {
      line = 30;
      if (SortIndex < 1 || SortIndex > s.columns)
        Raise(kErrSubscript, {}, "The SortIndex specified is out of range");
      QuickSortRows(A, SortIndex, 1, s.rows);
      if (Direction == ORVSortDescending) ReverseRows(A, 0, 0);
    }
    line = 40;
    return FromArray(std::move(A));
  });
}

CMatrix CMatrix::QuickSortWithThreshold(Double Threshold, Boolean Absolute) const {
  const State& s = *state_;
  return Guard(kQuickSortWithThreshold, [&](Line& line) {
    line = 10;
    Array<double> A = s.data;
    const Long r = s.rows;
    const Long c = s.columns;
    auto below = [&](double value) {
      return Absolute ? std::fabs(value) < Threshold : value < Threshold;
    };
    line = 20;
    for (Long k = c; k >= 1; --k) {
      QuickSortRows(A, k, 1, r);
      ReverseRows(A, 0, 0);
    }
    line = 30;
    Long start = 1;
    for (Long col = 1; col <= c && start != r; ++col) {
      line = 40;
      if (col > 1) {
        QuickSortRows(A, col, start, r);
        ReverseRows(A, start, r);
      }
      line = 50;
      Long first = 0, last = 0;
      for (Long i = start; i <= r; ++i) {
        if (below(A(i, col))) {
          if (first == 0) first = i;
          last = i;
        } else if (first != 0) {
          break;
        }
      }
      if (first == 0) break;
      line = 60;
      if (last < r) {
        const Long n = last - first + 1;
        const std::size_t width = static_cast<std::size_t>(c);
        double* base = A.data();
        std::rotate(base + static_cast<std::size_t>(first - 1) * width,
                    base + static_cast<std::size_t>(last) * width,
                    base + static_cast<std::size_t>(r) * width);
        start = r - n + 1;
      } else {
        start = first;
      }
    }
    line = 70;
    return FromArray(std::move(A));
  });
}

CMatrix CMatrix::Rank(Long Column) const {
  const State& s = *state_;
  return Guard(kRank, [&](Line& line) {
    line = 10;
    const Long r = s.rows;
    Array<double> T;
    if (r >= 1) {
      T.ReDim(1, r, 1, 2);
      for (Long i = 1; i <= r; ++i) {
        T.At(i, 1) = s.data(i, Column);
        T.At(i, 2) = i;
      }
    }
    line = 20;
    CMatrix sorted = FromArray(std::move(T)).Sort(1);
    line = 30;
    Array<double>& t = sorted.state_->data;
    for (Long i = 1; i <= r;) {
      Long k = 1;
      while (i + k <= r && t.At(i + k, 1) == t.At(i, 1)) ++k;
      const double rank = static_cast<double>(i) + static_cast<double>(k - 1) * 0.5;
      for (Long row = i; row < i + k; ++row) t.At(row, 1) = rank;
      i += k;
    }
    line = 40;
    sorted = sorted.Sort(2);
    line = 50;
    Array<double> ranks(1, r, 1, 1);
    for (Long i = 1; i <= r; ++i) ranks.At(i, 1) = sorted.state_->data.At(i, 1);
    return FromArray(std::move(ranks));
  });
}

}  // namespace orv
