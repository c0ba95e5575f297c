#include "orv/excel/internal/CellStore.hpp"

#include <atomic>
#include <cmath>
#include <cstring>

#include "orv/excel/errors.hpp"
#include "orv/excel/internal/detail.hpp"
#include "orv/frame/convert.hpp"

namespace orv::excel {

namespace {
constexpr std::size_t kChunkRowsSize = static_cast<std::size_t>(CellStore::kChunkRows);
}  // namespace

CellStore::CellStore() {
  static std::atomic<std::uint64_t> last{0};
  id_ = last.fetch_add(1, std::memory_order_relaxed) + 1;
}
CellStore::~CellStore() = default;

const CellStore::Chunk* CellStore::FindChunk(std::int32_t row, std::int32_t column) const {
  if (column > static_cast<std::int32_t>(columns_.size())) return nullptr;
  const Column& col = columns_[static_cast<std::size_t>(column - 1)];
  std::size_t index = static_cast<std::size_t>((row - 1) >> kChunkShift);
  if (index >= col.chunks.size()) return nullptr;
  return col.chunks[index].get();
}

CellStore::Chunk& CellStore::ChunkFor(std::int32_t row, std::int32_t column) {
  if (column > static_cast<std::int32_t>(columns_.size()))
    columns_.resize(static_cast<std::size_t>(column));
  Column& col = columns_[static_cast<std::size_t>(column - 1)];
  std::size_t index = static_cast<std::size_t>((row - 1) >> kChunkShift);
  if (index >= col.chunks.size()) col.chunks.resize(index + 1);
  std::unique_ptr<Chunk>& slot = col.chunks[index];
  if (!slot) {
    // Sparse until it fills.
    auto chunk = std::make_unique<Chunk>();
    chunk->capacity = 4;
    chunk->values = std::make_unique<double[]>(4);
    chunk->tags = std::make_unique<std::uint8_t[]>(4);
    chunk->rows = std::make_unique<std::uint16_t[]>(4);
    slot = std::move(chunk);
  }
  return *slot;
}

void CellStore::MakeDense(Chunk& chunk) {
  auto values = std::make_unique<double[]>(kChunkRowsSize);
  auto tags = std::make_unique<std::uint8_t[]>(kChunkRowsSize);  // all Empty
  for (std::int32_t i = 0; i < chunk.filled; ++i) {
    values[chunk.rows[i]] = chunk.values[i];
    tags[chunk.rows[i]] = chunk.tags[i];
  }
  chunk.values = std::move(values);
  chunk.tags = std::move(tags);
  chunk.rows.reset();
  chunk.capacity = 0;
}

CellType CellStore::TypeAt(std::int32_t row, std::int32_t column) const {
  double payload;
  return CellAt(FindChunk(row, column), (row - 1) & (kChunkRows - 1), payload);
}

const std::string& CellStore::Text(double payload) const {
  return *texts_[static_cast<std::size_t>(payload)];
}

namespace {
Variant MakeValue(CellType type, double payload, const CellStore& store) {
  switch (type) {
    case CellType::Empty:
      return Variant();
    case CellType::Number:
      return Variant(payload);
    case CellType::Text:
      return Variant(store.Text(payload));
    case CellType::Boolean:
      return Variant(payload != 0);
    case CellType::Error:
      return Variant(ErrorValue{static_cast<std::int32_t>(payload)});
    case CellType::Date:
      return Variant(Date{payload});
  }
  return Variant();
}
}  // namespace

Variant CellStore::ValueOf(CellType type, double payload) const {
  return MakeValue(type, payload, *this);
}

Variant CellStore::Get(std::int32_t row, std::int32_t column) const {
  double payload;
  const CellType type = CellAt(FindChunk(row, column), (row - 1) & (kChunkRows - 1), payload);
  return MakeValue(type, payload, *this);
}

std::uint32_t CellStore::Intern(std::string_view text) {
  auto found = text_index_.find(std::string(text));
  if (found != text_index_.end()) {
    ++text_refs_[found->second];
    return found->second;
  }
  std::uint32_t slot;
  if (!free_slots_.empty()) {
    slot = free_slots_.back();
    free_slots_.pop_back();
  } else {
    slot = static_cast<std::uint32_t>(texts_.size());
    texts_.push_back(nullptr);
    text_refs_.push_back(0);
  }
  auto [it, inserted] = text_index_.emplace(std::string(text), slot);
  texts_[slot] = &it->first;
  text_refs_[slot] = 1;
  return slot;
}

void CellStore::ReleaseText(double payload) {
  std::uint32_t slot = static_cast<std::uint32_t>(payload);
  if (--text_refs_[slot] == 0) {
    text_index_.erase(*texts_[slot]);
    texts_[slot] = nullptr;
    free_slots_.push_back(slot);
  }
}

void CellStore::ClearCell(Chunk& chunk, std::int32_t offset) {
  if (chunk.rows) {
    const std::int32_t i = chunk.Find(offset);
    if (i == chunk.filled || chunk.rows[i] != offset) return;
    const auto type = static_cast<CellType>(chunk.tags[i]);
    if (type == CellType::Text) ReleaseText(chunk.values[i]);
    if (type == CellType::Number) --chunk.numbers;
    const auto tail = static_cast<std::size_t>(chunk.filled - i - 1);
    std::memmove(&chunk.rows[i], &chunk.rows[i + 1], tail * sizeof(std::uint16_t));
    std::memmove(&chunk.tags[i], &chunk.tags[i + 1], tail);
    std::memmove(&chunk.values[i], &chunk.values[i + 1], tail * sizeof(double));
    --chunk.filled;
    return;
  }
  CellType old = chunk.tags ? static_cast<CellType>(chunk.tags[offset]) : CellType::Number;
  if (old == CellType::Empty) return;
  if (old == CellType::Text) ReleaseText(chunk.values[offset]);
  if (!chunk.tags) {
    chunk.tags = std::make_unique<std::uint8_t[]>(kChunkRowsSize);
    std::memset(chunk.tags.get(), static_cast<int>(CellType::Number), kChunkRowsSize);
  }
  if (old == CellType::Number) --chunk.numbers;
  --chunk.filled;
  chunk.tags[offset] = static_cast<std::uint8_t>(CellType::Empty);
  chunk.values[offset] = 0;
}

void CellStore::Store(std::int32_t row, std::int32_t column, CellType type, double payload) {
  ++revision_;
  Chunk& chunk = ChunkFor(row, column);
  std::int32_t offset = (row - 1) & (kChunkRows - 1);
  if (chunk.rows) {
    std::int32_t i = chunk.Find(offset);
    if (i < chunk.filled && chunk.rows[i] == offset) {
      const auto old = static_cast<CellType>(chunk.tags[i]);
      if (old == CellType::Text) ReleaseText(chunk.values[i]);
      chunk.numbers += (type == CellType::Number) - (old == CellType::Number);
      chunk.tags[i] = static_cast<std::uint8_t>(type);
      chunk.values[i] = payload;
      return;
    }
    if (chunk.filled == kSparseCells) {
      MakeDense(chunk);
    } else {
      if (chunk.filled == chunk.capacity) {
        const std::int32_t capacity = chunk.capacity * 2;
        const auto n = static_cast<std::size_t>(chunk.filled);
        auto rows = std::make_unique<std::uint16_t[]>(static_cast<std::size_t>(capacity));
        auto tags = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(capacity));
        auto values = std::make_unique<double[]>(static_cast<std::size_t>(capacity));
        std::memcpy(rows.get(), chunk.rows.get(), n * sizeof(std::uint16_t));
        std::memcpy(tags.get(), chunk.tags.get(), n);
        std::memcpy(values.get(), chunk.values.get(), n * sizeof(double));
        chunk.rows = std::move(rows);
        chunk.tags = std::move(tags);
        chunk.values = std::move(values);
        chunk.capacity = capacity;
      }
      const auto tail = static_cast<std::size_t>(chunk.filled - i);
      std::memmove(&chunk.rows[i + 1], &chunk.rows[i], tail * sizeof(std::uint16_t));
      std::memmove(&chunk.tags[i + 1], &chunk.tags[i], tail);
      std::memmove(&chunk.values[i + 1], &chunk.values[i], tail * sizeof(double));
      chunk.rows[i] = static_cast<std::uint16_t>(offset);
      chunk.tags[i] = static_cast<std::uint8_t>(type);
      chunk.values[i] = payload;
      ++chunk.filled;
      if (type == CellType::Number) ++chunk.numbers;
      return;
    }
  }
  CellType old = chunk.tags ? static_cast<CellType>(chunk.tags[offset]) : CellType::Number;
  if (old == CellType::Number && type == CellType::Number) {
    chunk.values[offset] = payload;
    return;
  }
  if (old == CellType::Text) ReleaseText(chunk.values[offset]);
  if (!chunk.tags) {
    chunk.tags = std::make_unique<std::uint8_t[]>(kChunkRowsSize);
    std::memset(chunk.tags.get(), static_cast<int>(CellType::Number), kChunkRowsSize);
  }
  if (old == CellType::Empty) ++chunk.filled;
  if (old == CellType::Number) --chunk.numbers;
  if (type == CellType::Number) ++chunk.numbers;
  chunk.tags[offset] = static_cast<std::uint8_t>(type);
  chunk.values[offset] = payload;
  if (chunk.numbers == kChunkRows) chunk.tags.reset();
}

