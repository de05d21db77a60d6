// SPDX-License-Identifier: GPL-3.0-or-later
// One step as the player feels it: a typed digit on the key panel until the view on screen shows the new
// cell.

#include "benchsupport.h"

#include <QApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <chrono>

namespace zirk::bench {

namespace {

class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
    long long paints = 0;
};

void typeDigit(QWidget* panel, char digit) {
    const Qt::Key key = static_cast<Qt::Key>(Qt::Key_0 + (digit - '0'));
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(digit)));
    QCoreApplication::sendEvent(panel, &press);
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
    bool forward = true;
    long long moves = 0;
    long long painted = 0;
    for (auto _ : st) {
        const int before = w.window.game().playerX;
        const long long paintsBefore = counter.paints;
        const auto t0 = std::chrono::steady_clock::now();
        typeDigit(panel, forward ? '6' : '4');
        view->repaint();
        const auto t1 = std::chrono::steady_clock::now();
        st.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        moves += w.window.game().playerX != before;
        painted += counter.paints > paintsBefore;
        forward = !forward;
        // The update the step posted finds nothing left to paint; drained outside the timing.
        QCoreApplication::processEvents();
    }
    view->removeEventFilter(&counter);
    if (moves != st.iterations() || painted != st.iterations())
        st.SkipWithError("a key press did not move the player or the view was not painted");
}

} // namespace

void registerStepBenchmarks() {
    benchmark::RegisterBenchmark("step/key_to_repainted_view", keyToRepaint)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
}

} // namespace zirk::bench
