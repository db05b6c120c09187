// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <ctime>
#include <vector>

// Writing files so that a reader only ever sees the old or the new whole
// content. No Qt: the command-line tools link this too.
//
// A replaced file is written to a temporary ".zel-tmp-<pid>-XXXXXX" in the
// target's folder (created exclusively, never through a link), every write
// checked, then flushed, synced and closed, and renamed over the target.
// The replacement keeps the old file's permission bits, and its owner and
// group: a file of another user that the process cannot give back to that
// user is refused, the group is kept where the process may. A symbolic link
// at the target stays: the file it leads to is replaced (its temporary in
// that file's folder), and a link that leads nowhere, in a loop or to
// something other than a regular file is refused; the files the program
// keeps for itself refuse or replace any link (LinkAtTarget). New files get mode 0666
// less the umask.
namespace fileio {

// A failed file operation: the path and the system's error number.
class FileError : public std::runtime_error {
public:
    FileError(int systemError, std::string path);
    // A refusal whose reason says more than the system's, e.g. "is a symbolic link".
    FileError(int systemError, std::string path, std::string reason);
    int systemError() const { return m_systemError; }
    const std::string& path() const { return m_path; }
    // The reason: the system's, e.g. "No space left on device", or the one given.
    std::string reason() const;
    // True for a full disk or an exceeded quota.
    bool diskFull() const;

private:
    int m_systemError;
    std::string m_path;
    std::string m_reason;
};

// Makes file operations fail on purpose, for tests of what a failure leaves:
// it sees "write", "sync", "close" or "rename" with the target path and
// returns an errno value to fail with, or 0. The functions below take one as
// faults (not owned; it must outlive the work); nullptr never fails.
using FailureHook = std::function<int(std::string_view operation, const std::string& target)>;
// Raises the failure faults asks for at this operation, if any.
void failIfInjected(const FailureHook* faults, std::string_view operation, const std::string& target);

// The image tool stages its copies as this prefix and six random letters and
// digits, locked while it runs.
inline constexpr std::string_view kImageToolTemporaryPrefix = ".zel-resample-";

// What a replacement does with a symbolic link at its target.
enum class LinkAtTarget {
    // Replaces the file the link leads to; the link stays (authors' files).
    Follow,
    // Refuses with a FileError, the link untouched (the program's own records,
    // which must not be written anywhere else).
    Refuse,
    // Replaces the link itself by the new file, never following it (the
    // program's own records, which a planted link must not disable).
    Replace,
};

// How a StagedFile names and holds its temporary.
struct Staging {
    // The temporary is named this prefix and six random letters and digits,
    // in the target's folder; empty gives ".zel-tmp-<pid>-".
    std::string temporaryPrefix;
    // Holds an exclusive lock (flock) on the temporary from its creation until
    // it has been renamed over the target or removed, so that a later run can
    // tell it from one that a killed run left behind.
    bool locked = false;
    LinkAtTarget links = LinkAtTarget::Follow;
    // When the target does not exist yet, the new file takes this file's mode
    // and owner as a replacement would (a page source moved elsewhere).
    std::string attributesOf;
};

// One file being replaced. The temporary is created by the constructor and
// removed by the destructor unless commit() succeeded; until commit() the
// target is untouched. The constructor settles everything that could refuse
// the replacement (the link, the owner, the mode) before anything is written.
// Every FileError it raises names the target, never the temporary.
class StagedFile {
public:
    explicit StagedFile(std::string target, Staging staging = {}, const FailureHook* faults = nullptr);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Whether each file is made durable on its own (fsync of the file, and of
    // its folder after the rename), or the caller syncs the file system once
    // for many files (DeferredReplacements).
    enum class Sync { Each, ByCaller };

    void write(std::string_view bytes);
    // Syncs the temporary and closes it (a locked one stays open, for its
    // lock, until commit()). Done by commit() when needed.
    void finish(Sync sync = Sync::Each);
    // Renames the finished temporary over the target.
    void commit(Sync sync = Sync::Each);
    // Closes the temporary and leaves it on disk, uncommitted, for a later
    // run to put in place (a group half renamed when a rename failed).
    void leave();
    const std::string& target() const { return m_target; }
    // The file the rename replaces: the target, or the file a link there leads to.
    const std::string& destination() const { return m_destination; }
    const std::string& temporary() const { return m_temporary; }
    // For writing in other ways than write(); open until finish().
    int descriptor() const { return m_descriptor; }

private:
    void closeDescriptor();

    std::string m_target;
    std::string m_destination;
    std::string m_temporary;
    bool m_locked;
    const FailureHook* m_faults;
    int m_descriptor = -1;
    bool m_finished = false;
    bool m_committed = false;
    bool m_left = false;
};

// Makes the folder's entries (a rename, a new file) durable; best effort, a
// failure is ignored.
void syncFolder(const std::string& folder);

// The folder a file's temporary goes to: the path up to its last "/", "/"
// for a file in the root, "." for a bare name.
std::string folderOf(const std::string& path);

// Replaces target with bytes.
void replaceFile(const std::string& target, std::string_view bytes, const FailureHook* faults = nullptr,
                 LinkAtTarget links = LinkAtTarget::Follow);

// Replaces several files as one group of DeferredReplacements (staged,
// synced, renamed in order behind a journal). A failure before the renames
// leaves every target untouched.
struct FileContent {
    std::string target;
    std::string bytes;
};
void replaceFiles(const std::vector<FileContent>& files, const FailureHook* faults = nullptr);

// Creates a new file for writing; never opens an existing file or a link.
// Returns -1 when the name exists; raises FileError otherwise.
int createExclusive(const std::string& path);
// Creates a new file named stem and six random letters and digits; path
// receives its name. Returns the open descriptor; raises FileError.
int createUnique(const std::string& stem, std::string& path);

// Whether the process numbered pid runs and had started by the time a file
// it named was last written (written): a number that a later process took
// over does not count.
bool processRunsSince(long pid, std::time_t written);
// Writes all bytes to an open descriptor; raises FileError naming path.
void writeAll(int descriptor, std::string_view bytes, const std::string& path, const FailureHook* faults = nullptr);
// fsync and close, checked.
void syncAndClose(int descriptor, const std::string& path, const FailureHook* faults = nullptr);

// Copies source to target through a StagedFile. The old target stays until
// the copy is complete; the copy keeps its mode and owner and a link at target.
void copyFile(const std::string& source, const std::string& target, const FailureHook* faults = nullptr);

// Renames from over target in one step ("rename" with target for faults),
// as a replacement would: from takes the old file's mode and owner, and a
// link at target stays, the file it leads to replaced. FileError naming
// target when that fails.
void renameFile(const std::string& from, const std::string& target, const FailureHook* faults = nullptr);

// Removes temporaries that a killed run left in folder: our own
// ".zel-tmp-<pid>-XXXXXX" and ".zel-copy-<pid>-<n>.jpg" whose process no
// longer runs, and the image tool's
// ".zel-resample-XXXXXX" that no running image tool holds locked. Nothing else is touched;
// failures are ignored. Groups of replacements that a dead run left half
// renamed are completed first (completeInterruptedGroups), and temporaries
// that a journal left in place still lists are kept.
void removeDeadTemporaries(const std::string& folder);
bool isOwnTemporaryName(std::string_view name);

// Whether a running program holds an flock on the file, as zel-resample and
// zel-makecab do on their temporaries while they run; a file that cannot be
// opened counts as held (it is left alone).
bool heldLocked(const std::string& path);

// A temporary of a locking program that no run uses any more: nobody holds
// its lock, and it was last written more than kSettleSeconds ago (a run
// creates its temporary and only then locks it, so a fresh unlocked one may
// be about to be locked).
constexpr int kSettleSeconds = 10;
bool abandonedTemporary(const std::string& path);

// True when the file at path (through links) exists and may not be written:
// the process lacks the permission, or no one has a write bit (which the
// superuser, who may write anything, respects as the owner's wish too).
bool writeProtected(const std::string& path);

// Regular file check through links: "" when path is a regular file, else a
// short reason ("is a folder", "is not a regular file", or the system's reason).
std::string regularFileProblem(const std::string& path);

} // namespace fileio
