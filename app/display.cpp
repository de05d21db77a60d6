// SPDX-License-Identifier: GPL-3.0-or-later
#include "display.h"

#include <QByteArray>
#include <QDir>
#include <QLibraryInfo>
#include <QString>
#include <QStringList>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstring>

namespace zirk {

namespace {

// Platform plugins are files named after the platform: libqxcb.so, libqwayland-generic.so, ...
bool pluginInstalled(const QString& platform) {
    QStringList folders =
        qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
    const QString prefix = QStringLiteral("libq") + platform;
    for (const QString& folder : folders) {
        for (const QString& file : QDir(folder).entryList({prefix + QStringLiteral("*.so")}, QDir::Files)) {
            const QString rest = file.mid(prefix.size());
            if (rest == QLatin1String(".so") || rest.startsWith(QLatin1Char('-'))) return true;
        }
    }
    return false;
}

std::string x11Problem() {
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) return "zirk : aucun écran où ouvrir la fenêtre (DISPLAY n’est pas défini)";
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(display.constData(), &screenNumber);
    std::string problem;
    if (xcb_connection_has_error(connection)) {
        problem = "zirk : impossible d’ouvrir l’écran X « " + display.toStdString() + " »";
    } else {
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
            xcb_screen_next(&screens);
        // The view and the pictures need true colours; on a palette screen the window stays black.
        if (screens.rem == 0)
            problem = "zirk : l’écran X « " + display.toStdString() + " » n’existe pas";
        else if (screens.data->root_depth < 16)
            problem = "zirk : l’écran X « " + display.toStdString() + " » n’a que " +
                      std::to_string(screens.data->root_depth) + " bits par pixel ; il en faut au moins 16";
    }
    xcb_disconnect(connection);
    return problem;
}

// A connection to the compositor's socket, closed again at once: what Qt's own connection would find.
std::string waylandProblem() {
    // A connection handed down by whoever started the program; it cannot be tried without using it up.
    if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET")) return {};
    const QByteArray path = waylandSocketPath(qgetenv("WAYLAND_DISPLAY"), qgetenv("XDG_RUNTIME_DIR"));
    if (path.isEmpty())
        return "zirk : aucun écran Wayland où ouvrir la fenêtre (XDG_RUNTIME_DIR n’est pas défini)";
    const std::string problem = "zirk : impossible de joindre l’écran Wayland « " + path.toStdString() + " »";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return problem;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return problem;
    const bool reached = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return reached ? std::string() : problem;
}

} // namespace

QStringList platformsQtTries(const QString& requested, bool waylandSession) {
    if (!requested.trimmed().isEmpty()) return requested.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (waylandSession) return {QStringLiteral("wayland"), QStringLiteral("xcb")};
    return {QStringLiteral("xcb")};
}

PlatformChoice firstPlatformThatOpens(const QStringList& platforms,
                                      const std::function<std::string(const QString& name)>& problem) {
    std::string first;
    for (const QString& platform : platforms) {
        const std::string p = problem(platform.section(QLatin1Char(':'), 0, 0).trimmed());
        if (p.empty()) return {platform.trimmed(), {}};
        if (first.empty()) first = p;
    }
    if (first.empty()) first = "zirk : aucun module d’affichage de Qt n’est demandé";
    return {{}, first};
}

QByteArray waylandSocketPath(const QByteArray& display, const QByteArray& runtimeFolder) {
    const QByteArray name = display.isEmpty() ? QByteArrayLiteral("wayland-0") : display;
    if (name.startsWith('/')) return name;
    if (runtimeFolder.isEmpty()) return {};
    return runtimeFolder + '/' + name;
}

PlatformChoice chooseDisplay() {
    const bool waylandSession =
        qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
    return firstPlatformThatOpens(platformsQtTries(qEnvironmentVariable("QT_QPA_PLATFORM"), waylandSession),
                                  [](const QString& name) -> std::string {
                                      if (!pluginInstalled(name))
                                          return "zirk : le module d’affichage de Qt « " +
                                                 name.toStdString() + " » n’est pas installé";
                                      if (name == QLatin1String("xcb")) return x11Problem();
                                      if (name.startsWith(QLatin1String("wayland"))) return waylandProblem();
                                      return {};
                                  });
}

} // namespace zirk
