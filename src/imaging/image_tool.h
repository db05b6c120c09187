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

// Runs the tool once with the arguments sourcePath, "/resample=(W,H)" and
// "/convert=" + destinationPath (no shell, no quoting) and waits for its end.
// An earlier file at destinationPath is removed first. Returns true when the
// tool ended normally with exit code 0 and left a file at destinationPath;
// false otherwise, also when there is no tool or it cannot be started.
bool resampleImage(const QString& sourcePath, const QString& destinationPath, std::int32_t height,
                   std::int32_t width);

} // namespace Jpeg
