// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the start-up programs, so that the game and the bare windows are timed by the same code: from the
// moment the parent started the process (its steady clock, the first argument) to the end of the first
// complete paint of the watched window. Prints "<ns> <peak RSS KiB>" and ends.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

namespace zirk::bench {

class FirstPaintApp : public QApplication {
public:
    FirstPaintApp(int& argc, char** argv) : QApplication(argc, argv) {
        start_ = argc > 1 ? std::strtoll(argv[1], nullptr, 10) : now();
        // A window that never paints must not hang the benchmark.
        QTimer::singleShot(30000, this, [] { ::_exit(3); });
    }

    void watch(const QWidget* window) { watched_ = window; }

    // The window's widgets paint inside the dispatch of some outer event (expose or update request); the
    // paint is complete when that outermost dispatch returns.
    bool notify(QObject* receiver, QEvent* e) override {
        const auto* widget = qobject_cast<const QWidget*>(receiver);
        painting_ = painting_ || (e->type() == QEvent::Paint && widget && widget->window() == watched_);
        ++depth_;
        const bool handled = QApplication::notify(receiver, e);
        if (--depth_ == 0 && painting_) report();
        return handled;
    }

private:
    static long long now() {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    // Not getrusage(): Linux carries ru_maxrss over exec from the far larger benchmark runner. VmHWM is this
    // program's own high-water mark.
    [[noreturn]] void report() {
        const long long elapsed = now() - start_;
        long kib = -1;
        if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, status))
                if (std::strncmp(line, "VmHWM:", 6) == 0) kib = std::strtol(line + 6, nullptr, 10);
            std::fclose(status);
        }
        std::printf("%lld %ld\n", elapsed, kib);
        std::fflush(stdout);
        ::_exit(0); // tearing the window down is no part of starting it
    }

    const QWidget* watched_ = nullptr;
    long long start_ = 0;
    int depth_ = 0;
    bool painting_ = false;
};

} // namespace zirk::bench
