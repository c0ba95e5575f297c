#pragma once
// The values of one worksheet's cells.
//
// Layout: each column is a list of chunks of 4,096 rows, allocated when a
// cell of the chunk is first written and released when its last cell is
// cleared. A chunk holds one double per row (the number, the date serial,
// the Boolean as 0/1, the error code, or the index of an interned text) and a
// one-byte type tag per row; a chunk in which every cell holds a number drops
// its tags, so a block of numbers costs 8 bytes a cell and reads back at
// memory speed. A chunk that holds few cells keeps them sparse instead (row
// offsets, tags and values side by side, ascending), so that cells spread
// thinly over a sheet cost bytes each, not a chunk each; it turns dense when
// it fills past kSparseCells. Texts are interned per sheet with a reference
// count.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "orv/excel/Rect.hpp"
#include "orv/frame/Variant.hpp"

namespace orv::excel {

enum class CellType : std::uint8_t { Empty = 0, Number, Text, Boolean, Error, Date };

// The longest text a cell holds.
inline constexpr std::size_t kMaxCellText = 32767;

class CellStore {
 public:
  static constexpr std::int32_t kChunkShift = 12;
  static constexpr std::int32_t kChunkRows = 1 << kChunkShift;
  static constexpr std::int32_t kSparseCells = kChunkRows / 16;

  CellStore();
  ~CellStore();
  CellStore(const CellStore&) = delete;
  CellStore& operator=(const CellStore&) = delete;

  CellType TypeAt(std::int32_t row, std::int32_t column) const;
  // The cell's value: Empty, Double, String, Boolean, ErrorValue or Date.
  Variant Get(std::int32_t row, std::int32_t column) const;
  // Stores a scalar: numbers (finite), dates, Booleans, error values and
  // texts up to kMaxCellText characters; Empty, Null and "" clear the
  // cell. Anything else is 1004.
  void Set(std::int32_t row, std::int32_t column, const Variant& value);
  void SetNumber(std::int32_t row, std::int32_t column, double value);
  void Clear(const Rect& block);
  void ClearAll();

  // Every cell of the block, row by row, into out[0 .. Cells() - 1].
  void Read(const Rect& block, Variant* out) const;
  // The block row by row as doubles (blank 0, dates their serial) when
  // every cell is a number, a date or blank; false (out partly written)
  // as soon as one is not.
  bool ReadNumbers(const Rect& block, double* out) const;
  // Calls visit(CellType, double payload) for every cell of the block,
  // row by row, left to right.
  template <class Visit>
  void VisitRows(const Rect& block, Visit&& visit) const;
  // The cells of the block in the order of VisitRows: a one-column block
  // hands each stretch of a chunk that holds only numbers to
  // run(const double* values, std::int32_t count) and every other cell to
  // cell(CellType, double payload); a wider block goes cell by cell.
  template <class Run, class Cell>
  void VisitRuns(const Rect& block, Run&& run, Cell&& cell) const;

  // Calls visit(row, column, CellType, double payload) for every non-blank
  // cell of the block, row by row, left to right; the work grows with the
  // cells present, not with the block's area.
  template <class Visit>
  void VisitPresent(const Rect& block, Visit&& visit) const;

  // VisitRuns without the blank cells, for what blanks do not change
  // (counts, sums): the work grows with the cells present.
  template <class Run, class Cell>
  void VisitRunsPresent(const Rect& block, Run&& run, Cell&& cell) const;

  // Two one-column blocks of one height, side by side: each stretch in
  // which both hold only numbers goes to run(const double* a, const double*
  // b, std::int32_t count), every other pair of cells to cell(CellType,
  // double payload, CellType, double payload), in the order of the rows.
  template <class Run, class Cell>
  static void VisitRunPairs(const CellStore& a, const Rect& block_a, const CellStore& b,
                            const Rect& block_b, Run&& run, Cell&& cell);

  const std::string& Text(double payload) const;
  // The value a cell of this type and payload holds, as Get gives it.
  Variant ValueOf(CellType type, double payload) const;
  // Bytes held by the values (chunks, tags, texts and their indexes).
  std::size_t MemoryBytes() const;
  // The block from the first to the last non-blank cell, or false.
  bool UsedBlock(Rect& block) const;

  // What the cells hold, as a key for what is worked out from them: Id()
  // is unique to this store in the process, Revision() changes with every
  // write or clear.
  std::uint64_t Id() const { return id_; }
  std::uint64_t Revision() const { return revision_; }

 private:
  struct Chunk {
    std::unique_ptr<double[]> values;
    std::unique_ptr<std::uint8_t[]> tags;  // null: every row holds a number
    // Sparse: the offsets of the `filled` cells, ascending, whose tags and
    // values are at the same index; null: dense, indexed by offset.
    std::unique_ptr<std::uint16_t[]> rows;
    std::int32_t capacity = 0;  // entries allocated while sparse
    std::int32_t numbers = 0;   // rows that hold a number
    std::int32_t filled = 0;    // rows that are not blank
    // Sparse: the index of the first entry at or after `offset`.
    std::int32_t Find(std::int32_t offset) const {
      return static_cast<std::int32_t>(
          std::lower_bound(rows.get(), rows.get() + filled, static_cast<std::uint16_t>(offset)) -
          rows.get());
    }
  };
  struct Column {
    std::vector<std::unique_ptr<Chunk>> chunks;
  };

