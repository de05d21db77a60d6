// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colour.h"

namespace zirk {

// The program's name: the window's caption, its title text, and the caption of its boxes.
inline constexpr const char* kApplicationTitle = "Zirk pour Windows";
inline constexpr const char* kExitMessage = "Vous avez trouvée la sortie";

// The key panel tells by its colour whether typed keys will move the player.
inline constexpr Rgb kPanelFocused{0, 255, 0};
inline constexpr Rgb kPanelUnfocused{255, 0, 0};

// The strip behind the window icon, at the left end of the title bar.
inline constexpr Rgb kTitleStripColour{89, 164, 203};

} // namespace zirk
