#include "report_writer.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <tuple>

#include "orv/analysis/charts.hpp"
#include "orv/charts/clsPlotHistogram.hpp"
#include "orv/charts/clsPlotLine.hpp"
#include "orv/charts/clsPlotScatter.hpp"
#include "orv/excel/Chart.hpp"
#include "orv/excel/Shapes.hpp"
#include "orv/excel/Range.hpp"
#include "orv/excel/WorksheetFunction.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/excel/Worksheet.hpp"
#include "orv/output/clsConstants.hpp"
#include "orv/output/clsFormatting.hpp"
#include "orv/output/clsProperties.hpp"
#include "report_failure.hpp"

namespace orv::report {

namespace {

// The longest text a cell holds, in bytes.
constexpr std::size_t kCellText = 32767;

// A text cut to what a cell holds, at a character boundary, ending in "…"
// when cut: a header of any length still makes a report.
std::string Fit(std::string text) {
  if (text.size() <= kCellText) return text;
  std::size_t end = kCellText - 3;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text + "\xE2\x80\xA6";
}
Variant Fit(const Variant& v) { return v.IsString() ? Variant(Fit(v.AsString())) : v; }

constexpr Long Rgb(Long red, Long green, Long blue) { return red + 256 * green + 65536 * blue; }

// Chart sizes and placement, in points: two charts side by side fit the
// width of a landscape page; the gap between rows of charts is taller than
// a row, so that a page break before a chart's top row leaves the charts
// above it whole.
constexpr Long kChartWidth = 290;
constexpr Long kChartHeight = 290;
constexpr Long kChartGap = 24;
// Column widths in characters: from the widest cell of the column among
// the tables that share it (a header may wrap onto two lines).
constexpr double kLabelColumnWidth = 16;
constexpr double kColumnWidth = 8;
// Points: two lines of the header font.
constexpr double kTwoLineHeader = 30;
constexpr double kWidestColumn = 60;

std::string Percent(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f%%", value);
  return text;
}

// One titled table: a header row and data rows whose first column labels
// them. Formats are per column ("" keeps the theme's number format).
struct Table {
  std::string title;
  std::vector<std::string> headers;
  std::vector<std::string> formats;
  std::vector<std::vector<Variant>> rows;

  Long Width() const { return static_cast<Long>(headers.size()); }
};

// A value, or a blank where none exists (NaN). Infinities stay numbers
// until Sheet::Write blanks them with a note.
Variant Number(double value) { return std::isnan(value) ? Variant() : Variant(value); }

// The decimals of SignificantFormat, or -1 for the exponent form.
int Decimals(double value) {
  const double a = std::fabs(value);
  if (a == 0) return 0;
  if (a < 1e-4 || a >= 1e15) return -1;
  // The magnitude after rounding to four digits: 9.9996 shows as 10.00.
  int k = static_cast<int>(std::floor(std::log10(a)));
  if (std::round(a / std::pow(10.0, k - 3)) >= 10000) ++k;
  return std::max(0, 3 - k);
}

// The report sheet with a cursor: tables go one under the other, a blank
// row between them.
class Sheet {
 public:
  explicit Sheet(excel::Worksheet sheet, Long row = 1) : sheet_(std::move(sheet)), row_(row) {}

  const excel::Worksheet& Handle() const { return sheet_; }
  Long Row() const { return row_; }
  // Sizes each column to its widest cell.
  void FitColumns() const {
    std::vector<double> fitted(widths_.size());
    for (std::size_t c = 0; c < widths_.size(); ++c) {
      const Long column = static_cast<Long>(c) + 1;
      fitted[c] = std::clamp(widths_[c], c == 0 ? kLabelColumnWidth : kColumnWidth, kWidestColumn);
      sheet_.Columns(column).LetColumnWidth(fitted[c]);
    }
    // A header wider than its column wraps: its row shows two lines.
    for (const auto& [row, headers] : header_rows_) {
      bool wraps = false;
      for (std::size_t c = 0; c < headers.size() && c < fitted.size(); ++c)
        wraps = wraps || static_cast<double>(headers[c].size()) > fitted[c] - 1;
      if (wraps) sheet_.Rows(row).LetRowHeight(kTwoLineHeader);
    }
  }

