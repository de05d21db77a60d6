// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader is told: the close-up in words after every step and load, said through the control
// that has the focus while the keyboard stays there.

#include "fakes/windowfixture.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <optional>

using namespace zirk;
using namespace zirk::testing;

namespace {

// What a screen reader would be told: the name of what took the focus (or the words announced, where Qt can
// announce), and the widget it is said through.
struct Heard {
    QString words;
    QObject* through;
};
QList<Heard> heard;

void listen(QAccessibleEvent* event) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (event->type() == QAccessible::Announcement) {
        heard.append({static_cast<QAccessibleAnnouncementEvent*>(event)->message(), event->object()});
        return;
    }
#endif
    if (event->type() != QAccessible::Focus) return;
    QAccessibleInterface* iface = event->accessibleInterface();
    QAccessibleInterface* parent = iface ? iface->parent() : nullptr;
    heard.append({iface ? iface->text(QAccessible::Name) : QString(), parent ? parent->object() : nullptr});
}

// Two exits; the player starts at column 2, row 2.
constexpr const char* kMaze = "0000000\r\n"
                              "0111110\r\n"
                              "0101000\r\n"
                              "0101020\r\n"
                              "0100000\r\n"
                              "0000000\r\n";

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QAccessible::installUpdateHandler(listen);
        // As a screen reader makes it: the platform's bridge is told that one listens.
        if (QPlatformAccessibility* bridge = QGuiApplicationPrivate::platformIntegration()->accessibility())
            bridge->setActive(true);
        else
            QAccessible::setActive(true);
        QVERIFY(QAccessible::isActive());
    }

    void everyStepAndLoadSaysTheCloseUpThroughTheFocusedControl_data() {
        QTest::addColumn<QPoint>("from"); // (0, 0): where the load leaves the player
        QTest::addColumn<bool>("nearTheEdge");
        QTest::addColumn<std::optional<Command>>("step");
        QTest::addColumn<QString>("words");
        const std::optional<Command> none;
        QTest::newRow("after a load") << QPoint() << false << none
                                      << "Labyrinthe « m.dat » ouvert, 7 colonnes sur 6 lignes. "
                                         "En haut : mur, à droite : libre, en bas : libre, à gauche : mur.";
        QTest::newRow("free step") << QPoint() << false << std::optional(Command::Down)
                                   << "En haut : libre, à droite : mur, en bas : libre, à gauche : mur.";
        QTest::newRow("refused step")
            << QPoint() << false << std::optional(Command::Up)
            << "Mur. En haut : mur, à droite : libre, en bas : libre, à gauche : mur.";
        QTest::newRow("exit in sight") << QPoint(3, 2) << false << std::optional(Command::Right)
                                       << "En haut : mur, à droite : libre, en bas : libre, à gauche : "
                                          "libre. Sortie en vue : 2 à droite, 2 en bas.";
        QTest::newRow("exit straight ahead")
            << QPoint(4, 3) << false << std::optional(Command::Down)
            << "En haut : libre, à droite : mur, en bas : mur, à gauche : mur. Sortie en vue : 2 à droite.";
        QTest::newRow("grid edge, two exits")
            << QPoint(100, 100) << true << std::optional(Command::Right)
            << "Mur. En haut : sortie, à droite : mur, en bas : mur, à gauche : libre. "
               "Sorties en vue : 1 en haut ; 2 à gauche, 2 en haut.";
    }
    void everyStepAndLoadSaysTheCloseUpThroughTheFocusedControl() {
        QFETCH(QPoint, from);
        QFETCH(bool, nearTheEdge);
        QFETCH(std::optional<Command>, step);
        QFETCH(QString, words);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("m.dat")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kMaze) > 0);
        file.close();

        WindowFixture f;
        QApplication::setActiveWindow(&f.window);
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QWidget* panel = f.window.control(Control::KeyPanel);
        panel->setFocus();
        f.chooser.answers.push_back(QFile::encodeName(file.fileName()).toStdString());
        heard.clear();
        f.window.openMaze();
        if (!from.isNull()) {
            f.window.game().playerX = from.x();
            f.window.game().playerY = from.y();
        }
        if (nearTheEdge) {
            f.window.game().maze.set(99, 100, Cell::Floor);
            f.window.game().maze.set(100, 99, Cell::Exit);
            f.window.game().maze.set(98, 98, Cell::Exit);
        }
        if (step) {
            heard.clear();
            f.window.walk(*step);
        }
        QCOMPARE(heard.size(), 1);
        QCOMPARE(heard.first().words, words);
        QCOMPARE(heard.first().through, panel);
        QCOMPARE(QApplication::focusWidget(), panel);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
