// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_file.h"

#include "resample_error.h"

#include "fileio/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void failToRead(const std::string& path, int error)
{
    throw UnreadablePictureError("cannot open " + path + ": " + std::strerror(error));
}

} // namespace

PictureFile::PictureFile(const std::string& path, std::size_t maximumSize) : m_path(path), m_maximumSize(maximumSize)
{
    std::string reason;
    m_descriptor = fileio::openRegularFile(path, maximumSize, reason);
    if (m_descriptor < 0)
        throw UnreadablePictureError("cannot open " + path + ": " + reason);
}

PictureFile::~PictureFile() { ::close(m_descriptor); }

std::size_t PictureFile::readHead(unsigned char* out, std::size_t size) const
{
    const ssize_t got = ::pread(m_descriptor, out, size, 0);
    return got > 0 ? std::size_t(got) : 0;
}

int PictureFile::newDescriptor() const
{
    const int descriptor = ::fcntl(m_descriptor, F_DUPFD_CLOEXEC, 0);
    if (descriptor < 0 || ::lseek(descriptor, 0, SEEK_SET) != 0) {
        const int error = errno;
        if (descriptor >= 0)
            ::close(descriptor);
        failToRead(m_path, error);
    }
    return descriptor;
}

std::FILE* PictureFile::newStream() const
{
    const int descriptor = newDescriptor();
    std::FILE* stream = ::fdopen(descriptor, "rb");
    if (stream == nullptr) {
        const int error = errno;
        ::close(descriptor);
        failToRead(m_path, error);
    }
    return stream;
}

std::string_view PictureFile::bytes()
{
    if (m_read)
        return {m_bytes.get(), m_size};
    struct stat status {};
    if (::fstat(m_descriptor, &status) != 0)
        failToRead(m_path, errno);
    // The size checked when opened; a file that grows meanwhile is read to that size.
    const std::size_t expected = std::min(std::size_t(status.st_size), m_maximumSize);
    m_bytes.reset(new char[expected == 0 ? 1 : expected]);
    while (m_size < expected) {
        const ssize_t got = ::pread(m_descriptor, m_bytes.get() + m_size, expected - m_size, off_t(m_size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            failToRead(m_path, errno);
        if (got == 0)
            break;
        m_size += std::size_t(got);
    }
    m_read = true;
    return {m_bytes.get(), m_size};
}
