#pragma once
#include <gtest/gtest.h>

#include <string>

#include "orv/excel/excel.hpp"
#include "orv/frame/frame.hpp"
#include "orv_test.hpp"

using namespace orv::test;

// The source of the workbook model's own failures.
inline const char* kXl = "Microsoft Excel";
