#pragma once

#include <QString>
#include <cstdint>

// The outside image tool that writes resampled copies of pictures.
namespace Jpeg {

// True when an image tool is available. The tool is looked up at most once per
// run: the settings value "ImageTool/program" when that key exists (an empty
// value means no tool), otherwise "zel-resample" in the program folder; a
// program file that does not exist means no tool. A RuntimeError during the
// lookup shows "JPEG.IrfanViewAvailable - Error <number>", CR LF and its
// description, and counts as no tool.
bool IrfanViewAvailable();

// The program found by the lookup; empty when there is no tool or before the
// first IrfanViewAvailable().
QString imageToolProgram();

// Forgets the lookup so that the next IrfanViewAvailable() looks again.
void resetImageToolLookupForTesting();

// How long one tool run may take before it is stopped.
constexpr int kImageToolTimeLimitMs = 60 * 1000;
// How long a stopped tool may take to clean up before it is killed.
constexpr int kImageToolStopGraceMs = 2 * 1000;
// The exit status by which the tool says that the picture itself cannot be
// read (damaged, cut short, too large); any other failure leaves the picture
// to be copied unchanged.
constexpr int kImageToolUnreadablePicture = 3;
// Tests shorten the limit; 0 restores kImageToolTimeLimitMs.
void setImageToolTimeLimitForTesting(int milliseconds);

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

// Runs the tool once with the arguments sourcePath, "/resample=(W,H)" and
// "/convert=" + destinationPath (no shell, no quoting) and waits for its end,
// at most the time limit (then it is killed). An earlier file at
// destinationPath stays until the tool replaces it. Resampled only when the
// tool ended with exit code 0 and a new file is at destinationPath.
ToolRun resampleImage(const QString& sourcePath, const QString& destinationPath, std::int32_t height,
                      std::int32_t width);

} // namespace Jpeg
