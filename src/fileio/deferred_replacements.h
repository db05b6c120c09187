// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fileio {

// Files replaced in groups: each group's temporaries are written and closed
// at once (stage), and commit() makes everything staged durable with one sync
// of the file system before renaming it in order. On a large make this costs
// one sync per commit instead of two per file, and a make that is killed or
// fails still leaves every target either old or new, whole.
//
// A group of several files in one folder (a page's three files) is renamed
// in the order staged, behind a journal in that folder (replacement_journal.h):
// a run killed between two renames of a group leaves the journal, and the
// next run that sweeps the folder, or opens the kiosk system, renames the
// rest. A rename that fails after others of its group leaves the journal and
// the group's remaining temporaries for that later run too, since the
// targets renamed already cannot take their old content back.
//
// Whatever is not committed when the object goes is dropped: its targets keep
// their old content and its temporaries are removed. A program that ends at
// once after a fatal failure, without unwinding, first commits the groups its
// owner marked complete and drops the rest (Session::commitCompleteStaged).
class DeferredReplacements {
public:
    // faults (not owned) is asked before each file operation (see FailureHook).
    explicit DeferredReplacements(const FailureHook* faults = nullptr) : m_faults(faults) {}
    ~DeferredReplacements();
    DeferredReplacements(const DeferredReplacements&) = delete;
    DeferredReplacements& operator=(const DeferredReplacements&) = delete;

    // Writes the files' temporaries as one group; a failure raises FileError
    // and leaves this group's targets untouched (earlier groups stay staged).
    // A target that already holds exactly its bytes (a regular file, not a
    // link) is only given the current time and is not part of the group.
    void stage(const std::vector<FileContent>& files);
    // Syncs and renames everything staged, in the order staged.
    void commit();
    // The same for the files staged before stagedCount() was count, the
    // oldest first; later ones stay staged. A count within a group takes the
    // whole group.
    void commitThrough(std::size_t count);
    bool empty() const { return m_staged.empty(); }
    // Removes every staged temporary; their targets keep their old content.
    void drop();
    // How many files have been staged since this object was made.
    std::size_t stagedCount() const { return m_committed + m_staged.size(); }

    // Marks the files staged before stagedCount() was count as complete: all
    // they depend on is in place, so a program ending after a failure should
    // still put them in place (commitCompleteAndDropRest).
    void markCompleteThrough(std::size_t count);
    // Commits what is marked complete and drops the rest; a target that
    // cannot be put in place keeps its old content (the program is ending on
    // a failure reported already).
    void commitCompleteAndDropRest() noexcept;
    // The targets whose temporaries went with their folder before the commit
    // (the folder removed, or its disk unmounted, from outside): they are left
    // out, and the commit goes on with the rest. Empties the list.
    std::vector<std::string> takeVanished();

private:
    struct Staged {
        std::unique_ptr<StagedFile> file;
        std::size_t group = 0;
        std::uint64_t size = 0;
        std::uint64_t hash = 0;
    };
    // Renames the taken files, each group of several files behind a journal.
    void renameInOrder(std::vector<Staged>& staged);
    // Takes out the files whose temporaries have gone, noting their targets.
    void leaveOutVanished(std::vector<Staged>& staged);

    std::vector<Staged> m_staged;
    std::size_t m_committed = 0; // files committed (or dropped by a failed commit)
    std::size_t m_groups = 0;
    std::size_t m_completeThrough = 0;
    std::vector<std::string> m_vanished;
    const FailureHook* m_faults;
};

// True when the file at path is a regular file (not a link) holding exactly
// bytes: stage() would then leave it as it is. Only reads.
bool holdsBytes(const std::string& path, std::string_view bytes);

} // namespace fileio
