#pragma once
// Files of the in-process workbook: .xlsx in and out, separated text in.
#include "orv/xlsx/csv_reader.hpp"
#include "orv/xlsx/xlsx_reader.hpp"
#include "orv/xlsx/xlsx_writer.hpp"
