// SPDX-License-Identifier: GPL-3.0-or-later
#include "loader.h"
#include "wayout.h"

#include <QDir>
#include <QTest>

using namespace zirk;

Q_DECLARE_METATYPE(std::optional<int>)

namespace {

// Rows from row 1, cells from column 1, as a maze file spells them.
MazeGrid gridOf(const QStringList& rows) {
    MazeGrid maze;
    for (int y = 0; y < rows.size(); ++y) {
        const QByteArray line = rows[y].toLatin1();
        maze.setRow(y + 1, reinterpret_cast<const unsigned char*>(line.constData()), int(line.size()));
    }
    return maze;
}

} // namespace

class WayOutTest : public QObject {
    Q_OBJECT

private slots:
    void theFewestStepsToTheNearestExitAreFound_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("startIsWall");
        QTest::addColumn<std::optional<int>>("steps");
        QTest::newRow("a corridor that turns twice")
            << QStringList{"00000", "01110", "00010", "00012", "00000"} << false << std::optional(5);
        QTest::newRow("the nearer of two exits")
            << QStringList{"0000000", "0111112", "0100000", "0200000"} << false << std::optional(2);
        QTest::newRow("an exit beside the start") << QStringList{"000", "012"} << false << std::optional(1);
        QTest::newRow("the start is an exit") << QStringList{"000", "021"} << false << std::optional(0);
        QTest::newRow("an exit behind a wall")
            << QStringList{"00000", "01102", "00000"} << false << std::optional<int>();
        QTest::newRow("no exit at all") << QStringList{"0000", "0111"} << false << std::optional<int>();
        QTest::newRow("a walled start leads out as the game lets it")
            << QStringList{"0000", "0012"} << true << std::optional(2);
        QTest::newRow("a walled start shut in")
            << QStringList{"00000", "00012"} << true << std::optional<int>();
        // Row 2 runs to the last column; column 100 runs down to an exit in the last row. Nothing lies past
        // the edge to cut the corner.
        QStringList edge(100, QString(100, QLatin1Char('0')));
        edge[1] = QStringLiteral("0") + QString(99, QLatin1Char('1'));
        for (int row = 2; row < 99; ++row)
            edge[row][99] = QLatin1Char('1');
        edge[99][99] = QLatin1Char('2');
        QTest::newRow("along the last column to the last row") << edge << false << std::optional(196);
    }
    void theFewestStepsToTheNearestExitAreFound() {
        QFETCH(QStringList, rows);
        QFETCH(bool, startIsWall);
        QFETCH(std::optional<int>, steps);
        const WayOut way = findWayOut(gridOf(rows));
        QCOMPARE(way.startIsWall, startIsWall);
        QCOMPARE(way.steps, steps);
    }

    // The dialog lists the samples by name: that order must be the order of difficulty, and each must be won.
    void theSampleMazesListedByNameAreWonInMoreStepsEachTime() {
        const QDir folder(QStringLiteral(ZIRK_MAZES_DIR));
        const QStringList names = folder.entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name);
        QVERIFY(names.size() >= 10);
        int before = 0;
        for (const QString& name : names) {
            FileSource file(QFile::encodeName(folder.filePath(name)).toStdString());
            const MazeRead read = readMazeFile(file);
            QVERIFY2(read.maze && read.result.firstLoneLineFeed == 0 && !read.result.overflowed,
                     qPrintable(name));
            const WayOut way = findWayOut(*read.maze);
            QVERIFY2(!way.startIsWall && way.steps, qPrintable(name));
            QVERIFY2(*way.steps > before,
                     qPrintable(QStringLiteral("%1: %2 steps").arg(name).arg(*way.steps)));
            before = *way.steps;
        }
    }
};

QTEST_APPLESS_MAIN(WayOutTest)
#include "tst_wayout.moc"
