// SPDX-License-Identifier: GPL-3.0-or-later
// drawpictures OUTDIR | drawpictures --check DIR NAME...
// Draws every picture the window uses, the icon at each size a desktop asks for, and writes them into OUTDIR
// with Qt's own writers: app/pictures/ is this program's output. --check draws them again and fails unless
// DIR holds exactly the pictures NAME... with the pixels drawn now, so that no picture is edited by hand or
// left behind by the drawing code. No clock and no random device: the same pixels on every run.

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// The classic desktop greys: button face, its light and white highlights, and the two shadows.
constexpr QRgb black = qRgb(0, 0, 0);
constexpr QRgb white = qRgb(255, 255, 255);
constexpr QRgb light = qRgb(223, 223, 223);
constexpr QRgb face = qRgb(192, 192, 192);
constexpr QRgb shadow = qRgb(128, 128, 128);

QImage canvas(int width, int height, QRgb fill) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// Replaces the pixels of a box, transparency included; whatever lies outside the picture is dropped.
void fillRect(QImage& image, int x, int y, int w, int h, QRgb colour) {
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(x, y, w, h, QColor::fromRgba(colour));
}

void set(QImage& image, int x, int y, QRgb colour) {
    if (image.valid(x, y)) image.setPixel(x, y, colour);
}

// Paints each cell of a drawing whose character the palette names in that colour, leaving the others
// untouched.
void stamp(QImage& image, int x, int y, std::span<const std::string_view> art,
           std::initializer_list<std::pair<char, QRgb>> palette) {
    for (int row = 0; row < static_cast<int>(art.size()); ++row)
        for (int col = 0; col < static_cast<int>(art[static_cast<std::size_t>(row)].size()); ++col)
            for (const auto& [mark, colour] : palette)
                if (art[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] == mark)
                    set(image, x + col, y + row, colour);
}

// Caption buttons

constexpr int buttonSize = 16;

// Two-pixel classic bevel. Released, the light comes from the top left;
// pressed, the same frame is inverted so the button looks pushed in.
void drawBevel(QImage& c, bool pressed) {
    const QRgb outerTopLeft = pressed ? black : light;
    const QRgb innerTopLeft = pressed ? shadow : white;
    const QRgb innerBottomRight = pressed ? light : shadow;
    const QRgb outerBottomRight = pressed ? white : black;
    const int last = buttonSize - 1;

    fillRect(c, 0, 0, last, 1, outerTopLeft);
    fillRect(c, 0, 0, 1, last, outerTopLeft);
    fillRect(c, 1, 1, last - 2, 1, innerTopLeft);
    fillRect(c, 1, 1, 1, last - 2, innerTopLeft);
    fillRect(c, 1, last - 1, last - 1, 1, innerBottomRight);
    fillRect(c, last - 1, 1, 1, last - 1, innerBottomRight);
    fillRect(c, 0, last, buttonSize, 1, outerBottomRight);
    fillRect(c, last, 0, 1, buttonSize, outerBottomRight);
}

// All glyphs share one 9x9 box so the buttons line up in the title bar.
constexpr std::array<std::string_view, 9> closeGlyph = {
    ".........", "XX.....XX", ".XX...XX.", "..XX.XX..", "...XXX...",
    "..XX.XX..", ".XX...XX.", "XX.....XX", ".........",
};

constexpr std::array<std::string_view, 9> minimiseGlyph = {
    ".........", ".........", ".........", ".........", ".........",
    ".........", ".........", ".XXXXXX..", ".XXXXXX..",
};

constexpr std::array<std::string_view, 9> maximiseGlyph = {
    "XXXXXXXXX", "XXXXXXXXX", "X.......X", "X.......X", "X.......X",
    "X.......X", "X.......X", "X.......X", "XXXXXXXXX",
};

// The front window hides the lower left corner of the one behind it.
constexpr std::array<std::string_view, 9> restoreGlyph = {
    "..XXXXXXX", "..XXXXXXX", "..X.....X", "XXXXXXX.X", "XXXXXXX.X",
    "X.....XXX", "X.....X..", "X.....X..", "XXXXXXX..",
};

QImage captionButton(std::span<const std::string_view> glyph, bool pressed) {
    QImage c = canvas(buttonSize, buttonSize, face);
    drawBevel(c, pressed);
    // Left of and above centre when released, so the pressed shift lands the
    // glyph in the middle of the sunken face.
    const int origin = 3 + (pressed ? 1 : 0);
    stamp(c, origin, origin, glyph, {{'X', black}});
    return c;
}

