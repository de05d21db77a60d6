// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmarks share: the corridor maze, temporary files and a shown window.

#include "fakes/fakeservices.h"
#include "loader.h"
#include "mazewindow.h"
#include "view.h"

#include <QRect>
#include <QTemporaryFile>

#include <string>

namespace zirk::bench {

// The corridor the view and the key step are measured in: open floor with two walls of 21 cells above and
// below row 50, so the view from (50, 50) or (51, 50) holds ten walls, the usual sight while walking.
inline constexpr int kCorridorX = 50;
inline constexpr int kCorridorY = 50;
std::string corridorMaze(); // 100 lines of 100 cells, CR LF each

// A file under /tmp, holding `bytes`, that goes with this object, so that no run leaves large files behind.
class TempFile : public QTemporaryFile {
public:
    explicit TempFile(const std::string& bytes = {});
    std::string path() const { return fileName().toStdString(); }
};

// The real window with the dialog, the box, the end and the screen replaced, loaded, shown and exposed, so
// that repaint() really paints.
struct ShownWindow {
    explicit ShownWindow(QRect screenArea = QRect(0, 0, 1024, 768));

    testing::FakeChooser chooser;
    testing::FakeBox box;
    testing::FakeEnd end;
    testing::FakeScreen screen;
    MazeWindow window;
    bool exposed = false;
};

} // namespace zirk::bench
