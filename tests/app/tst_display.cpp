// SPDX-License-Identifier: GPL-3.0-or-later
#include "display.h"

#include <QTest>

using namespace zirk;

class DisplayTest : public QObject {
    Q_OBJECT
private slots:
    void theFirstPlatformThatOpensIsStartedAndNoneAfterItIsTried_data() {
        QTest::addColumn<QString>("requested"); // QT_QPA_PLATFORM
        QTest::addColumn<bool>("waylandSession");
        QTest::addColumn<QStringList>("opening"); // the platforms whose display can be opened
        QTest::addColumn<QString>("started");
        QTest::addColumn<QStringList>("tried");
        const QStringList none;
        const QStringList wayland{"wayland"}, x11{"xcb"}, both{"wayland", "xcb"};
        QTest::newRow("Wayland session without X") << "" << true << wayland << "wayland" << wayland;
        QTest::newRow("Wayland session with X: X is left asleep")
            << "" << true << both << "wayland" << wayland;
        QTest::newRow("Wayland session whose compositor is gone") << "" << true << x11 << "xcb" << both;
        QTest::newRow("X session") << "" << false << both << "xcb" << x11;
        QTest::newRow("Wayland asked for, no compositor") << "wayland" << true << x11 << "" << wayland;
        QTest::newRow("a fallback list without Wayland") << "wayland;xcb" << false << x11 << "xcb" << both;
        QTest::newRow("options kept")
            << "wayland:nosuchoption;xcb" << false << wayland << "wayland:nosuchoption" << wayland;
        QTest::newRow("nothing opens") << "" << true << none << "" << both;
    }
    void theFirstPlatformThatOpensIsStartedAndNoneAfterItIsTried() {
        QFETCH(QString, requested);
        QFETCH(bool, waylandSession);
        QFETCH(QStringList, opening);
        QFETCH(QString, started);
        QFETCH(QStringList, tried);
        QStringList asked;
        const PlatformChoice choice =
            firstPlatformThatOpens(platformsQtTries(requested, waylandSession), [&](const QString& name) {
                asked << name;
                return opening.contains(name) ? std::string() : "no " + name.toStdString();
            });
        QCOMPARE(asked, tried);
        QCOMPARE(choice.platform, started);
        // When none opens, the line printed is about the one Qt would have tried first.
        QCOMPARE(choice.problem, started.isEmpty() ? "no " + tried.first().toStdString() : std::string());
    }
};

QTEST_APPLESS_MAIN(DisplayTest)
#include "tst_display.moc"
