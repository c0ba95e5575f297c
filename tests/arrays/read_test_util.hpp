#pragma once
// A workbook for the reader tests, handed to clsMain for the duration of a
// test and taken back afterwards.
#include <gtest/gtest.h>

#include <string>

#include "orv/excel/excel.hpp"
#include "orv_test.hpp"

namespace orv::testing_read {

struct Workbook {
  excel::Application app;
  excel::Workbook book = app.Workbooks().Add();
  excel::Worksheet sheet = book.Worksheets(1);
  excel::Application saved = excel::CurrentApplication();
  Workbook() { excel::SetCurrentApplication(app); }
  ~Workbook() { excel::SetCurrentApplication(saved); }
  void Put(const char* cell, const Variant& v) { app.Range(cell).LetValue(v); }
  excel::Range R(const char* reference) { return app.Range(reference); }
};

}  // namespace orv::testing_read
