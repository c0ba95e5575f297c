// CMatrix: construction, shape, element access, conversion from and to
// arrays, the text form and the special matrices.
#include "orv/matrix/CMatrix.hpp"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "orv/matrix/CMatrix_state.hpp"

namespace orv {

CMatrix::CMatrix() = default;

CMatrix::CMatrix(NothingType) : state_(Nothing) {}

CMatrix::CMatrix(Ref<State> state) : state_(std::move(state)) {}

CMatrix CMatrix::FromArray(Array<double> A) {
  Ref<State> state;
  if (A.IsAllocated()) {
    Long rows = A.Count(1);
    Long columns = A.Rank() == 2 ? A.Count(2) : 1;
    if (A.Rank() != 2 || A.LBound(1) != 1 || A.LBound(2) != 1) {
      Array<double> based(1, rows, 1, columns);
      based.storage() = std::move(A.storage());
      A = std::move(based);
    }
    state->rows = rows;
    state->columns = columns;
    state->data = std::move(A);
  }
  return CMatrix(std::move(state));
}

namespace {

constexpr Member kSetSize{Rule::Chain, "CMatrix", "SetSize"};
constexpr Member kIsSymmetric{Rule::Stamp, "CMatrix", "GetIsSymmetric"};
constexpr Member kGetItem{Rule::None, "CMatrix", "GetItem"};
constexpr Member kLetItem{Rule::None, "CMatrix", "LetItem"};
constexpr Member kGetValues{Rule::None, "CMatrix", "GetValues"};
constexpr Member kLetValues{Rule::Skip, "CMatrix", "LetValues"};
constexpr Member kLetValuesToDiagonal{Rule::Plain, "CMatrix", "LetValuesToDiagonal"};
constexpr Member kDiagonalize{Rule::Plain, "CMatrix", "Diagonalize"};
constexpr Member kToString{Rule::Skip, "CMatrix", "GetToString"};
constexpr Member kToArray{Rule::None, "CMatrix", "GetToArray"};
constexpr Member kClone{Rule::Plain, "CMatrix", "Clone"};
constexpr Member kFill{Rule::Plain, "CMatrix", "Fill"};
constexpr Member kFillFromArray{Rule::Plain, "CMatrix", "FillFromArray"};
constexpr Member kDiagVector{Rule::Plain, "CMatrix", "DiagVector"};
constexpr Member kZeroMatrix{Rule::Stamp, "CMatrix", "ZeroMatrix"};
constexpr Member kIdentityMatrix{Rule::Stamp, "CMatrix", "IdentityMatrix"};
constexpr Member kUnityColumn{Rule::Stamp, "CMatrix", "UnityColumn"};
constexpr Member kUnityRow{Rule::None, "CMatrix", "UnityRow"};
constexpr Member kColumn{Rule::Stamp, "CMatrix", "Column"};
constexpr Member kRow{Rule::Stamp, "CMatrix", "row"};
constexpr Member kValuesAsVector{Rule::Plain, "CMatrix", "ValuesAsVector"};

// The shape of an array as the conversions read it: a one-dimensional array
// has one column.
struct Shape {
  Long rows;
  Long columns;
  bool one_dimensional;
};

Shape ShapeOf(const Array<double>& A) {
  Shape shape{A.Count(1), 1, true};  // error 9 when A was never dimensioned
  if (A.Rank() == 2) {
    shape.columns = A.Count(2);
    shape.one_dimensional = false;
  }
  return shape;
}

// The smaller of the two counts, the row count when they are equal.
Long DiagonalLength(Long rows, Long columns) { return columns < rows ? columns : rows; }

}  // namespace

// --- shape ---

void CMatrix::SetSize(ByRef<Long> Rows, ByRef<Long> Columns, Boolean Persist) {
  State& s = *state_;
  Guard(kSetSize, [&](Line& line) {
    line = 10;
    if (*Rows < 1 || *Columns < 1) {
      line = 20;
      s.data.Erase();
      s.rows = 0;
      s.columns = 0;
      return;
    }
    if (!Persist) {
      line = 30;
      s.data.ReDim(1, *Rows, 1, *Columns);
      s.rows = *Rows;
      s.columns = *Columns;
      return;
    }
    line = 40;
    Array<double> next(1, *Rows, 1, *Columns);
    line = 50;
    if (*Rows > s.rows) *Rows = s.rows;
    if (*Columns > s.columns) *Columns = s.columns;
    line = 60;
    const Long keep_rows = *Rows, keep_columns = *Columns;
    const std::size_t old_ld = static_cast<std::size_t>(s.columns);
    const std::size_t new_ld = static_cast<std::size_t>(next.UBound(2));
    for (Long i = 0; i < keep_rows; ++i)
      std::copy_n(s.data.data() + i * old_ld, keep_columns, next.data() + i * new_ld);
    line = 70;
    s.data = std::move(next);
    s.rows = s.data.UBound(1);
    s.columns = s.data.UBound(2);
  });
}

Long CMatrix::RowCount() const { return state_->rows; }

Long CMatrix::ColumnCount() const { return state_->columns; }

Boolean CMatrix::IsNull() const {
  const State& s = *state_;
  return s.rows == 0 || s.columns == 0;
}

Boolean CMatrix::IsSquare() const {
  const State& s = *state_;
  return s.rows == s.columns;
}

Boolean CMatrix::IsSymmetric() const {
  const State& s = *state_;
  return Guard(kIsSymmetric, [&](Line& line) {
    line = 10;
    if (s.rows != s.columns) return false;
    line = 20;
    const double* a = s.data.data();
    const std::size_t n = static_cast<std::size_t>(s.rows);
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = i + 1; j < n; ++j)
        if (a[i * n + j] != a[j * n + i]) return false;
    return true;
  });
}

