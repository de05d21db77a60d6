// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

constexpr std::size_t kMaxCells = 100;

// Nothing past the last row can change the maze: only the bytes already read are looked at, to tell whether
// the file went on with a row that was cut off.
void lookPastTheLastRow(const char* at, const char* end, LoadResult& result) {
    if (at < end && *at == '\n') ++at; // the LF of the last row's CR LF
    while (at < end) {
        ++result.rows;
        if (*at++ != '\r') {
            result.overflowed = true;
            return;
        }
        if (at < end && *at == '\n') ++at;
    }
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
    }
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

LoadResult readMaze(ByteSource& source, MazeGrid& maze) {
    LoadResult result;
    // A line that never ends costs one read of this size.
    std::array<char, 4096> buffer;
    // A line is stored only once it has ended, so that a line a read error cuts short leaves no trace.
    std::array<unsigned char, kMaxCells> line;
    std::size_t length = 0;
    bool inLine = false;  // a line has started and not yet ended
    bool afterCr = false; // the previous read ended on a CR, whose LF may start this one
    const auto store = [&] {
        maze.setRow(result.rows, line.data(), static_cast<int>(length));
        result.columns = std::max(result.columns, static_cast<long long>(length));
    };
    for (;;) {
        const long long got = source.read(buffer.data(), buffer.size());
        if (got < 0) {
            result.readError = true;
            return result;
        }
        if (got == 0) break;
        const char* at = buffer.data();
        const char* const end = at + got;
        if (afterCr && *at == '\n') ++at;
        afterCr = false;
        while (at < end) {
            if (!inLine) {
                ++result.rows;
                inLine = true;
                length = 0;
            }
            // One byte past the cells that fit is looked at: a CR there ends the line, anything else ends the
            // load, without reading any further.
            const std::size_t room = kMaxCells - length;
            const std::size_t span = std::min(static_cast<std::size_t>(end - at), room + 1);
            const char* cr = static_cast<const char*>(std::memchr(at, '\r', span));
            const std::size_t cells = cr ? static_cast<std::size_t>(cr - at) : std::min(span, room);
            // A file saved with bare line feeds reads as one long line of walls; the first one is reported.
            // The byte that does not fit counts too: a maze of 100 columns saved with LF overflows on its
            // first one.
            if (result.firstLoneLineFeed == 0 && std::memchr(at, '\n', cr ? cells : span))
                result.firstLoneLineFeed = result.rows;
            std::memcpy(line.data() + length, at, cells);
            length += cells;
            at += cells;
            if (!cr && at == end) break; // the line goes on in the next read
            store();
            if (!cr) {
                result.overflowed = true; // what fits is kept
                return result;
            }
            result.rowsKept = result.rows;
            inLine = false;
            ++at;
            if (result.rows == static_cast<long long>(kMaxCells)) {
                lookPastTheLastRow(at, end, result);
                return result;
            }
            if (at == end)
                afterCr = true;
            else if (*at == '\n')
                ++at;
        }
    }
    if (inLine) { // the last line ends with the file
        store();
        result.rowsKept = result.rows;
    }
    return result;
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

} // namespace zirk
