// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Splitting the full path of a file into its parts, on the native separator.
// Text only: the file may have gone meanwhile (a make names a page source it
// can no longer read). Both raise Invalid argument (5) when the full path has
// no separator before a "." in the file name (the parts would have negative
// lengths).
namespace PagePaths {

// drive: the first character of the full path; folderPath: the full path up to
// the last separator (without it); baseName: the file name up to its last ".";
// extension: the text after that ".".
void splitFilePath(const QString& path, QString& drive, QString& folderPath, QString& baseName, QString& extension);

// folderName: the name of the folder that holds the file; pageName: the file
// name without its extension. "/k/news/today.zel" gives "news" and "today".
void splitPageSourcePath(const QString& path, QString& folderName, QString& pageName);

} // namespace PagePaths
