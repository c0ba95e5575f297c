#pragma once
// A parameter that a member may write back. The caller passes either a
// variable, which then sees what the member wrote, or a value (a literal,
// a temporary, a const object), which the member works on as its own copy:
//
//   void SetSize(ByRef<Long> Rows, ByRef<Long> Columns = 1, Boolean Persist = false);
//   Long rows = 4, columns = 4;
//   m.SetSize(rows, columns, true);   // rows and columns come back lowered
//   m.SetSize(4, 4, true);            // fine too; nothing to write back
//
// Inside the member, *Rows reads and writes the value.
#include <optional>
#include <type_traits>
#include <utility>

namespace orv {

template <class T>
class ByRef {
 public:
  ByRef(T& variable) : target_(&variable) {}
  ByRef(const T& value) : own_(value), target_(&*own_) {}
  ByRef(T&& value) : own_(std::move(value)), target_(&*own_) {}
  template <class U>
  requires(!std::is_lvalue_reference_v<U> && !std::is_same_v<std::decay_t<U>, T> &&
           !std::is_same_v<std::decay_t<U>, ByRef> && std::is_convertible_v<U, T>) ByRef(U&& value)
      : own_(T(std::forward<U>(value))), target_(&*own_) {}

  ByRef(const ByRef&) = delete;
  ByRef& operator=(const ByRef&) = delete;

  T& operator*() const { return *target_; }
  T* operator->() const { return target_; }

 private:
  std::optional<T> own_;
  T* target_;
};

}  // namespace orv
