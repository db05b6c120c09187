// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cabinet_plan.h"
#include "directive_file.h"

#include <filesystem>
#include <functional>
#include <vector>

// Called with each source file's path after it has been opened for packing
// and before its content is read (tests change the file there).
using SourceOpenedHook = std::function<void(const std::filesystem::path&)>;

// Writes one complete Microsoft cabinet to the open file descriptor: one
// folder holding files (within CabinetLimits) in order, MSZIP-compressed in
// independent 32 KiB blocks or stored. Each source is read exactly once and
// must have the size and modification time found when the run began; a file
// that changed fails the run. Throws MakecabError naming the file or
// outputLabel and the system's reason.
void writeCabinetStream(int descriptor, const std::string& outputLabel, const std::vector<SourceFile>& files,
                        CabinetCompression compression, const SourceOpenedHook& sourceOpened);
