// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileio/deferred_replacements.h"

#include "fileio/replacement_journal.h"

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <fcntl.h>
#include <map>
#include <set>
#include <utility>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {

namespace {

// One syncfs per file system that holds a target; the folder names the file
// system in the error.
template <class Files>
void syncFileSystemsOf(const Files& files)
{
    std::set<std::string> folders;
    std::set<dev_t> synced;
    for (const auto& file : files) {
        const std::string folder = folderOf(file.file->destination());
        struct stat info {};
        if (!folders.insert(folder).second || ::stat(folder.c_str(), &info) != 0 || !synced.insert(info.st_dev).second)
            continue;
        const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (descriptor < 0)
            throw FileError(errno, folder);
        const int result = ::syncfs(descriptor);
        const int error = errno;
        ::close(descriptor);
        if (result != 0)
            throw FileError(error, folder);
    }
}

int openToCompare(const std::string& path)
{
    return ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
}

// True when the open file is a regular file with exactly these bytes.
bool descriptorHolds(int descriptor, std::string_view bytes)
{
    struct stat info {};
    bool same = ::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && std::size_t(info.st_size) == bytes.size();
    std::string buffer(same ? bytes.size() : 0, '\0');
    for (std::size_t done = 0; same && done < buffer.size();) {
        const ssize_t got = ::read(descriptor, buffer.data() + done, buffer.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        same = got > 0;
        done += same ? std::size_t(got) : 0;
    }
    return same && buffer == bytes;
}

// A target that is a regular file (not a link) with exactly these bytes is
// not written again; its time is set to now, so that it still shows when it
// was last made. Reading it costs far less than a new file and a rename.
bool holdsAlready(const FileContent& file)
{
    const int descriptor = openToCompare(file.target);
    if (descriptor < 0)
        return false;
    const bool same = descriptorHolds(descriptor, file.bytes) && ::futimens(descriptor, nullptr) == 0;
    ::close(descriptor);
    return same;
}

std::string nameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// The journals of one commit, one a folder, removed when they go unless kept.
struct Journals {
    struct Journal {
        std::string path;
        std::string firstTarget;
        std::vector<JournalGroup> groups;
        std::set<std::size_t> groupNumbers;
        bool keep = false;
    };
    std::map<std::string, Journal> byFolder;

    ~Journals()
    {
        for (const auto& [folder, journal] : byFolder)
            if (!journal.path.empty() && !journal.keep)
                ::unlink(journal.path.c_str());
    }
    void write(const FailureHook* faults)
    {
        for (auto& [folder, journal] : byFolder)
            journal.path = writeJournal(folder, journal.groups, journal.firstTarget, faults);
    }
};

} // namespace

bool holdsBytes(const std::string& path, std::string_view bytes)
{
    const int descriptor = openToCompare(path);
    if (descriptor < 0)
        return false;
    const bool same = descriptorHolds(descriptor, bytes);
    ::close(descriptor);
    return same;
}

DeferredReplacements::~DeferredReplacements() = default;

void replaceFiles(const std::vector<FileContent>& files, const FailureHook* faults)
{
    DeferredReplacements group(faults);
    group.stage(files);
    group.commit();
}

void DeferredReplacements::drop() { m_staged.clear(); }

void DeferredReplacements::stage(const std::vector<FileContent>& files)
{
    std::vector<Staged> group;
    const std::size_t number = m_groups++;
    for (const FileContent& file : files) {
        if (holdsAlready(file))
            continue;
        group.push_back({std::make_unique<StagedFile>(file.target, Staging{}, m_faults), number, file.bytes.size(),
                         contentHash(file.bytes)});
        group.back().file->write(file.bytes);
        group.back().file->finish(StagedFile::Sync::ByCaller);
    }
    for (auto& file : group)
        m_staged.push_back(std::move(file));
}

void DeferredReplacements::commit() { commitThrough(stagedCount()); }

void DeferredReplacements::markCompleteThrough(std::size_t count)
{
    m_completeThrough = std::max(m_completeThrough, count);
}

void DeferredReplacements::commitCompleteAndDropRest() noexcept
{
    try {
        commitThrough(m_completeThrough);
    } catch (const FileError&) {
        // On the way to a fatal report already: what could not be put in
        // place keeps its old content.
    }
    drop();
}

void DeferredReplacements::commitThrough(std::size_t count)
{
    if (count <= m_committed || m_staged.empty())
        return;
    std::size_t taken = std::min(count - m_committed, m_staged.size());
    while (taken < m_staged.size() && m_staged[taken].group == m_staged[taken - 1].group)
        ++taken;
    std::vector<Staged> staged(std::make_move_iterator(m_staged.begin()),
                               std::make_move_iterator(m_staged.begin() + std::ptrdiff_t(taken)));
    m_staged.erase(m_staged.begin(), m_staged.begin() + std::ptrdiff_t(taken));
    m_committed += taken;
    for (const auto& file : staged)
        failIfInjected(m_faults, "sync", file.file->target());
    renameInOrder(staged);
}

std::vector<std::string> DeferredReplacements::takeVanished() { return std::exchange(m_vanished, {}); }

void DeferredReplacements::leaveOutVanished(std::vector<Staged>& staged)
{
    const auto gone = [](const Staged& file) {
        struct stat info {};
        return ::lstat(file.file->temporary().c_str(), &info) != 0
               && (errno == ENOENT || errno == ENOTDIR || errno == ESTALE || errno == ENODEV);
    };
    for (auto file = staged.begin(); file != staged.end();) {
        if (!gone(*file)) {
            ++file;
            continue;
        }
        file->file->leave();
        m_vanished.push_back(file->file->target());
        file = staged.erase(file);
    }
}

void DeferredReplacements::renameInOrder(std::vector<Staged>& staged)
{
    leaveOutVanished(staged);
    // Groups of several files in one folder are recorded before the sync, so
    // that the journals are as durable as the temporaries they list.
    Journals journals;
    for (std::size_t start = 0, end = 0; start < staged.size(); start = end) {
        // A link's file is renamed in its own folder, where its temporary lies.
        const std::string folder = folderOf(staged[start].file->destination());
        bool oneFolder = true;
        for (end = start; end < staged.size() && staged[end].group == staged[start].group; ++end)
            oneFolder = oneFolder && folderOf(staged[end].file->destination()) == folder;
        if (end - start < 2 || !oneFolder)
            continue;
        Journals::Journal& journal = journals.byFolder[folder];
        if (journal.firstTarget.empty())
            journal.firstTarget = staged[start].file->target();
        journal.groupNumbers.insert(staged[start].group);
        JournalGroup& group = journal.groups.emplace_back();
        for (std::size_t i = start; i < end; ++i)
            group.push_back({nameOf(staged[i].file->temporary()), nameOf(staged[i].file->destination()), staged[i].size,
                             staged[i].hash});
    }
    journals.write(m_faults);
    syncFileSystemsOf(staged);
    for (std::size_t i = 0; i < staged.size(); ++i) {
        try {
            staged[i].file->commit(StagedFile::Sync::ByCaller);
        } catch (const FileError&) {
            const bool halfDone = i > 0 && staged[i - 1].group == staged[i].group;
            const auto journal = journals.byFolder.find(folderOf(staged[i].file->destination()));
            if (halfDone && journal != journals.byFolder.end()) {
                // The targets renamed already cannot go back: the rest waits for a later run.
                journal->second.keep = true;
                for (std::size_t later = i; later < staged.size(); ++later)
                    if (journal->second.groupNumbers.count(staged[later].group))
                        staged[later].file->leave();
            }
            throw;
        }
    }
}

} // namespace fileio
