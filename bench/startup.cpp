// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, timed by the same code for all three builds: the game as its main() starts it, services replaced
// (ZIRK_GAME); a borderless window of the game's size with nothing but its background; and that window with
// one line of text (ZIRK_ONE_LINE_OF_TEXT), what a font costs before anything of the game's own. Prints the
// nanoseconds from the parent's start of the process (the steady clock, the first argument) to the end of the
// first complete paint, and the peak memory in KiB.

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#ifdef ZIRK_GAME
#include "fakes/fakeservices.h"
#include "mazewindow.h"
#include "platform.h"
#include "services.h"
#endif

namespace {

long long now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class FirstPaintApp : public QApplication {
public:
    FirstPaintApp(int& argc, char** argv)
        : QApplication(argc, argv), start_(argc > 1 ? std::strtoll(argv[1], nullptr, 10) : now()) {
        // A window that never paints must not hang the benchmark.
        QTimer::singleShot(30000, this, [] { ::_exit(3); });
    }

    // The window's widgets paint inside the dispatch of some outer event (expose or update request); the
    // paint is complete when that outermost dispatch returns.
    bool notify(QObject* receiver, QEvent* e) override {
        const auto* widget = qobject_cast<const QWidget*>(receiver);
        painting_ = painting_ || (e->type() == QEvent::Paint && widget && widget->window() == watched);
        ++depth_;
        const bool handled = QApplication::notify(receiver, e);
        if (--depth_ == 0 && painting_) report();
        return handled;
    }

    const QWidget* watched = nullptr;

private:
    // Not getrusage(): Linux carries ru_maxrss over exec from the far larger benchmark runner. VmHWM is this
    // program's own high-water mark.
    [[noreturn]] void report() {
        const long long elapsed = now() - start_;
        long kib = -1;
        if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, status))
                if (std::strncmp(line, "VmHWM:", 6) == 0) kib = std::strtol(line + 6, nullptr, 10);
            std::fclose(status);
        }
        std::printf("%lld %ld\n", elapsed, kib);
        std::fflush(stdout);
        ::_exit(0); // tearing the window down is no part of starting it
    }

    long long start_;
    int depth_ = 0;
    bool painting_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
#ifdef ZIRK_GAME
    zirk::keepSettingsOffDisk();
    FirstPaintApp app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zirk"));
    zirk::useFrenchClassicLook(app);
    zirk::testing::FakeChooser chooser;
    zirk::testing::FakeBox box;
    zirk::testing::FakeEnd end;
    zirk::testing::FakeScreen screen;
    zirk::MazeWindow window({&chooser, &box, &end, &screen});
    app.watched = &window;
    window.control(zirk::Control::OpenButton)->setFocus();
    window.start();
#else
    FirstPaintApp app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.resize(503, 393);
#ifdef ZIRK_ONE_LINE_OF_TEXT
    QLabel text(QStringLiteral("Zirk pour Windows"), &window);
    text.setFont(QFont(QStringLiteral("Arial"), 9, QFont::Bold));
    text.move(8, 4);
#endif
    app.watched = &window;
    window.show();
#endif
    return app.exec();
}
