// The pictures compiled into the program.
#pragma once

#include <cstdint>
#include <span>

namespace assets {

std::span<const std::uint8_t> Photograph();  // JPEG, 407 x 804
std::span<const std::uint8_t> Wordmark();    // JPEG, 375 x 80
std::span<const std::uint8_t> Banner();      // BMP, 421 x 105, 8 bits per pixel

}  // namespace assets
