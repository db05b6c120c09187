// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// TIFF through libtiff's RGBA interface: the first page, in its stored row
// order (the orientation tag is applied afterwards like Exif's, since
// libtiff turns only some orientations itself).
#include "picture_limits.h"
#include "resample_error.h"
#include "format_decoders.h"

#include <algorithm>
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

void readPlainRows(const std::string& path, TIFF* tiff, int width, int height, int orientation,
                   const std::vector<std::uint8_t>& profile, PictureRowFeeder& feeder)
{
    const bool grey = TIFFScanlineSize(tiff) == tmsize_t(width);
    std::unique_ptr<std::uint8_t[]> stored(new std::uint8_t[std::size_t(TIFFScanlineSize(tiff))]);
    std::unique_ptr<std::uint8_t[]> rgb(grey ? new std::uint8_t[std::size_t(width) * 3] : nullptr);
    feeder.begin(width, height, 3, orientation, profile);
    for (int y = 0; y < height; ++y) {
        if (TIFFReadScanline(tiff, stored.get(), std::uint32_t(y), 0) < 0)
            fail(path, "damaged or cut short TIFF data");
        if (!grey) {
            feeder.row(stored.get());
            continue;
        }
        for (int x = 0; x < width; ++x)
            rgb[std::size_t(x) * 3] = rgb[std::size_t(x) * 3 + 1] = rgb[std::size_t(x) * 3 + 2] =
                stored[std::size_t(x)];
        feeder.row(rgb.get());
    }
}

struct RgbaReaderEnd {
    void operator()(TIFFRGBAImage* reader) const { TIFFRGBAImageEnd(reader); }
};

// Rows fetched at a time through the RGBA interface (rounded to whole strips).
constexpr std::uint32_t bandTargetRows = 64;

// 8-bit R, G, B or grey (black is 0) in strips, samples interleaved, nothing
// else: such rows are read as they are stored, as the RGBA interface would
// give them.
bool plainRows(TIFF* tiff)
{
    std::uint16_t bits = 0, samples = 0, photometric = 0, planar = 0, extra = 0;
    std::uint16_t* extraTypes = nullptr;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &extra, &extraTypes);
    if (!TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) || TIFFIsTiled(tiff) || bits != 8
        || planar != PLANARCONFIG_CONTIG || extra != 0)
        return false;
    return (photometric == PHOTOMETRIC_RGB && samples == 3) || (photometric == PHOTOMETRIC_MINISBLACK && samples == 1);
}

} // namespace

void decodeTiff(PictureFile& file, PictureRowFeeder& feeder)
{
    const std::string& path = file.path();
    lastError[0] = '\0';
    TIFFSetErrorHandler(keepError);
    TIFFSetWarningHandler(ignoreWarning);
    const int descriptor = file.newDescriptor();
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

    std::vector<std::uint8_t> profile;
    std::uint32_t profileLength = 0;
    void* profileData = nullptr;
    if (TIFFGetField(tiff.get(), TIFFTAG_ICCPROFILE, &profileLength, &profileData) && profileData != nullptr)
        profile.assign(static_cast<std::uint8_t*>(profileData),
                       static_cast<std::uint8_t*>(profileData) + profileLength);

    char message[1024] = {};
    TIFFRGBAImage reader;
    if (!TIFFRGBAImageOK(tiff.get(), message) || !TIFFRGBAImageBegin(&reader, tiff.get(), 0, message))
        throw UnreadablePictureError("cannot decode " + path + ": " + message);
    std::unique_ptr<TIFFRGBAImage, RgbaReaderEnd> readerEnd(&reader);
    const int orientation = reader.orientation >= 1 && reader.orientation <= 8 ? reader.orientation : 1;
    // Rows in the order they are stored: libtiff turns nothing.
    reader.req_orientation = reader.orientation;
    if (plainRows(tiff.get())) {
        readPlainRows(path, tiff.get(), int(width), int(height), orientation, profile, feeder);
        return;
    }

    // Bands of whole strips (or tiles) through the RGBA interface.
    std::uint32_t bandRows = 0;
    if (!TIFFGetField(tiff.get(), TIFFIsTiled(tiff.get()) ? TIFFTAG_TILELENGTH : TIFFTAG_ROWSPERSTRIP, &bandRows)
        || bandRows == 0 || bandRows > height)
        bandRows = height;
    bandRows *= std::max<std::uint32_t>(1, bandTargetRows / bandRows);
    bandRows = std::min(bandRows, height);
    std::unique_ptr<std::uint32_t[]> raster(new std::uint32_t[std::size_t(width) * bandRows]);
    std::unique_ptr<std::uint8_t[]> row(new std::uint8_t[std::size_t(width) * 4]);
    feeder.begin(int(width), int(height), 4, orientation, profile);
    for (std::uint32_t top = 0; top < height; top += bandRows) {
        const std::uint32_t rows = std::min(bandRows, height - top);
        reader.row_offset = int(top);
        if (!TIFFRGBAImageGet(&reader, raster.get(), width, rows))
            fail(path, "damaged or cut short TIFF data");
        for (std::uint32_t y = 0; y < rows; ++y) {
            const std::uint32_t* in = raster.get() + std::size_t(y) * width;
            std::uint8_t* out = row.get();
            for (std::uint32_t x = 0; x < width; ++x, out += 4) {
                out[0] = std::uint8_t(TIFFGetR(in[x]));
                out[1] = std::uint8_t(TIFFGetG(in[x]));
                out[2] = std::uint8_t(TIFFGetB(in[x]));
                out[3] = std::uint8_t(TIFFGetA(in[x]));
            }
            feeder.row(row.get());
        }
    }
}
