#include "fakes/recordingcanvas.h"
#include "steps.h"

#include <QPoint>
#include <QTest>

using namespace zirk;
using zirk::testing::Box;
using zirk::testing::RecordingCanvas;

Q_DECLARE_METATYPE(zirk::CommandSource)
Q_DECLARE_METATYPE(zirk::StepOutcome)

namespace zirk {
// Lets QCOMPARE name the outcome it got.
inline char* toString(StepOutcome outcome) {
    const char* names[] = {"Ignored", "Drawn", "ExitReached", "Quit"};
    return qstrdup(names[static_cast<int>(outcome)]);
}
} // namespace zirk

namespace {

const Box kBackgroundBox{0, 0, 356, 356, {200, 200, 0}};
const Box kMarkerBox{172, 172, 178, 178, {255, 0, 0}};
const Box kExitUnderThePlayer{165, 165, 185, 185, {0, 0, 255}};

// Every cell holds 0 except those given.
Game stateWith(QPoint player, std::initializer_list<std::pair<QPoint, int>> cells) {
    Game state;
    state.CellSize = 70;
    state.playerX = player.x();
    state.playerY = player.y();
    for (const auto& [cell, value] : cells)
        state.maze.write(cell.x(), cell.y(), value);
    return state;
}

// A cross of floor around (5,5), and two more floor cells on a diagonal, so that each of the four steps from
// the centre takes exactly one of those two out of sight.
Game crossroads() {
    return stateWith(
        {5, 5}, {{{5, 5}, 1}, {{5, 4}, 1}, {{5, 6}, 1}, {{4, 5}, 1}, {{6, 5}, 1}, {{3, 3}, 1}, {{7, 7}, 1}});
}

} // namespace

