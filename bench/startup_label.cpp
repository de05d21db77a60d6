// SPDX-License-Identifier: GPL-3.0-or-later
// The bare window with one line of text in it: what finding, loading and drawing a font costs before anything
// of the game's own. The game's start-up is held against this one, since it cannot show its text without a
// font.

#include "firstpaint.h"

#include <QFont>
#include <QLabel>

int main(int argc, char* argv[]) {
    zirk::bench::FirstPaintApp app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.resize(503, 393);
    QLabel text(QStringLiteral("Zirk pour Windows"), &window);
    text.setFont(QFont(QStringLiteral("Arial"), 9, QFont::Bold));
    text.move(8, 4);
    app.watch(&window);
    window.show();
    return app.exec();
}
