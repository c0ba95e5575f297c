// CMatrix: element-wise and algebraic operations, cutting, joining and
// reshaping; the matrix-product kernel against the plain loop, bit for bit.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "matrix_test_util.hpp"
#include "orv/matrix/CMatrix.hpp"
#include "orv/matrix/multiply.hpp"

namespace orv {
namespace {

using namespace orv::test;

// --- Add, Subtract, DotProduct ---

TEST(CMatrixArithmetic, AddSpreadsARowOrAColumnAndFailsByTheChainRule) {
  CMatrix a = M({{1, 2, 3}, {4, 5, 6}});
  EXPECT_EQ(Elements(a.Add(M({{10, 20, 30}, {40, 50, 60}}))), (Table{{11, 22, 33}, {44, 55, 66}}));
  EXPECT_EQ(Elements(a.Add(M({{10, 20, 30}}))), (Table{{11, 22, 33}, {14, 25, 36}}));
  EXPECT_EQ(Elements(a.Add(M({{10}, {20}}))), (Table{{11, 12, 13}, {24, 25, 26}}));
  EXPECT_EQ(Elements(a.Subtract(M({{1, 1, 1}}))), (Table{{0, 1, 2}, {3, 4, 5}}));
  EXPECT_EQ(Elements(a), (Table{{1, 2, 3}, {4, 5, 6}}));
  EXPECT_TRUE(CMatrix().Add(CMatrix()).IsNull());
  // Raised inside the member with no source of its own: stamped.
  EXPECT_FAILS(9, At(10, "Add"), kSubscript, a.Add(M({{1, 2}, {3, 4}, {5, 6}})));
  EXPECT_FAILS(9, At(10, "Subtract"), kSubscript, a.Subtract(M({{1, 2}})));
  // A platform failure (91 through an empty argument) is stamped as well.
  EXPECT_FAILS(91, At(10, "Add"), kNotSet, a.Add(CMatrix(Nothing)));
  EXPECT_FAILS(6, At(30, "Add"), kOverflow, M({{1e308}}).Add(M({{1e308}})));
  EXPECT_FAILS(6, At(30, "Subtract"), kOverflow, M({{-1e308}}).Subtract(M({{1e308}})));
}

TEST(CMatrixArithmetic, DotProductSumsInOrderAndChecksShapes) {
  CMatrix any;
  EXPECT_EQ(any.DotProduct(M({{1, 2, 3}}), M({{4}, {5}, {6}})), 32);
  // In order: (1e16 + 1) - 1e16 loses the 1.
  EXPECT_EQ(any.DotProduct(M({{1e16, 1, -1e16}}), M({{1, 1, 1}})), 0);
  EXPECT_EQ(any.DotProduct(M({{1e16, -1e16, 1}}), M({{1, 1, 1}})), 1);
  EXPECT_FAILS(9, At(10, "DotProduct"), kSubscript, any.DotProduct(M({{1, 2}}), M({{1, 2, 3}})));
  EXPECT_FAILS(9, At(10, "DotProduct"), kSubscript,
               any.DotProduct(M({{1, 2}, {3, 4}}), M({{1, 2, 3, 4}})));
  EXPECT_FAILS(9, At(10, "DotProduct"), kSubscript, any.DotProduct(CMatrix(), CMatrix()));
  EXPECT_FAILS(6, At(20, "DotProduct"), kOverflow, any.DotProduct(M({{1e200}}), M({{1e200}})));
}

// --- Multiply ---

TEST(CMatrixArithmetic, MultiplyShapesAndValues) {
  CMatrix a = M({{1, 2, 3}, {4, 5, 6}});
  CMatrix b = M({{1, 0, 2, -1}, {0, 1, 3, 0}, {1, 1, 0, 2}});
  EXPECT_EQ(Elements(a.Multiply(b)), (Table{{4, 5, 8, 5}, {10, 11, 23, 8}}));
  EXPECT_FAILS(9, At(10, "Multiply"), kSubscript, a.Multiply(a));
  EXPECT_FAILS(6, At(30, "Multiply"), kOverflow, M({{1e300, 1e300}}).Multiply(M({{1e10}, {1}})));
  EXPECT_TRUE(CMatrix().Multiply(CMatrix()).IsNull());
}

// Values whose sums depend on their order: mixed signs, magnitudes over
// many decades, exact zeros of both signs (or only +0, for the values an
// accumulation starts from).
std::vector<double> Awkward(size_t n, std::mt19937_64& rng, bool negative_zero = true) {
  std::uniform_real_distribution<double> mantissa(-1, 1);
  std::uniform_int_distribution<int> exponent(-30, 30);
  std::uniform_int_distribution<int> kind(0, 15);
  std::vector<double> v(n);
  for (double& x : v) {
    const int k = kind(rng);
    x = k == 0 ? 0.0 : k == 1 && negative_zero ? -0.0 : std::ldexp(mantissa(rng), exponent(rng));
  }
  return v;
}

// The scalar path: x . y by DotProduct, summed from 0 in increasing k.
double Dot(const std::vector<double>& x, const std::vector<double>& y) {
  return CMatrix().DotProduct(Make({x}), Make({y}));
}

// Element (i, j) of start + a b, where a is r x c and b is c x m, row-major:
// the dot product of (start(i, j), a(i, .)) with (1, b(., j)), whose first
// term 0 + start(i, j) * 1 is start(i, j) itself.
std::vector<double> ByDotProducts(const std::vector<double>& a, const std::vector<double>& b,
                                  const std::vector<double>& start, size_t r, size_t c, size_t m) {
  std::vector<double> out(r * m);
  for (size_t i = 0; i < r; ++i)
    for (size_t j = 0; j < m; ++j) {
      std::vector<double> x{start[i * m + j]}, y{1};
      for (size_t k = 0; k < c; ++k) {
        x.push_back(a[i * c + k]);
        y.push_back(b[k * m + j]);
      }
      out[i * m + j] = Dot(x, y);
    }
  return out;
}

bool SameBits(const std::vector<double>& x, const std::vector<double>& y) {
  return Identical({x}, {y});
}

// The r x c matrix of these elements, row by row.
CMatrix Flat(const std::vector<double>& v, size_t r, size_t c) {
  Array<double> a(1, static_cast<Long>(r), 1, static_cast<Long>(c));
  a.storage() = v;
  CMatrix m;
  m.LetValues(a);
  return m;
}

// 1 x N, N x 1, odd sizes, exact register tiles, and sizes that cross the
// panel boundaries of every instruction set (k by 384, rows by 192).
const struct {
  size_t r, c, m;
} kShapes[] = {
    {1, 1, 1},     {1, 7, 1},     {1, 40, 33},   {33, 40, 1}, {1, 1, 50},   {50, 1, 1},
    {3, 5, 7},     {4, 8, 8},     {6, 3, 30},    {5, 9, 17},  {8, 300, 16}, {97, 257, 33},
    {192, 384, 48}, {13, 769, 11}, {193, 20, 49}, {2, 800, 3},
};

TEST(CMatrixArithmetic, EveryProductPathMatchesTheScalarDotProductBitForBit) {
  using kernels::InstructionSet;
  std::mt19937_64 rng(20240611);
  for (const auto& s : kShapes) {
    const std::vector<double> a = Awkward(s.r * s.c, rng), b = Awkward(s.c * s.m, rng);
    const std::vector<double> zero(s.r * s.m, 0.0), start = Awkward(s.r * s.m, rng, false);
    EXPECT_TRUE(SameBits(Flat(a, s.r, s.c).Multiply(Flat(b, s.c, s.m)).Values().storage(),
                         ByDotProducts(a, b, zero, s.r, s.c, s.m)))
        << s.r << " x " << s.c << " times " << s.c << " x " << s.m;
    // Accumulating into values already there continues each sum.
    const std::vector<double> expected = ByDotProducts(a, b, start, s.r, s.c, s.m);
    std::vector<double> at(a.size()), bt(b.size());
    for (size_t i = 0; i < s.r; ++i)
      for (size_t k = 0; k < s.c; ++k) at[k * s.r + i] = a[i * s.c + k];
    for (size_t k = 0; k < s.c; ++k)
      for (size_t j = 0; j < s.m; ++j) bt[j * s.c + k] = b[k * s.m + j];
    // Into a wider array (leading dimension m + 3) whose columns past the
    // product keep their values.
    const size_t ldc = s.m + 3;
    auto same = [&](InstructionSet set, kernels::ConstMatrixView x, kernels::ConstMatrixView y) {
      std::vector<double> c(s.r * ldc, 42.0), got, extra;
      for (size_t i = 0; i < s.r; ++i)
        std::copy_n(start.begin() + i * s.m, s.m, c.begin() + i * ldc);
      kernels::MultiplyAccumulate(s.r, s.m, s.c, x, y, c.data(), ldc, set);
      for (size_t i = 0; i < s.r; ++i) {
        got.insert(got.end(), c.begin() + i * ldc, c.begin() + i * ldc + s.m);
        extra.insert(extra.end(), c.begin() + i * ldc + s.m, c.begin() + (i + 1) * ldc);
      }
      return SameBits(got, expected) && extra == std::vector<double>(extra.size(), 42.0);
    };
    for (InstructionSet set :
         {InstructionSet::Sse2, InstructionSet::Avx2, InstructionSet::Avx512}) {
      if (set == InstructionSet::Avx2 && !__builtin_cpu_supports("avx2")) continue;
      if (set == InstructionSet::Avx512 && !__builtin_cpu_supports("avx512f")) continue;
      EXPECT_TRUE(same(set, {a.data(), s.c}, {b.data(), s.m}))
          << kernels::Name(set) << " " << s.r << "x" << s.c << "x" << s.m;
      // The same product from transposed operands.
      EXPECT_TRUE(same(set, {at.data(), s.r, true}, {bt.data(), s.c, true}))
          << kernels::Name(set) << " transposed " << s.r << "x" << s.c << "x" << s.m;
    }
  }
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

// Multiplies a 4000 x 1 by a 1 x 8000 matrix with the address space
// limited to what the process holds plus 64 MB, and exits 0 when the
// failure is 7 with the expected source and description.
void MultiplyUnderAnAddressLimit() {
  CMatrix tall;
  CMatrix wide;
  tall.SetSize(4000, 1);
  wide.SetSize(1, 8000);
  long pages = 0;
  long resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) pages = 0;
    std::fclose(f);
  }
  const rlim_t limit =
      static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (rlim_t{64} << 20);
  rlimit rl{limit, limit};
  setrlimit(RLIMIT_AS, &rl);
  const Failure f = Fails([&] { tall.Multiply(wide); });  // 256 MB
  _exit(f == Failure{7, At(30, "SetSize.Multiply"), "Out of memory"} ? 0 : 1);
}

TEST(CMatrixArithmeticDeathTest, ChainOverChainAppendsEachMemberInnermostFirst) {
  if (kAddressSanitizer) GTEST_SKIP() << "an address-space limit cannot be set under ASan";
  // Multiply's result cannot be allocated: SetSize stamps the failure, and
  // Multiply, a chain member too, appends its name.
  EXPECT_EXIT(MultiplyUnderAnAddressLimit(), ::testing::ExitedWithCode(0), "");
}

// --- element-wise products and quotients ---

TEST(CMatrixArithmetic, MultiplyItemsByDirection) {
  using D = ORVMatrixItemOpDirection;
  CMatrix a = M({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  EXPECT_EQ(Elements(a.MultiplyItems(a)), (Table{{1, 4, 9}, {16, 25, 36}, {49, 64, 81}}));
  EXPECT_FAILS(9, "ORVMain", kSubscript, a.MultiplyItems(M({{1, 2}, {3, 4}})));
  EXPECT_EQ(Elements(a.MultiplyItems(M({{1, 2}, {3, 4}}), D::All, true)),
            (Table{{1, 4}, {12, 20}}));

  CMatrix b = M({{1, 2}, {3, 4}, {5, 6}});
  EXPECT_EQ(Elements(b.MultiplyItems(M({{2, 3, 4}}), D::Rows)), (Table{{2, 4}, {9, 12}, {20, 24}}));
  EXPECT_FAILS(9, "ORVMain", kSubscript, b.MultiplyItems(M({{2, 3}}), D::Rows));
  EXPECT_EQ(Elements(b.MultiplyItems(M({{2, 3}}), D::Rows, true)), (Table{{2, 4}, {9, 12}}));
  EXPECT_FAILS(9, "ORVMain", kSubscript, b.MultiplyItems(M({{2, 3}, {4, 5}}), D::Rows, true));

  EXPECT_EQ(Elements(b.MultiplyItems(M({{10}, {100}}), D::Columns)),
            (Table{{10, 200}, {30, 400}, {50, 600}}));
  EXPECT_EQ(Elements(b.MultiplyItems(M({{10}}), D::Columns, true)), (Table{{10}, {30}, {50}}));
  EXPECT_FAILS(9, "ORVMain", kSubscript, b.MultiplyItems(M({{10, 20, 30}}), D::Columns));

  // Receiver times a diagonal matrix, and a diagonal matrix times it.
  CMatrix d = M({{2, 9}, {9, 3}});
  EXPECT_EQ(Elements(b.MultiplyItems(d, D::DiagonalColumns)), (Table{{2, 6}, {6, 12}, {10, 18}}));
  EXPECT_EQ(Elements(a.MultiplyItems(d, D::DiagonalRows, true)), (Table{{2, 4, 6}, {12, 15, 18}}));
  EXPECT_FAILS(9, "ORVMain", kSubscript, a.MultiplyItems(d, D::DiagonalRows));
  // A tall diagonal argument: k is also bounded by its own columns.
  EXPECT_EQ(Elements(b.MultiplyItems(M({{2}, {3}}), D::DiagonalRows, true)), (Table{{2, 4}}));

  EXPECT_TRUE(a.MultiplyItems(a, static_cast<D>(9)).IsNull());
  EXPECT_FAILS(6, "ORVMain", kOverflow, M({{1e200}}).MultiplyItems(M({{1e200}})));
}

TEST(CMatrixArithmetic, DivideItemsAndByConstant) {
  using D = ORVMatrixItemOpDirection;
  CMatrix a = M({{2, 4}, {6, 8}});
  EXPECT_EQ(Elements(a.DivideItems(M({{2, 4}, {3, 8}}), D::All)), (Table{{1, 1}, {2, 1}}));
  EXPECT_EQ(Elements(a.DivideItems(M({{2, 4}}), D::Columns)), (Table{{1, 1}, {3, 2}}));
  EXPECT_FAILS(11, "ORVMain", kDivision, a.DivideItems(M({{1, 0}, {1, 1}}), D::All));
  EXPECT_FAILS(6, "ORVMain", kOverflow, M({{0}}).DivideItems(M({{0}}), D::All));
  const CMatrix b = M({{1, -2}, {3, 4}});
  EXPECT_EQ(Elements(b.MultiplyByConstant(-2)), (Table{{-2, 4}, {-6, -8}}));
  EXPECT_EQ(Elements(b.DivideByConstant(4)), (Table{{0.25, -0.5}, {0.75, 1}}));
  EXPECT_FAILS(11, At(10, "DivideByConstant"), kDivision, b.DivideByConstant(0));
  EXPECT_FAILS(6, At(20, "MultiplyByConstant"), kOverflow, b.MultiplyByConstant(1e308));
  EXPECT_FAILS(6, At(30, "DivideByConstant"), kOverflow, b.DivideByConstant(1e-308));
}

// --- scalars ---

TEST(CMatrixArithmetic, MinimumMaximumSumAndCounts) {
  CMatrix a = M({{3, -1, 4}, {1, -5, 9}});
  EXPECT_EQ(a.Minimum(), -5);
  EXPECT_EQ(a.Maximum(), 9);
  EXPECT_EQ(a.Sum(), 11);
  EXPECT_EQ(a.Sum(true), -2);
  EXPECT_EQ(CMatrix().Sum(), 0);
  EXPECT_EQ(a.CountNonZero(), 6);
  EXPECT_EQ(M({{0, 1}, {-0.0, 2}}).CountNonZero(), 2);
  EXPECT_EQ(M({{1, 2}, {1, 1}}).CountValue(1), 3);
  EXPECT_FAILS(94, At(10, "Minimum"), kNull, CMatrix().Minimum());
  EXPECT_FAILS(94, At(10, "Maximum"), kNull, CMatrix().Maximum());
  EXPECT_FAILS(6, In("Sum"), kOverflow, M({{1e308, 1e308}}).Sum());
}

TEST(CMatrixArithmetic, SumSqsByDirectionAndExponent) {
  CMatrix a = M({{1, 2}, {3, 4}});
  EXPECT_EQ(Elements(a.SumSqs(ORVMDColumns)), (Table{{10}, {20}}));
  EXPECT_EQ(Elements(a.SumSqs(ORVMDColumns, 1)), (Table{{4}, {6}}));
  EXPECT_EQ(Elements(a.SumSqs()), (Table{{30}}));
  EXPECT_EQ(Elements(a.SumSqs(ORVMDRows)), (Table{{5}, {25}}));
  EXPECT_EQ(Elements(a.SumSqs(ORVMDDiagonal, 3)), (Table{{65}}));
  EXPECT_EQ(Elements(M({{2, 4}}).SumSqs(ORVMDALL, -1)), (Table{{0.75}}));
  EXPECT_FAILS(5, In("SumSqs"), kInvalid, M({{0, 1}}).SumSqs(ORVMDALL, -1));
  EXPECT_FAILS(6, In("SumSqs"), kOverflow, M({{1e200}}).SumSqs());
}

// --- reshaping ---

TEST(CMatrixArithmetic, Transpose) {
  EXPECT_EQ(Elements(M({{1, 2, 3}, {4, 5, 6}}).Transpose()), (Table{{1, 4}, {2, 5}, {3, 6}}));
  EXPECT_TRUE(CMatrix().Transpose().IsNull());
  CMatrix big;
  big.SetSize(37, 70);
  for (Long i = 1; i <= 37; ++i)
    for (Long j = 1; j <= 70; ++j) big.LetItem(i, j, i * 1000 + j);
  CMatrix t = big.Transpose();
  ASSERT_EQ(t.RowCount(), 70);
  ASSERT_EQ(t.ColumnCount(), 37);
  for (Long i = 1; i <= 37; ++i)
    for (Long j = 1; j <= 70; ++j) ASSERT_EQ(t.Item(j, i), i * 1000 + j);
}

TEST(CMatrixArithmetic, SubMatrixFillsMissingCountsAndWritesThemBack) {
  CMatrix a;
  a.SetSize(4, 5);
  for (Long i = 1; i <= 4; ++i)
    for (Long j = 1; j <= 5; ++j) a.LetItem(i, j, 10 * i + j);
  CMatrix s = a.SubMatrix(2, 2);
  EXPECT_EQ(Elements(s), (Table{{22, 23, 24, 25}, {32, 33, 34, 35}, {42, 43, 44, 45}}));

  Long rows = 0, columns = 0;
  a.SubMatrix(3, 4, rows, columns);
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(columns, 2);
  rows = 2;
  columns = 0;
  EXPECT_EQ(Elements(a.SubMatrix(1, 5, rows, columns)), (Table{{15}, {25}}));
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(columns, 1);

  EXPECT_FAILS(9, In("SubMatrix"), kSubscript, a.SubMatrix(3, 1, 3, 1));
  // A start beyond the end counts back to it, and the block overruns.
  rows = 0;
  EXPECT_FAILS(9, In("SubMatrix"), kSubscript, a.SubMatrix(6, 1, rows, 1));
  EXPECT_EQ(rows, 3);
  // A start below 1 fails on the first element read.
  EXPECT_FAILS(9, In("SubMatrix"), kSubscript, a.SubMatrix(0, 1, 2, 2));
  EXPECT_FAILS(6, In("SubMatrix"), kOverflow, a.SubMatrix(1, 2147483647, 1, 2));
}

TEST(CMatrixArithmetic, Concatenate) {
  CMatrix a = M({{1, 2}, {3, 4}});
  EXPECT_EQ(Elements(a.Concatenate(M({{5}, {6}}))), (Table{{1, 2, 5}, {3, 4, 6}}));
  EXPECT_EQ(Elements(a.Concatenate(M({{5, 6}, {7, 8}, {9, 10}}), true)),
            (Table{{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}}));
  EXPECT_FAILS(9, In("Concatenate"), "Matrix Row Count Mismatch",
               a.Concatenate(M({{5, 6}, {7, 8}, {9, 10}})));
  EXPECT_FAILS(9, In("Concatenate"), "Matrix Column Count Mismatch",
               a.Concatenate(M({{5, 6, 7}}), true));
}

// --- deleting and inserting ---

TEST(CMatrixArithmetic, DeleteRowAndColumn) {
  CMatrix a = M({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  EXPECT_EQ(Elements(a.DeleteRow(2)), (Table{{1, 2, 3}, {7, 8, 9}}));
  EXPECT_EQ(Elements(a.DeleteColumn(1)), (Table{{2, 3}, {5, 6}, {8, 9}}));
  EXPECT_FAILS(9, At(10, "DeleteRow"), kSubscript, a.DeleteRow(0));
  EXPECT_FAILS(9, At(10, "DeleteColumn"), kSubscript, a.DeleteColumn(4));
  EXPECT_FAILS(9, At(20, "DeleteRow"), kSubscript, M({{1, 2}}).DeleteRow(1));
  EXPECT_FAILS(9, At(20, "DeleteColumn"), kSubscript, M({{1}, {2}}).DeleteColumn(1));
}

TEST(CMatrixArithmetic, DeleteRowsAndRowsColsByFlag) {
  CMatrix a = M({{1, 1}, {2, 2}, {3, 3}, {4, 4}});
  EXPECT_EQ(Elements(a.DeleteRows(M({{1}, {0}, {1}}))), (Table{{2, 2}, {4, 4}}));
  EXPECT_EQ(Elements(a.DeleteRows(M({{7, 1}, {1, 7}}), 7)), (Table{{2, 2}, {3, 3}, {4, 4}}));
  EXPECT_TRUE(a.DeleteRows(M({{1}, {1}, {1}, {1}})).IsNull());
  EXPECT_EQ(Elements(a.DeleteRows(CMatrix())), Elements(a));
  EXPECT_FAILS(9, In("DeleteRows"), kSubscript, a.DeleteRows(M({{1}, {1}, {1}, {1}, {1}})));
  const CMatrix c = M({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  EXPECT_EQ(Elements(c.DeleteRowsCols(M({{0}, {1}}), M({{1}, {0}, {0}}))), (Table{{2, 3}, {8, 9}}));
  EXPECT_FAILS(9, In("DeleteRowsCols"), kSubscript, c.DeleteRowsCols(M({{1}, {1}, {1}}), M({{0}})));
  EXPECT_FAILS(9, In("DeleteRowsCols"), kSubscript, c.DeleteRowsCols(M({{0}}), M({{1}, {1}, {1}})));
  EXPECT_FAILS(9, In("DeleteRowsCols"), kSubscript,
               c.DeleteRowsCols(M({{0}}), M({{0}, {0}, {0}, {0}})));
}

TEST(CMatrixArithmetic, InsertRowsPlacesBeforeIndexAppendsAtZeroAndChainsFailures) {
  CMatrix a = M({{1, 2, 3}, {4, 5, 6}});
  CMatrix r = M({{7, 8, 9}});
  EXPECT_EQ(Elements(a.InsertRows(r, 1)), (Table{{7, 8, 9}, {1, 2, 3}, {4, 5, 6}}));
  Long index = 0;
  EXPECT_EQ(Elements(a.InsertRows(r, index)), (Table{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}));
  EXPECT_EQ(index, 3);
  index = 2;
  a.InsertRows(r, index);
  EXPECT_EQ(index, 2);

  EXPECT_TRUE(a.InsertRows(CMatrix()).IsNothing());
  CMatrix null;
  EXPECT_TRUE(Is(null.InsertRows(r), r));
  EXPECT_EQ(Elements(a), (Table{{1, 2, 3}, {4, 5, 6}}));
  EXPECT_FAILS(9, At(40, "InsertRows.InsertRows"), kSubscript, a.InsertRows(r, 3));
  index = -1;
  EXPECT_FAILS(9, At(40, "InsertRows.InsertRows"), kSubscript, a.InsertRows(r, index));
  EXPECT_EQ(index, -1);
  EXPECT_FAILS(9, At(30, "InsertRows.InsertRows"), kSubscript, a.InsertRows(M({{7, 8}})));
  EXPECT_FAILS(91, At(10, "InsertRows"), kNotSet, a.InsertRows(CMatrix(Nothing)));
}

TEST(CMatrixArithmetic, InsertColumns) {
  CMatrix a = M({{1, 2}, {3, 4}});
  CMatrix c = M({{5, 6}, {7, 8}});
  EXPECT_EQ(Elements(a.InsertColumns(c, 2)), (Table{{1, 5, 6, 2}, {3, 7, 8, 4}}));
  Long index = 0;
  EXPECT_EQ(Elements(a.InsertColumns(M({{9}, {9}}), index)), (Table{{1, 2, 9}, {3, 4, 9}}));
  EXPECT_EQ(index, 3);
  EXPECT_TRUE(a.InsertColumns(CMatrix()).IsNothing());
  EXPECT_TRUE(Is(CMatrix().InsertColumns(c), c));
  EXPECT_FAILS(9, At(40, "InsertColumns.InsertColumns"), kSubscript, a.InsertColumns(c, 3));
  EXPECT_FAILS(9, At(30, "InsertColumns.InsertColumns"), kSubscript, a.InsertColumns(M({{1, 2}})));
}

}  // namespace
}  // namespace orv