class MovesTest : public QObject {
    Q_OBJECT

private slots:
    void commandsThatAreNoStepDrawNothing_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<CommandSource>("source");
        QTest::addColumn<StepOutcome>("outcome");
        QTest::newRow("Quitter button") << "Quitter" << CommandSource::Button << StepOutcome::Quit;
        QTest::newRow("q key") << "q" << CommandSource::Key << StepOutcome::Quit;
        QTest::newRow("Q key") << "Q" << CommandSource::Key << StepOutcome::Quit;
        QTest::newRow("Quitter typed") << "Quitter" << CommandSource::Key << StepOutcome::Ignored;
        QTest::newRow("q as a caption") << "q" << CommandSource::Button << StepOutcome::Ignored;
        QTest::newRow("empty key") << "" << CommandSource::Key << StepOutcome::Ignored;
        QTest::newRow("5 is no direction") << "5" << CommandSource::Key << StepOutcome::Ignored;
        QTest::newRow("two digits") << "22" << CommandSource::Key << StepOutcome::Ignored;
        QTest::newRow("letter") << "x" << CommandSource::Key << StepOutcome::Ignored;
    }
    void commandsThatAreNoStepDrawNothing() {
        QFETCH(QString, text);
        QFETCH(CommandSource, source);
        QFETCH(StepOutcome, outcome);
        Game state = crossroads();
        RecordingCanvas canvas;
        QCOMPARE(step(state, text.toStdString(), source, canvas), outcome);
        QVERIFY(canvas.boxes.isEmpty());
        QCOMPARE(QPoint(state.playerX, state.playerY), QPoint(5, 5));
    }

    void aDirectionOntoFloorMovesAndDrawsAroundTheNewCell_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<CommandSource>("source");
        QTest::addColumn<QPoint>("arrival");
        QTest::newRow("2 goes down") << "2" << CommandSource::Key << QPoint(5, 6);
        QTest::newRow("8 goes up") << "8" << CommandSource::Key << QPoint(5, 4);
        QTest::newRow("6 goes right") << "6" << CommandSource::Key << QPoint(6, 5);
        QTest::newRow("4 goes left") << "4" << CommandSource::Key << QPoint(4, 5);
        QTest::newRow("2 as a button") << "2" << CommandSource::Button << QPoint(5, 6);
        QTest::newRow("4 as a button") << "4" << CommandSource::Button << QPoint(4, 5);
    }
    void aDirectionOntoFloorMovesAndDrawsAroundTheNewCell() {
        QFETCH(QString, text);
        QFETCH(CommandSource, source);
        QFETCH(QPoint, arrival);
        Game state = crossroads();
        RecordingCanvas canvas;
        QCOMPARE(step(state, text.toStdString(), source, canvas), StepOutcome::Drawn);
        QCOMPARE(QPoint(state.playerX, state.playerY), arrival);
        // Six floor cells in sight from the new cell, seven from the old one.
        QCOMPARE(canvas.boxes.size(), 2 + 7 * 19);
        QCOMPARE(canvas.boxes.first(), kBackgroundBox);
    }

    void aWallRefusesTheStepYetTheViewIsRedrawn_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wallWritten");
        QTest::newRow("down into a written 0") << "2" << true;
        QTest::newRow("left into a written 0") << "4" << true;
        QTest::newRow("up into a cell never written") << "8" << false;
        QTest::newRow("right into a cell never written") << "6" << false;
    }
    void aWallRefusesTheStepYetTheViewIsRedrawn() {
        QFETCH(QString, text);
        QFETCH(bool, wallWritten);
        Game state = stateWith({5, 5}, {{{5, 5}, 1}});
        if (wallWritten)
            for (const QPoint cell : {QPoint(5, 4), QPoint(5, 6), QPoint(4, 5), QPoint(6, 5)})
                state.maze.write(cell.x(), cell.y(), 0);
        RecordingCanvas canvas;
        QCOMPARE(step(state, text.toStdString(), CommandSource::Key, canvas), StepOutcome::Drawn);
        QCOMPARE(QPoint(state.playerX, state.playerY), QPoint(5, 5));
        QCOMPARE(canvas.boxes.size(), 2 + 7 * 24);
    }

    void standingOnAnExitAfterAnyDirectionIsAnnouncedWithTheMarkerOnTop_data() {
        QTest::addColumn<int>("startX");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("endX");
        QTest::addColumn<StepOutcome>("outcome");
        QTest::newRow("onto an exit") << 5 << "6" << 6 << StepOutcome::ExitReached;
        QTest::newRow("refused while on an exit") << 7 << "6" << 7 << StepOutcome::ExitReached;
        QTest::newRow("off an exit") << 6 << "4" << 5 << StepOutcome::Drawn;
    }
    void standingOnAnExitAfterAnyDirectionIsAnnouncedWithTheMarkerOnTop() {
        QFETCH(int, startX);
        QFETCH(QString, text);
        QFETCH(int, endX);
        QFETCH(StepOutcome, outcome);
        Game state = stateWith({startX, 5}, {{{5, 5}, 1}, {{6, 5}, 2}, {{7, 5}, 2}});
        RecordingCanvas canvas;
        QCOMPARE(step(state, text.toStdString(), CommandSource::Key, canvas), outcome);
        QCOMPARE(state.playerX, endX);
        QCOMPARE(canvas.boxes.first(), kBackgroundBox);
        if (outcome == StepOutcome::ExitReached) {
            QCOMPARE(canvas.boxes.last(), kMarkerBox);
            QVERIFY(canvas.boxes.contains(kExitUnderThePlayer));
        } else {
            QVERIFY(canvas.boxes.last() != kMarkerBox);
        }
    }

    void walkingFromOneExitOntoTheNextAnnouncesBoth() {
        Game state = stateWith({5, 5}, {{{5, 5}, 1}, {{6, 5}, 2}, {{7, 5}, 2}});
        RecordingCanvas canvas;
        QCOMPARE(step(state, "6", CommandSource::Key, canvas), StepOutcome::ExitReached);
        QCOMPARE(step(state, "6", CommandSource::Button, canvas), StepOutcome::ExitReached);
        QCOMPARE(state.playerX, 7);
    }

    void theGridsLastColumnAndRowCannotBeLeft_data() {
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("end");
        QTest::newRow("right from column 99") << QPoint(99, 50) << "6" << QPoint(100, 50);
        QTest::newRow("right from column 100") << QPoint(100, 50) << "6" << QPoint(100, 50);
        QTest::newRow("down from row 100") << QPoint(50, 100) << "2" << QPoint(50, 100);
        QTest::newRow("right from the last corner") << QPoint(100, 100) << "6" << QPoint(100, 100);
    }
    void theGridsLastColumnAndRowCannotBeLeft() {
        QFETCH(QPoint, start);
        QFETCH(QString, text);
        QFETCH(QPoint, end);
        Game state = stateWith(start, {});
        for (int x = 45; x <= 100; ++x)
            for (int y = 45; y <= 100; ++y)
                state.maze.write(x, y, 1);
        RecordingCanvas canvas;
        QCOMPARE(step(state, text.toStdString(), CommandSource::Key, canvas), StepOutcome::Drawn);
        QCOMPARE(QPoint(state.playerX, state.playerY), end);
        QCOMPARE(state.maze.refusedAccesses(), 0u);
    }

    void beforeAnyMazeEveryDirectionIsRefusedButDrawn_data() {
        QTest::addColumn<QString>("text");
        for (const char* text : {"2", "8", "6", "4"})
            QTest::newRow(text) << QString::fromLatin1(text);
    }
    void beforeAnyMazeEveryDirectionIsRefusedButDrawn() {
        QFETCH(QString, text);
        Game state;
        state.CellSize = 70;
        RecordingCanvas canvas;
        QCOMPARE(step(state, text.toStdString(), CommandSource::Key, canvas), StepOutcome::Drawn);
        QCOMPARE(QPoint(state.playerX, state.playerY), QPoint(0, 0));
        QCOMPARE(canvas.boxes.size(), 177);
    }

    void aTypedCodeBecomesOneCharacter_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("NUL") << 0 << QByteArray(1, '\0');
        QTest::newRow("digit") << int('2') << QByteArray("2");
        QTest::newRow("letter") << int('Q') << QByteArray("Q");
        QTest::newRow("last byte") << 255 << QByteArray("\xff");
        QTest::newRow("one past a byte") << 256 << QByteArray();
        QTest::newRow("negative") << -1 << QByteArray();
    }
    void aTypedCodeBecomesOneCharacter() {
        QFETCH(int, code);
        QFETCH(QByteArray, text);
        QCOMPARE(QByteArray::fromStdString(keyText(code)), text);
    }
};

QTEST_APPLESS_MAIN(MovesTest)
#include "tst_moves.moc"
