// SPDX-License-Identifier: GPL-3.0-or-later
#include "view.h"

#include <cmath>

namespace zirk {

int shadeGreen(int k) {
    return static_cast<int>(std::lround(100.0 + 155.0 * (6 - k) / 7.0));
}

void drawPlayerMarker(Canvas& canvas) {
    const int centre = 2 * kCellSize + kCellSize / 2;
    canvas.fillBox(centre - 3, centre - 3, centre + 3, centre + 3, kPlayerColour);
}

namespace {

void drawWall(int i, int j, int cs, Canvas& canvas) {
    const int left = (i - 1) * cs, top = (j - 1) * cs, right = i * cs, bottom = j * cs;
    for (int k = kShadeDepth; k >= 1; --k) {
        // The first column's shading starts at the canvas edge, so no background shows to the left of the
        // view; the top-left cell also covers the top edge.
        const int x1 = i == 1 ? left : left + k;
        const int y1 = i == 1 && j == 1 ? top : top + k;
        canvas.fillBox(x1, y1, right + k, bottom + k, Rgb{0, static_cast<std::uint8_t>(shadeGreen(k)), 0});
    }
    canvas.fillBox(left, top, right, bottom, kWallFace);
}

} // namespace

void drawView(const Game& game, Canvas& canvas) {
    constexpr int cs = kCellSize;
    canvas.fillBox(0, 0, kViewCells * cs + kShadeDepth, kViewCells * cs + kShadeDepth, kViewBackground);
    drawPlayerMarker(canvas);
    for (int i = 1; i <= kViewCells; ++i) {
        for (int j = 1; j <= kViewCells; ++j) {
            // Past the grid's edge the maze reads as wall, matching the step rule, which refuses to go there.
            const Cell cell = game.maze.at(static_cast<long long>(game.playerX) + i - 3,
                                           static_cast<long long>(game.playerY) + j - 3);
            if (cell == Cell::Wall) drawWall(i, j, cs, canvas);
            if (cell == Cell::Exit) {
                const int left = (i - 1) * cs, top = (j - 1) * cs;
                canvas.fillBox(left + kExitInset, top + kExitInset, left + cs - kExitInset,
                               top + cs - kExitInset, kExitColour);
            }
        }
    }
}

} // namespace zirk
