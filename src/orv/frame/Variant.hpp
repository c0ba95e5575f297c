#pragma once
// The tagged value of the automation interface, in 16 bytes: empty, null,
// 16- and 32-bit integers, single, double, currency, date, string, Boolean,
// error value, object reference, or an array of doubles, strings, Variants,
// 16- or 32-bit integers. Copies are deep (an array in a Variant is copied
// with it), as the interface's values are.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "orv/frame/Array.hpp"

namespace orv {

// The interface's type codes (VarType).
enum class VarType : std::uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Object = 9,
  Error = 10,
  Boolean = 11,
  Array = 8192,
};

struct NullValue {};
inline constexpr NullValue Null{};

// A fixed-point amount: the value times 10,000.
struct Currency {
  std::int64_t scaled = 0;
};
// A date: days since 30 December 1899, the fraction the time of day.
struct Date {
  double serial = 0;
};
// An error value, as a cell holding #N/A carries (its number, 2042).
struct ErrorValue {
  std::int32_t code = 0;
};

// Base of everything a Variant can hold by reference.
class Object {
 public:
  virtual ~Object();
};

class Variant;
using AnyArray = std::variant<Array<double>, Array<std::string>, Array<Variant>,
                              Array<std::int16_t>, Array<std::int32_t>>;

class Variant {
 public:
  Variant() noexcept : type_(VarType::Empty) { u_.i64 = 0; }
  Variant(NullValue) noexcept : type_(VarType::Null) { u_.i64 = 0; }
  Variant(std::int16_t v) noexcept : type_(VarType::Integer) {
    u_.i64 = 0;
    u_.i16 = v;
  }
  Variant(std::int32_t v) noexcept : type_(VarType::Long) {
    u_.i64 = 0;
    u_.i32 = v;
  }
  Variant(float v) noexcept : type_(VarType::Single) {
    u_.i64 = 0;
    u_.f = v;
  }
  Variant(double v) noexcept : type_(VarType::Double) { u_.d = v; }
  Variant(Currency v) noexcept : type_(VarType::Currency) { u_.i64 = v.scaled; }
  Variant(Date v) noexcept : type_(VarType::Date) { u_.d = v.serial; }
  Variant(bool v) noexcept : type_(VarType::Boolean) {
    u_.i64 = 0;
    u_.b = v;
  }
  Variant(ErrorValue v) noexcept : type_(VarType::Error) {
    u_.i64 = 0;
    u_.i32 = v.code;
  }
  Variant(std::string v);
  Variant(std::string_view v) : Variant(std::string(v)) {}
  Variant(const char* v) : Variant(std::string(v)) {}
  Variant(std::shared_ptr<Object> v);
  Variant(Array<double> v);
  Variant(Array<std::string> v);
  Variant(Array<Variant> v);
  Variant(Array<std::int16_t> v);
  Variant(Array<std::int32_t> v);

  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  ~Variant();

  VarType Type() const noexcept { return type_; }
  bool IsEmpty() const noexcept { return type_ == VarType::Empty; }
  bool IsNull() const noexcept { return type_ == VarType::Null; }
  bool IsString() const noexcept { return type_ == VarType::String; }
  bool IsBoolean() const noexcept { return type_ == VarType::Boolean; }
  bool IsError() const noexcept { return type_ == VarType::Error; }
  bool IsObject() const noexcept { return type_ == VarType::Object; }
  bool IsArray() const noexcept { return type_ == VarType::Array; }
  // Integer, Long, Single, Double, Currency or Date.
  bool IsNumber() const noexcept;

  // The payload of each type; asking for another type than the one held
  // is error 13.
  std::int16_t AsInteger() const;
  std::int32_t AsLong() const;
  float AsSingle() const;
  double AsDouble() const;
  Currency AsCurrency() const;
  Date AsDate() const;
  bool AsBoolean() const;
  ErrorValue AsError() const;
  const std::string& AsString() const;
  const std::shared_ptr<Object>& AsObject() const;

  // Arrays. A Variant that holds no array answers 13 to every question
  // about bounds and elements.
  const AnyArray& AsArray() const;
  AnyArray& AsArray();
  template <class T>
  const Array<T>* ArrayOf() const {
    return IsArray() ? std::get_if<Array<T>>(u_.array) : nullptr;
  }
  template <class T>
  Array<T>* ArrayOf() {
    return IsArray() ? std::get_if<Array<T>>(u_.array) : nullptr;
  }
  int Rank() const;
  std::int32_t LBound(int dimension = 1) const;
  std::int32_t UBound(int dimension = 1) const;
  // An element, as a Variant (error 9 outside the bounds or for the wrong
  // number of indices).
  Variant Element(std::int32_t i) const;
  Variant Element(std::int32_t i, std::int32_t j) const;
  // Stores a value, converted to the array's element type as an
  // assignment converts it.
  void SetElement(std::int32_t i, const Variant& value);
  void SetElement(std::int32_t i, std::int32_t j, const Variant& value);

  // Same type and same value (a structural test, not the interface's
  // comparison operators).
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  void Release() noexcept;
  void CopyFrom(const Variant& other);

  VarType type_;
  union {
    std::int16_t i16;
    std::int32_t i32;
    std::int64_t i64;
    float f;
    double d;
    bool b;
    std::string* str;
    std::shared_ptr<Object>* obj;
    AnyArray* array;
  } u_;
};

}  // namespace orv
