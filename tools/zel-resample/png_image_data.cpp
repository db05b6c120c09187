// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "png_image_data.h"

#include "background_row_consumer.h"
#include "resample_error.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>
#include <zlib.h>

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& reason)
{
    throw UnreadablePictureError("cannot decode " + path + ": " + reason);
}

int samplesPerPixel(int colourType)
{
    switch (colourType) {
    case 0:
    case 3:
        return 1;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 3;
    }
}

// The chunks of the file, read one after another; only IDAT's data is read.
class ChunkReader {
public:
    ChunkReader(std::FILE* stream, const std::string& path) : m_stream(stream), m_path(path) {}

    // Moves to the data of the first IDAT chunk.
    void findImageData()
    {
        if (std::fseek(m_stream, 8, SEEK_SET) != 0)
            fail(m_path, "the file is cut short");
        for (std::uint32_t length = readHeader(); !m_idat; length = readHeader())
            if (std::fseek(m_stream, long(length) + 4, SEEK_CUR) != 0)
                fail(m_path, "the file is cut short");
    }

    // At most size bytes of image data into out; 0 when the IDAT chunks end.
    std::size_t read(std::uint8_t* out, std::size_t size)
    {
        while (m_left == 0) {
            if (!m_idat)
                return 0;
            std::uint8_t checksum[4];
            if (std::fread(checksum, 1, 4, m_stream) != 4)
                fail(m_path, "the file is cut short");
            readHeader();
        }
        const std::size_t got = std::fread(out, 1, std::min<std::size_t>(size, m_left), m_stream);
        if (got == 0)
            fail(m_path, "the file is cut short");
        m_left -= std::uint32_t(got);
        return got;
    }

private:
    // The next chunk's header; its length.
    std::uint32_t readHeader()
    {
        std::uint8_t header[8];
        if (std::fread(header, 1, 8, m_stream) != 8)
            fail(m_path, "the file is cut short");
        const std::uint32_t length =
            std::uint32_t(header[0]) << 24 | std::uint32_t(header[1]) << 16 | std::uint32_t(header[2]) << 8 | header[3];
        if (length > 0x7fffffffU)
            fail(m_path, "a chunk's length is out of range");
        m_idat = header[4] == 'I' && header[5] == 'D' && header[6] == 'A' && header[7] == 'T';
        m_left = m_idat ? length : 0; // the image data ends at any other chunk
        return length;
    }

    std::FILE* m_stream;
    const std::string& m_path;
    std::uint32_t m_left = 0;
    bool m_idat = false;
};

// libpng's scale_16: a 16-bit sample (high byte first) to 8 bits, rounded.
inline std::uint8_t scaled(const std::uint8_t* sample)
{
    std::int32_t value = sample[0];
    value += ((std::int32_t(sample[1]) - value + 128) * 65535) >> 24;
    return std::uint8_t(value);
}

// Undoes the row filters and widens the pixels of one row after another.
class RowWidener {
public:
    RowWidener(const std::string& path, const PngPixelLayout& layout, std::size_t rowBytes, PictureRowFeeder& feeder)
        : m_path(path), m_layout(layout), m_feeder(feeder),
          m_pixelBytes(std::max(1, layout.bitDepth * samplesPerPixel(layout.colourType) / 8)), m_previous(rowBytes, 0),
          m_current(rowBytes, 0), m_out(std::size_t(layout.width) * (layout.alpha ? 4 : 3))
    {}

    // filtered: the filter type, then rowBytes bytes.
    void row(const std::uint8_t* filtered)
    {
        std::swap(m_previous, m_current);
        unfilter(filtered[0], filtered + 1, m_previous.data(), m_current.data());
        widen(m_current.data());
        m_feeder.row(m_out.data());
    }

private:
    void unfilter(std::uint8_t type, const std::uint8_t* in, const std::uint8_t* up, std::uint8_t* row) const
    {
        const std::size_t size = m_current.size();
        const std::size_t first = std::min(m_pixelBytes, size); // the bytes with no pixel on their left
        const std::size_t bpp = m_pixelBytes;
        switch (type) {
        case 0:
            std::copy_n(in, size, row);
            break;
        case 1:
            std::copy_n(in, first, row);
            for (std::size_t i = bpp; i < size; ++i)
                row[i] = std::uint8_t(in[i] + row[i - bpp]);
            break;
        case 2:
            for (std::size_t i = 0; i < size; ++i)
                row[i] = std::uint8_t(in[i] + up[i]);
            break;
        case 3:
            for (std::size_t i = 0; i < first; ++i)
                row[i] = std::uint8_t(in[i] + (up[i] >> 1));
            for (std::size_t i = bpp; i < size; ++i)
                row[i] = std::uint8_t(in[i] + ((unsigned(row[i - bpp]) + up[i]) >> 1));
            break;
        case 4:
            for (std::size_t i = 0; i < first; ++i)
                row[i] = std::uint8_t(in[i] + up[i]);
            for (std::size_t i = bpp; i < size; ++i) {
                const int a = row[i - bpp], b = up[i], c = up[i - bpp];
                const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
                row[i] = std::uint8_t(in[i] + (pa <= pb && pa <= pc ? a : pb <= pc ? b : c));
            }
            break;
        default:
            fail(m_path, "bad adaptive filter value");
        }
    }

