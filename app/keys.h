#pragma once

#include "steps.h"

#include <optional>

namespace zirk {

// The keys of the key panel: the digits walk as on a numeric keypad, q and Q quit. Other keys do nothing.
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

} // namespace zirk
