#pragma once

#include <cstddef>
#include <cstdint>

// Reads the Exif orientation tag (0x0112) from the data of an APP1 segment
// (the bytes after the marker length, starting with "Exif\0\0").
// Returns 1..8, or 1 when the segment is not Exif, is malformed, or has no
// valid orientation. Never reads outside [data, data + size).
int exifOrientation(const std::uint8_t* data, std::size_t size);