  const Chunk* FindChunk(std::int32_t row, std::int32_t column) const;
  // The type and payload of the cell at `offset` of a chunk (none: blank).
  static CellType CellAt(const Chunk* chunk, std::int32_t offset, double& payload) {
    if (chunk != nullptr && chunk->rows) {
      const std::int32_t i = chunk->Find(offset);
      if (i == chunk->filled || chunk->rows[i] != offset) {
        payload = 0.0;
        return CellType::Empty;
      }
      payload = chunk->values[i];
      return static_cast<CellType>(chunk->tags[i]);
    }
    const CellType type = chunk == nullptr ? CellType::Empty
                          : chunk->tags    ? static_cast<CellType>(chunk->tags[offset])
                                           : CellType::Number;
    payload = type == CellType::Empty ? 0.0 : chunk->values[offset];
    return type;
  }
  Chunk& ChunkFor(std::int32_t row, std::int32_t column);
  void Store(std::int32_t row, std::int32_t column, CellType type, double payload);
  void ClearCell(Chunk& chunk, std::int32_t offset);
  void ReleaseChunk(Chunk& chunk);
  static void MakeDense(Chunk& chunk);
  std::uint32_t Intern(std::string_view text);
  void ReleaseText(double payload);

  std::uint64_t id_;
  std::uint64_t revision_ = 0;
  std::vector<Column> columns_;
  // Interned texts: the map owns them, slots point at its keys.
  std::unordered_map<std::string, std::uint32_t> text_index_;
  std::vector<const std::string*> texts_;
  std::vector<std::uint32_t> text_refs_;
  std::vector<std::uint32_t> free_slots_;
};

template <class Visit>
void CellStore::VisitRows(const Rect& block, Visit&& visit) const {
  const std::int32_t columns = block.Columns();
  std::vector<const Chunk*> band(static_cast<std::size_t>(columns));
  for (std::int32_t top = block.top; top <= block.bottom;) {
    const std::int32_t chunk_index = (top - 1) >> kChunkShift;
    const std::int32_t chunk_last = (chunk_index + 1) << kChunkShift;  // last row of the chunk
    const std::int32_t bottom = std::min(block.bottom, chunk_last);
    bool all_numbers = true;
    for (std::int32_t c = 0; c < columns; ++c) {
      const Chunk* chunk = FindChunk(top, block.left + c);
      band[static_cast<std::size_t>(c)] = chunk;
      if (chunk == nullptr || chunk->tags) all_numbers = false;
    }
    const std::int32_t base = chunk_index << kChunkShift;  // row of offset 0, minus 1
    if (all_numbers && columns == 1) {
      // One column of numbers: a plain run over the chunk's doubles.
      const double* values = band[0]->values.get() + (top - 1 - base);
      const std::int32_t n = bottom - top + 1;
      for (std::int32_t i = 0; i < n; ++i) visit(CellType::Number, values[i]);
      top = bottom + 1;
      continue;
    }
    for (std::int32_t r = top; r <= bottom; ++r) {
      const std::int32_t offset = r - 1 - base;
      if (all_numbers) {
        for (std::int32_t c = 0; c < columns; ++c)
          visit(CellType::Number, band[static_cast<std::size_t>(c)]->values[offset]);
        continue;
      }
      for (std::int32_t c = 0; c < columns; ++c) {
        double payload;
        const CellType type = CellAt(band[static_cast<std::size_t>(c)], offset, payload);
        visit(type, payload);
      }
    }
    top = bottom + 1;
  }
}

template <class Visit>
void CellStore::VisitPresent(const Rect& block, Visit&& visit) const {
  const std::int32_t last_column =
      std::min(block.right, static_cast<std::int32_t>(columns_.size()));
  struct Cursor {
    const Chunk* chunk;
    std::int32_t column;
    std::int32_t next;  // sparse: the entry at or after the current row
  };
  std::vector<Cursor> band;
  for (std::int32_t top = block.top; top <= block.bottom;) {
    const std::int32_t chunk_index = (top - 1) >> kChunkShift;
    const std::int32_t bottom = std::min(block.bottom, (chunk_index + 1) << kChunkShift);
    const std::int32_t base = chunk_index << kChunkShift;  // row of offset 0, minus 1
    band.clear();
    bool dense = false;
    for (std::int32_t c = block.left; c <= last_column; ++c) {
      const Column& col = columns_[static_cast<std::size_t>(c - 1)];
      if (static_cast<std::size_t>(chunk_index) >= col.chunks.size()) continue;
      const Chunk* chunk = col.chunks[static_cast<std::size_t>(chunk_index)].get();
      if (chunk == nullptr) continue;
      dense = dense || !chunk->rows;
      band.push_back(Cursor{chunk, c, chunk->rows ? chunk->Find(top - 1 - base) : 0});
    }
    for (std::int32_t r = top; !band.empty() && r <= bottom;) {
      const std::int32_t offset = r - 1 - base;
      std::int32_t next = kChunkRows;  // the next offset any sparse chunk holds
      for (Cursor& k : band) {
        const Chunk& chunk = *k.chunk;
        if (chunk.rows) {
          if (k.next < chunk.filled && chunk.rows[k.next] == offset) {
            visit(r, k.column, static_cast<CellType>(chunk.tags[k.next]), chunk.values[k.next]);
            ++k.next;
          }
          if (k.next < chunk.filled) next = std::min<std::int32_t>(next, chunk.rows[k.next]);
        } else {
          const CellType type =
              chunk.tags ? static_cast<CellType>(chunk.tags[offset]) : CellType::Number;
          if (type != CellType::Empty) visit(r, k.column, type, chunk.values[offset]);
        }
      }
      r = dense ? r + 1 : next + 1 + base;
    }
    top = bottom + 1;
  }
}

template <class Run, class Cell>
void CellStore::VisitRunsPresent(const Rect& block, Run&& run, Cell&& cell) const {
  if (block.Columns() != 1) {
    VisitPresent(block, [&](std::int32_t, std::int32_t, CellType type, double x) { cell(type, x); });
    return;
  }
  for (std::int32_t top = block.top; top <= block.bottom;) {
    const std::int32_t chunk_index = (top - 1) >> kChunkShift;
    const std::int32_t bottom = std::min(block.bottom, (chunk_index + 1) << kChunkShift);
    const Chunk* chunk = FindChunk(top, block.left);
    if (chunk != nullptr && !chunk->tags) {
      run(static_cast<const double*>(chunk->values.get() + ((top - 1) & (kChunkRows - 1))),
          bottom - top + 1);
    } else if (chunk != nullptr) {
      VisitPresent(Rect{top, block.left, bottom, block.left},
                   [&](std::int32_t, std::int32_t, CellType type, double x) { cell(type, x); });
    }
    top = bottom + 1;
  }
}

template <class Run, class Cell>
void CellStore::VisitRuns(const Rect& block, Run&& run, Cell&& cell) const {
  if (block.Columns() != 1) {
    VisitRows(block, cell);
    return;
  }
  for (std::int32_t top = block.top; top <= block.bottom;) {
    const std::int32_t chunk_index = (top - 1) >> kChunkShift;
    const std::int32_t bottom = std::min(block.bottom, (chunk_index + 1) << kChunkShift);
    const std::int32_t first = (top - 1) & (kChunkRows - 1);
    const std::int32_t n = bottom - top + 1;
    const Chunk* chunk = FindChunk(top, block.left);
    if (chunk == nullptr) {
      for (std::int32_t i = 0; i < n; ++i) cell(CellType::Empty, 0.0);
    } else if (!chunk->tags) {
      run(static_cast<const double*>(chunk->values.get() + first), n);
    } else {
      for (std::int32_t i = first; i < first + n; ++i) {
        double payload;
        const CellType type = CellAt(chunk, i, payload);
        cell(type, payload);
      }
    }
    top = bottom + 1;
  }
}

template <class Run, class Cell>
void CellStore::VisitRunPairs(const CellStore& a, const Rect& block_a, const CellStore& b,
                              const Rect& block_b, Run&& run, Cell&& cell) {
  const std::int32_t height = block_a.Rows();
  for (std::int32_t done = 0; done < height;) {
    const std::int32_t row_a = block_a.top + done, row_b = block_b.top + done;
    const std::int32_t offset_a = (row_a - 1) & (kChunkRows - 1);
    const std::int32_t offset_b = (row_b - 1) & (kChunkRows - 1);
    // The stretch up to the nearer end of a chunk.
    const std::int32_t n = std::min({height - done, kChunkRows - offset_a, kChunkRows - offset_b});
    const Chunk* chunk_a = a.FindChunk(row_a, block_a.left);
    const Chunk* chunk_b = b.FindChunk(row_b, block_b.left);
    if (chunk_a != nullptr && chunk_b != nullptr && !chunk_a->tags && !chunk_b->tags) {
      run(static_cast<const double*>(chunk_a->values.get() + offset_a),
          static_cast<const double*>(chunk_b->values.get() + offset_b), n);
    } else {
      for (std::int32_t i = 0; i < n; ++i) {
        double x_a, x_b;
        const CellType type_a = CellAt(chunk_a, offset_a + i, x_a);
        const CellType type_b = CellAt(chunk_b, offset_b + i, x_b);
        cell(type_a, x_a, type_b, x_b);
      }
    }
    done += n;
  }
}

}  // namespace orv::excel
