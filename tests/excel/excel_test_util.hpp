#pragma once
#include <gtest/gtest.h>

#include <string>

#include "orv/excel/excel.hpp"
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
