// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the committed window pictures as the program and the desktop read them, through Qt.

#include <QColor>
#include <QImage>
#include <QImageReader>
#include <QList>
#include <QPoint>
#include <QSet>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QString picturePath(const QString& name) {
    return QStringLiteral(ZIRK_PICTURES_DIR "/") + name;
}

bool isIcon(const QString& name) {
    return name.endsWith(QLatin1String(".ico"));
}

void addPictureRows() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    struct Row {
        const char* name;
        int width, height;
    };
    static const Row rows[] = {
        {"zirk.ico", 32, 32},         {"ouvrir.bmp", 19, 19},        {"close_up.bmp", 16, 16},
        {"close_down.bmp", 16, 16},   {"minimise_up.bmp", 16, 16},   {"minimise_down.bmp", 16, 16},
        {"maximise_up.bmp", 16, 16},  {"maximise_down.bmp", 16, 16}, {"restore_up.bmp", 16, 16},
        {"restore_down.bmp", 16, 16}, {"grip.bmp", 12, 12},          {"title.bmp", 500, 14},
        {"separator.bmp", 500, 3},    {"background.bmp", 500, 500},
    };
    for (const Row& row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.width << row.height;
}

int gray(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y));
}

// Black pixels on the button face, inside the two-pixel bevel.
QSet<QPoint> glyphPixels(const QImage& button) {
    QSet<QPoint> pixels;
    for (int y = 2; y < button.height() - 2; ++y)
        for (int x = 2; x < button.width() - 2; ++x)
            if ((button.pixel(x, y) & 0xffffffu) == 0) pixels.insert(QPoint(x, y));
    return pixels;
}

// Relative luminance of an sRGB colour as WCAG 2 defines it.
double luminance(QRgb colour) {
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(colour)) + 0.7152 * linear(qGreen(colour)) + 0.0722 * linear(qBlue(colour));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The lengths of the runs of pixels for which inside() holds, along every row and every column.
template <typename Inside> QList<int> runs(const QImage& image, Inside inside) {
    QList<int> lengths;
    for (bool alongRows : {true, false}) {
        const int lines = alongRows ? image.height() : image.width();
        const int length = alongRows ? image.width() : image.height();
        for (int line = 0; line < lines; ++line) {
            int run = 0;
            for (int i = 0; i <= length; ++i) {
                if (i < length && inside(alongRows ? image.pixel(i, line) : image.pixel(line, i))) {
                    ++run;
                } else if (run > 0) {
                    lengths.append(run);
                    run = 0;
                }
            }
        }
    }
    return lengths;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

    // Each caption button as its released and pressed picture.
    static void addButtonStates();

private slots:
    void loadsWithQImage_data() { addPictureRows(); }
    void loadsWithQImage();
    void landmarks_data();
    void landmarks();
    void textReadsOnEveryPixel_data();
    void textReadsOnEveryPixel();
    void iconMaskIsTransparentOutside_data();
    void iconMaskIsTransparentOutside();
    void iconIsDrawnSharpAtEverySize_data();
    void iconIsDrawnSharpAtEverySize();
    void pressedGlyphMovesDownRight_data() { addButtonStates(); }
    void pressedGlyphMovesDownRight();
    void bevelRaisedThenSunken_data() { addButtonStates(); }
    void bevelRaisedThenSunken();
    void backgroundIsQuiet();
};

void TestPictures::loadsWithQImage() {
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(int, height);

    const QString path = picturePath(name);
    // Decided by content, not by the file name.
    QCOMPARE(QImageReader::imageFormat(path), isIcon(name) ? QByteArray("ico") : QByteArray("bmp"));
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), QSize(width, height));
}

