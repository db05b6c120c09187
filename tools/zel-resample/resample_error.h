#pragma once

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
