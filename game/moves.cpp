#include "moves.h"

namespace zirk {

namespace {

struct Direction {
    std::string_view text;
    int dx;
    int dy;
};

// Keypad layout; tested in this order.
constexpr Direction kDirections[] = {{"2", 0, 1}, {"8", 0, -1}, {"6", 1, 0}, {"4", -1, 0}};

bool isQuit(std::string_view text, CommandSource source) {
    if (source == CommandSource::Button)
        return text == "Quitter";
    return text == "q" || text == "Q";
}

// A cell beyond the grid's edge is never read and blocks like a wall.
bool isOpen(const MazeGrid& maze, long long x, long long y) {
    if (!MazeGrid::inRange(x, y))
        return false;
    return *maze.read(x, y) != kWall;
}

} // namespace

StepOutcome step(GameState& state, std::string_view text, CommandSource source, Canvas& canvas) {
    if (isQuit(text, source))
        return StepOutcome::Quit;
    for (const Direction& d : kDirections) {
        if (text != d.text)
            continue;
        const long long x = static_cast<long long>(state.PlayerX) + d.dx;
        const long long y = static_cast<long long>(state.PlayerY) + d.dy;
        if (isOpen(state.Maze, x, y)) {
            state.PlayerX += d.dx;
            state.PlayerY += d.dy;
        }
        draw1(state, canvas);
        if (MazeGrid::inRange(state.PlayerX, state.PlayerY) &&
            *state.Maze.read(state.PlayerX, state.PlayerY) == kExit) {
            // draw1 has just covered the marker with the exit square; put it back on top.
            drawPlayerMarker(state.CellSize, canvas);
            return StepOutcome::ExitReached;
        }
        return StepOutcome::Drawn;
    }
    return StepOutcome::Ignored;
}

std::string keyText(int keyAscii) {
    if (keyAscii < 0 || keyAscii > 255)
        return {};
    return std::string(1, static_cast<char>(keyAscii));
}

} // namespace zirk
