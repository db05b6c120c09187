// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// What tells whether a file changed: its stamp (size, modification and status
// change times in nanoseconds, inode), cheap to read, and a 64-bit hash of its
// whole content, cheap next to decoding a picture. Any write to a file changes
// its status change time, which no program can set back, so an equal stamp
// means equal content unless the file changed within the time stamps'
// granularity; callers trust a stamp only when it is clearly older than the
// moment they recorded it.
namespace FileFingerprint {

struct Stamp {
    std::int64_t size = -1; // -1: no regular file there
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    std::uint64_t inode = 0;

    bool valid() const { return size >= 0; }
    bool operator==(const Stamp&) const = default;
    // "size:modified:changed:inode"; parse gives nullopt for anything else.
    QString text() const;
    static std::optional<Stamp> parse(QStringView text);
};

// The stamp of the regular file at path; an invalid stamp when there is none.
Stamp stampOf(const QString& path);

// Nanoseconds since the epoch, on the clock the stamps use.
std::int64_t nowNs();

// The hash of a file's content, read to its end.
struct ContentHash {
    enum Outcome {
        Read,             // value is the hash of the content stamp describes
        Unreadable,       // no regular file there, or a read failed
        ChangedWhileRead, // cut short, grown or written to while it was read
    };
    Outcome outcome = Unreadable;
    std::uint64_t value = 0;
    Stamp stamp; // taken on the opened file before it was read
};

// The content hash of the file at path, read with ordinary reads in pieces
// of 1 MB, so that a file that changes meanwhile is told as such and never
// ends the program. faults (not owned; nullptr never fails) is asked
// ("read", path) before each piece; a non-zero answer fails the read.
ContentHash contentHash(const QString& path, const fileio::FailureHook* faults = nullptr);

// The same hash of bytes in memory.
std::uint64_t hashBytes(const void* data, std::size_t size);

} // namespace FileFingerprint
