#include "orv/arrays/CDescriptives.hpp"

#include <gtest/gtest.h>

#include "orv_test.hpp"

namespace orv {
namespace {

using namespace orv::test;

CMatrix Data(Long rows, Long columns) {
  CMatrix m;
  m.SetSize(rows, columns);
  return m;
}

TEST(CDescriptivesCounts, OneCountPerVariable) {
  CDescriptives d;
  d.SetData(Data(10, 3));
  CMatrix counts = d.Counts();
  ASSERT_EQ(counts.RowCount(), 3);
  ASSERT_EQ(counts.ColumnCount(), 1);
  for (Long i = 1; i <= 3; ++i) EXPECT_EQ(counts.Item(i, 1), 10.0);
}

TEST(CDescriptivesCounts, CachedUntilNewDataAreSet) {
  CDescriptives d;
  CMatrix data = Data(4, 2);
  d.SetData(data);
  CMatrix first = d.Counts();
  EXPECT_TRUE(Is(first, d.Counts()));
  // The data are held by reference: a change shows in a rebuilt result
  // only, not in the cached one.
  data.SetSize(6, 5);
  EXPECT_EQ(d.Counts().RowCount(), 2);
  d.SetData(data);
  CMatrix second = d.Counts();
  EXPECT_FALSE(Is(first, second));
  EXPECT_EQ(second.RowCount(), 5);
  EXPECT_EQ(second.Item(5, 1), 6.0);
}

TEST(CDescriptivesCounts, NoDataIsAnInvalidUseOfNull) {
  CDescriptives d;
  EXPECT_FAILS(94, "ORVMain", "Invalid use of Null", d.Counts());
  d.SetData(CMatrix());
  EXPECT_EQ(Fails([&] { d.Counts(); }).number, 94);
  EXPECT_EQ(Fails([] { CDescriptives(Nothing).Counts(); }).number, 91);
}

}  // namespace
}  // namespace orv