// --- elements ---

Double CMatrix::Item(Long row, Long Column) const {
  const State& s = *state_;
  return Guard(kGetItem, [&](Line&) { return s.data(row, Column); });
}

void CMatrix::LetItem(Long row, Long Column, Double value) {
  State& s = *state_;
  Guard(kLetItem, [&](Line&) { s.data(row, Column) = value; });
}

Array<double> CMatrix::Values() const {
  const State& s = *state_;
  return Guard(kGetValues, [&](Line&) { return s.data; });
}

Array<double> CMatrix::ToArray() const {
  const State& s = *state_;
  return Guard(kToArray, [&](Line&) { return s.data; });
}

void CMatrix::LetValues(const Array<double>& A) {
  State& s = *state_;
  const bool done = ResumeNext([&] {
    Guard(kLetValues, [&](Line& line) {
      line = 10;
      const Shape shape = ShapeOf(A);
      line = 20;
      SetSize(shape.rows, shape.columns);
      line = 30;
      // Whatever the bounds, the elements are stored row by row, which is
      // also the order of a one-dimensional array read as a column.
      std::copy(A.storage().begin(), A.storage().end(), s.data.data());
    });
  });
  if (!done) {
    s.data.Erase();
    s.rows = 0;
    s.columns = 0;
  }
}

void CMatrix::FillFromArray(const Array<double>& Values, Boolean AsRowVector) {
  State& s = *state_;
  Guard(kFillFromArray, [&](Line& line) {
    line = 10;
    Shape shape = ShapeOf(Values);
    if (shape.one_dimensional && AsRowVector) std::swap(shape.rows, shape.columns);
    line = 20;
    SetSize(shape.rows, shape.columns);
    line = 30;
    std::copy(Values.storage().begin(), Values.storage().end(), s.data.data());
  });
}

