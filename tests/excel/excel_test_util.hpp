#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "orv/excel/excel.hpp"
#include "orv/excel/internal/detail.hpp"
#include "orv/frame/frame.hpp"

// Runs the statement and checks the failure it raises.
#define EXPECT_ORV_ERROR(statement, number, source, description) \
  do {                                                           \
    try {                                                        \
      statement;                                                 \
      ADD_FAILURE() << "no failure from " #statement;            \
    } catch (const orv::Error& e) {                              \
      EXPECT_EQ(e.Number, (number));                             \
      if (std::string(source) != "*") {                          \
        EXPECT_EQ(e.Source, (source));                           \
      }                                                          \
      EXPECT_EQ(e.Description, (description));                   \
    }                                                            \
  } while (0)

inline const char* kAppDefined = "Application-defined or object-defined error";
inline const char* kObjectNotSet = "Object variable or With block variable not set";
