// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "grid.h"
#include "view.h"

namespace zirk {

// What the player can ask of the game, whichever key or button asked it.
enum class Command { Up, Down, Left, Right, Quit };

enum class StepOutcome {
    Drawn,       // a direction was tried (moved or refused) and the view redrawn
    ExitReached, // as Drawn, and the player stands on an exit with the marker painted on top
    Quit,        // the program must end now
};

// Runs one command: a direction moves the player one cell unless a wall is there, and redraws the view either
// way.
StepOutcome walk(Game& game, Command command, Canvas& canvas);

} // namespace zirk