// "Ouvrir" button: an open yellow folder

QImage openFolder() {
    constexpr std::array<std::string_view, 19> art = {
        "...................", "...................", "...................", "..kkkk.............",
        ".kwyyyk............", ".kwyyyykkkkkkkk....", ".kwyyyyyyyyyyyk....", ".kwyyyyyyyyyyyk....",
        ".kwyykkkkkkkkkkkkkk", ".kwyykwYYYYYYYYYYk.", ".kwykwYYYYYYYYYYk..", ".kwykYYYYYYYYYYYk..",
        ".kwkwYYYYYYYYYYk...", ".kwkYYYYYYYYYYYk...", ".kkYYYYYYYYYYYk....", ".kkYYYYYYYYYYYk....",
        ".kkkkkkkkkkkkkk....", "...................", "...................",
    };
    QImage c = canvas(19, 19, face);
    // The inside of the back is dark yellow, the front flap bright.
    stamp(c, 0, 0, art, {{'k', black}, {'w', white}, {'y', qRgb(128, 128, 0)}, {'Y', qRgb(255, 255, 0)}});
    return c;
}

// Window furniture

QImage resizeGrip() {
    constexpr int size = 12;
    QImage c = canvas(size, size, face);
    // Ridges of constant x + y: one highlight line then two shadow lines, repeated every four pixels into
    // the corner.
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (const int fromCorner = x + y - size; fromCorner >= 0 && fromCorner % 4 != 3)
                set(c, x, y, fromCorner % 4 == 0 ? white : shadow);
    return c;
}

int blend(int from, int to, int step, int steps) {
    // Rounded integer interpolation: the same colours on every compiler.
    return (from * (steps - step) + to * step + steps / 2) / steps;
}

QImage titleBar() {
    constexpr int width = 500;
    constexpr int height = 14;
    // A light blue-grey growing lighter: the title is black text on this bar, and the darker end still gives
    // it a contrast of ten to one, where a dark bar left black text unreadable.
    constexpr QRgb left = qRgb(166, 186, 210);
    constexpr QRgb right = qRgb(220, 230, 242);
    QImage c = canvas(width, height, left);
    for (int x = 0; x < width; ++x) {
        const QRgb colour = qRgb(blend(qRed(left), qRed(right), x, width - 1),
                                 blend(qGreen(left), qGreen(right), x, width - 1),
                                 blend(qBlue(left), qBlue(right), x, width - 1));
        fillRect(c, x, 0, 1, height, colour);
    }
    return c;
}

QImage separatorStrip() {
    // Shadow over highlight reads as a groove cut into the face; the last row
    // is face grey so the strip can sit directly on a grey panel.
    QImage c = canvas(500, 3, face);
    fillRect(c, 0, 0, c.width(), 1, shadow);
    fillRect(c, 0, 1, c.width(), 1, white);
    return c;
}

// A small integer mixer (xorshift-multiply) standing in for randomness with a
// fixed starting value, so the texture is the same on every run.
std::uint32_t mix(std::uint32_t v) {
    v ^= v >> 16;
    v *= 0x7feb352du;
    v ^= v >> 15;
    v *= 0x846ca68bu;
    v ^= v >> 16;
    return v;
}

std::uint32_t grain(int x, int y) {
    constexpr std::uint32_t salt = 0x5a1c2b3du;
    return mix(static_cast<std::uint32_t>(x) * 0x9e3779b9u ^ mix(static_cast<std::uint32_t>(y) + salt));
}

QImage background() {
    constexpr int size = 500;
    QImage c = canvas(size, size, face);
    // Grey grain of at most two levels either way: enough to take the flatness
    // off a large area, too little to fight with the maze drawn over it.
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int offset = static_cast<int>(grain(x, y) % 5u) - 2;
            const int level = qRed(face) + offset;
            set(c, x, y, qRgb(level, level, level));
        }
    }
    // Five greys, written with a palette: Qt reads such rows as they are stored, where it unpacks the pixels
    // of a 24-bit file one by one, a tenth of the game's start-up for this picture alone.
    return c.convertToFormat(QImage::Format_Indexed8);
}

