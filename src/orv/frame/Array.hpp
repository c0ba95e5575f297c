#pragma once
// Arrays as the automation interface has them: rank 0 (never dimensioned),
// 1 or 2, with a lower and an upper bound per dimension. Two-dimensional
// arrays are indexed row first and stored row by row. Reading or writing
// outside the bounds, or asking for a dimension the array does not have,
// is error 9; a size that cannot be allocated is error 7.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "orv/frame/Error.hpp"

namespace orv {

// The most elements one allocation may hold on this thread: an array, or
// the cells one range operation reads or writes at once. Beyond it is
// error 7, as if memory had run out. Unbounded unless a program that runs
// requests from others bounds them with an ElementLimit in scope.
inline thread_local std::size_t max_elements = std::numeric_limits<std::size_t>::max();

class ElementLimit {
 public:
  explicit ElementLimit(std::size_t most) : before_(max_elements) { max_elements = most; }
  ~ElementLimit() { max_elements = before_; }
  ElementLimit(const ElementLimit&) = delete;
  ElementLimit& operator=(const ElementLimit&) = delete;

 private:
  std::size_t before_;
};

template <class T>
class Array {
 public:
  using value_type = T;

  // Never dimensioned: rank 0, no bounds.
  Array() = default;
  // One-dimensional (lb To ub).
  Array(std::int32_t lb, std::int32_t ub) { ReDim(lb, ub); }
  // Two-dimensional (lb1 To ub1, lb2 To ub2).
  Array(std::int32_t lb1, std::int32_t ub1, std::int32_t lb2, std::int32_t ub2) {
    ReDim(lb1, ub1, lb2, ub2);
  }

  int Rank() const { return rank_; }
  bool IsAllocated() const { return rank_ > 0; }

  std::int32_t LBound(int dimension = 1) const { return lb_[CheckDimension(dimension)]; }
  std::int32_t UBound(int dimension = 1) const { return ub_[CheckDimension(dimension)]; }
  // Number of elements of one dimension.
  std::int32_t Count(int dimension = 1) const {
    int d = CheckDimension(dimension);
    return ub_[d] - lb_[d] + 1;
  }
  std::size_t size() const { return data_.size(); }

  // Fresh contents, every element T{}.
  void ReDim(std::int32_t lb, std::int32_t ub) {
    std::size_t n = Extent(lb, ub);
    Allocate(n);
    rank_ = 1;
    lb_[0] = lb;
    ub_[0] = ub;
    lb_[1] = ub_[1] = 0;
  }
  void ReDim(std::int32_t lb1, std::int32_t ub1, std::int32_t lb2, std::int32_t ub2) {
    std::size_t n1 = Extent(lb1, ub1), n2 = Extent(lb2, ub2);
    if (n2 != 0 && n1 > std::numeric_limits<std::size_t>::max() / sizeof(T) / n2)
      Raise(kErrOutOfMemory);
    Allocate(n1 * n2);
    rank_ = 2;
    lb_[0] = lb1;
    ub_[0] = ub1;
    lb_[1] = lb2;
    ub_[1] = ub2;
  }
  // New bounds keeping the elements whose indices lie in both the old and
  // the new bounds; the rank may not change.
  void ReDimPreserve(std::int32_t lb, std::int32_t ub) {
    if (rank_ == 0) return ReDim(lb, ub);
    if (rank_ != 1) Raise(kErrSubscript);
    Array next(lb, ub);
    for (std::int32_t i = std::max(lb, lb_[0]); i <= std::min(ub, ub_[0]); ++i)
      next.At(i) = std::move(At(i));
    *this = std::move(next);
  }
  void ReDimPreserve(std::int32_t lb1, std::int32_t ub1, std::int32_t lb2, std::int32_t ub2) {
    if (rank_ == 0) return ReDim(lb1, ub1, lb2, ub2);
    if (rank_ != 2) Raise(kErrSubscript);
    Array next(lb1, ub1, lb2, ub2);
    for (std::int32_t i = std::max(lb1, lb_[0]); i <= std::min(ub1, ub_[0]); ++i)
      for (std::int32_t j = std::max(lb2, lb_[1]); j <= std::min(ub2, ub_[1]); ++j)
        next.At(i, j) = std::move(At(i, j));
    *this = std::move(next);
  }
  // Back to rank 0, storage released.
  void Erase() {
    std::vector<T>().swap(data_);
    rank_ = 0;
    lb_[0] = ub_[0] = lb_[1] = ub_[1] = 0;
  }