void CMatrix::LetValuesToDiagonal(const Array<double>& A) {
  State& s = *state_;
  Guard(kLetValuesToDiagonal, [&](Line& line) {
    line = 10;
    const Shape shape = ShapeOf(A);
    const Long n = shape.rows, m = shape.columns;
    const Long lb1 = A.LBound(1);
    const Long lb2 = shape.one_dimensional ? 0 : A.LBound(2);
    // (row step, column step) of the walk along A that gives the diagonal.
    Long size;
    int row_step = 1, column_step = 1;
    if (shape.one_dimensional || m == 1) {
      size = n;
      column_step = 0;
    } else if (n == 1) {
      size = m;
      row_step = 0;
    } else {
      size = m < n ? m : n;
    }
    line = 20;
    SetSize(size, size);
    line = 30;
    double* d = s.data.data();
    const std::size_t ld = static_cast<std::size_t>(size);
    for (Long i = 0; i < size; ++i) {
      const double value =
          shape.one_dimensional ? A.At(lb1 + i) : A.At(lb1 + i * row_step, lb2 + i * column_step);
      d[static_cast<std::size_t>(i) * ld + static_cast<std::size_t>(i)] = value;
    }
  });
}

CMatrix CMatrix::Diagonalize() const {
  const State& s = *state_;
  return Guard(kDiagonalize, [&](Line& line) {
    line = 10;
    Long k = DiagonalLength(s.rows, s.columns);
    if (k < 1) Raise(kErrSubscript);
    line = 20;
    CMatrix result;
    result.SetSize(k, k);
    line = 30;
    double* r = result.state_->data.data();
    const double* a = s.data.data();
    const std::size_t n = static_cast<std::size_t>(k), ld = static_cast<std::size_t>(s.columns);
    for (std::size_t i = 0; i < n; ++i) r[i * n + i] = a[i * ld + i];
    return result;
  });
}

CMatrix CMatrix::DiagVector() const {
  const State& s = *state_;
  return Guard(kDiagVector, [&](Line& line) {
    line = 10;
    Long k = DiagonalLength(s.rows, s.columns);
    CMatrix result;
    result.SetSize(k, 1);
    line = 20;
    double* r = result.state_->data.data();
    const double* a = s.data.data();
    const std::size_t ld = static_cast<std::size_t>(s.columns);
    for (std::size_t i = 0; i < static_cast<std::size_t>(k); ++i) r[i] = a[i * ld + i];
    return result;
  });
}

std::string CMatrix::ToString() const {
  const State& s = *state_;
  std::string text;
  // Each statement may fail on its own (a text that cannot grow); the text
  // goes on with the next one.
  ResumeNext([&] {
    Guard(kToString, [&](Line&) {
      const double* a = s.data.data();
      const std::size_t ld = static_cast<std::size_t>(s.columns);
      for (Long i = 0; i < s.rows; ++i) {
        for (Long j = 0; j < s.columns; ++j) {
          ResumeNext([&] {
            text += CStr(a[static_cast<std::size_t>(i) * ld + static_cast<std::size_t>(j)]);
            text += ", ";
          });
        }
        ResumeNext([&] {
          text.erase(text.size() - std::min<std::size_t>(2, text.size()));
          text += "\r\n";
        });
      }
    });
  });
  return text;
}

CMatrix CMatrix::Clone() const {
  const State& s = *state_;
  return Guard(kClone, [&](Line& line) {
    line = 10;
    CMatrix copy;
    State& c = *copy.state_;
    c.data = s.data;
    c.rows = s.rows;
    c.columns = s.columns;
    return copy;
  });
}

void CMatrix::Fill(Double Value) {
  State& s = *state_;
  Guard(kFill, [&](Line& line) {
    line = 10;
    std::fill(s.data.storage().begin(), s.data.storage().end(), Value);
  });
}

// --- special matrices ---

CMatrix CMatrix::ZeroMatrix(Long Rows, Long Columns) const {
  (void)*state_;
  return Guard(kZeroMatrix, [&](Line& line) {
    line = 10;
    if (Rows < 1 || Columns < 1) Raise(kErrSubscript);
    line = 20;
    CMatrix result;
    result.SetSize(Rows, Columns);
    return result;
  });
}

