// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg_decoder.h"

#include "colour_conversion.h"
#include "util/jpeg_error_guard.h"
#include "orientation.h"
#include "picture_limits.h"
#include "resample_error.h"
#include "util/exif_orientation.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <jerror.h>

namespace {

// Ceiling for libjpeg's own buffers (a progressive file keeps all coefficients).
constexpr long maximumLibjpegMemory = 1'500'000'000L;
// Every scan of a progressive picture passes over the whole picture, so a file
// of thousands of tiny scans takes minutes to decode. Camera and web pictures
// have about ten.
constexpr int maximumScanCount = 1000;
// Rows fetched from libjpeg per call.
constexpr int batchRows = 16;

int orientationFromMarkers(const jpeg_decompress_struct& info)
{
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1) {
            // 0 (no orientation) and 1 (upright) both let a later segment decide.
            const int orientation = util::exifOrientation(marker->data, marker->data_length);
            if (orientation > 1)
                return orientation;
        }
    }
    return 1;
}

// Picks scale_num/8 as described in the header; falls back to 8/8 (full size).
void chooseDecodeScale(jpeg_decompress_struct& info, int targetWidth, int targetHeight)
{
    info.scale_denom = 8;
    for (unsigned int numerator = 1; numerator <= 8; ++numerator) {
        info.scale_num = numerator;
        jpeg_calc_output_dimensions(&info);
        if (2ULL * info.output_width >= 3ULL * static_cast<unsigned>(targetWidth)
            && 2ULL * info.output_height >= 3ULL * static_cast<unsigned>(targetHeight))
            return;
    }
}

J_COLOR_SPACE outputSpaceFor(const jpeg_decompress_struct& info)
{
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        return JCS_GRAYSCALE;
    case JCS_CMYK:
    case JCS_YCCK:
        return JCS_CMYK;
    default:
        return JCS_RGB;
    }
}

// CMYK as stored in the file to RGB, in place (4 samples in, 3 out). Adobe
// applications write the inks inverted (0 = full ink) and mark such files with
// their APP14 segment.
void rgbFromCmyk(std::uint8_t* pixels, JDIMENSION width, bool inverted)
{
    const std::uint8_t* in = pixels;
    std::uint8_t* out = pixels;
    for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
        unsigned c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[0] = static_cast<std::uint8_t>((c * k + 127) / 255);
        out[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        out[2] = static_cast<std::uint8_t>((y * k + 127) / 255);
    }
}

// libjpeg calls this often while it reads the picture; input_scan_number
// counts the scans started so far.
void refuseTooManyScans(j_common_ptr common)
{
    const auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number <= maximumScanCount)
        return;
    char reason[JMSG_LENGTH_MAX];
    std::snprintf(reason, sizeof reason, "more than %d scans, refused as too slow to decode", maximumScanCount);
    failGuarded(common, reason);
}

void refuseTooManyPixels(jpeg_decompress_struct& info)
{
    const unsigned long long limit = maximumPicturePixels();
    if (static_cast<unsigned long long>(info.image_width) * info.image_height <= limit)
        return;
    char reason[JMSG_LENGTH_MAX];
    std::snprintf(reason, sizeof reason, "%u x %u pixels is too large (more than %llu pixels)", info.image_width,
                  info.image_height, limit);
    failGuarded(reinterpret_cast<j_common_ptr>(&info), reason);
}

// The embedded ICC profile, if any, into profile (libjpeg hands it out with malloc).
void readProfile(jpeg_decompress_struct& info, std::vector<std::uint8_t>& profile)
{
    JOCTET* data = nullptr;
    unsigned int length = 0;
    if (!jpeg_read_icc_profile(&info, &data, &length))
        return;
    profile.assign(data, data + length);
    std::free(data);
}

// Everything that touches libjpeg during decoding. Holds no local objects with
// destructors: an error long-jumps straight out of it. batch, profile and
// colour are owned by the caller.
void decodeGuarded(jpeg_decompress_struct& info, jpeg_progress_mgr& progress, std::FILE* file, int uprightWidth,
                   int uprightHeight, DecodedRowSink& sink, std::vector<std::uint8_t>& batch,
                   std::vector<std::uint8_t>& profile, ColourConversion& colour)
{
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = maximumLibjpegMemory;
    progress.progress_monitor = refuseTooManyScans;
    info.progress = &progress;
    jpeg_stdio_src(&info, file);
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    refuseTooManyPixels(info);
    readProfile(info, profile);

    const int orientation = orientationFromMarkers(info);
    const bool swap = util::orientationSwapsSides(orientation);
    info.out_color_space = outputSpaceFor(info);
    info.dct_method = JDCT_ISLOW;
    chooseDecodeScale(info, swap ? uprightHeight : uprightWidth, swap ? uprightWidth : uprightHeight);

    jpeg_start_decompress(&info);
    const bool cmyk = info.out_color_space == JCS_CMYK;
    const bool inverted = info.saw_Adobe_marker;
    // Only pictures with a profile pay for the conversion; grey stays grey.
    if (info.out_color_space != JCS_GRAYSCALE)
        colour.prepare(profile, !cmyk      ? ColourConversion::Input::Rgb
                                : inverted ? ColourConversion::Input::InvertedCmyk
                                           : ColourConversion::Input::Cmyk);
    const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) * info.output_components;
    // One more row: the converted row is written there.
    batch.resize(rowBytes * (batchRows + 1));
    std::uint8_t* converted = batch.data() + rowBytes * batchRows;
    sink.begin(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
               cmyk ? 3 : info.output_components, orientation);

    JSAMPROW rows[batchRows];
    for (int i = 0; i < batchRows; ++i)
        rows[i] = batch.data() + rowBytes * i;
    while (info.output_scanline < info.output_height) {
        const JDIMENSION got = jpeg_read_scanlines(&info, rows, batchRows);
        for (JDIMENSION i = 0; i < got; ++i) {
            if (colour.active()) {
                colour.convert(rows[i], converted, info.output_width);
                sink.row(converted);
                continue;
            }
            if (cmyk)
                rgbFromCmyk(rows[i], info.output_width, inverted);
            sink.row(rows[i]);
        }
    }
    jpeg_finish_decompress(&info);
}

} // namespace

void decodeJpegForCopy(const std::string& path, std::FILE* file, int uprightWidth, int uprightHeight,
                       DecodedRowSink& sink)
{

    std::vector<std::uint8_t> batch;
    std::vector<std::uint8_t> profile;
    ColourConversion colour;
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof info);
    jpeg_progress_mgr progress;
    std::memset(&progress, 0, sizeof progress);
    JpegErrorGuard guard;
    info.err = installErrorGuard(guard, true);

    if (setjmp(guard.jump) != 0) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        const int code = guard.manager.msg_code;
        if (code == JERR_NO_BACKING_STORE || code == JERR_OUT_OF_MEMORY)
            throw UnreadablePictureError("cannot decode " + path + ": picture too large for the memory allowed");
        throw UnreadablePictureError("cannot decode " + path + ": " + guard.message);
    }
    try {
        decodeGuarded(info, progress, file, uprightWidth, uprightHeight, sink, batch, profile, colour);
    } catch (...) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        throw;
    }
    jpeg_destroy_decompress(&info);
    std::fclose(file);
}
