#pragma once
// The formats of one worksheet's cells: font, fill, borders, alignment,
// wrapping and number format.
//
// A format is recorded as "property P of block B is V", newest last; a
// cell's property is the value of the newest record that covers it, or the
// default. A record that covers an older one of the same property replaces
// it, so formatting whole columns or the whole sheet costs one record and
// clearing the sheet leaves nothing behind.
#include <cstdint>
#include <vector>

#include "orv/excel/Rect.hpp"
#include "orv/frame/Variant.hpp"

namespace orv::excel {

// The border edges, numbered as the workbook numbers them.
enum BorderEdge : std::int32_t {
  xlDiagonalDown = 5,
  xlDiagonalUp = 6,
  xlEdgeLeft = 7,
  xlEdgeTop = 8,
  xlEdgeBottom = 9,
  xlEdgeRight = 10,
  xlInsideVertical = 11,
  xlInsideHorizontal = 12,
};

enum class FormatProperty : std::uint8_t {
  FontBold,
  FontItalic,
  FontColor,
  FontSize,
  FontName,
  FontUnderline,
  InteriorColor,
  HorizontalAlignment,
  WrapText,
  NumberFormat,
  // Per cell edge (left, top, bottom, right, diagonal down, diagonal up):
  // line style, weight, colour.
  BorderFirst,
  Count = BorderFirst + 18,
};

// The cell edges a border record can sit on.
enum class CellEdge : std::uint8_t { Left, Top, Bottom, Right, DiagonalDown, DiagonalUp };
enum class BorderAttribute : std::uint8_t { LineStyle, Weight, Color };

FormatProperty BorderProperty(CellEdge edge, BorderAttribute attribute);

// The value a cell has before anything is set: Calibri 11, black, not bold,
// not italic, no underline (-4142), white fill (16777215), general
// alignment (1), no wrap, "General", borders of line style none (-4142),
// thin (2), black.
Variant DefaultFormat(FormatProperty property);

class FormatStore {
 public:
  // Property of one cell.
  Variant Get(FormatProperty property, std::int32_t row, std::int32_t column) const;
  // The property over a block: its value when every cell agrees, else Null.
  Variant Uniform(FormatProperty property, const Rect& block) const;
  void Set(FormatProperty property, const Rect& block, const Variant& value);
  // Every property of the block back to its default.
  void Clear(const Rect& block);
  std::size_t RecordCount() const;

 private:
  struct Record {
    Rect block;
    Variant value;
  };
  // The records of one property that meet the block, oldest first.
  std::vector<const Record*> Meeting(FormatProperty property, const Rect& block) const;

  std::vector<Record> records_[static_cast<int>(FormatProperty::Count)];
  // Per property, built on demand and dropped by every change: for each
  // band of kBand rows the records (by position) of at most kTall rows that
  // meet it, and the taller ones apart. A query then looks only at the
  // records near its rows.
  static constexpr std::int32_t kBand = 64, kTall = 4096;
  struct RowIndex {
    bool built = false;
    std::vector<std::uint32_t> tall;
    std::vector<std::vector<std::uint32_t>> bands;
  };
  mutable RowIndex index_[static_cast<int>(FormatProperty::Count)];
};

}  // namespace orv::excel
