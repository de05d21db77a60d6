// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colour.h"
#include "controls.h"
#include "view.h"

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

namespace zirk {

QColor toQColor(Rgb colour);
QFont fontFor(const Font& font);

// A text label. It takes no mouse input of its own: presses go on to whatever lies beneath.
class TextLabel : public QLabel {
    Q_OBJECT
public:
    TextLabel(const ControlRow& row, QWidget* parent);
    void setBackColour(Rgb colour);
};

// A filled circle, centred in its box.
class Disc : public QWidget {
    Q_OBJECT
public:
    Disc(const ControlRow& row, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor colour_;
};

// A box of one colour that can hold the focus: the legend's swatches.
class ColourBox : public QFrame {
    Q_OBJECT
public:
    ColourBox(const ControlRow& row, QWidget* parent);
    void setBackColour(Rgb colour);
};

// Where typed keys go: green exactly while the keys typed reach it, red otherwise. It turns the keys into
// commands for the game.
class KeyPanel : public ColourBox {
    Q_OBJECT
public:
    KeyPanel(const ControlRow& row, QWidget* parent);

signals:
    void commanded(zirk::Command command);

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void showWhetherKeysArrive();
};

// The 350 x 350 close-up of the maze. The game draws into its picture through `canvas()`; the picture is
// kept, so the view shows the last drawing until the next one.
class MazeView : public QWidget, private Canvas {
    Q_OBJECT
public:
    MazeView(const ControlRow& row, QWidget* parent);
    Canvas& canvas() { return *this; }
    const QImage& picture();

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void fillBox(int x1, int y1, int x2, int y2, Rgb colour) override;

    QImage picture_;
    QPainter boxes_;
};

// A push button, with its picture, if any, above its caption. Return and Enter click it while it has the
// focus, as Space does.
class PictureButton : public QPushButton {
    Q_OBJECT
public:
    PictureButton(const ControlRow& row, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QPixmap picture_;
};

} // namespace zirk
