// clsMatrix.Sort and VariantSort: sorting through the add-in's scratch sheet.
#include "matrix/matrix_test_util.hpp"
#include "orv/arrays/clsMatrix.hpp"
#include "read_test_util.hpp"

using namespace orv;
using namespace orv::test;

namespace {
// An application with a user workbook and the add-in open under a name.
struct Addin {
  excel::Application app;
  excel::Workbook user = app.Workbooks().Add();
  excel::Workbook addin;
  excel::Application saved = excel::CurrentApplication();
  explicit Addin(const char* name) {
    addin = app.Workbooks().Open(name, true);
    addin.Worksheets(1).LetName("Scratchpad");
    excel::SetCurrentApplication(app);
  }
  ~Addin() { excel::SetCurrentApplication(saved); }
  excel::Worksheet Pad() { return addin.Worksheets("Scratchpad"); }
};
Variant V(double x) { return Variant(x); }
}  // namespace

TEST(clsMatrixScratchSort, RowsAscendingByAColumn) {
  Addin w("orvUI2007.xla");
  w.Pad().Cells(50, 50).LetValue(Variant("old"));
  Array<double> m = Mat(3, 2, {3, 30, 1, 10, 2, 20});
  clsMatrix().Sort(m, false, 1);
  EXPECT_EQ(m, Mat(3, 2, {1, 10, 2, 20, 3, 30}));
  EXPECT_TRUE(w.Pad().Cells(50, 50).Value().IsEmpty());   // cleared first
  EXPECT_EQ(w.Pad().Cells(3, 2).Value(), Variant(30.0));  // left on the sheet
  Array<double> by_second = Mat(3, 2, {1, 9, 2, 7, 3, 8});
  clsMatrix().Sort(by_second, false, 2);
  EXPECT_EQ(by_second, Mat(3, 2, {2, 7, 3, 8, 1, 9}));
}

TEST(clsMatrixScratchSort, ColumnsDescendingByARowWhenTransposed) {
  Addin w("Orvanta.xla");  // only the second name is open
  Array<double> m = Mat(2, 3, {1, 3, 2, 10, 30, 20});
  clsMatrix().Sort(m);
  EXPECT_EQ(m, Mat(2, 3, {3, 2, 1, 30, 20, 10}));
  Array<double> row = Mat(1, 4, {2, 4, 1, 3});
  clsMatrix().Sort(row, true, 1);
  EXPECT_EQ(row, Mat(1, 4, {4, 3, 2, 1}));
  Array<double> by_row_two = Mat(2, 3, {1, 2, 3, 5, 6, 4});
  clsMatrix().Sort(by_row_two, true, 2);
  EXPECT_EQ(by_row_two, Mat(2, 3, {2, 1, 3, 6, 5, 4}));
  Array<double> one = Mat(1, 1, {5});
  clsMatrix().Sort(one);
  EXPECT_EQ(one, Mat(1, 1, {5}));
}

TEST(clsMatrixScratchSort, OneDimensionalDoublesAreWrittenAsARow) {
  // Untransposed, a 1-D array counts as one column but is written as the
  // workbook writes a 1-D array into a column: its first element in every
  // cell. What comes back is that column.
  Addin w("orvUI2007.xla");
  Array<double> flat = Vec({3, 1, 2});
  clsMatrix().Sort(flat, false);
  EXPECT_EQ(flat, Mat(3, 1, {3, 3, 3}));
}

TEST(clsMatrixScratchSort, VariantSort) {
  Addin w("orvUI2007.xla");
  Variant m(Mat<Variant>(4, 1, {Variant("b"), V(2), Variant(true), Variant("A")}));
  clsMatrix().VariantSort(m, false);
  EXPECT_EQ(m, Variant(Mat<Variant>(4, 1, {V(2), Variant("A"), Variant("b"), Variant(true)})));
  // A 1-D array becomes one column first.
  Array<Variant> flat(1, 3);
  flat.storage() = {V(3), V(1), V(2)};
  Variant v(flat);
  clsMatrix().VariantSort(v, false);
  EXPECT_EQ(v, Variant(Mat<Variant>(3, 1, {V(1), V(2), V(3)})));
  // Transposed: columns in descending order of row 1.
  Variant t(Mat<Variant>(2, 3, {V(1), V(2), V(3), Variant("c1"), Variant("c2"), Variant("c3")}));
  clsMatrix().VariantSort(t);
  EXPECT_EQ(t, Variant(Mat<Variant>(
                   2, 3, {V(3), V(2), V(1), Variant("c3"), Variant("c2"), Variant("c1")})));
}

TEST(clsMatrixScratchSort, Failures) {
  {
    excel::Application app;
    app.Workbooks().Add();
    excel::Application saved = excel::CurrentApplication();
    excel::SetCurrentApplication(app);
    Array<double> m = Mat(2, 2, {1, 2, 3, 4});
    EXPECT_FAILS(9, "ORVMain.clsMatrix.Sort", kSubscript, clsMatrix().Sort(m, false));
    excel::SetCurrentApplication(excel::Application(Nothing));
    EXPECT_FAILS(91, "ORVMain.clsMatrix.Sort", kNotSet, clsMatrix().Sort(m));
    Variant v(Array<Variant>(1, 2, 1, 2));
    EXPECT_FAILS(91, "ORVMain.clsMatrix.VariantSort", kNotSet, clsMatrix().VariantSort(v));
    excel::SetCurrentApplication(saved);
  }
  Addin w("Orvanta.xla");
  Array<double> m = Mat(3, 2, {3, 30, 1, 10, 2, 20});
  // Outside the block: the workbook's own failure, passed on through the plain rule.
  const Failure key = Fails([&] { clsMatrix().Sort(m, false, 5); });
  EXPECT_EQ(key.number, 1004);
  EXPECT_EQ(key.source, "ORVMain.clsMatrix.Sort");
  EXPECT_EQ(m, Mat(3, 2, {3, 30, 1, 10, 2, 20}));  // untouched
  EXPECT_FAILS(1004, "ORVMain.clsMatrix.Sort", kNoDescription, clsMatrix().Sort(m, false, 0));
  Array<double> flat = Vec({0, 0, 0});
  EXPECT_FAILS(9, "ORVMain.clsMatrix.Sort", kSubscript, clsMatrix().Sort(flat, true));
}
