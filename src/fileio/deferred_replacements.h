#pragma once

#include "fileio/atomic_file.h"

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
// Whatever is not committed when the object goes is dropped: its targets keep
// their old content and its temporaries are removed. A program that ends at
// once after a fatal failure, without unwinding, drops it through its owner's
// registry (Session::dropAllStaged).
class DeferredReplacements {
public:
    // faults (not owned) is asked before each file operation (see FailureHook).
    explicit DeferredReplacements(const FailureHook* faults = nullptr) : m_faults(faults) {}
    DeferredReplacements(const DeferredReplacements&) = delete;
    DeferredReplacements& operator=(const DeferredReplacements&) = delete;

    // Writes the files' temporaries; a failure raises FileError and leaves
    // this group's targets untouched (earlier groups stay staged). A target
    // that already holds exactly its bytes (a regular file, not a link) is
    // only given the current time.
    void stage(const std::vector<FileContent>& files);
    // Syncs and renames everything staged, in the order staged.
    void commit();
    // The same for the files staged before stagedCount() was count, the
    // oldest first; later ones stay staged.
    void commitThrough(std::size_t count);
    bool empty() const { return m_staged.empty(); }
    // Removes every staged temporary; their targets keep their old content.
    void drop();
    // How many files have been staged since this object was made.
    std::size_t stagedCount() const { return m_committed + m_staged.size(); }

private:
    std::vector<std::unique_ptr<StagedFile>> m_staged;
    std::size_t m_committed = 0; // files committed (or dropped by a failed commit)
    const FailureHook* m_faults;
};

// True when the file at path is a regular file (not a link) holding exactly
// bytes: stage() would then leave it as it is. Only reads.
bool holdsBytes(const std::string& path, std::string_view bytes);

} // namespace fileio
