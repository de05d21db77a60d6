#pragma once

#include "colour.h"
#include "controls.h"
#include "view.h"

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

namespace zirk {

QColor toQColor(Rgb colour);

// One of the pictures compiled into the program; each is read once and shared by the controls that show it.
QPixmap loadPicture(const char* path);

// A windowless picture: drawn at its own size or stretched over the control. Mouse positions go out in twips
// relative to the control; while a button is held the control keeps the pointer, so moves and the release
// arrive here wherever the pointer is.
class ImageControl : public QWidget {
    Q_OBJECT
public:
    ImageControl(const ControlRow& row, QWidget* parent);
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }
    // How often the stretched copy was made; it is redone only when the size or the picture changes.
    int rescaleCount() const { return rescales_; }

signals:
    void mouseDown(Qt::MouseButton button, double x, double y, QPointF globalPos);
    void mouseMove(double x, double y, QPointF globalPos);
    void mouseUp(Qt::MouseButton button, double x, double y);
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QPixmap picture_;
    QPixmap scaled_;
    bool stretch_;
    int rescales_ = 0;
};

// A text label; only the title text has handlers, the others let the press through to the window.
class LabelControl : public QLabel {
    Q_OBJECT
public:
    LabelControl(const ControlRow& row, QWidget* parent);
    void setBackColour(Rgb colour);

signals:
    void mouseDown(Qt::MouseButton button, QPointF globalPos);
    void mouseMove(QPointF globalPos);
    void mouseUp();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
};

// A one-pixel line between two points given in twips; like the platform's line it stops short of its end point.
class LineControl : public QWidget {
    Q_OBJECT
public:
    LineControl(const ControlRow& row, QWidget* parent);
    void setEnds(double x1, double y1, double x2, double y2);
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor colour_;
    bool horizontal_;
};

class ShapeControl : public QWidget {
    Q_OBJECT
public:
    ShapeControl(const ControlRow& row, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor colour_;
};

// A picture box: its own background colour, can hold the focus, and can keep a picture drawn into it.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    PictureBox(const ControlRow& row, QWidget* parent);
    void setBackColour(Rgb colour);
    Rgb backColour() const { return back_; }
    // The kept picture, as large as the drawing area; created on first use, black.
    QImage& picture();
    bool hasPicture() const { return !picture_.isNull(); }

signals:
    void gotFocus();
    void lostFocus();
    void keyPress(int keyAscii);

protected:
    void paintEvent(QPaintEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    Rgb back_;
    QImage picture_;
};

// A push button in the graphical style: its picture, if any, above its caption.
class GraphicalButton : public QPushButton {
    Q_OBJECT
public:
    GraphicalButton(const ControlRow& row, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QPixmap picture_;
};

// The view's canvas: filled boxes straight into a picture box's kept picture.
class PictureCanvas : public Canvas {
public:
    explicit PictureCanvas(QImage& image) : image_(image) {}
    void fillBox(int x1, int y1, int x2, int y2, Rgb colour) override;

private:
    QImage& image_;
};

QFont fontFor(const Font& font);

} // namespace zirk
