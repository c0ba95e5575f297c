#pragma once
// Opening .xlsx workbooks into the in-process workbook.
//
//   excel::Application app;
//   excel::Workbook book = xlsx::OpenXlsx(app, "/data/survey.xlsx");
//   book.Name();                        // "survey.xlsx"
//   book.Worksheets(1).Range("A1").Value();
//
// What is read: every worksheet, in the file's order, with its name; the
// cell values (numbers, shared and inline texts, Booleans, error values,
// and the values that formulas last calculated; dates stay the numbers
// they are stored as); which sheet is active; column widths and row
// heights where the file sets them. Formulas themselves, cell formats,
// charts, chart sheets and everything else are left behind.
//
// Sheets are parsed as a stream: a sheet of a million rows needs little
// memory beyond the cells it fills. A large part is inflated on a helper
// thread, a few megabytes ahead of the parser, that ends before the call
// returns; nothing else is shared with it.
//
// Failures are 1004 from "Microsoft Excel", with a description that names
// the file and the problem: a missing file, a file that is no zip archive,
// an archive without a workbook, broken XML (with the part, line and
// column), a cell reference beyond the sheet, a value that cannot be read.
// A workbook of the same name already open is 1004 as well; nothing is
// added to the application when opening fails.
#include <string_view>

#include "orv/excel/Application.hpp"
#include "orv/excel/Workbook.hpp"

namespace orv::xlsx {

excel::Workbook OpenXlsx(const excel::Application& application, std::string_view path);

}  // namespace orv::xlsx
