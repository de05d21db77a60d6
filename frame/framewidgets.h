// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "frame.h"

#include <QColor>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <cmath>

namespace zirk {

// At a fractional scale factor no picture falls on whole device pixels: it is scaled smoothly there, so that
// its edges stay even. At whole factors it is scaled exactly, pixel for pixel.
inline bool scalesSmoothly(qreal devicePixelRatio) {
    return devicePixelRatio != std::floor(devicePixelRatio);
}

// A windowless picture, drawn at its own size or stretched over the widget; a caption button also has a
// picture for while it is held. Only the left button presses it. Mouse positions go out in twips relative to
// the widget. While the button is held the widget keeps the pointer, so moves and the release arrive here
// wherever the pointer is.
class PictureControl : public QWidget {
    Q_OBJECT
public:
    PictureControl(bool stretch, QWidget* parent);
    void setPicture(const QPixmap& picture);
    void setPressedPicture(const QPixmap& picture);
    void setPressed(bool pressed);
    // The picture showing now.
    const QPixmap& picture() const {
        return pressed_ && !pressedPicture_.isNull() ? pressedPicture_ : picture_;
    }

signals:
    void pressed(zirk::Twips x, zirk::Twips y);
    void moved(zirk::Twips x, zirk::Twips y);
    void released();
    // A release over the widget that took the press.
    void clicked();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QPixmap picture_;
    QPixmap pressedPicture_;
    // The stretched picture at the widget's device size.
    QPixmap scaled_;
    bool stretch_;
    bool pressed_ = false;
};

// A one-pixel line between two points given in twips; like the platform's line it stops short of its end
// point.
class BorderLine : public QWidget {
    Q_OBJECT
public:
    BorderLine(QColor colour, bool horizontal, QWidget* parent);
    void setEnds(Twips x1, Twips y1, Twips x2, Twips y2);
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor colour_;
    bool horizontal_;
};

// The widgets that show the frame's parts. The frame is the only one to place, show or hide them.
class FrameWidgets {
public:
    void set(FramePart part, QWidget* widget) { widgets_[static_cast<std::size_t>(part)] = widget; }
    QWidget* operator[](FramePart part) const { return widgets_[static_cast<std::size_t>(part)]; }
    // Moves, presses, shows and hides each widget as the frame has its part.
    void show(const Frame& frame) const;

private:
    std::array<QWidget*, kFramePartCount> widgets_{};
};

} // namespace zirk
