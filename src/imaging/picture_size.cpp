// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/picture_size.h"

#include "imaging/jpeg_size.h"
#include "platform/problem.h"
#include "text/text_files.h"

#include "util/exif_orientation.h"
#include "util/heif_library.h"

#include <QFile>
#include <QFileInfo>
#include <QSize>
#include <memory>

namespace Pictures {

namespace {

// A header field that is not where it must be.
struct Unreadable {
    QString reason;
};

// Reads at absolute offsets, each read checked against the device's end.
class Header {
public:
    explicit Header(QIODevice& device) : m_device(device) {}

    QByteArray at(qint64 offset, qint64 length) const
    {
        if (offset < 0 || length < 0 || !m_device.seek(offset))
            throw Unreadable{QStringLiteral("the file is cut short")};
        const QByteArray bytes = m_device.read(length);
        if (bytes.size() != length)
            throw Unreadable{QStringLiteral("the file is cut short")};
        return bytes;
    }
    std::uint32_t little(qint64 offset, int length) const { return number(at(offset, length), true); }
    std::uint32_t big(qint64 offset, int length) const { return number(at(offset, length), false); }
    qint64 size() const { return m_device.size(); }

    static std::uint32_t number(const QByteArray& bytes, bool littleEndian)
    {
        std::uint32_t value = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const qsizetype index = littleEndian ? bytes.size() - 1 - i : i;
            value = value << 8 | std::uint8_t(bytes[index]);
        }
        return value;
    }

private:
    QIODevice& m_device;
};

int embeddedOrientation(const QByteArray& exif)
{
    return util::embeddedExifOrientation(reinterpret_cast<const unsigned char*>(exif.constData()),
                                         std::size_t(exif.size()));
}

// Chunks up to the first picture data, for an Exif orientation.
QSize pngSize(const Header& header, int& orientation)
{
    if (header.at(12, 4) != "IHDR")
        throw Unreadable{QStringLiteral("the PNG has no header chunk")};
    const QSize size(int(header.big(16, 4)), int(header.big(20, 4)));
    for (qint64 chunk = 33; chunk + 8 <= header.size();) {
        const qint64 length = header.big(chunk, 4);
        const QByteArray type = header.at(chunk + 4, 4);
        if (type == "IDAT" || type == "IEND")
            break;
        if (type == "eXIf") {
            orientation = embeddedOrientation(header.at(chunk + 8, length));
            break;
        }
        chunk += 12 + length;
    }
    return size;
}

// The canvas of VP8X, or the frame of a simple lossy or lossless file.
QSize webpSize(const Header& header, int& orientation)
{
    QSize size;
    const qint64 end = qMin<qint64>(header.size(), qint64(header.little(4, 4)) + 8);
    for (qint64 chunk = 12; chunk + 8 <= end;) {
        const QByteArray type = header.at(chunk, 4);
        const qint64 length = header.little(chunk + 4, 4);
        const qint64 data = chunk + 8;
        if (type == "VP8X") {
            size = QSize(int(header.little(data + 4, 3)) + 1, int(header.little(data + 7, 3)) + 1);
        } else if (type == "VP8 " && size.isEmpty()) {
            if (header.at(data + 3, 3) != QByteArrayLiteral("\x9d\x01\x2a"))
                throw Unreadable{QStringLiteral("damaged WebP frame")};
            size = QSize(int(header.little(data + 6, 2) & 0x3FFF), int(header.little(data + 8, 2) & 0x3FFF));
        } else if (type == "VP8L" && size.isEmpty()) {
            if (header.at(data, 1) != QByteArrayLiteral("\x2f"))
                throw Unreadable{QStringLiteral("damaged WebP frame")};
            const std::uint32_t bits = header.little(data + 1, 4);
            size = QSize(int(bits & 0x3FFF) + 1, int((bits >> 14) & 0x3FFF) + 1);
        } else if (type == "EXIF") {
            orientation = embeddedOrientation(header.at(data, length));
        }
        chunk = data + length + (length & 1);
    }
    if (size.isEmpty())
        throw Unreadable{QStringLiteral("the WebP holds no picture")};
    return size;
}

// Width, length and orientation of the first directory.
QSize tiffSize(const Header& header, int& orientation)
{
    const bool little = header.at(0, 2) == "II";
    const auto number = [&](qint64 offset, int length) {
        return little ? header.little(offset, length) : header.big(offset, length);
    };
    const qint64 directory = number(4, 4);
    const qint64 count = number(directory, 2);
    QSize size;
    for (qint64 i = 0; i < count; ++i) {
        const qint64 entry = directory + 2 + i * 12;
        const std::uint32_t tag = number(entry, 2);
        const std::uint32_t type = number(entry + 2, 2);
        const std::uint32_t value = type == 3 ? number(entry + 8, 2) : number(entry + 8, 4);
        if (tag == 256)
            size.setWidth(int(value));
        else if (tag == 257)
            size.setHeight(int(value));
        else if (tag == 274)
            orientation = value >= 1 && value <= 8 ? int(value) : 1;
    }
    return size;
}

QSize bmpSize(const Header& header)
{
    if (header.little(14, 4) == 12)
        return QSize(int(header.little(18, 2)), int(std::int16_t(header.little(20, 2))));
    const auto height = std::int32_t(header.little(22, 4));
    return QSize(int(std::int32_t(header.little(18, 4))), height < 0 ? -height : height);
}

// libheif reads the boxes it needs through the device, never the picture data.
struct DeviceReader {
    static std::int64_t position(void* device) { return static_cast<QIODevice*>(device)->pos(); }
    static int read(void* data, std::size_t size, void* device)
    {
        return static_cast<QIODevice*>(device)->read(static_cast<char*>(data), qint64(size)) == qint64(size) ? 0 : 1;
    }
    static int seek(std::int64_t position, void* device)
    {
        return static_cast<QIODevice*>(device)->seek(position) ? 0 : 1;
    }
    static heif_reader_grow_status waitForSize(std::int64_t size, void* device)
    {
        return size <= static_cast<QIODevice*>(device)->size() ? heif_reader_grow_status_size_reached
                                                               : heif_reader_grow_status_size_beyond_eof;
    }
};

QSize heifSize(QIODevice& device)
{
    std::string reason;
    const util::HeifLibrary* heif = util::heifLibrary(&reason);
    if (heif == nullptr)
        throw Unreadable{QString::fromStdString(reason)};
    static heif_reader reader{1, DeviceReader::position, DeviceReader::read, DeviceReader::seek,
                              DeviceReader::waitForSize};
    std::unique_ptr<heif_context, void (*)(heif_context*)> context(heif->contextAlloc(), heif->contextFree);
    device.seek(0);
    heif_error error = heif->contextReadFromReader(context.get(), &reader, &device, nullptr);
    heif_image_handle* handle = nullptr;
    if (error.code == heif_error_Ok)
        error = heif->contextGetPrimaryImageHandle(context.get(), &handle);
    if (error.code != heif_error_Ok)
        throw Unreadable{QString::fromUtf8(error.message)};
    // libheif gives the size with rotation and crop applied.
    const QSize size(heif->imageHandleGetWidth(handle), heif->imageHandleGetHeight(handle));
    heif->imageHandleRelease(handle);
    return size;
}

} // namespace

