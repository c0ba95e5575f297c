#pragma once
// Cell coordinates of the workbook: rows 1 to 1,048,576, columns 1 to
// 16,384, and the rectangle (area) of cells that a range is made of.
#include <algorithm>
#include <cstdint>

namespace orv::excel {

inline constexpr std::int32_t kMaxRows = 1048576;
inline constexpr std::int32_t kMaxColumns = 16384;

// An inclusive block of cells, 1-based.
struct Rect {
  std::int32_t top = 1, left = 1, bottom = 1, right = 1;

  std::int32_t Rows() const { return bottom - top + 1; }
  std::int32_t Columns() const { return right - left + 1; }
  std::int64_t Cells() const { return std::int64_t{Rows()} * Columns(); }
  bool Contains(std::int32_t row, std::int32_t column) const {
    return row >= top && row <= bottom && column >= left && column <= right;
  }
  bool Contains(const Rect& r) const {
    return r.top >= top && r.bottom <= bottom && r.left >= left && r.right <= right;
  }
  bool Intersects(const Rect& r) const {
    return r.top <= bottom && r.bottom >= top && r.left <= right && r.right >= left;
  }
  Rect Intersection(const Rect& r) const {
    return Rect{std::max(top, r.top), std::max(left, r.left), std::min(bottom, r.bottom),
                std::min(right, r.right)};
  }
  // The smallest block holding both.
  Rect Hull(const Rect& r) const {
    return Rect{std::min(top, r.top), std::min(left, r.left), std::max(bottom, r.bottom),
                std::max(right, r.right)};
  }
  bool WholeColumns() const { return top == 1 && bottom == kMaxRows; }
  bool WholeRows() const { return left == 1 && right == kMaxColumns; }
  bool OnSheet() const {
    return top >= 1 && left >= 1 && bottom <= kMaxRows && right <= kMaxColumns && top <= bottom &&
           left <= right;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

inline constexpr Rect kWholeSheet{1, 1, kMaxRows, kMaxColumns};

}  // namespace orv::excel
