// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "picture_row_feeder.h"

#include <cstddef>
#include <string>

// The decoders of the formats other than JPEG. Each hands the picture's rows
// to feeder (begin() with its size, orientation - Exif/TIFF, 1 when upright or
// none - and embedded ICC profile, then the rows in the stored orientation),
// refuses a picture above the pixel limit by its declared size before it
// decodes, and throws UnreadablePictureError naming path with the reason for
// anything it cannot read.

// The file's bytes (a regular file, at most maximumPictureFileSize).
std::string readPictureFile(const std::string& path);
inline constexpr std::size_t maximumPictureFileSize = std::size_t(1) << 30;

void decodePng(const std::string& path, const std::string& bytes, PictureRowFeeder& feeder);
void decodeGif(const std::string& path, const std::string& bytes, PictureRowFeeder& feeder);
void decodeWebP(const std::string& path, const std::string& bytes, PictureRowFeeder& feeder);
void decodeHeif(const std::string& path, const std::string& bytes, PictureRowFeeder& feeder);
void decodeBmp(const std::string& path, const std::string& bytes, PictureRowFeeder& feeder);
// TIFF reads the file itself (its directories may lie anywhere in it).
void decodeTiff(const std::string& path, PictureRowFeeder& feeder);
