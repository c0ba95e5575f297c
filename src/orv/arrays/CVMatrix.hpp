#pragma once
// A matrix of Variant values with 1-based indices, for data that mixes
// text, blanks and numbers. A CVMatrix is a handle: copies share one
// matrix, and a handle made from Nothing holds none (error 91 on use).
// Operations that return a CVMatrix build a new one and leave the receiver
// unchanged; SetSize, LetItem, LetValues and FillFromArray change it.
// Elements compare as the interface's relational operators compare them
// (see orv/frame/compare.hpp).
#include <string>

#include "orv/frame/frame.hpp"

namespace orv {

class CMatrix;

class CVMatrix {
 public:
  // A new, empty matrix (0 x 0).
  CVMatrix();
  // An empty handle.
  CVMatrix(NothingType);

  bool IsNothing() const { return state_.IsNothing(); }
  // Same object.
  friend bool Is(const CVMatrix& a, const CVMatrix& b) { return a.state_ == b.state_; }

  // Rows or Columns < 1 empties the matrix. Otherwise every element is
  // Empty, except with Persist, which keeps the elements of the common
  // block and lowers Rows and Columns, in the caller's variables, to the
  // old counts where they exceeded them.
  void SetSize(ByRef<Long> Rows, ByRef<Long> Columns = 1, Boolean Persist = false);
  Long RowCount() const;
  Long ColumnCount() const;
  // True unless both counts are non-zero.
  Boolean IsNull() const;
  // Same counts and every element equal to its counterpart.
  Boolean IsEqual(const CVMatrix& Matrix) const;
  Variant Item(Long row, Long Column = 1) const;
  void LetItem(Long row, Long Column, const Variant& value);
  // Item(row) = value: Column left out is 1.
  void LetItem(Long row, const Variant& value) { LetItem(row, 1, value); }
  // Copies of the elements.
  Array<Variant> Values() const;
  // Installs a copy of a two-dimensional array (any element type), the
  // counts becoming its upper bounds; anything else empties the matrix,
  // without an error.
  void LetValues(const Variant& Values);
  std::string ToString() const;
  Array<Variant> ToArray() const;
  // Any array, whatever its lower bounds; a one-dimensional one becomes a
  // column, or a row with AsRowVector.
  void FillFromArray(const Variant& Values, Boolean AsRowVector = false);

  CVMatrix DeleteRow(Long index) const;
  CVMatrix DeleteColumn(Long index) const;
  // Nothing when Matrix is empty; Matrix itself when the receiver is empty.
  // An index of 0 appends and is written back as the count + 1.
  CVMatrix InsertRows(const CVMatrix& Matrix, ByRef<Long> index = 0) const;
  CVMatrix InsertColumns(const CVMatrix& Matrix, ByRef<Long> index = 0) const;
  CVMatrix Column(Long index) const;
  CVMatrix row(Long index) const;
  // NumRows or NumCols of 0 is replaced (in the caller's variable) by
  // |count - start| + 1.
  CVMatrix SubMatrix(Long StartRow, Long StartCol, ByRef<Long> NumRows = 0,
                     ByRef<Long> NumCols = 0) const;
  // The rows in ascending order of column index; equal keys keep their
  // order.
  CVMatrix Sort(Long index = 1) const;
  // Average ranks of one column (ties share the mean rank); values that
  // are not numeric are not ranked and give 0.
  CMatrix Rank(Long Column = 1) const;

 private:
  struct State;
  explicit CVMatrix(Ref<State> state);
  Ref<State> state_;
};

}  // namespace orv
