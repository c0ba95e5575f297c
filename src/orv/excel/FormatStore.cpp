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
  // Only the records that meet the block matter, latest last.
  const std::vector<const Record*> meeting = Meeting(property, block);
  if (meeting.empty()) return DefaultFormat(property);
  // The latest record over the whole block decides every cell of it.
  if (meeting.back()->block.Contains(block)) return meeting.back()->value;
  const auto at = [&](std::int32_t row, std::int32_t column) {
    for (auto it = meeting.rbegin(); it != meeting.rend(); ++it)
      if ((*it)->block.Contains(row, column)) return (*it)->value;
    return DefaultFormat(property);
  };
  // The property is constant between the edges of those records: test one
  // cell of each piece of that grid.
  std::vector<std::int32_t> rows{block.top}, columns{block.left};
  for (const Record* r : meeting) {
    for (std::int32_t edge : {r->block.top, r->block.bottom + 1})
      if (edge > block.top && edge <= block.bottom) rows.push_back(edge);
    for (std::int32_t edge : {r->block.left, r->block.right + 1})
      if (edge > block.left && edge <= block.right) columns.push_back(edge);
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  std::sort(columns.begin(), columns.end());
  columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
  const Variant first = at(block.top, block.left);
  for (std::int32_t r : rows)
    for (std::int32_t c : columns)
      if (!(at(r, c) == first)) return Variant(Null);
  return first;
}

std::vector<const FormatStore::Record*> FormatStore::Meeting(FormatProperty property,
                                                            const Rect& block) const {
  const std::vector<Record>& records = records_[static_cast<int>(property)];
  std::vector<const Record*> meeting;
  const std::int32_t first = (block.top - 1) / kBand, last = (block.bottom - 1) / kBand;
  // A tall query, or few records: every record is a candidate.
  if (last - first > 64 || records.size() < 256) {
    for (const Record& r : records)
      if (r.block.Intersects(block)) meeting.push_back(&r);
    return meeting;
  }
  RowIndex& index = index_[static_cast<int>(property)];
  if (!index.built) {
    index = RowIndex{};
    for (std::uint32_t i = 0; i < records.size(); ++i) {
      const Rect& b = records[i].block;
      if (b.bottom - b.top >= kTall) {
        index.tall.push_back(i);
        continue;
      }
      const auto to = static_cast<std::size_t>((b.bottom - 1) / kBand);
      if (index.bands.size() <= to) index.bands.resize(to + 1);
      for (auto band = static_cast<std::size_t>((b.top - 1) / kBand); band <= to; ++band)
        index.bands[band].push_back(i);
    }
    index.built = true;
  }
  std::vector<std::uint32_t> candidates = index.tall;
  for (auto band = static_cast<std::size_t>(first);
       band <= static_cast<std::size_t>(last) && band < index.bands.size(); ++band)
    candidates.insert(candidates.end(), index.bands[band].begin(), index.bands[band].end());
  std::sort(candidates.begin(), candidates.end());
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
  for (std::uint32_t i : candidates)
    if (records[i].block.Intersects(block)) meeting.push_back(&records[i]);
  return meeting;
}

void FormatStore::Set(FormatProperty property, const Rect& block, const Variant& value) {
  index_[static_cast<int>(property)].built = false;
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
