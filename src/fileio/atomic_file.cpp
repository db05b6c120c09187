// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileio/atomic_file.h"

#include "fileio/regular_file.h"
#include "fileio/replacement_journal.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <memory>
#include <set>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {

namespace {

const std::string kOwnPrefix = ".zel-tmp-";
const std::string kToolPrefix(kImageToolTemporaryPrefix);
// Copies being made several at once: ".zel-copy-<pid>-<n>.jpg".
const std::string kCopyPrefix = ".zel-copy-";

// Six letters and digits from the system's random source, fresh for each
// name; exclusive creation settles the rare collision.
std::string randomSuffix()
{
    constexpr std::string_view letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char bytes[6] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != ssize_t(sizeof bytes)) {
        // Not expected on a running system; the time still varies the name.
        const auto now = std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
        for (std::size_t i = 0; i < sizeof bytes; ++i)
            bytes[i] = static_cast<unsigned char>(now >> (8 * i));
    }
    std::string suffix(sizeof bytes, 'a');
    for (std::size_t i = 0; i < sizeof bytes; ++i)
        suffix[i] = letters[bytes[i] % letters.size()];
    return suffix;
}

bool processRuns(long pid) { return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM); }

// The start of a small text file under /proc; "" when it cannot be read.
std::string procText(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    char buffer[4096];
    const ssize_t size = ::read(descriptor, buffer, sizeof buffer - 1);
    ::close(descriptor);
    return size > 0 ? std::string(buffer, std::size_t(size)) : std::string();
}

// When the process started, in seconds since the epoch; 0 when unknown.
std::time_t processStart(long pid)
{
    // Field 22 of /proc/PID/stat, in clock ticks since boot; the command
    // (field 2, in parentheses) may hold blanks, so counting starts after it.
    const std::string stat = procText("/proc/" + std::to_string(pid) + "/stat");
    const auto close = stat.rfind(')');
    if (close == std::string::npos)
        return 0;
    const char* field = stat.c_str() + close + 1;
    for (int number = 3; number < 22 && *field; ++number) {
        field = std::strchr(field + 1, ' ');
        if (!field)
            return 0;
    }
    const unsigned long long ticks = std::strtoull(field, nullptr, 10);
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    // The boot moment from the clocks themselves (/proc/stat's btime line
    // lies past the first page on machines with many cores).
    timespec now{}, sinceBoot{};
    if (ticks == 0 || ticksPerSecond <= 0 || ::clock_gettime(CLOCK_REALTIME, &now) != 0
        || ::clock_gettime(CLOCK_BOOTTIME, &sinceBoot) != 0)
        return 0;
    return std::time_t(now.tv_sec - sinceBoot.tv_sec + std::time_t(ticks / ticksPerSecond));
}

// A locking program's temporary, of this status, was last written long enough
// ago and nobody holds its lock.
bool settledAndUnlocked(const std::string& path, const struct stat& info)
{
    return info.st_mtime < std::time(nullptr) - kSettleSeconds && !heldLocked(path);
}

bool ownerRuns(long pid, const struct stat& file) { return processRunsSince(pid, file.st_mtime); }

// The file a replacement of target renames over: target itself, or the
// regular file a symbolic link there leads to.
std::string destinationOf(const std::string& target, LinkAtTarget links)
{
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return target;
    if (links == LinkAtTarget::Refuse)
        throw FileError(ELOOP, target, "is a symbolic link");
    if (links == LinkAtTarget::Replace)
        return target;
    char* resolved = ::realpath(target.c_str(), nullptr);
    if (!resolved) {
        const int error = errno;
        if (error == ENOENT)
            throw FileError(error, target, "is a symbolic link to a missing file");
        if (error == ELOOP)
            throw FileError(error, target, "is a symbolic link in a loop");
        throw FileError(error, target);
    }
    const std::string destination(resolved);
    std::free(resolved);
    if (::stat(destination.c_str(), &info) != 0)
        throw FileError(errno, target);
    if (!S_ISREG(info.st_mode))
        throw FileError(S_ISDIR(info.st_mode) ? EISDIR : EINVAL, target,
                        "is a symbolic link to something that is not a regular file");
    return destination;
}

// Gives the new file at descriptor the owner, group and permission bits of
// model; the owner first, since a change of owner clears the set-ID bits.
// A group the process may not give is left as it is; an owner it may not
// give refuses the replacement of target.
void takeAttributes(int descriptor, const struct stat& model, const std::string& target)
{
    struct stat own {};
    if (::fstat(descriptor, &own) != 0)
        throw FileError(errno, target);
    if (own.st_uid != model.st_uid && ::fchown(descriptor, model.st_uid, model.st_gid) != 0) {
        const int error = errno;
        if (error == EPERM)
            throw FileError(error, target, "belongs to another user, who would not own it any more");
        throw FileError(error, target);
    }
    if (own.st_uid == model.st_uid && own.st_gid != model.st_gid
        && ::fchown(descriptor, uid_t(-1), model.st_gid) != 0) {
        // Best effort: a group the process is not a member of stays its own.
    }
    if ((own.st_mode & 07777) != (model.st_mode & 07777) && ::fchmod(descriptor, model.st_mode & 07777) != 0)
        throw FileError(errno, target);
}

} // namespace

