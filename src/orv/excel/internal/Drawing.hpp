#pragma once
// The drawing layer of a worksheet: the shapes and chart objects that float
// above the cells. It is kept apart from the cell storage; it knows the
// cells only through the sheet's Geometry (positions in points), which is
// how a shape finds its top-left cell.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "orv/frame/Variant.hpp"

namespace orv::excel {

struct WorksheetState;
struct ChartState;

enum class ShapeKind : std::uint8_t { AutoShape, ChartObject };

// One shape: its place and size in points from the sheet's top-left
// corner, and for a chart object the chart it shows.
struct ShapeState : Object {
  std::weak_ptr<WorksheetState> sheet;
  ShapeKind kind = ShapeKind::AutoShape;
  std::int32_t auto_shape_type = 1;  // msoShapeRectangle
  std::int32_t id = 0;               // unique on the sheet, from 1
  std::string name;
  double left = 0, top = 0, width = 0, height = 0;
  std::shared_ptr<ChartState> chart;  // chart objects only
  bool deleted = false;               // removed from its sheet
};

class DrawingLayer {
 public:
  std::size_t Count() const { return shapes_.size(); }
  // The shapes in z-order, first drawn first. A chart object is a shape.
  std::vector<std::shared_ptr<ShapeState>>& Shapes() { return shapes_; }
  const std::vector<std::shared_ptr<ShapeState>>& Shapes() const { return shapes_; }
  // The number the next new shape gets (ids are never reused).
  std::int32_t NextId() { return next_id_++; }
  // The shape last selected (empty when none or when it was deleted).
  std::weak_ptr<ShapeState>& Selection() { return selection_; }
  const std::weak_ptr<ShapeState>& Selection() const { return selection_; }

 private:
  std::vector<std::shared_ptr<ShapeState>> shapes_;
  std::weak_ptr<ShapeState> selection_;
  std::int32_t next_id_ = 1;
};

}  // namespace orv::excel
