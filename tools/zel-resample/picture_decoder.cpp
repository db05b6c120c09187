// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_decoder.h"

#include "colour_conversion.h"
#include "resample_error.h"
#include "whole_picture_decoders.h"

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

WholePicture decodeWhole(const std::string& path, util::PictureFormat format)
{
    switch (format) {
    case util::PictureFormat::Png:
        return decodePng(path, readPictureFile(path));
    case util::PictureFormat::Gif:
        return decodeGif(path, readPictureFile(path));
    case util::PictureFormat::WebP:
        return decodeWebP(path, readPictureFile(path));
    case util::PictureFormat::Heif:
        return decodeHeif(path, readPictureFile(path));
    case util::PictureFormat::Bmp:
        return decodeBmp(path, readPictureFile(path));
    case util::PictureFormat::Tiff:
        return decodeTiff(path);
    case util::PictureFormat::Jpeg:
    case util::PictureFormat::Unknown:
        break;
    }
    throw UnreadablePictureError("cannot decode " + path
                                 + ": not a picture of a known kind (JPEG, PNG, GIF, WebP, HEIC, AVIF, TIFF or BMP)");
}

// Lays each pixel on the background (in place: 4 samples in, 3 out).
void flatten(Image& picture, const std::array<std::uint8_t, 3>& background)
{
    const std::size_t count = std::size_t(picture.width) * std::size_t(picture.height);
    const std::uint8_t* in = picture.pixels.data();
    std::uint8_t* out = picture.pixels.data();
    for (std::size_t i = 0; i < count; ++i, in += 4, out += 3) {
        const unsigned alpha = in[3];
        for (int c = 0; c < 3; ++c)
            out[c] = std::uint8_t((in[c] * alpha + background[std::size_t(c)] * (255 - alpha) + 127) / 255);
    }
    picture.channels = 3;
    picture.pixels.resize(count * 3);
    picture.pixels.shrink_to_fit();
}

// Averages blocks of factor x factor pixels (3 channels), as JPEG's scaled
// decoding does: the resampler that follows still gets at least 1.5 times the
// copy's size and does a fraction of the work.
Image shrinkByBlocks(const Image& picture, int factor)
{
    Image small(picture.width / factor, picture.height / factor, 3);
    std::vector<std::uint32_t> sums(small.rowBytes());
    const std::uint32_t area = std::uint32_t(factor * factor);
    for (int y = 0; y < small.height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int dy = 0; dy < factor; ++dy) {
            const std::uint8_t* in = picture.row(y * factor + dy);
            for (int x = 0; x < small.width; ++x)
                for (int dx = 0; dx < factor; ++dx)
                    for (int c = 0; c < 3; ++c)
                        sums[std::size_t(x) * 3 + std::size_t(c)] +=
                            in[(std::size_t(x) * std::size_t(factor) + std::size_t(dx)) * 3 + std::size_t(c)];
        }
        std::uint8_t* out = small.row(y);
        for (std::size_t i = 0; i < sums.size(); ++i)
            out[i] = std::uint8_t((sums[i] + area / 2) / area);
    }
    return small;
}

// The largest whole factor that leaves the stored picture at least 1.5 times the copy's size.
int blockFactor(const Image& picture, int storedWidth, int storedHeight)
{
    const int across = int(2LL * picture.width / (3LL * storedWidth));
    const int down = int(2LL * picture.height / (3LL * storedHeight));
    return std::max(1, std::min(across, down));
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
    WholePicture picture = decodeWhole(path, format);
    flatten(picture.pixels, pictureBackground());
    const bool swap = util::orientationSwapsSides(picture.orientation);
    if (const int factor =
            blockFactor(picture.pixels, swap ? uprightHeight : uprightWidth, swap ? uprightWidth : uprightHeight);
        factor > 1)
        picture.pixels = shrinkByBlocks(picture.pixels, factor);
    Image& pixels = picture.pixels;
    ColourConversion colour;
    std::vector<std::uint8_t> converted;
    if (colour.prepare(picture.profile, ColourConversion::Input::Rgb))
        converted.resize(pixels.rowBytes());
    sink.begin(pixels.width, pixels.height, 3, picture.orientation);
    for (int y = 0; y < pixels.height; ++y) {
        if (colour.active()) {
            colour.convert(pixels.row(y), converted.data(), std::size_t(pixels.width));
            sink.row(converted.data());
        } else {
            sink.row(pixels.row(y));
        }
    }
}

std::string readPictureFile(const std::string& path)
{
    std::string bytes;
    const std::string reason = fileio::readRegularFile(path, maximumPictureFileSize, bytes);
    if (!reason.empty())
        throw UnreadablePictureError("cannot open " + path + ": " + reason);
    return bytes;
}
