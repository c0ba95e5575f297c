#pragma once
// Objects are reference handles: copying a handle shares the one object, an
// empty handle is Nothing, and reaching an object through an empty handle
// is error 91. A class keeps its state behind a Ref:
//
//   class CMatrix {
//    public:
//     CMatrix();                // a new, live object
//     CMatrix(NothingType);     // an empty handle
//    private:
//     struct State;
//     Ref<State> state_;
//   };
#include <memory>
#include <utility>

#include "orv/frame/Error.hpp"

namespace orv {

struct NothingType {
  explicit constexpr NothingType(int) {}
};
inline constexpr NothingType Nothing{0};

template <class T>
class Ref {
 public:
  Ref() : p_(std::make_shared<T>()) {}
  Ref(NothingType) {}
  explicit Ref(std::shared_ptr<T> p) : p_(std::move(p)) {}

  // The object; error 91 through an empty handle.
  T& operator*() const {
    if (!p_) Raise(kErrObjectNotSet);
    return *p_;
  }
  T* operator->() const { return &**this; }

  bool IsNothing() const { return p_ == nullptr; }
  const std::shared_ptr<T>& Shared() const { return p_; }
  // Same object (the interface's Is operator).
  friend bool operator==(const Ref& a, const Ref& b) { return a.p_ == b.p_; }

 private:
  std::shared_ptr<T> p_;
};

// The predeclared instance of a global class: created at the first call,
// kept for the life of the process.
template <class T>
T& Global() {
  static T instance;
  return instance;
}

}  // namespace orv
