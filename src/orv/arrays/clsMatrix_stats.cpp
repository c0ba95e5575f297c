// clsMatrix: descriptive statistics, covariance and correlation matrices,
// pooled within-groups sums of squares and cross-products, tolerances.
// Data arrays hold cases in rows and variables in columns.
#include <vector>

#include "orv/arrays/clsMatrix.hpp"
#include "orv/arrays/clsMatrix_detail.hpp"

namespace orv {

namespace {

using detail::Block;
using detail::NewMatrix;
using detail::RowOf;

constexpr Member kGetDescriptives{Rule::Chain, "clsMatrix", "GetDescriptives"};
constexpr Member kCovarianceXY{Rule::Plain, "clsMatrix", "CovarianceXY"};
constexpr Member kCovarianceXX{Rule::Plain, "clsMatrix", "CovarianceXX"};
constexpr Member kCorrelationXX{Rule::Plain, "clsMatrix", "CorrelationXX"};
constexpr Member kCorrelationXY{Rule::Plain, "clsMatrix", "CorrelationXY"};
constexpr Member kFactorSSQCP{Rule::Plain, "clsMatrix", "FactorSSQCP"};
constexpr Member kFactorTolerance{Rule::Plain, "clsMatrix", "FactorTolerance"};

// Tolerances below this are reported as 0.
constexpr double kToleranceFloor = 1e-13;

// Column means with each term divided by n before it is added, rows in
// increasing order; then the deviations from them.
std::vector<double> Centered(const Block<double>& x, Long n, Long p) {
  const double count = n;
  std::vector<double> mean(static_cast<std::size_t>(p), 0.0);
  for (Long i = 1; i <= n; ++i) {
    const double* row = x.row(i);
    for (Long j = 0; j < p; ++j) mean[j] += row[j] / count;
  }
  std::vector<double> centered(static_cast<std::size_t>(n) * static_cast<std::size_t>(p));
  for (Long i = 1; i <= n; ++i) {
    const double* row = x.row(i);
    double* out = centered.data() + static_cast<std::size_t>(i - 1) * p;
    for (Long j = 0; j < p; ++j) out[j] = row[j] - mean[j];
  }
  return centered;
}

// Covariances with divisor n: result(j, k) = the sum over rows of
// (x(i, j) - mx(j)) x (y(i, k) - my(k)) / n, each term divided before it is
// added, rows in increasing order. Rows outermost keep that order for every
// element.
Array<double> CovarianceOf(const Array<double>& xa, const Array<double>& ya) {
  Block<double> x(xa), y(ya);
  const Long n = x.rows(), p = x.cols(), q = y.cols();
  y.Require(n, q);
  Array<double> result = NewMatrix(p, q);
  const std::vector<double> dx = Centered(x, n, p);
  const std::vector<double> dy = &xa == &ya ? dx : Centered(y, n, q);
  const double count = n;
  for (Long i = 0; i < n; ++i) {
    const double* a = dx.data() + static_cast<std::size_t>(i) * p;
    const double* b = dy.data() + static_cast<std::size_t>(i) * q;
    for (Long j = 0; j < p; ++j) {
      double* out = RowOf(result, j + 1);
      const double aj = a[j];
      for (Long k = 0; k < q; ++k) out[k] += aj * b[k] / count;
    }
  }
  detail::RequireFinite(result);
  return result;
}

// D C D with D = diag(1 / sqrt(C(i, i))), as the two full products
// MMult(MMult(D, C), D) give it: every term but one of each sum is a signed
// zero, so each product is 0 + the one term, bit for bit.
Array<double> ScaleToCorrelation(const Array<double>& c) {
  Block<double> C(c);
  const Long p = C.cols();
  C.Require(p, p);
  std::vector<double> d(static_cast<std::size_t>(p));
  for (Long i = 1; i <= p; ++i) d[i - 1] = Div(1.0, Sqrt(C(i, i)));
  if (C.rows() != p)
    Raise(orvErrMatrixMultiply, {}, "Cant multiply matrices, cols of matrix 1 <> rows of matrix 2");
  Array<double> result = NewMatrix(p, p);
  for (Long i = 1; i <= p; ++i) {
    const double* row = C.row(i);
    double* out = RowOf(result, i);
    const double di = d[i - 1];
    for (Long j = 0; j < p; ++j) {
      const double dc = 0.0 + di * row[j];
      out[j] = 0.0 + dc * d[j];
    }
  }
  detail::RequireFinite(result);
  return result;
}

}  // namespace

void clsMatrix::GetDescriptives(const Array<double>& Matrix, ByRef<Array<double>> Means,
                                ByRef<Array<double>> SDs, ByRef<Array<double>> SEs,
                                ByRef<Array<double>> Ns) const {
  Guard(kGetDescriptives, [&](Line& line) {
    line = 10;
    const Long p = Matrix.UBound(2);
    const Long n = Matrix.UBound(1);
    Means->ReDim(1, p);
    SDs->ReDim(1, p);
    SEs->ReDim(1, p);
    Ns->ReDim(1, p);
    Block<double> x(Matrix);
    // Sums for every column at once, rows outermost (each column's own sum
    // still runs over rows 1 To n in order); then the columns are finished
    // one by one, so a failure is met in the column and step it belongs to.
    const std::size_t cols = static_cast<std::size_t>(p);
    std::vector<double> sum(cols, 0.0), count(cols, 0.0), ssq(cols, 0.0);
    for (Long i = 1; i <= n; ++i) {
      const double* row = x.row(i);
      for (std::size_t j = 0; j < cols; ++j) {
        sum[j] += row[j];
        count[j] += 1;
      }
    }
    std::vector<double> mean(cols);
    for (std::size_t j = 0; j < cols; ++j) mean[j] = std::isfinite(sum[j]) ? sum[j] / count[j] : 0;
    for (Long i = 1; i <= n; ++i) {
      const double* row = x.row(i);
      for (std::size_t j = 0; j < cols; ++j) {
        const double d = row[j] - mean[j];
        ssq[j] += d * d;
      }
    }
    for (Long j = 1; j <= p; ++j) {
      const std::size_t k = static_cast<std::size_t>(j - 1);
      line = 20;
      Finite(sum[k]);
      (*Ns)(j) = count[k];
      (*Means)(j) = Div(sum[k], count[k]);
      line = 30;
      Finite(ssq[k]);
      (*SDs)(j) = Sqrt(Div(ssq[k], count[k] - 1));
      line = 40;
      (*SEs)(j) = Div((*SDs)(j), Sqrt(count[k]));
    }
  });
}

Array<double> clsMatrix::CovarianceXY(const Array<double>& x, const Array<double>& Y) const {
  return Guard(kCovarianceXY, [&](Line&) { return CovarianceOf(x, Y); });
}

Array<double> clsMatrix::CovarianceXX(const Array<double>& x) const {
  return Guard(kCovarianceXX, [&](Line&) { return CovarianceOf(x, x); });
}

Array<double> clsMatrix::CorrelationXX(const Array<double>& Matrix, Boolean CovarMatrix) const {
  return Guard(kCorrelationXX, [&](Line&) {
    if (CovarMatrix) {
      Block<double> m(Matrix);
      return ScaleToCorrelation(detail::CopyBlock(m, m.rows(), m.cols()));
    }
    return ScaleToCorrelation(CovarianceXX(Matrix));
  });
}

Array<double> clsMatrix::CorrelationXY(const Array<double>& Matrix1,
                                       const Array<double>& Matrix2) const {
  return Guard(kCorrelationXY, [&](Line&) {
    // A one-dimensional argument is one variable, as HConcatenate takes it.
    const Long p = Matrix1.Rank() == 1 ? 1 : Matrix1.UBound(2);
    const Long q = Matrix2.Rank() == 1 ? 1 : Matrix2.UBound(2);
    Array<double> r = ScaleToCorrelation(CovarianceXX(HConcatenate(Matrix1, Matrix2)));
    return SubMatrix(r, p + 1, 1, q, p);
  });
}

Array<double> clsMatrix::FactorSSQCP(const Array<double>& Matrix, const Variant& GroupSizes) const {
  return Guard(kFactorSSQCP, [&](Line&) {
    Block<double> x(Matrix);
    const Long p = x.cols();
    Array<double> result = NewMatrix(p, p);

    // The first pair of variables, exactly as every pair is computed: it
    // meets any fault of the group sizes (a size that is no number, a group
    // past the last row, an empty group dividing 0 by 0) first, as it would
    // with the pairs taken one by one.
    std::vector<Long> sizes;
    {
      const Long g = GroupSizes.UBound(1);
      std::int64_t offset = 0;
      double T = 0, G = 0;
      for (Long h = 1; h <= g; ++h) {
        const Long nh = CLng(GroupSizes.Element(h));
        sizes.push_back(nh);
        double sj = 0, sk = 0;
        for (std::int64_t r = offset + 1; r <= offset + nh; ++r) {
          if (r < 1 || r > x.rows()) Raise(kErrSubscript);
          const double v = x(static_cast<Long>(r), 1);
          T = Add(T, Mul(v, v));
          sj = Add(sj, v);
          sk = Add(sk, v);
        }
        G = Add(G, Div(Mul(sk, sj), nh));
        offset += nh;
      }
      Sub(T, G);
    }

    // All pairs, rows outermost: T(j, k) still adds x(r, j) x x(r, k) over
    // the rows in the order the groups visit them, and G(j, k) adds
    // Sk x Sj / nh group by group. Both are symmetric bit for bit, so only
    // the upper triangle is computed.
    const std::size_t np = static_cast<std::size_t>(p);
    std::vector<double> T(np * np, 0.0), G(np * np, 0.0), S(np);
    std::int64_t offset = 0;
    for (Long nh : sizes) {
      std::fill(S.begin(), S.end(), 0.0);
      for (std::int64_t r = offset + 1; r <= offset + nh; ++r) {
        const double* row = x.row(static_cast<Long>(r));
        for (std::size_t j = 0; j < np; ++j) {
          const double xj = row[j];
          double* t = T.data() + j * np;
          for (std::size_t k = j; k < np; ++k) t[k] += xj * row[k];
          S[j] += xj;
        }
      }
      const double size = nh;
      for (std::size_t j = 0; j < np; ++j) {
        double* g = G.data() + j * np;
        for (std::size_t k = j; k < np; ++k) g[k] += S[k] * S[j] / size;
      }
      offset += nh;
    }
    for (std::size_t j = 0; j < np; ++j) {
      double* out = RowOf(result, static_cast<Long>(j) + 1);
      for (std::size_t k = j; k < np; ++k) out[k] = T[j * np + k] - G[j * np + k];
      for (std::size_t k = 0; k < j; ++k)
        out[k] = result.At(static_cast<Long>(k) + 1, static_cast<Long>(j) + 1);
    }
    detail::RequireFinite(T.data(), T.size());
    detail::RequireFinite(G.data(), G.size());
    detail::RequireFinite(result);
    return result;
  });
}

Array<double> clsMatrix::FactorTolerance(const Array<double>& Matrix,
                                         const Variant& GroupSizes) const {
  return Guard(kFactorTolerance, [&](Line&) {
    Array<double> W = FactorSSQCP(Matrix, GroupSizes);
    Array<double> Wi = GeneralInverse(W);
    for (double& v : Wi.storage()) v = -v;
    const Long p = W.UBound(1);
    Array<double> tolerance(1, p);
    for (Long i = 1; i <= p; ++i) {
      const double w = W.At(i, i), wi = Wi.At(i, i);
      double t = 0;
      if (w != 0 && wi != 0) t = Div(-1.0, Mul(wi, w));
      if (t < kToleranceFloor) t = 0;
      tolerance.At(i) = t;
    }
    return tolerance;
  });
}

}  // namespace orv
