// SPDX-License-Identifier: GPL-3.0-or-later
// The maze loader against arbitrary bytes, handed out in arbitrary pieces.
//
// Input layout. The maze text comes first, so that a maze file on its own is already a meaningful input; the
// few bytes that steer the run are taken from its end, last byte first:
//   flags     bit 0  two loads onto the same grid: the text is split in two and the second part is read
//                    onto whatever the first left behind
//             bit 1  the source reports an error instead of its end after the last byte of the (last) load
//             bit 2  the same for the first of two loads
//             bit 3  the grid starts filled with floor and exits everywhere, borders included, so that any
//                    stray write (a wall written where nothing should be written) shows
//             bits 4-7  K, the number of chunk-size bytes that follow
//   split (2 bytes, only with bit 0)  where the text is cut, modulo its length + 1
//   K chunk-size bytes   the sizes of successive reads, cycled; none means every read is served in full
//
// Every load is compared with a model that works on the whole buffer at once, line by line, where the loader
// streams byte by byte through a buffer of its own; the two share nothing but the rules.

#include "fuzzcheck.h"
#include "grid.h"
#include "loader.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

using namespace zirk;
using namespace zirk::fuzz;

namespace {

constexpr int kLimit = 100; // rows and columns a maze file can fill, both from 1

// The grid as the model sees it, first index the column.
using Picture = std::array<std::array<Cell, kSide>, kSide>;

struct Reads {
    std::size_t delivered = 0;           // bytes handed out so far
    std::size_t deliveredBeforeLast = 0; // what had been handed out when the last call was made
    bool ended = false;                  // the end (or the error) has been reported once
};

// Serves its bytes in the chunk sizes it is given, then reports the end or an error, and records how it was
// asked.
class ChunkedSource : public ByteSource {
public:
    ChunkedSource(const std::uint8_t* data, std::size_t size, const std::vector<std::size_t>& chunks,
                  bool errorAtEnd)
        : data_(data), size_(size), chunks_(chunks), errorAtEnd_(errorAtEnd) {}

    long long read(char* buf, std::size_t size) override {
        check(!reads.ended, "the loader read on after the source had reported its end");
        // A zero-byte request would get the 0 that means "end", and the loader would take it for one.
        check(size > 0, "the loader asked for zero bytes");
        reads.deliveredBeforeLast = reads.delivered;
        if (reads.delivered == size_) {
            reads.ended = true;
            return errorAtEnd_ ? -1 : 0;
        }
        std::size_t n = std::min(size, size_ - reads.delivered);
        if (!chunks_.empty()) n = std::min(n, chunks_[next_++ % chunks_.size()]);
        std::memcpy(buf, data_ + reads.delivered, n);
        reads.delivered += n;
        return static_cast<long long>(n);
    }

    Reads reads;

private:
    const std::uint8_t* data_;
    std::size_t size_;
    const std::vector<std::size_t>& chunks_;
    bool errorAtEnd_;
    std::size_t next_ = 0;
};

struct Expected {
    long long rows = 0;
    bool overflowed = false;
    bool readError = false;
    std::size_t consumed = 0; // bytes the loader must have taken to reach its verdict
    // Where the 100th row's CR ends, once it has one: from there on the loader reads nothing more.
    std::optional<std::size_t> lastRowEnd;
};

Cell cellOf(std::uint8_t c) {
    return c >= '0' && c <= '9' ? cellOfDigit(c - '0') : Cell::Wall;
}

void writeRow(Picture& p, long long row, const std::uint8_t* cells, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        p[i + 1 - kLow][row - kLow] = cellOf(cells[i]);
}

// Past the 100th row only the bytes already read (`seen` of them) are looked at: a line there that is not
// empty means the maze was cut.
Expected pastTheLastRow(const std::uint8_t* text, std::size_t pos, std::size_t seen, Expected e) {
    while (pos < seen) {
        ++e.rows;
        if (text[pos] != '\r') {
            e.overflowed = true;
            e.consumed = pos + 1;
            return e;
        }
        ++pos;
        if (pos < seen && text[pos] == '\n') ++pos;
    }
    return e;
}

// The rules, applied to the whole text: cut it into lines at every CR (eating one LF right after it), then
// keep each line that fits, and stop at the first cell that would not, or once the 100th row is complete.
Expected model(const std::uint8_t* text, std::size_t size, std::size_t seen, bool errorAtEnd, Picture& p) {
    Expected e;
    std::size_t pos = 0;
    while (pos < size) {
        ++e.rows;
        const std::uint8_t* cr = static_cast<const std::uint8_t*>(std::memchr(text + pos, '\r', size - pos));
        const std::size_t end = cr ? static_cast<std::size_t>(cr - text) : size;
        const std::size_t length = end - pos;
        if (e.rows > kLimit && length > 0) {
            e.overflowed = true;
            e.consumed = pos + 1;
            return e;
        }
        if (length > kLimit) {
            writeRow(p, e.rows, text + pos, kLimit);
            e.overflowed = true;
            e.consumed = pos + kLimit + 1;
            return e;
        }
        if (!cr && errorAtEnd) {
            // The error cut this line short: none of it is kept.
            e.readError = true;
            e.consumed = size;
            return e;
        }
        writeRow(p, e.rows, text + pos, length);
        pos = end + 1;
        if (e.rows == kLimit) {
            e.consumed = std::min(pos, size);
            if (cr) e.lastRowEnd = pos;
            if (cr && pos < size && text[pos] == '\n') ++pos;
            return pastTheLastRow(text, pos, std::max(seen, pos), e);
        }
        if (cr && pos < size && text[pos] == '\n') ++pos;
    }
    e.readError = errorAtEnd;
    e.consumed = size;
    return e;
}

// How far down and across this text could reach at all, whatever the rules: a bound that needs no model.
struct Reach {
    long long lines = 1;
    std::size_t longest = 0;
};

ZIRK_UNTRACED Reach reachOf(const std::uint8_t* text, std::size_t size) {
    Reach r;
    std::size_t run = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (text[i] == '\r') {
            ++r.lines;
            run = 0;
        } else {
            r.longest = std::max(r.longest, ++run);
        }
    }
    return r;
}

