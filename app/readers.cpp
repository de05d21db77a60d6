// SPDX-License-Identifier: GPL-3.0-or-later
#include "readers.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zirk {

namespace {

// What the reader sends first.
struct Header {
    std::int32_t failure; // an OpenFailure
};
// Then pieces of the file, each behind its length: 0 ends the file, kReadError says a read failed.
using PieceLength = std::int32_t;
constexpr PieceLength kReadError = -1;
constexpr std::size_t kPiece = 65536;

bool writeAll(int fd, const void* data, std::size_t size) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void closeAllBut(int keep) {
    const auto k = static_cast<unsigned>(keep);
    if ((k == 0 || ::close_range(0, k - 1, 0) == 0) && ::close_range(k + 1, ~0U, 0) == 0) return;
    rlimit limit{};
    const rlim_t last = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
                            ? std::min<rlim_t>(limit.rlim_cur, 1 << 20)
                            : 65536;
    for (rlim_t fd = 0; fd < last; ++fd)
        if (static_cast<int>(fd) != keep) ::close(static_cast<int>(fd));
}

// The reader, in the child. Only async-signal-safe calls: the game has threads, and any lock one of them held
// at the fork stays held here for ever.
[[noreturn]] void readInChild(const std::string& path, int out) {
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (int s = 1; s < NSIG; ++s)
        if (s != SIGKILL && s != SIGSTOP) ::sigaction(s, &byDefault, nullptr);
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    // Nothing of the game's stays open here: a copy of its X connection would keep its window on screen once
    // the game has ended, and a copy of its standard output would keep a shell waiting.
    closeAllBut(out);

    FileSource file(path); // open(), fstat(), read(): system calls alone
    const Header header{static_cast<std::int32_t>(file.failure())};
    if (!writeAll(out, &header, sizeof header) || !file.isOpen()) {
        ::close(out);
        ::_exit(0);
    }
    alignas(PieceLength) char piece[sizeof(PieceLength) + kPiece];
    for (;;) {
        const long long n = file.read(piece + sizeof(PieceLength), kPiece);
        const PieceLength length = n < 0 ? kReadError : static_cast<PieceLength>(n);
        std::memcpy(piece, &length, sizeof length);
        // Once the game stops reading, the write fails and the reader ends.
        if (!writeAll(out, piece,
                      sizeof length + static_cast<std::size_t>(std::max<PieceLength>(length, 0))) ||
            length <= 0)
            break;
    }
    // The pipe first: closing the file may wait on the file system again, and the game need not.
    ::close(out);
    ::_exit(0);
}

// The game's end of a reader.
class PipeFile : public MazeFile {
public:
    PipeFile(pid_t reader, int in, int cancel) : reader(reader), in_(in), cancel_(cancel) {}
    ~PipeFile() override {
        ::close(in_);
        ::close(cancel_);
    }
    PipeFile(const PipeFile&) = delete;
    PipeFile& operator=(const PipeFile&) = delete;

    bool isOpen() const override { return header().failure == static_cast<std::int32_t>(OpenFailure::None); }
    OpenFailure failure() const override { return static_cast<OpenFailure>(header().failure); }

    long long read(char* buf, std::size_t size) override {
        if (ended_) return 0;
        if (left_ == 0) {
            PieceLength length = 0;
            if (!receive(&length, sizeof length)) return -1;
            if (length == 0) {
                ended_ = true;
                return 0;
            }
            if (length < 0) return -1;
            left_ = static_cast<std::size_t>(length);
        }
        if (!waitForBytes()) return -1;
        const ssize_t n = ::read(in_, buf, std::min(size, left_));
        if (n <= 0) return -1; // the reader died half way
        left_ -= static_cast<std::size_t>(n);
        return n;
    }

    const pid_t reader;

    // From another thread: a read waiting here returns at once, failed.
    void giveUp() {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(cancel_, &one, sizeof one);
    }

private:
    const Header& header() const {
        if (!received_) {
            received_ = true;
            // A reader that died before it said anything: the file could not be opened.
            if (!receive(&header_, sizeof header_)) header_ = {static_cast<std::int32_t>(OpenFailure::Other)};
        }
        return header_;
    }

    // Until the pipe has bytes, or the read was given up.
    bool waitForBytes() const {
        pollfd fds[2] = {{in_, POLLIN, 0}, {cancel_, POLLIN, 0}};
        for (;;) {
            const int n = ::poll(fds, 2, -1);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 || (fds[1].revents & POLLIN)) return false;
            if (fds[0].revents) return true;
        }
    }

    bool receive(void* data, std::size_t size) const {
        auto* p = static_cast<char*>(data);
        while (size > 0) {
            if (!waitForBytes()) return false;
            const ssize_t n = ::read(in_, p, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            p += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    int in_;
    int cancel_;
    mutable bool received_ = false;
    mutable Header header_{};
    std::size_t left_ = 0;
    bool ended_ = false;
};

} // namespace

void ReaderProcesses::collect() {
    std::erase_if(readers_, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

std::shared_ptr<MazeFile> ReaderProcesses::open(const std::string& path) {
    // Those still waiting in the kernel stay counted.
    collect();
    if (readers_.size() >= kMaxLeftBehind) return nullptr;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return nullptr;
    const int cancel = ::eventfd(0, EFD_CLOEXEC);
    if (cancel < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return nullptr;
    }
    const pid_t pid = ::fork();
    if (pid == 0) readInChild(path, ends[1]);
    ::close(ends[1]);
    if (pid < 0) {
        ::close(ends[0]);
        ::close(cancel);
        return nullptr;
    }
    readers_.push_back(pid);
    return std::make_shared<PipeFile>(pid, ends[0], cancel);
}

void ReaderProcesses::giveUp(MazeFile& file) {
    auto& pipe = static_cast<PipeFile&>(file);
    pipe.giveUp();
    // Only a reader not yet collected (which only open() does, on this thread) still has its id. One waiting
    // in the kernel ends only once the file system answers; any other ends now.
    if (std::find(readers_.begin(), readers_.end(), pipe.reader) != readers_.end())
        ::kill(pipe.reader, SIGKILL);
}

} // namespace zirk