util::PictureFormat formatOf(QIODevice& device)
{
    const QByteArray head = device.peek(qint64(util::pictureSniffLength));
    return util::sniffPictureFormat(reinterpret_cast<const unsigned char*>(head.constData()), std::size_t(head.size()));
}

QString readSize(QIODevice& device, util::PictureFormat format, std::int32_t& height, std::int32_t& width)
{
    height = 0;
    width = 0;
    try {
        const Header header(device);
        int orientation = 1;
        QSize size;
        switch (format) {
        case util::PictureFormat::Png:
            size = pngSize(header, orientation);
            break;
        case util::PictureFormat::Gif:
            size = QSize(int(header.little(6, 2)), int(header.little(8, 2)));
            break;
        case util::PictureFormat::WebP:
            size = webpSize(header, orientation);
            break;
        case util::PictureFormat::Tiff:
            size = tiffSize(header, orientation);
            break;
        case util::PictureFormat::Bmp:
            size = bmpSize(header);
            break;
        case util::PictureFormat::Heif:
            size = heifSize(device);
            break;
        case util::PictureFormat::Jpeg:
        case util::PictureFormat::Unknown:
            return QStringLiteral("not a picture of a known kind (JPEG, PNG, GIF, WebP, HEIC, AVIF, TIFF or BMP)");
        }
        if (size.width() < 1 || size.height() < 1)
            return QStringLiteral("the picture declares no pixels");
        const bool swap = util::orientationSwapsSides(orientation);
        height = swap ? size.width() : size.height();
        width = swap ? size.height() : size.width();
        return {};
    } catch (const Unreadable& problem) {
        return problem.reason.isEmpty() ? QStringLiteral("damaged picture") : problem.reason;
    }
}

void GetSize(const QString& fileName, std::int32_t& height, std::int32_t& width, util::PictureFormat& format,
             ProblemSink& problems, const ProblemPlace& place)
{
    height = 0;
    width = 0;
    format = util::PictureFormat::Unknown;
    QFile file(fileName);
    const QString openProblem = TextFiles::openAuthorFile(fileName, file);
    if (openProblem.isEmpty())
        format = formatOf(file);
    // JPEG's own messages for what is, or is named as, a JPEG.
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const bool namedJpeg = suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
    if (!openProblem.isEmpty() || format == util::PictureFormat::Jpeg
        || (format == util::PictureFormat::Unknown && namedJpeg)) {
        file.close();
        Jpeg::GetSize(fileName, height, width, problems, place);
        return;
    }
    const QString reason = readSize(file, format, height, width);
    if (!reason.isEmpty())
        problems.report(Problem{.kind = Problem::Kind::PictureSize,
                                .place = place,
                                .message = QStringLiteral("Pictures.GetSize - Problem reading ") + fileName
                                           + QStringLiteral(": ") + reason});
}

} // namespace Pictures
