// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes/recordingcanvas.h"
#include "steps.h"

#include <QPoint>
#include <QTest>

using namespace zirk;
using zirk::testing::Box;
using zirk::testing::RecordingCanvas;

Q_DECLARE_METATYPE(zirk::Command)
Q_DECLARE_METATYPE(zirk::StepOutcome)

namespace zirk {
// Let QCOMPARE name what it got.
inline char* toString(StepOutcome outcome) {
    const char* names[] = {"Drawn", "ExitReached", "Quit"};
    return qstrdup(names[static_cast<int>(outcome)]);
}
} // namespace zirk

namespace {

const Box kBackgroundBox{0, 0, 356, 356, {200, 200, 0}};
const Box kMarkerBox{172, 172, 178, 178, {255, 0, 0}};
const Box kExitUnderThePlayer{165, 165, 185, 185, {0, 0, 255}};

// Every cell holds 0 except those given.
Game stateWith(QPoint player, std::initializer_list<std::pair<QPoint, Cell>> cells) {
    Game state;
    state.playerX = player.x();
    state.playerY = player.y();
    for (const auto& [cell, value] : cells)
        state.maze.set(cell.x(), cell.y(), value);
    return state;
}

// A cross of floor around (5,5), and two more floor cells on a diagonal, so that each of the four steps from
// the centre takes exactly one of those two out of sight.
Game crossroads() {
    return stateWith({5, 5}, {{{5, 5}, Cell::Floor},
                              {{5, 4}, Cell::Floor},
                              {{5, 6}, Cell::Floor},
                              {{4, 5}, Cell::Floor},
                              {{6, 5}, Cell::Floor},
                              {{3, 3}, Cell::Floor},
                              {{7, 7}, Cell::Floor}});
}

} // namespace

class MovesTest : public QObject {
    Q_OBJECT

private slots:
    void quitDrawsNothingAndLeavesThePlayerWhereItStood() {
        Game state = crossroads();
        RecordingCanvas canvas;
        QCOMPARE(walk(state, Command::Quit, canvas), StepOutcome::Quit);
        QVERIFY(canvas.boxes.isEmpty());
        QCOMPARE(QPoint(state.playerX, state.playerY), QPoint(5, 5));
    }

    void aDirectionOntoFloorMovesAndDrawsAroundTheNewCell_data() {
        QTest::addColumn<Command>("command");
        QTest::addColumn<QPoint>("arrival");
        QTest::newRow("down") << Command::Down << QPoint(5, 6);
        QTest::newRow("up") << Command::Up << QPoint(5, 4);
        QTest::newRow("right") << Command::Right << QPoint(6, 5);
        QTest::newRow("left") << Command::Left << QPoint(4, 5);
    }
    void aDirectionOntoFloorMovesAndDrawsAroundTheNewCell() {
        QFETCH(Command, command);
        QFETCH(QPoint, arrival);
        Game state = crossroads();
        RecordingCanvas canvas;
        QCOMPARE(walk(state, command, canvas), StepOutcome::Drawn);
        QCOMPARE(QPoint(state.playerX, state.playerY), arrival);
        // Six floor cells in sight from the new cell, seven from the old one.
        QCOMPARE(canvas.boxes.size(), 2 + 7 * 19);
        QCOMPARE(canvas.boxes.first(), kBackgroundBox);
    }

    void aWallRefusesTheStepYetTheViewIsRedrawn_data() {
        QTest::addColumn<Command>("command");
        QTest::addColumn<bool>("wallWritten");
        QTest::newRow("down into a written wall") << Command::Down << true;
        QTest::newRow("left into a written wall") << Command::Left << true;
        QTest::newRow("up into a cell never written") << Command::Up << false;
        QTest::newRow("right into a cell never written") << Command::Right << false;
    }
    void aWallRefusesTheStepYetTheViewIsRedrawn() {
        QFETCH(Command, command);
        QFETCH(bool, wallWritten);
        Game state = stateWith({5, 5}, {{{5, 5}, Cell::Floor}});
        if (wallWritten)
            for (const QPoint cell : {QPoint(5, 4), QPoint(5, 6), QPoint(4, 5), QPoint(6, 5)})
                state.maze.set(cell.x(), cell.y(), Cell::Wall);
        RecordingCanvas canvas;
        QCOMPARE(walk(state, command, canvas), StepOutcome::Drawn);
        QCOMPARE(QPoint(state.playerX, state.playerY), QPoint(5, 5));
        QCOMPARE(canvas.boxes.size(), 2 + 7 * 24);
    }

