// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// The picture formats authors bring, told by a file's first bytes (never by
// its name: a PNG saved as ".jpg" is a PNG). Shared by the page maker and
// the image tool.
namespace util {

enum class PictureFormat { Unknown, Jpeg, Png, Gif, WebP, Tiff, Bmp, Heif };

// How many first bytes sniffPictureFormat needs at most.
inline constexpr std::size_t pictureSniffLength = 32;

// The format of a file that begins with data (its first size bytes, fewer
// when the file is shorter). HEIF covers HEIC and AVIF (one container).
PictureFormat sniffPictureFormat(const unsigned char* data, std::size_t size);

// "JPEG", "PNG", "GIF", "WebP", "TIFF", "BMP", "HEIF/AVIF"; "unknown".
const char* pictureFormatName(PictureFormat format);

} // namespace util
