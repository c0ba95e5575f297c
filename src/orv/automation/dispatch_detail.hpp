#pragma once
// How a class's member table is written and how its calls are adapted.
// Each class states its members once, in their interface order:
//
//   Member::Method<&CMatrix::SetSize>("SetSize", {"Rows", Opt("Columns", Long{1}),
//                                                 Opt("Persist", false)}),
//   Member::Get<&CMatrix::Item>("Item", {"row", Opt("Column", Long{1})}),
//   Member::Let<&CMatrix::LetItem3>("Item", {"row", Opt("Column", Long{1}), "value"}),
//
// Parameter types, by-reference parameters and the result are read from the
// member's C++ signature; the table gives names, optional-ness and
// defaults. An optional parameter without a default must be a
// std::optional in C++ (it receives nullopt).
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "orv/automation/dispatch.hpp"
#include "orv/excel/Range.hpp"
#include "orv/frame/frame.hpp"

namespace orv::automation {

inline constexpr std::size_t kMaxParameters = 16;

struct Param {
  Param(const char* n) : name(n) {}
  Param(std::string_view n, bool opt, Variant def, bool has_def)
      : name(n), optional(opt), has_default(has_def), default_value(std::move(def)) {}
  std::string_view name;
  bool optional = false;
  bool has_default = false;
  bool by_ref = false;
  Variant default_value;
};

// Raises a binding failure with the platform's text.
[[noreturn]] void RaiseBinding(std::int32_t number);

// A dispatchable object: a library class or object-model handle in a box.
class Dispatchable : public Object {
 public:
  virtual const ClassInfo& Class() const = 0;
};

template <class T>
const ClassInfo& ClassFor();

template <class T>
class Boxed final : public Dispatchable {
 public:
  explicit Boxed(T v) : value(std::move(v)) {}
  const ClassInfo& Class() const override { return ClassFor<T>(); }
  T value;
};

template <class T>
bool HandleIsNothing(const T& v) {
  if constexpr (requires { v.IsNothing(); })
    return v.IsNothing();
  else
    return false;
}

template <class T>
ObjectPtr Box(T v) {
  if (HandleIsNothing(v)) return nullptr;
  return std::make_shared<Boxed<T>>(std::move(v));
}

// --- values in and out ---

template <class T>
struct IsArray : std::false_type {};
template <class T>
struct IsArray<Array<T>> : std::true_type {};

template <class T>
inline constexpr bool kIsScalar =
    std::is_arithmetic_v<T> || std::is_enum_v<T> || std::is_same_v<T, std::string>;

template <class T>
Variant ToVariant(T v) {
  if constexpr (std::is_same_v<T, Variant>)
    return v;
  else if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, double> ||
                     std::is_same_v<T, float> || std::is_same_v<T, std::int16_t> ||
                     std::is_same_v<T, std::int32_t> || std::is_same_v<T, std::string> ||
                     IsArray<T>::value)
    return Variant(std::move(v));
  else if constexpr (std::is_same_v<T, std::uint8_t>)
    return Variant(static_cast<std::int16_t>(v));
  else if constexpr (std::is_enum_v<T>)
    return Variant(static_cast<std::int32_t>(v));
  else if constexpr (std::is_same_v<T, const char*>)
    return Variant(std::string(v));
  else
    return Variant(Box(std::move(v)));
}

template <class T>
T ArrayFrom(const Variant& v);

// An argument converted to a parameter of type T.
template <class T>
T ScalarFrom(const Variant& v) {
  if constexpr (std::is_same_v<T, bool>)
    return CBool(v);
  else if constexpr (std::is_same_v<T, double>)
    return CDbl(v);
  else if constexpr (std::is_same_v<T, float>)
    return CSng(v);
  else if constexpr (std::is_same_v<T, std::int16_t>)
    return CInt(v);
  else if constexpr (std::is_same_v<T, std::int32_t>)
    return CLng(v);
  else if constexpr (std::is_same_v<T, std::uint8_t>) {
    std::int32_t x = CLng(v);
    if (x < 0 || x > 255) Raise(kErrOverflow);
    return static_cast<std::uint8_t>(x);
  } else if constexpr (std::is_enum_v<T>)
    return static_cast<T>(CLng(v));
  else
    return CStr(v);
}

