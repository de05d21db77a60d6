// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <vector>

class QApplication;

namespace zirk {

// With no session bus of the player's to reach, libdbus would start one of its own for the accessibility
// bridge (dbus-launch): a bus that outlives the game and keeps its address in the home folder. Must run
// before the application object exists.
void keepDBusFromStartingABus();

// Whether libdbus may be left to find the session bus: an address is given, or `runtimeBus` (what lstat()
// says of $XDG_RUNTIME_DIR/bus, nothing when it is missing) is a socket that `user` owns. Anything else, a
// stray file or another user's bus after su or sudo -E, would have it start one.
bool sessionBusIsOurs(bool addressGiven, const std::optional<struct stat>& runtimeBus, uid_t user);

// What Qt reads from the environment while it starts, set for the time the application object takes to be
// made and put back as it was by release():
// - Qt looks for a runtime folder, and makes one under the temporary folder when XDG_RUNTIME_DIR names none
//   that is usable. It is shown one it cannot make, so it makes nothing and goes on without one; the Wayland
//   compositor's socket, found through that folder (as given, symbolic links included), is then named by its
//   own path. A usable XDG_RUNTIME_DIR is left alone.
// - On GNOME, Xfce, MATE or Cinnamon Qt loads the GTK platform theme, which writes settings and caches of its
//   own. The classic look needs no desktop theme, so Qt is not told which desktop it runs on.
class QuietStart {
public:
    QuietStart();
    ~QuietStart() { release(); }
    QuietStart(const QuietStart&) = delete;
    QuietStart& operator=(const QuietStart&) = delete;
    void release();

private:
    struct Saved {
        const char* name;
        std::optional<QByteArray> value;
    };
    void set(const char* name, const char* value);
    std::vector<Saved> saved_;
};

// Qt's own dialogs and boxes in French, whatever the locale, and the classic look the window's pictures are
// drawn for: raised grey buttons with light top-left and dark bottom-right edges.
void useFrenchClassicLook(QApplication& app);

} // namespace zirk
