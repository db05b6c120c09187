// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

// Any reason why no cabinet is written. The text is one line, ready for stderr,
// and names the directive line or file that caused it.
class MakecabError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The command line itself is unusable; main() answers with the usage text.
class UsageError : public MakecabError {
public:
    using MakecabError::MakecabError;
};
