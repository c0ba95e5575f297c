#pragma once
// The failures of the workbook, with the numbers and texts a spreadsheet
// application gives them: 1004 and its messages for a failed method or
// property, 9 for a missing member of a collection.
#include <cstdint>
#include <string>
#include <string_view>

namespace orv::excel {

inline constexpr std::int32_t kErrApplication = 1004;

// Error values that cells hold (#NULL! ... #N/A).
inline constexpr std::int32_t xlErrNull = 2000;
inline constexpr std::int32_t xlErrDiv0 = 2007;
inline constexpr std::int32_t xlErrValue = 2015;
inline constexpr std::int32_t xlErrRef = 2023;
inline constexpr std::int32_t xlErrName = 2029;
inline constexpr std::int32_t xlErrNum = 2036;
inline constexpr std::int32_t xlErrNA = 2042;

// 1004 "Application-defined or object-defined error".
[[noreturn]] void RaiseApplicationDefined();
// 1004 "Method '<method>' of object '<object>' failed".
[[noreturn]] void RaiseMethodFailed(std::string_view method, std::string_view object);
// 1004 "Unable to get the <property> property of the <cls> class".
[[noreturn]] void RaiseUnableToGet(std::string_view property, std::string_view cls);
// 1004 "Unable to set the <property> property of the <cls> class".
[[noreturn]] void RaiseUnableToSet(std::string_view property, std::string_view cls);
// 1004 "<method> method of <cls> class failed".
[[noreturn]] void RaiseClassMethodFailed(std::string_view method, std::string_view cls);
// 1004 with a text of its own.
[[noreturn]] void Raise1004(std::string_view description);

}  // namespace orv::excel
