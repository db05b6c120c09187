// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

// Reading a small file that must be a regular file, where a FIFO, a device, a
// folder or a file of any size may stand instead (a file the program keeps
// for itself, or one an author supplies). No Qt: the tools link this too.
namespace fileio {

// Whether a symbolic link at the name is followed to the file it names.
enum class Links { Follow, Refuse };

// Reads the whole file at path into bytes when it is a regular file of at
// most maximumSize bytes. Never waits and never reads without end: the name
// is looked at first, then opened without blocking (a FIFO opens at once),
// then what was opened is looked at again, and at most maximumSize bytes are
// taken even from a file that grows meanwhile. Returns "" when bytes holds
// the file, else a short reason: "is a folder", "is not a regular file", "is
// a symbolic link" (Links::Refuse), "is larger than N MB", or the system's
// reason (a missing file, a dangling link: "No such file or directory").
// bytes is emptied on failure.
std::string readRegularFile(const std::string& path, std::size_t maximumSize, std::string& bytes,
                            Links links = Links::Follow);

// Opens the file at path for reading when it is a regular file of at most
// maximumSize bytes, looked at as readRegularFile does: never waits, and
// what was opened is looked at again. Returns a descriptor that reads
// blocking as usual (the caller closes it), or -1 with reason set as
// readRegularFile says it.
int openRegularFile(const std::string& path, std::size_t maximumSize, std::string& reason, Links links = Links::Follow);

// The reason for a file of this st_mode that is not a regular file ("is a
// folder", "is not a regular file"); "" for a regular file.
std::string fileKindProblem(unsigned int mode);

// "is larger than N MB" (N = maximumSize in MiB, rounded up).
std::string tooLargeProblem(std::size_t maximumSize);

} // namespace fileio
