// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>

class QWidget;

namespace zirk {

// Moves a frameless window when the user drags one of its title widgets with the left button. It watches them
// as an event filter: a press hands the move to the window system; where the system cannot move windows (no
// window manager on X11, the offscreen platform) the window follows the pointer until the button is released.
// A double click does nothing.
class TitleBarAgent : public QObject {
    Q_OBJECT
public:
    explicit TitleBarAgent(QWidget& window);
    void watch(QWidget* titleWidget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class State { Idle, SystemMove, FollowingPointer };
    QWidget& window_;
    State state_ = State::Idle;
    QPointF pressedAt_;
    QPoint windowAtPress_;
};

} // namespace zirk
