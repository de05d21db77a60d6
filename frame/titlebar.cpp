// SPDX-License-Identifier: GPL-3.0-or-later
#include "titlebar.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace zirk {

TitleBarAgent::TitleBarAgent(QWidget& window) : QObject(&window), window_(window) {}

void TitleBarAgent::watch(QWidget* titleWidget) {
    titleWidget->installEventFilter(this);
}

bool TitleBarAgent::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton) return true;
        QWindow* handle = window_.windowHandle();
        if (handle && handle->startSystemMove()) {
            state_ = State::SystemMove;
        } else {
            state_ = State::FollowingPointer;
            pressedAt_ = e->globalPosition();
            windowAtPress_ = window_.pos();
        }
        return true;
    }
    case QEvent::MouseMove:
        if (state_ == State::FollowingPointer) {
            const auto* e = static_cast<QMouseEvent*>(event);
            window_.move(windowAtPress_ + (e->globalPosition() - pressedAt_).toPoint());
        }
        return true;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) state_ = State::Idle;
        return true;
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return false;
    }
}

} // namespace zirk
