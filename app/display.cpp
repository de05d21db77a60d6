// SPDX-License-Identifier: GPL-3.0-or-later
#include "display.h"

#include <QByteArray>
#include <QDir>
#include <QLibraryInfo>
#include <QString>
#include <QStringList>

#include <xcb/xcb.h>

namespace zirk {

namespace {

// The platform Qt will start: the first one QT_QPA_PLATFORM names, without its options, or X11.
QString platformName() {
    QString name = qEnvironmentVariable("QT_QPA_PLATFORM");
    name = name.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 0, 0).trimmed();
    return name.isEmpty() ? QStringLiteral("xcb") : name;
}

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

} // namespace

std::string displayProblem() {
    const QString platform = platformName();
    if (!pluginInstalled(platform))
        return "zirk : le module d’affichage de Qt « " + platform.toStdString() + " » n’est pas installé";
    if (platform == QLatin1String("xcb")) return x11Problem();
    if (platform.startsWith(QLatin1String("wayland")) && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return "zirk : aucun écran Wayland où ouvrir la fenêtre (WAYLAND_DISPLAY n’est pas défini)";
    return {};
}

} // namespace zirk
