// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "steps.h"

#include <QtCore/qnamespace.h>

#include <optional>

namespace zirk {

// The keys of the key panel: the digits walk as on a numeric keypad, q and Q quit. Other keys do nothing.
// A key pressed with Alt or Ctrl held is meant for something else and never reaches these.
constexpr std::optional<Command> commandForKey(char key) {
    switch (key) {
    case '8':
        return Command::Up;
    case '2':
        return Command::Down;
    case '4':
        return Command::Left;
    case '6':
        return Command::Right;
    case 'q':
    case 'Q':
        return Command::Quit;
    default:
        return std::nullopt;
    }
}

// The arrow keys, which are also what the keypad's digits send with NumLock off, walk like those digits.
constexpr std::optional<Command> commandForArrow(int key) {
    switch (key) {
    case Qt::Key_Up:
        return Command::Up;
    case Qt::Key_Down:
        return Command::Down;
    case Qt::Key_Left:
        return Command::Left;
    case Qt::Key_Right:
        return Command::Right;
    default:
        return std::nullopt;
    }
}

} // namespace zirk
