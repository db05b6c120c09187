// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Receives a decoded picture row by row, top to bottom, in the stored
// orientation. Rows are 1 channel (grey) or 3 (R, G, B) of 8 bits.
class DecodedRowSink {
public:
    virtual ~DecodedRowSink() = default;
    // Called once before the first row. orientation is the Exif orientation
    // (1..8) found in the file, 1 if none.
    virtual void begin(int width, int height, int channels, int orientation) = 0;
    virtual void row(const std::uint8_t* pixels) = 0;
};

// Decodes the JPEG file at path, read from stream (closed at the end; baseline
// or progressive; grey, YCbCr, RGB, CMYK or YCCK, Adobe-inverted or plain) for a copy whose upright size is
// uprightWidth x uprightHeight, handing the rows to sink. libjpeg scales while
// decoding to the smallest M/8 whose result is still at least 1.5 times the
// copy in both directions, so the resampler that follows has enough detail to
// filter properly.
// Throws UnreadablePictureError when the file cannot be read, is not a JPEG,
// its data is damaged or cut short, it is of a kind libjpeg does not decode
// here (12-bit, lossless), it has more than 1000 scans or more than 200
// million pixels, or it needs more memory than allowed; exceptions from sink
// pass through.
void decodeJpegForCopy(const std::string& path, std::FILE* stream, int uprightWidth, int uprightHeight,
                       DecodedRowSink& sink);
