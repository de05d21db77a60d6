// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes/recordingcanvas.h"
#include "loader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPoint>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstring>
#include <vector>

#include <sys/stat.h>

using namespace zirk;
using zirk::testing::Box;
using zirk::testing::RecordingCanvas;

namespace {

// Hands out its bytes in chunks of at most `chunk`, then reports the end, or an error if told to.
class ScriptedSource : public ByteSource {
public:
    ScriptedSource(QByteArray bytes, qsizetype chunk, bool failAtEnd = false)
        : bytes_(std::move(bytes)), chunk_(chunk), failAtEnd_(failAtEnd) {}

    long long read(char* buf, std::size_t size) override {
        requests.push_back(size);
        if (pos_ == bytes_.size()) return failAtEnd_ ? -1 : 0;
        const qsizetype n = std::min({static_cast<qsizetype>(size), chunk_, bytes_.size() - pos_});
        std::memcpy(buf, bytes_.constData() + pos_, static_cast<std::size_t>(n));
        pos_ += n;
        return n;
    }

    std::vector<std::size_t> requests;

private:
    QByteArray bytes_;
    qsizetype chunk_;
    bool failAtEnd_;
    qsizetype pos_ = 0;
};

// One line of '5' that never ends; bounded only so that a loader reading it to its end still lets the test
// end.
class EndlessLine : public ByteSource {
public:
    long long read(char* buf, std::size_t size) override {
        requested += size;
        if (requested > 64u * 1024 * 1024) return 0;
        std::memset(buf, '5', size);
        return static_cast<long long>(size);
    }
    std::size_t requested = 0;
};

char symbol(Cell cell) {
    return cell == Cell::Wall ? '0' : cell == Cell::Exit ? '2' : '1';
}

// Columns 1..n of a row, one symbol per cell: 0 wall, 1 floor, 2 exit.
QByteArray rowOf(const MazeGrid& maze, int row, int n) {
    QByteArray text;
    for (int x = 1; x <= n; ++x)
        text += symbol(maze.at(x, row));
    return text;
}

// What the characters of a maze file leave in the grid, in the same symbols.
QByteArray cellsOf(const QByteArray& text) {
    QByteArray cells;
    for (const char c : text)
        cells += symbol(cellFor(static_cast<unsigned char>(c)));
    return cells;
}

QByteArrayList cellsOf(const QByteArrayList& texts) {
    QByteArrayList cells;
    for (const QByteArray& text : texts)
        cells << cellsOf(text);
    return cells;
}

// Rows 1, 2, ... of the grid, each as wide as the expected row in the same place.
QByteArrayList rowsLike(const MazeGrid& maze, const QByteArrayList& expected) {
    QByteArrayList rows;
    for (const QByteArray& row : expected)
        rows << rowOf(maze, int(rows.size()) + 1, int(row.size()));
    return rows;
}

// Floor everywhere (a 9 in the expected rows), so that a cell the load left alone is told apart from one it
// wrote a wall into.
void fillWithNines(MazeGrid& maze) {
    for (int x = 1; x <= 100; ++x)
        for (int y = 1; y <= 100; ++y)
            maze.set(x, y, Cell::Floor);
}

QByteArray hundredRowsOfFours() {
    return QByteArray("4\r\n").repeated(100);
}

} // namespace

class LoaderTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString writeFile(const QString& name, const QByteArray& content) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void eachByteBecomesACellOfItsLine_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArrayList>("rows");
        QTest::newRow("digits and other bytes") << QByteArray("0 1a2") << QByteArrayList{"001029", "9"};
        QTest::newRow("every digit") << QByteArray("0123456789") << QByteArrayList{"01234567899"};
        QTest::newRow("bytes above 127") << QByteArray("\xff\x80\x7f") << QByteArrayList{"0009"};
        QTest::newRow("CR LF") << QByteArray("12\r\n34") << QByteArrayList{"129", "349", "9"};
        QTest::newRow("lone CR") << QByteArray("12\r34") << QByteArrayList{"129", "349", "9"};
        QTest::newRow("lone LF is a cell") << QByteArray("1\n2\n") << QByteArrayList{"10209", "9"};
        QTest::newRow("LF then CR") << QByteArray("1\n\r2") << QByteArrayList{"109", "29"};
        QTest::newRow("CR CR leaves a row alone") << QByteArray("1\r\r2") << QByteArrayList{"19", "9", "29"};
        QTest::newRow("final CR LF") << QByteArray("12\r\n") << QByteArrayList{"129", "9"};
        QTest::newRow("empty file") << QByteArray() << QByteArrayList{"9"};
        QTest::newRow("empty lines before a row")
            << QByteArray("\r\n\r\n5") << QByteArrayList{"9", "9", "59"};
    }
    void eachByteBecomesACellOfItsLine() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArrayList, rows);
        // One byte at a time splits every CR LF across two reads.
        for (const qsizetype chunk : {1, 2, 3, 4096}) {
            MazeGrid maze;
            fillWithNines(maze);
            ScriptedSource source(file, chunk);
            readMaze(source, maze);
            // The chunk size goes into both sides so that a failure names it.
            QCOMPARE(QByteArray::number(chunk) + ": " + rowsLike(maze, rows).join(' '),
                     QByteArray::number(chunk) + ": " + cellsOf(rows).join(' '));
        }
    }

    void readingWritesOnlyTheCellsTheSourceHolds() {
        MazeGrid maze;
        ScriptedSource large(QByteArray("1111111111\r\n").repeated(10), 4096);
        readMaze(large, maze);
        ScriptedSource small(QByteArray("22\r\n22\r\n22"), 4096);
        readMaze(small, maze);
        QCOMPARE(rowOf(maze, 3, 10), cellsOf(QByteArray("2211111111")));
        QCOMPARE(rowOf(maze, 4, 10), cellsOf(QByteArray("1111111111")));
        QCOMPARE(rowOf(maze, 10, 10), cellsOf(QByteArray("1111111111")));
    }

    void aLineWiderThanTheGridEndsTheLoad_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("firstRow");
        QTest::addColumn<QByteArray>("secondRow");
        QTest::addColumn<bool>("overflowed");
        const QByteArray threes = QByteArray(100, '3');
        QTest::newRow("100 cells fit") << threes + "\r\n7" << threes << QByteArray("79") << false;
        QTest::newRow("101 cells") << threes + "3\r\n7" << threes << QByteArray("9") << true;
        QTest::newRow("150 cells") << QByteArray(150, '3') + "\r\n7" << threes << QByteArray("9") << true;
        QTest::newRow("LF-only lines are one line")
            << QByteArray("1\n").repeated(75) + "\r\n7" << QByteArray("10").repeated(50) << QByteArray("9")
            << true;
    }
    void aLineWiderThanTheGridEndsTheLoad() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, firstRow);
        QFETCH(QByteArray, secondRow);
        QFETCH(bool, overflowed);
        MazeGrid maze;
        fillWithNines(maze);
        ScriptedSource source(file, 4096);
        QCOMPARE(readMaze(source, maze).overflowed, overflowed);
        QCOMPARE(rowOf(maze, 1, 100), cellsOf(firstRow));
        QCOMPARE(rowOf(maze, 2, int(secondRow.size())), cellsOf(secondRow));
    }

    void aLineThatNeverEndsIsNotReadToItsEnd() {
        MazeGrid maze;
        EndlessLine source;
        QVERIFY(readMaze(source, maze).overflowed);
        QCOMPARE(rowOf(maze, 1, 100), cellsOf(QByteArray(100, '5')));
        QVERIFY2(source.requested <= 16 * 1024, qPrintable(QString::number(source.requested)));
    }

    // Nothing past the 100th row can change the maze: the load reads no further, and only the bytes it has
    // already read tell whether the file went on with a row that was cut off.
    void rowsPastTheHundredth_data() {
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<bool>("overflowed");
        const QByteArray plenty = QByteArray("8\r\n").repeated(50000);
        QTest::newRow("nothing more") << QByteArray() << false;
        QTest::newRow("empty CR LF lines") << QByteArray("\r\n").repeated(50000) << false;
        QTest::newRow("lone CRs") << QByteArray("\r").repeated(50000) << false;
        QTest::newRow("a row ends the load") << plenty << true;
        QTest::newRow("a lone LF is a row") << "\n" + plenty << true;
        QTest::newRow("a row beyond the bytes read is not looked for")
            << QByteArray("\r\n").repeated(5000) + plenty << false;
    }
    void rowsPastTheHundredth() {
        QFETCH(QByteArray, tail);
        QFETCH(bool, overflowed);
        MazeGrid maze;
        ScriptedSource source(hundredRowsOfFours() + tail, 4096);
        QCOMPARE(readMaze(source, maze).overflowed, overflowed);
        QCOMPARE(source.requests.size(), std::size_t(1));
        QCOMPARE(rowOf(maze, 1, 2), cellsOf(QByteArray("40")));
        QCOMPARE(rowOf(maze, 100, 2), cellsOf(QByteArray("40")));
    }

    void aReadErrorKeepsTheLinesAlreadyRead_data() {
        QTest::addColumn<QByteArray>("beforeTheError");
        QTest::addColumn<QByteArrayList>("rows");
        QTest::addColumn<int>("kept");
        QTest::newRow("inside the first line") << QByteArray("1") << QByteArrayList{"9"} << 0;
        QTest::newRow("after a CR") << QByteArray("12\r") << QByteArrayList{"129", "9"} << 1;
        QTest::newRow("inside the second line") << QByteArray("12\r\n3") << QByteArrayList{"129", "9"} << 1;
        QTest::newRow("inside the third line")
            << QByteArray("12\r\n34\r\n5") << QByteArrayList{"129", "349", "9"} << 2;
    }
    void aReadErrorKeepsTheLinesAlreadyRead() {
        QFETCH(QByteArray, beforeTheError);
        QFETCH(QByteArrayList, rows);
        QFETCH(int, kept);
        for (const qsizetype chunk : {1, 4096}) {
            MazeGrid maze;
            fillWithNines(maze);
            ScriptedSource source(beforeTheError, chunk, true);
            const LoadResult result = readMaze(source, maze);
            QVERIFY(result.readError);
            QCOMPARE(result.rowsKept, kept);
            QCOMPARE(QByteArray::number(chunk) + ": " + rowsLike(maze, rows).join(' '),
                     QByteArray::number(chunk) + ": " + cellsOf(rows).join(' '));
        }
    }

    void theFirstBareLineFeedIsReportedWithItsLine_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("line");
        QTest::newRow("CR LF throughout") << QByteArray("01\r\n10\r\n") << 0;
        QTest::newRow("lone CRs") << QByteArray("01\r10\r") << 0;
        QTest::newRow("LF line ends") << QByteArray("01\n10\n") << 1;
        QTest::newRow("one LF in the second line") << QByteArray("01\r\n1\n0\r\n") << 2;
        QTest::newRow("a CR LF split by the reads") << QByteArray("0\r\n\r\n\r\n1\n") << 4;
        QTest::newRow("an LF past the 100th cell is never read") << QByteArray(100, '1') + "1\n" << 0;
    }
    void theFirstBareLineFeedIsReportedWithItsLine() {
        QFETCH(QByteArray, file);
        QFETCH(int, line);
        for (const qsizetype chunk : {1, 2, 4096}) {
            MazeGrid maze;
            ScriptedSource source(file, chunk);
            QCOMPARE(readMaze(source, maze).firstLoneLineFeed, line);
        }
    }

    void anEndlessSourceEndsAfterTheHundredthRow_data() {
        QTest::addColumn<QByteArray>("unit");
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("lone CRs") << QByteArray("\r");
        QTest::newRow("rows") << QByteArray("1\r\n");
    }
    void anEndlessSourceEndsAfterTheHundredthRow() {
        QFETCH(QByteArray, unit);
        // A file of /proc or /sys, or a FUSE file, that reports no size and never ends.
        struct Endless : ByteSource {
            QByteArray unit;
            std::size_t served = 0;
            long long read(char* buf, std::size_t size) override {
                for (std::size_t i = 0; i < size; ++i)
                    buf[i] = unit[qsizetype((served + i) % std::size_t(unit.size()))];
                served += size;
                return static_cast<long long>(size);
            }
        } source;
        source.unit = unit;
        MazeGrid maze;
        QElapsedTimer timer;
        timer.start();
        const LoadResult result = readMaze(source, maze);
        QVERIFY2(timer.elapsed() < 100, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(result.rowsKept, 100);
        // At most 100 rows of 101 bytes, their line ends, and one buffer.
        QVERIFY2(source.served <= 100 * 103 + 65536, qPrintable(QString::number(source.served)));
    }

    // A file is read until the system says its end, whatever its size was when it was opened.
    void aFileThatGrowsAfterItIsOpenedIsReadToItsEnd_data() {
        QTest::addColumn<QByteArray>("opened");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("overflowed");
        QTest::newRow("a few bytes") << QByteArray("11\r\n") << 41 << false;
        // The 100th row arrives later, and the 101st in the same bytes tells that the maze was cut.
        QTest::newRow("up to the last row") << QByteArray("11\r\n").repeated(99) << 101 << true;
    }
    void aFileThatGrowsAfterItIsOpenedIsReadToItsEnd() {
        QFETCH(QByteArray, opened);
        const QString path = writeFile(QStringLiteral("growing.dat"), opened);
        FileSource file(path.toStdString());
        QVERIFY(file.isOpen());
        QFile more(path);
        QVERIFY(more.open(QIODevice::Append));
        QVERIFY(more.write(QByteArray("22\r\n").repeated(40)) > 0);
        more.close();
        MazeGrid maze;
        const LoadResult result = readMaze(file, maze);
        QVERIFY(!result.readError);
        QTEST(int(result.rows), "rows");
        QTEST(result.overflowed, "overflowed");
    }

    void aChosenPathPutsThePlayerOnTheStartAndRedraws_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("rowsTwoAndThree");
        QTest::newRow("floor on the start")
            << "file" << QByteArray("000\r\n010\r\n012\r\n") << QByteArray("010012");
        QTest::newRow("wall on the start")
            << "file" << QByteArray("111\r\n101\r\n112\r\n") << QByteArray("101112");
        QTest::newRow("a smaller maze replaces the larger one")
            << "file" << QByteArray("111\r\n11\r\n") << QByteArray("110000");
        // Nothing can be read from these, so the grid keeps what it held.
        QTest::newRow("missing file") << "missing" << QByteArray() << QByteArray("999999");
        QTest::newRow("empty path") << "empty" << QByteArray() << QByteArray("999999");
        QTest::newRow("folder") << "folder" << QByteArray() << QByteArray("999999");
        QTest::newRow("FIFO without a writer") << "fifo" << QByteArray() << QByteArray("999999");
    }
    void aChosenPathPutsThePlayerOnTheStartAndRedraws() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, rowsTwoAndThree);
        QString path;
        if (kind == QLatin1String("file")) {
            path = writeFile(QStringLiteral("maze.txt"), content);
        } else if (kind == QLatin1String("missing")) {
            path = dir_.filePath(QStringLiteral("nowhere.txt"));
        } else if (kind == QLatin1String("folder")) {
            path = dir_.filePath(QStringLiteral("folder"));
            QVERIFY(QDir().mkpath(path));
        } else if (kind == QLatin1String("fifo")) {
            path = dir_.filePath(QStringLiteral("fifo"));
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        }
        Game state;
        state.playerX = 7;
        state.playerY = 9;
        fillWithNines(state.maze);
        RecordingCanvas canvas;
        FileSource file(path.toStdString());
        enterMaze(state, readMazeFile(file), canvas);
        QCOMPARE(QPoint(state.playerX, state.playerY), QPoint(2, 2));
        QCOMPARE(rowOf(state.maze, 2, 3) + rowOf(state.maze, 3, 3), cellsOf(rowsTwoAndThree));
        QVERIFY(!canvas.boxes.isEmpty());
        QCOMPARE(canvas.boxes.first(), (Box{0, 0, 356, 356, {200, 200, 0}}));
    }

    void aFullSizeFileFillsTheWholeGrid() {
        // Every byte but CR turns up, bare line feeds among them.
        const auto byteAt = [](int x, int y) {
            const char c = char((x * 7 + y * 31) % 256);
            return c == '\r' ? '9' : c;
        };
        QByteArray content;
        QByteArrayList lines;
        long long firstLineFeed = 0;
        for (int y = 1; y <= 100; ++y) {
            QByteArray line;
            for (int x = 1; x <= 100; ++x)
                line += byteAt(x, y);
            if (firstLineFeed == 0 && line.contains('\n')) firstLineFeed = y;
            lines << line;
            content += line + "\r\n";
        }
        QVERIFY(firstLineFeed > 1);
        FileSource file(writeFile(QStringLiteral("full.txt"), content).toStdString());
        const MazeRead read = readMazeFile(file);
        QVERIFY(!read.result.readError);
        QVERIFY(!read.result.overflowed);
        QCOMPARE(read.result.rowsKept, 100);
        QCOMPARE(read.result.columns, 100);
        QCOMPARE(read.result.firstLoneLineFeed, firstLineFeed);
        QCOMPARE(rowsLike(*read.maze, lines), cellsOf(lines));
    }
};

QTEST_APPLESS_MAIN(LoaderTest)
#include "tst_loader.moc"
