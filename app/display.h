// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>

namespace zirk {

// The platforms Qt tries, in its order: those QT_QPA_PLATFORM lists (separated by ';', each with its options
// after ':'), or else X11, after Wayland when the session says it runs one (WAYLAND_DISPLAY set or
// XDG_SESSION_TYPE=wayland).
QStringList platformsQtTries(const QString& requested, bool waylandSession);

struct PlatformChoice {
    QString platform;    // the entry that can be opened, options included; empty when none can
    std::string problem; // when none can: the one line to print, about the first one tried
    friend bool operator==(const PlatformChoice&, const PlatformChoice&) = default;
};

// The first of `platforms` whose display can be opened; `problem` gets a platform's name without its options
// and answers empty when it can be opened. Nothing is asked of the platforms after the first that can.
PlatformChoice firstPlatformThatOpens(const QStringList& platforms,
                                      const std::function<std::string(const QString& name)>& problem);

// Where Wayland clients find the compositor: WAYLAND_DISPLAY (wayland-0 if unset) in the runtime folder,
// unless it is a path of its own. Empty when there is no runtime folder to look in.
QByteArray waylandSocketPath(const QByteArray& display, const QByteArray& runtimeFolder);

// Qt aborts (and may leave a core file) when its platform plugin is missing or its display cannot be opened,
// so the platforms are tried first, in Qt's order, without touching those after the first that opens: an X
// server is not woken for a Wayland window. The one that opens is the platform Qt is told to start.
PlatformChoice chooseDisplay();

} // namespace zirk
