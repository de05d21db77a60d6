// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What both fuzzers share: how a broken rule ends the run, the grid's bounds and what a digit stands for.

#include "grid.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

// Checks run on every input, and comparisons in them would only feed the fuzzer noise and slow it down: they
// are left out of the coverage instrumentation (the sanitizers still apply).
#define ZIRK_UNTRACED __attribute__((no_sanitize("coverage")))

namespace zirk::fuzz {

[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, what);
    std::abort();
}

ZIRK_UNTRACED inline void check(bool ok, const char* what) {
    if (!ok) fail(what);
}

constexpr int kLow = MazeGrid::kLow;
constexpr int kHigh = MazeGrid::kHigh;
constexpr int kSide = kHigh - kLow + 1;

// The models' own answers, written out rather than asked of the grid, so that a wrong edge or a wrong digit
// in the game shows as a difference.
constexpr bool onGrid(long long x, long long y) {
    return x >= kLow && x <= kHigh && y >= kLow && y <= kHigh;
}
constexpr Cell cellOfDigit(int digit) {
    return digit == 0 ? Cell::Wall : digit == 2 ? Cell::Exit : Cell::Floor;
}

} // namespace zirk::fuzz
