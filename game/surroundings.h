// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "grid.h"

#include <vector>

namespace zirk {

// An exit in the close-up, counted in cells from the player: dx to the right (negative: to the left), dy
// downwards (negative: upwards).
struct ExitInSight {
    int dx;
    int dy;
    bool operator==(const ExitInSight&) const = default;
};

// What the close-up shows, for a player who cannot see it: the cell one step away in each direction, and
// every exit within the 5 x 5 cells around the player, nearest first.
struct Surroundings {
    Cell up = Cell::Wall;
    Cell right = Cell::Wall;
    Cell down = Cell::Wall;
    Cell left = Cell::Wall;
    std::vector<ExitInSight> exits;
};

Surroundings describeSurroundings(const Game& game);

} // namespace zirk
