#include "orv/excel/internal/BlockStats.hpp"

namespace orv::excel {

namespace {

bool IsNumber(CellType type) { return type == CellType::Number || type == CellType::Date; }

// The sums continued over values[0 .. n - 1], each in order, and the
// extremes as the scans "if (x < min) min = x" and "if (x > max) max = x"
// keep them (the first of equal values, so -0 or 0 as it comes). The
// running sums are the loop's critical path; the extremes run beside them.
// Kept out of line so that everything stays in registers.
[[gnu::noinline]] void AddRun(const double* values, std::int32_t n, BlockSums& into) {
  double sum = into.sum, squares = into.sum_squares;
  double min = into.min, max = into.max;
  for (std::int32_t i = 0; i < n; ++i) {
    const double v = values[i];
    sum += v;
    squares += v * v;
    min = v < min ? v : min;
    max = v > max ? v : max;
  }
  into.sum = sum;
  into.sum_squares = squares;
  into.count += n;
  into.min = min;
  into.max = max;
}

}  // namespace

const BlockSums* BlockStats::Kept(const CellStore& cells, const Rect& block) const {
  for (const Entry& e : entries_)
    if (e.used && e.revision == cells.Revision() && e.block == block) return &e.sums;
  return nullptr;
}

const BlockSums& BlockStats::Of(const CellStore& cells, const Rect& block) {
  if (const BlockSums* kept = Kept(cells, block)) return *kept;
  BlockSums s;
  cells.VisitRunsPresent(
      block, [&](const double* values, std::int32_t count) { AddRun(values, count, s); },
      [&](CellType type, double x) {
        if (IsNumber(type)) {
          AddRun(&x, 1, s);
        } else if (type != CellType::Empty) {
          s.others += 1;
          s.error = s.error || type == CellType::Error;
        }
      });
  Entry& e = entries_[next_entry_];
  next_entry_ = (next_entry_ + 1) % entries_.size();
  e = Entry{true, cells.Revision(), block, s};
  return e.sums;
}

std::optional<BlockStats::Product> BlockStats::KeptProduct(const CellStore& a, const Rect& block_a,
                                                           const CellStore& b,
                                                           const Rect& block_b) const {
  for (const ProductEntry& e : products_) {
    if (!e.used) continue;
    auto same = [](std::uint64_t store, std::uint64_t revision, const Rect& block,
                   const CellStore& cells, const Rect& want) {
      return store == cells.Id() && revision == cells.Revision() && block == want;
    };
    // The products are the same either way round.
    if ((same(e.store_a, e.revision_a, e.block_a, a, block_a) &&
         same(e.store_b, e.revision_b, e.block_b, b, block_b)) ||
        (same(e.store_a, e.revision_a, e.block_a, b, block_b) &&
         same(e.store_b, e.revision_b, e.block_b, a, block_a)))
      return e.product;
  }
  return std::nullopt;
}

void BlockStats::KeepProduct(const CellStore& a, const Rect& block_a, const CellStore& b,
                             const Rect& block_b, Product product) {
  ProductEntry& e = products_[next_product_];
  next_product_ = (next_product_ + 1) % products_.size();
  e = ProductEntry{true, a.Id(), a.Revision(), b.Id(), b.Revision(), block_a, block_b, product};
}

}  // namespace orv::excel
