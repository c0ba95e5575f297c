#pragma once
// The one door to the objects behind the handles, for the object model's
// own files and for the .xlsx reader and writer (through io.hpp).
#include <memory>

#include "orv/excel/Worksheet.hpp"
#include "orv/excel/state_fwd.hpp"

namespace orv::excel::internal {

struct Access {
  template <class Handle>
  static const auto& State(const Handle& handle) {
    return handle.State();
  }
  static WorksheetState& Storage(const Worksheet& sheet) { return sheet.Storage(); }
};

// The object behind a handle (null for Nothing).
template <class Handle>
const auto& StateOf(const Handle& handle) {
  return Access::State(handle);
}

// The worksheet's storage; error 91 through Nothing.
inline WorksheetState& StorageOf(const Worksheet& sheet) { return Access::Storage(sheet); }

}  // namespace orv::excel::internal
