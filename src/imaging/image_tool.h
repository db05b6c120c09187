#pragma once

#include "platform/image_tool_choice.h"

#include <QString>
#include <cstdint>

// The outside image tool that writes resampled copies of pictures.
namespace Jpeg {

// True when the current session has an image tool (see Session::imageTool and
// lookUpImageTool: handed in, or looked up at most once per run). Main thread.
bool IrfanViewAvailable();

// How long a stopped tool may take to clean up before it is killed.
constexpr int kImageToolStopGraceMs = 2 * 1000;
// The exit status by which the tool says that the picture itself cannot be
// read (damaged, cut short, too large); any other failure leaves the picture
// to be copied unchanged.
constexpr int kImageToolUnreadablePicture = 3;

struct ToolRun {
    enum Outcome {
        Resampled,         // the tool wrote a new file at the destination
        NoTool,            // no tool available
        Failed,            // crashed, timed out, could not start or failed otherwise
        PictureUnreadable, // the tool could not read the picture (its exit status 1)
    };
    Outcome outcome = NoTool;
    QString reason; // for Failed and PictureUnreadable: one line for the author
};

// Runs tool once with the arguments sourcePath, "/resample=(W,H)" and
// "/convert=" + destinationPath (no shell, no quoting) and waits for its end,
// at most the tool's time limit (then it is stopped). Any thread. An earlier file at
// destinationPath stays until the tool replaces it. Resampled only when the
// tool ended with exit code 0 and a new file is at destinationPath.
ToolRun resampleImage(const QString& sourcePath, const QString& destinationPath, std::int32_t height,
                      std::int32_t width, const ImageToolChoice& tool);

} // namespace Jpeg