  // A line of text in column A, formatted as a title or plainly.
  void Line(const std::string& text, bool title = false, double size = 0) {
    const excel::Range cell = sheet_.Cells(row_, 1);
    cell.LetValue(Variant(Fit(text)));
    if (title) {
      formatting_.SetTitles(cell);
      if (size > 0) cell.Font().LetSize(size);
    } else {
      cell.Font().LetItalic(true);
      cell.Font().LetColor(Rgb(89, 89, 89));
    }
    ++row_;
  }
  void Skip() { ++row_; }

  // Writes the table at the cursor; returns its data block (without the
  // header row).
  excel::Range Write(const Table& t) {
    const Long width = t.Width();
    const Long height = static_cast<Long>(t.rows.size());
    const excel::Range title = Block(row_, 1, row_, width);
    sheet_.Cells(row_, 1).LetValue(Variant(Fit(t.title)));
    formatting_.SetTitles(title);
    sheet_.Cells(row_, 1).Font().LetSize(11);

    Array<Variant> header(1, 1, 1, width);
    for (Long c = 1; c <= width; ++c)
      header(1, c) = Variant(Fit(t.headers[static_cast<std::size_t>(c - 1)]));
    const excel::Range head = Block(row_ + 1, 1, row_ + 1, width);
    head.LetValue(Variant(std::move(header)));
    formatting_.SetHeaders(head);
    header_rows_.emplace_back(row_ + 1, t.headers);

    // No text among numbers: an infinity is a blank with a note.
    std::vector<std::string> notes;
    Array<Variant> cells(1, height, 1, width);
    for (Long r = 1; r <= height; ++r)
      for (Long c = 1; c <= width; ++c) {
        const auto& row = t.rows[static_cast<std::size_t>(r - 1)];
        const Variant& v = row[static_cast<std::size_t>(c - 1)];
        if (v.IsNumber() && std::isinf(v.AsDouble())) {
          notes.push_back(t.headers[static_cast<std::size_t>(c - 1)] + " of " +
                          CStr(row.front()) + " is " +
                          (v.AsDouble() > 0 ? "infinite" : "minus infinity"));
          continue;
        }
        cells(r, c) = Fit(v);
      }
    const excel::Range data = Block(row_ + 2, 1, row_ + 1 + height, width);
    data.LetValue(Variant(std::move(cells)));
    formatting_.SetData(data, /*DontAlignCol1=*/true);
    for (Long c = 1; c <= width; ++c) {
      const std::string& format = t.formats[static_cast<std::size_t>(c - 1)];
      if (!format.empty()) data.Columns(c).LetNumberFormat(Variant(format));
      else
        FormatBySignificance(data, c, t);
      // Labels read from the left, like the first column.
      bool text = false;
      double longest = static_cast<double>(t.headers[static_cast<std::size_t>(c - 1)].size()) / 1.5;
      for (const auto& row : t.rows) {
        const Variant& v = row[static_cast<std::size_t>(c - 1)];
        if (v.IsString()) text = true;
        const std::string shown = v.IsString()   ? v.AsString()
                                  : v.IsNumber() ? SignificantText(v.AsDouble())
                                                 : std::string();
        longest = std::max(longest, static_cast<double>(shown.size()));
      }
      if (text && c > 1)
        data.Columns(c).LetHorizontalAlignment(Variant(clsConstants().xlHAlignLeft()));
      if (widths_.size() < static_cast<std::size_t>(c))
        widths_.resize(static_cast<std::size_t>(c), 0.0);
      widths_[static_cast<std::size_t>(c - 1)] =
          std::max(widths_[static_cast<std::size_t>(c - 1)], longest + 2);
    }
    row_ += height + 3;
    for (const std::string& note : notes) Line("Left blank above: " + note + ".");
    if (!notes.empty()) ++row_;
    return data;
  }

