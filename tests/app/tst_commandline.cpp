// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: what it asks for, and a maze named on it opened once the window shows.

#include "commandline.h"
#include "fakes/windowfixture.h"
#include "mazewindow.h"

#include <QTest>

using namespace zirk;
using namespace zirk::testing;

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void theCommandLineAsksToPlayOrToPrintAndEnd_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("play");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>(
            "printed"); // the start of what goes to standard output, or else to standard error
        QTest::newRow("nothing") << QStringList{} << true << 0 << QString() << QString();
        QTest::newRow("a file") << QStringList{"grand.dat"} << true << 0 << "grand.dat" << QString();
        QTest::newRow("a file named like an option")
            << QStringList{"--", "-v"} << true << 0 << "-v" << QString();
        QTest::newRow("help") << QStringList{"--help"} << false << 0 << QString()
                              << "Utilisation : zirk [FICHIER]\n";
        QTest::newRow("short help") << QStringList{"-h", "x.dat"} << false << 0 << QString() << "Utilisation";
        QTest::newRow("version") << QStringList{"--version"} << false << 0 << QString()
                                 << "zirk " ZIRK_VERSION "\n";
        QTest::newRow("an unknown option") << QStringList{"--plein-ecran"} << false << 2 << QString()
                                           << "zirk : option inconnue « plein-ecran »";
        QTest::newRow("two files") << QStringList{"a.dat", "b.dat"} << false << 2 << QString()
                                   << "zirk : un seul fichier à la fois";
    }
    void theCommandLineAsksToPlayOrToPrintAndEnd() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, printed);
        const CommandLine line = parseCommandLine(QStringList{"zirk"} + arguments);
        QTEST(line.play, "play");
        QTEST(line.exitStatus, "status");
        QTEST(line.file.value_or(QString()), "file");
        const QString& out = line.exitStatus == 0 ? line.output : line.error;
        QVERIFY2(out.startsWith(printed), qPrintable(out));
        // An error is one line.
        QVERIFY(line.error.isEmpty() || line.error.count(QLatin1Char('\n')) == 1);
    }

    void aFileNamedAtStartKeepsItsBytes_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("UTF-8") << QByteArray("/tmp/é.dat");
        QTest::newRow("Latin-1, not UTF-8") << QByteArray("/tmp/\xe9\xff.dat");
    }
    void aFileNamedAtStartKeepsItsBytes() {
        QFETCH(QByteArray, name);
        const char* argv[] = {"zirk", "--", name.constData()};
        QCOMPARE(QByteArray::fromStdString(parseCommandLine(3, argv).path.value_or("")), name);
    }

    void aFileNamedAtStartIsOpenedOnceTheWindowShows_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("a maze") << ZIRK_MAZES_DIR "/exemple.dat" << QStringList{};
        QTest::newRow("a missing file")
            << "/nowhere/at/all.dat" << QStringList{"Le fichier « all.dat » n’existe pas."};
    }
    void aFileNamedAtStartIsOpenedOnceTheWindowShows() {
        QFETCH(QString, file);
        FakePlatform fakes;
        MazeWindow window(fakes.services());
        window.start(QFile::encodeName(file).toStdString());
        QVERIFY(window.isVisible());
        QCOMPARE(window.game().playerX, 0);
        QTRY_COMPARE(window.game().playerX, 2);
        QTEST(fakes.box.texts, "told");
        QCOMPARE(fakes.chooser.calls, 0);
    }
};

QTEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
