// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

class QScreen;
class QWidget;

namespace zirk {

// Where a window of geometry `window` goes so that it lies on `available` as far as it can, and its top-left
// corner, where the title bar starts with the close button, always does.
QPoint keptOnScreen(const QRect& window, const QRect& available);

// Keeps a window without a system frame on its screen: no window manager moves such a window back when the
// screen shrinks under it (RandR), and one larger than its screen is centred with its title bar above the
// top. On X11 only: elsewhere clients do not place their windows.
class KeepOnScreen : public QObject {
public:
    // Places `window` at once, and again whenever its screen changes size.
    explicit KeepOnScreen(QWidget& window);

private:
    void watch(QScreen* screen);
    void place();

    QWidget& window_;
    QMetaObject::Connection screenSize_;
};

} // namespace zirk
