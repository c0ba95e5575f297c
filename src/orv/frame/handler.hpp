#pragma once
// How a failure leaves a member. Every member follows one of five rules,
// declared once with the member:
//
//   static constexpr Member kTranspose{Rule::Plain, "CMatrix", "Transpose"};
//   CMatrix CMatrix::Transpose() const {
//     return Guard(kTranspose, [&](Line& line) {
//       line = 10; ...
//       line = 20; ...
//     });
//   }
//
// The labelled statements set `line`; a failure anywhere in the body leaves
// decorated by the rule:
//   Stamp  source = "Line <n> in ORVMain.<class>.<member>"
//   Chain  a source that begins with "Line" gets "." + <member> appended;
//          any other source is stamped
//   Plain  source = "ORVMain.<class>.<member>"
//   None   the failure leaves as it arrived
//   Skip   the member never raises: each statement that may fail runs
//          through ResumeNext and the member goes on with the next one
// Number and description always pass unchanged. Failures that are not
// orv::Error (std::bad_alloc, ...) become their runtime numbers first.
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "orv/frame/Error.hpp"

namespace orv {

enum class Rule { Stamp, Chain, Plain, None, Skip };

using Line = std::int32_t;

struct Member {
  Rule rule;
  std::string_view cls;
  std::string_view name;
};

// "Line <line> in ORVMain.<class>.<member>": the source a member gives an
// error it raises itself with its own location.
std::string Located(const Member& member, Line line);

// Applies the member's rule to a failure that is leaving it.
void Decorate(Error& error, const Member& member, Line line);

template <class Body>
decltype(auto) Guard(const Member& member, Body&& body) {
  Line line = 0;
  try {
    return std::forward<Body>(body)(line);
  } catch (...) {
    Error error = CurrentAsError();
    Decorate(error, member, line);
    throw error;
  }
}

// Runs one statement of a member that ignores failures statement by
// statement; returns false when the statement failed.
template <class Statement>
bool ResumeNext(Statement&& statement) noexcept {
  try {
    std::forward<Statement>(statement)();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace orv
