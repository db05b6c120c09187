// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/program_run.h"

#include <QProcessEnvironment>
#include <QString>
#include <ostream>

// A desktop screen of 1280 x 1024 device pixels on Qt's offscreen platform, scaled as a desktop scales it: by
// QT_SCALE_FACTOR (scale) and by the screen's own device pixel ratio (screenRatio).
struct ScaledScreen {
    const char* name;
    const char* scale;
    int screenRatio;
};

inline void PrintTo(const ScaledScreen& screen, std::ostream* out) { *out << screen.name; }

// The scales the window tests run at: none, 200 %, a fractional 150 %, and a screen of its own ratio 2.
inline constexpr ScaledScreen kScaledScreens[] = {
    {"Scale1", "1", 1}, {"Scale2", "2", 1}, {"Scale1_5", "1.5", 1}, {"ScreenRatio2", "1", 2}};

// Runs the disabled test (its full name) of this test program in a process of its own on that screen, with the
// variables of extra added to this program's environment. Passes when that one test ran and passed.
ProgramRun runTestOnScreen(const ScaledScreen& screen, const QString& test, const QProcessEnvironment& extra = {});
