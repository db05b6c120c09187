// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The page sources of a page folder, as every part of the program sees them:
// the files (not folders, not hidden files) directly in the folder whose
// suffix, after the last ".", is "zel" in any letter case ("Intro.ZEL" too).
namespace PageSources {

// True when a file of this name is a page source (by its name alone).
bool isPageSourceName(const QString& fileName);

// The file names of the page sources in folder, sorted by name ignoring
// letter case first, then by case. A missing folder gives none.
QStringList fileNamesIn(const QString& folder);

// A page source's file name less its suffix and dot: the page name shown.
QString pageNameOf(const QString& fileName);

// The path of the page source of page in folder as it is named on disk: the
// one named page + ".zel" when it exists, else one whose name is page and a
// suffix "zel" in other letters, else (a page not yet saved) page + ".zel".
QString pathOf(const QString& folder, const QString& page);

// The page source whose files the page of pageSource would overwrite: page
// "a_con" writes its frameset to "a_con.htm", the content frame of page "a"
// in the same folder ("a_nav" to its navigation bar). "" when there is none.
QString clashingPageSource(const QString& pageSource);

} // namespace PageSources
