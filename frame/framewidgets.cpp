// SPDX-License-Identifier: GPL-3.0-or-later
#include "framewidgets.h"

#include <QMouseEvent>
#include <QPainter>

namespace zirk {

namespace {

Twips twipsX(const QMouseEvent* e) {
    return toTwips(1) * e->position().x();
}
Twips twipsY(const QMouseEvent* e) {
    return toTwips(1) * e->position().y();
}

} // namespace

PictureControl::PictureControl(bool stretch, QWidget* parent) : QWidget(parent), stretch_(stretch) {
    // A stretched picture covers its whole widget without a hole, so what lies beneath need not be painted.
    if (stretch_) setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureControl::setPicture(const QPixmap& picture) {
    if (picture.cacheKey() == picture_.cacheKey()) return;
    picture_ = picture;
    scaled_ = QPixmap();
    update();
}

void PictureControl::setPressedPicture(const QPixmap& picture) {
    pressedPicture_ = picture;
}

void PictureControl::setPressed(bool pressed) {
    if (pressed == pressed_) return;
    pressed_ = pressed;
    scaled_ = QPixmap();
    update();
}

void PictureControl::paintEvent(QPaintEvent*) {
    const QPixmap& shown = picture();
    if (shown.isNull()) return;
    QPainter p(this);
    const bool smooth = scalesSmoothly(devicePixelRatioF());
    if (!stretch_) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
        p.drawPixmap(0, 0, shown);
        return;
    }
    // One stretched copy per size, drawn as it is. A stretch drawn straight through the paint's clip would
    // shift a column or a row wherever the controls above cut the clip into pieces, since Qt rounds each
    // piece from its own edge; the copy is the same picture whatever part of it a paint needs.
    const QSize target = size() * devicePixelRatioF();
    if (scaled_.size() != target) {
        scaled_ = QPixmap(); // the old copy's memory is free for the new one
        scaled_ = shown.scaled(target, Qt::IgnoreAspectRatio,
                               smooth ? Qt::SmoothTransformation : Qt::FastTransformation);
        scaled_.setDevicePixelRatio(devicePixelRatioF());
    }
    p.drawPixmap(0, 0, scaled_);
}

void PictureControl::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) emit pressed(twipsX(e), twipsY(e));
}

void PictureControl::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() & Qt::LeftButton) emit moved(twipsX(e), twipsY(e));
}

void PictureControl::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    emit released();
    if (rect().contains(e->position().toPoint())) emit clicked();
}

BorderLine::BorderLine(QColor colour, bool horizontal, QWidget* parent)
    : QWidget(parent), colour_(colour), horizontal_(horizontal) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BorderLine::setEnds(Twips x1, Twips y1, Twips x2, Twips y2) {
    const int px1 = toPixels(x1), py1 = toPixels(y1), px2 = toPixels(x2), py2 = toPixels(y2);
    // Only straight lines occur, and each keeps its direction at every size, also when it shrinks to nothing.
    // The end point itself is not drawn.
    QRect r;
    if (horizontal_)
        r = px2 >= px1 ? QRect(px1, py1, px2 - px1, 1) : QRect(px2 + 1, py1, px1 - px2, 1);
    else
        r = py2 >= py1 ? QRect(px1, py1, 1, py2 - py1) : QRect(px1, py2 + 1, 1, py1 - py2);
    setGeometry(r);
}

void BorderLine::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), colour_);
}

void FrameWidgets::show(const Frame& frame) const {
    for (std::size_t i = 0; i < kFramePartCount; ++i) {
        QWidget* w = widgets_[i];
        if (!w) continue;
        const PartState& part = frame[static_cast<FramePart>(i)];
        if (auto* line = qobject_cast<BorderLine*>(w))
            line->setEnds(part.left, part.top, part.width, part.height);
        else
            w->setGeometry(toPixelRect(part.left, part.top, part.width, part.height));
        if (auto* picture = qobject_cast<PictureControl*>(w)) picture->setPressed(part.pressed);
        if (w->isVisibleTo(w->parentWidget()) != part.visible) w->setVisible(part.visible);
    }
}

} // namespace zirk
