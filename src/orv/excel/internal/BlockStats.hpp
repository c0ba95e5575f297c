#pragma once
// Sums and extremes of blocks of a sheet's cells, each worked out in one
// pass over the cells and kept until the cells change, so that asking a
// sheet for the Count, Sum, SumSq, Average, Min and Max of one range reads
// the cells once.
//
// Every figure is the one a separate pass in the worksheet functions'
// order gives: the cells row by row, each sum accumulated in that order,
// the extremes as the scan "if (x < best) best = x" keeps them.
#include <array>
#include <cstdint>
#include <limits>
#include <optional>

#include "orv/excel/internal/CellStore.hpp"
#include "orv/excel/Rect.hpp"

namespace orv::excel {

struct BlockSums {
  double count = 0;  // numbers (dates are numbers)
  double sum = 0, sum_squares = 0;
  double min = std::numeric_limits<double>::infinity();
  double max = -std::numeric_limits<double>::infinity();
  double others = 0;   // cells that are neither blank nor a number
  bool error = false;  // an error value among the cells
};

class BlockStats {
 public:
  // Everything about the block, worked out on first asking.
  const BlockSums& Of(const CellStore& cells, const Rect& block);
  // What is kept about the block, or null.
  const BlockSums* Kept(const CellStore& cells, const Rect& block) const;

  // The sum of the products of two blocks of one shape, taken row by row
  // with non-numbers as 0, when it was kept (nothing: not kept; error:
  // an error value among the cells).
  struct Product {
    double sum = 0;
    bool error = false;
  };
  std::optional<Product> KeptProduct(const CellStore& a, const Rect& block_a, const CellStore& b,
                                     const Rect& block_b) const;
  void KeepProduct(const CellStore& a, const Rect& block_a, const CellStore& b, const Rect& block_b,
                   Product product);

 private:
  struct Entry {
    bool used = false;
    std::uint64_t revision = 0;
    Rect block;
    BlockSums sums;
  };
  struct ProductEntry {
    bool used = false;
    std::uint64_t store_a = 0, revision_a = 0, store_b = 0, revision_b = 0;
    Rect block_a, block_b;
    Product product;
  };

  std::array<Entry, 8> entries_;
  std::array<ProductEntry, 4> products_;
  std::size_t next_entry_ = 0, next_product_ = 0;
};

// The element that the scan "if (x < best) best = x" (kLess false: x >
// best) keeps over values[0 .. count - 1], starting from `best`: the first
// element that compares equal to the extreme. Four running extremes make
// the scan fast; only a zero extreme (0 and -0 compare equal) needs the
// first one looked up again.
template <bool kLess>
double Extreme(const double* values, std::int32_t count, double best) {
  auto better = [](double x, double than) { return kLess ? x < than : x > than; };
  double lane[4] = {best, best, best, best};
  std::int32_t i = 0;
  for (; i + 4 <= count; i += 4)
    for (int k = 0; k < 4; ++k)
      if (better(values[i + k], lane[k])) lane[k] = values[i + k];
  for (; i < count; ++i)
    if (better(values[i], lane[0])) lane[0] = values[i];
  double found = lane[0];
  for (int k = 1; k < 4; ++k)
    if (better(lane[k], found)) found = lane[k];
  if (!better(found, best)) return best;
  if (found == 0)
    for (std::int32_t j = 0; j < count; ++j)
      if (values[j] == 0) return values[j];
  return found;
}

}  // namespace orv::excel
