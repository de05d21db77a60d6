// SPDX-License-Identifier: GPL-3.0-or-later
// drawpictures OUTDIR
//
// Draws every picture the Zirk window uses (icon, caption buttons, title bar,
// grip, separator, background, "Ouvrir" button) and writes them into OUTDIR,
// with the icon also drawn at each size a desktop asks for, as PNG files.
// The files in app/pictures/ are this program's output; a test rebuilds them
// and compares byte for byte, so the drawing must stay deterministic: no clock,
// no random device, and every integer is written out byte by byte so the
// result does not depend on the host's struct layout or endianness.

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

// The classic desktop greys: button face, its light and white highlights,
// and the two shadows.
constexpr Rgb black{0, 0, 0};
constexpr Rgb white{255, 255, 255};
constexpr Rgb light{223, 223, 223};
constexpr Rgb face{192, 192, 192};
constexpr Rgb shadow{128, 128, 128};

class Canvas {
public:
    Canvas(int width, int height, Rgb fill)
        : width_(width), height_(height),
          pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

    int width() const { return width_; }
    int height() const { return height_; }

    Rgb at(int x, int y) const { return pixels_[index(x, y)]; }

    // Out-of-range writes are dropped so shapes may be clipped by the border.
    void set(int x, int y, Rgb colour) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[index(x, y)] = colour;
    }

    void fillRect(int x, int y, int w, int h, Rgb colour) {
        for (int row = y; row < y + h; ++row)
            for (int col = x; col < x + w; ++col)
                set(col, row, colour);
    }

    // Paints every 'X' of a glyph with ink, leaving the other cells untouched.
    void stamp(int x, int y, std::span<const std::string_view> glyph, Rgb ink) {
        for (int row = 0; row < static_cast<int>(glyph.size()); ++row) {
            const std::string_view line = glyph[static_cast<std::size_t>(row)];
            for (int col = 0; col < static_cast<int>(line.size()); ++col)
                if (line[static_cast<std::size_t>(col)] == 'X') set(x + col, y + row, ink);
        }
    }

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

using Bytes = std::vector<std::uint8_t>;

void put8(Bytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xffu));
}

void put16(Bytes& out, unsigned value) {
    put8(out, value);
    put8(out, value >> 8);
}

void put32(Bytes& out, std::uint32_t value) {
    put16(out, value & 0xffffu);
    put16(out, value >> 16);
}

// Pixels per metre for 96 dpi, what the desktop assumes for screen pictures.
constexpr std::uint32_t screenResolution = 3780;

void putInfoHeader(Bytes& out, int width, int height, unsigned bitCount, std::uint32_t imageBytes,
                   std::uint32_t resolution, std::uint32_t coloursUsed) {
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1); // planes
    put16(out, bitCount);
    put32(out, 0); // uncompressed
    put32(out, imageBytes);
    put32(out, resolution);
    put32(out, resolution);
    put32(out, coloursUsed);
    put32(out, 0); // every colour matters
}

Bytes encodeBmp(const Canvas& picture) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(picture.width()) * 3 + 3) / 4 * 4;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(picture.height());
    const std::uint32_t headerBytes = 14 + 40;

    Bytes out;
    out.reserve(headerBytes + imageBytes);
    put8(out, 'B');
    put8(out, 'M');
    put32(out, headerBytes + imageBytes);
    put16(out, 0);
    put16(out, 0);
    put32(out, headerBytes);
    putInfoHeader(out, picture.width(), picture.height(), 24, imageBytes, screenResolution, 0);

    // A positive height means the bottom row comes first.
    for (int y = picture.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb c = picture.at(x, y);
            put8(out, c.b);
            put8(out, c.g);
            put8(out, c.r);
        }
        while (out.size() - rowStart < rowBytes)
            put8(out, 0);
    }
    return out;
}

// ---------------------------------------------------------------------------
// Caption buttons

constexpr int buttonSize = 16;

