// SPDX-License-Identifier: GPL-3.0-or-later
// The least a borderless window of the game's size costs: nothing in it but its background.

#include "firstpaint.h"

int main(int argc, char* argv[]) {
    zirk::bench::FirstPaintApp app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.resize(503, 393);
    app.watch(&window);
    window.show();
    return app.exec();
}
