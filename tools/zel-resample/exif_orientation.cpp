#include "exif_orientation.h"

#include <cstring>

namespace {

class TiffReader
{
public:
    TiffReader(const std::uint8_t* data, std::size_t size, bool bigEndian)
        : m_data(data), m_size(size), m_bigEndian(bigEndian)
    {
    }

    bool has(std::size_t offset, std::size_t count) const
    {
        return offset <= m_size && count <= m_size - offset;
    }

    std::uint16_t word(std::size_t offset) const
    {
        const std::uint8_t a = m_data[offset];
        const std::uint8_t b = m_data[offset + 1];
        return m_bigEndian ? static_cast<std::uint16_t>(a << 8 | b) : static_cast<std::uint16_t>(b << 8 | a);
    }

    std::uint32_t longWord(std::size_t offset) const
    {
        const std::uint32_t high = word(offset);
        const std::uint32_t low = word(offset + 2);
        return m_bigEndian ? (high << 16 | low) : (low << 16 | high);
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    bool m_bigEndian;
};

constexpr std::uint16_t orientationTag = 0x0112;
constexpr std::uint16_t typeShort = 3;
constexpr std::size_t entrySize = 12;

} // namespace

int exifOrientation(const std::uint8_t* data, std::size_t size)
{
    static const std::uint8_t exifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (data == nullptr || size < sizeof exifHeader + 8 || std::memcmp(data, exifHeader, sizeof exifHeader) != 0)
        return 1;
    const std::uint8_t* tiff = data + sizeof exifHeader;
    const std::size_t tiffSize = size - sizeof exifHeader;

    bool bigEndian;
    if (tiff[0] == 'M' && tiff[1] == 'M')
        bigEndian = true;
    else if (tiff[0] == 'I' && tiff[1] == 'I')
        bigEndian = false;
    else
        return 1;
    const TiffReader reader(tiff, tiffSize, bigEndian);
    if (reader.word(2) != 42)
        return 1;

    const std::size_t ifd = reader.longWord(4);
    if (!reader.has(ifd, 2))
        return 1;
    const std::size_t entries = reader.word(ifd);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t entry = ifd + 2 + i * entrySize;
        if (!reader.has(entry, entrySize))
            return 1;
        if (reader.word(entry) != orientationTag)
            continue;
        if (reader.word(entry + 2) != typeShort || reader.longWord(entry + 4) < 1)
            return 1;
        const int value = reader.word(entry + 8);
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}
