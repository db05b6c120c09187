#pragma once

#include <cstdio>
#include <string>

// A file that appears at its destination only when complete. Writing goes to
// a temporary file in the destination's folder (so the final rename is atomic
// on the same file system); commit() renames it over the destination. If the
// object is destroyed without a successful commit, the temporary file is
// removed and the destination is left exactly as it was.
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
    std::string m_destinationPath;
    std::string m_temporaryPath;
    std::FILE* m_stream = nullptr;
    bool m_committed = false;
};