    void widen(const std::uint8_t* in)
    {
        const PngPixelLayout& layout = m_layout;
        const int depth = layout.bitDepth;
        const int width = layout.width;
        const std::size_t channels = layout.alpha ? 4 : 3;
        std::uint8_t* out = m_out.data();
        const unsigned mask = depth == 16 ? 0xffffU : (1U << depth) - 1;
        const auto sample = [&](int x) -> unsigned {
            const std::size_t bit = std::size_t(x) * std::size_t(depth);
            return (in[bit >> 3] >> (8 - depth - int(bit & 7))) & mask;
        };
        switch (layout.colourType) {
        case 0: {
            const unsigned widen = depth == 1 ? 0xff : depth == 2 ? 0x55 : depth == 4 ? 0x11 : 1;
            const unsigned transparent = layout.transparentColour ? layout.transparent[0] & mask : 0x10000;
            for (int x = 0; x < width; ++x, out += channels) {
                unsigned value = 0;
                std::uint8_t grey = 0;
                if (depth == 16) {
                    value = unsigned(in[2 * x]) << 8 | in[2 * x + 1];
                    grey = scaled(in + 2 * x);
                } else {
                    value = depth == 8 ? in[x] : sample(x);
                    grey = std::uint8_t(value * widen);
                }
                out[0] = out[1] = out[2] = grey;
                if (channels == 4)
                    out[3] = value == transparent ? 0 : 255;
            }
            break;
        }
        case 2: {
            const std::array<std::uint16_t, 3>& colour = layout.transparent;
            for (int x = 0; x < width; ++x, out += channels) {
                bool see = true;
                if (depth == 16) {
                    const std::uint8_t* p = in + 6 * std::size_t(x);
                    for (int c = 0; c < 3; ++c) {
                        out[c] = scaled(p + 2 * c);
                        see = see && (unsigned(p[2 * c]) << 8 | p[2 * c + 1]) == colour[std::size_t(c)];
                    }
                } else {
                    const std::uint8_t* p = in + 3 * std::size_t(x);
                    for (int c = 0; c < 3; ++c) {
                        out[c] = p[c];
                        see = see && p[c] == (colour[std::size_t(c)] & 0xff);
                    }
                }
                if (channels == 4)
                    out[3] = layout.transparentColour && see ? 0 : 255;
            }
            break;
        }
        case 3:
            for (int x = 0; x < width; ++x, out += channels) {
                const std::array<std::uint8_t, 4>& entry = layout.palette[depth == 8 ? in[x] : sample(x)];
                std::copy_n(entry.data(), channels, out);
            }
            break;
        case 4:
            for (int x = 0; x < width; ++x, out += channels) {
                const std::uint8_t* p = in + std::size_t(x) * std::size_t(depth / 4);
                out[0] = out[1] = out[2] = depth == 16 ? scaled(p) : p[0];
                out[3] = depth == 16 ? scaled(p + 2) : p[1];
            }
            break;
        default:
            if (depth == 8) {
                std::copy_n(in, std::size_t(width) * 4, out);
                break;
            }
            for (std::size_t i = 0; i < std::size_t(width) * 4; ++i)
                out[i] = scaled(in + 2 * i);
        }
    }

    const std::string& m_path;
    const PngPixelLayout& m_layout;
    PictureRowFeeder& m_feeder;
    std::size_t m_pixelBytes;
    std::vector<std::uint8_t> m_previous; // the row before, unfiltered
    std::vector<std::uint8_t> m_current;
    std::vector<std::uint8_t> m_out;
};

struct InflateEnder {
    void operator()(z_stream* stream) const { inflateEnd(stream); }
};

} // namespace

void decodePngImageData(std::FILE* stream, const std::string& path, const PngPixelLayout& layout,
                        PictureRowFeeder& feeder)
{
    const std::size_t rowBytes =
        (std::size_t(layout.width) * std::size_t(samplesPerPixel(layout.colourType) * layout.bitDepth) + 7) / 8;
    ChunkReader chunks(stream, path);
    chunks.findImageData();

    z_stream inflater{};
    if (inflateInit(&inflater) != Z_OK)
        fail(path, "out of memory");
    const std::unique_ptr<z_stream, InflateEnder> ender(&inflater);
    inflateValidate(&inflater, 0);

    RowWidener widener(path, layout, rowBytes, feeder);
    std::unique_ptr<BackgroundRowConsumer> worker;
    if (std::thread::hardware_concurrency() > 1)
        worker = std::make_unique<BackgroundRowConsumer>([&widener](const std::uint8_t* row) { widener.row(row); },
                                                         rowBytes + 1);
    std::vector<std::uint8_t> input(256 * 1024);
    std::vector<std::uint8_t> filtered(rowBytes + 1);
    bool ended = false;
    for (int y = 0; y < layout.height; ++y) {
        inflater.next_out = filtered.data();
        inflater.avail_out = uInt(filtered.size());
        while (inflater.avail_out > 0) {
            if (ended)
                fail(path, "Not enough image data");
            if (inflater.avail_in == 0) {
                const std::size_t got = chunks.read(input.data(), input.size());
                if (got == 0)
                    fail(path, "Not enough image data");
                inflater.next_in = input.data();
                inflater.avail_in = uInt(got);
            }
            const int result = inflate(&inflater, Z_NO_FLUSH);
            if (result == Z_STREAM_END)
                ended = true;
            else if (result != Z_OK && result != Z_BUF_ERROR)
                fail(path, inflater.msg ? inflater.msg : "damaged image data");
        }
        if (worker)
            worker->push(filtered.data());
        else
            widener.row(filtered.data());
    }
    if (worker)
        worker->finish();
}
