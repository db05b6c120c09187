// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "directive_file.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

// How much one cabinet can hold: its file count is a 16-bit field, and its one
// folder holds at most 65,535 data blocks of 32,768 bytes.
struct CabinetLimits {
    std::size_t maximumFiles = 65535;
    std::uint64_t maximumBytes = 65535ULL * 32768;
};

// A listed file as found on disk when the run began. Its content must still
// match this when it is read.
struct SourceFile {
    ListedFile listed;
    std::filesystem::path path;
    std::string storedName;
    std::uint64_t size = 0;
    std::timespec modified{};
    dev_t device = 0;
    ino_t inode = 0;
};

// Finds every listed file. Throws MakecabError naming the first one that is
// missing, unreadable or not a regular file.
std::vector<SourceFile> findSourceFiles(const CabinetDirectives& directives);

// Splits the files, in listing order, into as few cabinets as the limits
// allow. Throws MakecabError when a single file exceeds a cabinet's size.
std::vector<std::vector<SourceFile>> splitIntoCabinets(std::vector<SourceFile> files, const CabinetLimits& limits);
