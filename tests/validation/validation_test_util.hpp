// Helpers shared by the clsValidation tests: the source of a handled
// failure, a check of the failure a statement raises,
// and a workbook handed to clsMain for each test.
#pragma once

#include <gtest/gtest.h>

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
};

}  // namespace orv::test

// Runs the statement and checks the failure it raises.
#define EXPECT_FAILURE(statement, number, source, description) \
  do {                                                         \
    try {                                                      \
      statement;                                               \
      ADD_FAILURE() << "no failure from " #statement;          \
    } catch (const orv::Error& e) {                            \
      EXPECT_EQ(e.Number, (number)) << #statement;             \
      EXPECT_EQ(e.Source, (source)) << #statement;             \
      EXPECT_EQ(e.Description, (description)) << #statement;   \
    }                                                          \
  } while (0)
