#include "widgets.h"

#include "bitmaps.h"
#include "twips.h"

#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QResource>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>
#include <utility>

namespace zirk {

QColor toQColor(Rgb colour) { return QColor(colour.r, colour.g, colour.b); }

QFont fontFor(const Font& font) {
    QFont f;
    if (font.family) {
        f.setFamily(QString::fromUtf8(font.family));
        f.setPointSizeF(font.points);
        f.setWeight(static_cast<QFont::Weight>(font.weight));
    }
    return f;
}

QPixmap loadPicture(const char* path) {
    const QString name = QString::fromUtf8(path);
    // Several controls show the same picture: they share one copy.
    QPixmap picture;
    if (QPixmapCache::find(name, &picture))
        return picture;
    // The pictures compiled into the program are read by the window's own reader (see bitmaps.h).
    QImage image;
    const QResource resource(name);
    if (resource.isValid())
        image = readWindowsBitmap(resource.uncompressedData());
    if (image.isNull()) {
        // Named, the format is read by Qt's own reader at once; left to be guessed, every image plugin installed
        // on the system is loaded and asked first.
        QImageReader reader(name, QFileInfo(name).suffix().toLatin1());
        reader.setAutoDetectImageFormat(false);
        image = reader.read();
    }
    picture = QPixmap::fromImage(std::move(image));
    QPixmapCache::insert(name, picture);
    return picture;
}

namespace {

double twipsX(const QMouseEvent* e) { return toTwips(1) * e->position().x(); }
double twipsY(const QMouseEvent* e) { return toTwips(1) * e->position().y(); }

} // namespace

ImageControl::ImageControl(const ControlRow& row, QWidget* parent) : QWidget(parent), stretch_(row.stretch) {
    setObjectName(QString::fromUtf8(row.name));
    if (row.tooltip)
        setToolTip(QString::fromUtf8(row.tooltip));
    if (row.cursor == Cursor::SizeDiagonal)
        setCursor(Qt::SizeFDiagCursor);
    // A stretched picture covers its whole control without a hole, so what lies beneath need not be painted.
    if (stretch_)
        setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageControl::setPicture(const QPixmap& picture) {
    if (picture.cacheKey() == picture_.cacheKey())
        return;
    picture_ = picture;
    scaled_ = QPixmap();
    update();
}

void ImageControl::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter p(this);
    if (!stretch_) {
        p.drawPixmap(0, 0, picture_);
        return;
    }
    // Stretching a large picture on every paint is what makes resizing slow; keep one copy per size.
    const QSize target = size() * devicePixelRatioF();
    if (scaled_.size() != target) {
        scaled_ = picture_.scaled(target, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        scaled_.setDevicePixelRatio(devicePixelRatioF());
        ++rescales_;
    }
    p.drawPixmap(0, 0, scaled_);
}

void ImageControl::mousePressEvent(QMouseEvent* e) {
    emit mouseDown(e->button(), twipsX(e), twipsY(e), e->globalPosition());
}
void ImageControl::mouseMoveEvent(QMouseEvent* e) { emit mouseMove(twipsX(e), twipsY(e), e->globalPosition()); }
void ImageControl::mouseReleaseEvent(QMouseEvent* e) {
    emit mouseUp(e->button(), twipsX(e), twipsY(e));
    // A click is a release over the control that took the press.
    if (rect().contains(e->position().toPoint()))
        emit clicked();
}

LabelControl::LabelControl(const ControlRow& row, QWidget* parent) : QLabel(parent) {
    setObjectName(QString::fromUtf8(row.name));
    if (row.caption)
        setText(QString::fromUtf8(row.caption));
    setTextFormat(Qt::PlainText);
    setFont(fontFor(row.font));
    setAlignment(row.centred ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(row.growsWithText);
    if (row.fore) {
        QPalette pal = palette();
        pal.setColor(QPalette::WindowText, toQColor(*row.fore));
        setPalette(pal);
    }
    setAutoFillBackground(row.opaque);
}

void LabelControl::setBackColour(Rgb colour) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(colour));
    setPalette(pal);
}

void LabelControl::mousePressEvent(QMouseEvent* e) {
    if (receivers(SIGNAL(mouseDown(Qt::MouseButton, QPointF))) == 0) {
        QLabel::mousePressEvent(e);
        return;
    }
    emit mouseDown(e->button(), e->globalPosition());
}
void LabelControl::mouseMoveEvent(QMouseEvent* e) { emit mouseMove(e->globalPosition()); }
void LabelControl::mouseReleaseEvent(QMouseEvent*) { emit mouseUp(); }
void LabelControl::mouseDoubleClickEvent(QMouseEvent* e) {
    if (receivers(SIGNAL(doubleClicked())) == 0) {
        QLabel::mouseDoubleClickEvent(e);
        return;
    }
    emit doubleClicked();
}

LineControl::LineControl(const ControlRow& row, QWidget* parent)
    : QWidget(parent), colour_(toQColor(row.fore.value_or(Rgb{}))), horizontal_(row.top == row.height) {
    setObjectName(QString::fromUtf8(row.name));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setEnds(row.left, row.top, row.width, row.height);
}

void LineControl::setEnds(double x1, double y1, double x2, double y2) {
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

void LineControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), colour_);
}

