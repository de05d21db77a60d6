// SPDX-License-Identifier: GPL-3.0-or-later
// The view and the step rule on any grid, from any position, under any sequence of commands.
//
// Input layout, front to back:
//   modes        bits 0-1 for the column, bits 2-3 for the row: 0..2 one byte b gives -10 + b % 121 (the
//                grid and a little beyond it on both sides), 3 four bytes give any int, little-endian
//   column, row  as the modes say
//   background   b % 10 fills every cell of the grid, borders included: a digit as in a maze file (0 wall,
//                2 exit, any other floor)
//   count        how many commands follow
//   commands     one byte each, b % 5: up, down, left, right, quit
//   cells        the rest, b % 10 each as the background: the 15 x 15 cells around the starting position, row
//                by row
//
// Every drawing is checked box by box while it is made and then as a whole against the 5 x 5 cells around the
// player; every step against the rule computed here from a copy of the grid.

#include "fuzzcheck.h"
#include "grid.h"
#include "steps.h"
#include "view.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

using namespace zirk;
using namespace zirk::fuzz;

namespace {

constexpr int kWindow = 15;
constexpr int kCs = kCellSize;
// The view is kViewCells cells plus the shading; a box may reach a little past it, never far.
constexpr int kBoxMin = -10;
constexpr int kBoxMax = kViewCells * kCs + kShadeDepth + 10;
constexpr int kMaxBoxesPerDraw = 2 + kViewCells * kViewCells * (kShadeDepth + 1);

constexpr Command kCommands[] = {Command::Up, Command::Down, Command::Left, Command::Right, Command::Quit};
constexpr int kCommandCount = static_cast<int>(sizeof kCommands / sizeof kCommands[0]);

struct Box {
    int x1, y1, x2, y2;
    Rgb colour;
};

// shadeGreen rounds through floating point; asked once here rather than for every box.
const std::array<Rgb, kShadeDepth> kShades = [] {
    std::array<Rgb, kShadeDepth> shades{};
    for (int k = 1; k <= kShadeDepth; ++k)
        shades[k - 1] = Rgb{0, static_cast<std::uint8_t>(shadeGreen(k)), 0};
    return shades;
}();

ZIRK_UNTRACED bool isShade(Rgb c) {
    for (const Rgb& shade : kShades)
        if (c == shade) return true;
    return false;
}

ZIRK_UNTRACED bool knownColour(Rgb c) {
    return c == kViewBackground || c == kPlayerColour || c == kWallFace || c == kExitColour || isShade(c);
}

class CheckingCanvas : public Canvas {
public:
    ZIRK_UNTRACED void fillBox(int x1, int y1, int x2, int y2, Rgb colour) override {
        check(x1 <= x2 && y1 <= y2, "a box with its corners the wrong way round");
        check(x1 >= kBoxMin && y1 >= kBoxMin && x2 <= kBoxMax && y2 <= kBoxMax, "a box far outside the view");
        check(knownColour(colour), "a box in a colour the view does not use");
        check(boxes.size() < kMaxBoxesPerDraw + 1, "too many boxes for one command");
        boxes.push_back(Box{x1, y1, x2, y2, colour});
    }
    std::vector<Box> boxes;
};

// The grid as this file filled it, kept apart from the one under test.
struct Cells {
    std::array<std::array<Cell, kSide>, kSide> v{};

