// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_row_feeder.h"

#include "util/exif_orientation.h"

#include <algorithm>
#include <thread>

namespace {

// The largest whole factor that leaves the stored picture at least 1.5 times the copy's size.
int blockFactor(int width, int height, int storedWidth, int storedHeight)
{
    const int across = int(2LL * width / (3LL * storedWidth));
    const int down = int(2LL * height / (3LL * storedHeight));
    // At most 4096 x 4096 pixels of 255 are summed in 32 bits.
    return std::clamp(std::min(across, down), 1, 4096);
}

// Lays width pixels of R, G, B, A on the background as R, G, B.
void flatten(const std::uint8_t* in, std::uint8_t* out, int width, const std::array<std::uint8_t, 3>& background)
{
    for (int x = 0; x < width; ++x, in += 4, out += 3) {
        const unsigned alpha = in[3];
        if (alpha == 255) {
            out[0] = in[0], out[1] = in[1], out[2] = in[2];
            continue;
        }
        for (int c = 0; c < 3; ++c)
            out[c] = std::uint8_t((in[c] * alpha + background[std::size_t(c)] * (255 - alpha) + 127) / 255);
    }
}

// Whether every pixel of width R, G, B, A pixels is opaque.
bool opaque(const std::uint8_t* in, int width)
{
    unsigned all = 255;
    for (int x = 0; x < width; ++x)
        all &= in[std::size_t(x) * 4 + 3];
    return all == 255;
}

// sums[x] += the factor pixels of in (Stride bytes each, R, G, B first) that make column x of the block row.
template <int Factor, int Stride>
void addBlocks(const std::uint8_t* in, std::uint32_t* sums, std::size_t columns, int factor)
{
    const int f = Factor > 0 ? Factor : factor;
    for (std::size_t x = 0; x < columns; ++x, sums += 3)
        for (int dx = 0; dx < f; ++dx, in += Stride) {
            sums[0] += in[0];
            sums[1] += in[1];
            sums[2] += in[2];
        }
}

template <int Stride>
void addBlocks(const std::uint8_t* in, std::uint32_t* sums, std::size_t columns, int factor)
{
    if (factor == 2)
        addBlocks<2, Stride>(in, sums, columns, 2);
    else
        addBlocks<0, Stride>(in, sums, columns, factor);
}

} // namespace

PictureRowFeeder::PictureRowFeeder(DecodedRowSink& sink, int uprightWidth, int uprightHeight,
                                   const std::array<std::uint8_t, 3>& background)
    : m_sink(sink), m_uprightWidth(uprightWidth), m_uprightHeight(uprightHeight), m_background(background)
{}

int PictureRowFeeder::blockFactorFor(int width, int height, int orientation) const
{
    const bool swap = util::orientationSwapsSides(orientation);
    return blockFactor(width, height, swap ? m_uprightHeight : m_uprightWidth, swap ? m_uprightWidth : m_uprightHeight);
}

void PictureRowFeeder::begin(int width, int height, int channels, int orientation,
                             const std::vector<std::uint8_t>& profile)
{
    m_width = width;
    m_channels = channels;
    m_rowsSeen = 0;
    m_rowsGiven = 0;
    m_factor = blockFactorFor(width, height, orientation);
    const int outWidth = width / m_factor;
    const int outHeight = height / m_factor;
    m_rowsUsed = outHeight * m_factor;
    const std::size_t rowBytes = std::size_t(width) * 3;
    if (channels == 4)
        m_flat.resize(rowBytes);
    if (m_factor > 1) {
        m_sums.assign(std::size_t(outWidth) * 3, 0);
        m_shrunk.resize(std::size_t(outWidth) * 3);
    }
    if (m_colour.prepare(profile, ColourConversion::Input::Rgb))
        m_converted.resize(std::size_t(outWidth) * 3);
    m_sink.begin(outWidth, outHeight, 3, orientation);
    if (std::thread::hardware_concurrency() > 1)
        m_worker = std::make_unique<BackgroundRowConsumer>([this](const std::uint8_t* pixels) { process(pixels); },
                                                           std::size_t(width) * std::size_t(channels));
}

void PictureRowFeeder::row(const std::uint8_t* pixels)
{
    // Rows below the last whole block are not used.
    if (m_rowsGiven++ >= m_rowsUsed)
        return;
    if (m_worker)
        m_worker->push(pixels);
    else
        process(pixels);
}

void PictureRowFeeder::finish()
{
    if (m_worker)
        m_worker->finish();
}

void PictureRowFeeder::process(const std::uint8_t* pixels)
{
    const int y = m_rowsSeen++;
    // An opaque row of R, G, B, A is summed as it is; only a row with
    // transparency is laid on the background first.
    const bool opaqueAlpha = m_channels == 4 && m_factor > 1 && opaque(pixels, m_width);
    const std::uint8_t* rgb = pixels;
    if (m_channels == 4 && !opaqueAlpha) {
        flatten(pixels, m_flat.data(), m_width, m_background);
        rgb = m_flat.data();
    }
    if (m_factor == 1) {
        emit(rgb);
        return;
    }
    const std::size_t columns = m_sums.size() / 3;
    if (opaqueAlpha)
        addBlocks<4>(pixels, m_sums.data(), columns, m_factor);
    else
        addBlocks<3>(rgb, m_sums.data(), columns, m_factor);
    if ((y + 1) % m_factor != 0)
        return;
    const std::uint32_t area = std::uint32_t(m_factor * m_factor);
    for (std::size_t i = 0; i < m_sums.size(); ++i)
        m_shrunk[i] = std::uint8_t((m_sums[i] + area / 2) / area);
    std::fill(m_sums.begin(), m_sums.end(), 0);
    emit(m_shrunk.data());
}

void PictureRowFeeder::emit(const std::uint8_t* rgb)
{
    if (!m_colour.active()) {
        m_sink.row(rgb);
        return;
    }
    m_colour.convert(rgb, m_converted.data(), m_converted.size() / 3);
    m_sink.row(m_converted.data());
}
