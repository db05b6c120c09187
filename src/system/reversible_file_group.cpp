// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/reversible_file_group.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

void ReversibleFileGroup::add(std::string target, std::string bytes, std::optional<std::string> oldBytes,
                              std::string attributesOf)
{
    m_files.push_back({std::move(target), std::move(bytes), std::move(oldBytes), std::move(attributesOf)});
}

void ReversibleFileGroup::run(const std::function<void()>& lastStep)
{
    std::vector<std::unique_ptr<fileio::StagedFile>> staged;
    for (const File& file : m_files) {
        staged.push_back(std::make_unique<fileio::StagedFile>(
            file.target, fileio::Staging{.attributesOf = file.attributesOf}, m_faults));
        staged.back()->write(file.bytes);
        staged.back()->finish();
    }
    std::size_t committed = 0;
    try {
        for (; committed < staged.size(); ++committed)
            staged[committed]->commit();
        lastStep();
    } catch (const fileio::FileError&) {
        // A file whose commit failed may have been renamed already (a failed sync after the rename).
        putBack(std::min(committed + 1, m_files.size()));
        throw;
    }
}

void ReversibleFileGroup::putBack(std::size_t count)
{
    for (std::size_t i = count; i-- > 0;) {
        const File& file = m_files[i];
        try {
            if (file.oldBytes)
                fileio::replaceFile(file.target, *file.oldBytes);
            else if (::unlink(file.target.c_str()) != 0 && errno != ENOENT)
                throw fileio::FileError(errno, file.target);
        } catch (const fileio::FileError&) {
            // Nothing more can be done for this one; the others still go back.
            m_notPutBack.push_back(file.target);
        }
    }
}
