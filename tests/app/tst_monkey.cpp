// SPDX-License-Identifier: GPL-3.0-or-later
// A long run of random events on the whole window. After each one the rules must still hold: a step moves the
// player by at most one cell and never onto a wall, an open puts the player on the start, and the frame
// matches the layout for the window's current size.
//
// ZIRK_MONKEY_EVENTS sets the length of the run (default 3000) and ZIRK_MONKEY_START the random start value
// (default 1), so a failing run can be replayed exactly.

#include "fakes/windowfixture.h"
#include "twips.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <random>

using namespace zirk;
using namespace zirk::testing;

namespace {

int envInt(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

} // namespace

class TestMonkey : public QObject {
    Q_OBJECT

    std::mt19937 random_;
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    QTemporaryDir dir_;
    std::unique_ptr<WindowFixture> f_;
    MazeWindow* window_ = nullptr;
    int files_ = 0;

    QWindow* handle() { return f_->handle(); }
    QPoint centre(Control id) { return f_->centre(id); }

    std::string randomMaze() {
        static const char alphabet[] = "0000111111112 a\r\r\n9";
        QByteArray bytes;
        const int size = pick(0, 3) == 0 ? pick(0, 40) : pick(100, 12000);
        for (int i = 0; i < size; ++i)
            bytes.append(alphabet[pick(0, int(sizeof alphabet) - 2)]);
        const QString path = dir_.filePath(QStringLiteral("m%1.dat").arg(files_++ % 8));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.write(bytes);
        return QFile::encodeName(path).toStdString();
    }

    void key() {
        static const QString texts[] = {"8", "6", "4",      "2",      "8",  "6", "4", "2",
                                        "5", "a", "\u00e9", "\u0666", "\r", " ", "q", "Q"};
        const QString text = texts[pick(0, int(std::size(texts)) - 1)];
        const bool keypad = pick(0, 1);
        const int code =
            text.size() == 1 && text[0].isDigit() ? Qt::Key_0 + text[0].digitValue() : Qt::Key_unknown;
        QKeyEvent press(QEvent::KeyPress, pick(0, 6) == 0 ? Qt::Key_Left : code,
                        keypad ? Qt::KeypadModifier : Qt::NoModifier, text);
        if (QWidget* focus = QApplication::focusWidget()) QApplication::sendEvent(focus, &press);
    }

    void gripDrag() {
        QPoint at = centre(Control::Grip);
        QTest::mousePress(handle(), Qt::LeftButton, {}, at);
        for (int i = pick(1, 4); i > 0; --i) {
            at += QPoint(pick(-40, 40), pick(-40, 40));
            QTest::mouseMove(handle(), at);
        }
        QTest::mouseRelease(handle(), Qt::LeftButton, {}, at);
    }

    void oneEvent() {
        static const Control buttons[] = {Control::UpButton, Control::RightButton, Control::LeftButton,
                                          Control::DownButton};
        static const Control focusable[] = {Control::KeyPanel, Control::KeyPanel, Control::View,
                                            Control::PlayerSwatch, Control::OpenButton};
        const int roll = pick(0, 99);
        if (roll < 30) {
            QTest::mouseClick(handle(), Qt::LeftButton, {}, centre(buttons[pick(0, 3)]));
        } else if (roll < 60) {
            key();
        } else if (roll < 70) {
            window_->control(focusable[pick(0, 4)])->setFocus(Qt::MouseFocusReason);
        } else if (roll < 73) {
            if (pick(0, 3) > 0) f_->chooser.answers.push_back(randomMaze());
            QTest::mouseClick(handle(), Qt::LeftButton, {}, centre(Control::OpenButton));
        } else if (roll < 80) {
            window_->resize(pick(1, 1400), pick(1, 900)); // as the window system would
        } else if (roll < 88) {
            gripDrag();
        } else if (roll < 94) {
            static const Control caption[] = {Control::MinimiseButton, Control::MaximiseButton,
                                              Control::RestoreButton};
            QTest::mouseClick(handle(), Qt::LeftButton, {}, centre(caption[pick(0, 2)]));
            if (window_->windowState() & Qt::WindowMinimized)
                window_->setWindowState(Qt::WindowNoState); // the window system brings it back
        } else {
            const QPoint press(pick(0, std::max(0, window_->width() - 1)), pick(0, 3));
            QTest::mousePress(handle(), Qt::LeftButton, {}, press);
            QTest::mouseMove(handle(), press + QPoint(pick(-20, 20), pick(-20, 20)));
            QTest::mouseRelease(handle(), Qt::LeftButton, {}, press);
        }
    }

