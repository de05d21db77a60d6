// SPDX-License-Identifier: GPL-3.0-or-later
// A game played on the whole window, with the dialog, the message box and the end of the program replaced.

#include "fakes/files.h"
#include "fakes/windowfixture.h"
#include "keys.h"
#include "loader.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zirk;
using namespace zirk::testing;

Q_DECLARE_METATYPE(std::optional<zirk::Command>)

namespace zirk {
// Let QCOMPARE name what it got.
inline char* toString(const std::optional<Command>& command) {
    const char* names[] = {"Up", "Down", "Left", "Right", "Quit"};
    return qstrdup(command ? names[static_cast<int>(*command)] : "none");
}
} // namespace zirk

namespace {

const std::string kMazes = ZIRK_MAZES_DIR;

struct Fixture : WindowFixture {
    Fixture() {
        QApplication::setActiveWindow(&window);
        if (!QTest::qWaitForWindowActive(&window)) qWarning("the window did not become active");
    }
    void open(const std::string& path) {
        chooser.answers.push_back(path);
        click(Control::OpenButton);
    }
    void type(const QString& keys) {
        for (QChar c : keys)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    QPoint player() { return {window.game().playerX, window.game().playerY}; }
    QColor view(int x, int y) { return window.control<MazeView>(Control::View)->picture().pixelColor(x, y); }
    QColor panel() { return window.control(Control::KeyPanel)->palette().color(QPalette::Window); }
};

const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kOlive(200, 200, 0);

} // namespace

class TestPlay : public QObject {
    Q_OBJECT

private slots:
    void openingAMazeStartsOnTheSecondCellOfTheSecondLine() {
        Fixture f;
        f.open(kMazes + "/exemple.dat");
        QCOMPARE(f.chooser.calls, 1);
        QCOMPARE(f.player(), QPoint(2, 2));
        QCOMPARE(f.view(175, 175), kRed);
        QCOMPARE(f.view(35, 35), kGreen); // column 0 and row 0 are walls
        QCOMPARE(f.view(105, 105), kGreen);
        QCOMPARE(f.view(245, 175), kOlive);
    }

    void cancellingTheDialogChangesNothing() {
        Fixture f;
        f.open(kMazes + "/exemple.dat");
        f.click(Control::RightButton);
        const QImage before = f.window.control<MazeView>(Control::View)->picture().copy();
        f.click(Control::OpenButton); // no answer queued: cancelled
        QCOMPARE(f.chooser.calls, 2);
        QCOMPARE(f.player(), QPoint(3, 2));
        QCOMPARE(f.window.control<MazeView>(Control::View)->picture(), before);
    }

    void anUnreadableChoiceStillPutsThePlayerBackAtTheStart() {
        Fixture f;
        f.open(kMazes + "/exemple.dat");
        f.click(Control::RightButton);
        f.open(kMazes + "/no such maze.dat");
        QCOMPARE(f.player(), QPoint(2, 2));
        QCOMPARE(f.view(175, 175), kRed);
    }

    void theKeyPanelIsGreenExactlyWhileTypedKeysReachIt() {
        Fixture f;
        QCOMPARE(f.panel(), kRed);
        f.click(Control::KeyPanel);
        QCOMPARE(QApplication::focusWidget(), f.window.control(Control::KeyPanel));
        QCOMPARE(f.panel(), kGreen);
        f.click(Control::UpButton);
        QCOMPARE(f.panel(), kRed);
        f.click(Control::View);
        QCOMPARE(QApplication::focusWidget(), f.window.control(Control::View));
        f.click(Control::KeyPanel);
        QCOMPARE(f.panel(), kGreen);
        // Another window takes the keys, and gives them back.
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QTRY_COMPARE(f.panel(), kRed);
        QApplication::setActiveWindow(&f.window);
        QTRY_COMPARE(f.panel(), kGreen);
    }

    void returnAndEnterClickTheFocusedButton_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
    }
    void returnAndEnterClickTheFocusedButton() {
        QFETCH(int, key);
        Fixture f;
        f.window.control(Control::OpenButton)->setFocus();
        QTest::keyClick(f.window.control(Control::OpenButton), Qt::Key(key));
        QCOMPARE(f.chooser.calls, 1);
        f.open(kMazes + "/exemple.dat");
        f.window.control(Control::RightButton)->setFocus();
        QTest::keyClick(f.window.control(Control::RightButton), Qt::Key(key));
        QCOMPARE(f.player(), QPoint(3, 2));
    }

