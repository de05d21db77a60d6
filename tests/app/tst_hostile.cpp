// SPDX-License-Identifier: GPL-3.0-or-later
// Files nobody should choose, chosen through "Ouvrir": the game neither hangs nor crashes, stays small,
// treats each one by the ordinary loading rules, and says in one box what went wrong.

#include "fakes/files.h"
#include "fakes/windowfixture.h"
#include "loader.h"
#include "loadreport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <condition_variable>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace zirk;
using namespace zirk::testing;

namespace {

long peakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A data row spells its cells as a maze file does, 0 wall, 1 floor, 2 exit; kUntouched is a cell the file
// did not write.
constexpr int kUntouched = -1;
// What every cell holds before the open: where a row looks for an untouched cell, no file here writes an
// exit.
constexpr Cell kBeforeTheOpen = Cell::Exit;

Cell expectedCell(int value) {
    return value == kUntouched ? kBeforeTheOpen : cellFor(static_cast<unsigned char>('0' + value));
}

// A file whose every read waits until the test lets it go, as a file on a stalled network share would.
class HeldFiles : public MazeFiles {
    struct Gate {
        std::mutex mutex;
        std::condition_variable opened;
        bool released = false;
    };
    class HeldFile : public MazeFile {
    public:
        explicit HeldFile(std::shared_ptr<Gate> gate) : gate_(std::move(gate)) {}
        bool isOpen() const override { return true; }
        OpenFailure failure() const override { return OpenFailure::None; }
        long long read(char* buf, std::size_t size) override {
            std::unique_lock lock(gate_->mutex);
            gate_->opened.wait(lock, [this] { return gate_->released; });
            if (sent_ || size < 8) return 0;
            std::memcpy(buf, "222\r\n222", 8);
            sent_ = true;
            return 8;
        }

    private:
        std::shared_ptr<Gate> gate_;
        bool sent_ = false;
    };

public:
    ~HeldFiles() override { release(); }
    std::shared_ptr<MazeFile> open(const std::string&) override { return std::make_shared<HeldFile>(gate_); }
    void release() {
        const std::lock_guard lock(gate_->mutex);
        gate_->released = true;
        gate_->opened.notify_all();
    }

private:
    std::shared_ptr<Gate> gate_ = std::make_shared<Gate>();
};

// Readers as the game makes them, unless the system is told to refuse a process or a thread.
class RefusingFiles : public ReaderProcesses {
public:
    std::shared_ptr<MazeFile> open(const std::string& path) override {
        return refuseProcess ? nullptr : ReaderProcesses::open(path);
    }
    void giveUp(MazeFile& file) override {
        ++givenUp;
        ReaderProcesses::giveUp(file);
    }
    bool startThread(std::function<void()> work) override {
        return !refuseThread && ReaderProcesses::startThread(std::move(work));
    }
    bool refuseProcess = false;
    bool refuseThread = false;
    int givenUp = 0;
};

} // namespace

