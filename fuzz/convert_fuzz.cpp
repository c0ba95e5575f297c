// Number and text conversions on any text and any double: a value or
// orv::Error, never undefined behaviour; a number written as text reads
// back as the same number to 15 digits.
#include <cmath>
#include <cstring>

#include "fuzz_common.hpp"
#include "orv/frame/Variant.hpp"
#include "orv/frame/convert.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const orv::Variant text(std::string(reinterpret_cast<const char*>(data), size));
  orv_fuzz::Tolerating([&] { (void)orv::CDbl(text); });
  orv_fuzz::Tolerating([&] { (void)orv::CLng(text); });
  orv_fuzz::Tolerating([&] { (void)orv::CInt(text); });
  orv_fuzz::Tolerating([&] { (void)orv::CBool(text); });
  if (size < sizeof(double)) return 0;
  double x;
  std::memcpy(&x, data, sizeof x);
  orv_fuzz::Tolerating([&] {
    const std::string written = orv::CStr(x);
    if (std::isfinite(x) && std::fabs(orv::CDbl(orv::Variant(written)) - x) >
                                std::fabs(x) * 1e-14 + 1e-300)
      std::abort();
  });
  orv_fuzz::Tolerating([&] { (void)orv::CStr(orv::Variant(orv::Date{x})); });
  orv_fuzz::Tolerating([&] { (void)orv::CLng(x); });
  orv_fuzz::Tolerating([&] { (void)orv::CInt(x); });
  orv_fuzz::Tolerating([&] { (void)orv::CStr(orv::Variant(static_cast<float>(x))); });
  return 0;
}
