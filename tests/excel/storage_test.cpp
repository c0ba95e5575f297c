#include "excel_test_util.hpp"

using namespace orv;
using namespace orv::excel;

TEST(ExcelStorage, NumbersCostEightBytesAndTagsComeAndGo) {
  CellStore cells;
  for (int r = 1; r <= CellStore::kChunkRows; ++r) cells.SetNumber(r, 3, r);
  // One full chunk of numbers: no tags.
  EXPECT_LE(cells.MemoryBytes(), 8u * CellStore::kChunkRows + 512);
  cells.Set(10, 3, Variant("t"));
  EXPECT_EQ(cells.TypeAt(10, 3), CellType::Text);
  EXPECT_GE(cells.MemoryBytes(), 9u * CellStore::kChunkRows);
  cells.SetNumber(10, 3, 1.0);
  EXPECT_LE(cells.MemoryBytes(), 8u * CellStore::kChunkRows + 512);
  cells.Clear(Rect{1, 3, CellStore::kChunkRows, 3});
  EXPECT_LE(cells.MemoryBytes(), 128u);
  EXPECT_EQ(cells.TypeAt(5, 3), CellType::Empty);
}

TEST(ExcelStorage, TextsAreInternedAndReleased) {
  CellStore cells;
  for (int r = 1; r <= 1000; ++r) cells.Set(r, 1, Variant("same"));
  std::size_t one_text = cells.MemoryBytes();
  for (int r = 1; r <= 1000; ++r) cells.Set(r, 2, Variant("same"));
  EXPECT_LT(cells.MemoryBytes(), one_text + 9 * CellStore::kChunkRows + 256);
  cells.Set(1, 1, Variant("other"));
  EXPECT_EQ(cells.Get(1, 1), Variant("other"));
  EXPECT_EQ(cells.Get(2, 1), Variant("same"));
  cells.Clear(Rect{1, 1, 1000, 2});
  EXPECT_LE(cells.MemoryBytes(), 256u);
  cells.Set(7, 7, Variant("again"));
  EXPECT_EQ(cells.Get(7, 7), Variant("again"));
}

TEST(ExcelStorage, ReadsAcrossChunkEdgesAndBlanks) {
  CellStore cells;
  const int n = 3 * CellStore::kChunkRows + 17;
  for (int r = 1; r <= n; ++r)
    for (int c = 1; c <= 3; ++c)
      if ((r + c) % 97 != 0) cells.SetNumber(r, c, r * 10.0 + c);
  Rect block{5, 1, n, 3};
  std::vector<double> numbers(static_cast<std::size_t>(block.Cells()));
  ASSERT_TRUE(cells.ReadNumbers(block, numbers.data()));
  std::vector<Variant> values(static_cast<std::size_t>(block.Cells()));
  cells.Read(block, values.data());
  for (std::size_t i = 0; i < values.size(); ++i) {
    int r = 5 + static_cast<int>(i / 3), c = 1 + static_cast<int>(i % 3);
    double expected = (r + c) % 97 != 0 ? r * 10.0 + c : 0.0;
    ASSERT_EQ(numbers[i], expected) << r << "," << c;
    ASSERT_EQ(values[i], (r + c) % 97 != 0 ? Variant(expected) : Variant()) << r << "," << c;
  }
  cells.Set(n, 2, Variant(true));
  EXPECT_FALSE(cells.ReadNumbers(block, numbers.data()));
}
