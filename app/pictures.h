// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>

namespace zirk {

// One of the pictures compiled into the program; each is read once and shared by the controls that show it.
// A picture that cannot be read is reported under "zirk.pictures" and comes back null.
QPixmap loadPicture(const char* path);

// The icon whose picture is at path ("…/zirk.ico"), as drawn for each size a desktop asks for
// (":/icons/zirk_<size>.png", drawn beside it by tools/drawpictures). Each size is read only when it is first
// asked for.
QIcon loadIcon(const char* path);

} // namespace zirk
