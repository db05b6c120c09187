// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// zel-resample SOURCE "/resample=(W,H)" "/convert=DEST"   (or --help, --version)
// Writes an upright W x H baseline JPEG copy of the JPEG picture SOURCE to DEST.
// Exit status (see exit_status.h): 0 success, 1 any other failure, 2 wrong
// command line, 3 the picture cannot be read (damaged, cut short, not a JPEG,
// 12-bit, lossless, too many scans, too many pixels, too large for memory),
// 4 DEST's disk or quota is full (bytes or inodes).
// Every failure prints one line on stderr naming DEST and leaves DEST untouched.
#include "atomic_file.h"
#include "exit_status.h"
#include "resample_arguments.h"
#include "resample_error.h"
#include "resample_job.h"

#include <cstdio>
#include <new>
#include <string>
#include <vector>

namespace {

int fail(const std::string& reason, int status)
{
    std::fprintf(stderr, "zel-resample: %s\n", reason.c_str());
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    removeTemporaryFileOnTerminationSignals();
    try {
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        const ResampleArguments request = parseResampleArguments(arguments);
        if (request.request == ResampleArguments::Request::ShowHelp)
            std::fputs(helpText().c_str(), stdout);
        else if (request.request == ResampleArguments::Request::ShowVersion)
            std::printf("zel-resample %s\n", ZEL_VERSION);
        else
            runResample(request);
        return exitSuccess;
    } catch (const ArgumentError& error) {
        return fail(std::string(error.what()) + " (" + usageLine() + ")", exitUsage);
    } catch (const UnreadablePictureError& error) {
        return fail(error.what(), exitUnreadablePicture);
    } catch (const DiskFullError& error) {
        return fail(error.what(), exitDiskFull);
    } catch (const ResampleError& error) {
        return fail(error.what(), exitFailure);
    } catch (const std::bad_alloc&) {
        return fail("out of memory", exitFailure);
    } catch (const std::exception& error) {
        return fail(error.what(), exitFailure);
    }
}
