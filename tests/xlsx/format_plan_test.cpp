// The plan that turns a sheet's format records into column, row and cell
// styles gives every cell exactly its format.
#include "orv/xlsx/format_plan.hpp"

#include <gtest/gtest.h>

#include <random>
#include <set>

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
  excel::FormatStore store;
  xlsx::detail::FormatPlan plan = xlsx::detail::PlanFormats(store);
  EXPECT_EQ(plan.formats.size(), 1u);
  ASSERT_EQ(plan.columns.size(), 1u);
  EXPECT_EQ(plan.columns[0].first, 1);
  EXPECT_EQ(plan.columns[0].last, excel::kMaxColumns);
  EXPECT_EQ(plan.columns[0].format, 0);
  EXPECT_TRUE(plan.rows.empty());
  EXPECT_TRUE(plan.cells.empty());
}

TEST(FormatPlanTest, WholeColumnsAndRowsBecomeColumnAndRowStyles) {
  excel::FormatStore store;
  store.Set(FormatProperty::FontBold, Rect{1, 2, excel::kMaxRows, 3}, Variant(true));
  store.Set(FormatProperty::FontItalic, Rect{5, 1, 5, excel::kMaxColumns}, Variant(true));
  xlsx::detail::FormatPlan plan = xlsx::detail::PlanFormats(store);
  // Columns B:C bold; row 5 italic, with its cells in B:C written bold and
  // italic.
  EXPECT_EQ(plan.rows.size(), 1u);
  ASSERT_EQ(plan.cells.size(), 1u);
  EXPECT_EQ(plan.cells[0].rect, (Rect{5, 2, 5, 3}));
  ExpectPlanMatches(store, {Rect{1, 2, excel::kMaxRows, 3}, Rect{5, 1, 5, excel::kMaxColumns}});
}

TEST(FormatPlanTest, OverlappingTablesBordersAndNumberFormats) {
  excel::FormatStore store;
  std::vector<Rect> records = {Rect{1, 1, 1, 6},   Rect{2, 1, 20, 1}, Rect{2, 2, 20, 6},
                               Rect{20, 1, 20, 6}, Rect{3, 3, 7, 4},  Rect{10, 2, 10, 2}};
  store.Set(FormatProperty::FontBold, records[0], Variant(true));
  store.Set(excel::BorderProperty(excel::CellEdge::Bottom, excel::BorderAttribute::LineStyle),
            records[0], Variant(std::int32_t{1}));
  store.Set(FormatProperty::HorizontalAlignment, records[1], Variant(std::int32_t{-4131}));
  store.Set(FormatProperty::NumberFormat, records[2], Variant("0.000"));
  store.Set(excel::BorderProperty(excel::CellEdge::Bottom, excel::BorderAttribute::Weight),
            records[3], Variant(std::int32_t{-4138}));
  store.Set(FormatProperty::InteriorColor, records[4], Variant(255.0));
  store.Set(FormatProperty::NumberFormat, records[5], Variant("General"));
  ExpectPlanMatches(store, records);
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
      switch (k % 4) {
        case 0:
          store.Set(FormatProperty::FontBold, r, Variant(kind(random) < 5));
          break;
        case 1:
          store.Set(FormatProperty::FontColor, r, Variant(static_cast<double>(kind(random))));
          break;
        case 2:
          store.Set(FormatProperty::NumberFormat, r, Variant(kind(random) < 5 ? "0" : "0.0"));
          break;
        default:
          store.Clear(r);
      }
    }
    ExpectPlanMatches(store, records);
  }
}

}  // namespace
