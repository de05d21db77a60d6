// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define ZIRK_LOADER_AVX2 1
// The C library has asked the processor already; __builtin_cpu_supports would add a start-up step that asks
// again. Clang cannot read the C library's header as C++.
#if __has_include(<sys/platform/x86.h>) && !defined(__clang__)
#include <sys/platform/x86.h>
#define ZIRK_HAS_AVX2() CPU_FEATURE_ACTIVE(AVX2)
#else
#define ZIRK_HAS_AVX2() __builtin_cpu_supports("avx2")
#endif
#endif

namespace zirk {

namespace {

OpenFailure failureOf(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return OpenFailure::Missing;
    case EACCES:
    case EPERM:
        return OpenFailure::AccessRefused;
    case ELOOP:
        return OpenFailure::LinkLoop;
    case ENXIO: // a socket, or a device with nothing behind it
        return OpenFailure::Socket;
    default:
        return OpenFailure::Other;
    }
}

OpenFailure failureOf(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return OpenFailure::Folder;
    if (S_ISFIFO(st.st_mode)) return OpenFailure::Fifo;
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return OpenFailure::Device;
    if (S_ISSOCK(st.st_mode)) return OpenFailure::Socket;
    return OpenFailure::Other;
}

} // namespace

FileSource::FileSource(const std::string& path) {
    if (path.empty()) {
        failure_ = OpenFailure::Missing;
        return;
    }
    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; the type check below then rejects it.
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) {
        failure_ = failureOf(errno);
        return;
    }
    // O_NONBLOCK changes nothing for the regular files that remain.
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        failure_ = OpenFailure::Other;
        close();
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        failure_ = failureOf(st);
        close();
        return;
    }
    size_ = st.st_size;
}

FileSource::~FileSource() {
    close();
}

void FileSource::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

long long FileSource::read(char* buf, std::size_t size) {
    if (fd_ < 0) return -1;
    for (;;) {
        const ssize_t n = ::read(fd_, buf, size);
        if (n >= 0) return n;
        if (errno != EINTR) return -1;
    }
}

namespace {

constexpr int kMaxCells = 100;

// Buffered byte-at-a-time access with one byte of look-ahead, for the CR LF pair.
class Reader {
public:
    explicit Reader(ByteSource& source) : source_(source) {}

    // -1 at the end, -2 on an error.
    int peek() {
        if (pos_ == len_ && !fill()) return failed_ ? -2 : -1;
        return static_cast<unsigned char>(buf_[pos_]);
    }
    int get() {
        const int c = peek();
        if (c >= 0) ++pos_;
        return c;
    }
    // The bytes already read and not yet taken; empty only at the end or after an error.
    std::string_view available() {
        if (pos_ == len_ && !fill()) return {};
        return {buf_.data() + pos_, len_ - pos_};
    }
    void advance(std::size_t n) { pos_ += n; }
    // The bytes already read and not yet taken, without asking the source for more.
    std::string_view buffered() const { return {buf_.data() + pos_, len_ - pos_}; }
    bool failed() const { return failed_; }

private:
    bool fill() {
        if (done_) return false;
        // A file that fits the buffer is fetched whole, so that it costs one call. Otherwise a small first
        // read: a maze fits in it, and a file that overflows on its first line costs no more.
        std::size_t want = buf_.size();
        if (first_) {
            const long long whole = source_.sizeHint();
            want = whole > 0 && static_cast<unsigned long long>(whole) <= buf_.size()
                       ? static_cast<std::size_t>(whole)
                       : kFirstRead;
            first_ = false;
        }
        const long long n = source_.read(buf_.data(), want);
        if (n <= 0) {
            done_ = true;
            failed_ = n < 0;
            return false;
        }
        pos_ = 0;
        len_ = static_cast<std::size_t>(n);
        return true;
    }

    static constexpr std::size_t kFirstRead = 4096;

