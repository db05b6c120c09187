#pragma once

#include <QString>

// Splitting the full path of an existing file into its parts, on the native
// separator. Both raise File not found (53) for a missing file and Invalid
// argument (5) when the full path has no separator before a "." in the file
// name (the parts would have negative lengths).
namespace PagePaths {

// drive: the first character of the full path; folderPath: the full path up to
// the last separator (without it); baseName: the file name up to its last ".";
// extension: the text after that ".".
void splitFilePath(const QString& path, QString& drive, QString& folderPath, QString& baseName, QString& extension);

// folderName: the name of the folder that holds the file; pageName: the file
// name without its extension. "/k/news/today.zel" gives "news" and "today".
void splitPageSourcePath(const QString& path, QString& folderName, QString& pageName);

} // namespace PagePaths