void TestPictures::landmarks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("colour");

    const QColor face(192, 192, 192);
    QTest::newRow("separator shadow on top") << "separator.bmp" << QPoint(250, 0) << QColor(128, 128, 128);
    QTest::newRow("separator highlight below") << "separator.bmp" << QPoint(250, 1) << QColor(Qt::white);
    QTest::newRow("folder on face grey") << "ouvrir.bmp" << QPoint(0, 0) << face;
    QTest::newRow("folder corner on face grey") << "ouvrir.bmp" << QPoint(18, 18) << face;
    QTest::newRow("grip leaves top left plain") << "grip.bmp" << QPoint(0, 0) << face;
    QTest::newRow("grip ridge reaches bottom edge") << "grip.bmp" << QPoint(11, 11) << QColor(128, 128, 128);
    QTest::newRow("grip highlight at bottom") << "grip.bmp" << QPoint(11, 5) << QColor(Qt::white);
    QTest::newRow("minimise bar near bottom") << "minimise_up.bmp" << QPoint(7, 11) << QColor(Qt::black);
    QTest::newRow("minimise top is empty") << "minimise_up.bmp" << QPoint(7, 4) << face;
    QTest::newRow("maximise thick top edge") << "maximise_up.bmp" << QPoint(7, 4) << QColor(Qt::black);
    QTest::newRow("maximise thin bottom edge") << "maximise_up.bmp" << QPoint(7, 10) << face;
}

void TestPictures::landmarks() {
    QFETCH(QString, name);
    QFETCH(QPoint, at);
    QFETCH(QColor, colour);

    const QImage image(picturePath(name));
    QVERIFY(!image.isNull());
    QCOMPARE(image.pixelColor(at), colour);
}

void TestPictures::textReadsOnEveryPixel_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("text");

    // The window's title, black and bold, is drawn over the stretched bar wherever it is centred.
    QTest::newRow("black title on the title bar") << "title.bmp" << QColor(Qt::black);
}

void TestPictures::textReadsOnEveryPixel() {
    QFETCH(QString, name);
    QFETCH(QColor, text);

    const QImage image(picturePath(name));
    QVERIFY(!image.isNull());
    double lowest = std::numeric_limits<double>::infinity();
    QPoint where;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double c = contrast(text.rgb(), image.pixel(x, y));
            if (c < lowest) {
                lowest = c;
                where = QPoint(x, y);
            }
        }
    }
    // WCAG's least contrast for text of ordinary size.
    QVERIFY2(
        lowest >= 4.5,
        qPrintable(QStringLiteral("%1:1 at %2,%3").arg(lowest, 0, 'f', 2).arg(where.x()).arg(where.y())));
}

void TestPictures::iconMaskIsTransparentOutside_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("opaque");

    QTest::newRow("top left corner") << QPoint(0, 0) << false;
    QTest::newRow("top right corner") << QPoint(31, 0) << false;
    QTest::newRow("bottom left corner") << QPoint(0, 31) << false;
    QTest::newRow("bottom right corner") << QPoint(31, 31) << false;
    QTest::newRow("centre") << QPoint(16, 16) << true;
    QTest::newRow("inside top left") << QPoint(5, 5) << true;
    QTest::newRow("inside bottom right") << QPoint(26, 26) << true;
}

void TestPictures::iconMaskIsTransparentOutside() {
    QFETCH(QPoint, at);
    QFETCH(bool, opaque);

    const QImage icon(picturePath(QStringLiteral("zirk.ico")));
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(icon.hasAlphaChannel());
    QCOMPARE(qAlpha(icon.pixel(at)), opaque ? 255 : 0);
}

void TestPictures::iconIsDrawnSharpAtEverySize_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        QTest::newRow(qPrintable(QString::number(size))) << size;
}

