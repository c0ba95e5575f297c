// The worksheet readers of clsMatrix: variable names and data out of one
// block or a multiple selection, variables in columns or in rows.
#include "orv/arrays/clsMatrix.hpp"
#include "orv/arrays/clsMatrix_read_detail.hpp"
#include "orv/excel/Application.hpp"

namespace orv {

namespace {

constexpr Member kNumericData{Rule::Chain, "clsMatrix", "ReturnHeadersAndNumericData"};
constexpr Member kNumericDataArrays{Rule::Chain, "clsMatrix", "ReturnHeadersAndNumericDataArrays"};
constexpr Member kStringData{Rule::Chain, "clsMatrix", "ReturnHeadersAndStringData"};
constexpr Member kVariantData{Rule::Chain, "clsMatrix", "ReturnHeadersAndVariantData"};

enum class Reader { Numbers, Strings, Variants };

// The data of one block as the reader wants it: the rectangle from the first
// data cell to the block's last cell, read with one Value call.
template <Reader kind>
auto ReadBlock(const clsMatrix& m, const excel::Application& app, const excel::Range& block, Long h,
               bool rows, Line& line) {
  line = 20;
  const excel::Range first = rows ? block.Cells(1, 1 + h) : block.Cells(1 + h, 1);
  const excel::Range last = block.Cells(block.Rows().Count(), block.Columns().Count());
  const excel::Range cells = app.Range(first, last);
  line = 30;
  if constexpr (kind == Reader::Numbers) {
    // All numbers (or blanks): read them as doubles at once; this is what
    // VariantToArray makes of the Value.
    Array<double> data;
    if (!cells.ValueAsDoubles(data)) data = m.VariantToArray(cells.Value());
    line = 40;
    if (rows) data = m.Transpose(data);
    return data;
  } else if constexpr (kind == Reader::Strings) {
    Array<std::string> data = m.VariantToStringArray(cells.Value());
    line = 40;
    if (rows) data = m.StringTranspose(data);
    return data;
  } else {
    Variant data = cells.Value();
    // One cell gives a value, not an array.
    if (!data.IsArray()) Raise(kErrTypeMismatch);
    return data;
  }
}

template <Reader kind>
Variant ReadWithHeaders(const clsMatrix& m, const excel::Range& range, Boolean headers,
                        Boolean rows, Line& line) {
  line = 10;
  const Long h = headers ? 1 : 0;
  const excel::Application app = excel::CurrentApplication();
  auto data = ReadBlock<kind>(m, app, range, h, rows, line);
  line = 50;
  const Long areas = range.Areas().Count();
  for (Long i = 2; i <= areas; ++i) {
    line = 60;
    const excel::Range block = range.Areas(i);
    auto more = ReadBlock<kind>(m, app, block, h, rows, line);
    line = 70;
    if constexpr (kind == Reader::Numbers)
      data = m.HConcatenate(data, more);
    else if constexpr (kind == Reader::Strings)
      data = m.HStringConcatenate(data, more);
    else
      data = m.VariantHConcatenate(data, more);
  }
  line = 80;
  Array<std::string> names(1, data.UBound(2));
  Long k = 0;
  for (Long i = 1; i <= areas; ++i) {
    line = 90;
    const excel::Range block = range.Areas(i);
    const Long count = rows ? block.Rows().Count() : block.Columns().Count();
    for (Long j = 1; j <= count; ++j) {
      ++k;
      const Long r = rows ? j : 1, c = rows ? 1 : j;
      if (headers) names(k) = CStr(block.CellValue(r, c));
      if (names(k).empty()) {
        const excel::Range cell = block.Cells(r, c);
        names(k) =
            rows ? read_detail::DefaultRowHeader(cell) : read_detail::DefaultColumnHeader(cell);
      }
    }
  }
  line = 100;
  Array<Variant> result(1, 2);
  result(1) = Variant(std::move(names));
  result(2) = Variant(std::move(data));
  return Variant(std::move(result));
}

}  // namespace

Variant clsMatrix::ReturnHeadersAndNumericData(const excel::Range& NumericRange, Boolean Headers,
                                               Boolean DataInRows) const {
  return Guard(kNumericData, [&](Line& line) {
    return ReadWithHeaders<Reader::Numbers>(*this, NumericRange, Headers, DataInRows, line);
  });
}

Variant clsMatrix::ReturnHeadersAndStringData(const excel::Range& StringRange, Boolean Headers,
                                              Boolean DataInRows) const {
  return Guard(kStringData, [&](Line& line) {
    return ReadWithHeaders<Reader::Strings>(*this, StringRange, Headers, DataInRows, line);
  });
}

Variant clsMatrix::ReturnHeadersAndVariantData(const excel::Range& InputRange,
                                               Boolean Headers) const {
  return Guard(kVariantData, [&](Line& line) {
    return ReadWithHeaders<Reader::Variants>(*this, InputRange, Headers, false, line);
  });
}

Variant clsMatrix::ReturnHeadersAndNumericDataArrays(const excel::Range& NumericRange,
                                                     Boolean Headers, Boolean DataInRows) const {
  return Guard(kNumericDataArrays, [&](Line& line) {
    line = 10;
    const Long h = Headers ? 1 : 0;
    const Long areas = NumericRange.Areas().Count();
    // The variable count is a 16-bit integer: more than 32,767 overflow.
    Integer variables = 0;
    for (Long i = 1; i <= areas; ++i) {
      const excel::Range block = NumericRange.Areas(i);
      const Long count = DataInRows ? block.Rows().Count() : block.Columns().Count();
      variables = CInt(static_cast<double>(variables) + count);
    }
    line = 20;
    Array<std::string> names(1, variables);
    Array<Variant> data(1, variables);
    Integer k = 0;
    for (Long i = 1; i <= areas; ++i) {
      line = 30;
      const excel::Range block = NumericRange.Areas(i);
      const Long rows = block.Rows().Count(), columns = block.Columns().Count();
      const Long count = DataInRows ? rows : columns;
      const Long cells = DataInRows ? columns : rows;
      for (Long v = 1; v <= count; ++v) {
        line = 40;
        Array<double> buffer(1, cells - (1 + h) + 1);
        Long n = 0;
        for (Long j = 1 + h; j <= cells; ++j) {
          line = 50;
          const Variant value = DataInRows ? block.CellValue(v, j) : block.CellValue(j, v);
          // Blank, or the empty text, is skipped; an error value cannot be
          // compared with text (13).
          if (value.IsEmpty() || (value.IsString() && value.AsString().empty())) continue;
          if (value.IsError()) Raise(kErrTypeMismatch);
          line = 60;
          ++n;
          buffer(n) = CDbl(value);
        }
        line = 70;
        if (n <= 1) Raise(orvErrBlankYCells);
        line = 80;
        k = static_cast<Integer>(k + 1);
        buffer.ReDimPreserve(1, n);
        data(k) = Variant(std::move(buffer));
        const Long r = DataInRows ? v : 1, c = DataInRows ? 1 : v;
        if (Headers) names(k) = CStr(block.CellValue(r, c));
        if (names(k).empty()) {
          const excel::Range cell = block.Cells(r, c);
          names(k) = DataInRows ? read_detail::DefaultRowHeader(cell)
                                : read_detail::DefaultColumnHeader(cell);
        }
      }
    }
    line = 90;
    Array<Variant> result(1, 2);
    result(1) = Variant(std::move(names));
    result(2) = Variant(std::move(data));
    return Variant(std::move(result));
  });
}

}  // namespace orv
