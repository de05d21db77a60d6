#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace zirk {

// The maze grid: columns and rows -4..100, first index the column. A cell that no maze file has written holds 0,
// which the rules treat exactly as they treat an empty cell: as a wall.
class MazeGrid {
public:
    static constexpr int kLow = -4;
    static constexpr int kHigh = 100;
    static constexpr int kSide = kHigh - kLow + 1;

    static constexpr bool inRange(long long x, long long y) {
        return x >= kLow && x <= kHigh && y >= kLow && y <= kHigh;
    }

    // Outside the grid nothing is read or written; the refusal is counted so that long runs can prove that
    // no caller ever relied on a cell beyond the edge.
    std::optional<int> read(long long x, long long y) const {
        if (!inRange(x, y)) {
            ++refused_;
            return std::nullopt;
        }
        return cells_[offset(x, y)];
    }
    bool write(long long x, long long y, int value) {
        if (!inRange(x, y) || value < 0 || value > 9) {
            ++refused_;
            return false;
        }
        cells_[offset(x, y)] = static_cast<std::uint8_t>(value);
        return true;
    }

    // Cells 1..count of one row, each 0..9: one check for the whole line of a maze file.
    bool writeRow(long long y, const std::uint8_t* values, int count) {
        if (count <= 0)
            return true;
        if (!inRange(1, y) || !inRange(count, y)) {
            ++refused_;
            return false;
        }
        for (int i = 0; i < count; ++i)
            cells_[offset(i + 1, y)] = values[i] > 9 ? 0 : values[i];
        return true;
    }

    std::uint64_t refusedAccesses() const { return refused_; }

private:
    // Row by row, so that the cells of one line of a maze file lie side by side.
    static std::size_t offset(long long x, long long y) {
        return static_cast<std::size_t>((y - kLow) * kSide + (x - kLow));
    }

    std::array<std::uint8_t, kSide * kSide> cells_{};
    mutable std::uint64_t refused_ = 0;
};

// Everything the game keeps. The names are the ones the window's handlers use.
struct GameState {
    MazeGrid Maze;
    int PlayerX = 0;
    int PlayerY = 0;
    int CellSize = 0;
    float HomeWidth = 0;
    float HomeHeight = 0;
    float HomeTop = 0;
    float HomeLeft = 0;
};

// The player always starts a freshly opened maze here, whatever the file holds.
inline constexpr int kStartColumn = 2;
inline constexpr int kStartRow = 2;
inline constexpr int kCellSize = 70;

// Cell values with a meaning of their own; every other non-zero digit is floor.
inline constexpr int kWall = 0;
inline constexpr int kExit = 2;

} // namespace zirk