    // The frame as the layout must leave it for a window of w x h pixels.
    QString frameMismatch() {
        const double w = toTwips(window_->width()), h = toTwips(window_->height());
        const auto px = [](double t) { return toPixels(t); };
        // A line covers the pixels from its start toward its end, the end itself left out.
        const auto span = [](int from, int to) {
            return to >= from ? std::pair{from, to - from} : std::pair{to + 1, from - to};
        };
        const auto [l4y, l4h] = span(0, px(h - 180));
        const auto [l1x, l1w] = span(-4, px(w - 180));
        const QRect expect[][2] = {
            {window_->control(Control::TitlePicture)->geometry(), QRect(0, 0, px(w), 23)},
            {window_->control(Control::Separator)->geometry(), QRect(0, 22, px(w), 2)},
            {window_->control(Control::TitleText)->geometry(), QRect(0, 4, px(w), 17)},
            {window_->control(Control::Grip)->geometry(), QRect(px(w - 180), px(h - 180), 12, 12)},
            {window_->control(Control::MinimiseButton)->geometry(), QRect(px(w - 300), 4, 16, 16)},
            {window_->control(Control::MaximiseButton)->geometry(), QRect(px(w - 600), 4, 16, 16)},
            {window_->control(Control::RestoreButton)->geometry(), QRect(px(w - 900), 4, 16, 16)},
            {window_->control(Control::TopLine)->geometry(), QRect(0, 0, px(w), 1)},
            {window_->control(Control::LeftLine)->geometry(), QRect(0, 1, 1, px(h))},
            {window_->control(Control::RightLine)->geometry(), QRect(px(w - 10), l4y, 1, l4h)},
            {window_->control(Control::BottomLine)->geometry(), QRect(l1x, px(h - 10), l1w, 1)},
        };
        for (const auto& [actual, wanted] : expect)
            if (actual != wanted)
                return QStringLiteral("at %1x%2: %3,%4 %5x%6 instead of %7,%8 %9x%10")
                    .arg(window_->width())
                    .arg(window_->height())
                    .arg(actual.x())
                    .arg(actual.y())
                    .arg(actual.width())
                    .arg(actual.height())
                    .arg(wanted.x())
                    .arg(wanted.y())
                    .arg(wanted.width())
                    .arg(wanted.height());
        if (h >= 360 && window_->control(Control::Background)->geometry() != QRect(0, 24, px(w), px(h - 360)))
            return QStringLiteral("background at %1x%2").arg(window_->width()).arg(window_->height());
        return {};
    }

private slots:
    void theRulesHoldThroughALongRandomRun() {
        QVERIFY(dir_.isValid());
        const int events = envInt("ZIRK_MONKEY_EVENTS", 3000);
        const int start = envInt("ZIRK_MONKEY_START", 1);
        random_ = std::mt19937(static_cast<std::mt19937::result_type>(start));
        f_ = std::make_unique<WindowFixture>();
        window_ = &f_->window;
        QVERIFY(QTest::qWaitForWindowExposed(window_));
        f_->showHidden({FramePart::Grip, FramePart::MinimiseButton, FramePart::MaximiseButton,
                        FramePart::RestoreButton});

        Game& game = window_->game();
        for (int i = 0; i < events; ++i) {
            const QPoint before(game.playerX, game.playerY);
            const int opens = f_->chooser.chosen;
            oneEvent();
            const QPoint after(game.playerX, game.playerY);
            const QString where = QStringLiteral("event %1 of run %2").arg(i).arg(start);
            if (f_->chooser.chosen != opens) {
                QVERIFY2(after == QPoint(2, 2), qPrintable(where));
            } else {
                const QPoint d = after - before;
                QVERIFY2(d.manhattanLength() <= 1, qPrintable(where));
                if (d.manhattanLength() == 1)
                    QVERIFY2(game.maze.at(after.x(), after.y()) != Cell::Wall, qPrintable(where));
            }
            if (!(window_->windowState() & Qt::WindowMinimized) && !window_->frame().gripHeld()) {
                const QString mismatch = frameMismatch();
                QVERIFY2(mismatch.isEmpty(), qPrintable(where + ": " + mismatch));
            }
            QVERIFY2(window_->updatesEnabled(), qPrintable(where));
        }
        qInfo("%d events, %d opens, %lld exit boxes, %d quits", events, f_->chooser.calls,
              static_cast<long long>(f_->box.texts.size()), f_->end.calls);
    }
};

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
