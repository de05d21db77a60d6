// SPDX-License-Identifier: GPL-3.0-or-later
#include "surroundings.h"

#include "view.h"

#include <algorithm>
#include <cstdlib>

namespace zirk {

Surroundings describeSurroundings(const Game& game) {
    // Widened as the steps are, so that a player near the edge reads wall rather than overflowing.
    const long long x = game.playerX;
    const long long y = game.playerY;
    Surroundings s;
    s.up = game.maze.at(x, y - 1);
    s.right = game.maze.at(x + 1, y);
    s.down = game.maze.at(x, y + 1);
    s.left = game.maze.at(x - 1, y);
    constexpr int reach = kViewCells / 2;
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            // The exit the player stands on is told by the box that says it was found.
            if ((dx != 0 || dy != 0) && game.maze.at(x + dx, y + dy) == Cell::Exit)
                s.exits.push_back({dx, dy});
        }
    }
    // Row by row as found, then the fewest steps first.
    std::stable_sort(s.exits.begin(), s.exits.end(), [](ExitInSight a, ExitInSight b) {
        return std::abs(a.dx) + std::abs(a.dy) < std::abs(b.dx) + std::abs(b.dy);
    });
    return s;
}

} // namespace zirk
