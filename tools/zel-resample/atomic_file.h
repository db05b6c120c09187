// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"

#include <cstdio>
#include <optional>
#include <string>

// A file that appears at its destination only when complete: a locked
// fileio::StagedFile ".zel-resample-XXXXXX" in the destination's folder,
// written through a stdio stream; commit() renames it over the destination.
// If the object is destroyed without a successful commit, the temporary file
// is removed and the destination is left exactly as it was. Only one
// AtomicFile may exist at a time: the signal handler below knows one
// temporary file.
class AtomicFile {
public:
    // Throws ResampleError when the temporary file cannot be created.
    explicit AtomicFile(const std::string& destinationPath);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    std::FILE* stream() { return m_stream; }

    // Flushes, syncs, closes and renames. Throws ResampleError on any failure.
    void commit();

private:
    void removeTemporary();

    std::string m_destinationPath;
    std::optional<fileio::StagedFile> m_file;
    std::FILE* m_stream = nullptr;
};

// Installs handlers for SIGTERM, SIGINT and SIGHUP that remove the temporary
// file of the AtomicFile in progress, then let the signal end the program as
// it would have. Call once at start, before any thread is started.
void removeTemporaryFileOnTerminationSignals();

// Blocks those signals in the calling thread, so that the handler runs only
// on a thread that keeps the temporary file's record consistent.
void blockTerminationSignalsInThisThread();
