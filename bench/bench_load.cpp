// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a maze: a full one against reading its bytes, and two hostile files whose size must not matter.

#include "benchsupport.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace zirk::bench {

namespace {

class CountingSource : public ByteSource {
public:
    explicit CountingSource(ByteSource& inner) : inner_(inner) {}
    long long read(char* buf, std::size_t size) override {
        const long long n = inner_.read(buf, size);
        bytes += n > 0 ? n : 0;
        return n;
    }
    long long bytes = 0;

private:
    ByteSource& inner_;
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

void loadFullMaze(benchmark::State& st) {
    MazeGrid grid;
    long long rows = 0;
    for (auto _ : st) {
        FileSource source(fullMaze().path());
        rows = readMaze(source, grid).rows;
        benchmark::DoNotOptimize(&grid);
    }
    if (rows != 100) st.SkipWithError("the maze did not load in full");
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

// Nothing past the 100th cell of a line or the 100th row can change the maze: the load stops reading there.
void loadHostile(benchmark::State& st, const TempFile& file, bool overflows) {
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

void registerLoadBenchmarks() {
    benchmark::RegisterBenchmark("load/maze100/readMaze", loadFullMaze)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("load/maze100/read_to_end", readFullMaze)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("load/line_2GiB", [](benchmark::State& st) {
        loadHostile(st, hugeLine(), true);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("load/empty_lines_64Mi", [](benchmark::State& st) {
        loadHostile(st, emptyLines(), false);
    })->Unit(benchmark::kMicrosecond);
}

} // namespace zirk::bench
