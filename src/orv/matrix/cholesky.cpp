#include "orv/matrix/cholesky.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "orv/frame/checked.hpp"
#include "orv/frame/enums.hpp"
#include "orv/matrix/multiply.hpp"

namespace orv::kernels {
namespace {

// Columns of partial sums computed at a time.
constexpr std::size_t kBlock = 64;
// Columns of a block whose shares of the block's later columns are added
// together, as one product.
constexpr std::size_t kGroup = 8;

[[noreturn]] void RaiseNotPositiveDefinite() {
  Raise(MXNotPositiveDefinite, {}, "Matrix is not Positive Definite");
}

}  // namespace

// The sums of a block of columns are started together as one product of
// finished columns (which adds k = 0, 1, ... in order to each sum) and
// completed column by column inside the block; every sum thus still
// receives its terms one at a time in increasing k. The sums are kept by
// column (sums[jj * n + r] is s(j0 + r, j0 + jj)), so that a finished
// column's share of each later column is one contiguous run. The checks
// run in the order of the column-by-column algorithm, so the first failure
// is the same.
void CholeskyFactor(const double* a, std::size_t columns, std::size_t n, double zero, double* L,
                    InstructionSet set) {
  const std::size_t nb = std::min(kBlock, n);
  std::vector<double> sums(nb * n);
  // columns[g * n + r] = L(j0 + r, j) for the columns j of the current group
  std::vector<double> columns_of_group(kGroup * n);
  for (std::size_t j0 = 0; j0 < n; j0 += nb) {
    const std::size_t width = std::min(nb, n - j0);
    const std::size_t below = n - j0;
    std::fill(sums.begin(), sums.end(), 0.0);
    // sums(jj, r) = L(j0 + jj, 0..j0-1) . L(j0 + r, 0..j0-1)
    if (j0 > 0)
      MultiplyAccumulate(width, below, j0, {L + j0 * n, n}, {L + j0 * n, n, true}, sums.data(), n,
                         set);
    for (std::size_t jj = 0; jj < width; ++jj) {
      const std::size_t j = j0 + jj;
      const double* sj = sums.data() + jj * n;
      const double s = Finite(sj[jj]);
      // The diagonal of a matrix with fewer columns than rows runs out.
      if (j >= columns) Raise(kErrSubscript);
      const double pivot = a[j * columns + j] - s;
      if (std::isnan(pivot)) RaiseNotPositiveDefinite();
      if (Finite(pivot) <= zero) RaiseNotPositiveDefinite();
      const double ljj = Sqrt(pivot);
      L[j * n + j] = ljj;
      if (ljj == 0) {
        // Only with a negative tolerance: the first element fails, as the
        // plain division does.
        for (std::size_t i = j + 1; i < n; ++i)
          Div(Sub(a[i * columns + j], Finite(sj[i - j0])), ljj);
      }
      // Every failure below the diagonal is a value that is not finite (of
      // the sum, the difference or the quotient), error 6 wherever it is.
      const std::size_t g0 = jj / kGroup * kGroup;  // the group's first column in the block
      double* column = columns_of_group.data() + (jj - g0) * n;
      bool finite = true;
      for (std::size_t i = j + 1; i < n; ++i) {
        const double lij = (a[i * columns + j] - sj[i - j0]) / ljj;
        finite &= std::isfinite(lij);
        column[i - j0] = lij;
        L[i * n + j] = lij;
      }
      if (!finite) Raise(kErrOverflow);
      // Column j's share of the sums of the group's later columns, on and
      // below their diagonals; once the group is done, the whole group's
      // shares of the block's later columns, in order of the columns.
      const std::size_t g1 = std::min(g0 + kGroup, width);
      for (std::size_t q = jj + 1; q < g1; ++q)
        AddMultiple(sums.data() + q * n + q, column + q, column[q], below - q, set);
      if (jj + 1 != g1) continue;
      // (a product of depth g1 - g0, which adds the group's terms in order)
      const double* group = columns_of_group.data() + g1;
      MultiplyAccumulate(width - g1, below - g1, g1 - g0, {group, n, true}, {group, n},
                         sums.data() + g1 * n + g1, n, set);
    }
  }
}

}  // namespace orv::kernels
