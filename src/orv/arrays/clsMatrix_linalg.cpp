// clsMatrix: products, sums, generalised inverses, largest and smallest
// element of plain arrays.
#include <algorithm>
#include <variant>
#include <vector>

#include "orv/arrays/clsMatrix.hpp"
#include "orv/arrays/clsMatrix_detail.hpp"
#include "orv/matrix/sweep.hpp"

namespace orv {

namespace {

using detail::Block;
using detail::NewMatrix;
using detail::RowOf;
using detail::ToLong;

constexpr Member kMMult{Rule::Plain, "clsMatrix", "MMult"};
constexpr Member kMMultConst{Rule::Plain, "clsMatrix", "MMultConst"};
constexpr Member kMAdd{Rule::Plain, "clsMatrix", "MAdd"};
constexpr Member kMSubtract{Rule::Plain, "clsMatrix", "MSubtract"};
constexpr Member kVariantMSubtract{Rule::Plain, "clsMatrix", "VariantMSubtract"};
constexpr Member kKronecker{Rule::Plain, "clsMatrix", "Kronecker"};
constexpr Member kSumProduct{Rule::Plain, "clsMatrix", "SumProduct"};
constexpr Member kMIdentity{Rule::Plain, "clsMatrix", "MIdentity"};
constexpr Member kGenInv{Rule::Plain, "clsMatrix", "GenInv"};
constexpr Member kRowOps{Rule::Plain, "clsMatrix", "RowOps"};
constexpr Member kColumnOps{Rule::Plain, "clsMatrix", "ColumnOps"};
constexpr Member kGeneralInverse{Rule::Plain, "clsMatrix", "GeneralInverse"};

constexpr double kGenInvTolerance = 1e-20;
constexpr double kGeneralInverseZero = 1e-20;

// --- element-wise sums and differences --------------------------------------

// An argument of MAdd and its siblings: a two-dimensional array, or a
// one-dimensional one standing for a column (its element i serves every
// column j).
template <class T>
struct Operand {
  explicit Operand(const Array<T>& a) : array(a) {
    rows = a.UBound(1);
    cols = a.Rank() == 1 ? 1 : a.UBound(2);
    vector = a.Rank() == 1;
  }
  const T& at(Long i, Long j) const { return vector ? array(i) : array(i, j); }
  const Array<T>& array;
  Long rows, cols;
  bool vector;
};

template <class Op>
Array<double> ElementWise(const Array<double>& m1, const Array<double>& m2, Op op) {
  Operand<double> a(m1), b(m2);
  const Long rows = b.rows, cols = b.cols;
  Array<double> result = NewMatrix(rows, cols);
  if (!a.vector && !b.vector) {
    // Both blocks in place: read them directly, row by row.
    Block<double> x(m1), y(m2);
    x.Require(rows, cols);
    for (Long i = 1; i <= rows; ++i) {
      const double* xr = x.row(i);
      const double* yr = y.row(i);
      double* out = RowOf(result, i);
      for (Long j = 0; j < cols; ++j) out[j] = op(xr[j], yr[j]);
    }
  } else {
    for (Long i = 1; i <= rows; ++i)
      for (Long j = 1; j <= cols; ++j) result.At(i, j) = op(a.at(i, j), b.at(i, j));
  }
  detail::RequireFinite(result);
  return result;
}

// The interface's subtraction of two Variants. A Null operand gives Null;
// integers subtract exactly into the narrowest of Integer, Long and Double
// that holds the difference; two Currencies give a Currency; a Date minus a
// number is a Date, a Date minus a Date a Double; anything else is the
// difference of the two values converted to Double. Text that is no number,
// error values, objects and arrays are 13; a Double overflow is 6.
Variant VariantDifference(const Variant& a, const Variant& b) {
  auto incomparable = [](const Variant& v) { return v.IsError() || v.IsObject() || v.IsArray(); };
  if (incomparable(a) || incomparable(b)) Raise(kErrTypeMismatch);
  if (a.IsNull() || b.IsNull()) return Variant(Null);
  auto integral = [](const Variant& v) {
    return v.IsEmpty() || v.IsBoolean() || v.Type() == VarType::Integer ||
           v.Type() == VarType::Long;
  };
  auto integral_value = [](const Variant& v) -> std::int64_t {
    switch (v.Type()) {
      case VarType::Integer:
        return v.AsInteger();
      case VarType::Long:
        return v.AsLong();
      case VarType::Boolean:
        return v.AsBoolean() ? -1 : 0;
      default:
        return 0;
    }
  };
  if (integral(a) && integral(b)) {
    std::int64_t d = integral_value(a) - integral_value(b);
    bool wide = a.Type() == VarType::Long || b.Type() == VarType::Long;
    if (!wide && d >= INT16_MIN && d <= INT16_MAX) return Variant(static_cast<Integer>(d));
    if (d >= INT32_MIN && d <= INT32_MAX) return Variant(static_cast<Long>(d));
    return Variant(static_cast<double>(d));
  }
  if (a.Type() == VarType::Currency && b.Type() == VarType::Currency) {
    std::int64_t x = a.AsCurrency().scaled, y = b.AsCurrency().scaled, d;
    if (__builtin_sub_overflow(x, y, &d)) Raise(kErrOverflow);
    return Variant(Currency{d});
  }
  double d = Sub(CDbl(a), CDbl(b));
  bool date_a = a.Type() == VarType::Date, date_b = b.Type() == VarType::Date;
  if (date_a != date_b && date_a) return Variant(Date{d});
  return Variant(d);
}

// --- GenInv ------------------------------------------------------------------

// Row reduction of D, the same row operations applied to R.
void RowOps(Array<double>& D, Array<double>& R) {
  Guard(kRowOps, [&](Line& line) {
    line = 10;
    const Long n = D.UBound(1), d_cols = D.UBound(2), r_cols = R.UBound(2);
    for (Long j = 2; j <= n; ++j) {
      for (Long i = j; i <= n; ++i) {
        line = 20;
        const double pivot = D(j - 1, j - 1);
        if (pivot == 0) break;
        const double f = Div(D(i, j - 1), pivot);
        line = 30;
        for (Long c = j - 1; c <= d_cols; ++c) D(i, c) = Sub(D(i, c), Mul(f, D(j - 1, c)));
        line = 40;
        for (Long c = 1; c <= r_cols; ++c) R(i, c) = Sub(R(i, c), Mul(f, R(j - 1, c)));
      }
    }
  });
}

// Column reduction of D, the same column operations applied to C.
void ColumnOps(Array<double>& D, Array<double>& C) {
  Guard(kColumnOps, [&](Line& line) {
    line = 10;
    const Long m = D.UBound(2), d_rows = D.UBound(1), c_rows = C.UBound(1);
    for (Long j = 2; j <= m; ++j) {
      for (Long i = j; i <= m; ++i) {
        line = 20;
        const double pivot = D(j - 1, j - 1);
        if (pivot == 0) break;
        const double f = Div(D(j - 1, i), pivot);
        line = 30;
        for (Long r = j - 1; r <= d_rows; ++r) D(r, i) = Sub(D(r, i), Mul(f, D(r, j - 1)));
        line = 40;
        for (Long r = 1; r <= c_rows; ++r) C(r, i) = Sub(C(r, i), Mul(f, C(r, j - 1)));
      }
    }
  });
}

}  // namespace

// --- products ----------------------------------------------------------------

Array<double> clsMatrix::MMult(const Array<double>& Matrix1, const Array<double>& Matrix2) const {
  return Guard(kMMult, [&](Line&) {
    const Long lr1 = Matrix1.LBound(1), r1 = Matrix1.UBound(1);
    const Long lc1 = Matrix1.LBound(2), c1 = Matrix1.UBound(2);
    const Long lr2 = Matrix2.LBound(1), r2 = Matrix2.UBound(1);
    const Long lc2 = Matrix2.LBound(2), c2 = Matrix2.UBound(2);
    if (std::int64_t{c1} - lc1 != std::int64_t{r2} - lr2)
      Raise(orvErrMatrixMultiply, {},
            "Cant multiply matrices, cols of matrix 1 <> rows of matrix 2");
    Array<double> result(lr1, r1, lc2, c2);
    // result(i, j) = 0 + sum over k = lc1 To c1 of Matrix1(i, k) x
    // Matrix2(lr2 - lc1 + k, j), in increasing k. Running k outside j keeps
    // that order for every element while the inner loop streams rows.
    const std::size_t inner = static_cast<std::size_t>(Matrix1.Count(2));
    const std::size_t width = static_cast<std::size_t>(Matrix2.Count(2));
    const std::size_t rows = static_cast<std::size_t>(Matrix1.Count(1));
    const double* a = Matrix1.data();
    const double* b = Matrix2.data();
    double* out = result.data();
    for (std::size_t i = 0; i < rows; ++i) {
      double* o = out + i * width;
      const double* ai = a + i * inner;
      for (std::size_t k = 0; k < inner; ++k) {
        const double x = ai[k];
        const double* bk = b + k * width;
        for (std::size_t j = 0; j < width; ++j) o[j] += x * bk[j];
      }
    }
    detail::RequireFinite(result);
    return result;
  });
}

Array<double> clsMatrix::MMultConst(ByRef<Array<double>> Matrix, Double Constant) const {
  return Guard(kMMultConst, [&](Line&) {
    Array<double>& m = *Matrix;
    const Long rows = m.UBound(1), cols = m.UBound(2);
    for (Long i = 1; i <= rows; ++i)
      for (Long j = 1; j <= cols; ++j) m(i, j) = Mul(m(i, j), Constant);
    return m;
  });
}

Array<double> clsMatrix::MAdd(const Array<double>& Matrix1, const Array<double>& Matrix2) const {
  return Guard(kMAdd, [&](Line&) {
    return ElementWise(Matrix1, Matrix2, [](double x, double y) { return x + y; });
  });
}

Array<double> clsMatrix::MSubtract(const Array<double>& Matrix1,
                                   const Array<double>& Matrix2) const {
  return Guard(kMSubtract, [&](Line&) {
    return ElementWise(Matrix1, Matrix2, [](double x, double y) { return x - y; });
  });
}

Variant clsMatrix::VariantMSubtract(const Variant& Matrix1, const Variant& Matrix2) const {
  return Guard(kVariantMSubtract, [&](Line&) {
    // Row counts are read first (an argument that is no array fails here);
    // an argument without a second dimension is a column.
    Matrix1.UBound(1);
    const bool v1 = Matrix1.Rank() == 1;
    const Long rows = Matrix2.UBound(1);
    const bool v2 = Matrix2.Rank() == 1;
    const Long cols = v2 ? 1 : Matrix2.UBound(2);
    Array<Variant> result(1, rows, 1, cols);
    for (Long i = 1; i <= rows; ++i)
      for (Long j = 1; j <= cols; ++j) {
        Variant a = v1 ? Matrix1.Element(i) : Matrix1.Element(i, j);
        Variant b = v2 ? Matrix2.Element(i) : Matrix2.Element(i, j);
        result.At(i, j) = VariantDifference(a, b);
      }
    return Variant(std::move(result));
  });
}

Array<double> clsMatrix::Kronecker(const Array<double>& MatrixA,
                                   const Array<double>& MatrixB) const {
  return Guard(kKronecker, [&](Line&) {
    Block<double> a(MatrixA), b(MatrixB);
    const Long m = a.rows(), n = a.cols(), p = b.rows(), q = b.cols();
    Array<double> result = NewMatrix(ToLong(std::int64_t{m} * p), ToLong(std::int64_t{n} * q));
    for (Long i = 1; i <= m; ++i)
      for (Long r = 1; r <= p; ++r) {
        double* out = RowOf(result, (i - 1) * p + r);
        const double* br = b.row(r);
        for (Long j = 1; j <= n; ++j) {
          const double x = a(i, j);
          double* o = out + static_cast<std::size_t>(j - 1) * q;
          for (Long s = 0; s < q; ++s) o[s] = x * br[s];
        }
      }
    detail::RequireFinite(result);
    return result;
  });
}

Array<double> clsMatrix::SumProduct(const Array<double>& Matrix1,
                                    const Array<double>& Matrix2) const {
  return Guard(kSumProduct, [&](Line&) {
    Operand<double> a(Matrix1), b(Matrix2);
    const Long n = a.rows, p = a.cols, q = b.cols;
    Array<double> result = NewMatrix(p, q);
    // result(i, j) = 0 + sum over k = 1 To n of Matrix1(k, i) x Matrix2(k, j)
    // in increasing k; k outermost keeps that order for every element.
    std::vector<double> x(static_cast<std::size_t>(p)), y(static_cast<std::size_t>(q));
    for (Long k = 1; k <= n; ++k) {
      for (Long i = 1; i <= p; ++i) x[i - 1] = a.at(k, i);
      for (Long j = 1; j <= q; ++j) y[j - 1] = b.at(k, j);
      for (Long i = 1; i <= p; ++i) {
        double* out = RowOf(result, i);
        const double xi = x[i - 1];
        for (Long j = 0; j < q; ++j) out[j] += xi * y[j];
      }
    }
    detail::RequireFinite(result);
    return result;
  });
}

Array<double> clsMatrix::MIdentity(Long Size) const {
  return Guard(kMIdentity, [&](Line&) {
    Array<double> result = NewMatrix(Size, Size);
    for (Long i = 1; i <= Size; ++i) result.At(i, i) = 1.0;
    return result;
  });
}

// --- generalised inverses ----------------------------------------------------

Array<double> clsMatrix::GenInv(const Array<double>& Matrix) const {
  return Guard(kGenInv, [&](Line& line) {
    line = 10;
    Block<double> m(Matrix);
    Array<double> R = MIdentity(m.rows());
    Array<double> C = MIdentity(m.cols());
    Array<double> D = detail::CopyBlock(m, m.rows(), m.cols());
    line = 20;
    RowOps(D, R);
    line = 30;
    ColumnOps(D, C);
    // From here on a failing statement is skipped.
    line = 40;
    for (Long i = 1; i <= m.rows(); ++i) {
      ResumeNext([&] {
        double& d = D(i, i);
        d = d > kGenInvTolerance ? 1.0 / d : 0.0;
      });
    }
    line = 50;
    Array<double> result;
    ResumeNext([&] { result = MMult(MMult(C, D), R); });
    return result;
  });
}

Array<double> clsMatrix::GeneralInverse(const Array<double>& Matrix,
                                        const std::optional<Variant>& ZERO) const {
  return Guard(kGeneralInverse, [&](Line&) {
    const double zero = ZERO ? CDbl(*ZERO) : kGeneralInverseZero;
    Block<double> m(Matrix);
    const Long n = m.rows();
    // The sweep reads and writes the n x n block; a narrower array has no
    // element (k, n).
    m.Require(n, n);
    Array<double> A = detail::CopyBlock(m, n, m.cols());
    kernels::Sweep(A.data(), n, static_cast<std::size_t>(A.Count(2)), zero);
    // Columns beyond the n x n block are only negated.
    for (Long i = 1; i <= n; ++i) {
      double* row = RowOf(A, i);
      for (Long j = n; j < m.cols(); ++j) row[j] = -row[j];
    }
    return A;
  });
}

// --- largest and smallest element --------------------------------------------

namespace {

double ToDouble(double x) { return x; }
double ToDouble(const Variant& x) { return CDbl(x); }
template <class T>
double ToDouble(const T& x) {
  return CDbl(Variant(x));
}

// Scans the elements 1 To UBound row by row, keeping the first value that
// no later one beats.
template <class Better>
double Extreme(const Variant& matrix, Better better) {
  double best = 0;
  std::visit(
      [&](const auto& a) {
        using T = typename std::decay_t<decltype(a)>::value_type;
        auto value = [](const T& x) { return ToDouble(x); };
        if (a.Rank() == 1) {
          detail::Vector v(a);
          best = value(a(1));
          for (Long i = 1; i <= v.size(); ++i) {
            double x = value(v(i));
            if (better(x, best)) best = x;
          }
        } else {
          Block<T> b(a);
          best = value(a(1, 1));
          for (Long i = 1; i <= b.rows(); ++i)
            for (Long j = 1; j <= b.cols(); ++j) {
              double x = value(b(i, j));
              if (better(x, best)) best = x;
            }
        }
      },
      matrix.AsArray());
  return best;
}

template <class Better>
double ExtremeOrValue(const Variant& matrix, Better better) {
  if (!matrix.IsArray()) return CDbl(matrix);
  try {
    return Extreme(matrix, better);
  } catch (...) {
    // The scan failed: the whole argument converted, which for an array is
    // a type mismatch that leaves as it is.
    return CDbl(matrix);
  }
}

}  // namespace

Double clsMatrix::Max(const Variant& Matrix) const {
  return ExtremeOrValue(Matrix, [](double x, double best) { return x > best; });
}

Double clsMatrix::Min(const Variant& Matrix) const {
  return ExtremeOrValue(Matrix, [](double x, double best) { return x < best; });
}

}  // namespace orv
