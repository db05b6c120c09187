// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// PNG through libpng: every bit depth, palette, grey and transparency become
// 8-bit R, G, B, A. libpng reports errors by long jump, so the two guarded
// steps below hold no objects with destructors; the caller owns everything.
#include "picture_limits.h"
#include "resample_error.h"
#include "whole_picture_decoders.h"

#include "util/exif_orientation.h"

#include <algorithm>

#include <cstring>
#include <png.h>

namespace {

struct PngRead {
    const std::string* bytes = nullptr;
    std::size_t position = 0;
    char error[200] = {};
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
};

void readBytes(png_structp png, png_bytep out, png_size_t length)
{
    auto* read = static_cast<PngRead*>(png_get_io_ptr(png));
    if (length > read->bytes->size() - read->position)
        png_error(png, "the file is cut short");
    std::memcpy(out, read->bytes->data() + read->position, length);
    read->position += length;
}

void failed(png_structp png, png_const_charp message)
{
    auto* read = static_cast<PngRead*>(png_get_error_ptr(png));
    std::strncpy(read->error, message, sizeof read->error - 1);
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

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

bool readPixels(PngRead& read, Image& image, std::vector<png_bytep>& rows)
{
    if (setjmp(png_jmpbuf(read.png)))
        return false;
    png_set_expand(read.png);
    png_set_scale_16(read.png);
    png_set_gray_to_rgb(read.png);
    png_set_filler(read.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(read.png);
    png_read_update_info(read.png, read.info);
    if (png_get_rowbytes(read.png, read.info) != image.rowBytes())
        png_error(read.png, "unexpected row size");
    png_read_image(read.png, rows.data());
    return true;
}

} // namespace

WholePicture decodePng(const std::string& path, const std::string& bytes)
{
    PngRead read;
    read.bytes = &bytes;
    read.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &read, failed, ignoreWarning);
    read.info = read.png ? png_create_info_struct(read.png) : nullptr;
    if (read.info == nullptr) {
        png_destroy_read_struct(&read.png, nullptr, nullptr);
        throw UnreadablePictureError("cannot decode " + path + ": out of memory");
    }
    WholePicture picture;
    std::vector<png_bytep> rows;
    const auto fail = [&](const std::string& reason) {
        png_destroy_read_struct(&read.png, &read.info, nullptr);
        throw UnreadablePictureError("cannot decode " + path + ": " + reason);
    };
    if (!readHeader(read, picture.profile, picture.orientation))
        fail(read.error);
    try {
        refuseOversizedPicture(path.c_str(), read.width, read.height);
        picture.pixels = Image(int(read.width), int(read.height), 4);
        rows.resize(read.height);
        for (png_uint_32 y = 0; y < read.height; ++y)
            rows[y] = picture.pixels.row(int(y));
    } catch (...) {
        png_destroy_read_struct(&read.png, &read.info, nullptr);
        throw;
    }
    if (!readPixels(read, picture.pixels, rows))
        fail(read.error);
    png_destroy_read_struct(&read.png, &read.info, nullptr);
    return picture;
}
