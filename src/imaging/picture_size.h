// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "util/picture_format.h"

#include <QIODevice>
#include <QString>
#include <cstdint>

class ProblemSink;
struct ProblemPlace;

// Reads the displayed pixel size of a picture of any accepted format (told by
// its content) from its header, without decoding it: JPEG through
// Jpeg::GetSize, PNG, GIF, WebP, TIFF, BMP from their headers, HEIC and AVIF
// through libheif's reading of the file's boxes.
namespace Pictures {

// The format of the picture the device holds, by its first bytes; the device
// is left where it was.
util::PictureFormat formatOf(QIODevice& device);

// Sets height and width to the picture's displayed size (orientations 5 to 8
// swap them) and format to what the content is. Both are 0 after a problem,
// which is reported to problems (Problem::Kind::PictureSize, at place): a
// JPEG, or a file of no known format named as a JPEG, gets Jpeg::GetSize's
// messages; any other "Pictures.GetSize - Problem reading <file>: <reason>".
void GetSize(const QString& fileName, std::int32_t& height, std::int32_t& width, util::PictureFormat& format,
             ProblemSink& problems, const ProblemPlace& place);

// The size of a picture of format (not JPEG) on an open device, read from its
// start; "" on success, else why not (sizes 0). Any input ends in a size or a
// reason: every read is bounds-checked and every walk moves forward.
QString readSize(QIODevice& device, util::PictureFormat format, std::int32_t& height, std::int32_t& width);

} // namespace Pictures