    ByteSource& source_;
    // Left uninitialised: only bytes a read has filled are ever looked at.
    std::array<char, 65536> buf_;
    bool first_ = true;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    bool done_ = false;
    bool failed_ = false;
};

// Lines that lie whole in the buffer, the usual case, are found and stored without the general path's copies
// and calls, which were most of the time a maze took to load. A line is taken when its CR lies among its
// first kMaxCells + 1 bytes: then the cells before it are written to its row. A line without one there
// overflows, which the general path then finds again.
struct WholeLine {
    bool found = false;
    std::size_t length = 0; // cells before the CR
    bool lineFeed = false;  // one of them was a line feed
};

// A line from bytes of which kMaxCells + 1 may be looked at.
WholeLine takeFullLine(const unsigned char* bytes, Cell* row) {
    WholeLine line;
    const void* cr = std::memchr(bytes, '\r', kMaxCells + 1);
    if (!cr) return line;
    line.found = true;
    line.length = static_cast<std::size_t>(static_cast<const unsigned char*>(cr) - bytes);
    unsigned char lineFeed = 0;
    for (std::size_t i = 0; i < line.length; ++i) {
        lineFeed |= bytes[i] == '\n';
        row[i] = cellForBranchless(bytes[i]);
    }
    line.lineFeed = lineFeed != 0;
    return line;
}

#ifdef ZIRK_LOADER_AVX2
#define ZIRK_AVX2 [[gnu::target("avx2")]]

ZIRK_AVX2 inline __m256i load32(const void* at) {
    return _mm256_loadu_si256(static_cast<const __m256i*>(at));
}

ZIRK_AVX2 inline unsigned crsIn(__m256i bytes) {
    return static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('\r'))));
}

ZIRK_AVX2 inline __m256i lineFeedsIn(__m256i bytes) {
    return _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('\n'));
}

// What cellFor gives for each of 32 bytes: looked up by the low four bits, for the bytes whose high four bits
// are those of the digits.
ZIRK_AVX2 inline __m256i cellsOf(__m256i bytes) {
    const __m256i byLowBits = _mm256_setr_epi8(0, 1, 2, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, //
                                               0, 1, 2, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0);
    const __m256i digitRow = _mm256_cmpeq_epi8(
        _mm256_and_si256(bytes, _mm256_set1_epi8(static_cast<char>(0xF0))), _mm256_set1_epi8(0x30));
    return _mm256_and_si256(_mm256_shuffle_epi8(byLowBits, bytes), digitRow);
}

// The cells of a 32-byte block in which a line ends after `count` of them, written over the row's `old` cells
// so that those beyond the line stay as they were; the line feeds among the cells are added to `lineFeeds`.
ZIRK_AVX2 inline void storeLineEnd(__m256i in, int count, __m256i old, unsigned char* out,
                                   __m256i& lineFeeds) {
    const __m256i index = _mm256_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18,
                                           19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31);
    const __m256i keep = _mm256_cmpgt_epi8(_mm256_set1_epi8(static_cast<char>(count)), index);
    lineFeeds = _mm256_or_si256(lineFeeds, _mm256_and_si256(lineFeedsIn(in), keep));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_blendv_epi8(old, cellsOf(in), keep));
}

ZIRK_AVX2 inline WholeLine ended(int length, __m256i lineFeeds) {
    return {true, static_cast<std::size_t>(length), !_mm256_testz_si256(lineFeeds, lineFeeds)};
}

// takeFullLine 32 bytes at a time. Cells are written as they are mapped, before the CR is found: a line
// without one overflows, and the general path then writes its first kMaxCells cells just the same.
ZIRK_AVX2 inline WholeLine takeFullLineAvx2(const unsigned char* bytes, Cell* row) {
    static_assert(kMaxCells == 100, "the blocks below are laid out for lines of 100 cells");
    auto* out = reinterpret_cast<unsigned char*>(row);
    __m256i lineFeeds = _mm256_setzero_si256();
    for (int at = 0; at < 64; at += 32) {
        const __m256i in = load32(bytes + at);
        const unsigned crs = crsIn(in);
        if (crs != 0) {
            const int count = __builtin_ctz(crs);
            storeLineEnd(in, count, load32(out + at), out + at, lineFeeds);
            return ended(at + count, lineFeeds);
        }
        lineFeeds = _mm256_or_si256(lineFeeds, lineFeedsIn(in));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + at), cellsOf(in));
    }
    // Cells 64..95, then 68..99 and the byte after them. Every old cell is read before anything is stored
    // here: read after a store that overlaps it, it would wait for that store to finish.
    const __m256i third = load32(bytes + 64);
    const __m256i oldThird = load32(out + 64);
    const unsigned thirdCrs = crsIn(third);
    if (thirdCrs != 0) {
        const int count = __builtin_ctz(thirdCrs);
        storeLineEnd(third, count, oldThird, out + 64, lineFeeds);
        return ended(64 + count, lineFeeds);
    }
    const __m256i last = load32(bytes + 68);
    const __m256i oldLast = load32(out + 68);
    const unsigned lastCrs = crsIn(load32(bytes + 69)) >> (96 - 69); // CRs at 96..100, from bit 0
    lineFeeds = _mm256_or_si256(lineFeeds, lineFeedsIn(third));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 64), cellsOf(third));
    if (lastCrs == 0) return {};
    const int count = 96 + __builtin_ctz(lastCrs) - 68;
    storeLineEnd(last, count, oldLast, out + 68, lineFeeds);
    return ended(68 + count, lineFeeds);
}
#undef ZIRK_AVX2
#endif

