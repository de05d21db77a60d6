// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fakes/fakeservices.h"
#include "mazewindow.h"

#include <QTest>

namespace zirk::testing {

// The four platform services every window needs, replaced; a test may hand in its own maze files too.
struct FakePlatform {
    explicit FakePlatform(QRect screenArea = QRect(0, 0, 1024, 768)) : screen(screenArea) {}
    MazeWindow::Services services(MazeFiles* files = nullptr) {
        return {&chooser, &box, &end, &screen, files};
    }

    FakeChooser chooser;
    FakeBox box;
    FakeEnd end;
    FakeScreen screen;
};

// The main window with every platform service replaced, started as the program starts it.
struct WindowFixture : FakePlatform {
    MazeWindow window{{&chooser, &box, &end, &screen, nullptr, nullptr, QStringLiteral("/samples/of/zirk")}};

    explicit WindowFixture(QRect screenArea = QRect(0, 0, 1024, 768)) : FakePlatform(screenArea) {
        // Where the platform puts the focus when the window first shows: the first control of the tab order.
        window.control(Control::OpenButton)->setFocus();
        window.start();
    }

    QWindow* handle() { return window.windowHandle(); }
    QPoint centre(Control id) { return window.control(id)->geometry().center(); }

    // Through the window, so that Qt picks the control under the pointer as a real click would.
    void click(Control id, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(handle(), button, {}, centre(id));
    }

    // Nothing a player can do shows the grip or the window-state buttons; tests show them to reach them.
    void showHidden(std::initializer_list<FramePart> parts) {
        for (FramePart part : parts)
            window.frame().setVisible(part, true);
        window.frame().relayout();
    }
};

} // namespace zirk::testing
