#include "imaging/exif_orientation.h"

#include <cstdint>

namespace Jpeg {

namespace {

constexpr std::uint16_t OrientationTag = 0x0112;
constexpr std::uint16_t ShortType = 3;
constexpr qsizetype ExifSignatureLength = 6; // "Exif" 00 00
constexpr qsizetype TiffHeaderLength = 8;
constexpr qsizetype DirectoryEntryLength = 12;

// Little- or big-endian numbers inside the TIFF part, every access checked.
class TiffView {
public:
    TiffView(const char* data, qsizetype size, bool littleEndian)
        : m_data(reinterpret_cast<const unsigned char*>(data)), m_size(size), m_littleEndian(littleEndian)
    {
    }

    bool contains(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset;
    }

    std::uint32_t number(qint64 offset, int length) const
    {
        std::uint32_t value = 0;
        for (int i = 0; i < length; ++i) {
            const int index = m_littleEndian ? length - 1 - i : i;
            value = (value << 8) | m_data[offset + index];
        }
        return value;
    }

private:
    const unsigned char* m_data;
    qsizetype m_size;
    bool m_littleEndian;
};

} // namespace

int exifOrientation(const QByteArray& segmentData)
{
    if (segmentData.size() < ExifSignatureLength + TiffHeaderLength
        || !segmentData.startsWith(QByteArrayLiteral("Exif\0\0")))
        return 0;
    const char* tiff = segmentData.constData() + ExifSignatureLength;
    const qsizetype tiffSize = segmentData.size() - ExifSignatureLength;

    bool littleEndian = false;
    if (tiff[0] == 'I' && tiff[1] == 'I')
        littleEndian = true;
    else if (!(tiff[0] == 'M' && tiff[1] == 'M'))
        return 0;
    const TiffView view(tiff, tiffSize, littleEndian);
    if (view.number(2, 2) != 42)
        return 0;

    const qint64 directory = view.number(4, 4);
    if (!view.contains(directory, 2))
        return 0;
    const qint64 entryCount = view.number(directory, 2);
    for (qint64 i = 0; i < entryCount; ++i) {
        const qint64 entry = directory + 2 + i * DirectoryEntryLength;
        if (!view.contains(entry, DirectoryEntryLength))
            return 0;
        if (view.number(entry, 2) != OrientationTag)
            continue;
        if (view.number(entry + 2, 2) != ShortType || view.number(entry + 4, 4) < 1)
            return 0;
        // A single short value sits in the first two bytes of the value field.
        const std::uint32_t orientation = view.number(entry + 8, 2);
        return orientation >= 1 && orientation <= 8 ? int(orientation) : 0;
    }
    return 0;
}

bool orientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

} // namespace Jpeg
