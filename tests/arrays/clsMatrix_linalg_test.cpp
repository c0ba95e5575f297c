#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <type_traits>

#include "clsMatrix_test_util.hpp"
#include "orv/arrays/clsMatrix.hpp"
#include "orv/frame/digits15.hpp"

namespace orv {
namespace {

using namespace orv::test;

Array<double> Random(std::mt19937_64& rng, Long rows, Long cols, Long lb1 = 1, Long lb2 = 1) {
  std::uniform_real_distribution<double> u(-10.0, 10.0);
  Array<double> a(lb1, lb1 + rows - 1, lb2, lb2 + cols - 1);
  for (double& v : a.storage()) v = u(rng);
  return a;
}

// Same bounds and the same doubles, bit for bit.
void ExpectIdentical(const Array<double>& a, const Array<double>& b) {
  ASSERT_EQ(a.Rank(), b.Rank());
  ASSERT_EQ(a.LBound(1), b.LBound(1));
  ASSERT_EQ(a.UBound(1), b.UBound(1));
  ASSERT_EQ(a.LBound(2), b.LBound(2));
  ASSERT_EQ(a.UBound(2), b.UBound(2));
  for (std::size_t k = 0; k < a.size(); ++k)
    ASSERT_EQ(std::bit_cast<std::uint64_t>(a.data()[k]), std::bit_cast<std::uint64_t>(b.data()[k]))
        << "element " << k << ": " << a.data()[k] << " vs " << b.data()[k];
}

const clsMatrix M;

// --- reference loops, in the documented order ---------------------------------

Array<double> RefMMult(const Array<double>& a, const Array<double>& b) {
  Array<double> r(a.LBound(1), a.UBound(1), b.LBound(2), b.UBound(2));
  for (Long i = a.LBound(1); i <= a.UBound(1); ++i)
    for (Long j = b.LBound(2); j <= b.UBound(2); ++j)
      for (Long k = a.LBound(2); k <= a.UBound(2); ++k)
        r(i, j) = r(i, j) + a(i, k) * b(b.LBound(1) - a.LBound(2) + k, j);
  return r;
}

Array<double> RefGenInv(const Array<double>& m) {
  const Long n = m.UBound(1), p = m.UBound(2);
  Array<double> D = m, R(1, n, 1, n), C(1, p, 1, p);
  for (Long i = 1; i <= n; ++i) R(i, i) = 1;
  for (Long i = 1; i <= p; ++i) C(i, i) = 1;
  for (Long j = 2; j <= n; ++j)
    for (Long i = j; i <= n; ++i) {
      if (D(j - 1, j - 1) == 0) break;
      double f = D(i, j - 1) / D(j - 1, j - 1);
      for (Long c = j - 1; c <= p; ++c) D(i, c) = D(i, c) - f * D(j - 1, c);
      for (Long c = 1; c <= n; ++c) R(i, c) = R(i, c) - f * R(j - 1, c);
    }
  for (Long j = 2; j <= p; ++j)
    for (Long i = j; i <= p; ++i) {
      if (D(j - 1, j - 1) == 0) break;
      double f = D(j - 1, i) / D(j - 1, j - 1);
      for (Long r = j - 1; r <= n; ++r) D(r, i) = D(r, i) - f * D(r, j - 1);
      for (Long r = 1; r <= p; ++r) C(r, i) = C(r, i) - f * C(r, j - 1);
    }
  for (Long i = 1; i <= n; ++i) D(i, i) = D(i, i) > 1e-20 ? 1 / D(i, i) : 0;
  return RefMMult(RefMMult(C, D), R);
}

Array<double> RefGeneralInverse(Array<double> A, double zero) {
  const Long n = A.UBound(1);
  for (Long k = 1; k <= n; ++k) {
    const double d = A(k, k);
    if (d == 0) {
      for (Long j = 1; j <= n; ++j) A(k, j) = A(j, k) = 0;
      continue;
    }
    A(k, k) = -1 / d;
    for (Long j = 1; j <= n; ++j) {
      if (j == k) continue;
      A(k, j) = -A(k, j) * A(k, k);
      A(j, k) = A(k, j);
    }
    for (Long i = 1; i <= n; ++i) {
      if (i == k) continue;
      for (Long j = 1; j <= i; ++j) {
        if (j == k) continue;
        const double t = A(k, j) * A(i, k) / A(k, k);
        A(i, j) = Round15(A(i, j)) + Round15(t);
        if (std::fabs(A(i, j)) < zero) A(i, j) = 0;
        A(j, i) = A(i, j);
      }
    }
  }
  for (double& v : A.storage()) v = -v;
  return A;
}

// --- products ----------------------------------------------------------------

TEST(clsMatrixMMult, MismatchedShapesRaiseTheLibraryError) {
  Error e = Caught([] { M.MMult(Mat(2, 3, {1, 2, 3, 4, 5, 6}), Mat(2, 2, {1, 2, 3, 4})); });
  EXPECT_EQ(e.Number, orvErrMatrixMultiply);
  EXPECT_EQ(e.Source, "ORVMain.clsMatrix.MMult");
  EXPECT_EQ(e.Description, "Cant multiply matrices, cols of matrix 1 <> rows of matrix 2");
  Array<double> vector(1, 2);
  ExpectPlain(Caught([&] { M.MMult(vector, Mat(2, 1, {1, 2})); }), 9, "MMult");
  ExpectPlain(Caught([] { M.MMult(Mat(1, 1, {1e300}), Mat(1, 1, {1e300})); }), 6, "MMult");
}

TEST(clsMatrixMMult, HonoursLowerBounds) {
  // (0 To 1, 0 To 2) x (1 To 3, 5 To 6): rows of the first, columns of the
  // second.
  Array<double> a(0, 1, 0, 2), b(1, 3, 5, 6);
  double x = 1;
  for (double& v : a.storage()) v = x++;
  for (double& v : b.storage()) v = x++;
  Array<double> r = M.MMult(a, b);
  EXPECT_EQ(r.LBound(1), 0);
  EXPECT_EQ(r.UBound(1), 1);
  EXPECT_EQ(r.LBound(2), 5);
  EXPECT_EQ(r.UBound(2), 6);
  // Row 0 of a is 1, 2, 3; column 5 of b is 7, 9, 11.
  EXPECT_EQ(r(0, 5), 1 * 7 + 2 * 9 + 3 * 11);
}

TEST(clsMatrixMMult, SameDoublesAsTheOrderedTripleLoop) {
  std::mt19937_64 rng(11);
  for (int trial = 0; trial < 20; ++trial) {
    const Long n = 1 + trial % 7, k = 1 + trial % 5, m = 1 + trial % 9;
    Array<double> a = Random(rng, n, k, trial % 3 - 1, trial % 2);
    Array<double> b = Random(rng, k, m, trial % 2, 1 - trial % 3);
    ExpectIdentical(M.MMult(a, b), RefMMult(a, b));
  }
  Array<double> a = Random(rng, 64, 70), b = Random(rng, 70, 33);
  ExpectIdentical(M.MMult(a, b), RefMMult(a, b));
}

TEST(clsMatrixMMultConst, ScalesTheCallersArrayAndReturnsACopy) {
  Array<double> a = Mat(2, 2, {1, 2, 3, 4});
  Array<double> r = M.MMultConst(a, 0.5);
  EXPECT_EQ(a(2, 2), 2.0);
  EXPECT_EQ(a(1, 2), 1.0);
  EXPECT_EQ(r, a);
  r(1, 1) = 99;  // a copy, not the caller's array
  EXPECT_EQ(a(1, 1), 0.5);
  Array<double> big = Mat(1, 1, {1e300});
  ExpectPlain(Caught([&] { M.MMultConst(big, 1e300); }), 6, "MMultConst");
}

TEST(clsMatrixKronecker, BlocksOfScaledCopies) {
  Array<double> k = M.Kronecker(Mat(1, 2, {1, 2}), Mat(2, 2, {1, 2, 3, 4}));
  ASSERT_EQ(k.UBound(1), 2);
  ASSERT_EQ(k.UBound(2), 4);
  // result((i - 1) p + r, (j - 1) q + s) = A(i, j) B(r, s)
  EXPECT_EQ(k(1, 1), 1.0);
  EXPECT_EQ(k(2, 2), 4.0);
  EXPECT_EQ(k(1, 3), 2.0);
  EXPECT_EQ(k(2, 4), 8.0);
  ExpectPlain(Caught([] { M.Kronecker(Array<double>(1, 2), Mat(1, 1, {1})); }), 9, "Kronecker");
}

TEST(clsMatrixSumProduct, CrossProductInIncreasingRows) {
  std::mt19937_64 rng(3);
  Array<double> x = Random(rng, 50, 4), y = Random(rng, 50, 3);
  Array<double> r = M.SumProduct(x, y);
  ASSERT_EQ(r.UBound(1), 4);
  ASSERT_EQ(r.UBound(2), 3);
  for (Long i = 1; i <= 4; ++i)
    for (Long j = 1; j <= 3; ++j) {
      double s = 0;
      for (Long k = 1; k <= 50; ++k) s = s + x(k, i) * y(k, j);
      EXPECT_EQ(std::bit_cast<std::uint64_t>(r(i, j)), std::bit_cast<std::uint64_t>(s));
    }
  // A one-dimensional argument is a single column.
  Array<double> v(1, 2);
  v(1) = 2;
  v(2) = 3;
  Array<double> c = M.SumProduct(v, Mat(2, 2, {1, 10, 100, 1000}));
  ASSERT_EQ(c.UBound(1), 1);
  EXPECT_EQ(c(1, 1), 302.0);
  EXPECT_EQ(c(1, 2), 3020.0);
  ExpectPlain(Caught([&] {
                M.SumProduct(Mat(3, 1, {1, 2, 3}), Mat(2, 1, {1, 2}));
              }),
              9, "SumProduct");
}

// --- sums and differences --------------------------------------------------------

TEST(clsMatrixMAdd, ShapeOfTheSecondArgumentAndVectorsAsColumns) {
  Array<double> s = M.MAdd(Mat(2, 2, {1, 2, 3, 4}), Mat(2, 2, {10, 20, 30, 40}));
  EXPECT_EQ(s(2, 1), 33.0);
  Array<double> d = M.MSubtract(Mat(2, 2, {1, 2, 3, 4}), Mat(2, 2, {10, 20, 30, 40}));
  EXPECT_EQ(d(1, 2), -18.0);
  // A vector serves every column with its element i.
  Array<double> v(1, 2);
  v(1) = 100;
  v(2) = 200;
  Array<double> w = M.MAdd(v, Mat(2, 2, {1, 2, 3, 4}));
  EXPECT_EQ(w(1, 2), 102.0);
  EXPECT_EQ(w(2, 1), 203.0);
  // The result takes Matrix2's shape: a larger first argument is read in
  // part, a smaller one fails.
  Array<double> part = M.MAdd(Mat(2, 2, {1, 2, 3, 4}), Mat(1, 1, {5}));
  EXPECT_EQ(part.UBound(1), 1);
  EXPECT_EQ(part(1, 1), 6.0);
  ExpectPlain(Caught([] { M.MAdd(Mat(1, 1, {1}), Mat(2, 2, {1, 2, 3, 4})); }), 9, "MAdd");
  ExpectPlain(Caught([] { M.MSubtract(Mat(1, 1, {-1e308}), Mat(1, 1, {1e308})); }), 6, "MSubtract");
}

TEST(clsMatrixVariantMSubtract, VariantArithmetic) {
  Array<Variant> a(1, 1, 1, 4), b(1, 1, 1, 4);
  a(1, 1) = Variant(Integer{5});
  b(1, 1) = Variant(Integer{7});
  a(1, 2) = Variant("2.5");
  b(1, 2) = Variant();
  a(1, 3) = Variant(Null);
  b(1, 3) = Variant(1.0);
  a(1, 4) = Variant(Date{100});
  b(1, 4) = Variant(1.5);
  Variant r = M.VariantMSubtract(Variant(a), Variant(b));
  EXPECT_EQ(r.Element(1, 1), Variant(Integer{-2}));
  EXPECT_EQ(r.Element(1, 2), Variant(2.5));
  EXPECT_TRUE(r.Element(1, 3).IsNull());
  EXPECT_EQ(r.Element(1, 4), Variant(Date{98.5}));
  b(1, 2) = Variant("x");
  ExpectPlain(Caught([&] { M.VariantMSubtract(Variant(a), Variant(b)); }), 13, "VariantMSubtract");
  ExpectPlain(Caught([&] { M.VariantMSubtract(Variant(1.0), Variant(b)); }), 13,
              "VariantMSubtract");
}

TEST(clsMatrixMIdentity, OnesOnTheDiagonal) {
  Array<double> i = M.MIdentity(3);
  EXPECT_EQ(i(2, 2), 1.0);
  EXPECT_EQ(i(2, 3), 0.0);
  ExpectPlain(Caught([] { M.MIdentity(0); }), 9, "MIdentity");
}

// --- generalised inverses -----------------------------------------------------------

TEST(clsMatrixGenInv, NegativeDiagonalAfterReductionBecomesZero) {
  // Row reduction leaves D(2, 2) = 1 - 4 = -3; its reciprocal is dropped.
  Array<double> g = M.GenInv(Mat(2, 2, {1, 2, 2, 1}));
  // C D R with D = diag(1, 0), C = [1 -2; 0 1], R = [1 0; -2 1].
  EXPECT_EQ(g(1, 1), 1.0);
  EXPECT_EQ(g(1, 2), 0.0);
  EXPECT_EQ(g(2, 1), 0.0);
  EXPECT_EQ(g(2, 2), 0.0);
}

TEST(clsMatrixGenInv, InverseOfAPositiveDefiniteMatrixAndExactOrder) {
  Array<double> g = M.GenInv(Mat(2, 2, {4, 2, 2, 3}));
  // inverse of [4 2; 2 3] is [3 -2; -2 4] / 8
  EXPECT_DOUBLE_EQ(g(1, 1), 0.375);
  EXPECT_DOUBLE_EQ(g(1, 2), -0.25);
  EXPECT_DOUBLE_EQ(g(2, 2), 0.5);
  std::mt19937_64 rng(5);
  for (int trial = 0; trial < 10; ++trial) {
    Array<double> a = Random(rng, 2 + trial, 2 + trial);
    ExpectIdentical(M.GenInv(a), RefGenInv(a));
  }
}

TEST(clsMatrixGenInv, FailuresOfTheLastStepsAreSwallowed) {
  // A 2 x 3 matrix: C (3 x 3) and D (2 x 3) cannot be multiplied, and that
  // failure is not reported: the result is an unallocated array.
  Array<double> g = M.GenInv(Mat(2, 3, {1, 2, 3, 4, 5, 6}));
  EXPECT_FALSE(g.IsAllocated());
  ExpectPlain(Caught([] { M.GenInv(Array<double>(1, 3)); }), 9, "GenInv");
}

TEST(clsMatrixGeneralInverse, ZeroPivotZeroesItsRowAndColumn) {
  Array<double> g = M.GeneralInverse(Mat(3, 3, {2, 0, 0, 0, 0, 0, 0, 0, 4}));
  EXPECT_EQ(g(1, 1), 0.5);
  EXPECT_EQ(g(3, 3), 0.25);
  for (Long k = 1; k <= 3; ++k) {
    EXPECT_EQ(g(2, k), 0.0);
    EXPECT_EQ(g(k, 2), 0.0);
  }
}

TEST(clsMatrixGeneralInverse, SameDoublesAsTheSweepSteps) {
  std::mt19937_64 rng(7);
  for (int trial = 0; trial < 12; ++trial) {
    const Long n = 1 + trial;
    Array<double> x = Random(rng, n + 3, n);
    // A symmetric matrix: X'X.
    Array<double> s = M.SumProduct(x, x);
    ExpectIdentical(M.GeneralInverse(s), RefGeneralInverse(s, 1e-20));
    ExpectIdentical(M.GeneralInverse(s, Variant(1e-3)), RefGeneralInverse(s, 1e-3));
  }
}

TEST(clsMatrixGeneralInverse, WideMatricesAndBadArguments) {
  // Columns past the square block are only negated.
  Array<double> g = M.GeneralInverse(Mat(1, 2, {2, 5}));
  EXPECT_EQ(g(1, 1), 0.5);
  EXPECT_EQ(g(1, 2), -5.0);
  ExpectPlain(Caught([] { M.GeneralInverse(Mat(2, 1, {1, 2})); }), 9, "GeneralInverse");
  ExpectPlain(Caught([] { M.GeneralInverse(Mat(1, 1, {1}), Variant("x")); }), 13, "GeneralInverse");
}

// --- Max and Min ------------------------------------------------------------------------

TEST(clsMatrixMaxMin, ScanAllElementsRowByRow) {
  EXPECT_EQ(M.Max(Variant(Mat(2, 3, {1, 9, 3, -4, 5, 9}))), 9.0);
  EXPECT_EQ(M.Min(Variant(Mat(2, 3, {1, 9, 3, -4, 5, 9}))), -4.0);
  Array<double> v(1, 3);
  v(1) = 2;
  v(2) = -1;
  v(3) = 7;
  EXPECT_EQ(M.Max(Variant(v)), 7.0);
  EXPECT_EQ(M.Min(Variant(v)), -1.0);
  // Elements of a Variant array convert explicitly.
  Array<Variant> w(1, 1, 1, 3);
  w(1, 1) = Variant("12");
  w(1, 2) = Variant();
  w(1, 3) = Variant(true);
  EXPECT_EQ(M.Max(Variant(w)), 12.0);
  EXPECT_EQ(M.Min(Variant(w)), -1.0);
}

TEST(clsMatrixMaxMin, SingleValuesAndTheFallbackConversion) {
  EXPECT_EQ(M.Max(Variant(4.5)), 4.5);
  EXPECT_EQ(M.Min(Variant("3")), 3.0);
  // A failing scan converts the whole array: 13, passed on as it arose.
  Array<Variant> w(1, 1, 1, 2);
  w(1, 1) = Variant(1.0);
  w(1, 2) = Variant("abc");
  Error e = Caught([&] { M.Max(Variant(w)); });
  EXPECT_EQ(e.Number, 13);
  EXPECT_EQ(e.Source, "ORVMain");
  EXPECT_EQ(Caught([] { M.Min(Variant(Array<double>())); }).Number, 13);
  EXPECT_EQ(Caught([] { M.Max(Variant(Null)); }).Number, 94);
}

}  // namespace
}  // namespace orv
