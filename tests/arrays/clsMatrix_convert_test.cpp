// clsMatrix: conversions of values and arrays, concatenation, blocks,
// transposes, vectors of ones, MCombine and the text form.
#include <gtest/gtest.h>

#include <string>

#include "clsMatrix_test_util.hpp"
#include "orv/arrays/clsMatrix.hpp"

namespace orv {
namespace {

using namespace orv::test;

const clsMatrix M;
const Variant E;  // Empty
Variant V(double x) { return Variant(x); }
const Variant kNA(ErrorValue{2042});
const Variant kVector(Vec({1, 2}));

// A Variant holding a (1 To rows, 1 To columns) array of Variants.
Variant Vars(Long rows, Long columns, std::initializer_list<Variant> values, Long lb2 = 1) {
  return Variant(Mat<Variant>(rows, columns, values, 1, lb2));
}

// --- VariantToArray and its siblings -----------------------------------------

TEST(clsMatrixVariantToArray, ValuesAndArraysBecomeTwoDimensionalDoubles) {
  EXPECT_EQ(M.VariantToArray(V(5)), Mat(1, 1, {5}));
  EXPECT_EQ(M.VariantToArray(Variant(true)), Mat(1, 1, {-1}));
  EXPECT_EQ(M.VariantToArray(E), Mat(1, 1, {0}));
  EXPECT_EQ(M.VariantToArray(Variant(Vec({1, 2, 3}))), Mat(3, 1, {1, 2, 3}));  // a column
  // Empty, integers, numeric text and dates convert element by element.
  const Array<Variant> v =
      Mat<Variant>(2, 2, {E, Variant(Integer{7}), Variant("1.5"), Variant(Date{45000.25})});
  EXPECT_EQ(M.VariantToArray(Variant(v)), Mat(2, 2, {0, 7, 1.5, 45000.25}));
  // Lower bound 0: element 0 is ignored.
  EXPECT_EQ(M.VariantToArray(Variant(Mat(3, 2, {99, 0, 0, 0, 0, 4}, 0, 0))), Mat(2, 1, {0, 4}));
}

TEST(clsMatrixVariantToArray, Failures) {
  const std::string source = kCls + "VariantToArray";
  EXPECT_FAILS(13, source, kMismatch, M.VariantToArray(Vars(2, 1, {V(1), Variant("abc")})));
  // An error cell (#N/A) converts as CDbl converts it: a type mismatch.
  EXPECT_FAILS(13, source, kMismatch, M.VariantToArray(Vars(2, 1, {V(1), kNA})));
  EXPECT_FAILS(94, source, kNull, M.VariantToArray(Variant(Null)));
  // Lower bound 2: there is no element (1, 1).
  EXPECT_FAILS(9, source, kSubscript, M.VariantToArray(Variant(Array<double>(2, 3, 1, 1))));
  EXPECT_FAILS(9, source, kSubscript, M.VariantToArray(Variant(Array<double>())));
}

TEST(clsMatrixVariantToArray, TypedSiblings) {
  const Variant v(Mat<Variant>(1, 3, {V(2.5), V(3.5), E}));
  EXPECT_EQ(M.VariantToIntegerArray(v), Mat<Integer>(1, 3, {2, 4, 0}));  // halves to even
  EXPECT_EQ(M.VariantToLongArray(v), Mat<Long>(1, 3, {2, 4, 0}));
  EXPECT_EQ(M.VariantToStringArray(Vars(1, 3, {E, V(0.5), kNA})),
            Mat<std::string>(1, 3, {"", "0.5", "Error 2042"}));
  // Two dimensions are needed.
  EXPECT_FAILS(9, kCls + "VariantToStringArray", kSubscript, M.VariantToStringArray(kVector));
  EXPECT_FAILS(9, kCls + "VariantToIntegerArray", kSubscript, M.VariantToIntegerArray(kVector));
  EXPECT_FAILS(6, kCls + "VariantToIntegerArray", kOverflow,
               M.VariantToIntegerArray(Variant(40000.0)));
  EXPECT_FAILS(6, kCls + "VariantToLongArray", kOverflow, M.VariantToLongArray(Variant(3e9)));
}

// --- concatenation -------------------------------------------------------------

TEST(clsMatrixHConcatenate, ShorterArgumentsLeaveZerosAndVectorsAreColumns) {
  EXPECT_EQ(M.HConcatenate(Mat(3, 1, {1, 2, 3}), Mat(5, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10})),
            Mat(5, 3, {1, 1, 2, 2, 3, 4, 3, 5, 6, 0, 7, 8, 0, 9, 10}));
  EXPECT_EQ(M.HConcatenate(Vec({1, 2}), Vec({3, 4, 5})), Mat(3, 2, {1, 3, 2, 4, 0, 5}));
  EXPECT_EQ(M.HConcatenate(Mat(2, 2, {1, 2, 3, 4}), Vec({7, 8})), Mat(2, 3, {1, 2, 7, 3, 4, 8}));
  EXPECT_FAILS(9, kCls + "HConcatenate", kSubscript, M.HConcatenate(Array<double>(), Vec({1})));
}

TEST(clsMatrixHConcatenate, StringAndVariantForms) {
  EXPECT_EQ(M.HStringConcatenate(Mat<std::string>(1, 1, {"a"}), Mat<std::string>(2, 1, {"b", "c"})),
            Mat<std::string>(2, 2, {"a", "b", "", "c"}));
  EXPECT_EQ(M.VariantHConcatenate(Variant(Mat(1, 1, {1})), Variant(Mat(2, 1, {2, 3}))),
            Vars(2, 2, {V(1), V(2), E, V(3)}));
  // A narrower argument leaves empties.
  EXPECT_EQ(M.VariantVConcatenate(Variant(Mat(2, 2, {1, 2, 3, 4})), Variant(Mat(1, 3, {5, 6, 7}))),
            Variant(Mat<Variant>(
                3, 3, {V(1), V(2), E, V(3), V(4), E, V(5), Variant(6.0), Variant(7.0)})));
  EXPECT_FAILS(13, kCls + "VariantVConcatenate", kMismatch,
               M.VariantVConcatenate(V(1), Variant(Mat(1, 1, {1}))));
}

// --- blocks, transposes, vectors --------------------------------------------------

TEST(clsMatrixSubMatrix, ColumnComesBeforeRowAndWidthBeforeHeight) {
  const Array<double> p = Mat(3, 4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  EXPECT_EQ(M.SubMatrix(p, /*StartCol=*/2, /*StartRow=*/3, /*Width=*/3, /*Height=*/1),
            Mat(1, 3, {10, 11, 12}));
  EXPECT_FAILS(9, kCls + "SubMatrix", kSubscript, M.SubMatrix(p, 2, 3, 4, 1));
  EXPECT_FAILS(9, kCls + "SubMatrix", kSubscript, M.SubMatrix(p, 1, 1, 1, 0));
  EXPECT_EQ(M.VariantSubMatrix(Variant(p), 4, 2, 1, 2), Vars(2, 1, {V(8), V(12)}));
  const Array<std::string> names = Mat<std::string>(1, 4, {"a", "b", "c", "d"});
  Array<std::string> vector(1, 4);
  vector.storage() = names.storage();
  Array<std::string> sub(1, 3);
  sub.storage() = {"b", "c", "d"};
  EXPECT_EQ(M.StringSubArray(vector, 2, 3), sub);
  EXPECT_FAILS(9, kCls + "StringSubArray", kSubscript, M.StringSubArray(vector, 3, 3));
}

TEST(clsMatrixTranspose, SwapsBoundsAndKeepsLowerBounds) {
  const Array<double> a = Mat(2, 3, {1, 0, 3, 0, 5, 0}, 0, 1);
  EXPECT_EQ(M.Transpose(a), Mat(3, 2, {1, 0, 0, 5, 3, 0}, 1, 0));
  EXPECT_EQ(M.VariantTranspose(Variant(a)), Vars(3, 2, {V(1), V(0), V(0), V(5), V(3), V(0)}, 0));
  EXPECT_EQ(M.StringTranspose(Mat<std::string>(1, 2, {"x", "y"})),
            Mat<std::string>(2, 1, {"x", "y"}));
  EXPECT_FAILS(9, kCls + "Transpose", kSubscript, M.Transpose(Vec({1, 2})));
}

TEST(clsMatrixMakeMatrix, VectorBecomesColumnMatrixStaysAsItIs) {
  EXPECT_EQ(M.MakeMatrix(Vec({4, 5, 6})), Mat(3, 1, {4, 5, 6}));
  EXPECT_EQ(M.MakeMatrix(Mat(1, 2, {1, 2})), Mat(1, 2, {1, 2}));
  EXPECT_FAILS(9, kCls + "MakeMatrix", kSubscript, M.MakeMatrix(Array<double>()));
  EXPECT_EQ(M.VariantMakeMatrix(Variant(Vec({4, 5}))), Vars(2, 1, {V(4), V(5)}));
  EXPECT_EQ(M.VariantMakeMatrix(Variant("x")), Variant("x"));
}

TEST(clsMatrixUnity, ColumnsAndRowsOfOnes) {
  EXPECT_EQ(M.Unity(2), Mat(2, 1, {1, 1}));
  EXPECT_EQ(M.UnityVector(3, orvRow), Mat(1, 3, {1, 1, 1}));
  EXPECT_EQ(M.UnityVector(3, orvColumn), Mat(3, 1, {1, 1, 1}));
  EXPECT_FAILS(9, kCls + "Unity", kSubscript, M.Unity(0));
}

TEST(clsMatrixMCombine, EveryColumnTimesEveryColumnSecondFastest) {
  EXPECT_EQ(M.MCombine(Mat(1, 2, {2, 3}), Mat(1, 3, {5, 7, 11})),
            Mat(1, 6, {10, 14, 22, 15, 21, 33}));
  EXPECT_FAILS(9, kCls + "MCombine", kSubscript, M.MCombine(Mat(2, 1, {1, 2}), Mat(1, 1, {1})));
  EXPECT_FAILS(6, kCls + "MCombine", kOverflow, M.MCombine(Mat(1, 1, {1e300}), Mat(1, 1, {1e300})));
}

TEST(clsMatrixToString, RowsEndWithLineBreaks) {
  EXPECT_EQ(M.ToString(Mat(2, 2, {1, 2, 3, 4})), "1, 2\r\n3, 4\r\n");
  EXPECT_EQ(M.ToString(Mat(1, 2, {0.5, -1e20})), "0.5, -1E+20\r\n");
  // Never raises: what cannot be read is skipped.
  EXPECT_EQ(M.ToString(Array<double>()), "");
}

}  // namespace
}  // namespace orv
