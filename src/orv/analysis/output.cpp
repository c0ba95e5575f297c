// Writing a result to its sheet: notes, tables formatted by clsFormatting,
// the data columns beside them, and the charts beside those.
#include <algorithm>
#include <cmath>

#include "orv/analysis/analysis_detail.hpp"
#include "orv/charts/clsPlotScatter.hpp"
#include "orv/excel/Application.hpp"
#include "orv/excel/Worksheet.hpp"
#include "orv/excel/WorksheetFunction.hpp"
#include "orv/excel/reference.hpp"
#include "orv/output/clsFormatting.hpp"

namespace orv::analysis::detail {

namespace {

constexpr const char* kCountFormat = "0";
constexpr const char* kPValueFormat = "[<0.001]\"<0.001\";0.000";
constexpr long kChartWidth = 400, kChartHeight = 290, kChartGap = 12;

Variant Number(double value) {
  if (std::isnan(value)) return Variant();
  if (std::isinf(value)) return Variant(value > 0 ? "infinite" : "-infinite");
  return Variant(value);
}

bool IsP(const std::string& column) { return column == "p" || column.rfind("p (", 0) == 0; }

// Counts and whole degrees of freedom show without decimals.
const char* FormatOf(const Table& t, std::size_t c) {
  if (IsP(t.columns[c])) return kPValueFormat;
  if (t.columns[c] != "N" && t.columns[c] != "df" && t.columns[c] != "U" && t.columns[c] != "V" &&
      t.columns[c] != "Frequency")
    return nullptr;
  for (const auto& row : t.values)
    if (!std::isnan(row[c]) && row[c] != std::floor(row[c])) return nullptr;
  return kCountFormat;
}

long Widest(const Result& r) {
  long widest = 1;
  for (const Table& t : r.tables)
    widest = std::max(widest, static_cast<long>(t.columns.size()) + 1);
  return widest;
}

long DataLeft(const Result& r) { return Widest(r) + 2; }

excel::Worksheet NewSheet(const excel::Workbook& out, const std::string& name) {
  const excel::Worksheets sheets = out.Worksheets();
  // A new workbook's one empty sheet is used, not kept beside.
  if (sheets.Count() == 1) {
    const excel::Worksheet only = sheets(1);
    if (out.Parent().WorksheetFunction().CountA(only.UsedRange()) == 0) {
      only.LetName(name);
      return only;
    }
  }
  std::string unique = name;
  for (int k = 2;; ++k) {
    bool taken = false;
    for (long i = 1; i <= sheets.Count(); ++i)
      taken = taken || excel::SameSheetName(sheets(i).Name(), unique);
    if (!taken) break;
    unique = name + " (" + std::to_string(k) + ")";
  }
  const excel::Worksheet sheet = sheets.Add();
  sheet.LetName(unique);
  return sheet;
}

}  // namespace

excel::Worksheet WriteResult(const Result& r, const excel::Workbook& out) {
  const excel::Worksheet sheet = NewSheet(out, r.sheet);
  sheet.Activate();
  const clsFormatting formatting;
  long row = 1;
  sheet.Cells(row, 1).LetValue(Variant(r.sheet));
  formatting.SetTitles(sheet.Cells(row, 1));
  sheet.Cells(row, 1).Font().LetSize(14);
  ++row;
  for (const std::string& note : r.notes) {
    sheet.Cells(row, 1).LetValue(Variant(note));
    sheet.Cells(row, 1).Font().LetItalic(true);
    ++row;
  }
  ++row;
  for (const Table& t : r.tables) {
    const long width = static_cast<long>(t.columns.size()) + 1;
    const long height = static_cast<long>(t.rows.size());
    sheet.Cells(row, 1).LetValue(Variant(t.title));
    formatting.SetTitles(sheet.Range(sheet.Cells(row, 1), sheet.Cells(row, width)));
    Array<Variant> header(1, 1, 1, width);
    header(1, 1) = Variant(t.label_header);
    for (long c = 2; c <= width; ++c)
      header(1, c) = Variant(t.columns[static_cast<std::size_t>(c - 2)]);
    const excel::Range head = sheet.Range(sheet.Cells(row + 1, 1), sheet.Cells(row + 1, width));
    head.LetValue(Variant(std::move(header)));
    formatting.SetHeaders(head);
    Array<Variant> cells(1, height, 1, width);
    for (long i = 1; i <= height; ++i) {
      cells(i, 1) = Variant(t.rows[static_cast<std::size_t>(i - 1)]);
      for (long c = 2; c <= width; ++c)
        cells(i, c) =
            Number(t.values[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(c - 2)]);
    }
    const excel::Range data =
        sheet.Range(sheet.Cells(row + 2, 1), sheet.Cells(row + 1 + height, width));
    data.LetValue(Variant(std::move(cells)));
    formatting.SetData(data, /*DontAlignCol1=*/true);
    for (std::size_t c = 0; c < t.columns.size(); ++c)
      if (const char* format = FormatOf(t, c))
        data.Columns(static_cast<long>(c) + 2).LetNumberFormat(Variant(format));
    row += height + 3;
  }
  // Each column as wide as its longest header or label, numbers 12.
  std::vector<double> widths(static_cast<std::size_t>(Widest(r)), 12.0);
  for (const Table& t : r.tables) {
    for (const std::string& label : t.rows)
      widths[0] = std::max(widths[0], static_cast<double>(label.size()) + 2);
    for (std::size_t c = 0; c < t.columns.size(); ++c)
      widths[c + 1] = std::max(widths[c + 1], static_cast<double>(t.columns[c].size()) + 2);
  }
  for (std::size_t c = 0; c < widths.size(); ++c)
    sheet.Columns(static_cast<long>(c) + 1).LetColumnWidth(std::min(widths[c], 60.0));

  const long left = DataLeft(r);
  for (std::size_t j = 0; j < r.data.size(); ++j) {
    const analysis::DataColumn& d = r.data[j];
    const long column = left + static_cast<long>(j);
    sheet.Cells(1, column).LetValue(Variant(d.name));
    formatting.SetHeaders(sheet.Cells(1, column));
    Array<double> values(1, static_cast<Long>(d.values.size()), 1, 1);
    for (std::size_t i = 0; i < d.values.size(); ++i)
      values(static_cast<Long>(i + 1), 1) = d.values[i];
    if (!d.values.empty())
      sheet
          .Range(sheet.Cells(2, column),
                 sheet.Cells(static_cast<long>(d.values.size()) + 1, column))
          .LetValue(Variant(std::move(values)));
    sheet.Columns(column).LetColumnWidth(12);
  }
  return sheet;
}

excel::Range DataCells(const excel::Worksheet& sheet, const Result& r, std::size_t index) {
  const long column = DataLeft(r) + static_cast<long>(index);
  return sheet.Range(sheet.Cells(2, column),
                     sheet.Cells(static_cast<long>(r.data[index].values.size()) + 1, column));
}

excel::Range TableCells(const excel::Worksheet& sheet, const Result& r, const std::string& title,
                        const std::string& column, const std::string& row) {
  long top = 3 + static_cast<long>(r.notes.size());  // where WriteResult puts the first title
  for (const Table& t : r.tables) {
    const long height = static_cast<long>(t.rows.size());
    if (t.title != title) {
      top += height + 3;
      continue;
    }
    if (!row.empty()) {
      const auto at = std::find(t.rows.begin(), t.rows.end(), row);
      const long i = top + 2 + static_cast<long>(at - t.rows.begin());
      return sheet.Range(sheet.Cells(i, 2),
                         sheet.Cells(i, static_cast<long>(t.columns.size()) + 1));
    }
    const auto at = std::find(t.columns.begin(), t.columns.end(), column);
    const long c = column == t.label_header ? 1 : 2 + static_cast<long>(at - t.columns.begin());
    return sheet.Range(sheet.Cells(top + 2, c), sheet.Cells(top + 1 + height, c));
  }
  Fail(kErrInvalidCall, "the result " + r.sheet + " has no table " + title);
}

void DrawChart(Result& r, const excel::Worksheet& sheet, int slot, const std::string& title,
               const std::function<void(const ChartPlace&)>& draw) {
  const long column = DataLeft(r) + static_cast<long>(r.data.size()) + 1;
  try {
    draw(ChartPlace{sheet.Cells(2, column), slot * (kChartHeight + kChartGap), kChartWidth,
                    kChartHeight});
    r.charts.push_back(title);
  } catch (const Error& e) {
    r.warnings.push_back("the chart \"" + title + "\" could not be drawn: " + e.Description);
  }
}

void Scatter(clsPlotScatter& plot, const ChartPlace& at, const excel::Worksheet& sheet,
             const Result& r, std::size_t x, std::size_t y) {
  Place(plot, at);
  plot.SetXValues(DataCells(sheet, r, x));
  plot.SetYValues(DataCells(sheet, r, y));
  plot.LetXAxisTitle(r.data[x].name);
  plot.LetYAxisTitle(r.data[y].name);
}

}  // namespace orv::analysis::detail
