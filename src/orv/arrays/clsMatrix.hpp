#pragma once
// Matrix functions over plain arrays, and the readers of worksheet data.
// clsMatrix keeps no state: every instance behaves alike.
//
// Arrays are read over 1 To UBound in each dimension unless a member says
// otherwise, and results have lower bounds 1. Parameters a member writes
// back are ByRef: pass a variable to see the result.
#include <optional>
#include <string>

#include "orv/frame/frame.hpp"

namespace orv {

namespace excel {
class Range;
}

class clsMatrix {
 public:
  // --- reading worksheet data (element 1: headers, element 2: data) ---
  Variant ReturnHeadersAndNumericData(const excel::Range& NumericRange, Boolean Headers,
                                      Boolean DataInRows = false) const;
  Variant ReturnHeadersAndNumericDataArrays(const excel::Range& NumericRange, Boolean Headers,
                                            Boolean DataInRows = false) const;
  Variant ReturnHeadersAndStringData(const excel::Range& StringRange, Boolean Headers,
                                     Boolean DataInRows = false) const;
  Variant ReturnHeadersAndVariantData(const excel::Range& InputRange, Boolean Headers) const;

  // --- conversion and assembly ---
  Array<double> VariantToArray(const Variant& Matrix) const;
  Array<std::string> VariantToStringArray(const Variant& Matrix) const;
  Array<Integer> VariantToIntegerArray(const Variant& Matrix) const;
  Array<Long> VariantToLongArray(const Variant& Matrix) const;
  Array<double> HConcatenate(const Array<double>& Matrix1, const Array<double>& Matrix2) const;
  Array<std::string> HStringConcatenate(const Array<std::string>& Matrix1,
                                        const Array<std::string>& Matrix2) const;
  Variant VariantHConcatenate(const Variant& Matrix1, const Variant& Matrix2) const;
  Variant VariantVConcatenate(const Variant& Matrix1, const Variant& Matrix2) const;
  // Note the order: column before row, width before height.
  Array<double> SubMatrix(const Array<double>& ParentMatrix, Long StartCol, Long StartRow,
                          Long Width, Long Height) const;
  Variant VariantSubMatrix(const Variant& ParentMatrix, Long StartCol, Long StartRow, Long Width,
                           Long Height) const;
  Array<std::string> StringSubArray(const Array<std::string>& ParentMatrix, Long StartCell,
                                    Long NumCells) const;
  Array<double> Transpose(const Array<double>& Matrix) const;
  Variant VariantTranspose(const Variant& Matrix) const;
  Array<std::string> StringTranspose(const Array<std::string>& Matrix) const;
  Array<double> MakeMatrix(const Array<double>& Vector) const;
  Variant VariantMakeMatrix(const Variant& Vector) const;
  Array<double> Unity(Long Size) const;
  Array<double> UnityVector(Long Size, Long RowOrCol) const;
  Array<double> MCombine(const Array<double>& Matrix1, const Array<double>& Matrix2) const;
  std::string ToString(const Array<double>& a) const;

  // --- linear algebra ---
  Array<double> MMult(const Array<double>& Matrix1, const Array<double>& Matrix2) const;
  // Scales the caller's array in place and returns a copy of it.
  Array<double> MMultConst(ByRef<Array<double>> Matrix, Double Constant) const;
  Array<double> MAdd(const Array<double>& Matrix1, const Array<double>& Matrix2) const;
  Array<double> MSubtract(const Array<double>& Matrix1, const Array<double>& Matrix2) const;
  Variant VariantMSubtract(const Variant& Matrix1, const Variant& Matrix2) const;
  Array<double> Kronecker(const Array<double>& MatrixA, const Array<double>& MatrixB) const;
  Array<double> SumProduct(const Array<double>& Matrix1, const Array<double>& Matrix2) const;
  Array<double> MIdentity(Long Size) const;
  Array<double> GenInv(const Array<double>& Matrix) const;
  // ZERO omitted means 1E-20.
  Array<double> GeneralInverse(const Array<double>& Matrix,
                               const std::optional<Variant>& ZERO = std::nullopt) const;
  Double Max(const Variant& Matrix) const;
  Double Min(const Variant& Matrix) const;

  // --- statistics (rows are cases, columns variables) ---
  void GetDescriptives(const Array<double>& Matrix, ByRef<Array<double>> Means,
                       ByRef<Array<double>> SDs, ByRef<Array<double>> SEs,
                       ByRef<Array<double>> Ns) const;
  Array<double> CovarianceXY(const Array<double>& x, const Array<double>& Y) const;
  Array<double> CovarianceXX(const Array<double>& x) const;
  Array<double> CorrelationXX(const Array<double>& Matrix, Boolean CovarMatrix = false) const;
  Array<double> CorrelationXY(const Array<double>& Matrix1, const Array<double>& Matrix2) const;
  Array<double> FactorSSQCP(const Array<double>& Matrix, const Variant& GroupSizes) const;
  Array<double> FactorTolerance(const Array<double>& Matrix, const Variant& GroupSizes) const;

  // --- sorting (in place) ---
  // Through the add-in workbook's "Scratchpad" worksheet.
  void Sort(ByRef<Array<double>> Matrix, Boolean Transpose = true, Integer Column = 1) const;
  void VariantSort(ByRef<Variant> Matrix, Boolean Transpose = true, Integer Column = 1) const;
  // In memory; a SortIndex of 0 (or omitted) means the lower bound.
  void QuickSort(ByRef<Array<double>> Matrix, ORVSortDirection Direction = orvSortAscending,
                 ORVSortType SortType = orvSortRows, Long SortIndex = 0) const;

  // --- factorisations and eigenvalues ---
  Array<double> Cholesky(const Array<double>& InputMatrix) const;
  // On True, a holds its own inverse; False on any failure (a then holds
  // partial work).
  Boolean MInv_SymmetricPositiveDefinite(ByRef<Array<double>> a) const;
  Array<double> Eigen(const Array<double>& Eig) const;
  // Gaussian elimination in place on the caller's array.
  Double determinant(ByRef<Variant> Matrix) const;
};

}  // namespace orv
