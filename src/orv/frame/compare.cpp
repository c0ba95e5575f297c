#include "orv/frame/compare.hpp"

#include <cstdint>
#include <string>

#include "orv/frame/Error.hpp"

namespace orv {

namespace {

enum class Kind { Empty, Integral, Currency, Real, Text };

Kind Classify(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty:
      return Kind::Empty;
    case VarType::Integer:
    case VarType::Long:
    case VarType::Boolean:
      return Kind::Integral;
    case VarType::Currency:
      return Kind::Currency;
    case VarType::Single:
    case VarType::Double:
    case VarType::Date:
      return Kind::Real;
    case VarType::String:
      return Kind::Text;
    default:
      break;
  }
  // Checked by the caller: nothing else reaches here.
  Raise(kErrTypeMismatch);
}

std::int64_t IntegralValue(const Variant& v) {
  switch (v.Type()) {
    case VarType::Integer:
      return v.AsInteger();
    case VarType::Long:
      return v.AsLong();
    case VarType::Boolean:
      return v.AsBoolean() ? -1 : 0;
    default:
      return 0;  // Empty
  }
}

double RealValue(const Variant& v) {
  switch (v.Type()) {
    case VarType::Single:
      return v.AsSingle();
    case VarType::Double:
      return v.AsDouble();
    case VarType::Date:
      return v.AsDate().serial;
    case VarType::Currency:
      return static_cast<double>(v.AsCurrency().scaled) / 10000.0;
    default:
      return static_cast<double>(IntegralValue(v));  // Integer, Long, Boolean, Empty
  }
}

template <class T>
int Order(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

bool Incomparable(const Variant& v) { return v.IsError() || v.IsObject() || v.IsArray(); }

}  // namespace

int CompareVariants(const Variant& a, const Variant& b) {
  if (Incomparable(a) || Incomparable(b)) Raise(kErrTypeMismatch);
  if (a.IsNull() || b.IsNull()) Raise(kErrInvalidNull);

  Kind ka = Classify(a), kb = Classify(b);
  if (ka == Kind::Empty && kb == Kind::Empty) return 0;
  if (ka == Kind::Text || kb == Kind::Text) {
    if (ka == Kind::Text && kb == Kind::Text) return Order(a.AsString().compare(b.AsString()), 0);
    // Empty against text is the empty string; a number is below any text.
    if (ka == Kind::Empty) return b.AsString().empty() ? 0 : -1;
    if (kb == Kind::Empty) return a.AsString().empty() ? 0 : 1;
    return ka == Kind::Text ? 1 : -1;
  }
  // Both numeric (Empty as 0).
  bool a_int = ka == Kind::Integral || ka == Kind::Empty;
  bool b_int = kb == Kind::Integral || kb == Kind::Empty;
  if (a_int && b_int) return Order(IntegralValue(a), IntegralValue(b));
  if (ka == Kind::Currency && kb == Kind::Currency)
    return Order(a.AsCurrency().scaled, b.AsCurrency().scaled);
  return Order(RealValue(a), RealValue(b));
}

bool VariantsEqual(const Variant& a, const Variant& b) { return CompareVariants(a, b) == 0; }

}  // namespace orv
