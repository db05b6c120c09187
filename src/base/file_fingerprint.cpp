// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/file_fingerprint.h"

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

namespace {

// hashBytes over bytes that come in pieces: whole 32-byte blocks go through
// the lanes as they come, the last partial block is kept for finish().
class StreamHash {
public:
    void add(const unsigned char* p, std::size_t size)
    {
        m_size += size;
        if (m_pending > 0) {
            const std::size_t take = std::min(size, sizeof m_block - m_pending);
            std::memcpy(m_block + m_pending, p, take);
            m_pending += take;
            p += take;
            size -= take;
            if (m_pending < sizeof m_block)
                return;
            addBlock(m_block);
            m_pending = 0;
        }
        for (; size >= sizeof m_block; p += sizeof m_block, size -= sizeof m_block)
            addBlock(p);
        std::memcpy(m_block, p, size);
        m_pending = size;
    }

    std::uint64_t finish() const
    {
        std::uint64_t hash;
        if (m_size >= 32) {
            hash = rotateLeft(m_lanes[0], 1) + rotateLeft(m_lanes[1], 7) + rotateLeft(m_lanes[2], 12)
                   + rotateLeft(m_lanes[3], 18);
            for (std::uint64_t lane : m_lanes)
                hash = mergeRound(hash, lane);
        } else {
            hash = Prime5;
        }
        hash += m_size;
        const unsigned char* p = m_block;
        const unsigned char* const end = m_block + m_pending;
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

private:
    void addBlock(const unsigned char* p)
    {
        for (int i = 0; i < 4; ++i)
            m_lanes[i] = round(m_lanes[i], read64(p + 8 * i));
    }

    std::uint64_t m_lanes[4] = {Prime1 + Prime2, Prime2, 0, 0 - Prime1};
    std::uint64_t m_size = 0;
    unsigned char m_block[32] = {};
    std::size_t m_pending = 0;
};

// Read in pieces of this size: memory stays small for any picture.
constexpr std::size_t ReadSize = 1024 * 1024;

Stamp stampOf(const struct stat& info)
{
    return {std::int64_t(info.st_size), nanoseconds(info.st_mtim), nanoseconds(info.st_ctim),
            std::uint64_t(info.st_ino)};
}

} // namespace

std::uint64_t hashBytes(const void* data, std::size_t size)
{
    StreamHash hash;
    hash.add(static_cast<const unsigned char*>(data), size);
    return hash.finish();
}

ContentHash contentHash(const QString& path, const fileio::FailureHook* faults)
{
    const std::string name = QFile::encodeName(path).toStdString();
    const int descriptor = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0)
        return {};
    ContentHash result;
    struct stat before {};
    if (::fstat(descriptor, &before) == 0 && S_ISREG(before.st_mode)) {
        // Ordinary reads, never a mapping: a file cut short meanwhile gives
        // a short read, where a mapped page past its new end would kill the
        // program.
        std::vector<unsigned char> buffer(std::size_t(std::min<std::int64_t>(before.st_size, ReadSize)) + 1);
        StreamHash hash;
        std::int64_t total = 0;
        bool failed = false;
        for (;;) {
            if (faults && *faults) {
                if (const int error = (*faults)("read", name)) {
                    errno = error;
                    failed = true;
                    break;
                }
            }
            const ssize_t got = ::read(descriptor, buffer.data(), buffer.size());
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                failed = got < 0;
                break;
            }
            hash.add(buffer.data(), std::size_t(got));
            total += got;
            // Grown since it was opened: changed, however long it keeps growing.
            if (total > before.st_size)
                break;
        }
        struct stat after {};
        if (failed || ::fstat(descriptor, &after) != 0)
            result.outcome = ContentHash::Unreadable;
        else if (total != before.st_size || stampOf(after) != stampOf(before))
            result.outcome = ContentHash::ChangedWhileRead;
        else
            result = {ContentHash::Read, hash.finish(), stampOf(before)};
    }
    ::close(descriptor);
    return result;
}

Stamp stampOf(const QString& path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    return stampOf(info);
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
