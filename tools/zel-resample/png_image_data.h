// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "picture_row_feeder.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

// How the pixels of a non-interlaced PNG are stored, as its header, palette
// and transparency chunks say (read and checked by libpng).
struct PngPixelLayout {
    int width = 0;
    int height = 0;
    int bitDepth = 8;
    int colourType = 2;
    bool alpha = false; // the rows handed on carry A (an alpha channel or a tRNS chunk)
    std::array<std::array<std::uint8_t, 4>, 256> palette{}; // R, G, B, A; entries past the palette are black
    bool transparentColour = false;                         // tRNS of a grey or R, G, B picture
    std::array<std::uint16_t, 3> transparent{};             // its grey (first) or R, G, B
};

// Decodes the image data of a non-interlaced PNG read from stream (at any
// position; the chunks are found from the start) and hands its rows to feeder
// as 8-bit R, G, B or R, G, B, A: the same bytes as libpng's expand, scale_16
// and gray_to_rgb transforms give. The calling thread reads and inflates the
// IDAT chunks while a second one undoes the row filters and widens the pixels,
// so a large picture decodes in about half the time on two cores. Checksums
// are not checked. Throws UnreadablePictureError naming path.
void decodePngImageData(std::FILE* stream, const std::string& path, const PngPixelLayout& layout,
                        PictureRowFeeder& feeder);