CMatrix CMatrix::IdentityMatrix(Long Size) const {
  (void)*state_;
  return Guard(kIdentityMatrix, [&](Line& line) {
    line = 10;
    if (Size < 1) Raise(kErrSubscript);
    line = 20;
    CMatrix result;
    result.SetSize(Size, Size);
    line = 30;
    double* r = result.state_->data.data();
    const std::size_t n = static_cast<std::size_t>(Size);
    for (std::size_t i = 0; i < n; ++i) r[i * n + i] = 1.0;
    return result;
  });
}

CMatrix CMatrix::UnityColumn(Long Rows) const {
  (void)*state_;
  return Guard(kUnityColumn, [&](Line& line) {
    line = 10;
    if (Rows < 1) Raise(kErrSubscript);
    line = 20;
    CMatrix result;
    result.SetSize(Rows, 1);
    line = 30;
    result.Fill(1.0);
    return result;
  });
}

CMatrix CMatrix::UnityRow(Long Columns) const {
  (void)*state_;
  return Guard(kUnityRow, [&](Line&) {
    if (Columns < 1) Raise(kErrSubscript);
    CMatrix result;
    result.SetSize(1, Columns);
    result.Fill(1.0);
    return result;
  });
}

// --- comparison and extraction ---

Boolean CMatrix::IsEqual(const CMatrix& Matrix) const {
  const State& s = *state_;
  const State& m = *Matrix.state_;
  if (s.rows != m.rows || s.columns != m.columns) return false;
  const std::vector<double>& a = s.data.storage();
  const std::vector<double>& b = m.data.storage();
  for (std::size_t k = 0; k < a.size(); ++k)
    if (a[k] < b[k] || a[k] > b[k]) return false;
  return true;
}

CMatrix CMatrix::Column(Long index) const {
  const State& s = *state_;
  return Guard(kColumn, [&](Line& line) {
    line = 10;
    if (index < 1 || index > s.columns) Raise(kErrSubscript);
    line = 20;
    CMatrix result;
    result.SetSize(s.rows, 1);
    line = 30;
    double* r = result.state_->data.data();
    const double* a = s.data.data() + (index - 1);
    const std::size_t ld = static_cast<std::size_t>(s.columns);
    for (std::size_t i = 0; i < static_cast<std::size_t>(s.rows); ++i) r[i] = a[i * ld];
    return result;
  });
}

CMatrix CMatrix::row(Long index) const {
  const State& s = *state_;
  return Guard(kRow, [&](Line& line) {
    line = 10;
    if (index < 1 || index > s.rows) Raise(kErrSubscript);
    line = 20;
    CMatrix result;
    result.SetSize(1, s.columns);
    line = 30;
    const double* a = s.data.data() + static_cast<std::size_t>(index - 1) * s.columns;
    std::copy_n(a, s.columns, result.state_->data.data());
    return result;
  });
}

Array<double> CMatrix::ValuesAsVector(ORVMatrixVector Extract, Long index) const {
  const State& s = *state_;
  return Guard(kValuesAsVector, [&](Line& line) {
    line = 10;
    Array<double> v;
    switch (Extract) {
      case ORVMVColumn:
        line = 20;
        if (index > s.columns)
          Raise(kErrSubscript, {}, "The index is larger than the number of columns");
        line = 30;
        v.ReDim(1, s.rows);
        for (Long i = 1; i <= s.rows; ++i) v.At(i) = s.data(i, index);
        break;
      case ORVMVRow:
        line = 40;
        if (index > s.rows) Raise(kErrSubscript, {}, "The index is larger than the number of rows");
        line = 50;
        v.ReDim(1, s.columns);
        for (Long j = 1; j <= s.columns; ++j) v.At(j) = s.data(index, j);
        break;
      case ORVMVDiagonal: {
        line = 60;
        const Long n = DiagonalLength(s.rows, s.columns);
        v.ReDim(1, n);
        for (Long i = 1; i <= n; ++i) v.At(i) = s.data(i, i);
        break;
      }
      default:
        break;
    }
    return v;
  });
}

}  // namespace orv
