// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "loader.h"
#include "surroundings.h"

#include <QString>

namespace zirk {

// The close-up in words, for a player who cannot see it: "Mur." first when the step was refused, then the
// four directions and the exits in sight.
QString surroundingsInWords(const Surroundings& around, bool refused);

// After a load: that the maze is open and its size, when the file gave one, then the close-up.
QString openedInWords(const QString& fileName, const LoadResult& result, const Surroundings& around);

} // namespace zirk
