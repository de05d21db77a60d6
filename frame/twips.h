#pragma once

#include <cmath>

namespace zirk {

// Geometry is kept in twips (1/1440 inch) and turned into pixels only where it meets the screen.
inline constexpr int kTwipsPerPixel = 15;

inline int toPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline constexpr long long toTwips(long long pixels) { return pixels * kTwipsPerPixel; }

} // namespace zirk
