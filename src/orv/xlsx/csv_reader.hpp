#pragma once
// Opening comma-, semicolon- or tab-separated text into the in-process
// workbook.
//
//   excel::Workbook book = xlsx::OpenCsv(app, "/data/survey.csv");
//   xlsx::CsvOptions german;
//   german.decimal_comma = true;        // "1,5;2,25" is two numbers
//   xlsx::OpenCsv(app, "/data/messung.csv", german);
//
// The workbook is named after the file ("survey.csv") and has one sheet
// named after it without its extension ("survey"). Each line is a row from
// A1 on, each field a cell:
// - a field may be quoted ("..."), and then holds separators, line breaks
//   and doubled quotes ("" for "); quotes inside an unquoted field are
//   text;
// - a field that is a decimal number (sign, digits, at most one decimal
//   separator, an exponent, spaces around it; thousands grouped in threes
//   by the other separator) becomes that number, quoted or not; TRUE and
//   FALSE (any case) become Booleans and #N/A and the other error texts
//   error values; everything else stays text as it is, and an empty field
//   stays blank;
// - lines end with LF, CR LF or CR; a blank line is a blank row.
// The separator is the one given, or found on the first lines that hold
// any: the first of tab, semicolon, comma that appears the same number of
// times on each of them, else the most frequent, else a comma. UTF-8 with or without its
// byte order mark is read as it is, UTF-16 with a byte order mark is
// converted, and text that is not UTF-8 is read as Windows-1252.
//
// Failures are 1004 from "Microsoft Excel" naming the file and the problem
// (a missing or unreadable file, more rows or columns than a sheet has).
#include <string_view>

#include "orv/excel/Application.hpp"
#include "orv/excel/Range.hpp"
#include "orv/excel/Workbook.hpp"

namespace orv::xlsx {

struct CsvOptions {
  // ',', ';', '\t' or any other single byte; '\0' finds it.
  char separator = '\0';
  // The decimal separator is the comma ("1,5"); the point then groups
  // thousands ("1.234,5").
  bool decimal_comma = false;
  // Thousands grouped by the other separator are read ("1,234" is 1234);
  // false keeps such fields as text, for a caller that will not guess
  // whether "1,234" is 1234 or 1.234.
  bool group_thousands = true;
};

excel::Workbook OpenCsv(const excel::Application& application, std::string_view path,
                        const CsvOptions& options = {});
// Reads the file into the sheet of `destination`, its first field into the
// destination's top-left cell; cells the file does not reach keep their
// values.
void ImportCsv(const excel::Range& destination, std::string_view path,
               const CsvOptions& options = {});
// The separator OpenCsv uses on the file: the one given, else the one found
// on its first lines.
char CsvSeparator(std::string_view path, const CsvOptions& options = {});

}  // namespace orv::xlsx
