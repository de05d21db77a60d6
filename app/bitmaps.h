// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QImage>

namespace zirk {

// Reads the two kinds of picture file the window is drawn with, straight from their bytes: an uncompressed
// 24-bit bitmap, and an icon whose first image is a 256-colour bitmap with its transparency mask. Qt reads
// them as well, but only after looking through every image plugin installed on the system, and its bitmap
// reader goes a pixel at a time through a device; for the window's pictures that was most of its start-up.
//
// Anything else, and any file whose sizes and offsets do not fit inside it, gives a null image: the caller
// then leaves the file to Qt.
QImage readWindowsBitmap(QByteArrayView file);

} // namespace zirk
