// drawpictures OUTDIR
//
// Draws every picture the Zirk window uses (icon, caption buttons, title bar,
// grip, separator, background, "Ouvrir" button) and writes them into OUTDIR.
// The files in app/pictures/ are this program's output; a test rebuilds them
// and compares byte for byte, so the drawing must stay deterministic: no clock,
// no random device, and every integer is written out byte by byte so the
// result does not depend on the host's struct layout or endianness.

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
constexpr std::array<std::string_view, 9> iconMaze = {
    "+--+--+--+--+", "|S    |     |", "+--+  +  +--+", "|     |  |  |", "+  +--+  +  +",
    "|  |     |  E", "+  +  +--+  +", "|           |", "+--+--+--+--+",
};

constexpr int iconSize = 32;
constexpr int iconCells = 4;

// Walls are two pixels thick, corridors four: 4 * 4 + 5 * 2 = 26 pixels,
// framed by a one pixel rim and two transparent pixels on every side.
constexpr int mazeOrigin = 3;
constexpr int wallStart(int line) {
    return mazeOrigin + 6 * line;
}
constexpr int cellStart(int cell) {
    return mazeOrigin + 2 + 6 * cell;
}

using IconPixels = std::array<std::uint8_t, iconSize * iconSize>;

void iconFill(IconPixels& pixels, int x, int y, int w, int h, IconColour colour) {
    for (int row = y; row < y + h; ++row)
        for (int col = x; col < x + w; ++col)
            pixels[static_cast<std::size_t>(row * iconSize + col)] = colour;
}

IconPixels drawIcon() {
    IconPixels pixels{};
    constexpr int rim = mazeOrigin - 1;
    constexpr int rimSize = iconSize - 2 * rim;
    iconFill(pixels, rim, rim, rimSize, rimSize, Rim);
    // Knock the rim's corners off so the emblem looks rounded.
    for (int corner : {rim, rim + rimSize - 1}) {
        iconFill(pixels, rim, corner, 1, 1, Outside);
        iconFill(pixels, rim + rimSize - 1, corner, 1, 1, Outside);
    }
    iconFill(pixels, mazeOrigin, mazeOrigin, rimSize - 2, rimSize - 2, Floor);

    for (int line = 0; line <= iconCells; ++line)
        for (int other = 0; other <= iconCells; ++other)
            iconFill(pixels, wallStart(line), wallStart(other), 2, 2, Wall);

    for (int row = 0; row <= 2 * iconCells; ++row) {
        const std::string_view text = iconMaze[static_cast<std::size_t>(row)];
        for (int col = 0; col <= 3 * iconCells; ++col) {
            const char mark = text[static_cast<std::size_t>(col)];
            const bool onWallRow = row % 2 == 0;
            const bool onWallColumn = col % 3 == 0;
            if (onWallRow && !onWallColumn && col % 3 == 1 && mark == '-')
                iconFill(pixels, cellStart(col / 3), wallStart(row / 2), 4, 2, Wall);
            if (!onWallRow && onWallColumn && mark == '|')
                iconFill(pixels, wallStart(col / 3), cellStart(row / 2), 2, 4, Wall);
            if (!onWallRow && onWallColumn && mark == 'E')
                iconFill(pixels, wallStart(col / 3), cellStart(row / 2), 3, 4, Exit);
            if (mark == 'S') {
                const int x = cellStart(col / 3);
                const int y = cellStart(row / 2);
                iconFill(pixels, x + 1, y, 2, 4, Marble);
                iconFill(pixels, x, y + 1, 4, 2, Marble);
            }
        }
    }
    return pixels;
}

Bytes encodeIcon(const IconPixels& pixels) {
    constexpr std::uint32_t paletteBytes = 256 * 4;
    constexpr std::uint32_t colourBytes = iconSize * iconSize;       // one byte a pixel
    constexpr std::uint32_t maskRowBytes = (iconSize + 31) / 32 * 4; // 1 bit, padded to 32
    constexpr std::uint32_t maskBytes = maskRowBytes * iconSize;
    constexpr std::uint32_t imageBytes = 40 + paletteBytes + colourBytes + maskBytes;
    constexpr std::uint32_t directoryBytes = 6 + 16;

    Bytes out;
    out.reserve(directoryBytes + imageBytes);
    put16(out, 0); // reserved
    put16(out, 1); // icon, not cursor
    put16(out, 1); // one image
    put8(out, iconSize);
    put8(out, iconSize);
    put8(out, 0); // 0 stands for a full 256-colour palette
    put8(out, 0);
    put16(out, 1);
    put16(out, 8);
    put32(out, imageBytes);
    put32(out, directoryBytes);

    // The height counts the colour bitmap and the mask stacked on each other.
    putInfoHeader(out, iconSize, 2 * iconSize, 8, colourBytes + maskBytes, 0, 0);

    for (std::size_t i = 0; i < 256; ++i) {
        const Rgb c = i < iconPalette.size() ? iconPalette[i] : Rgb{};
        put8(out, c.b);
        put8(out, c.g);
        put8(out, c.r);
        put8(out, 0);
    }

    for (int y = iconSize - 1; y >= 0; --y)
        for (int x = 0; x < iconSize; ++x)
            put8(out, pixels[static_cast<std::size_t>(y * iconSize + x)]);

    // A set mask bit lets the desktop show through; leftmost pixel in the top bit.
    for (int y = iconSize - 1; y >= 0; --y) {
        for (std::uint32_t byte = 0; byte < maskRowBytes; ++byte) {
            unsigned bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int x = static_cast<int>(byte) * 8 + bit;
                const bool transparent =
                    x >= iconSize || pixels[static_cast<std::size_t>(y * iconSize + x)] == Outside;
                if (transparent) bits |= 0x80u >> bit;
            }
            put8(out, bits);
        }
    }
    return out;
}

// ---------------------------------------------------------------------------

struct Picture {
    std::string_view name;
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

    const std::array<Picture, 14> pictures = {{
        {"zirk.ico", [] { return encodeIcon(drawIcon()); }},
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
    }};

    for (const Picture& picture : pictures) {
        const std::filesystem::path path = outDir / picture.name;
        if (!writeFile(path, picture.draw())) {
            std::cerr << "drawpictures: cannot write " << path.string() << '\n';
            return 1;
        }
    }
    return 0;
}
