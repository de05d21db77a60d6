// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmarks share: the corridor maze, temporary files and a shown window.

#include "fakes/fakeservices.h"
#include "loader.h"
#include "mazewindow.h"
#include "view.h"

#include <QApplication>
#include <QDir>
#include <QRect>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace zirk::bench {

// The corridor the view and the key step are measured in: open floor with two walls of 21 cells above and
// below row 50, so the view from (50, 50) or (51, 50) holds ten walls, the usual sight while walking.
inline constexpr int kCorridorX = 50;
inline constexpr int kCorridorY = 50;

// 100 lines of 100 cells, CR LF each.
inline std::string corridorMaze() {
    std::string text;
    for (int y = 1; y <= 100; ++y) {
        for (int x = 1; x <= 100; ++x)
            text += (y == kCorridorY - 1 || y == kCorridorY + 1) && x >= 40 && x <= 60 ? '0' : '1';
        text += "\r\n";
    }
    return text;
}

// A file under /tmp, holding `bytes`, that goes with this object, so that no run leaves large files behind. A
// half-written file would measure something else: the run stops instead.
class TempFile : public QTemporaryFile {
public:
    explicit TempFile(const std::string& bytes = {})
        : QTemporaryFile(QDir::tempPath() + "/zirk-bench-XXXXXX") {
        const auto size = static_cast<qint64>(bytes.size());
        if (!open() || write(bytes.data(), size) != size || !flush()) {
            std::fprintf(stderr, "cannot write a file in %s\n", qPrintable(QDir::tempPath()));
            std::exit(2);
        }
    }
    std::string path() const { return fileName().toStdString(); }
};

// The real window with the dialog, the box, the end and the screen replaced, loaded, shown and exposed, so
// that repaint() really paints.
struct ShownWindow {
    explicit ShownWindow(QRect screenArea = QRect(0, 0, 1024, 768))
        : screen(screenArea), window({&chooser, &box, &end, &screen}) {
        window.control(Control::OpenButton)->setFocus();
        window.start();
        QApplication::setActiveWindow(&window);
        exposed = QTest::qWaitForWindowExposed(&window, 5000);
    }

    testing::FakeChooser chooser;
    testing::FakeBox box;
    testing::FakeEnd end;
    testing::FakeScreen screen;
    MazeWindow window;
    bool exposed = false;
};

} // namespace zirk::bench
