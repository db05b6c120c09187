// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cabinet_plan.h"
#include "cabinet_stream.h"
#include "directive_file.h"

#include <filesystem>
#include <vector>

struct CabinetOptions {
    CabinetLimits limits;
    SourceOpenedHook sourceOpened; // empty: none
};

// Writes the cabinets the directives describe: every listed file, stored under
// its listed name, in listing order. Files go into cabinet 1 of the name
// template until it is full (CabinetLimits), then into cabinet 2 and so on;
// each cabinet is complete in itself. More than one cabinet needs a "*" in the
// template. Every listed file must exist before anything is written, and at
// least one must be listed. The output folder is created when missing, and
// temporary cabinets that killed runs left there are removed first. Each
// cabinet is written to a temporary file beside it; only when all are complete
// are they renamed over the older cabinets of the same names, and numbered
// cabinets that an earlier run wrote beyond the last one written now are
// removed (written_cabinets.h); a file of such a name that no run wrote stays.
// A failure
// leaves the older cabinets as they were and no temporary file.
// Returns the cabinets' paths; throws MakecabError naming the file at fault.
std::vector<std::filesystem::path> writeCabinets(const CabinetDirectives& directives,
                                                 const CabinetOptions& options = {});
