// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg_encoder.h"

#include "util/jpeg_error_guard.h"
#include "resample_error.h"

#include <cerrno>
#include <cstring>

#include <jerror.h>
#include <string>

namespace {

// All libjpeg calls of the encoder; no local objects with destructors.
void encodeGuarded(jpeg_compress_struct& info, const Image& image, std::FILE* file)
{
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = image.channels;
    info.in_color_space = image.channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, copyQuality, TRUE);
    info.dct_method = JDCT_ISLOW;
    info.optimize_coding = TRUE; // still baseline; a smaller file for little time
    jpeg_start_compress(&info, TRUE);

    JSAMPROW rows[16];
    while (info.next_scanline < info.image_height) {
        const JDIMENSION first = info.next_scanline;
        JDIMENSION count = info.image_height - first;
        if (count > 16)
            count = 16;
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = const_cast<JSAMPROW>(image.row(static_cast<int>(first + i)));
        jpeg_write_scanlines(&info, rows, count);
    }
    jpeg_finish_compress(&info);
}

} // namespace

void encodeJpeg(const Image& image, std::FILE* file, const std::string& destinationLabel)
{
    jpeg_compress_struct info;
    std::memset(&info, 0, sizeof info);
    JpegErrorGuard guard;
    info.err = installErrorGuard(guard, false);
    if (setjmp(guard.jump) != 0) {
        const int writeError = errno;
        const bool writeFailed = guard.manager.msg_code == JERR_FILE_WRITE;
        jpeg_destroy_compress(&info);
        if (writeFailed)
            throwWriteError("cannot write " + destinationLabel, writeError);
        throw ResampleError(std::string("cannot encode the copy: ") + guard.message);
    }
    encodeGuarded(info, image, file);
    jpeg_destroy_compress(&info);
}
