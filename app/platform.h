#pragma once

#include <QByteArray>

#include <optional>

class QApplication;

namespace zirk {

// With no session bus to reach, libdbus would start one of its own for the accessibility bridge (dbus-launch),
// and that bus keeps its address in the home folder. Must run before the application object exists.
void keepDBusFromStartingABus();

// Qt looks for a runtime folder while it starts, and makes one under the temporary folder when XDG_RUNTIME_DIR
// names none that is usable. Between this object's construction and release() (around the creation of the
// application object) Qt is shown a runtime folder it cannot make, so it makes nothing and goes on without one;
// the environment is then put back as it was. Where XDG_RUNTIME_DIR names a usable folder it is left alone.
class NoRuntimeFolder {
public:
    NoRuntimeFolder();
    ~NoRuntimeFolder() { release(); }
    NoRuntimeFolder(const NoRuntimeFolder&) = delete;
    NoRuntimeFolder& operator=(const NoRuntimeFolder&) = delete;
    void release();

private:
    bool active_ = false;
    std::optional<QByteArray> runtime_;
    std::optional<QByteArray> temp_;
};

// Qt's own dialogs and boxes in French, whatever the locale, and the classic look the window's pictures are
// drawn for: raised grey buttons with light top-left and dark bottom-right edges.
void useFrenchClassicLook(QApplication& app);

} // namespace zirk
