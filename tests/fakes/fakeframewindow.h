#pragma once

// A window for the frame's handlers that only remembers: its geometry in twips, whether it is minimised, and
// every call made on it, in order, as short strings ("hide", "width=19200", "layout", ...).

#include "frame.h"

#include <QString>
#include <QStringList>
#include <QTest>

#include <functional>

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
    return QTest::toString(
        QStringLiteral("Geometry(left %1, top %2, %3 x %4)").arg(g.left).arg(g.top).arg(g.width).arg(g.height));
}

class FakeFrameWindow : public FrameWindow {
public:
    explicit FakeFrameWindow(Geometry start = {0, 0, 7545, 5895}) : geometry(start) {}

    // Set once the frame exists: the frame needs the window first, and the window runs the frame's layout.
    Frame* frame = nullptr;

    Geometry geometry;
    bool isMinimised = false;
    double screenW = 19200;
    double screenH = 11520;

    QStringList calls;
    int controlsChangedCount = 0;
    // Called after each call is logged, so a test can look at the frame at that very moment.
    std::function<void(const QString&)> onCall;

    bool minimized() const override { return isMinimised; }
    // Borderless: the inside is the whole window.
    double scaleWidth() const override { return geometry.width; }
    double scaleHeight() const override { return geometry.height; }
    double width() const override { return geometry.width; }
    double height() const override { return geometry.height; }
    double screenWidth() const override { return screenW; }
    double screenHeight() const override { return screenH; }

    void setLeft(double twips) override {
        geometry.left = twips;
        log(QStringLiteral("left=") + number(twips));
    }
    void setTop(double twips) override {
        geometry.top = twips;
        log(QStringLiteral("top=") + number(twips));
    }
    // The real window lays its controls out again before a size change returns.
    void setWidth(double twips) override {
        geometry.width = twips;
        log(QStringLiteral("width=") + number(twips));
        layout();
    }
    void setHeight(double twips) override {
        geometry.height = twips;
        log(QStringLiteral("height=") + number(twips));
        layout();
    }
    void hideWindow() override { log(QStringLiteral("hide")); }
    void showWindow() override { log(QStringLiteral("show")); }
    void minimize() override {
        isMinimised = true;
        log(QStringLiteral("minimize"));
    }
    void processEvents() override { log(QStringLiteral("processEvents")); }
    void unload() override { log(QStringLiteral("unload")); }
    void startSystemMove() override { log(QStringLiteral("systemMove")); }
    // Counted apart from the calls: it says nothing about the window and would clutter every expected sequence.
    void controlsChanged() override { ++controlsChangedCount; }

private:
    static QString number(double twips) { return QString::number(twips, 'g', 15); }

    void log(const QString& call) {
        calls.append(call);
        if (onCall)
            onCall(call);
    }

    void layout() {
        log(QStringLiteral("layout"));
        if (frame)
            frame->Form_Resize();
    }
};

} // namespace zirk::testing

Q_DECLARE_METATYPE(zirk::testing::Geometry)