    void typedDigitsWalkToTheExitAndTheBoxSaysSo() {
        Fixture f;
        f.open(kMazes + "/exemple.dat");
        f.click(Control::KeyPanel);
        f.type("66");
        QCOMPARE(f.player(), QPoint(4, 2));
        f.type("22");
        QCOMPARE(f.player(), QPoint(4, 4));
        QVERIFY(f.box.texts.isEmpty());
        f.type("6");
        QCOMPARE(f.player(), QPoint(5, 4));
        QCOMPARE(f.box.texts, QStringList{QStringLiteral("Vous avez trouv\u00e9e la sortie")});
        QCOMPARE(f.box.captions, QStringList{QStringLiteral("Zirk pour Windows")});
        // The marker is painted again over the exit square.
        QCOMPARE(f.view(175, 175), kRed);
        QCOMPARE(f.view(167, 167), kBlue);
        // Facing a wall on the exit announces it again; play goes on.
        f.type("6");
        QCOMPARE(f.player(), QPoint(5, 4));
        QCOMPARE(f.box.texts.size(), 2);
        f.type("4");
        QCOMPARE(f.player(), QPoint(4, 4));
        QCOMPARE(f.box.texts.size(), 2);
    }

    void keysWalkAsOnAKeypad_data() {
        QTest::addColumn<char>("key");
        QTest::addColumn<std::optional<Command>>("command");
        QTest::newRow("8 goes up") << '8' << std::optional(Command::Up);
        QTest::newRow("2 goes down") << '2' << std::optional(Command::Down);
        QTest::newRow("4 goes left") << '4' << std::optional(Command::Left);
        QTest::newRow("6 goes right") << '6' << std::optional(Command::Right);
        QTest::newRow("q quits") << 'q' << std::optional(Command::Quit);
        QTest::newRow("Q quits") << 'Q' << std::optional(Command::Quit);
        QTest::newRow("5 is no direction") << '5' << std::optional<Command>();
        QTest::newRow("letter") << 'x' << std::optional<Command>();
        QTest::newRow("NUL") << '\0' << std::optional<Command>();
        QTest::newRow("last byte") << '\xff' << std::optional<Command>();
    }
    void keysWalkAsOnAKeypad() {
        QFETCH(char, key);
        QFETCH(std::optional<Command>, command);
        QCOMPARE(commandForKey(key), command);
    }

    void theButtonsWalkAtAnyTimeButKeysOnlyWhileThePanelIsGreen() {
        Fixture f;
        f.open(kMazes + "/exemple.dat");
        f.click(Control::RightButton); // "6"
        QCOMPARE(f.player(), QPoint(3, 2));
        f.type("6"); // the focus is on the button, not the panel
        QCOMPARE(f.player(), QPoint(3, 2));
        f.click(Control::LeftButton); // "4"
        QCOMPARE(f.player(), QPoint(2, 2));
        f.click(Control::UpButton); // "8" into the wall
        QCOMPARE(f.player(), QPoint(2, 2));
        f.click(Control::DownButton); // "2" into the wall
        QCOMPARE(f.player(), QPoint(2, 2));
        QCOMPARE(f.end.calls, 0);
    }

