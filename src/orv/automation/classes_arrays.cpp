#include "orv/arrays/CDescriptives.hpp"
#include "orv/arrays/CRangeObjects.hpp"
#include "orv/arrays/CVMatrix.hpp"
#include "orv/arrays/clsMatrix.hpp"
#include "orv/automation/classes.hpp"
#include "orv/excel/Range.hpp"

namespace orv::automation {

ORV_CLASS_TABLE(
    CVMatrix, Instancing::Creatable, &NewBoxed<CVMatrix>,
    ORV_METHOD(SetSize, "Rows", Opt("Columns", Long{1}), Opt("Persist", false)), ORV_GET(RowCount),
    ORV_GET(ColumnCount), ORV_GET(IsNull), ORV_GET(IsEqual, "Matrix"),
    ORV_GET(Item, "row", Opt("Column", Long{1})),
    Member::Let<static_cast<void (CVMatrix::*)(Long, Long, const Variant&)>(&CVMatrix::LetItem)>(
        "Item", {"row", Opt("Column", Long{1}), "value"}),
    ORV_PROP(Values), ORV_METHOD(ToString), ORV_METHOD(ToArray),
    ORV_METHOD(FillFromArray, "Values", Opt("AsRowVector", false)), ORV_METHOD(DeleteRow, "index"),
    ORV_METHOD(DeleteColumn, "index"), ORV_METHOD(InsertRows, "Matrix", Opt("index", Long{0})),
    ORV_METHOD(InsertColumns, "Matrix", Opt("index", Long{0})), ORV_METHOD(Column, "index"),
    ORV_METHOD(row, "index"),
    ORV_METHOD(SubMatrix, "StartRow", "StartCol", Opt("NumRows", Long{0}), Opt("NumCols", Long{0})),
    ORV_METHOD(Sort, Opt("index", Long{1})), ORV_METHOD(Rank, Opt("Column", Long{1})))

ORV_CLASS_TABLE(
    clsMatrix, Instancing::Creatable, &NewBoxed<clsMatrix>,
    ORV_METHOD(ReturnHeadersAndNumericData, "NumericRange", "Headers", Opt("DataInRows", false)),
    ORV_METHOD(ReturnHeadersAndNumericDataArrays, "NumericRange", "Headers",
               Opt("DataInRows", false)),
    ORV_METHOD(ReturnHeadersAndStringData, "StringRange", "Headers", Opt("DataInRows", false)),
    ORV_METHOD(ReturnHeadersAndVariantData, "InputRange", "Headers"),
    ORV_METHOD(VariantToArray, "Matrix"), ORV_METHOD(VariantToStringArray, "Matrix"),
    ORV_METHOD(VariantToIntegerArray, "Matrix"), ORV_METHOD(VariantToLongArray, "Matrix"),
    ORV_METHOD(HConcatenate, "Matrix1", "Matrix2"),
    ORV_METHOD(HStringConcatenate, "Matrix1", "Matrix2"),
    ORV_METHOD(VariantHConcatenate, "Matrix1", "Matrix2"),
    ORV_METHOD(VariantVConcatenate, "Matrix1", "Matrix2"),
    ORV_METHOD(SubMatrix, "ParentMatrix", "StartCol", "StartRow", "Width", "Height"),
    ORV_METHOD(VariantSubMatrix, "ParentMatrix", "StartCol", "StartRow", "Width", "Height"),
    ORV_METHOD(StringSubArray, "ParentMatrix", "StartCell", "NumCells"),
    ORV_METHOD(Transpose, "Matrix"), ORV_METHOD(VariantTranspose, "Matrix"),
    ORV_METHOD(StringTranspose, "Matrix"), ORV_METHOD(MakeMatrix, "Vector"),
    ORV_METHOD(VariantMakeMatrix, "Vector"), ORV_METHOD(Unity, "Size"),
    ORV_METHOD(UnityVector, "Size", "RowOrCol"), ORV_METHOD(MCombine, "Matrix1", "Matrix2"),
    ORV_METHOD(ToString, "a"), ORV_METHOD(MMult, "Matrix1", "Matrix2"),
    ORV_METHOD(MMultConst, "Matrix", "Constant"), ORV_METHOD(MAdd, "Matrix1", "Matrix2"),
    ORV_METHOD(MSubtract, "Matrix1", "Matrix2"), ORV_METHOD(VariantMSubtract, "Matrix1", "Matrix2"),
    ORV_METHOD(Kronecker, "MatrixA", "MatrixB"), ORV_METHOD(SumProduct, "Matrix1", "Matrix2"),
    ORV_METHOD(MIdentity, "Size"), ORV_METHOD(GenInv, "Matrix"),
    ORV_METHOD(GeneralInverse, "Matrix", Opt("ZERO")), ORV_METHOD(Max, "Matrix"),
    ORV_METHOD(Min, "Matrix"), ORV_METHOD(GetDescriptives, "Matrix", "Means", "SDs", "SEs", "Ns"),
    ORV_METHOD(CovarianceXY, "x", "Y"), ORV_METHOD(CovarianceXX, "x"),
    ORV_METHOD(CorrelationXX, "Matrix", Opt("CovarMatrix", false)),
    ORV_METHOD(CorrelationXY, "Matrix1", "Matrix2"),
    ORV_METHOD(FactorSSQCP, "Matrix", "GroupSizes"),
    ORV_METHOD(FactorTolerance, "Matrix", "GroupSizes"),
    ORV_METHOD(Sort, "Matrix", Opt("Transpose", true), Opt("Column", Integer{1})),
    ORV_METHOD(VariantSort, "Matrix", Opt("Transpose", true), Opt("Column", Integer{1})),
    ORV_METHOD(QuickSort, "Matrix", Opt("Direction", orvSortAscending),
               Opt("SortType", orvSortRows), Opt("SortIndex", Long{0})),
    ORV_METHOD(Cholesky, "InputMatrix"), ORV_METHOD(MInv_SymmetricPositiveDefinite, "a"),
    ORV_METHOD(Eigen, "Eig"), ORV_METHOD(determinant, "Matrix"))

ORV_CLASS_TABLE(CRangeObjects, Instancing::Global, &Predeclared<CRangeObjects>,
                ORV_METHOD(RangeToDouble, "Range", Opt("Headers", false)),
                ORV_METHOD(ExtractHeaders, "Range1", Opt("Range2", excel::Range(Nothing)),
                           Opt("Headers", false), Opt("ZeroBased", false)))

ORV_CLASS_TABLE(CDescriptives, Instancing::Creatable, &NewBoxed<CDescriptives>, ORV_SET(Data),
                ORV_GET(Counts))

}  // namespace orv::automation
