// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// A group of files (a page's three files) is put in place by one rename per
// file, and a run killed between those renames would leave the group mixed.
// So before the first rename, the run records the groups of a folder in a
// journal there, ".zel-journal-<pid>-XXXXXX": for each group, in rename
// order, each temporary with its target and the size and hash of the
// temporary's whole content, and a last line with the hash of all lines
// before it. The journal is written before the one sync that makes the
// temporaries durable and removed after the last rename. A later run finds
// the journal of a run that no longer runs and renames the temporaries still
// there, in order, whenever the journal is whole and each of them still holds
// exactly what was written; otherwise nothing of the group was renamed yet
// (renames begin only after the sync) and the group is left as it was.
namespace fileio {

// One file of a group: names (no folder) in the journal's folder.
struct JournalEntry {
    std::string temporary;
    std::string target;
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
};
using JournalGroup = std::vector<JournalEntry>;

// The hash a journal keeps of a file's content (64-bit FNV-1a).
std::uint64_t contentHash(std::string_view bytes);

inline constexpr std::string_view kJournalPrefix = ".zel-journal-";

// Writes a new journal of groups into folder and closes it, unsynced (the
// caller's sync of the file system covers it); returns its path. A failure
// raises FileError naming failurePath (the first file of the groups, not
// the journal); faults sees "write" and "close" with that path too.
std::string writeJournal(const std::string& folder, const std::vector<JournalGroup>& groups,
                         const std::string& failurePath, const FailureHook* faults);

// Completes every group that journals of runs no longer running in folder
// record, and removes those journals. A journal whose renames fail stays;
// returns the names of the temporaries such journals still need, which no
// sweep may remove. Failures are otherwise ignored.
std::set<std::string> completeInterruptedGroups(const std::string& folder);

// The same for every direct sub-folder of folder (the page folders of a
// kiosk system).
void completeInterruptedGroupsBelow(const std::string& folder);

} // namespace fileio
