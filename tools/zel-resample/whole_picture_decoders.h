// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "image.h"

#include <cstdint>
#include <string>
#include <vector>

// A picture of a format other than JPEG, decoded whole: 8-bit R, G, B, A
// (4 channels, not premultiplied) in the stored orientation. Each decoder
// refuses a picture above the pixel limit by its declared size before it
// decodes, and throws UnreadablePictureError naming path with the reason
// for anything it cannot read.
struct WholePicture {
    Image pixels;
    int orientation = 1;               // Exif/TIFF orientation, 1 when upright or none
    std::vector<std::uint8_t> profile; // the embedded ICC profile, empty when none
};

// The file's bytes (a regular file, at most maximumPictureFileSize).
std::string readPictureFile(const std::string& path);
inline constexpr std::size_t maximumPictureFileSize = std::size_t(1) << 30;

WholePicture decodePng(const std::string& path, const std::string& bytes);
WholePicture decodeGif(const std::string& path, const std::string& bytes);
WholePicture decodeWebP(const std::string& path, const std::string& bytes);
WholePicture decodeHeif(const std::string& path, const std::string& bytes);
WholePicture decodeBmp(const std::string& path, const std::string& bytes);
// TIFF reads the file itself (its directories may lie anywhere in it).
WholePicture decodeTiff(const std::string& path);
