// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the two start-up programs, so that the game and the bare window are timed by the same code: from
// the moment the parent started the process (its steady clock, passed as the first argument) to the end of
// the first complete paint of the watched window, children and flush included. Prints "<ns> <peak RSS KiB>"
// and ends.

#include <QApplication>
#include <QEvent>
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
        startNs_ = argc > 1 ? std::strtoll(argv[1], nullptr, 10) : nowNs();
        // A window that never paints must not hang the benchmark.
        QTimer::singleShot(30000, this, [] {
            std::fputs("no paint within 30 s\n", stderr);
            ::_exit(3);
        });
    }

    void watch(const QWidget* window) { watched_ = window; }

    // The window's paint runs inside the dispatch of some outer event (expose or update request); the paint
    // is complete when that outermost dispatch returns.
    bool notify(QObject* receiver, QEvent* e) override {
        if (e->type() == QEvent::Paint && paintsWatchedWindow(receiver)) {
            if (depth_ == 0)
                std::fputs("warning: paint outside any event, timed at the end of its first widget's paint\n",
                           stderr);
            painting_ = true;
        }
        ++depth_;
        const bool handled = QApplication::notify(receiver, e);
        --depth_;
        if (painting_ && depth_ == 0) report();
        return handled;
    }

private:
    // The window itself gets no paint event when opaque children cover all of it, so any widget of the window
    // painting counts.
    bool paintsWatchedWindow(QObject* receiver) const {
        const auto* widget = qobject_cast<const QWidget*>(receiver);
        return widget && widget->window() == watched_;
    }

    // The same clock in every process of the machine, so the parent's reading means something here.
    static long long nowNs() {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    // getrusage() would do, but Linux carries ru_maxrss over exec from the process that started this one, and
    // the benchmark runner is far larger than either window: its peak would be reported for both. The
    // high-water mark of this program's own memory is VmHWM.
    static long peakResidentKiB() {
        long kib = -1;
        if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, status)) {
                if (std::strncmp(line, "VmHWM:", 6) == 0) kib = std::strtol(line + 6, nullptr, 10);
            }
            std::fclose(status);
        }
        return kib;
    }

    [[noreturn]] void report() {
        const long long elapsed = nowNs() - startNs_;
        std::printf("%lld %ld\n", elapsed, peakResidentKiB());
        std::fflush(stdout);
        // Tearing the window down is no part of starting it.
        ::_exit(0);
    }

    const QWidget* watched_ = nullptr;
    long long startNs_ = 0;
    int depth_ = 0;
    bool painting_ = false;
};

} // namespace zirk::bench
