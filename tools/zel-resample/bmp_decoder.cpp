// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Windows bitmaps: 1, 4, 8 (palette), 16, 24 and 32 bits, plain or with
// bit masks, stored bottom-up or top-down. Compressed (RLE) bitmaps are
// refused. Every read is checked against the file's length.
#include "picture_limits.h"
#include "resample_error.h"
#include "format_decoders.h"

#include <array>
#include <bit>

namespace {

class Bytes {
public:
    Bytes(const std::string& path, std::string_view bytes) : m_path(path), m_bytes(bytes) {}

    std::uint32_t number(std::size_t offset, int length) const
    {
        need(offset, std::size_t(length));
        std::uint32_t value = 0;
        for (int i = length - 1; i >= 0; --i)
            value = value << 8 | std::uint8_t(m_bytes[offset + std::size_t(i)]);
        return value;
    }
    void need(std::size_t offset, std::size_t length) const
    {
        if (offset > m_bytes.size() || length > m_bytes.size() - offset)
            fail("the file is cut short");
    }
    std::uint8_t at(std::size_t offset) const { return std::uint8_t(m_bytes[offset]); }
    [[noreturn]] void fail(const std::string& reason) const
    {
        throw UnreadablePictureError("cannot decode " + m_path + ": " + reason);
    }

private:
    const std::string& m_path;
    std::string_view m_bytes;
};

// One colour channel of a bit-masked pixel, scaled to 8 bits.
struct Mask {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Mask(std::uint32_t value = 0) : mask(value)
    {
        if (value != 0) {
            shift = std::countr_zero(value);
            bits = std::popcount(value);
        }
    }
    std::uint8_t of(std::uint32_t pixel) const
    {
        if (bits == 0)
            return 255;
        const std::uint32_t value = (pixel & mask) >> shift;
        const std::uint32_t top = (bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1u);
        return std::uint8_t((std::uint64_t(value) * 255 + top / 2) / top);
    }
};

} // namespace

void decodeBmp(PictureFile& file, PictureRowFeeder& feeder)
{
    const std::string& path = file.path();
    const std::string_view data = file.bytes();
    const Bytes bytes(path, data);
    const std::uint32_t pixelOffset = bytes.number(10, 4);
    const std::uint32_t headerSize = bytes.number(14, 4);
    const bool core = headerSize == 12;
    if (!core && headerSize < 40)
        bytes.fail("unknown bitmap header");
    const std::int32_t width = core ? std::int32_t(bytes.number(18, 2)) : std::int32_t(bytes.number(18, 4));
    const std::int32_t storedHeight = core ? std::int16_t(bytes.number(20, 2)) : std::int32_t(bytes.number(22, 4));
    const int bitCount = int(bytes.number(core ? 24 : 28, 2));
    const std::uint32_t compression = core ? 0 : bytes.number(30, 4);
    const bool topDown = storedHeight < 0;
    const long long height = topDown ? -static_cast<long long>(storedHeight) : storedHeight;
    refuseOversizedPicture(path.c_str(), width, height);
    if (compression != 0 && compression != 3 && compression != 6)
        bytes.fail("compressed bitmaps are not supported");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        bytes.fail("a bitmap of " + std::to_string(bitCount) + " bits per pixel is not supported");

    // Masks: in the header from version 2 on, else after it; the defaults otherwise.
    Mask red(0x00FF0000), green(0x0000FF00), blue(0x000000FF), alpha(0);
    if (bitCount == 16)
        red = Mask(0x7C00), green = Mask(0x03E0), blue = Mask(0x001F);
    if (compression == 3 || compression == 6) {
        // Right after the 40 bytes every header version begins with.
        const std::size_t masks = 14 + 40;
        red = Mask(bytes.number(masks, 4));
        green = Mask(bytes.number(masks + 4, 4));
        blue = Mask(bytes.number(masks + 8, 4));
        if (headerSize >= 56 || compression == 6)
            alpha = Mask(bytes.number(masks + 12, 4));
    }

    std::vector<std::array<std::uint8_t, 3>> palette;
    if (bitCount <= 8) {
        const std::size_t entrySize = core ? 3 : 4;
        std::size_t count = core ? 0 : bytes.number(46, 4);
        if (count == 0 || count > (std::size_t(1) << bitCount))
            count = std::size_t(1) << bitCount;
        const std::size_t start = 14 + headerSize + (compression == 3 && headerSize == 40 ? 12 : 0);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t entry = start + i * entrySize;
            bytes.need(entry, 3);
            palette.push_back({bytes.at(entry + 2), bytes.at(entry + 1), bytes.at(entry)});
        }
    }

    const std::size_t rowBytes = (std::size_t(width) * std::size_t(bitCount) + 31) / 32 * 4;
    bytes.need(pixelOffset, rowBytes * std::size_t(height));
    std::vector<std::uint8_t> pixels(std::size_t(width) * 4);
    feeder.begin(width, int(height), 4, 1, {});
    for (long long y = 0; y < height; ++y) {
        const std::size_t row = pixelOffset + rowBytes * std::size_t(topDown ? y : height - 1 - y);
        std::uint8_t* out = pixels.data();
        for (std::int32_t x = 0; x < width; ++x, out += 4) {
            if (bitCount <= 8) {
                const std::size_t bit = std::size_t(x) * std::size_t(bitCount);
                const unsigned index =
                    (bytes.at(row + bit / 8) >> (8 - bitCount - int(bit % 8))) & ((1u << bitCount) - 1u);
                const auto& colour = index < palette.size() ? palette[index] : palette.front();
                out[0] = colour[0], out[1] = colour[1], out[2] = colour[2], out[3] = 255;
                continue;
            }
            if (bitCount == 24) {
                const std::size_t at = row + std::size_t(x) * 3;
                out[0] = bytes.at(at + 2), out[1] = bytes.at(at + 1), out[2] = bytes.at(at), out[3] = 255;
                continue;
            }
            const std::uint32_t pixel = bytes.number(row + std::size_t(x) * std::size_t(bitCount / 8), bitCount / 8);
            out[0] = red.of(pixel), out[1] = green.of(pixel), out[2] = blue.of(pixel), out[3] = alpha.of(pixel);
        }
        feeder.row(pixels.data());
    }
}
