// SPDX-License-Identifier: GPL-3.0-or-later
// The game started as its own main() starts it, with the dialog, the box, the end and the screen replaced.

#include "fakes/fakeservices.h"
#include "firstpaint.h"
#include "mazewindow.h"
#include "services.h"

int main(int argc, char* argv[]) {
    zirk::keepSettingsOffDisk();
    zirk::bench::FirstPaintApp app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zirk"));
    zirk::testing::FakeChooser chooser;
    zirk::testing::FakeBox box;
    zirk::testing::FakeEnd end;
    zirk::testing::FakeScreen screen;
    zirk::MazeWindow window({&chooser, &box, &end, &screen});
    app.watch(&window);
    window.control(zirk::Control::OpenButton)->setFocus();
    window.start();
    return app.exec();
}