// Whole lines one after another, as long as each has kMaxCells + 2 bytes ahead of it in the buffer: its
// cells, its CR, and the byte that may be the LF of its CR LF.
struct Lines {
    std::size_t used = 0;            // bytes taken, line ends included
    long long count = 0;             // lines taken
    long long firstWithLineFeed = 0; // the first of them, from 1, with a line feed among its cells; 0 if none
    std::size_t widest = 0;          // cells in the longest of them
};

template <WholeLine (*take)(const unsigned char*, Cell*)>
[[gnu::always_inline]] inline Lines takeLinesWith(std::string_view buffer, MazeGrid& maze, long long firstRow,
                                                  long long lastRow) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
    Lines lines;
    std::size_t stride = 0;
    for (long long y = firstRow; y <= lastRow && buffer.size() - lines.used >= kMaxCells + 2; ++y) {
        const WholeLine line = take(bytes + lines.used, maze.row(y, kMaxCells));
        if (!line.found) break;
        ++lines.count;
        lines.widest = std::max(lines.widest, line.length);
        if (line.lineFeed && lines.firstWithLineFeed == 0) lines.firstWithLineFeed = lines.count;
        // Where the next line starts is known only once this one's CR is found, which would make each line
        // wait for the one before. Lines mostly take as many bytes as the line before them, so that is what
        // the next one starts from: as a branch, not a data dependency, so the processor goes on without
        // waiting and only pays when a line's length changes. The empty asm keeps the compiler from turning
        // the branch back into a plain assignment.
        const std::size_t took = line.length + 1 + (bytes[lines.used + line.length + 1] == '\n');
        if (took != stride) {
            stride = took;
            asm("" : "+r"(stride));
        }
        lines.used += stride;
    }
    return lines;
}

Lines takeLines(std::string_view buffer, MazeGrid& maze, long long firstRow, long long lastRow) {
    return takeLinesWith<takeFullLine>(buffer, maze, firstRow, lastRow);
}

#ifdef ZIRK_LOADER_AVX2
[[gnu::target("avx2")]] Lines takeLinesAvx2(std::string_view buffer, MazeGrid& maze, long long firstRow,
                                            long long lastRow) {
    return takeLinesWith<takeFullLineAvx2>(buffer, maze, firstRow, lastRow);
}
#endif

// The way of taking lines this processor runs fastest.
using TakeLines = Lines (*)(std::string_view, MazeGrid&, long long, long long);
TakeLines takeLinesHere() {
#ifdef ZIRK_LOADER_AVX2
    if (ZIRK_HAS_AVX2()) return takeLinesAvx2;
#endif
    return takeLines;
}

} // namespace

namespace {

// Nothing past the last row can change the maze: only the bytes already read are looked at, to tell whether
// the file went on with a row that was cut off.
void lookPastTheLastRow(std::string_view rest, LoadResult& result) {
    for (std::size_t i = 0; i < rest.size();) {
        ++result.rows;
        if (rest[i] != '\r') {
            result.overflowed = true;
            return;
        }
        ++i;
        if (i < rest.size() && rest[i] == '\n') ++i;
    }
}

} // namespace