    void standingOnAnExitAfterAnyDirectionIsAnnouncedWithTheMarkerOnTop_data() {
        QTest::addColumn<int>("startX");
        QTest::addColumn<Command>("command");
        QTest::addColumn<int>("endX");
        QTest::addColumn<StepOutcome>("outcome");
        QTest::newRow("onto an exit") << 5 << Command::Right << 6 << StepOutcome::ExitReached;
        QTest::newRow("refused while on an exit") << 7 << Command::Right << 7 << StepOutcome::ExitReached;
        QTest::newRow("off an exit") << 6 << Command::Left << 5 << StepOutcome::Drawn;
    }
    void standingOnAnExitAfterAnyDirectionIsAnnouncedWithTheMarkerOnTop() {
        QFETCH(int, startX);
        QFETCH(Command, command);
        QFETCH(int, endX);
        QFETCH(StepOutcome, outcome);
        Game state =
            stateWith({startX, 5}, {{{5, 5}, Cell::Floor}, {{6, 5}, Cell::Exit}, {{7, 5}, Cell::Exit}});
        RecordingCanvas canvas;
        QCOMPARE(walk(state, command, canvas), outcome);
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
        Game state = stateWith({5, 5}, {{{5, 5}, Cell::Floor}, {{6, 5}, Cell::Exit}, {{7, 5}, Cell::Exit}});
        RecordingCanvas canvas;
        QCOMPARE(walk(state, Command::Right, canvas), StepOutcome::ExitReached);
        QCOMPARE(walk(state, Command::Right, canvas), StepOutcome::ExitReached);
        QCOMPARE(state.playerX, 7);
    }

    void theGridsLastColumnAndRowCannotBeLeft_data() {
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<Command>("command");
        QTest::addColumn<QPoint>("end");
        QTest::newRow("right from column 99") << QPoint(99, 50) << Command::Right << QPoint(100, 50);
        QTest::newRow("right from column 100") << QPoint(100, 50) << Command::Right << QPoint(100, 50);
        QTest::newRow("down from row 100") << QPoint(50, 100) << Command::Down << QPoint(50, 100);
        QTest::newRow("right from the last corner") << QPoint(100, 100) << Command::Right << QPoint(100, 100);
    }
    void theGridsLastColumnAndRowCannotBeLeft() {
        QFETCH(QPoint, start);
        QFETCH(Command, command);
        QFETCH(QPoint, end);
        Game state = stateWith(start, {});
        for (int x = 45; x <= 100; ++x)
            for (int y = 45; y <= 100; ++y)
                state.maze.set(x, y, Cell::Floor);
        RecordingCanvas canvas;
        QCOMPARE(walk(state, command, canvas), StepOutcome::Drawn);
        QCOMPARE(QPoint(state.playerX, state.playerY), end);
    }

    void beforeAnyMazeEveryDirectionIsRefusedButDrawn_data() {
        QTest::addColumn<Command>("command");
        QTest::newRow("up") << Command::Up;
        QTest::newRow("down") << Command::Down;
        QTest::newRow("left") << Command::Left;
        QTest::newRow("right") << Command::Right;
    }
    void beforeAnyMazeEveryDirectionIsRefusedButDrawn() {
        QFETCH(Command, command);
        Game state;
        RecordingCanvas canvas;
        QCOMPARE(walk(state, command, canvas), StepOutcome::Drawn);
        QCOMPARE(QPoint(state.playerX, state.playerY), QPoint(0, 0));
        QCOMPARE(canvas.boxes.size(), 177);
    }
};

QTEST_APPLESS_MAIN(MovesTest)
#include "tst_moves.moc"
