#pragma once
// Row heights and column widths of one worksheet, in points, and the
// positions they give cells. Rows are 15 points high and columns 48 points
// wide (8.43 characters of the standard font: 64 pixels at 96 dpi) until
// set otherwise.
#include <cstdint>
#include <map>

namespace orv::excel {

inline constexpr double kDefaultRowHeight = 15.0;
inline constexpr double kDefaultColumnWidth = 48.0;
inline constexpr double kDefaultColumnChars = 8.43;
inline constexpr double kMaxRowHeight = 409.0;
inline constexpr double kMaxColumnChars = 255.0;

class Geometry {
 public:
  double RowHeight(std::int32_t row) const;
  double ColumnWidth(std::int32_t column) const;
  void SetRowHeight(std::int32_t row, double points);
  void SetColumnWidth(std::int32_t column, double points);

  // Distance from the sheet's top edge to the top of the row.
  double Top(std::int32_t row) const;
  // Distance from the sheet's left edge to the left of the column.
  double Left(std::int32_t column) const;
  // Sum of the heights of rows first..last (widths of columns first..last).
  double Height(std::int32_t first, std::int32_t last) const;
  double Width(std::int32_t first, std::int32_t last) const;
  // The row (column) that holds the point at the given distance from the
  // top (left) edge; the last row (column) beyond the sheet, 1 before it.
  std::int32_t RowAt(double points) const;
  std::int32_t ColumnAt(double points) const;

  // Column width in characters of the standard font and back: a character
  // is 7 pixels, a column has 5 pixels of padding, a pixel is 0.75 points.
  static double CharsToPoints(double chars);
  static double PointsToChars(double points);

 private:
  std::map<std::int32_t, double> heights_;  // rows whose height was set
  std::map<std::int32_t, double> widths_;   // columns whose width was set
};

}  // namespace orv::excel
