#include "report_input.hpp"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "orv/arrays/clsMatrix.hpp"
#include "orv/excel/Range.hpp"
#include "orv/excel/Worksheet.hpp"
#include "orv/excel/WorksheetFunction.hpp"
#include "orv/excel/reference.hpp"
#include "orv/frame/text.hpp"
#include "orv/validation/clsValidation.hpp"
#include "orv/xlsx/xlsx.hpp"
#include "orv_report/sample_iris.hpp"
#include "report_cells.hpp"
#include "report_failure.hpp"

namespace orv::report {

namespace {

using excel::Rect;


std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool IsTextInput(const ReportOptions& options) {
  if (!options.input) return true;  // the sample
  const std::string ext = Lower(std::filesystem::path(*options.input).extension().string());
  return ext == ".csv" || ext == ".tsv" || ext == ".txt";
}

std::string Plural(Long n, const std::string& one, const std::string& many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// ---------------------------------------------------------------------------
// Opening

// A directory of our own for the sample, removed with everything in it.
class TempDirectory {
 public:
  TempDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orv-report-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw ReportFailure("cannot create a temporary directory");
    path_ = pattern;
  }
  ~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

excel::Workbook OpenSample(const excel::Application& app) {
  TempDirectory dir;
  const std::filesystem::path file = dir.Path() / "iris.csv";
  {
    std::ofstream out(file, std::ios::binary);
    out.write(kIrisCsv.data(), static_cast<std::streamsize>(kIrisCsv.size()));
    if (!out) throw ReportFailure("cannot write the built-in sample to " + file.string());
  }
  return xlsx::OpenCsv(app, file.string());
}

// ---------------------------------------------------------------------------
// Geometry. The code below speaks of lines (the variables: columns, or rows
// with --rows) and positions along them (the cases). A Rect in these terms
// has its lines from left to right and its positions from top to bottom;
// Sheet() turns it into the sheet's own rows and columns.

struct Layout {
  bool rows = false;

  Rect Sheet(const Rect& r) const { return rows ? Rect{r.left, r.top, r.right, r.bottom} : r; }
  Rect FromSheet(const Rect& r) const { return Sheet(r); }
  Long Row(Long line, Long pos) const { return rows ? line : pos; }
  Long Column(Long line, Long pos) const { return rows ? pos : line; }

  std::string Kind() const { return rows ? "row" : "column"; }
  std::string Place(Long line) const {
    return rows ? "row " + std::to_string(line) : "column " + excel::ColumnLetters(line);
  }
  std::string Cell(Long line, Long pos) const {
    return excel::ColumnLetters(Column(line, pos)) + std::to_string(Row(line, pos));
  }
  std::string PosPlace(Long pos) const {
    return rows ? "column " + excel::ColumnLetters(pos) : "row " + std::to_string(pos);
  }
  // "rows 1 to 3", or "row 1" when first == last.
  std::string PosPlaces(Long first, Long last) const {
    if (first == last) return PosPlace(first);
    return rows ? "columns " + excel::ColumnLetters(first) + " to " + excel::ColumnLetters(last)
                : "rows " + std::to_string(first) + " to " + std::to_string(last);
  }
};

std::string Address(const Rect& r) {
  std::string a = excel::ColumnLetters(r.left) + std::to_string(r.top);
  if (r.Rows() == 1 && r.Columns() == 1) return a;
  return a + ":" + excel::ColumnLetters(r.right) + std::to_string(r.bottom);
}

// Areas in sheet terms joined by ",".
std::string Address(const Layout& layout, const std::vector<Rect>& areas) {
  std::string text;
  for (const Rect& a : areas) {
    if (!text.empty()) text += ",";
    text += Address(layout.Sheet(a));
  }
  return text;
}

excel::Range RangeOf(const excel::Worksheet& sheet, const Layout& layout,
                     const std::vector<Rect>& areas) {
  return sheet.Range(Address(layout, areas));
}

excel::Range LineBlock(const excel::Worksheet& sheet, const Layout& layout, Long line,
                       Long first_pos, Long last_pos) {
  return RangeOf(sheet, layout, {Rect{first_pos, line, last_pos, line}});
}

Variant CellValue(const excel::Worksheet& sheet, const Layout& layout, Long line, Long pos) {
  return sheet.Cells(layout.Row(line, pos), layout.Column(line, pos)).Value();
}

std::string HeaderText(const excel::Worksheet& sheet, const Layout& layout, Long line, Long pos) {
  try {
    return Trimmed(CStr(CellValue(sheet, layout, line, pos)));
  } catch (const Error&) {
    return {};
  }
}

// "column B (Sepal width)", or "column B" without a name.
std::string Named(const std::string& place, const std::string& name) {
  return name.empty() ? place : place + " (" + name + ")";
}

// How a cell that is not a number looks to the user.
std::string Shown(const Variant& v) {
  if (v.IsString()) return "the text " + Quoted(v.AsString());
  if (v.IsBoolean()) return std::string("the Boolean ") + (v.AsBoolean() ? "TRUE" : "FALSE");
  if (v.IsError()) {
    try {
      return "the error value " + CStr(v);
    } catch (const Error&) {
      return "an error value";
    }
  }
  return "a value that is not a number";
}

bool IsBlank(const Variant& v) { return v.IsEmpty() || (v.IsString() && v.AsString().empty()); }

// Calls visit(pos, value) for the cells of `line` from `first` to `last`
// that hold something, or (unless `numbers` asks for them too) something
// other than a number; a line of numbers and blanks is not read cell by cell.
template <class Visit>
void VisitLine(const excel::WorksheetFunction& wf, const excel::Worksheet& sheet,
               const Layout& layout, Long line, Long first, Long last, bool numbers, Visit visit) {
  if (first > last) return;
  const excel::Range block = LineBlock(sheet, layout, line, first, last);
  if (!numbers && wf.Count(block) == wf.CountA(block)) return;
  const Variant values = block.Value();
  for (Long pos = first; pos <= last; ++pos) {
    const Variant v =
        values.IsArray() ? values.Element(layout.Row(1, pos - first + 1),
                                          layout.Column(1, pos - first + 1))
                         : values;
    if (!v.IsEmpty()) visit(pos, v);
  }
}

// Cells of a separated text holding a number the report will not guess at.
struct MarkedCells {
  std::string first_cell, first_text;  // the first such cell
  std::string decimal_cell, decimal_text;  // the first with an unambiguous decimal mark
  bool grouped = false;                // one shows thousands separators
};

MarkedCells MarkedCellsOf(const excel::WorksheetFunction& wf, const excel::Worksheet& sheet,
                          bool decimal_comma) {
  MarkedCells found;
  const Rect used = sheet.UsedRange().AreaBlocks().front();
  for (Long column = used.left; column <= used.right; ++column)
    VisitLine(wf, sheet, Layout{}, column, used.top, used.bottom, false, [&](Long row,
                                                                             const Variant& v) {
      if (!v.IsString()) return;
      const MarkShape shape = ShapeOf(v.AsString(), decimal_comma ? '.' : ',');
      if (shape == MarkShape::kNone) return;
      const std::string cell = excel::ColumnLetters(column) + std::to_string(row);
      if (found.first_cell.empty()) found = {cell, v.AsString(), "", "", false};
      if (shape == MarkShape::kDecimal && found.decimal_cell.empty()) {
        found.decimal_cell = cell;
        found.decimal_text = v.AsString();
      }
      found.grouped = found.grouped || shape == MarkShape::kGrouped;
    });
  return found;
}

// ---------------------------------------------------------------------------
// Finding the data

struct Located {
  excel::Worksheet sheet;
  Layout layout;
  Rect used;                  // the sheet's used block, in lines and positions
  std::vector<Rect> areas;    // the variables' areas (headers included)
  std::optional<Long> group;  // the grouping line
  Long h = 1;                 // 1 with headers
  std::vector<std::string> left_out;
  // Lines found to be no variables: "column A (id), which numbers the cases".
  std::vector<std::string> excluded;
  // Cells holding a missing-value code, read as blanks: (line, position)
  // and the code as the user wrote it.
  std::map<std::pair<Long, Long>, std::string> missing;
  // Per line, the numbers stored as text that were read as numbers.
  std::map<Long, Long> text_numbers;
  std::vector<std::string> notices;
};

// "; sheets holding numbers: "Measurements" (choose one with --sheet)", or
// nothing when no other sheet holds one.
std::string SheetsWithNumbers(const excel::WorksheetFunction& wf, const excel::Worksheet& sheet) {
  std::string names;
  const excel::Worksheets sheets = sheet.Parent().Worksheets();
  for (Long i = 1; i <= sheets.Count(); ++i)
    if (!(sheets(i) == sheet) && wf.Count(sheets(i).UsedRange()) > 0)
      names += (names.empty() ? "" : ", ") + Quoted(sheets(i).Name());
  return names.empty() ? "" : "; sheets holding numbers: " + names + " (choose one with --sheet)";
}

bool LooksNumeric(const Variant& v) {
  return v.IsNumber() || (v.IsString() && NumberInText(v.AsString()));
}

// The header position below a title: leading positions with at most half
// their cells filled and no number, above a position of text headers with a
// number below it; else the first position.
Long HeaderPosition(const Located& at) {
  constexpr Long kMostTitleLines = 5;
  const Long width = at.used.Columns();
  const auto filled = [&](Long pos, bool& numbers) {
    Long n = 0;
    numbers = false;
    for (Long line = at.used.left; line <= at.used.right; ++line) {
      const Variant v = CellValue(at.sheet, at.layout, line, pos);
      n += !IsBlank(v);
      numbers = numbers || LooksNumeric(v);
    }
    return n;
  };
  bool numbers = false;
  Long pos = at.used.top;
  if (width < 2 || 2 * filled(pos, numbers) > width || numbers) return at.used.top;
  do {
    ++pos;
  } while (pos - at.used.top < kMostTitleLines && pos + 1 < at.used.bottom &&
           2 * filled(pos, numbers) <= width && !numbers);
  if (2 * filled(pos, numbers) <= width || numbers) return at.used.top;
  filled(pos + 1, numbers);
  return numbers ? pos : at.used.top;
}

// Reads missing-value codes as blanks and, in a workbook, numbers stored as
// text as numbers, from position `first` down.
void Tidy(const excel::WorksheetFunction& wf, Located& at, const ReportOptions& options,
          Long first) {
  const MissingCodes codes(options.na);
  const bool workbook = !IsTextInput(options);
  for (Long line = at.used.left; line <= at.used.right; ++line)
    VisitLine(wf, at.sheet, at.layout, line, first, at.used.bottom, codes.HasNumbers(),
              [&](Long pos, const Variant& v) {
                const excel::Range cell =
                    at.sheet.Cells(at.layout.Row(line, pos), at.layout.Column(line, pos));
                if (codes.Matches(v)) {
                  at.missing[{line, pos}] = v.IsString() ? v.AsString()
                                            : v.IsError() ? "#N/A"
                                                          : CStr(v);
                  cell.ClearContents();
                } else if (workbook && v.IsString()) {
                  if (const auto number = NumberInText(v.AsString())) {
                    cell.LetValue(Variant(*number));
                    ++at.text_numbers[line];
                  }
                }
              });
}

// Why a line that holds numbers is no variable: a constant, or an
// identifier (a header "id", or the case numbers 1, 2, ..., n in the first
// line, where files written with row names have them); empty when it is one.
std::string NoVariable(const excel::WorksheetFunction& wf, const Located& at, Long line,
                       const std::string& header) {
  const Long first = at.used.top + at.h, cases = at.used.bottom - first + 1;
  if (cases < kMinCases) return {};  // too few cases to tell: refused as such later
  const excel::Range block = LineBlock(at.sheet, at.layout, line, first, at.used.bottom);
  const double count = wf.Count(block), low = wf.Min(block), high = wf.Max(block);
  if (count == cases && low == high) return "every number in it is " + CStr(low);
  if (Lower(header) == "id") return "its header names an identifier";
  if (line != at.used.left || count != cases || low != 1 || high != cases) return {};
  const Variant values = block.Value();
  for (Long k = 1; k <= cases; ++k)
    if (values.Element(at.layout.Row(1, k), at.layout.Column(1, k)).AsDouble() != k) return {};
  return "it numbers the cases 1 to " + std::to_string(cases);
}

excel::Worksheet PickSheet(const excel::Workbook& book, const ReportOptions& options) {
  if (!options.sheet) return book.ActiveSheet();
  try {
    return book.Worksheets(*options.sheet);
  } catch (const Error&) {
    std::string names;
    const excel::Worksheets sheets = book.Worksheets();
    for (Long i = 1; i <= sheets.Count(); ++i) names += (i > 1 ? ", " : "") + sheets(i).Name();
    throw ReportFailure("the workbook " + book.Name() + " has no sheet " + Quoted(*options.sheet) +
                        "; its sheets are " + names);
  }
}

// The areas of --range, trimmed to the sheet's data (a reference such as
// A:D reaches far beyond it).
std::vector<Rect> RangeAreas(const excel::Application& app, Located& at,
                             const ReportOptions& options) {
  excel::Range range(Nothing);
  try {
    range = app.Range(*options.range);
  } catch (const Error&) {
    throw ReportFailure("--range " + Quoted(*options.range) + " is not a reference on sheet " +
                        Quoted(at.sheet.Name()) +
                        " (write it as A1:D151, or A1:B151,D1:D151 for several areas)");
  }
  if (!(range.Worksheet() == at.sheet)) {
    if (options.sheet)
      throw ReportFailure("--range " + Quoted(*options.range) + " lies on sheet " +
                          Quoted(range.Worksheet().Name()) + ", not on --sheet " +
                          Quoted(*options.sheet));
    at.sheet = range.Worksheet();
    at.sheet.Activate();
    at.used = at.layout.FromSheet(at.sheet.UsedRange().AreaBlocks().front());
  }
  std::vector<Rect> areas;
  for (const Rect& block : range.AreaBlocks()) {
    const Rect area = at.layout.FromSheet(block);
    if (!area.Intersects(at.used))
      throw ReportFailure("the area " + Address(block) +
                          " of --range lies outside the data of sheet " + Quoted(at.sheet.Name()) +
                          " (" + Address(at.layout.Sheet(at.used)) + ")");
    areas.push_back(area.Intersection(at.used));
  }
  return areas;
}

// The line --group names: a header of the header position, else column
// letters (a row number with --rows).
Long GroupLine(const Located& at, const std::string& group_name, Long header_pos) {
  const std::string wanted = Lower(Trimmed(group_name));
  std::vector<std::string> headers;
  if (at.h == 1) {
    for (Long line = at.used.left; line <= at.used.right; ++line) {
      const std::string text = HeaderText(at.sheet, at.layout, line, header_pos);
      if (!text.empty() && Lower(text) == wanted) return line;
      if (!text.empty()) headers.push_back(text);
    }
  }
  if (at.layout.rows) {
    if (!wanted.empty() && wanted.size() <= 7 &&
        std::all_of(wanted.begin(), wanted.end(),
                    [](unsigned char c) { return std::isdigit(c); })) {
      const long row = std::stol(wanted);
      if (row >= 1 && row <= excel::kMaxRows) return static_cast<Long>(row);
    }
  } else if (!wanted.empty() && wanted.size() <= 3 &&
             std::all_of(wanted.begin(), wanted.end(),
                         [](unsigned char c) { return std::isalpha(c); })) {
    Long column = 0;
    for (unsigned char c : wanted) column = column * 26 + (std::toupper(c) - 'A' + 1);
    if (column <= excel::kMaxColumns) return column;
  }
  std::string message = "--group " + Quoted(group_name) + " names no " + at.layout.Kind() +
                        " of sheet " + Quoted(at.sheet.Name());
  if (!headers.empty()) {
    message += ": the headers are ";
    constexpr std::size_t kShown = 12;
    for (std::size_t i = 0; i < std::min(headers.size(), kShown); ++i)
      message += (i ? ", " : "") + headers[i];
    if (headers.size() > kShown) message += ", ... (" + std::to_string(headers.size()) + " in all)";
  }
  message += at.layout.rows ? " (or give a row number)" : " (or give a column letter)";
  throw ReportFailure(message);
}

// Without --range: every line of the used block but the grouping one that
// holds a number below its header, in runs of neighbouring lines.
std::vector<Rect> AutomaticAreas(const excel::Application& app, Located& at) {
  const excel::WorksheetFunction wf = app.WorksheetFunction();
  const Long first_data = at.used.top + at.h;
  std::vector<Rect> areas;
  for (Long line = at.used.left; line <= at.used.right; ++line) {
    if (at.group && line == *at.group) continue;
    const excel::Range block = LineBlock(at.sheet, at.layout, line, first_data, at.used.bottom);
    const std::string name = at.h ? HeaderText(at.sheet, at.layout, line, at.used.top) : "";
    if (wf.Count(block) == 0) {
      at.left_out.push_back(Named(at.layout.Place(line), name));
      continue;
    }
    if (const std::string why = NoVariable(wf, at, line, name); !why.empty()) {
      at.excluded.push_back(Named(at.layout.Place(line), name) + ": " + why);
      continue;
    }
    if (!areas.empty() && areas.back().right == line - 1)
      areas.back().right = line;
    else
      areas.push_back(Rect{at.used.top, line, at.used.bottom, line});
  }
  std::string excluded;
  for (const std::string& e : at.excluded) excluded += (excluded.empty() ? "" : "; ") + e;
  if (areas.empty() && !excluded.empty())
    throw ReportFailure("no " + at.layout.Kind() + " of sheet " + Quoted(at.sheet.Name()) +
                        " is left to analyse (" + excluded + "); name the " + at.layout.Kind() +
                        "s to analyse with --range");
  if (areas.empty())
    throw ReportFailure("no " + at.layout.Kind() + " of sheet " + Quoted(at.sheet.Name()) +
                        " holds numbers below its header" +
                        (at.group ? " apart from the grouping variable" : std::string()) +
                        SheetsWithNumbers(wf, at.sheet));
  for (const std::string& e : at.excluded)
    at.notices.push_back("left out " + e + " (name it in --range to analyse it)");
  return areas;
}

// The areas without the grouping line.
std::vector<Rect> WithoutLine(const std::vector<Rect>& areas, Long line) {
  std::vector<Rect> out;
  for (const Rect& a : areas) {
    if (line < a.left || line > a.right) {
      out.push_back(a);
      continue;
    }
    if (line > a.left) out.push_back(Rect{a.top, a.left, a.bottom, line - 1});
    if (line < a.right) out.push_back(Rect{a.top, line + 1, a.bottom, a.right});
  }
  return out;
}

Located Locate(const excel::Application& app, const excel::Workbook& book,
               const ReportOptions& options) {
  Located at;
  at.layout.rows = options.rows;
  at.h = options.headers ? 1 : 0;
  at.sheet = PickSheet(book, options);
  at.sheet.Activate();
  at.used = at.layout.FromSheet(at.sheet.UsedRange().AreaBlocks().front());
  if (options.range) at.areas = RangeAreas(app, at, options);
  const excel::WorksheetFunction wf = app.WorksheetFunction();
  if (wf.CountA(RangeOf(at.sheet, at.layout, {at.used})) == 0)
    throw ReportFailure("sheet " + Quoted(at.sheet.Name()) + " is empty" +
                        SheetsWithNumbers(wf, at.sheet));
  if (!options.range && at.h) {
    const Long header = HeaderPosition(at);
    if (header != at.used.top)
      at.notices.push_back(at.layout.PosPlaces(at.used.top, header - 1) + " above the headers in " +
                           at.layout.PosPlace(header) + " taken as a title");
    at.used.top = header;
  }
  if (at.used.Rows() <= at.h)
    throw ReportFailure("sheet " + Quoted(at.sheet.Name()) + " holds no data " +
                        (at.layout.rows ? "beside its header column" : "below its header row") +
                        " (use --no-headers if it has none)");

  std::optional<std::string> group = options.group;
  if (!group && !options.input) group = "Species";  // the sample's own grouping
  const Long header_pos = at.areas.empty() ? at.used.top : at.areas.front().top;
  Tidy(wf, at, options, header_pos + at.h);
  if (group) at.group = GroupLine(at, *group, header_pos);

  if (at.areas.empty()) {
    at.areas = AutomaticAreas(app, at);
  } else if (at.group) {
    at.areas = WithoutLine(at.areas, *at.group);
    if (at.areas.empty())
      throw ReportFailure("--range holds nothing but the grouping variable " +
                          at.layout.Place(*at.group));
  }
  Long variables = 0;
  for (const Rect& a : at.areas) variables += a.Columns();
  if (variables > kMaxVariables)
    throw ReportFailure("the data hold " + std::to_string(variables) +
                            " variables; a report analyses at most " +
                            std::to_string(kMaxVariables) + " (choose them with --range)",
                        orvErrTooManyVariables);
  return at;
}

// ---------------------------------------------------------------------------
// Explaining what a validator found

struct Problem {
  Long line = 0, pos = 0;
  Variant value;
};

// The first cell of the data blocks, line by line, that `bad` picks.
template <class Pred>
std::optional<Problem> FindCell(const Located& at, const std::vector<Rect>& areas, Pred bad) {
  for (const Rect& a : areas) {
    const Long first = a.top + at.h;
    if (first > a.bottom) continue;
    const Rect block{first, a.left, a.bottom, a.right};
    const Variant values = RangeOf(at.sheet, at.layout, {block}).Value();
    for (Long line = a.left; line <= a.right; ++line) {
      for (Long pos = first; pos <= a.bottom; ++pos) {
        const Long i = at.layout.Row(line - a.left + 1, pos - first + 1);
        const Long j = at.layout.Column(line - a.left + 1, pos - first + 1);
        const Variant v = values.IsArray() ? values.Element(i, j) : values;
        if (bad(v)) return Problem{line, pos, v};
      }
    }
  }
  return std::nullopt;
}

std::string HeaderOf(const Located& at, const Rect& area, Long line) {
  return at.h ? HeaderText(at.sheet, at.layout, line, area.top) : std::string();
}

const Rect& AreaOf(const Located& at, Long line) {
  for (const Rect& a : at.areas)
    if (line >= a.left && line <= a.right) return a;
  return at.areas.front();
}

std::string Variable(const Located& at, Long line) {
  return Named(at.layout.Place(line), HeaderOf(at, AreaOf(at, line), line));
}

bool Analysed(const Located& at, Long line) {
  return at.group == line || std::any_of(at.areas.begin(), at.areas.end(), [&](const Rect& a) {
           return line >= a.left && line <= a.right;
         });
}

// Notices of the cells read otherwise than they stand in the analysed lines.
void NoteReadings(Located& at) {
  Long missing = 0;
  std::string first;
  for (const auto& [cell, code] : at.missing)
    if (Analysed(at, cell.first) && missing++ == 0)
      first = Quoted(code) + " in cell " + at.layout.Cell(cell.first, cell.second);
  if (missing > 0)
    at.notices.push_back(Plural(missing, "cell", "cells") + " holding a missing-value code (" +
                         first + (missing > 1 ? " the first" : "") + ") read as blank");
  for (const auto& [line, count] : at.text_numbers)
    if (Analysed(at, line))
      at.notices.push_back(Variable(at, line) + ": " +
                           Plural(count, "number stored as text", "numbers stored as text") +
                           " read as " + (count == 1 ? "a number" : "numbers"));
}

// "a blank cell at C4", or "a missing value ("NA") at C4" for a code read as
// a blank.
std::string BlankAt(const Located& at, Long line, Long pos) {
  const auto code = at.missing.find({line, pos});
  return (code == at.missing.end() ? std::string("a blank cell")
                                   : "a missing value (" + Quoted(code->second) + ")") +
         " at " + at.layout.Cell(line, pos);
}

ReportFailure ExplainNumeric(const excel::Application& app, const Located& at, const Error& e,
                             const std::string& member, bool drop) {
  const excel::WorksheetFunction wf = app.WorksheetFunction();
  switch (e.Number) {
    case orvErrNoVariableData:
      for (const Rect& a : at.areas) {
        if (a.top + at.h > a.bottom) break;
        for (Long line = a.left; line <= a.right; ++line)
          if (wf.Count(LineBlock(at.sheet, at.layout, line, a.top + at.h, a.bottom)) == 0)
            return ReportFailure(
                Variable(at, line) + " holds no numbers" +
                    (at.layout.rows ? ""
                                    : " (group by it with --group, or leave it out with --range)"),
                e, member);
      }
      return ReportFailure(
          "the range " + Address(at.layout, at.areas) + " holds no numbers below its header", e,
          member);
    case orvErrTooFewVariableRows: {
      const Long cases = at.areas.front().Rows() - at.h;
      return ReportFailure("the range " + Address(at.layout, at.areas) + " holds " +
                               Plural(std::max<Long>(cases, 0), "case", "cases") +
                               "; a report needs at least " + std::to_string(kMinCases),
                           e, member);
    }
    case orvErrUnevenVariableRanges: {
      std::string lengths;
      for (const Rect& a : at.areas)
        lengths += (lengths.empty() ? "" : ", ") + Address(at.layout.Sheet(a)) + " has " +
                   Plural(a.Rows() - at.h, "case", "cases");
      return ReportFailure(
          "the areas of the range differ in length (" + lengths + "); give areas of one length", e,
          member);
    }
    case orvErrBlankVariableCells: {
      const auto p = FindCell(at, at.areas, [&](const Variant& v) {
        return drop ? !v.IsNumber() && !IsBlank(v) : !v.IsNumber();
      });
      if (p && IsBlank(p->value))
        return ReportFailure(Variable(at, p->line) + " has " + BlankAt(at, p->line, p->pos) +
                                 " (use --drop-incomplete to leave out incomplete cases)",
                             e, member);
      if (p)
        return ReportFailure(Variable(at, p->line) + " holds " + Shown(p->value) + " in cell " +
                                 at.layout.Cell(p->line, p->pos) + ", where a number belongs",
                             e, member);
      break;
    }
    case orvErrNoVariableVariance:
      for (const Rect& a : at.areas)
        for (Long line = a.left; line <= a.right; ++line) {
          const excel::Range block = LineBlock(at.sheet, at.layout, line, a.top + at.h, a.bottom);
          if (wf.Var(block) == 0)
            return ReportFailure(Variable(at, line) + " holds the same value (" +
                                     CStr(wf.Min(block)) +
                                     ") in every case: a constant has no variance to analyse; "
                                     "leave it out with --range",
                                 e, member);
        }
      break;
    default:
      break;
  }
  return ReportFailure("the data cannot be read: " + DescribeError(e), e, member);
}

ReportFailure ExplainFactor(const Located& at, const Error& e, const std::string& member,
                            const Rect& block) {
  const std::string name = Named(at.layout.Place(*at.group), HeaderOf(at, block, *at.group));
  switch (e.Number) {
    case orvErrNoFactorData:
      return ReportFailure("the grouping variable " + name + " holds no labels", e, member);
    case orvErrTooFewFactorRows:
      return ReportFailure("the grouping variable " + name + " holds fewer than " +
                               std::to_string(kMinCases) + " cases",
                           e, member);
    case orvErrBlankFactorCells: {
      const auto p = FindCell(at, {block}, IsBlank);
      if (p)
        return ReportFailure("the grouping variable " + name + " has " +
                                 BlankAt(at, p->line, p->pos) +
                                 " (use --drop-incomplete to leave out incomplete cases)",
                             e, member);
      break;
    }
    default:
      break;
  }
  return ReportFailure("the grouping variable " + name + " cannot be read: " + DescribeError(e), e,
                       member);
}

// ---------------------------------------------------------------------------
// Validation

void Validate(const excel::Application& app, const Located& at, const ReportOptions& options) {
  const clsValidation& validation = Global<clsValidation>();
  const bool drop = options.drop_incomplete;
  if (!at.layout.rows) {
    // Columns: one call checks headers, lengths, blanks, text and (when no
    // case will be dropped) constants.
    const std::string member = "clsValidation.ValidateNumericData";
    try {
      validation.ValidateNumericData(RangeOf(at.sheet, at.layout, at.areas), options.headers,
                                     ORVNumericDataType::variable, false, kMinCases,
                                     /*CheckVariance=*/!drop, false, false,
                                     /*IgnoreBlanks=*/drop, false);
    } catch (const Error& e) {
      throw ExplainNumeric(app, at, e, member, drop);
    }
  } else {
    // Rows: the validator reads columns, so it gets the data blocks without
    // their header column; lengths and constants are checked after reading.
    std::vector<Rect> blocks;
    for (const Rect& a : at.areas) {
      if (a.Rows() != at.areas.front().Rows()) {
        const Error uneven(orvErrUnevenVariableRanges, std::string(kDefaultSource),
                           StandardDescription(orvErrUnevenVariableRanges));
        throw ExplainNumeric(app, at, uneven, "the row layout check", drop);
      }
      if (a.Rows() - at.h < kMinCases) {
        const Error few(orvErrTooFewVariableRows, std::string(kDefaultSource),
                        StandardDescription(orvErrTooFewVariableRows));
        throw ExplainNumeric(app, at, few, "the row layout check", drop);
      }
      blocks.push_back(Rect{a.top + at.h, a.left, a.bottom, a.right});
    }
    const std::string member = "clsValidation.ValidateNumericData";
    try {
      validation.ValidateNumericData(RangeOf(at.sheet, at.layout, blocks), false,
                                     ORVNumericDataType::variable, true, 0, false, false, false,
                                     drop, /*AllowUnevenVars=*/true);
    } catch (const Error& e) {
      throw ExplainNumeric(app, at, e, member, drop);
    }
  }
  if (at.group) {
    const Rect& first = at.areas.front();
    const Rect block{first.top, *at.group, first.bottom, *at.group};
    const std::string member = "clsValidation.ValidateStringData";
    try {
      validation.ValidateStringData(RangeOf(at.sheet, at.layout, {block}), options.headers,
                                    ORVStringDataType::FactorData, options.rows, kMinCases, drop);
    } catch (const Error& e) {
      throw ExplainFactor(at, e, member, block);
    }
  }
}

// ---------------------------------------------------------------------------
// Reading

// Which cases have a blank among the analysed cells (1-based, true: blank).
std::vector<bool> BlankCases(const Located& at, Long cases) {
  std::vector<bool> blank(static_cast<std::size_t>(cases) + 1, false);
  for (const Rect& a : at.areas) {
    const Long first = a.top + at.h;
    const Variant values =
        RangeOf(at.sheet, at.layout, {Rect{first, a.left, a.bottom, a.right}}).Value();
    for (Long line = 1; line <= a.Columns(); ++line)
      for (Long c = 1; c <= a.bottom - first + 1; ++c) {
        const Variant v = values.IsArray()
                              ? values.Element(at.layout.Row(line, c), at.layout.Column(line, c))
                              : values;
        if (IsBlank(v)) blank[static_cast<std::size_t>(c)] = true;
      }
  }
  return blank;
}

// Failures of the front end's own checks after reading, with the number
// the validator gives the same fault.
void CheckReadData(const ReportData& data) {
  const Long n = data.Cases();
  if (n < kMinCases) {
    std::string message = "the data hold " + Plural(n, "complete case", "complete cases");
    if (data.dropped > 0)
      message += " after " + Plural(data.dropped, "incomplete case was", "incomplete cases were") +
                 " left out";
    throw ReportFailure(message + "; a report needs at least " + std::to_string(kMinCases),
                        orvErrTooFewVariableRows);
  }
  for (Long j = 1; j <= data.Variables(); ++j) {
    const double first = data.values(1, j);
    bool constant = true;
    for (Long i = 2; i <= n && constant; ++i) constant = data.values(i, j) == first;
    if (constant)
      throw ReportFailure(
          Named(data.places[static_cast<std::size_t>(j - 1)],
                data.names[static_cast<std::size_t>(j - 1)]) +
              " holds the same value (" + CStr(first) + ") in every " +
              (data.dropped ? "complete " : "") +
              "case: a constant has no variance to analyse; leave it out with --range",
          orvErrNoVariableVariance);
  }
  if (data.Grouped()) {
    std::map<std::string, Long> sizes;
    for (const std::string& g : data.groups) ++sizes[g];
    const Long k = static_cast<Long>(sizes.size());
    const std::string name = Named(data.group_place, data.group_name);
    if (k < 2)
      throw ReportFailure("the grouping variable " + name + " holds one group (" +
                              Quoted(sizes.begin()->first) + "): comparing needs at least two",
                          orvErrMissingGroups);
    if (k > kMaxGroups)
      throw ReportFailure("the grouping variable " + name + " holds " + std::to_string(k) +
                          " different labels; a report compares at most " +
                          std::to_string(kMaxGroups) + " groups");
    if (n - k < 1)
      throw ReportFailure("the grouping variable " + name + " gives " + std::to_string(k) +
                              " groups to " + std::to_string(n) +
                              " cases: the groups need more cases than there are groups",
                          orvErrSingleCaseGroup);
  }
}

ReportData Read(const Located& at, const ReportOptions& options) {
  ReportData data;
  data.sheet = at.sheet.Name();
  data.rows = at.layout.rows;
  data.address = Address(at.layout, at.areas);
  data.left_out = at.left_out;

  const clsMatrix matrix;
  const Variant numeric = matrix.ReturnHeadersAndNumericData(RangeOf(at.sheet, at.layout, at.areas),
                                                             options.headers, options.rows);
  const Array<std::string> names = *numeric.Element(1).ArrayOf<std::string>();
  Array<double> values = *numeric.Element(2).ArrayOf<double>();
  for (Long j = names.LBound(); j <= names.UBound(); ++j) data.names.push_back(names(j));
  for (const Rect& a : at.areas)
    for (Long line = a.left; line <= a.right; ++line) data.places.push_back(at.layout.Place(line));

  const Long n = values.UBound(1);
  const Long p = values.UBound(2);
  std::vector<std::string> groups;
  if (at.group) {
    const Rect& first = at.areas.front();
    const Variant labels = matrix.ReturnHeadersAndStringData(
        RangeOf(at.sheet, at.layout, {Rect{first.top, *at.group, first.bottom, *at.group}}),
        options.headers, options.rows);
    data.group_name = labels.Element(1).ArrayOf<std::string>()->operator()(1);
    data.group_place = at.layout.Place(*at.group);
    const Array<std::string> g = *labels.Element(2).ArrayOf<std::string>();
    for (Long i = 1; i <= n; ++i) groups.push_back(i <= g.UBound(1) ? Trimmed(g(i, 1)) : "");
  }

  data.cases_read = n;
  if (!options.drop_incomplete) {
    data.values = std::move(values);
    data.groups = std::move(groups);
    return data;
  }
  // Blanks were read as 0: keep only the cases without one.
  std::vector<bool> blank = BlankCases(at, n);
  for (Long i = 1; i <= n; ++i)
    if (at.group && groups[static_cast<std::size_t>(i - 1)].empty())
      blank[static_cast<std::size_t>(i)] = true;
  const Long kept = static_cast<Long>(std::count(blank.begin() + 1, blank.end(), false));
  data.dropped = n - kept;
  if (kept == 0) return data;
  data.values.ReDim(1, kept, 1, p);
  Long row = 0;
  for (Long i = 1; i <= n; ++i) {
    if (blank[static_cast<std::size_t>(i)]) continue;
    ++row;
    for (Long j = 1; j <= p; ++j) data.values(row, j) = values(i, j);
    if (at.group) data.groups.push_back(groups[static_cast<std::size_t>(i - 1)]);
  }
  return data;
}

// Separated text, its thousands separators never assumed: a field that
// holds one is refused, and so is one with a decimal mark the options do not
// read, unless every such field of a file separated by other than commas has
// a comma that can only be decimal (or is ambiguous), when the file is read
// with decimal commas.
excel::Workbook OpenText(const excel::Application& app, const std::string& path,
                         const ReportOptions& options, std::vector<std::string>& notices) {
  xlsx::CsvOptions csv;
  csv.separator = options.separator;
  csv.decimal_comma = options.decimal_comma;
  csv.group_thousands = false;
  const excel::WorksheetFunction wf = app.WorksheetFunction();
  excel::Workbook book = xlsx::OpenCsv(app, path, csv);
  MarkedCells marked = MarkedCellsOf(wf, book.Worksheets(1), csv.decimal_comma);
  std::string found;
  if (!csv.decimal_comma && !marked.decimal_cell.empty() && !marked.grouped &&
      xlsx::CsvSeparator(path, csv) != ',') {
    found = "numbers with a decimal comma (" + Quoted(marked.decimal_text) + " in cell " +
            marked.decimal_cell + ")";
    book.Close();
    csv.decimal_comma = true;
    book = xlsx::OpenCsv(app, path, csv);
    marked = MarkedCellsOf(wf, book.Worksheets(1), true);
    notices.push_back("the file holds " + found +
                      " and was read so; give --decimal-comma to say so");
  }
  if (!marked.first_cell.empty())
    throw ReportFailure((found.empty() ? "" : "the file holds " + found + ", but ") + "cell " +
                        marked.first_cell + " holds " + Quoted(marked.first_text) + ": " +
                        NumberAdvice(marked.first_text, csv.decimal_comma));
  return book;
}

}  // namespace

excel::Workbook OpenInput(const excel::Application& app, const ReportOptions& options,
                          std::vector<std::string>& notices) {
  if (!options.input) return OpenSample(app);
  const std::string& path = *options.input;
  const std::string ext = Lower(std::filesystem::path(path).extension().string());
  const bool text = IsTextInput(options);
  if (!text && ext != ".xlsx" && ext != ".xlsm")
    throw ReportFailure("cannot read " + Quoted(path) +
                        ": the input must be an .xlsx workbook or a .csv file");
  if (!text && (options.separator != '\0' || options.decimal_comma))
    throw ReportFailure("--separator and --decimal-comma apply to .csv input, not to " +
                        Quoted(path));
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec))
    throw ReportFailure("cannot open " + Quoted(path) + ": " +
                        (std::filesystem::exists(path, ec) ? "it is not a file" : "no such file"));
  try {
    return text ? OpenText(app, path, options, notices) : xlsx::OpenXlsx(app, path);
  } catch (const Error& e) {
    throw ReportFailure(e.Description, e, text ? "xlsx::OpenCsv" : "xlsx::OpenXlsx");
  }
}

ReportData LoadReportData(const excel::Application& app, const ReportOptions& options,
                          Progress& progress) {
  progress.Begin("reading " +
                 (options.input ? *options.input : std::string("the built-in sample")));
  std::vector<std::string> notices;
  const excel::Workbook book = OpenInput(app, options, notices);
  progress.End();

  progress.Begin("validating");
  Located at = Locate(app, book, options);
  NoteReadings(at);
  Validate(app, at, options);
  progress.End();

  progress.Begin("extracting the variables");
  ReportData data = Read(at, options);
  data.notices = std::move(notices);
  data.notices.insert(data.notices.end(), at.notices.begin(), at.notices.end());
  data.source = options.input ? std::filesystem::path(*options.input).filename().string()
                              : "iris.csv (built-in sample)";
  CheckReadData(data);
  progress.End();
  return data;
}

}  // namespace orv::report
