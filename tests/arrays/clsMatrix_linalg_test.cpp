// clsMatrix: products, sums, generalised inverses, Max and Min. Exact
// results of the documented steps come from tests/data/linalg_reference.csv
// (written by scripts/make_linalg_reference.py); the products are checked
// against CMatrix's, whose kernel its tests hold to the scalar dot product.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "clsMatrix_test_util.hpp"
#include "orv/arrays/clsMatrix.hpp"
#include "orv/matrix/CMatrix.hpp"

namespace orv {
namespace {

using namespace orv::test;

Array<double> Random(std::mt19937_64& rng, Long rows, Long cols, Long lb1 = 1, Long lb2 = 1) {
  std::uniform_real_distribution<double> u(-10.0, 10.0);
  Array<double> a(lb1, lb1 + rows - 1, lb2, lb2 + cols - 1);
  for (double& v : a.storage()) v = u(rng);
  return a;
}

const clsMatrix M;

// --- products ----------------------------------------------------------------

TEST(clsMatrixMMult, HonoursLowerBoundsAndChecksShapes) {
  EXPECT_FAILS(orvErrMatrixMultiply, kCls + "MMult",
               "Cant multiply matrices, cols of matrix 1 <> rows of matrix 2",
               M.MMult(Mat(2, 3, {1, 2, 3, 4, 5, 6}), Mat(2, 2, {1, 2, 3, 4})));
  Array<double> vector(1, 2);
  EXPECT_FAILS(9, kCls + "MMult", kSubscript, M.MMult(vector, Mat(2, 1, {1, 2})));
  EXPECT_FAILS(6, kCls + "MMult", kOverflow, M.MMult(Mat(1, 1, {1e300}), Mat(1, 1, {1e300})));
  // (0 To 1, 0 To 2) x (1 To 3, 5 To 6): rows of the first, columns of the
  // second. Row 0 of a is 1, 2, 3; column 5 of b is 7, 9, 11.
  EXPECT_EQ(M.MMult(Mat(2, 3, {1, 2, 3, 4, 5, 6}, 0, 0), Mat(3, 2, {7, 8, 9, 10, 11, 12}, 1, 5)),
            Mat(2, 2, {58, 64, 139, 154}, 0, 5));
}

TEST(clsMatrixMMult, SameDoublesAsTheProductOfCMatrix) {
  std::mt19937_64 rng(11);
  auto product = [](const Array<double>& a, const Array<double>& b) {
    CMatrix x, y;
    x.LetValues(a);
    y.LetValues(b);
    return Rows(x.Multiply(y).Values());
  };
  for (int trial = 0; trial < 20; ++trial) {
    const Long n = 1 + trial % 7, k = 1 + trial % 5, m = 1 + trial % 9;
    const Array<double> a = Random(rng, n, k, trial % 3 - 1, trial % 2);
    const Array<double> b = Random(rng, k, m, trial % 2, 1 - trial % 3);
    EXPECT_TRUE(Holds(M.MMult(a, b), product(a, b))) << trial;
  }
  const Array<double> a = Random(rng, 64, 70), b = Random(rng, 70, 33);
  EXPECT_TRUE(Holds(M.MMult(a, b), product(a, b)));
}

TEST(clsMatrixMMultConst, ScalesTheCallersArrayAndReturnsACopy) {
  Array<double> a = Mat(2, 2, {1, 2, 3, 4});
  Array<double> r = M.MMultConst(a, 0.5);
  EXPECT_EQ(a, Mat(2, 2, {0.5, 1, 1.5, 2}));
  EXPECT_EQ(r, a);
  r(1, 1) = 99;  // a copy, not the caller's array
  EXPECT_EQ(a(1, 1), 0.5);
  Array<double> big = Mat(1, 1, {1e300});
  EXPECT_FAILS(6, kCls + "MMultConst", kOverflow, M.MMultConst(big, 1e300));
}

TEST(clsMatrixKronecker, BlocksOfScaledCopies) {
  // result((i - 1) p + r, (j - 1) q + s) = A(i, j) B(r, s)
  EXPECT_EQ(M.Kronecker(Mat(1, 2, {1, 2}), Mat(2, 2, {1, 2, 3, 4})),
            Mat(2, 4, {1, 2, 2, 4, 3, 4, 6, 8}));
  EXPECT_FAILS(9, kCls + "Kronecker", kSubscript, M.Kronecker(Array<double>(1, 2), Mat(1, 1, {1})));
}

TEST(clsMatrixSumProduct, CrossProductInIncreasingRows) {
  // X'Y in increasing rows: the doubles of MMult(Transpose(X), Y).
  std::mt19937_64 rng(3);
  Array<double> x = Random(rng, 50, 4), y = Random(rng, 50, 3);
  const Array<double> product = M.MMult(M.Transpose(x), y);
  EXPECT_EQ(M.SumProduct(x, y), product);
  // A one-dimensional argument is a single column.
  EXPECT_EQ(M.SumProduct(Vec({2, 3}), Mat(2, 2, {1, 10, 100, 1000})), Mat(1, 2, {302, 3020}));
  EXPECT_FAILS(9, kCls + "SumProduct", kSubscript,
               M.SumProduct(Mat(3, 1, {1, 2, 3}), Mat(2, 1, {1, 2})));
}

// --- sums and differences --------------------------------------------------------

TEST(clsMatrixMAdd, ShapeOfTheSecondArgumentAndVectorsAsColumns) {
  const Array<double> a = Mat(2, 2, {1, 2, 3, 4});
  EXPECT_EQ(M.MAdd(a, Mat(2, 2, {10, 20, 30, 40})), Mat(2, 2, {11, 22, 33, 44}));
  EXPECT_EQ(M.MSubtract(a, Mat(2, 2, {10, 20, 30, 40})), Mat(2, 2, {-9, -18, -27, -36}));
  // A vector serves every column with its element i.
  EXPECT_EQ(M.MAdd(Vec({100, 200}), a), Mat(2, 2, {101, 102, 203, 204}));
  // The result takes Matrix2's shape: a larger first argument is read in
  // part, a smaller one fails.
  EXPECT_EQ(M.MAdd(a, Mat(1, 1, {5})), Mat(1, 1, {6}));
  EXPECT_FAILS(9, kCls + "MAdd", kSubscript, M.MAdd(Mat(1, 1, {1}), Mat(2, 2, {1, 2, 3, 4})));
  EXPECT_FAILS(6, kCls + "MSubtract", kOverflow,
               M.MSubtract(Mat(1, 1, {-1e308}), Mat(1, 1, {1e308})));
}

TEST(clsMatrixVariantMSubtract, VariantArithmetic) {
  const Array<Variant> a =
      Mat<Variant>(1, 4, {Variant(Integer{5}), Variant("2.5"), Variant(Null), Variant(Date{100})});
  Array<Variant> b =
      Mat<Variant>(1, 4, {Variant(Integer{7}), Variant(), Variant(1.0), Variant(1.5)});
  Variant r = M.VariantMSubtract(Variant(a), Variant(b));
  EXPECT_EQ(r.Element(1, 1), Variant(Integer{-2}));
  EXPECT_EQ(r.Element(1, 2), Variant(2.5));
  EXPECT_TRUE(r.Element(1, 3).IsNull());
  EXPECT_EQ(r.Element(1, 4), Variant(Date{98.5}));
  // Integers stay Integer up to the type's largest value, then widen.
  const Array<Variant> top = Mat<Variant>(1, 2, {Variant(Integer{32767}), Variant(Integer{32767})});
  const Array<Variant> off = Mat<Variant>(1, 2, {Variant(Integer{0}), Variant(Integer{-1})});
  r = M.VariantMSubtract(Variant(top), Variant(off));
  EXPECT_EQ(r.Element(1, 1), Variant(Integer{32767}));
  EXPECT_EQ(r.Element(1, 2), Variant(Long{32768}));
  b(1, 2) = Variant("x");
  EXPECT_FAILS(13, kCls + "VariantMSubtract", kMismatch,
               M.VariantMSubtract(Variant(a), Variant(b)));
  EXPECT_FAILS(13, kCls + "VariantMSubtract", kMismatch,
               M.VariantMSubtract(Variant(1.0), Variant(b)));
}

TEST(clsMatrixMIdentity, OnesOnTheDiagonal) {
  EXPECT_EQ(M.MIdentity(3), Mat(3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1}));
  EXPECT_FAILS(9, kCls + "MIdentity", kSubscript, M.MIdentity(0));
}

// --- generalised inverses -----------------------------------------------------------

TEST(clsMatrixGenInv, ExamplesReferenceAndSwallowedFailures) {
  // Row reduction leaves D(2, 2) = 1 - 4 = -3; its reciprocal is dropped:
  // C D R with D = diag(1, 0), C = [1 -2; 0 1], R = [1 0; -2 1].
  EXPECT_EQ(M.GenInv(Mat(2, 2, {1, 2, 2, 1})), Mat(2, 2, {1, 0, 0, 0}));
  // The inverse of [4 2; 2 3] is [3 -2; -2 4] / 8.
  EXPECT_EQ(M.GenInv(Mat(2, 2, {4, 2, 2, 3})), Mat(2, 2, {0.375, -0.25, -0.25, 0.5}));
  // A zero pivot ends the elimination of its column: nothing is divided by
  // it, D keeps its off-diagonal ones, and C D R is the swap itself.
  EXPECT_EQ(M.GenInv(Mat(2, 2, {0, 1, 1, 0})), Mat(2, 2, {0, 1, 1, 0}));
  for (const std::string& c : Linalg().Cases("geninv"))
    EXPECT_TRUE(Holds(M.GenInv(FromTable(Linalg()["geninv." + c + ".in"])),
                      Linalg()["geninv." + c + ".out"]))
        << c;
  // A 2 x 3 matrix: C (3 x 3) and D (2 x 3) cannot be multiplied, and that
  // failure is not reported: the result is an unallocated array.
  Array<double> g = M.GenInv(Mat(2, 3, {1, 2, 3, 4, 5, 6}));
  EXPECT_FALSE(g.IsAllocated());
  EXPECT_FAILS(9, kCls + "GenInv", kSubscript, M.GenInv(Array<double>(1, 3)));
}

TEST(clsMatrixGeneralInverse, ZeroPivotAndTheReference) {
  // A zero pivot zeroes its row and column.
  EXPECT_EQ(M.GeneralInverse(Mat(3, 3, {2, 0, 0, 0, 0, 0, 0, 0, 4})),
            Mat(3, 3, {0.5, 0, 0, 0, 0, 0, 0, 0, 0.25}));
  for (const std::string& c : Linalg().Cases("sweep")) {
    const double zero = Linalg()["sweep." + c + ".zero"][0][0];
    const Array<double> a = FromTable(Linalg()["sweep." + c + ".in"]);
    EXPECT_TRUE(Holds(zero == 1e-20 ? M.GeneralInverse(a) : M.GeneralInverse(a, Variant(zero)),
                      Linalg()["sweep." + c + ".out"]))
        << c;
  }
}

TEST(clsMatrixGeneralInverse, WideMatricesAndBadArguments) {
  // Columns past the square block are only negated.
  Array<double> g = M.GeneralInverse(Mat(1, 2, {2, 5}));
  EXPECT_EQ(g(1, 1), 0.5);
  EXPECT_EQ(g(1, 2), -5.0);
  EXPECT_FAILS(9, kCls + "GeneralInverse", kSubscript, M.GeneralInverse(Mat(2, 1, {1, 2})));
  EXPECT_FAILS(13, kCls + "GeneralInverse", kMismatch,
               M.GeneralInverse(Mat(1, 1, {1}), Variant("x")));
}

// --- Max and Min ------------------------------------------------------------------------

TEST(clsMatrixMaxMin, ScanRowByRowWithTheFallbackConversion) {
  EXPECT_EQ(M.Max(Variant(Mat(2, 3, {1, 9, 3, -4, 5, 9}))), 9.0);
  EXPECT_EQ(M.Min(Variant(Mat(2, 3, {1, 9, 3, -4, 5, 9}))), -4.0);
  // Elements of a Variant array convert explicitly.
  const Variant w(Mat<Variant>(1, 3, {Variant("12"), Variant(), Variant(true)}));
  EXPECT_EQ(M.Max(w), 12.0);
  EXPECT_EQ(M.Min(w), -1.0);
  EXPECT_EQ(M.Max(Variant(4.5)), 4.5);
  EXPECT_EQ(M.Min(Variant("3")), 3.0);
  // A failing scan converts the whole array: 13, passed on as it arose.
  EXPECT_FAILS(13, "ORVMain", kMismatch,
               M.Max(Variant(Mat<Variant>(1, 2, {Variant(1.0), Variant("abc")}))));
  EXPECT_EQ(Fails([] { M.Min(Variant(Array<double>())); }).number, 13);
  EXPECT_EQ(Fails([] { M.Max(Variant(Null)); }).number, 94);
}

}  // namespace
}  // namespace orv
