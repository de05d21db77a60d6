#include "view.h"

#include <cmath>

namespace zirk {

int shadeGreen(int k) {
    return static_cast<int>(std::lround(100.0 + 155.0 * (6 - k) / 7.0));
}

void drawPlayerMarker(int cellSize, Canvas& canvas) {
    const int centre = 2 * cellSize + cellSize / 2;
    canvas.fillBox(centre - 3, centre - 3, centre + 3, centre + 3, kPlayerColour);
}

namespace {

// Cells past the grid's edge cannot be read; drawing them as walls keeps the picture consistent with the step
// rule, which refuses to enter them.
bool isWall(const MazeGrid& maze, long long x, long long y) {
    if (!MazeGrid::inRange(x, y))
        return true;
    return *maze.read(x, y) == kWall;
}

bool isExit(const MazeGrid& maze, long long x, long long y) {
    return MazeGrid::inRange(x, y) && *maze.read(x, y) == kExit;
}

void drawWall(int i, int j, int cs, Canvas& canvas) {
    const int left = (i - 1) * cs, top = (j - 1) * cs, right = i * cs, bottom = j * cs;
    for (int k = kShadeDepth; k >= 1; --k) {
        // The first column's shading starts at the canvas edge, so no background shows to the left of the view;
        // the top-left cell also covers the top edge.
        const int x1 = i == 1 ? left : left + k;
        const int y1 = i == 1 && j == 1 ? top : top + k;
        canvas.fillBox(x1, y1, right + k, bottom + k, Rgb{0, static_cast<std::uint8_t>(shadeGreen(k)), 0});
    }
    canvas.fillBox(left, top, right, bottom, kWallFace);
}

} // namespace

void draw1(const GameState& state, Canvas& canvas) {
    const int cs = state.CellSize;
    canvas.fillBox(0, 0, kViewCells * cs + kShadeDepth, kViewCells * cs + kShadeDepth, kViewBackground);
    drawPlayerMarker(cs, canvas);
    for (int i = 1; i <= kViewCells; ++i) {
        for (int j = 1; j <= kViewCells; ++j) {
            const long long x = static_cast<long long>(state.PlayerX) + i - 3;
            const long long y = static_cast<long long>(state.PlayerY) + j - 3;
            if (isWall(state.Maze, x, y))
                drawWall(i, j, cs, canvas);
            if (isExit(state.Maze, x, y)) {
                const int left = (i - 1) * cs, top = (j - 1) * cs;
                canvas.fillBox(left + kExitInset, top + kExitInset, left + cs - kExitInset, top + cs - kExitInset,
                               kExitColour);
            }
        }
    }
}

} // namespace zirk
