// SPDX-License-Identifier: GPL-3.0-or-later
#include "steps.h"

namespace zirk {

namespace {

struct Offset {
    int dx;
    int dy;
};

Offset offsetOf(Command command) {
    switch (command) {
    case Command::Up:
        return {0, -1};
    case Command::Down:
        return {0, 1};
    case Command::Left:
        return {-1, 0};
    case Command::Right:
        return {1, 0};
    case Command::Quit:
        break;
    }
    return {0, 0};
}

} // namespace

StepOutcome walk(Game& game, Command command, Canvas& canvas) {
    if (command == Command::Quit) return StepOutcome::Quit;
    const Offset d = offsetOf(command);
    // Widened, so that no arithmetic on a position near the edge can overflow before the grid answers.
    const long long x = static_cast<long long>(game.playerX) + d.dx;
    const long long y = static_cast<long long>(game.playerY) + d.dy;
    if (game.maze.at(x, y) != Cell::Wall) {
        game.playerX += d.dx;
        game.playerY += d.dy;
    }
    drawView(game, canvas);
    if (game.maze.at(game.playerX, game.playerY) != Cell::Exit) return StepOutcome::Drawn;
    // The view has just covered the marker with the exit square; put it back on top.
    drawPlayerMarker(canvas);
    return StepOutcome::ExitReached;
}

} // namespace zirk
