// clsMatrix: converting Variants into typed arrays and assembling arrays
// from arrays.
#include <algorithm>
#include <string>
#include <variant>

#include "orv/arrays/clsMatrix.hpp"
#include "orv/arrays/clsMatrix_detail.hpp"

namespace orv {

namespace {

using detail::ToLong;

constexpr Member kVariantToArray{Rule::Plain, "clsMatrix", "VariantToArray"};
constexpr Member kVariantToStringArray{Rule::Plain, "clsMatrix", "VariantToStringArray"};
constexpr Member kVariantToIntegerArray{Rule::Plain, "clsMatrix", "VariantToIntegerArray"};
constexpr Member kVariantToLongArray{Rule::Plain, "clsMatrix", "VariantToLongArray"};
constexpr Member kHConcatenate{Rule::Plain, "clsMatrix", "HConcatenate"};
constexpr Member kHStringConcatenate{Rule::Plain, "clsMatrix", "HStringConcatenate"};
constexpr Member kVariantHConcatenate{Rule::Plain, "clsMatrix", "VariantHConcatenate"};
constexpr Member kVariantVConcatenate{Rule::Plain, "clsMatrix", "VariantVConcatenate"};
constexpr Member kSubMatrix{Rule::Plain, "clsMatrix", "SubMatrix"};
constexpr Member kVariantSubMatrix{Rule::Plain, "clsMatrix", "VariantSubMatrix"};
constexpr Member kStringSubArray{Rule::Plain, "clsMatrix", "StringSubArray"};
constexpr Member kTranspose{Rule::Plain, "clsMatrix", "Transpose"};
constexpr Member kVariantTranspose{Rule::Plain, "clsMatrix", "VariantTranspose"};
constexpr Member kStringTranspose{Rule::Plain, "clsMatrix", "StringTranspose"};
constexpr Member kMakeMatrix{Rule::Plain, "clsMatrix", "MakeMatrix"};
constexpr Member kVariantMakeMatrix{Rule::Plain, "clsMatrix", "VariantMakeMatrix"};
constexpr Member kUnity{Rule::Plain, "clsMatrix", "Unity"};
constexpr Member kUnityVector{Rule::Plain, "clsMatrix", "UnityVector"};
constexpr Member kMCombine{Rule::Plain, "clsMatrix", "MCombine"};

// The element conversions of the Variant readers, one per target type,
// with shortcuts for the element types that need no Variant.
template <class Out>
Out Convert(const Variant& v) {
  if constexpr (std::is_same_v<Out, double>)
    return CDbl(v);
  else if constexpr (std::is_same_v<Out, std::string>)
    return CStr(v);
  else if constexpr (std::is_same_v<Out, Integer>)
    return CInt(v);
  else
    return CLng(v);
}
template <class Out, class In>
Out ConvertElement(const In& x) {
  if constexpr (std::is_same_v<In, Variant>) {
    return Convert<Out>(x);
  } else if constexpr (std::is_same_v<In, double>) {
    if constexpr (std::is_same_v<Out, double>)
      return x;
    else if constexpr (std::is_same_v<Out, std::string>)
      return CStr(x);
    else if constexpr (std::is_same_v<Out, Integer>)
      return CInt(x);
    else
      return CLng(x);
  } else {
    return Convert<Out>(Variant(x));
  }
}

// VariantToArray and its siblings: a single value becomes a 1 x 1 array;
// an array is read over (1 To UBound(1), 1 To UBound(2)), a one-dimensional
// one (where allowed) as a column.
template <class Out>
Array<Out> VariantToTyped(const Variant& matrix, bool one_dimensional_allowed) {
  if (!matrix.IsArray()) {
    Array<Out> result(1, 1, 1, 1);
    result.At(1, 1) = Convert<Out>(matrix);
    return result;
  }
  const Long rows = matrix.UBound(1);
  const bool one_dimensional = matrix.Rank() == 1;
  if (one_dimensional && !one_dimensional_allowed) matrix.UBound(2);  // error 9
  const Long cols = one_dimensional ? 1 : matrix.UBound(2);
  Array<Out> result(1, rows, 1, cols);
  std::visit(
      [&](const auto& a) {
        if (one_dimensional) {
          detail::Vector v(a);
          for (Long i = 1; i <= rows; ++i) result.At(i, 1) = ConvertElement<Out>(v(i));
        } else {
          detail::Block b(a);
          for (Long i = 1; i <= rows; ++i)
            for (Long j = 1; j <= cols; ++j) result.At(i, j) = ConvertElement<Out>(b(i, j));
        }
      },
      matrix.AsArray());
  return result;
}

// The column count of an argument that may be a vector: 0 for a
// one-dimensional array.
template <class T>
Long ColumnsOrZero(const Array<T>& a) {
  return a.Rank() == 1 ? 0 : a.UBound(2);
}

template <class T>
Array<T> TransposeOf(const Array<T>& m) {
  const Long lb1 = m.LBound(1), ub1 = m.UBound(1), lb2 = m.LBound(2), ub2 = m.UBound(2);
  Array<T> result(lb2, ub2, lb1, ub1);
  for (Long i = lb1; i <= ub1; ++i)
    for (Long j = lb2; j <= ub2; ++j) result.At(j, i) = m.At(i, j);
  return result;
}

}  // namespace

Array<double> clsMatrix::VariantToArray(const Variant& Matrix) const {
  return Guard(kVariantToArray, [&](Line&) { return VariantToTyped<double>(Matrix, true); });
}

Array<std::string> clsMatrix::VariantToStringArray(const Variant& Matrix) const {
  return Guard(kVariantToStringArray,
               [&](Line&) { return VariantToTyped<std::string>(Matrix, false); });
}

Array<Integer> clsMatrix::VariantToIntegerArray(const Variant& Matrix) const {
  return Guard(kVariantToIntegerArray,
               [&](Line&) { return VariantToTyped<Integer>(Matrix, false); });
}

Array<Long> clsMatrix::VariantToLongArray(const Variant& Matrix) const {
  return Guard(kVariantToLongArray, [&](Line&) { return VariantToTyped<Long>(Matrix, false); });
}

Array<double> clsMatrix::HConcatenate(const Array<double>& Matrix1,
                                      const Array<double>& Matrix2) const {
  return Guard(kHConcatenate, [&](Line&) {
    const Long r1 = Matrix1.UBound(1), r2 = Matrix2.UBound(1);
    const Long rows = std::max(r1, r2);
    const Long c1 = ColumnsOrZero(Matrix1), c2 = ColumnsOrZero(Matrix2);
    const bool v1 = Matrix1.Rank() == 1, v2 = Matrix2.Rank() == 1;
    const Long left = v1 ? 1 : c1;
    const Long right = v2 ? 1 : c2;
    Array<double> result = detail::NewMatrix(rows, ToLong(std::int64_t{left} + right));
    auto copy = [&](const Array<double>& m, bool vector, Long r, Long c, Long offset) {
      if (vector) {
        detail::Vector v(m);
        for (Long i = 1; i <= r; ++i) result.At(i, offset + 1) = v(i);
      } else {
        detail::Block b(m);
        for (Long i = 1; i <= r; ++i)
          for (Long j = 1; j <= c; ++j) result.At(i, offset + j) = b(i, j);
      }
    };
    copy(Matrix1, v1, r1, c1, 0);
    copy(Matrix2, v2, r2, c2, left);
    return result;
  });
}

Array<std::string> clsMatrix::HStringConcatenate(const Array<std::string>& Matrix1,
                                                 const Array<std::string>& Matrix2) const {
  return Guard(kHStringConcatenate, [&](Line&) {
    detail::Block a(Matrix1), b(Matrix2);
    const Long rows = std::max(a.rows(), b.rows());
    Array<std::string> result(1, rows, 1, ToLong(std::int64_t{a.cols()} + b.cols()));
    for (Long i = 1; i <= a.rows(); ++i)
      for (Long j = 1; j <= a.cols(); ++j) result.At(i, j) = a(i, j);
    for (Long i = 1; i <= b.rows(); ++i)
      for (Long j = 1; j <= b.cols(); ++j) result.At(i, a.cols() + j) = b(i, j);
    return result;
  });
}

Variant clsMatrix::VariantHConcatenate(const Variant& Matrix1, const Variant& Matrix2) const {
  return Guard(kVariantHConcatenate, [&](Line&) {
    const Long r1 = Matrix1.UBound(1), c1 = Matrix1.UBound(2);
    const Long r2 = Matrix2.UBound(1), c2 = Matrix2.UBound(2);
    Array<Variant> result(1, std::max(r1, r2), 1, ToLong(std::int64_t{c1} + c2));
    for (Long i = 1; i <= r1; ++i)
      for (Long j = 1; j <= c1; ++j) result.At(i, j) = Matrix1.Element(i, j);
    for (Long i = 1; i <= r2; ++i)
      for (Long j = 1; j <= c2; ++j) result.At(i, c1 + j) = Matrix2.Element(i, j);
    return Variant(std::move(result));
  });
}

Variant clsMatrix::VariantVConcatenate(const Variant& Matrix1, const Variant& Matrix2) const {
  return Guard(kVariantVConcatenate, [&](Line&) {
    const Long r1 = Matrix1.UBound(1), c1 = Matrix1.UBound(2);
    const Long r2 = Matrix2.UBound(1), c2 = Matrix2.UBound(2);
    Array<Variant> result(1, ToLong(std::int64_t{r1} + r2), 1, std::max(c1, c2));
    for (Long i = 1; i <= r1; ++i)
      for (Long j = 1; j <= c1; ++j) result.At(i, j) = Matrix1.Element(i, j);
    for (Long i = 1; i <= r2; ++i)
      for (Long j = 1; j <= c2; ++j) result.At(r1 + i, j) = Matrix2.Element(i, j);
    return Variant(std::move(result));
  });
}

namespace {
// Index start + k - 1 of a block, as a Long (beyond the Long range the
// element cannot exist: error 9).
Long Offset(Long start, Long k) {
  std::int64_t index = std::int64_t{start} + k - 1;
  if (index < std::numeric_limits<Long>::min() || index > std::numeric_limits<Long>::max())
    Raise(kErrSubscript);
  return static_cast<Long>(index);
}
}  // namespace

Array<double> clsMatrix::SubMatrix(const Array<double>& ParentMatrix, Long StartCol, Long StartRow,
                                   Long Width, Long Height) const {
  return Guard(kSubMatrix, [&](Line&) {
    Array<double> result = detail::NewMatrix(Height, Width);
    for (Long i = 1; i <= Height; ++i)
      for (Long j = 1; j <= Width; ++j)
        result.At(i, j) = ParentMatrix(Offset(StartRow, i), Offset(StartCol, j));
    return result;
  });
}

Variant clsMatrix::VariantSubMatrix(const Variant& ParentMatrix, Long StartCol, Long StartRow,
                                    Long Width, Long Height) const {
  return Guard(kVariantSubMatrix, [&](Line&) {
    Array<Variant> result(1, Height, 1, Width);
    for (Long i = 1; i <= Height; ++i)
      for (Long j = 1; j <= Width; ++j)
        result.At(i, j) = ParentMatrix.Element(Offset(StartRow, i), Offset(StartCol, j));
    return Variant(std::move(result));
  });
}

Array<std::string> clsMatrix::StringSubArray(const Array<std::string>& ParentMatrix, Long StartCell,
                                             Long NumCells) const {
  return Guard(kStringSubArray, [&](Line&) {
    Array<std::string> result(1, NumCells);
    for (Long i = 1; i <= NumCells; ++i) result.At(i) = ParentMatrix(Offset(StartCell, i));
    return result;
  });
}

Array<double> clsMatrix::Transpose(const Array<double>& Matrix) const {
  return Guard(kTranspose, [&](Line&) { return TransposeOf(Matrix); });
}

Variant clsMatrix::VariantTranspose(const Variant& Matrix) const {
  return Guard(kVariantTranspose, [&](Line&) {
    const Long lb1 = Matrix.LBound(1), ub1 = Matrix.UBound(1);
    const Long lb2 = Matrix.LBound(2), ub2 = Matrix.UBound(2);
    Array<Variant> result(lb2, ub2, lb1, ub1);
    std::visit(
        [&](const auto& a) {
          for (Long i = lb1; i <= ub1; ++i)
            for (Long j = lb2; j <= ub2; ++j) result.At(j, i) = Variant(a.At(i, j));
        },
        Matrix.AsArray());
    return Variant(std::move(result));
  });
}

Array<std::string> clsMatrix::StringTranspose(const Array<std::string>& Matrix) const {
  return Guard(kStringTranspose, [&](Line&) { return TransposeOf(Matrix); });
}

Array<double> clsMatrix::MakeMatrix(const Array<double>& Vector) const {
  return Guard(kMakeMatrix, [&](Line&) {
    if (Vector.Rank() == 2) return Vector;
    const Long n = Vector.UBound(1);  // error 9 for an unallocated array
    detail::Vector v(Vector);
    Array<double> result = detail::NewMatrix(n, 1);
    for (Long i = 1; i <= n; ++i) result.At(i, 1) = v(i);
    return result;
  });
}

Variant clsMatrix::VariantMakeMatrix(const Variant& Vector) const {
  return Guard(kVariantMakeMatrix, [&](Line&) {
    if (!Vector.IsArray() || Vector.Rank() != 1) return Vector;
    const Long n = Vector.UBound(1);
    Array<Variant> result(1, n, 1, 1);
    for (Long i = 1; i <= n; ++i) result.At(i, 1) = Vector.Element(i);
    return Variant(std::move(result));
  });
}

Array<double> clsMatrix::Unity(Long Size) const {
  return Guard(kUnity, [&](Line&) {
    Array<double> result = detail::NewMatrix(Size, 1);
    std::fill(result.storage().begin(), result.storage().end(), 1.0);
    return result;
  });
}

Array<double> clsMatrix::UnityVector(Long Size, Long RowOrCol) const {
  return Guard(kUnityVector, [&](Line&) {
    Array<double> result =
        RowOrCol != orvRow ? detail::NewMatrix(Size, 1) : detail::NewMatrix(1, Size);
    std::fill(result.storage().begin(), result.storage().end(), 1.0);
    return result;
  });
}

Array<double> clsMatrix::MCombine(const Array<double>& Matrix1,
                                  const Array<double>& Matrix2) const {
  return Guard(kMCombine, [&](Line&) {
    detail::Block a(Matrix1), b(Matrix2);
    const Long n = a.rows(), p = a.cols(), q = b.cols();
    b.Require(n, q);
    Array<double> result = detail::NewMatrix(n, ToLong(std::int64_t{p} * q));
    for (Long i = 1; i <= n; ++i) {
      const double* x = a.row(i);
      const double* y = b.row(i);
      double* out = detail::RowOf(result, i);
      for (Long j = 0; j < p; ++j)
        for (Long k = 0; k < q; ++k) out[static_cast<std::size_t>(j) * q + k] = x[j] * y[k];
    }
    detail::RequireFinite(result);
    return result;
  });
}

std::string clsMatrix::ToString(const Array<double>& a) const {
  // Never raises: a statement that fails is skipped.
  std::string text;
  Long rows = 0, cols = 0;
  bool have_rows = ResumeNext([&] { rows = a.UBound(1); });
  if (!have_rows) return text;
  for (Long i = 1; i <= rows; ++i) {
    cols = 0;
    ResumeNext([&] { cols = a.UBound(2); });
    for (Long j = 1; j <= cols; ++j) ResumeNext([&] { text += CStr(a(i, j)) + ", "; });
    ResumeNext([&] {
      if (text.size() < 2) Raise(kErrInvalidCall);
      text.resize(text.size() - 2);
    });
    ResumeNext([&] { text += "\r\n"; });
  }
  return text;
}

}  // namespace orv
