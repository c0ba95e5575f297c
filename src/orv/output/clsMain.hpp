#pragma once
// The workbook application the whole library works through, and small
// utilities: ordinal suffixes, the empty-array test, a bounds walk over a
// 2-D array, and axis scaling for charts. A global class without state of
// its own: the application handle lives in the process-wide store.
#include <string>

#include "orv/excel/Application.hpp"
#include "orv/frame/frame.hpp"

namespace orv {

class clsMain {
 public:
  // The stored application (Nothing until set). Never fails.
  excel::Application Excel() const;
  // Stores the application (any handle, Nothing included) for every class.
  void SetExcel(const excel::Application& Application) const;

  // Text followed by the ordinal suffix of its last character and a blank
  // ("1st ", "22nd ", "113rd ", "10th "); "" when Text is empty or does not
  // end in a digit. Never fails.
  std::string Getth(const std::string& Text) const;
  // True when TestVar holds no array or an array without bounds. Never fails.
  Boolean ArrayIsEmpty(const Variant& TestVar) const;
  // Reads every element (i, j), i = 1 To UBound(1), j = 1 To UBound(2), and
  // discards it: 13 when ArrayToPrint holds no array, 9 when it has one
  // dimension (and a first upper bound of 1 or more) or a lower bound above 1.
  void DPArray(const Variant& ArrayToPrint) const;

  // Axis bounds and a unit of 1, 2 or 5 times a power of ten for data from
  // DataMin to DataMax padded by Buffer times the range on each side, with
  // about ApproxTicks ticks; writes ReturnAxisUnit, ReturnAxisMin,
  // ReturnAxisMax, ReturnDecimalPoints in that order. DataMax < DataMin
  // fails at once with -2147221504; ApproxTicks 1 divides by zero (11),
  // below 1 takes the logarithm of a negative number (5); bounds beyond the
  // 32-bit range overflow (6), keeping the outputs already written.
  void AxisTicks(Double DataMin, Double DataMax, Long ApproxTicks, Double Buffer,
                 ByRef<Double> ReturnAxisMin, ByRef<Double> ReturnAxisMax,
                 ByRef<Double> ReturnAxisUnit, ByRef<Long> ReturnDecimalPoints) const;

  // Places the chart just added to the active sheet (its last shape, whose
  // index also names its chart object) at the top-left cell of OutputRange
  // plus the offsets, in points, and gives it its final size. Before
  // version 12 of the application the chart is placed by position alone;
  // from 12 on it is walked onto the cell's row and column by nudges. Does
  // nothing when ChartName is empty; never fails: a step that fails is
  // skipped.
  void RepositionChart(const std::string& ChartName, Long ChartHeight, Long ChartWidth,
                       Long HorizontalOffset, Long VerticalOffset,
                       const excel::Range& OutputRange) const;
};

}  // namespace orv
