// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>

namespace zirk {

// Geometry is kept in twips (1/1440 inch) and turned into pixels only where it meets the screen.
using Twips = double;
inline constexpr int kTwipsPerPixel = 15;

inline int toPixels(Twips twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
inline constexpr Twips toTwips(int pixels) {
    return static_cast<Twips>(pixels) * kTwipsPerPixel;
}

} // namespace zirk
