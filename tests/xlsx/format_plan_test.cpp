// The plan that turns a sheet's format records into column, row and cell
// styles gives every cell exactly its format.
#include "orv/xlsx/format_plan.hpp"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <tuple>

#include "xlsx/xlsx_test_util.hpp"

using namespace orv;
using excel::FormatProperty;
using excel::Rect;

namespace {

// Checks every property of the cells around the records' edges and the
// sheet's corners.
void ExpectPlanMatches(const excel::FormatStore& store, const std::vector<Rect>& records) {
  xlsx::detail::FormatPlan plan = xlsx::detail::PlanFormats(store);
  std::set<std::int32_t> rows{1, 2, excel::kMaxRows - 1, excel::kMaxRows};
  std::set<std::int32_t> columns{1, 2, excel::kMaxColumns - 1, excel::kMaxColumns};
  for (const Rect& r : records) {
    for (std::int32_t d : {-1, 0, 1}) {
      for (std::int32_t row : {r.top + d, r.bottom + d})
        if (row >= 1 && row <= excel::kMaxRows) rows.insert(row);
      for (std::int32_t col : {r.left + d, r.right + d})
        if (col >= 1 && col <= excel::kMaxColumns) columns.insert(col);
    }
  }
  for (std::int32_t row : rows)
    for (std::int32_t col : columns) {
      std::int32_t id = plan.FormatAt(row, col);
      ASSERT_GE(id, 0);
      ASSERT_LT(static_cast<std::size_t>(id), plan.formats.size());
      for (int p = 0; p < xlsx::detail::kFormatProperties; ++p) {
        auto property = static_cast<FormatProperty>(p);
        ASSERT_EQ(plan.formats[static_cast<std::size_t>(id)][static_cast<std::size_t>(p)],
                  store.Get(property, row, col))
            << "row " << row << " column " << col << " property " << p;
      }
    }
}

TEST(FormatPlanTest, AnUnformattedSheetNeedsNoStyles) {
  xlsx::detail::FormatPlan plan = xlsx::detail::PlanFormats(excel::FormatStore());
  EXPECT_EQ(plan.formats.size(), 1u);
  ASSERT_EQ(plan.columns.size(), 1u);
  const auto& all = plan.columns[0];
  EXPECT_EQ(std::tuple(all.first, all.last, all.format), std::tuple(1, excel::kMaxColumns, 0));
  EXPECT_TRUE(plan.rows.empty() && plan.cells.empty());
}

TEST(FormatPlanTest, RandomRecordsOverSmallAndWholeBlocks) {
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    excel::FormatStore store;
    std::vector<Rect> records;
    for (int k = 0; k < 12; ++k) {
      std::uniform_int_distribution<std::int32_t> row(1, 30), col(1, 12), kind(0, 9);
      std::int32_t t = row(random), l = col(random);
      Rect r{t, l, std::min(t + row(random) / 4, excel::kMaxRows), l + col(random) / 4};
      int shape = kind(random);
      if (shape == 0) r = Rect{1, l, excel::kMaxRows, r.right};
      if (shape == 1) r = Rect{t, 1, r.bottom, excel::kMaxColumns};
      if (shape == 2) r = Rect{t, l, excel::kMaxRows, r.right};
      records.push_back(r);
      switch (k % 5) {
        case 0:
          store.Set(FormatProperty::FontBold, r, Variant(kind(random) < 5));
          break;
        case 1:
          store.Set(FormatProperty::FontColor, r, Variant(static_cast<double>(kind(random))));
          break;
        case 2:
          store.Set(FormatProperty::NumberFormat, r, Variant(kind(random) < 5 ? "0" : "0.0"));
          break;
        case 3:
          store.Set(excel::BorderProperty(excel::CellEdge::Bottom, excel::BorderAttribute::Weight),
                    r, Variant(kind(random) < 5 ? std::int32_t{2} : std::int32_t{-4138}));
          break;
        default:
          store.Clear(r);
      }
    }
    ExpectPlanMatches(store, records);
  }
}

}  // namespace
