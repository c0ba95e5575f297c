// Statistics of the columns of a CMatrix (rows are cases, columns
// variables): running means, descriptives, covariance and correlation.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "orv/matrix/CMatrix.hpp"
#include "orv/matrix/CMatrix_state.hpp"
#include "orv/matrix/multiply.hpp"

namespace orv {

namespace {

constexpr Member kMeans{Rule::Plain, "CMatrix", "Means"};
constexpr Member kDescriptives{Rule::Plain, "CMatrix", "Descriptives"};
constexpr Member kCovariance{Rule::Plain, "CMatrix", "Covariance"};
constexpr Member kCorrelation{Rule::Plain, "CMatrix", "Correlation"};

// Rows of data per block of centred values in the cross products: about
// 64 KiB of doubles, so a block stays in cache while every pair of
// variables runs over it.
constexpr std::size_t kBlockElements = 8192;

// One weight per case: column 1 of the weight matrix, or 1 for every case.
class Weights {
 public:
  Weights() = default;
  Weights(const Array<double>& weights, Long rows) : values_(static_cast<std::size_t>(rows)) {
    for (Long i = 1; i <= rows; ++i) values_[static_cast<std::size_t>(i - 1)] = weights.At(i, 1);
    unit_ = false;
  }
  double operator[](std::size_t i) const { return unit_ ? 1.0 : values_[i]; }

 private:
  std::vector<double> values_;
  bool unit_ = true;
};

// Zero while every value is finite, NaN otherwise; vectorises where a
// branch per element would not.
inline double NonFinite(const double* values, std::size_t n) {
  double acc = 0.0;
  for (std::size_t k = 0; k < n; ++k) acc += values[k] - values[k];
  return acc;
}

inline void RequireFinite(const double* values, std::size_t n) {
  if (NonFinite(values, n) != 0.0) Raise(kErrOverflow);
}

// C(j, k), j <= k < c, accumulates ((x(i,k) - mu(k)) * (x(i,j) - mu(j))) / n
// over the rows i in order; then the lower triangle is mirrored. The two
// products are the same double (multiplication commutes exactly), so the
// mirror is what the full loop would compute.
void SymmetricCrossProducts(const double* x, std::size_t rows, std::size_t c, const double* mu,
                            double n, double* C) {
  const std::size_t block = std::max<std::size_t>(16, kBlockElements / c);
  std::vector<double> centred(block * c);
  for (std::size_t i0 = 0; i0 < rows; i0 += block) {
    const std::size_t count = std::min(block, rows - i0);
    for (std::size_t b = 0; b < count; ++b) {
      const double* xi = x + (i0 + b) * c;
      double* zb = centred.data() + b * c;
      for (std::size_t k = 0; k < c; ++k) zb[k] = xi[k] - mu[k];
    }
    for (std::size_t j = 0; j < c; ++j)
      kernels::AddScaledProducts(C + j * c + j, c - j, centred.data() + j, c, centred.data() + j, c,
                                 count, n, BestInstructionSet());
  }
  for (std::size_t j = 0; j < c; ++j)
    for (std::size_t k = j + 1; k < c; ++k) C[k * c + j] = C[j * c + k];
}

// C(j, k) accumulates ((x(i,j) - mux(j)) * (y(i,k) - muy(k))) / n over the
// rows i in order.
void CrossProducts(const double* x, std::size_t cx, const double* mux, const double* y,
                   std::size_t cy, const double* muy, std::size_t rows, double n, double* C) {
  const std::size_t block = std::max<std::size_t>(16, kBlockElements / (cx + cy));
  std::vector<double> zx(block * cx), zy(block * cy);
  for (std::size_t i0 = 0; i0 < rows; i0 += block) {
    const std::size_t count = std::min(block, rows - i0);
    for (std::size_t b = 0; b < count; ++b) {
      for (std::size_t j = 0; j < cx; ++j) zx[b * cx + j] = x[(i0 + b) * cx + j] - mux[j];
      for (std::size_t k = 0; k < cy; ++k) zy[b * cy + k] = y[(i0 + b) * cy + k] - muy[k];
    }
    for (std::size_t j = 0; j < cx; ++j)
      kernels::AddScaledProducts(C + j * cy, cy, zy.data(), cy, zx.data() + j, cx, count, n,
                                 BestInstructionSet());
  }
}

}  // namespace

CMatrix CMatrix::Means(const CMatrix& CaseWeights) const {
  const State& s = *state_;
  return Guard(kMeans, [&](Line& line) {
    line = 10;
    const Long r = s.rows;
    const std::size_t c = static_cast<std::size_t>(s.columns);
    Weights w;
    if (!CaseWeights.IsNothing()) {
      const State& ws = *CaseWeights.state_;
      if (ws.rows != r) Raise(kErrSubscript);
      w = Weights(ws.data, r);
    }
    if (r < 1) Raise(kErrSubscript);
    line = 20;
    const double* x = s.data.data();
    std::vector<double> m(x, x + c);
    double W = w[0];
    for (std::size_t i = 1; i < static_cast<std::size_t>(r); ++i) {
      const double wi = w[i];
      W = orv::Add(W, wi);
      if (W > 0) {
        const double f = Div(wi, W);
        const double* xi = x + i * c;
        for (std::size_t j = 0; j < c; ++j) m[j] = (xi[j] - m[j]) * f + m[j];
        RequireFinite(m.data(), c);
      } else {
        std::fill(m.begin(), m.end(), 0.0);
      }
    }
    line = 30;
    Array<double> result(1, s.columns, 1, 1);
    std::copy(m.begin(), m.end(), result.data());
    return FromArray(std::move(result));
  });
}

void CMatrix::Descriptives(CMatrix Means, CMatrix SDs, CMatrix SEs, CMatrix Counts,
                           const CMatrix& CaseWeights) const {
  const State& s = *state_;
  Guard(kDescriptives, [&](Line& line) {
    line = 10;
    const Long r = s.rows;
    const std::size_t c = static_cast<std::size_t>(s.columns);
    Weights w;
    if (CaseWeights.IsNothing()) {
      if (r < 1) Raise(kErrSubscript);
    } else {
      const State& ws = *CaseWeights.state_;
      if (ws.rows != r) Raise(kErrSubscript);
      w = Weights(ws.data, r);
    }
    line = 20;
    const double* x = s.data.data();
    std::vector<double> m(c, 0.0), t(c, 0.0);
    double W = 0.0;
    Long n = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(r); ++i) {
      const double wi = w[i];
      W = orv::Add(W, wi);
      if (wi != 0) ++n;
      const double* xi = x + i * c;
      if (W == 0) {
        // The first term of the row is formed before the weight ratio.
        if (c > 0) Sub(xi[0], m[0]);
        RaiseDivision(wi);
      }
      const double f = Div(wi, W);
      for (std::size_t j = 0; j < c; ++j) {
        const double previous = m[j];
        const double deviation = xi[j] - previous;
        m[j] = deviation * f + previous;
        t[j] = deviation * wi * (xi[j] - m[j]) + t[j];
      }
      RequireFinite(m.data(), c);
      RequireFinite(t.data(), c);
    }
    line = 30;
    const double f = Div(static_cast<double>(n), static_cast<double>(n) - 1.0);
    line = 40;
    Means.SetSize(s.columns, 1);
    SDs.SetSize(s.columns, 1);
    SEs.SetSize(s.columns, 1);
    Counts.SetSize(s.columns, 1);
    line = 50;
    for (std::size_t j = 0; j < c; ++j) {
      const Long item = static_cast<Long>(j + 1);
      Means.LetItem(item, 1, m[j]);
      Counts.LetItem(item, 1, n);
      if (n < 1) {
        SDs.LetItem(item, 1, 0.0);
        SEs.LetItem(item, 1, 0.0);
      } else {
        const double sd = Sqrt(Mul(Div(t[j], W), f));
        SDs.LetItem(item, 1, sd);
        SEs.LetItem(item, 1, Div(sd, Sqrt(static_cast<double>(n))));
      }
    }
  });
}

