#pragma once
// The objects behind the handles of the workbook, declared only: how cells,
// formats and drawings are stored is the object model's own business
// (internal/, not installed). Handles hold these through Ref.
namespace orv::excel {

struct ApplicationState;
struct WorkbookState;
struct WorksheetState;
struct RangeState;
struct ShapeState;
struct ChartState;
struct SeriesState;
struct PointState;
struct TrendlineState;
struct AxisState;
struct TextState;
struct LineState;
struct FillState;

namespace internal {
// The one door from the object model's own files (and the .xlsx reader and
// writer, through internal/io.hpp) to the objects behind the handles.
struct Access;
}  // namespace internal

}  // namespace orv::excel
