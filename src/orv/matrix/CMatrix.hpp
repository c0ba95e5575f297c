#pragma once
// A dense matrix of doubles with 1-based indices. A CMatrix is a handle:
// copies share one matrix, Clone makes an independent one, and a handle
// made from Nothing holds no matrix (error 91 on use). Operations return a
// new matrix and leave the receiver unchanged unless they say otherwise.
#include <string>

#include "orv/frame/frame.hpp"

namespace orv {

class CMatrix {
 public:
  // A new, null matrix (0 x 0).
  CMatrix();
  // An empty handle.
  CMatrix(NothingType);

  bool IsNothing() const { return state_.IsNothing(); }
  // Same object.
  friend bool Is(const CMatrix& a, const CMatrix& b) { return a.state_ == b.state_; }

  // --- storage and element access ---
  // Rows or Columns < 1 makes the matrix null. With Persist the elements of
  // the common block are kept and Rows and Columns are lowered, in the
  // caller's variables, to the old counts where they exceeded them.
  void SetSize(ByRef<Long> Rows, ByRef<Long> Columns = 1, Boolean Persist = false);
  Long RowCount() const;
  Long ColumnCount() const;
  Boolean IsNull() const;
  Boolean IsSquare() const;
  Boolean IsSymmetric() const;
  Double Item(Long row, Long Column = 1) const;
  void LetItem(Long row, Long Column, Double value);
  // Item(row) = value: Column left out is 1.
  void LetItem(Long row, Double value) { LetItem(row, 1, value); }
  // A copy of the elements (1 To rows, 1 To columns); unallocated when null.
  Array<double> Values() const;
  // Copies any 1-D (as a column) or 2-D array in, whatever its lower
  // bounds; a failure leaves a null matrix and is not reported.
  void LetValues(const Array<double>& A);
  void LetValuesToDiagonal(const Array<double>& A);
  CMatrix Diagonalize() const;
  std::string ToString() const;
  Array<double> ToArray() const;
  CMatrix Clone() const;
  void Fill(Double Value);
  void FillFromArray(const Array<double>& Values, Boolean AsRowVector = false);
  CMatrix DiagVector() const;
  CMatrix ZeroMatrix(Long Rows, Long Columns) const;
  CMatrix IdentityMatrix(Long Size) const;
  CMatrix UnityColumn(Long Rows) const;
  CMatrix UnityRow(Long Columns) const;
  Boolean IsEqual(const CMatrix& Matrix) const;
  CMatrix Column(Long index) const;
  CMatrix row(Long index) const;
  Array<double> ValuesAsVector(ORVMatrixVector Extract, Long index = 1) const;

  // --- arithmetic and restructuring ---
  CMatrix Add(const CMatrix& Matrix) const;
  CMatrix Subtract(const CMatrix& Matrix) const;
  Double DotProduct(const CMatrix& Vector1, const CMatrix& Vector2) const;
  CMatrix Multiply(const CMatrix& Matrix) const;
  CMatrix MultiplyItems(const CMatrix& Matrix,
                        ORVMatrixItemOpDirection Direction = ORVMatrixItemOpDirection::All,
                        Boolean IgnoreSizeDiffs = false) const;
  CMatrix DivideItems(const CMatrix& Matrix, ORVMatrixItemOpDirection Direction,
                      Boolean IgnoreSizeDiffs = false) const;
  CMatrix MultiplyByConstant(Double Constant) const;
  CMatrix DivideByConstant(Double Constant) const;
  Double Minimum() const;
  Double Maximum() const;
  Double Sum(Boolean Diagonal = false) const;
  CMatrix SumSqs(ORVMatrixDirection Direction = ORVMDALL, Long Exponent = 2) const;
  Long CountNonZero() const;
  Long CountValue(Double Value) const;
  CMatrix Transpose() const;
  // NumRows or NumCols of 0 is replaced (in the caller's variable) by the
  // count to the last row or column.
  CMatrix SubMatrix(Long StartRow, Long StartCol, ByRef<Long> NumRows = 0,
                    ByRef<Long> NumCols = 0) const;
  CMatrix Concatenate(const CMatrix& Y, Boolean Vertically = false) const;
  CMatrix DeleteRow(Long index) const;
  CMatrix DeleteColumn(Long index) const;
  CMatrix DeleteRows(const CMatrix& RowIndex, Double Flag = 1.0) const;
  CMatrix DeleteRowsCols(const CMatrix& RowIndex, const CMatrix& ColIndex, Double Flag = 1.0) const;
  // Nothing when Matrix is null; Matrix itself when the receiver is null.
  // An index of 0 appends and is written back as the count + 1.
  CMatrix InsertRows(const CMatrix& Matrix, ByRef<Long> index = 0) const;
  CMatrix InsertColumns(const CMatrix& Matrix, ByRef<Long> index = 0) const;

  // --- linear algebra ---
  CMatrix GeneralInverse(Double ZERO = 1e-20) const;
  Double determinant() const;
  Boolean IsSingular() const;
  CMatrix Cholesky(Double ZERO = 1e-13) const;
  Boolean IsPositiveDefinite() const;
  CMatrix SolveEquation(const CMatrix& Vector) const;
  CMatrix ForwardSubstitution(const CMatrix& b) const;
  CMatrix BackwardSubstitution(const CMatrix& b) const;

  // --- eigen decomposition ---
  CMatrix EigenValuesAndVectors(ORVSortDirection SortOrder = orvSortDescending) const;

  // --- statistics (rows are cases, columns variables) ---
  // CaseWeights: column 1 holds one weight per case; Nothing means all 1.
  CMatrix Means(const CMatrix& CaseWeights = CMatrix(Nothing)) const;
  // Resizes and fills the four given matrices.
  void Descriptives(CMatrix Means, CMatrix SDs, CMatrix SEs, CMatrix Counts,
                    const CMatrix& CaseWeights = CMatrix(Nothing)) const;
  CMatrix Covariance(const CMatrix& Y = CMatrix(Nothing)) const;
  CMatrix Correlation(const CMatrix& Y = CMatrix(Nothing), Boolean IsCovar = false) const;

  // --- sorting and ranking ---
  CMatrix Sort(Long index = 1) const;
  CMatrix QuickSort(ORVSortType SortType = orvSortRows,
                    ORVSortDirection Direction = orvSortAscending, Long SortIndex = 1) const;
  CMatrix QuickSortWithThreshold(Double Threshold, Boolean Absolute) const;
  CMatrix Rank(Long Column = 1) const;

 private:
  struct State;
  explicit CMatrix(Ref<State> state);
  // A new matrix holding A (1-based, as built by the operations).
  static CMatrix FromArray(Array<double> A);
  // Add and Subtract: op(item, item of Matrix spread over the receiver), as
  // `member` reports failures.
  template <class Op>
  CMatrix SpreadWise(const Member& member, const CMatrix& Matrix, Op op) const;
  // MultiplyItems and DivideItems: op(item, factor) item by item, as
  // `member` reports failures.
  template <class Op>
  CMatrix ItemWise(const Member& member, const CMatrix& Matrix, ORVMatrixItemOpDirection Direction,
                   Boolean IgnoreSizeDiffs, Op op) const;
  Ref<State> state_;
};

}  // namespace orv
