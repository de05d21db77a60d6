// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace zirk {

// How the window's own widgets show to a screen reader: what each is, whether keys reach the key panel, and
// only the controls that show and have something to say. Installed once; later calls do nothing.
void installAccessibleInterfaces();

// Has a screen reader say `words` now, through the control that has the focus in `window`. Does nothing when
// no screen reader listens.
void announce(QWidget* window, const QString& words);

} // namespace zirk
