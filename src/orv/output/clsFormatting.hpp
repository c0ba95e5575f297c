#pragma once
// The look of the result tables written into a worksheet: header cells,
// data cells, title and summary rows, and a plain default layout for a
// whole output block. Colours, bold and italic flags, wrapping, alignment
// and the data number format come from the theme settings (clsProperties),
// read afresh at every call; border styles and alignments are the
// application's enumeration values held by clsConstants.
//
// No member ever fails: each formatting statement that the workbook
// refuses (a Nothing range, no application, a value a property cannot
// take) is skipped and the member goes on with the next one.
#include "orv/excel/Range.hpp"
#include "orv/frame/frame.hpp"

namespace orv {

class clsFormatting {
 public:
  // Header font and fill from the theme, a medium top and a thin bottom
  // border; unless vertical, the theme's wrapping and alignment. Vertical
  // headers keep their wrapping and alignment and get a medium bottom
  // border instead.
  void SetHeaders(const excel::Range& rng, Boolean vertical = false) const;
  // Data font, fill and number format from the theme, right-aligned, a
  // thin top and a medium bottom border; DontAlignCol1 left-aligns the
  // first column.
  void SetData(const excel::Range& rng, Boolean DontAlignCol1 = false) const;
  // Title font and fill from the theme on rng; a summary instead formats
  // every row of rng across 256 columns from its first column with the
  // summary font and fill.
  void SetTitles(const excel::Range& rng, Boolean Summary = false) const;
  // Clears rngOutput and gives it the default layout: "0.000" numbers
  // aligned right (the first column general), HeaderRows + 1 rows of
  // italic blue text headers between medium borders, a medium border
  // under the last row. HeaderRows comes back one higher (it stays when
  // it cannot grow: 32767).
  void FormatRange(const excel::Range& rngOutput, ByRef<Integer> HeaderRows = Integer{0}) const;
};

}  // namespace orv
