// clsMatrix.QuickSort: in-memory sorting of an array's elements, rows or
// columns on a key, ascending, with a reversal pass for descending order.
#include <utility>

#include "orv/arrays/clsMatrix.hpp"
#include "orv/arrays/clsMatrix_detail.hpp"

namespace orv {

namespace {

constexpr Member kQuickSort{Rule::Chain, "clsMatrix", "QuickSort"};
constexpr Member kQuickSortArray{Rule::Stamp, "clsMatrix", "QuickSortArray"};
constexpr Member kQuickSortRows{Rule::Stamp, "clsMatrix", "QuickSortRows"};
constexpr Member kQuickSortColumns{Rule::Stamp, "clsMatrix", "QuickSortColumns"};
constexpr Member kReverseArray{Rule::Stamp, "clsMatrix", "ReverseArray"};
constexpr Member kReverseRows{Rule::Stamp, "clsMatrix", "ReverseRows"};
constexpr Member kReverseColumns{Rule::Stamp, "clsMatrix", "ReverseColumns"};

constexpr const char* kSortIndexOutOfRange = "The SortIndex specified is out of range";

// Positions first To last must lie in the dimension's bounds.
void RequireRange(Long first, Long last, Long lb, Long ub) {
  if (first < last && (first < lb || last > ub)) Raise(kErrSubscript);
}

void QuickSortArray(Array<double>& a, Long first, Long last) {
  Guard(kQuickSortArray, [&](Line& line) {
    line = 10;
    RequireRange(first, last, a.LBound(1), a.UBound(1));
    line = 20;
    detail::ElementKeys keys{a.data(), a.LBound(1)};
    detail::QuickSortRange(keys, first, last, 0, nullptr);
  });
}

void QuickSortRows(Array<double>& a, Long key_column, Long first, Long last) {
  Guard(kQuickSortRows, [&](Line& line) {
    line = 10;
    RequireRange(first, last, a.LBound(1), a.UBound(1));
    if (key_column < a.LBound(2) || key_column > a.UBound(2)) Raise(kErrSubscript);
    line = 20;
    detail::RowKeys keys{a.data(), static_cast<std::size_t>(a.Count(2)), a.LBound(1),
                         static_cast<std::size_t>(key_column - a.LBound(2))};
    detail::QuickSortRange(keys, first, last, 0, nullptr);
  });
}

void QuickSortColumns(Array<double>& a, Long key_row, Long first, Long last) {
  Guard(kQuickSortColumns, [&](Line& line) {
    line = 10;
    RequireRange(first, last, a.LBound(2), a.UBound(2));
    if (key_row < a.LBound(1) || key_row > a.UBound(1)) Raise(kErrSubscript);
    line = 20;
    const std::size_t ld = static_cast<std::size_t>(a.Count(2));
    detail::ColumnKeys keys{a.data(), ld, static_cast<std::size_t>(a.Count(1)), a.LBound(2),
                            static_cast<std::size_t>(key_row - a.LBound(1)) * ld};
    detail::QuickSortRange(keys, first, last, 0, nullptr);
  });
}

void ReverseArray(Array<double>& a) {
  Guard(kReverseArray, [&](Line& line) {
    line = 10;
    detail::ElementKeys keys{a.data(), a.LBound(1)};
    for (std::int64_t i = a.LBound(1), j = a.UBound(1); i < j; ++i, --j) keys.swap(i, j);
  });
}

void ReverseRows(Array<double>& a) {
  Guard(kReverseRows, [&](Line& line) {
    line = 10;
    detail::RowKeys keys{a.data(), static_cast<std::size_t>(a.Count(2)), a.LBound(1), 0};
    for (std::int64_t i = a.LBound(1), j = a.UBound(1); i < j; ++i, --j) keys.swap(i, j);
  });
}

void ReverseColumns(Array<double>& a) {
  Guard(kReverseColumns, [&](Line& line) {
    line = 10;
    detail::ColumnKeys keys{a.data(), static_cast<std::size_t>(a.Count(2)),
                            static_cast<std::size_t>(a.Count(1)), a.LBound(2), 0};
    for (std::int64_t i = a.LBound(2), j = a.UBound(2); i < j; ++i, --j) keys.swap(i, j);
  });
}

// The key index: 0 means the lower bound when that is above 0; otherwise it
// must lie within the bounds.
Long KeyIndex(Long index, Long lb, Long ub) {
  if (index == 0 && lb > 0) return lb;
  if (index < lb || index > ub) Raise(kErrSubscript, {}, kSortIndexOutOfRange);
  return index;
}

}  // namespace

void clsMatrix::QuickSort(ByRef<Array<double>> Matrix, ORVSortDirection Direction,
                          ORVSortType SortType, Long SortIndex) const {
  Guard(kQuickSort, [&](Line& line) {
    line = 10;
    Array<double>& m = *Matrix;
    const bool descending = Direction == orvSortDescending;
    if (m.Rank() != 2) {
      line = 20;
      QuickSortArray(m, m.LBound(1), m.UBound(1));
      line = 30;
      if (descending) ReverseArray(m);
    } else if (SortType == orvSortColumns) {
      line = 40;
      const Long key = KeyIndex(SortIndex, m.LBound(1), m.UBound(1));
      line = 50;
      QuickSortColumns(m, key, m.LBound(2), m.UBound(2));
      line = 60;
      if (descending) ReverseColumns(m);
    } else {
      line = 70;
      const Long key = KeyIndex(SortIndex, m.LBound(2), m.UBound(2));
      line = 80;
      QuickSortRows(m, key, m.LBound(1), m.UBound(1));
      line = 90;
      if (descending) ReverseRows(m);
    }
  });
}

}  // namespace orv
