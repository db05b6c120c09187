// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "imaging/byte_reader.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <cstdint>

class ProblemSink;
struct ProblemPlace;

// Reads the pixel size of a JPEG picture from its marker segments, without
// decoding it.
namespace Jpeg {

// Sets height and width to the picture's displayed size: the frame header's
// size, with the two swapped when an Exif orientation of 5 to 8 turns the
// picture a quarter. Both are 0 after any problem, which is then reported to
// problems (Problem::Kind::PictureSize, at place):
//  - the file does not begin with FF D8: "... does not have valid JPEG header";
//  - the walk meets a byte other than FF where a marker should start:
//    "... Expected Flag &HFF - got <hex> in file ...";
//  - the file cannot be opened or read, a segment length is below 2, or the
//    file (or its end-of-image marker) comes before a frame header:
//    "... Problem reading <file>".
// Every read is bounds-checked and the walk only moves forward, so any input
// ends in a size or a message.
void GetSize(const QString& fileName, std::int32_t& height, std::int32_t& width, ProblemSink& problems,
             const ProblemPlace& place);

// The same walk over an open device; fileName only names the file in messages.
void readSize(QIODevice& device, const QString& fileName, std::int32_t& height, std::int32_t& width,
              ProblemSink& problems, const ProblemPlace& place);

// The size GetSize reads (the displayed size), without any message and from
// any thread: false, with both 0, for a file that is not a regular file or
// not a JPEG with a frame header GetSize would find.
bool readSizeQuietly(const QString& fileName, std::int32_t& height, std::int32_t& width);

// True when the stream begins with the start-of-image marker FF D8; the
// reader then stands on the first marker after it. Any JPEG is accepted,
// whatever its first segment (JFIF, Exif or none).
bool checkJfifHeader(ByteReader& reader);

// Reads one byte per byte of expected and compares; false at the first
// difference (later bytes are not read), true when all match.
bool matchBytes(ByteReader& reader, const QByteArray& expected);

// A big-endian 16-bit field, unsigned (0 to 65535).
std::uint16_t readWord(ByteReader& reader);

} // namespace Jpeg
