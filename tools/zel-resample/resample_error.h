// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

// Every failure of zel-resample: the message is one line for stderr.
class ResampleError : public std::runtime_error {
public:
    explicit ResampleError(const std::string& reason) : std::runtime_error(reason) {}
};

// The command line itself was wrong (reported with the usage line).
class ArgumentError : public ResampleError {
public:
    using ResampleError::ResampleError;
};

// The source picture cannot be read or decoded; the picture is at fault, not
// the destination or the machine.
class UnreadablePictureError : public ResampleError {
public:
    using ResampleError::ResampleError;
};

// DEST's disk or quota is full (ENOSPC, EDQUOT): the message ends with ": "
// and the system's reason.
class DiskFullError : public ResampleError {
public:
    using ResampleError::ResampleError;
};

// A failed write of the copy: "what: reason", a DiskFullError when systemError
// says the disk or quota is full.
[[noreturn]] inline void throwWriteError(const std::string& what, int systemError)
{
    const std::string message = what + ": " + std::strerror(systemError);
    if (systemError == ENOSPC || systemError == EDQUOT)
        throw DiskFullError(message);
    throw ResampleError(message);
}
