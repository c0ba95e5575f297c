#include "orv/arrays/CRangeObjects.hpp"

#include "matrix/matrix_test_util.hpp"
#include "read_test_util.hpp"

using namespace orv;
using namespace orv::test;
using orv::testing_read::Workbook;

TEST(CRangeObjects, RangeToDouble) {
  Workbook w;
  w.Put("A1", Variant("h"));
  w.Put("A2", Variant(1.0));
  w.Put("A3", Variant(true));
  w.Put("B2", Variant("4"));
  w.Put("D2", Variant(9.0));
  // True is -1, numeric text its number, a blank 0.
  EXPECT_EQ(Global<CRangeObjects>().RangeToDouble(w.R("A1:B3,D1:D3"), true),
            Mat(2, 3, {1, 4, 9, -1, 0, 0}));
  EXPECT_EQ(CRangeObjects().RangeToDouble(w.R("A2:A3")), Mat(2, 1, {1, -1}));
  // A one-cell block: a single value into row 1.
  EXPECT_EQ(CRangeObjects().RangeToDouble(w.R("D2")), Mat(1, 1, {9}));
}

TEST(CRangeObjects, RangeToDoubleFailures) {
  const std::string source = In("RangeToDouble", "CRangeObjects");
  Workbook w;
  w.Put("A2", Variant("abc"));
  EXPECT_FAILS(13, source, kMismatch, CRangeObjects().RangeToDouble(w.R("A1:A3")));
  // Headers on a single row leave no rows.
  EXPECT_FAILS(9, source, kSubscript, CRangeObjects().RangeToDouble(w.R("B1:C1"), true));
  excel::Range range = w.R("B1:C3");
  excel::SetCurrentApplication(excel::Application(Nothing));
  EXPECT_FAILS(91, source, kNotSet, CRangeObjects().RangeToDouble(range));
}

TEST(CRangeObjects, ExtractHeaders) {
  Workbook w;
  w.Put("B1", Variant("Weight"));
  w.Put("D1", Variant(3.0));
  Array<std::string> named = CRangeObjects().ExtractHeaders(w.R("B1:C4"), w.R("D1:D4"), true);
  EXPECT_EQ(named.LBound(1), 1);
  ASSERT_EQ(named.UBound(1), 3);
  EXPECT_EQ(named(1), "Weight");
  EXPECT_EQ(named(2), "");  // blank stays blank
  EXPECT_EQ(named(3), "3");
  Array<std::string> zero =
      CRangeObjects().ExtractHeaders(w.R("AA1:AC1"), excel::Range(), false, true);
  EXPECT_EQ(zero.LBound(1), 0);
  EXPECT_EQ(zero.UBound(1), 2);
  EXPECT_EQ(zero(0), "Column AA");
  EXPECT_EQ(zero(2), "Column AC");
  Array<std::string> areas = Global<CRangeObjects>().ExtractHeaders(w.R("A1,C1:D1"));
  EXPECT_EQ(areas(3), "Column D");
  // No application needed; Nothing as the first range is 91.
  excel::SetCurrentApplication(excel::Application(Nothing));
  EXPECT_FAILS(91, In("ExtractHeaders", "CRangeObjects"), kNotSet,
               CRangeObjects().ExtractHeaders(excel::Range()));
}
