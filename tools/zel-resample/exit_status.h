// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The exit status of zel-resample, which the page maker relies on:
//   0  the copy was written completely to DEST;
//   1  any other failure (the copy could not be written, the destination
//      folder is missing, the program ran out of memory);
//   2  the command line was wrong;
//   3  the picture cannot be read: missing or unopenable, not a JPEG, damaged
//      or cut short, a kind this program does not decode (12-bit, lossless,
//      arithmetic-coded beyond libjpeg's reach), more scans than
//      maximumScanCount, more pixels than maximumSourcePixels, or too large for
//      the memory allowed;
//   4  the disk (or the user's quota) that DEST is on is full, in bytes or in
//      inodes (ENOSPC, EDQUOT): nothing is wrong with the picture or the
//      request. The line on stderr then ends with ": " and the system's reason.
// Every failure prints one line on stderr (naming DEST, never a temporary
// file) and leaves DEST untouched; no temporary file of the run is left
// behind, also when the run is ended by SIGTERM, SIGINT or SIGHUP (it then
// dies of that signal). After SIGKILL a
// ".zel-resample-XXXXXX" file may remain in DEST's folder; while a run lives
// it holds an exclusive flock on that file, so a file there that can be
// locked belongs to no running program.
enum ExitStatus : int {
    exitSuccess = 0,
    exitFailure = 1,
    exitUsage = 2,
    exitUnreadablePicture = 3,
    exitDiskFull = 4,
};
