// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TIFF through libtiff's RGBA interface: the first page, in its stored row
// order (the orientation tag is applied afterwards like Exif's, since
// libtiff turns only some orientations itself).
#include "picture_limits.h"
#include "resample_error.h"
#include "whole_picture_decoders.h"

#include "fileio/regular_file.h"

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <tiffio.h>
#include <unistd.h>

namespace {

// libtiff reports through process-wide handlers; this tool decodes one
// picture at a time.
char lastError[256];

void keepError(const char*, const char* format, va_list arguments)
{
    std::vsnprintf(lastError, sizeof lastError, format, arguments);
}

void ignoreWarning(const char*, const char*, va_list) {}

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

[[noreturn]] void fail(const std::string& path, const char* fallback)
{
    throw UnreadablePictureError("cannot decode " + path + ": " + (lastError[0] ? lastError : fallback));
}

} // namespace

WholePicture decodeTiff(const std::string& path)
{
    lastError[0] = '\0';
    TIFFSetErrorHandler(keepError);
    TIFFSetWarningHandler(ignoreWarning);
    std::string reason;
    const int descriptor = fileio::openRegularFile(path, maximumPictureFileSize, reason);
    if (descriptor < 0)
        throw UnreadablePictureError("cannot open " + path + ": " + reason);
    std::unique_ptr<TIFF, TiffCloser> tiff(TIFFFdOpen(descriptor, path.c_str(), "rm"));
    if (!tiff) {
        ::close(descriptor);
        fail(path, "damaged TIFF data");
    }
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height);
    refuseOversizedPicture(path.c_str(), width, height);

    WholePicture picture;
    std::uint32_t profileLength = 0;
    void* profile = nullptr;
    if (TIFFGetField(tiff.get(), TIFFTAG_ICCPROFILE, &profileLength, &profile) && profile != nullptr)
        picture.profile.assign(static_cast<std::uint8_t*>(profile),
                               static_cast<std::uint8_t*>(profile) + profileLength);

    char message[1024] = {};
    TIFFRGBAImage reader;
    if (!TIFFRGBAImageOK(tiff.get(), message) || !TIFFRGBAImageBegin(&reader, tiff.get(), 0, message))
        throw UnreadablePictureError("cannot decode " + path + ": " + message);
    const int orientation = reader.orientation;
    reader.req_orientation = reader.orientation;
    std::vector<std::uint32_t> raster(std::size_t(width) * std::size_t(height));
    const int got = TIFFRGBAImageGet(&reader, raster.data(), width, height);
    TIFFRGBAImageEnd(&reader);
    if (!got)
        fail(path, "damaged or cut short TIFF data");
    picture.orientation = orientation >= 1 && orientation <= 8 ? orientation : 1;
    picture.pixels = Image(int(width), int(height), 4);
    std::uint8_t* out = picture.pixels.pixels.data();
    for (const std::uint32_t pixel : raster) {
        *out++ = std::uint8_t(TIFFGetR(pixel));
        *out++ = std::uint8_t(TIFFGetG(pixel));
        *out++ = std::uint8_t(TIFFGetB(pixel));
        *out++ = std::uint8_t(TIFFGetA(pixel));
    }
    return picture;
}