// Two-pixel classic bevel. Released, the light comes from the top left;
// pressed, the same frame is inverted so the button looks pushed in.
void drawBevel(Canvas& c, bool pressed) {
    const Rgb outerTopLeft = pressed ? black : light;
    const Rgb innerTopLeft = pressed ? shadow : white;
    const Rgb innerBottomRight = pressed ? light : shadow;
    const Rgb outerBottomRight = pressed ? white : black;
    const int last = buttonSize - 1;

    c.fillRect(0, 0, last, 1, outerTopLeft);
    c.fillRect(0, 0, 1, last, outerTopLeft);
    c.fillRect(1, 1, last - 2, 1, innerTopLeft);
    c.fillRect(1, 1, 1, last - 2, innerTopLeft);
    c.fillRect(1, last - 1, last - 1, 1, innerBottomRight);
    c.fillRect(last - 1, 1, 1, last - 1, innerBottomRight);
    c.fillRect(0, last, buttonSize, 1, outerBottomRight);
    c.fillRect(last, 0, 1, buttonSize, outerBottomRight);
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

Canvas captionButton(std::span<const std::string_view> glyph, bool pressed) {
    Canvas c(buttonSize, buttonSize, face);
    drawBevel(c, pressed);
    // Left of and above centre when released, so the pressed shift lands the
    // glyph in the middle of the sunken face.
    const int origin = 3 + (pressed ? 1 : 0);
    c.stamp(origin, origin, glyph, black);
    return c;
}

// ---------------------------------------------------------------------------
// "Ouvrir" button: an open yellow folder

Canvas openFolder() {
    constexpr std::array<std::string_view, 19> art = {
        "...................", "...................", "...................", "..kkkk.............",
        ".kwyyyk............", ".kwyyyykkkkkkkk....", ".kwyyyyyyyyyyyk....", ".kwyyyyyyyyyyyk....",
        ".kwyykkkkkkkkkkkkkk", ".kwyykwYYYYYYYYYYk.", ".kwykwYYYYYYYYYYk..", ".kwykYYYYYYYYYYYk..",
        ".kwkwYYYYYYYYYYk...", ".kwkYYYYYYYYYYYk...", ".kkYYYYYYYYYYYk....", ".kkYYYYYYYYYYYk....",
        ".kkkkkkkkkkkkkk....", "...................", "...................",
    };
    Canvas c(19, 19, face);
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            switch (art[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]) {
            case 'k':
                c.set(x, y, black);
                break;
            case 'w':
                c.set(x, y, white);
                break;
            case 'y':
                c.set(x, y, Rgb{128, 128, 0});
                break; // inside of the back
            case 'Y':
                c.set(x, y, Rgb{255, 255, 0});
                break; // front flap
            default:
                break;
            }
        }
    }
    return c;
}

// ---------------------------------------------------------------------------
// Window furniture

Canvas resizeGrip() {
    constexpr int size = 12;
    Canvas c(size, size, face);
    // Ridges of constant x + y: one highlight line then two shadow lines,
    // repeated every four pixels into the corner.
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int fromCorner = x + y - size;
            if (fromCorner < 0) continue;
            switch (fromCorner % 4) {
            case 0:
                c.set(x, y, white);
                break;
            case 1:
            case 2:
                c.set(x, y, shadow);
                break;
            default:
                break;
            }
        }
    }
    return c;
}

std::uint8_t blend(std::uint8_t from, std::uint8_t to, int step, int steps) {
    // Rounded integer interpolation: the same bytes on every compiler.
    const int value = (from * (steps - step) + to * step + steps / 2) / steps;
    return static_cast<std::uint8_t>(value);
}

Canvas titleBar() {
    constexpr int width = 500;
    constexpr int height = 14;
    // A light blue-grey growing lighter: the title is black text on this bar, and the darker end still gives
    // it a contrast of ten to one, where a dark bar left black text unreadable.
    constexpr Rgb left{166, 186, 210};
    constexpr Rgb right{220, 230, 242};
    Canvas c(width, height, left);
    for (int x = 0; x < width; ++x) {
        const Rgb colour{blend(left.r, right.r, x, width - 1), blend(left.g, right.g, x, width - 1),
                         blend(left.b, right.b, x, width - 1)};
        c.fillRect(x, 0, 1, height, colour);
    }
    return c;
}

Canvas separatorStrip() {
    // Shadow over highlight reads as a groove cut into the face; the last row
    // is face grey so the strip can sit directly on a grey panel.
    Canvas c(500, 3, face);
    c.fillRect(0, 0, c.width(), 1, shadow);
    c.fillRect(0, 1, c.width(), 1, white);
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

Canvas background() {
    constexpr int size = 500;
    Canvas c(size, size, face);
    // Grey grain of at most two levels either way: enough to take the flatness
    // off a large area, too little to fight with the maze drawn over it.
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int offset = static_cast<int>(grain(x, y) % 5u) - 2;
            const auto level = static_cast<std::uint8_t>(face.r + offset);
            c.set(x, y, Rgb{level, level, level});
        }
    }
    return c;
}

// ---------------------------------------------------------------------------
// Window icon: a tiny maze, red marble at the start, blue gap as the way out

