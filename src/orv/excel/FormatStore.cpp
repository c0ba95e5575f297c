#include "orv/excel/internal/FormatStore.hpp"

#include <algorithm>

namespace orv::excel {

FormatProperty BorderProperty(CellEdge edge, BorderAttribute attribute) {
  return static_cast<FormatProperty>(static_cast<int>(FormatProperty::BorderFirst) +
                                     static_cast<int>(edge) * 3 + static_cast<int>(attribute));
}

Variant DefaultFormat(FormatProperty property) {
  switch (property) {
    case FormatProperty::FontBold:
    case FormatProperty::FontItalic:
    case FormatProperty::WrapText:
      return Variant(false);
    case FormatProperty::FontColor:
      return Variant(0.0);
    case FormatProperty::FontSize:
      return Variant(11.0);
    case FormatProperty::FontName:
      return Variant("Calibri");
    case FormatProperty::FontUnderline:
      return Variant(std::int32_t{-4142});
    case FormatProperty::InteriorColor:
      return Variant(16777215.0);
    case FormatProperty::HorizontalAlignment:
      return Variant(std::int32_t{1});
    case FormatProperty::NumberFormat:
      return Variant("General");
    default:
      break;
  }
  int attribute = (static_cast<int>(property) - static_cast<int>(FormatProperty::BorderFirst)) % 3;
  if (attribute == 0) return Variant(std::int32_t{-4142});  // line style: none
  if (attribute == 1) return Variant(std::int32_t{2});      // weight: thin
  return Variant(0.0);                                      // colour: black
}

Variant FormatStore::Get(FormatProperty property, std::int32_t row, std::int32_t column) const {
  const std::vector<Record>& records = records_[static_cast<int>(property)];
  for (auto it = records.rbegin(); it != records.rend(); ++it)
    if (it->block.Contains(row, column)) return it->value;
  return DefaultFormat(property);
}

Variant FormatStore::Uniform(FormatProperty property, const Rect& block) const {
  const std::vector<Record>& records = records_[static_cast<int>(property)];
  // The property is constant between the edges of the records that meet the
  // block: test one cell of each piece of that grid.
  std::vector<std::int32_t> rows{block.top}, columns{block.left};
  for (const Record& r : records) {
    if (!r.block.Intersects(block)) continue;
    for (std::int32_t edge : {r.block.top, r.block.bottom + 1})
      if (edge > block.top && edge <= block.bottom) rows.push_back(edge);
    for (std::int32_t edge : {r.block.left, r.block.right + 1})
      if (edge > block.left && edge <= block.right) columns.push_back(edge);
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  std::sort(columns.begin(), columns.end());
  columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
  Variant first = Get(property, block.top, block.left);
  for (std::int32_t r : rows)
    for (std::int32_t c : columns)
      if (!(Get(property, r, c) == first)) return Variant(Null);
  return first;
}

void FormatStore::Set(FormatProperty property, const Rect& block, const Variant& value) {
  std::vector<Record>& records = records_[static_cast<int>(property)];
  records.erase(std::remove_if(records.begin(), records.end(),
                               [&](const Record& r) { return block.Contains(r.block); }),
                records.end());
  // A default over the whole sheet is no record at all.
  if (block == kWholeSheet && value == DefaultFormat(property)) return;
  records.push_back(Record{block, value});
}

void FormatStore::Clear(const Rect& block) {
  for (int p = 0; p < static_cast<int>(FormatProperty::Count); ++p) {
    FormatProperty property = static_cast<FormatProperty>(p);
    std::vector<Record>& records = records_[p];
    bool touched = std::any_of(records.begin(), records.end(),
                               [&](const Record& r) { return r.block.Intersects(block); });
    if (touched) Set(property, block, DefaultFormat(property));
  }
}

std::size_t FormatStore::RecordCount() const {
  std::size_t n = 0;
  for (const auto& records : records_) n += records.size();
  return n;
}

}  // namespace orv::excel
