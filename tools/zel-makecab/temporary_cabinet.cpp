#include "temporary_cabinet.h"

#include "makecab_error.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string systemReason() { return std::strerror(errno); }

bool isTemporaryCabinetName(const std::string& name)
{
    // "." + NAME + "." + six characters from mkstemp's alphabet; NAME ends in ".cab".
    if (name.size() < 1 + 5 + 1 + 6 || name.front() != '.' || name[name.size() - 7] != '.')
        return false;
    const std::string suffix = name.substr(name.size() - 6);
    if (!std::all_of(suffix.begin(), suffix.end(), [](unsigned char c) { return std::isalnum(c); }))
        return false;
    std::string extension = name.substr(name.size() - 11, 4);
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
    return extension == ".cab";
}

} // namespace

TemporaryCabinet::TemporaryCabinet(const fs::path& finalPath) : finalPath_(finalPath)
{
    std::string pattern = (finalPath.parent_path() / ("." + finalPath.filename().string() + ".XXXXXX")).string();
    descriptor_ = ::mkstemp(pattern.data());
    if (descriptor_ < 0)
        throw MakecabError("cannot write to output folder \"" + finalPath.parent_path().string() + "\": " + systemReason());
    path_ = pattern;
    ::flock(descriptor_, LOCK_EX | LOCK_NB);
    // mkstemp makes the file private; a cabinet gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(descriptor_, 0666 & ~mask);
}

TemporaryCabinet::~TemporaryCabinet()
{
    if (!committed_)
        ::unlink(path_.c_str());
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

void TemporaryCabinet::finish()
{
    if (::fsync(descriptor_) != 0)
        throw MakecabError("cannot write cabinet \"" + finalPath_.string() + "\": " + systemReason());
}

void TemporaryCabinet::commit()
{
    // The lock is held until the rename is done, so no other run takes the
    // file for abandoned meanwhile.
    if (::rename(path_.c_str(), finalPath_.c_str()) != 0)
        throw MakecabError("cannot write cabinet \"" + finalPath_.string() + "\": " + systemReason());
    committed_ = true;
    ::close(descriptor_);
    descriptor_ = -1;
}

void removeAbandonedTemporaries(const fs::path& folder)
{
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (!isTemporaryCabinetName(name) || !entry->is_regular_file(error))
            continue;
        const int descriptor = ::open(entry->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (descriptor < 0)
            continue;
        // A run still writing holds the lock; only a dead run's file is free.
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0)
            ::unlink(entry->path().c_str());
        ::close(descriptor);
    }
}
