// SPDX-License-Identifier: GPL-3.0-or-later
// The least a borderless window of the game's size costs: nothing in it but its background. Built again as
// bench_startup_label with one line of text in it: what finding, loading and drawing a font costs before
// anything of the game's own, which cannot show its text without one.

#include "firstpaint.h"

#include <QFont>
#include <QLabel>

int main(int argc, char* argv[]) {
    zirk::bench::FirstPaintApp app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.resize(503, 393);
#ifdef ZIRK_ONE_LINE_OF_TEXT
    QLabel text(QStringLiteral("Zirk pour Windows"), &window);
    text.setFont(QFont(QStringLiteral("Arial"), 9, QFont::Bold));
    text.move(8, 4);
#endif
    app.watch(&window);
    window.show();
    return app.exec();
}
