// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// PNG through libpng: every bit depth, palette, grey and transparency become
// 8-bit R, G, B, A. libpng reports errors by long jump, so the two guarded
// steps below hold no objects with destructors; the caller owns everything.
#include "picture_limits.h"
#include "png_image_data.h"
#include "resample_error.h"
#include "format_decoders.h"

#include "util/exif_orientation.h"

#include <algorithm>

#include <cstdio>
#include <cstring>
#include <memory>
#include <png.h>

namespace {

struct PngRead {
    std::FILE* stream = nullptr;
    char error[200] = {};
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
};

void readBytes(png_structp png, png_bytep out, png_size_t length)
{
    auto* read = static_cast<PngRead*>(png_get_io_ptr(png));
    if (std::fread(out, 1, length, read->stream) != length)
        png_error(png, "the file is cut short");
}

void failed(png_structp png, png_const_charp message)
{
    auto* read = static_cast<PngRead*>(png_get_error_ptr(png));
    std::strncpy(read->error, message, sizeof read->error - 1);
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

struct StreamCloser {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};

bool readHeader(PngRead& read, std::vector<std::uint8_t>& profile, int& orientation)
{
    if (setjmp(png_jmpbuf(read.png)))
        return false;
    png_set_read_fn(read.png, &read, readBytes);
    // The checksums are not checked, as browsers do not: a damaged byte shows as
    // damaged pixels, as it would on the page, and checking them costs a sixth
    // of the decoding. Data that ends early or does not inflate is still refused.
    png_set_crc_action(read.png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
    png_set_option(read.png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    // An iCCP or text chunk may not claim memory without end.
    png_set_chunk_malloc_max(read.png, 64 * 1024 * 1024);
    png_set_user_limits(read.png, 0x7fffffff, 0x7fffffff);
    png_read_info(read.png, read.info);
    read.width = png_get_image_width(read.png, read.info);
    read.height = png_get_image_height(read.png, read.info);
    png_charp name = nullptr;
    int compression = 0;
    png_bytep data = nullptr;
    png_uint_32 length = 0;
    if (png_get_iCCP(read.png, read.info, &name, &compression, &data, &length) != 0 && data != nullptr)
        profile.assign(data, data + length);
    png_uint_32 exifLength = 0;
    png_bytep exif = nullptr;
    if (png_get_eXIf_1(read.png, read.info, &exifLength, &exif) != 0 && exif != nullptr)
        orientation = std::max(1, util::embeddedExifOrientation(exif, exifLength));
    return true;
}

// The pixel layout libpng has read from the header, palette and tRNS chunks.
PngPixelLayout pixelLayout(const PngRead& read)
{
    PngPixelLayout layout;
    layout.width = int(read.width);
    layout.height = int(read.height);
    layout.bitDepth = png_get_bit_depth(read.png, read.info);
    layout.colourType = png_get_color_type(read.png, read.info);
    png_bytep alphas = nullptr;
    int transparentCount = 0;
    png_color_16p colour = nullptr;
    const bool transparency = png_get_tRNS(read.png, read.info, &alphas, &transparentCount, &colour) != 0;
    layout.alpha = (layout.colourType & PNG_COLOR_MASK_ALPHA) != 0 || transparency;
    if (layout.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_colorp palette = nullptr;
        int count = 0;
        png_get_PLTE(read.png, read.info, &palette, &count);
        for (int i = 0; i < 256; ++i) {
            std::array<std::uint8_t, 4>& entry = layout.palette[std::size_t(i)];
            if (palette != nullptr && i < count)
                entry = {palette[i].red, palette[i].green, palette[i].blue, 255};
            else
                entry = {0, 0, 0, 255};
            if (transparency && alphas != nullptr && i < transparentCount)
                entry[3] = alphas[i];
        }
    } else if (transparency && colour != nullptr) {
        layout.transparentColour = true;
        layout.transparent = layout.colourType == PNG_COLOR_TYPE_GRAY
                                 ? std::array<std::uint16_t, 3>{colour->gray, 0, 0}
                                 : std::array<std::uint16_t, 3>{colour->red, colour->green, colour->blue};
    }
    return layout;
}

// Sets up the transforms to 8-bit R, G, B (and A when the picture has
// transparency); passes and rowBytes tell how the rows come.
bool prepareRows(PngRead& read, int& passes, std::size_t& rowBytes, int& channels)
{
    if (setjmp(png_jmpbuf(read.png)))
        return false;
    const png_byte type = png_get_color_type(read.png, read.info);
    const bool alpha = (type & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(read.png, read.info, PNG_INFO_tRNS) != 0;
    png_set_expand(read.png);
    png_set_scale_16(read.png);
    png_set_gray_to_rgb(read.png);
    channels = alpha ? 4 : 3;
    passes = png_set_interlace_handling(read.png);
    png_read_update_info(read.png, read.info);
    rowBytes = png_get_rowbytes(read.png, read.info);
    if (rowBytes != std::size_t(read.width) * std::size_t(channels))
        png_error(read.png, "unexpected row size");
    return true;
}

// Hands the rows to feeder as they are decoded; an interlaced picture is
// decoded whole into picture first (its passes each cover the whole picture).
bool readRows(PngRead& read, int passes, std::uint8_t* row, std::uint8_t* picture, std::size_t rowBytes,
              PictureRowFeeder& feeder)
{
    if (setjmp(png_jmpbuf(read.png)))
        return false;
    if (passes > 1) {
        for (int pass = 0; pass < passes; ++pass)
            for (png_uint_32 y = 0; y < read.height; ++y)
                png_read_row(read.png, picture + std::size_t(y) * rowBytes, nullptr);
        for (png_uint_32 y = 0; y < read.height; ++y)
            feeder.row(picture + std::size_t(y) * rowBytes);
        return true;
    }
    for (png_uint_32 y = 0; y < read.height; ++y) {
        png_read_row(read.png, row, nullptr);
        feeder.row(row);
    }
    return true;
}

} // namespace

void decodePng(PictureFile& file, PictureRowFeeder& feeder)
{
    const std::string& path = file.path();
    PngRead read;
    const std::unique_ptr<std::FILE, StreamCloser> stream(file.newStream());
    read.stream = stream.get();
    std::setvbuf(read.stream, nullptr, _IOFBF, 256 * 1024);
    read.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &read, failed, ignoreWarning);
    read.info = read.png ? png_create_info_struct(read.png) : nullptr;
    if (read.info == nullptr) {
        png_destroy_read_struct(&read.png, nullptr, nullptr);
        throw UnreadablePictureError("cannot decode " + path + ": out of memory");
    }
    const auto fail = [&](const std::string& reason) {
        png_destroy_read_struct(&read.png, &read.info, nullptr);
        throw UnreadablePictureError("cannot decode " + path + ": " + reason);
    };
    std::vector<std::uint8_t> profile;
    int orientation = 1;
    if (!readHeader(read, profile, orientation))
        fail(read.error);
    if (png_get_interlace_type(read.png, read.info) == PNG_INTERLACE_NONE) {
        // The image data is read by its own code, beside the widening of the rows.
        const PngPixelLayout layout = pixelLayout(read);
        png_destroy_read_struct(&read.png, &read.info, nullptr);
        refuseOversizedPicture(path.c_str(), layout.width, layout.height);
        const std::unique_ptr<std::FILE, StreamCloser> data(file.newStream());
        std::setvbuf(data.get(), nullptr, _IOFBF, 256 * 1024);
        feeder.begin(layout.width, layout.height, layout.alpha ? 4 : 3, orientation, profile);
        decodePngImageData(data.get(), path, layout, feeder);
        return;
    }
    int passes = 1;
    std::size_t rowBytes = 0;
    int channels = 3;
    std::unique_ptr<std::uint8_t[]> rows;
    try {
        refuseOversizedPicture(path.c_str(), read.width, read.height);
        if (!prepareRows(read, passes, rowBytes, channels))
            fail(read.error);
        // Every byte is written by the decoder before it is read.
        rows.reset(new std::uint8_t[rowBytes * (passes > 1 ? read.height : 1)]);
        feeder.begin(int(read.width), int(read.height), channels, orientation, profile);
        if (!readRows(read, passes, rows.get(), rows.get(), rowBytes, feeder))
            fail(read.error);
    } catch (...) {
        png_destroy_read_struct(&read.png, &read.info, nullptr);
        throw;
    }
    png_destroy_read_struct(&read.png, &read.info, nullptr);
}