  // Each number of column c its SignificantFormat, one call per run of
  // cells that share one.
  void FormatBySignificance(const excel::Range& data, Long c, const Table& t) const {
    const auto format = [&](Long r) {
      const Variant& v = t.rows[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)];
      return v.IsNumber() ? SignificantFormat(v.AsDouble()) : std::string();
    };
    const auto height = static_cast<Long>(t.rows.size());
    for (Long start = 1, r = 2; r <= height + 1; ++r) {
      if (r <= height && format(r) == format(start)) continue;
      if (const std::string f = format(start); !f.empty())
        Block(data.Row() + start - 1, c, data.Row() + r - 2, c).LetNumberFormat(Variant(f));
      start = r;
    }
  }

  excel::Range Block(Long top, Long left, Long bottom, Long right) const {
    return sheet_.Range(sheet_.Cells(top, left), sheet_.Cells(bottom, right));
  }

 private:
  excel::Worksheet sheet_;
  clsFormatting formatting_;
  Long row_ = 1;
  std::vector<double> widths_;
  // Each table's header row and its texts.
  std::vector<std::pair<Long, std::vector<std::string>>> header_rows_;
};

std::string Name(const ReportData& d, Long j) { return d.names[static_cast<std::size_t>(j - 1)]; }

Table DescriptiveTableOf(const ReportData& d, const Analysis& a) {
  const std::string level = LevelText(a.level);
  Table t{"Descriptive statistics",
          {"Variable", "N", "Mean", "SD", "SE", "Lower " + level + " CL", "Upper " + level + " CL",
           "Minimum", "Maximum", "Q1", "Median", "Q3", "Skewness", "Excess kurtosis"},
          {"", kCountFormat, "", "", "", "", "", "", "", "", "", "", "", ""},
          {}};
  const DescriptiveTable& s = a.descriptives;
  for (Long j = 1; j <= a.p; ++j)
    t.rows.push_back({Variant(Name(d, j)), Number(s.counts.Item(j)), Number(s.means.Item(j)),
                      Number(s.sds.Item(j)), Number(s.ses.Item(j)), Number(s.lower(j)),
                      Number(s.upper(j)), Number(s.minimum(j)), Number(s.maximum(j)),
                      Number(s.q1(j)), Number(s.median(j)), Number(s.q3(j)),
                      Number(s.skewness(j)), Number(s.kurtosis(j))});
  return t;
}

Table CorrelationIntervals(const ReportData& d, const Analysis& a) {
  const CorrelationTable& c = a.correlations;
  Table t{"Correlation confidence intervals (Fisher z, " + LevelText(a.level) + ")",
          {"Variable", "With", "n", "r", "Lower CL", "Upper CL"},
          {"", "", kCountFormat, "", "", ""},
          {}};
  for (Long i = 1; i <= a.p; ++i)
    for (Long j = i + 1; j <= a.p; ++j)
      t.rows.push_back({Variant(Name(d, i)), Variant(Name(d, j)), Number(c.n),
                        Number(c.r.Item(i, j)), Number(c.lower(i, j)), Number(c.upper(i, j))});
  return t;
}

Table SquareTable(const ReportData& d, const std::string& title, const std::string& format,
                  const std::function<double(Long, Long)>& value, Long p) {
  Table t{title, {"Variable"}, {""}, {}};
  for (Long j = 1; j <= p; ++j) {
    t.headers.push_back(Name(d, j));
    t.formats.push_back(format);
  }
  for (Long i = 1; i <= p; ++i) {
    std::vector<Variant> row{Variant(Name(d, i))};
    for (Long j = 1; j <= p; ++j) row.push_back(Number(value(i, j)));
    t.rows.push_back(std::move(row));
  }
  return t;
}

Table ComponentsTable(const Analysis& a) {
  Table t{"Principal components of the correlation matrix", {"Component"}, {""}, {}};
  std::vector<Variant> values{Variant("Eigenvalue")}, percent{Variant("% of variance")},
      cumulative{Variant("Cumulative %")};
  for (Long j = 1; j <= a.p; ++j) {
    t.headers.push_back("PC" + std::to_string(j));
    t.formats.push_back("");
    values.push_back(Number(a.components.values(j)));
    percent.push_back(Number(a.components.percent(j)));
    cumulative.push_back(Number(a.components.cumulative(j)));
  }
  t.rows = {values, percent, cumulative};
  return t;
}

Table LoadingsTable(const ReportData& d, const Analysis& a) {
  Table t{"Component loadings (eigenvector x square root of eigenvalue)", {"Variable"}, {""}, {}};
  for (Long j = 1; j <= a.p; ++j) {
    t.headers.push_back("PC" + std::to_string(j));
    t.formats.push_back("");
  }
  for (Long i = 1; i <= a.p; ++i) {
    std::vector<Variant> row{Variant(Name(d, i))};
    for (Long j = 1; j <= a.p; ++j) row.push_back(Number(a.components.loadings(i, j)));
    t.rows.push_back(std::move(row));
  }
  return t;
}

Table GroupStatisticsTable(const ReportData& d, const Analysis& a) {
  const std::string level = LevelText(a.level);
  Table t{"Group statistics by " + d.group_name,
          {"Variable", "Group", "N", "Mean", "SD", "SE", "Lower " + level + " CL",
           "Upper " + level + " CL", "Median"},
          {"", "", kCountFormat, "", "", "", "", "", ""},
          {}};
  const GroupTable& g = a.groups;
  for (Long j = 1; j <= a.p; ++j)
    for (Long k = 1; k <= static_cast<Long>(g.labels.size()); ++k)
      t.rows.push_back({Variant(Name(d, j)), Variant(g.labels[static_cast<std::size_t>(k - 1)]),
                        Number(g.sizes[static_cast<std::size_t>(k - 1)]), Number(g.means(k, j)),
                        Number(g.sds(k, j)), Number(g.ses(k, j)), Number(g.lower(k, j)),
                        Number(g.upper(k, j)), Number(g.medians(k, j))});
  return t;
}

Table AnovaTable(const ReportData& d, const Analysis& a) {
  Table t{"One-way analysis of variance by " + d.group_name,
          {"Variable", "Source", "SS", "df", "MS", "F", "p", "Eta squared", "Omega squared"},
          {"", "", "", kCountFormat, "", "", kPValueFormat, "", ""},
          {}};
  const Variant none;
  for (Long j = 1; j <= a.p; ++j) {
    const AnovaRow& r = a.anova[static_cast<std::size_t>(j - 1)];
    const Variant name(Name(d, j));
    t.rows.push_back({name, Variant("Between groups"), Number(r.ss_between), Number(r.df_between),
                      Number(r.ms_between), Number(r.f), Number(r.p), Number(r.eta_squared),
                      Number(r.omega_squared)});
    t.rows.push_back({name, Variant("Within groups"), Number(r.ss_within), Number(r.df_within),
                      Number(r.ms_within), none, none, none, none});
    t.rows.push_back({name, Variant("Total"), Number(r.ss_total), Number(r.df_total), none, none,
                      none, none, none});
  }
  return t;
}

Table RobustAnovaTable(const ReportData& d, const Analysis& a) {
  Table t{"Equal variances (Brown-Forsythe) and Welch's ANOVA by " + d.group_name,
          {"Variable", "Brown-Forsythe F", "df1", "df2", "p", "Welch F", "df1", "df2", "p"},
          {"", "", kCountFormat, kCountFormat, kPValueFormat, "", kCountFormat, "", kPValueFormat},
          {}};
  for (Long j = 1; j <= a.p; ++j) {
    const AnovaRow& r = a.anova[static_cast<std::size_t>(j - 1)];
    t.rows.push_back({Variant(Name(d, j)), Number(r.bf_f), Number(r.df_between),
                      Number(r.df_within), Number(r.bf_p), Number(r.welch_f), Number(r.df_between),
                      Number(r.welch_df), Number(r.welch_p)});
  }
  return t;
}

Table TukeyTable(const ReportData& d, const Analysis& a) {
  const std::string level = LevelText(a.level);
  Table t{"Tukey-Kramer pairwise comparisons",
          {"Variable", "Comparison", "Difference", "SE of difference", "Lower " + level + " CL",
           "Upper " + level + " CL", "q", "p"},
          {"", "", "", "", "", "", "", kPValueFormat},
          {}};
  const GroupTable& g = a.groups;
  for (const TukeyRow& r : a.tukey)
    t.rows.push_back({Variant(Name(d, r.variable)),
                      Variant(g.labels[static_cast<std::size_t>(r.second - 1)] + " - " +
                              g.labels[static_cast<std::size_t>(r.first - 1)]),
                      Number(r.difference), Number(r.se), Number(r.lower), Number(r.upper),
                      Number(r.q), Number(r.p)});
  return t;
}

Table HistogramTable(const ReportData& d, const Analysis& a) {
  const Histogram& h = a.histogram;
  const int decimals = static_cast<int>(h.decimals);
  const std::string format = decimals == 0 ? "0" : "0." + std::string(h.decimals, '0');
  Table t{"Histogram bins of " + Name(d, h.variable),
          {"Bin", "From", "To", "Frequency"},
          {"", format, format, kCountFormat},
          {}};
  for (std::size_t b = 0; b < h.counts.size(); ++b) {
    char label[96];
    const bool last = b + 1 == h.counts.size();
    std::snprintf(label, sizeof label, "%.*f to %s %.*f", decimals, h.from[b], last ? "<=" : "<",
                  decimals, h.to[b]);
    t.rows.push_back({Variant(label), Number(h.from[b]), Number(h.to[b]), Number(h.counts[b])});
  }
  return t;
}

// ---------------------------------------------------------------------------
// Charts

struct ChartPlace {
  excel::Range output;
  Long horizontal = 0, vertical = 0;
};

// The chart just drawn at `at`.
excel::Chart LastChart(const ChartPlace& at) {
  const excel::ChartObjects all = at.output.Worksheet().ChartObjects();
  return all.Item(all.Count()).Chart();
}

class Charts {
 public:
  Charts(const excel::Worksheet& sheet, WrittenReport& report) : sheet_(sheet), report_(report) {}

