// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "grid.h"

#include <optional>

namespace zirk {

// Whether a maze can be won from its start, and in how few steps.
struct WayOut {
    bool startIsWall = false;
    std::optional<int> steps; // the fewest steps to the nearest exit; none when no exit can be reached
};

// Walks the grid as the player would (walls stop, beyond the edge is wall, the start cell itself is left
// whatever it holds), breadth first, from the start to the nearest exit. 0 steps when the start is an exit.
WayOut findWayOut(const MazeGrid& maze, int startX = kStartColumn, int startY = kStartRow);

} // namespace zirk
