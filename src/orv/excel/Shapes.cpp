// Shapes and chart objects: their place on the sheet, in points.
#include "orv/excel/Shapes.hpp"

#include <algorithm>
#include <cmath>

#include "orv/excel/Worksheet.hpp"
#include "orv/excel/internal/chart_detail.hpp"
#include "orv/excel/internal/detail.hpp"
#include "orv/excel/errors.hpp"
#include "orv/excel/reference.hpp"

namespace orv::excel {

namespace {

// The shape, which must still be on its sheet.
ShapeState& Live(const Ref<ShapeState>& ref) {
  ShapeState& shape = *ref;
  if (shape.deleted) RaiseApplicationDefined();
  return shape;
}

std::shared_ptr<WorksheetState> SheetOf(const ShapeState& shape) {
  auto sheet = shape.sheet.lock();
  if (!sheet) RaiseApplicationDefined();
  return sheet;
}

double SheetWidth(const WorksheetState& sheet) { return sheet.geometry.Width(1, kMaxColumns); }
double SheetHeight(const WorksheetState& sheet) { return sheet.geometry.Height(1, kMaxRows); }

// Positions stay on the sheet: from 0 up to where the far edge meets the
// sheet's last row or column.
void PlaceLeft(ShapeState& shape, double value) {
  const double limit = std::max(0.0, SheetWidth(*SheetOf(shape)) - shape.width);
  shape.left = std::clamp(value, 0.0, limit);
}
void PlaceTop(ShapeState& shape, double value) {
  const double limit = std::max(0.0, SheetHeight(*SheetOf(shape)) - shape.height);
  shape.top = std::clamp(value, 0.0, limit);
}

void SetLeft(ShapeState& shape, double value, const char* cls) {
  if (!std::isfinite(value)) RaiseUnableToSet("Left", cls);
  PlaceLeft(shape, value);
}
void SetTop(ShapeState& shape, double value, const char* cls) {
  if (!std::isfinite(value)) RaiseUnableToSet("Top", cls);
  PlaceTop(shape, value);
}
void SetWidth(ShapeState& shape, double value, const char* cls) {
  if (!(value >= 0) || !std::isfinite(value)) RaiseUnableToSet("Width", cls);
  shape.width = std::min(value, SheetWidth(*SheetOf(shape)) - shape.left);
}
void SetHeight(ShapeState& shape, double value, const char* cls) {
  if (!(value >= 0) || !std::isfinite(value)) RaiseUnableToSet("Height", cls);
  shape.height = std::min(value, SheetHeight(*SheetOf(shape)) - shape.top);
}

void SetName(ShapeState& shape, std::string_view value, const char* cls) {
  if (value.empty()) RaiseUnableToSet("Name", cls);
  shape.name = std::string(value);
}

Range CellAt(const ShapeState& shape, double left, double top) {
  auto sheet = SheetOf(shape);
  const std::int32_t row = sheet->geometry.RowAt(top);
  const std::int32_t column = sheet->geometry.ColumnAt(left);
  return detail::MakeRange(sheet, {Rect{row, column, row, column}});
}

Range TopLeft(const ShapeState& shape) { return CellAt(shape, shape.left, shape.top); }

// The cell under the bottom-right corner; a corner on a cell's top (left)
// edge belongs to the cell above (left of) it.
Range BottomRight(const ShapeState& shape) {
  auto sheet = SheetOf(shape);
  const Geometry& g = sheet->geometry;
  const double bottom = shape.top + shape.height, right = shape.left + shape.width;
  std::int32_t row = g.RowAt(bottom), column = g.ColumnAt(right);
  if (shape.height > 0 && row > 1 && g.Top(row) == bottom) --row;
  if (shape.width > 0 && column > 1 && g.Left(column) == right) --column;
  return detail::MakeRange(sheet, {Rect{row, column, row, column}});
}

void Remove(ShapeState& shape) {
  if (auto sheet = shape.sheet.lock()) {
    auto& shapes = sheet->drawing.Shapes();
    shapes.erase(std::remove_if(shapes.begin(), shapes.end(),
                                [&](const auto& s) { return s.get() == &shape; }),
                 shapes.end());
  }
  shape.deleted = true;
}

std::shared_ptr<ShapeState> NewShape(const std::shared_ptr<WorksheetState>& sheet, ShapeKind kind,
                                     double left, double top, double width, double height,
                                     const char* method, const char* cls) {
  if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(width) ||
      !std::isfinite(height) || width < 0 || height < 0)
    RaiseClassMethodFailed(method, cls);
  auto shape = std::make_shared<ShapeState>();
  shape->sheet = sheet;
  shape->kind = kind;
  shape->id = sheet->drawing.NextId();
  shape->width = std::min(width, SheetWidth(*sheet));
  shape->height = std::min(height, SheetHeight(*sheet));
  PlaceLeft(*shape, left);
  PlaceTop(*shape, top);
  return shape;
}

}  // namespace

