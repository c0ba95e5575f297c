#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "clsMatrix_test_util.hpp"
#include "orv/arrays/clsMatrix.hpp"

namespace orv {
namespace {

using namespace orv::test;

// A random symmetric positive-definite n x n matrix: X'X + n I.
Array<double> RandomSpd(std::mt19937_64& rng, Long n) {
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<double> x(static_cast<std::size_t>(n) * n);
  for (double& v : x) v = u(rng);
  Array<double> a(1, n, 1, n);
  for (Long i = 1; i <= n; ++i)
    for (Long j = 1; j <= n; ++j) {
      double s = i == j ? n : 0.0;
      for (Long k = 0; k < n; ++k) s += x[k * n + (i - 1)] * x[k * n + (j - 1)];
      a(i, j) = s;
    }
  return a;
}

const clsMatrix M;

// --- Cholesky ----------------------------------------------------------------------

Array<double> RefCholesky(const Array<double>& A) {
  const Long n = A.UBound(1);
  Array<double> L(1, n, 1, n);
  L(1, 1) = std::sqrt(A(1, 1));
  for (Long i = 2; i <= n; ++i) L(i, 1) = A(i, 1) / L(1, 1);
  for (Long j = 2; j <= n; ++j) {
    double s = 0;
    for (Long k = 1; k < j; ++k) s = s + L(j, k) * L(j, k);
    L(j, j) = std::sqrt(std::fabs(A(j, j) - s));
    for (Long i = j + 1; i <= n; ++i) {
      s = 0;
      for (Long k = 1; k < j; ++k) s = s + L(i, k) * L(j, k);
      L(i, j) = (A(i, j) - s) / L(j, j);
    }
  }
  return L;
}

TEST(clsMatrixCholesky, LowerFactorInTheDocumentedOrder) {
  Array<double> L = M.Cholesky(Mat(2, 2, {4, 2, 2, 5}));
  EXPECT_EQ(L(1, 1), 2.0);
  EXPECT_EQ(L(2, 1), 1.0);
  EXPECT_EQ(L(2, 2), 2.0);
  EXPECT_EQ(L(1, 2), 0.0);
  std::mt19937_64 rng(4);
  for (Long n = 1; n <= 12; ++n) {
    Array<double> a = RandomSpd(rng, n);
    ExpectIdentical(M.Cholesky(a), RefCholesky(a));
  }
}

TEST(clsMatrixCholesky, NotPositiveDefiniteStillGivesAFactor) {
  // sqrt(|1 - 4|) on the diagonal instead of a failure.
  Array<double> L = M.Cholesky(Mat(2, 2, {1, 2, 2, 1}));
  EXPECT_EQ(L(2, 1), 2.0);
  EXPECT_EQ(L(2, 2), std::sqrt(3.0));
}

TEST(clsMatrixCholesky, Failures) {
  ExpectPlain(Caught([] { M.Cholesky(Mat(2, 2, {-1, 0, 0, 1})); }), 5, "Cholesky");
  // A zero diagonal element is divided by: x / 0 is 11, 0 / 0 is 6.
  ExpectPlain(Caught([] { M.Cholesky(Mat(2, 2, {0, 1, 1, 1})); }), 11, "Cholesky");
  ExpectPlain(Caught([] { M.Cholesky(Mat(2, 2, {0, 0, 0, 1})); }), 6, "Cholesky");
  ExpectPlain(Caught([] { M.Cholesky(Mat(3, 3, {1, 1, 0, 1, 1, 0, 0, 1, 1})); }), 11, "Cholesky");
  ExpectPlain(Caught([] { M.Cholesky(Mat(3, 3, {1, 1, 0, 1, 1, 0, 0, 0, 1})); }), 6, "Cholesky");
  ExpectPlain(Caught([] { M.Cholesky(Mat(2, 1, {1, 2})); }), 9, "Cholesky");
  ExpectPlain(Caught([] { M.Cholesky(Array<double>()); }), 9, "Cholesky");
}

// --- MInv_SymmetricPositiveDefinite --------------------------------------------------

// The inverse from the upper factor in the order the implementation
// documents: U^-1 column by column, then U^-1 U^-T row by row.
Array<double> RefInverse(Array<double> a) {
  const Long n = a.UBound(1);
  for (Long j = 1; j <= n; ++j) {
    double s = 0;
    for (Long k = 1; k < j; ++k) s = s + a(k, j) * a(k, j);
    a(j, j) = std::sqrt(a(j, j) - s);
    for (Long i = j + 1; i <= n; ++i) {
      s = 0;
      for (Long k = 1; k < j; ++k) s = s + a(k, j) * a(k, i);
      a(j, i) = (a(j, i) - s) * (1 / a(j, j));
    }
  }
  Array<double> t(1, n, 1, n);
  for (Long j = 1; j <= n; ++j) {
    t(j, j) = 1 / a(j, j);
    for (Long i = 1; i < j; ++i) {
      double s = 0;
      for (Long k = i; k < j; ++k) s = s + t(i, k) * a(k, j);
      t(i, j) = s * -t(j, j);
    }
  }
  Array<double> r(1, n, 1, n);
  for (Long i = 1; i <= n; ++i)
    for (Long j = i; j <= n; ++j) {
      double s = 0;
      for (Long k = j; k <= n; ++k) s = s + t(i, k) * t(j, k);
      r(i, j) = r(j, i) = s;
    }
  return r;
}

TEST(clsMatrixMInvSpd, InvertsInPlace) {
  Array<double> a = Mat(2, 2, {4, 2, 2, 3});
  EXPECT_TRUE(M.MInv_SymmetricPositiveDefinite(a));
  EXPECT_DOUBLE_EQ(a(1, 1), 0.375);
  EXPECT_DOUBLE_EQ(a(1, 2), -0.25);
  EXPECT_DOUBLE_EQ(a(2, 1), -0.25);
  EXPECT_DOUBLE_EQ(a(2, 2), 0.5);

  std::mt19937_64 rng(6);
  for (Long n = 1; n <= 15; ++n) {
    const Array<double> original = RandomSpd(rng, n);
    Array<double> inverse = original;
    ASSERT_TRUE(M.MInv_SymmetricPositiveDefinite(inverse));
    ExpectIdentical(inverse, RefInverse(original));
    // A times its inverse is the identity.
    for (Long i = 1; i <= n; ++i)
      for (Long j = 1; j <= n; ++j) {
        double s = 0;
        for (Long k = 1; k <= n; ++k) s += original(i, k) * inverse(k, j);
        EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-12);
      }
  }
}

TEST(clsMatrixMInvSpd, FalseInsteadOfAFailure) {
  Array<double> indefinite = Mat(2, 2, {1, 2, 2, 1});
  EXPECT_FALSE(M.MInv_SymmetricPositiveDefinite(indefinite));
  Array<double> zero = Mat(1, 1, {0});
  EXPECT_FALSE(M.MInv_SymmetricPositiveDefinite(zero));
  Array<double> none;
  EXPECT_FALSE(M.MInv_SymmetricPositiveDefinite(none));
  Array<double> vector(1, 2);
  EXPECT_FALSE(M.MInv_SymmetricPositiveDefinite(vector));
  Array<double> narrow = Mat(2, 1, {1, 1});
  EXPECT_FALSE(M.MInv_SymmetricPositiveDefinite(narrow));
  Array<double> huge = Mat(2, 2, {1e-300, 1e300, 1e300, 1});
  EXPECT_FALSE(M.MInv_SymmetricPositiveDefinite(huge));
}

// --- Eigen ------------------------------------------------------------------------------

// Cyclic Jacobi as documented, on the upper triangle only.
Array<double> RefEigen(const Array<double>& eig) {
  const Long n = eig.UBound(1);
  Array<double> a = eig, v(1, n, 1, n);
  std::vector<double> b(n + 1), d(n + 1), z(n + 1, 0.0);
  for (Long i = 1; i <= n; ++i) {
    v(i, i) = 1;
    b[i] = d[i] = a(i, i);
  }
  auto rotate = [](double& u, double& w, double s, double tau) {
    const double e = u, k = w;
    u = e - s * (k + e * tau);
    w = k + s * (e - k * tau);
  };
  for (int m = 1; m <= 50; ++m) {
    double sm = 0;
    for (Long p = 1; p < n; ++p)
      for (Long q = p + 1; q <= n; ++q) sm = sm + std::fabs(a(p, q));
    if (sm < 1e-12) {
      Array<double> r(1, n + 1, 1, n);
      for (Long k = 1; k <= n; ++k) {
        r(1, k) = d[k];
        for (Long i = 1; i <= n; ++i) r(i + 1, k) = v(i, k);
      }
      return r;
    }
    const double tresh = m < 4 ? 0.2 * sm / (static_cast<double>(n) * n) : 0.0;
    for (Long p = 1; p < n; ++p)
      for (Long q = p + 1; q <= n; ++q) {
        const double g = 100 * std::fabs(a(p, q));
        if (m > 4 && std::fabs(d[p]) + g == std::fabs(d[p]) &&
            std::fabs(d[q]) + g == std::fabs(d[q])) {
          a(p, q) = 0;
        } else if (std::fabs(a(p, q)) > tresh) {
          double h = d[q] - d[p], t;
          if (std::fabs(h) + g == std::fabs(h)) {
            t = a(p, q) / h;
          } else {
            const double theta = 0.5 * h / a(p, q);
            t = 1 / (std::fabs(theta) + std::sqrt(1 + theta * theta));
            if (theta < 0) t = -t;
          }
          const double c = 1 / std::sqrt(1 + t * t), s = t * c, tau = s / (1 + c);
          h = t * a(p, q);
          z[p] -= h;
          z[q] += h;
          d[p] -= h;
          d[q] += h;
          a(p, q) = 0;
          for (Long j = 1; j < p; ++j) rotate(a(j, p), a(j, q), s, tau);
          for (Long j = p + 1; j < q; ++j) rotate(a(p, j), a(j, q), s, tau);
          for (Long j = q + 1; j <= n; ++j) rotate(a(p, j), a(q, j), s, tau);
          for (Long j = 1; j <= n; ++j) rotate(v(j, p), v(j, q), s, tau);
        }
      }
    for (Long i = 1; i <= n; ++i) {
      b[i] += z[i];
      d[i] = b[i];
      z[i] = 0;
    }
  }
  return Array<double>();
}

TEST(clsMatrixEigen, DiagonalMatrixConvergesAtOnce) {
  Array<double> r = M.Eigen(Mat(2, 2, {3, 0, 0, -1}));
  ASSERT_EQ(r.UBound(1), 3);
  ASSERT_EQ(r.UBound(2), 2);
  EXPECT_EQ(r(1, 1), 3.0);
  EXPECT_EQ(r(1, 2), -1.0);
  EXPECT_EQ(r(2, 1), 1.0);
  EXPECT_EQ(r(3, 1), 0.0);
  EXPECT_EQ(r(2, 2), 0.0);
  EXPECT_EQ(r(3, 2), 1.0);
}

TEST(clsMatrixEigen, SameDoublesAsTheRotationSteps) {
  std::mt19937_64 rng(13);
  for (Long n = 2; n <= 10; ++n) {
    Array<double> a = RandomSpd(rng, n);
    a(n, 1) = 1234.5;  // the lower triangle is never read
    Array<double> r = M.Eigen(a);
    ExpectIdentical(r, RefEigen(a));
    // Column k: eigenvalue on top, then its vector.
    a(n, 1) = a(1, n);
    for (Long k = 1; k <= n; ++k)
      for (Long i = 1; i <= n; ++i) {
        double av = 0;
        for (Long j = 1; j <= n; ++j) av += a(i, j) * r(j + 1, k);
        EXPECT_NEAR(av, r(1, k) * r(i + 1, k), 1e-9);
      }
  }
}

TEST(clsMatrixEigen, BadArgumentsLeaveAsTheyArose) {
  // No handler: a platform error keeps the platform's source.
  Error n = Caught([] { M.Eigen(Mat(2, 1, {1, 2})); });
  EXPECT_EQ(n.Number, 9);
  EXPECT_EQ(n.Source, "ORVMain");
  EXPECT_EQ(Caught([] { M.Eigen(Array<double>(1, 2)); }).Number, 9);
}

// --- determinant -------------------------------------------------------------------------

TEST(clsMatrixDeterminant, EliminationInPlace) {
  Variant m(Mat(2, 2, {2, 1, 4, 5}));
  EXPECT_EQ(M.determinant(m), 6.0);
  // The caller's array holds the reduced matrix.
  EXPECT_EQ(m.Element(2, 1), Variant(0.0));
  EXPECT_EQ(m.Element(2, 2), Variant(3.0));
  Variant one(Mat(1, 1, {-2.5}));
  EXPECT_EQ(M.determinant(one), -2.5);
}

TEST(clsMatrixDeterminant, ZeroColumnAndRowSwap) {
  Variant zero(Mat(3, 3, {0, 1, 2, 0, 3, 4, 0, 5, 7}));
  EXPECT_EQ(M.determinant(zero), 0.0);
  Variant swap(Mat(2, 2, {0, 1, 1, 0}));
  EXPECT_EQ(M.determinant(swap), -1.0);
  Variant unswapped(Mat(2, 2, {1, 0, 0, 1}));
  EXPECT_EQ(M.determinant(unswapped), 1.0);
}

TEST(clsMatrixDeterminant, VariantArraysAndBadArguments) {
  Array<Variant> v(1, 2, 1, 2);
  v(1, 1) = Variant(Integer{3});
  v(1, 2) = Variant("1");
  v(2, 1) = Variant(6.0);
  v(2, 2) = Variant();
  Variant m(v);
  EXPECT_EQ(M.determinant(m), -6.0);
  EXPECT_EQ(m.Element(2, 2), Variant(-2.0));

  Error text = Caught([] { M.determinant(Variant(1.0)); });
  EXPECT_EQ(text.Number, 13);
  EXPECT_EQ(text.Source, "ORVMain");
  EXPECT_EQ(Caught([] { M.determinant(Variant(Mat(2, 1, {1, 2}))); }).Number, 9);
  // The row count is a 16-bit integer.
  EXPECT_EQ(Caught([] { M.determinant(Variant(Array<double>(1, 40000, 1, 1))); }).Number, 6);
}

}  // namespace
}  // namespace orv
