#include "orv/arrays/CDescriptives.hpp"

#include <gtest/gtest.h>

#include "matrix/matrix_test_util.hpp"

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
  EXPECT_EQ(d.Counts().Values(), Mat(3, 1, {10, 10, 10}));
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
  EXPECT_FALSE(Is(first, d.Counts()));
  EXPECT_EQ(d.Counts().Values(), Mat(5, 1, {6, 6, 6, 6, 6}));
}

TEST(CDescriptivesCounts, NoDataIsAnInvalidUseOfNull) {
  CDescriptives d;
  EXPECT_FAILS(94, "ORVMain", kNull, d.Counts());
  d.SetData(CMatrix());
  EXPECT_EQ(Fails([&] { d.Counts(); }).number, 94);
  EXPECT_EQ(Fails([] { CDescriptives(Nothing).Counts(); }).number, 91);
}

}  // namespace
}  // namespace orv
