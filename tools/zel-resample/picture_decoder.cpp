// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_decoder.h"

#include "format_decoders.h"
#include "resample_error.h"

#include "util/picture_format.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::array<std::uint8_t, 3> templateBackground = {0xFB, 0xF8, 0xF0};

void decodeOther(PictureFile& file, util::PictureFormat format, PictureRowFeeder& feeder)
{
    switch (format) {
    case util::PictureFormat::Png:
        return decodePng(file, feeder);
    case util::PictureFormat::Gif:
        return decodeGif(file, feeder);
    case util::PictureFormat::WebP:
        return decodeWebP(file, feeder);
    case util::PictureFormat::Heif:
        return decodeHeif(file, feeder);
    case util::PictureFormat::Bmp:
        return decodeBmp(file, feeder);
    case util::PictureFormat::Tiff:
        return decodeTiff(file, feeder);
    case util::PictureFormat::Jpeg:
    case util::PictureFormat::Unknown:
        break;
    }
    throw UnreadablePictureError("cannot decode " + file.path()
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
    PictureFile file(path, maximumPictureFileSize);
    unsigned char head[util::pictureSniffLength] = {};
    const util::PictureFormat format = util::sniffPictureFormat(head, file.readHead(head, sizeof head));
    if (format == util::PictureFormat::Jpeg) {
        decodeJpegForCopy(path, file.newStream(), uprightWidth, uprightHeight, sink);
        return;
    }
    PictureRowFeeder feeder(sink, uprightWidth, uprightHeight, pictureBackground());
    decodeOther(file, format, feeder);
    feeder.finish();
}
