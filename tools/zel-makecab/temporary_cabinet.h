// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"

#include <filesystem>

// A cabinet being written: a file ".NAME.XXXXXX" beside its final name,
// created exclusively and locked (flock) for as long as this run holds it, so
// that a later run can tell it from the temporary file of a run still working.
// Removed again unless committed. Failures are raised as MakecabError.
class TemporaryCabinet {
public:
    explicit TemporaryCabinet(const std::filesystem::path& finalPath);

    int descriptor() const { return m_file.descriptor(); }
    const std::filesystem::path& finalPath() const { return m_finalPath; }

    // Flushes the content to disk.
    void finish();
    // Renames the finished file over the final name, then lets go of it.
    void commit();

private:
    std::filesystem::path m_finalPath;
    fileio::StagedFile m_file;
};

// Removes the temporary cabinets that runs which died left in folder: files
// ".NAME.XXXXXX" whose NAME ends in ".cab" (any letter case) and that no
// running program holds locked. Other files are never touched.
void removeAbandonedTemporaries(const std::filesystem::path& folder);
