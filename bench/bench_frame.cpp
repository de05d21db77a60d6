// The frame following a size change: layout and a full repaint of the window, per step of the grip. A bare
// borderless window of the same size, resized and repainted the same way, shows what the platform alone costs.

#include "benchsupport.h"

#include <QCoreApplication>
#include <QPalette>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <string>

namespace zirk::bench {

namespace {

// Large enough for every size measured, so start-up never clips the window to the screen.
const QRect kLargeScreen(0, 0, 7680, 4320);

constexpr std::array<Ctl, 3> kStretched{Control::TitlePicture, Control::Separator, Control::Background};

// Alternates one pixel either side of the target, so that every step is a real change of size. Returns the
// number of steps whose size did not reach the window.
long long resizeSteps(benchmark::State& st, QWidget& window, QSize target) {
    long long wrongSize = 0;
    int delta = 1;
    for (auto _ : st) {
        const QSize size = target + QSize(delta, delta);
        delta = -delta;
        const auto t0 = std::chrono::steady_clock::now();
        window.resize(size);
        window.repaint();
        const auto t1 = std::chrono::steady_clock::now();
        st.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        wrongSize += window.size() != size;
        // What the window system queued about the change is handled outside the timing.
        QCoreApplication::processEvents();
    }
    return wrongSize;
}

void formSteps(benchmark::State& st, QSize target, bool picturesShown) {
    ShownForm w(kLargeScreen);
    if (!w.exposed) {
        st.SkipWithError("the window was never exposed, so nothing would be painted");
        return;
    }
    MazeWindow& form = w.form;
    if (!picturesShown)
        form.frame().IMG4_MouseDown(0, 0); // the grip is held: the eight frame pictures are hidden
    form.resize(target);
    form.repaint();
    QCoreApplication::processEvents();

    std::array<int, 3> rescalesBefore{};
    for (std::size_t i = 0; i < kStretched.size(); ++i)
        rescalesBefore[i] = form.control<PictureControl>(kStretched[i])->rescaleCount();
    const int layoutsBefore = form.layoutCount();
    const long long wrongSize = resizeSteps(st, form, target);
    const long long changes = st.iterations();
    if (wrongSize != 0 || form.layoutCount() - layoutsBefore < changes) {
        st.SkipWithError("a size change did not reach the window or its layout");
        return;
    }
    int most = 0;
    for (std::size_t i = 0; i < kStretched.size(); ++i) {
        const int rescales = form.control<PictureControl>(kStretched[i])->rescaleCount() - rescalesBefore[i];
        most = std::max(most, rescales);
        st.counters[std::string("rescales_") + row(kStretched[i]).name] = rescales;
    }
    st.counters["size_changes"] = static_cast<double>(changes);
    // Above zero when some stretched picture was made again more often than the size changed.
    st.counters["rescales_over_changes"] = static_cast<double>(std::max<long long>(0, most - changes));
}

void bareSteps(benchmark::State& st, QSize target) {
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, QColor(192, 192, 192));
    window.setPalette(pal);
    window.setAutoFillBackground(true);
    window.resize(target);
    window.show();
    if (!waitUntilExposed(window)) {
        st.SkipWithError("the window was never exposed, so nothing would be painted");
        return;
    }
    if (resizeSteps(st, window, target) != 0)
        st.SkipWithError("a size change did not reach the window");
}

std::string sizeName(QSize s) { return std::to_string(s.width()) + "x" + std::to_string(s.height()); }

} // namespace

void registerFrameBenchmarks() {
    const QSize sizes[] = {{503, 393}, {1920, 1080}, {3840, 2160}};
    for (QSize s : sizes) {
        benchmark::RegisterBenchmark(("frame/pictures_hidden/" + sizeName(s)).c_str(),
                                     [s](benchmark::State& st) { formSteps(st, s, false); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("frame/bare_window/" + sizeName(s)).c_str(),
                                     [s](benchmark::State& st) { bareSteps(st, s); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("frame/pictures_shown/3840x2160",
                                 [](benchmark::State& st) { formSteps(st, QSize(3840, 2160), true); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

} // namespace zirk::bench
