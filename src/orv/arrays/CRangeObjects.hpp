#pragma once
// Two small readers of worksheet ranges: the numbers of a range, and the
// names of its columns. A global class without state (Global<CRangeObjects>()
// or any instance). Failures leave with the source
// "ORVMain.CRangeObjects.<member>", number and description unchanged.
#include <string>

#include "orv/excel/Range.hpp"
#include "orv/frame/frame.hpp"

namespace orv {

class CRangeObjects {
 public:
  // The cells of every area below the header row (Headers True: from the
  // second row) side by side, rows = the first area's row count (less the
  // header), each value converted by CDbl (blank 0, True -1, numeric text
  // its value, other text 13). Reads the application set in clsMain (91
  // before).
  Array<double> RangeToDouble(const excel::Range& Range, Boolean Headers = false) const;
  // One name per column of Range1's areas, then of Range2's (a Nothing
  // Range2 is left out): the first cell's text when Headers is True (left
  // empty when the cell is), else "Column <letters>". Bounds 1 To n, or
  // 0 To n - 1 when ZeroBased.
  Array<std::string> ExtractHeaders(const excel::Range& Range1,
                                    const excel::Range& Range2 = excel::Range(Nothing),
                                    Boolean Headers = false, Boolean ZeroBased = false) const;
};

}  // namespace orv
