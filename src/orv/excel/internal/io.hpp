#pragma once
// What the .xlsx and .csv reader and writer see of the object model: the
// objects behind the handles (a workbook's sheets; a sheet's cells, formats,
// row and column sizes and drawings; a chart's series, axes and texts), the
// door to them from a handle, and the one way to write a reference. Nothing
// else outside the object model includes its internal headers.
#include "orv/excel/Application.hpp"
#include "orv/excel/Chart.hpp"
#include "orv/excel/ChartFormat.hpp"
#include "orv/excel/Rect.hpp"
#include "orv/excel/Workbook.hpp"
#include "orv/excel/errors.hpp"
#include "orv/excel/internal/access.hpp"
#include "orv/excel/internal/chart_detail.hpp"
#include "orv/excel/internal/chart_state.hpp"
#include "orv/excel/internal/state.hpp"
#include "orv/excel/reference.hpp"
