#include "platform/file_fingerprint.h"

#include <QFile>
#include <QStringList>
#include <cstring>
#include <ctime>
#include <sys/stat.h>

namespace FileFingerprint {

namespace {

// A four-lane multiply-rotate hash over 32-byte blocks: several bytes per
// cycle, with good spreading of every input bit.
constexpr std::uint64_t Prime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t Prime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t Prime3 = 0x165667B19E3779F9ULL;
constexpr std::uint64_t Prime4 = 0x85EBCA77C2B2AE63ULL;
constexpr std::uint64_t Prime5 = 0x27D4EB2F165667C5ULL;

std::uint64_t rotateLeft(std::uint64_t value, int bits) { return (value << bits) | (value >> (64 - bits)); }

std::uint64_t read64(const unsigned char* p)
{
    std::uint64_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

std::uint32_t read32(const unsigned char* p)
{
    std::uint32_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

std::uint64_t round(std::uint64_t accumulator, std::uint64_t input)
{
    return rotateLeft(accumulator + input * Prime2, 31) * Prime1;
}

std::uint64_t mergeRound(std::uint64_t accumulator, std::uint64_t lane)
{
    return (accumulator ^ round(0, lane)) * Prime1 + Prime4;
}

std::int64_t nanoseconds(const struct timespec& time) { return std::int64_t(time.tv_sec) * 1000000000 + time.tv_nsec; }

} // namespace

std::uint64_t hashBytes(const void* data, std::size_t size)
{
    const auto* p = static_cast<const unsigned char*>(data);
    const unsigned char* const end = p + size;
    std::uint64_t hash;
    if (size >= 32) {
        std::uint64_t lanes[4] = {Prime1 + Prime2, Prime2, 0, 0 - Prime1};
        for (; p + 32 <= end; p += 32)
            for (int i = 0; i < 4; ++i)
                lanes[i] = round(lanes[i], read64(p + 8 * i));
        hash = rotateLeft(lanes[0], 1) + rotateLeft(lanes[1], 7) + rotateLeft(lanes[2], 12) + rotateLeft(lanes[3], 18);
        for (std::uint64_t lane : lanes)
            hash = mergeRound(hash, lane);
    } else {
        hash = Prime5;
    }
    hash += size;
    for (; p + 8 <= end; p += 8)
        hash = rotateLeft(hash ^ round(0, read64(p)), 27) * Prime1 + Prime4;
    if (p + 4 <= end) {
        hash = rotateLeft(hash ^ (std::uint64_t(read32(p)) * Prime1), 23) * Prime2 + Prime3;
        p += 4;
    }
    for (; p < end; ++p)
        hash = rotateLeft(hash ^ (*p * Prime5), 11) * Prime1;
    hash ^= hash >> 33;
    hash *= Prime2;
    hash ^= hash >> 29;
    hash *= Prime3;
    return hash ^ (hash >> 32);
}

std::optional<std::uint64_t> contentHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = file.size();
    if (size == 0)
        return hashBytes("", 0);
    if (uchar* mapped = file.map(0, size)) {
        const std::uint64_t hash = hashBytes(mapped, std::size_t(size));
        file.unmap(mapped);
        return hash;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return hashBytes(bytes.constData(), std::size_t(bytes.size()));
}

Stamp stampOf(const QString& path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    return {std::int64_t(info.st_size), nanoseconds(info.st_mtim), nanoseconds(info.st_ctim),
            std::uint64_t(info.st_ino)};
}

std::int64_t nowNs()
{
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now);
}

QString Stamp::text() const
{
    return QStringLiteral("%1:%2:%3:%4").arg(size).arg(modifiedNs).arg(changedNs).arg(inode);
}

std::optional<Stamp> Stamp::parse(QStringView text)
{
    const QList<QStringView> parts = text.split(u':');
    if (parts.size() != 4)
        return std::nullopt;
    bool ok[4];
    Stamp stamp{parts[0].toLongLong(&ok[0]), parts[1].toLongLong(&ok[1]), parts[2].toLongLong(&ok[2]),
                parts[3].toULongLong(&ok[3])};
    if (!(ok[0] && ok[1] && ok[2] && ok[3]) || stamp.size < 0)
        return std::nullopt;
    return stamp;
}

} // namespace FileFingerprint