    void onlyDigitsArrowsAndQWalkOrQuitAndNeverWithAltOrCtrl_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("after");
        QTest::newRow("keypad 6 with Num Lock")
            << int(Qt::Key_6) << int(Qt::KeypadModifier) << "6" << QPoint(3, 2);
        QTest::newRow("right arrow") << int(Qt::Key_Right) << 0 << "" << QPoint(3, 2);
        QTest::newRow("keypad 6 without Num Lock")
            << int(Qt::Key_Right) << int(Qt::KeypadModifier) << "" << QPoint(3, 2);
        QTest::newRow("6 with Alt") << int(Qt::Key_6) << int(Qt::AltModifier) << "6" << QPoint(2, 2);
        QTest::newRow("right arrow with Ctrl")
            << int(Qt::Key_Right) << int(Qt::ControlModifier) << "" << QPoint(2, 2);
        QTest::newRow("q with Alt") << int(Qt::Key_Q) << int(Qt::AltModifier) << "q" << QPoint(2, 2);
        QTest::newRow("function key") << int(Qt::Key_F6) << 0 << "" << QPoint(2, 2);
        QTest::newRow("a letter") << int(Qt::Key_D) << 0 << "d" << QPoint(2, 2);
        QTest::newRow("a character beyond one byte") << int(Qt::Key_unknown) << 0 << "\u0666" << QPoint(2, 2);
        QTest::newRow("an accented letter") << int(Qt::Key_Eacute) << 0 << "\u00e9" << QPoint(2, 2);
    }
    void onlyDigitsArrowsAndQWalkOrQuitAndNeverWithAltOrCtrl() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(QPoint, after);
        Fixture f;
        f.open(kMazes + "/exemple.dat");
        f.click(Control::KeyPanel);
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QApplication::sendEvent(f.window.control(Control::KeyPanel), &press);
        QCOMPARE(f.player(), after);
        QCOMPARE(f.end.calls, 0);
    }

    void theWindowsOwnKeysWorkWhicheverControlHasTheFocus_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("focus");
        QTest::addColumn<int>("opened");
        QTest::addColumn<int>("ended");
        QTest::addColumn<int>("told");
        const int ctrl = Qt::ControlModifier;
        const auto row = [](const char* name, Qt::Key key, int modifiers, Control focus, int opened,
                            int ended, int told) {
            QTest::newRow(name) << int(key) << modifiers << int(focus) << opened << ended << told;
        };
        row("F1 on the key panel", Qt::Key_F1, 0, Control::KeyPanel, 0, 0, 1);
        row("F1 on a button", Qt::Key_F1, 0, Control::RightButton, 0, 0, 1);
        row("Ctrl+O on the key panel", Qt::Key_O, ctrl, Control::KeyPanel, 1, 0, 0);
        row("Ctrl+O on the view", Qt::Key_O, ctrl, Control::View, 1, 0, 0);
        row("Ctrl+Q on the key panel", Qt::Key_Q, ctrl, Control::KeyPanel, 0, 1, 0);
        row("Ctrl+Q on the open button", Qt::Key_Q, ctrl, Control::OpenButton, 0, 1, 0);
    }
    void theWindowsOwnKeysWorkWhicheverControlHasTheFocus() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, focus);
        QFETCH(int, opened);
        QFETCH(int, ended);
        QFETCH(int, told);
        Fixture f;
        f.open(kMazes + "/exemple.dat");
        f.window.control(Control(focus))->setFocus();
        QTest::keyClick(f.handle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(f.chooser.calls - 1, opened);
        QCOMPARE(f.end.calls, ended);
        QCOMPARE(f.box.texts.size(), told);
        QCOMPARE(f.player(), QPoint(2, 2));
        if (told) {
            QVERIFY(f.box.texts[0].contains(QStringLiteral("Ctrl+R")));
            QVERIFY(f.box.texts[0].contains(QStringLiteral("/samples/of/zirk")));
            QCOMPARE(f.box.captions[0], QStringLiteral("Zirk pour Windows"));
        }
    }

    void ctrlRReadsTheMazeAfreshWithThePlayerAtTheStart() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("m.dat"));
        write(path, "0000\r\n0112\r\n0000\r\n");
        Fixture f;
        QTest::keyClick(f.handle(), Qt::Key_R, Qt::ControlModifier); // nothing opened yet: nothing to do
        QCOMPARE(f.player(), QPoint(0, 0));
        f.open(QFile::encodeName(path).toStdString());
        f.click(Control::RightButton);
        QCOMPARE(f.player(), QPoint(3, 2));
        write(path, "0000\r\n0102\r\n0111\r\n");
        f.click(Control::KeyPanel);
        QTest::keyClick(f.handle(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(f.player(), QPoint(2, 2));
        QCOMPARE(f.window.game().maze.at(3, 2), Cell::Wall);
        QCOMPARE(f.chooser.calls, 1);
        QCOMPARE(f.box.texts, QStringList());
    }

    void quittingEndsTheProgram_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("button") << "Quitter";
        QTest::newRow("small q") << "q";
        QTest::newRow("capital Q") << "Q";
    }
    void quittingEndsTheProgram() {
        QFETCH(QString, how);
        Fixture f;
        if (how == "Quitter") {
            f.click(Control::QuitButton);
        } else {
            f.click(Control::KeyPanel);
            f.type(how);
        }
        QCOMPARE(f.end.calls, 1);
    }
};

QTEST_MAIN(TestPlay)
#include "tst_play.moc"
