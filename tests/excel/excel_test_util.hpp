#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "orv/excel/excel.hpp"
#include "orv/excel/internal/detail.hpp"
#include "orv/frame/frame.hpp"
#include "orv_test.hpp"

using namespace orv::test;

// The source of the workbook model's own failures.
inline const char* kXl = "Microsoft Excel";
inline const char* kWf = "WorksheetFunction";

// "Unable to get (set) the <property> property of the <cls> class".
inline std::string CantGet(const std::string& property, const std::string& cls) {
  return "Unable to get the " + property + " property of the " + cls + " class";
}
inline std::string CantSet(const std::string& property, const std::string& cls) {
  return "Unable to set the " + property + " property of the " + cls + " class";
}

// An application with one workbook of one sheet.
struct Book {
  orv::excel::Application app;
  orv::excel::Workbook book = app.Workbooks().Add();
  orv::excel::Worksheet sheet = book.Worksheets(1);
  orv::excel::WorksheetFunction wf = app.WorksheetFunction();
  // The values into the cells of the range, row by row.
  void Fill(const char* address, std::initializer_list<orv::Variant> values) {
    orv::excel::Range r = sheet.Range(address);
    std::int32_t i = 1;
    for (const orv::Variant& v : values) r.Item(i++).LetValue(v);
  }
  // Each cell of the sheet holds its value; Variant() is an empty cell.
  void Expect(std::initializer_list<std::pair<const char*, orv::Variant>> cells) {
    for (const auto& [cell, want] : cells) EXPECT_EQ(sheet.Range(cell).Value(), want) << cell;
  }
};

// A 1-D array of the values, from index lb.
template <typename T = double>
orv::Variant Vec(std::initializer_list<T> values, std::int32_t lb = 1) {
  orv::Array<T> a(lb, lb + static_cast<std::int32_t>(values.size()) - 1);
  std::int32_t i = lb;
  for (const T& v : values) a(i++) = v;
  return orv::Variant(std::move(a));
}

// A 2-D array of doubles, row by row, from (1, 1).
inline orv::Variant Grid(std::initializer_list<std::initializer_list<double>> rows) {
  orv::Array<double> a(1, static_cast<std::int32_t>(rows.size()), 1,
                       static_cast<std::int32_t>(rows.begin()->size()));
  std::int32_t r = 1;
  for (const auto& row : rows) {
    std::int32_t c = 1;
    for (double v : row) a(r, c++) = v;
    ++r;
  }
  return orv::Variant(std::move(a));
}
