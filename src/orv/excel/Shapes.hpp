#pragma once
// The shapes of a worksheet and its chart objects.
//
//   excel::ChartObject co = sheet.ChartObjects().Add(426, 1315.8, 200, 200);
//   sheet.Shapes().Count();                  // 1: a chart object is a shape
//   excel::Shape s = sheet.Shapes(1);
//   s.IncrementTop(-100);                    // moves the chart object too
//   s.TopLeftCell().Row();                   // from the real row heights
//
// Positions and sizes are in points from the sheet's top-left corner. A
// shape stays on the sheet: a Left or Top below 0 becomes 0, and one that
// would push the shape past the sheet's last row or column stops it at the
// edge. Sizes are 0 or more (1004 for a negative one). TopLeftCell and
// BottomRightCell are read from the sheet's row heights and column widths
// at each call, so they follow rows and columns that change size.
//
// Collections count from 1 in z-order (oldest first); an index beyond
// them is 9, a name that is not there 1004 ("The item with the specified
// name wasn't found."). ChartObjects(i) counts only the chart objects.
// Using a handle of a deleted shape is 1004.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "orv/excel/Chart.hpp"
#include "orv/excel/state_fwd.hpp"
#include "orv/excel/Range.hpp"
#include "orv/frame/Ref.hpp"

namespace orv::excel {

class Worksheet;
class ChartObject;

class Shape {
 public:
  Shape() : shape_(Nothing) {}
  explicit Shape(std::shared_ptr<ShapeState> shape) : shape_(std::move(shape)) {}
  bool IsNothing() const { return shape_.IsNothing(); }

  // "Chart 1", "Rectangle 2", ... (the number is the shape's id) until set.
  std::string Name() const;
  void LetName(std::string_view value) const;
  // msoChart for a chart object, msoAutoShape otherwise.
  std::int32_t Type() const;
  double Left() const;
  void LetLeft(double value) const;
  double Top() const;
  void LetTop(double value) const;
  double Width() const;
  void LetWidth(double value) const;
  double Height() const;
  void LetHeight(double value) const;
  // Moves the shape by so many points (kept on the sheet as above).
  void IncrementLeft(double points) const;
  void IncrementTop(double points) const;
  // The cell under the shape's top-left (bottom-right) corner.
  Range TopLeftCell() const;
  Range BottomRightCell() const;
  bool HasChart() const;
  // The chart of a chart object; 1004 for another shape.
  excel::Chart Chart() const;
  // Position in z-order, from 1.
  std::int32_t ZOrderPosition() const;
  std::int32_t ID() const;
  void Delete() const;

  friend bool operator==(const Shape& a, const Shape& b) { return a.shape_ == b.shape_; }

 private:
  friend struct internal::Access;
  const std::shared_ptr<ShapeState>& State() const { return shape_.Shared(); }
  Ref<ShapeState> shape_;
};

class Shapes {
 public:
  explicit Shapes(std::shared_ptr<WorksheetState> sheet) : sheet_(std::move(sheet)) {}
  std::int32_t Count() const;
  Shape Item(std::int32_t index) const;
  Shape Item(std::string_view name) const;
  Shape operator()(std::int32_t index) const { return Item(index); }
  Shape operator()(std::string_view name) const { return Item(name); }
  // A new autoshape (msoShapeRectangle, msoShapeOval, ...); 1004 for a
  // negative size.
  Shape AddShape(std::int32_t Type, double Left, double Top, double Width, double Height) const;

 private:
  Ref<WorksheetState> sheet_;
};

// A chart object: the shape that shows a chart on a sheet. Its chart is
// new and empty: xlColumnClustered, no series, a legend, no title.
class ChartObject {
 public:
  ChartObject() : shape_(Nothing) {}
  explicit ChartObject(std::shared_ptr<ShapeState> shape) : shape_(std::move(shape)) {}
  bool IsNothing() const { return shape_.IsNothing(); }

  excel::Chart Chart() const;
  std::string Name() const;
  void LetName(std::string_view value) const;
  double Left() const;
  void LetLeft(double value) const;
  double Top() const;
  void LetTop(double value) const;
  double Width() const;
  void LetWidth(double value) const;
  double Height() const;
  void LetHeight(double value) const;
  Range TopLeftCell() const;
  Range BottomRightCell() const;
  // Position among the sheet's chart objects, from 1.
  std::int32_t Index() const;
  // Makes it the sheet's selected shape; 1004 "Select method of
  // ChartObject class failed" when its sheet is not the active sheet.
  void Select() const;
  void Delete() const;
  // The same object as a shape.
  Shape AsShape() const;

  friend bool operator==(const ChartObject& a, const ChartObject& b) {
    return a.shape_ == b.shape_;
  }

 private:
  friend struct internal::Access;
  const std::shared_ptr<ShapeState>& State() const { return shape_.Shared(); }
  Ref<ShapeState> shape_;
};

class ChartObjects {
 public:
  explicit ChartObjects(std::shared_ptr<WorksheetState> sheet) : sheet_(std::move(sheet)) {}
  std::int32_t Count() const;
  ChartObject Item(std::int32_t index) const;
  ChartObject Item(std::string_view name) const;
  ChartObject operator()(std::int32_t index) const { return Item(index); }
  ChartObject operator()(std::string_view name) const { return Item(name); }
  // A new chart object at the given place and size (the place kept on the
  // sheet, sizes 0 or more else 1004), on top of the other shapes.
  ChartObject Add(double Left, double Top, double Width, double Height) const;

 private:
  Ref<WorksheetState> sheet_;
};

}  // namespace orv::excel
