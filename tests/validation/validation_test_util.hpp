// Helpers shared by the clsValidation tests: the source of a handled
// failure, a workbook handed to clsMain for each test, and filling it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "orv/excel/excel.hpp"
#include "orv/validation/clsValidation.hpp"
#include "orv_test.hpp"

namespace orv::test {

// The source of a failure handled at this line of clsValidation.<member>.
inline std::string At(int line, const char* member) {
  return "Line " + std::to_string(line) + " in ORVMain.clsValidation." + member;
}

// A workbook handed to clsMain for the test; the shared state is reset
// before and after.
class ValidationWorkbook : public ::testing::Test {
 protected:
  excel::Application app;
  excel::Workbook book;
  excel::Worksheet sheet;
  const clsValidation& v = Global<clsValidation>();

  void SetUp() override {
    Reset();
    book = app.Workbooks().Add();
    sheet = book.Worksheets(1);
    excel::SetCurrentApplication(app);
  }
  void TearDown() override { Reset(); }
  static void Reset() {
    Shared().ExcelApplication = nullptr;
    Shared().Properties = Settings{};
  }

  excel::Range R(const char* reference) const { return app.Range(reference); }
  void Put(const char* reference, const Variant& value) const { R(reference).LetValue(value); }
  // Every cell of a one-area reference gets f(row, column), counted within
  // the area.
  void Fill(const char* reference, const std::function<Variant(int, int)>& f) const {
    const excel::Range r = R(reference);
    const int rows = r.Rows().Count(), columns = r.Columns().Count();
    Array<Variant> values(1, rows, 1, columns);
    for (int i = 1; i <= rows; ++i)
      for (int j = 1; j <= columns; ++j) values(i, j) = f(i, j);
    r.LetValue(Variant(std::move(values)));
  }
  // Whole, positive, varying numbers.
  void Numbers(const char* reference) const {
    Fill(reference, [](int i, int j) { return Variant(double(i * 3 + j)); });
  }
};

}  // namespace orv::test
