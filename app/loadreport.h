// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "loader.h"
#include "wayout.h"

#include <QString>

class QFontMetrics;

namespace zirk {

// What the player is told after a maze was opened: why the file could not be opened or read, that it was
// empty or cut, or that its lines end the wrong way. Empty for a clean maze. `fileName` is the name the box
// shows.
QString describeLoad(const QString& fileName, const LoadResult& result);

// What the player is told about a maze that opened but cannot be won: its start is a wall, or no exit can be
// reached from it. Empty for a maze that can be won.
QString describeWayOut(const QString& fileName, const WayOut& way);

// Said when no reader could be started for the file (the system refused one, or too many readers still wait
// on files that never answered).
QString cannotReadNow(const QString& fileName);

// A file name as boxes show it: control characters as visible signs (a line feed as ␤), and a name too long
// for a box cut in the middle, where the start and the end, which tell names apart, stay.
QString shownFileName(const QString& name, const QFontMetrics& metrics);

} // namespace zirk
