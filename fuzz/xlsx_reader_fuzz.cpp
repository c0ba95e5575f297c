// The .xlsx reader on any bytes: a workbook or orv::Error, within bounds;
// a workbook that opens also saves.
#include "fuzz_common.hpp"
#include "orv/excel/excel.hpp"
#include "orv/xlsx/xlsx.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = orv_fuzz::AsFile(data, size, ".xlsx");
  orv::excel::Application app;
  orv_fuzz::Tolerating([&] {
    orv::excel::Workbook book = orv::xlsx::OpenXlsx(app, path);
    orv::excel::Worksheet sheet = book.Worksheets(1);
    (void)app.WorksheetFunction().CountA({sheet.UsedRange()});
    orv::xlsx::SaveXlsx(book, path + ".out.xlsx");
  });
  return 0;
}
