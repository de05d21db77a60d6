// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"
#include "controls.h"
#include "display.h"
#include "mazewindow.h"
#include "platform.h"
#include "services.h"

#include <QApplication>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    // Looked for before Qt starts, so that --help can name it too.
    const QString samples = zirk::findSampleFolder(
        zirk::programFolder(), QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation));
    const zirk::CommandLine commandLine = zirk::parseCommandLine(argc, argv, samples);
    if (!commandLine.play) {
        std::fputs(commandLine.output.toLocal8Bit().constData(), stdout);
        std::fputs(commandLine.error.toLocal8Bit().constData(), stderr);
        return commandLine.exitStatus;
    }
    const zirk::PlatformChoice display = zirk::chooseDisplay();
    if (!display.problem.empty()) {
        std::fprintf(stderr, "%s\n", display.problem.c_str());
        return EXIT_FAILURE;
    }
    qputenv("QT_QPA_PLATFORM", display.platform.toLocal8Bit());
    zirk::keepSettingsOffDisk();
    zirk::keepDBusFromStartingABus();
    zirk::QuietStart quietStart;
    QApplication app(argc, argv);
    quietStart.release();
    QApplication::setApplicationName(QStringLiteral("zirk"));
    // The compositor matches the window to zirk.desktop, its name and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("zirk"));
    zirk::useFrenchClassicLook(app);

    zirk::DialogFileChooser chooser(zirk::qtFilter(zirk::row(zirk::Control::FileDialog).filter), samples);
    zirk::DialogMessageBox box;
    zirk::ImmediateEnd end;
    zirk::PrimaryScreen screen;
    zirk::MazeWindow window({&chooser, &box, &end, &screen, nullptr, nullptr, samples});
    // Where the focus starts: the first control of the tab order that plays.
    window.control(zirk::Control::OpenButton)->setFocus();
    window.start(commandLine.path);
    return app.exec();
}