// Palette slots used by the icon. Slot 0 is what sits under the transparent
// part of the mask, so nothing visible may use it.
enum IconColour : std::uint8_t { Outside = 0, Rim, Wall, Floor, Marble, Exit, IconColourCount };

constexpr std::array<Rgb, IconColourCount> iconPalette = {{
    {0, 0, 0},
    {0, 64, 0},
    {0, 160, 0},
    {255, 255, 208},
    {224, 0, 0},
    {0, 80, 255},
}};

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
class IconPicture {
public:
    explicit IconPicture(int size)
        : size_(size), pixels_(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), Outside) {}

    int size() const { return size_; }
    IconColour at(int x, int y) const { return pixels_[static_cast<std::size_t>(y * size_ + x)]; }

    void fill(int x, int y, int w, int h, IconColour colour) {
        for (int row = y; row < y + h; ++row)
            for (int col = x; col < x + w; ++col)
                pixels_[static_cast<std::size_t>(row * size_ + col)] = colour;
    }

private:
    int size_;
    std::vector<IconColour> pixels_;
};

IconPicture drawIcon(int size) {
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

    IconPicture icon(size);
    icon.fill(rimStart, rimStart, rimSize, rimSize, Rim);
    // Round the rim's corners off, a quarter circle as wide as the rim, so the emblem looks rounded; at
    // one pixel that takes just the corner pixel. Measured in half pixels to stay with integers.
    for (int i = 0; i < rim; ++i) {
        for (int j = 0; j < rim; ++j) {
            const int dx = 2 * (rim - i) - 1, dy = 2 * (rim - j) - 1;
            if (dx * dx + dy * dy <= (2 * rim - 1) * (2 * rim - 1)) continue;
            const int far = rimStart + rimSize - 1;
            icon.fill(rimStart + i, rimStart + j, 1, 1, Outside);
            icon.fill(far - i, rimStart + j, 1, 1, Outside);
            icon.fill(rimStart + i, far - j, 1, 1, Outside);
            icon.fill(far - i, far - j, 1, 1, Outside);
        }
    }
    icon.fill(mazeStart, mazeStart, maze, maze, Floor);

    for (int line = 0; line <= iconCells; ++line)
        for (int other = 0; other <= iconCells; ++other)
            icon.fill(wallStart(line), wallStart(other), wall, wall, Wall);

    for (int row = 0; row <= 2 * iconCells; ++row) {
        const std::string_view text = iconMaze[static_cast<std::size_t>(row)];
        for (int col = 0; col <= 3 * iconCells; ++col) {
            const char mark = text[static_cast<std::size_t>(col)];
            const bool onWallRow = row % 2 == 0;
            const bool onWallColumn = col % 3 == 0;
            if (onWallRow && !onWallColumn && col % 3 == 1 && mark == '-')
                icon.fill(cellStart(col / 3), wallStart(row / 2), corridor, wall, Wall);
            if (!onWallRow && onWallColumn && mark == '|')
                icon.fill(wallStart(col / 3), cellStart(row / 2), wall, corridor, Wall);
            // The way out cuts through the rim as well.
            if (!onWallRow && onWallColumn && mark == 'E')
                icon.fill(wallStart(col / 3), cellStart(row / 2), wall + rim, corridor, Exit);
            if (mark == 'S') {
                // A disc as wide as the corridor; at four pixels it is a plus sign.
                const int x = cellStart(col / 3);
                const int y = cellStart(row / 2);
                for (int i = 0; i < corridor; ++i) {
                    for (int j = 0; j < corridor; ++j) {
                        const int dx = 2 * i + 1 - corridor, dy = 2 * j + 1 - corridor;
                        if (dx * dx + dy * dy <= corridor * corridor) icon.fill(x + i, y + j, 1, 1, Marble);
                    }
                }
            }
        }
    }
    return icon;
}