// ----------------------------------------------------------------- Shape ---

std::string Shape::Name() const { return Live(shape_).name; }
void Shape::LetName(std::string_view value) const { SetName(Live(shape_), value, "Shape"); }
std::int32_t Shape::Type() const {
  return Live(shape_).kind == ShapeKind::ChartObject ? msoChart : msoAutoShape;
}
double Shape::Left() const { return Live(shape_).left; }
void Shape::LetLeft(double value) const { SetLeft(Live(shape_), value, "Shape"); }
double Shape::Top() const { return Live(shape_).top; }
void Shape::LetTop(double value) const { SetTop(Live(shape_), value, "Shape"); }
double Shape::Width() const { return Live(shape_).width; }
void Shape::LetWidth(double value) const { SetWidth(Live(shape_), value, "Shape"); }
double Shape::Height() const { return Live(shape_).height; }
void Shape::LetHeight(double value) const { SetHeight(Live(shape_), value, "Shape"); }

void Shape::IncrementLeft(double points) const {
  ShapeState& shape = Live(shape_);
  if (!std::isfinite(points)) RaiseClassMethodFailed("IncrementLeft", "Shape");
  PlaceLeft(shape, shape.left + points);
}

void Shape::IncrementTop(double points) const {
  ShapeState& shape = Live(shape_);
  if (!std::isfinite(points)) RaiseClassMethodFailed("IncrementTop", "Shape");
  PlaceTop(shape, shape.top + points);
}

Range Shape::TopLeftCell() const { return TopLeft(Live(shape_)); }
Range Shape::BottomRightCell() const { return BottomRight(Live(shape_)); }
bool Shape::HasChart() const { return Live(shape_).kind == ShapeKind::ChartObject; }

excel::Chart Shape::Chart() const {
  ShapeState& shape = Live(shape_);
  if (shape.kind != ShapeKind::ChartObject) RaiseUnableToGet("Chart", "Shape");
  return excel::Chart(shape.chart);
}

std::int32_t Shape::ZOrderPosition() const {
  ShapeState& shape = Live(shape_);
  const auto& shapes = SheetOf(shape)->drawing.Shapes();
  for (std::size_t i = 0; i < shapes.size(); ++i)
    if (shapes[i].get() == &shape) return static_cast<std::int32_t>(i + 1);
  RaiseApplicationDefined();
}

std::int32_t Shape::ID() const { return Live(shape_).id; }
void Shape::Delete() const { Remove(Live(shape_)); }

// ---------------------------------------------------------------- Shapes ---

std::int32_t Shapes::Count() const { return static_cast<std::int32_t>(sheet_->drawing.Count()); }

Shape Shapes::Item(std::int32_t index) const {
  const auto& shapes = sheet_->drawing.Shapes();
  if (index < 1 || static_cast<std::size_t>(index) > shapes.size()) Raise(kErrSubscript);
  return Shape(shapes[static_cast<std::size_t>(index - 1)]);
}

Shape Shapes::Item(std::string_view name) const {
  for (const auto& shape : sheet_->drawing.Shapes())
    if (SameSheetName(shape->name, name)) return Shape(shape);
  Raise1004("The item with the specified name wasn't found.");
}

Shape Shapes::AddShape(std::int32_t Type, double Left, double Top, double Width,
                       double Height) const {
  const auto& sheet = sheet_.Shared();
  (void)*sheet_;
  if (Type < 1 || Type > 183) RaiseClassMethodFailed("AddShape", "Shapes");
  auto shape =
      NewShape(sheet, ShapeKind::AutoShape, Left, Top, Width, Height, "AddShape", "Shapes");
  shape->auto_shape_type = Type;
  const char* base = Type == msoShapeRectangle ? "Rectangle "
                     : Type == msoShapeOval    ? "Oval "
                                               : "AutoShape ";
  shape->name = base + std::to_string(shape->id);
  sheet->drawing.Shapes().push_back(shape);
  return Shape(shape);
}

