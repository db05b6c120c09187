#pragma once

#include <cstdio>
#include <string>

// A file that appears at its destination only when complete. Writing goes to
// a temporary file in the destination's folder (so the final rename is atomic
// on the same file system); commit() renames it over the destination. If the
// object is destroyed without a successful commit, the temporary file is
// removed and the destination is left exactly as it was. Only one AtomicFile
// may exist at a time: the signal handler below knows one temporary file.
class AtomicFile
{
public:
    // Throws ResampleError when the temporary file cannot be created.
    explicit AtomicFile(const std::string& destinationPath);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    std::FILE* stream() { return m_stream; }

    // Flushes, closes and renames. Throws ResampleError on any failure.
    void commit();

private:
    void removeTemporary();

    std::string m_destinationPath;
    std::string m_temporaryPath;
    std::FILE* m_stream = nullptr;
    bool m_committed = false;
};

// Installs handlers for SIGTERM, SIGINT and SIGHUP that remove the temporary
// file of the AtomicFile in progress, then let the signal end the program as
// it would have. Call once at start, before any thread is started.
void removeTemporaryFileOnTerminationSignals();

// Blocks those signals in the calling thread, so that the handler runs only
// on a thread that keeps the temporary file's record consistent.
void blockTerminationSignalsInThisThread();
