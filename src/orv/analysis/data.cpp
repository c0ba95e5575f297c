// Finding the picked columns and reading them into complete cases.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

#include "orv/analysis/analysis_detail.hpp"
#include "orv/excel/Worksheet.hpp"
#include "orv/excel/WorksheetFunction.hpp"
#include "orv/excel/reference.hpp"
#include "orv/frame/text.hpp"
#include "orv/matrix/CMatrix.hpp"
#include "orv/validation/clsValidation.hpp"

namespace orv::analysis {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string TextOf(const Variant& v) {
  try {
    return Trimmed(CStr(v));
  } catch (const Error&) {
    return {};
  }
}

std::string Letters(const excel::Range& r) { return excel::ColumnLetters(r.Column()); }

std::string Cell(const excel::Range& column, long row) {
  return Letters(column) + std::to_string(column.Row() + row - 1);
}

// A picked column: its name, its place in words and its data cells.
struct Picked {
  std::string name, place;
  excel::Range cells;
};

Picked Pick(const excel::Range& column, bool headers) {
  Picked p;
  const long rows = column.Rows().Count();
  p.name = headers ? TextOf(column.CellValue(1, 1)) : std::string();
  if (p.name.empty()) p.name = Letters(column);
  p.place = "column " + Letters(column);
  if (p.name != Letters(column)) p.place += " (" + p.name + ")";
  const long first = headers ? 2 : 1;
  if (first > rows)
    detail::Fail(orvErrTooFewVariableRows, p.place + " holds no data below its header");
  const excel::Worksheet sheet = column.Worksheet();
  p.cells = sheet.Range(column.Cells(first, 1), column.Cells(rows, 1));
  return p;
}

std::string Shown(const Variant& v) {
  if (v.IsString()) return "the text " + Quoted(v.AsString());
  if (v.IsBoolean()) return std::string("the Boolean ") + (v.AsBoolean() ? "TRUE" : "FALSE");
  if (v.IsError()) return "the error value " + TextOf(v);
  return "a value that is not a number";
}

bool Missing(const Variant& v, const std::vector<std::string>& codes) {
  if (v.IsEmpty() || (v.IsString() && Trimmed(v.AsString()).empty())) return true;
  if (codes.empty()) return false;
  const std::string text = TextOf(v);
  return std::find(codes.begin(), codes.end(), text) != codes.end();
}

Variant At(const Variant& values, long i) {
  return values.IsArray() ? values.Element(i, 1) : values;
}

std::string CasesText(long n) { return std::to_string(n) + (n == 1 ? " case" : " cases"); }

}  // namespace

double Table::Value(const std::string& row, const std::string& column) const {
  const auto r = std::find(rows.begin(), rows.end(), row);
  const auto c = std::find(columns.begin(), columns.end(), column);
  if (r == rows.end() || c == columns.end())
    detail::Fail(kErrInvalidCall, "the table " + Quoted(title) + " has no value at row " +
                                      Quoted(row) + ", column " + Quoted(column));
  return values[static_cast<std::size_t>(r - rows.begin())]
               [static_cast<std::size_t>(c - columns.begin())];
}

void Table::AddRow(std::string label, std::vector<double> numbers) {
  rows.push_back(std::move(label));
  numbers.resize(columns.size(), std::nan(""));
  values.push_back(std::move(numbers));
}

const Table& Result::Find(const std::string& title) const {
  for (const Table& t : tables)
    if (t.title == title) return t;
  detail::Fail(kErrInvalidCall, "the result " + Quoted(sheet) + " has no table " + Quoted(title));
}

excel::Range FindColumn(const excel::Range& data, const std::string& column, bool headers) {
  const std::string wanted = Lower(Trimmed(column));
  const long columns = data.Columns().Count();
  std::string names;
  for (long c = 1; headers && c <= columns; ++c) {
    const std::string header = TextOf(data.CellValue(1, c));
    if (!header.empty() && Lower(header) == wanted) return data.Columns(c);
    if (!header.empty()) names += (names.empty() ? "" : ", ") + header;
  }
  if (!wanted.empty() && wanted.size() <= 3 &&
      std::all_of(wanted.begin(), wanted.end(),
                  [](unsigned char ch) { return std::isalpha(ch); })) {
    const long c = excel::ColumnNumber(wanted) - data.Column() + 1;
    if (c >= 1 && c <= columns) return data.Columns(c);
  }
  std::string message =
      Quoted(column) + " names no column of the data (" + data.Address(false, false) + ")";
  if (!names.empty()) message += ": the headers are " + names;
  detail::Fail(orvErrInvalidVarRange, message + " (or give a column letter)");
}

