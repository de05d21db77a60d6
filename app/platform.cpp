// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform.h"

#include "display.h"

#include <QApplication>
#include <QColor>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QTranslator>

#include <sys/stat.h>
#include <unistd.h>

namespace zirk {

bool sessionBusIsOurs(bool addressGiven, const std::optional<struct stat>& runtimeBus, uid_t user) {
    return addressGiven || (runtimeBus && S_ISSOCK(runtimeBus->st_mode) && runtimeBus->st_uid == user);
}

void keepDBusFromStartingABus() {
    std::optional<struct stat> bus;
    if (const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"); !runtime.isEmpty()) {
        struct stat st {};
        if (::lstat((runtime + "/bus").constData(), &st) == 0) bus = st;
    }
    if (!sessionBusIsOurs(!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"), bus, ::geteuid()))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

namespace {

// What Qt accepts without changing anything: a real folder of ours that only we may enter. Qt refuses one
// given through a symbolic link and makes its own instead.
bool usableRuntimeFolder(const QByteArray& path) {
    struct stat st {};
    return !path.isEmpty() && ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & 07777) == 0700;
}

std::optional<QByteArray> environment(const char* name) {
    if (!qEnvironmentVariableIsSet(name)) return std::nullopt;
    return qgetenv(name);
}

QtMessageHandler previousHandler = nullptr;

// Qt says twice that it could not make the folder it was shown; that is the point, so it is not repeated.
void quietAboutRuntimeFolders(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths:"))) return;
    previousHandler(type, context, message);
}

// Where Qt learns which desktop it runs on.
constexpr const char* kDesktopVariables[] = {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION",
                                             "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"};

} // namespace

void QuietStart::set(const char* name, const char* value) {
    saved_.push_back({name, environment(name)});
    if (value)
        qputenv(name, value);
    else
        qunsetenv(name);
}

QuietStart::QuietStart() {
    if (!usableRuntimeFolder(qgetenv("XDG_RUNTIME_DIR"))) {
        // Qt's Wayland connection looks for the compositor's socket in the runtime folder: it is shown the
        // socket's own path instead, which the folder shown below would hide.
        if (qEnvironmentVariableIsEmpty("WAYLAND_SOCKET")) {
            const QByteArray socket =
                waylandSocketPath(qgetenv("WAYLAND_DISPLAY"), qgetenv("XDG_RUNTIME_DIR"));
            if (!socket.isEmpty()) set("WAYLAND_DISPLAY", socket.constData());
        }
        // No folder can be made inside a file, and nothing is written in trying.
        set("XDG_RUNTIME_DIR", "/dev/null/runtime");
        set("TMPDIR", "/dev/null");
        previousHandler = qInstallMessageHandler(quietAboutRuntimeFolders);
    }
    for (const char* name : kDesktopVariables)
        set(name, nullptr);
}

void QuietStart::release() {
    if (previousHandler) {
        qInstallMessageHandler(previousHandler);
        previousHandler = nullptr;
    }
    for (const Saved& s : saved_) {
        if (s.value)
            qputenv(s.name, *s.value);
        else
            qunsetenv(s.name);
    }
    saved_.clear();
}

void useFrenchClassicLook(QApplication& app) {
    auto* french = new QTranslator(&app);
    if (french->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(french);

    if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows"))) QApplication::setStyle(classic);
    // The classic three-dimensional greys: face, highlight, light, shadow and dark shadow.
    const QColor face(192, 192, 192);
    QPalette palette(Qt::black, face, Qt::white, QColor(128, 128, 128), QColor(160, 160, 160), Qt::black,
                     Qt::white, Qt::white, face);
    palette.setColor(QPalette::Midlight, QColor(223, 223, 223));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(0, 0, 128));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
    QApplication::setPalette(palette);
}

} // namespace zirk
