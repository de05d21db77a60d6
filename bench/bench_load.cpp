// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a maze: a full one against the bare cost of reading its bytes, and two hostile files whose size
// must not matter.

#include "benchsupport.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace zirk::bench {

namespace {

constexpr long long kHugeLine = 2LL << 30;    // 2 GiB
constexpr long long kEmptyLines = 64LL << 20; // 64 Mi lines of CR LF after the maze

class CountingSource : public ByteSource {
public:
    explicit CountingSource(ByteSource& inner) : inner_(inner) {}
    long long read(char* buf, std::size_t size) override {
        const long long n = inner_.read(buf, size);
        if (n > 0) bytes += n;
        return n;
    }
    long long bytes = 0;

private:
    ByteSource& inner_;
};

// Each file is made on first use and removed when the run ends.
const TempFile& fullMaze() {
    static const std::unique_ptr<TempFile> file = [] {
        auto f = std::make_unique<TempFile>("maze100");
        f->write(corridorMaze());
        return f;
    }();
    return *file;
}

const TempFile& hugeLine() {
    static const std::unique_ptr<TempFile> file = [] {
        auto f = std::make_unique<TempFile>("line2g");
        // Sparse: the length is there, the blocks are not.
        if (::ftruncate(f->fd(), kHugeLine) != 0) {
            std::perror("ftruncate");
            std::exit(2);
        }
        return f;
    }();
    return *file;
}

const TempFile& emptyLines() {
    static const std::unique_ptr<TempFile> file = [] {
        auto f = std::make_unique<TempFile>("emptylines");
        f->write(corridorMaze());
        std::string chunk;
        constexpr long long kChunkLines = 1 << 20;
        chunk.reserve(2 * kChunkLines);
        for (long long i = 0; i < kChunkLines; ++i)
            chunk += "\r\n";
        for (long long done = 0; done < kEmptyLines; done += kChunkLines)
            f->write(chunk);
        return f;
    }();
    return *file;
}

long long fileSize(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const long long size = ::lseek(fd, 0, SEEK_END);
    ::close(fd);
    return size;
}

void loadFullMaze(benchmark::State& st) {
    const std::string& path = fullMaze().path();
    MazeGrid grid;
    long long rows = 0;
    for (auto _ : st) {
        FileSource source(path);
        rows = readMaze(source, grid).rows;
        benchmark::DoNotOptimize(&grid);
    }
    if (rows != 100) st.SkipWithError("the maze did not load in full");
    st.SetBytesProcessed(st.iterations() * fileSize(path));
}

// The floor under any loader: the same bytes fetched with the calls a loader must make to know it has them
// all, since a file may grow after its size was taken: one open, a read of the whole size, the read that says
// the end (returns 0), one close.
void readFullMazeToEnd(benchmark::State& st) {
    const std::string& path = fullMaze().path();
    const long long size = fileSize(path);
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
    long long got = 0;
    long long atEnd = -1;
    for (auto _ : st) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        got = ::read(fd, buffer.data(), static_cast<std::size_t>(size));
        atEnd = ::read(fd, buffer.data(), buffer.size());
        ::close(fd);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    if (got != size || atEnd != 0) st.SkipWithError("the file was not read whole and then to its end");
    st.SetBytesProcessed(st.iterations() * size);
}

void loadHugeLine(benchmark::State& st) {
    const std::string& path = hugeLine().path();
    MazeGrid grid;
    long long bytes = 0;
    bool overflowed = false;
    for (auto _ : st) {
        FileSource file(path);
        CountingSource source(file);
        overflowed = readMaze(source, grid).overflowed;
        bytes = source.bytes;
    }
    if (!overflowed) st.SkipWithError("the line did not end the load");
    st.counters["bytes_read"] = static_cast<double>(bytes);
    st.counters["file_bytes"] = static_cast<double>(kHugeLine);
}

// Nothing past the 100th row can change the maze, so the load reads no further than the buffer that holds it.
void loadPastEmptyLines(benchmark::State& st) {
    const std::string& path = emptyLines().path();
    MazeGrid grid;
    LoadResult result;
    long long bytes = 0;
    for (auto _ : st) {
        FileSource file(path);
        CountingSource source(file);
        result = readMaze(source, grid);
        bytes = source.bytes;
    }
    if (result.rowsKept != 100 || result.overflowed || result.readError)
        st.SkipWithError("the file did not load as 100 rows");
    st.counters["bytes_read"] = static_cast<double>(bytes);
    st.counters["file_bytes"] = static_cast<double>(fileSize(path));
}

} // namespace

void registerLoadBenchmarks() {
    benchmark::RegisterBenchmark("load/maze100/readMaze", loadFullMaze)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("load/maze100/read_to_end", readFullMazeToEnd)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("load/line_2GiB", loadHugeLine)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("load/empty_lines_64Mi", loadPastEmptyLines)->Unit(benchmark::kMicrosecond);
}

} // namespace zirk::bench
