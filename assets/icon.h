// The program's three-size icon file, compiled in where the system does not take it from the
// executable's resources.
#pragma once

#include <cstdint>
#include <span>

namespace assets {

std::span<const std::uint8_t> Icon();  // .ico: 16, 32 and 48 pixels, 24-bit

}  // namespace assets
