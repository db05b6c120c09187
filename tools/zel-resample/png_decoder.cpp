// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// PNG through libpng: every bit depth, palette, grey and transparency become
// 8-bit R, G, B, A. libpng reports errors by long jump, so the two guarded
// steps below hold no objects with destructors; the caller owns everything.
#include "picture_limits.h"
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