    Cell at(long long x, long long y) const { return v[x - kLow][y - kLow]; }
    // What the rules see: a cell off the grid is a wall.
    bool open(long long x, long long y) const { return onGrid(x, y) && at(x, y) != Cell::Wall; }
    bool exit(long long x, long long y) const { return onGrid(x, y) && at(x, y) == Cell::Exit; }
};

// The picture drawView made (`boxes[first, first + count)`) against the cells around the player.
ZIRK_UNTRACED void checkPicture(const std::vector<Box>& boxes, std::size_t first, std::size_t count,
                                const Game& state, const Cells& cells) {
    check(count >= 2 && count <= kMaxBoxesPerDraw, "a drawing with a wrong number of boxes");
    const Box& bg = boxes[first];
    check(bg.colour == kViewBackground && bg.x1 == 0 && bg.y1 == 0 &&
              bg.x2 == kViewCells * kCs + kShadeDepth && bg.y2 == bg.x2,
          "the drawing does not start with the background");

    bool wantWall[kViewCells][kViewCells]{}, wantExit[kViewCells][kViewCells]{};
    int walls = 0;
    for (int i = 0; i < kViewCells; ++i)
        for (int j = 0; j < kViewCells; ++j) {
            const long long x = static_cast<long long>(state.playerX) + i - 2;
            const long long y = static_cast<long long>(state.playerY) + j - 2;
            wantWall[i][j] = !cells.open(x, y);
            wantExit[i][j] = cells.exit(x, y);
            walls += wantWall[i][j];
        }

    bool gotWall[kViewCells][kViewCells]{}, gotExit[kViewCells][kViewCells]{};
    int shades = 0, markers = 0, backgrounds = 0;
    const int centre = 2 * kCs + kCs / 2;
    for (std::size_t n = first; n < first + count; ++n) {
        const Box& b = boxes[n];
        if (b.colour == kWallFace) {
            check(b.x1 % kCs == 0 && b.y1 % kCs == 0 && b.x2 == b.x1 + kCs && b.y2 == b.y1 + kCs,
                  "a wall face off the cell grid");
            const int i = b.x1 / kCs, j = b.y1 / kCs;
            check(i >= 0 && i < kViewCells && j >= 0 && j < kViewCells, "a wall face outside the view");
            check(!gotWall[i][j], "a wall face drawn twice");
            gotWall[i][j] = true;
        } else if (b.colour == kExitColour) {
            const int left = b.x1 - kExitInset, top = b.y1 - kExitInset;
            check(left % kCs == 0 && top % kCs == 0 && b.x2 == left + kCs - kExitInset &&
                      b.y2 == top + kCs - kExitInset,
                  "an exit square off the cell grid");
            const int i = left / kCs, j = top / kCs;
            check(i >= 0 && i < kViewCells && j >= 0 && j < kViewCells, "an exit square outside the view");
            check(!gotExit[i][j], "an exit square drawn twice");
            gotExit[i][j] = true;
        } else if (b.colour == kPlayerColour) {
            check(b.x1 == centre - 3 && b.y1 == centre - 3 && b.x2 == centre + 3 && b.y2 == centre + 3,
                  "the player marker away from the centre");
            ++markers;
        } else if (isShade(b.colour)) {
            ++shades;
        } else {
            ++backgrounds;
        }
    }
    check(backgrounds == 1, "the background painted more than once");
    check(markers == 1, "the player marker not painted exactly once");
    check(shades == walls * kShadeDepth, "wall shading that does not match the walls");
    for (int i = 0; i < kViewCells; ++i)
        for (int j = 0; j < kViewCells; ++j) {
            check(gotWall[i][j] == wantWall[i][j], "the walls drawn are not the walls around the player");
            check(gotExit[i][j] == wantExit[i][j], "the exits drawn are not the exits around the player");
        }
}

ZIRK_UNTRACED void fillGrid(MazeGrid& maze, Cells& cells, Cell value) {
    for (int x = kLow; x <= kHigh; ++x)
        for (int y = kLow; y <= kHigh; ++y) {
            check(maze.set(x, y, value), "an in-range cell could not be written");
            cells.v[x - kLow][y - kLow] = value;
        }
}

ZIRK_UNTRACED void checkGridUnchanged(const MazeGrid& maze, const Cells& cells) {
    for (int x = kLow; x <= kHigh; ++x)
        for (int y = kLow; y <= kHigh; ++y)
            check(maze.at(x, y) == cells.at(x, y), "the grid changed under the view or the steps");
}

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
    bool empty() const { return pos == size; }
    std::uint8_t byte() { return pos < size ? data[pos++] : 0; }
    int coordinate(int mode) {
        if (mode < 3) return -10 + byte() % 121;
        std::uint32_t u = 0;
        for (int k = 0; k < 4; ++k)
            u |= static_cast<std::uint32_t>(byte()) << (8 * k);
        int v;
        std::memcpy(&v, &u, sizeof v);
        return v;
    }
};

