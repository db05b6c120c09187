// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "directive_file.h"

#include <filesystem>
#include <vector>

// The numbered cabinets a run wrote, recorded beside them in a hidden file
// (the name template, e.g. "news*.cab", as ".news*.cab.written"), one line a
// cabinet: its number and what identifies the file (device, inode, size and
// modification time). A later run that writes fewer cabinets removes the
// higher-numbered ones only when the record lists them and they are still the
// files written then; a file of such a name that the record does not know, or
// that was replaced or changed since, is not ours and stays.

// Removes the cabinets numbered above written that the last recorded run
// wrote and that nobody changed since. Failures leave the file in place.
void removeCabinetsOfEarlierRuns(const CabinetDirectives& directives, const std::filesystem::path& folder,
                                 std::size_t written);

// Records the cabinets just written (cabinet i + 1 at cabinets[i]). Nothing is
// recorded for a name template without "*". A record that cannot be written
// only means that a later run leaves these cabinets in place, so it is not a
// failure of the run: the older record goes instead (a record naming files
// that are no longer the ones it describes never matches them anyway).
void recordWrittenCabinets(const CabinetDirectives& directives, const std::filesystem::path& folder,
                           const std::vector<std::filesystem::path>& cabinets);
