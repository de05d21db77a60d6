// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "loader.h"

#include <QString>

namespace zirk {

// What the player is told after a maze was opened: why the file could not be opened or read, that it was
// empty or cut, or that its lines end the wrong way. Empty for a clean maze. `fileName` is the name the box
// shows.
QString describeLoad(const QString& fileName, const LoadResult& result);

} // namespace zirk
