// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Which files of a kiosk system folder make a published version: everything
// a kiosk needs to show it and to check it as its gate does (page sources,
// configuration.txt, made pages, pictures and their copies, style sheet and
// script), and nothing of the author's own: temporaries, the logs the maker
// writes, the picture copies' records (".zel-copies") and the marker of a
// folder published by copying.
namespace VersionFiles {

// A file being written by rsync (".name.XXXXXX") or an editor ("name~",
// ".name.swp", "#name#", ".#name"), or one of the kiosk's or the maker's own
// (".zel-"): never part of a version.
bool isTemporary(const QString& fileName);

// A file at the top of a kiosk system folder that is the maker's log
// ("log20261208093000.txt") or the marker of a folder published by copying
// ("published.txt"): no part of a version.
bool isTopLevelOwn(const QString& fileName);

// Why a relative path cannot name a file of a version ("" when it can): it is
// empty, absolute, holds a backslash, a control character, an empty segment,
// "." or "..".
QString pathProblem(const QString& path);

// The relative paths (forward slashes) of the version's files in folder,
// sorted; links are left out. Throws RuntimeError (PathFileAccess) naming a
// file whose name pathProblem refuses.
QStringList list(const QString& folder);

} // namespace VersionFiles