// The one-image icon file the window's title bar shows.
Bytes encodeIcon(const IconPicture& icon) {
    const int size = icon.size();
    const auto side = static_cast<std::uint32_t>(size);
    const std::uint32_t paletteBytes = 256 * 4;
    const std::uint32_t colourBytes = side * side;           // one byte a pixel
    const std::uint32_t maskRowBytes = (side + 31) / 32 * 4; // 1 bit, padded to 32
    const std::uint32_t maskBytes = maskRowBytes * side;
    const std::uint32_t imageBytes = 40 + paletteBytes + colourBytes + maskBytes;
    const std::uint32_t directoryBytes = 6 + 16;

    Bytes out;
    out.reserve(directoryBytes + imageBytes);
    put16(out, 0);         // reserved
    put16(out, 1);         // icon, not cursor
    put16(out, 1);         // one image
    put8(out, side % 256); // 0 stands for 256
    put8(out, side % 256);
    put8(out, 0); // 0 stands for a full 256-colour palette
    put8(out, 0);
    put16(out, 1);
    put16(out, 8);
    put32(out, imageBytes);
    put32(out, directoryBytes);

    // The height counts the colour bitmap and the mask stacked on each other.
    putInfoHeader(out, size, 2 * size, 8, colourBytes + maskBytes, 0, 0);

    for (std::size_t i = 0; i < 256; ++i) {
        const Rgb c = i < iconPalette.size() ? iconPalette[i] : Rgb{};
        put8(out, c.b);
        put8(out, c.g);
        put8(out, c.r);
        put8(out, 0);
    }

    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x)
            put8(out, icon.at(x, y));

    // A set mask bit lets the desktop show through; leftmost pixel in the top bit.
    for (int y = size - 1; y >= 0; --y) {
        for (std::uint32_t byte = 0; byte < maskRowBytes; ++byte) {
            unsigned bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int x = static_cast<int>(byte) * 8 + bit;
                if (x >= size || icon.at(x, y) == Outside) bits |= 0x80u >> bit;
            }
            put8(out, bits);
        }
    }
    return out;
}

// ---------------------------------------------------------------------------
// PNG, for the icon at every size: the desktop's icon themes read nothing else, and Qt reads it
// without an image plugin.

void putBig32(Bytes& out, std::uint32_t value) {
    put8(out, value >> 24);
    put8(out, value >> 16);
    put8(out, value >> 8);
    put8(out, value);
}

std::uint32_t crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0xffffffffu;
    for (std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::uint32_t adler32(std::span<const std::uint8_t> bytes) {
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : bytes) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    return b << 16 | a;
}

// Deflate packs its fields from the lowest bit of each byte up.
class BitWriter {
public:
    explicit BitWriter(Bytes& out) : out_(out) {}
    ~BitWriter() {
        if (count_ > 0) put8(out_, pending_);
    }

    void bits(unsigned value, int count) {
        for (int i = 0; i < count; ++i) {
            pending_ |= ((value >> i) & 1u) << count_;
            if (++count_ == 8) {
                put8(out_, pending_);
                pending_ = 0;
                count_ = 0;
            }
        }
    }
    // Huffman codes are the exception: their first bit is their highest.
    void code(unsigned value, int length) {
        for (int i = length - 1; i >= 0; --i)
            bits(value >> i, 1);
    }

private:
    Bytes& out_;
    unsigned pending_ = 0;
    int count_ = 0;
};