  // Draws one chart in the next place of a grid two charts wide; a chart
  // the chart classes refuse becomes a warning.
  void Draw(const std::string& title, const std::function<void(const ChartPlace&)>& draw) {
    ChartPlace place{sheet_.Cells(1, 1), (count_ % 2) * (kChartWidth + kChartGap),
                     (count_ / 2) * (kChartHeight + kChartGap)};
    try {
      draw(place);
      // Each row of charts starts a page.
      if (count_ % 2 == 0 && count_ > 0)
        sheet_.AddPageBreak(LastChart(place).Parent().TopLeftCell());
      report_.charts.push_back(title);
      ++count_;
    } catch (const Error& e) {
      report_.warnings.push_back("the chart \"" + title +
                                 "\" could not be drawn: " + DescribeError(e));
    }
  }

 private:
  excel::Worksheet sheet_;
  WrittenReport& report_;
  Long count_ = 0;
};

template <class Plot>
void Place(Plot& plot, const ChartPlace& at) {
  plot.SetOutputRange(at.output);
  plot.LetHorizontalOffset(at.horizontal);
  plot.LetVerticalOffset(at.vertical);
  plot.LetChartWidth(kChartWidth);
  plot.LetChartHeight(kChartHeight);
}

excel::Range Column(const excel::Range& block, Long c) { return block.Columns(c); }


// An axis over nice limits that hold [low, high], crossed at its minimum.
void FitAxis(const excel::Axis& axis, double low, double high) {
  double min = 0, max = 0, unit = 0;
  Long decimals = 0;
  Global<clsMain>().AxisTicks(low, high, 6, 0.0, min, max, unit, decimals);
  axis.LetMinimumScale(min);
  axis.LetMaximumScale(max);
  axis.LetMajorUnit(unit);
  axis.LetCrossesAt(min);
}


}  // namespace

