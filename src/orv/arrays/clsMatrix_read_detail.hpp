#pragma once
// Default variable names, shared by the worksheet readers.
#include <string>

#include "orv/excel/Range.hpp"

namespace orv::read_detail {

// "Column AB" / "Row 5", cut out of the cell's absolute address "$AB$5".
std::string DefaultColumnHeader(const excel::Range& cell);
std::string DefaultRowHeader(const excel::Range& cell);

}  // namespace orv::read_detail
