// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Canvases for tests: one that remembers every box it was asked to fill, one that paints them into pixels.

#include "view.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QTest>

#include <algorithm>
#include <vector>

namespace zirk {

// Found by QCOMPARE through argument-dependent lookup, so failing colour comparisons print the colour.
inline char* toString(const Rgb& colour) {
    return QTest::toString(QStringLiteral("Rgb(%1,%2,%3)").arg(colour.r).arg(colour.g).arg(colour.b));
}

namespace testing {

struct Box {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    Rgb colour;

    friend bool operator==(const Box&, const Box&) = default;
};

inline char* toString(const Box& box) {
    return QTest::toString(QStringLiteral("Box(%1,%2)-(%3,%4) Rgb(%5,%6,%7)")
                               .arg(box.x1)
                               .arg(box.y1)
                               .arg(box.x2)
                               .arg(box.y2)
                               .arg(box.colour.r)
                               .arg(box.colour.g)
                               .arg(box.colour.b));
}

// A QList so that QCOMPARE on two box lists names the first index where they differ.
class RecordingCanvas : public Canvas {
public:
    void fillBox(int x1, int y1, int x2, int y2, Rgb colour) override {
        boxes.append(Box{x1, y1, x2, y2, colour});
    }

    QList<Box> boxes;
};

// Paints boxes the way a screen would: both corners included, anything outside the canvas dropped. Starts
// black, so that a pixel nobody painted is told apart from every colour the game uses.
class PixelCanvas : public Canvas {
public:
    explicit PixelCanvas(int width = 350, int height = 350)
        : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {}

    void fillBox(int x1, int y1, int x2, int y2, Rgb colour) override {
        const int left = std::max(std::min(x1, x2), 0);
        const int right = std::min(std::max(x1, x2), width_ - 1);
        const int top = std::max(std::min(y1, y2), 0);
        const int bottom = std::min(std::max(y1, y2), height_ - 1);
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                pixels_[index(x, y)] = colour;
    }

    Rgb pixel(int x, int y) const { return pixels_.at(index(x, y)); }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

} // namespace testing
} // namespace zirk

// Both can then be columns of QTest data tables.
Q_DECLARE_METATYPE(zirk::Rgb)
Q_DECLARE_METATYPE(zirk::testing::Box)