void TestPictures::iconIsDrawnSharpAtEverySize() {
    QFETCH(int, size);

    const QImage icon(picturePath(QStringLiteral("zirk_%1.png").arg(size)));
    QCOMPARE(icon.size(), QSize(size, size));

    // Sharp: every wall as thick as the thinnest and every corridor as wide as the narrowest, so each
    // run of wall or floor across the maze spans whole corridors and walls. A copy of another size,
    // scaled by a fraction, thickens some walls by a pixel and not others. The marble lies on the floor.
    const QImage design(picturePath(QStringLiteral("zirk.ico")));
    const QRgb wall = design.pixel(3, 3), floor = design.pixel(12, 6), marble = design.pixel(6, 6);
    const QList<int> walls = runs(icon, [&](QRgb p) { return p == wall; });
    const QList<int> floors = runs(icon, [&](QRgb p) { return p == floor || p == marble; });
    QVERIFY(!walls.isEmpty() && !floors.isEmpty());
    const int thick = *std::min_element(walls.begin(), walls.end());
    const int wide = *std::min_element(floors.begin(), floors.end());
    const QString widths = QStringLiteral(" with walls of %1 and corridors of %2").arg(thick).arg(wide);
    for (int run : walls)
        QVERIFY2((run - thick) % (thick + wide) == 0,
                 qPrintable(QStringLiteral("a wall of %1").arg(run) + widths));
    for (int run : floors)
        QVERIFY2((run - wide) % (thick + wide) == 0,
                 qPrintable(QStringLiteral("a floor of %1").arg(run) + widths));
}

void TestPictures::addButtonStates() {
    QTest::addColumn<QString>("released");
    QTest::addColumn<QString>("pressed");

    for (const char* button : {"close", "minimise", "maximise", "restore"}) {
        const QString stem = QString::fromLatin1(button);
        QTest::newRow(button) << stem + QLatin1String("_up.bmp") << stem + QLatin1String("_down.bmp");
    }
}

void TestPictures::pressedGlyphMovesDownRight() {
    QFETCH(QString, released);
    QFETCH(QString, pressed);

    const QSet<QPoint> up = glyphPixels(QImage(picturePath(released)));
    const QSet<QPoint> down = glyphPixels(QImage(picturePath(pressed)));
    QVERIFY(!up.isEmpty());

    QSet<QPoint> shifted;
    for (const QPoint& p : up)
        shifted.insert(p + QPoint(1, 1));
    QCOMPARE(down, shifted);
}

void TestPictures::bevelRaisedThenSunken() {
    QFETCH(QString, released);
    QFETCH(QString, pressed);

    const QImage up(picturePath(released));
    const QImage down(picturePath(pressed));
    QVERIFY(!up.isNull());
    QVERIFY(!down.isNull());

    // Raised: bright top-left frame, dark bottom-right one. Sunken: the reverse.
    for (int edge : {0, 1}) {
        const int far = 15 - edge;
        QVERIFY2(gray(up, edge, edge) > gray(up, far, far), qPrintable(released));
        QVERIFY2(gray(up, 8, edge) > gray(up, 8, far), qPrintable(released));
        QVERIFY2(gray(up, edge, 8) > gray(up, far, 8), qPrintable(released));
        QVERIFY2(gray(down, edge, edge) < gray(down, far, far), qPrintable(pressed));
        QVERIFY2(gray(down, 8, edge) < gray(down, 8, far), qPrintable(pressed));
        QVERIFY2(gray(down, edge, 8) < gray(down, far, 8), qPrintable(pressed));
    }
}

void TestPictures::backgroundIsQuiet() {
    const QImage background(picturePath(QStringLiteral("background.bmp")));
    QVERIFY(!background.isNull());

    qint64 sum = 0;
    for (int y = 0; y < background.height(); ++y) {
        for (int x = 0; x < background.width(); ++x) {
            const QRgb pixel = background.pixel(x, y);
            for (int channel : {qRed(pixel), qGreen(pixel), qBlue(pixel)}) {
                if (channel < 184 || channel > 200)
                    QFAIL(qPrintable(QStringLiteral("loud pixel at %1,%2").arg(x).arg(y)));
            }
            sum += qGray(pixel);
        }
    }
    const double mean = double(sum) / (background.width() * background.height());
    QVERIFY2(mean > 190 && mean < 194, qPrintable(QString::number(mean)));
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
