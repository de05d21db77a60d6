// SPDX-License-Identifier: GPL-3.0-or-later
#include "bitmaps.h"

#include <QtEndian>

#include <cstdint>
#include <optional>

namespace zirk {

namespace {

// Little-endian fields at byte offsets the caller has checked with has().
class Bytes {
public:
    explicit Bytes(QByteArrayView file)
        : data_(reinterpret_cast<const std::uint8_t*>(file.data())), size_(file.size()) {}

    bool has(qint64 offset, qint64 count) const {
        return offset >= 0 && count >= 0 && offset <= size_ - count;
    }
    std::uint32_t u16(qint64 at) const {
        return std::uint32_t(data_[at]) | std::uint32_t(data_[at + 1]) << 8;
    }
    std::uint32_t u32(qint64 at) const { return u16(at) | u16(at + 2) << 16; }
    std::int32_t s32(qint64 at) const { return static_cast<std::int32_t>(u32(at)); }
    const std::uint8_t* at(qint64 offset) const { return data_ + offset; }

private:
    const std::uint8_t* data_;
    qint64 size_;
};

constexpr std::uint32_t kInfoHeaderSize = 40; // BITMAPINFOHEADER
constexpr std::uint32_t kUncompressed = 0;    // BI_RGB
constexpr int kLargestSide = 1 << 14;

// Rows of a bitmap are padded to whole 32-bit words.
qint64 rowBytes(int width, int bitsPerPixel) {
    return ((qint64(width) * bitsPerPixel + 31) / 32) * 4;
}

struct Header {
    int width = 0;
    int height = 0; // as stored: twice the picture's height in an icon, negative when stored top down
    int bitsPerPixel = 0;
    std::uint32_t coloursUsed = 0;
};

std::optional<Header> infoHeader(const Bytes& b, qint64 at) {
    if (!b.has(at, kInfoHeaderSize)) return std::nullopt;
    const std::int32_t width = b.s32(at + 4), height = b.s32(at + 8);
    if (b.u32(at) != kInfoHeaderSize || b.u16(at + 12) != 1 || b.u32(at + 16) != kUncompressed)
        return std::nullopt;
    if (width <= 0 || width > kLargestSide || height == 0 || height < -kLargestSide ||
        height > 2 * kLargestSide)
        return std::nullopt;
    return Header{width, height, static_cast<int>(b.u16(at + 14)), b.u32(at + 32)};
}

QImage readBitmap(const Bytes& b) {
    // The file header's 14 bytes lie before the info header, so a file that has the one has the other.
    const auto h = infoHeader(b, 14);
    if (!h || h->bitsPerPixel != 24) return {};
    const qint64 pixelsAt = b.u32(10);
    const bool bottomUp = h->height > 0;
    const int height = bottomUp ? h->height : -h->height;
    const qint64 stride = rowBytes(h->width, 24);
    if (!b.has(pixelsAt, stride * height)) return {};
    QImage image(h->width, height, QImage::Format_RGB32);
    if (image.isNull()) return {};
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = b.at(pixelsAt + stride * (bottomUp ? height - 1 - y : y));
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        // Blue, green and red are the low three bytes of a little-endian word, so one load takes a pixel; the
        // last pixel of a row is read by the byte, since its word could reach past the end of the file.
        const int whole = h->width - 1;
        for (int x = 0; x < whole; ++x, in += 3)
            out[x] = 0xff000000u | (qFromLittleEndian<quint32>(in) & 0xffffffu);
        out[whole] = qRgb(in[2], in[1], in[0]);
    }
    return image;
}

// The first image of an icon file, when it is a 256-colour bitmap: colours from its palette, and a mask bit
// set where the picture is transparent.
QImage readIcon(const Bytes& b) {
    // The directory (6 bytes) and its first entry (16), whose last field is where the image starts.
    if (!b.has(0, 6 + 16) || b.u16(0) != 0 || b.u16(2) != 1 || b.u16(4) < 1) return {};
    const qint64 imageAt = b.u32(6 + 12);
    const auto h = infoHeader(b, imageAt);
    if (!h || h->bitsPerPixel != 8 || h->height <= 0 || h->height % 2 != 0 || h->coloursUsed > 256) return {};
    const int width = h->width, height = h->height / 2;
    const qint64 paletteAt = imageAt + kInfoHeaderSize;
    const qint64 colours = h->coloursUsed == 0 ? 256 : h->coloursUsed;
    const qint64 indicesAt = paletteAt + 4 * colours;
    const qint64 indexStride = rowBytes(width, 8);
    const qint64 maskAt = indicesAt + indexStride * height;
    const qint64 maskStride = rowBytes(width, 1);
    if (!b.has(paletteAt, 4 * colours) || !b.has(indicesAt, indexStride * height) ||
        !b.has(maskAt, maskStride * height))
        return {};
    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull()) return {};
    for (int y = 0; y < height; ++y) {
        const int stored = height - 1 - y; // icons are kept bottom up
        const std::uint8_t* index = b.at(indicesAt + indexStride * stored);
        const std::uint8_t* mask = b.at(maskAt + maskStride * stored);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (index[x] >= colours) return {};
            if ((mask[x / 8] >> (7 - x % 8)) & 1) {
                out[x] = 0; // transparent
                continue;
            }
            const std::uint8_t* entry = b.at(paletteAt + 4 * index[x]);
            out[x] = qRgb(entry[2], entry[1], entry[0]);
        }
    }
    return image;
}

} // namespace

QImage readWindowsBitmap(QByteArrayView file) {
    const Bytes b(file);
    if (file.size() >= 2 && file[0] == 'B' && file[1] == 'M') return readBitmap(b);
    return readIcon(b);
}

} // namespace zirk