class TestHostile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    int socket_ = -1;
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        write(path("empty.dat"), {});
        write(path("crs.dat"), QByteArray(5000, '\r'));
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk.append(char((i * 7919 + 13) % 256));
        junk.replace(0, 6,
                     QByteArray("\0"
                                "1\r"
                                "\0"
                                "21",
                                6));
        write(path("junk.dat"), junk);
        write(path("utf8.dat"), QByteArray("\xEF\xBB\xBF"
                                           "0000\r\n0111\r\n"));
        write(path("utf16.dat"), QByteArray("\xFF\xFE"
                                            "0\0"
                                            "1\0"
                                            "\r\0\n\0"
                                            "1\0",
                                            12));
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("folder.dat")));
        QCOMPARE(mkfifo(path("fifo.dat").toLocal8Bit().constData(), 0600), 0);
        QVERIFY(QFile::link(path("nowhere.dat"), path("dangling.dat")));
        QVERIFY(QFile::link(path("loop-b.dat"), path("loop-a.dat")));
        QVERIFY(QFile::link(path("loop-a.dat"), path("loop-b.dat")));
        write(path("removed.dat"), QByteArray("99999\r\n99999\r\n"));
        write(path("unix.dat"), QByteArray("00000\n01110\n00020\n"));
        write(path("tall.dat"), QByteArray("1\r\n").repeated(100) + "\r\n\r\n2\r\n");
        write(path("wide-unix.dat"), (QByteArray(100, '1') + "\n").repeated(3));
        write(path("line\nfeed.dat"), {});
        write(path((QByteArray(251, 'x') + ".dat").constData()), {});
        socket_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray socketPath = QFile::encodeName(path("socket.dat"));
        QVERIFY(socketPath.size() < qsizetype(sizeof address.sun_path));
        std::memcpy(address.sun_path, socketPath.constData(), socketPath.size());
        QCOMPARE(::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        // Two gibibytes, almost all of it a hole, in one line that starts with a hundred floor cells.
        {
            QFile big(path("big.dat"));
            QVERIFY(big.open(QIODevice::WriteOnly));
            QVERIFY(big.write(QByteArray(100, '1') + "2") == 101);
            QVERIFY(big.resize(qint64(2) << 30));
        }
    }

    void cleanupTestCase() { ::close(socket_); }

    void aHostileChoiceEndsLikeAnyUnreadableOrOddFile_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<int>>("cells"); // x, y, cell triples the grid must hold afterwards
        QTest::addColumn<QStringList>("told"); // what the box says, in that order; nothing: no box
        const int U = kUntouched;
        // A file that opens replaces the maze, even when it holds nothing; one that cannot be opened leaves
        // it.
        QTest::newRow("empty") << "empty.dat" << QList<int>{1, 1, 0, 2, 2, 0}
                               << QStringList{"« empty.dat » est vide."};
        // Files that read as mazes nobody can win.
        QTest::newRow("only carriage returns")
            << "crs.dat" << QList<int>{1, 1, 0, 100, 100, 0}
            << QStringList{"« crs.dat », la case de départ", "Aucune sortie du labyrinthe « crs.dat »"};
        QTest::newRow("binary junk with NUL bytes")
            << "junk.dat" << QList<int>{1, 1, 0, 2, 1, 1, 1, 2, 0, 2, 2, 2, 3, 2, 1}
            << QStringList{"« junk.dat » a été coupé : la ligne 2 a plus de 100 cases"};
        QTest::newRow("UTF-8 with a byte-order mark")
            << "utf8.dat" << QList<int>{1, 1, 0, 3, 1, 0, 4, 1, 0, 2, 2, 1}
            << QStringList{"Aucune sortie du labyrinthe « utf8.dat »"};
        QTest::newRow("UTF-16 with a byte-order mark")
            << "utf16.dat" << QList<int>{1, 1, 0, 5, 1, 1, 6, 1, 0, 1, 2, 0, 4, 2, 1}
            << QStringList{"fins de ligne LF : à la ligne 2", "« unix2dos utf16.dat »"};
        QTest::newRow("a folder") << "folder.dat" << QList<int>{1, 1, U}
                                  << QStringList{"« folder.dat » est un dossier"};
        QTest::newRow("a FIFO") << "fifo.dat" << QList<int>{1, 1, U}
                                << QStringList{"« fifo.dat » est un tube nommé (FIFO)"};
        QTest::newRow("a dangling link")
            << "dangling.dat" << QList<int>{1, 1, U} << QStringList{"« dangling.dat » n’existe pas."};
        QTest::newRow("a link loop") << "loop-a.dat" << QList<int>{1, 1, U}
                                     << QStringList{"« loop-a.dat » est une boucle de liens symboliques"};
        QTest::newRow("removed after it was chosen")
            << "removed.dat" << QList<int>{1, 1, U, 2, 2, U} << QStringList{"« removed.dat » n’existe pas."};
        QTest::newRow("two gibibytes on one line")
            << "big.dat" << QList<int>{1, 1, 1, 100, 1, 1, 2, 2, 0}
            << QStringList{"la ligne 1 a plus de 100 cases, la lecture s’est arrêtée à la 101e"};
        QTest::newRow("LF line ends") << "unix.dat" << QList<int>{1, 1, 0, 8, 1, 1, 2, 2, 0}
                                      << QStringList{"« unix.dat » a des fins de ligne LF : à la ligne 1"};
        QTest::newRow("100 columns with LF line ends")
            << "wide-unix.dat" << QList<int>{100, 1, 1, 1, 2, 0}
            << QStringList{"la ligne 1 a plus de 100 cases", "fins de ligne LF : à la ligne 1"};
        QTest::newRow("a line feed in the name")
            << "line\nfeed.dat" << QList<int>{1, 1, 0} << QStringList{"« line\u2424feed.dat » est vide."};
        QTest::newRow("a name of 255 bytes")
            << QString(251, 'x') + ".dat" << QList<int>{1, 1, 0}
            << QStringList{"« xxxxxxxxxx", "…", "xxxxxxxxxx.dat » est vide."};
        QTest::newRow("a row after the hundredth")
            << "tall.dat" << QList<int>{1, 100, 1, 1, 101, 0}
            << QStringList{"il a plus de 100 lignes, la lecture s’est arrêtée à la ligne 103"};
        QTest::newRow("a socket") << "socket.dat" << QList<int>{1, 1, U}
                                  << QStringList{"« socket.dat » est une socket"};
        QTest::newRow("a device") << "/dev/null" << QList<int>{1, 1, U}
                                  << QStringList{"« null » est un périphérique"};
        QTest::newRow("a read error") << "/proc/self/mem" << QList<int>{1, 1, 0}
                                      << QStringList{"« mem » n’a pas pu être lu au-delà de la ligne 0"};
        QTest::newRow("a clean maze")
            << ZIRK_MAZES_DIR "/exemple.dat" << QList<int>{2, 2, 1} << QStringList{};
    }
    void aHostileChoiceEndsLikeAnyUnreadableOrOddFile() {
        QFETCH(QString, file);
        QFETCH(QList<int>, cells);
        QFETCH(QStringList, told);
        WindowFixture f;
        MazeWindow& window = f.window;
        FakeChooser& chooser = f.chooser;
        // Exits everywhere show which cells the file did not write.
        for (int x = 1; x <= 100; ++x)
            for (int y = 1; y <= 100; ++y)
                window.game().maze.set(x, y, kBeforeTheOpen);
        window.game().playerX = 40;
        window.game().playerY = 40;
        const QString chosen = file.startsWith(QLatin1Char('/')) ? file : path(file.toUtf8().constData());
        chooser.answers.push_back(QFile::encodeName(chosen).toStdString());
        if (file == "removed.dat") chooser.afterChoice = [&] { QVERIFY(QFile::remove(path("removed.dat"))); };

        QElapsedTimer timer;
        timer.start();
        window.openMaze();
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));

        QCOMPARE(QPoint(window.game().playerX, window.game().playerY), QPoint(2, 2));
        for (qsizetype i = 0; i + 2 < cells.size(); i += 3)
            QVERIFY2(window.game().maze.at(cells[i], cells[i + 1]) == expectedCell(cells[i + 2]),
                     qPrintable(QStringLiteral("cell (%1, %2)").arg(cells[i]).arg(cells[i + 1])));
        // The view was redrawn around the start, where column 0 and row 0 are wall.
        const QImage& view = window.control<MazeView>(Control::View)->picture();
        QCOMPARE(view.pixelColor(0, 0), QColor(0, 255, 0));
        QVERIFY2(peakRssKiB() < 100 * 1024, qPrintable(QString::number(peakRssKiB())));
        QCOMPARE(f.box.texts.size(), told.isEmpty() ? 0 : 1);
        if (told.isEmpty()) return;
        QCOMPARE(f.box.captions, QStringList{QStringLiteral("Zirk pour Windows")});
        qsizetype from = 0;
        for (const QString& part : told) {
            from = f.box.texts.constFirst().indexOf(part, from);
            QVERIFY2(from >= 0, qPrintable(part + QStringLiteral(" not in: ") + f.box.texts.constFirst()));
        }
    }

    void aReadThatCannotStartIsABoxAndLeavesTheMaze_data() {
        QTest::addColumn<int>("refused"); // 0: a process, 1: a thread, 2: neither, but readers wait already
        QTest::newRow("no reader process") << 0;
        QTest::newRow("no thread to wait on it") << 1;
        QTest::newRow("too many readers left waiting") << 2;
    }
    void aReadThatCannotStartIsABoxAndLeavesTheMaze() {
        QFETCH(int, refused);
        RefusingFiles files;
        files.refuseProcess = refused == 0;
        files.refuseThread = refused == 1;
        // Readers of a file nobody reads on wait, alive, on their full pipes.
        std::vector<std::shared_ptr<MazeFile>> waiting;
        while (refused == 2 && waiting.size() < ReaderProcesses::kMaxLeftBehind)
            waiting.push_back(files.open(QFile::encodeName(path("big.dat")).toStdString()));
        FakePlatform fakes;
        MazeWindow window(fakes.services(&files));
        window.start();
        window.game().maze.set(1, 1, Cell::Exit);
        window.openMazeFile(QFile::encodeName(path("unix.dat")).toStdString());
        QCOMPARE(window.game().maze.at(1, 1), Cell::Exit);
        QCOMPARE(fakes.box.texts, QStringList{cannotReadNow("unix.dat")});
        // A reader started for nothing is not left reading.
        QCOMPARE(files.givenUp, refused == 1 ? 1 : 0);
    }

    void aReadThatDoesNotReturnLeavesTheWindowAnsweringAndCanBeGivenUp_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("given up") << true;
        QTest::newRow("waited for") << false;
    }
    void aReadThatDoesNotReturnLeavesTheWindowAnsweringAndCanBeGivenUp() {
        QFETCH(bool, cancel);
        HeldFiles files;
        FakePlatform fakes;
        MazeWindow window(fakes.services(&files));
        window.start();
        window.game().maze.set(2, 2, Cell::Floor);
        window.game().playerX = 5;
        bool answered = false;
        QTimer::singleShot(100, &window, [&] { answered = true; });
        QElapsedTimer clock;
        clock.start();
        QString said;
        qint64 shownAfter = -1;
        QTimer watch;
        connect(&watch, &QTimer::timeout, &window, [&] {
            auto* waiting = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!waiting || shownAfter >= 0) return;
            said = waiting->text();
            shownAfter = clock.elapsed();
            if (cancel)
                waiting->button(QMessageBox::Cancel)->click();
            else
                files.release();
        });
        watch.start(20);
        window.openMazeFile("held.dat");
        QVERIFY(answered);
        QVERIFY2(shownAfter >= 450, qPrintable(QString::number(shownAfter)));
        QCOMPARE(said, QStringLiteral("Lecture de « held.dat »…"));
        QCOMPARE(QPoint(window.game().playerX, window.game().playerY), QPoint(2, 2));
        QCOMPARE(window.game().maze.at(2, 2), cancel ? Cell::Floor : Cell::Exit);
        QCOMPARE(fakes.box.texts,
                 cancel
                     ? QStringList{"La lecture de « held.dat » a été annulée : le labyrinthe affiché reste."}
                     : QStringList{});
        // A read given up on may still end later; what it read is dropped.
        files.release();
        QTest::qWait(50);
        QCOMPARE(window.game().maze.at(2, 2), cancel ? Cell::Floor : Cell::Exit);
    }

    void aFileCutShortWhileItIsReadEndsWhereItWasCut() {
        // A full-size maze of floor, cut to two lines after the first block has been read.
        QByteArray rows;
        for (int y = 0; y < 100; ++y)
            rows += QByteArray(100, '7') + "\r\n";
        write(path("cut.dat"), rows);
        FileSource file(QFile::encodeName(path("cut.dat")).toStdString());
        QVERIFY(file.isOpen());
        struct CuttingSource : ByteSource {
            FileSource& file;
            QString path;
            int reads = 0;
            CuttingSource(FileSource& f, QString p) : file(f), path(std::move(p)) {}
            long long read(char* buf, std::size_t size) override {
                const long long n = file.read(buf, size);
                if (++reads == 1) QFile::resize(path, 204);
                return n;
            }
        } source(file, path("cut.dat"));
        MazeGrid maze;
        const LoadResult result = readMaze(source, maze);
        QVERIFY(!result.readError);
        QCOMPARE(source.reads, 2);
        // The first block held 40 whole rows and the start of the 41st.
        QCOMPARE(maze.at(100, 40), Cell::Floor);
        QCOMPARE(maze.at(1, 41), Cell::Floor);
        QCOMPARE(maze.at(1, 42), Cell::Wall);
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
