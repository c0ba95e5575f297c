#include "orv/arrays/CRangeObjects.hpp"

#include "orv/arrays/clsMatrix_read_detail.hpp"
#include "orv/excel/Application.hpp"

namespace orv {

namespace read_detail {

namespace {
// Position (0-based) of the "$" before the row number: the first "$" after
// the first character.
std::size_t SecondDollar(const std::string& address) { return address.find('$', 1); }
}  // namespace

std::string DefaultColumnHeader(const excel::Range& cell) {
  std::string address = cell.AddressLocal();
  std::size_t p = SecondDollar(address);
  return "Column " + address.substr(1, p - 1);
}

std::string DefaultRowHeader(const excel::Range& cell) {
  std::string address = cell.AddressLocal();
  std::size_t p = SecondDollar(address);
  return "Row " + address.substr(p + 1);
}

}  // namespace read_detail

namespace {
constexpr Member kRangeToDouble{Rule::Plain, "CRangeObjects", "RangeToDouble"};
constexpr Member kExtractHeaders{Rule::Plain, "CRangeObjects", "ExtractHeaders"};
}  // namespace

Array<double> CRangeObjects::RangeToDouble(const excel::Range& Range, Boolean Headers) const {
  return Guard(kRangeToDouble, [&](Line& line) {
    line = 10;
    const Long s = Headers ? 2 : 1;
    const Long rows = Range.Rows().Count();
    const Long R = rows - s + 1;
    line = 20;
    const Long areas = Range.Areas().Count();
    Long C = 0;
    for (Long i = 1; i <= areas; ++i)
      C = CLng(static_cast<double>(C) + Range.Areas(i).Columns().Count());
    line = 30;
    Array<double> result(1, R, 1, C);
    Long cursor = 0;
    const excel::Application app = excel::CurrentApplication();
    for (Long i = 1; i <= areas; ++i) {
      line = 40;
      const excel::Range area = Range.Areas(i);
      const Long columns = area.Columns().Count();
      const excel::Range block = app.Range(area.Cells(s, 1), area.Cells(rows, columns));
      line = 50;
      Array<double> numbers;
      if (block.ValueAsDoubles(numbers) && (numbers.Count(1) > 1 || numbers.Count(2) > 1)) {
        for (Long c = 1; c <= columns; ++c) {
          ++cursor;
          for (Long r = 1; r <= R; ++r) result(r, cursor) = numbers(r, c);
        }
        continue;
      }
      const Variant value = block.Value();
      line = 60;
      if (value.IsArray()) {
        for (Long c = 1; c <= columns; ++c) {
          ++cursor;
          for (Long r = 1; r <= R; ++r) result(r, cursor) = CDbl(value.Element(r, c));
        }
      } else {
        ++cursor;
        result(1, cursor) = CDbl(value);
      }
    }
    line = 70;
    return result;
  });
}

Array<std::string> CRangeObjects::ExtractHeaders(const excel::Range& Range1,
                                                 const excel::Range& Range2, Boolean Headers,
                                                 Boolean ZeroBased) const {
  return Guard(kExtractHeaders, [&](Line& line) {
    line = 10;
    std::vector<excel::Range> ranges{Range1};
    if (!Range2.IsNothing()) ranges.push_back(Range2);
    Long n = 0;
    for (const excel::Range& range : ranges) {
      const Long areas = range.Areas().Count();
      for (Long i = 1; i <= areas; ++i)
        n = CLng(static_cast<double>(n) + range.Areas(i).Columns().Count());
    }
    line = 20;
    Array<std::string> names;
    if (ZeroBased)
      names.ReDim(0, n - 1);
    else
      names.ReDim(1, n);
    Long index = names.LBound(1) - 1;
    line = 30;
    for (const excel::Range& range : ranges) {
      const Long areas = range.Areas().Count();
      for (Long i = 1; i <= areas; ++i) {
        const excel::Range area = range.Areas(i);
        const Long columns = area.Columns().Count();
        for (Long c = 1; c <= columns; ++c) {
          ++index;
          if (Headers)
            names(index) = CStr(area.CellValue(1, c));
          else
            names(index) = read_detail::DefaultColumnHeader(area.Cells(1, c));
        }
      }
    }
    line = 40;
    return names;
  });
}

}  // namespace orv
