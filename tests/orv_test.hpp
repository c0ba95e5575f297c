// Helpers shared by the test programs: catching the Error a call raises,
// checking its number, source and description, and keeping the shared state
// of the process across a test.
#pragma once

#include <gtest/gtest.h>

#include <concepts>
#include <cstdint>
#include <limits>
#include <memory>
#include <ostream>
#include <string>

#include "orv/frame/Error.hpp"
#include "orv/frame/shared_state.hpp"

namespace orv::test {

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kInf = std::numeric_limits<double>::infinity();

inline const char* kNoDescription = "Application-defined or object-defined error";
inline const char* kNotSet = "Object variable or With block variable not set";

// What a call raised: the number, source and description of its Error, or
// number 0 and empty texts when it raised none. The one way the suite checks
// failures:
//
//   EXPECT_FAILS(9, "CMatrix.Item", "Subscript out of range", m.Item(0, 1));
//   EXPECT_EQ(Fails([&] { m.Item(0, 1); }).number, 9);
struct Failure {
  std::int32_t number = 0;
  std::string source, description;
  bool operator==(const Failure&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Failure& f) {
  if (f.number == 0 && f.source.empty() && f.description.empty()) return os << "no error";
  return os << "error " << f.number << " from \"" << f.source << "\": \"" << f.description
            << '"';
}

template <class F>
Failure Fails(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return {e.Number, e.Source, e.Description};
  }
  return {};
}

// The application, settings and constants the process holds, kept by a test
// fixture's SetUp and given back by its TearDown.
struct SavedSharedState {
  std::shared_ptr<Object> app;
  Settings settings;
  ExcelConstants constants;

  void Save() {
    app = Shared().ExcelApplication;
    settings = Shared().Properties;
    constants = Shared().Constants;
  }
  void Restore() const {
    Shared().ExcelApplication = app;
    Shared().Properties = settings;
    Shared().Constants = constants;
  }
};

}  // namespace orv::test

// The statement (the last argument, commas allowed) must raise the Error with
// this number, source and description.
#define EXPECT_FAILS(number, source, description, ...)     \
  EXPECT_EQ(::orv::test::Fails([&] { __VA_ARGS__; }),      \
            (::orv::test::Failure{number, source, description}))
