// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"
#include "controls.h"
#include "display.h"
#include "mazewindow.h"
#include "platform.h"
#include "services.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    const zirk::CommandLine commandLine = zirk::parseCommandLine(argc, argv);
    if (!commandLine.play) {
        std::fputs(commandLine.output.toLocal8Bit().constData(), stdout);
        std::fputs(commandLine.error.toLocal8Bit().constData(), stderr);
        return commandLine.exitStatus;
    }
    if (const std::string problem = zirk::displayProblem(); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return EXIT_FAILURE;
    }
    zirk::keepSettingsOffDisk();
    zirk::keepDBusFromStartingABus();
    zirk::QuietStart quietStart;
    QApplication app(argc, argv);
    quietStart.release();
    QApplication::setApplicationName(QStringLiteral("zirk"));
    zirk::useFrenchClassicLook(app);

    zirk::DialogFileChooser chooser(zirk::qtFilter(zirk::row(zirk::Control::FileDialog).filter));
    zirk::DialogMessageBox box;
    zirk::ImmediateEnd end;
    zirk::PrimaryScreen screen;
    zirk::MazeWindow window({&chooser, &box, &end, &screen});
    // Where the focus starts: the first control of the tab order that plays.
    window.control(zirk::Control::OpenButton)->setFocus();
    window.start(commandLine.path);
    return app.exec();
}
