#pragma once

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
// changes it between two looks.
QString fingerprint(const QString& published);

// The page folder a cabinet file holds: its name without the number the
// export appends and without ".cab" ("news1.cab" holds news).
QString cabinetFolder(const QString& cabinetFileName);

struct Result {
    bool ok = false;
    QString reason; // why the version was refused
};

// Fills the empty folder target from what was published: a whole kiosk system
// is copied; cabinet files are unpacked with cabextract into their page
// folders over a copy of base (the version shown), whose pages are then made
// with zel-make beside the program. Then the check of programPath --check
// runs on target. Blocking: meant for a worker thread.
Result prepare(const QString& published, const QString& base, const QString& target, const QString& programPath);

// Copies a folder tree (files and folders, no links), skipping the kiosk's
// and the maker's temporaries. False with a reason on the first failure.
bool copyTree(const QString& source, const QString& target, QString& reason);

} // namespace VersionPreparation
