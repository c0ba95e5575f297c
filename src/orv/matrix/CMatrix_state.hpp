#pragma once
// The state behind a CMatrix handle; shared by the files that implement the
// class, not part of the public interface.
#include "orv/matrix/CMatrix.hpp"

namespace orv {

struct CMatrix::State {
  Long rows = 0;
  Long columns = 0;
  // (1 To rows, 1 To columns), row by row; unallocated when null.
  Array<double> data;
};

}  // namespace orv
