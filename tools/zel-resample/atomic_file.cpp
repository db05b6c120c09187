#include "atomic_file.h"

#include "resample_error.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string reason()
{
    return std::strerror(errno);
}

// Permissions an ordinary newly created file would get (0666 less the umask).
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

AtomicFile::AtomicFile(const std::string& destinationPath) : m_destinationPath(destinationPath)
{
    std::string pattern = folderOf(destinationPath) + "/.zel-resample-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = ::mkstemp(name.data());
    if (descriptor < 0)
        throw ResampleError("cannot create a file beside " + destinationPath + ": " + reason());
    m_temporaryPath = name.data();
    ::fchmod(descriptor, newFileMode());
    m_stream = ::fdopen(descriptor, "wb");
    if (m_stream == nullptr) {
        const std::string why = reason();
        ::close(descriptor);
        ::unlink(m_temporaryPath.c_str());
        throw ResampleError("cannot write " + m_temporaryPath + ": " + why);
    }
}

AtomicFile::~AtomicFile()
{
    if (m_committed)
        return;
    if (m_stream != nullptr)
        std::fclose(m_stream);
    ::unlink(m_temporaryPath.c_str());
}

void AtomicFile::commit()
{
    const bool written = std::fflush(m_stream) == 0 && ::fsync(::fileno(m_stream)) == 0;
    const std::string why = written ? std::string() : reason();
    const bool closed = std::fclose(m_stream) == 0;
    m_stream = nullptr;
    if (!written || !closed)
        throw ResampleError("cannot write " + m_destinationPath + ": " + (written ? reason() : why));
    if (::rename(m_temporaryPath.c_str(), m_destinationPath.c_str()) != 0)
        throw ResampleError("cannot replace " + m_destinationPath + ": " + reason());
    m_committed = true;
}
