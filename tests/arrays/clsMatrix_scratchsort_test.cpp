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
  excel::Application saved = Global<clsMain>().Excel();
  explicit Addin(const char* name) {
    addin = app.Workbooks().Open(name, true);
    addin.Worksheets(1).LetName("Scratchpad");
    Global<clsMain>().SetExcel(app);
  }
  ~Addin() { Global<clsMain>().SetExcel(saved); }
  excel::Worksheet Pad() { return addin.Worksheets("Scratchpad"); }
};
Array<double> Make(int rows, int columns, std::initializer_list<double> values) {
  Array<double> a(1, rows, 1, columns);
  auto it = values.begin();
  for (int i = 1; i <= rows; ++i)
    for (int j = 1; j <= columns; ++j) a(i, j) = *it++;
  return a;
}
}  // namespace

TEST(clsMatrixScratchSort, RowsAscendingByAColumn) {
  Addin w("orvUI2007.xla");
  w.Pad().Cells(50, 50).LetValue(Variant("old"));
  Array<double> m = Make(3, 2, {3, 30, 1, 10, 2, 20});
  clsMatrix().Sort(m, false, 1);
  EXPECT_EQ(m, Make(3, 2, {1, 10, 2, 20, 3, 30}));
  EXPECT_TRUE(w.Pad().Cells(50, 50).Value().IsEmpty());   // cleared first
  EXPECT_EQ(w.Pad().Cells(3, 2).Value(), Variant(30.0));  // left on the sheet
  Array<double> by_second = Make(3, 2, {1, 9, 2, 7, 3, 8});
  clsMatrix().Sort(by_second, false, 2);
  EXPECT_EQ(by_second, Make(3, 2, {2, 7, 3, 8, 1, 9}));
}

TEST(clsMatrixScratchSort, ColumnsDescendingByARowWhenTransposed) {
  Addin w("Orvanta.xla");  // only the second name is open
  Array<double> m = Make(2, 3, {1, 3, 2, 10, 30, 20});
  clsMatrix().Sort(m);
  EXPECT_EQ(m, Make(2, 3, {3, 2, 1, 30, 20, 10}));
  Array<double> row = Make(1, 4, {2, 4, 1, 3});
  clsMatrix().Sort(row, true, 1);
  EXPECT_EQ(row, Make(1, 4, {4, 3, 2, 1}));
  Array<double> by_row_two = Make(2, 3, {1, 2, 3, 5, 6, 4});
  clsMatrix().Sort(by_row_two, true, 2);
  EXPECT_EQ(by_row_two, Make(2, 3, {2, 1, 3, 6, 5, 4}));
  Array<double> one = Make(1, 1, {5});
  clsMatrix().Sort(one);
  EXPECT_EQ(one, Make(1, 1, {5}));
}

TEST(clsMatrixScratchSort, OneDimensionalDoublesAreWrittenAsARow) {
  // Untransposed, a 1-D array counts as one column but is written as the
  // workbook writes a 1-D array into a column: its first element in every
  // cell. What comes back is that column.
  Addin w("orvUI2007.xla");
  Array<double> flat(1, 3);
  flat(1) = 3;
  flat(2) = 1;
  flat(3) = 2;
  clsMatrix().Sort(flat, false);
  EXPECT_EQ(flat, Make(3, 1, {3, 3, 3}));
}

TEST(clsMatrixScratchSort, VariantSort) {
  Addin w("orvUI2007.xla");
  Array<Variant> a(1, 4, 1, 1);
  a(1, 1) = Variant("b");
  a(2, 1) = Variant(2.0);
  a(3, 1) = Variant(true);
  a(4, 1) = Variant("A");
  Variant m(a);
  clsMatrix().VariantSort(m, false);
  EXPECT_EQ(m.Element(1, 1), Variant(2.0));
  EXPECT_EQ(m.Element(2, 1), Variant("A"));
  EXPECT_EQ(m.Element(3, 1), Variant("b"));
  EXPECT_EQ(m.Element(4, 1), Variant(true));
  // A 1-D array becomes one column first.
  Array<Variant> flat(1, 3);
  flat(1) = Variant(3.0);
  flat(2) = Variant(1.0);
  flat(3) = Variant(2.0);
  Variant v(flat);
  clsMatrix().VariantSort(v, false);
  ASSERT_EQ(v.Rank(), 2);
  EXPECT_EQ(v.Element(1, 1), Variant(1.0));
  EXPECT_EQ(v.Element(3, 1), Variant(3.0));
  // Transposed: columns in descending order of row 1.
  Array<Variant> wide(1, 2, 1, 3);
  for (int j = 1; j <= 3; ++j) {
    wide(1, j) = Variant(j * 1.0);
    std::string label = "c";
    label += std::to_string(j);
    wide(2, j) = Variant(label);
  }
  Variant t(wide);
  clsMatrix().VariantSort(t);
  EXPECT_EQ(t.Element(1, 1), Variant(3.0));
  EXPECT_EQ(t.Element(2, 1), Variant("c3"));
  EXPECT_EQ(t.Element(2, 3), Variant("c1"));
}

TEST(clsMatrixScratchSort, Failures) {
  {
    excel::Application app;
    app.Workbooks().Add();
    excel::Application saved = Global<clsMain>().Excel();
    Global<clsMain>().SetExcel(app);
    Array<double> m = Make(2, 2, {1, 2, 3, 4});
    EXPECT_FAILS(9, "ORVMain.clsMatrix.Sort", "Subscript out of range", clsMatrix().Sort(m, false));
    Global<clsMain>().SetExcel(excel::Application(Nothing));
    EXPECT_FAILS(91, "ORVMain.clsMatrix.Sort", kNotSet, clsMatrix().Sort(m));
    Variant v(Array<Variant>(1, 2, 1, 2));
    EXPECT_FAILS(91, "ORVMain.clsMatrix.VariantSort", kNotSet, clsMatrix().VariantSort(v));
    Global<clsMain>().SetExcel(saved);
  }
  Addin w("Orvanta.xla");
  Array<double> m = Make(3, 2, {3, 30, 1, 10, 2, 20});
  // Outside the block: the workbook's own failure, passed on through the plain rule.
  const Failure key = Fails([&] { clsMatrix().Sort(m, false, 5); });
  EXPECT_EQ(key.number, 1004);
  EXPECT_EQ(key.source, "ORVMain.clsMatrix.Sort");
  EXPECT_EQ(m, Make(3, 2, {3, 30, 1, 10, 2, 20}));  // untouched
  EXPECT_FAILS(1004, "ORVMain.clsMatrix.Sort", kNoDescription, clsMatrix().Sort(m, false, 0));
  Array<double> flat(1, 3);
  EXPECT_FAILS(9, "ORVMain.clsMatrix.Sort", "Subscript out of range", clsMatrix().Sort(flat, true));
}
