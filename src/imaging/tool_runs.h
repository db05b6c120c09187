// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct ImageToolChoice;

namespace Jpeg {

// The most image tool runs a make starts at once, however many cores there are.
constexpr int MaxImageToolRuns = 8;

// How many image tool runs a make may have at once: one per core (at most
// MaxImageToolRuns) when tool may run in parallel, else
// one (a tool set by the author may not be safe to run twice at once).
int imageToolRuns(const ImageToolChoice& tool);

} // namespace Jpeg
