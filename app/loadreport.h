// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "loader.h"
#include "wayout.h"

#include <QString>

namespace zirk {

// What the player is told after a maze was opened: why the file could not be opened or read, that it was
// empty or cut, or that its lines end the wrong way. Empty for a clean maze. `fileName` is the name the box
// shows.
QString describeLoad(const QString& fileName, const LoadResult& result);

// What the player is told about a maze that opened but cannot be won: its start is a wall, or no exit can be
// reached from it. Empty for a maze that can be won.
QString describeWayOut(const QString& fileName, const WayOut& way);

} // namespace zirk
