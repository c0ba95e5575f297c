#include "orv/automation/classes.hpp"
#include "orv/matrix/CMatrix.hpp"

namespace orv::automation {

ORV_CLASS_TABLE(
    CMatrix, Instancing::Creatable, &NewBoxed<CMatrix>,
    ORV_METHOD(SetSize, "Rows", Opt("Columns", Long{1}), Opt("Persist", false)), ORV_GET(RowCount),
    ORV_GET(ColumnCount), ORV_GET(IsNull), ORV_GET(IsSquare), ORV_METHOD(IsSymmetric),
    ORV_GET(Item, "row", Opt("Column", Long{1})),
    Member::Let<static_cast<void (CMatrix::*)(Long, Long, Double)>(&CMatrix::LetItem)>(
        "Item", {"row", Opt("Column", Long{1}), "value"}),
    ORV_PROP(Values), ORV_LET(ValuesToDiagonal), ORV_METHOD(Diagonalize), ORV_METHOD(ToString),
    ORV_METHOD(ToArray), ORV_METHOD(Clone), ORV_METHOD(Fill, "Value"),
    ORV_METHOD(FillFromArray, "Values", Opt("AsRowVector", false)), ORV_METHOD(DiagVector),
    ORV_METHOD(DeleteRow, "index"), ORV_METHOD(DeleteColumn, "index"),
    ORV_METHOD(InsertRows, "Matrix", Opt("index", Long{0})),
    ORV_METHOD(InsertColumns, "Matrix", Opt("index", Long{0})),
    ORV_METHOD(ZeroMatrix, "Rows", "Columns"), ORV_METHOD(IdentityMatrix, "Size"),
    ORV_METHOD(UnityColumn, "Rows"), ORV_METHOD(UnityRow, "Columns"), ORV_GET(IsEqual, "Matrix"),
    ORV_METHOD(Column, "index"), ORV_METHOD(row, "index"), ORV_METHOD(Add, "Matrix"),
    ORV_METHOD(Subtract, "Matrix"), ORV_METHOD(DotProduct, "Vector1", "Vector2"),
    ORV_METHOD(Multiply, "Matrix"),
    ORV_METHOD(MultiplyItems, "Matrix", Opt("Direction", ORVMatrixItemOpDirection::All),
               Opt("IgnoreSizeDiffs", false)),
    ORV_METHOD(DivideItems, "Matrix", "Direction", Opt("IgnoreSizeDiffs", false)),
    ORV_METHOD(MultiplyByConstant, "Constant"), ORV_METHOD(DivideByConstant, "Constant"),
    ORV_METHOD(Minimum), ORV_METHOD(Maximum), ORV_METHOD(GeneralInverse, Opt("ZERO", 1e-20)),
    ORV_METHOD(Means, Opt("CaseWeights", CMatrix(Nothing))),
    ORV_METHOD(Descriptives, "Means", "SDs", "SEs", "Counts", Opt("CaseWeights", CMatrix(Nothing))),
    ORV_METHOD(Sum, Opt("Diagonal", false)),
    ORV_METHOD(SumSqs, Opt("Direction", ORVMDALL), Opt("Exponent", Long{2})), ORV_METHOD(Transpose),
    ORV_METHOD(SubMatrix, "StartRow", "StartCol", Opt("NumRows", Long{0}), Opt("NumCols", Long{0})),
    ORV_METHOD(Sort, Opt("index", Long{1})),
    ORV_METHOD(QuickSort, Opt("SortType", orvSortRows), Opt("Direction", orvSortAscending),
               Opt("SortIndex", Long{1})),
    ORV_METHOD(CountNonZero), ORV_METHOD(CountValue, "Value"),
    ORV_METHOD(DeleteRowsCols, "RowIndex", "ColIndex", Opt("Flag", 1.0)),
    ORV_METHOD(DeleteRows, "RowIndex", Opt("Flag", 1.0)), ORV_METHOD(Rank, Opt("Column", Long{1})),
    ORV_METHOD(Covariance, Opt("Y", CMatrix(Nothing))),
    ORV_METHOD(Correlation, Opt("Y", CMatrix(Nothing)), Opt("IsCovar", false)),
    ORV_METHOD(Concatenate, "Y", Opt("Vertically", false)),
    ORV_METHOD(EigenValuesAndVectors, Opt("SortOrder", orvSortDescending)), ORV_GET(determinant),
    ORV_GET(IsSingular), ORV_METHOD(Cholesky, Opt("ZERO", 1e-13)), ORV_METHOD(IsPositiveDefinite),
    ORV_METHOD(ValuesAsVector, "Extract", Opt("index", Long{1})),
    ORV_METHOD(SolveEquation, "Vector"), ORV_METHOD(ForwardSubstitution, "b"),
    ORV_METHOD(BackwardSubstitution, "b"),
    ORV_METHOD(QuickSortWithThreshold, "Threshold", "Absolute"))

}  // namespace orv::automation
