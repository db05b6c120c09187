// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/jpeg_size.h"

#include "platform/problem.h"
#include "base/runtime_error.h"
#include "text/text_files.h"

#include "util/exif_orientation.h"

#include <QFile>

namespace Jpeg {

namespace {

constexpr std::uint8_t MarkerFlag = 0xFF;
constexpr std::uint8_t EndOfImage = 0xD9;
constexpr std::uint8_t App1 = 0xE1;

// Start-of-frame markers of every coding process; C4 (Huffman tables), C8
// (reserved) and CC (arithmetic conditioning) share the range but are not frames.
bool isFrameHeader(std::uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: restart markers and TEM.
bool isStandalone(std::uint8_t marker) { return (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01; }

int exifOrientation(const QByteArray& segmentData)
{
    return util::exifOrientation(reinterpret_cast<const unsigned char*>(segmentData.constData()),
                                 std::size_t(segmentData.size()));
}

void reportSizeProblem(const QString& message, ProblemSink& problems, const ProblemPlace& place)
{
    problems.report(Problem{.kind = Problem::Kind::PictureSize, .place = place, .message = message});
}

void reportProblemReading(const QString& fileName, ProblemSink& problems, const ProblemPlace& place)
{
    reportSizeProblem(QStringLiteral("Jpeg.GetSize - Problem reading ") + fileName, problems, place);
}

// Why a walk found no size; the message each gets is readSize's.
enum class SizeProblem { None, NoJpegHeader, ExpectedFlag, ProblemReading };

// Walks the segments after the start of image. height and width are set only
// on success; got is the byte found where a marker should start.
SizeProblem walkSegments(ByteReader& reader, std::int32_t& height, std::int32_t& width, std::uint8_t& got)
{
    int orientation = 0;
    for (;;) {
        const std::uint8_t flag = reader.readByte();
        if (flag != MarkerFlag) {
            got = flag;
            return SizeProblem::ExpectedFlag;
        }
        std::uint8_t marker = reader.readByte();
        while (marker == MarkerFlag) // fill bytes before the marker
            marker = reader.readByte();

        if (isFrameHeader(marker)) {
            reader.skip(3); // length and sample precision
            const std::int32_t frameHeight = readWord(reader);
            const std::int32_t frameWidth = readWord(reader);
            const bool swap = util::orientationSwapsSides(orientation);
            height = swap ? frameWidth : frameHeight;
            width = swap ? frameHeight : frameWidth;
            return SizeProblem::None;
        }
        if (isStandalone(marker))
            continue;
        // The image ends without a frame: no size can be read, reported like a
        // file that ends early.
        if (marker == EndOfImage)
            Errors::raise(Errors::InputPastEndOfFile);

        const std::uint16_t length = readWord(reader);
        if (length < 2) // would not move past its own length field
            Errors::raise(Errors::InvalidArgument);
        if (marker == App1 && orientation == 0)
            orientation = exifOrientation(reader.readBytes(length - 2));
        else
            reader.skip(length - 2);
    }
}

// The whole read of one device, without a message; sizes 0 unless None.
SizeProblem sizeOf(QIODevice& device, std::int32_t& height, std::int32_t& width, std::uint8_t& got)
{
    height = 0;
    width = 0;
    try {
        ByteReader reader(device);
        if (!checkJfifHeader(reader))
            return SizeProblem::NoJpegHeader;
        return walkSegments(reader, height, width, got);
    } catch (const RuntimeError&) {
        // Every read failure, including the end of the file before a frame
        // header, counts alike.
    }
    height = 0;
    width = 0;
    return SizeProblem::ProblemReading;
}

// A file that can be read as a picture: a FIFO or device would block or never
// end, also one put at the name after it was looked at.
bool openRegularFile(QFile& file) { return TextFiles::openAuthorFile(file.fileName(), file).isEmpty(); }

} // namespace

bool matchBytes(ByteReader& reader, const QByteArray& expected)
{
    for (const char byte : expected) {
        if (reader.readByte() != static_cast<std::uint8_t>(byte))
            return false;
    }
    return true;
}

std::uint16_t readWord(ByteReader& reader)
{
    const std::uint16_t high = reader.readByte();
    const std::uint16_t low = reader.readByte();
    return static_cast<std::uint16_t>(high * 256 + low);
}

bool checkJfifHeader(ByteReader& reader)
{
    try {
        return matchBytes(reader, QByteArrayLiteral("\xFF\xD8"));
    } catch (const RuntimeError& error) {
        // A file of fewer than two bytes does not begin with FF D8 either.
        if (error.number() == Errors::InputPastEndOfFile)
            return false;
        throw;
    }
}

void readSize(QIODevice& device, const QString& fileName, std::int32_t& height, std::int32_t& width,
              ProblemSink& problems, const ProblemPlace& place)
{
    std::uint8_t got = 0;
    switch (sizeOf(device, height, width, got)) {
    case SizeProblem::None:
        return;
    case SizeProblem::NoJpegHeader:
        reportSizeProblem(QStringLiteral("Jpeg.GetSize - File ") + fileName
                              + QStringLiteral(" does not have valid JPEG header"),
                          problems, place);
        return;
    case SizeProblem::ExpectedFlag:
        reportSizeProblem(QStringLiteral("Jpeg.GetSize - Expected Flag &HFF - got ")
                              + QString::number(got, 16).toUpper() + QStringLiteral(" in file ") + fileName,
                          problems, place);
        return;
    case SizeProblem::ProblemReading:
        reportProblemReading(fileName, problems, place);
        return;
    }
}

void GetSize(const QString& fileName, std::int32_t& height, std::int32_t& width, ProblemSink& problems,
             const ProblemPlace& place)
{
    height = 0;
    width = 0;
    QFile file(fileName);
    if (!openRegularFile(file)) {
        reportProblemReading(fileName, problems, place);
        return;
    }
    readSize(file, fileName, height, width, problems, place);
}

bool readSizeQuietly(const QString& fileName, std::int32_t& height, std::int32_t& width)
{
    height = 0;
    width = 0;
    QFile file(fileName);
    std::uint8_t got = 0;
    return openRegularFile(file) && sizeOf(file, height, width, got) == SizeProblem::None;
}

} // namespace Jpeg