void CellStore::SetNumber(std::int32_t row, std::int32_t column, double value) {
  if (!std::isfinite(value)) RaiseApplicationDefined();
  Store(row, column, CellType::Number, value);
}

void CellStore::Set(std::int32_t row, std::int32_t column, const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
    case VarType::Null:
      Clear(Rect{row, column, row, column});
      return;
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
      SetNumber(row, column, CDbl(value));
      return;
    case VarType::Date: {
      double serial = value.AsDate().serial;
      if (!std::isfinite(serial)) RaiseApplicationDefined();
      Store(row, column, CellType::Date, serial);
      return;
    }
    case VarType::Boolean:
      Store(row, column, CellType::Boolean, value.AsBoolean() ? 1.0 : 0.0);
      return;
    case VarType::Error:
      Store(row, column, CellType::Error, value.AsError().code);
      return;
    case VarType::String: {
      const std::string& text = value.AsString();
      if (text.empty()) {
        Clear(Rect{row, column, row, column});
        return;
      }
      if (text.size() > kMaxCellText) RaiseApplicationDefined();
      // Intern first: a failure leaves the cell as it was.
      double slot = static_cast<double>(Intern(text));
      Store(row, column, CellType::Text, slot);
      return;
    }
    default:
      RaiseApplicationDefined();
  }
}

