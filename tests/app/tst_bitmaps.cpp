// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own picture reader against Qt's, on every picture the window uses, and on damaged copies of
// them.

#include "bitmaps.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

using namespace zirk;

namespace {

QByteArray picture(const QString& name) {
    QFile file(QStringLiteral(":/pictures/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestBitmaps : public QObject {
    Q_OBJECT

private slots:
    void everyPictureReadsAsQtReadsIt_data() {
        QTest::addColumn<QString>("name");
        const QStringList names = QDir(QStringLiteral(":/pictures")).entryList(QDir::Files);
        QVERIFY(names.size() >= 14);
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << name;
    }
    void everyPictureReadsAsQtReadsIt() {
        QFETCH(QString, name);
        const QByteArray bytes = picture(name);
        QVERIFY(!bytes.isEmpty());
        const QImage expected = QImage::fromData(bytes);
        QVERIFY(!expected.isNull());
        const QImage got = readWindowsBitmap(bytes);
        QVERIFY(!got.isNull());
        QCOMPARE(got.size(), expected.size());
        QCOMPARE(got.hasAlphaChannel(), expected.hasAlphaChannel());
        // Transparent pixels carry no colour once premultiplied, which is how both are drawn.
        const auto drawn = [](const QImage& i) {
            return i.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        };
        QVERIFY(drawn(got) == drawn(expected));
    }

    // Cut anywhere, a file is either still whole enough to read or refused; it is never read beyond its end.
    void aFileCutShortIsRefused_data() { everyPictureReadsAsQtReadsIt_data(); }
    void aFileCutShortIsRefused() {
        QFETCH(QString, name);
        const QByteArray bytes = picture(name);
        for (qsizetype length = 0; length < bytes.size(); length += length < 200 ? 1 : 997) {
            // A copy of its own, so that a read past the cut lands outside the allocation.
            const QByteArray cut(bytes.constData(), length);
            QVERIFY2(readWindowsBitmap(cut).isNull(), qPrintable(QString::number(length)));
        }
    }

    void damagedFieldsAreRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("width"); // of the field, in bytes
        QTest::addColumn<quint32>("value");
        const QString bmp = QStringLiteral("grip.bmp"), ico = QStringLiteral("zirk.ico");
        constexpr int dib = 22; // where the icon's only image starts
        QTest::newRow("pixels start past the end") << bmp << 10 << 4 << 0x7fff'fff0u;
        QTest::newRow("wider than the file holds") << bmp << 18 << 4 << 4000u;
        QTest::newRow("taller than the file holds") << bmp << 22 << 4 << 4000u;
        QTest::newRow("negative width") << bmp << 18 << 4 << 0xffff'fff0u;
        QTest::newRow("zero height") << bmp << 22 << 4 << 0u;
        QTest::newRow("8-bit bitmap") << bmp << 28 << 2 << 8u;
        QTest::newRow("compressed bitmap") << bmp << 30 << 4 << 1u;
        QTest::newRow("no icon in the file") << ico << 4 << 2 << 0u;
        QTest::newRow("icon image past the end") << ico << 18 << 4 << 0xffff'ff00u;
        QTest::newRow("icon with an odd stored height") << ico << dib + 8 << 4 << 63u;
        QTest::newRow("icon taller than the file holds") << ico << dib + 8 << 4 << 128u;
        QTest::newRow("24-bit icon") << ico << dib + 14 << 2 << 24u;
        QTest::newRow("icon with more than 256 colours") << ico << dib + 32 << 4 << 257u;
    }
    void damagedFieldsAreRefused() {
        QFETCH(QString, name);
        QFETCH(int, offset);
        QFETCH(int, width);
        QFETCH(quint32, value);
        QByteArray bytes = picture(name);
        QVERIFY(!readWindowsBitmap(bytes).isNull());
        for (int i = 0; i < width; ++i)
            bytes[offset + i] = char(value >> (8 * i));
        QVERIFY(readWindowsBitmap(bytes).isNull());
    }

    // A colour index beyond the palette is not guessed at: the file is left to Qt.
    void anIconIndexBeyondItsPaletteIsRefused() {
        QByteArray bytes = picture(QStringLiteral("zirk.ico"));
        bytes[22 + 32] = 2; // two colours used, while the pixels use more
        QVERIFY(readWindowsBitmap(bytes).isNull());
    }
};

QTEST_GUILESS_MAIN(TestBitmaps)
#include "tst_bitmaps.moc"