// ----------------------------------------------------------- ChartObject ---

excel::Chart ChartObject::Chart() const { return excel::Chart(Live(shape_).chart); }
std::string ChartObject::Name() const { return Live(shape_).name; }
void ChartObject::LetName(std::string_view value) const {
  SetName(Live(shape_), value, "ChartObject");
}
double ChartObject::Left() const { return Live(shape_).left; }
void ChartObject::LetLeft(double value) const { SetLeft(Live(shape_), value, "ChartObject"); }
double ChartObject::Top() const { return Live(shape_).top; }
void ChartObject::LetTop(double value) const { SetTop(Live(shape_), value, "ChartObject"); }
double ChartObject::Width() const { return Live(shape_).width; }
void ChartObject::LetWidth(double value) const { SetWidth(Live(shape_), value, "ChartObject"); }
double ChartObject::Height() const { return Live(shape_).height; }
void ChartObject::LetHeight(double value) const { SetHeight(Live(shape_), value, "ChartObject"); }
Range ChartObject::TopLeftCell() const { return TopLeft(Live(shape_)); }
Range ChartObject::BottomRightCell() const { return BottomRight(Live(shape_)); }

std::int32_t ChartObject::Index() const {
  ShapeState& shape = Live(shape_);
  std::int32_t index = 0;
  for (const auto& s : SheetOf(shape)->drawing.Shapes()) {
    if (s->kind == ShapeKind::ChartObject) ++index;
    if (s.get() == &shape) return index;
  }
  RaiseApplicationDefined();
}

void ChartObject::Select() const {
  ShapeState& shape = Live(shape_);
  auto sheet = SheetOf(shape);
  auto book = sheet->book.lock();
  if (!book || book->active_sheet.lock() != sheet) RaiseClassMethodFailed("Select", "ChartObject");
  sheet->drawing.Selection() = shape_.Shared();
}

void ChartObject::Delete() const { Remove(Live(shape_)); }
Shape ChartObject::AsShape() const {
  (void)Live(shape_);
  return Shape(shape_.Shared());
}

// ---------------------------------------------------------- ChartObjects ---

std::int32_t ChartObjects::Count() const {
  std::int32_t count = 0;
  for (const auto& s : sheet_->drawing.Shapes())
    if (s->kind == ShapeKind::ChartObject) ++count;
  return count;
}

ChartObject ChartObjects::Item(std::int32_t index) const {
  std::int32_t seen = 0;
  if (index >= 1)
    for (const auto& s : sheet_->drawing.Shapes())
      if (s->kind == ShapeKind::ChartObject && ++seen == index) return ChartObject(s);
  Raise(kErrSubscript);
}

ChartObject ChartObjects::Item(std::string_view name) const {
  for (const auto& s : sheet_->drawing.Shapes())
    if (s->kind == ShapeKind::ChartObject && SameSheetName(s->name, name)) return ChartObject(s);
  Raise1004("The item with the specified name wasn't found.");
}

ChartObject ChartObjects::Add(double Left, double Top, double Width, double Height) const {
  const auto& sheet = sheet_.Shared();
  (void)*sheet_;
  auto shape =
      NewShape(sheet, ShapeKind::ChartObject, Left, Top, Width, Height, "Add", "ChartObjects");
  shape->name = "Chart " + std::to_string(shape->id);
  shape->chart = detail::NewChart(shape);
  sheet->drawing.Shapes().push_back(shape);
  return ChartObject(shape);
}

// ------------------------------------------------------------- Worksheet ---

excel::Shapes Worksheet::Shapes() const {
  (void)*state_;
  return excel::Shapes(state_.Shared());
}
excel::Shape Worksheet::Shapes(std::int32_t index) const { return Shapes().Item(index); }
excel::Shape Worksheet::Shapes(std::string_view name) const { return Shapes().Item(name); }
excel::ChartObjects Worksheet::ChartObjects() const {
  (void)*state_;
  return excel::ChartObjects(state_.Shared());
}
excel::ChartObject Worksheet::ChartObjects(std::int32_t index) const {
  return ChartObjects().Item(index);
}
excel::ChartObject Worksheet::ChartObjects(std::string_view name) const {
  return ChartObjects().Item(name);
}

}  // namespace orv::excel
