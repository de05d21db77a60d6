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

// Rows of characters, row 0 being the file's first line; the player starts at column 2, row 2, which is
// index (1, 1) here.
using Rows = std::vector<std::string>;

// A maze with one way between any two rooms: rooms on every other cell, carved depth first from the start so
// that the corridors wind.
Rows carve(int side, std::mt19937& random) {
    Rows rows(static_cast<std::size_t>(side), std::string(static_cast<std::size_t>(side), '0'));
    const auto open = [&](int x, int y) {
        rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = '1';
    };
    const auto isWall = [&](int x, int y) {
        return rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '0';
    };
    std::vector<std::array<int, 2>> path{{1, 1}};
    open(1, 1);
    constexpr std::array<std::array<int, 2>, 4> kMoves{{{0, -2}, {2, 0}, {-2, 0}, {0, 2}}};
    while (!path.empty()) {
        const auto [x, y] = path.back();
        std::vector<std::array<int, 2>> choices;
        for (const auto& [dx, dy] : kMoves) {
            const int nx = x + dx;
            const int ny = y + dy;
            if (nx > 0 && ny > 0 && nx < side - 1 && ny < side - 1 && isWall(nx, ny))
                choices.push_back({dx, dy});
        }
        if (choices.empty()) {
            path.pop_back();
            continue;
        }
        const auto [dx, dy] = choices[random() % choices.size()];
        open(x + dx / 2, y + dy / 2);
        open(x + dx, y + dy);
        path.push_back({x + dx, y + dy});
    }
    return rows;
}

// Puts the exit on the cell whose way from the start is nearest the target (the first such cell, row by
// row); returns that way's length.
int placeExit(Rows& rows, int target) {
    const int side = static_cast<int>(rows.size());
    std::vector<int> distance(static_cast<std::size_t>(side * side), -1);
    std::vector<int> queue{side + 1};
    distance[static_cast<std::size_t>(side + 1)] = 0;
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const int at = queue[next];
        for (int step : {-side, 1, -1, side}) {
            const int to = at + step;
            if (rows[static_cast<std::size_t>(to / side)][static_cast<std::size_t>(to % side)] == '0' ||
                distance[static_cast<std::size_t>(to)] >= 0)
                continue;
            distance[static_cast<std::size_t>(to)] = distance[static_cast<std::size_t>(at)] + 1;
            queue.push_back(to);
        }
    }
    int best = -1;
    for (int cell = 0; cell < side * side; ++cell) {
        const int d = distance[static_cast<std::size_t>(cell)];
        if (d > 0 &&
            (best < 0 || std::abs(d - target) < std::abs(distance[static_cast<std::size_t>(best)] - target)))
            best = cell;
    }
    rows[static_cast<std::size_t>(best / side)][static_cast<std::size_t>(best % side)] = '2';
    return distance[static_cast<std::size_t>(best)];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: makemazes <folder>\n");
        return 2;
    }
    for (const Level& level : kLevels) {
        std::mt19937 random(level.startNumber);
        Rows rows = carve(level.side, random);
        const int steps = placeExit(rows, level.target);
        const std::string path = std::string(argv[1]) + "/" + level.name;
        std::ofstream out(path, std::ios::binary);
        // CR LF, as the game's own mazes end their lines.
        for (const std::string& row : rows)
            out << row << "\r\n";
        out.close();
        if (!out) {
            std::fprintf(stderr, "makemazes: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s: %d steps\n", level.name, steps);
    }
    return 0;
}
