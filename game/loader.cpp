#include "loader.h"

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zirk {

FileSource::FileSource(const std::string& path) {
    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; the type check below then rejects it.
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        close();
        return;
    }
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
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

int cellValue(unsigned char c) { return c >= '0' && c <= '9' ? c - '0' : kWall; }

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

private:
    bool fill() {
        if (done_)
            return false;
        const long long n = source_.read(buf_.data(), buf_.size());
        if (n <= 0) {
            done_ = true;
            failed_ = n < 0;
            return false;
        }
        pos_ = 0;
        len_ = static_cast<std::size_t>(n);
        return true;
    }

    ByteSource& source_;
    std::array<char, 4096> buf_{};
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
    for (;;) {
        const int first = in.peek();
        if (first == -2) {
            result.readError = true;
            return result;
        }
        if (first == -1)
            return result;
        ++result.rows;
        // A whole line is read before any of it is stored, so a line that fails half way leaves no trace.
        int length = 0;
        for (;;) {
            const int c = in.get();
            if (c == -2) {
                result.readError = true;
                return result;
            }
            if (c == -1)
                break;
            if (c == '\r') {
                if (in.peek() == '\n')
                    in.get();
                break;
            }
            if (length == kMaxCells || result.rows > kMaxCells) {
                // This cell would fall outside the grid: what fits is kept and the load ends here.
                for (int i = 0; i < length; ++i)
                    maze.write(i + 1, result.rows, cellValue(line[i]));
                result.overflowed = true;
                return result;
            }
            line[length++] = static_cast<unsigned char>(c);
        }
        for (int i = 0; i < length; ++i)
            maze.write(i + 1, result.rows, cellValue(line[i]));
    }
}

LoadResult loadChosenMaze(GameState& state, const std::string& path, Canvas& canvas) {
    state.PlayerX = kStartColumn;
    state.PlayerY = kStartRow;
    LoadResult result;
    FileSource file(path);
    if (file.isOpen())
        result = readMaze(file, state.Maze);
    else
        result.readError = true;
    file.close();
    draw1(state, canvas);
    return result;
}

} // namespace zirk