// One block with deflate's fixed codes, where each run repeats either the pixel before it or the
// row above: the icon is flat colour, which those two copies take down to a few bytes a row. A
// generic compressor would make the bytes depend on its version.
Bytes deflateFixed(std::span<const std::uint8_t> data, std::size_t pixelBytes, std::size_t rowBytes) {
    static constexpr std::array<int, 29> lengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                       15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                       67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr std::array<int, 29> lengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                        2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    static constexpr std::array<int, 30> distanceBase = {
        1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    static constexpr std::array<int, 30> distanceExtra = {
        0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
    const auto symbol = [](BitWriter& w, int value) {
        if (value < 144)
            w.code(0x30 + value, 8);
        else if (value < 256)
            w.code(0x190 + value - 144, 9);
        else if (value < 280)
            w.code(value - 256, 7);
        else
            w.code(0xc0 + value - 280, 8);
    };
    const auto lastAtMost = [](const auto& bases, int value) {
        std::size_t i = bases.size() - 1;
        while (bases[i] > value)
            --i;
        return i;
    };

    Bytes out;
    {
        BitWriter w(out);
        w.bits(1, 1); // the last block
        w.bits(1, 2); // fixed codes
        std::size_t at = 0;
        while (at < data.size()) {
            std::size_t best = 0, bestDistance = 0;
            for (std::size_t distance : {pixelBytes, rowBytes}) {
                if (distance > at) continue;
                std::size_t length = 0;
                while (length < 258 && at + length < data.size() &&
                       data[at + length] == data[at + length - distance])
                    ++length;
                if (length > best) {
                    best = length;
                    bestDistance = distance;
                }
            }
            if (best < 3) {
                symbol(w, data[at]);
                ++at;
                continue;
            }
            const std::size_t l = lastAtMost(lengthBase, static_cast<int>(best));
            symbol(w, 257 + static_cast<int>(l));
            w.bits(static_cast<unsigned>(static_cast<int>(best) - lengthBase[l]), lengthExtra[l]);
            const std::size_t d = lastAtMost(distanceBase, static_cast<int>(bestDistance));
            w.code(static_cast<unsigned>(d), 5);
            w.bits(static_cast<unsigned>(static_cast<int>(bestDistance) - distanceBase[d]), distanceExtra[d]);
            at += best;
        }
        symbol(w, 256); // end of block
    }
    return out;
}

void putChunk(Bytes& out, std::string_view type, const Bytes& data) {
    Bytes chunk(type.begin(), type.end());
    chunk.insert(chunk.end(), data.begin(), data.end());
    putBig32(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), chunk.begin(), chunk.end());
    putBig32(out, crc32(chunk));
}

// Eight-bit RGBA: transparent corners for any theme's background.
Bytes encodePng(const IconPicture& icon) {
    const int size = icon.size();
    constexpr std::size_t pixelBytes = 4;
    const std::size_t rowBytes = 1 + pixelBytes * static_cast<std::size_t>(size);
    Bytes rows;
    rows.reserve(rowBytes * static_cast<std::size_t>(size));
    for (int y = 0; y < size; ++y) {
        put8(rows, 0); // no filter
        for (int x = 0; x < size; ++x) {
            const IconColour colour = icon.at(x, y);
            const Rgb c = colour == Outside ? Rgb{} : iconPalette[colour];
            put8(rows, c.r);
            put8(rows, c.g);
            put8(rows, c.b);
            put8(rows, colour == Outside ? 0 : 255);
        }
    }

    Bytes header;
    putBig32(header, static_cast<std::uint32_t>(size));
    putBig32(header, static_cast<std::uint32_t>(size));
    put8(header, 8); // bits a channel
    put8(header, 6); // RGBA
    put8(header, 0); // deflate
    put8(header, 0); // the one filter method
    put8(header, 0); // not interlaced

    // A zlib stream: deflate with a 32 KiB window, no preset dictionary, and its checksum last.
    Bytes compressed{0x78, 0x01};
    const Bytes deflated = deflateFixed(rows, pixelBytes, rowBytes);
    compressed.insert(compressed.end(), deflated.begin(), deflated.end());
    putBig32(compressed, adler32(rows));

    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", compressed);
    putChunk(out, "IEND", {});
    return out;
}

// ---------------------------------------------------------------------------

struct Picture {
    std::string name;
    std::function<Bytes()> draw;
};

bool writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: drawpictures OUTDIR\n";
        return 2;
    }
    const std::filesystem::path outDir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (error) {
        std::cerr << "drawpictures: cannot create " << outDir.string() << ": " << error.message() << '\n';
        return 1;
    }

    const auto button = [](std::span<const std::string_view> glyph, bool pressed) {
        return [glyph, pressed] { return encodeBmp(captionButton(glyph, pressed)); };
    };

    std::vector<Picture> pictures = {
        {"zirk.ico", [] { return encodeIcon(drawIcon(32)); }},
        {"ouvrir.bmp", [] { return encodeBmp(openFolder()); }},
        {"close_up.bmp", button(closeGlyph, false)},
        {"close_down.bmp", button(closeGlyph, true)},
        {"minimise_up.bmp", button(minimiseGlyph, false)},
        {"minimise_down.bmp", button(minimiseGlyph, true)},
        {"maximise_up.bmp", button(maximiseGlyph, false)},
        {"maximise_down.bmp", button(maximiseGlyph, true)},
        {"restore_up.bmp", button(restoreGlyph, false)},
        {"restore_down.bmp", button(restoreGlyph, true)},
        {"grip.bmp", [] { return encodeBmp(resizeGrip()); }},
        {"title.bmp", [] { return encodeBmp(titleBar()); }},
        {"separator.bmp", [] { return encodeBmp(separatorStrip()); }},
        {"background.bmp", [] { return encodeBmp(background()); }},
    };
    for (int size : iconSizes)
        pictures.push_back(
            {"zirk_" + std::to_string(size) + ".png", [size] { return encodePng(drawIcon(size)); }});

    for (const Picture& picture : pictures) {
        const std::filesystem::path path = outDir / picture.name;
        if (!writeFile(path, picture.draw())) {
            std::cerr << "drawpictures: cannot write " << path.string() << '\n';
            return 1;
        }
    }
    return 0;
}