// Window icon: a tiny maze, red marble at the start, blue gap as the way out

// The icon's colours; around its rounded rim it is transparent.
constexpr QRgb Outside = qRgba(0, 0, 0, 0);
constexpr QRgb Rim = qRgb(0, 64, 0);
constexpr QRgb Wall = qRgb(0, 160, 0);
constexpr QRgb Floor = qRgb(255, 255, 208);
constexpr QRgb Marble = qRgb(224, 0, 0);
constexpr QRgb Exit = qRgb(0, 80, 255);

// '|' and '-' are walls, 'S' is where the marble starts, 'E' the open side.
// clang-format off
constexpr std::array<std::string_view, 9> iconMaze = {
    "+--+--+--+--+",
    "|S    |     |",
    "+--+  +  +--+",
    "|     |  |  |",
    "+  +--+  +  +",
    "|  |     |  E",
    "+  +  +--+  +",
    "|           |",
    "+--+--+--+--+",
};
// clang-format on

constexpr int iconCells = 4;

// The sizes a desktop asks for, the window icon's and the menu's alike.
constexpr std::array<int, 7> iconSizes = {16, 24, 32, 48, 64, 128, 256};

// The icon is drawn afresh at each size rather than scaled from one picture: every wall of a size is
// then as thick as every other and every edge falls on a pixel, where scaling by 3/4 or 1/2 would
// leave walls of uneven width or drop them. Each part keeps its share of the 32-pixel design (walls
// two pixels, corridors four, a one pixel rim, two transparent pixels around it), rounded to whole
// pixels.
QImage drawIcon(int size) {
    const int wall = (size + 8) / 16;
    const int corridor = (size + 4) / 8;
    const int rim = std::max(1, (size + 16) / 32);
    const int maze = (iconCells + 1) * wall + iconCells * corridor;
    const int rimSize = maze + 2 * rim;
    // Whatever is left over is shared out as a transparent margin, the odd pixel on the right and below.
    const int rimStart = (size - rimSize) / 2;
    const int mazeStart = rimStart + rim;
    const auto wallStart = [&](int line) { return mazeStart + (wall + corridor) * line; };
    const auto cellStart = [&](int cell) { return wallStart(cell) + wall; };

    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Outside);
    fillRect(icon, rimStart, rimStart, rimSize, rimSize, Rim);
    // Round the rim's corners off, a quarter circle as wide as the rim, so the emblem looks rounded; at
    // one pixel that takes just the corner pixel. Measured in half pixels to stay with integers.
    for (int i = 0; i < rim; ++i) {
        for (int j = 0; j < rim; ++j) {
            const int dx = 2 * (rim - i) - 1, dy = 2 * (rim - j) - 1;
            if (dx * dx + dy * dy <= (2 * rim - 1) * (2 * rim - 1)) continue;
            const int far = rimStart + rimSize - 1;
            fillRect(icon, rimStart + i, rimStart + j, 1, 1, Outside);
            fillRect(icon, far - i, rimStart + j, 1, 1, Outside);
            fillRect(icon, rimStart + i, far - j, 1, 1, Outside);
            fillRect(icon, far - i, far - j, 1, 1, Outside);
        }
    }
    fillRect(icon, mazeStart, mazeStart, maze, maze, Floor);

    for (int line = 0; line <= iconCells; ++line)
        for (int other = 0; other <= iconCells; ++other)
            fillRect(icon, wallStart(line), wallStart(other), wall, wall, Wall);

    for (int row = 0; row <= 2 * iconCells; ++row) {
        const std::string_view text = iconMaze[static_cast<std::size_t>(row)];
        for (int col = 0; col <= 3 * iconCells; ++col) {
            const char mark = text[static_cast<std::size_t>(col)];
            const bool onWallRow = row % 2 == 0;
            const bool onWallColumn = col % 3 == 0;
            if (onWallRow && !onWallColumn && col % 3 == 1 && mark == '-')
                fillRect(icon, cellStart(col / 3), wallStart(row / 2), corridor, wall, Wall);
            if (!onWallRow && onWallColumn && mark == '|')
                fillRect(icon, wallStart(col / 3), cellStart(row / 2), wall, corridor, Wall);
            // The way out cuts through the rim as well.
            if (!onWallRow && onWallColumn && mark == 'E')
                fillRect(icon, wallStart(col / 3), cellStart(row / 2), wall + rim, corridor, Exit);
            if (mark == 'S') {
                // A disc as wide as the corridor; at four pixels it is a plus sign.
                const int x = cellStart(col / 3);
                const int y = cellStart(row / 2);
                for (int i = 0; i < corridor; ++i) {
                    for (int j = 0; j < corridor; ++j) {
                        const int dx = 2 * i + 1 - corridor, dy = 2 * j + 1 - corridor;
                        if (dx * dx + dy * dy <= corridor * corridor)
                            fillRect(icon, x + i, y + j, 1, 1, Marble);
                    }
                }
            }
        }
    }
    return icon;
}

