// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/exif_segment.h"

#include <utility>

QByteArray exifSegment(int orientation, bool intel)
{
    QByteArray tiff = intel ? "II" : "MM";
    // (value, byte count): TIFF magic, first directory at 8, one entry: tag 0112,
    // type SHORT, count 1, the value left-justified in four bytes; no next directory.
    for (const auto& [value, bytes] :
         {std::pair{42, 2}, {8, 4}, {1, 2}, {0x0112, 2}, {3, 2}, {1, 4}, {orientation, 2}, {0, 2}, {0, 4}})
        for (int i = 0; i < bytes; ++i)
            tiff += char(value >> 8 * (intel ? i : bytes - 1 - i));
    const QByteArray data = QByteArrayLiteral("Exif\0\0") + tiff;
    return QByteArray("\xFF\xE1") + char((data.size() + 2) >> 8) + char(data.size() + 2) + data;
}
