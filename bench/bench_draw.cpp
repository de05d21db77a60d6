// SPDX-License-Identifier: GPL-3.0-or-later
// The view's drawing into the real canvas, against the least any canvas could do with the same boxes.

#include "benchsupport.h"
#include "fakes/recordingcanvas.h"
#include "widgets.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace zirk::bench {

namespace {

constexpr int kSide = 350;

// Two views the player alternates between, as the key step does; in the worst case both are all walls.
struct Views {
    Game state;
    std::array<int, 2> columns{kCorridorX, kCorridorX + 1};
    std::array<QList<testing::Box>, 2> boxes;
};

Views makeViews(bool corridor) {
    Views v;
    v.state.playerY = kCorridorY;
    if (corridor) {
        TempFile file(corridorMaze());
        FileSource source(file.path());
        readMaze(source, v.state.maze);
    }
    for (int k = 0; k < 2; ++k) {
        v.state.playerX = v.columns[k];
        testing::RecordingCanvas recorder;
        drawView(v.state, recorder);
        v.boxes[k] = std::move(recorder.boxes);
    }
    return v;
}

// The same contract as the canvas (both corners included, clipped), with nothing in between.
void rawFill(std::vector<std::uint32_t>& pixels, const testing::Box& b) {
    int x1 = std::min(b.x1, b.x2), x2 = std::max(b.x1, b.x2);
    int y1 = std::min(b.y1, b.y2), y2 = std::max(b.y1, b.y2);
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, kSide - 1);
    y2 = std::min(y2, kSide - 1);
    if (x1 > x2 || y1 > y2) return;
    const std::uint32_t value =
        0xff000000u | (std::uint32_t{b.colour.r} << 16) | (std::uint32_t{b.colour.g} << 8) | b.colour.b;
    for (int y = y1; y <= y2; ++y) {
        std::uint32_t* line = pixels.data() + static_cast<std::size_t>(y) * kSide;
        std::fill(line + x1, line + x2 + 1, value);
    }
}

void drawIntoPicture(benchmark::State& st, bool corridor, qsizetype expectedBoxes) {
    Views v = makeViews(corridor);
    if (expectedBoxes && v.boxes[0].size() != expectedBoxes)
        return st.SkipWithError("the worst case did not issue the expected number of boxes");
    MazeView view(row(Control::View), nullptr);
    Canvas& canvas = view.canvas();
    int k = 0;
    for (auto _ : st) {
        v.state.playerX = v.columns[k];
        drawView(v.state, canvas);
        benchmark::DoNotOptimize(view.picture().constBits());
        benchmark::ClobberMemory();
        k ^= 1;
    }
    st.counters["boxes"] = static_cast<double>(v.boxes[0].size());
}

void fillRaw(benchmark::State& st, bool corridor) {
    const Views v = makeViews(corridor);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kSide) * kSide);
    int k = 0;
    for (auto _ : st) {
        for (const testing::Box& b : v.boxes[k])
            rawFill(pixels, b);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
        k ^= 1;
    }
    st.counters["boxes"] = static_cast<double>(v.boxes[0].size());
}

} // namespace

void registerDrawBenchmarks() {
    benchmark::RegisterBenchmark("drawView/worst/MazeView", [](benchmark::State& st) {
        drawIntoPicture(st, false, 177);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("drawView/worst/raw_fill", [](benchmark::State& st) {
        fillRaw(st, false);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("drawView/corridor/MazeView", [](benchmark::State& st) {
        drawIntoPicture(st, true, 0);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("drawView/corridor/raw_fill", [](benchmark::State& st) {
        fillRaw(st, true);
    })->Unit(benchmark::kMicrosecond);
}

} // namespace zirk::bench
