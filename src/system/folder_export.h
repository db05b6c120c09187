// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class KioskSystem;
class Session;

// Export of one page folder as a cabinet file through the cabinet maker
// (zel-makecab) beside the program.
namespace FolderExport {

// The cabinet maker's path: "zel-makecab" in the session's program folder.
QString cabinetMakerPath(const Session& session);

// Writes "makecab.ddf" into the folder folderName of the kiosk system
// (replacing an older one): the eight setting lines, then the names of the
// folder's page sources and then of its JPEG pictures, each group sorted by
// name. Returns the directive file's path. Failures raise RuntimeError.
QString writeDirectiveFile(const KioskSystem& kiosk, const QString& folderName);

// Runs the cabinet maker with "/f" and the directive file, waits for it and
// returns its exit code (a crash counts as failure). A maker that cannot be
// started raises Path/File access error (75).
int runCabinetMaker(const QString& makerPath, const QString& directivePath);

} // namespace FolderExport
