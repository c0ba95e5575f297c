// CMatrix: element-wise and algebraic operations, and the members that cut,
// join and reshape matrices.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "orv/matrix/CMatrix.hpp"
#include "orv/matrix/CMatrix_state.hpp"
#include "orv/matrix/multiply.hpp"

namespace orv {
namespace {

constexpr Member kAdd{Rule::Chain, "CMatrix", "Add"};
constexpr Member kSubtract{Rule::Chain, "CMatrix", "Subtract"};
constexpr Member kDotProduct{Rule::Chain, "CMatrix", "DotProduct"};
constexpr Member kMultiply{Rule::Chain, "CMatrix", "Multiply"};
constexpr Member kMultiplyItems{Rule::None, "CMatrix", "MultiplyItems"};
constexpr Member kDivideItems{Rule::None, "CMatrix", "DivideItems"};
constexpr Member kMultiplyByConstant{Rule::Stamp, "CMatrix", "MultiplyByConstant"};
constexpr Member kDivideByConstant{Rule::Stamp, "CMatrix", "DivideByConstant"};
constexpr Member kMinimum{Rule::Stamp, "CMatrix", "Minimum"};
constexpr Member kMaximum{Rule::Stamp, "CMatrix", "Maximum"};
constexpr Member kSum{Rule::Plain, "CMatrix", "Sum"};
constexpr Member kSumSqs{Rule::Plain, "CMatrix", "SumSqs"};
constexpr Member kCountNonZero{Rule::Plain, "CMatrix", "CountNonZero"};
constexpr Member kCountValue{Rule::Plain, "CMatrix", "CountValue"};
constexpr Member kTranspose{Rule::Plain, "CMatrix", "Transpose"};
constexpr Member kSubMatrix{Rule::Plain, "CMatrix", "SubMatrix"};
constexpr Member kConcatenate{Rule::Plain, "CMatrix", "Concatenate"};
constexpr Member kDeleteRow{Rule::Chain, "CMatrix", "DeleteRow"};
constexpr Member kDeleteColumn{Rule::Chain, "CMatrix", "DeleteColumn"};
constexpr Member kDeleteRows{Rule::Plain, "CMatrix", "DeleteRows"};
constexpr Member kDeleteRowsCols{Rule::Plain, "CMatrix", "DeleteRowsCols"};
constexpr Member kInsertRows{Rule::Chain, "CMatrix", "InsertRows"};
constexpr Member kInsertColumns{Rule::Chain, "CMatrix", "InsertColumns"};

using std::size_t;

inline size_t Z(Long n) { return static_cast<size_t>(n); }

// Long arithmetic as the interface does it: a result outside 32 bits is
// an overflow (6), never a wrapped value.
Long AddLong(std::int64_t a, std::int64_t b) {
  const std::int64_t sum = a + b;
  if (sum < INT32_MIN || sum > INT32_MAX) Raise(kErrOverflow);
  return static_cast<Long>(sum);
}

void CheckFinite(const double* p, size_t count) {
  for (size_t k = 0; k < count; ++k)
    if (!std::isfinite(p[k])) Raise(kErrOverflow);
}

// How the second operand of Add and Subtract spreads over the receiver.
enum class Spread { Elements, Row, Column };

Spread SpreadOf(Long r, Long c, Long mr, Long mc) {
  if (mr == r && mc == c) return Spread::Elements;
  if (mr == 1 && mc == c) return Spread::Row;
  if (mr == r && mc == 1) return Spread::Column;
  Raise(kErrSubscript);
}

template <class Op>
void Spreading(Spread spread, const double* a, const double* m, double* out, size_t r, size_t c,
               Op op) {
  for (size_t i = 0; i < r; ++i) {
    const double* ai = a + i * c;
    double* oi = out + i * c;
    switch (spread) {
      case Spread::Elements: {
        const double* mi = m + i * c;
        for (size_t j = 0; j < c; ++j) oi[j] = op(ai[j], mi[j]);
        break;
      }
      case Spread::Row:
        for (size_t j = 0; j < c; ++j) oi[j] = op(ai[j], m[j]);
        break;
      case Spread::Column:
        for (size_t j = 0; j < c; ++j) oi[j] = op(ai[j], m[i]);
        break;
    }
  }
}

bool IsVector(Long rows, Long columns) { return rows == 1 || columns == 1; }

Long Smaller(Long a, Long b) { return b < a ? b : a; }

}  // namespace

// --- sums and products of matrices ---

template <class Op>
CMatrix CMatrix::SpreadWise(const Member& member, const CMatrix& Matrix, Op op) const {
  const State& s = *state_;
  return Guard(member, [&](Line& line) {
    line = 10;
    const State& m = *Matrix.state_;
    const Spread spread = SpreadOf(s.rows, s.columns, m.rows, m.columns);
    line = 20;
    CMatrix result;
    result.SetSize(s.rows, s.columns);
    line = 30;
    double* out = result.state_->data.data();
    Spreading(spread, s.data.data(), m.data.data(), out, Z(s.rows), Z(s.columns), op);
    CheckFinite(out, result.state_->data.size());
    return result;
  });
}

CMatrix CMatrix::Add(const CMatrix& Matrix) const {
  return SpreadWise(kAdd, Matrix, [](double x, double y) { return x + y; });
}

CMatrix CMatrix::Subtract(const CMatrix& Matrix) const {
  return SpreadWise(kSubtract, Matrix, [](double x, double y) { return x - y; });
}

Double CMatrix::DotProduct(const CMatrix& Vector1, const CMatrix& Vector2) const {
  (void)*state_;
  return Guard(kDotProduct, [&](Line& line) {
    line = 10;
    const State& v1 = *Vector1.state_;
    const State& v2 = *Vector2.state_;
    if (!IsVector(v1.rows, v1.columns) || !IsVector(v2.rows, v2.columns)) Raise(kErrSubscript);
    const size_t n = v1.data.size();
    if (n != v2.data.size()) Raise(kErrSubscript);
    line = 20;
    // A row and a column vector both hold their elements one after another.
    const double* a = v1.data.data();
    const double* b = v2.data.data();
    double sum = 0;
    for (size_t k = 0; k < n; ++k) sum = sum + a[k] * b[k];
    return Finite(sum);
  });
}


CMatrix CMatrix::Multiply(const CMatrix& Matrix) const {
  const State& s = *state_;
  return Guard(kMultiply, [&](Line& line) {
    line = 10;
    const State& m = *Matrix.state_;
    if (s.columns != m.rows) Raise(kErrSubscript);
    line = 20;
    CMatrix result;
    result.SetSize(s.rows, m.columns);
    line = 30;
    double* out = result.state_->data.data();
    kernels::MultiplyAccumulate(Z(s.rows), Z(m.columns), Z(s.columns),
                                {s.data.data(), Z(s.columns)}, {m.data.data(), Z(m.columns)}, out,
                                Z(m.columns));
    // A sum that overflowed somewhere stays infinite or NaN to the end.
    CheckFinite(out, result.state_->data.size());
    return result;
  });
}

// --- element-wise products and quotients ---

namespace {

// result(i, j) = op(receiver(i, j), factor) for the factor that Direction
// picks from m; the result shape follows the direction.
struct ItemPlan {
  Long rows = 0;
  Long columns = 0;
  bool valid = false;  // false: an unknown direction, the result is null
};

ItemPlan PlanItems(ORVMatrixItemOpDirection direction, Long r, Long c, Long mr, Long mc,
                   bool ignore) {
  ItemPlan plan;
  switch (direction) {
    case ORVMatrixItemOpDirection::All:
      if ((r != mr || c != mc) && !ignore) Raise(kErrSubscript);
      plan = {Smaller(r, mr), Smaller(c, mc), true};
      break;
    case ORVMatrixItemOpDirection::Rows: {
      if (!IsVector(mr, mc)) Raise(kErrSubscript);
      const Long length = mr * mc;
      if (length != r && !ignore) Raise(kErrSubscript);
      plan = {Smaller(r, length), c, true};
      break;
    }
    case ORVMatrixItemOpDirection::Columns: {
      if (!IsVector(mr, mc)) Raise(kErrSubscript);
      const Long length = mr * mc;
      if (length != c && !ignore) Raise(kErrSubscript);
      plan = {r, Smaller(c, length), true};
      break;
    }
    case ORVMatrixItemOpDirection::DiagonalColumns:
      if (c != mc && !ignore) Raise(kErrSubscript);
      plan = {r, Smaller(Smaller(c, mc), mr), true};
      break;
    case ORVMatrixItemOpDirection::DiagonalRows:
      if (r != mr && !ignore) Raise(kErrSubscript);
      plan = {Smaller(Smaller(r, mr), mc), c, true};
      break;
  }
  return plan;
}

template <class Op>
void ApplyItems(ORVMatrixItemOpDirection direction, const double* a, size_t lda, const double* m,
                size_t ldm, double* out, size_t rows, size_t columns, Op op) {
  for (size_t i = 0; i < rows; ++i) {
    const double* ai = a + i * lda;
    double* oi = out + i * columns;
    for (size_t j = 0; j < columns; ++j) {
      double factor = 0;
      switch (direction) {
        case ORVMatrixItemOpDirection::All:
          factor = m[i * ldm + j];
          break;
        case ORVMatrixItemOpDirection::Rows:
          factor = m[i];
          break;
        case ORVMatrixItemOpDirection::Columns:
          factor = m[j];
          break;
        case ORVMatrixItemOpDirection::DiagonalColumns:
          factor = m[j * ldm + j];
          break;
        case ORVMatrixItemOpDirection::DiagonalRows:
          factor = m[i * ldm + i];
          break;
      }
      oi[j] = op(ai[j], factor);
    }
  }
}

}  // namespace

template <class Op>
CMatrix CMatrix::ItemWise(const Member& member, const CMatrix& Matrix,
                          ORVMatrixItemOpDirection Direction, Boolean IgnoreSizeDiffs,
                          Op op) const {
  const State& s = *state_;
  return Guard(member, [&](Line&) {
    const State& m = *Matrix.state_;
    const ItemPlan plan =
        PlanItems(Direction, s.rows, s.columns, m.rows, m.columns, IgnoreSizeDiffs);
    CMatrix result;
    if (!plan.valid) return result;
    result.SetSize(plan.rows, plan.columns);
    if (result.state_->rows == 0) return result;
    ApplyItems(Direction, s.data.data(), Z(s.columns), m.data.data(), Z(m.columns),
               result.state_->data.data(), Z(plan.rows), Z(plan.columns), op);
    return result;
  });
}

CMatrix CMatrix::MultiplyItems(const CMatrix& Matrix, ORVMatrixItemOpDirection Direction,
                               Boolean IgnoreSizeDiffs) const {
  return ItemWise(kMultiplyItems, Matrix, Direction, IgnoreSizeDiffs,
                  [](double x, double y) { return Mul(x, y); });
}

CMatrix CMatrix::DivideItems(const CMatrix& Matrix, ORVMatrixItemOpDirection Direction,
                             Boolean IgnoreSizeDiffs) const {
  return ItemWise(kDivideItems, Matrix, Direction, IgnoreSizeDiffs,
                  [](double x, double y) { return Div(x, y); });
}

CMatrix CMatrix::MultiplyByConstant(Double Constant) const {
  const State& s = *state_;
  return Guard(kMultiplyByConstant, [&](Line& line) {
    line = 10;
    CMatrix result;
    result.SetSize(s.rows, s.columns);
    line = 20;
    const std::vector<double>& a = s.data.storage();
    double* out = result.state_->data.data();
    for (size_t k = 0; k < a.size(); ++k) out[k] = a[k] * Constant;
    CheckFinite(out, a.size());
    return result;
  });
}

CMatrix CMatrix::DivideByConstant(Double Constant) const {
  const State& s = *state_;
  return Guard(kDivideByConstant, [&](Line& line) {
    line = 10;
    if (Constant == 0) Raise(kErrDivisionByZero);
    line = 20;
    CMatrix result;
    result.SetSize(s.rows, s.columns);
    line = 30;
    const std::vector<double>& a = s.data.storage();
    double* out = result.state_->data.data();
    for (size_t k = 0; k < a.size(); ++k) out[k] = a[k] / Constant;
    CheckFinite(out, a.size());
    return result;
  });
}

// --- scalars ---

Double CMatrix::Minimum() const {
  const State& s = *state_;
  return Guard(kMinimum, [&](Line& line) {
    line = 10;
    if (s.rows == 0 || s.columns == 0) Raise(kErrInvalidNull);
    line = 20;
    const std::vector<double>& a = s.data.storage();
    double value = a[0];
    for (double x : a)
      if (x < value) value = x;
    return value;
  });
}

Double CMatrix::Maximum() const {
  const State& s = *state_;
  return Guard(kMaximum, [&](Line& line) {
    line = 10;
    if (s.rows == 0 || s.columns == 0) Raise(kErrInvalidNull);
    line = 20;
    const std::vector<double>& a = s.data.storage();
    double value = a[0];
    for (double x : a)
      if (x > value) value = x;
    return value;
  });
}

Double CMatrix::Sum(Boolean Diagonal) const {
  const State& s = *state_;
  return Guard(kSum, [&](Line& line) {
    line = 10;
    double sum = 0;
    const double* a = s.data.data();
    if (Diagonal) {
      const size_t n = Z(Smaller(s.rows, s.columns)), ld = Z(s.columns);
      for (size_t i = 0; i < n; ++i) sum = sum + a[i * ld + i];
    } else {
      for (double x : s.data.storage()) sum = sum + x;
    }
    return Finite(sum);
  });
}

CMatrix CMatrix::SumSqs(ORVMatrixDirection Direction, Long Exponent) const {
  const State& s = *state_;
  return Guard(kSumSqs, [&](Line& line) {
    line = 10;
    const double power = Exponent;
    const size_t r = Z(s.rows), c = Z(s.columns);
    const double* a = s.data.data();
    CMatrix result;
    switch (Direction) {
      case ORVMDALL: {
        line = 20;
        double sum = 0;
        for (size_t k = 0; k < r * c; ++k) sum = orv::Add(sum, Pow(a[k], power));
        result.SetSize(1, 1);
        result.state_->data.At(1, 1) = sum;
        break;
      }
      case ORVMDColumns: {
        line = 30;
        result.SetSize(s.columns, 1);
        double* out = result.state_->data.data();
        for (size_t j = 0; j < c; ++j) {
          double sum = 0;
          for (size_t i = 0; i < r; ++i) sum = orv::Add(sum, Pow(a[i * c + j], power));
          out[j] = sum;
        }
        break;
      }
      case ORVMDRows: {
        line = 40;
        result.SetSize(s.rows, 1);
        double* out = result.state_->data.data();
        for (size_t i = 0; i < r; ++i) {
          double sum = 0;
          for (size_t j = 0; j < c; ++j) sum = orv::Add(sum, Pow(a[i * c + j], power));
          out[i] = sum;
        }
        break;
      }
      case ORVMDDiagonal: {
        line = 50;
        double sum = 0;
        const size_t n = std::min(r, c);
        for (size_t i = 0; i < n; ++i) sum = orv::Add(sum, Pow(a[i * c + i], power));
        result.SetSize(1, 1);
        result.state_->data.At(1, 1) = sum;
        break;
      }
    }
    return result;
  });
}

Long CMatrix::CountNonZero() const {
  const State& s = *state_;
  return Guard(kCountNonZero, [&](Line& line) {
    line = 10;
    Long count = 0;
    for (double x : s.data.storage())
      if (x != 0) ++count;
    return count;
  });
}

Long CMatrix::CountValue(Double Value) const {
  const State& s = *state_;
  return Guard(kCountValue, [&](Line& line) {
    line = 10;
    Long count = 0;
    for (double x : s.data.storage())
      if (x == Value) ++count;
    return count;
  });
}

// --- reshaping ---

CMatrix CMatrix::Transpose() const {
  const State& s = *state_;
  return Guard(kTranspose, [&](Line& line) {
    line = 10;
    CMatrix result;
    result.SetSize(s.columns, s.rows);
    line = 20;
    const size_t r = Z(s.rows), c = Z(s.columns);
    const double* a = s.data.data();
    double* out = result.state_->data.data();
    // Blocks keep both the reads and the writes within a few cache lines.
    constexpr size_t kBlock = 32;
    for (size_t i0 = 0; i0 < r; i0 += kBlock)
      for (size_t j0 = 0; j0 < c; j0 += kBlock)
        for (size_t i = i0; i < std::min(r, i0 + kBlock); ++i)
          for (size_t j = j0; j < std::min(c, j0 + kBlock); ++j) out[j * r + i] = a[i * c + j];
    return result;
  });
}

CMatrix CMatrix::SubMatrix(Long StartRow, Long StartCol, ByRef<Long> NumRows,
                           ByRef<Long> NumCols) const {
  const State& s = *state_;
  return Guard(kSubMatrix, [&](Line& line) {
    line = 10;
    if (*NumRows == 0) *NumRows = AddLong(std::llabs(AddLong(s.rows, -std::int64_t{StartRow})), 1);
    if (*NumCols == 0)
      *NumCols = AddLong(std::llabs(AddLong(s.columns, -std::int64_t{StartCol})), 1);
    line = 20;
    if (AddLong(AddLong(StartRow, *NumRows), -1) > s.rows ||
        AddLong(AddLong(StartCol, *NumCols), -1) > s.columns)
      Raise(kErrSubscript);
    line = 30;
    CMatrix result;
    result.SetSize(*NumRows, *NumCols);
    const State& out = *result.state_;
    if (out.rows == 0) return result;
    // A start below 1 fails at the first element read.
    if (StartRow < 1 || StartCol < 1) Raise(kErrSubscript);
    for (Long i = 0; i < out.rows; ++i)
      std::copy_n(s.data.data() + Z(StartRow - 1 + i) * Z(s.columns) + Z(StartCol - 1), out.columns,
                  result.state_->data.data() + Z(i) * Z(out.columns));
    return result;
  });
}

CMatrix CMatrix::Concatenate(const CMatrix& Y, Boolean Vertically) const {
  const State& s = *state_;
  return Guard(kConcatenate, [&](Line& line) {
    line = 10;
    const State& y = *Y.state_;
    CMatrix result;
    if (Vertically) {
      if (y.columns != s.columns) Raise(kErrSubscript, {}, "Matrix Column Count Mismatch");
      line = 20;
      result.SetSize(AddLong(s.rows, y.rows), s.columns);
      line = 30;
      double* out = result.state_->data.data();
      out = std::copy(s.data.storage().begin(), s.data.storage().end(), out);
      std::copy(y.data.storage().begin(), y.data.storage().end(), out);
    } else {
      if (y.rows != s.rows) Raise(kErrSubscript, {}, "Matrix Row Count Mismatch");
      line = 40;
      const Long columns = AddLong(s.columns, y.columns);
      result.SetSize(s.rows, columns);
      line = 50;
      double* out = result.state_->data.data();
      for (Long i = 0; i < s.rows; ++i) {
        out = std::copy_n(s.data.data() + Z(i) * Z(s.columns), s.columns, out);
        out = std::copy_n(y.data.data() + Z(i) * Z(y.columns), y.columns, out);
      }
    }
    return result;
  });
}

// --- deleting and inserting ---

CMatrix CMatrix::DeleteRow(Long index) const {
  const State& s = *state_;
  return Guard(kDeleteRow, [&](Line& line) {
    line = 10;
    if (index < 1 || index > s.rows) Raise(kErrSubscript);
    line = 20;
    if (s.rows < 2) Raise(kErrSubscript);
    CMatrix result;
    result.SetSize(s.rows - 1, s.columns);
    line = 30;
    const double* a = s.data.data();
    const size_t c = Z(s.columns), cut = Z(index - 1);
    double* out = result.state_->data.data();
    out = std::copy(a, a + cut * c, out);
    std::copy(a + (cut + 1) * c, a + Z(s.rows) * c, out);
    return result;
  });
}

CMatrix CMatrix::DeleteColumn(Long index) const {
  const State& s = *state_;
  return Guard(kDeleteColumn, [&](Line& line) {
    line = 10;
    if (index < 1 || index > s.columns) Raise(kErrSubscript);
    line = 20;
    if (s.columns < 2) Raise(kErrSubscript);
    CMatrix result;
    result.SetSize(s.rows, s.columns - 1);
    line = 30;
    const double* a = s.data.data();
    const size_t c = Z(s.columns), cut = Z(index - 1);
    double* out = result.state_->data.data();
    for (size_t i = 0; i < Z(s.rows); ++i) {
      const double* ai = a + i * c;
      out = std::copy(ai, ai + cut, out);
      out = std::copy(ai + cut + 1, ai + c, out);
    }
    return result;
  });
}

namespace {

// Which of `count` rows (or columns) stay: those whose flag, read from
// column 1 of the flags matrix for the first flags.rows positions, is not
// `flag`.
std::vector<Long> Kept(Long count, const double* flags, Long flag_rows, Long flag_ld, double flag) {
  std::vector<Long> kept;
  kept.reserve(Z(count));
  for (Long i = 0; i < count; ++i)
    if (i >= flag_rows || !(flags[Z(i) * Z(flag_ld)] == flag)) kept.push_back(i);
  return kept;
}

}  // namespace

CMatrix CMatrix::DeleteRows(const CMatrix& RowIndex, Double Flag) const {
  const State& s = *state_;
  return Guard(kDeleteRows, [&](Line& line) {
    line = 10;
    const State& f = *RowIndex.state_;
    if (f.rows > s.rows) Raise(kErrSubscript);
    line = 20;
    const std::vector<Long> rows = Kept(s.rows, f.data.data(), f.rows, f.columns, Flag);
    CMatrix result;
    if (rows.empty()) return result;
    line = 30;
    result.SetSize(static_cast<Long>(rows.size()), s.columns);
    line = 40;
    double* out = result.state_->data.data();
    for (Long i : rows) out = std::copy_n(s.data.data() + Z(i) * Z(s.columns), s.columns, out);
    return result;
  });
}

CMatrix CMatrix::DeleteRowsCols(const CMatrix& RowIndex, const CMatrix& ColIndex,
                                Double Flag) const {
  const State& s = *state_;
  return Guard(kDeleteRowsCols, [&](Line& line) {
    line = 10;
    const State& fr = *RowIndex.state_;
    if (fr.rows > s.rows) Raise(kErrSubscript);
    const State& fc = *ColIndex.state_;
    if (fc.rows > s.columns) Raise(kErrSubscript);
    line = 20;
    const std::vector<Long> rows = Kept(s.rows, fr.data.data(), fr.rows, fr.columns, Flag);
    const std::vector<Long> columns = Kept(s.columns, fc.data.data(), fc.rows, fc.columns, Flag);
    line = 30;
    if (rows.empty() || columns.empty()) Raise(kErrSubscript);
    CMatrix result;
    result.SetSize(static_cast<Long>(rows.size()), static_cast<Long>(columns.size()));
    line = 40;
    double* out = result.state_->data.data();
    for (Long i : rows) {
      const double* ai = s.data.data() + Z(i) * Z(s.columns);
      for (Long j : columns) *out++ = ai[j];
    }
    return result;
  });
}

namespace {

// Lines 30 and 40 of InsertRows and InsertColumns: the inserted matrix must
// fit the other dimension, and index (0 for after the last of count) must
// lie within 0 to count; 0 becomes count + 1.
void CheckInsertion(const Member& member, Line& line, bool fits, Long count, ByRef<Long>& index) {
  line = 30;
  if (!fits) Raise(kErrSubscript, Located(member, line));
  line = 40;
  if (*index < 0 || *index > count) Raise(kErrSubscript, Located(member, line));
  if (*index == 0) *index = AddLong(count, 1);
}

}  // namespace

CMatrix CMatrix::InsertRows(const CMatrix& Matrix, ByRef<Long> index) const {
  const State& s = *state_;
  return Guard(kInsertRows, [&](Line& line) -> CMatrix {
    line = 10;
    const State& m = *Matrix.state_;
    if (m.rows == 0 || m.columns == 0) return CMatrix(Nothing);
    line = 20;
    if (s.rows == 0 || s.columns == 0) return Matrix;
    CheckInsertion(kInsertRows, line, m.columns == s.columns, s.rows, index);
    line = 50;
    CMatrix result;
    result.SetSize(AddLong(s.rows, m.rows), s.columns);
    line = 60;
    const size_t c = Z(s.columns), before = Z(*index - 1);
    const double* a = s.data.data();
    double* out = result.state_->data.data();
    out = std::copy(a, a + before * c, out);
    out = std::copy(m.data.storage().begin(), m.data.storage().end(), out);
    std::copy(a + before * c, a + Z(s.rows) * c, out);
    return result;
  });
}

CMatrix CMatrix::InsertColumns(const CMatrix& Matrix, ByRef<Long> index) const {
  const State& s = *state_;
  return Guard(kInsertColumns, [&](Line& line) -> CMatrix {
    line = 10;
    const State& m = *Matrix.state_;
    if (m.rows == 0 || m.columns == 0) return CMatrix(Nothing);
    line = 20;
    if (s.rows == 0 || s.columns == 0) return Matrix;
    CheckInsertion(kInsertColumns, line, m.rows == s.rows, s.columns, index);
    line = 50;
    CMatrix result;
    result.SetSize(s.rows, AddLong(s.columns, m.columns));
    line = 60;
    const size_t c = Z(s.columns), mc = Z(m.columns), before = Z(*index - 1);
    double* out = result.state_->data.data();
    for (size_t i = 0; i < Z(s.rows); ++i) {
      const double* ai = s.data.data() + i * c;
      const double* mi = m.data.data() + i * mc;
      out = std::copy(ai, ai + before, out);
      out = std::copy(mi, mi + mc, out);
      out = std::copy(ai + before, ai + c, out);
    }
    return result;
  });
}

}  // namespace orv