bool processRunsSince(long pid, std::time_t written)
{
    if (!processRuns(pid))
        return false;
    const std::time_t started = processStart(pid);
    // A second of slack: boot time and start ticks are rounded to seconds.
    return started == 0 || started <= written + 1;
}

int createUnique(const std::string& stem, std::string& path)
{
    for (int attempt = 0;; ++attempt) {
        path = stem + randomSuffix();
        const int descriptor = createExclusive(path);
        if (descriptor >= 0)
            return descriptor;
        if (attempt > 100)
            throw FileError(EEXIST, path);
    }
}

void syncFolder(const std::string& folder)
{
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

FileError::FileError(int systemError, std::string path)
    : std::runtime_error(path + ": " + std::strerror(systemError)), m_systemError(systemError), m_path(std::move(path))
{}

FileError::FileError(int systemError, std::string path, std::string reason)
    : std::runtime_error(path + ": " + reason), m_systemError(systemError), m_path(std::move(path)),
      m_reason(std::move(reason))
{}

std::string FileError::reason() const { return m_reason.empty() ? std::strerror(m_systemError) : m_reason; }

bool FileError::diskFull() const { return m_systemError == ENOSPC || m_systemError == EDQUOT; }

int createExclusive(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0 && errno != EEXIST)
        throw FileError(errno, path);
    return descriptor;
}

void failIfInjected(const FailureHook* faults, std::string_view operation, const std::string& target)
{
    if (faults && *faults)
        if (const int error = (*faults)(operation, target))
            throw FileError(error, target);
}

void writeAll(int descriptor, std::string_view bytes, const std::string& path, const FailureHook* faults)
{
    failIfInjected(faults, "write", path);
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(errno, path);
        }
        bytes.remove_prefix(size_t(written));
    }
}

void syncAndClose(int descriptor, const std::string& path, const FailureHook* faults)
{
    try {
        failIfInjected(faults, "sync", path);
    } catch (...) {
        ::close(descriptor);
        throw;
    }
    if (::fsync(descriptor) != 0 && errno != EINVAL) {
        const int error = errno;
        ::close(descriptor);
        throw FileError(error, path);
    }
    failIfInjected(faults, "close", path);
    if (::close(descriptor) != 0 && errno != EINTR)
        throw FileError(errno, path);
}

StagedFile::StagedFile(std::string target, Staging staging, const FailureHook* faults)
    : m_target(std::move(target)), m_locked(staging.locked), m_faults(faults)
{
    m_destination = destinationOf(m_target, staging.links);
    // What the replacement keeps: the old file's attributes, or those of the
    // file it stands in for.
    struct stat model {};
    // A link being replaced gives nothing: what it leads to is not ours.
    const bool keeps = (::lstat(m_destination.c_str(), &model) == 0 && S_ISREG(model.st_mode))
                       || (!staging.attributesOf.empty() && ::access(m_destination.c_str(), F_OK) != 0
                           && ::stat(staging.attributesOf.c_str(), &model) == 0 && S_ISREG(model.st_mode));
    const std::string prefix =
        staging.temporaryPrefix.empty() ? kOwnPrefix + std::to_string(::getpid()) + "-" : staging.temporaryPrefix;
    // A failure names the file the author knows, never its temporary.
    try {
        m_descriptor = createUnique(folderOf(m_destination) + "/" + prefix, m_temporary);
    } catch (const FileError& error) {
        throw FileError(error.systemError(), m_target);
    }
    if (keeps) {
        try {
            takeAttributes(m_descriptor, model, m_target);
        } catch (...) {
            ::unlink(m_temporary.c_str());
            closeDescriptor();
            throw;
        }
    }
    if (m_locked)
        ::flock(m_descriptor, LOCK_EX | LOCK_NB);
}

StagedFile::~StagedFile()
{
    // Removed before it is closed, so that its lock is held until it is gone.
    if (!m_committed && !m_left)
        ::unlink(m_temporary.c_str());
    closeDescriptor();
}

void StagedFile::leave()
{
    m_left = true;
    closeDescriptor();
}

void StagedFile::closeDescriptor()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}

void StagedFile::write(std::string_view bytes) { writeAll(m_descriptor, bytes, m_target, m_faults); }

