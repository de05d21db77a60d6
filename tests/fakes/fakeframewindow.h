// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A window for the frame's handlers that only remembers: its geometry in twips, whether it is minimised, and
// every call made on it, in order, as short strings ("hide", "width=19200", "layout", ...). "hide" and "show"
// stand for suspended and resumed painting.

#include "frame.h"

#include <QString>
#include <QStringList>
#include <QTest>

#include <functional>
#include <utility>

namespace zirk::testing {

struct Geometry {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    friend bool operator==(const Geometry&, const Geometry&) = default;
};

// Found by QCOMPARE through argument-dependent lookup, so a failing comparison prints both rectangles.
inline char* toString(const Geometry& g) {
    return QTest::toString(QStringLiteral("Geometry(left %1, top %2, %3 x %4)")
                               .arg(g.left)
                               .arg(g.top)
                               .arg(g.width)
                               .arg(g.height));
}

class FakeFrameWindow : public FrameWindow {
public:
    explicit FakeFrameWindow(Geometry start = {0, 0, 7545, 5895}) : current(start) {}

    // Set once the frame exists: the frame needs the window first, and the window runs the frame's layout.
    Frame* frame = nullptr;

    Geometry current;
    bool isMinimised = false;
    bool canPlaceItself = true;
    bool isMaximised = false; // only where the window cannot place itself
    double screenW = 19200;
    double screenH = 11520;

    QStringList calls;
    int partsChangedCount = 0;
    // Called after each call is logged, so a test can look at the frame at that very moment.
    std::function<void(const QString&)> onCall;

    bool minimized() const override { return isMinimised; }
    WindowGeometry geometry() const override {
        return {current.left, current.top, current.width, current.height};
    }
    double screenWidth() const override { return screenW; }
    double screenHeight() const override { return screenH; }

    void setLeft(double twips) override {
        current.left = twips;
        log(QStringLiteral("left=") + number(twips));
    }
    void setTop(double twips) override {
        current.top = twips;
        log(QStringLiteral("top=") + number(twips));
    }
    // The real window lays its controls out again before a size change returns.
    void setWidth(double twips) override {
        current.width = twips;
        log(QStringLiteral("width=") + number(twips));
        layout();
    }
    void setHeight(double twips) override {
        current.height = twips;
        log(QStringLiteral("height=") + number(twips));
        layout();
    }
    void suspendPainting() override { log(QStringLiteral("hide")); }
    void resumePainting() override { log(QStringLiteral("show")); }
    void show() override { log(QStringLiteral("shown")); }
    void minimize() override {
        isMinimised = true;
        log(QStringLiteral("minimize"));
    }
    bool placesItself() const override { return canPlaceItself; }
    void maximize() override {
        isMaximised = true;
        log(QStringLiteral("maximize"));
    }
    bool unmaximize() override {
        log(QStringLiteral("unmaximize"));
        return std::exchange(isMaximised, false);
    }
    void processEvents() override { log(QStringLiteral("processEvents")); }
    void close() override { log(QStringLiteral("unload")); }
    // Counted apart from the calls: it says nothing about the window and would clutter every expected
    // sequence.
    void partsChanged() override { ++partsChangedCount; }

private:
    static QString number(double twips) { return QString::number(twips, 'g', 15); }

    void log(const QString& call) {
        calls.append(call);
        if (onCall) onCall(call);
    }

    void layout() {
        log(QStringLiteral("layout"));
        if (frame) frame->relayout();
    }
};

} // namespace zirk::testing

Q_DECLARE_METATYPE(zirk::testing::Geometry)
