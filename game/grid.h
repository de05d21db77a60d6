// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace zirk {

// What a cell means to the rules. Every digit but 0 and 2 is floor; anything that is no digit, and every cell
// no maze file has written, is wall.
enum class Cell : std::uint8_t { Wall, Floor, Exit };

// The cell one character of a maze file stands for.
constexpr Cell cellFor(unsigned char c) {
    if (c < '0' || c > '9' || c == '0') return Cell::Wall;
    return c == '2' ? Cell::Exit : Cell::Floor;
}

// The maze: columns and rows -4..100, first index the column. The four columns and rows below 1 are never
// written by a maze file but lie in sight of a player standing near the top-left corner.
class MazeGrid {
public:
    static constexpr int kLow = -4;
    static constexpr int kHigh = 100;
    static constexpr int kSide = kHigh - kLow + 1;

    static constexpr bool contains(long long x, long long y) {
        return x >= kLow && x <= kHigh && y >= kLow && y <= kHigh;
    }

    // The one way to read a cell: beyond the edge the maze is wall, so no rule needs to ask first.
    Cell at(long long x, long long y) const { return contains(x, y) ? cells_[offset(x, y)] : Cell::Wall; }

    // Cells beyond the edge are not written; the answer says whether this one was.
    bool set(long long x, long long y, Cell cell) {
        if (!contains(x, y)) return false;
        cells_[offset(x, y)] = cell;
        return true;
    }

    // Cells 1..count of row y from the characters of one line of a maze file; nothing is written when any of
    // them lies outside.
    bool setRow(long long y, const unsigned char* line, int count) {
        if (count <= 0) return true;
        if (!contains(1, y) || !contains(count, y)) return false;
        Cell* out = &cells_[offset(1, y)];
        for (int i = 0; i < count; ++i)
            out[i] = cellFor(line[i]);
        return true;
    }

private:
    // Row by row, so that the cells of one line of a maze file lie side by side.
    static std::size_t offset(long long x, long long y) {
        return static_cast<std::size_t>((y - kLow) * kSide + (x - kLow));
    }

    std::array<Cell, kSide * kSide> cells_{};
};

// Everything the game keeps: the maze and where the player stands in it.
struct Game {
    MazeGrid maze;
    int playerX = 0;
    int playerY = 0;
};

// The player starts every freshly opened maze here, whatever the file holds.
inline constexpr int kStartColumn = 2;
inline constexpr int kStartRow = 2;

} // namespace zirk
