#include "orv/frame/Variant.hpp"

#include "orv/frame/convert.hpp"

namespace orv {

Object::~Object() = default;

Variant::Variant(std::string v) : type_(VarType::String) { u_.str = new std::string(std::move(v)); }
Variant::Variant(std::shared_ptr<Object> v) : type_(VarType::Object) {
  u_.obj = new std::shared_ptr<Object>(std::move(v));
}
Variant::Variant(Array<double> v) : type_(VarType::Array) { u_.array = new AnyArray(std::move(v)); }
Variant::Variant(Array<std::string> v) : type_(VarType::Array) {
  u_.array = new AnyArray(std::move(v));
}
Variant::Variant(Array<Variant> v) : type_(VarType::Array) {
  u_.array = new AnyArray(std::move(v));
}
Variant::Variant(Array<std::int16_t> v) : type_(VarType::Array) {
  u_.array = new AnyArray(std::move(v));
}
Variant::Variant(Array<std::int32_t> v) : type_(VarType::Array) {
  u_.array = new AnyArray(std::move(v));
}

Variant::Variant(const Variant& other) : type_(VarType::Empty) {
  u_.i64 = 0;
  CopyFrom(other);
}
Variant::Variant(Variant&& other) noexcept : type_(other.type_), u_(other.u_) {
  other.type_ = VarType::Empty;
  other.u_.i64 = 0;
}
Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    Variant copy(other);
    *this = std::move(copy);
  }
  return *this;
}
Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    Release();
    type_ = other.type_;
    u_ = other.u_;
    other.type_ = VarType::Empty;
    other.u_.i64 = 0;
  }
  return *this;
}
Variant::~Variant() { Release(); }

void Variant::Release() noexcept {
  switch (type_) {
    case VarType::String:
      delete u_.str;
      break;
    case VarType::Object:
      delete u_.obj;
      break;
    case VarType::Array:
      delete u_.array;
      break;
    default:
      break;
  }
  type_ = VarType::Empty;
  u_.i64 = 0;
}

void Variant::CopyFrom(const Variant& other) {
  switch (other.type_) {
    case VarType::String:
      u_.str = new std::string(*other.u_.str);
      break;
    case VarType::Object:
      u_.obj = new std::shared_ptr<Object>(*other.u_.obj);
      break;
    case VarType::Array:
      u_.array = new AnyArray(*other.u_.array);
      break;
    default:
      u_ = other.u_;
      break;
  }
  type_ = other.type_;
}

bool Variant::IsNumber() const noexcept {
  switch (type_) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Date:
      return true;
    default:
      return false;
  }
}

namespace {
[[noreturn]] void Mismatch() { Raise(kErrTypeMismatch); }
}  // namespace

std::int16_t Variant::AsInteger() const {
  if (type_ != VarType::Integer) Mismatch();
  return u_.i16;
}
std::int32_t Variant::AsLong() const {
  if (type_ != VarType::Long) Mismatch();
  return u_.i32;
}
float Variant::AsSingle() const {
  if (type_ != VarType::Single) Mismatch();
  return u_.f;
}
double Variant::AsDouble() const {
  if (type_ != VarType::Double) Mismatch();
  return u_.d;
}
Currency Variant::AsCurrency() const {
  if (type_ != VarType::Currency) Mismatch();
  return Currency{u_.i64};
}
Date Variant::AsDate() const {
  if (type_ != VarType::Date) Mismatch();
  return Date{u_.d};
}
bool Variant::AsBoolean() const {
  if (type_ != VarType::Boolean) Mismatch();
  return u_.b;
}
ErrorValue Variant::AsError() const {
  if (type_ != VarType::Error) Mismatch();
  return ErrorValue{u_.i32};
}
const std::string& Variant::AsString() const {
  if (type_ != VarType::String) Mismatch();
  return *u_.str;
}
const std::shared_ptr<Object>& Variant::AsObject() const {
  if (type_ != VarType::Object) Mismatch();
  return *u_.obj;
}
const AnyArray& Variant::AsArray() const {
  if (type_ != VarType::Array) Mismatch();
  return *u_.array;
}
AnyArray& Variant::AsArray() {
  if (type_ != VarType::Array) Mismatch();
  return *u_.array;
}

int Variant::Rank() const {
  return std::visit([](const auto& a) { return a.Rank(); }, AsArray());
}
std::int32_t Variant::LBound(int dimension) const {
  return std::visit([&](const auto& a) { return a.LBound(dimension); }, AsArray());
}
std::int32_t Variant::UBound(int dimension) const {
  return std::visit([&](const auto& a) { return a.UBound(dimension); }, AsArray());
}

Variant Variant::Element(std::int32_t i) const {
  return std::visit([&](const auto& a) { return Variant(a(i)); }, AsArray());
}
Variant Variant::Element(std::int32_t i, std::int32_t j) const {
  return std::visit([&](const auto& a) { return Variant(a(i, j)); }, AsArray());
}

namespace {
template <class T>
T ConvertForElement(const Variant& v) {
  if constexpr (std::is_same_v<T, double>)
    return CDbl(v);
  else if constexpr (std::is_same_v<T, std::string>)
    return CStr(v);
  else if constexpr (std::is_same_v<T, std::int16_t>)
    return CInt(v);
  else if constexpr (std::is_same_v<T, std::int32_t>)
    return CLng(v);
  else
    return v;
}
}  // namespace

void Variant::SetElement(std::int32_t i, const Variant& value) {
  std::visit(
      [&](auto& a) {
        using T = typename std::decay_t<decltype(a)>::value_type;
        auto& slot = a(i);
        slot = ConvertForElement<T>(value);
      },
      AsArray());
}
void Variant::SetElement(std::int32_t i, std::int32_t j, const Variant& value) {
  std::visit(
      [&](auto& a) {
        using T = typename std::decay_t<decltype(a)>::value_type;
        auto& slot = a(i, j);
        slot = ConvertForElement<T>(value);
      },
      AsArray());
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.type_ != b.type_) return false;
  switch (a.type_) {
    case VarType::Empty:
    case VarType::Null:
      return true;
    case VarType::Integer:
      return a.u_.i16 == b.u_.i16;
    case VarType::Long:
    case VarType::Error:
      return a.u_.i32 == b.u_.i32;
    case VarType::Single:
      return a.u_.f == b.u_.f;
    case VarType::Double:
    case VarType::Date:
      return a.u_.d == b.u_.d;
    case VarType::Currency:
      return a.u_.i64 == b.u_.i64;
    case VarType::Boolean:
      return a.u_.b == b.u_.b;
    case VarType::String:
      return *a.u_.str == *b.u_.str;
    case VarType::Object:
      return *a.u_.obj == *b.u_.obj;
    case VarType::Array:
      return *a.u_.array == *b.u_.array;
  }
  return false;
}

}  // namespace orv
