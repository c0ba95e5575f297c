#pragma once
// A failure of `orv report` told in words: what is wrong with the input and,
// when the library found it, the number it raised and the member that
// raised it.
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

#include "orv/frame/Error.hpp"

namespace orv::report {

class ReportFailure : public std::exception {
 public:
  explicit ReportFailure(std::string message) : message_(std::move(message)) {}
  // A failure the library raised, explained by `message`; `member` is the
  // call that raised it ("clsValidation.ValidateNumericData").
  ReportFailure(std::string message, const Error& raised, std::string member);
  // A check of the front end's own that reports the library's number for
  // the same fault (a constant column after incomplete cases were dropped).
  ReportFailure(std::string message, std::int32_t number);

  const std::string& Message() const { return message_; }
  std::optional<std::int32_t> Number() const { return number_; }
  // "error -2147216411 (orvErrBlankVariableCells) from
  // clsValidation.ValidateNumericData", or empty.
  std::string Detail() const;
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
  std::optional<std::int32_t> number_;
  std::string member_;
  std::string source_;
};

// The name of an ORVError number ("orvErrBlankVariableCells"), or of a
// platform runtime number ("Type mismatch" for 13); empty when unknown.
std::string ErrorName(std::int32_t number);

// "Invalid procedure call or argument (error 5, Line 20 in ...)": a
// failure of the library that the front end has no words of its own for.
std::string DescribeError(const Error& error);

}  // namespace orv::report
