#pragma once

#include "colour.h"

namespace zirk {

// The key panel tells by its colour whether typed digits will move the player.
inline constexpr Rgb kPanelFocused{0, 255, 0};
inline constexpr Rgb kPanelUnfocused{255, 0, 0};

} // namespace zirk
