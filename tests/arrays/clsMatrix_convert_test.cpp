#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <type_traits>

#include "clsMatrix_test_util.hpp"
#include "orv/arrays/clsMatrix.hpp"

namespace orv {
namespace {

using namespace orv::test;

const clsMatrix M;

// --- VariantToArray and its siblings -----------------------------------------

TEST(clsMatrixVariantToArray, SingleValueIsOneByOne) {
  Array<double> a = M.VariantToArray(Variant(5.0));
  ASSERT_EQ(a.UBound(1), 1);
  ASSERT_EQ(a.UBound(2), 1);
  EXPECT_EQ(a(1, 1), 5.0);
  EXPECT_EQ(M.VariantToArray(Variant(true))(1, 1), -1.0);
  EXPECT_EQ(M.VariantToArray(Variant("2.5"))(1, 1), 2.5);
  EXPECT_EQ(M.VariantToArray(Variant())(1, 1), 0.0);
}

TEST(clsMatrixVariantToArray, OneDimensionalArrayIsAColumn) {
  Array<double> a = M.VariantToArray(Variant(Vec({1, 2, 3})));
  ASSERT_EQ(a.Rank(), 2);
  EXPECT_EQ(a.UBound(1), 3);
  EXPECT_EQ(a.UBound(2), 1);
  EXPECT_EQ(a(3, 1), 3.0);
}

TEST(clsMatrixVariantToArray, ConvertsEachElementOfAVariantArray) {
  Array<Variant> v(1, 2, 1, 2);
  v(1, 1) = Variant();  // Empty -> 0
  v(1, 2) = Variant(Integer{7});
  v(2, 1) = Variant("1.5");  // numeric text
  v(2, 2) = Variant(Date{45000.25});
  Array<double> a = M.VariantToArray(Variant(v));
  EXPECT_EQ(a(1, 1), 0.0);
  EXPECT_EQ(a(1, 2), 7.0);
  EXPECT_EQ(a(2, 1), 1.5);
  EXPECT_EQ(a(2, 2), 45000.25);
}

TEST(clsMatrixVariantToArray, TextAndErrorValuesAreTypeMismatches) {
  Array<Variant> v(1, 2, 1, 1);
  v(1, 1) = Variant(1.0);
  v(2, 1) = Variant("abc");
  EXPECT_FAILS(13, kCls + "VariantToArray", kMismatch, M.VariantToArray(Variant(v)));
  // An error cell (#N/A) converts as CDbl converts it: a type mismatch.
  v(2, 1) = Variant(ErrorValue{2042});
  EXPECT_FAILS(13, kCls + "VariantToArray", kMismatch, M.VariantToArray(Variant(v)));
  EXPECT_FAILS(94, kCls + "VariantToArray", "Invalid use of Null", M.VariantToArray(Variant(Null)));
}

TEST(clsMatrixVariantToArray, ReadsFromIndexOneAndNeedsIt) {
  // Lower bound 0: element 0 is ignored.
  Array<double> zero(0, 2, 0, 1);
  zero(0, 0) = 99;
  zero(2, 1) = 4;
  Array<double> a = M.VariantToArray(Variant(zero));
  EXPECT_EQ(a.UBound(1), 2);
  EXPECT_EQ(a.UBound(2), 1);
  EXPECT_EQ(a(2, 1), 4.0);
  // Lower bound 2: there is no element (1, 1).
  EXPECT_FAILS(9, kCls + "VariantToArray", kSubscript,
               M.VariantToArray(Variant(Array<double>(2, 3, 1, 1))));
  EXPECT_FAILS(9, kCls + "VariantToArray", kSubscript, M.VariantToArray(Variant(Array<double>())));
}

TEST(clsMatrixVariantToArray, TypedSiblingsNeedTwoDimensions) {
  Array<Variant> v(1, 1, 1, 2);
  v(1, 1) = Variant(2.5);
  v(1, 2) = Variant(3.5);
  Array<Integer> i = M.VariantToIntegerArray(Variant(v));
  EXPECT_EQ(i(1, 1), 2);  // halves to even
  EXPECT_EQ(i(1, 2), 4);
  Array<Long> l = M.VariantToLongArray(Variant(v));
  EXPECT_EQ(l(1, 1), 2);
  EXPECT_EQ(l(1, 2), 4);

  EXPECT_FAILS(9, kCls + "VariantToStringArray", kSubscript,
               M.VariantToStringArray(Variant(Vec({1, 2}))));
  EXPECT_FAILS(9, kCls + "VariantToIntegerArray", kSubscript,
               M.VariantToIntegerArray(Variant(Vec({1, 2}))));
  EXPECT_FAILS(9, kCls + "VariantToLongArray", kSubscript,
               M.VariantToLongArray(Variant(Vec({1, 2}))));
  EXPECT_FAILS(6, kCls + "VariantToIntegerArray", kOverflow,
               M.VariantToIntegerArray(Variant(40000.0)));
  EXPECT_FAILS(6, kCls + "VariantToLongArray", kOverflow, M.VariantToLongArray(Variant(3e9)));
}

TEST(clsMatrixVariantToArray, StringsOfEmptiesNumbersAndErrors) {
  Array<Variant> v(1, 1, 1, 3);
  v(1, 1) = Variant();
  v(1, 2) = Variant(0.5);
  v(1, 3) = Variant(ErrorValue{2042});
  Array<std::string> s = M.VariantToStringArray(Variant(v));
  EXPECT_EQ(s(1, 1), "");
  EXPECT_EQ(s(1, 2), "0.5");
  EXPECT_EQ(s(1, 3), "Error 2042");
}

// --- concatenation -------------------------------------------------------------

TEST(clsMatrixHConcatenate, ShorterArgumentLeavesZeros) {
  Array<double> a =
      M.HConcatenate(Mat(3, 1, {1, 2, 3}), Mat(5, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  ASSERT_EQ(a.UBound(1), 5);
  ASSERT_EQ(a.UBound(2), 3);
  EXPECT_EQ(a(3, 1), 3.0);
  EXPECT_EQ(a(4, 1), 0.0);
  EXPECT_EQ(a(5, 1), 0.0);
  EXPECT_EQ(a(1, 2), 1.0);
  EXPECT_EQ(a(5, 3), 10.0);
}

TEST(clsMatrixHConcatenate, VectorsFillOneColumnEach) {
  Array<double> a = M.HConcatenate(Vec({1, 2}), Vec({3, 4, 5}));
  ASSERT_EQ(a.UBound(1), 3);
  ASSERT_EQ(a.UBound(2), 2);
  EXPECT_EQ(a(2, 1), 2.0);
  EXPECT_EQ(a(3, 1), 0.0);
  EXPECT_EQ(a(3, 2), 5.0);
  Array<double> b = M.HConcatenate(Mat(2, 2, {1, 2, 3, 4}), Vec({7, 8}));
  ASSERT_EQ(b.UBound(2), 3);
  EXPECT_EQ(b(2, 3), 8.0);
  Array<double> c = M.HConcatenate(Vec({7, 8}), Mat(2, 2, {1, 2, 3, 4}));
  EXPECT_EQ(c(2, 1), 8.0);
  EXPECT_EQ(c(2, 3), 4.0);
  EXPECT_FAILS(9, kCls + "HConcatenate", kSubscript, M.HConcatenate(Array<double>(), Vec({1})));
}

TEST(clsMatrixHConcatenate, StringAndVariantForms) {
  Array<std::string> s =
      M.HStringConcatenate(Mat<std::string>(1, 1, {"a"}), Mat<std::string>(2, 1, {"b", "c"}));
  ASSERT_EQ(s.UBound(1), 2);
  EXPECT_EQ(s(1, 1), "a");
  EXPECT_EQ(s(2, 1), "");
  EXPECT_EQ(s(2, 2), "c");

  Variant h = M.VariantHConcatenate(Variant(Mat(1, 1, {1})), Variant(Mat(2, 1, {2, 3})));
  ASSERT_EQ(h.UBound(1), 2);
  ASSERT_EQ(h.UBound(2), 2);
  EXPECT_TRUE(h.Element(2, 1).IsEmpty());
  EXPECT_EQ(h.Element(2, 2), Variant(3.0));
}

TEST(clsMatrixVariantVConcatenate, NarrowerArgumentLeavesEmpties) {
  Variant v =
      M.VariantVConcatenate(Variant(Mat(2, 2, {1, 2, 3, 4})), Variant(Mat(1, 3, {5, 6, 7})));
  ASSERT_EQ(v.UBound(1), 3);
  ASSERT_EQ(v.UBound(2), 3);
  EXPECT_TRUE(v.Element(1, 3).IsEmpty());
  EXPECT_TRUE(v.Element(2, 3).IsEmpty());
  EXPECT_EQ(v.Element(2, 2), Variant(4.0));
  EXPECT_EQ(v.Element(3, 3), Variant(7.0));
  EXPECT_FAILS(13, kCls + "VariantVConcatenate", kMismatch,
               M.VariantVConcatenate(Variant(1.0), Variant(Mat(1, 1, {1}))));
}

// --- blocks, transposes, vectors --------------------------------------------------

TEST(clsMatrixSubMatrix, ColumnComesBeforeRowAndWidthBeforeHeight) {
  Array<double> p = Mat(3, 4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  Array<double> s = M.SubMatrix(p, /*StartCol=*/2, /*StartRow=*/3, /*Width=*/3, /*Height=*/1);
  ASSERT_EQ(s.UBound(1), 1);
  ASSERT_EQ(s.UBound(2), 3);
  EXPECT_EQ(s(1, 1), 10.0);
  EXPECT_EQ(s(1, 3), 12.0);
  EXPECT_FAILS(9, kCls + "SubMatrix", kSubscript, M.SubMatrix(p, 2, 3, 4, 1));
  EXPECT_FAILS(9, kCls + "SubMatrix", kSubscript, M.SubMatrix(p, 1, 1, 1, 0));

  Variant v = M.VariantSubMatrix(Variant(p), 4, 2, 1, 2);
  ASSERT_EQ(v.UBound(1), 2);
  EXPECT_EQ(v.Element(2, 1), Variant(12.0));

  Array<std::string> names(1, 4);
  names(1) = "a";
  names(2) = "b";
  names(3) = "c";
  names(4) = "d";
  Array<std::string> sub = M.StringSubArray(names, 2, 3);
  ASSERT_EQ(sub.UBound(1), 3);
  EXPECT_EQ(sub(1), "b");
  EXPECT_EQ(sub(3), "d");
  EXPECT_FAILS(9, kCls + "StringSubArray", kSubscript, M.StringSubArray(names, 3, 3));
}

TEST(clsMatrixTranspose, SwapsBoundsAndKeepsLowerBounds) {
  Array<double> a(0, 1, 1, 3);
  a(0, 1) = 1;
  a(0, 3) = 3;
  a(1, 2) = 5;
  Array<double> t = M.Transpose(a);
  EXPECT_EQ(t.LBound(1), 1);
  EXPECT_EQ(t.UBound(1), 3);
  EXPECT_EQ(t.LBound(2), 0);
  EXPECT_EQ(t.UBound(2), 1);
  EXPECT_EQ(t(3, 0), 3.0);
  EXPECT_EQ(t(2, 1), 5.0);
  EXPECT_FAILS(9, kCls + "Transpose", kSubscript, M.Transpose(Vec({1, 2})));

  Variant vt = M.VariantTranspose(Variant(a));
  EXPECT_EQ(vt.LBound(2), 0);
  EXPECT_EQ(vt.Element(3, 0), Variant(3.0));

  Array<std::string> s = M.StringTranspose(Mat<std::string>(1, 2, {"x", "y"}));
  EXPECT_EQ(s.UBound(1), 2);
  EXPECT_EQ(s(2, 1), "y");
}

TEST(clsMatrixMakeMatrix, VectorBecomesColumnMatrixStaysAsItIs) {
  Array<double> c = M.MakeMatrix(Vec({4, 5, 6}));
  ASSERT_EQ(c.Rank(), 2);
  EXPECT_EQ(c.UBound(1), 3);
  EXPECT_EQ(c(3, 1), 6.0);
  Array<double> m = Mat(1, 2, {1, 2});
  EXPECT_EQ(M.MakeMatrix(m), m);
  EXPECT_FAILS(9, kCls + "MakeMatrix", kSubscript, M.MakeMatrix(Array<double>()));

  Variant v = M.VariantMakeMatrix(Variant(Vec({4, 5})));
  ASSERT_EQ(v.Rank(), 2);
  EXPECT_EQ(v.UBound(2), 1);
  EXPECT_EQ(v.Element(2, 1), Variant(5.0));
  EXPECT_EQ(M.VariantMakeMatrix(Variant("x")), Variant("x"));
}

TEST(clsMatrixUnity, ColumnsAndRowsOfOnes) {
  Array<double> u = M.Unity(2);
  EXPECT_EQ(u.UBound(1), 2);
  EXPECT_EQ(u.UBound(2), 1);
  EXPECT_EQ(u(2, 1), 1.0);
  Array<double> r = M.UnityVector(3, orvRow);
  EXPECT_EQ(r.UBound(1), 1);
  EXPECT_EQ(r.UBound(2), 3);
  EXPECT_EQ(r(1, 3), 1.0);
  Array<double> c = M.UnityVector(3, orvColumn);
  EXPECT_EQ(c.UBound(1), 3);
  EXPECT_EQ(c.UBound(2), 1);
  EXPECT_FAILS(9, kCls + "Unity", kSubscript, M.Unity(0));
}

TEST(clsMatrixMCombine, EveryColumnTimesEveryColumnSecondFastest) {
  Array<double> a = M.MCombine(Mat(1, 2, {2, 3}), Mat(1, 3, {5, 7, 11}));
  ASSERT_EQ(a.UBound(2), 6);
  const double expected[] = {10, 14, 22, 15, 21, 33};
  for (Long j = 1; j <= 6; ++j) EXPECT_EQ(a(1, j), expected[j - 1]);
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
