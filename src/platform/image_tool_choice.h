// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class ProblemSink;

// Which outside program makes the resampled picture copies, and how it may be
// run. The desktop program and zel-make look it up from the user's settings;
// tests hand one in.
struct ImageToolChoice {
    // The program to run; empty means no image tool (pictures are copied unchanged).
    QString program;
    // How long one run may take before it is stopped.
    int timeLimitMs = 60 * 1000;
    // Whether several runs may go at once (one per core).
    bool parallel = true;
};

// The settings value "ImageTool/program" when that key exists (an empty value
// means no tool), otherwise "zel-resample" in programFolder when that file
// exists (else no tool). A program the author set is kept as set, also when
// it cannot be started: the make reports it (Jpeg::toolCanStart). A tool set by the author runs one at a
// time unless "ImageTool/parallel" is true. A RuntimeError during the lookup
// reports "JPEG.IrfanViewAvailable - Error <number>", CR LF and its
// description (Problem::Kind::PictureCopy), and counts as no tool.
ImageToolChoice lookUpImageTool(const QString& programFolder, ProblemSink& problems);
