// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the header readers of the other picture formats (PNG,
// GIF, WebP, TIFF, BMP, HEIC/AVIF): any bytes must end in a size or a reason,
// never in a crash, an out-of-bounds read or a hang. Its seeds, small real
// pictures of each format, are replayed by ctest.
#include "imaging/picture_size.h"

#include <QBuffer>
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const util::PictureFormat format = Pictures::formatOf(buffer);
    std::int32_t height = -1;
    std::int32_t width = -1;
    const QString reason = Pictures::readSize(buffer, format, height, width);
    // A reason always comes with no size, a size with no reason; no side below 0.
    if (reason.isEmpty() != (height > 0 && width > 0) || height < 0 || width < 0)
        std::abort();
    return 0;
}
