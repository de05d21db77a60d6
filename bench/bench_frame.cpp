// SPDX-License-Identifier: GPL-3.0-or-later
// The frame following a size change: layout and a full repaint of the window, per step of the grip. A bare
// borderless window of the same size, resized and repainted the same way, shows what the platform alone
// costs.

#include "benchsupport.h"
#include "scalecount.h"

#include <QCoreApplication>
#include <QEvent>
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

// The pictures stretched over their controls, whose copies are counted; the only names of the window's
// controls here.
constexpr std::array<Control, 3> kStretched{Control::TitlePicture, Control::Separator, Control::Background};

// Counts the moves and size changes of a window's own widgets. While the window is resized nothing else moves
// them, so a step that saw none is one whose size change never reached the frame's layout.
class GeometryWatch : public QObject {
public:
    explicit GeometryWatch(QWidget& window) {
        for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            child->installEventFilter(this);
    }
    long long changes = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Move || e->type() == QEvent::Resize) ++changes;
        return false;
    }
};

struct Steps {
    long long wrongSize = 0; // steps whose size did not reach the window
    long long laidOut = 0;   // steps after which some widget of the window was moved or resized
};

// Alternates one pixel either side of the target, so that every step is a real change of size.
Steps resizeSteps(benchmark::State& st, QWidget& window, QSize target, const GeometryWatch* watch = nullptr) {
    Steps steps;
    int delta = 1;
    for (auto _ : st) {
        const QSize size = target + QSize(delta, delta);
        delta = -delta;
        const long long changesBefore = watch ? watch->changes : 0;
        const auto t0 = std::chrono::steady_clock::now();
        window.resize(size);
        window.repaint();
        const auto t1 = std::chrono::steady_clock::now();
        st.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        steps.wrongSize += window.size() != size;
        // What the window system queued about the change is handled outside the timing.
        QCoreApplication::processEvents();
        steps.laidOut += watch && watch->changes > changesBefore;
    }
    return steps;
}

// The copies of each stretched picture made so far, as the count outside the window's code saw them.
std::array<long long, kStretched.size()>
stretchedCopies(const std::array<qint64, kStretched.size()>& pictures) {
    std::array<long long, kStretched.size()> copies{};
    for (std::size_t i = 0; i < kStretched.size(); ++i)
        copies[i] = scaledCopiesOf(pictures[i]);
    return copies;
}

void formSteps(benchmark::State& st, QSize target, bool picturesShown) {
    ShownWindow w(kLargeScreen);
    if (!w.exposed) {
        st.SkipWithError("the window was never exposed, so nothing would be painted");
        return;
    }
    MazeWindow& window = w.window;
    if (!picturesShown)
        window.frame().pressGrip(0, 0); // the grip is held: the eight frame pictures are hidden
    std::array<qint64, kStretched.size()> pictures{};
    for (std::size_t i = 0; i < kStretched.size(); ++i)
        pictures[i] = window.control<PictureControl>(kStretched[i])->picture().cacheKey();

    const long long acrossBeforeSetUp = acrossMapsMade();
    const long long downBeforeSetUp = downMapsMade();
    window.resize(target);
    window.repaint();
    QCoreApplication::processEvents();
    const auto beforeSteps = stretchedCopies(pictures);
    const long long acrossBeforeSteps = acrossMapsMade();
    const long long downBeforeSteps = downMapsMade();
    // Shown at a new size, the stretched pictures must have had their columns and rows found again; a count
    // that saw nothing would pass the budget below while measuring nothing.
    if (picturesShown && (acrossBeforeSteps == acrossBeforeSetUp || downBeforeSteps == downBeforeSetUp)) {
        st.SkipWithError(
            "no stretch of a picture's columns or rows was seen: the count no longer sees how the "
            "pictures are stretched");
        return;
    }

    GeometryWatch watch(window);
    const Steps steps = resizeSteps(st, window, target, &watch);
    const long long changes = st.iterations();
    if (steps.wrongSize != 0) {
        st.SkipWithError("a size change did not reach the window");
        return;
    }
    for (std::size_t i = 0; i < kStretched.size(); ++i) {
        if (window.control<PictureControl>(kStretched[i])->picture().cacheKey() != pictures[i]) {
            st.SkipWithError("a stretched control was given another picture while the size changed");
            return;
        }
    }
    const auto afterSteps = stretchedCopies(pictures);
    long long wholeCopies = 0;
    for (std::size_t i = 0; i < kStretched.size(); ++i)
        wholeCopies += afterSteps[i] - beforeSteps[i];
    const long long across = acrossMapsMade() - acrossBeforeSteps;
    const long long down = downMapsMade() - downBeforeSteps;
    const long long allowed = static_cast<long long>(kStretched.size()) * changes;
    st.counters["size_changes"] = static_cast<double>(changes);
    st.counters["laid_out_changes"] = static_cast<double>(steps.laidOut);
    // Above zero when some size change left the layout alone.
    st.counters["changes_not_laid_out"] = static_cast<double>(changes - steps.laidOut);
    st.counters["across_maps"] = static_cast<double>(across);
    st.counters["down_maps"] = static_cast<double>(down);
    // Above zero when some stretched picture had its columns or rows found more often than the size changed.
    st.counters["maps_over_changes"] = static_cast<double>(std::max<long long>(0, across - allowed) +
                                                           std::max<long long>(0, down - allowed));
    // Above zero when some stretched picture was copied whole, stretched, instead of written row by row.
    st.counters["whole_copies"] = static_cast<double>(wholeCopies);
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
    if (resizeSteps(st, window, target).wrongSize != 0)
        st.SkipWithError("a size change did not reach the window");
}

std::string sizeName(QSize s) {
    return std::to_string(s.width()) + "x" + std::to_string(s.height());
}

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
