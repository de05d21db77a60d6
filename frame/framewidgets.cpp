// SPDX-License-Identifier: GPL-3.0-or-later
#include "framewidgets.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zirk {

namespace {

Twips twipsX(const QMouseEvent* e) {
    return toTwips(1) * e->position().x();
}
Twips twipsY(const QMouseEvent* e) {
    return toTwips(1) * e->position().y();
}

// The picture's column (or row) that each of `stretched` device columns (or rows) shows once a picture
// `count` columns wide (or rows high) is stretched to them by QPixmap::scaled without smoothing. They are
// read off a picture of column (or row) numbers, one pixel high (or wide), stretched the same way, so that
// they are Qt's own choice and no formula of ours. Empty when the numbers did not come through.
std::vector<int> stretchedIndices(int count, int stretched, Qt::Orientation along) {
    const bool across = along == Qt::Horizontal;
    // One pixel high or wide, a picture's 32-bit pixels lie one after another.
    QImage numbers(across ? QSize(count, 1) : QSize(1, count), QImage::Format_RGB32);
    if (numbers.sizeInBytes() != qsizetype(count) * 4) return {};
    auto* number = reinterpret_cast<quint32*>(numbers.bits());
    for (int i = 0; i < count; ++i)
        number[i] = 0xff000000u | static_cast<quint32>(i);
    const QSize size = across ? QSize(stretched, 1) : QSize(1, stretched);
    const QImage out =
        QPixmap::fromImage(numbers).scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation).toImage();
    if (out.size() != size || out.format() != QImage::Format_RGB32 ||
        out.sizeInBytes() != qsizetype(stretched) * 4)
        return {};
    const auto* shown = reinterpret_cast<const quint32*>(out.constBits());
    std::vector<int> indices(static_cast<std::size_t>(stretched));
    for (int i = 0; i < stretched; ++i) {
        const int index = static_cast<int>(shown[i] & 0xffffffu);
        if (index >= count) return {};
        indices[static_cast<std::size_t>(i)] = index;
    }
    return indices;
}

