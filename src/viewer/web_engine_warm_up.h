// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The web engine started before a window needs it: its processes take about
// a second to start, which the author's first View or Preview would wait for.
namespace WebEngineWarmUp {

// Starts the engine with a hidden page of the default profile, as the
// windows' browsers use; kept until the application quits. Once only.
void start();

} // namespace WebEngineWarmUp
