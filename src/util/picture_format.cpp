// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/picture_format.h"

#include <cstring>

namespace util {

namespace {

bool startsWith(const unsigned char* data, std::size_t size, const char* text, std::size_t offset = 0)
{
    const std::size_t length = std::strlen(text);
    return size >= offset + length && std::memcmp(data + offset, text, length) == 0;
}

// An ISO base media file whose major or first compatible brand is one of
// HEIF's (HEIC, AVIF and the plain image brands).
bool isHeif(const unsigned char* data, std::size_t size)
{
    if (!startsWith(data, size, "ftyp", 4))
        return false;
    static const char* const brands[] = {"heic", "heix", "heim", "heis", "hevc",
                                         "hevx", "mif1", "msf1", "avif", "avis"};
    const std::size_t boxSize =
        std::size_t(data[0]) << 24 | std::size_t(data[1]) << 16 | std::size_t(data[2]) << 8 | std::size_t(data[3]);
    const std::size_t end = boxSize < size ? boxSize : size;
    for (std::size_t offset = 8; offset + 4 <= end; offset += 4) {
        if (offset == 12)
            continue; // the minor version
        for (const char* brand : brands)
            if (std::memcmp(data + offset, brand, 4) == 0)
                return true;
    }
    return false;
}

} // namespace

PictureFormat sniffPictureFormat(const unsigned char* data, std::size_t size)
{
    if (data == nullptr)
        return PictureFormat::Unknown;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return PictureFormat::Jpeg;
    if (startsWith(data, size, "\x89PNG\r\n\x1a\n"))
        return PictureFormat::Png;
    if (startsWith(data, size, "GIF87a") || startsWith(data, size, "GIF89a"))
        return PictureFormat::Gif;
    if (startsWith(data, size, "RIFF") && startsWith(data, size, "WEBP", 8))
        return PictureFormat::WebP;
    if (size >= 4
        && ((data[0] == 'I' && data[1] == 'I' && data[2] == 42 && data[3] == 0)
            || (data[0] == 'M' && data[1] == 'M' && data[2] == 0 && data[3] == 42)))
        return PictureFormat::Tiff;
    if (startsWith(data, size, "BM") && size >= 18)
        return PictureFormat::Bmp;
    if (isHeif(data, size))
        return PictureFormat::Heif;
    return PictureFormat::Unknown;
}

const char* pictureFormatName(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Jpeg:
        return "JPEG";
    case PictureFormat::Png:
        return "PNG";
    case PictureFormat::Gif:
        return "GIF";
    case PictureFormat::WebP:
        return "WebP";
    case PictureFormat::Tiff:
        return "TIFF";
    case PictureFormat::Bmp:
        return "BMP";
    case PictureFormat::Heif:
        return "HEIF/AVIF";
    case PictureFormat::Unknown:
        break;
    }
    return "unknown";
}

} // namespace util
