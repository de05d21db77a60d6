// SPDX-License-Identifier: GPL-3.0-or-later
// The close-up in words after every step and load, said through the focused control, which keeps the
// keyboard.

#include "fakes/files.h"
#include "fakes/windowfixture.h"

#include <QAccessible>
#include <QApplication>
#include <QTemporaryDir>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

using namespace zirk;

namespace {

QList<QPair<QString, QObject*>> heard; // words, and the control they were said through

void listen(QAccessibleEvent* event) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (auto* said = dynamic_cast<QAccessibleAnnouncementEvent*>(event))
        heard.append({said->message(), said->object()});
#else
    if (event->type() == QAccessible::Focus && !event->object()) // words, not a control
        heard.append({event->accessibleInterface()->text(QAccessible::Name),
                      event->accessibleInterface()->parent()->object()});
#endif
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QAccessible::installUpdateHandler(listen);
        // As a screen reader does: the platform's bridge learns that one listens.
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }

    void everyStepAndLoadIsSaidThroughTheFocusedControl_data() {
        QTest::addColumn<bool>("atTheEdge"); // else where the load leaves the player: column 2, row 2
        QTest::addColumn<int>("step");       // a Command, or -1 for none
        QTest::addColumn<QString>("words");
        const QString start =
            "En haut : mur, à droite : libre, en bas : libre, à gauche : mur. Sortie en vue : 2 à droite.";
        QTest::newRow("after a load")
            << false << -1 << "Labyrinthe « m.dat » ouvert, 7 colonnes sur 4 lignes. " + start;
        QTest::newRow("refused step") << false << int(Command::Up) << "Mur. " + start;
        QTest::newRow("free step") << false << int(Command::Down)
                                   << "En haut : libre, à droite : mur, en bas : mur, à gauche : mur. Sortie "
                                      "en vue : 2 à droite, 1 en haut.";
        QTest::newRow("exits in sight") << false << int(Command::Right)
                                        << "En haut : mur, à droite : sortie, en bas : mur, à gauche : "
                                           "libre. Sorties en vue : 1 à droite ; 2 à droite, 1 en bas.";
        QTest::newRow("grid edge") << true << int(Command::Right)
                                   << "Mur. En haut : mur, à droite : mur, en bas : mur, à gauche : libre.";
    }
    void everyStepAndLoadIsSaidThroughTheFocusedControl() {
        QFETCH(bool, atTheEdge);
        QFETCH(int, step);
        QFETCH(QString, words);
        QTemporaryDir dir;
        const QString path = dir.filePath("m.dat");
        testing::write(path, "0000000\r\n0112100\r\n0101200\r\n0000000\r\n");
        testing::WindowFixture f;
        QApplication::setActiveWindow(&f.window);
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QWidget* panel = f.window.control(Control::KeyPanel);
        panel->setFocus();
        f.chooser.answers.push_back(QFile::encodeName(path).toStdString());
        heard.clear();
        f.window.openMaze();
        if (atTheEdge) {
            f.window.game().maze.set(99, 100, Cell::Floor);
            f.window.game().playerX = f.window.game().playerY = 100;
        }
        if (step >= 0) {
            heard.clear();
            f.window.walk(static_cast<Command>(step));
        }
        QCOMPARE(heard, QList({qMakePair(words, static_cast<QObject*>(panel))}));
        QCOMPARE(QApplication::focusWidget(), panel);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
