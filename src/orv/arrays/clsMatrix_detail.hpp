#pragma once
// Helpers shared by the files that implement clsMatrix; not part of the
// public interface.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>

#include "orv/frame/frame.hpp"

namespace orv::detail {

// A 32-bit count or index computed in 64 bits; beyond the Long range the
// platform reports an overflow.
inline Long ToLong(std::int64_t value) {
  if (value < std::numeric_limits<Long>::min() || value > std::numeric_limits<Long>::max())
    Raise(kErrOverflow);
  return static_cast<Long>(value);
}

// The block (1 To UBound(1), 1 To UBound(2)) of a two-dimensional array,
// the part the array members read. A wrong rank, or a lower bound above 1
// (the block's first element does not exist), is error 9. An upper bound
// below 1 gives an empty block.
template <class T>
class Block {
 public:
  Block() = default;
  explicit Block(const Array<T>& a) {
    if (a.Rank() != 2) Raise(kErrSubscript);
    rows_ = a.UBound(1);
    cols_ = a.UBound(2);
    if (rows_ >= 1 && cols_ >= 1) {
      if (a.LBound(1) > 1 || a.LBound(2) > 1) Raise(kErrSubscript);
      ld_ = static_cast<std::size_t>(a.Count(2));
      base_ = a.data() + static_cast<std::size_t>(1 - a.LBound(1)) * ld_ +
              static_cast<std::size_t>(1 - a.LBound(2));
    } else {
      rows_ = std::max<Long>(rows_, 0);
      cols_ = std::max<Long>(cols_, 0);
    }
  }
  Long rows() const { return rows_; }
  Long cols() const { return cols_; }
  std::size_t ld() const { return ld_; }
  // Element (i, j), 1 <= i <= rows, 1 <= j <= cols.
  const T& operator()(Long i, Long j) const {
    return base_[static_cast<std::size_t>(i - 1) * ld_ + static_cast<std::size_t>(j - 1)];
  }
  const T* row(Long i) const { return base_ + static_cast<std::size_t>(i - 1) * ld_; }
  // Error 9 unless the block holds at least rows x cols.
  void Require(Long rows, Long cols) const {
    if (rows > rows_ || cols > cols_) Raise(kErrSubscript);
  }

 private:
  const T* base_ = nullptr;
  std::size_t ld_ = 0;
  Long rows_ = 0;
  Long cols_ = 0;
};

// The elements 1 To UBound of a one-dimensional array.
template <class T>
class Vector {
 public:
  explicit Vector(const Array<T>& a) {
    if (a.Rank() != 1) Raise(kErrSubscript);
    size_ = a.UBound(1);
    if (size_ >= 1) {
      if (a.LBound(1) > 1) Raise(kErrSubscript);
      base_ = a.data() + static_cast<std::size_t>(1 - a.LBound(1));
    } else {
      size_ = 0;
    }
  }
  Long size() const { return size_; }
  const T& operator()(Long i) const { return base_[static_cast<std::size_t>(i - 1)]; }

