#include "fileio/deferred_replacements.h"

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {

namespace {

// One syncfs per file system that holds a target; the folder names the file
// system in the error.
void syncFileSystemsOf(const std::vector<std::unique_ptr<StagedFile>>& files)
{
    std::set<std::string> folders;
    std::set<dev_t> synced;
    for (const auto& file : files) {
        const std::string folder = folderOf(file->target());
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

void DeferredReplacements::drop() { m_staged.clear(); }

void DeferredReplacements::stage(const std::vector<FileContent>& files)
{
    std::vector<std::unique_ptr<StagedFile>> group;
    for (const FileContent& file : files) {
        if (holdsAlready(file))
            continue;
        group.push_back(std::make_unique<StagedFile>(file.target, Staging{}, m_faults));
        group.back()->write(file.bytes);
        group.back()->finish(StagedFile::Sync::ByCaller);
    }
    for (auto& file : group)
        m_staged.push_back(std::move(file));
}

void DeferredReplacements::commit() { commitThrough(stagedCount()); }

void DeferredReplacements::commitThrough(std::size_t count)
{
    if (count <= m_committed || m_staged.empty())
        return;
    const std::size_t taken = std::min(count - m_committed, m_staged.size());
    std::vector<std::unique_ptr<StagedFile>> staged(std::make_move_iterator(m_staged.begin()),
                                                    std::make_move_iterator(m_staged.begin() + std::ptrdiff_t(taken)));
    m_staged.erase(m_staged.begin(), m_staged.begin() + std::ptrdiff_t(taken));
    m_committed += taken;
    for (const auto& file : staged)
        failIfInjected(m_faults, "sync", file->target());
    syncFileSystemsOf(staged);
    for (auto& file : staged)
        file->commit(StagedFile::Sync::ByCaller);
}

} // namespace fileio
