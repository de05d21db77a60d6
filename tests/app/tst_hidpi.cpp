// SPDX-License-Identifier: GPL-3.0-or-later
// At a scale factor of 2 every unit of the view is exactly 2 x 2 device pixels of its own colour: no blur. At
// a factor of 1.5 (the same program, run again) the pictures are scaled smoothly instead of unevenly.

#include "fakes/windowfixture.h"

#include <QApplication>
#include <QTest>

using namespace zirk;
using namespace zirk::testing;

class TestHiDpi : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(qApp->devicePixelRatio() == 2.0 || qApp->devicePixelRatio() == 1.5); }
    void init() {
        const bool fractional = qApp->devicePixelRatio() == 1.5;
        if (fractional !=
            (QByteArray(QTest::currentTestFunction()) == "picturesScaleSmoothlyAtAFractionalFactor"))
            QSKIP("for the other scale factor");
    }

    void picturesScaleSmoothlyAtAFractionalFactor() {
        WindowFixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        // Smoothed, a picture shows colours between its own; scaled by whole pixels it shows only its own.
        for (Control id : {Control::CloseButton, Control::Icon}) {
            auto* picture = f.window.control<PictureControl>(id);
            const QImage original = picture->picture().toImage().convertToFormat(QImage::Format_RGB32);
            const QImage shown = picture->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QSet<QRgb> own;
            for (int y = 0; y < original.height(); ++y)
                for (int x = 0; x < original.width(); ++x)
                    own.insert(original.pixel(x, y));
            int between = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    between += !own.contains(shown.pixel(x, y));
            QVERIFY2(between > 0, qPrintable(picture->objectName()));
        }
    }

    void theViewScalesByWholeDevicePixels_data() {
        QTest::addColumn<QPoint>("unit");
        QTest::addColumn<QColor>("colour");
        // The player stands at (2, 2) of the sample maze: red marker 172..178, walls up and to the left.
        QTest::newRow("marker's first unit") << QPoint(172, 172) << QColor(255, 0, 0);
        QTest::newRow("marker's last unit") << QPoint(178, 178) << QColor(255, 0, 0);
        QTest::newRow("floor just past the marker") << QPoint(179, 179) << QColor(200, 200, 0);
        QTest::newRow("floor just before the marker") << QPoint(171, 175) << QColor(200, 200, 0);
        QTest::newRow("wall face's last unit") << QPoint(70, 70) << QColor(0, 255, 0);
        QTest::newRow("shading next to the face") << QPoint(175, 141) << QColor(0, 211, 0);
        QTest::newRow("shading at its outer edge") << QPoint(175, 146) << QColor(0, 100, 0);
        QTest::newRow("last unit of the view") << QPoint(349, 349) << QColor(200, 200, 0);
    }
    void theViewScalesByWholeDevicePixels() {
        QFETCH(QPoint, unit);
        QFETCH(QColor, colour);
        WindowFixture f;
        MazeWindow& window = f.window;
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        f.chooser.answers.push_back(std::string(ZIRK_MAZES_DIR) + "/exemple.dat");
        window.openMaze();
        QWidget* view = window.control(Control::View);
        QCOMPARE(view->size(), QSize(350, 350));
        const QImage shot = view->grab().toImage();
        QCOMPARE(shot.size(), QSize(700, 700));
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx)
                QCOMPARE(shot.pixelColor(unit.x() * 2 + dx, unit.y() * 2 + dy), colour);
    }

    void theWindowAndItsPicturesScaleToo() {
        WindowFixture f;
        MazeWindow& window = f.window;
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage shot = window.grab().toImage();
        QCOMPARE(shot.size(), QSize(1006, 786));
        // The grey right border is one logical pixel: two device columns.
        QCOMPARE(shot.pixelColor(1005, 300), QColor(128, 128, 128));
        QCOMPARE(shot.pixelColor(1004, 300), QColor(128, 128, 128));
        QCOMPARE(shot.pixelColor(0, 300), QColor(255, 255, 255));
        QCOMPARE(shot.pixelColor(1, 300), QColor(255, 255, 255));
        // The close picture covers 32 x 32 device pixels from (8, 8).
        const QImage close = window.control(Control::CloseButton)->grab().toImage();
        QCOMPARE(close.size(), QSize(32, 32));
        // The background is stretched over all its device pixels exactly as Qt stretches it.
        auto* background = window.control<PictureControl>(Control::Background);
        QImage expected = background->picture()
                              .scaled(background->size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                              .toImage();
        expected.setDevicePixelRatio(2);
        QCOMPARE(background->grab().toImage().convertToFormat(expected.format()), expected);
    }
};

QTEST_MAIN(TestHiDpi)
#include "tst_hidpi.moc"
