#pragma once

// Counts, from outside the window's code, how often a picture was stretched into a new copy: every call of
// QPixmap::scaled(const QSize&, ...) made by this program is seen on its way to Qt, and counted against the
// picture it was made from.

#include <QtGlobal>

namespace zirk::bench {

// The calls made so far from the picture whose QPixmap::cacheKey() this is. The count keeps going up: take the
// difference of two readings.
long long scaledCopiesOf(qint64 cacheKey);

} // namespace zirk::bench
