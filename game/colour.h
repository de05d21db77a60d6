// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace zirk {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    // The one-number form the colours are usually quoted in: red + 256 green + 65536 blue.
    constexpr std::uint32_t packed() const { return r + 256u * g + 65536u * b; }
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

} // namespace zirk
