// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchsupport.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>

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

// A half-written file would measure something else: the run stops instead.
TempFile::TempFile(const std::string& bytes) : QTemporaryFile(QDir::tempPath() + "/zirk-bench-XXXXXX") {
    if (!open() ||
        write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !flush()) {
        std::fprintf(stderr, "cannot write a file in %s\n", qPrintable(QDir::tempPath()));
        std::exit(2);
    }
}

ShownWindow::ShownWindow(QRect screenArea) : screen(screenArea), window({&chooser, &box, &end, &screen}) {
    window.control(Control::OpenButton)->setFocus();
    window.start();
    QApplication::setActiveWindow(&window);
    exposed = QTest::qWaitForWindowExposed(&window, 5000);
}

} // namespace zirk::bench
