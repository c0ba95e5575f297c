#include "orv/xlsx/format_plan.hpp"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

namespace orv::xlsx::detail {

namespace {

using excel::FormatProperty;
using excel::FormatStore;
using excel::Rect;

struct Leaf {
  Rect rect;
  CellFormat format;
};

// The largest `last` in [first - 1, limit - 1] such that the prefix
// first..last is uniform, given that first..limit is not.
template <class Uniform>
std::int32_t UniformPrefix(std::int32_t first, std::int32_t limit, Uniform&& uniform) {
  std::int32_t good = first - 1, bad = limit;
  while (bad - good > 1) {
    std::int32_t mid = good + (bad - good) / 2;
    if (uniform(mid))
      good = mid;
    else
      bad = mid;
  }
  return good;
}

// Cuts the sheet into blocks over which every property is uniform. Each
// cut falls on an edge of the first property that varies: the longest
// uniform run of rows from the top, else of columns from the left, else
// the top row alone.
std::vector<Leaf> Partition(const FormatStore& store) {
  CellFormat base;
  std::vector<FormatProperty> varying;
  for (int p = 0; p < kFormatProperties; ++p) {
    auto property = static_cast<FormatProperty>(p);
    Variant v = store.Uniform(property, excel::kWholeSheet);
    if (v.IsNull())
      varying.push_back(property);
    else
      base[static_cast<std::size_t>(p)] = std::move(v);
  }
  std::vector<Leaf> leaves;
  std::vector<Rect> pending{excel::kWholeSheet};
  while (!pending.empty()) {
    Rect r = pending.back();
    pending.pop_back();
    const FormatProperty* split = nullptr;
    CellFormat format = base;
    for (const FormatProperty& p : varying) {
      Variant v = store.Uniform(p, r);
      if (v.IsNull()) {
        split = &p;
        break;
      }
      format[static_cast<std::size_t>(p)] = std::move(v);
    }
    if (split == nullptr) {
      leaves.push_back(Leaf{r, std::move(format)});
      continue;
    }
    FormatProperty p = *split;
    std::int32_t rows = UniformPrefix(r.top, r.bottom, [&](std::int32_t last) {
      return !store.Uniform(p, Rect{r.top, r.left, last, r.right}).IsNull();
    });
    if (rows >= r.top) {
      pending.push_back(Rect{rows + 1, r.left, r.bottom, r.right});
      pending.push_back(Rect{r.top, r.left, rows, r.right});
      continue;
    }
    std::int32_t columns = UniformPrefix(r.left, r.right, [&](std::int32_t last) {
      return !store.Uniform(p, Rect{r.top, r.left, r.bottom, last}).IsNull();
    });
    if (columns >= r.left) {
      pending.push_back(Rect{r.top, columns + 1, r.bottom, r.right});
      pending.push_back(Rect{r.top, r.left, r.bottom, columns});
      continue;
    }
    pending.push_back(Rect{r.top + 1, r.left, r.bottom, r.right});
    pending.push_back(Rect{r.top, r.left, r.top, r.right});
  }
  return leaves;
}

// A byte string that tells formats apart.
std::string Key(const CellFormat& format) {
  std::string key;
  for (const Variant& v : format) {
    key += static_cast<char>(v.Type());
    switch (v.Type()) {
      case VarType::String:
        key += v.AsString();
        key += '\0';
        break;
      case VarType::Boolean:
        key += v.AsBoolean() ? '1' : '0';
        break;
      case VarType::Long: {
        std::int32_t n = v.AsLong();
        key.append(reinterpret_cast<const char*>(&n), sizeof n);
        break;
      }
      case VarType::Double: {
        double d = v.AsDouble();
        key.append(reinterpret_cast<const char*>(&d), sizeof d);
        break;
      }
      default:
        break;
    }
  }
  return key;
}

template <class Spans>
const FormatSpan* SpanAt(const Spans& spans, std::int32_t index) {
  auto it = std::upper_bound(spans.begin(), spans.end(), index,
                             [](std::int32_t i, const FormatSpan& s) { return i < s.first; });
  if (it == spans.begin()) return nullptr;
  --it;
  return index <= it->last ? &*it : nullptr;
}

void AddSpan(std::vector<FormatSpan>& spans, FormatSpan span) {
  if (!spans.empty() && spans.back().last + 1 == span.first && spans.back().format == span.format)
    spans.back().last = span.last;
  else
    spans.push_back(span);
}

}  // namespace

std::int32_t FormatPlan::ImplicitAt(std::int32_t row, std::int32_t column) const {
  if (const FormatSpan* r = SpanAt(rows, row)) return r->format;
  const FormatSpan* c = SpanAt(columns, column);
  return c ? c->format : 0;
}

std::int32_t FormatPlan::FormatAt(std::int32_t row, std::int32_t column) const {
  for (const FormatBlock& b : cells)
    if (b.rect.Contains(row, column)) return b.format;
  return ImplicitAt(row, column);
}

FormatPlan PlanFormats(const FormatStore& store) {
  FormatPlan plan;
  CellFormat defaults;
  for (int p = 0; p < kFormatProperties; ++p)
    defaults[static_cast<std::size_t>(p)] = excel::DefaultFormat(static_cast<FormatProperty>(p));
  plan.formats.push_back(defaults);
  std::map<std::string, std::int32_t> index{{Key(defaults), 0}};

  std::vector<Leaf> leaves = Partition(store);
  std::vector<std::int32_t> ids(leaves.size());
  for (std::size_t i = 0; i < leaves.size(); ++i) {
    auto [it, added] =
        index.emplace(Key(leaves[i].format), static_cast<std::int32_t>(plan.formats.size()));
    if (added) plan.formats.push_back(leaves[i].format);
    ids[i] = it->second;
  }

  // Columns take the style of the sheet's last row; rows whose last cell
  // differs from that take the style of their last cell.
  std::vector<FormatSpan> columns, rows;
  for (std::size_t i = 0; i < leaves.size(); ++i) {
    const Rect& r = leaves[i].rect;
    if (r.bottom == excel::kMaxRows) columns.push_back(FormatSpan{r.left, r.right, ids[i]});
  }
  std::sort(columns.begin(), columns.end(),
            [](const FormatSpan& a, const FormatSpan& b) { return a.first < b.first; });
  for (const FormatSpan& s : columns) AddSpan(plan.columns, s);
  const std::int32_t last_column_format = plan.columns.back().format;
  for (std::size_t i = 0; i < leaves.size(); ++i) {
    const Rect& r = leaves[i].rect;
    if (r.right == excel::kMaxColumns && ids[i] != last_column_format)
      rows.push_back(FormatSpan{r.top, r.bottom, ids[i]});
  }
  std::sort(rows.begin(), rows.end(),
            [](const FormatSpan& a, const FormatSpan& b) { return a.first < b.first; });
  for (const FormatSpan& s : rows) AddSpan(plan.rows, s);

  // Cells whose format is not what their row or column gives them.
  for (std::size_t i = 0; i < leaves.size(); ++i) {
    const Rect& r = leaves[i].rect;
    const std::int32_t f = ids[i];
    std::int32_t row = r.top;
    auto next_row_span =
        std::lower_bound(plan.rows.begin(), plan.rows.end(), r.top,
                         [](const FormatSpan& s, std::int32_t top) { return s.last < top; });
    while (row <= r.bottom) {
      bool styled = next_row_span != plan.rows.end() && next_row_span->first <= row;
      std::int32_t until;
      if (styled) {
        until = std::min(r.bottom, next_row_span->last);
        if (next_row_span->format != f)
          plan.cells.push_back(FormatBlock{Rect{row, r.left, until, r.right}, f});
        ++next_row_span;
      } else {
        until = next_row_span != plan.rows.end() ? std::min(r.bottom, next_row_span->first - 1)
                                                 : r.bottom;
        for (const FormatSpan& c : plan.columns) {
          if (c.last < r.left || c.first > r.right || c.format == f) continue;
          plan.cells.push_back(FormatBlock{
              Rect{row, std::max(c.first, r.left), until, std::min(c.last, r.right)}, f});
        }
      }
      row = until + 1;
    }
  }
  std::sort(plan.cells.begin(), plan.cells.end(), [](const FormatBlock& a, const FormatBlock& b) {
    return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
  });
  return plan;
}

}  // namespace orv::xlsx::detail
