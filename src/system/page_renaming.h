// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "system/page_references.h"

#include <QList>
#include <QString>
#include <QStringList>

class Session;

// Renaming a page, moving it to another page folder, and renaming a page
// folder, with every #button and #item reference to the pages concerned
// rewritten in every page source of the kiosk system.
//
// A reference keeps its form: "folder\page" and "folder/page" keep their
// separator, a page alone stays alone while it names a page of its own
// folder (and becomes "folder\page" when the page it names is no longer
// there, or the referring page has moved away from it). Only the reference
// words change: every other byte of each page source (its encoding, its line
// ends) stays as it was.
//
// All or nothing: whatever could refuse the rename is checked first (a
// read-only page source to rewrite, a page source to move that is a link,
// owners, links, a folder that does not let the old name go); then the
// rewritten page sources and the renamed one are written (keeping modes,
// owners and links); only then is the old page source removed or the folder
// renamed. A failure at any point leaves every file as it was. Afterwards the renamed
// pages' made files (main, _con, _nav) and picture copies, which would
// otherwise lie about pages no longer there, are removed.
namespace PageRenaming {

struct Result {
    bool done = false;
    // Why nothing was done, for the author; "" when nothing was done because
    // a name check has already said why. In the rare case that a file could
    // not be put back after a failure, it says so and names the files.
    QString problem;
    // Page sources with references rewritten, as named after the rename.
    QStringList rewritten;
    // Each page source moved: its path before and after.
    QList<QPair<QString, QString>> moved;
};

// Renames page from to to (another name, another folder, or both) in the
// kiosk system folder kioskFolder. The new names must pass the name rule
// (its messages are shown in the session's message boxes); the new folder
// must exist and hold no page of the new name, and the root page keeps its
// place. Files are changed with the session's file faults. File failures do
// not raise: they come back as the result's problem.
Result renamePage(Session& session, const QString& kioskFolder, const PageReferences::PageId& from,
                  const PageReferences::PageId& to);

// Renames the page folder from to to: to must pass the name rule and not
// exist yet; the root folder keeps its name.
Result renameFolder(Session& session, const QString& kioskFolder, const QString& from, const QString& to);

// The made files and picture copies of page in folderPath that exist: the
// main file, "_con.htm", "_nav.htm", and "images/" page + five digits + ".jpg".
QStringList madeFilesOf(const QString& folderPath, const QString& page);

} // namespace PageRenaming
