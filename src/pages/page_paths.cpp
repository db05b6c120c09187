// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/page_paths.h"

#include "base/runtime_error.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The full path as the file system gives it, with the positions of its last
// separator and its last "." (0-based), checked so that no part has a
// negative length.
struct SplitPoints {
    QString full;
    qsizetype lastSeparator;
    qsizetype lastDot;
};

SplitPoints splitPoints(const QString& path)
{
    SplitPoints points;
    points.full = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    points.lastSeparator = points.full.lastIndexOf(QDir::separator());
    points.lastDot = points.full.lastIndexOf(u'.');
    if (points.lastSeparator < 0 || points.lastDot < points.lastSeparator)
        Errors::raise(Errors::InvalidArgument);
    return points;
}

} // namespace

namespace PagePaths {

void splitFilePath(const QString& path, QString& drive, QString& folderPath, QString& baseName, QString& extension)
{
    const SplitPoints p = splitPoints(path);
    drive = p.full.left(1);
    folderPath = p.full.left(p.lastSeparator);
    baseName = p.full.mid(p.lastSeparator + 1, p.lastDot - p.lastSeparator - 1);
    extension = p.full.mid(p.lastDot + 1);
}

void splitPageSourcePath(const QString& path, QString& folderName, QString& pageName)
{
    const SplitPoints p = splitPoints(path);
    const qsizetype before = p.lastSeparator > 0 ? p.full.lastIndexOf(QDir::separator(), p.lastSeparator - 1) : -1;
    folderName = p.full.mid(before + 1, p.lastSeparator - before - 1);
    pageName = p.full.mid(p.lastSeparator + 1, p.lastDot - p.lastSeparator - 1);
}

} // namespace PagePaths
