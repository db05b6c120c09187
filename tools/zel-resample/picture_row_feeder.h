// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "background_row_consumer.h"
#include "colour_conversion.h"
#include "jpeg_decoder.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// Takes the rows of a picture of a format other than JPEG as its decoder
// makes them (8-bit R, G, B or R, G, B, A not premultiplied, top to bottom in
// the stored orientation) and hands them on to sink as JPEG's decoding does:
// each row laid on the background, blocks of pixels averaged while the picture
// stays at least 1.5 times the copy's size, the colours converted to sRGB.
// Only a few rows are held at a time. With more than one core this work runs
// on a thread of its own, beside the decoding.
class PictureRowFeeder {
public:
    PictureRowFeeder(DecodedRowSink& sink, int uprightWidth, int uprightHeight,
                     const std::array<std::uint8_t, 3>& background);

    // The whole factor by which begin() shrinks a picture of this size by blocks (1: not at all).
    int blockFactorFor(int width, int height, int orientation) const;
    // Called once before the first row; channels is 3 or 4.
    void begin(int width, int height, int channels, int orientation, const std::vector<std::uint8_t>& profile);
    // The next of the height rows (width * channels samples).
    void row(const std::uint8_t* pixels);
    // After the last row: waits until every row has reached sink.
    void finish();

private:
    void process(const std::uint8_t* pixels);
    void emit(const std::uint8_t* rgb);

    DecodedRowSink& m_sink;
    int m_uprightWidth;
    int m_uprightHeight;
    std::array<std::uint8_t, 3> m_background;
    int m_width = 0;
    int m_channels = 3;
    int m_factor = 1;
    int m_rowsUsed = 0;                    // the rows that make whole blocks; the rest are dropped
    int m_rowsSeen = 0;                    // by the processing
    int m_rowsGiven = 0;                   // by the decoder
    std::vector<std::uint8_t> m_flat;      // one row laid on the background
    std::vector<std::uint32_t> m_sums;     // the block row being summed
    std::vector<std::uint8_t> m_shrunk;    // one averaged row
    std::vector<std::uint8_t> m_converted; // one row in sRGB
    ColourConversion m_colour;
    // Declared last so that its thread stops before the buffers go.
    std::unique_ptr<BackgroundRowConsumer> m_worker;
};
