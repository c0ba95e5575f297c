#pragma once
// The one failure type of the library: an error record with a number, a source
// and a description, as the automation interface reports it.
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace orv {

// The base of the numbers that components define for themselves (0x80040000).
inline constexpr std::int32_t kObjectErrorBase = -2147221504;

// Runtime error numbers the library raises or passes on.
inline constexpr std::int32_t kErrInvalidCall = 5;
inline constexpr std::int32_t kErrOverflow = 6;
inline constexpr std::int32_t kErrOutOfMemory = 7;
inline constexpr std::int32_t kErrSubscript = 9;
inline constexpr std::int32_t kErrDivisionByZero = 11;
inline constexpr std::int32_t kErrTypeMismatch = 13;
inline constexpr std::int32_t kErrCantPerform = 17;
inline constexpr std::int32_t kErrObjectNotSet = 91;
inline constexpr std::int32_t kErrInvalidNull = 94;

// The source a failure gets when whoever raised it named none.
inline constexpr std::string_view kDefaultSource = "ORVMain";

class Error : public std::exception {
 public:
  Error(std::int32_t number, std::string source, std::string description);

  std::int32_t Number;
  std::string Source;
  std::string Description;

  const char* what() const noexcept override { return Description.c_str(); }
};

// The platform's standard text for a number: "Overflow" for 6, ... and
// "Application-defined or object-defined error" for numbers it does not know.
std::string StandardDescription(std::int32_t number);

// Raises a failure. An empty source becomes kDefaultSource, an empty
// description the standard text of the number.
[[noreturn]] void Raise(std::int32_t number, std::string_view source = {},
                        std::string_view description = {});

// Turns whatever is in flight (called inside a catch block) into an Error:
// an Error stays as it is, std::bad_alloc and std::length_error become 7,
// anything else 5.
Error CurrentAsError();

}  // namespace orv