std::vector<excel::Range> NumericColumns(const excel::Range& data, bool headers) {
  const excel::Worksheet sheet = data.Worksheet();
  const excel::WorksheetFunction wf = sheet.Parent().Parent().WorksheetFunction();
  std::vector<excel::Range> found;
  const long first = headers ? 2 : 1, rows = data.Rows().Count();
  for (long c = 1; c <= data.Columns().Count() && first <= rows; ++c) {
    const excel::Range column = data.Columns(c);
    if (wf.Count(sheet.Range(column.Cells(first, 1), column.Cells(rows, 1))) > 0)
      found.push_back(column);
  }
  if (found.empty())
    detail::Fail(orvErrNoVariableData,
                 "no column of " + data.Address(false, false) + " holds numbers below its header");
  return found;
}

namespace detail {

void Fail(std::int32_t number, const std::string& message) {
  throw Error(number, "orv.analysis", message);
}

Cases ReadCases(const Selection& s, const Options& o, long fewest) {
  if (!(o.level > 0 && o.level < 1))
    Fail(orvErrInvalidValue,
         "the confidence level must lie strictly between 0 and 1, not " + CStr(o.level));
  std::vector<excel::Range> numeric = s.x;
  if (!s.y.IsNothing()) numeric.push_back(s.y);
  if (numeric.empty()) Fail(orvErrNoVarRange, "no variable was picked");
  std::vector<Picked> picked;
  for (const excel::Range& r : numeric) picked.push_back(Pick(r, o.headers));
  std::optional<Picked> group;
  if (!s.group.IsNothing()) group = Pick(s.group, o.headers);

  const long n = picked.front().cells.Rows().Count();
  for (const Picked& p : picked)
    if (p.cells.Rows().Count() != n || p.cells.Row() != picked.front().cells.Row())
      Fail(orvErrUnevenVariableRanges, p.place + " and " + picked.front().place +
                                           " cover different rows: pick columns of one length");

  // The validator checks the numbers as the front end's dialogs do; its
  // finding is then told in words by the scan below.
  std::optional<Error> refused;
  if (o.missing.empty()) {
    try {
      std::string address;
      for (const Picked& p : picked) address += (address.empty() ? "" : ",") + p.cells.Address();
      Global<clsValidation>().ValidateNumericData(
          picked.front().cells.Worksheet().Range(address), false, ORVNumericDataType::variable,
          false, 0, false, false, false, /*IgnoreBlanks=*/o.drop_incomplete, false);
    } catch (const Error& e) {
      refused = e;
    }
  }

  std::vector<bool> keep(static_cast<std::size_t>(n), true);
  Cases c;
  for (const Picked& p : picked) {
    const Variant values = p.cells.Value();
    std::vector<double> column(static_cast<std::size_t>(n));
    for (long i = 1; i <= n; ++i) {
      const Variant v = At(values, i);
      if (Missing(v, o.missing)) {
        if (!o.drop_incomplete)
          Fail(orvErrBlankVariableCells,
               p.place + " has a missing value at " + Cell(p.cells, i) +
                   " (use --drop-incomplete to leave out incomplete cases)");
        keep[static_cast<std::size_t>(i - 1)] = false;
      } else if (v.IsNumber()) {
        column[static_cast<std::size_t>(i - 1)] = v.AsDouble();
      } else {
        Fail(orvErrNoNumericalData, p.place + " holds " + Shown(v) + " in cell " +
                                        Cell(p.cells, i) + ", where a number belongs");
      }
    }
    c.names.push_back(p.name);
    c.places.push_back(p.place);
    c.columns.push_back(std::move(column));
  }
  if (group) {
    const Variant values = group->cells.Value();
    for (long i = 1; i <= n; ++i) {
      const Variant v = At(values, i);
      if (Missing(v, o.missing)) {
        if (!o.drop_incomplete)
          Fail(orvErrBlankFactorCells,
               "the grouping variable " + group->place + " has a blank cell at " +
                   Cell(group->cells, i) +
                   " (use --drop-incomplete to leave out incomplete cases)");
        keep[static_cast<std::size_t>(i - 1)] = false;
      }
      c.groups.push_back(TextOf(v));
    }
    c.group_name = group->name;
    c.group_place = group->place;
  }
  if (refused && std::count(keep.begin(), keep.end(), true) == n &&
      refused->Number != orvErrNoVariableVariance)
    Fail(refused->Number, "the data cannot be read: " + refused->Description);

  c.read = n;
  // Complete cases moved up in place, in order.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < keep.size(); ++i) {
    if (!keep[i]) continue;
    if (kept != i) {
      for (auto& column : c.columns) column[kept] = column[i];
      if (group) c.groups[kept] = std::move(c.groups[i]);
    }
    ++kept;
  }
  for (auto& column : c.columns) column.resize(kept);
  if (group) c.groups.resize(kept);
  c.dropped = n - c.Count();
  if (c.Count() < fewest)
    Fail(orvErrTooFewVariableRows,
         "the data hold " + CasesText(c.Count()) +
             (c.dropped ? " after leaving out " + CasesText(c.dropped) + " with a missing value"
                        : std::string()) +
             "; this analysis needs at least " + std::to_string(fewest));
  return c;
}

