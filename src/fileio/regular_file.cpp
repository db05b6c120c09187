// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileio/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {

namespace {

std::string systemReason(int error) { return std::strerror(error); }

// The problem with what info describes, "" for a regular file of at most maximumSize bytes.
std::string problemOf(const struct stat& info, std::size_t maximumSize)
{
    if (std::string problem = fileKindProblem(info.st_mode); !problem.empty())
        return problem;
    if (info.st_size < 0 || std::uintmax_t(info.st_size) > maximumSize)
        return tooLargeProblem(maximumSize);
    return {};
}

} // namespace

std::string fileKindProblem(unsigned int mode)
{
    if (S_ISDIR(mode))
        return "is a folder";
    if (!S_ISREG(mode))
        return "is not a regular file";
    return {};
}

std::string tooLargeProblem(std::size_t maximumSize)
{
    const std::size_t mebibyte = 1024 * 1024;
    return "is larger than " + std::to_string((maximumSize + mebibyte - 1) / mebibyte) + " MB";
}

int openRegularFile(const std::string& path, std::size_t maximumSize, std::string& reason, Links links)
{
    reason.clear();
    // Looked at before opening, so that no device is even opened.
    struct stat info {};
    if ((links == Links::Refuse ? ::lstat(path.c_str(), &info) : ::stat(path.c_str(), &info)) != 0) {
        reason = systemReason(errno);
        return -1;
    }
    if (S_ISLNK(info.st_mode))
        reason = "is a symbolic link";
    else
        reason = problemOf(info, maximumSize);
    if (!reason.empty())
        return -1;
    // Something else may have been put at the name meanwhile: O_NONBLOCK keeps
    // a FIFO from blocking the open, and what was opened is looked at again.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (links == Links::Refuse ? O_NOFOLLOW : 0);
    const int descriptor = ::open(path.c_str(), flags);
    if (descriptor < 0) {
        reason = errno == ELOOP && links == Links::Refuse ? "is a symbolic link" : systemReason(errno);
        return -1;
    }
    if (::fstat(descriptor, &info) != 0)
        reason = systemReason(errno);
    else
        reason = problemOf(info, maximumSize);
    // A regular file reads alike either way; the flag is dropped for readers that expect blocking reads.
    if (reason.empty() && ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0)
        reason = systemReason(errno);
    if (!reason.empty()) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

std::string readRegularFile(const std::string& path, std::size_t maximumSize, std::string& bytes, Links links)
{
    bytes.clear();
    std::string problem;
    const int descriptor = openRegularFile(path, maximumSize, problem, links);
    if (descriptor < 0)
        return problem;
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) {
        problem = systemReason(errno);
        ::close(descriptor);
        return problem;
    }
    // One byte more than allowed tells a file that grew past the limit.
    bytes.resize(std::size_t(info.st_size) < maximumSize ? std::size_t(info.st_size) + 1 : maximumSize + 1);
    std::size_t total = 0;
    while (total < bytes.size()) {
        const ssize_t got = ::read(descriptor, bytes.data() + total, bytes.size() - total);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            problem = systemReason(errno);
            break;
        }
        if (got == 0)
            break;
        total += std::size_t(got);
        if (total == bytes.size() && total <= maximumSize)
            bytes.resize(std::min(maximumSize, 2 * bytes.size()) + 1);
    }
    if (problem.empty() && total > maximumSize)
        problem = tooLargeProblem(maximumSize);
    bytes.resize(problem.empty() ? total : 0);
    ::close(descriptor);
    return problem;
}

} // namespace fileio
