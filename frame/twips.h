// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

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

// A box in pixels whose edges are each rounded on their own, so that boxes sharing an edge in twips still
// share it in pixels.
inline QRect toPixelRect(Twips left, Twips top, Twips width, Twips height) {
    const int x = toPixels(left), y = toPixels(top);
    return QRect(x, y, toPixels(left + width) - x, toPixels(top + height) - y);
}

} // namespace zirk
