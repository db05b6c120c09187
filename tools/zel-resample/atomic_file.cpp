#include "atomic_file.h"

#include "resample_error.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

constexpr int terminationSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The temporary file of the AtomicFile in progress, for the signal handler.
// Changed only while the termination signals are blocked in the changing
// thread, and every other thread blocks them for good.
char pendingTemporary[4096];
volatile std::sig_atomic_t temporaryPending = 0;

extern "C" void removePendingTemporaryAndDie(int signalNumber)
{
    if (temporaryPending)
        ::unlink(pendingTemporary);
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber); // delivered when the handler returns
}

sigset_t terminationSignalSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signalNumber : terminationSignals)
        sigaddset(&set, signalNumber);
    return set;
}

// Keeps the termination signals away from this thread for its lifetime.
class SignalsHeld
{
public:
    SignalsHeld()
    {
        const sigset_t set = terminationSignalSet();
        ::pthread_sigmask(SIG_BLOCK, &set, &m_previous);
    }
    ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t m_previous;
};

} // namespace

void removeTemporaryFileOnTerminationSignals()
{
    struct sigaction action {};
    action.sa_handler = removePendingTemporaryAndDie;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : terminationSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

void blockTerminationSignalsInThisThread()
{
    const sigset_t set = terminationSignalSet();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

AtomicFile::AtomicFile(const std::string& destinationPath) : m_destinationPath(destinationPath)
{
    const std::string pattern = folderOf(destinationPath) + "/.zel-resample-XXXXXX";
    if (pattern.size() >= sizeof pendingTemporary)
        throw ResampleError("cannot create a file beside " + destinationPath + ": path too long");
    int descriptor = -1;
    {
        const SignalsHeld held;
        pattern.copy(pendingTemporary, pattern.size());
        pendingTemporary[pattern.size()] = '\0';
        descriptor = ::mkstemp(pendingTemporary);
        temporaryPending = descriptor >= 0;
    }
    if (descriptor < 0)
        throw ResampleError("cannot create a file beside " + destinationPath + ": " + reason());
    m_temporaryPath = pendingTemporary;
    // Held while this run lives: whoever clears away temporary files of killed
    // runs can tell this one is still in use.
    ::flock(descriptor, LOCK_EX | LOCK_NB);
    ::fchmod(descriptor, newFileMode());
    m_stream = ::fdopen(descriptor, "wb");
    if (m_stream == nullptr) {
        const std::string why = reason();
        ::close(descriptor);
        removeTemporary();
        throw ResampleError("cannot write " + m_temporaryPath + ": " + why);
    }
}

AtomicFile::~AtomicFile()
{
    if (m_committed)
        return;
    if (m_stream != nullptr)
        std::fclose(m_stream);
    removeTemporary();
}

void AtomicFile::removeTemporary()
{
    const SignalsHeld held;
    ::unlink(m_temporaryPath.c_str());
    temporaryPending = 0;
}

void AtomicFile::commit()
{
    const bool written = std::fflush(m_stream) == 0 && ::fsync(::fileno(m_stream)) == 0;
    const std::string why = written ? std::string() : reason();
    const bool closed = std::fclose(m_stream) == 0;
    m_stream = nullptr;
    if (!written || !closed)
        throw ResampleError("cannot write " + m_destinationPath + ": " + (written ? reason() : why));
    const SignalsHeld held;
    if (::rename(m_temporaryPath.c_str(), m_destinationPath.c_str()) != 0)
        throw ResampleError("cannot replace " + m_destinationPath + ": " + reason());
    temporaryPending = 0;
    m_committed = true;
}
