// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_decoder.h"

#include "resample_error.h"
#include "format_decoders.h"

#include "fileio/regular_file.h"
#include "util/exif_orientation.h"
#include "util/picture_format.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

constexpr std::array<std::uint8_t, 3> templateBackground = {0xFB, 0xF8, 0xF0};

util::PictureFormat formatOf(const std::string& path)
{
    std::string reason;
    const int descriptor = fileio::openRegularFile(path, maximumPictureFileSize, reason);
    if (descriptor < 0)
        throw UnreadablePictureError("cannot open " + path + ": " + reason);
    unsigned char head[util::pictureSniffLength] = {};
    const ssize_t got = ::read(descriptor, head, sizeof head);
    ::close(descriptor);
    return util::sniffPictureFormat(head, got > 0 ? std::size_t(got) : 0);
}

void decodeOther(const std::string& path, util::PictureFormat format, PictureRowFeeder& feeder)
{
    switch (format) {
    case util::PictureFormat::Png:
        return decodePng(path, readPictureFile(path), feeder);
    case util::PictureFormat::Gif:
        return decodeGif(path, readPictureFile(path), feeder);
    case util::PictureFormat::WebP:
        return decodeWebP(path, readPictureFile(path), feeder);
    case util::PictureFormat::Heif:
        return decodeHeif(path, readPictureFile(path), feeder);
    case util::PictureFormat::Bmp:
        return decodeBmp(path, readPictureFile(path), feeder);
    case util::PictureFormat::Tiff:
        return decodeTiff(path, feeder);
    case util::PictureFormat::Jpeg:
    case util::PictureFormat::Unknown:
        break;
    }
    throw UnreadablePictureError("cannot decode " + path
                                 + ": not a picture of a known kind (JPEG, PNG, GIF, WebP, HEIC, AVIF, TIFF or BMP)");
}

} // namespace

std::array<std::uint8_t, 3> pictureBackground()
{
    const char* set = std::getenv("ZEL_PICTURE_BACKGROUND");
    if (set == nullptr || std::strlen(set) != 7 || set[0] != '#')
        return templateBackground;
    std::array<std::uint8_t, 3> colour{};
    for (std::size_t i = 0; i < 3; ++i) {
        char pair[3] = {set[1 + 2 * i], set[2 + 2 * i], 0};
        char* end = nullptr;
        const long value = std::strtol(pair, &end, 16);
        if (*end != '\0' || !std::isxdigit(static_cast<unsigned char>(pair[0])))
            return templateBackground;
        colour[i] = std::uint8_t(value);
    }
    return colour;
}

void decodePictureForCopy(const std::string& path, int uprightWidth, int uprightHeight, DecodedRowSink& sink)
{
    const util::PictureFormat format = formatOf(path);
    if (format == util::PictureFormat::Jpeg) {
        decodeJpegForCopy(path, uprightWidth, uprightHeight, sink);
        return;
    }
    PictureRowFeeder feeder(sink, uprightWidth, uprightHeight, pictureBackground());
    decodeOther(path, format, feeder);
}

std::string readPictureFile(const std::string& path)
{
    std::string bytes;
    const std::string reason = fileio::readRegularFile(path, maximumPictureFileSize, bytes);
    if (!reason.empty())
        throw UnreadablePictureError("cannot open " + path + ": " + reason);
    return bytes;
}
