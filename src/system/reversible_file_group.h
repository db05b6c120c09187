// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Writes a group of files all or nothing: every file's new content is
// written to its temporary first (which settles whatever could refuse a
// replacement: links, owners, modes), then each is renamed over its target
// in the order added, then one last step runs (removing or renaming a file).
// When anything fails, the files already replaced get their old content back
// (keeping their modes, owners and links, as every replacement does) and the
// files created are removed, so every file holds what it held before; then
// the FileError (naming the file, never a temporary) is raised again.
class ReversibleFileGroup {
public:
    // faults (not owned; nullptr never fails) is asked before every file
    // operation of the group, as fileio does; putting files back is not.
    explicit ReversibleFileGroup(const fileio::FailureHook* faults) : m_faults(faults) {}

    // A file to replace: oldBytes is what it holds now (to put back), or none
    // for a file to create, which takes the mode and owner of attributesOf
    // when that is given (the file it stands in for).
    void add(std::string target, std::string bytes, std::optional<std::string> oldBytes, std::string attributesOf = {});
    bool empty() const { return m_files.empty(); }

    // Writes every file, then runs lastStep (which may raise FileError).
    void run(const std::function<void()>& lastStep);
    // After a failed run: the files that could not be put back as they were.
    const std::vector<std::string>& notPutBack() const { return m_notPutBack; }

private:
    struct File {
        std::string target;
        std::string bytes;
        std::optional<std::string> oldBytes;
        std::string attributesOf;
    };
    // Puts back the first count files.
    void putBack(std::size_t count);

    const fileio::FailureHook* m_faults;
    std::vector<File> m_files;
    std::vector<std::string> m_notPutBack;
};
