// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "atomic_file.h"

#include "resample_error.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace {

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
class SignalsHeld {
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
    const std::string prefix(fileio::kImageToolTemporaryPrefix);
    if (fileio::folderOf(destinationPath).size() + 1 + prefix.size() + 6 >= sizeof pendingTemporary)
        throw ResampleError("cannot create a file beside " + destinationPath + ": path too long");
    {
        const SignalsHeld held;
        try {
            // Locked while this run lives: whoever clears away temporary files
            // of killed runs can tell this one is still in use.
            m_file.emplace(destinationPath, fileio::Staging{prefix, true});
        } catch (const fileio::FileError& error) {
            throwWriteError("cannot create a file beside " + destinationPath, error.systemError());
        }
        const std::string& temporary = m_file->temporary();
        temporary.copy(pendingTemporary, temporary.size());
        pendingTemporary[temporary.size()] = '\0';
        temporaryPending = 1;
    }
    // The stream writes through its own descriptor, so that the staged file
    // keeps its descriptor (and lock) until the rename.
    const int descriptor = ::fcntl(m_file->descriptor(), F_DUPFD_CLOEXEC, 0);
    m_stream = descriptor >= 0 ? ::fdopen(descriptor, "wb") : nullptr;
    if (m_stream == nullptr) {
        const int error = errno;
        if (descriptor >= 0)
            ::close(descriptor);
        removeTemporary();
        throwWriteError("cannot write " + destinationPath, error);
    }
}

AtomicFile::~AtomicFile()
{
    if (m_stream != nullptr)
        std::fclose(m_stream);
    removeTemporary();
}

void AtomicFile::removeTemporary()
{
    const SignalsHeld held;
    m_file.reset();
    temporaryPending = 0;
}

void AtomicFile::commit()
{
    const bool written = std::fflush(m_stream) == 0;
    const int writeError = written ? 0 : errno;
    const bool closed = std::fclose(m_stream) == 0;
    const int closeError = closed ? 0 : errno;
    m_stream = nullptr;
    if (!written || !closed)
        throwWriteError("cannot write " + m_destinationPath, written ? closeError : writeError);
    try {
        m_file->finish();
    } catch (const fileio::FileError& error) {
        throwWriteError("cannot write " + m_destinationPath, error.systemError());
    }
    const SignalsHeld held;
    try {
        m_file->commit();
    } catch (const fileio::FileError& error) {
        throwWriteError("cannot replace " + m_destinationPath, error.systemError());
    }
    temporaryPending = 0;
}
