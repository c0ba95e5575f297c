#pragma once
// The worksheet functions, with a spreadsheet's semantics:
//  - a range or an array argument contributes its numbers; its texts,
//    Booleans and blanks are skipped (Count counts numbers, CountA every
//    non-blank value, error values included);
//  - a value passed directly counts as what it converts to: a Boolean is
//    1 or 0, a numeric text its number, Empty 0; other text is #VALUE!;
//  - an error value reached by Sum, Average, Var, Min, Max, SumSq or
//    SumProduct is the result;
//  - a function whose result is an error value fails with 1004 "Unable to
//    get the <Name> property of the WorksheetFunction class" (Var of fewer
//    than two numbers, Average of none, TInv of a probability outside
//    (0, 1] or fewer than 1 degree of freedom, SumProduct of arrays of
//    different shapes, ...).
// Values are taken areas in order, each row by row; sums accumulate in that
// order.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <variant>

#include "orv/excel/Range.hpp"
#include "orv/excel/state_fwd.hpp"
#include "orv/frame/Ref.hpp"
#include "orv/frame/Variant.hpp"

namespace orv::excel {

// One argument: a range, or a value (a scalar or an array). A Variant that
// holds a range counts as the range.
class FunctionArg {
 public:
  FunctionArg(const Range& range) : arg_(&range) {}
  FunctionArg(const Variant& value);
  FunctionArg(double value) : arg_(Variant(value)) {}
  FunctionArg(std::int32_t value) : arg_(Variant(value)) {}
  FunctionArg(bool value) : arg_(Variant(value)) {}
  FunctionArg(const char* value) : arg_(Variant(value)) {}
  FunctionArg(const std::string& value) : arg_(Variant(value)) {}

  const Range* range() const;
  const Variant* value() const;

 private:
  std::variant<const Range*, const Variant*, Variant, Range> arg_;
};

class WorksheetFunction {
 public:
  explicit WorksheetFunction(std::shared_ptr<ApplicationState> application)
      : application_(std::move(application)) {}

  double Count(std::initializer_list<FunctionArg> args) const;
  double CountA(std::initializer_list<FunctionArg> args) const;
  double Sum(std::initializer_list<FunctionArg> args) const;
  double SumSq(std::initializer_list<FunctionArg> args) const;
  double Average(std::initializer_list<FunctionArg> args) const;
  // Sample variance: sum of squared deviations from the mean over n - 1.
  double Var(std::initializer_list<FunctionArg> args) const;
  // 0 when there is no number.
  double Min(std::initializer_list<FunctionArg> args) const;
  double Max(std::initializer_list<FunctionArg> args) const;
  // Sum of the element-wise products of arrays of one shape; entries that
  // are not numbers count as 0.
  double SumProduct(std::initializer_list<FunctionArg> args) const;
  // The t value whose two-tailed probability is p with df degrees of
  // freedom (df truncated; 1 <= df <= 1e10, 0 < p <= 1).
  double TInv(const FunctionArg& p, const FunctionArg& df) const;
  // The standard normal distribution function.
  double NormSDist(const FunctionArg& z) const;
  // Rows become columns: a result of one row is a 1-D array (1 To n), of
  // several a 2-D array (1 To rows, 1 To columns); a 1-D argument is a
  // row; a single value comes back as it is.
  Variant Transpose(const FunctionArg& array) const;

  template <class... A>
  double Count(const A&... args) const {
    return Count({FunctionArg(args)...});
  }
  template <class... A>
  double CountA(const A&... args) const {
    return CountA({FunctionArg(args)...});
  }
  template <class... A>
  double Sum(const A&... args) const {
    return Sum({FunctionArg(args)...});
  }
  template <class... A>
  double SumSq(const A&... args) const {
    return SumSq({FunctionArg(args)...});
  }
  template <class... A>
  double Average(const A&... args) const {
    return Average({FunctionArg(args)...});
  }
  template <class... A>
  double Var(const A&... args) const {
    return Var({FunctionArg(args)...});
  }
  template <class... A>
  double Min(const A&... args) const {
    return Min({FunctionArg(args)...});
  }
  template <class... A>
  double Max(const A&... args) const {
    return Max({FunctionArg(args)...});
  }
  template <class... A>
  double SumProduct(const A&... args) const {
    return SumProduct({FunctionArg(args)...});
  }

 private:
  Ref<ApplicationState> application_;
};

// The two-tailed inverse of Student's t distribution: t > 0 with
// P(|T| > t) = p, p in (0, 1], df >= 1 (not necessarily whole). Accurate to
// a few units in the last place (checked against an independent
// reference).
double InverseStudentT2(double p, double df);
// The upper tail P(T > t) of Student's t distribution.
double StudentTUpper(double t, double df);
// The standard normal distribution function.
double StandardNormalCdf(double z);

}  // namespace orv::excel
