// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes/recordingcanvas.h"
#include "view.h"

#include <QPoint>
#include <QTest>

using namespace zirk;
using zirk::testing::Box;
using zirk::testing::PixelCanvas;
using zirk::testing::RecordingCanvas;

namespace {

// Literal colours rather than the library's constants, so that a wrong constant shows up here.
constexpr Rgb kBackground{200, 200, 0};
constexpr Rgb kFace{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb shade(int green) {
    return Rgb{0, static_cast<std::uint8_t>(green), 0};
}

const Box kBackgroundBox{0, 0, 356, 356, kBackground};
const Box kMarkerBox{172, 172, 178, 178, kRed};

// A player well inside the grid, floor all around; tests place walls and exits by view cell (column i, row
// j).
struct View {
    Game state;

    explicit View(int playerX = 50, int playerY = 50, Cell floor = Cell::Floor) {
        state.playerX = playerX;
        state.playerY = playerY;
        for (int x = playerX - 2; x <= playerX + 2; ++x)
            for (int y = playerY - 2; y <= playerY + 2; ++y)
                if (MazeGrid::contains(x, y)) state.maze.set(x, y, floor);
    }
    void put(int i, int j, Cell cell) { state.maze.set(state.playerX + i - 3, state.playerY + j - 3, cell); }
    void putWalls(const QList<QPoint>& cells) {
        for (const QPoint& c : cells)
            put(c.x(), c.y(), Cell::Wall);
    }
    QList<Box> boxes() const {
        RecordingCanvas canvas;
        drawView(state, canvas);
        return canvas.boxes;
    }
    PixelCanvas pixels() const {
        PixelCanvas canvas;
        drawView(state, canvas);
        return canvas;
    }
};

} // namespace

class ViewTest : public QObject {
    Q_OBJECT

private slots:
    void floorOfAnyValueDrawsOnlyTheBackgroundAndTheMarker_data() {
        QTest::addColumn<int>("floor");
        QTest::newRow("1") << 1;
        QTest::newRow("3") << 3;
        QTest::newRow("9") << 9;
    }
    void floorOfAnyValueDrawsOnlyTheBackgroundAndTheMarker() {
        QFETCH(int, floor);
        QCOMPARE(View(50, 50, cellFor('0' + floor)).boxes(), (QList<Box>{kBackgroundBox, kMarkerBox}));
    }

    void aWallInTheTopLeftCellShadesFromTheCanvasCorner() {
        View view;
        view.put(1, 1, Cell::Wall);
        const QList<Box> expected{
            kBackgroundBox,
            kMarkerBox,
            {0, 0, 76, 76, shade(100)},
            {0, 0, 75, 75, shade(122)},
            {0, 0, 74, 74, shade(144)},
            {0, 0, 73, 73, shade(166)},
            {0, 0, 72, 72, shade(189)},
            {0, 0, 71, 71, shade(211)},
            {0, 0, 70, 70, kFace},
        };
        QCOMPARE(view.boxes(), expected);
    }

    void aWallIsShadedDownAndRightThenFaced_data() {
        QTest::addColumn<int>("i");
        QTest::addColumn<int>("j");
        QTest::addColumn<Box>("outermost");
        QTest::addColumn<Box>("innermost");
        QTest::addColumn<Box>("face");
        QTest::newRow("top row") << 2 << 1 << Box{76, 6, 146, 76, shade(100)}
                                 << Box{71, 1, 141, 71, shade(211)} << Box{70, 0, 140, 70, kFace};
        QTest::newRow("left column") << 1 << 2 << Box{0, 76, 76, 146, shade(100)}
                                     << Box{0, 71, 71, 141, shade(211)} << Box{0, 70, 70, 140, kFace};
        QTest::newRow("centre") << 3 << 3 << Box{146, 146, 216, 216, shade(100)}
                                << Box{141, 141, 211, 211, shade(211)} << Box{140, 140, 210, 210, kFace};
        QTest::newRow("bottom right")
            << 5 << 5 << Box{286, 286, 356, 356, shade(100)} << Box{281, 281, 351, 351, shade(211)}
            << Box{280, 280, 350, 350, kFace};
    }
    void aWallIsShadedDownAndRightThenFaced() {
        QFETCH(int, i);
        QFETCH(int, j);
        QFETCH(Box, outermost);
        QFETCH(Box, innermost);
        QFETCH(Box, face);
        View view;
        view.put(i, j, Cell::Wall);
        const QList<Box> boxes = view.boxes();
        QCOMPARE(boxes.size(), 9);
        QCOMPARE(boxes.first(), kBackgroundBox);
        QCOMPARE(boxes[2], outermost);
        QCOMPARE(boxes[7], innermost);
        QCOMPARE(boxes[8], face);
        const int greens[] = {100, 122, 144, 166, 189, 211};
        for (int n = 0; n < 6; ++n)
            QCOMPARE(boxes[2 + n].colour, shade(greens[n]));
    }

    void anExitIsASquareInsetInItsCell_data() {
        QTest::addColumn<int>("i");
        QTest::addColumn<int>("j");
        QTest::addColumn<Box>("square");
        QTest::newRow("top left") << 1 << 1 << Box{25, 25, 45, 45, kBlue};
        QTest::newRow("off the diagonal") << 4 << 2 << Box{235, 95, 255, 115, kBlue};
        QTest::newRow("bottom right") << 5 << 5 << Box{305, 305, 325, 325, kBlue};
        QTest::newRow("under the player, over the marker") << 3 << 3 << Box{165, 165, 185, 185, kBlue};
    }
    void anExitIsASquareInsetInItsCell() {
        QFETCH(int, i);
        QFETCH(int, j);
        QFETCH(Box, square);
        View view;
        view.put(i, j, Cell::Exit);
        QCOMPARE(view.boxes(), (QList<Box>{kBackgroundBox, kMarkerBox, square}));
        const PixelCanvas pixels = view.pixels();
        QCOMPARE(pixels.pixel(square.x1 + 10, square.y1 + 10), kBlue);
        QCOMPARE(pixels.pixel(square.x1 - 1, square.y1), kBackground);
    }