bool holdsOpaquePixelsAsIs(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

PictureControl::PictureControl(bool stretch, QWidget* parent) : QWidget(parent), stretch_(stretch) {
    // A stretched picture covers its whole widget without a hole, so what lies beneath need not be painted.
    if (stretch_) setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureControl::setPicture(const QPixmap& picture) {
    if (picture.cacheKey() == picture_.cacheKey()) return;
    picture_ = picture;
    forgetStretched();
    update();
}

void PictureControl::setPressedPicture(const QPixmap& picture) {
    pressedPicture_ = picture;
}

void PictureControl::setPressed(bool pressed) {
    if (pressed == pressed_) return;
    pressed_ = pressed;
    forgetStretched();
    update();
}

void PictureControl::forgetStretched() {
    columnRuns_.clear();
    runOfColumn_.clear();
    sourceRows_.clear();
    scaled_ = QPixmap();
}

void PictureControl::paintEvent(QPaintEvent* e) {
    const QPixmap& shown = picture();
    if (shown.isNull()) return;
    QPainter p(this);
    const bool smooth = scalesSmoothly(devicePixelRatioF());
    p.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    if (!stretch_) {
        p.drawPixmap(0, 0, shown);
        return;
    }
    const QSize target = size() * devicePixelRatioF();
    if (!smooth && paintStretchedRows(p, e->region(), shown, target)) return;
    // Stretching a large picture on every paint is what makes resizing slow; keep one copy per size.
    if (scaled_.size() != target) {
        scaled_ = shown.scaled(target, Qt::IgnoreAspectRatio,
                               smooth ? Qt::SmoothTransformation : Qt::FastTransformation);
        scaled_.setDevicePixelRatio(devicePixelRatioF());
    }
    p.drawPixmap(0, 0, scaled_);
}

// A nearest-neighbour stretch is one across and one down: each device pixel shows the picture's pixel at the
// column of its column and the row of its row, and most rows repeat the row above them. Writing the paint
// region straight into the device's pixels that way costs about one fill of the region, where making the
// whole stretched picture at every size change and then drawing it cost several. Only a device that is a
// 32-bit image, painted with no clip of the painter's own and at whole device pixels, is written so; anything
// else is left to the whole stretched copy.
bool PictureControl::paintStretchedRows(QPainter& p, const QRegion& region, const QPixmap& shown,
                                        QSize target) {
    if (target.isEmpty() || shown.hasAlphaChannel()) return false;
    const QImage source = shown.toImage();
    if (source.format() != QImage::Format_RGB32) return false;
    QPaintEngine* engine = p.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster) return false;
    QPaintDevice* device = engine->paintDevice();
    if (!device || device->devType() != QInternal::Image) return false;
    auto* image = static_cast<QImage*>(device);
    // A shared image would be copied by the first write, and the copy would not be what is shown.
    if (!holdsOpaquePixelsAsIs(image->format()) || !image->isDetached()) return false;
    if (p.hasClipping() || p.opacity() != 1.0 || p.compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    const qreal ratio = devicePixelRatioF();
    const QTransform toDevice = p.deviceTransform();
    if (toDevice.type() > QTransform::TxScale || toDevice.m11() != ratio || toDevice.m22() != ratio)
        return false;
    const QPointF origin = toDevice.map(QPointF(0, 0));
    if (origin.x() != std::round(origin.x()) || origin.y() != std::round(origin.y())) return false;
    const QPoint at = origin.toPoint();

    if (runOfColumn_.size() != static_cast<std::size_t>(target.width())) {
        columnRuns_.clear();
        runOfColumn_.clear();
        const std::vector<int> columns = stretchedIndices(source.width(), target.width(), Qt::Horizontal);
        for (int x = 0; x < static_cast<int>(columns.size()); ++x) {
            if (columnRuns_.empty() || columnRuns_.back().column != columns[static_cast<std::size_t>(x)])
                columnRuns_.push_back({columns[static_cast<std::size_t>(x)], x, 0});
            ++columnRuns_.back().length;
            runOfColumn_.push_back(static_cast<int>(columnRuns_.size()) - 1);
        }
    }
    if (sourceRows_.size() != static_cast<std::size_t>(target.height()))
        sourceRows_ = stretchedIndices(source.height(), target.height(), Qt::Vertical);
    if (runOfColumn_.empty() || sourceRows_.empty()) return false;
    scaled_ = QPixmap();

    QRegion area;
    for (const QRect& r : region)
        area += toDevice.mapRect(QRectF(r)).toAlignedRect();
    area &= QRect(at, target) & image->rect();
    const QRegion systemClip = engine->systemClip();
    if (!systemClip.isEmpty()) area &= systemClip;
    // The part of a row that a rectangle of the region needs is stretched where it stays in the cache, a run
    // of equal pixels at a time, and copied out from there as often as it repeats: the device's pixels, far
    // too many for the cache, take wide copies much faster than one pixel at a time. A run is written eight
    // pixels at a time, the last few spilling into the next run or the spare room after the part.
    std::vector<quint32> stretchedRow(static_cast<std::size_t>(target.width()) + 8);
    for (const QRect& r : area) {
        const int left = r.left() - at.x();
        const int end = left + r.width();
        int rowInBuffer = -1;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const int row = sourceRows_[static_cast<std::size_t>(y - at.y())];
            if (row != rowInBuffer) {
                const auto* in = reinterpret_cast<const quint32*>(source.constScanLine(row));
                quint32* out = stretchedRow.data();
                for (std::size_t k = static_cast<std::size_t>(runOfColumn_[static_cast<std::size_t>(left)]);
                     k < columnRuns_.size() && columnRuns_[k].start < end; ++k) {
                    const Run& run = columnRuns_[k];
                    const int length = std::min(run.start + run.length, end) - std::max(run.start, left);
                    const quint32 pixel = in[run.column];
                    if (length == 1) {
                        *out = pixel; // a picture no wider than its control has nothing but these
                    } else {
                        for (int done = 0; done < length; done += 8) {
                            for (int i = 0; i < 8; ++i)
                                out[done + i] = pixel;
                        }
                    }
                    out += length;
                }
                rowInBuffer = row;
            }
            std::memcpy(image->scanLine(y) + r.left() * 4, stretchedRow.data(),
                        static_cast<std::size_t>(r.width()) * sizeof(quint32));
        }
    }
    return true;
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
