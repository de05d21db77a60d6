#include "loader.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

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
    if (S_ISDIR(st.st_mode))
        return OpenFailure::Folder;
    if (S_ISFIFO(st.st_mode))
        return OpenFailure::Fifo;
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return OpenFailure::Device;
    if (S_ISSOCK(st.st_mode))
        return OpenFailure::Socket;
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

FileSource::~FileSource() { close(); }

void FileSource::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

long long FileSource::read(char* buf, std::size_t size) {
    if (fd_ < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::read(fd_, buf, size);
        if (n >= 0)
            return n;
        if (errno != EINTR)
            return -1;
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
        if (pos_ == len_ && !fill())
            return failed_ ? -2 : -1;
        return static_cast<unsigned char>(buf_[pos_]);
    }
    int get() {
        const int c = peek();
        if (c >= 0)
            ++pos_;
        return c;
    }
    // The bytes already read and not yet taken; empty only at the end or after an error.
    std::string_view available() {
        if (pos_ == len_ && !fill())
            return {};
        return {buf_.data() + pos_, len_ - pos_};
    }
    void advance(std::size_t n) { pos_ += n; }
    bool failed() const { return failed_; }

private:
    bool fill() {
        if (done_)
            return false;
        // A file that fits the buffer is fetched whole, so that it costs one call. Otherwise a small first read:
        // a maze fits in it, and a file that overflows on its first line costs no more.
        std::size_t want = buf_.size();
        if (first_) {
            const long long whole = source_.sizeHint();
            want = whole > 0 && static_cast<unsigned long long>(whole) <= buf_.size() ? static_cast<std::size_t>(whole)
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
    for (;;) {
        const int first = in.peek();
        if (first == -2) {
            result.readError = true;
            return result;
        }
        if (first == -1)
            return result;
        ++result.rows;
        // Runs of empty lines (past the last row they are all a file may hold) are passed over in one go.
        if (first == '\r') {
            const std::string_view bytes = in.available();
            if (bytes.size() >= 2 && bytes[1] == '\n') {
                in.advance(2);
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
            const std::size_t take = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - bytes.data())
                                        : bytes.size();
            const std::size_t room = result.rows > kMaxCells ? 0 : static_cast<std::size_t>(kMaxCells - length);
            if (take > room) {
                // A cell that would fall outside the grid: what fits is kept and the load ends here, without
                // reading the rest of the line.
                std::memcpy(line.data() + length, bytes.data(), room);
                noteLineFeeds(bytes.data(), room);
                length += static_cast<int>(room);
                if (result.rows <= kMaxCells)
                    maze.setRow(result.rows, line.data(), length);
                result.overflowed = true;
                return result;
            }
            noteLineFeeds(bytes.data(), take);
            if (cr && length == 0) {
                // The whole line lies in the buffer (as every line of a maze that fits it does): no copy needed.
                maze.setRow(result.rows, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(take));
                stored = true;
            } else {
                std::memcpy(line.data() + length, bytes.data(), take);
                length += static_cast<int>(take);
            }
            in.advance(take);
            if (cr) {
                in.advance(1);
                if (in.peek() == '\n')
                    in.get();
                ended = true;
            }
        }
        if (!stored)
            maze.setRow(result.rows, line.data(), length);
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
    if (read.maze)
        game.maze = *read.maze;
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
