// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets.h"

#include "framewidgets.h"
#include "keys.h"
#include "pictures.h"
#include "texts.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>
#include <utility>

namespace zirk {

QColor toQColor(Rgb colour) {
    return QColor(colour.r, colour.g, colour.b);
}

QFont fontFor(const Font& font) {
    QFont f;
    if (font.family) {
        f.setFamily(QString::fromUtf8(font.family));
        f.setPointSizeF(font.points);
        f.setWeight(static_cast<QFont::Weight>(font.weight));
    }
    return f;
}

namespace {

void setBackground(QWidget& widget, Rgb colour) {
    QPalette pal = widget.palette();
    pal.setColor(QPalette::Window, toQColor(colour));
    widget.setPalette(pal);
}

} // namespace

TextLabel::TextLabel(const ControlRow& row, QWidget* parent) : QLabel(parent) {
    if (row.caption) setText(QString::fromUtf8(row.caption));
    setTextFormat(Qt::PlainText);
    setAlignment(row.centred ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(row.growsWithText);
    if (row.fore) {
        QPalette pal = palette();
        pal.setColor(QPalette::WindowText, toQColor(*row.fore));
        setPalette(pal);
    }
    setAutoFillBackground(row.opaque);
}

void TextLabel::setBackColour(Rgb colour) {
    setBackground(*this, colour);
}

Disc::Disc(const ControlRow& row, QWidget* parent)
    : QWidget(parent), colour_(toQColor(row.back.value_or(Rgb{}))) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Disc::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int d = std::min(width(), height());
    p.setPen(Qt::NoPen);
    p.setBrush(colour_);
    p.drawEllipse(QRect((width() - d) / 2, (height() - d) / 2, d, d));
}

ColourBox::ColourBox(const ControlRow& row, QWidget* parent) : QFrame(parent) {
    setFocusPolicy(Qt::StrongFocus);
    if (row.sunkenBorder) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
    }
    setAutoFillBackground(true);
    setBackColour(row.back.value_or(Rgb{}));
}

void ColourBox::setBackColour(Rgb colour) {
    setBackground(*this, colour);
    update();
}

KeyPanel::KeyPanel(const ControlRow& row, QWidget* parent) : ColourBox(row, parent) {}

// Keys reach the panel while it is the focus of the active window: a modal box, another application or
// another control takes them away, and the colour follows.
void KeyPanel::showWhetherKeysArrive() {
    setBackColour(hasFocus() ? kPanelFocused : kPanelUnfocused);
    // And to a screen reader, as the panel's checked state (accessibility.cpp).
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void KeyPanel::focusInEvent(QFocusEvent* e) {
    ColourBox::focusInEvent(e);
    showWhetherKeysArrive();
}

void KeyPanel::focusOutEvent(QFocusEvent* e) {
    ColourBox::focusOutEvent(e);
    showWhetherKeysArrive();
}

void KeyPanel::keyPressEvent(QKeyEvent* e) {
    if (e->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) {
        e->ignore();
        return;
    }
    e->accept();
    // Without a window manager X11 sends the keys to the window under the pointer, active or not; asking for
    // the keyboard makes the panel show that they arrive.
    if (!window()->isActiveWindow()) window()->activateWindow();
    if (const std::optional<Command> arrow = commandForArrow(e->key())) {
        emit commanded(*arrow);
        return;
    }
    // Each typed character of one byte counts; keys that type nothing, or characters beyond one byte, do not.
    for (QChar c : e->text()) {
        if (c.unicode() >= 256) continue;
        if (const std::optional<Command> command = commandForKey(static_cast<char>(c.unicode())))
            emit commanded(*command);
    }
}

MazeView::MazeView(const ControlRow& row, QWidget* parent)
    : QWidget(parent), picture_(toPixels(row.width), toPixels(row.height), QImage::Format_RGB32) {
    setFocusPolicy(Qt::StrongFocus);
    picture_.fill(toQColor(row.back.value_or(Rgb{})));
    // The picture covers the whole view: nothing beneath it needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MazeView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, scalesSmoothly(devicePixelRatioF()));
    p.drawImage(0, 0, picture());
}

const QImage& MazeView::picture() {
    // The boxes of a drawing are painted through one painter, which has put them all in once it ends.
    if (boxes_.isActive()) boxes_.end();
    return picture_;
}

void MazeView::fillBox(int x1, int y1, int x2, int y2, Rgb colour) {
    if (!boxes_.isActive()) boxes_.begin(&picture_);
    // Both corners belong to the box, given in either order; what lies outside the picture is clipped.
    boxes_.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized(), QColor(colour.r, colour.g, colour.b));
}

PictureButton::PictureButton(const ControlRow& row, QWidget* parent) : QPushButton(parent) {
    setText(QString::fromUtf8(row.caption));
    setFocusPolicy(Qt::StrongFocus);
    setAutoDefault(false);
    if (row.picture) picture_ = loadPicture(row.picture);
}

void PictureButton::keyPressEvent(QKeyEvent* e) {
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && !(e->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) && !e->isAutoRepeat()) {
        e->accept();
        click();
        return;
    }
    QPushButton::keyPressEvent(e);
}

void PictureButton::paintEvent(QPaintEvent* e) {
    if (picture_.isNull()) {
        QPushButton::paintEvent(e);
        return;
    }
    QStylePainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, scalesSmoothly(devicePixelRatioF()));
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    p.drawControl(QStyle::CE_PushButton, option);
    const int shift = isDown() ? 1 : 0;
    const int gap = 3;
    const int textHeight = fontMetrics().height();
    const int top = std::max(0, (height() - picture_.height() - textHeight) / 2 - gap / 2);
    p.drawPixmap((width() - picture_.width()) / 2 + shift, top + shift, picture_);
    p.drawText(QRect(shift, top + picture_.height() + shift, width(), textHeight),
               Qt::AlignHCenter | Qt::AlignTop, text());
}

} // namespace zirk
