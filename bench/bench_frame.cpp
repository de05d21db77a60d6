// SPDX-License-Identifier: GPL-3.0-or-later
// The frame following a size change: layout and a full repaint of the window, per step of the grip. A bare
// borderless window of the same size, resized and repainted the same way, shows what the platform alone
// costs.

#include "benchsupport.h"

#include <QCoreApplication>
#include <QPalette>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace zirk::bench {

namespace {

// Alternates one pixel either side of the target, so that every step is a real change of size.
void resizeSteps(benchmark::State& st, QWidget& window, QSize target) {
    int delta = 1;
    bool reached = true;
    for (auto _ : st) {
        const QSize size = target + QSize(delta, delta);
        delta = -delta;
        const auto t0 = std::chrono::steady_clock::now();
        window.resize(size);
        window.repaint();
        st.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        reached = reached && window.size() == size;
        // What the window system queued about the change is handled outside the timing.
        QCoreApplication::processEvents();
    }
    if (!reached) st.SkipWithError("a size change did not reach the window");
}

void gameSteps(benchmark::State& st, QSize target, bool picturesShown) {
    // Large enough for every size measured, so that the window is never clipped to the screen.
    ShownWindow w(QRect(0, 0, 7680, 4320));
    if (!w.exposed) return st.SkipWithError("the window was never exposed, so nothing would be painted");
    if (!picturesShown) w.window.frame().pressGrip(0, 0); // the grip is held: the frame pictures are hidden
    resizeSteps(st, w.window, target);
}

void bareSteps(benchmark::State& st, QSize target) {
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, QColor(192, 192, 192));
    window.setPalette(pal);
    window.setAutoFillBackground(true);
    window.resize(target);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window, 5000))
        return st.SkipWithError("the window was never exposed, so nothing would be painted");
    resizeSteps(st, window, target);
}

} // namespace

void registerFrameBenchmarks() {
    for (QSize s : {QSize(503, 393), QSize(1920, 1080), QSize(3840, 2160)}) {
        const std::string size = std::to_string(s.width()) + "x" + std::to_string(s.height());
        benchmark::RegisterBenchmark(("frame/pictures_hidden/" + size).c_str(),
                                     [s](benchmark::State& st) { gameSteps(st, s, false); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("frame/bare_window/" + size).c_str(),
                                     [s](benchmark::State& st) { bareSteps(st, s); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("frame/pictures_shown/3840x2160",
                                 [](benchmark::State& st) { gameSteps(st, QSize(3840, 2160), true); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

} // namespace zirk::bench
