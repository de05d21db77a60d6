// SPDX-License-Identifier: GPL-3.0-or-later
// The maze. The view's drawing into the real canvas, against the least any canvas could do with the same
// boxes. Loading a maze: a full one against reading its bytes, and two hostile files whose size must not
// matter.

#include "benchsupport.h"
#include "fakes/recordingcanvas.h"
#include "widgets.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace zirk::bench {

namespace {

constexpr int kSide = 350;

// The same contract as the canvas (both corners included, clipped), with nothing in between.
void rawFill(std::vector<std::uint32_t>& pixels, const testing::Box& b) {
    const int x1 = std::max(std::min(b.x1, b.x2), 0), x2 = std::min(std::max(b.x1, b.x2), kSide - 1);
    const int y1 = std::max(std::min(b.y1, b.y2), 0), y2 = std::min(std::max(b.y1, b.y2), kSide - 1);
    const std::uint32_t value =
        0xff000000u | (std::uint32_t{b.colour.r} << 16) | (std::uint32_t{b.colour.g} << 8) | b.colour.b;
    for (int y = y1; y <= y2 && x1 <= x2; ++y) {
        std::uint32_t* line = pixels.data() + static_cast<std::size_t>(y) * kSide;
        std::fill(line + x1, line + x2 + 1, value);
    }
}

// Two views the player alternates between, as the key step does, in the corridor or, the worst case, in a
// maze of walls only; drawn into the view's canvas or, raw, filled straight into memory.
void drawViews(benchmark::State& st, bool corridor, bool raw) {
    Game state;
    state.playerY = kCorridorY;
    if (corridor) {
        TempFile file(corridorMaze());
        FileSource source(file.path());
        readMaze(source, state.maze);
    }
    std::array<QList<testing::Box>, 2> boxes;
    for (int k = 0; k < 2; ++k) {
        testing::RecordingCanvas recorder;
        state.playerX = kCorridorX + k;
        drawView(state, recorder);
        boxes[k] = std::move(recorder.boxes);
    }
    if (!corridor && boxes[0].size() != 177)
        return st.SkipWithError("the worst case did not issue the expected number of boxes");
    MazeView view(row(Control::View), nullptr);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kSide) * kSide);
    int k = 0;
    for (auto _ : st) {
        if (raw) {
            for (const testing::Box& b : boxes[k])
                rawFill(pixels, b);
            benchmark::DoNotOptimize(pixels.data());
        } else {
            state.playerX = kCorridorX + k;
            drawView(state, view.canvas());
            benchmark::DoNotOptimize(view.picture().constBits());
        }
        benchmark::ClobberMemory();
        k ^= 1;
    }
    st.counters["boxes"] = static_cast<double>(boxes[0].size());
}

struct CountingSource : ByteSource {
    explicit CountingSource(ByteSource& source) : inner(source) {}
    long long read(char* buf, std::size_t size) override {
        const long long n = inner.read(buf, size);
        bytes += n > 0 ? n : 0;
        return n;
    }
    ByteSource& inner;
    long long bytes = 0;
};

// The files are made on first use and removed when the run ends.
const TempFile& fullMaze() {
    static TempFile file(corridorMaze());
    return file;
}

// 2 GiB on one line, sparse: the length is there, the blocks are not.
const TempFile& hugeLine() {
    static TempFile file;
    if (file.size() == 0 && !file.resize(2LL << 30)) std::exit(2);
    return file;
}

// The maze, then 64 Mi empty lines.
const TempFile& emptyLines() {
    static TempFile file(corridorMaze());
    const QByteArray chunk = QByteArray("\r\n").repeated(1 << 20);
    for (int i = 0; file.size() == qint64(corridorMaze().size()) && i < 64; ++i) {
        if (file.write(chunk) != chunk.size() || !file.flush()) std::exit(2);
    }
    return file;
}

// Reading the same file to its end: one open, a read of the whole size, the read that returns 0, one close.
void readFullMaze(benchmark::State& st) {
    const std::string path = fullMaze().path();
    const std::size_t size = corridorMaze().size();
    std::vector<char> buffer(size + 1);
    bool whole = true;
    for (auto _ : st) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        whole = whole && ::read(fd, buffer.data(), size) == static_cast<ssize_t>(size) &&
                ::read(fd, buffer.data(), buffer.size()) == 0;
        ::close(fd);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    if (!whole) st.SkipWithError("the file was not read whole and then to its end");
}

// A load, counting the bytes read. Nothing past the 100th cell of a line or the 100th row can change the
// maze: the load stops reading there.
void load(benchmark::State& st, const TempFile& file, bool overflows) {
    MazeGrid grid;
    LoadResult result;
    long long bytes = 0;
    for (auto _ : st) {
        FileSource source(file.path());
        CountingSource counted(source);
        result = readMaze(counted, grid);
        bytes = counted.bytes;
    }
    if (result.overflowed != overflows || (!overflows && result.rowsKept != 100) || result.readError)
        st.SkipWithError("the file did not load as expected");
    st.counters["bytes_read"] = static_cast<double>(bytes);
}

} // namespace

void registerMazeBenchmarks() {
    for (bool corridor : {false, true})
        for (bool raw : {false, true})
            benchmark::RegisterBenchmark((std::string("drawView/") + (corridor ? "corridor/" : "worst/") +
                                          (raw ? "raw_fill" : "MazeView"))
                                             .c_str(),
                                         [=](benchmark::State& st) { drawViews(st, corridor, raw); })
                ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("load/maze100/readMaze", [](benchmark::State& st) {
        load(st, fullMaze(), false);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("load/maze100/read_to_end", readFullMaze)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("load/line_2GiB", [](benchmark::State& st) {
        load(st, hugeLine(), true);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("load/empty_lines_64Mi", [](benchmark::State& st) {
        load(st, emptyLines(), false);
    })->Unit(benchmark::kMicrosecond);
}

} // namespace zirk::bench
