#pragma once

#include "image.h"

#include <string>

struct DecodedPicture
{
    Image image;         // stored orientation; 1 channel (grey) or 3 (RGB)
    int orientation = 1; // Exif orientation 1..8 found in the file, 1 if none
};

// Decodes the JPEG file at path (baseline or progressive; grey, YCbCr, RGB,
// CMYK or YCCK, Adobe-inverted or plain) for a copy whose upright size is
// uprightWidth x uprightHeight. libjpeg scales while decoding to the smallest
// M/8 whose result is still at least 1.5 times the copy in both directions, so
// the resampler that follows has enough detail to filter properly.
// Throws ResampleError when the file cannot be read, is not a JPEG, or its
// data is damaged or cut short.
DecodedPicture decodeJpegForCopy(const std::string& path, int uprightWidth, int uprightHeight);
