// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "temporary_cabinet.h"

#include "makecab_error.h"

#include <algorithm>
#include <cctype>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool isTemporaryCabinetName(const std::string& name)
{
    // "." + NAME + "." + six random letters and digits; NAME ends in ".cab".
    if (name.size() < 1 + 5 + 1 + 6 || name.front() != '.' || name[name.size() - 7] != '.')
        return false;
    const std::string suffix = name.substr(name.size() - 6);
    if (!std::all_of(suffix.begin(), suffix.end(), [](unsigned char c) { return std::isalnum(c); }))
        return false;
    std::string extension = name.substr(name.size() - 11, 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return extension == ".cab";
}

fileio::StagedFile stageCabinet(const fs::path& finalPath)
{
    try {
        return fileio::StagedFile(finalPath.string(), {"." + finalPath.filename().string() + ".", true});
    } catch (const fileio::FileError& error) {
        throw MakecabError("cannot write to output folder \"" + finalPath.parent_path().string()
                           + "\": " + error.reason());
    }
}

} // namespace

TemporaryCabinet::TemporaryCabinet(const fs::path& finalPath) : m_finalPath(finalPath), m_file(stageCabinet(finalPath))
{}

void TemporaryCabinet::finish()
{
    try {
        m_file.finish();
    } catch (const fileio::FileError& error) {
        throw MakecabError("cannot write cabinet \"" + m_finalPath.string() + "\": " + error.reason());
    }
}

void TemporaryCabinet::commit()
{
    try {
        m_file.commit();
    } catch (const fileio::FileError& error) {
        throw MakecabError("cannot write cabinet \"" + m_finalPath.string() + "\": " + error.reason());
    }
}

void removeAbandonedTemporaries(const fs::path& folder)
{
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (!isTemporaryCabinetName(name) || !entry->is_regular_file(error))
            continue;
        // A run still writing holds the lock (taken just after the file is
        // made); only a dead run's settled file is free.
        if (fileio::abandonedTemporary(entry->path().string()))
            ::unlink(entry->path().c_str());
    }
}
