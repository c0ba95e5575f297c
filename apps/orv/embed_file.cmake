# Writes a header holding the bytes of INPUT as `inline constexpr
# std::string_view SYMBOL` in namespace orv::report.
#   cmake -DINPUT=data.csv -DOUTPUT=data.hpp -DSYMBOL=kData -P embed_file.cmake
file(READ ${INPUT} bytes HEX)
string(LENGTH "${bytes}" hex_length)
math(EXPR length "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," chars "${bytes}")
get_filename_component(name ${INPUT} NAME)
file(WRITE ${OUTPUT}.tmp
"#pragma once
// Generated from ${name} at build time; do not edit.
#include <string_view>

namespace orv::report {

inline constexpr char ${SYMBOL}Bytes[] = {${chars}};
inline constexpr std::string_view ${SYMBOL}(${SYMBOL}Bytes, ${length});

}  // namespace orv::report
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
