// clsMain.RepositionChart: moves the chart just added to the active sheet
// onto the output range's first cell and gives it its final size.
#include <cmath>
#include <functional>

#include "orv/excel/excel.hpp"
#include "orv/output/clsMain.hpp"

namespace orv {

namespace {

// One axis of the placement: vertical (rows, Top) or horizontal (columns,
// Left).
struct Direction {
  std::function<std::int32_t()> shape_index;  // the shape's row (column)
  std::function<double()> shape_cell_edge;    // its cell's Top (Left)
  std::function<double()> shape_edge;         // the shape's Top (Left)
  std::function<void(double)> increment;      // IncrementTop (Left)
};

// Reads a value for a loop test; a test that cannot be evaluated ends the
// loop.
template <class T>
bool Read(const std::function<T()>& get, T& out) {
  return ResumeNext([&] { out = get(); });
}

// Nudges the shape by `by` while the test holds; stops when a nudge fails
// or no longer moves the shape (it is held at the sheet's edge).
void Walk(const Direction& d, double by, const std::function<bool(std::int32_t)>& more) {
  for (;;) {
    std::int32_t r = 0;
    if (!Read(d.shape_index, r) || !more(r)) return;
    double before = 0, after = 0;
    if (!Read(d.shape_edge, before)) return;
    if (!ResumeNext([&] { d.increment(by); })) return;
    if (!Read(d.shape_edge, after) || after == before) return;
  }
}

// The four passes that walk the shape onto the target row (column).
void Correct(const Direction& d, const std::function<double()>& target_edge,
             const std::function<std::int32_t()>& target_index) {
  std::int32_t target = 0;
  const bool have_target = Read(target_index, target);
  // Align the shape's offset within its cell to the target cell.
  ResumeNext([&] { d.increment(target_edge() - d.shape_cell_edge()); });
  if (!have_target) return;
  // Coarse and medium passes: steps of 100 and 10 points.
  for (std::int16_t step : {std::int16_t{100}, std::int16_t{10}}) {
    std::int32_t r = 0;
    if (!Read(d.shape_index, r)) continue;
    if (r > target)
      Walk(d, -static_cast<double>(step), [&](std::int32_t at) { return at > target; });
    else
      Walk(d, static_cast<double>(step), [&](std::int32_t at) { return at < target; });
  }
  // Fine pass: back up by growing quarter points, at most 100 nudges.
  std::int16_t count = 0, step = 1;
  for (;;) {
    std::int32_t r = 0;
    double edge = 0;
    if (!Read(d.shape_index, r) || !Read(d.shape_edge, edge)) break;
    if (!(r >= target && edge > 0)) break;
    ResumeNext([&] { d.increment(-0.25 * step); });
    count = static_cast<std::int16_t>(count + 1);
    if (std::floor(count / 10.0) == count / 10.0) step = static_cast<std::int16_t>(step + 1);
    if (count == 100) break;
  }
}

}  // namespace

void clsMain::RepositionChart(const std::string& ChartName, Long ChartHeight, Long ChartWidth,
                              Long HorizontalOffset, Long VerticalOffset,
                              const excel::Range& OutputRange) const {
  // Skip rule: every statement that fails is passed over.
  if (ChartName.empty()) return;
  const excel::Application app = Excel();

  std::int16_t n = 0;
  ResumeNext([&] { n = CInt(static_cast<double>(app.ActiveSheet().Shapes().Count())); });
  auto shape = [&] { return app.ActiveSheet().Shapes(n); };

  ResumeNext([&] { shape().LetLeft(426); });
  ResumeNext([&] { shape().LetTop(1315.8); });

  // First placement: the cell plus the offset, unless that passes the
  // sheet's last row (column).
  ResumeNext([&] {
    const double t = OutputRange.Cells(1, 1).Top() + VerticalOffset;
    const excel::Worksheet sheet = OutputRange.Worksheet();
    if (t < sheet.Cells(sheet.Rows().Count(), 1).Top())
      shape().LetTop(t);
    else
      shape().LetTop(OutputRange.Cells(1, 1).Top());
  });
  ResumeNext([&] {
    const double l = OutputRange.Cells(1, 1).Left() + HorizontalOffset;
    const excel::Worksheet sheet = OutputRange.Worksheet();
    if (l < sheet.Cells(1, sheet.Columns().Count()).Left())
      shape().LetLeft(l);
    else
      shape().LetLeft(OutputRange.Cells(1, 1).Left());
  });

  // The version: its text up to and including the character after the
  // first ".", as a 16-bit integer.
  std::int16_t version = 0;
  ResumeNext([&] {
    const std::string text = app.Version();
    const std::size_t dot = text.find('.');
    const std::size_t keep = dot == std::string::npos ? 1 : dot + 2;
    version = CInt(Variant(text.substr(0, keep)));
  });

  if (version >= 12) {
    Direction vertical{
        [&] { return shape().TopLeftCell().Row(); },
        [&] { return shape().TopLeftCell().Top(); },
        [&] { return shape().Top(); },
        [&](double by) { shape().IncrementTop(by); },
    };
    Correct(
        vertical, [&] { return OutputRange.Cells(1, 1).Top(); },
        [&] { return OutputRange.Cells(1, 1).Row(); });
    Direction horizontal{
        [&] { return shape().TopLeftCell().Column(); },
        [&] { return shape().TopLeftCell().Left(); },
        [&] { return shape().Left(); },
        [&](double by) { shape().IncrementLeft(by); },
    };
    Correct(
        horizontal, [&] { return OutputRange.Cells(1, 1).Left(); },
        [&] { return OutputRange.Cells(1, 1).Column(); });
    ResumeNext([&] { shape().IncrementTop(VerticalOffset); });
    ResumeNext([&] { shape().IncrementLeft(HorizontalOffset); });
  }

  ResumeNext([&] { app.ActiveSheet().ChartObjects(n).LetHeight(ChartHeight); });
  ResumeNext([&] { app.ActiveSheet().ChartObjects(n).LetWidth(ChartWidth); });
}

}  // namespace orv
