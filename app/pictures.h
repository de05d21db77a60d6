#pragma once

#include <QPixmap>

namespace zirk {

// One of the pictures compiled into the program; each is read once and shared by the controls that show it.
// A picture that cannot be read is reported under "zirk.pictures" and comes back null.
QPixmap loadPicture(const char* path);

} // namespace zirk
