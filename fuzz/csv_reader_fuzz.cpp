// The CSV reader on any bytes, with the separator found and given, point
// and comma decimals: a workbook or orv::Error.
#include "fuzz_common.hpp"
#include "orv/excel/excel.hpp"
#include "orv/xlsx/xlsx.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the options, the rest is the file.
  orv::xlsx::CsvOptions options;
  options.decimal_comma = (data[0] & 1) != 0;
  options.separator = "\0,;\t "[(data[0] >> 1) % 5];
  const std::string& path = orv_fuzz::AsFile(data + 1, size - 1, ".csv");
  orv::excel::Application app;
  orv_fuzz::Tolerating([&] {
    orv::excel::Workbook book = orv::xlsx::OpenCsv(app, path, options);
    (void)app.WorksheetFunction().Sum({book.Worksheets(1).UsedRange()});
  });
  return 0;
}