 private:
  const T* base_ = nullptr;
  Long size_ = 0;
};

// A new (1 To rows, 1 To cols) array, zero-filled; a count below 1 is
// error 9, as dimensioning such an array is.
inline Array<double> NewMatrix(Long rows, Long cols) { return Array<double>(1, rows, 1, cols); }

// Row pointer of a (1 To r, 1 To c) array built by NewMatrix.
inline double* RowOf(Array<double>& a, Long i) {
  return a.data() + static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(a.Count(2));
}

// Error 6 when a computed block holds an infinity or a NaN: the first
// operation that produced it overflowed (or was invalid), as the platform
// would have reported at that operation.
inline void RequireFinite(const double* p, std::size_t n) {
  bool ok = true;
  for (std::size_t k = 0; k < n; ++k) ok &= std::isfinite(p[k]);
  if (!ok) Raise(kErrOverflow);
}
inline void RequireFinite(const Array<double>& a) { RequireFinite(a.data(), a.size()); }

// The (1 To n, 1 To m) block of a two-dimensional array copied into a new
// (1 To n, 1 To m) array.
inline Array<double> CopyBlock(const Block<double>& b, Long n, Long m) {
  b.Require(n, m);
  Array<double> out = NewMatrix(n, m);
  for (Long i = 1; i <= n; ++i) {
    const double* src = b.row(i);
    double* dst = RowOf(out, i);
    for (Long j = 0; j < m; ++j) dst[j] = src[j];
  }
  return out;
}

// --- in-memory quicksort -------------------------------------------------
//
// One scheme for elements, rows and columns: `Keys` gives key(k) for a
// position k and swaps two positions. Pivot: the median of the keys at
// first, middle and last. Partition with i = first, j = last:
//   repeat { while key(i) < pivot and i < last: i++
//            while pivot < key(j) and j > first: j--
//            if i > j: stop
//            swap(i, j); i++; j-- } until i > j
// then both parts are sorted. The parts are disjoint, so the order in which
// they are sorted does not change the result: the smaller part is sorted by
// recursion and the larger one by the loop, which bounds the depth by
// log2 of the length.

inline double MedianOfThree(double a, double b, double c) {
  if (a < b) {
    if (b < c) return b;
    return a < c ? c : a;
  }
  if (a < c) return a;
  return b < c ? c : b;
}

using Pos = std::int64_t;

template <class Keys>
void QuickSortRange(Keys& keys, Pos first, Pos last, int depth, int* max_depth) {
  while (first < last) {
    if (max_depth && depth > *max_depth) *max_depth = depth;
    Pos middle = first + (last - first) / 2;
    const double pivot = MedianOfThree(keys.key(first), keys.key(middle), keys.key(last));
    Pos i = first, j = last;
    do {
      while (keys.key(i) < pivot && i < last) ++i;
      while (pivot < keys.key(j) && j > first) --j;
      if (i > j) break;
      keys.swap(i, j);
      ++i;
      --j;
    } while (i <= j);
    // Sort the smaller part first (by recursion), then the larger one.
    if (j - first >= last - i) {
      if (i < last) QuickSortRange(keys, i, last, depth + 1, max_depth);
      last = j;
    } else {
      if (first < j) QuickSortRange(keys, first, j, depth + 1, max_depth);
      first = i;
    }
  }
}

// Keys of a one-dimensional array: element k.
struct ElementKeys {
  double* base;  // element LBound
  Long lb;
  double key(Pos k) const { return base[k - lb]; }
  void swap(Pos a, Pos b) { std::swap(base[a - lb], base[b - lb]); }
};

// Keys of rows: element (k, key column); a swap exchanges whole rows,
// element by element.
struct RowKeys {
  double* base;  // element (LBound(1), LBound(2))
  std::size_t ld;
  Long lb_row;
  std::size_t key_offset;  // key column - LBound(2)
  double key(Pos k) const { return base[static_cast<std::size_t>(k - lb_row) * ld + key_offset]; }
  void swap(Pos a, Pos b) {
    double* ra = base + static_cast<std::size_t>(a - lb_row) * ld;
    double* rb = base + static_cast<std::size_t>(b - lb_row) * ld;
    for (std::size_t c = 0; c < ld; ++c) {
      double t = ra[c];
      ra[c] = rb[c];
      rb[c] = t;
    }
  }
};

// Keys of columns: element (key row, k); a swap exchanges whole columns.
struct ColumnKeys {
  double* base;  // element (LBound(1), LBound(2))
  std::size_t ld;
  std::size_t rows;
  Long lb_col;
  std::size_t key_offset;  // (key row - LBound(1)) * ld
  double key(Pos k) const { return base[key_offset + static_cast<std::size_t>(k - lb_col)]; }
  void swap(Pos a, Pos b) {
    double* ca = base + static_cast<std::size_t>(a - lb_col);
    double* cb = base + static_cast<std::size_t>(b - lb_col);
    for (std::size_t r = 0; r < rows; ++r) {
      double t = ca[r * ld];
      ca[r * ld] = cb[r * ld];
      cb[r * ld] = t;
    }
  }
};

}  // namespace orv::detail
