// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Counts, from outside the window's code, how often a picture was stretched into a new copy: every call of
// QPixmap::scaled(const QSize&, ...) made by this program is seen on its way to Qt, and counted against the
// picture it was made from.

#include <QtGlobal>

namespace zirk::bench {

// The calls made so far from the picture whose QPixmap::cacheKey() this is. The count keeps going up: take
// the difference of two readings.
long long scaledCopiesOf(qint64 cacheKey);

// The calls made so far from pictures one pixel high stretched across only, and from pictures one pixel wide
// stretched down only: how a stretch's columns and rows are found without copying the stretched picture
// itself.
long long acrossMapsMade();
long long downMapsMade();

} // namespace zirk::bench