// One pass over the whole grid, every cell read through the grid's own interface: each run reads 11025 cells
// per load, so everything about a cell is checked while it is at hand. The ring just outside costs 428 reads
// more: whatever the grid holds, it must answer wall there.
ZIRK_UNTRACED void checkGrid(const MazeGrid& maze, const Picture& before, const Picture& reference,
                             const Reach& reach) {
    for (int i = kLow - 1; i <= kHigh + 1; ++i) {
        check(maze.at(i, kLow - 1) == Cell::Wall && maze.at(i, kHigh + 1) == Cell::Wall &&
                  maze.at(kLow - 1, i) == Cell::Wall && maze.at(kHigh + 1, i) == Cell::Wall,
              "a cell beyond the edge of the grid is not wall");
    }
    for (int x = kLow; x <= kHigh; ++x)
        for (int y = kLow; y <= kHigh; ++y) {
            const Cell got = maze.at(x, y);
            const bool reachable = x >= 1 && y >= 1 && x <= kLimit && y <= kLimit &&
                                   static_cast<std::size_t>(x) <= reach.longest && y <= reach.lines;
            if (!reachable && got != before[x - kLow][y - kLow]) {
                std::fprintf(stderr, "cell (%d, %d) changed from %d to %d\n", x, y,
                             static_cast<int>(before[x - kLow][y - kLow]), static_cast<int>(got));
                fail("a cell no line of the text reaches was changed");
            }
            if (got != reference[x - kLow][y - kLow]) {
                std::fprintf(stderr, "cell (%d, %d): loader %d, model %d\n", x, y, static_cast<int>(got),
                             static_cast<int>(reference[x - kLow][y - kLow]));
                fail("the loaded grid differs from the model");
            }
        }
}

// `reference` holds what the grid holds before the load, and is brought along by the model.
void loadAndCheck(MazeGrid& maze, Picture& reference, const std::uint8_t* text, std::size_t size,
                  const std::vector<std::size_t>& chunks, bool errorAtEnd) {
    const Picture before = reference;
    ChunkedSource source(text, size, chunks, errorAtEnd);
    const LoadResult got = readMaze(source, maze);
    const Expected want = model(text, size, source.reads.delivered, errorAtEnd, reference);

    checkGrid(maze, before, reference, reachOf(text, size));

    check(got.rows == want.rows, "rows differ from the model");
    check(got.overflowed == want.overflowed, "overflowed differs from the model");
    check(got.readError == want.readError, "readError differs from the model");
    check(!(got.overflowed && got.readError), "a load both overflowed and failed");

    const Reads& r = source.reads;
    check(r.delivered >= want.consumed, "the loader decided without reading the bytes that decide");
    if (want.lastRowEnd) {
        // Nothing past the 100th row is asked for: at most the byte after its CR, to see whether it is an LF.
        check(r.deliveredBeforeLast <= *want.lastRowEnd, "the loader read on past the 100th row");
    } else if (want.overflowed) {
        // It stops at the cell that does not fit: the last read asked for was needed to get that cell.
        check(r.deliveredBeforeLast < want.consumed, "the loader read on past the cell that ended the load");
        check(!r.ended, "the loader read to the end of a text whose load had already ended");
    } else if (want.rows < kLimit) {
        check(r.ended, "the loader stopped before the end of the text");
    }
}

// Takes the steering bytes off the end of the input.
struct Tail {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t pop() { return size > 0 ? data[--size] : 0; }
};

std::size_t chunkSize(std::uint8_t b) {
    // Small pieces are the interesting ones (a CR LF pair cut in two); the large ones cross the loader's own
    // buffer boundary.
    return b < 0xE0 ? std::size_t{b} + 1 : std::size_t{1} << (b - 0xE0 + 8);
}

ZIRK_UNTRACED void fillWithOpenCells(MazeGrid& maze, Picture& reference, int offset) {
    for (int x = kLow; x <= kHigh; ++x)
        for (int y = kLow; y <= kHigh; ++y) {
            const Cell c = (3 * (x - kLow) + 7 * (y - kLow) + offset) % 9 == 0 ? Cell::Exit : Cell::Floor;
            check(maze.set(x, y, c), "an in-range cell could not be written");
            reference[x - kLow][y - kLow] = c;
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Tail tail{data, size};
    const std::uint8_t flags = tail.pop();
    const bool twoLoads = flags & 1;
    const bool errorLast = flags & 2;
    const bool errorFirst = flags & 4;
    const bool prefill = flags & 8;
    std::size_t split = 0;
    if (twoLoads) {
        split = tail.pop();
        split = split << 8 | tail.pop();
    }
    std::vector<std::size_t> chunks;
    for (int k = flags >> 4; k > 0; --k)
        chunks.push_back(chunkSize(tail.pop()));
    const std::uint8_t* text = data;
    const std::size_t textSize = tail.size;

    MazeGrid maze;
    Picture reference{}; // all wall, as a fresh grid
    if (prefill) fillWithOpenCells(maze, reference, flags);

    if (twoLoads) {
        split %= textSize + 1;
        loadAndCheck(maze, reference, text, split, chunks, errorFirst);
        loadAndCheck(maze, reference, text + split, textSize - split, chunks, errorLast);
    } else {
        loadAndCheck(maze, reference, text, textSize, chunks, errorLast);
    }
    return 0;
}
