#include "jpeg_decoder.h"

#include "exif_orientation.h"
#include "jpeg_error_guard.h"
#include "orientation.h"
#include "resample_error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Largest decoded picture we agree to hold in memory, in bytes.
constexpr unsigned long long maximumDecodedBytes = 1'000'000'000ULL;
// Ceiling for libjpeg's own buffers (a progressive file keeps all coefficients).
constexpr long maximumLibjpegMemory = 1'500'000'000L;

int orientationFromMarkers(const jpeg_decompress_struct& info)
{
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1) {
            const int orientation = exifOrientation(marker->data, marker->data_length);
            if (orientation != 1)
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
    case JCS_GRAYSCALE: return JCS_GRAYSCALE;
    case JCS_CMYK:
    case JCS_YCCK: return JCS_CMYK;
    default: return JCS_RGB;
    }
}

// Everything that touches libjpeg during decoding. Holds no local objects with
// destructors: an error long-jumps straight out of it.
void decodeGuarded(jpeg_decompress_struct& info, std::FILE* file, int uprightWidth, int uprightHeight,
                   DecodedPicture& result, bool& inverted)
{
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = maximumLibjpegMemory;
    jpeg_stdio_src(&info, file);
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&info, TRUE);

    result.orientation = orientationFromMarkers(info);
    const bool swap = orientationSwapsSides(result.orientation);
    info.out_color_space = outputSpaceFor(info);
    info.dct_method = JDCT_ISLOW;
    chooseDecodeScale(info, swap ? uprightHeight : uprightWidth, swap ? uprightWidth : uprightHeight);

    jpeg_start_decompress(&info);
    const unsigned long long bytes = 1ULL * info.output_width * info.output_height * info.output_components;
    if (bytes > maximumDecodedBytes) {
        std::snprintf(reinterpret_cast<JpegErrorGuard*>(info.err)->message, JMSG_LENGTH_MAX,
                      "picture too large (%ux%u)", info.output_width, info.output_height);
        std::longjmp(reinterpret_cast<JpegErrorGuard*>(info.err)->jump, 1);
    }
    inverted = info.saw_Adobe_marker;
    result.image = Image(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                         info.output_components);

    JSAMPROW rows[16];
    while (info.output_scanline < info.output_height) {
        const JDIMENSION first = info.output_scanline;
        JDIMENSION count = info.output_height - first;
        if (count > 16)
            count = 16;
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = result.image.row(static_cast<int>(first + i));
        jpeg_read_scanlines(&info, rows, count);
    }
    jpeg_finish_decompress(&info);
}

// CMYK as stored in the file to RGB. Adobe applications write the inks
// inverted (0 = full ink) and mark such files with their APP14 segment.
Image rgbFromCmyk(const Image& cmyk, bool inverted)
{
    Image rgb(cmyk.width, cmyk.height, 3);
    const std::size_t pixels = static_cast<std::size_t>(cmyk.width) * cmyk.height;
    const std::uint8_t* in = cmyk.pixels.data();
    std::uint8_t* out = rgb.pixels.data();
    for (std::size_t i = 0; i < pixels; ++i, in += 4, out += 3) {
        unsigned c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c; m = 255 - m; y = 255 - y; k = 255 - k;
        }
        out[0] = static_cast<std::uint8_t>((c * k + 127) / 255);
        out[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        out[2] = static_cast<std::uint8_t>((y * k + 127) / 255);
    }
    return rgb;
}

} // namespace

DecodedPicture decodeJpegForCopy(const std::string& path, int uprightWidth, int uprightHeight)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        throw ResampleError("cannot open " + path + ": " + std::strerror(errno));

    DecodedPicture result;
    bool inverted = false;
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof info);
    JpegErrorGuard guard;
    info.err = installErrorGuard(guard, true);

    if (setjmp(guard.jump) != 0) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        throw ResampleError("cannot decode " + path + ": " + guard.message);
    }
    decodeGuarded(info, file, uprightWidth, uprightHeight, result, inverted);
    jpeg_destroy_decompress(&info);
    std::fclose(file);

    if (result.image.channels == 4)
        result.image = rgbFromCmyk(result.image, inverted);
    return result;
}
