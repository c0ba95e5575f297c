#pragma once
// What the readers and the writer share: failure messages that name the
// file, error-value texts, cell references, and handing a loaded workbook
// to the application.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orv/excel/Application.hpp"
#include "orv/excel/internal/io.hpp"

namespace orv::xlsx::detail {

// 1004 "Cannot open '<path>': <problem>." (and "save" for the writer).
[[noreturn]] void RaiseOpen(std::string_view path, std::string_view problem);
[[noreturn]] void RaiseSave(std::string_view path, std::string_view problem);

// The last component of a path: the name a workbook opened from it gets.
std::string FileName(std::string_view path);

// 1004 (the spreadsheet's own message) when a workbook of this name is open.
void CheckNotOpen(const excel::Application& application, std::string_view name);
// A sheet that belongs to no workbook yet.
std::shared_ptr<excel::WorksheetState> NewSheet(std::string name);
// Adds the workbook to the application with the given sheets (at least
// one); the sheet at `active` (from 0) becomes its active sheet and the
// workbook the active one.
excel::Workbook Register(const excel::Application& application, std::string_view name,
                         std::vector<std::shared_ptr<excel::WorksheetState>> sheets,
                         std::size_t active);

// "#N/A" and the other error texts of cells, and their codes (2042, ...).
std::optional<std::int32_t> ErrorCode(std::string_view text);
std::string_view ErrorText(std::int32_t code);

// "AB12" -> row 12, column 28. False when the text is no cell reference;
// `beyond` tells a well-formed reference outside the sheet.
bool ParseCellReference(std::string_view text, std::int32_t& row, std::int32_t& column,
                        bool& beyond);
// 28 -> "AB".
std::string ColumnLetters(std::int32_t column);

// Cuts a text to the longest a cell holds, at a character boundary.
void FitCellText(std::string& text);
// Whether the bytes are well-formed UTF-8.
bool IsUtf8(std::string_view text);

}  // namespace orv::xlsx::detail
