// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/image_tool_choice.h"

#include <QString>
#include <cstdint>

// The outside image tool that writes resampled copies of pictures.
namespace Jpeg {

// How long a stopped tool may take to clean up before it is killed.
constexpr int kImageToolStopGraceMs = 2 * 1000;
// The exit status by which the tool says that the picture itself cannot be
// read (damaged, cut short, too large); any other failure leaves the picture
// to be copied unchanged.
constexpr int kImageToolUnreadablePicture = 3;
// The exit status by which the tool says that the disk (or quota) it writes
// to is full; its last line on stderr ends with ": " and the system's reason.
constexpr int kImageToolDiskFull = 4;

struct ToolRun {
    enum Outcome {
        Resampled,         // the tool wrote a new file at the destination
        NoTool,            // no tool available
        Failed,            // crashed, timed out, could not start or failed otherwise
        PictureUnreadable, // the tool could not read the picture (kImageToolUnreadablePicture)
        DiskFull,          // the tool found its disk or quota full (kImageToolDiskFull)
    };
    Outcome outcome = NoTool;
    // For Failed and PictureUnreadable: one line for the author; for DiskFull:
    // the system's reason.
    QString reason;
};

// Why program cannot be started, in the system's words ("No such file or
// directory", "Is a directory", "Permission denied"); empty when it can, or
// when program is empty (no tool). A name without a "/" is looked for in the
// folders of PATH. Any thread.
QString toolStartProblem(const QString& program);

// Runs tool once with the arguments sourcePath, "/resample=(W,H)" and
// "/convert=" + destinationPath (no shell, no quoting) and waits for its end,
// at most the tool's time limit (then it is stopped). Any thread. An earlier file at
// destinationPath stays until the tool replaces it. Resampled only when the
// tool ended with exit code 0 and a new file is at destinationPath that is a
// JPEG of exactly width x height pixels (as Jpeg::GetSize reads it) that
// decodes to its end (decodeProblem: "the image tool wrote a damaged JPEG
// picture (reason)" otherwise);
// PictureUnreadable on exit code kImageToolUnreadablePicture (3), DiskFull on
// kImageToolDiskFull (4); a tool that leaves anything else has Failed.
ToolRun resampleImage(const QString& sourcePath, const QString& destinationPath, std::int32_t height,
                      std::int32_t width, const ImageToolChoice& tool);

} // namespace Jpeg
