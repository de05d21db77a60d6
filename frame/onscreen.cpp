// SPDX-License-Identifier: GPL-3.0-or-later
#include "onscreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace zirk {

QPoint keptOnScreen(const QRect& window, const QRect& available) {
    // Off the far side first, so that a window larger than the screen ends up against its near side.
    const auto kept = [](int at, int size, int from, int room) {
        return std::max(from, std::min(at, from + room - size));
    };
    return {kept(window.x(), window.width(), available.x(), available.width()),
            kept(window.y(), window.height(), available.y(), available.height())};
}

KeepOnScreen::KeepOnScreen(QWidget& window) : QObject(&window), window_(window) {
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !window.windowHandle()) return;
    connect(window.windowHandle(), &QWindow::screenChanged, this, [this](QScreen* screen) {
        watch(screen);
        place();
    });
    watch(window.windowHandle()->screen());
    place();
}

void KeepOnScreen::watch(QScreen* screen) {
    disconnect(screenSize_);
    if (screen) screenSize_ = connect(screen, &QScreen::availableGeometryChanged, this, &KeepOnScreen::place);
}

void KeepOnScreen::place() {
    const QScreen* screen = window_.screen();
    if (!screen || (window_.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) return;
    const QPoint to = keptOnScreen(window_.geometry(), screen->availableGeometry());
    if (to != window_.pos()) window_.move(to);
}

} // namespace zirk
