#pragma once
// A holder of descriptive statistics for a data matrix (cases in rows,
// variables in columns). Results are computed on first request and kept
// until new data are set. A CDescriptives is a handle: copies share one
// object.
#include "orv/frame/frame.hpp"
#include "orv/matrix/CMatrix.hpp"

namespace orv {

class CDescriptives {
 public:
  // A new object without data.
  CDescriptives();
  // An empty handle.
  CDescriptives(NothingType);

  bool IsNothing() const { return state_.IsNothing(); }

  // Keeps a reference to the caller's matrix (not a copy) and discards
  // every result computed so far.
  void SetData(const CMatrix& Data);
  // The number of cases of each variable: a ColumnCount x 1 matrix, the
  // same object on every call until SetData. Error 94 without data.
  CMatrix Counts() const;

 private:
  struct State;
  Ref<State> state_;
};

}  // namespace orv