struct Delta {
    int dx, dy;
};

Delta direction(Command command) {
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
    fail("quit has no direction");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    const std::uint8_t modes = in.byte();
    Game state;
    state.playerX = in.coordinate(modes & 3);
    state.playerY = in.coordinate((modes >> 2) & 3);
    const Cell background = cellOfDigit(in.byte() % 10);

    // Kept from run to run: memory freed on every run fills the address sanitizer's quarantine, hundreds of
    // megabytes of it, for nothing.
    static std::vector<Command> commands;
    commands.clear();
    for (int n = in.byte(); n > 0 && !in.empty(); --n)
        commands.push_back(kCommands[in.byte() % kCommandCount]);

    Cells cells;
    fillGrid(state.maze, cells, background);
    for (int j = 0; j < kWindow && !in.empty(); ++j)
        for (int i = 0; i < kWindow && !in.empty(); ++i) {
            const long long x = static_cast<long long>(state.playerX) + i - kWindow / 2;
            const long long y = static_cast<long long>(state.playerY) + j - kWindow / 2;
            const Cell value = cellOfDigit(in.byte() % 10);
            if (!onGrid(x, y)) {
                check(!state.maze.set(x, y, value), "a cell beyond the edge of the grid was written");
                continue;
            }
            check(state.maze.set(x, y, value), "an in-range cell could not be written");
            cells.v[x - kLow][y - kLow] = value;
        }

    static CheckingCanvas canvas;
    canvas.boxes.clear();
    canvas.boxes.reserve(kMaxBoxesPerDraw + 1);
    drawView(state, canvas);
    checkPicture(canvas.boxes, 0, canvas.boxes.size(), state, cells);

    for (const Command command : commands) {
        const int x0 = state.playerX, y0 = state.playerY;
        canvas.boxes.clear();
        const StepOutcome outcome = walk(state, command, canvas);

        if (command == Command::Quit) {
            check(outcome == StepOutcome::Quit, "a quit command did not quit");
            check(state.playerX == x0 && state.playerY == y0, "quitting moved the player");
            continue;
        }
        check(outcome != StepOutcome::Quit, "a direction quit");
        const Delta d = direction(command);

        const long long mx = static_cast<long long>(state.playerX) - x0;
        const long long my = static_cast<long long>(state.playerY) - y0;
        check((mx == 0 || my == 0) && mx >= -1 && mx <= 1 && my >= -1 && my <= 1,
              "a step of more than one cell");
        const long long tx = static_cast<long long>(x0) + d.dx, ty = static_cast<long long>(y0) + d.dy;
        const bool moves = cells.open(tx, ty);
        if (moves) {
            check(state.playerX == tx && state.playerY == ty, "the player did not step onto an open cell");
        } else {
            check(state.playerX == x0 && state.playerY == y0,
                  "the player went through a wall or off the grid");
        }
        const bool onExit = cells.exit(state.playerX, state.playerY);
        check(outcome == (onExit ? StepOutcome::ExitReached : StepOutcome::Drawn),
              "ExitReached does not match standing on an exit");

        std::size_t drawn = canvas.boxes.size();
        if (onExit) {
            // The marker goes back on top of the exit square, after the picture.
            check(drawn >= 1, "an exit reached without drawing");
            const Box& last = canvas.boxes.back();
            const int centre = 2 * kCs + kCs / 2;
            check(last.colour == kPlayerColour && last.x1 == centre - 3 && last.y1 == centre - 3 &&
                      last.x2 == centre + 3 && last.y2 == centre + 3,
                  "the marker is not painted last on an exit");
            --drawn;
        }
        checkPicture(canvas.boxes, 0, drawn, state, cells);
    }

    checkGridUnchanged(state.maze, cells);
    return 0;
}