void CellStore::ReleaseChunk(Chunk& chunk) {
  if (!chunk.tags) return;
  for (std::int32_t i = 0; i < (chunk.rows ? chunk.filled : kChunkRows); ++i)
    if (chunk.tags[i] == static_cast<std::uint8_t>(CellType::Text)) ReleaseText(chunk.values[i]);
}

void CellStore::Clear(const Rect& block) {
  ++revision_;
  std::int32_t last_column = std::min(block.right, static_cast<std::int32_t>(columns_.size()));
  for (std::int32_t c = block.left; c <= last_column; ++c) {
    Column& col = columns_[static_cast<std::size_t>(c - 1)];
    std::int32_t first_chunk = (block.top - 1) >> kChunkShift;
    std::int32_t last_chunk = std::min((block.bottom - 1) >> kChunkShift,
                                       static_cast<std::int32_t>(col.chunks.size()) - 1);
    for (std::int32_t k = first_chunk; k <= last_chunk; ++k) {
      std::unique_ptr<Chunk>& slot = col.chunks[static_cast<std::size_t>(k)];
      if (!slot) continue;
      std::int32_t chunk_top = k * kChunkRows + 1, chunk_bottom = chunk_top + kChunkRows - 1;
      if (block.top <= chunk_top && block.bottom >= chunk_bottom) {
        ReleaseChunk(*slot);
        slot.reset();
        continue;
      }
      std::int32_t from = std::max(block.top, chunk_top), to = std::min(block.bottom, chunk_bottom);
      for (std::int32_t r = from; r <= to; ++r) ClearCell(*slot, r - chunk_top);
      if (slot->filled == 0) slot.reset();
    }
    while (!col.chunks.empty() && !col.chunks.back()) col.chunks.pop_back();
  }
  while (!columns_.empty() && columns_.back().chunks.empty()) columns_.pop_back();
}

void CellStore::ClearAll() {
  ++revision_;
  columns_.clear();
  columns_.shrink_to_fit();
  text_index_.clear();
  texts_.clear();
  text_refs_.clear();
  free_slots_.clear();
}

