#pragma once
// Files of the in-process workbook: .xlsx in and out, separated text in,
// charts out as SVG.
#include "orv/xlsx/chart_svg.hpp"
#include "orv/xlsx/csv_reader.hpp"
#include "orv/xlsx/xlsx_reader.hpp"
#include "orv/xlsx/xlsx_writer.hpp"
