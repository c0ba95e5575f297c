#pragma once
// The fixed-width types of the automation interface.
#include <cstdint>
#include <string>

namespace orv {

using Long = std::int32_t;
using Integer = std::int16_t;
using Byte = std::uint8_t;
using Single = float;
using Double = double;
using Boolean = bool;
using String = std::string;

}  // namespace orv
