// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the generated sample mazes, the steps between the small hand-made ones and the large one:
// makemazes <folder>. The same fixed start numbers give the same files on every machine, byte for byte: only
// std::mt19937's raw output is used, never a library distribution, whose results differ between libraries.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

struct Level {
    const char* name;
    int side;   // odd, so that the outer rows and columns are walls
    int target; // the fewest steps from the start to the exit, as near as the maze allows
    std::uint32_t startNumber;
};

constexpr std::array<Level, 6> kLevels{{
    {"niveau-3-15x15.dat", 15, 20, 3},
    {"niveau-4-25x25.dat", 25, 50, 4},
    {"niveau-5-35x35.dat", 35, 100, 5},
    {"niveau-6-49x49.dat", 49, 200, 6},
    {"niveau-7-69x69.dat", 69, 400, 7},
    {"niveau-8-99x99.dat", 99, 800, 8},
}};

// The cells row by row, row 0 being the file's first line; the player starts at column 2, row 2, which is
// (1, 1) here.
struct Grid {
    int side;
    std::string cells = std::string(static_cast<std::size_t>(side * side), '0');
    char& at(int cell) { return cells[static_cast<std::size_t>(cell)]; }
    char& at(int x, int y) { return at(y * side + x); }
};

// A maze with one way between any two rooms: rooms on every other cell, carved depth first from the start so
// that the corridors wind.
Grid carve(int side, std::mt19937& random) {
    Grid grid{side};
    std::vector<std::array<int, 2>> path{{1, 1}};
    grid.at(1, 1) = '1';
    constexpr std::array<std::array<int, 2>, 4> kMoves{{{0, -2}, {2, 0}, {-2, 0}, {0, 2}}};
    while (!path.empty()) {
        const auto [x, y] = path.back();
        std::vector<std::array<int, 2>> choices;
        for (const auto& [dx, dy] : kMoves)
            if (x + dx > 0 && y + dy > 0 && x + dx < side - 1 && y + dy < side - 1 &&
                grid.at(x + dx, y + dy) == '0')
                choices.push_back({dx, dy});
        if (choices.empty()) {
            path.pop_back();
            continue;
        }
        const auto [dx, dy] = choices[random() % choices.size()];
        grid.at(x + dx / 2, y + dy / 2) = '1';
        grid.at(x + dx, y + dy) = '1';
        path.push_back({x + dx, y + dy});
    }
    return grid;
}

// Puts the exit on the cell whose way from the start is nearest the target (the first such cell, row by
// row); returns that way's length.
int placeExit(Grid& grid, int target) {
    const int side = grid.side;
    std::vector<int> distance(grid.cells.size(), -1);
    std::vector<int> queue{side + 1};
    distance[static_cast<std::size_t>(side + 1)] = 0;
    const auto far = [&](int cell) { return distance[static_cast<std::size_t>(cell)]; };
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const int at = queue[next];
        for (int to : {at - side, at + 1, at - 1, at + side}) {
            if (grid.at(to) == '0' || far(to) >= 0) continue;
            distance[static_cast<std::size_t>(to)] = far(at) + 1;
            queue.push_back(to);
        }
    }
    int best = -1;
    for (int cell = 0; cell < side * side; ++cell)
        if (far(cell) > 0 && (best < 0 || std::abs(far(cell) - target) < std::abs(far(best) - target)))
            best = cell;
    grid.at(best) = '2';
    return far(best);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: makemazes <folder>\n");
        return 2;
    }
    for (const Level& level : kLevels) {
        std::mt19937 random(level.startNumber);
        Grid grid = carve(level.side, random);
        const int steps = placeExit(grid, level.target);
        const std::string path = std::string(argv[1]) + "/" + level.name;
        std::ofstream out(path, std::ios::binary);
        // CR LF, as the game's own mazes end their lines.
        for (int y = 0; y < grid.side; ++y)
            out.write(&grid.at(0, y), grid.side) << "\r\n";
        out.close();
        if (!out) {
            std::fprintf(stderr, "makemazes: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s: %d steps\n", level.name, steps);
    }
    return 0;
}
