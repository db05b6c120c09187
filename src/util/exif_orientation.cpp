// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/exif_orientation.h"

#include <cstdint>
#include <cstring>

namespace util {

namespace {

constexpr std::uint16_t OrientationTag = 0x0112;
constexpr std::uint16_t ShortType = 3;
constexpr unsigned char ExifSignature[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr std::size_t TiffHeaderLength = 8;
constexpr std::size_t DirectoryEntryLength = 12;

// Little- or big-endian numbers inside the TIFF part, every access checked
// by the caller through contains().
class TiffView {
public:
    TiffView(const unsigned char* data, std::size_t size, bool littleEndian)
        : m_data(data), m_size(size), m_littleEndian(littleEndian)
    {}

    bool contains(std::uint64_t offset, std::uint64_t length) const
    {
        return offset <= m_size && length <= m_size - offset;
    }

    std::uint32_t number(std::uint64_t offset, int length) const
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
    std::size_t m_size;
    bool m_littleEndian;
};

} // namespace

int exifOrientation(const unsigned char* data, std::size_t size)
{
    if (data == nullptr || size < sizeof ExifSignature + TiffHeaderLength
        || std::memcmp(data, ExifSignature, sizeof ExifSignature) != 0)
        return 0;
    return tiffOrientation(data + sizeof ExifSignature, size - sizeof ExifSignature);
}

int embeddedExifOrientation(const unsigned char* data, std::size_t size)
{
    const int orientation = exifOrientation(data, size);
    return orientation != 0 ? orientation : tiffOrientation(data, size);
}

int tiffOrientation(const unsigned char* tiff, std::size_t tiffSize)
{
    if (tiff == nullptr || tiffSize < TiffHeaderLength)
        return 0;
    bool littleEndian = false;
    if (tiff[0] == 'I' && tiff[1] == 'I')
        littleEndian = true;
    else if (!(tiff[0] == 'M' && tiff[1] == 'M'))
        return 0;
    const TiffView view(tiff, tiffSize, littleEndian);
    if (view.number(2, 2) != 42)
        return 0;

    const std::uint64_t directory = view.number(4, 4);
    if (!view.contains(directory, 2))
        return 0;
    const std::uint64_t entryCount = view.number(directory, 2);
    for (std::uint64_t i = 0; i < entryCount; ++i) {
        const std::uint64_t entry = directory + 2 + i * DirectoryEntryLength;
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

} // namespace util