  // Checked element access (error 9 for a wrong rank or an index outside
  // the bounds).
  T& operator()(std::int32_t i) { return data_[Offset(i)]; }
  const T& operator()(std::int32_t i) const { return data_[Offset(i)]; }
  T& operator()(std::int32_t i, std::int32_t j) { return data_[Offset(i, j)]; }
  const T& operator()(std::int32_t i, std::int32_t j) const { return data_[Offset(i, j)]; }

  // Unchecked access for loops that have checked their bounds.
  T& At(std::int32_t i) { return data_[static_cast<std::size_t>(i - lb_[0])]; }
  const T& At(std::int32_t i) const { return data_[static_cast<std::size_t>(i - lb_[0])]; }
  T& At(std::int32_t i, std::int32_t j) { return data_[Index(i, j)]; }
  const T& At(std::int32_t i, std::int32_t j) const { return data_[Index(i, j)]; }

  // Row-major storage: element (i, j) of a 2-D array is at
  // (i - LBound(1)) * Count(2) + (j - LBound(2)).
  T* data() { return data_.data(); }
  const T* data() const { return data_.data(); }
  std::vector<T>& storage() { return data_; }
  const std::vector<T>& storage() const { return data_; }

  friend bool operator==(const Array& a, const Array& b) {
    return a.rank_ == b.rank_ && a.lb_[0] == b.lb_[0] && a.ub_[0] == b.ub_[0] &&
           a.lb_[1] == b.lb_[1] && a.ub_[1] == b.ub_[1] && a.data_ == b.data_;
  }

 private:
  static std::size_t Extent(std::int32_t lb, std::int32_t ub) {
    if (ub < lb) Raise(kErrSubscript);
    return static_cast<std::size_t>(static_cast<std::int64_t>(ub) - lb + 1);
  }
  void Allocate(std::size_t n) {
    if (n > std::numeric_limits<std::size_t>::max() / sizeof(T) / 2 || n > max_elements)
      Raise(kErrOutOfMemory);
    try {
      std::vector<T> fresh(n);
      data_.swap(fresh);
    } catch (...) {
      Raise(kErrOutOfMemory);
    }
  }
  int CheckDimension(int dimension) const {
    if (dimension < 1 || dimension > rank_) Raise(kErrSubscript);
    return dimension - 1;
  }
  std::size_t Index(std::int32_t i, std::int32_t j) const {
    return static_cast<std::size_t>(i - lb_[0]) * static_cast<std::size_t>(ub_[1] - lb_[1] + 1) +
           static_cast<std::size_t>(j - lb_[1]);
  }
  std::size_t Offset(std::int32_t i) const {
    if (rank_ != 1 || i < lb_[0] || i > ub_[0]) Raise(kErrSubscript);
    return static_cast<std::size_t>(i - lb_[0]);
  }
  std::size_t Offset(std::int32_t i, std::int32_t j) const {
    if (rank_ != 2 || i < lb_[0] || i > ub_[0] || j < lb_[1] || j > ub_[1]) Raise(kErrSubscript);
    return Index(i, j);
  }

  int rank_ = 0;
  std::int32_t lb_[2] = {0, 0};
  std::int32_t ub_[2] = {0, 0};
  std::vector<T> data_;
};

}  // namespace orv
