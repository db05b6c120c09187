// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"
#include "base/file_fingerprint.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>

namespace Jpeg {

// What one picture copy was made from and what it was when made. The copy's
// bytes depend only on the inputs (how it was made, its size, the tool) and
// the source's content, so a copy whose inputs and source content are the
// same and that is itself unchanged need not be made again.
struct CopyRecordEntry {
    QString method;          // "copy" (source unchanged) or "resample"
    std::int32_t height = 0; // the size asked of the tool
    std::int32_t width = 0;
    QString tool; // the tool's identity; "-" for "copy"
    QString sourcePath;
    std::uint64_t sourceHash = 0;
    FileFingerprint::Stamp sourceStamp;
    std::int64_t sourceCheckedNs = 0; // when the source's stamp was taken
    std::uint64_t copyHash = 0;
    FileFingerprint::Stamp copyStamp;
    std::int64_t copyCheckedNs = 0;

    bool sameInputs(const CopyRecordEntry& other) const
    {
        return method == other.method && height == other.height && width == other.width && tool == other.tool;
    }
    bool operator==(const CopyRecordEntry&) const = default;
};

// The record of the copies in one "images" folder, kept there in the file
// ".zel-copies" (our own file: a version line, one tab-separated line per copy
// name, and a line with the hash of all before it). A record that is missing,
// unreadable, damaged or of another version counts as empty and is written anew;
// so does anything at its name that is not a regular file of at most 16 MB (a
// FIFO, a symbolic link, a device, a folder), which is never waited on or read
// whole. Entries whose text would not fit on one line are not recorded.
class CopyRecord {
public:
    static const QString FileName;

    // The record of imagesFolder; empty when there is none or it is unreadable.
    static CopyRecord load(const QString& imagesFolder);

    std::optional<CopyRecordEntry> find(const QString& copyName) const;
    void put(const QString& copyName, const CopyRecordEntry& entry);
    void remove(const QString& copyName);
    bool changed() const { return m_changed; }
    int size() const { return int(m_entries.size()); }

    // Replaces the record file atomically (temporary, flush, sync, rename).
    // Returns false when it cannot be written; the copies stay valid then,
    // since every entry is checked against the files before it is trusted.
    // fileFaults (not owned) is asked before each file operation.
    bool save(const fileio::FailureHook* fileFaults) const;

private:
    QString m_folder;
    QHash<QString, CopyRecordEntry> m_entries;
    bool m_changed = false;
};

} // namespace Jpeg
