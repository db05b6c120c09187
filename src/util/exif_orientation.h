// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// Exif orientation of a JPEG picture, read by the page maker (for the size a
// picture shows at) and by the image tool (to turn the copy upright).
namespace util {

// The orientation (tag 0x0112 of the first image directory) of an APP1
// segment's data, that is the bytes after its length field: "Exif", two zero
// bytes, then a TIFF structure in either byte order. Returns 1 to 8, or 0
// when the data is not Exif, has no orientation tag, or any offset or count
// would leave the data. Never reads outside [data, data + size).
int exifOrientation(const unsigned char* data, std::size_t size);

// The same for a bare TIFF structure (as TIFF files carry it).
int tiffOrientation(const unsigned char* data, std::size_t size);

// The same for an Exif block as other picture formats embed it (PNG's eXIf,
// WebP's EXIF chunk): behind "Exif\0\0" or bare.
int embeddedExifOrientation(const unsigned char* data, std::size_t size);

// True for the orientations (5 to 8) whose displayed picture is turned a
// quarter, so that its displayed width is its stored height.
bool orientationSwapsSides(int orientation);

} // namespace util
