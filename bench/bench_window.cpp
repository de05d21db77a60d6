// SPDX-License-Identifier: GPL-3.0-or-later
// The shown window as the player feels it. One step: a typed digit on the key panel until the view on screen
// shows the new cell. The frame following a size change: layout and a full repaint of the window, per step of
// the grip, against a bare borderless window of the same size, resized and repainted the same way, which
// shows what the platform alone costs. Start-up to the first painted frame and its peak memory, each in a
// fresh process: the game against the bare window with one line of text and the bare window alone, taking
// turns so that a change in the machine's load falls on all alike; offscreen, and again on the X server
// ZIRK_BENCH_DISPLAY names, if any.

#include "benchsupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QProcess>
#include <QTest>

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <set>
#include <string>

namespace zirk::bench {

namespace {

class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override {
        paints += e->type() == QEvent::Paint;
        return false;
    }
    long long paints = 0;
};

void typeDigit(QWidget* panel, char digit) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + (digit - '0'), Qt::NoModifier, QString(QChar(digit)));
    QCoreApplication::sendEvent(panel, &press);
}

double since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void keyToRepaint(benchmark::State& st) {
    TempFile maze(corridorMaze());
    ShownWindow w;
    if (!w.exposed) return st.SkipWithError("the window was never exposed, so nothing would be painted");
    w.chooser.answers.push_back(maze.path());
    w.window.openMaze();
    QWidget* panel = w.window.control(Control::KeyPanel);
    QWidget* view = w.window.control(Control::View);
    panel->setFocus();
    QCoreApplication::processEvents();
    if (QApplication::focusWidget() != panel) return st.SkipWithError("the key panel did not take the focus");
    // Down the open second column, then along the corridor to its middle.
    for (int i = 0; i < kCorridorY - kStartRow; ++i)
        typeDigit(panel, '2');
    for (int i = 0; i < kCorridorX - kStartColumn; ++i)
        typeDigit(panel, '6');
    QCoreApplication::processEvents();
    if (w.window.game().playerX != kCorridorX || w.window.game().playerY != kCorridorY)
        return st.SkipWithError("the player did not reach the corridor");
    PaintCounter counter;
    view->installEventFilter(&counter);
    long long moves = 0, painted = 0;
    for (auto _ : st) {
        const int before = w.window.game().playerX;
        const long long paintsBefore = counter.paints;
        const auto t0 = std::chrono::steady_clock::now();
        typeDigit(panel, moves % 2 ? '4' : '6');
        view->repaint();
        st.SetIterationTime(since(t0));
        moves += w.window.game().playerX != before;
        painted += counter.paints > paintsBefore;
        // The update the step posted finds nothing left to paint; drained outside the timing.
        QCoreApplication::processEvents();
    }
    view->removeEventFilter(&counter);
    if (moves != st.iterations() || painted != st.iterations())
        st.SkipWithError("a key press did not move the player or the view was not painted");
}

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
        st.SetIterationTime(since(t0));
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
    window.setPalette(QPalette(QColor(192, 192, 192)));
    window.setAutoFillBackground(true);
    window.resize(target);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window, 5000))
        return st.SkipWithError("the window was never exposed, so nothing would be painted");
    resizeSteps(st, window, target);
}

void add(const std::string& name, auto&& run, benchmark::TimeUnit unit = benchmark::kMillisecond) {
    benchmark::RegisterBenchmark(name.c_str(), run)->UseManualTime()->Unit(unit);
}

constexpr std::array<const char*, 3> kPrograms{"zirk", "bare", "label"};

// The child prints the time from the start it is handed (the steady clock, the same in every process) to the
// end of its first paint, and its peak memory in KiB.
bool run(const char* program, const QProcessEnvironment& env, double& ms, double& rssMiB) {
    QProcess child;
    child.setProcessEnvironment(env);
    const auto start = std::chrono::steady_clock::now().time_since_epoch();
    child.start(QCoreApplication::applicationDirPath() + "/bench_startup_" + program,
                {QString::number(std::chrono::duration_cast<std::chrono::nanoseconds>(start).count())});
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return false;
    const QList<QByteArray> figures = child.readAllStandardOutput().split(' ');
    ms = figures.value(0).toDouble() / 1e6;
    rssMiB = figures.value(1).toDouble() / 1024;
    return ms > 0 && rssMiB > 0;
}

void startup(benchmark::State& st, const QProcessEnvironment& env) {
    static int round = 0;
    static std::set<const QProcessEnvironment*> warmed;
    double ms = 0, rssMiB = 0;
    if (warmed.insert(&env).second) {
        // The first start of each reads its libraries and plugins from disk; no later start does.
        for (const char* program : kPrograms)
            run(program, env, ms, rssMiB);
    }
    // Each repetition starts with another of the three, so that none is always first after a pause.
    const int first = round++ % 3;
    for (auto _ : st) {
        for (int i = 0; i < 3; ++i) {
            const char* program = kPrograms[static_cast<std::size_t>((first + i) % 3)];
            if (!run(program, env, ms, rssMiB)) return st.SkipWithError("a start-up program failed");
            if (program == kPrograms[0]) st.SetIterationTime(ms / 1e3);
            st.counters[std::string(program) + "_ms"] = ms;
            st.counters[std::string(program) + "_peak_rss_MiB"] = rssMiB;
        }
    }
}

} // namespace

void registerWindowBenchmarks() {
    add("step/key_to_repainted_view", keyToRepaint, benchmark::kMicrosecond);
    for (QSize s : {QSize(503, 393), QSize(1920, 1080), QSize(3840, 2160)}) {
        const std::string size = std::to_string(s.width()) + "x" + std::to_string(s.height());
        add("frame/pictures_hidden/" + size, [s](benchmark::State& st) { gameSteps(st, s, false); });
        add("frame/bare_window/" + size, [s](benchmark::State& st) { bareSteps(st, s); });
    }
    add("frame/pictures_shown/3840x2160",
        [](benchmark::State& st) { gameSteps(st, QSize(3840, 2160), true); });
    static const QProcessEnvironment offscreen = QProcessEnvironment::systemEnvironment();
    static QProcessEnvironment x11 = offscreen;
    x11.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    x11.insert(QStringLiteral("DISPLAY"), offscreen.value(QStringLiteral("ZIRK_BENCH_DISPLAY")));
    const auto addStartup = [](const char* name, const QProcessEnvironment* env) {
        benchmark::RegisterBenchmark(name, [env](benchmark::State& st) { startup(st, *env); })
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(31)
            ->Unit(benchmark::kMillisecond);
    };
    addStartup("startup/first_paint", &offscreen);
    if (!x11.value(QStringLiteral("DISPLAY")).isEmpty()) addStartup("startup/xvfb_first_paint", &x11);
}

} // namespace zirk::bench
