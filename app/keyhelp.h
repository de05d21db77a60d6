// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace zirk {

// Every key the game answers to, one per line, for the help box and for `zirk --help`.
QStringList keyList();

// The text of the help box (F1): the keys, and where the sample mazes are when they were found.
QString helpText(const QString& sampleFolder);

} // namespace zirk
