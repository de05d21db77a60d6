// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchsupport.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QWindow>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace zirk::bench {

std::string corridorMaze() {
    std::string text;
    text.reserve(100 * 102);
    for (int y = 1; y <= 100; ++y) {
        for (int x = 1; x <= 100; ++x) {
            const bool wall = (y == kCorridorY - 1 || y == kCorridorY + 1) && x >= 40 && x <= 60;
            text += wall ? '0' : '1';
        }
        text += "\r\n";
    }
    return text;
}

TempFile::TempFile(const char* tag) {
    std::string name = std::string("/tmp/zirk-bench-") + tag + "-XXXXXX";
    // Close-on-exec, so the start-up programs never hold a large file open.
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) {
        std::fprintf(stderr, "cannot create %s: %s\n", name.c_str(), std::strerror(errno));
        std::exit(2);
    }
    path_ = name;
}

TempFile::~TempFile() {
    ::close(fd_);
    ::unlink(path_.c_str());
}

void TempFile::write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            std::fprintf(stderr, "cannot write %s: %s\n", path_.c_str(), std::strerror(errno));
            std::exit(2);
        }
        done += static_cast<std::size_t>(n);
    }
}

bool waitUntilExposed(QWidget& window) {
    // Painting is skipped for a window the platform has not exposed yet.
    QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (window.windowHandle() && window.windowHandle()->isExposed()) {
            QCoreApplication::processEvents();
            return true;
        }
    }
    return false;
}

ShownWindow::ShownWindow(QRect screenArea) : screen(screenArea), window({&chooser, &box, &end, &screen}) {
    window.control(Control::OpenButton)->setFocus();
    window.start();
    QApplication::setActiveWindow(&window);
    exposed = waitUntilExposed(window);
}

} // namespace zirk::bench
