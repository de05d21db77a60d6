// SPDX-License-Identifier: GPL-3.0-or-later
#include "wayout.h"

#include <array>
#include <vector>

namespace zirk {

WayOut findWayOut(const MazeGrid& maze, int startX, int startY) {
    WayOut out;
    out.startIsWall = maze.at(startX, startY) == Cell::Wall;
    if (!MazeGrid::contains(startX, startY)) return out;

    constexpr int kLow = MazeGrid::kLow;
    constexpr int kSide = MazeGrid::kSide;
    const auto index = [](int x, int y) { return static_cast<std::size_t>((y - kLow) * kSide + (x - kLow)); };
    // Distance + 1 of each cell reached; 0 for not yet reached.
    std::vector<int> reached(static_cast<std::size_t>(kSide) * kSide, 0);
    std::vector<std::array<int, 2>> queue;
    queue.reserve(reached.size());
    queue.push_back({startX, startY});
    reached[index(startX, startY)] = 1;
    constexpr std::array<std::array<int, 2>, 4> kMoves{{{0, -1}, {1, 0}, {-1, 0}, {0, 1}}};
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const auto [x, y] = queue[next];
        const int distance = reached[index(x, y)] - 1;
        if (maze.at(x, y) == Cell::Exit) {
            out.steps = distance;
            return out;
        }
        for (const auto& [dx, dy] : kMoves) {
            const int nx = x + dx;
            const int ny = y + dy;
            // at() reads wall beyond the edge, so a cell that passes is inside the grid.
            if (maze.at(nx, ny) == Cell::Wall || reached[index(nx, ny)] != 0) continue;
            reached[index(nx, ny)] = distance + 2;
            queue.push_back({nx, ny});
        }
    }
    return out;
}

} // namespace zirk