std::string SignificantFormat(double value) {
  const int decimals = Decimals(value);
  if (decimals < 0) return "0.000E+00";
  return decimals == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0');
}

std::string SignificantText(double value) {
  char text[64];
  const int decimals = Decimals(value);
  if (decimals < 0)
    std::snprintf(text, sizeof text, "%.3E", value);
  else
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string LevelText(double level) {
  char text[32];
  const double percent = level * 100.0;
  if (std::fabs(percent - std::round(percent)) < 1e-9)
    std::snprintf(text, sizeof text, "%.0f%%", percent);
  else
    std::snprintf(text, sizeof text, "%.4g%%", percent);
  return text;
}

WrittenReport BuildWorkbook(const excel::Application& app, const ReportData& d, const Analysis& a,
                            Progress& progress) {
  progress.Begin("writing the tables");
  WrittenReport out;
  out.book = app.Workbooks().Add();
  // Report, Charts, Data: each new sheet goes before the active one.
  const excel::Worksheet data_sheet = out.book.Worksheets(1);
  data_sheet.LetName("Data");
  const excel::Worksheet chart_sheet = out.book.Worksheets().Add();
  chart_sheet.LetName("Charts");
  const excel::Worksheet report_sheet = out.book.Worksheets().Add();
  report_sheet.LetName("Report");
  // The tables print landscape, one page wide; the charts landscape at
  // full size, a row of two per page.
  for (const excel::Worksheet& s : {report_sheet, chart_sheet}) {
    s.LetDisplayGridlines(false);
    s.PageSetup().LetOrientation(excel::xlLandscape);
  }
  report_sheet.PageSetup().LetFitToPagesWide(1);

  // The Data sheet: the analysed cases, names in row 1, the grouping
  // variable last.
  const Long n = a.n, p = a.p;
  {
    Array<Variant> names(1, 1, 1, p + (d.Grouped() ? 1 : 0));
    for (Long j = 1; j <= p; ++j) names(1, j) = Variant(Name(d, j));
    if (d.Grouped()) names(1, p + 1) = Variant(d.group_name);
    data_sheet.Range(data_sheet.Cells(1, 1), data_sheet.Cells(1, names.UBound(2)))
        .LetValue(Variant(std::move(names)));
    data_sheet.Range(data_sheet.Cells(2, 1), data_sheet.Cells(n + 1, p))
        .LetValue(Variant(d.values));
    if (d.Grouped()) {
      Array<std::string> labels(1, n, 1, 1);
      for (Long i = 1; i <= n; ++i) labels(i, 1) = d.groups[static_cast<std::size_t>(i - 1)];
      data_sheet.Range(data_sheet.Cells(2, p + 1), data_sheet.Cells(n + 1, p + 1))
          .LetValue(Variant(std::move(labels)));
    }
    const excel::Range head =
        data_sheet.Range(data_sheet.Cells(1, 1), data_sheet.Cells(1, p + (d.Grouped() ? 1 : 0)));
    clsFormatting().SetHeaders(head);
    data_sheet.Range(data_sheet.Cells(1, 1), data_sheet.Cells(1, p + 1))
        .LetColumnWidth(kColumnWidth + 4);
    data_sheet.FreezePanes(1, 0);
    data_sheet.Range(head.Cells(1, 1), data_sheet.Cells(n + 1, head.Columns().Count()))
        .AutoFilter();
  }

  // The Report sheet.
  Sheet sheet(report_sheet);
  sheet.Line("Statistics report: " + d.source, true, 14);
  std::string what = "Sheet " + d.sheet + ", cells " + d.address + ": " + std::to_string(n) +
                     " cases, " + std::to_string(p) + (p == 1 ? " variable" : " variables");
  if (d.Grouped())
    what += ", grouped by " + d.group_name + " (" + d.group_place + ", " +
            std::to_string(a.groups.labels.size()) + " groups)";
  sheet.Line(what);
  if (d.dropped > 0)
    sheet.Line(std::to_string(d.dropped) + (d.dropped == 1 ? " case was" : " cases were") +
               " left out for a blank cell; " + std::to_string(d.cases_read) + " were read.");
  if (!d.left_out.empty()) {
    std::string list;
    for (const std::string& s : d.left_out) list += (list.empty() ? "" : ", ") + s;
    sheet.Line("Left out, holding no numbers: " + list + ".");
  }
  // How the input was read where it differs from what the options said.
  for (const std::string& note : d.notices) sheet.Line("Note: " + note + ".");
  sheet.Line("Confidence level " + LevelText(a.level) + "; p-values are two-tailed.");
  sheet.Skip();

  const Table descriptive = DescriptiveTableOf(d, a);
  sheet.Write(descriptive);
  out.tables.push_back(descriptive.title);

  excel::Range eigenvalues(Nothing), loadings(Nothing);
  if (a.correlated) {
    const Table r = SquareTable(
        d, "Correlation matrix (Pearson r)", "",
        [&](Long i, Long j) { return a.correlations.r.Item(i, j); }, p);
    sheet.Write(r);
    const Table pr = SquareTable(
        d, "Correlation p-values (two-tailed t test, n - 2 df)", kPValueFormat,
        [&](Long i, Long j) { return a.correlations.p(i, j); }, p);
    sheet.Write(pr);
    const Table ci = CorrelationIntervals(d, a);
    sheet.Write(ci);
    const Table pc = ComponentsTable(a);
    sheet.Write(pc);
    const Table ld = LoadingsTable(d, a);
    loadings = sheet.Write(ld);
    for (const Table* t : {&r, &pr, &ci, &pc, &ld}) out.tables.push_back(t->title);
  }
  if (a.grouped) {
    const Table gs = GroupStatisticsTable(d, a);
    const Table av = AnovaTable(d, a);
    const Table rv = RobustAnovaTable(d, a);
    const Table tk = TukeyTable(d, a);
    for (const Table* t : {&gs, &av, &rv, &tk}) {
      sheet.Write(*t);
      out.tables.push_back(t->title);
    }
  }
  sheet.FitColumns();

  // The histogram's bins and the eigenvalues go with the charts (a chart's
  // series lie on its sheet), on a page of their own under the grid.
  const Long drawn = 1 + (p >= 2 ? 2 : 0) + (p >= 3 ? 1 : 0);
  const double grid = ((drawn + 1) / 2) * static_cast<double>(kChartHeight + kChartGap);
  // Columns of a set width under the charts, so that any viewer sizes the
  // charts as placed here.
  chart_sheet.Range(chart_sheet.Cells(1, 1), chart_sheet.Cells(1, 24)).LetColumnWidth(kColumnWidth);
  Long below = 1;
  while (chart_sheet.Cells(below, 1).Top() < grid) ++below;
  chart_sheet.AddPageBreak(chart_sheet.Cells(below, 1));
  Sheet chart_tables(chart_sheet, below);
  const Table hist = HistogramTable(d, a);
  const excel::Range bins = chart_tables.Write(hist);
  out.tables.push_back(hist.title);
  if (a.correlated) {
    Table scree{"Eigenvalues (scree plot)", {"Component"}, {""}, {{Variant("Eigenvalue")}}};
    for (Long j = 1; j <= p; ++j) {
      scree.headers.push_back("PC" + std::to_string(j));
      scree.formats.push_back("");
      scree.rows[0].push_back(Number(a.components.values(j)));
    }
    const excel::Range row = chart_tables.Write(scree);
    eigenvalues = chart_tables.Block(row.Row(), 2, row.Row(), p + 1);
    out.tables.push_back(scree.title);
  }
  chart_tables.FitColumns();
  progress.End();

  // Charts, drawn by the chart classes on the active Report sheet.
  progress.Begin("drawing the charts");
  chart_sheet.Activate();
  Charts charts(chart_sheet, out);
  const auto data_column = [&](Long j) {
    return data_sheet.Range(data_sheet.Cells(2, j), data_sheet.Cells(n + 1, j));
  };
  if (p >= 2) {
    const std::string title = Name(d, 2) + " against " + Name(d, 1);
    const std::string level = LevelText(a.level);
    charts.Draw(title, [&](const ChartPlace& at) {
      clsPlotScatter plot;
      Place(plot, at);
      plot.SetXValues(data_column(1));
      plot.SetYValues(data_column(2));
      plot.LetChartTitle(title);
      plot.LetChartSubtitle("Regression line, " + level + " confidence and prediction bands");
      plot.LetXAxisTitle(Name(d, 1));
      plot.LetYAxisTitle(Name(d, 2));
      plot.LetRegression(ORVPSRegCalculate);
      plot.CreatePlot();
      // The bands at exactly the tables' level, each one series whose two
      // edges a gap separates, so that the legend names it once.
      const excel::Chart chart = LastChart(at);
      chart.SeriesCollection(1).LetName(Name(d, 2));
      chart.SeriesCollection(1).Trendlines(1).LetName("Regression line");
      const RegressionBands& b = a.bands;
      double low = b.prediction_lower.front(), high = low;
      for (const auto& [name, lower, upper, style] :
           {std::tuple{level + " confidence band", &b.confidence_lower, &b.confidence_upper,
                       excel::xlDash},
            {level + " prediction band", &b.prediction_lower, &b.prediction_upper,
             excel::xlDot}}) {
        Array<Variant> x(1, 2 * kBandPoints + 1), y(1, 2 * kBandPoints + 1);
        for (Long k = 1; k <= kBandPoints; ++k) {
          const auto i = static_cast<std::size_t>(k - 1);
          x(k) = x(kBandPoints + 1 + k) = Variant(b.x[i]);
          y(k) = Variant((*upper)[i]);
          y(kBandPoints + 1 + k) = Variant((*lower)[i]);
          low = std::min(low, (*lower)[i]);
          high = std::max(high, (*upper)[i]);
        }
        const excel::Series band =
            analysis::AddLine(chart, name, Variant(std::move(x)), Variant(std::move(y)));
        band.Border().LetWeight(excel::xlThin);
        band.Border().LetLineStyle(style);
      }
      const excel::Range ys = data_column(2);
      const excel::WorksheetFunction wf = app.WorksheetFunction();
      FitAxis(chart.Axes(excel::xlValue), std::min(low, wf.Min(ys)),
              std::max(high, wf.Max(ys)));
      chart.LetHasLegend(true);
    });
  }
  {
    const std::string title = "Histogram of " + Name(d, a.histogram.variable);
    charts.Draw(title, [&](const ChartPlace& at) {
      // The bins as labelled categories: one column series, nothing on
      // secondary axes.
      clsPlotHistogram plot;
      Place(plot, at);
      plot.LetDataType(ORVHistogramCategorical);
      plot.SetXValuesRange(Column(bins, 1));
      plot.SetYValuesRange(Column(bins, 4));
      plot.LetChartTitle(title);
      plot.LetXAxisTitle(Name(d, a.histogram.variable));
      plot.LetYAxisTitle("Frequency");
      plot.CreatePlot();
    });
  }
  if (a.correlated) {
    charts.Draw("Scree plot", [&](const ChartPlace& at) {
      clsPlotLine plot;
      Place(plot, at);
      plot.SetYValues(eigenvalues);
      plot.LetChartTitle("Scree plot");
      plot.LetXAxisTitle("Component");
      plot.LetYAxisTitle("Eigenvalue");
      plot.LetYMin(0);
      plot.CreatePlot();
    });
  }
  // With two variables the loadings on PC2 are equal but for rounding: an
  // axis over such a range cannot be scaled, and the chart says nothing a
  // correlation does not.
  if (a.correlated && p >= 3) {
    charts.Draw("Loadings on PC1 and PC2", [&](const ChartPlace& at) {
      clsPlotScatter plot;
      Place(plot, at);
      plot.SetXValues(Column(loadings, 2));
      plot.SetYValues(Column(loadings, 3));
      plot.LetChartTitle("Loadings on PC1 and PC2");
      plot.LetXAxisTitle("PC1 (" + Percent(a.components.percent(1)) + ")");
      plot.LetYAxisTitle("PC2 (" + Percent(a.components.percent(2)) + ")");
      Array<double> x(1, p, 1, 1), y(1, p, 1, 1);
      std::vector<std::string> names;
      for (Long i = 1; i <= p; ++i) {
        x(i, 1) = a.components.loadings(i, 1);
        y(i, 1) = a.components.loadings(i, 2);
        names.push_back(Name(d, i));
      }
      plot.StarPoints(Variant(x), Variant(y));
      plot.CreatePlot();
      analysis::LoadingsFrame(LastChart(at), x, y, names);
    });
  }
  progress.End();
  report_sheet.Activate();
  return out;
}

}  // namespace orv::report
