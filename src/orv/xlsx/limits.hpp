#pragma once
// The bounds on what a file may ask of the readers. Each is far beyond what
// a real workbook needs (a sheet of 1,048,576 rows by 16 columns of numbers
// inflates to under 1 GiB of XML), and each failure names the file, the
// part and the bound, so that a hostile or broken file ends in a clear
// error instead of exhausting memory or time.
#include <cstdint>

namespace orv::xlsx::detail {

// Bytes one part of an .xlsx package may inflate to.
inline constexpr std::uint64_t kMaxPartBytes = std::uint64_t{2} << 30;
// Inflated bytes per compressed byte, checked once a part has inflated past
// kRatioFloorBytes: real sheets compress 5 to 50 times, zip bombs near the
// format's 1,032.
inline constexpr std::uint64_t kMaxInflateRatio = 200;
inline constexpr std::uint64_t kRatioFloorBytes = std::uint64_t{16} << 20;
// Elements open at once in one part.
inline constexpr int kMaxXmlDepth = 256;
// Shared strings of a workbook: how many, and their bytes together.
inline constexpr std::uint64_t kMaxSharedStrings = std::uint64_t{1} << 23;
inline constexpr std::uint64_t kMaxSharedStringBytes = std::uint64_t{256} << 20;
// Bytes of one record (line) of a .csv file.
inline constexpr std::uint64_t kMaxCsvRecordBytes = std::uint64_t{32} << 20;

}  // namespace orv::xlsx::detail