// Scalars and strings: objects, arrays and Null given where a value is
// wanted are a type mismatch for the binding.
template <class T>
T ConvertScalar(const Variant& v) {
  if (v.IsObject() || v.IsArray()) RaiseBinding(kErrTypeMismatch);
  try {
    return ScalarFrom<T>(v);
  } catch (const Error& e) {
    if (e.Number == kErrTypeMismatch) RaiseBinding(kErrTypeMismatch);
    throw;
  }
}

ObjectPtr RequireObject(const Variant& v);
excel::Range RangeFromObject(const ObjectPtr& object);

template <class T>
T ObjectFrom(const Variant& v) {
  ObjectPtr p = RequireObject(v);
  if (!p) return T(Nothing);
  if (auto* b = dynamic_cast<Boxed<T>*>(p.get())) return b->value;
  if constexpr (std::is_same_v<T, excel::Range>) return RangeFromObject(p);
  RaiseBinding(kErrTypeMismatch);
}

// Holds one converted argument for the duration of a call.
template <class P>
struct Holder;

template <class T>
struct ValueHolder {
  explicit ValueHolder(const Variant* v) {
    if constexpr (std::is_same_v<T, Variant>) {
      ptr = v;
    } else if constexpr (IsArray<T>::value) {
      if (const T* same = v->ArrayOf<typename T::value_type>())
        ptr = same;
      else
        own.emplace(ArrayFrom<T>(*v)), ptr = &*own;
    } else if constexpr (kIsScalar<T>) {
      own.emplace(ConvertScalar<T>(*v)), ptr = &*own;
    } else {
      own.emplace(ObjectFrom<T>(*v)), ptr = &*own;
    }
  }
  ValueHolder(const ValueHolder&) = delete;
  const T& get() const { return *ptr; }
  void WriteBack(Variant*) {}
  std::optional<T> own;
  const T* ptr = nullptr;
};

template <class T>
struct Holder : ValueHolder<T> {
  using ValueHolder<T>::ValueHolder;
};

template <>
struct Holder<std::string_view> {
  explicit Holder(const Variant* v) : own(ConvertScalar<std::string>(*v)) {}
  std::string_view get() const { return own; }
  void WriteBack(Variant*) {}
  std::string own;
};

template <class T>
struct Holder<std::optional<T>> {
  explicit Holder(const Variant* v) {
    if (v) inner.emplace(v);
  }
  std::optional<T> get() const {
    if (!inner) return std::nullopt;
    return inner->get();
  }
  void WriteBack(Variant*) {}
  std::optional<ValueHolder<T>> inner;
};

template <class T>
struct Holder<ByRef<T>> {
  explicit Holder(const Variant* v) {
    if (!v) return;
    // An output array may arrive unset.
    if constexpr (IsArray<T>::value)
      if (v->IsEmpty()) return;
    if constexpr (std::is_same_v<T, Variant>)
      value = *v;
    else
      value = ValueHolder<T>(v).get();
  }
  T& get() { return value; }
  void WriteBack(Variant* target) {
    if (target) *target = ToVariant(value);
  }
  T value{};
};

template <class F>
struct Signature;
template <class C, class R, class... A>
struct Signature<R (C::*)(A...) const> {
  using Class = C;
  using Result = R;
  using Args = std::tuple<A...>;
};
template <class C, class R, class... A>
struct Signature<R (C::*)(A...)> {
  using Class = C;
  using Result = R;
  using Args = std::tuple<A...>;
};

template <class A>
using Decayed = std::remove_cvref_t<A>;

template <class A>
inline constexpr bool kIsByRef = false;
template <class T>
inline constexpr bool kIsByRef<ByRef<T>> = true;

// args[i] is the argument of parameter i, or nullptr (left out, and then
// the parameter's default stands in, or it is an optional).
using Slots = std::span<Variant* const>;
using Adapter = Variant (*)(Object& self, Slots args, std::span<const Param> params);

template <class C>
C& Unbox(Object& self) {
  return static_cast<Boxed<C>&>(self).value;
}

inline const Variant* ArgOrDefault(Variant* arg, const Param& p) {
  if (arg) return arg;
  return p.has_default ? &p.default_value : nullptr;
}