Cases ReadVaried(const Selection& s, const Options& o, const std::string& why) {
  Selection picked;
  picked.x = s.x;
  picked.group = s.group;
  const Cases c = ReadCases(picked, o, 3);
  for (std::size_t j = 0; j < c.columns.size(); ++j) RequireVariance(c, j, why);
  return c;
}

Cases ReadComparison(const Selection& s, const Options& o, const std::string& analysis,
                     bool alone) {
  if (s.x.size() != 1)
    Fail(orvErrTooManyVariables,
         analysis + " takes one variable, not " + std::to_string(s.x.size()));
  const bool grouped = !s.group.IsNothing(), paired = !s.y.IsNothing();
  if (o.paired != paired || (grouped && paired) || (!alone && !grouped && !paired))
    Fail(orvErrInvalidModel,
         analysis + " takes a grouping variable, or a second variable paired with the first" +
             (alone ? ", or neither (one sample)" : ""));
  return ReadCases(s, o, 2);
}

Result Begin(const std::string& sheet, const Cases& c) {
  Result r;
  r.sheet = sheet;
  r.cases = c.Count();
  r.dropped = c.dropped;
  return r;
}

std::string CasesNote(const Cases& c) {
  return CasesText(c.Count()) +
         (c.dropped ? ", " + std::to_string(c.dropped) + " left out for a missing value"
                    : std::string());
}

void RequireVariance(const Cases& c, std::size_t j, const std::string& why) {
  const std::vector<double>& x = c.columns[j];
  if (std::all_of(x.begin(), x.end(), [&](double v) { return v == x.front(); }))
    Fail(orvErrNoVariableVariance,
         c.places[j] + " holds the same value (" + CStr(x.front()) + ") in every case: " + why);
}

Groups SplitByGroup(const Cases& c, std::size_t j, std::size_t fewest_groups,
                    std::size_t most_groups, const std::string& analysis) {
  Groups g;
  std::map<std::string, std::size_t> index;
  for (std::size_t i = 0; i < c.groups.size(); ++i) {
    const auto [it, added] = index.emplace(c.groups[i], g.labels.size());
    if (added) {
      g.labels.push_back(c.groups[i]);
      g.values.emplace_back();
    }
    g.values[it->second].push_back(c.columns[j][i]);
  }
  const std::string k = std::to_string(g.labels.size());
  std::string list;
  for (const std::string& l : g.labels) list += (list.empty() ? "" : ", ") + Quoted(l);
  if (g.labels.size() < fewest_groups || g.labels.size() > most_groups)
    Fail(orvErrMissingGroups, "the grouping variable " + c.group_place + " holds " + k +
                                  (k == "1" ? " group (" : " groups (") + list + "); " + analysis +
                                  " compares " +
                                  (most_groups == fewest_groups ? "exactly " : "at least ") +
                                  std::to_string(fewest_groups));
  for (std::size_t a = 0; a < g.labels.size(); ++a)
    if (g.values[a].size() < 2)
      Fail(orvErrSingleCaseGroup, "the group " + Quoted(g.labels[a]) + " of " + c.group_place +
                                      " holds a single case; each group needs at least two");
  return g;
}

std::vector<double> AverageRanks(const std::vector<double>& x) {
  Array<double> column(1, static_cast<Long>(x.size()), 1, 1);
  for (std::size_t i = 0; i < x.size(); ++i) column(static_cast<Long>(i + 1), 1) = x[i];
  CMatrix m;
  m.LetValues(column);
  const CMatrix ranks = m.Rank(1);
  std::vector<double> r(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) r[i] = ranks.Item(static_cast<Long>(i + 1));
  return r;
}

Array<double> ValuesOf(const std::vector<std::vector<double>>& columns) {
  const Long n = static_cast<Long>(columns[0].size()), p = static_cast<Long>(columns.size());
  Array<double> a(1, n, 1, p);
  for (Long j = 1; j <= p; ++j)
    for (Long i = 1; i <= n; ++i)
      a(i, j) = columns[static_cast<std::size_t>(j - 1)][static_cast<std::size_t>(i - 1)];
  return a;
}

double Mean(const std::vector<double>& x) {
  double sum = 0;
  for (double v : x) sum += v;
  return sum / static_cast<double>(x.size());
}

double SD(const std::vector<double>& x, double mean) {
  double ss = 0;
  for (double v : x) ss += (v - mean) * (v - mean);
  return std::sqrt(ss / static_cast<double>(x.size() - 1));
}

}  // namespace detail

}  // namespace orv::analysis