CMatrix CMatrix::Covariance(const CMatrix& Y) const {
  const State& s = *state_;
  return Guard(kCovariance, [&](Line& line) {
    line = 10;
    const Long n = s.rows;
    if (n < 2) Raise(kErrCantPerform, {}, "Covariance needs at least 2 rows");
    const std::size_t rows = static_cast<std::size_t>(n);
    const std::size_t c = static_cast<std::size_t>(s.columns);
    Array<double> C;
    if (Y.IsNothing()) {
      line = 20;
      const CMatrix mu = Means();
      line = 30;
      C.ReDim(1, s.columns, 1, s.columns);
      SymmetricCrossProducts(s.data.data(), rows, c, mu.state_->data.data(), static_cast<double>(n),
                             C.data());
    } else {
      line = 40;
      const State& ys = *Y.state_;
      if (ys.rows != n) Raise(kErrSubscript, {}, "Matrix Row Count Mismatch");
      line = 50;
      const CMatrix mux = Means();
      const CMatrix muy = Y.Means();
      line = 60;
      C.ReDim(1, s.columns, 1, ys.columns);
      CrossProducts(s.data.data(), c, mux.state_->data.data(), ys.data.data(),
                    static_cast<std::size_t>(ys.columns), muy.state_->data.data(), rows,
                    static_cast<double>(n), C.data());
    }
    RequireFinite(C.data(), C.size());
    line = 70;
    return FromArray(std::move(C))
        .MultiplyByConstant(static_cast<double>(n) / static_cast<double>(n - 1));
  });
}

CMatrix CMatrix::Correlation(const CMatrix& Y, Boolean IsCovar) const {
  const State& s = *state_;
  try {
    return Guard(kCorrelation, [&](Line& line) {
      line = 10;
      const Long c = s.columns;
      Long cY = 0;
      CMatrix S(Nothing);
      if (!Y.IsNothing()) {
        if (Y.RowCount() != s.rows) Raise(kErrSubscript, {}, "Matrix Row Count Mismatch");
        cY = Y.ColumnCount();
        S = Concatenate(Y).Covariance();
      } else if (IsCovar) {
        if (!IsSquare()) Raise(kErrSubscript, {}, "Matrix isn't Square");
        S = *this;
      } else {
        S = Covariance();
      }
      line = 20;
      const Long k = S.RowCount();
      CMatrix D;
      D.SetSize(k, k);
      for (Long i = 1; i <= k; ++i) D.LetItem(i, i, Div(1.0, Sqrt(S.Item(i, i))));
      line = 30;
      CMatrix R = D.Multiply(S).Multiply(D);
      line = 40;
      if (!Y.IsNothing()) return R.SubMatrix(1, c + 1, c, cY);
      return R;
    });
  } catch (Error& error) {
    // A zero variance is the only division by zero on the way.
    if (error.Number == kErrDivisionByZero) {
      error.Number = orvErrNoVariableVariance;
      error.Description = "One or more variables are a constant";
      error.Source = "ORVMain.CMatrix.Correlation";
    }
    throw;
  }
}

}  // namespace orv
