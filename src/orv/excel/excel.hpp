#pragma once
// The in-process workbook: application, workbooks, worksheets, ranges,
// cell values and formats, shapes and charts, and the worksheet functions.
#include "orv/excel/Application.hpp"
#include "orv/excel/Chart.hpp"
#include "orv/excel/ChartEnums.hpp"
#include "orv/excel/ChartFormat.hpp"
#include "orv/excel/Range.hpp"
#include "orv/excel/Shapes.hpp"
#include "orv/excel/Workbook.hpp"
#include "orv/excel/Worksheet.hpp"
#include "orv/excel/WorksheetFunction.hpp"
#include "orv/excel/errors.hpp"
#include "orv/excel/reference.hpp"