template <auto F, std::size_t... I>
Variant CallWith(Object& self, [[maybe_unused]] Slots args,
                 [[maybe_unused]] std::span<const Param> params, std::index_sequence<I...>) {
  using S = Signature<decltype(F)>;
  using C = typename S::Class;
  using R = typename S::Result;
  // Built in place: a holder may point into itself.
  std::tuple<Holder<Decayed<std::tuple_element_t<I, typename S::Args>>>...> held(
      ArgOrDefault(args[I], params[I])...);
  auto write_back = [&] { (std::get<I>(held).WriteBack(args[I]), ...); };
  C& obj = Unbox<C>(self);
  try {
    if constexpr (std::is_void_v<R>) {
      (obj.*F)(std::get<I>(held).get()...);
      write_back();
      return Variant();
    } else {
      Variant out = ToVariant<Decayed<R>>((obj.*F)(std::get<I>(held).get()...));
      write_back();
      return out;
    }
  } catch (...) {
    write_back();
    throw;
  }
}

template <auto F>
Variant Call(Object& self, Slots args, std::span<const Param> params) {
  using S = Signature<decltype(F)>;
  return CallWith<F>(self, args, params,
                     std::make_index_sequence<std::tuple_size_v<typename S::Args>>{});
}

struct Member {
  std::string_view name;
  CallKind kind;
  std::vector<Param> params;
  Adapter call;

  template <auto F>
  static Member Method(std::string_view name, std::vector<Param> params = {}) {
    return Make<F>(name, kMethod, std::move(params));
  }
  template <auto F>
  static Member Get(std::string_view name, std::vector<Param> params = {}) {
    return Make<F>(name, kPropertyGet, std::move(params));
  }
  template <auto F>
  static Member Let(std::string_view name, std::vector<Param> params = {"value"}) {
    return Make<F>(name, kPropertyPut, std::move(params));
  }
  template <auto F>
  static Member Set(std::string_view name, std::vector<Param> params = {"value"}) {
    return Make<F>(name, kPropertyPutRef, std::move(params));
  }

 private:
  template <auto F>
  static Member Make(std::string_view name, CallKind kind, std::vector<Param> params) {
    using Args = typename Signature<decltype(F)>::Args;
    constexpr std::size_t n = std::tuple_size_v<Args>;
    static_assert(n <= kMaxParameters);
    CheckArity(name, params.size(), n);
    MarkByRef(params, std::make_index_sequence<n>{}, static_cast<Args*>(nullptr));
    return Member{name, kind, std::move(params), &Call<F>};
  }
  template <std::size_t... I, class Args>
  static void MarkByRef(std::vector<Param>& params, std::index_sequence<I...>, Args*) {
    ((params[I].by_ref = kIsByRef<Decayed<std::tuple_element_t<I, Args>>>), ...);
  }
  static void CheckArity(std::string_view name, std::size_t given, std::size_t wanted);
};

// An optional parameter with a default, and one without.
template <class V>
Param Opt(std::string_view name, V def) {
  return Param(name, true, ToVariant(std::move(def)), true);
}
inline Param Opt(std::string_view name) { return Param(name, true, Variant(), false); }

enum class Instancing { Global, Creatable, Internal };

class ClassInfo {
 public:
  ClassInfo(std::string name, Instancing instancing, ObjectPtr (*factory)(),
            std::vector<Member> members);
  const std::string& Name() const { return name_; }
  Instancing GetInstancing() const { return instancing_; }
  ObjectPtr New() const { return factory_(); }
  const std::vector<Member>& Members() const { return members_; }

  // One entry per distinct name; ids count from 1 in table order.
  struct Entry {
    std::string_view name;
    int method = -1, get = -1, let = -1, set = -1;
  };
  const Entry* Find(DispId id) const;
  DispId IdOf(std::string_view name) const;

 private:
  std::string name_;
  Instancing instancing_;
  ObjectPtr (*factory_)();
  std::vector<Member> members_;
  std::vector<Entry> entries_;
  std::unordered_map<std::string, DispId> ids_;
};

// The class of that name ("ORVMain." optional, case ignored), or nullptr.
const ClassInfo* ClassNamed(std::string_view name);

template <class T>
ObjectPtr NewBoxed() {
  return Box(T());
}

// A global class's one predeclared instance.
template <class T>
ObjectPtr Predeclared() {
  static const ObjectPtr instance = Box(Global<T>());
  return instance;
}

}  // namespace orv::automation