    void cellsAreDrawnColumnByColumnEachFromTheTop() {
        View view;
        view.put(1, 1, Cell::Exit);
        view.put(1, 2, Cell::Wall);
        view.put(1, 3, Cell::Exit);
        view.put(2, 1, Cell::Wall);
        const QList<Box> boxes = view.boxes();
        QCOMPARE(boxes.size(), 18);
        QCOMPARE(boxes[2], (Box{25, 25, 45, 45, kBlue}));
        QCOMPARE(boxes[9], (Box{0, 70, 70, 140, kFace}));
        QCOMPARE(boxes[10], (Box{25, 165, 45, 185, kBlue}));
        QCOMPARE(boxes[11], (Box{76, 6, 146, 76, shade(100)}));
        QCOMPARE(boxes[17], (Box{70, 0, 140, 70, kFace}));
    }

    void anEmptyGridAroundTheOriginIsAllWallsAndHidesTheMarker() {
        Game state;
        RecordingCanvas recorded;
        drawView(state, recorded);
        QCOMPARE(recorded.boxes.size(), 177);
        QCOMPARE(recorded.boxes.last(), (Box{280, 280, 350, 350, kFace}));
        PixelCanvas pixels;
        drawView(state, pixels);
        QCOMPARE(pixels.pixel(175, 175), kFace);
    }

    void pixelsShowWhichBoxWasPaintedLast_data() {
        QTest::addColumn<QList<QPoint>>("walls");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<Rgb>("colour");
        const QList<QPoint> none;
        QTest::newRow("marker centre") << none << 175 << 175 << kRed;
        QTest::newRow("beside the marker") << none << 179 << 175 << kBackground;
        QTest::newRow("far corner of the background") << none << 349 << 349 << kBackground;

        const QList<QPoint> topRow{{2, 1}};
        QTest::newRow("top row: no band on the top edge") << topRow << 141 << 0 << kBackground;
        QTest::newRow("top row: still none six pixels out") << topRow << 146 << 0 << kBackground;
        QTest::newRow("top row: inner band") << topRow << 141 << 1 << shade(211);
        QTest::newRow("top row: outer band corner") << topRow << 146 << 76 << shade(100);
        QTest::newRow("top row: right of the band") << topRow << 147 << 76 << kBackground;
        QTest::newRow("top row: below the band") << topRow << 146 << 77 << kBackground;
        QTest::newRow("top row: no band on the left") << topRow << 70 << 71 << kBackground;

        const QList<QPoint> leftColumn{{1, 2}};
        QTest::newRow("left column: band from the edge") << leftColumn << 0 << 141 << shade(211);
        QTest::newRow("left column: outer band at the edge") << leftColumn << 0 << 146 << shade(100);
        QTest::newRow("left column: below the band") << leftColumn << 0 << 147 << kBackground;
        QTest::newRow("left column: no band on the top") << leftColumn << 71 << 70 << kBackground;

        const QList<QPoint> corner{{1, 1}};
        QTest::newRow("corner: top edge covered") << corner << 76 << 0 << shade(100);
        QTest::newRow("corner: top edge ends") << corner << 77 << 0 << kBackground;

        const QList<QPoint> sideBySide{{2, 3}, {3, 3}};
        QTest::newRow("side by side: left band under the right face") << sideBySide << 141 << 150 << kFace;
        QTest::newRow("side by side: right band shows") << sideBySide << 211 << 150 << shade(211);
        QTest::newRow("side by side: left bottom band shows") << sideBySide << 100 << 211 << shade(211);

        const QList<QPoint> stacked{{2, 2}, {2, 3}};
        QTest::newRow("stacked: upper band under the lower face") << stacked << 100 << 141 << kFace;
        QTest::newRow("stacked: lower band shows") << stacked << 100 << 211 << shade(211);
    }
    void pixelsShowWhichBoxWasPaintedLast() {
        QFETCH(QList<QPoint>, walls);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(Rgb, colour);
        View view;
        view.putWalls(walls);
        QCOMPARE(view.pixels().pixel(x, y), colour);
    }

    void cellsPastTheGridsEdgeAreWalls_data() {
        QTest::addColumn<int>("playerX");
        QTest::addColumn<int>("playerY");
        QTest::addColumn<int>("walls");
        QTest::newRow("column 98: edge in sight") << 98 << 50 << 0;
        QTest::newRow("column 99") << 99 << 50 << 5;
        QTest::newRow("column 100") << 100 << 50 << 10;
        QTest::newRow("row 99") << 50 << 99 << 5;
        QTest::newRow("row 100") << 50 << 100 << 10;
        QTest::newRow("last corner") << 100 << 100 << 16;
    }
    void cellsPastTheGridsEdgeAreWalls() {
        QFETCH(int, playerX);
        QFETCH(int, playerY);
        QFETCH(int, walls);
        const View view(playerX, playerY);
        QCOMPARE(view.boxes().size(), 2 + 7 * walls);
    }

    void theLastColumnAndRowAreTheViewsFarEdge() {
        View view(98, 98);
        view.state.maze.set(100, 100, Cell::Exit);
        QCOMPARE(view.boxes(), (QList<Box>{kBackgroundBox, kMarkerBox, {305, 305, 325, 325, kBlue}}));
    }
};

QTEST_APPLESS_MAIN(ViewTest)
#include "tst_view.moc"