LoadResult readMaze(ByteSource& source, MazeGrid& maze) {
    Reader in(source);
    LoadResult result;
    std::array<unsigned char, kMaxCells> line{};
    // A file saved with bare line feeds reads as one long line of walls; the first one found is reported.
    const auto noteLineFeeds = [&result](const char* cells, std::size_t count) {
        if (result.firstLoneLineFeed == 0 && count > 0 && std::memchr(cells, '\n', count))
            result.firstLoneLineFeed = result.rows;
    };
    static const TakeLines takeWholeLines = takeLinesHere();
    for (;;) {
        if (result.rows < kMaxCells) {
            const Lines lines = takeWholeLines(in.available(), maze, result.rows + 1, kMaxCells);
            if (lines.count > 0) {
                if (lines.firstWithLineFeed != 0 && result.firstLoneLineFeed == 0)
                    result.firstLoneLineFeed = result.rows + lines.firstWithLineFeed;
                result.rows += lines.count;
                result.rowsKept = result.rows;
                result.columns = std::max(result.columns, static_cast<long long>(lines.widest));
                in.advance(lines.used);
            }
        }
        if (result.rowsKept == kMaxCells) {
            lookPastTheLastRow(in.buffered(), result);
            return result;
        }
        const int first = in.peek();
        if (first == -2) {
            result.readError = true;
            return result;
        }
        if (first == -1) return result;
        ++result.rows;
        // Empty lines, with CR LF or a lone CR, are passed over at once.
        if (first == '\r') {
            const std::string_view bytes = in.available();
            if (bytes.size() >= 2) {
                in.advance(bytes[1] == '\n' ? 2 : 1);
                result.rowsKept = result.rows;
                continue;
            }
        }
        // A whole line is read before any of it is stored, so a line that fails half way leaves no trace.
        int length = 0;
        bool ended = false;
        bool stored = false;
        while (!ended) {
            const std::string_view bytes = in.available();
            if (bytes.empty()) {
                if (in.failed()) {
                    result.readError = true;
                    return result;
                }
                break; // the last line ends with the file
            }
            const void* cr = std::memchr(bytes.data(), '\r', bytes.size());
            const std::size_t take =
                cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - bytes.data()) : bytes.size();
            const std::size_t room =
                result.rows > kMaxCells ? 0 : static_cast<std::size_t>(kMaxCells - length);
            if (take > room) {
                // A cell that would fall outside the grid: what fits is kept and the load ends here, without
                // reading the rest of the line.
                std::memcpy(line.data() + length, bytes.data(), room);
                noteLineFeeds(bytes.data(), room);
                length += static_cast<int>(room);
                if (result.rows <= kMaxCells) {
                    maze.setRow(result.rows, line.data(), length);
                    result.columns = std::max(result.columns, static_cast<long long>(length));
                }
                result.overflowed = true;
                return result;
            }
            noteLineFeeds(bytes.data(), take);
            if (cr && length == 0) {
                // The whole line lies in the buffer (as every line of a maze that fits it does): no copy
                // needed.
                maze.setRow(result.rows, reinterpret_cast<const unsigned char*>(bytes.data()),
                            static_cast<int>(take));
                result.columns = std::max(result.columns, static_cast<long long>(take));
                stored = true;
            } else {
                std::memcpy(line.data() + length, bytes.data(), take);
                length += static_cast<int>(take);
            }
            in.advance(take);
            if (cr) {
                in.advance(1);
                if (in.peek() == '\n') in.get();
                ended = true;
            }
        }
        if (!stored) {
            maze.setRow(result.rows, line.data(), length);
            result.columns = std::max(result.columns, static_cast<long long>(length));
        }
        result.rowsKept = result.rows;
    }
}

MazeRead readMazeFile(MazeFile& file) {
    MazeRead read;
    if (file.isOpen()) {
        read.maze.emplace();
        read.result = readMaze(file, *read.maze);
    } else {
        read.result.readError = true;
        read.result.openFailure = file.failure();
    }
    return read;
}

void enterMaze(Game& game, MazeRead&& read, Canvas& canvas) {
    game.playerX = kStartColumn;
    game.playerY = kStartRow;
    if (read.maze) game.maze = *read.maze;
    drawView(game, canvas);
}

LoadResult openMaze(Game& game, const std::string& path, Canvas& canvas) {
    MazeRead read;
    {
        FileSource file(path);
        read = readMazeFile(file);
    }
    const LoadResult result = read.result;
    enterMaze(game, std::move(read), canvas);
    return result;
}

} // namespace zirk