void CellStore::Read(const Rect& block, Variant* out) const {
  VisitRows(block,
            [&](CellType type, double payload) { *out++ = MakeValue(type, payload, *this); });
}

bool CellStore::ReadNumbers(const Rect& block, double* out) const {
  const std::int32_t columns = block.Columns();
  std::vector<const Chunk*> band(static_cast<std::size_t>(columns));
  for (std::int32_t top = block.top; top <= block.bottom;) {
    const std::int32_t chunk_index = (top - 1) >> kChunkShift;
    const std::int32_t bottom = std::min(block.bottom, (chunk_index + 1) << kChunkShift);
    bool dense = true;
    for (std::int32_t c = 0; c < columns; ++c) {
      const Chunk* chunk = FindChunk(top, block.left + c);
      band[static_cast<std::size_t>(c)] = chunk;
      if (chunk == nullptr || chunk->tags) dense = false;
    }
    const std::int32_t first = (top - 1) & (kChunkRows - 1);
    const std::int32_t rows = bottom - top + 1;
    if (dense) {
      if (columns == 1) {
        std::memcpy(out, band[0]->values.get() + first,
                    sizeof(double) * static_cast<std::size_t>(rows));
        out += rows;
      } else {
        std::vector<const double*> cols(static_cast<std::size_t>(columns));
        for (std::int32_t c = 0; c < columns; ++c)
          cols[static_cast<std::size_t>(c)] =
              band[static_cast<std::size_t>(c)]->values.get() + first;
        for (std::int32_t r = 0; r < rows; ++r)
          for (std::int32_t c = 0; c < columns; ++c) *out++ = cols[static_cast<std::size_t>(c)][r];
      }
    } else {
      for (std::int32_t r = 0; r < rows; ++r) {
        for (std::int32_t c = 0; c < columns; ++c) {
          const Chunk* chunk = band[static_cast<std::size_t>(c)];
          if (chunk == nullptr) {
            *out++ = 0;
            continue;
          }
          double payload;
          const CellType type = CellAt(chunk, first + r, payload);
          if (type == CellType::Number || type == CellType::Date)
            *out++ = payload;
          else if (type == CellType::Empty)
            *out++ = 0;
          else
            return false;
        }
      }
    }
    top = bottom + 1;
  }
  return true;
}

std::size_t CellStore::MemoryBytes() const {
  std::size_t bytes = columns_.capacity() * sizeof(Column);
  for (const Column& col : columns_) {
    bytes += col.chunks.capacity() * sizeof(std::unique_ptr<Chunk>);
    for (const auto& chunk : col.chunks) {
      if (!chunk) continue;
      if (chunk->rows) {
        bytes += sizeof(Chunk) + static_cast<std::size_t>(chunk->capacity) *
                                     (sizeof(double) + 1 + sizeof(std::uint16_t));
        continue;
      }
      bytes += sizeof(Chunk) + kChunkRowsSize * sizeof(double);
      if (chunk->tags) bytes += kChunkRowsSize;
    }
  }
  for (const auto& [text, slot] : text_index_)
    bytes += sizeof(text) + text.capacity() + sizeof(slot) + 16;
  bytes +=
      texts_.capacity() * sizeof(void*) + text_refs_.capacity() * 4 + free_slots_.capacity() * 4;
  return bytes;
}

bool CellStore::UsedBlock(Rect& block) const {
  bool any = false;
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    const Column& col = columns_[c];
    for (std::size_t k = 0; k < col.chunks.size(); ++k) {
      const Chunk* chunk = col.chunks[k].get();
      if (!chunk) continue;
      for (std::int32_t i = 0; i < (chunk->rows ? chunk->filled : kChunkRows); ++i) {
        if (!chunk->rows && chunk->tags && chunk->tags[i] == 0) continue;
        std::int32_t row =
            static_cast<std::int32_t>(k) * kChunkRows + (chunk->rows ? chunk->rows[i] : i) + 1;
        std::int32_t column = static_cast<std::int32_t>(c) + 1;
        Rect cell{row, column, row, column};
        block = any ? block.Hull(cell) : cell;
        any = true;
      }
    }
  }
  return any;
}

}  // namespace orv::excel