void StagedFile::finish(Sync sync)
{
    if (m_finished)
        return;
    if (!m_locked) {
        const int descriptor = m_descriptor;
        m_descriptor = -1;
        m_finished = true;
        if (sync == Sync::Each) {
            syncAndClose(descriptor, m_target, m_faults);
            return;
        }
        failIfInjected(m_faults, "close", m_target);
        if (::close(descriptor) != 0 && errno != EINTR)
            throw FileError(errno, m_target);
        return;
    }
    if (sync == Sync::Each) {
        failIfInjected(m_faults, "sync", m_target);
        if (::fsync(m_descriptor) != 0 && errno != EINVAL)
            throw FileError(errno, m_target);
    }
    m_finished = true;
}

void StagedFile::commit(Sync sync)
{
    finish(sync);
    failIfInjected(m_faults, "rename", m_target);
    if (::rename(m_temporary.c_str(), m_destination.c_str()) != 0)
        throw FileError(errno, m_target);
    m_committed = true;
    // A locked temporary is let go only now that it carries the target's name.
    closeDescriptor();
    if (sync == Sync::Each)
        syncFolder(folderOf(m_destination));
}

void replaceFile(const std::string& target, std::string_view bytes, const FailureHook* faults, LinkAtTarget links)
{
    StagedFile file(target, {.links = links}, faults);
    file.write(bytes);
    file.commit();
}

void renameFile(const std::string& from, const std::string& target, const FailureHook* faults)
{
    failIfInjected(faults, "rename", target);
    const std::string destination = destinationOf(target, LinkAtTarget::Follow);
    struct stat model {};
    if (::lstat(destination.c_str(), &model) == 0 && S_ISREG(model.st_mode)) {
        const int descriptor = ::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (descriptor < 0)
            throw FileError(errno, target);
        try {
            takeAttributes(descriptor, model, target);
        } catch (...) {
            ::close(descriptor);
            throw;
        }
        ::close(descriptor);
    }
    if (::rename(from.c_str(), destination.c_str()) == 0)
        return;
    // A link leading to another disk: the file it leads to is replaced by a copy.
    if (errno == EXDEV && destination != target) {
        copyFile(from, target, faults);
        ::unlink(from.c_str());
        return;
    }
    throw FileError(errno, target);
}

void copyFile(const std::string& source, const std::string& target, const FailureHook* faults)
{
    const int input = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (input < 0)
        throw FileError(errno, source);
    // What was opened may have been put at the name after the caller looked:
    // a FIFO would give an empty copy, a device one without end.
    struct stat info {};
    const int kindError = ::fstat(input, &info) != 0 ? errno
                          : S_ISREG(info.st_mode)    ? 0
                          : S_ISDIR(info.st_mode)    ? EISDIR
                                                     : EINVAL;
    if (kindError != 0) {
        ::close(input);
        throw FileError(kindError, source);
    }
    StagedFile output(target, {}, faults);
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(input, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            ::close(input);
            throw FileError(error, source);
        }
        if (got == 0)
            break;
        try {
            output.write(std::string_view(buffer, size_t(got)));
        } catch (...) {
            ::close(input);
            throw;
        }
    }
    ::close(input);
    output.commit();
}

bool isOwnTemporaryName(std::string_view name)
{
    if (name.substr(0, kOwnPrefix.size()) != kOwnPrefix)
        return false;
    name.remove_prefix(kOwnPrefix.size());
    const auto dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || name.size() - dash - 1 != 6)
        return false;
    for (char c : name.substr(0, dash))
        if (c < '0' || c > '9')
            return false;
    return true;
}

void removeDeadTemporaries(const std::string& folder)
{
    // Groups that a dead run left half put in place are completed first; what
    // a journal that could not be completed still lists stays for a later run.
    const std::set<std::string> needed = completeInterruptedGroups(folder);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        // Only names of our own patterns are looked at: a page folder holds many files.
        if (name.substr(0, 5) != ".zel-" || needed.count(std::string(name)))
            continue;
        const std::string path = folder + "/" + std::string(name);
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        bool dead = false;
        if (isOwnTemporaryName(name))
            dead = !ownerRuns(std::atol(std::string(name.substr(kOwnPrefix.size())).c_str()), info);
        else if (name.substr(0, kCopyPrefix.size()) == kCopyPrefix && name.size() > kCopyPrefix.size()
                 && std::isdigit(static_cast<unsigned char>(name[kCopyPrefix.size()])))
            dead = !ownerRuns(std::atol(std::string(name.substr(kCopyPrefix.size())).c_str()), info);
        else if (name.size() == kToolPrefix.size() + 6 && name.substr(0, kToolPrefix.size()) == kToolPrefix)
            dead = settledAndUnlocked(path, info);
        if (dead)
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

bool abandonedTemporary(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && settledAndUnlocked(path, info);
}

bool heldLocked(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return true;
    const bool held = ::flock(descriptor, LOCK_EX | LOCK_NB) != 0;
    ::close(descriptor);
    return held;
}

bool writeProtected(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    return (info.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

std::string regularFileProblem(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::strerror(errno);
    return fileKindProblem(info.st_mode);
}

} // namespace fileio