ShapeControl::ShapeControl(const ControlRow& row, QWidget* parent)
    : QWidget(parent), colour_(toQColor(row.back.value_or(Rgb{}))) {
    setObjectName(QString::fromUtf8(row.name));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int d = std::min(width(), height());
    p.setPen(Qt::NoPen);
    p.setBrush(colour_);
    p.drawEllipse(QRect((width() - d) / 2, (height() - d) / 2, d, d));
}

PictureBox::PictureBox(const ControlRow& row, QWidget* parent) : QFrame(parent), back_(row.back.value_or(Rgb{})) {
    setObjectName(QString::fromUtf8(row.name));
    setFocusPolicy(Qt::StrongFocus);
    if (row.sunkenBorder) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
    }
    setBackColour(back_);
}

void PictureBox::setBackColour(Rgb colour) {
    back_ = colour;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(colour));
    setPalette(pal);
    setAutoFillBackground(true);
    update();
}

QImage& PictureBox::picture() {
    if (picture_.isNull()) {
        picture_ = QImage(contentsRect().size(), QImage::Format_RGB32);
        picture_.fill(toQColor(back_));
        // The picture covers the whole box: filling the background under it first is wasted work.
        if (contentsRect() == rect()) {
            setAutoFillBackground(false);
            setAttribute(Qt::WA_OpaquePaintEvent);
        }
    }
    return picture_;
}

void PictureBox::paintEvent(QPaintEvent* e) {
    if (frameStyle() != QFrame::NoFrame)
        QFrame::paintEvent(e);
    if (!picture_.isNull()) {
        QPainter p(this);
        p.drawImage(contentsRect().topLeft(), picture_);
    }
}

// Focus that comes and goes with the whole window (another application, a modal box) is not a focus change
// between the window's own controls and leaves the colour alone.
void PictureBox::focusInEvent(QFocusEvent* e) {
    QFrame::focusInEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        emit gotFocus();
}

void PictureBox::focusOutEvent(QFocusEvent* e) {
    QFrame::focusOutEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        emit lostFocus();
}

void PictureBox::keyPressEvent(QKeyEvent* e) {
    // One event per typed single-byte character; keys that type nothing, or characters beyond one byte, send none.
    const QString text = e->text();
    for (QChar c : text) {
        if (c.unicode() < 256)
            emit keyPress(c.unicode());
    }
    e->accept();
}

GraphicalButton::GraphicalButton(const ControlRow& row, QWidget* parent) : QPushButton(parent) {
    setObjectName(QString::fromUtf8(row.name) +
                  (row.index >= 0 ? QStringLiteral("(%1)").arg(row.index) : QString()));
    setText(QString::fromUtf8(row.caption));
    setFocusPolicy(Qt::StrongFocus);
    setAutoDefault(false);
    if (row.picture)
        picture_ = loadPicture(row.picture);
}

void GraphicalButton::paintEvent(QPaintEvent* e) {
    if (picture_.isNull()) {
        QPushButton::paintEvent(e);
        return;
    }
    QStylePainter p(this);
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
    p.drawText(QRect(shift, top + picture_.height() + shift, width(), textHeight), Qt::AlignHCenter | Qt::AlignTop,
               text());
}

void PictureCanvas::fillBox(int x1, int y1, int x2, int y2, Rgb colour) {
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, image_.width() - 1);
    y2 = std::min(y2, image_.height() - 1);
    if (x1 > x2 || y1 > y2)
        return;
    const QRgb value = qRgb(colour.r, colour.g, colour.b);
    // scanLine() checks for sharing on every call; the picture is ours alone, so take its rows once.
    uchar* const bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    for (int y = y1; y <= y2; ++y) {
        auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(line + x1, line + x2 + 1, value);
    }
}

} // namespace zirk