struct Picture {
    QString name;
    std::function<QImage()> draw;
};

std::vector<Picture> pictures() {
    const auto button = [](std::span<const std::string_view> glyph, bool pressed) {
        return [glyph, pressed] { return captionButton(glyph, pressed); };
    };
    std::vector<Picture> all = {
        {"zirk.ico", [] { return drawIcon(32); }},
        {"ouvrir.bmp", openFolder},
        {"close_up.bmp", button(closeGlyph, false)},
        {"close_down.bmp", button(closeGlyph, true)},
        {"minimise_up.bmp", button(minimiseGlyph, false)},
        {"minimise_down.bmp", button(minimiseGlyph, true)},
        {"maximise_up.bmp", button(maximiseGlyph, false)},
        {"maximise_down.bmp", button(maximiseGlyph, true)},
        {"restore_up.bmp", button(restoreGlyph, false)},
        {"restore_down.bmp", button(restoreGlyph, true)},
        {"grip.bmp", resizeGrip},
        {"title.bmp", titleBar},
        {"separator.bmp", separatorStrip},
        {"background.bmp", background},
    };
    // PNG for the icon at every size: the desktop's icon themes read nothing else.
    for (int size : iconSizes)
        all.push_back({QStringLiteral("zirk_%1.png").arg(size), [size] { return drawIcon(size); }});
    return all;
}

// The file as Qt's writer for its kind (named by the file's suffix) writes it.
QByteArray encode(const QString& name, const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, name.section(QLatin1Char('.'), -1).toLatin1().constData())) return {};
    return bytes;
}

QImage decode(const QByteArray& bytes) {
    return QImage::fromData(bytes).convertToFormat(QImage::Format_ARGB32);
}

int fail(const QString& message) {
    std::fprintf(stderr, "drawpictures: %s\n", qPrintable(message));
    return 1;
}

int write(const QDir& out) {
    if (!out.mkpath(QStringLiteral("."))) return fail(QStringLiteral("cannot create ") + out.path());
    for (const Picture& picture : pictures())
        if (!picture.draw().save(out.filePath(picture.name)))
            return fail(QStringLiteral("cannot write ") + out.filePath(picture.name));
    return 0;
}

// Compares what Qt reads back from the files, not their bytes, which follow the version of the writers.
int check(const QDir& committed, QStringList names) {
    QStringList differing;
    QStringList drawn;
    for (const Picture& picture : pictures()) {
        drawn << picture.name;
        const QString path = committed.filePath(picture.name);
        const QImage now = decode(encode(picture.name, picture.draw()));
        if (!QFile::exists(path))
            differing << picture.name + QStringLiteral(" (not there)");
        else if (now.isNull() || QImage(path).convertToFormat(now.format()) != now)
            differing << picture.name;
    }
    names.sort();
    drawn.sort();
    if (names != drawn)
        return fail(QStringLiteral("the pictures drawn are [%1], the build has [%2]")
                        .arg(drawn.join(QLatin1Char(',')), names.join(QLatin1Char(','))));
    if (!differing.isEmpty())
        return fail(QStringLiteral("pictures differ from %1: %2\nrun drawpictures %1 and commit the result")
                        .arg(committed.path(), differing.join(QStringLiteral(", "))));
    std::printf("all %lld pictures are current\n", static_cast<long long>(drawn.size()));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // The image writers are plugins, found through the application's library paths.
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 1 && !args[0].startsWith(QLatin1Char('-'))) return write(QDir(args[0]));
    if (args.size() >= 2 && args[0] == QLatin1String("--check")) return check(QDir(args[1]), args.mid(2));
    std::fputs("usage: drawpictures OUTDIR | drawpictures --check DIR NAME...\n", stderr);
    return 2;
}
