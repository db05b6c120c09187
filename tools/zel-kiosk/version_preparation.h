// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"

#include <QString>

// Preparing a published kiosk system as a version of the kiosk's own.
namespace VersionPreparation {

// What was published in the folder.
enum class Kind {
    Folder,   // a whole kiosk system (its configuration.txt at the top)
    Cabinets, // cabinet files of page folders, as the export writes them
    Nothing,
};
Kind kindOf(const QString& published);

// A fingerprint of the folder's content (names, sizes, modification times),
// equal as long as nothing in it changes; an author's copy still running
// changes it between two looks. Temporaries (isTemporary) do not count.
QString fingerprint(const QString& published);

// The marker the publish step writes last into the top of the published
// folder: without it nothing there is taken. Its lines, as sha256sum(1)
// writes them ("HASH  PATH"), name every file of the version; a marker
// without such lines only says that the copy has finished.
QString markerName();
// The publish step's last one: writes the marker of every file now in the
// published folder (temporaries left out). Throws fileio::FileError.
void writeMarker(const QString& published);
// Whether the published folder holds a marker.
bool hasMarker(const QString& published);
// Empty when the marker is there and every file it names is there with its
// content; else what is still awaited.
QString incomplete(const QString& published);

// A file being written by rsync (".name.XXXXXX") or an editor ("name~",
// ".name.swp", "#name#", ".#name"), or one of the kiosk's or the maker's own
// (".zel-"): never part of a version.
bool isTemporary(const QString& fileName);

// The page folder a cabinet file holds: its name without the number the
// export appends and without ".cab" ("news1.cab" holds news).
QString cabinetFolder(const QString& cabinetFileName);

struct Result {
    bool ok = false;
    bool waiting = false; // not yet complete (the marker says so): not refused, tried again
    bool retry = false;   // the kiosk's own folder could not be written (full, read-only): tried again
    QString reason;       // why the version was refused, or what is awaited
    QString note;         // something the operator should know of a version taken
};

// Fills the empty folder target from what was published, once its marker
// says it is complete (else waiting): a whole kiosk system is copied (without
// temporaries and the marker); cabinet files are unpacked with cabextract into their page
// folders over a copy of base (the version shown), whose pages are then made
// with zel-make beside programPath. ok: filled, for the gate to judge.
// Blocking: meant for a worker thread. faults (tests) makes writing the copy
// fail.
Result prepare(const QString& published, const QString& base, const QString& target, const QString& programPath,
               const fileio::FailureHook* faults = nullptr);

// The gate every new version passes: the check of programPath --check on
// target, its reasons naming shownAs in place of target. Blocking. The
// check's record is kept in target, and what is as the record in since (a
// version judged before, usually the one shown) says is not read again.
Result gate(const QString& target, const QString& programPath, const QString& shownAs,
            const QString& since = QString());

// Copies a folder tree (files and folders, no links), skipping temporaries
// (isTemporary) and the marker at its top. False with a reason on the first
// failure; when writing failed (not reading), writeFailed is set and the
// reason names the file copied, the folder holding target (never target's
// own name, a temporary one) and the system's reason.
bool copyTree(const QString& source, const QString& target, QString& reason,
              const fileio::FailureHook* faults = nullptr, bool* writeFailed = nullptr);

} // namespace VersionPreparation
