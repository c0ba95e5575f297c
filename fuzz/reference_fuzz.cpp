// Reference texts ("A1:B2", "'My sheet'!C:C", "A1,B2:C3", R1C1 pieces, ...)
// through the parser and the application: a range or orv::Error; a parsed
// reference formats back to a text that parses to the same areas.
#include "fuzz_common.hpp"
#include "orv/excel/excel.hpp"
#include "orv/excel/reference.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  orv_fuzz::Tolerating([&] { (void)orv::excel::ParseReference(text); });
  orv_fuzz::Tolerating([&] { (void)orv::excel::ColumnNumber(text); });
  orv::excel::Application app;
  app.Workbooks().Add();
  orv_fuzz::Tolerating([&] {
    const orv::excel::Range r = app.Range(text);
    const std::string address = r.Address();
    if (app.Range(address).Address() != address) std::abort();
  });
  return 0;
}
