#include "orv/excel/internal/Geometry.hpp"

#include <cmath>

#include "orv/excel/Rect.hpp"
#include "orv/excel/internal/detail.hpp"

namespace orv::excel {

double Geometry::RowHeight(std::int32_t row) const {
  auto it = heights_.find(row);
  return it == heights_.end() ? kDefaultRowHeight : it->second;
}

double Geometry::ColumnWidth(std::int32_t column) const {
  auto it = widths_.find(column);
  return it == widths_.end() ? kDefaultColumnWidth : it->second;
}

void Geometry::SetRowHeight(std::int32_t row, double points) {
  if (points == kDefaultRowHeight)
    heights_.erase(row);
  else
    heights_[row] = points;
}

void Geometry::SetColumnWidth(std::int32_t column, double points) {
  if (points == kDefaultColumnWidth)
    widths_.erase(column);
  else
    widths_[column] = points;
}

double Geometry::Height(std::int32_t first, std::int32_t last) const {
  if (last < first) return 0;
  double total = kDefaultRowHeight * static_cast<double>(last - first + 1);
  for (auto it = heights_.lower_bound(first); it != heights_.end() && it->first <= last; ++it)
    total += it->second - kDefaultRowHeight;
  return total;
}

double Geometry::Width(std::int32_t first, std::int32_t last) const {
  if (last < first) return 0;
  double total = kDefaultColumnWidth * static_cast<double>(last - first + 1);
  for (auto it = widths_.lower_bound(first); it != widths_.end() && it->first <= last; ++it)
    total += it->second - kDefaultColumnWidth;
  return total;
}

double Geometry::Top(std::int32_t row) const { return Height(1, row - 1); }
double Geometry::Left(std::int32_t column) const { return Width(1, column - 1); }

namespace {
// The index whose span [start, start + size) holds the point, walking the
// explicit sizes in order between stretches of the default size.
std::int32_t IndexAt(const std::map<std::int32_t, double>& sizes, double fallback,
                     std::int32_t last, double points) {
  if (points < 0) return 1;
  double start = 0;
  std::int32_t index = 1;
  for (const auto& [at, size] : sizes) {
    // Default-sized stretch index .. at - 1.
    double stretch = fallback * static_cast<double>(at - index);
    if (points < start + stretch)
      return index + static_cast<std::int32_t>(std::floor((points - start) / fallback));
    start += stretch;
    index = at;
    if (points < start + size) return index;
    start += size;
    index = at + 1;
  }
  double step = std::floor((points - start) / fallback);
  if (step >= static_cast<double>(last - index)) return last;
  return index + static_cast<std::int32_t>(step);
}
}  // namespace

std::int32_t Geometry::RowAt(double points) const {
  return IndexAt(heights_, kDefaultRowHeight, kMaxRows, points);
}
std::int32_t Geometry::ColumnAt(double points) const {
  return IndexAt(widths_, kDefaultColumnWidth, kMaxColumns, points);
}

double Geometry::CharsToPoints(double chars) {
  if (chars <= 0) return 0;
  return (std::round(chars * 7.0) + 5.0) * 0.75;
}

double Geometry::PointsToChars(double points) {
  double pixels = points / 0.75;
  if (pixels <= 5) return 0;
  return std::round((pixels - 5.0) / 7.0 * 100.0) / 100.0;
}

}  // namespace orv::excel
