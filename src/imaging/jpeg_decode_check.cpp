// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/jpeg_decode_check.h"

#include "fileio/regular_file.h"
#include "util/jpeg_error_guard.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Jpeg {

namespace {

// The file opened for reading when it is a regular file; otherwise nullptr
// and reason says why.
std::FILE* openRegularFile(const QString& path, QString& reason)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = QString::fromStdString(fileio::fileKindProblem(info.st_mode));
        ::close(descriptor);
        return nullptr;
    }
    std::FILE* file = ::fdopen(descriptor, "rb");
    if (!file) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        ::close(descriptor);
    }
    return file;
}

// Every libjpeg call of the check; no objects with destructors, as an error
// long-jumps out of it.
void decodeGuarded(jpeg_decompress_struct& info, std::FILE* file)
{
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    // Only the DC coefficient of each block is transformed; grey skips the
    // colour components' transforms and conversion (they are still decoded).
    info.scale_num = 1;
    info.scale_denom = 8;
    info.dct_method = JDCT_IFAST;
    info.do_fancy_upsampling = FALSE;
    info.do_block_smoothing = FALSE;
    if (info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB)
        info.out_color_space = JCS_GRAYSCALE;
    jpeg_start_decompress(&info);
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               info.output_width * JDIMENSION(info.output_components), 1);
    while (info.output_scanline < info.output_height)
        jpeg_read_scanlines(&info, row, 1);
    // Reads on to the end-of-image marker: a file that ends before it is cut short.
    jpeg_finish_decompress(&info);
}

} // namespace

QString decodeProblem(const QString& path)
{
    QString reason;
    std::FILE* file = openRegularFile(path, reason);
    if (!file)
        return reason;
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof info);
    JpegErrorGuard guard;
    info.err = installErrorGuard(guard, true);
    if (setjmp(guard.jump) != 0) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        return QString::fromLocal8Bit(guard.message);
    }
    decodeGuarded(info, file);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return {};
}

} // namespace Jpeg
